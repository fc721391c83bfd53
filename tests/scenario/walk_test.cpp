// The walk preview's rules on small scenarios built here: what a step, an
// examination or an item use does, what the walk draws, and the shortest
// way. Every walk leaves the record as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "scenario/fieldlayout.h"
#include "scenario/walk.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

using D = WalkDirection;

// Field 1 of 6 x 4 cells and field 2 of 3 x 3, all on passable grass
// (terrain 1); the hero starts at (0, 0) of field 1 facing east.
class Walk : public ::testing::Test {
protected:
    test::ScenarioPtr s = test::newScenario();

    void SetUp() override {
        layoutFieldCells(*s, 1, 1, 6, 4);
        layoutFieldCells(*s, 2, 25, 3, 3);
        s->placeImageFiles[0].assign("grass.bmp");
        s->place(1).plmove = 1;
        for (int c = 1; c <= 33; ++c) s->cell(c).place = 1;
        s->hero.startField = 1;
        s->hero.startPosition = 1;
        s->settings.startDirection = 1;
    }
    Cell& at(int field, int x, int y) { return s->cell(walkCell(*s, field, x, y)); }
    int terrain(int n, bool passable) {
        s->placeImageFiles[n - 1].assign("t.bmp");
        s->place(n).plmove = passable;
        return n;
    }
    int enter(int n) { s->enterImageFiles[n - 1].assign("e.bmp"); s->enter(n).enmove = 1; return n; }
    int event(int n, int action) { s->eventImageFiles[n - 1].assign("v.bmp"); s->event(n).evaction = static_cast<u8>(action); return n; }
    int item(int n) { s->itemImageFiles[n - 1].assign("i.bmp"); return n; }
    int chara(int n, int kind) { s->charaImageFiles[n - 1].assign("c.bmp"); s->chara(n).chcharatype = static_cast<u8>(kind); return n; }
    WalkState start() {
        auto w = startWalk(*s);
        EXPECT_TRUE(w.has_value());
        return w.value_or(WalkState{});
    }
};

std::vector<WalkKind> kinds(const WalkOutcomes& out) {
    std::vector<WalkKind> k;
    for (const auto& o : out) k.push_back(o.kind);
    return k;
}

BlockReason refusal(const WalkOutcomes& out) {
    return out.size() == 1 && out[0].kind == WalkKind::Blocked ? out[0].reason : BlockReason::None;
}

TEST_F(Walk, StepsAreRefusedForEachReasonAndOnlyTurnTheHero) {
    terrain(2, false);
    at(1, 1, 1).place = 2;          // south-east of the start: water
    at(1, 0, 1).place = 0;          // south of the start: nothing
    at(1, 2, 0).enter = enter(1);   // a wall two cells east
    s->enter(1).enmove = 0;
    s->hero.heroItems[3] = item(9);
    auto w = start();
    EXPECT_EQ(w.frame, 3);
    EXPECT_EQ(refusal(stepWalk(*s, w, D::North)), BlockReason::Edge);
    EXPECT_EQ(w.direction, D::North);
    EXPECT_EQ(w.frame, 1);
    EXPECT_EQ(refusal(stepWalk(*s, w, D::South)), BlockReason::Terrain);
    EXPECT_TRUE(stepWalk(*s, w, D::East).empty());
    EXPECT_EQ(refusal(stepWalk(*s, w, D::South)), BlockReason::Terrain);
    EXPECT_EQ(refusal(stepWalk(*s, w, D::East)), BlockReason::Building);
    EXPECT_EQ(w.x, 1);
    EXPECT_EQ(w.steps, 1);
    // A character blocks; one that has not appeared yet does not.
    at(1, 1, 1).place = 1;
    at(1, 1, 1).chara = chara(3, 0);
    EXPECT_EQ(refusal(stepWalk(*s, w, D::South)), BlockReason::Character);
    s->chara(3).chshowitem = 8;
    EXPECT_TRUE(stepWalk(*s, w, D::South).empty());
    // Items needed by the terrain and the building.
    at(1, 1, 2).place = terrain(3, true);
    s->place(3).plwantitem = 7;
    const auto want = stepWalk(*s, w, D::South);
    EXPECT_EQ(refusal(want), BlockReason::Item);
    EXPECT_EQ(want[0].item, 7);
    s->place(3).plwantitem = 9;  // carried from the start
    EXPECT_TRUE(stepWalk(*s, w, D::South).empty());
    EXPECT_EQ(w.frame, 5 + 1);   // third step: frames alternate with the steps
    at(1, 2, 2).enter = enter(4);
    s->enter(4).enwantitem = 7;
    EXPECT_EQ(refusal(stepWalk(*s, w, D::East)), BlockReason::Item);
    // Outside any field in use, no walk starts.
    EXPECT_FALSE(startWalkAt(*s, 3, 0, 0));
    EXPECT_FALSE(startWalkAt(*s, 1, 6, 0));
    s->hero.startPosition = 25;
    EXPECT_FALSE(startWalk(*s));
}

