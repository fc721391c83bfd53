// export-tmx and import-tmx run as a separate program: the round trip leaves
// the scenario file byte-identical, an edit made in the map comes back into
// its cell, and a refused map leaves the file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariofile.h"
#include "scenario/text.h"

namespace fs = std::filesystem;
using namespace qrn;
using qrn::testing::CliRun;
using qrn::testing::readBytes;

namespace {

class TmxCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qrn-tmxcli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        auto s = std::make_unique<Scenario>();
        EditorSideData side{};
        alldatainitialize(*s, side, 5);
        createFirstField(*s, "T", "D", *utf8ToCp932("草原"), 10, 10);
        for (int n = 1; n <= 100; ++n) {
            Cell& c = s->cell(n);
            c.place = 1 + n % 400;
            c.enter = static_cast<u8>(n % 3 ? 0 : 250);
            c.event = static_cast<u8>(n % 7 ? 0 : n);
            c.item = static_cast<u8>(n % 2);
            c.chara = static_cast<u8>(n == 50 ? 9 : 0);
        }
        ASSERT_TRUE(saveScenario(file("s.snr"), *s, false).ok);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    CliRun run(const std::vector<std::string>& args) { return qrn::testing::runCli(args, file("stderr.txt")); }
    std::string exported() {
        const CliRun r = run({"export-tmx", file("s.snr"), "1", file("out")});
        EXPECT_EQ(r.code, 0) << (r.errLines.empty() ? "" : r.errLines[0]);
        return readBytes(file("out/field1.tmx"));
    }
    void writeMap(const std::string& text) { std::ofstream(file("out/field1.tmx"), std::ios::binary) << text; }

    fs::path dir_;
};

TEST_F(TmxCli, RoundTripIsByteIdenticalAndAnEditComesBack) {
    std::string map = exported();
    for (const char* name : {"place", "enter", "event", "item", "chara"}) {
        EXPECT_TRUE(fs::exists(file("out/") + name + ".tsx")) << name;
        EXPECT_TRUE(fs::exists(file("out/") + name + ".png")) << name;
    }
    EXPECT_NE(map.find("<property name=\"name\" value=\"草原\"/>"), std::string::npos);
    CliRun r = run({"import-tmx", file("s.snr"), "1", file("out/field1.tmx"), "-o", file("back.snr")});
    ASSERT_EQ(r.code, 0) << (r.errLines.empty() ? "" : r.errLines[0]);
    EXPECT_EQ(r.out, "0\n");
    EXPECT_TRUE(readBytes(file("back.snr")) == readBytes(file("s.snr")));

    // Terrain 3 painted over the first cell (gid 3), then imported in place.
    const std::size_t data = map.find("<data encoding=\"csv\">\n");
    ASSERT_NE(data, std::string::npos);
    const std::size_t first = data + std::strlen("<data encoding=\"csv\">\n");
    map.replace(first, map.find(',', first) - first, "3");
    writeMap(map);
    r = run({"import-tmx", file("s.snr"), "1", file("out/field1.tmx")});
    ASSERT_EQ(r.code, 0) << (r.errLines.empty() ? "" : r.errLines[0]);
    EXPECT_EQ(r.out, "1\n");
    auto s = std::make_unique<Scenario>();
    EditorSideData side{};
    ASSERT_TRUE(openScenario(file("s.snr"), *s, side).ok);
    EXPECT_EQ(+s->cell(cellOf(*s, 1, 1)).place, 3);
}

TEST_F(TmxCli, RefusedMapsLeaveTheFileAsItWas) {
    const std::string map = exported();
    const std::string before = readBytes(file("s.snr"));
    struct Case {
        std::string from, to, message;
    };
    const Case cases[] = {
        {"width=\"10\" height=\"10\" tilewidth", "width=\"20\" height=\"10\" tilewidth",
         "マップの大きさがﾌｨｰﾙﾄﾞの大きさと違います。"},
        {"name=\"ｱｲﾃﾑ\" width", "name=\"item\" width", "レイヤー「ｱｲﾃﾑ」がありません。"},
        {"encoding=\"csv\">\n2,", "encoding=\"csv\">\n2147483650,", "レイヤー「地形」の(1, 1)のタイルは反転または回転しています。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::string edited = map;
        const std::size_t at = edited.find(c.from);
        ASSERT_NE(at, std::string::npos);
        edited.replace(at, c.from.size(), c.to);
        writeMap(edited);
        const CliRun r = run({"import-tmx", file("s.snr"), "1", file("out/field1.tmx")});
        EXPECT_EQ(r.code, 2);
        ASSERT_EQ(r.errLines.size(), 1u);
        EXPECT_EQ(r.errLines[0], c.message);
        EXPECT_TRUE(readBytes(file("s.snr")) == before);
    }
    EXPECT_EQ(run({"import-tmx", file("s.snr"), "2", file("out/field1.tmx")}).code, 2);
    EXPECT_EQ(run({"import-tmx", file("s.snr"), "1", file("none.tmx")}).code, 2);
    EXPECT_EQ(run({"export-tmx", file("s.snr"), "3", file("out")}).code, 2);
    EXPECT_EQ(run({"export-tmx", file("none.snr"), "1", file("out")}).code, 1);
    EXPECT_TRUE(readBytes(file("s.snr")) == before);
}

}  // namespace
