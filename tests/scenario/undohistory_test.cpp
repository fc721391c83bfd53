// The undo history: random sequences of real edits undone and redone byte for
// byte, the bounds, the saved mark, and the changed ranges a diff reports.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/undohistory.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

using test::ScenarioPtr;

std::size_t hashOf(const Scenario& s, const PictureIndexTables& p) {
    const auto* sp = reinterpret_cast<const char*>(s.bytes());
    const auto* pp = reinterpret_cast<const char*>(&p);
    return std::hash<std::string_view>{}(std::string_view(sp, kRecordSize)) ^
           (std::hash<std::string_view>{}(std::string_view(pp, sizeof p)) * 31);
}

std::span<unsigned char> areaOf(PictureIndexTables& p) {
    return {reinterpret_cast<unsigned char*>(&p), sizeof p};
}

struct World {
    ScenarioPtr s = test::newScenario();
    EditorSideData side;
    UndoHistory history;
    World() {
        alldatainitialize(*s, side, 7);
        createFirstField(*s, "title", "me", "field", 40, 30);
        history.track({{s->bytes(), static_cast<std::size_t>(kRecordSize)}, areaOf(side.pictures)});
    }
};

// One random edit of the kinds the editor makes; returns its name.
std::string randomEdit(World& w, std::mt19937& rng) {
    Scenario& s = *w.s;
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int fields = 0;
    while (fields < kFieldCount && fieldInUse(s, fields + 1)) ++fields;
    switch (pick(0, 8)) {
    case 0: {  // a pen stroke or fill over a rectangle of the first field
        const int place = pick(1, 200);
        const int first = s.field(1).firstCell, last = myend(s, 1);
        const int a = pick(first, last), b = std::min(last, a + pick(0, 3000));
        for (int c = a; c <= b; ++c) {
            s.cell(c).place = place;
            if (c % 3 == 0) s.cell(c).event = static_cast<u8>(pick(0, 250));
        }
        return "fill";
    }
    case 1: {  // a bulk erase
        const int last = myend(s, fields);
        for (int c = pick(1, last); c <= last; c += pick(1, 5)) s.cell(c).item = 0;
        return "erase";
    }
    case 2: {  // a new field
        const int slot = firstFreeFieldSlot(s);
        if (slot) placeNewField(s, slot, pick(3, 60), pick(3, 60));
        return "newfield";
    }
    case 3:  // a field deletion, renumbering the later ones
        if (fields >= 2) deleteField(s, w.side, pick(2, fields));
        return "deletefield";
    case 4:  // a resize
        resizefield(s, pick(1, fields), pick(3, 80), pick(3, 80), [](const std::string&) {});
        return "resize";
    case 5:  // an object reset
        placeinitialize(s, pick(1, kPlaceCount), true);
        return "reset";
    case 6: {  // a typed name
        std::string name(static_cast<std::size_t>(pick(0, 30)), 'a' + static_cast<char>(pick(0, 25)));
        s.place(pick(1, kPlaceCount)).name.assign(name);
        return "name";
    }
    case 7:  // a picture added to the palette
        w.side.pictures.place[pick(1, kPlaceCount)] = pick(0, 5000);
        w.side.pictures.walk[pick(1, kWalkImgCount)][pick(1, kWalkFrames)] = static_cast<std::int16_t>(pick(0, 99));
        return "picture";
    default:  // something that changes nothing (the join, an export)
        return "nothing";
    }
}

class UndoRandomSequence : public ::testing::TestWithParam<unsigned> {};

