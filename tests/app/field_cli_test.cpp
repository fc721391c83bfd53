// new-field, resize-field and delete-field run as a separate program: what
// they write, the editor's messages on stderr and the refusals.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariofile.h"
#include "scenario/text.h"

namespace fs = std::filesystem;
using namespace qrn;

namespace {

using qrn::testing::CliRun;
using qrn::testing::readBytes;

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

class FieldCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qrn-fieldcli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }

    CliRun run(const std::vector<std::string>& args) { return qrn::testing::runCli(args, file("stderr.txt")); }

    // A scenario of fields of the given sizes, with title and designer set.
    std::unique_ptr<Scenario> scenario(std::initializer_list<std::pair<int, int>> sizes) {
        auto s = std::make_unique<Scenario>();
        EditorSideData side{};
        alldatainitialize(*s, side, 3);
        bool first = true;
        for (auto [w, h] : sizes) {
            if (first) createFirstField(*s, cp932Literal(utf8(u8"物語")), cp932Literal(utf8(u8"作者")), "one", w, h);
            else EXPECT_EQ(placeNewField(*s, firstFreeFieldSlot(*s), w, h), AddFieldResult::Added);
            first = false;
        }
        return s;
    }
    void save(Scenario& s, const std::string& name) { ASSERT_TRUE(saveScenario(file(name), s, false).ok); }
    std::unique_ptr<Scenario> open(const std::string& name) {
        auto s = std::make_unique<Scenario>();
        EditorSideData side{};
        EXPECT_TRUE(openScenario(file(name), *s, side).ok);
        return s;
    }

    fs::path dir_;
};

}  // namespace

TEST_F(FieldCli, NewFieldKeepsTitleAndDesignerAndFollowsTheLastField) {
    auto s = scenario({{10, 10}, {20, 20}, {10, 10}});
    save(*s, "a.snr");
    const std::string original = readBytes(file("a.snr"));

    CliRun r = run({"new-field", file("a.snr"), "--name", utf8(u8"洞窟"), "--width", "30", "--height", "20",
                 "-o", file("b.snr")});
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "4\n");
    EXPECT_EQ(readBytes(file("a.snr")), original);  // -o leaves the input alone
    auto b = open("b.snr");
    EXPECT_EQ(+b->field(4).firstCell, 601);
    EXPECT_EQ(+b->field(4).width, 30);
    EXPECT_EQ(+b->field(4).height, 20);
    EXPECT_EQ(b->field(4).name.str(), cp932Literal(utf8(u8"洞窟")));
    EXPECT_EQ(b->settings.scenarioname.str(), cp932Literal(utf8(u8"物語")));
    EXPECT_EQ(b->settings.scdesigner.str(), cp932Literal(utf8(u8"作者")));
    EXPECT_TRUE(fieldInvariantViolations(*b).empty());

    // In place, without a name: "無題", 10 x 10.
    ASSERT_EQ(run({"new-field", file("b.snr")}).code, 0);
    auto c = open("b.snr");
    EXPECT_EQ(c->field(5).name.str(), cp932Literal(utf8(u8"無題")));
    EXPECT_EQ(+c->field(5).cellCount, 100);
}

