// The text of a comment and the searches over comments. A comment's text is
// cp932 bytes stored as up to four lines of at most 250 bytes each; a line
// never ends inside a double-byte character (it ends a byte early instead),
// so what fits depends on the text, not only on its length. Line breaks of
// the text are stored as CR LF like any other bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "scenario.h"

namespace qrn {

inline constexpr int kCommentLines = 4;
inline constexpr std::size_t kCommentLineBytes = 250;

// The four lines joined (each read within its capacity).
std::string commentText(const CommentDef& c);
// Appends the joined lines to `out` (no allocation once `out` has room).
void appendCommentText(const CommentDef& c, std::string& out);

// The lines a text is stored as: each takes as many whole characters as fit
// in 250 bytes. nullopt when the text needs more than four lines.
std::optional<std::array<std::string_view, kCommentLines>> splitCommentText(std::string_view cp932);
inline bool commentTextFits(std::string_view cp932) { return splitCommentText(cp932).has_value(); }

// Stores a text into the four lines. A text that does not fit is refused:
// false, and the comment is left as it was.
bool setCommentText(CommentDef& c, std::string_view cp932);

// ---- searching ---------------------------------------------------------------

// A search text with the find dialog's choices. Matches start on a character
// boundary (a byte search alone would find "\" in the second byte of "表").
// Without match case, ASCII and full-width Latin letters match either case.
// A whole word is a match whose neighbouring characters are not letters,
// digits or "_" (half-width or full-width).
class TextFinder {
public:
    TextFinder(std::string_view needle, bool matchCase, bool wholeWord);

    bool empty() const { return needle_.empty(); }
    std::size_t length() const { return needle_.size(); }
    // Offset of the first match starting at or after `from`, or npos. An empty
    // search text finds nothing.
    std::size_t find(std::string_view text, std::size_t from = 0) const;
    // True when `text` is the search text as the case choice compares.
    bool sameAs(std::string_view text) const;

private:
    std::string needle_;  // folded unless matching case
    bool fold_;           // the needle holds letters and case is ignored
    bool wholeWord_;
};

// Replaces every match, searching on after each inserted text, so a
// replacement that contains the search text is not searched again. Stops
// before the first replacement that would no longer fit in a comment.
struct ReplaceAllResult {
    std::string text;
    int replaced = 0;
    bool stoppedAtCapacity = false;
};
ReplaceAllResult replaceAllText(std::string_view text, const TextFinder& finder, std::string_view replacement);

// The text with bytes [offset, offset + length) replaced, or nullopt when the
// range lies outside the text or the result does not fit in a comment.
std::optional<std::string> replaceRange(std::string_view text, std::size_t offset, std::size_t length,
                                        std::string_view replacement);

// Whole search: the first match in comment `comment` at or after byte `from`,
// then in the following comments from their start, up to comment 500.
struct CommentHit {
    int comment = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};
std::optional<CommentHit> wholeSearch(const Scenario& s, const TextFinder& finder, int comment,
                                      std::size_t from);

}  // namespace qrn
