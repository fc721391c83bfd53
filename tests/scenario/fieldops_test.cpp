// Adding, resizing and deleting fields: the cell store stays in order and
// every location keeps pointing at the same cell or is reset.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/text.h"
#include "scenario_test_support.h"

using namespace qrn;

namespace {

std::string cp(const char* utf8) { return cp932Literal(utf8); }

struct Fields : ::testing::Test {
    std::unique_ptr<Scenario> owned = std::make_unique<Scenario>();
    Scenario& s = *owned;
    EditorSideData side{};
    std::vector<std::string> told;
    FieldMessageSink tell = [this](const std::string& m) { told.push_back(m); };

    void SetUp() override { alldatainitialize(s, side, 7); }

    // Fields of the given sizes from slot 1 on.
    void makeFields(std::initializer_list<std::pair<int, int>> sizes) {
        for (auto [w, h] : sizes) ASSERT_EQ(placeNewField(s, firstFreeFieldSlot(s), w, h), AddFieldResult::Added);
    }
    Cell& at(int field, int col, int row) { return s.cell(cellOf(s, field, row * s.field(field).width + col + 1)); }
    int pos(int field, int col, int row) const { return row * s.field(field).width + col + 1; }
    std::vector<unsigned char> snapshot() const { return {s.bytes(), s.bytes() + kRecordSize}; }
    void expectSound() { EXPECT_EQ(fieldInvariantViolations(s), std::vector<std::string>{}); }
    // A field's cells, entries only, by position.
    std::vector<Cell> contents(int field) {
        std::vector<Cell> out;
        for (int p = 1; p <= s.field(field).cellCount; ++p) out.push_back(s.cell(cellOf(s, field, p)));
        return out;
    }
};

bool sameCells(const std::vector<Cell>& a, const std::vector<Cell>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Cell)) == 0;
}

}  // namespace

TEST_F(Fields, NewFieldStartsRightAfterTheLastOneAndIsLaidOutRowByRow) {
    makeFields({{10, 10}, {20, 20}, {10, 10}});
    ASSERT_EQ(firstFreeFieldSlot(s), 4);
    EXPECT_EQ(usedPoolEnd(s), 600);
    ASSERT_EQ(placeNewField(s, 4, 30, 20), AddFieldResult::Added);
    EXPECT_EQ(+s.field(4).firstCell, 601);
    EXPECT_EQ(+s.field(4).cellCount, 600);
    EXPECT_EQ(s.cell(601 + 35).col, 5);
    EXPECT_EQ(s.cell(601 + 35).row, 1);
    EXPECT_EQ(freePoolCells(s), kCellCount - 1200);
    expectSound();
    // Only the next slot after the fields in use can take a field.
    EXPECT_EQ(placeNewField(s, 7, 10, 10), AddFieldResult::Refused);
    EXPECT_EQ(placeNewField(s, 5, 15, 10), AddFieldResult::Refused);
    EXPECT_EQ(placeNewField(s, 0, 10, 10), AddFieldResult::NoFreeSlot);
}

TEST_F(Fields, AFieldThatDoesNotFitLeavesNoTrace) {
    for (int i = 0; i < 20; ++i) makeFields({{120, 120}});
    ASSERT_EQ(freePoolCells(s), 12000);
    const auto before = snapshot();
    EXPECT_EQ(placeNewField(s, 21, 120, 120), AddFieldResult::PoolTooSmall);
    EXPECT_EQ(before, snapshot());
    // Exactly the rest of the pool still fits.
    EXPECT_EQ(placeNewField(s, 21, 100, 120), AddFieldResult::Added);
    EXPECT_EQ(freePoolCells(s), 0);
    EXPECT_EQ(placeNewField(s, 22, 10, 10), AddFieldResult::PoolTooSmall);
    expectSound();
}

