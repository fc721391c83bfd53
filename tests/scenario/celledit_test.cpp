// The map tools' writes into cells and the palette's copy of an object,
// compared over the whole record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
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

// Each layer's object lands in that layer's own entry, for every tool and
// every choice of target layers: five different objects on the five layers
// make any crossed layer visible in the whole-record comparison.
TEST_F(CellEditTest, EveryToolWritesEachLayerIntoItsOwnEntry) {
    DrawChoice all;
    for (int layer = kPlace; layer <= kChara; ++layer) {
        all.objects[static_cast<std::size_t>(layer)] = 10 + layer;
        firstImageFile(s, layer, 10 + layer)->assign("b.bmp");
    }
    const CellRange range{2, 1, 4, 2};
    for (int col = range.left; col <= range.right; ++col)
        for (int row = range.top; row <= range.bottom; ++row) {
            Cell& c = at(col, row);
            c.place = 21, c.enter = 22, c.event = 23, c.item = 24, c.chara = 25;
        }
    const auto base = copyOf(s);
    // What a tool leaves in a cell, member by member.
    auto written = [](Cell c, const std::array<bool, 6>& t, const std::array<int, 6>& o) {
        if (t[kPlace]) c.place = o[kPlace];
        if (t[kEnter]) c.enter = static_cast<u8>(o[kEnter]);
        if (t[kEvent]) c.event = static_cast<u8>(o[kEvent]);
        if (t[kItem]) c.item = static_cast<u8>(o[kItem]);
        if (t[kChara]) c.chara = static_cast<u8>(o[kChara]);
        return c;
    };
    const PercentSource always = [] { return 0; };
    std::vector<std::array<bool, 6>> targetSets{{false, true, true, true, true, true}};
    for (int layer = kPlace; layer <= kChara; ++layer) {
        std::array<bool, 6> one{};
        one[static_cast<std::size_t>(layer)] = true;
        targetSets.push_back(one);
    }
    for (const auto& targets : targetSets) {
        DrawChoice choice = all;
        choice.targets = targets;
        for (int tool = 0; tool < 5; ++tool) {
            SCOPED_TRACE(testing::Message() << "tool " << tool << ", targets " << targets[1] << targets[2]
                                            << targets[3] << targets[4] << targets[5]);
            std::memcpy(s.bytes(), base->bytes(), kRecordSize);
            const bool erases = tool >= 3;
            const CellRange where = tool == 0 ? CellRange{3, 2, 3, 2} : range;  // the pen: one cell
            switch (tool) {
            case 0: case 1: drawCells(s, map, where, choice); break;
            case 2: randomDrawCells(s, map, where, choice, 100, always); break;
            case 3: eraseCells(s, map, where, targets); break;
            default: randomEraseCells(s, map, where, targets, 100, always); break;
            }
            auto expected = copyOf(*base);
            for (int col = where.left; col <= where.right; ++col)
                for (int row = where.top; row <= where.bottom; ++row) {
                    Cell& c = at(*expected, map, col, row);
                    c = written(c, targets, erases ? std::array<int, 6>{} : all.objects);
                }
            EXPECT_TRUE(sameBytes(s, *expected)) << "first difference at byte " << test::firstDifference(s, *expected);
        }
    }
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

// The copy takes the definition, both image file names and both picture
// indexes of the source slot, on every layer, and nothing else.
TEST(PaletteCopy, CopiesTheWholeSlotWithBothPicturesOnEveryLayer) {
    auto s = test::newScenario();
    test::fillRandom(*s, 17);
    PictureIndexTables p;
    std::mt19937 rng(17);
    for (std::size_t i = 0; i < sizeof p; ++i) reinterpret_cast<unsigned char*>(&p)[i] = static_cast<unsigned char>(rng());
    const auto base = copyOf(*s);
    const PictureIndexTables baseP = p;
    for (int layer = kPlace; layer <= kChara; ++layer) {
        SCOPED_TRACE(layer);
        const int from = 3, to = layerSlotCount(layer);
        auto expected = copyOf(*base);
        Scenario& e = *expected;
        const Scenario& b = *base;
        PictureIndexTables ep = baseP;
        switch (layer) {
        case kPlace:
            e.places[to - 1] = b.places[from - 1];
            e.placeImageFiles[to - 1] = b.placeImageFiles[from - 1];
            e.placeImage2Files[to - 1] = b.placeImage2Files[from - 1];
            ep.place[to] = baseP.place[from];
            ep.place2[to] = baseP.place2[from];
            break;
        case kEnter:
            e.enters[to - 1] = b.enters[from - 1];
            e.enterImageFiles[to - 1] = b.enterImageFiles[from - 1];
            e.enterImage2Files[to - 1] = b.enterImage2Files[from - 1];
            ep.enter[to] = baseP.enter[from];
            ep.enter[kEnterCount + to] = baseP.enter[kEnterCount + from];
            break;
        case kEvent:
            e.events[to - 1] = b.events[from - 1];
            e.eventImageFiles[to - 1] = b.eventImageFiles[from - 1];
            e.eventImage2Files[to - 1] = b.eventImage2Files[from - 1];
            ep.event[to] = baseP.event[from];
            ep.event[kEventCount + to] = baseP.event[kEventCount + from];
            break;
        case kItem:
            e.items[to - 1] = b.items[from - 1];
            e.itemImageFiles[to - 1] = b.itemImageFiles[from - 1];
            ep.charaItem[kCharaCount + to] = baseP.charaItem[kCharaCount + from];
            break;
        default:
            e.charas[to - 1] = b.charas[from - 1];
            e.charaImageFiles[to - 1] = b.charaImageFiles[from - 1];
            ep.charaItem[to] = baseP.charaItem[from];
            break;
        }
        std::memcpy(s->bytes(), base->bytes(), kRecordSize);
        p = baseP;
        copyObject(*s, p, layer, from, to);
        EXPECT_TRUE(sameBytes(*s, e)) << "first difference at byte " << test::firstDifference(*s, e);
        EXPECT_EQ(std::memcmp(&p, &ep, sizeof p), 0);
        // Onto itself or outside the table: nothing changes.
        for (int other : {from, 0, to + 1}) {
            copyObject(*s, p, layer, from, other);
            copyObject(*s, p, layer, other, from);
        }
        EXPECT_TRUE(sameBytes(*s, e));
        EXPECT_EQ(std::memcmp(&p, &ep, sizeof p), 0);
    }
}

}  // namespace
}  // namespace qrn
