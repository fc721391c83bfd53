// check runs as a separate program: its lines, its JSON and its exit codes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariofile.h"

namespace fs = std::filesystem;
using namespace qrn;
using qrn::testing::runCli;

namespace {

class CheckCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qrn-checkcli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }
    // A new scenario of one unpainted field: the hero starts on a cell without terrain.
    std::string freshFile(bool painted) {
        auto s = std::make_unique<Scenario>();
        EditorSideData side;
        alldatainitialize(*s, side, 5);
        createFirstField(*s, "t", "", "f", 10, 10);
        if (painted) {
            s->placeImageFiles[0].assign("grass.bmp");
            for (int c = 1; c <= 100; ++c) s->cell(c).place = 1;
        }
        const std::string path = (dir_ / (painted ? "painted.snr" : "fresh.snr")).string();
        EXPECT_TRUE(saveScenario(path, *s, false).ok);
        return path;
    }
    fs::path dir_;
};

TEST_F(CheckCli, ExitCodesFollowTheFindings) {
    const std::string fresh = freshFile(false);
    auto r = runCli({"check", fresh});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "エラー\tフィールド 1「f」 X:1 Y:1\t主人公のスタート地点に地形がありません。\nエラー 1 件、警告 0 件\n");

    // The painted field names grass.bmp, which the folder does not hold.
    const std::string painted = freshFile(true);
    r = runCli({"check", painted, "--resources", dir_.string()});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.out.find("画像「grass.bmp」がリソースフォルダにありません。"), std::string::npos) << r.out;
    { std::ofstream(dir_ / "GRASS.bmp", std::ios::binary) << std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0\x28\0\0\0\x20\0\0\0\x20\0\0\0", 26); }
    r = runCli({"check", painted, "--resources", dir_.string()});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("警告\t地形 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("エラー 0 件、警告 1 件\n"), std::string::npos);

    EXPECT_EQ(runCli({"check", (dir_ / "none.snr").string()}).code, 1);
    EXPECT_EQ(runCli({"check"}).code, 2);
    EXPECT_EQ(runCli({"check", fresh, "--resources", (dir_ / "none").string()}).code, 2);
    EXPECT_EQ(runCli({"check", fresh, "--bogus", "x"}).code, 2);
}

TEST_F(CheckCli, JsonIsOneArrayWithTheSummaryOnStderr) {
    const std::string err = (dir_ / "err.txt").string();
    const auto r = runCli({"check", freshFile(false), "--json"}, err);
    EXPECT_EQ(r.code, 3);
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_TRUE(j.is_array());
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0]["severity"], "error");
    EXPECT_EQ(j[0]["kind"], "bad-location");
    EXPECT_EQ(j[0]["place"], nlohmann::json({{"kind", "cell"}, {"field", 1}, {"x", 1}, {"y", 1}}));
    ASSERT_EQ(r.errLines.size(), 1u);
    EXPECT_EQ(r.errLines[0], "エラー 1 件、警告 0 件");
}

TEST_F(CheckCli, TheDemoHasNoError) {
#ifndef QRN_DEMO_DIR
    GTEST_SKIP() << "the demo is not built";
#else
    const fs::path demo = QRN_DEMO_DIR;
    const auto r = runCli({"check", (demo / "demo.snr").string(), "--resources", (demo / "resources").string()});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out.find("エラー\t"), std::string::npos) << r.out;

    // A picture taken out of the folder is named with its owner.
    const fs::path copy = dir_ / "resources";
    fs::copy(demo / "resources", copy);
    fs::remove(copy / "chest.bmp");
    const auto broken = runCli({"check", (demo / "demo.snr").string(), "--resources", copy.string()});
    EXPECT_EQ(broken.code, 3);
    EXPECT_NE(broken.out.find("エラー\tイベント 1「宝箱」\t画像「chest.bmp」がリソースフォルダにありません。\n"),
              std::string::npos)
        << broken.out;
#endif
}

}  // namespace
