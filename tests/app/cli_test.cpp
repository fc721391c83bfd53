// Runs quorantel-cli as a separate program on files in a temporary folder and
// checks what it writes, prints and returns.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariofile.h"
#include "scenario/text.h"

namespace fs = std::filesystem;

namespace {

using qrn::testing::readBytes;
using qrn::testing::runCli;
using RunResult = qrn::testing::CliRun;

std::unique_ptr<qrn::Scenario> openOrFail(const fs::path& p) {
    auto s = std::make_unique<qrn::Scenario>();
    auto side = std::make_unique<qrn::EditorSideData>();
    const auto r = qrn::openScenario(p.string(), *s, *side);
    EXPECT_TRUE(r.ok) << r.error;
    return s;
}

std::string u8text(const char8_t* s) { return reinterpret_cast<const char*>(s); }
std::string cp932(const char8_t* s) { return qrn::cp932Literal(u8text(s)); }

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qrn-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path path(const std::string& name) const { return dir_ / name; }
    std::string file(const std::string& name) const { return path(name).string(); }

    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A scenario with some objects and resources in use, saved as `name`.
    void writeFilledScenario(const std::string& name) {
        auto s = std::make_unique<qrn::Scenario>();
        auto side = std::make_unique<qrn::EditorSideData>();
        qrn::alldatainitialize(*s, *side, 7);
        qrn::createFirstField(*s, "t", "d", "f", 20, 10);
        qrn::layoutFieldCells(*s, 2, 201, 30, 30);
        s->field(2).name.assign("second");
        for (int n : {2, 5, 9}) s->charaImageFiles[n - 1].assign("c.bmp");
        s->itemImageFiles[0].assign("i.bmp");
        s->placeImageFiles[3].assign("p.bmp");
        s->placeImageFiles[4].assign("p.bmp");
        s->magic(3).mgdownmp = 4;
        s->comment(10).line1.assign("hello");
        s->bgm(1).fileName.assign("a.mid");
        s->walkImageFiles[2][7].assign("w.bmp");
        s->enemyType(1).members[0] = 5;
        s->cell(1).chara = 5;
        s->cell(250).chara = 5;
        s->cell(3).chara = 9;
        s->cell(4).item = 1;
        s->hero.heweapon = 1;
        ASSERT_TRUE(qrn::saveScenario(file(name), *s, false).ok);
    }

    fs::path dir_;
};

TEST_F(CliTest, NewWithDefaultsIsTheFreshScenarioWithFieldOne) {
    ASSERT_EQ(runCli({"new", file("a.snr")}).code, 0);
    EXPECT_EQ(fs::file_size(path("a.snr")), static_cast<std::uintmax_t>(qrn::kRecordSize));
    auto s = openOrFail(path("a.snr"));

    // Every byte equals the whole reset followed by what the creation dialog
    // writes with its offered entries; only the random stamp differs.
    auto expected = std::make_unique<qrn::Scenario>();
    auto side = std::make_unique<qrn::EditorSideData>();
    qrn::alldatainitialize(*expected, *side, 1);
    qrn::createFirstField(*expected, "New-Scenario", "", cp932(u8"ﾌｨｰﾙﾄﾞ 1"), 10, 10);
    expected->settings.randomStamp = s->settings.randomStamp;
    EXPECT_EQ(std::memcmp(expected.get(), s.get(), qrn::kRecordSize), 0);

    EXPECT_EQ(s->settings.randomStamp.len, 32);
    EXPECT_EQ(+s->field(1).firstCell, 1);
    EXPECT_EQ(+s->field(1).cellCount, 100);
    EXPECT_FALSE(qrn::fieldInUse(*s, 2));
    EXPECT_EQ(s->cell(100).col, 9);
    EXPECT_EQ(s->cell(100).row, 9);
}

TEST_F(CliTest, NewWithOptionsWritesTheDialogEntriesLocked) {
    ASSERT_EQ(runCli({"new", file("b.snr"), "--title", u8text(u8"冒険の書"), "--designer",
                      u8text(u8"山田"), "--field-name", u8text(u8"城下町"), "--width", "20",
                      "--height", "120"})
                  .code,
              0);
    auto s = openOrFail(path("b.snr"));
    EXPECT_EQ(s->settings.scenarioname.str(), cp932(u8"冒険の書"));
    EXPECT_EQ(s->settings.scdesigner.str(), cp932(u8"山田"));
    EXPECT_EQ(s->field(1).name.str(), cp932(u8"城下町"));
    EXPECT_EQ(+s->field(1).width, 20);
    EXPECT_EQ(+s->field(1).height, 120);
    EXPECT_EQ(+s->field(1).cellCount, 2400);
    EXPECT_EQ(s->cell(21).col, 0);
    EXPECT_EQ(s->cell(21).row, 1);
    EXPECT_EQ(s->cell(2400).col, 19);
    EXPECT_EQ(s->cell(2400).row, 119);
    EXPECT_EQ(s->cell(2401).col, 0);
    EXPECT_EQ(s->cell(2401).row, 0);

    // On disk the title is not stored plain.
    const std::string raw = readBytes(path("b.snr"));
    const std::size_t at = qrn::kSettingsOffset + offsetof(qrn::ScenarioSettings, scenarioname);
    const std::string plain = cp932(u8"冒険の書");
    ASSERT_GT(raw.size(), at + 1 + plain.size());
    EXPECT_EQ(static_cast<unsigned char>(raw[at]), plain.size());
    EXPECT_NE(raw.substr(at + 1, plain.size()), plain);
}

