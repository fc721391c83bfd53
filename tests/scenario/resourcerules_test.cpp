// Rules of the resource lists: "unused" against the fresh entry of the same
// number, the names given to nameless entries, enemy group slots and the
// special attack number boxes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "scenario/resets.h"
#include "scenario/resourcerules.h"
#include "scenario/text.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;

namespace {

ScenarioPtr freshScenario() {
    auto s = newScenario();
    EditorSideData side;
    alldatainitialize(*s, side, 1);
    return s;
}

struct UseCase {
    const char* what;
    ResKind kind;
    int number;
    std::function<void(Scenario&)> change;
    bool unused;
};

class ResourceUse : public ::testing::TestWithParam<UseCase> {};

TEST_P(ResourceUse, UnusedMeansAsAResetWouldLeaveIt) {
    const UseCase& c = GetParam();
    auto s = freshScenario();
    c.change(*s);
    EXPECT_EQ(resourceUnused(*s, c.kind, c.number), c.unused);
    EXPECT_EQ(resourcesInUse(*s, c.kind), c.unused ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ResourceUse,
    ::testing::Values(
        UseCase{"fresh bgm 7", ResKind::Bgm, 7, [](Scenario&) {}, true},
        UseCase{"bgm 7 holding entry 1's defaults", ResKind::Bgm, 7, [](Scenario& s) { s.bgm(7) = s.bgm(1); }, false},
        UseCase{"bgm loop", ResKind::Bgm, 50, [](Scenario& s) { s.bgm(50).loop = 1; }, false},
        UseCase{"bytes after a name's length", ResKind::Sound, 3,
                [](Scenario& s) { s.sound(3).name.chars[20] = 'q'; }, true},
        UseCase{"comment text", ResKind::Comment, 500, [](Scenario& s) { s.comment(500).line4.assign("x"); }, false},
        UseCase{"fresh comment 500", ResKind::Comment, 500, [](Scenario&) {}, true},
        UseCase{"enemy member", ResKind::EnemyGroup, 2, [](Scenario& s) { s.enemyType(2).members[4] = 9; }, false},
        UseCase{"poison value", ResKind::Poison, 4, [](Scenario& s) { s.poison(4).podowndex = 1; }, false},
        UseCase{"walk frame file", ResKind::WalkImage, 10,
                [](Scenario& s) { s.walkImageFiles[9][7].assign("w.bmp"); }, false},
        UseCase{"walk colour", ResKind::WalkImage, 1, [](Scenario& s) { s.walkImg(1).imageColour = 0; }, false},
        UseCase{"number out of range", ResKind::Bgm, 51, [](Scenario&) {}, true}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(AutoNames, NamelessEntriesTakeTheirNamesAndNothingElseChanges) {
    auto s = freshScenario();
    const std::string wide = cp932Literal("あいうえおかきくけこさしすせそた");  // 32 bytes
    s->bgm(3).name.clear();
    s->bgm(3).fileName.assign("town.mid");
    s->bgm(4).name.clear();  // no file: stays nameless
    s->sound(5).name.clear();
    s->sound(5).fileName.assign(std::string(40, 's') + ".wav");
    s->comment(9).line1.assign("x" + wide);  // 33 bytes: the name ends before the cut character
    s->comment(10).name.assign("kept");
    s->comment(10).line1.assign("other");
    s->enemyType(2).name.clear();
    s->enemyType(2).members[0] = 0;
    s->enemyType(2).members[1] = 7;
    s->chara(7).name.assign(cp932Literal("スライム"));
    s->enemyType(3).name.clear();
    s->enemyType(3).members[0] = 251;  // out of range: not a member
    s->walkImg(6).name.clear();
    s->walkImageFiles[5][0].assign("hero1.bmp");
    auto before = copyOf(*s);

    EXPECT_EQ(fillEmptyNames(*s, ResKind::Bgm), std::vector<int>{3});
    EXPECT_EQ(fillEmptyNames(*s, ResKind::Sound), std::vector<int>{5});
    EXPECT_EQ(fillEmptyNames(*s, ResKind::Comment), std::vector<int>{9});
    EXPECT_EQ(fillEmptyNames(*s, ResKind::EnemyGroup), std::vector<int>{2});
    EXPECT_EQ(fillEmptyNames(*s, ResKind::WalkImage), std::vector<int>{6});
    EXPECT_TRUE(fillEmptyNames(*s, ResKind::Poison).empty());

    before->bgm(3).name.assign("town.mid");
    before->sound(5).name.assign(std::string(32, 's'));
    before->comment(9).name.assign("x" + wide.substr(0, 30));
    before->enemyType(2).name.assign(cp932Literal("スライム"));
    before->walkImg(6).name.assign("hero1.bmp");
    EXPECT_EQ(firstDifference(*s, *before), -1);
}

TEST(AutoNames, FileNameWithoutExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"castle.theme.mid", "castle"},
        {"town.mid", "town"},
        {".mid", ""},
        {"noext", "noext"},
        {std::string(40, 'a') + ".mid", std::string(32, 'a')},
        {"x" + cp932Literal("城のテーマ曲ですよ、これは長い曲名") + ".mid", "x" + cp932Literal("城のテーマ曲ですよ、これは長い")},
        {cp932Literal("表.mid"), cp932Literal("表")},  // 0x5C in the second byte is no folder sign
    };
    for (const auto& [file, name] : cases) EXPECT_EQ(nameFromFileName(file), name) << file;
}

TEST(EnemyGroups, SlotsFillFromTheFrontAndCloseTheirGaps) {
    auto members = [](const EnemyTypeDef& g) { return std::vector<int>(g.members, g.members + 5); };
    EnemyTypeDef g;
    freshEnemyType(g, 1);
    EXPECT_EQ(addEnemyMember(g, 0), 0);
    EXPECT_EQ(addEnemyMember(g, 251), 0);
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(addEnemyMember(g, c * 10), c);
    EXPECT_EQ(addEnemyMember(g, 60), 0);  // a sixth member does nothing
    EXPECT_EQ(members(g), (std::vector<int>{10, 20, 30, 40, 50}));

    EnemyTypeDef three;
    freshEnemyType(three, 1);
    for (int c : {1, 2, 3}) addEnemyMember(three, c);
    EXPECT_TRUE(removeEnemyMember(three, 2));
    EXPECT_EQ(members(three), (std::vector<int>{1, 3, 0, 0, 0}));
    EXPECT_FALSE(removeEnemyMember(three, 4));
    EXPECT_FALSE(removeEnemyMember(three, 0));
    EXPECT_FALSE(removeEnemyMember(three, 6));
    EXPECT_EQ(members(three), (std::vector<int>{1, 3, 0, 0, 0}));

    // A group read with gaps is compacted by the first removal.
    EnemyTypeDef gaps;
    freshEnemyType(gaps, 1);
    const u8 stored[5] = {0, 4, 0, 5, 6};
    std::memcpy(gaps.members, stored, 5);
    EXPECT_TRUE(removeEnemyMember(gaps, 4));
    EXPECT_EQ(members(gaps), (std::vector<int>{4, 6, 0, 0, 0}));
    EXPECT_EQ(addEnemyMember(gaps, 9), 3);
}

TEST(EnemyGroups, CandidatesAreEnemiesInUse) {
    auto s = freshScenario();
    for (int k : {3, 8, 250}) {
        s->charaImageFiles[k - 1].assign("e.bmp");
        s->chara(k).chcharatype = 3;
    }
    s->chara(5).chcharatype = 3;  // no picture: not in use
    s->charaImageFiles[6].assign("v.bmp");  // in use, not an enemy
    EXPECT_EQ(enemyCandidates(*s), (std::vector<int>{3, 8, 250}));
}

TEST(PoisonBoxes, ClampEmptyOrIgnore) {
    struct Case { const char* text; PoisonValueInput::Action action; int value; bool rewrite; };
    const Case cases[] = {
        {"", PoisonValueInput::Ignore, 0, false},      {"0", PoisonValueInput::Store, 0, false},
        {"65535", PoisonValueInput::Store, 65535, false}, {"65536", PoisonValueInput::Store, 65535, true},
        {"99999", PoisonValueInput::Store, 65535, true}, {"123456789012", PoisonValueInput::Store, 65535, true},
        {"007", PoisonValueInput::Store, 7, false},    {"12a", PoisonValueInput::ClearBox, 0, false},
        {"-5", PoisonValueInput::ClearBox, 0, false},   {" 5", PoisonValueInput::ClearBox, 0, false},
    };
    for (const Case& c : cases) {
        const PoisonValueInput in = readPoisonValue(c.text);
        EXPECT_EQ(in.action, c.action) << c.text;
        EXPECT_EQ(+in.value, +c.value) << c.text;
        EXPECT_EQ(in.rewriteBox, c.rewrite) << c.text;
    }
}

}  // namespace

namespace {

TEST(WalkAnimation, ShowsTheFramesInTurnAndSkipsThoseWithoutPictures) {
    std::array<bool, kWalkFrames> all;
    all.fill(true);
    std::vector<int> frames;
    int step = 16;
    for (int tick = 0; tick < 17; ++tick) {
        const WalkStep w = nextWalkStep(step, all);
        frames.push_back(w.frame);
        step = w.step;
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 1, 2, 3, 4, 3, 4, 5, 6, 5, 6, 7, 8, 7, 8, 0, 2}));

    std::array<bool, kWalkFrames> south{};  // only frames 5 and 6
    south[4] = south[5] = true;
    const WalkStep w = nextWalkStep(16, south);  // step 1 shows frame 2: passed over up to step 8
    EXPECT_EQ(w.step, 8);
    EXPECT_EQ(w.frame, 5);

    const std::array<bool, kWalkFrames> none{};
    for (int s = 0; s <= 17; ++s) EXPECT_EQ(nextWalkStep(s, none).frame, 0) << s;  // and it returns
}

}  // namespace