TEST_F(FieldCli, RefusalsShowTheEditorsMessageAndLeaveTheFileUntouched) {
    auto full = scenario({{10, 10}});
    while (firstFreeFieldSlot(*full) != 0) placeNewField(*full, firstFreeFieldSlot(*full), 10, 10);
    save(*full, "full.snr");
    auto crowded = scenario({{120, 120}});
    for (int f = 2; f <= 20; ++f) placeNewField(*crowded, f, 120, 120);
    placeNewField(*crowded, 21, 100, 120);  // the pool is full now
    save(*crowded, "crowded.snr");

    const std::string noSlot = utf8(u8"これ以上ﾌｨｰﾙﾄﾞを作成する事は出来ません。");
    const std::string noRoom = utf8(u8"ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません");
    const std::string notFirst = utf8(u8"このﾌｨｰﾙﾄﾞは削除できません。");
    struct Case { std::vector<std::string> args; std::string message; };
    const std::vector<Case> cases = {
        {{"new-field", file("full.snr")}, noSlot},
        {{"new-field", file("crowded.snr")}, noRoom},
        {{"resize-field", file("crowded.snr"), "21", "110", "120"}, noRoom},
        {{"resize-field", file("crowded.snr"), "1", "120", "120"}, ""},  // same size: nothing to do
        {{"delete-field", file("full.snr"), "1"}, notFirst},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const std::string before = readBytes(c.args[1]);
        CliRun r = run(c.args);
        EXPECT_EQ(r.code, c.message.empty() ? 0 : 2);
        EXPECT_EQ(r.errLines, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
        EXPECT_EQ(readBytes(c.args[1]), before);
    }
    // Shrinking makes room again.
    ASSERT_EQ(run({"resize-field", file("crowded.snr"), "21", "10", "10"}).code, 0);
    ASSERT_EQ(run({"new-field", file("crowded.snr"), "--width", "100", "--height", "100"}).code, 0);
    EXPECT_TRUE(fieldInvariantViolations(*open("crowded.snr")).empty());
}

TEST_F(FieldCli, ResizeTellsEachResetLocationOnItsOwnLine) {
    auto s = scenario({{20, 20}, {10, 10}});
    s->field(1).name.assign(cp932Literal(utf8(u8"草原")));
    s->enter(3).name.assign(cp932Literal(utf8(u8"塔")));
    s->cell(76).enter = 3;  // column 15, row 3
    s->field(1).warpPoints[0] = 76;
    s->field(1).warpPoints[1] = 106;
    s->hero.startField = 1;
    s->hero.startPosition = 76;
    save(*s, "a.snr");

    CliRun r = run({"resize-field", file("a.snr"), "1", "10", "10"});
    ASSERT_EQ(r.code, 0);
    const std::vector<std::string> expected = {
        utf8(u8"草原のワープ可能地点塔を削除します。"),
        utf8(u8"主人公のｽﾀｰﾄﾛｹｰﾄを初期位置にします。"),
    };
    EXPECT_EQ(r.errLines, expected);
    auto t = open("a.snr");
    EXPECT_EQ(+t->field(1).warpPoints[0], 56);
    EXPECT_EQ(+t->field(2).firstCell, 101);
    EXPECT_EQ(+t->hero.startPosition, 1);
    EXPECT_TRUE(fieldInvariantViolations(*t).empty());
}

TEST_F(FieldCli, DeleteFieldRenumbersTheLaterOnes) {
    auto s = scenario({{10, 10}, {20, 10}, {10, 30}});
    s->field(3).name.assign("third");
    s->enter(7).jumpField = 3;
    s->enter(7).jumpPosition = 250;
    s->event(8).jumpField = 2;
    s->event(8).jumpPosition = 5;
    save(*s, "a.snr");
    CliRun r = run({"delete-field", file("a.snr"), "2"});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.errLines.empty());
    auto t = open("a.snr");
    EXPECT_EQ(t->field(2).name.str(), "third");
    EXPECT_EQ(+t->field(2).firstCell, 101);
    EXPECT_FALSE(fieldInUse(*t, 3));
    EXPECT_EQ(t->enter(7).jumpField, 2);
    EXPECT_EQ(+t->enter(7).jumpPosition, 250);
    EXPECT_EQ(t->event(8).jumpField, 0);
    EXPECT_TRUE(fieldInvariantViolations(*t).empty());
}

TEST_F(FieldCli, BadArgumentsAndDamagedFilesAreRefused) {
    auto s = scenario({{10, 10}, {10, 10}});
    save(*s, "a.snr");
    s->field(2).firstCell = 299999;  // runs past the store
    save(*s, "bad.snr");
    const std::string good = readBytes(file("a.snr"));
    const std::string bad = readBytes(file("bad.snr"));
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"new-field", file("a.snr"), "--width", "15"},
             {"new-field", file("a.snr"), "--height", "130"},
             {"resize-field", file("a.snr"), "2", "10"},
             {"resize-field", file("a.snr"), "3", "10", "10"},
             {"resize-field", file("a.snr"), "x", "10", "10"},
             {"delete-field", file("a.snr"), "101"},
             {"delete-field", file("a.snr"), "3"},
             {"new-field", file("bad.snr")},
             {"resize-field", file("bad.snr"), "1", "20", "20"},
             {"delete-field", file("bad.snr"), "2"},
         }) {
        SCOPED_TRACE(args[0] + " " + args.back());
        EXPECT_EQ(run(args).code, 2);
    }
    EXPECT_EQ(readBytes(file("a.snr")), good);
    EXPECT_EQ(readBytes(file("bad.snr")), bad);
    EXPECT_EQ(run({"delete-field", file("missing.snr"), "2"}).code, 1);
}
