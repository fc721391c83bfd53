#include "text.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace qrn {

std::size_t cp932CutLength(std::string_view bytes, std::size_t capacity) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t width = isCp932LeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + width > capacity || i + width > bytes.size()) break;
        i += width;
    }
    return i;
}

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// One conversion. Returns nullopt on an invalid or unconvertible sequence
// unless `replacement` is given, in which case the offending input byte is
// skipped and the replacement written instead.
std::optional<std::string> convert(const char* to, const char* from, std::string_view in,
                                   const char* replacement = nullptr) {
    iconv_t raw = iconv_open(to, from);
    if (raw == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::unique_ptr<void, IconvCloser> cd(raw);
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        std::size_t r = iconv(raw, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            std::size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        if (!replacement) return std::nullopt;
        // EILSEQ or EINVAL: drop one byte, write the replacement.
        std::string_view rep(replacement);
        std::size_t used = out.size() - outLeft;
        if (outLeft < rep.size()) {
            out.resize(out.size() * 2 + rep.size());
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        }
        for (char c : rep) *outPtr++ = c;
        outLeft -= rep.size();
        ++inPtr;
        --inLeft;
        iconv(raw, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

namespace {

// Both encodings spell the ASCII bytes alike, and most stored names and
// keys are ASCII: they are taken as they are, without opening a converter.
bool ascii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
    if (ascii(cp932)) return std::string(cp932);
    return convert("UTF-8", "CP932", cp932);
}

std::string cp932ToUtf8Lossy(std::string_view cp932) {
    if (ascii(cp932)) return std::string(cp932);
    auto r = convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD");
    return r ? *r : std::string();
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    if (ascii(utf8)) return std::string(utf8);
    return convert("CP932", "UTF-8", utf8);
}

std::string cp932Literal(std::string_view utf8) {
    auto r = utf8ToCp932(utf8);
    return r ? *r : std::string(utf8);
}

}  // namespace qrn
