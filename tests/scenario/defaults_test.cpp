// The whole reset: every default at its byte, over a record full of garbage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "scenario/resets.h"
#include "scenario/text.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;

namespace {

using Bytes = std::vector<unsigned char>;

std::string cp(const char* utf8) { return *utf8ToCp932(utf8); }

// Expected image of a fresh entry: zeros, the name, then the listed bytes.
Bytes freshImage(std::size_t size, const std::string& name) {
    Bytes b(size, 0);
    b[0] = static_cast<unsigned char>(name.size());
    std::memcpy(b.data() + 1, name.data(), name.size());
    return b;
}
void put8(Bytes& b, std::size_t at, unsigned v) { b[at] = static_cast<unsigned char>(v); }
void put16(Bytes& b, std::size_t at, unsigned v) { put8(b, at, v & 0xFF); put8(b, at + 1, v >> 8); }
void put32(Bytes& b, std::size_t at, unsigned v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

template <typename Def>
::testing::AssertionResult hasImage(const Def& d, const Bytes& want, int n) {
    if (std::memcmp(&d, want.data(), sizeof d) == 0) return ::testing::AssertionSuccess();
    const auto* got = reinterpret_cast<const unsigned char*>(&d);
    std::size_t i = 0;
    while (got[i] == want[i]) ++i;
    return ::testing::AssertionFailure() << "entry " << n << " differs at byte " << i << ": "
                                         << int(got[i]) << " instead of " << int(want[i]);
}

struct ResetFixture : ::testing::Test {
    ScenarioPtr s = newScenario();
    std::unique_ptr<EditorSideData> side = std::make_unique<EditorSideData>();
    void SetUp() override {
        fillRandom(*s, 11);
        std::memset(&side->pictures, 0xFF, sizeof side->pictures);
        std::memset(&side->pristine, 0xFF, sizeof side->pristine);
        side->joinName = "old.dst";
        alldatainitialize(*s, *side, 1234);
    }
};

}  // namespace

TEST(DefaultText, DefaultNamesAreCp932) {
    // Bytes as they must appear in a file of this format.
    EXPECT_EQ(cp("主人公"), "\x8E\xE5\x90\x6C\x8C\xF6");
    EXPECT_EQ(cp("ｷｬﾗｸﾀｰ "), "\xB7\xAC\xD7\xB8\xC0\xB0 ");
}

TEST_F(ResetFixture, HeroDefaults) {
    Bytes want = freshImage(sizeof(HeroDef), cp("主人公"));
    put8(want, 33, 1);     // startField
    put32(want, 34, 1);    // startPosition
    put8(want, 46, 250);   // hemaxitem
    put8(want, 347, 1);    // helevel
    put16(want, 348, 20);  // hemaxpower
    put16(want, 350, 10);  // hemaxmp
    put16(want, 352, 10);  // hestrength
    put16(want, 354, 5);   // hedextality
    EXPECT_TRUE(hasImage(s->hero, want, 0));
}

TEST_F(ResetFixture, FieldsAndCellsAreEmpty) {
    for (int n = 1; n <= kFieldCount; ++n) {
        Bytes want = freshImage(sizeof(FieldDef), cp("ﾌｨｰﾙﾄﾞ ") + std::to_string(n));
        put8(want, 166, 1);
        put32(want, 167, 0xFFFFFF);
        EXPECT_TRUE(hasImage(s->field(n), want, n));
        EXPECT_EQ(s->fieldItemImageFiles[n - 1].len, 0);
    }
    EXPECT_EQ(fieldsInUseCount(*s), 0);
    const Cell* first = &s->cell(1);
    const auto* bytes = reinterpret_cast<const unsigned char*>(first);
    EXPECT_EQ(std::count(bytes, bytes + 10 * kCellCount, 0), 10 * kCellCount);
}

TEST_F(ResetFixture, ObjectDefaults) {
    for (int n = 1; n <= 250; ++n) {
        const std::string num = std::to_string(n);
        Bytes c = freshImage(sizeof(CharaDef), cp("ｷｬﾗｸﾀｰ ") + num);
        put16(c, 83, 1);
        put8(c, 367, 1);
        put32(c, 368, 0xFFFFFF);
        EXPECT_TRUE(hasImage(s->chara(n), c, n));

        Bytes it = freshImage(sizeof(ItemDef), cp("ｱｲﾃﾑ ") + num);
        put8(it, 38, 1);
        put8(it, 48, 1);
        put8(it, 49, 1);
        put8(it, 75, 1);
        put32(it, 76, 0xFFFFFF);
        EXPECT_TRUE(hasImage(s->item(n), it, n));

        Bytes ev = freshImage(sizeof(EventDef), cp("ｲﾍﾞﾝﾄ ") + num);
        put8(ev, 613, 1);
        put8(ev, 614, 1);
        put32(ev, 615, 0xFFFFFF);
        put32(ev, 619, 0xFFFFFF);
        EXPECT_TRUE(hasImage(s->event(n), ev, n));

        Bytes en = freshImage(sizeof(EnterDef), cp("建造物 ") + num);
        put8(en, 42, 1);
        put8(en, 43, 1);
        put8(en, 44, 1);
        put32(en, 45, 0xFFFFFF);
        put32(en, 49, 0xFFFFFF);
        EXPECT_TRUE(hasImage(s->enter(n), en, n));

        for (const auto* pic : {&s->charaImageFiles[n - 1], &s->itemImageFiles[n - 1],
                                &s->eventImageFiles[n - 1], &s->eventImage2Files[n - 1],
                                &s->enterImageFiles[n - 1], &s->enterImage2Files[n - 1]})
            EXPECT_EQ(pic->len, 0) << "picture of entry " << n;
    }
    for (int n = 1; n <= kPlaceCount; ++n) {
        Bytes pl = freshImage(sizeof(PlaceDef), cp("地形 ") + std::to_string(n));
        put8(pl, 33, 1);
        put32(pl, 46, 0xFFFFFF);
        put32(pl, 50, 0xFFFFFF);
        EXPECT_TRUE(hasImage(s->place(n), pl, n));
        EXPECT_EQ(s->placeImageFiles[n - 1].len, 0);
        EXPECT_EQ(s->placeImage2Files[n - 1].len, 0);
    }
    // The longest default name fits whole.
    EXPECT_EQ(s->chara(250).name.view(), cp("ｷｬﾗｸﾀｰ 250"));
}

TEST_F(ResetFixture, ResourceDefaults) {
    for (int n = 1; n <= 50; ++n) {
        const std::string num = std::to_string(n);
        EXPECT_TRUE(hasImage(s->magic(n), freshImage(sizeof(MagicDef), cp("ﾏｼﾞｯｸ ") + num), n));
        EXPECT_TRUE(hasImage(s->poison(n), freshImage(sizeof(PoisonDef), cp("特殊攻撃 ") + num), n));
        EXPECT_TRUE(hasImage(s->bgm(n), freshImage(sizeof(BgmDef), "BGM " + num), n));
        EXPECT_TRUE(hasImage(s->sound(n), freshImage(sizeof(SoundDef), cp("効果音 ") + num), n));
        EXPECT_TRUE(hasImage(s->enemyType(n), freshImage(sizeof(EnemyTypeDef), cp("敵ｸﾞﾙｰﾌﾟ ") + num), n));
    }
    for (int n = 1; n <= kCommentCount; ++n)
        EXPECT_TRUE(hasImage(s->comment(n), Bytes(sizeof(CommentDef), 0), n));
    for (int n = 1; n <= kWalkImgCount; ++n) {
        Bytes w = freshImage(sizeof(WalkImgDef), cp("ｳｫｰｸｲﾒｰｼﾞ ") + std::to_string(n));
        put8(w, 33, 1);
        put32(w, 34, 0xFFFFFF);
        EXPECT_TRUE(hasImage(s->walkImg(n), w, n));
        for (const auto& pic : s->walkImageFiles[n - 1]) EXPECT_EQ(pic.len, 0);
    }
    for (int row = 1; row <= kLevelRows; ++row) {
        Bytes l(sizeof(LevelEntry), 0);
        put32(l, 0, 20);
        put16(l, 4, 10);
        put16(l, 6, 10);
        put16(l, 8, 5);
        put16(l, 10, 5);
        EXPECT_TRUE(hasImage(s->level(row), l, row));
    }
}

TEST_F(ResetFixture, SettingsDefaults) {
    const ScenarioSettings& st = s->settings;
    EXPECT_EQ(st.scenarioname.view(), "New-Scenario");
    EXPECT_EQ(st.scenarioname.len, 12);
    for (u8 len : {st.reserved1.len, st.reserved2.len, st.scdesigner.len, st.scplaypassword.len,
                   st.scdoller.len, st.scopeningbmp.len, st.scwallbmp.len})
        EXPECT_EQ(len, 0);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(st.titleBitmaps[k].len, 0);
        EXPECT_EQ(st.endingBitmaps[k].len, 0);
    }
    // Every number of the settings, byte by byte: the blocks between the texts.
    const unsigned char* b = s->bytes();
    auto allZero = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (b[i] != 0) return false;
        return true;
    };
    EXPECT_EQ(b[4513398], 50);                   // scsaleby
    EXPECT_TRUE(allZero(4513399, 4513402));      // scdefwalkimg, scgameover
    EXPECT_TRUE(allZero(4513658, 4513663));      // scopeningbgm, startDirection
    EXPECT_TRUE(allZero(4515199, 4515212));      // title comments, prologue, titleBgm
    EXPECT_TRUE(allZero(4516492, 4516514));      // ending comments .. wonderingSound
    EXPECT_EQ(b[4516514], 1);                    // heroNameChangeable

    ASSERT_EQ(st.randomStamp.len, 32);
    std::set<int> seen;
    for (char c : st.randomStamp.view()) {
        EXPECT_LE(static_cast<unsigned char>(c), 8);
        seen.insert(c);
    }
    EXPECT_GT(seen.size(), 3u);
}