TEST_F(Fields, ShrinkKeepsTheTopLeftAndResetsLocationsInDroppedCells) {
    makeFields({{20, 20}, {10, 10}});
    s.field(1).name.assign(cp("草原"));
    s.field(2).name.assign(cp("洞窟"));
    s.enter(3).name.assign(cp("塔"));
    s.enter(4).name.assign(cp("城"));
    s.event(9).name.assign(cp("宝箱"));
    at(1, 15, 3).enter = 3;  // old position 76, dropped
    at(1, 5, 5).enter = 4;   // old position 106, kept at 56
    at(1, 5, 5).place = 17;
    at(1, 9, 9).item = 2;
    s.field(1).warpPoints[0] = 76;
    s.field(1).warpPoints[1] = 106;
    // Every kind of location into the dropped cell, and a few that stay.
    s.field(2).escapeField = 1;
    s.field(2).escapePosition = 76;
    s.hero.startField = 1;
    s.hero.startPosition = 76;
    s.event(9).jumpField = 1;
    s.event(9).jumpPosition = 76;
    s.enter(4).jumpField = 1;
    s.enter(4).jumpPosition = 76;
    s.enter(5).jumpField = 1;
    s.enter(5).jumpPosition = 106;
    s.enter(6).jumpField = 2;
    s.enter(6).jumpPosition = 76;  // another field: untouched
    const auto field2 = contents(2);

    ASSERT_EQ(resizefield(s, 1, 10, 10, tell), FieldOpResult::Done);

    const std::vector<std::string> expected = {
        cp("草原のワープ可能地点塔を削除します。"),
        cp("洞窟のｴｽｹｰﾌﾟﾛｹｰﾄを初期位置にします。"),
        cp("主人公のｽﾀｰﾄﾛｹｰﾄを初期位置にします。"),
        cp("建造物:城のｼﾞｬﾝﾌﾟ先を初期位置にします。"),
        cp("ｲﾍﾞﾝﾄ:宝箱のｼﾞｬﾝﾌﾟ先を初期位置にします。"),
    };
    EXPECT_EQ(told, expected);
    EXPECT_EQ(+s.field(1).warpPoints[0], 56);  // compacted to the front
    EXPECT_EQ(+s.field(1).warpPoints[1], 0);
    EXPECT_EQ(+s.field(2).escapePosition, 1);
    EXPECT_EQ(+s.hero.startPosition, 1);
    EXPECT_EQ(+s.event(9).jumpPosition, 1);
    EXPECT_EQ(+s.enter(4).jumpPosition, 1);
    EXPECT_EQ(+s.enter(5).jumpPosition, 56);
    EXPECT_EQ(+s.enter(6).jumpPosition, 76);
    EXPECT_EQ(+at(1, 5, 5).enter, 4);
    EXPECT_EQ(+at(1, 5, 5).place, 17);
    EXPECT_EQ(+at(1, 9, 9).item, 2);
    EXPECT_EQ(+s.field(2).firstCell, 101);
    EXPECT_TRUE(sameCells(contents(2), field2));
    expectSound();
}

TEST_F(Fields, AResetLocationIsNotTakenForAnOldPositionAgain) {
    // Old position 11 is (0,1) of a 10-wide field; after growing to 20 wide
    // it is 21, and old position 21 (0,2) becomes 41: each moves once.
    makeFields({{10, 10}});
    s.enter(1).jumpField = 1;
    s.enter(1).jumpPosition = 11;
    s.enter(2).jumpField = 1;
    s.enter(2).jumpPosition = 21;
    ASSERT_EQ(resizefield(s, 1, 20, 10, tell), FieldOpResult::Done);
    EXPECT_EQ(+s.enter(1).jumpPosition, 21);
    EXPECT_EQ(+s.enter(2).jumpPosition, 41);
    EXPECT_TRUE(told.empty());
    expectSound();
}