TEST_F(Walk, BuildingsJumpAndItemsArePickedUpOncePerCell) {
    at(1, 1, 0).item = item(5);
    at(1, 2, 0).enter = enter(2);
    s->enter(2).jumpField = 2;
    s->enter(2).jumpPosition = 5;  // the centre of field 2
    at(2, 1, 2).item = item(6);
    s->item(6).itshowserch = 1;     // found by examining only
    auto w = start();
    auto out = stepWalk(*s, w, D::East);
    ASSERT_EQ(kinds(out), std::vector{WalkKind::Pickup});
    EXPECT_EQ(out[0].item, 5);
    out = stepWalk(*s, w, D::East);
    ASSERT_EQ(kinds(out), std::vector{WalkKind::Jump});
    EXPECT_EQ((std::array{w.field, w.x, w.y, out[0].field, out[0].x, out[0].y}), (std::array{2, 1, 1, 2, 1, 1}));
    EXPECT_TRUE(stepWalk(*s, w, D::South).empty());
    EXPECT_EQ(kinds(examineWalk(*s, w)), std::vector{WalkKind::Pickup});
    EXPECT_TRUE(examineWalk(*s, w).empty());
    EXPECT_EQ(w.items, (std::vector{5, 6}));
    // Back over the first cell: nothing more to pick up there.
    auto again = startWalk(*s).value();
    again.pickedCells = w.pickedCells;
    EXPECT_TRUE(stepWalk(*s, again, D::East).empty());
    const Cell seen = walkCellView(*s, again, walkCell(*s, 1, 1, 0));
    EXPECT_EQ(seen.item, 0);
}

TEST_F(Walk, AnEventRunsItsPartsInOrderOnceItsConditionsHold) {
    const int e = event(7, 1);
    EventDef& ev = s->event(7);
    at(1, 1, 0).event = e;
    ev.evshowitem[0] = 3;
    ev.evstartcomment = 10;
    ev.evprologue = 11;
    ev.evprologuebmp.assign("gate.bmp");
    ev.evenemy = 2;
    ev.evgetitem[0] = 4;
    ev.evputitem[0] = 3;
    ev.evgetmagic = 6;
    ev.evepilogue = 12;
    ev.evendcomment = 13;
    ev.jumpField = 2;
    ev.jumpPosition = 9;
    auto w = start();
    auto out = stepWalk(*s, w, D::East);
    ASSERT_EQ(kinds(out), std::vector{WalkKind::Message});
    EXPECT_EQ(out[0].comment, 10);
    EXPECT_EQ(walkEventShown(*s, w, walkCell(*s, 1, 1, 0)), EventShown::Before);
    // With the required item: prologue, battle, items, magic, epilogue, jump.
    w = start();
    w.items = {3};
    out = stepWalk(*s, w, D::East);
    EXPECT_EQ(kinds(out), (std::vector{WalkKind::Event, WalkKind::Message, WalkKind::Battle, WalkKind::Gain,
                                       WalkKind::Lose, WalkKind::Learn, WalkKind::Message, WalkKind::Jump}));
    EXPECT_EQ(out[1].image, "gate.bmp");
    EXPECT_EQ(out[2].group, 2);
    EXPECT_EQ(out[6].comment, 12);
    EXPECT_EQ((std::array{w.field, w.x, w.y}), (std::array{2, 2, 2}));
    EXPECT_EQ(w.items, std::vector{4});
    EXPECT_EQ(w.magics, std::vector{6});
    // Once run: the after-occurrence comment; again when it occurs again.
    w = startWalkAt(*s, 1, 0, 0).value();
    w.eventsRun.set(7);
    out = stepWalk(*s, w, D::East);
    ASSERT_EQ(kinds(out), std::vector{WalkKind::Message});
    EXPECT_EQ(out[0].comment, 13);
    EXPECT_EQ(walkEventShown(*s, w, walkCell(*s, 1, 1, 0)), EventShown::After);
    ev.evinfinity = 1;
    ev.evshowitem[0] = 0;
    w.x = 0;
    EXPECT_EQ(stepWalk(*s, w, D::East).front().kind, WalkKind::Event);
    // Hidden after the end: gone.
    ev.evendhide = 1;
    w = start();
    w.eventsRun.set(7);
    EXPECT_EQ(walkCellView(*s, w, walkCell(*s, 1, 1, 0)).event, 0);
    EXPECT_TRUE(stepWalk(*s, w, D::East).empty());
}

