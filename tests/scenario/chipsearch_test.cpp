// Chip search: every hit once, fields in number order, cells in store order,
// and the end reported without touching the scenario.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "scenario/chipsearch.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario_test_support.h"

using namespace qrn;

namespace {

struct ChipSearch : ::testing::Test {
    std::unique_ptr<Scenario> owned = std::make_unique<Scenario>();
    Scenario& s = *owned;
    EditorSideData side{};

    void SetUp() override {
        alldatainitialize(s, side, 7);
        // Fields 1..3: 10 x 10 (cells 1..100), 20 x 10 (101..300), 10 x 20 (301..500).
        for (auto [w, h] : {std::pair{10, 10}, {20, 10}, {10, 20}})
            ASSERT_EQ(placeNewField(s, firstFreeFieldSlot(s), w, h), AddFieldResult::Added);
    }
    Cell& at(int field, int col, int row) {
        return s.cell(cellOf(s, field, row * s.field(field).width + col + 1));
    }
    SearchHit found(int field, int col, int row) {
        return {SearchOutcome::Found, field, cellOf(s, field, row * s.field(field).width + col + 1), col, row};
    }
    std::vector<SearchHit> walk(SearchState state, int maxHits = 50) {
        std::vector<SearchHit> hits;
        for (int i = 0; i < maxHits; ++i) {
            hits.push_back(getstart(s, state));
            if (hits.back().outcome != SearchOutcome::Found) break;
        }
        return hits;
    }
};

TEST_F(ChipSearch, AllFieldsReportsEveryHitInFieldThenCellOrderAndThenTheEnd) {
    // Terrain 7 placed out of order across the fields, plus look-alikes that
    // must not match: 7 on another layer, and a 32-bit terrain whose low byte is 7.
    for (auto [f, c, r] : {std::tuple{3, 9, 19}, {1, 0, 0}, {2, 19, 0}, {1, 9, 9}, {2, 0, 1}, {3, 0, 0}})
        at(f, c, r).place = 7;
    at(1, 5, 5).enter = 7;
    at(2, 5, 5).place = 256 + 7;
    const auto before = test::copyOf(s);

    const SearchState state = setserch(s, 7, kSearchPlace, false, true, 2, cellOf(s, 2, 50));
    EXPECT_EQ(state, (SearchState{7, kSearchPlace, 1, 1, false}));
    SearchHit end;
    end.outcome = SearchOutcome::AllFieldsSearched;
    EXPECT_EQ(walk(state), (std::vector<SearchHit>{found(1, 0, 0), found(1, 9, 9), found(2, 19, 0), found(2, 0, 1),
                                                   found(3, 0, 0), found(3, 9, 19), end}));
    EXPECT_TRUE(test::sameBytes(s, *before));
}

TEST_F(ChipSearch, AnEndIsReportedAgainWhenAskedAgain) {
    at(2, 3, 3).chara = 200;  // above 127: compared unsigned
    SearchState single = setserch(s, 200, kSearchChara, true, false, 2, 0);
    EXPECT_EQ(getstart(s, single), found(2, 3, 3));
    const SearchHit end = getstart(s, single);
    EXPECT_EQ(end.outcome, SearchOutcome::NoMoreInField);
    EXPECT_EQ(getstart(s, single), end);

    SearchState all = setserch(s, 200, kSearchChara, true, true, 1, 0);
    EXPECT_EQ(getstart(s, all), found(2, 3, 3));
    EXPECT_EQ(getstart(s, all).outcome, SearchOutcome::AllFieldsSearched);
    EXPECT_EQ(all.searchField, 3);  // the last field in use was searched last
    EXPECT_EQ(getstart(s, all).outcome, SearchOutcome::AllFieldsSearched);
}

struct StartCase {
    const char* name;
    bool fromTop;
    int cursorCol, cursorRow;
    std::vector<std::pair<int, int>> hits;  // (col, row) in field 2, in order
};

class SingleFieldStart : public ChipSearch, public ::testing::WithParamInterface<StartCase> {};

TEST_P(SingleFieldStart, StaysInTheCurrentFieldFromWhereItStarts) {
    const StartCase& c = GetParam();
    for (auto [col, row] : {std::pair{2, 0}, {4, 4}, {19, 9}}) at(2, col, row).item = 9;
    at(1, 0, 0).item = 9;
    at(3, 0, 0).item = 9;
    const int cursor = cellOf(s, 2, c.cursorRow * 20 + c.cursorCol + 1);
    std::vector<SearchHit> expected;
    for (auto [col, row] : c.hits) expected.push_back(found(2, col, row));
    expected.push_back({});  // NoMoreInField
    EXPECT_EQ(walk(setserch(s, 9, kSearchItem, c.fromTop, false, 2, cursor)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, SingleFieldStart,
    ::testing::Values(StartCase{"FromTop", true, 4, 4, {{2, 0}, {4, 4}, {19, 9}}},
                      StartCase{"CursorOnAHitFindsItFirst", false, 4, 4, {{4, 4}, {19, 9}}},
                      StartCase{"CursorPastAHit", false, 5, 4, {{19, 9}}},
                      StartCase{"CursorOnTheLastCell", false, 19, 9, {{19, 9}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChipSearch, DamagedNumbersNeverReachOutsideTheStore) {
    at(1, 1, 1).event = 5;
    // A cursor cell outside the field starts at its top.
    EXPECT_EQ(setserch(s, 5, kSearchEvent, false, false, 1, 250).searchCell, 1);
    EXPECT_EQ(setserch(s, 5, kSearchEvent, false, false, 1, -3).searchCell, 1);
    // A field claiming cells past the end of the store is cut to it.
    s.field(3).firstCell = kCellCount - 5;
    s.field(3).cellCount = 200;
    s.cell(kCellCount).event = 5;
    s.cell(kCellCount).col = 4;
    SearchState state = setserch(s, 5, kSearchEvent, true, false, 3, 0);
    EXPECT_EQ(getstart(s, state).cell, kCellCount);
    EXPECT_EQ(getstart(s, state).outcome, SearchOutcome::NoMoreInField);
    // A field that is not in use, or a layer that does not exist, finds nothing.
    SearchState unused = setserch(s, 5, kSearchEvent, true, false, 50, 0);
    EXPECT_EQ(getstart(s, unused).outcome, SearchOutcome::NoMoreInField);
    SearchState badLayer = setserch(s, 5, 9, true, true, 1, 0);
    EXPECT_EQ(getstart(s, badLayer).outcome, SearchOutcome::AllFieldsSearched);
}

}  // namespace
