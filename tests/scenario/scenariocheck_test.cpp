// The scenario check: a clean small scenario gives nothing, and each break
// gives exactly its one finding at its place. Hostile records are read safely.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/joinfiles.h"
#include "scenario/maplayers.h"
#include "scenario/resets.h"
#include "scenario/scenariocheck.h"
#include "scenario_test_support.h"

using namespace qrn;
namespace fs = std::filesystem;

namespace {

int posOf(const Scenario& s, int field, int col, int row) { return row * s.field(field).width + col + 1; }
Cell& at(Scenario& s, int field, int col, int row) { return s.cell(cellOf(s, field, posOf(s, field, col, row))); }

// Two 10 x 10 fields of grass joined by a gate and a way back; an event on
// field 1 shows comment 1. Every entry in use is used, every location sound.
void buildClean(Scenario& s) {
    EditorSideData side;
    alldatainitialize(s, side, 1);
    createFirstField(s, "t", "", "f", 10, 10);
    ASSERT_EQ(placeNewField(s, 2, 10, 10), AddFieldResult::Added);
    s.placeImageFiles[0].assign("grass.bmp");
    for (int f = 1; f <= 2; ++f)
        for (int c = myend(s, f) - 99; c <= myend(s, f); ++c) s.cell(c).place = 1;
    s.enterImageFiles[0].assign("gate.bmp");
    s.enter(1).jumpField = 2;
    s.enter(1).jumpPosition = posOf(s, 2, 1, 1);
    s.enterImageFiles[1].assign("gate.bmp");
    s.enter(2).jumpField = 1;
    s.enter(2).jumpPosition = posOf(s, 1, 1, 1);
    at(s, 1, 5, 5).enter = 1;
    at(s, 2, 8, 8).enter = 2;
    s.eventImageFiles[0].assign("chest.bmp");
    s.event(1).evstartcomment = 1;
    at(s, 1, 2, 2).event = 1;
    s.comment(1).line1.assign("hello");
    s.hero.startField = 1;
    s.hero.startPosition = posOf(s, 1, 3, 3);
}

struct Case {
    const char* name;
    std::function<void(Scenario&)> breakIt;
    CheckKind kind;
    CheckSeverity severity;
    CheckPlace place;
};

const Case kCases[] = {
    {"comment not in use", [](Scenario& s) { s.event(1).evendcomment = 2; }, CheckKind::MissingEntry,
     CheckSeverity::Error, CheckPlace::object(3, 1)},
    {"magic of a level not in use", [](Scenario& s) { s.level(4).magic = 3; }, CheckKind::MissingEntry,
     CheckSeverity::Error, {CheckPlace::Level, 0, 4}},
    {"settings music out of range", [](Scenario& s) { s.settings.battleBgm = 51; }, CheckKind::OutOfRange,
     CheckSeverity::Error, {CheckPlace::Settings}},
    {"comment number out of range", [](Scenario& s) { s.event(1).evprologue = 501; }, CheckKind::OutOfRange,
     CheckSeverity::Error, CheckPlace::object(3, 1)},
    {"negative comment means none", [](Scenario& s) { s.event(1).evepilogue = -7; }, CheckKind::OutOfRange,
     CheckSeverity::Error, {}},
    {"start on a field not in use", [](Scenario& s) { s.hero.startField = 7; }, CheckKind::BadLocation,
     CheckSeverity::Error, {CheckPlace::Hero}},
    {"start outside the field", [](Scenario& s) { s.hero.startPosition = 101; }, CheckKind::BadLocation,
     CheckSeverity::Error, {CheckPlace::Hero}},
    {"start without terrain", [](Scenario& s) { at(s, 1, 3, 3).place = 0; },
     CheckKind::BadLocation, CheckSeverity::Error, CheckPlace::cell(1, 3, 3)},
    {"jump onto a wall",
     [](Scenario& s) {
         s.placeImageFiles[1].assign("wall.bmp");
         s.place(2).plmove = 0;
         at(s, 2, 1, 1).place = 2;
     },
     CheckKind::BadLocation, CheckSeverity::Error, CheckPlace::cell(2, 1, 1)},
    {"start under a closed building",
     [](Scenario& s) {
         s.enterImageFiles[2].assign("rock.bmp");
         s.enter(3).enmove = 0;
         at(s, 1, 3, 3).enter = 3;
     },
     CheckKind::BadLocation, CheckSeverity::Error, CheckPlace::cell(1, 3, 3)},
    {"warp point outside its field", [](Scenario& s) { s.field(1).warpPoints[3] = 300; }, CheckKind::BadLocation,
     CheckSeverity::Error, CheckPlace::fieldOf(1)},
    {"character not in use on the map", [](Scenario& s) { at(s, 1, 7, 3).chara = 9; at(s, 1, 9, 9).chara = 9; },
     CheckKind::UnusedPlaced, CheckSeverity::Error, CheckPlace::cell(1, 7, 3)},
    {"terrain number out of range", [](Scenario& s) { at(s, 2, 4, 6).place = 401; }, CheckKind::OutOfRange,
     CheckSeverity::Error, CheckPlace::cell(2, 4, 6)},
    {"item never placed nor named", [](Scenario& s) { s.itemImageFiles[4].assign("sword.bmp"); },
     CheckKind::NeverUsed, CheckSeverity::Warning, CheckPlace::object(4, 5)},
    {"music nothing plays", [](Scenario& s) { s.bgm(2).fileName.assign("a.mid"); }, CheckKind::NeverUsed,
     CheckSeverity::Warning, CheckPlace::resource(ResKind::Bgm, 2)},
    {"field nothing leads to", [](Scenario& s) { ASSERT_EQ(placeNewField(s, 3, 10, 10), AddFieldResult::Added); },
     CheckKind::Unreachable, CheckSeverity::Warning, CheckPlace::fieldOf(3)},
    {"key to pass that nothing gives",
     [](Scenario& s) {
         s.itemImageFiles[1].assign("key.bmp");
         s.place(1).plwantitem = 2;
     },
     CheckKind::ItemNeverGiven, CheckSeverity::Warning, CheckPlace::object(1, 1)},
    {"item that starts an event and nothing gives",
     [](Scenario& s) {
         s.itemImageFiles[1].assign("key.bmp");
         s.event(1).evaction = 2;
         s.event(1).evstartitem = 2;
     },
     CheckKind::ItemNeverGiven, CheckSeverity::Warning, CheckPlace::object(3, 1)},
    {"key given by the event",
     [](Scenario& s) {
         s.itemImageFiles[1].assign("key.bmp");
         s.place(1).plwantitem = 2;
         s.event(1).evgetitem[9] = 2;
         s.hero.startPosition = posOf(s, 1, 2, 3);  // facing the event, which the hero examines
     },
     CheckKind::ItemNeverGiven, CheckSeverity::Warning, {}},
    {"event that no walk reaches",
     [](Scenario& s) {
         at(s, 1, 2, 2).event = 0;
         at(s, 1, 0, 0).event = 1;
         at(s, 1, 1, 0).place = 0;
         at(s, 1, 0, 1).place = 0;
     },
     CheckKind::CellUnreachable, CheckSeverity::Warning, CheckPlace::cell(1, 0, 0)},
    {"key that lies behind the gate it opens",
     [](Scenario& s) {
         s.itemImageFiles[1].assign("key.bmp");
         s.enter(1).enwantitem = 2;
         at(s, 2, 5, 5).item = 2;
     },
     CheckKind::CellUnreachable, CheckSeverity::Warning, CheckPlace::cell(2, 5, 5)},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ScenarioCheckCase : public ::testing::TestWithParam<Case> {};

TEST_P(ScenarioCheckCase, GivesExactlyItsFinding) {
    auto s = test::newScenario();
    buildClean(*s);
    ASSERT_TRUE(checkScenario(*s).empty());
    GetParam().breakIt(*s);
    const auto before = test::copyOf(*s);
    const auto found = checkScenario(*s);
    EXPECT_TRUE(test::sameBytes(*s, *before)) << "the check wrote into the record";
    if (GetParam().place.kind == CheckPlace::None) {
        EXPECT_TRUE(found.empty()) << found.front().message;
        return;
    }
    ASSERT_EQ(found.size(), 1u) << (found.empty() ? "" : found[0].message + " / " + found.back().message);
    EXPECT_EQ(found[0].kind, GetParam().kind) << found[0].message;
    EXPECT_EQ(found[0].severity, GetParam().severity);
    EXPECT_EQ(found[0].place, GetParam().place) << describePlace(*s, found[0].place);
    EXPECT_FALSE(found[0].message.empty());
}

INSTANTIATE_TEST_SUITE_P(Breaks, ScenarioCheckCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& c : n) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

TEST(ScenarioCheck, FreshScenarioOnlyStartsOnAnUnpaintedCell) {
    auto s = test::newScenario();
    EditorSideData side;
    alldatainitialize(*s, side, 3);
    createFirstField(*s, "t", "", "f", 30, 20);
    const auto found = checkScenario(*s);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, CheckKind::BadLocation);
    EXPECT_EQ(found[0].place, CheckPlace::cell(1, 0, 0));
    EXPECT_EQ(describePlace(*s, found[0].place), "フィールド 1「f」 X:1 Y:1");
    EXPECT_EQ(found[0].message, "主人公のスタート地点に地形がありません。");
}

// The last entry of every table, placed and named in use, is no finding:
// terrain 400 and the other layers' 250 on field 100, which ends at the last
// cell of the store and is reached through its last position.
TEST(ScenarioCheck, TheLastEntryOfEveryTableIsInRange) {
    auto owned = test::newScenario();
    Scenario& s = *owned;
    buildClean(s);
    layoutFieldCells(s, kFieldCount, kCellCount - 99, 10, 10);
    s.field(kFieldCount).fieldBgm = kBgmCount;
    for (int c = kCellCount - 99; c <= kCellCount; ++c) s.cell(c).place = kPlaceCount;
    s.placeImageFiles[kPlaceCount - 1].assign("last.bmp");
    s.place(kPlaceCount).plmove = 1;
    s.place(kPlaceCount).plwalkimg = kWalkImgCount;
    s.place(kPlaceCount).plsound = kSoundCount;
    at(s, 1, 9, 9).place = kPlaceCount;
    s.hero.startPosition = 100;
    for (auto* files : {&s.enterImageFiles, &s.eventImageFiles, &s.itemImageFiles, &s.charaImageFiles})
        (*files)[249].assign("last.bmp");
    at(s, 1, 0, 9).enter = 250;
    s.enter(250).jumpField = kFieldCount;
    s.enter(250).jumpPosition = 100;
    s.cell(kCellCount - 1).event = 250;
    s.cell(kCellCount - 2).item = 250;
    s.cell(kCellCount - 3).chara = 250;
    EventDef& e = s.event(250);
    e.evstartcomment = kCommentCount;
    e.evenemy = kEnemyTypeCount;
    e.evgetmagic = kMagicCount;
    e.evgetitem[0] = 250;
    s.comment(kCommentCount).line1.assign("end");
    s.enemyType(kEnemyTypeCount).members[0] = 250;
    s.magic(kMagicCount).mgsuccess = 1;
    s.level(kLevelRows).magic = kMagicCount;
    s.item(250).itantipoison = kPoisonCount;
    s.poison(kPoisonCount).podamage = 1;
    s.bgm(kBgmCount).fileName.assign("last.mid");
    s.sound(kSoundCount).fileName.assign("last.wav");
    s.walkImageFiles[kWalkImgCount - 1][0].assign("walk.bmp");
    s.settings.battleBgm = kBgmCount;
    s.settings.scgameover = kCommentCount;
    for (const auto& f : checkScenario(s)) ADD_FAILURE() << describePlace(s, f.place) << ": " << f.message;
}

// A finding's place names something that exists: an entry of its table, a
// field in use, or a cell of that field's part of the store.
bool placeExists(const Scenario& s, const CheckPlace& p) {
    switch (p.kind) {
    case CheckPlace::Cell: {
        if (!fieldInUse(s, p.field)) return false;
        const long long first = std::max<long long>(s.field(p.field).firstCell, 1);
        const long long last = std::min<long long>(myend(s, p.field), kCellCount);
        for (long long c = first; c <= last; ++c)
            if (s.cell(static_cast<int>(c)).col == p.col && s.cell(static_cast<int>(c)).row == p.row) return true;
        return false;
    }
    case CheckPlace::Object: return validObject(p.table, p.number);
    case CheckPlace::Resource:
        return p.table >= 0 && p.table <= static_cast<int>(ResKind::Magic) && p.number >= 1 &&
               p.number <= resourceCount(static_cast<ResKind>(p.table));
    case CheckPlace::Field: return fieldInUse(s, p.number);
    case CheckPlace::Level: return p.number >= 1 && p.number <= kLevelRows;
    case CheckPlace::Hero:
    case CheckPlace::Settings: return p.table == 0 && p.number == 0;
    default: return false;
    }
}

TEST(ScenarioCheck, HostileRecordsAreReadSafely) {
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        for (auto fill : {&test::fillPlausible, &test::fillRandom}) {
            auto s = test::newScenario();
            fill(*s, seed);
            const auto before = test::copyOf(*s);
            const auto found = checkScenario(*s);
            EXPECT_TRUE(test::sameBytes(*s, *before)) << "the check wrote into the record, seed " << seed;
            EXPECT_FALSE(found.empty());
            for (const auto& f : found) {
                EXPECT_TRUE(placeExists(*s, f.place)) << f.message;
                EXPECT_FALSE(describePlace(*s, f.place).empty());
                EXPECT_FALSE(f.message.empty());
            }
        }
    }
}