TEST_F(Walk, StartActionsHiddenEventsEndingAndEncounters) {
    // Examined facing it; hidden until its condition (event 1 run) holds.
    at(1, 1, 0).event = event(2, 0);
    s->event(2).evstarthide = 1;
    s->event(2).evshowevent[0] = 1;
    s->event(2).evstartcomment = 20;
    s->event(2).evnotwondering = 1;
    s->event(2).evprologue = 21;
    auto w = start();
    EXPECT_TRUE(examineWalk(*s, w).empty());
    EXPECT_EQ(walkCellView(*s, w, walkCell(*s, 1, 1, 0)).event, 0);
    w.eventsRun.set(1);
    EXPECT_EQ(kinds(examineWalk(*s, w)), (std::vector{WalkKind::Event, WalkKind::Message}));
    EXPECT_TRUE(w.encountersOff);
    // Started by using its item standing on it; other items show their comment.
    at(1, 0, 1).event = event(3, 2);
    s->event(3).evstartitem = item(8);
    s->event(3).evending = 1;
    s->item(8).itcomment = 30;
    s->item(9).itcomment = 31;
    w = start();
    EXPECT_EQ(refusal(useWalkItem(*s, w, 8)), BlockReason::Item);
    w.items = {8, 9};
    stepWalk(*s, w, D::South);
    auto out = useWalkItem(*s, w, 9);
    ASSERT_EQ(kinds(out), std::vector{WalkKind::Message});
    EXPECT_EQ(out[0].comment, 31);
    EXPECT_EQ(kinds(useWalkItem(*s, w, 8)), (std::vector{WalkKind::Event, WalkKind::Ending}));
    EXPECT_TRUE(w.ended);
    EXPECT_TRUE(stepWalk(*s, w, D::East).empty());
    // Encounters: every step at 100 %, never at 0 %, none once stopped; the
    // same seed gives the same rolls.
    s->place(1).plenemytype = 5;
    s->place(1).plwondering = 100;
    w = start();
    out = stepWalk(*s, w, D::East);
    ASSERT_EQ(kinds(out), std::vector{WalkKind::Encounter});
    EXPECT_EQ(out[0].group, 5);
    s->place(1).plwondering = 40;
    auto a = start(), b = start();
    std::vector<std::size_t> rollsA, rollsB;
    for (int i = 0; i < 20; ++i) {
        rollsA.push_back(stepWalk(*s, a, i % 2 ? D::West : D::East).size());
        rollsB.push_back(stepWalk(*s, b, i % 2 ? D::West : D::East).size());
    }
    EXPECT_EQ(rollsA, rollsB);
    EXPECT_NE(std::count(rollsA.begin(), rollsA.end(), 1u), 0);
    EXPECT_NE(std::count(rollsA.begin(), rollsA.end(), 0u), 0);
    a.encountersOff = true;
    EXPECT_TRUE(stepWalk(*s, a, D::East).empty());
}

TEST_F(Walk, CharactersAnswerByTheirKind) {
    at(1, 1, 0).chara = chara(1, 0);
    s->chara(1).chcomment = 40;
    s->chara(1).chwantitem[2] = 6;
    const i16 itemComment = 41;
    std::memcpy(reinterpret_cast<unsigned char*>(s->chara(1).chitemcomment) + 4, &itemComment, 2);
    s->chara(1).chendhide = 1;
    auto w = start();
    auto out = examineWalk(*s, w);
    ASSERT_EQ(kinds(out), std::vector{WalkKind::Message});
    EXPECT_EQ((std::array{out[0].comment, out[0].character}), (std::array{40, 1}));
    // It left after the talk: the way is free.
    EXPECT_EQ(walkCellView(*s, w, walkCell(*s, 1, 1, 0)).chara, 0);
    EXPECT_TRUE(stepWalk(*s, w, D::East).empty());
    w = start();
    w.items = {6};
    EXPECT_EQ(examineWalk(*s, w)[0].comment, 41);
    const std::pair<int, WalkKind> answers[] = {{2, WalkKind::Shop}, {1, WalkKind::Shop}, {3, WalkKind::Battle}};
    for (auto [kind, expected] : answers) {
        s->chara(1).chcharatype = static_cast<u8>(kind);
        w = start();
        out = examineWalk(*s, w);
        ASSERT_EQ(kinds(out), std::vector{expected});
        EXPECT_EQ(out[0].character, 1);
    }
}

