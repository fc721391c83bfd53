// cp932 text: every character of the code page to UTF-8 and back, and
// cutting to a slot's capacity without splitting a double-byte character.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "scenario/scenario.h"
#include "scenario/text.h"

using namespace qrn;

namespace {

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s += static_cast<char>(c);
    return s;
}

// Codes that share their character with another code; converting back
// yields the other (canonical) code: NEC row 13 symbols also in JIS row 2,
// the NEC-selected IBM extensions, and IBM extensions also in NEC row 13.
bool isDuplicateCode(int code) {
    return (code >= 0x8790 && code <= 0x879C) || (code >= 0xED40 && code <= 0xEEFC) ||
           (code >= 0xFA4A && code <= 0xFA54) || (code >= 0xFA58 && code <= 0xFA5B);
}

// Every double-byte code that the converter accepts.
std::vector<int> acceptedDoubleByteCodes() {
    std::vector<int> codes;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isCp932LeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            if (cp932ToUtf8(bytes({lead, trail}))) codes.push_back(lead << 8 | trail);
        }
    }
    return codes;
}

}  // namespace

TEST(Cp932, SingleBytesIncludingHalfWidthKatakana) {
    for (int b = 0; b < 256; ++b) {
        const bool single = b <= 0x7F || (b >= 0xA1 && b <= 0xDF);
        const auto u = cp932ToUtf8(bytes({b}));
        if (!single) {
            EXPECT_FALSE(u && isCp932LeadByte(static_cast<unsigned char>(b))) << b;
            continue;
        }
        ASSERT_TRUE(u) << b;
        EXPECT_EQ(utf8ToCp932(*u), bytes({b})) << b;
    }
    EXPECT_EQ(*cp932ToUtf8(bytes({0xB1})), "ｱ");     // U+FF71
    EXPECT_EQ(*cp932ToUtf8(bytes({0xDF})), "ﾟ");     // U+FF9F
    EXPECT_EQ(*utf8ToCp932("ｷｬﾗｸﾀｰ"), bytes({0xB7, 0xAC, 0xD7, 0xB8, 0xC0, 0xB0}));
}

TEST(Cp932, EveryDoubleByteCodeRoundTrips) {
    const std::vector<int> codes = acceptedDoubleByteCodes();
    // JIS levels 1 and 2 with symbols (6,879), NEC row 13 (83), the NEC and
    // IBM extensions (762) and the user-defined area (1,880).
    EXPECT_GE(codes.size(), 9600u);
    auto accepted = [&](int code) { return std::binary_search(codes.begin(), codes.end(), code); };
    EXPECT_TRUE(accepted(0x8740));  // circled 1, NEC row 13
    EXPECT_TRUE(accepted(0x879C));  // last of NEC row 13
    EXPECT_TRUE(accepted(0xED40));  // NEC-selected IBM extension
    EXPECT_TRUE(accepted(0xFA40));  // small roman one, IBM extension
    EXPECT_TRUE(accepted(0xFC4B));  // last IBM extension
    EXPECT_TRUE(accepted(0x889F));  // first kanji of level 1
    EXPECT_TRUE(accepted(0xEAA4));  // last kanji of level 2

    int duplicates = 0;
    std::string all;
    for (int code : codes) {
        const std::string in = bytes({code >> 8, code & 0xFF});
        all += in;
        const std::string u = *cp932ToUtf8(in);
        const auto back = utf8ToCp932(u);
        ASSERT_TRUE(back) << std::hex << code;
        ASSERT_EQ(back->size(), 2u) << std::hex << code;
        if (isDuplicateCode(code)) {
            ++duplicates;
            // Back and forth again is stable, and the character is the same.
            EXPECT_EQ(utf8ToCp932(*cp932ToUtf8(*back)), *back) << std::hex << code;
            EXPECT_EQ(*cp932ToUtf8(*back), u) << std::hex << code;
        } else {
            EXPECT_EQ(*back, in) << std::hex << code;
        }
    }
    EXPECT_GT(duplicates, 300);
    // The whole table in one text converts the same way.
    const auto u = cp932ToUtf8(all);
    ASSERT_TRUE(u);
    EXPECT_EQ(cp932ToUtf8(*utf8ToCp932(*u)), u);
}