TEST_F(Fields, GrowingTheFirstOfThreeMovesTheOthersUntouched) {
    makeFields({{10, 10}, {20, 10}, {10, 30}});
    at(1, 9, 9).place = 5;
    at(2, 19, 9).chara = 7;
    at(3, 0, 0).event = 8;
    s.enter(1).jumpField = 2;
    s.enter(1).jumpPosition = 200;
    s.hero.startField = 3;
    s.hero.startPosition = 300;
    s.field(3).warpPoints[4] = 12;
    const auto field2 = contents(2), field3 = contents(3);

    ASSERT_EQ(resizefield(s, 1, 20, 20, tell), FieldOpResult::Done);
    EXPECT_EQ(+s.field(1).cellCount, 400);
    EXPECT_EQ(+at(1, 9, 9).place, 5);
    EXPECT_EQ(+at(1, 19, 19).place, 0);
    EXPECT_EQ(+s.field(2).firstCell, 401);
    EXPECT_EQ(+s.field(3).firstCell, 601);
    EXPECT_TRUE(sameCells(contents(2), field2));
    EXPECT_TRUE(sameCells(contents(3), field3));
    EXPECT_EQ(+s.enter(1).jumpPosition, 200);
    EXPECT_EQ(+s.hero.startPosition, 300);
    EXPECT_EQ(+s.field(3).warpPoints[4], 12);
    expectSound();

    // And back: the others move down again and the pool past them is empty.
    ASSERT_EQ(resizefield(s, 1, 10, 10, tell), FieldOpResult::Done);
    EXPECT_EQ(+s.field(2).firstCell, 101);
    EXPECT_TRUE(sameCells(contents(3), field3));
    expectSound();
}

TEST_F(Fields, ResizeRefusalsChangeNothing) {
    for (int i = 0; i < 20; ++i) makeFields({{120, 120}});
    makeFields({{100, 110}});  // 1000 cells left
    ASSERT_EQ(resizefield(s, 1, 120, 120, tell), FieldOpResult::Done);  // same size
    const auto before = snapshot();
    EXPECT_EQ(resizefield(s, 21, 110, 110, tell), FieldOpResult::PoolTooSmall);
    EXPECT_EQ(resizefield(s, 22, 10, 10, tell), FieldOpResult::NotInUse);
    EXPECT_EQ(resizefield(s, 0, 10, 10, tell), FieldOpResult::NotInUse);
    EXPECT_EQ(resizefield(s, 2, 130, 10, tell), FieldOpResult::BadSize);
    EXPECT_EQ(resizefield(s, 2, 15, 10, tell), FieldOpResult::BadSize);
    EXPECT_EQ(before, snapshot());
    // Growth up to the last free cell is fine.
    EXPECT_EQ(resizefield(s, 21, 100, 120, tell), FieldOpResult::Done);
    EXPECT_EQ(freePoolCells(s), 0);
    expectSound();
}

TEST_F(Fields, ShrinkingOrDeletingTheLastFieldLeavesTheFreedCellsEmpty) {
    makeFields({{10, 10}, {20, 20}});
    for (int p = 1; p <= 400; ++p) s.cell(cellOf(s, 2, p)).place = 3;
    ASSERT_EQ(resizefield(s, 2, 10, 10, tell), FieldOpResult::Done);
    expectSound();
    ASSERT_EQ(deleteField(s, side, 2), FieldOpResult::Done);
    expectSound();
    // A field created later starts empty.
    makeFields({{20, 20}});
    for (const Cell& c : contents(2)) EXPECT_EQ(+c.place, 0);
}

TEST_F(Fields, NewFieldClearsLeftoversFromAnotherProgram) {
    makeFields({{10, 10}});
    s.cell(150).chara = 9;  // left behind past the last field
    makeFields({{10, 10}});
    EXPECT_EQ(+s.cell(150).chara, 0);
    expectSound();
}