TEST_F(CliTest, NewGivesUntitledForEmptyEntriesAndCutsLongOnes) {
    std::string longTitle = "a";  // 1 + 16 x 2 bytes: the last character must go whole
    for (int i = 0; i < 16; ++i) longTitle += u8text(u8"あ");
    ASSERT_EQ(runCli({"new", file("c.snr"), "--title", "", "--field-name", "", "--designer",
                      longTitle})
                  .code,
              0);
    auto s = openOrFail(path("c.snr"));
    EXPECT_EQ(s->settings.scenarioname.str(), cp932(u8"無題"));
    EXPECT_EQ(s->field(1).name.str(), cp932(u8"無題"));
    EXPECT_EQ(s->settings.scdesigner.len, 31);
    EXPECT_EQ(qrn::cp932ToUtf8(s->settings.scdesigner.view()).value_or(""),
              longTitle.substr(0, 1 + 15 * 3));
}

TEST_F(CliTest, NewRefusesBadInputWithoutWritingAnything) {
    const std::vector<std::vector<std::string>> bad = {
        {"new", file("x.snr"), "--width", "15"},
        {"new", file("x.snr"), "--width", "0"},
        {"new", file("x.snr"), "--height", "130"},
        {"new", file("x.snr"), "--height", "5"},
        {"new", file("x.snr"), "--width", "2O"},
        {"new", file("x.snr"), "--width"},
        {"new", file("x.snr"), "--title", u8text(u8"旅\U0001F600")},
        {"new", file("x.snr"), "--field-name", "\xff\xfe"},
        {"new", file("x.snr"), "--colour", "red"},
        {"new"},
        {"new", file("x.snr"), file("y.snr")},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(runCli(args).code, 2) << args.back();
    }
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(CliTest, InfoDescribesFieldsAndObjectsInUse) {
    writeFilledScenario("f.snr");
    const RunResult r = runCli({"info", file("f.snr")});
    ASSERT_EQ(r.code, 0);
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["title"], "t");
    EXPECT_EQ(j["designer"], "d");
    EXPECT_EQ(j["heroStart"]["field"], 1);
    EXPECT_EQ(j["heroStart"]["position"], 1);
    ASSERT_EQ(j["fields"].size(), 2u);
    EXPECT_EQ(j["fields"][0]["name"], "f");
    EXPECT_EQ(j["fields"][0]["cellCount"], 200);
    EXPECT_EQ(j["fields"][1]["number"], 2);
    EXPECT_EQ(j["fields"][1]["name"], "second");
    EXPECT_EQ(j["fields"][1]["width"], 30);
    EXPECT_EQ(j["fields"][1]["height"], 30);
    EXPECT_EQ(j["fields"][1]["firstCell"], 201);
    EXPECT_EQ(j["fields"][1]["cellCount"], 900);
    const auto& used = j["inUse"];
    EXPECT_EQ(used["chara"], 3);
    EXPECT_EQ(used["item"], 1);
    EXPECT_EQ(used["event"], 0);
    EXPECT_EQ(used["place"], 2);
    EXPECT_EQ(used["enter"], 0);
    EXPECT_EQ(used["magic"], 1);
    EXPECT_EQ(used["poison"], 0);
    EXPECT_EQ(used["bgm"], 1);
    EXPECT_EQ(used["sound"], 0);
    EXPECT_EQ(used["comment"], 1);
    EXPECT_EQ(used["enemytype"], 1);
    EXPECT_EQ(used["walkimg"], 1);
}

TEST_F(CliTest, InfoOnHostileFieldTableStaysValidJson) {
    writeFilledScenario("h.snr");
    {
        auto s = openOrFail(path("h.snr"));
        s->field(3).firstCell = 299999;  // beyond the store's end
        s->field(3).cellCount = -5;
        s->field(3).name.len = 200;  // length above the capacity
        s->settings.scenarioname.assign("\x81");  // a lone lead byte
        ASSERT_TRUE(qrn::saveScenario(file("h.snr"), *s, false).ok);
    }
    const RunResult r = runCli({"info", file("h.snr")});
    ASSERT_EQ(r.code, 0);
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["fields"].size(), 3u);
}

TEST_F(CliTest, CopyGivesTheFileBackByteForByte) {
    ASSERT_EQ(runCli({"new", file("a.snr"), "--title", u8text(u8"写し"), "--width", "50"}).code, 0);
    writeFilledScenario("f.snr");
    ASSERT_EQ(runCli({"copy", file("a.snr"), file("a2.snr")}).code, 0);
    ASSERT_EQ(runCli({"copy", file("f.snr"), file("f2.snr")}).code, 0);
    EXPECT_EQ(readBytes(path("a.snr")), readBytes(path("a2.snr")));
    EXPECT_EQ(readBytes(path("f.snr")), readBytes(path("f2.snr")));
}