TEST_F(ResetFixture, RandomStampDiffersBetweenNewScenarios) {
    const std::string first = s->settings.randomStamp.str();
    alldatainitialize(*s, *side);
    const std::string second = s->settings.randomStamp.str();
    alldatainitialize(*s, *side);
    const std::string third = s->settings.randomStamp.str();
    EXPECT_EQ(second.size(), 32u);
    EXPECT_TRUE(first != second || second != third);
    EXPECT_NE(second, third);
    // Every byte is a digit value 0..8, and over a few stamps each of them occurs.
    std::set<int> values;
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        mapinitialize(*s, seed);
        ASSERT_EQ(s->settings.randomStamp.len, 32);
        for (char c : s->settings.randomStamp.view()) values.insert(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(values, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(ResetFixture, SideDataIsReset) {
    const PictureIndexTables& p = side->pictures;
    int nonZero = 0;
    for (int n = 1; n <= 100; ++n) nonZero += p.fieldItem[n] != 0;
    for (int n = 1; n <= 500; ++n)
        nonZero += (p.charaItem[n] != 0) + (p.event[n] != 0) + (p.enter[n] != 0);
    for (int n = 1; n <= 400; ++n) nonZero += (p.place[n] != 0) + (p.place2[n] != 0);
    for (int n = 1; n <= 10; ++n)
        for (int k = 1; k <= 8; ++k) nonZero += p.walk[n][k] != 0;
    EXPECT_EQ(nonZero, 0);
    EXPECT_TRUE(side->joinName.empty());
    const PristineResources& pr = side->pristine;
    EXPECT_EQ(pr.enemyType.name.view(), cp("敵ｸﾞﾙｰﾌﾟ 1"));
    EXPECT_EQ(std::memcmp(&pr.poison, &s->poison(1), sizeof pr.poison), 0);
    EXPECT_EQ(std::memcmp(&pr.enemyType, &s->enemyType(1), sizeof pr.enemyType), 0);
    EXPECT_EQ(std::memcmp(&pr.sound, &s->sound(1), sizeof pr.sound), 0);
    EXPECT_EQ(std::memcmp(&pr.bgm, &s->bgm(1), sizeof pr.bgm), 0);
    EXPECT_EQ(std::memcmp(&pr.walkImg, &s->walkImg(1), sizeof pr.walkImg), 0);
    EXPECT_EQ(std::memcmp(&pr.comment, &s->comment(1), sizeof pr.comment), 0);
}

TEST(PictureIndexes, SingleEntryResetTouchesOnlyThatEntry) {
    auto p = std::make_unique<PictureIndexTables>();
    std::memset(p.get(), 0x7F, sizeof *p);
    placeimginitialize(*p, 3);
    eventimginitialize(*p, 250);
    itemimginitialize(*p, 1);
    runimginitialize(*p, 10);
    EXPECT_EQ(+p->place[3], 0);
    EXPECT_EQ(+p->place2[3], 0);
    EXPECT_NE(+p->place[4], 0);
    EXPECT_EQ(+p->event[250], 0);
    EXPECT_EQ(+p->event[500], 0);
    EXPECT_NE(+p->event[249], 0);
    EXPECT_EQ(+p->charaItem[251], 0);
    EXPECT_NE(+p->charaItem[1], 0);
    EXPECT_EQ(p->walk[10][8], 0);
    EXPECT_NE(p->walk[9][8], 0);
}

TEST(ChipClear, ClearsExactlyTheRange) {
    auto s = newScenario();
    fillRandom(*s, 5);
    auto before = copyOf(*s);
    chipclear(*s, 9, 8);  // last < first
    EXPECT_TRUE(sameBytes(*s, *before));
    chipclear(*s, 5, 7);
    EXPECT_GE(firstDifference(*s, *before), static_cast<long>(offsetIn(*s, &s->cell(5))));
    EXPECT_EQ(std::memcmp(s.get(), before.get(), offsetIn(*s, &s->cell(5))), 0);
    for (int c = 5; c <= 7; ++c) EXPECT_EQ(+s->cell(c).place, 0);
    EXPECT_EQ(std::memcmp(&s->cell(8), &before->cell(8), sizeof(Cell) * (kCellCount - 7)), 0);
    chipclear(*s, -5, 2);          // clamped to the store
    chipclear(*s, 299999, 400000);
    EXPECT_EQ(+s->cell(1).place, 0);
    EXPECT_EQ(+s->cell(300000).place, 0);
    EXPECT_EQ(std::memcmp(&s->settings, &before->settings, sizeof s->settings), 0);
}
