// The rules of the settings window, the hero and the level-up table: typed
// boxes, the magic type, the hero's items, the level totals, the automatic
// level setting and the password generator.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <utility>

#include "scenario/herorules.h"
#include "scenario/levelrules.h"
#include "scenario/magicrules.h"
#include "scenario/numericrule.h"
#include "scenario/password.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

using Kind = NumericOutcome::Kind;
using namespace numericedits;

struct BoxRow {
    const char* box;
    NumericRule (*rule)();
    const char* text;
    NumericOutcome expected;
};

NumericOutcome store(std::int64_t v, std::string t = {}) { return {Kind::Store, v, std::move(t)}; }
NumericOutcome replace(std::int64_t v) { return {Kind::Replace, v, std::to_string(v)}; }
NumericOutcome cleared() { return {Kind::Replace, 0, {}}; }

class SettingsBoxTest : public ::testing::TestWithParam<BoxRow> {};

TEST_P(SettingsBoxTest, Outcome) {
    const BoxRow& r = GetParam();
    EXPECT_EQ(applyNumericText(r.rule(), r.text), r.expected) << r.box << " \"" << r.text << "\"";
}

const BoxRow kBoxes[] = {
    {"scsaleby", scsaleby, "0", replace(1)},
    {"scsaleby", scsaleby, "150", replace(100)},
    {"scsaleby", scsaleby, "", {}},
    {"scsaleby", scsaleby, "55", store(55)},
    // the hero's stats are signed 16-bit in the file: never above 32767
    {"hestat", hestat, "0", replace(1)},
    {"hestat", hestat, "32767", store(32767)},
    {"hestat", hestat, "32768", replace(32767)},
    {"hestat", hestat, "65535", replace(32767)},
    {"hestat", hestat, "-5", replace(1)},
    {"hestat", hestat, "x", cleared()},
    {"hemoney", hemoney, "2147483648", replace(2147483647)},
    {"hemoney", hemoney, "99999999999999999999", replace(2147483647)},
    {"hemoney", hemoney, "a", cleared()},
    {"hemaxitem", hemaxitem, "0", replace(1)},
    {"hemaxitem", hemaxitem, "251", replace(250)},
    {"helevel", helevel, "0", replace(1)},
    {"helevel", helevel, "51", replace(50)},
    {"mgdownmp", mgdownmp, "70000", replace(65535)},
    {"mgdownmp", mgdownmp, "x", store(0, "0")},
    {"mgsuccess", mgsuccess, "101", replace(100)},
    {"mgsuccess", mgsuccess, "q", cleared()},
    {"mgvalue", mgvalue, "65536", replace(65535)},
    {"mghealing", mghealing, "全", store(-1)},
    {"mghealing", mghealing, "65536", replace(65535)},
    {"mghealing", mghealing, "-1", replace(0)},
    {"atexperience", atexperience, "abc", store(0, "0")},
    {"atexperience", atexperience, "3000000000", replace(2147483647)},
    {"atbound", atbound, "70000", replace(65535)},
    {"atbound", atbound, "-", store(0, "0")},
};
INSTANTIATE_TEST_SUITE_P(SettingsBoxes, SettingsBoxTest, ::testing::ValuesIn(kBoxes));

// ---- magic type ------------------------------------------------------------

MagicDef battleMagic() {
    MagicDef m{};
    m.mgsuccess = 80;
    m.mgusebattle = 1;
    m.mgdamage = 30;
    m.mgupstr = 2;
    m.mgdowndex = 4;
    m.mgdamagetome = 0;
    m.mgsleep = 1;
    m.mgsilence = 1;
    m.mgsound = 3;
    m.mgdownmp = 7;
    return m;
}