TEST_F(Fields, DeletingField3Of5RenumbersTheLaterFieldsAndTheirLocations) {
    makeFields({{10, 10}, {10, 20}, {20, 10}, {10, 30}, {30, 10}});
    for (int f = 1; f <= 5; ++f) {
        s.field(f).name.assign("F" + std::to_string(f));
        s.fieldItemImageFiles[f - 1].assign("item" + std::to_string(f) + ".bmp");
        side.pictures.fieldItem[f] = 10 + f;
        s.field(f).fieldBgm = static_cast<u8>(f);
    }
    s.field(4).warpPoints[0] = 250;
    at(4, 9, 29).enter = 6;
    at(5, 29, 9).chara = 4;
    s.hero.startField = 4;
    s.hero.startPosition = 30;
    s.enter(1).jumpField = 3;  s.enter(1).jumpPosition = 5;
    s.enter(2).jumpField = 4;  s.enter(2).jumpPosition = 250;
    s.enter(3).jumpField = 2;  s.enter(3).jumpPosition = 7;
    s.event(1).jumpField = 3;  s.event(1).jumpPosition = 9;
    s.event(2).jumpField = 5;  s.event(2).jumpPosition = 300;
    s.field(1).escapeField = 3; s.field(1).escapePosition = 2;
    s.field(5).escapeField = 4; s.field(5).escapePosition = 11;
    s.field(2).escapeField = 5; s.field(2).escapePosition = 1;
    const auto field4 = contents(4), field5 = contents(5);

    ASSERT_EQ(deleteField(s, side, 3), FieldOpResult::Done);

    EXPECT_EQ(fieldsInUseCount(s), 4);
    EXPECT_EQ(s.field(3).name.str(), "F4");
    EXPECT_EQ(s.field(4).name.str(), "F5");
    EXPECT_EQ(s.field(3).fieldBgm, 4);
    EXPECT_EQ(+s.field(3).firstCell, 301);
    EXPECT_EQ(+s.field(4).firstCell, 601);
    EXPECT_TRUE(sameCells(contents(3), field4));
    EXPECT_TRUE(sameCells(contents(4), field5));
    EXPECT_EQ(+s.field(3).warpPoints[0], 250);
    // The item pictures follow their fields.
    EXPECT_EQ(s.fieldItemImageFiles[2].str(), "item4.bmp");
    EXPECT_EQ(s.fieldItemImageFiles[3].str(), "item5.bmp");
    EXPECT_TRUE(s.fieldItemImageFiles[4].empty());
    EXPECT_EQ(+side.pictures.fieldItem[3], 14);
    EXPECT_EQ(+side.pictures.fieldItem[4], 15);
    EXPECT_EQ(+side.pictures.fieldItem[5], 0);
    // The emptied slot: a blank entry that only has its default name.
    EXPECT_EQ(s.field(5).name.str(), cp("ﾌｨｰﾙﾄﾞ 5"));
    EXPECT_EQ(+s.field(5).firstCell, 0);
    EXPECT_EQ(s.field(5).itemImageTransparent, 0);
    EXPECT_EQ(+s.field(5).itemImageColour, 0);

    EXPECT_EQ(s.hero.startField, 3);
    EXPECT_EQ(+s.hero.startPosition, 30);
    EXPECT_EQ(s.enter(1).jumpField, 0);
    EXPECT_EQ(+s.enter(1).jumpPosition, 0);
    EXPECT_EQ(s.enter(2).jumpField, 3);
    EXPECT_EQ(+s.enter(2).jumpPosition, 250);
    EXPECT_EQ(s.enter(3).jumpField, 2);
    EXPECT_EQ(s.event(1).jumpField, 0);
    EXPECT_EQ(s.event(2).jumpField, 4);
    EXPECT_EQ(s.field(1).escapeField, 0);
    EXPECT_EQ(+s.field(1).escapePosition, 0);
    EXPECT_EQ(s.field(4).escapeField, 3);  // field 5's escape, moved to 4
    EXPECT_EQ(s.field(2).escapeField, 4);
    expectSound();

    // The hero on the deleted field goes to the start of field 1.
    s.hero.startField = 3;
    s.hero.startPosition = 40;
    ASSERT_EQ(deleteField(s, side, 3), FieldOpResult::Done);
    EXPECT_EQ(s.hero.startField, 1);
    EXPECT_EQ(+s.hero.startPosition, 1);
    expectSound();
}

