// The join's computations (chips, runner record, cell and file lists) and
// its file work, against temporary folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/scenariofile.h"
#include "scenario/text.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;
namespace fs = std::filesystem;

namespace {

// One field of 10 x 10 cells from cell 1.
ScenarioPtr smallScenario() {
    auto s = newScenario();
    FieldDef& f = s->field(1);
    f.firstCell = 1;
    f.cellCount = 100;
    f.width = 10;
    f.height = 10;
    return s;
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct TempDir {
    fs::path path;
    TempDir() {
        char tmpl[] = "/tmp/qrn_join_XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
};

TEST(Delext, DropsEverythingFromTheFirstDotOfTheFileName) {
    const std::pair<std::string, std::string> cases[] = {
        {"Title.BMP", "Title"},          {"a.night.bmp", "a"},
        {"dir.x/pic.bmp", "dir.x/pic"},  {"noext", "noext"},
        {"\x95\x5C.bmp", "\x95\x5C"},    // a double-byte character whose trail byte is "\"
        {"c:\\a.b\\c.d.e", "c:\\a.b\\c"}, {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(delext(in), out) << in;
    EXPECT_EQ(datName("a.night.bmp"), "a.DAT");
}

TEST(AssignChips, SharesChipsByExactNameInGroupOrderAndSizesTheSheet) {
    auto s = smallScenario();
    // Group order: field item, terrain, terrain extend, building, ... The
    // character (later group) names the same file as terrain 2.
    s->charaImageFiles[4].assign("same.bmp");
    s->placeImageFiles[1].assign("same.bmp");
    s->placeImageFiles[0].assign("SAME.bmp");  // another file on a case-sensitive disk
    s->walkImageFiles[9][7].assign("walk.bmp");
    s->fieldItemImageFiles[99].assign("item.bmp");
    const ChipAssignment a = assignChips(*s);
    ASSERT_EQ(a.chips.size(), 4u);
    EXPECT_EQ(a.chips[0], (PictureRef{ChipGroup::FieldItem, 100}));
    EXPECT_EQ(a.chips[1], (PictureRef{ChipGroup::Place, 1}));
    EXPECT_EQ(a.chips[2], (PictureRef{ChipGroup::Place, 2}));
    EXPECT_EQ(a.chips[3], (PictureRef{ChipGroup::Walk, 10, 8}));
    EXPECT_EQ(+a.tables.fieldItem[99], 1);
    EXPECT_EQ(+a.tables.place[0], 2);
    EXPECT_EQ(+a.tables.place[1], 3);
    EXPECT_EQ(+a.tables.chara[4], 3);
    EXPECT_EQ(a.tables.walk[9][7], 4);
    EXPECT_EQ(+a.tables.chara[0], 0);
    EXPECT_EQ(a.pictureNames, 5);  // counted with repetitions
    EXPECT_EQ(a.sheetHeight(), 32);
}

TEST(AssignChips, SheetHeightAndOverflow) {
    struct Case { int distinct, repeats, chips, height, overflow; };
    const Case cases[] = {{0, 0, 0, 0, 0}, {30, 0, 30, 32, 0}, {31, 0, 31, 64, 0},
                          {10, 40, 10, 64, 0}, {905, 0, 900, 960, 5}};
    for (const Case& c : cases) {
        auto s = smallScenario();
        int slot = 0;
        auto name = [&](const std::string& n) {
            // Spread the names over the groups: terrains, extends, buildings, events, items, characters.
            ShortString255* slots[] = {s->placeImageFiles, s->placeImage2Files, s->enterImageFiles,
                                       s->eventImageFiles, s->itemImageFiles, s->charaImageFiles};
            const int counts[] = {400, 400, 250, 250, 250, 250};
            int k = slot++;
            for (int g = 0; g < 6; ++g) {
                if (k < counts[g]) { slots[g][k].assign(n); return; }
                k -= counts[g];
            }
        };
        for (int i = 0; i < c.distinct; ++i) name("p" + std::to_string(i) + ".bmp");
        for (int i = 0; i < c.repeats; ++i) name("p0.bmp");
        const ChipAssignment a = assignChips(*s);
        EXPECT_EQ(static_cast<int>(a.chips.size()), c.chips) << c.distinct;
        EXPECT_EQ(a.sheetHeight(), +c.height) << c.distinct;
        EXPECT_EQ(a.overflow, c.overflow) << c.distinct;
        if (c.overflow) {
            EXPECT_EQ(+a.tables.enter[99], 900);  // the 900th name, building 100
            EXPECT_EQ(+a.tables.enter[104], 0);   // the 905th gets no chip
        }
    }
}

TEST(RunnerRecord, EveryBlockComesFromTheLockedScenarioWithDatNames) {
    auto s = newScenario();
    fillPlausible(*s, 17);
    s->chara(3).chbossimg.assign("Boss.night.png");
    s->settings.titleBitmaps[2].assign("T.BMP");
    s->settings.scwallbmp.clear();
    const auto before = copyOf(*s);
    ChipTables chips{};
    chips.walk[9][7] = 900;
    auto rec = std::make_unique<RunnerRecord>();
    fillRunnerRecord(*s, chips, *rec);
    EXPECT_TRUE(sameBytes(*s, *before)) << firstDifference(*s, *before);

    // The expectation, built the long way: rename, lock, then pick blocks.
    auto locked = copyOf(*s);
    for (const LargeBitmap& b : largeBitmaps(*locked)) {
        auto& slot = const_cast<ShortString255&>(*b.name);
        if (!slot.empty()) slot.assignRaw(datName(slot.view()));
    }
    EXPECT_EQ(locked->chara(3).chbossimg.str(), "Boss.DAT");
    EXPECT_EQ(locked->settings.titleBitmaps[2].str(), "T.DAT");
    EXPECT_TRUE(locked->settings.scwallbmp.empty());
    lockdata(*locked, true);
    const auto* r = reinterpret_cast<const unsigned char*>(rec.get());
    const unsigned char* L = locked->bytes();
    auto same = [&](std::size_t at, std::size_t from, std::size_t n) { return std::memcmp(r + at, L + from, n) == 0; };
    EXPECT_TRUE(same(0, 0, 303961));  // hero and the five object tables sit where the scenario has them
    EXPECT_TRUE(std::memcmp(r + 303961, &chips, sizeof chips) == 0);
    EXPECT_TRUE(same(313881, offsetof(Scenario, magics), 3500 + 2150 + 17900));
    for (int k = 0; k < kCommentCount; ++k)
        ASSERT_TRUE(same(337431 + 1004 * k, offsetof(Scenario, comments) + 1037 * k + 33, 1004)) << k;
    for (int k = 0; k < kBgmCount; ++k) {
        ASSERT_TRUE(same(839431 + 257 * k, offsetof(Scenario, bgms) + 290 * k + 33, 257)) << k;
        ASSERT_TRUE(same(852281 + 256 * k, offsetof(Scenario, sounds) + 289 * k + 33, 256)) << k;
        ASSERT_TRUE(same(865081 + 5 * k, offsetof(Scenario, enemyTypes) + 38 * k + 33, 5)) << k;
    }
    for (int k = 0; k < kWalkImgCount; ++k)
        ASSERT_TRUE(same(865331 + 5 * k, offsetof(Scenario, walkImgs) + 38 * k + 33, 5)) << k;
    EXPECT_TRUE(same(865381, offsetof(Scenario, levels), 637));
    EXPECT_EQ(std::count(r + 866018, r + 866274, 0), 256);
    EXPECT_TRUE(same(866274, kSettingsOffset + 256, 3501));
}

TEST(CellList, GroupsOfFiveWithTheEntriesThatAreSet) {
    auto s = smallScenario();
    s->field(2).firstCell = 101;  // field 2 in use: cells 101..112
    s->field(2).cellCount = 12;
    s->field(4).firstCell = 200;  // after a free slot: not scanned
    s->field(4).cellCount = 10;
    s->cell(12).place = 3;
    s->cell(13).place = 3;
    s->cell(13).enter = 5;
    s->cell(14).place = -4;                      // negative terrain, nothing else: not listed
    s->cell(16).place = 401;                     // out of range counts as none
    s->cell(17).enter = 251;                     // likewise
    s->cell(18).place = 400;
    s->cell(18).event = 250;
    s->cell(18).item = 7;
    s->cell(18).chara = 1;
    s->cell(112).chara = 9;                      // the last cell listed
    s->cell(113).chara = 9;                      // beyond the last field in use
    s->cell(205).chara = 9;
    EXPECT_EQ(cellList(*s), "h12,p3,h13,p3,e5,\r\nh18,p400,v250,i7,c1,\r\nh112,c9,\r\n");

    s->field(2).cellCount = 32767;  // a last cell past the store counts up to the store's end only
    s->field(2).firstCell = kCellCount - 2;
    s->cell(kCellCount).enter = 1;
    const std::string list = cellList(*s);
    EXPECT_TRUE(list.ends_with("h300000,e1,\r\n")) << list.substr(list.size() - 40);
}

TEST(FileList, ListsTheFilesInGroupsWithCutHeading) {
    auto s = smallScenario();
    s->settings.scenarioname.assign(cp932Literal("長い題名長い題名長い題名長い題名"));  // 32 bytes
    s->bgm(2).fileName.assign("town.mid");
    s->sound(50).fileName.assign("hit.wav");
    s->settings.scopeningbmp.assign("open.bmp");
    s->settings.scwallbmp.assign("wall.jpg");
    s->settings.titleBitmaps[4].assign("t5.a.bmp");
    s->settings.endingBitmaps[0].assign("e1");
    s->chara(250).chbossimg.assign("boss.bmp");
    s->event(1).evprologuebmp.assign("pro.bmp");
    s->event(2).evepiloguebmp.assign("epi.bmp");
    // A full title just fits: 10 + 32 bytes, then 22 bytes make 64.
    const std::string heading = cp932Literal("シナリオ  長い題名長い題名長い題名長い題名の実行に必要なファイル");
    const std::string expected = heading + "\r\n\r\nGAME.DST\r\nGAME.CHP\r\nGAME.LCT\r\n\r\ntown.mid\r\n\r\n"
                                 "hit.wav\r\n\r\nopen.DAT\r\nwall.DAT\r\n\r\nt5.DAT\r\n\r\ne1.DAT\r\n\r\n"
                                 "boss.DAT\r\n\r\npro.DAT\r\n\r\nepi.DAT\r\n\r\n";
    EXPECT_EQ(fileList(*s, "GAME"), expected);
}

// ---- the file work ----------------------------------------------------------

struct JoinFixture : ::testing::Test {
    TempDir res, out;
    ScenarioPtr s = smallScenario();
    std::vector<std::string> warnings;
    JoinHooks hooks{[](const ChipAssignment& a) { return "BMsheet" + std::to_string(a.chips.size()); },
                    [this](const std::string& w) { warnings.push_back(w); }, nullptr};

    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(res.path / name, std::ios::binary) << bytes;
    }
    JoinResult join(const std::string& name = "GAME") {
        return joinScenario(*s, {out.path.string(), res.path.string(), name}, hooks);
    }
};

TEST_F(JoinFixture, WritesEveryFileAndLeavesTheScenarioAsItWas) {
    s->placeImageFiles[0].assign("grass.bmp");
    s->cell(1).place = 1;
    s->chara(1).chbossimg.assign("Boss.BMP");        // found as spelt
    s->event(1).evprologuebmp.assign("PRO.night.bmp");  // found by another case
    s->settings.titleBitmaps[0].assign("missing.bmp");
    s->bgm(1).fileName.assign("town.mid");
    s->sound(1).fileName.assign("hit.wav");
    put("Boss.BMP", "BMboss");
    put("pro.night.bmp", "BMpro");
    put("town.mid", "MThd");
    put("hit.wav", "RIFF");
    const auto before = copyOf(*s);
    const JoinResult r = join();
    ASSERT_EQ(r.status, JoinStatus::Done) << r.failedPath << r.error;
    EXPECT_TRUE(sameBytes(*s, *before)) << firstDifference(*s, *before);
    EXPECT_EQ(readFile(out.path / "GAME.CHP"), "..sheet1");
    EXPECT_EQ(readFile(out.path / "Boss.DAT"), "..boss");
    EXPECT_EQ(readFile(out.path / "PRO.DAT"), "..pro");
    EXPECT_EQ(readFile(out.path / "town.mid"), "MThd");
    EXPECT_EQ(readFile(out.path / "hit.wav"), "RIFF");
    EXPECT_EQ(readFile(out.path / "GAME.LCT"), "h1,p1,\r\n");
    EXPECT_EQ(fs::file_size(out.path / "GAME.DST"), static_cast<std::uintmax_t>(kRunnerRecordSize));
    EXPECT_EQ(readFile(out.path / "GAME.TXT"), fileList(*s, "GAME"));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "ｼﾅﾘｵのﾀｲﾄﾙｲﾒｰｼﾞ 画面1 " + (res.path / "missing.bmp").string() +
                               "が見つからないか、開けません。");
}

TEST_F(JoinFixture, UnsafeNamesInEverySlotAreMissingFilesAndNothingIsWrittenOutside) {
    fs::create_directory(out.path / "sub");
    put("x.bmp", "BMx");
    put("x.mid", "MThd");
    const char* bad[] = {"../x.bmp", "..\\x.bmp", "/tmp/x.bmp", "sub/../../x.bmp"};
    for (const char* name : bad) {
        warnings.clear();
        auto fresh = smallScenario();
        s = std::move(fresh);
        s->chara(1).chbossimg.assign(name);
        s->event(1).evprologuebmp.assign(name);
        s->event(1).evepiloguebmp.assign(name);
        s->settings.titleBitmaps[0].assign(name);
        s->settings.endingBitmaps[0].assign(name);
        s->settings.scwallbmp.assign(name);
        s->settings.scopeningbmp.assign(name);
        s->bgm(1).fileName.assign(name);
        s->sound(1).fileName.assign(name);
        ASSERT_EQ(join("GAME").status, JoinStatus::Done) << name;
        EXPECT_EQ(warnings.size(), 9u) << name;
        std::vector<std::string> written;
        for (const auto& e : fs::directory_iterator(out.path)) written.push_back(e.path().filename().string());
        std::sort(written.begin(), written.end());
        EXPECT_EQ(written, (std::vector<std::string>{"GAME.CHP", "GAME.DST", "GAME.LCT", "GAME.TXT", "sub"})) << name;
        EXPECT_FALSE(fs::exists(out.path.parent_path() / "x.DAT"));
    }
    EXPECT_EQ(join("a/b").status, JoinStatus::BadName);
    EXPECT_EQ(join("a\\b").status, JoinStatus::BadName);
    EXPECT_EQ(join("").status, JoinStatus::BadName);
}

TEST_F(JoinFixture, FailuresAreReportedNotSwallowed) {
    const auto before = copyOf(*s);
    EXPECT_EQ(joinScenario(*s, {(out.path / "none").string(), res.path.string(), "G"}, hooks).status,
              JoinStatus::BadFolder);
    fs::permissions(out.path, fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_EQ(join().status, JoinStatus::BadFolder);
    }
    fs::permissions(out.path, fs::perms::owner_all);

    // A file that cannot be written: a folder in the way of N.LCT.
    fs::create_directory(out.path / "G.LCT");
    const JoinResult r = join("G");
    EXPECT_EQ(r.status, JoinStatus::Failed);
    EXPECT_EQ(r.failedPath, (out.path / "G.LCT").string());
    EXPECT_FALSE(fs::exists(out.path / "G.TXT"));
    EXPECT_TRUE(sameBytes(*s, *before));

    hooks.drawSheet = [](const ChipAssignment&) { return std::string(); };
    EXPECT_EQ(join("H").status, JoinStatus::Failed);
}

// The copies go on beside the sheet, yet the hooks hear of them only on the
// caller's thread, in file order, and the shortest sources keep their size.
TEST_F(JoinFixture, CopiesBesideTheSheetReportOnTheCallersThreadInFileOrder) {
    put("one.bmp", "B");
    put("empty.bmp", "");
    s->chara(1).chbossimg.assign("gone1.bmp");
    s->chara(2).chbossimg.assign("one.bmp");
    s->event(3).evprologuebmp.assign("empty.bmp");
    s->settings.titleBitmaps[0].assign("gone2.bmp");
    s->sound(1).fileName.assign("gone3.wav");
    const auto caller = std::this_thread::get_id();
    std::vector<int> steps;
    bool elsewhere = false;
    hooks.warn = [&](const std::string& w) {
        elsewhere |= std::this_thread::get_id() != caller;
        warnings.push_back(w);
    };
    hooks.progress = [&](int done, int total) {
        elsewhere |= std::this_thread::get_id() != caller;
        steps.push_back(total - done);
    };
    ASSERT_EQ(join().status, JoinStatus::Done);
    EXPECT_FALSE(elsewhere);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find("gone1.bmp"), std::string::npos);
    EXPECT_NE(warnings[1].find("gone2.bmp"), std::string::npos);
    EXPECT_NE(warnings[2].find("gone3.wav"), std::string::npos);
    ASSERT_FALSE(steps.empty());
    EXPECT_TRUE(std::is_sorted(steps.rbegin(), steps.rend()));
    EXPECT_EQ(steps.back(), 0);
    EXPECT_EQ(readFile(out.path / "one.DAT"), ".");
    EXPECT_TRUE(fs::exists(out.path / "empty.DAT"));
    EXPECT_EQ(readFile(out.path / "empty.DAT"), "");

    // Joined again over its own files: the same files, nothing beside them.
    const auto count = [&] { return std::distance(fs::directory_iterator(out.path), fs::directory_iterator{}); };
    const auto files = count();
    ASSERT_EQ(join().status, JoinStatus::Done);
    EXPECT_EQ(count(), files);
    EXPECT_EQ(readFile(out.path / "one.DAT"), ".");

    // A sheet written by another program: the join only names the file.
    hooks.writeSheet = [](const ChipAssignment&, const std::string& path) { return writeWholeFile(path, "..drawn"); };
    ASSERT_EQ(join("W").status, JoinStatus::Done);
    EXPECT_EQ(readFile(out.path / "W.CHP"), "..drawn");
    hooks.writeSheet = [](const ChipAssignment&, const std::string&) { return false; };
    const JoinResult failed = join("X");
    EXPECT_EQ(failed.status, JoinStatus::Failed);
    EXPECT_EQ(failed.failedPath, (out.path / "X.CHP").string());
}

TEST_F(JoinFixture, TwoNamesForOneDatFileAreWarnedAbout) {
    put("a.bmp", "BMa");
    put("a.night.bmp", "BMn");
    s->settings.titleBitmaps[0].assign("a.bmp");
    s->settings.endingBitmaps[0].assign("a.night.bmp");
    s->settings.titleBitmaps[1].assign("a.bmp");  // the same name twice is no clash
    ASSERT_EQ(join().status, JoinStatus::Done);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("a.DAT"), std::string::npos);
}

}  // namespace