// ---- files ------------------------------------------------------------------------

std::string bitmapHeader(int w, int h) {
    std::string b(54, '\0');
    b[0] = 'B', b[1] = 'M', b[14] = 40;
    auto put = [&](int o, int v) { for (int i = 0; i < 4; ++i) b[o + i] = static_cast<char>((v >> (8 * i)) & 0xff); };
    put(18, w);
    put(22, h);
    return b;
}

struct ScenarioCheckFiles : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("qrn_check_" + std::to_string(::getpid()));
    test::ScenarioPtr s = test::newScenario();
    void SetUp() override {
        fs::create_directories(dir);
        buildClean(*s);
        for (const char* n : {"grass.bmp", "gate.bmp", "chest.bmp"}) write(n, bitmapHeader(32, -32));
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& name, const std::string& bytes) { std::ofstream(dir / name, std::ios::binary) << bytes; }
    std::vector<CheckFinding> check() {
        ResourceFolder folder(dir.string());
        return checkScenario(*s, &folder);
    }
};

TEST_F(ScenarioCheckFiles, EachFileFaultIsOneFinding) {
    EXPECT_TRUE(check().empty());
    struct FileCase {
        std::function<void()> breakIt;
        CheckKind kind;
        CheckSeverity severity;
    };
    const FileCase cases[] = {
        {[&] { fs::remove(dir / "chest.bmp"); }, CheckKind::MissingFile, CheckSeverity::Error},
        {[&] { fs::rename(dir / "chest.bmp", dir / "Chest.BMP"); }, CheckKind::FileCase, CheckSeverity::Warning},
        {[&] { write("chest.bmp", bitmapHeader(48, 32)); }, CheckKind::BadPictureSize, CheckSeverity::Warning},
        {[&] { write("chest.bmp", "not a bitmap"); }, CheckKind::BadPictureSize, CheckSeverity::Warning},
        {[&] { s->eventImageFiles[0].assign("../chest.bmp"); }, CheckKind::MissingFile, CheckSeverity::Error},
    };
    for (const auto& c : cases) {
        SetUp();
        c.breakIt();
        const auto found = check();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].kind, c.kind) << found[0].message;
        EXPECT_EQ(found[0].severity, c.severity);
        EXPECT_EQ(found[0].place, CheckPlace::object(3, 1));
        TearDown();
        s = test::newScenario();
    }
}

TEST(ScenarioCheck, BitmapSizeReadsBothHeaderForms) {
    int w = 0, h = 0;
    ASSERT_TRUE(bitmapSize(bitmapHeader(32, -32), w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(32, 32));
    std::string core = bitmapHeader(0, 0);
    core[14] = 12, core[18] = 16, core[19] = 0, core[20] = 24, core[21] = 0;
    ASSERT_TRUE(bitmapSize(core, w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(16, 24));
    EXPECT_FALSE(bitmapSize("BM", w, h));
    EXPECT_FALSE(bitmapSize(std::string(54, 'x'), w, h));
}

}  // namespace