TEST(Cp932, InvalidInputIsRefusedOrReplaced) {
    EXPECT_FALSE(cp932ToUtf8(bytes({0x82})));              // lone lead byte
    EXPECT_FALSE(cp932ToUtf8(bytes({0x41, 0x82, 0x20})));  // bad trail byte
    EXPECT_EQ(cp932ToUtf8Lossy(bytes({0x41, 0x82})), "A\xEF\xBF\xBD");
    EXPECT_EQ(cp932ToUtf8Lossy(bytes({0xFF, 0x41})), "\xEF\xBF\xBD" "A");
    EXPECT_EQ(cp932ToUtf8Lossy(""), "");
    EXPECT_FALSE(utf8ToCp932("\xF0\x9F\x98\x80"));  // emoji: not in the code page
    EXPECT_FALSE(utf8ToCp932("\xC3\x28"));          // not UTF-8
    EXPECT_EQ(utf8ToCp932(""), std::string());
    // Random bytes never break the display conversion.
    std::mt19937 rng(1);
    for (int i = 0; i < 200; ++i) {
        std::string junk;
        for (int k = 0; k < 40; ++k) junk += static_cast<char>(rng());
        const std::string u = cp932ToUtf8Lossy(junk);
        EXPECT_FALSE(u.empty());
    }
}

TEST(Cp932, CuttingNeverLeavesALoneLeadByte) {
    const std::string kanji = *utf8ToCp932("漢字");  // two double-byte characters
    // a b K K J J ｱ K K J J: ｱ is one byte in cp932, 11 bytes in all.
    const std::string cp = "ab" + kanji + *utf8ToCp932("ｱ") + kanji;
    ASSERT_EQ(cp.size(), 11u);
    const std::size_t want[] = {0, 1, 2, 2, 4, 4, 6, 7, 7, 9, 9, 11, 11};
    for (std::size_t cap = 0; cap <= 12; ++cap) EXPECT_EQ(cp932CutLength(cp, cap), want[cap]) << cap;
    // A text that itself ends in a lone lead byte loses it.
    EXPECT_EQ(cp932CutLength(bytes({0x41, 0x82}), 32), 1u);
    EXPECT_EQ(cutCp932(cp, 5), "ab" + kanji.substr(0, 2));

    // Random texts of characters from every lead-byte range (the ends of each
    // range, trail bytes that are themselves lead bytes or ASCII) and single
    // bytes from every single-byte range: cut at every capacity, the result
    // is the longest whole prefix.
    const std::vector<std::string> characters{
        bytes({0x81, 0x40}), bytes({0x9F, 0xFC}),  // 　 滌
        bytes({0xE0, 0x9F}), bytes({0xEF, 0x5C}),  // 燹 and an unassigned code
        bytes({0xF0, 0x81}), bytes({0xF9, 0xE0}),  // the user-defined rows
        bytes({0xFA, 0x40}), bytes({0xFA, 0xB1}), bytes({0xFB, 0xFC}), bytes({0xFC, 0x4B}),  // ⅰ 﨑 髙 黑
        "A", "\\", "\x7F", "\x80", "\xA0", "\xB1", "\xDF", "\xFD", "\xFF"};
    std::mt19937 rng(3);
    for (int round = 0; round < 100; ++round) {
        std::string t;
        std::vector<std::size_t> bounds{0};
        while (t.size() < 40) {
            t += characters[rng() % characters.size()];
            bounds.push_back(t.size());
        }
        for (std::size_t cap = 0; cap <= t.size() + 1; ++cap) {
            const std::size_t best = *std::prev(std::upper_bound(bounds.begin(), bounds.end(), cap));
            ASSERT_EQ(cp932CutLength(t, cap), best) << "round " << round << ", capacity " << cap;
        }
    }
}

TEST(Cp932, AssignCutsToTheSlot) {
    ShortString32 s{};
    std::memset(s.chars, 'z', sizeof s.chars);
    s.assign(std::string(40, 'x'));
    EXPECT_EQ(s.len, 32);
    // 31 single bytes and a double-byte character at the end: the character
    // would be split, so it goes whole.
    const std::string dbl = *utf8ToCp932("漢");
    s.assign(std::string(31, 'y') + dbl);
    EXPECT_EQ(s.len, 31);
    EXPECT_EQ(s.view(), std::string(31, 'y'));
    s.assign(std::string(30, 'y') + dbl);
    EXPECT_EQ(s.len, 32);
    s.assign("short");
    EXPECT_EQ(s.view(), "short");
    EXPECT_EQ(s.chars[5], 'y');  // bytes after the length are left as they were
    s.assign(s.view().substr(1));  // from its own characters
    EXPECT_EQ(s.view(), "hort");
    ShortString16 raw{};
    raw.assignRaw(bytes({0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82,
                         0x82, 0x82, 0x82, 0x82}));
    EXPECT_EQ(raw.len, 16);  // binary slots cut byte-wise
}