TEST_F(Fields, DeleteRefusals) {
    makeFields({{10, 10}, {10, 10}});
    const auto before = snapshot();
    EXPECT_EQ(deleteField(s, side, 1), FieldOpResult::FirstField);
    EXPECT_EQ(deleteField(s, side, 3), FieldOpResult::NotInUse);
    EXPECT_EQ(deleteField(s, side, 101), FieldOpResult::NotInUse);
    EXPECT_EQ(before, snapshot());
}

TEST_F(Fields, NonsenseFromAFileIsRefusedNotFollowed) {
    makeFields({{10, 10}, {10, 10}, {10, 10}});
    auto refusesAll = [&](const char* what) {
        SCOPED_TRACE(what);
        const auto before = snapshot();
        EXPECT_EQ(resizefield(s, 2, 120, 120, tell), FieldOpResult::BadLayout);
        EXPECT_EQ(deleteField(s, side, 2), FieldOpResult::BadLayout);
        EXPECT_EQ(placeNewField(s, 4, 10, 10), AddFieldResult::Refused);
        EXPECT_EQ(before, snapshot());
        EXPECT_FALSE(fieldInvariantViolations(s).empty());
    };
    s.field(3).firstCell = 299990;
    refusesAll("first cell near the end");
    s.field(3).firstCell = 201;
    s.field(3).cellCount = -200;
    refusesAll("negative count");
    s.field(3).cellCount = 14400;
    s.field(3).width = 120;
    s.field(3).height = 120;
    s.field(3).firstCell = 290000;
    refusesAll("runs past the store");
    s.field(3).firstCell = 201;
    s.field(3).width = 200;
    s.field(3).height = 72;
    refusesAll("too wide");
    s.field(3).width = 10;
    s.field(3).height = 10;
    s.field(3).cellCount = 100;
    s.field(5).firstCell = 301;
    refusesAll("gap in the slots");
}

TEST_F(Fields, OutOfRangePositionsAndStrayCellCoordinatesAreHarmless) {
    makeFields({{20, 20}, {10, 10}});
    s.field(1).warpPoints[3] = 99999;
    s.field(1).warpPoints[4] = -7;
    s.enter(1).jumpField = 1;
    s.enter(1).jumpPosition = 401;
    s.hero.startField = 1;
    s.hero.startPosition = -3;
    s.cell(5).col = 250;  // a cell recording a column no field has
    s.cell(6).row = 200;
    ASSERT_EQ(resizefield(s, 1, 10, 10, tell), FieldOpResult::Done);
    ASSERT_EQ(resizefield(s, 1, 120, 120, tell), FieldOpResult::Done);
    EXPECT_EQ(+s.field(2).firstCell, 14401);
    EXPECT_EQ(+s.enter(1).jumpPosition, 401);  // never pointed into the field
}