TEST_P(UndoRandomSequence, UndoAllRestoresStartAndRedoAllRestoresEnd) {
    World w;
    std::mt19937 rng(GetParam());
    const ScenarioPtr start = test::copyOf(*w.s);
    const PictureIndexTables startPictures = w.side.pictures;
    std::vector<std::size_t> states{hashOf(*w.s, w.side.pictures)};
    for (int i = 0; i < 40; ++i) {
        const std::size_t before = hashOf(*w.s, w.side.pictures);
        const std::string what = randomEdit(w, rng);
        const bool changed = hashOf(*w.s, w.side.pictures) != before;
        ASSERT_EQ(w.history.commit(what), changed) << what;
        if (changed) states.push_back(hashOf(*w.s, w.side.pictures));
        ASSERT_FALSE(w.history.pending());
    }
    ASSERT_EQ(w.history.stepCount() + 1, states.size());
    const ScenarioPtr end = test::copyOf(*w.s);
    const PictureIndexTables endPictures = w.side.pictures;

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_FALSE(w.history.undo().empty());
        ASSERT_EQ(hashOf(*w.s, w.side.pictures), states[k - 1]) << "after undoing step " << k;
    }
    EXPECT_FALSE(w.history.canUndo());
    EXPECT_TRUE(w.history.undo().empty());
    EXPECT_EQ(test::firstDifference(*w.s, *start), -1);
    EXPECT_EQ(std::memcmp(&w.side.pictures, &startPictures, sizeof startPictures), 0);
    EXPECT_FALSE(w.history.modified());

    for (std::size_t k = 1; k < states.size(); ++k) {
        ASSERT_FALSE(w.history.redo().empty());
        ASSERT_EQ(hashOf(*w.s, w.side.pictures), states[k]);
    }
    EXPECT_FALSE(w.history.canRedo());
    EXPECT_EQ(test::firstDifference(*w.s, *end), -1);
    EXPECT_EQ(std::memcmp(&w.side.pictures, &endPictures, sizeof endPictures), 0);
    EXPECT_TRUE(w.history.modified());
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoRandomSequence, ::testing::Values(1u, 2u, 3u, 42u, 1234u));

TEST(UndoHistory, FieldDeletionUndoneRestoresEveryRenumberedLocation) {
    World w;
    Scenario& s = *w.s;
    for (int slot = 2; slot <= 5; ++slot) ASSERT_EQ(placeNewField(s, slot, 20, 20), AddFieldResult::Added);
    for (int c = 1; c <= myend(s, 5); ++c) s.cell(c).place = c % 97;
    for (int n = 1; n <= kFieldCount; ++n) w.side.pictures.fieldItem[n] = n * 10;
    s.hero.startField = 4;
    s.hero.startPosition = 30;
    s.enter(1).jumpField = 3;  s.enter(1).jumpPosition = 5;
    s.enter(2).jumpField = 4;  s.enter(2).jumpPosition = 250;
    s.event(1).jumpField = 5;  s.event(1).jumpPosition = 9;
    s.field(1).escapeField = 3; s.field(1).escapePosition = 2;
    s.field(5).escapeField = 4; s.field(5).escapePosition = 11;
    ASSERT_TRUE(w.history.commit("setup"));
    const ScenarioPtr before = test::copyOf(s);
    const PictureIndexTables picturesBefore = w.side.pictures;
    ASSERT_EQ(deleteField(s, w.side, 3), FieldOpResult::Done);
    ASSERT_NE(s.enter(2).jumpField, 4);  // renumbered
    ASSERT_TRUE(w.history.commit("delete"));
    const ScenarioPtr after = test::copyOf(s);
    w.history.undo();
    EXPECT_EQ(test::firstDifference(s, *before), -1);
    EXPECT_EQ(std::memcmp(&w.side.pictures, &picturesBefore, sizeof picturesBefore), 0);
    w.history.redo();
    EXPECT_EQ(test::firstDifference(s, *after), -1);
}

TEST(UndoHistory, PendingChangesBecomeAStepBeforeUndo) {
    World w;
    const ScenarioPtr start = test::copyOf(*w.s);
    w.s->place(3).name.assign("typed but not left");
    EXPECT_TRUE(w.history.pending());
    w.history.undo("name");
    EXPECT_EQ(test::firstDifference(*w.s, *start), -1);
    EXPECT_EQ(w.history.redoLabel(), "name");
    // An edit after an undo ends the redo.
    w.s->place(4).name.assign("x");
    w.history.redo("other");
    EXPECT_FALSE(w.history.canRedo());
    EXPECT_EQ(w.history.undoLabel(), "other");
}