bool same(const MagicDef& a, const MagicDef& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(MagicType, ChoosingATypeClearsWhatItDoesNotUse) {
    MagicDef m = battleMagic();
    m.mghealing = 5;  // a single-target magic has no healing: cleared on view
    m.mgantipoison = 2;
    EXPECT_EQ(settleMagic(m), (MagicLook{MagicKind::Single, true, true, false, false}));
    MagicDef expected = battleMagic();
    EXPECT_TRUE(same(m, expected));

    chooseMagicType(m, MagicKind::Status);
    expected = MagicDef{};
    expected.mgsuccess = 80;
    expected.mgsound = 3;
    expected.mgdownmp = 7;
    expected.statusMagic = 1;
    expected.mgdamagetome = expected.mgupstrtome = expected.mgdownstrtome = expected.mgupdeftome = 1;
    expected.mgdowndeftome = expected.mgupdextome = expected.mgdowndextome = 1;
    EXPECT_TRUE(same(m, expected)) << "a status magic keeps only its common values, all on the caster";
    EXPECT_EQ(magicLook(m), (MagicLook{MagicKind::Status, false, false, true, false}));

    m.mgusebattle = 1;
    EXPECT_EQ(magicLook(m), (MagicLook{MagicKind::Status, true, false, true, false}));
    m.mgdamage = 9;
    m.mgusebattle = 0;  // losing battle use loses the battle values
    settleMagic(m);
    EXPECT_TRUE(same(m, expected));

    chooseMagicType(m, MagicKind::Move);
    expected = MagicDef{};
    expected.mgsuccess = 80;
    expected.mgsound = 3;
    expected.mgdownmp = 7;
    expected.warpMagic = 1;
    EXPECT_TRUE(same(m, expected));
    chooseMagicMove(m, false);
    EXPECT_EQ(m.escapeMagic, 1);
    EXPECT_EQ(m.warpMagic, 0);
    chooseMagicMove(m, true);
    EXPECT_EQ(m.escapeMagic + m.warpMagic, 1);

    chooseMagicType(m, MagicKind::All);
    EXPECT_EQ(magicLook(m), (MagicLook{MagicKind::All, true, true, false, false}));
    EXPECT_EQ(m.warpMagic, 0);
    EXPECT_EQ(m.mgusebattle, 1);
    EXPECT_EQ(m.allTargets, 1);
}

TEST(MagicType, ChoosingTheShownTypeAgainKeepsEveryValue) {
    MagicDef all = battleMagic();
    all.allTargets = 1;
    MagicDef cure{};
    cure.statusMagic = 1;
    cure.mghealing = 30;
    const std::pair<MagicDef, MagicKind> cases[] = {
        {battleMagic(), MagicKind::Single}, {all, MagicKind::All}, {cure, MagicKind::Status}};
    for (auto [m, kind] : cases) {
        const MagicDef before = m;
        chooseMagicType(m, kind);
        EXPECT_TRUE(same(m, before)) << int(kind);
    }
}

TEST(MagicType, StoringIntoASingleOrAllMagicMakesItUsableInBattle) {
    MagicDef single{};  // a fresh entry: shown as single target, not yet used in battle
    MagicDef all{};
    all.allTargets = 1;
    MagicDef status{};
    status.statusMagic = 1;
    MagicDef warp{};
    warp.warpMagic = 1;
    const std::pair<MagicDef, bool> cases[] = {{single, true}, {all, true}, {status, false}, {warp, false}};
    for (auto [m, usable] : cases) {
        MagicDef expected = m;
        expected.mgusebattle = usable ? 1 : 0;
        markMagicEdited(m);
        EXPECT_TRUE(same(m, expected)) << int(magicKind(m));
    }
    chooseMagicType(single, MagicKind::Single);  // the shown type chosen again
    EXPECT_EQ(single.mgusebattle, 1);
}

TEST(MagicType, FirstMatchWinsOnDamagedFlags) {
    MagicDef m = battleMagic();
    m.allTargets = 1;
    m.warpMagic = 1;
    m.statusMagic = 1;
    m.mghealing = 4;
    EXPECT_EQ(settleMagic(m).kind, MagicKind::All);
    EXPECT_EQ(m.warpMagic + m.statusMagic, 0);
    EXPECT_EQ(+m.mghealing, 0);
    EXPECT_EQ(+m.mgdamage, 30);
}

// Each box index reaches its own member: every index set to a different
// value, compared with the record written member by member, and read back.
TEST(MagicType, BattleValueAndTargetIndexesReachTheirOwnMembers) {
    MagicDef m{}, expected{};
    for (int i = 0; i < kMagicBattleValues; ++i) {
        setMagicBattleValue(m, i, static_cast<u16>(100 + i));
        setMagicTargetFlag(m, i, static_cast<u8>(10 + i));
    }
    setMagicBattleValue(m, kMagicBattleValues, 999);  // outside: nothing
    setMagicTargetFlag(m, -1, 99);
    expected.mgdamage = 100, expected.mgupstr = 101, expected.mgdownstr = 102, expected.mgupdef = 103;
    expected.mgdowndef = 104, expected.mgupdex = 105, expected.mgdowndex = 106;
    expected.mgdamagetome = 10, expected.mgupstrtome = 11, expected.mgdownstrtome = 12, expected.mgupdeftome = 13;
    expected.mgdowndeftome = 14, expected.mgupdextome = 15, expected.mgdowndextome = 16;
    EXPECT_TRUE(same(m, expected));
    for (int i = 0; i < kMagicBattleValues; ++i) {
        EXPECT_EQ(magicBattleValue(m, i), 100 + i) << i;
        EXPECT_EQ(magicTargetFlag(m, i), 10 + i) << i;
    }
    EXPECT_EQ(magicBattleValue(m, kMagicBattleValues), 0);
    EXPECT_EQ(magicTargetFlag(m, -1), 0);
}

// ---- hero ------------------------------------------------------------------

TEST(HeroItems, CompactedIntoTheFirstSlotsInTheGivenOrder) {
    HeroDef h{};
    h.hemaxitem = 2;
    h.heroItems[7] = 9;
    h.heroItems[100] = 3;
    EXPECT_EQ(heroItemList(h), (std::vector<int>{9, 3}));
    // more items than the hero may carry are all kept: the capacity is the
    // runner's limit on picking up, not on the start
    EXPECT_EQ(setHeroItems(h, {2, 5, 5, 0, 300, 11, 250}), 4);
    EXPECT_EQ(heroItemList(h), (std::vector<int>{2, 5, 11, 250}));
    for (int i = 4; i < 250; ++i) ASSERT_EQ(h.heroItems[i], 0) << i;

    std::vector<int> all;
    for (int n = 1; n <= 250; ++n) all.push_back(n);
    EXPECT_EQ(setHeroItems(h, all), 250);
    EXPECT_EQ(h.heroItems[249], 250);
    EXPECT_EQ(setHeroMagics(h, all), 50);
    EXPECT_EQ(heroMagicList(h).back(), 50);
    EXPECT_EQ(setHeroMagics(h, {}), 0);
    EXPECT_TRUE(heroMagicList(h).empty());
}

TEST(HeroItems, EquipmentSlotsInTheirOrder) {
    HeroDef h{}, expected{};
    for (int slot = -1; slot <= kHeroEquipSlots; ++slot) setHeroEquipment(h, slot, static_cast<u8>(20 + slot));
    expected.heweapon = 20, expected.heshield = 21, expected.hearmor = 22, expected.hehelm = 23;
    expected.hemagicitem = 24;
    EXPECT_EQ(std::memcmp(&h, &expected, sizeof h), 0);
    for (int slot = 0; slot < kHeroEquipSlots; ++slot) EXPECT_EQ(heroEquipment(h, slot), 20 + slot) << slot;
    EXPECT_EQ(heroEquipment(h, kHeroEquipSlots), 0);
}

TEST(HeroTotals, EquipmentBonusesWithinDisplayLimits) {
    auto s = test::newScenario();
    s->hero.hestrength = 10;
    s->hero.hedextality = 7;
    EXPECT_EQ(heroTotals(*s), (HeroTotals{10, 3, 7, 0, 0, 0}));
    s->item(1).itstrength = 5;
    s->item(1).itdextality = -100;
    s->item(2).itdefence = 70000;
    s->item(2).itstrength = 2;
    s->hero.heweapon = 1;
    s->hero.hehelm = 2;
    s->hero.hemagicitem = 251;  // damaged: adds nothing
    EXPECT_EQ(heroTotals(*s), (HeroTotals{17, 65535, 0, 7, 65535, 0}));
}

// ---- level table -----------------------------------------------------------

TEST(LevelTotals, SixtyFourBitsAndLimited) {
    auto s = test::newScenario();
    levelinitialize(*s);
    s->hero.heexperience = 100;
    s->hero.hemaxpower = 20;
    auto t = levelTotals(*s);
    EXPECT_EQ(+t.experience[0], 120);
    EXPECT_EQ(+t.experience[48], 100 + 49 * 20);
    EXPECT_EQ(t.stats[StatPower][48], 20 + 49 * 10);

    s->hero.heexperience = 2147483000;
    s->level(1).experience = 2147483647;
    s->level(2).experience = -5;  // a damaged row is not added past the limit
    for (auto& l : s->levels) l.power = 65535;
    t = levelTotals(*s);
    for (int r = 0; r < kLevelRows; ++r) {
        EXPECT_EQ(+t.experience[r], 2147483647) << r;
        EXPECT_EQ(t.stats[StatPower][r], 65535) << r;
    }
}

TEST(LevelCurves, IncreasesAreTheLimitedStepsAndThePreviewIsWhatARunMakes) {
    auto s = test::newScenario();
    levelinitialize(*s);
    s->hero.hemaxmp = 30000;
    s->level(2).mp = 40000;  // level 3
    s->level(3).magic = 7;
    s->level(49).magic = 2;
    s->level(10).magic = 51;  // damaged: no such magic
    const LevelCurve mp = levelCurve(*s, 1 + StatMp);
    EXPECT_EQ(mp.increase[0], 5);
    EXPECT_EQ(mp.increase[1], 65535 - 30005);  // stops at the limit
    EXPECT_EQ(mp.increase[2], 0);
    EXPECT_EQ(mp.total[48], 65535);
    EXPECT_EQ(magicLevels(*s), (std::vector<std::pair<int, int>>{{4, 7}, {50, 2}}));
    EXPECT_EQ(levelCurve(*s, kLevelCurves).total[0], 0);

    // For every range and rate the preview equals the experience a run
    // stores, and the table is left as it was.
    for (int range = 0; range < kAutoRanges; ++range) {
        for (std::int64_t rate : {10000, 12345, 20000}) {
            LevelAutoSettings a;
            a.range = range;
            a.rate = rate;
            a.baseExperience = 3000;
            auto run = test::copyOf(*s);
            const LevelCurve preview = autoExperienceCurve(*s, a);
            EXPECT_EQ(+s->level(5).experience, 20);
            levelAuto(*run, a, [](std::int64_t lo, std::int64_t) { return lo; });
            const LevelCurve made = levelCurve(*run, 0);
            EXPECT_EQ(preview.total, made.total) << range << " " << rate;
            EXPECT_EQ(preview.increase, made.increase) << range << " " << rate;
        }
    }
}

TEST(LevelCells, TypedTexts) {
    EXPECT_EQ(experienceFromText("123"), 123);
    EXPECT_EQ(experienceFromText("12.99999"), 13);  // four decimals first
    EXPECT_EQ(experienceFromText("12.9999"), 12);
    EXPECT_EQ(experienceFromText("99999999999"), 2147483647);
    EXPECT_EQ(experienceFromText("9999999999999999999999999999"), 2147483647);
    EXPECT_EQ(experienceFromText("abc"), 0);
    EXPECT_EQ(experienceFromText(""), 0);
    EXPECT_EQ(experienceFromText("."), 0);
    EXPECT_EQ(statFromText("65535"), 65535);
    EXPECT_EQ(statFromText("65536"), 65535);
    EXPECT_EQ(statFromText("99999999999999"), 65535);
    EXPECT_EQ(statFromText("x"), 0);
}

TEST(LevelAuto, GrowthCarriesTheFractionAndDrawsWithinBounds) {
    auto s = test::newScenario();
    levelinitialize(*s);
    LevelAutoSettings a;
    a.baseExperience = 100;
    a.rate = 15000;
    a.range = 0;
    a.bounds = {StatBounds{5, 3}, StatBounds{3, 3}, StatBounds{3, 3}, StatBounds{3, 3}};
    EXPECT_EQ(correctedBounds(a.bounds)[0], (StatBounds{3, 3}));
    int draws = 0;
    levelAuto(*s, a, [&](std::int64_t lo, std::int64_t) { ++draws; return lo; });
    const int expected[] = {150, 225, 337, 506, 759, 1139, 1708, 2562};
    for (int L = 3; L <= 10; ++L) {
        const LevelEntry& e = s->level(L - 1);
        EXPECT_EQ(+e.experience, expected[L - 3]) << L;
        EXPECT_EQ(+e.power + e.strength + e.dextality + e.mp, 12) << L;
    }
    EXPECT_EQ(+s->level(1).experience, 20);  // the base level itself is not rewritten
    EXPECT_EQ(+s->level(10).experience, 20);  // level 11: outside the range
}

TEST(LevelAuto, SameSeedSameTableAndTheLimitHolds) {
    auto a1 = test::newScenario();
    levelinitialize(*a1);
    a1->level(5).magic = 4;
    auto a2 = test::copyOf(*a1);
    LevelAutoSettings a;
    a.baseExperience = 50000000;
    a.rate = 20000;
    a.bounds = {StatBounds{1, 9}, StatBounds{0, 65535}, StatBounds{2, 4}, StatBounds{10, 20}};
    auto run = [&](Scenario& s) {
        std::mt19937_64 gen(42);
        levelAuto(s, a, [&](std::int64_t lo, std::int64_t hi) {
            return std::uniform_int_distribution<std::int64_t>(lo, hi)(gen);
        });
    };
    run(*a1);
    run(*a2);
    EXPECT_TRUE(test::sameBytes(*a1, *a2));
    EXPECT_EQ(a1->level(5).magic, 4);
    EXPECT_EQ(+a1->level(2).experience, 100000000);
    for (int L = 8; L <= 50; ++L) EXPECT_EQ(+a1->level(L - 1).experience, 2147483647) << L;
    for (int L = 3; L <= 50; ++L) {
        const LevelEntry& e = a1->level(L - 1);
        EXPECT_TRUE(e.power >= 1 && e.power <= 9 && e.dextality >= 2 && e.dextality <= 4 && e.mp >= 10 &&
                    e.mp <= 20)
            << L;
    }
}

TEST(LevelAuto, RangesAndTheirBaseLevels) {
    const int base[] = {2, 10, 20, 30, 40, 2}, first[] = {3, 11, 21, 31, 41, 3}, last[] = {10, 20, 30, 40, 50, 50};
    for (int r = 0; r < kAutoRanges; ++r) {
        EXPECT_EQ(autoBaseLevel(r), base[r]);
        EXPECT_EQ(autoFirstLevel(r), first[r]);
        EXPECT_EQ(autoLastLevel(r), last[r]);
    }
}

// ---- password --------------------------------------------------------------

TEST(Password, OneToSixteenLettersAndLockRoundTrip) {
    std::mt19937 gen(7);
    auto draw = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    std::set<std::size_t> lengths;
    for (int i = 0; i < 400; ++i) {
        const std::string p = generatePassword(draw);
        ASSERT_GE(p.size(), 1u);
        ASSERT_LE(p.size(), 16u);
        for (char c : p) ASSERT_TRUE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << p;
        lengths.insert(p.size());
    }
    EXPECT_GE(lengths.size(), 10u);
    // every draw a non-letter first: generated again until a letter comes
    int calls = 0;
    const std::string p = generatePassword([&](int lo, int) { return ++calls < 4 ? (lo == 0 ? 0 : 92) : (lo == 0 ? 15 : 122); });
    EXPECT_EQ(p, "z");
    EXPECT_EQ(calls, 4);

    for (int len = 0; len <= 16; ++len) {
        ShortString16 pw{};
        pw.assign(std::string("AbCdEfGhIjKlMnOpQ").substr(0, static_cast<std::size_t>(len)));
        const ShortString16 plain = pw;
        lockshortpass(pw);
        EXPECT_EQ(pw.len, len);
        lockshortmelt(pw);
        EXPECT_EQ(pw.view(), plain.view()) << len;
    }
}

}  // namespace
}  // namespace qrn