TEST_F(CliTest, DeleteObjectRemovesOneEntryAndItsReferences) {
    writeFilledScenario("f.snr");
    const std::string before = readBytes(path("f.snr"));
    ASSERT_EQ(runCli({"delete-object", file("f.snr"), "chara", "5", "-o", file("g.snr")}).code, 0);
    EXPECT_EQ(readBytes(path("f.snr")), before);  // -o leaves the input alone

    auto s = openOrFail(path("g.snr"));
    EXPECT_EQ(+s->cell(1).chara, 0);
    EXPECT_EQ(+s->cell(250).chara, 0);
    EXPECT_EQ(+s->cell(3).chara, 9);
    EXPECT_EQ(s->enemyType(1).members[0], 0);
    EXPECT_TRUE(s->charaImageFiles[4].empty());
    EXPECT_FALSE(s->charaImageFiles[8].empty());

    // Without -o the file itself changes.
    ASSERT_EQ(runCli({"delete-object", file("f.snr"), "item", "1"}).code, 0);
    s = openOrFail(path("f.snr"));
    EXPECT_EQ(+s->cell(4).item, 0);
    EXPECT_EQ(s->hero.heweapon, 0);
    EXPECT_EQ(+s->cell(1).chara, 5);
}

TEST_F(CliTest, DeleteObjectAllEmptiesTheTable) {
    writeFilledScenario("f.snr");
    ASSERT_EQ(runCli({"delete-object", file("f.snr"), "chara", "all"}).code, 0);
    auto s = openOrFail(path("f.snr"));
    for (int c : {1, 3, 250}) EXPECT_EQ(+s->cell(c).chara, 0);
    EXPECT_EQ(s->enemyType(1).members[0], 0);
    const auto j = nlohmann::json::parse(runCli({"info", file("f.snr")}).out);
    EXPECT_EQ(j["inUse"]["chara"], 0);
    EXPECT_EQ(j["inUse"]["item"], 1);

    ASSERT_EQ(runCli({"delete-object", file("f.snr"), "comment", "all"}).code, 0);
    ASSERT_EQ(runCli({"delete-object", file("f.snr"), "walkimg", "3"}).code, 0);
    const auto k = nlohmann::json::parse(runCli({"info", file("f.snr")}).out);
    EXPECT_EQ(k["inUse"]["comment"], 0);
    EXPECT_EQ(k["inUse"]["walkimg"], 0);
}

TEST_F(CliTest, DeleteObjectRefusesBadKindsAndNumbers) {
    writeFilledScenario("f.snr");
    const std::string before = readBytes(path("f.snr"));
    const std::vector<std::vector<std::string>> bad = {
        {"delete-object", file("f.snr"), "dragon", "1"},
        {"delete-object", file("f.snr"), "chara", "0"},
        {"delete-object", file("f.snr"), "chara", "251"},
        {"delete-object", file("f.snr"), "place", "401"},
        {"delete-object", file("f.snr"), "walkimg", "11"},
        {"delete-object", file("f.snr"), "comment", "-1"},
        {"delete-object", file("f.snr"), "item", "ALL"},
        {"delete-object", file("f.snr"), "item", "1x"},
        {"delete-object", file("f.snr"), "item"},
        {"delete-object", file("f.snr"), "item", "1", "-x", "y"},
    };
    for (const auto& args : bad) EXPECT_EQ(runCli(args).code, 2) << args.back();
    EXPECT_EQ(runCli({"delete-object", file("f.snr"), "place", "400"}).code, 0);
    EXPECT_EQ(runCli({"delete-object", file("f.snr"), "comment", "500", "-o", file("g.snr")}).code, 0);
    // The refused runs left the file as it was (the good ones only changed
    // entries that were fresh already).
    EXPECT_EQ(readBytes(path("f.snr")), before);
}

TEST_F(CliTest, UnreadableInputFailsWithIoErrorAndNoOutput) {
    EXPECT_EQ(runCli({"info", file("missing.snr")}).code, 1);
    EXPECT_EQ(runCli({"copy", file("missing.snr"), file("out.snr")}).code, 1);
    EXPECT_EQ(runCli({"delete-object", file("missing.snr"), "chara", "1", "-o", file("out.snr")}).code, 1);
    {
        std::ofstream shortFile(path("short.snr"), std::ios::binary);
        shortFile << std::string(1000, 'x');
    }
    EXPECT_EQ(runCli({"copy", file("short.snr"), file("out.snr")}).code, 1);
    EXPECT_EQ(runCli({"info", file("short.snr")}).code, 1);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"short.snr"});

    // Writing into a folder that does not exist fails without a trace.
    EXPECT_EQ(runCli({"new", file("nowhere/a.snr")}).code, 1);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"short.snr"});
}

}  // namespace
