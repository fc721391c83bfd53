// The field manager's rules: the jump tree, the jump list, warp points and
// the cursors that follow a deleted field.
#include <gtest/gtest.h>

#include "scenario/fieldlinks.h"
#include "scenario/fieldops.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

class FieldLinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int f = 1; f <= 4; ++f) ASSERT_EQ(placeNewField(s, f, 10, 10), AddFieldResult::Added);
    }
    Cell& at(int field, int position) { return s.cell(cellOf(s, field, position)); }
    void enterJump(int field, int position, int enter, int destination) {
        at(field, position).enter = static_cast<u8>(enter);
        s.enters[enter - 1].jumpField = static_cast<u8>(destination);
    }

    test::ScenarioPtr owned = test::newScenario();
    Scenario& s = *owned;
};

TEST_F(FieldLinksTest, JumpTreeFollowsEntrancesOnceAndSurvivesCyclesAndDamage) {
    enterJump(1, 1, 1, 3);
    enterJump(1, 2, 2, 2);
    enterJump(3, 5, 3, 1);    // back to the root: a cycle
    enterJump(2, 1, 4, 200);  // past the fields: ignored
    enterJump(2, 2, 5, 60);   // a field not in use: ignored
    at(2, 3).enter = 251;     // an entrance past the table
    EXPECT_EQ(fieldJumpTree(s), (std::vector<FieldTreeNode>{{1, 0}, {3, 1}, {2, 1}, {4, 0}}));
}

TEST_F(FieldLinksTest, JumpRowsListEntranceThenEventOfEachJumpingCell) {
    enterJump(1, 12, 1, 3);  // column 1, row 1
    s.enters[0].name.assign("door");
    at(1, 12).event = 7;
    s.events[6].jumpField = 2;
    s.events[6].name.assign("hole");
    at(1, 20).event = 8;  // an event without a jump: no row
    EXPECT_EQ(jumpRows(s, 1), (std::vector<JumpRow>{{1, 1, "door", 3}, {1, 1, "hole", 2}}));
    EXPECT_TRUE(jumpRows(s, 0).empty());
    EXPECT_TRUE(jumpRows(s, 101).empty());
    EXPECT_TRUE(jumpRows(s, 50).empty());
}

TEST_F(FieldLinksTest, WarpPointsMoveBetweenTheTwoListsAndFillThirtySlots) {
    at(2, 4).enter = 9;
    at(2, 7).enter = 10;
    EXPECT_EQ(warpCandidates(s, 2), (std::vector<WarpCandidate>{{4, 9}, {7, 10}}));
    const auto before = test::copyOf(s);
    EXPECT_EQ(addWarpPoint(s, 2, 7), 0);
    EXPECT_EQ(warpCandidates(s, 2), (std::vector<WarpCandidate>{{4, 9}}));
    EXPECT_EQ(warpPoints(s, 2), (std::vector<WarpPoint>{{0, 7, 10}}));
    EXPECT_TRUE(removeWarpPoint(s, 2, 0));
    EXPECT_TRUE(test::sameBytes(s, *before));

    // A full field takes no more; bad slots and fields change nothing.
    for (int i = 0; i < kWarpSlots; ++i) EXPECT_EQ(addWarpPoint(s, 3, i + 1), i);
    const auto full = test::copyOf(s);
    EXPECT_EQ(addWarpPoint(s, 3, 50), -1);
    EXPECT_FALSE(removeWarpPoint(s, 3, 30));
    EXPECT_FALSE(removeWarpPoint(s, 3, -1));
    EXPECT_EQ(addWarpPoint(s, 0, 1), -1);
    EXPECT_EQ(addWarpPoint(s, 101, 1), -1);
    EXPECT_TRUE(test::sameBytes(s, *full));
    EXPECT_TRUE(warpCandidates(s, 101).empty());
    EXPECT_TRUE(warpPoints(s, 0).empty());
}

TEST(FieldCursorsTest, CursorsOfLaterFieldsMoveDownOneNumber) {
    struct Row {
        int deleted, lastBefore;
        std::vector<int> expectColumns;  // of fields 1..5 after the shift
    };
    const std::vector<Row> rows{
        {2, 5, {1, 3, 4, 5, 0}},
        {5, 5, {1, 2, 3, 4, 0}},
        {0, 5, {1, 2, 3, 4, 5}},  // nothing deleted
    };
    for (const Row& row : rows) {
        FieldCursors cursors{};
        for (int f = 1; f <= 5; ++f) cursors[static_cast<std::size_t>(f)] = {f, 10 + f};
        shiftFieldCursors(cursors, row.deleted, row.lastBefore);
        for (int f = 1; f <= 5; ++f) {
            SCOPED_TRACE(testing::Message() << "deleted " << row.deleted << " field " << f);
            const int col = row.expectColumns[static_cast<std::size_t>(f - 1)];
            EXPECT_EQ(cursors[static_cast<std::size_t>(f)][0], col);
            EXPECT_EQ(cursors[static_cast<std::size_t>(f)][1], col == 0 ? 0 : 10 + col);
        }
    }
    FieldCursors all{};
    all[100] = {3, 3};
    shiftFieldCursors(all, 100, 100);
    EXPECT_EQ(all[100], (std::array<int, 2>{0, 0}));
}

}  // namespace
}  // namespace qrn