namespace {

TEST(ResourceFolder, OneListingFindsPlainNamesInAnyCaseAndReadsEachWhole) {
    TempDir res;
    auto put = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(res.path / name, std::ios::binary) << bytes;
    };
    put("Town.bmp", "BMtown");
    put("town.BMP", "BMother");
    put("Sea.bmp", "BMsea");
    put("SEA.bmp", "BMSEA");
    fs::create_directory(res.path / "cave.bmp");  // a folder by a picture's name
    fs::create_directory(res.path / "sub");
    put("sub/deep.bmp", "BMdeep");
    fs::create_symlink(res.path / "Sea.bmp", res.path / "link.bmp");
    fs::create_symlink(res.path / "sub", res.path / "dirlink.bmp");
    ASSERT_EQ(::mkfifo((res.path / "pipe.wav").c_str(), 0600), 0);

    ResourceFolder folder(res.path.string());
    const auto at = [&](const std::string& name) { return std::optional((res.path / name).string()); };
    EXPECT_EQ(folder.find("Town.bmp"), at("Town.bmp"));  // as spelt, though another case exists
    EXPECT_EQ(folder.find("TOWN.bmp"), at("Town.bmp"));  // the lowest of the other spellings
    EXPECT_EQ(folder.find("sea.BMP"), at("SEA.bmp"));
    EXPECT_EQ(folder.find("link.bmp"), at("link.bmp"));
    for (const char* none : {"cave.bmp", "dirlink.bmp", "sub", "sub/deep.bmp", "../" "x.bmp", "", "gone.bmp"})
        EXPECT_EQ(folder.find(none), std::nullopt) << none;