TEST(UndoHistory, StepBoundDropsOldestSteps) {
    World w;
    w.history.setLimits(UndoHistory::kDefaultMaxBytes, 5);
    for (int i = 1; i <= 8; ++i) {
        w.s->cell(i).place = 100 + i;
        ASSERT_TRUE(w.history.commit("paint " + std::to_string(i)));
    }
    EXPECT_EQ(w.history.stepCount(), 5u);
    int undone = 0;
    while (!w.history.undo().empty()) ++undone;
    EXPECT_EQ(undone, 5);
    // The three oldest edits stay: their steps were dropped.
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(+w.s->cell(i).place, 100 + i);
    for (int i = 4; i <= 8; ++i) EXPECT_EQ(+w.s->cell(i).place, 0);
    // The opened state can no longer be reached: the scenario stays modified.
    EXPECT_TRUE(w.history.modified());
}

TEST(UndoHistory, ByteBoundDropsOldestStepsButKeepsTheNewest) {
    World w;
    w.history.setLimits(3u << 19, 500);
    for (int round = 1; round <= 6; ++round) {
        // 1 MB changed and kept per step: only the newest fits in 1.5 MB.
        std::memset(w.s->bytes() + 100000, round, 1u << 20);
        ASSERT_TRUE(w.history.commit("big"));
        EXPECT_LE(w.history.byteCount(), 3u << 19);
    }
    EXPECT_EQ(w.history.stepCount(), 1u);
    w.history.undo();
    EXPECT_EQ(w.s->bytes()[100000], 5);
}

TEST(UndoHistory, SavedMarkFollowsUndoRedoAndIsLostWithTheRedo) {
    World w;
    EXPECT_FALSE(w.history.modified());
    w.s->cell(1).place = 5;
    w.history.commit("a");
    EXPECT_TRUE(w.history.modified());
    w.history.markSaved();
    EXPECT_FALSE(w.history.modified());
    w.history.undo();
    EXPECT_TRUE(w.history.modified());
    w.history.redo();
    EXPECT_FALSE(w.history.modified());
    w.history.undo();
    w.s->cell(2).place = 6;  // the saved state was on the redo side
    w.history.commit("b");
    w.history.undo();
    EXPECT_TRUE(w.history.modified());
    w.history.reset();
    EXPECT_FALSE(w.history.modified());
    EXPECT_FALSE(w.history.canUndo());
}

struct DiffCase {
    const char* name;
    std::vector<std::size_t> changed;  // offsets of changed bytes
    std::vector<std::pair<std::size_t, std::size_t>> ranges;  // expected (offset, length)
};

class DiffBytesCase : public ::testing::TestWithParam<DiffCase> {};

TEST_P(DiffBytesCase, ReportsExactJoinedRanges) {
    std::vector<unsigned char> shadow(4096, 7), live = shadow;
    for (std::size_t at : GetParam().changed) live[at] ^= 0xff;
    std::vector<ChangedRange> out;
    diffBytes(live, shadow, 1, out, 32);
    ASSERT_EQ(out.size(), GetParam().ranges.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(+out[i].area, 1u);
        EXPECT_EQ(out[i].offset, GetParam().ranges[i].first);
        EXPECT_EQ(out[i].length, GetParam().ranges[i].second);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiffBytesCase,
    ::testing::Values(DiffCase{"none", {}, {}}, DiffCase{"first", {0}, {{0, 1}}}, DiffCase{"last", {4095}, {{4095, 1}}},
                      DiffCase{"acrossChunks", {510, 511, 512, 513}, {{510, 4}}},
                      DiffCase{"joinedOverGap", {100, 132}, {{100, 33}}},
                      DiffCase{"apartBeyondGap", {100, 134}, {{100, 1}, {134, 1}}},
                      DiffCase{"gapAcrossChunk", {500, 520, 2000}, {{500, 21}, {2000, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qrn