// Random fields with random contents and locations, then random operations;
// after each one the store is in order, the untouched fields hold the same
// cells, and every location points at the cell it pointed at before.
TEST_F(Fields, RandomOperationsKeepTheStoreAndEveryLocationRight) {
    std::mt19937 rng(20240607);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto side10 = [&] { return pick(1, 12) * 10; };

    auto fillRandomly = [&](int f) {
        for (int p = 1; p <= s.field(f).cellCount; ++p) {
            Cell& c = s.cell(cellOf(s, f, p));
            if (pick(0, 3) == 0) c.enter = static_cast<u8>(pick(1, 250));
            if (pick(0, 3) == 0) c.chara = static_cast<u8>(pick(1, 250));
            c.place = pick(0, 400);
        }
    };
    // A random location, or none; the position comes back by value because
    // the record's members sit at odd addresses.
    auto randomLocation = [&](u8& field) {
        field = static_cast<u8>(pick(0, fieldsInUseCount(s)));
        return field == 0 ? 0 : pick(1, s.field(field).cellCount);
    };
    auto scatterLocations = [&] {
        for (int k = 1; k <= 250; k += pick(1, 9)) s.enter(k).jumpPosition = randomLocation(s.enter(k).jumpField);
        for (int k = 1; k <= 250; k += pick(1, 9)) s.event(k).jumpPosition = randomLocation(s.event(k).jumpField);
        for (int f = 1; f <= fieldsInUseCount(s); ++f) {
            s.field(f).escapePosition = randomLocation(s.field(f).escapeField);
            for (int w = 0; w < 30; ++w)
                s.field(f).warpPoints[w] = pick(0, 2) == 0 ? pick(1, s.field(f).cellCount) : 0;
        }
        s.hero.startField = 1;
        s.hero.startPosition = pick(1, s.field(1).cellCount);
    };
    // Where a location points: field and the cell's column and row.
    struct Where { int field, col, row; };
    auto where = [&](int field, i32 position) -> Where {
        const int c = cellOf(s, field, position);
        return c == 0 ? Where{field, -1, -1} : Where{field, s.cell(c).col, s.cell(c).row};
    };
    auto allWheres = [&] {
        std::vector<Where> out{where(s.hero.startField, s.hero.startPosition)};
        for (auto& e : s.enters) out.push_back(where(e.jumpField, e.jumpPosition));
        for (auto& e : s.events) out.push_back(where(e.jumpField, e.jumpPosition));
        for (int f = 1; f <= kFieldCount; ++f) out.push_back(where(s.field(f).escapeField, s.field(f).escapePosition));
        return out;
    };

    const int initial = pick(3, 12);
    for (int i = 0; i < initial; ++i) makeFields({{side10(), side10()}});
    for (int f = 1; f <= initial; ++f) fillRandomly(f);
    scatterLocations();
    expectSound();

    for (int step = 0; step < 60; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int k = fieldsInUseCount(s);
        std::vector<std::vector<Cell>> before;
        for (int f = 1; f <= k; ++f) before.push_back(contents(f));
        const auto wheres = allWheres();
        const int op = pick(0, 2);
        if (op == 0) {
            const int slot = firstFreeFieldSlot(s);
            const int w = side10(), h = side10();
            if (placeNewField(s, slot, w, h) == AddFieldResult::Added) fillRandomly(slot);
            for (int f = 1; f <= k; ++f) EXPECT_TRUE(sameCells(contents(f), before[f - 1]));
        } else if (op == 1) {
            const int F = pick(1, k);
            const int w = side10(), h = side10();
            const int oldW = s.field(F).width, oldH = s.field(F).height;
            std::vector<i32> oldWarps;
            for (int i = 0; i < 30; ++i) oldWarps.push_back(+s.field(F).warpPoints[i]);
            if (resizefield(s, F, w, h, tell) != FieldOpResult::Done) continue;
            for (int f = 1; f <= k; ++f) EXPECT_TRUE(f == F || sameCells(contents(f), before[f - 1]));
            for (int p = 1; p <= s.field(F).cellCount; ++p) {
                const Cell& now = s.cell(cellOf(s, F, p));
                if (now.col < oldW && now.row < oldH) {
                    Cell old = before[F - 1][now.row * oldW + now.col];
                    EXPECT_EQ(std::memcmp(&old, &now, sizeof old), 0);
                }
            }
            const auto after = allWheres();
            for (std::size_t i = 0; i < wheres.size(); ++i) {
                const Where& a = wheres[i];
                const Where& b = after[i];
                EXPECT_EQ(a.field, b.field);
                if (a.field != F || !fieldInUse(s, a.field)) continue;
                if (a.col < w && a.row < h) {
                    EXPECT_EQ(a.col, b.col);
                    EXPECT_EQ(a.row, b.row);
                } else {
                    EXPECT_EQ(b.col, 0);
                    EXPECT_EQ(b.row, 0);
                }
            }
            // Warp points that stay keep their order, at the front.
            std::vector<std::pair<int, int>> expectWarps, gotWarps;
            for (i32 p : oldWarps) {
                if (p == 0) continue;
                const Cell& c = before[F - 1][p - 1];
                if (c.col < w && c.row < h) expectWarps.push_back({c.col, c.row});
            }
            for (int i = 0; i < 30; ++i) {
                const i32 p = s.field(F).warpPoints[i];
                if (i < static_cast<int>(expectWarps.size())) {
                    ASSERT_GT(p, 0);
                    gotWarps.push_back({(p - 1) % w, (p - 1) / w});
                } else {
                    EXPECT_EQ(p, 0);
                }
            }
            EXPECT_EQ(gotWarps, expectWarps);
        } else if (k > 1) {
            const int del = pick(2, k);
            ASSERT_EQ(deleteField(s, side, del), FieldOpResult::Done);
            for (int f = 1; f < k; ++f)
                EXPECT_TRUE(sameCells(contents(f), before[f < del ? f - 1 : f]));
            // Hero, buildings and events keep their place in the list; the
            // escapes move down with the fields that hold them.
            const auto after = allWheres();
            auto compare = [&](const Where& a, const Where& b, bool hero) {
                if (a.field < del || a.field > k) {
                    EXPECT_EQ(b.field, a.field);
                } else if (a.field == del) {
                    EXPECT_EQ(b.field, hero ? 1 : 0);
                } else {
                    EXPECT_EQ(b.field, a.field - 1);
                    EXPECT_EQ(b.col, a.col);
                    EXPECT_EQ(b.row, a.row);
                }
            };
            const std::size_t escapes = 1 + 250 + 250;
            for (std::size_t i = 0; i < escapes; ++i) compare(wheres[i], after[i], i == 0);
            for (int f = 1; f <= k; ++f)
                if (f != del) compare(wheres[escapes + f - 1], after[escapes + (f < del ? f - 1 : f - 2)], false);
        }
        const auto problems = fieldInvariantViolations(s);
        ASSERT_EQ(problems, std::vector<std::string>{});
        if (pick(0, 4) == 0) scatterLocations();
    }
}

