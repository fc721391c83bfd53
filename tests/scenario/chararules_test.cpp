// The character kind rules and the lists a character keeps, compared on whole
// records: a change of kind clears exactly the settings of the kinds left.
#include <gtest/gtest.h>

#include <cstring>

#include "scenario/chararules.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

template <typename T>
bool same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

// A character with the settings of every kind filled in.
CharaDef fullChara(u8 kind) {
    CharaDef c;
    std::memset(&c, 0, sizeof c);
    c.name.assign("villager");
    c.chcharatype = kind;
    c.chhealmoney = 300;
    c.chcomment = 12;
    c.chendhide = 1;
    for (int i = 0; i < 10; ++i) c.chsale[i] = static_cast<u8>(i + 1);
    c.chtalkbgm = 4;
    c.chshowitem = 5;
    c.chshowevent = 6;
    for (int i = 0; i < 5; ++i) {
        c.chwantitem[i] = static_cast<u8>(20 + i);
        c.chitemcomment[i] = static_cast<i16>(100 + i);
        c.chwantevent[i] = static_cast<u8>(30 + i);
        c.cheventcomment[i] = static_cast<i16>(200 + i);
        c.chmagic[i] = static_cast<u8>(40 + i);
        c.chpoison[i] = static_cast<u8>(1 + i);
    }
    c.chantimagic = 1;
    c.chpower = 500;
    c.chattack = 60;
    c.chdefence = 70;
    c.chdextality = 80;
    c.chmoney = 90;
    c.chexperience = 65535;
    c.chitem = 9;
    c.chitemput = 50;
    c.chbossimg.assign("boss.bmp");
    c.chmagicuse = 30;
    c.chpoisonuse = 20;
    c.chbattlebgm = 7;
    c.chbattlesound = 8;
    c.imageTransparent = 1;
    c.imageColour = 0x123456;
    return c;
}

TEST(CharaKindRules, AChangeOfKindClearsEveryOtherKindsSettings) {
    // What each kind keeps of a character that had every setting.
    const auto keptBy = [](int kind) {
        CharaDef c = fullChara(static_cast<u8>(kind));
        if (kind != kCharaNormal) {
            for (int i = 0; i < 5; ++i) {
                c.chwantitem[i] = c.chwantevent[i] = 0;
                c.chitemcomment[i] = c.cheventcomment[i] = 0;
            }
        }
        if (kind != kCharaEnemy) {
            c.chpower = 1;
            c.chattack = c.chdefence = c.chdextality = c.chmoney = c.chexperience = 0;
            c.chitem = c.chitemput = 0;
            c.chpoisonuse = 0;
            c.chbossimg.clear();
            c.chbattlebgm = c.chbattlesound = 0;
            std::memset(c.chmagic, 0, sizeof c.chmagic);
            std::memset(c.chpoison, 0, sizeof c.chpoison);
            // magic defence and magic frequency stay
        }
        if (kind != kCharaHealer) c.chhealmoney = 0;
        if (kind != kCharaMerchant) std::memset(c.chsale, 0, sizeof c.chsale);
        return c;
    };
    for (int from = kCharaNormal; from <= kCharaEnemy; ++from) {
        for (int to = kCharaNormal; to <= kCharaEnemy; ++to) {
            SCOPED_TRACE(testing::Message() << "from " << from << " to " << to);
            CharaDef c = fullChara(static_cast<u8>(from));
            ASSERT_TRUE(setCharaKind(c, to));
            const CharaDef expected = keptBy(to);
            EXPECT_TRUE(same(c, expected));
        }
    }
}

TEST(CharaKindRules, NothingComesBackAndUnknownKindsAreRefused) {
    CharaDef c = fullChara(kCharaMerchant);
    setCharaKind(c, kCharaNormal);
    setCharaKind(c, kCharaMerchant);
    EXPECT_TRUE(charaSaleItems(c).empty());
    EXPECT_EQ(+c.chitemcomment[0], 0);

    CharaDef d = fullChara(kCharaEnemy);
    const CharaDef before = d;
    EXPECT_FALSE(setCharaKind(d, 4));
    EXPECT_FALSE(setCharaKind(d, -1));
    EXPECT_TRUE(same(d, before));
}