    std::string bytes, path;
    EXPECT_TRUE(folder.read("sea.bmp", bytes, &path));
    EXPECT_EQ(bytes, "BMSEA");
    EXPECT_EQ(path, (res.path / "SEA.bmp").string());
    EXPECT_FALSE(folder.read("Sea.bmp", bytes, nullptr, 4));  // larger than allowed
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(folder.read("pipe.wav", bytes, &path));  // neither blocks nor counts as a file
    EXPECT_FALSE(folder.read("sub/deep.bmp", bytes, &path));
    EXPECT_EQ(path, (res.path / "sub/deep.bmp").string());  // the spelt path, for the message

    // The listing is kept until the folder changes and is asked again.
    put("late.mid", "MThd");
    EXPECT_EQ(folder.find("late.mid"), std::nullopt);
    folder.refresh();
    EXPECT_EQ(folder.find("LATE.MID"), at("late.mid"));
}

TEST_F(JoinFixture, AGivenLookupServesTheWholeJoin) {
    put("Boss.bmp", "BMboss");
    put("town.mid", "MThd");
    s->chara(1).chbossimg.assign("boss.bmp");
    s->bgm(1).fileName.assign("TOWN.MID");
    ResourceFolder folder(res.path.string());
    const JoinResult r = joinScenario(*s, {out.path.string(), (res.path / "none").string(), "GAME", &folder}, hooks);
    ASSERT_EQ(r.status, JoinStatus::Done);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(readFile(out.path / "boss.DAT"), "..boss");
    EXPECT_EQ(readFile(out.path / "TOWN.MID"), "MThd");
}

}  // namespace
