// The comment text routines with arbitrary cp932 bytes: the split into four
// lines, storing and reading back, the searches and the replacements.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "scenario/commenttext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qrn;
    fuzz::Bytes in(data, size);
    const std::uint8_t flags = in.u8();
    const std::size_t needleLength = in.u8() % 8;
    const std::size_t replacementLength = in.u8() % 16;
    const std::size_t from = in.u16();
    const std::size_t rangeLength = in.u8();
    std::string needle(reinterpret_cast<const char*>(in.here()), std::min(needleLength, in.left()));
    in.skip(needleLength);
    std::string replacement(reinterpret_cast<const char*>(in.here()), std::min(replacementLength, in.left()));
    in.skip(replacementLength);
    const std::string text(reinterpret_cast<const char*>(in.here()), in.left());

    CommentDef c{};
    if (const auto lines = splitCommentText(text)) {
        std::size_t total = 0;
        for (const auto& line : *lines) {
            if (line.size() > kCommentLineBytes) std::abort();
            total += line.size();
        }
        if (total != text.size()) std::abort();
        if (!setCommentText(c, text) || commentText(c) != text) std::abort();
    } else if (setCommentText(c, text)) {
        std::abort();
    }
    const std::string stored = commentText(c);
    const TextFinder finder(needle, flags & 1, flags & 2);
    for (std::size_t at = finder.find(stored, from % (stored.size() + 1)); at != std::string::npos;
         at = finder.find(stored, at + 1))
        if (at + finder.length() > stored.size()) std::abort();
    finder.sameAs(text);
    const ReplaceAllResult all = replaceAllText(stored, finder, replacement);
    if (!commentTextFits(all.text)) std::abort();
    if (const auto r = replaceRange(stored, from, rangeLength, replacement); r && !commentTextFits(*r)) std::abort();
    return 0;
}