// Whole records of random bytes: every operation refuses. The same bytes
// with a sound field layout laid over them (random cell coordinates, random
// locations and warp points): every operation keeps the layout sound and never
// reaches outside the record.
TEST(FieldsOnRandomRecords, OperationsNeverRunWild) {
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        auto s = test::newScenario();
        seed % 2 ? test::fillRandom(*s, seed) : test::fillPlausible(*s, seed);
        EditorSideData side{};
        std::mt19937 rng(static_cast<unsigned>(seed));
        auto runOps = [&] {
            for (int i = 0; i < 20; ++i) {
                const int field = static_cast<int>(rng() % 103) - 1;
                const int w = static_cast<int>(rng() % 13) * 10, h = static_cast<int>(rng() % 13) * 10;
                const bool wasSound = fieldLayoutSound(*s);
                FieldOpResult r = FieldOpResult::BadLayout;
                switch (rng() % 3) {
                    case 0: placeNewField(*s, firstFreeFieldSlot(*s), w, h); break;
                    case 1: r = resizefield(*s, field, w, h, [](const std::string&) {}); break;
                    default: r = deleteField(*s, side, field); break;
                }
                EXPECT_TRUE(wasSound || r != FieldOpResult::Done);
                EXPECT_EQ(fieldLayoutSound(*s), wasSound);
                EXPECT_GE(usedPoolEnd(*s), 0);
                EXPECT_LE(usedPoolEnd(*s), kCellCount);
            }
        };
        runOps();

        // A sound layout of odd sizes over the random bytes.
        const int count = static_cast<int>(rng() % 15) + 1;
        int next = 1;
        for (int f = 1; f <= kFieldCount; ++f) {
            FieldDef& d = s->field(f);
            if (f > count) {
                d.firstCell = -static_cast<int>(rng() % 5);
                continue;
            }
            d.width = static_cast<int>(rng() % 120) + 1;
            d.height = static_cast<int>(rng() % 120) + 1;
            d.cellCount = static_cast<i16>(d.width * d.height);
            d.firstCell = next;
            next += d.cellCount;
        }
        ASSERT_TRUE(fieldLayoutSound(*s));
        runOps();
    }
}