TEST_F(Walk, TheHeroAndAfterImagesAreDrawnThroughTheCellRule) {
    PictureIndexTables pictures{};
    at(1, 1, 0).event = event(4, 0);
    at(1, 1, 0).chara = 0;
    at(1, 1, 0).enter = enter(1);
    pictures.place[1] = 1;
    pictures.enter[1] = 2;
    pictures.event[4] = 3;
    pictures.event[kEventCount + 4] = 4;
    auto w = start();
    const int cell = walkCell(*s, 1, 1, 0);
    EXPECT_EQ(composeWalkCell(*s, w, cell, pictures, kAllLayers, 10).pictures, (std::array{1, 2, 3, -1, -1}));
    w.eventsRun.set(4);
    EXPECT_EQ(composeWalkCell(*s, w, cell, pictures, kAllLayers, 10).pictures, (std::array{1, 2, 4, -1, -1}));
    // No after-image loaded (entry 0, the black picture): the before-image stays.
    pictures.event[kEventCount + 4] = 0;
    EXPECT_EQ(composeWalkCell(*s, w, cell, pictures, kAllLayers, 10).pictures, (std::array{1, 2, 3, -1, -1}));
    // Walk image: the terrain's, else the default, else none; frames by direction and step.
    s->walkImageFiles[1][2].assign("e1.bmp");
    s->walkImageFiles[1][3].assign("e2.bmp");
    s->walkImageFiles[4][2].assign("d.bmp");
    pictures.walk[2][3] = 7;
    pictures.walk[2][4] = 8;
    EXPECT_EQ(heroPicture(*s, w, pictures, 10), -1);
    s->place(1).plwalkimg = 5;  // named, but its frame's picture is not loaded
    EXPECT_EQ(heroPicture(*s, w, pictures, 10), -1);
    s->settings.scdefwalkimg = 5;
    EXPECT_EQ(heroWalkImage(*s, w), 5);
    s->place(1).plwalkimg = 2;
    EXPECT_EQ(heroPicture(*s, w, pictures, 10), 7);
    stepWalk(*s, w, D::South);
    EXPECT_EQ(w.frame, 6);
    stepWalk(*s, w, D::East);
    EXPECT_EQ(heroPicture(*s, w, pictures, 10), 7);  // east after an even number of steps
    stepWalk(*s, w, D::East);
    EXPECT_EQ(heroPicture(*s, w, pictures, 10), 8);
}

TEST_F(Walk, TheShortestWayTakesJumpsAndReplaysExactly) {
    terrain(2, false);
    for (int y = 0; y < 3; ++y) at(1, 3, y).place = 2;  // a wall with a gap at the bottom row
    at(1, 1, 1).enter = enter(1);                        // a door into field 2 ...
    s->enter(1).jumpField = 2;
    s->enter(1).jumpPosition = 1;
    at(2, 2, 2).enter = enter(2);                        // ... whose far corner leads back east of the wall
    s->enter(2).jumpField = 1;
    s->enter(2).jumpPosition = 5;                        // (4, 0)
    const auto before = test::copyOf(*s);
    auto w = start();
    const auto path = findWalkPath(*s, w, 1, 5, 0);
    ASSERT_TRUE(path.has_value());
    std::string keys;
    for (D d : *path) keys += walkKey(d);
    EXPECT_EQ(keys, "RDRRDDR");  // through the door: shorter than around the wall (11 steps)
    for (D d : *path) stepWalk(*s, w, d);
    EXPECT_EQ((std::array{w.field, w.x, w.y}), (std::array{1, 5, 0}));
    examineWalk(*s, w);
    walkReach(*s, w, {});
    EXPECT_TRUE(test::sameBytes(*before, *s));
    // The door's own cell is never stood on; a closed wall closes the way.
    EXPECT_FALSE(findWalkPath(*s, start(), 1, 1, 1));
    at(1, 3, 3).place = 2;
    s->enter(2).jumpField = 0;
    EXPECT_FALSE(findWalkPath(*s, start(), 1, 5, 0));
    const auto reach = walkReach(*s, start(), {});
    EXPECT_EQ(reach[static_cast<std::size_t>(walkCell(*s, 1, 1, 1))], kReachEntered | kReachFaced);
    EXPECT_EQ(reach[static_cast<std::size_t>(walkCell(*s, 1, 3, 0))], kReachFaced);
    EXPECT_EQ(reach[static_cast<std::size_t>(walkCell(*s, 1, 4, 0))], 0);
    EXPECT_NE(reach[static_cast<std::size_t>(walkCell(*s, 2, 2, 2))] & kReachStood, 0);
}

}  // namespace
}  // namespace qrn
