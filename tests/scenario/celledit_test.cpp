// The map tools' writes into cells, compared over the whole record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "scenario/celledit.h"
#include "scenario/fieldops.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

using test::copyOf;
using test::sameBytes;

class CellEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(placeNewField(s, 1, 20, 10), AddFieldResult::Added);
        ASSERT_EQ(placeNewField(s, 2, 10, 10), AddFieldResult::Added);
        ASSERT_EQ(buildCellIndexMap(s, 1, map), (FieldSize{20, 10}));
        for (int n = 1; n <= 3; ++n) {
            for (int layer = kPlace; layer <= kChara; ++layer) firstImageFile(s, layer, n)->assign("a.bmp");
        }
        // A checkerboard of terrain 3 so that some cells already hold what is drawn.
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 20; ++col) at(col, row).place = (col + row) % 2 ? 3 : 0;
    }
    Cell& at(int col, int row) { return s.cell(map[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]); }
    static Cell& at(Scenario& sc, const CellIndexMap& m, int col, int row) {
        return sc.cell(m[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
    }

    test::ScenarioPtr owned = test::newScenario();
    Scenario& s = *owned;
    CellIndexMap map{};
};

DrawChoice choice(std::initializer_list<std::pair<int, int>> layerObjects) {
    DrawChoice c;
    c.objects = {0, 1, 1, 1, 1, 1};
    for (auto [layer, object] : layerObjects) {
        c.objects[static_cast<std::size_t>(layer)] = object;
        c.targets[static_cast<std::size_t>(layer)] = true;
    }
    return c;
}

// Every cell of the range that differs from what is drawn changes, and
// nothing else in the record does.
TEST_F(CellEditTest, DrawWritesTheTargetLayersOfTheRangeAndReportsChangedCells) {
    struct Row {
        const char* name;
        CellRange range;
        DrawChoice choice;
        int expectPlace;  // -1: place untouched
        int expectChara;  // -1: chara untouched
    };
    const std::vector<Row> rows{
        {"terrain 3 over the checkerboard", {3, 2, 5, 3}, choice({{kPlace, 3}}), 3, -1},
        {"terrain and chara", {0, 0, 19, 9}, choice({{kPlace, 1}, {kChara, 2}}), 1, 2},
        {"object not in use draws nothing", {0, 0, 4, 4}, choice({{kPlace, 9}}), -1, -1},
        {"object past the table draws nothing", {0, 0, 4, 4}, choice({{kChara, 251}}), -1, -1},
        {"range beyond the field is cut", {15, 5, 300, 300}, choice({{kChara, 1}}), -1, 1},
        {"empty range", {5, 5, 4, 4}, choice({{kPlace, 1}}), -1, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto before = copyOf(s);
        auto expected = copyOf(s);
        std::vector<CellPos> expectCells;
        for (int col = std::max(row.range.left, 0); col <= std::min(row.range.right, 19); ++col) {
            for (int r = std::max(row.range.top, 0); r <= std::min(row.range.bottom, 9); ++r) {
                Cell& cell = at(*expected, map, col, r);
                bool changed = false;
                if (row.expectPlace >= 0 && cell.place != row.expectPlace) { cell.place = row.expectPlace; changed = true; }
                if (row.expectChara >= 0 && cell.chara != row.expectChara) { cell.chara = static_cast<u8>(row.expectChara); changed = true; }
                if (changed) expectCells.push_back({col, r});
            }
        }
        EXPECT_EQ(drawCells(s, map, row.range, row.choice).cells(), expectCells);
        EXPECT_TRUE(sameBytes(s, *expected));
        std::memcpy(s.bytes(), before->bytes(), kRecordSize);
    }
}

TEST_F(CellEditTest, EraseEmptiesOnlyTargetLayersAndSkipsEmptyCells) {
    drawCells(s, map, {0, 0, 19, 9}, choice({{kPlace, 1}, {kEnter, 2}, {kItem, 3}}));
    at(4, 4).enter = 0;
    auto expected = copyOf(s);
    std::array<bool, 6> targets{};
    targets[kEnter] = true;
    targets[kChara] = true;  // no chara anywhere: changes nothing
    std::vector<CellPos> expectCells;
    for (int col = 3; col <= 5; ++col)
        for (int row = 3; row <= 4; ++row)
            if (!(col == 4 && row == 4)) {
                at(*expected, map, col, row).enter = 0;
                expectCells.push_back({col, row});
            }
    EXPECT_EQ(eraseCells(s, map, {3, 3, 5, 4}, targets).cells(), expectCells);
    EXPECT_TRUE(sameBytes(s, *expected));
}

// The random tools take one draw per cell and target layer (in use, for
// drawing); a draw below the ratio writes.
TEST_F(CellEditTest, RandomToolsDrawOncePerCellAndLayerAndWriteBelowTheRatio) {
    int draws = 0;
    std::vector<int> dice{0, 99, 49, 50};  // repeated: write, skip, write, skip at ratio 50
    const PercentSource percent = [&] { return dice[static_cast<std::size_t>(draws++) % dice.size()]; };
    const DrawChoice twoLayers = choice({{kPlace, 2}, {kChara, 1}, {kEvent, 200}});  // event 200 not in use
    const ChangedCells changed = randomDrawCells(s, map, {0, 0, 1, 0}, twoLayers, 50, percent);
    EXPECT_EQ(draws, 4);  // two cells, two layers in use
    // Draw order place, chara: cell (0,0) place yes, chara no; cell (1,0) place yes, chara no.
    EXPECT_EQ(changed.cells(), (std::vector<CellPos>{{0, 0}, {1, 0}}));
    EXPECT_EQ(+at(0, 0).place, 2);
    EXPECT_EQ(+at(1, 0).chara, 0);

    std::array<bool, 6> targets{};
    targets[kPlace] = targets[kEvent] = true;
    draws = 0;
    randomEraseCells(s, map, {0, 0, 1, 0}, targets, 50, percent);
    EXPECT_EQ(draws, 4);  // every target layer draws, whether or not it holds something
    // Draws by cell: (0,0) place 0 erases, event 99; (1,0) place 49 erases, event 50.
    EXPECT_EQ(+at(0, 0).place, 0);
    EXPECT_EQ(+at(1, 0).place, 0);

    // A ratio outside 1..100 (a cancelled dialog is -1) draws nothing and writes nothing.
    auto before = copyOf(s);
    for (int ratio : {0, -1, 101}) {
        draws = 0;
        EXPECT_TRUE(randomDrawCells(s, map, {0, 0, 19, 9}, twoLayers, ratio, percent).empty());
        EXPECT_TRUE(randomEraseCells(s, map, {0, 0, 19, 9}, targets, ratio, percent).empty());
        EXPECT_EQ(draws, 0);
    }
    EXPECT_TRUE(sameBytes(s, *before));

    // Ratio 100 is the plain fill.
    auto filled = copyOf(s);
    drawCells(*filled, map, {0, 0, 19, 9}, twoLayers);
    randomDrawCells(s, map, {0, 0, 19, 9}, twoLayers, 100, percent);
    EXPECT_TRUE(sameBytes(s, *filled));
}

TEST_F(CellEditTest, CellIndexMapNamesTheFieldsCellsAndSkipsDamagedOnes) {
    CellIndexMap second{};
    EXPECT_EQ(buildCellIndexMap(s, 2, second), (FieldSize{10, 10}));
    EXPECT_EQ(second[0][0], 201);
    EXPECT_EQ(second[9][9], 300);
    EXPECT_EQ(second[10][0], 0);
    // A cell claiming a column past 119 is left out; a field not in use or
    // outside 1..100 shows nothing.
    s.cell(205).col = 200;
    buildCellIndexMap(s, 2, second);
    EXPECT_EQ(second[4][0], 0);
    for (int field : {0, 3, 101, -1}) {
        EXPECT_EQ(buildCellIndexMap(s, field, second), FieldSize{});
        EXPECT_EQ(second[0][0], 0);
    }
}

}  // namespace
}  // namespace qrn
