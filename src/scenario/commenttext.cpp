#include "commenttext.h"

#include <cstring>
#include <string.h>  // memmem

#include "text.h"

namespace qrn {

namespace {

// Width of the character starting at byte i; a lead byte at the very end of
// a (damaged) text counts as one byte.
std::size_t charWidth(std::string_view text, std::size_t i) {
    return isCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

bool isAsciiWordByte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Full-width digits, capitals, small letters and low line.
bool isWideWordChar(unsigned char lead, unsigned char trail) {
    if (lead == 0x81) return trail == 0x51;
    return lead == 0x82 && ((trail >= 0x4F && trail <= 0x58) || (trail >= 0x60 && trail <= 0x79) ||
                            (trail >= 0x81 && trail <= 0x9A));
}

bool isWordChar(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (charWidth(text, i) == 1) return isAsciiWordByte(c);
    return isWideWordChar(c, static_cast<unsigned char>(text[i + 1]));
}

// Lower-cases ASCII and full-width Latin capitals in place of equal width,
// leaving the second byte of every double-byte character alone.
std::string foldCase(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const auto c = static_cast<unsigned char>(out[i]);
        const std::size_t w = charWidth(text, i);
        if (w == 1) {
            if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + 32);
        } else {
            const auto t = static_cast<unsigned char>(out[i + 1]);
            if (c == 0x82 && t >= 0x60 && t <= 0x79) out[i + 1] = static_cast<char>(t + 0x21);
        }
        i += w;
    }
    return out;
}

bool holdsLetters(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t w = charWidth(text, i);
        if (w == 1 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return true;
        if (w == 2 && c == 0x82) {
            const auto t = static_cast<unsigned char>(text[i + 1]);
            if ((t >= 0x60 && t <= 0x79) || (t >= 0x81 && t <= 0x9A)) return true;
        }
        i += w;
    }
    return false;
}

}  // namespace

void appendCommentText(const CommentDef& c, std::string& out) {
    out.append(c.line1.view());
    out.append(c.line2.view());
    out.append(c.line3.view());
    out.append(c.line4.view());
}

std::string commentText(const CommentDef& c) {
    std::string out;
    out.reserve(kCommentLines * kCommentLineBytes);
    appendCommentText(c, out);
    return out;
}

std::optional<std::array<std::string_view, kCommentLines>> splitCommentText(std::string_view cp932) {
    std::array<std::string_view, kCommentLines> lines{};
    std::size_t pos = 0;
    for (auto& line : lines) {
        std::size_t end = pos;
        while (end < cp932.size()) {
            const std::size_t w = charWidth(cp932, end);
            if (end + w - pos > kCommentLineBytes) break;
            end += w;
        }
        line = cp932.substr(pos, end - pos);
        pos = end;
    }
    if (pos < cp932.size()) return std::nullopt;
    return lines;
}

bool setCommentText(CommentDef& c, std::string_view cp932) {
    const auto lines = splitCommentText(cp932);
    if (!lines) return false;
    // assignRaw: the split already keeps characters whole, and a damaged lead
    // byte at the end must be stored as it was shown.
    c.line1.assignRaw((*lines)[0]);
    c.line2.assignRaw((*lines)[1]);
    c.line3.assignRaw((*lines)[2]);
    c.line4.assignRaw((*lines)[3]);
    return true;
}

// ---- searching ---------------------------------------------------------------

TextFinder::TextFinder(std::string_view needle, bool matchCase, bool wholeWord)
    : fold_(!matchCase && holdsLetters(needle)), wholeWord_(wholeWord) {
    needle_ = fold_ ? foldCase(needle) : std::string(needle);
}

std::size_t TextFinder::find(std::string_view text, std::size_t from) const {
    const std::size_t n = needle_.size();
    if (n == 0 || from > text.size()) return std::string_view::npos;
    std::string folded;
    std::string_view hay = text;
    if (fold_) {
        folded = foldCase(text);
        hay = folded;
    }
    std::size_t boundary = 0;                      // walks character starts
    std::size_t previous = std::string_view::npos;  // the character start before `boundary`
    std::size_t pos = from;
    while (pos + n <= hay.size()) {
        const void* p = memmem(hay.data() + pos, hay.size() - pos, needle_.data(), n);
        if (!p) break;
        const auto hit = static_cast<std::size_t>(static_cast<const char*>(p) - hay.data());
        while (boundary < hit) {
            previous = boundary;
            boundary += charWidth(text, boundary);
        }
        if (boundary != hit) {  // inside a double-byte character
            pos = boundary;
            continue;
        }
        if (wholeWord_) {
            const std::size_t end = hit + n;
            const bool before = previous != std::string_view::npos && hit > 0 && isWordChar(text, previous);
            const bool after = end < text.size() && isWordChar(text, end);
            if (before || after) {
                pos = hit + charWidth(text, hit);
                continue;
            }
        }
        return hit;
    }
    return std::string_view::npos;
}

bool TextFinder::sameAs(std::string_view text) const {
    if (text.size() != needle_.size() || needle_.empty()) return false;
    return fold_ ? foldCase(text) == needle_ : text == needle_;
}

ReplaceAllResult replaceAllText(std::string_view text, const TextFinder& finder, std::string_view replacement) {
    ReplaceAllResult r;
    r.text = std::string(text);
    if (finder.empty()) return r;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = finder.find(r.text, pos);
        if (hit == std::string_view::npos) break;
        auto next = replaceRange(r.text, hit, finder.length(), replacement);
        if (!next) {
            r.stoppedAtCapacity = true;
            break;
        }
        r.text = std::move(*next);
        ++r.replaced;
        pos = hit + replacement.size();
    }
    return r;
}

std::optional<std::string> replaceRange(std::string_view text, std::size_t offset, std::size_t length,
                                        std::string_view replacement) {
    if (offset > text.size() || length > text.size() - offset) return std::nullopt;
    std::string out;
    out.reserve(text.size() - length + replacement.size());
    out.append(text.substr(0, offset));
    out.append(replacement);
    out.append(text.substr(offset + length));
    if (!commentTextFits(out)) return std::nullopt;
    return out;
}

std::optional<CommentHit> wholeSearch(const Scenario& s, const TextFinder& finder, int comment,
                                      std::size_t from) {
    if (finder.empty()) return std::nullopt;
    std::string text;
    text.reserve(kCommentLines * kCommentLineBytes);
    for (int n = comment < 1 ? 1 : comment; n <= kCommentCount; ++n) {
        text.clear();
        appendCommentText(s.comments[n - 1], text);
        const std::size_t hit = finder.find(text, n == comment ? from : 0);
        if (hit != std::string_view::npos) return CommentHit{n, hit, finder.length()};
    }
    return std::nullopt;
}

}  // namespace qrn
