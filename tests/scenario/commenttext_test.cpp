// Comment texts: the split into four lines of 250 cp932 bytes at character
// boundaries, and find, replace-all and whole search over those bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scenario/commenttext.h"
#include "scenario/resets.h"
#include "scenario/text.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;

namespace {

const std::string kWide = cp932Literal("あ");  // 2 bytes
const std::string kKana = cp932Literal("ｱ");   // 1 byte, half-width

std::string times(const std::string& piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
}

struct SplitCase {
    const char* what;
    std::string text;
    bool fits;
    std::array<std::size_t, 4> lineBytes;
};

class CommentSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommentSplit, StoresWholeCharactersAndReadsBackTheSameText) {
    const SplitCase& c = GetParam();
    CommentDef d;
    freshComment(d, 1);
    d.line1.assign("old");
    const CommentDef before = d;
    ASSERT_EQ(setCommentText(d, c.text), c.fits);
    if (!c.fits) {
        EXPECT_EQ(std::memcmp(&d, &before, sizeof d), 0) << "a refused text changes nothing";
        return;
    }
    const ShortString250* lines[] = {&d.line1, &d.line2, &d.line3, &d.line4};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(static_cast<std::size_t>(lines[i]->length()), c.lineBytes[static_cast<std::size_t>(i)])
            << "line " << i + 1;
        // No line ends inside a double-byte character.
        EXPECT_EQ(cp932CutLength(lines[i]->view(), 250), static_cast<std::size_t>(lines[i]->length()));
    }
    EXPECT_EQ(commentText(d), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CommentSplit,
    ::testing::Values(
        SplitCase{"empty", "", true, {0, 0, 0, 0}},
        SplitCase{"600 half-width", std::string(600, 'x'), true, {250, 250, 100, 0}},
        SplitCase{"1000 half-width", std::string(1000, 'x'), true, {250, 250, 250, 250}},
        SplitCase{"1001 half-width", std::string(1001, 'x'), false, {}},
        SplitCase{"300 full-width", times(kWide, 300), true, {250, 250, 100, 0}},
        SplitCase{"500 full-width", times(kWide, 500), true, {250, 250, 250, 250}},
        SplitCase{"501 full-width", times(kWide, 501), false, {}},
        // A full-width character that would straddle byte 250 starts the next line.
        SplitCase{"odd start", "x" + times(kWide, 125), true, {249, 2, 0, 0}},
        SplitCase{"odd start, 499 wide", "x" + times(kWide, 499), true, {249, 250, 250, 250}},
        SplitCase{"odd start, 500 wide", "x" + times(kWide, 500), false, {}},
        SplitCase{"mixed 600 characters", times(kKana + kWide, 300), true, {250, 249, 249, 152}},
        SplitCase{"line breaks", times("ab\r\n", 250), true, {250, 250, 250, 250}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(CommentText, DamagedLinesAreReadWithinTheirCapacity) {
    CommentDef d;
    freshComment(d, 1);
    d.line1.assign("abc");
    d.line2.len = 255;  // a damaged length byte
    std::memset(d.line2.chars, 'z', 250);
    EXPECT_EQ(commentText(d), "abc" + std::string(250, 'z'));
    // A lone lead byte at the end is kept, not dropped or run past.
    const std::string damaged = "ab\x82";
    ASSERT_TRUE(setCommentText(d, damaged));
    EXPECT_EQ(commentText(d), damaged);
}

// ---- find ----------------------------------------------------------------------

struct FindCase {
    const char* what;
    std::string text, needle;
    bool matchCase, wholeWord;
    std::size_t from, expected;
};

class CommentFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(CommentFind, FindsOnlyWholeCharacters) {
    const FindCase& c = GetParam();
    EXPECT_EQ(TextFinder(c.needle, c.matchCase, c.wholeWord).find(c.text, c.from), c.expected) << c.what;
}

constexpr auto npos = std::string::npos;

INSTANTIATE_TEST_SUITE_P(
    Cases, CommentFind,
    ::testing::Values(
        FindCase{"backslash in the second byte of 表", cp932Literal("表示\\"), "\\", true, false, 0, 4},
        FindCase{"letter in the second byte of ア", cp932Literal("アイa"), "A", false, false, 0, 4},
        FindCase{"letter in the second byte, match case", cp932Literal("ア"), "A", true, false, 0, npos},
        FindCase{"ignore case", "say Hello", "hELLO", false, false, 0, 4},
        FindCase{"match case", "say Hello", "hello", true, false, 0, npos},
        FindCase{"full-width letters ignore case", cp932Literal("ＡＢＣ"), cp932Literal("ａｂｃ"), false, false, 0, 0},
        FindCase{"from the caret", "cat cat", "cat", true, false, 1, 4},
        FindCase{"whole word", "concat cat", "cat", true, true, 0, 7},
        FindCase{"whole word beside full-width letters", cp932Literal("Ａcat Ｂcat"), "cat", true, true, 0, npos},
        FindCase{"whole word beside kana", cp932Literal("あcatい"), "cat", true, true, 0, 2},
        FindCase{"japanese", cp932Literal("勇者よ、勇者"), cp932Literal("勇者"), true, false, 1, 8},
        FindCase{"empty search text", "abc", "", false, false, 0, npos},
        FindCase{"from past the end", "abc", "c", false, false, 9, npos}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(CommentFind, SameAsFollowsTheCaseChoice) {
    EXPECT_TRUE(TextFinder("Key", false, false).sameAs("kEY"));
    EXPECT_FALSE(TextFinder("Key", true, false).sameAs("kEY"));
    EXPECT_FALSE(TextFinder("", false, false).sameAs(""));
}

// ---- replace all ------------------------------------------------------------------

struct ReplaceCase {
    const char* what;
    std::string text, needle, replacement;
    std::string expected;
    int replaced;
    bool stopped;
};

class CommentReplaceAll : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(CommentReplaceAll, EndsAndKeepsWithinTheComment) {
    const ReplaceCase& c = GetParam();
    const ReplaceAllResult r = replaceAllText(c.text, TextFinder(c.needle, true, false), c.replacement);
    EXPECT_EQ(r.text, c.expected);
    EXPECT_EQ(r.replaced, c.replaced);
    EXPECT_EQ(r.stoppedAtCapacity, c.stopped);
    EXPECT_TRUE(commentTextFits(r.text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommentReplaceAll,
    ::testing::Values(
        ReplaceCase{"plain", "a-b-c", "-", "+", "a+b+c", 2, false},
        ReplaceCase{"empty search text", "abc", "", "x", "abc", 0, false},
        ReplaceCase{"replacement holds the search text", "aaa", "a", "aa", "aaaaaa", 3, false},
        ReplaceCase{"replacement equals the search text", "abab", "ab", "ab", "abab", 2, false},
        ReplaceCase{"to nothing", "xaxa", "a", "", "xx", 2, false},
        ReplaceCase{"stops at the capacity", std::string(992, 'x') + "aaaaa", "a", "bb",
                    std::string(992, 'x') + "bbbbbbaa", 3, true},
        // Growing by a full-width character that no longer fits at byte 1000.
        ReplaceCase{"capacity with full-width", std::string(998, 'x') + "a", "a", kWide + "b",
                    std::string(998, 'x') + "a", 0, true}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// ---- whole search -------------------------------------------------------------------

TEST(WholeSearch, GoesOnThroughTheFollowingCommentsUpTo500) {
    auto s = newScenario();
    commentinitialize(*s, -1, false);
    const std::string key = cp932Literal("鍵");
    ASSERT_TRUE(setCommentText(s->comment(3), "x" + key + "yy" + key));
    ASSERT_TRUE(setCommentText(s->comment(101), std::string(249, 'z') + key));  // across line1 and line2
    ASSERT_TRUE(setCommentText(s->comment(500), key));
    const TextFinder finder(key, false, false);

    struct Step { int comment; std::size_t from; int hitComment; std::size_t hitOffset; };
    const Step steps[] = {{1, 0, 3, 1}, {3, 1, 3, 1}, {3, 3, 3, 5}, {3, 7, 101, 249},
                          {101, 251, 500, 0}, {0, 0, 3, 1}};
    for (const Step& st : steps) {
        const auto hit = wholeSearch(*s, finder, st.comment, st.from);
        ASSERT_TRUE(hit) << st.comment << "/" << st.from;
        EXPECT_EQ(hit->comment, st.hitComment);
        EXPECT_EQ(hit->offset, st.hitOffset);
        EXPECT_EQ(hit->length, key.size());
    }
    EXPECT_FALSE(wholeSearch(*s, finder, 500, 1));
    EXPECT_FALSE(wholeSearch(*s, finder, 501, 0));
    EXPECT_FALSE(wholeSearch(*s, TextFinder("", false, false), 1, 0));
}

}  // namespace