TEST(CharaSale, TakesPricedItemsInAscendingOrderFromTheFirstSlotAtMostTen) {
    auto s = test::newScenario();
    for (int n = 1; n <= kItemCount; ++n) s->items[n - 1].itmoney = 10;
    s->items[3 - 1].itmoney = 0;   // cannot be sold
    s->items[8 - 1].itmoney = -5;  // damaged price
    struct Case {
        std::vector<int> chosen;
        std::vector<int> slots;
    } cases[] = {
        {{9, 3, 2, 8, 40, 7, 6}, {2, 6, 7, 9, 40}},
        {{1, 2, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14}, {1, 2, 4, 5, 6, 7, 9, 10, 11, 12}},
        {{250, 251, 0, -3, 1000, 250}, {250}},
        {{}, {}},
    };
    for (const Case& k : cases) {
        CharaDef c = fullChara(kCharaMerchant);
        setCharaSale(c, *s, k.chosen);
        CharaDef expected = fullChara(kCharaMerchant);
        std::memset(expected.chsale, 0, sizeof expected.chsale);
        for (std::size_t i = 0; i < k.slots.size(); ++i) expected.chsale[i] = static_cast<u8>(k.slots[i]);
        EXPECT_TRUE(same(c, expected)) << "case of " << k.chosen.size() << " chosen";
        EXPECT_EQ(charaSaleItems(c), k.slots);
    }
}

TEST(CharaMagic, FiveLowestWithinTheTableAndFewerClearTheRest) {
    struct Case {
        std::vector<int> chosen;
        std::vector<u8> slots;
    } cases[] = {
        {{3, 9}, {3, 9, 0, 0, 0}},                           // fewer than before: the rest empty
        {{50, 51, 55, 0, 12, 2, 7, 40, 33}, {2, 7, 12, 33, 40}},  // five lowest of 1..50
        {{51, 52, 55}, {0, 0, 0, 0, 0}},                     // only numbers past the table
        {{}, {0, 0, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        CharaDef c = fullChara(kCharaEnemy);
        setCharaMagics(c, k.chosen);
        CharaDef expected = fullChara(kCharaEnemy);
        std::memcpy(expected.chmagic, k.slots.data(), 5);
        EXPECT_TRUE(same(c, expected));
    }
    CharaDef damaged = fullChara(kCharaEnemy);
    const u8 slots[5] = {55, 4, 0, 200, 50};
    std::memcpy(damaged.chmagic, slots, 5);
    EXPECT_EQ(charaMagics(damaged), (std::vector<int>{4, 50}));
}

TEST(CharaPoison, AddsOnceIntoTheFirstEmptySlot) {
    CharaDef c = fullChara(kCharaEnemy);
    std::memset(c.chpoison, 0, sizeof c.chpoison);
    EXPECT_TRUE(addCharaPoison(c, 7));
    EXPECT_FALSE(addCharaPoison(c, 7));   // already there
    EXPECT_FALSE(addCharaPoison(c, 0));   // unused entry / nothing
    EXPECT_FALSE(addCharaPoison(c, 51));  // past the table
    c.chpoison[2] = 9;
    EXPECT_TRUE(addCharaPoison(c, 3));    // first empty slot, before the 9
    EXPECT_EQ(charaPoisons(c), (std::vector<int>{7, 3, 9}));
    c.chpoison[4] = 250;                  // damaged slot counts as empty
    EXPECT_TRUE(addCharaPoison(c, 1));
    EXPECT_TRUE(addCharaPoison(c, 2));
    EXPECT_FALSE(addCharaPoison(c, 4));   // no slot left
    CharaDef expected = fullChara(kCharaEnemy);
    const u8 slots[5] = {7, 3, 9, 1, 2};
    std::memcpy(expected.chpoison, slots, 5);
    EXPECT_TRUE(same(c, expected));
}

}  // namespace
}  // namespace qrn
