// join and export-bmp run as a separate program: the bitmap written, the
// runner files, the scenario file left as it was, and the exit codes.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariofile.h"

namespace fs = std::filesystem;
using namespace qrn;
using qrn::testing::CliRun;
using qrn::testing::readBytes;

namespace {

// A 32 x 32 24-bit bitmap of one colour (0xRRGGBB) with an optional centre
// square of another.
std::string bitmap(unsigned colour, int centre = -1) {
    std::string b(54 + 32 * 96, '\0');
    auto put32 = [&](int at, unsigned v) { for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i)); };
    b[0] = 'B'; b[1] = 'M';
    put32(2, static_cast<unsigned>(b.size()));
    put32(10, 54); put32(14, 40); put32(18, 32); put32(22, 32);
    b[26] = 1; b[28] = 24;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const unsigned c = centre >= 0 && x >= 8 && x < 24 && y >= 8 && y < 24 ? unsigned(centre) : colour;
            char* p = &b[54 + y * 96 + x * 3];
            p[0] = char(c); p[1] = char(c >> 8); p[2] = char(c >> 16);
        }
    return b;
}

// Pixel (x, y) of a 24-bit bottom-up bitmap as 0xRRGGBB.
unsigned pixel(const std::string& bmp, int x, int y) {
    int w, h;
    std::memcpy(&w, &bmp[18], 4);
    std::memcpy(&h, &bmp[22], 4);
    const int stride = (w * 3 + 3) & ~3;
    const auto* p = reinterpret_cast<const unsigned char*>(&bmp[54 + (h - 1 - y) * stride + x * 3]);
    return unsigned(p[2]) << 16 | unsigned(p[1]) << 8 | p[0];
}

class RenderCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qrn-rendercli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        s_ = std::make_unique<Scenario>();
        EditorSideData side{};
        alldatainitialize(*s_, side, 5);
        createFirstField(*s_, "T", "D", "F", 10, 10);
        put("red.bmp", bitmap(0xFF0000));
        put("man.bmp", bitmap(0xFFFFFF, 0x0000FF));  // white is masked out
        s_->placeImageFiles[0].assign("RED.bmp");    // found by another case
        s_->charaImageFiles[0].assign("man.bmp");
        s_->chara(1).imageTransparent = 1;
        s_->chara(1).imageColour = 0xFFFFFF;
        for (int n = 1; n <= 100; ++n) s_->cell(n).place = 1;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const std::string& bytes) { std::ofstream(dir_ / name, std::ios::binary) << bytes; }
    void save() { ASSERT_TRUE(saveScenario(file("s.snr"), *s_, false).ok); }
    CliRun run(const std::vector<std::string>& args) { return qrn::testing::runCli(args, file("stderr.txt")); }

    fs::path dir_;
    std::unique_ptr<Scenario> s_;
};

TEST_F(RenderCli, ExportDrawsEveryLayerWithTransparencyAt32PixelsPerCell) {
    s_->cell(cellOf(*s_, 1, 2 * 10 + 4)).chara = 1;  // column 3, row 2
    s_->cell(cellOf(*s_, 1, 5)).place = 0;            // nothing: the blank background
    s_->cell(cellOf(*s_, 1, 6)).place = 401;          // out of range: nothing
    save();
    const CliRun r = run({"export-bmp", file("s.snr"), "1", file("out.bmp")});
    ASSERT_EQ(r.code, 0) << (r.errLines.empty() ? "" : r.errLines[0]);
    EXPECT_TRUE(r.errLines.empty());
    const std::string bmp = readBytes(file("out.bmp"));
    ASSERT_EQ(bmp.size(), 54u + 320 * 320 * 3);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(pixel(bmp, 0, 0), 0xFF0000u);
    EXPECT_EQ(pixel(bmp, 3 * 32 + 1, 2 * 32 + 1), 0xFF0000u);    // masked corner shows the terrain
    EXPECT_EQ(pixel(bmp, 3 * 32 + 16, 2 * 32 + 16), 0x0000FFu);  // the character on top
    EXPECT_EQ(pixel(bmp, 4 * 32 + 5, 5), 0x000000u);
    EXPECT_EQ(pixel(bmp, 5 * 32 + 5, 5), 0x000000u);
}

TEST_F(RenderCli, ExportRefusals) {
    s_->field(1).width = 130;  // a damaged size
    save();
    CliRun r = run({"export-bmp", file("s.snr"), "1", file("out.bmp")});
    EXPECT_EQ(r.code, 2);
    ASSERT_EQ(r.errLines.size(), 1u);
    EXPECT_EQ(r.errLines[0], "システムリソースが足りません。画面の表示色を落とすか、フィールドノサイズを小さくして下さい。");
    EXPECT_FALSE(fs::exists(file("out.bmp")));
    EXPECT_EQ(run({"export-bmp", file("s.snr"), "2", file("out.bmp")}).code, 2);
    EXPECT_EQ(run({"export-bmp", file("s.snr"), "x", file("out.bmp")}).code, 2);
    s_->field(1).width = 10;
    save();
    EXPECT_EQ(run({"export-bmp", file("s.snr"), "1", file("no/such/dir/out.bmp")}).code, 1);
    EXPECT_EQ(run({"export-bmp", file("none.snr"), "1", file("out.bmp")}).code, 1);
}

TEST_F(RenderCli, JoinWritesTheRunnerFilesAndLeavesTheScenarioFileAlone) {
    s_->settings.titleBitmaps[0].assign("red.bmp");
    s_->settings.endingBitmaps[0].assign("gone.bmp");
    s_->chara(1).chbossimg.assign("../red.bmp");
    save();
    const std::string before = readBytes(file("s.snr"));
    fs::create_directory(file("out"));
    const CliRun r = run({"join", file("s.snr"), file("out"), "GAME.snr"});
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(readBytes(file("s.snr")), before);
    ASSERT_EQ(r.errLines.size(), 2u);  // the unsafe name and the missing file, one line each
    EXPECT_NE(r.errLines[0].find("../red.bmp"), std::string::npos);
    EXPECT_NE(r.errLines[1].find("gone.bmp"), std::string::npos);
    const std::string sheet = readBytes(file("out/GAME.CHP"));
    ASSERT_GE(sheet.size(), 54u);
    EXPECT_EQ(sheet.substr(0, 2), "..");
    EXPECT_EQ(pixel(sheet, 0, 0), 0xFF0000u);                    // chip 1: the terrain
    EXPECT_EQ(pixel(sheet, 32 + 16, 16), 0x0000FFu);             // chip 2: the character
    EXPECT_EQ(pixel(sheet, 32 + 1, 1), 0x000000u);               // drawn with its mask on black
    EXPECT_EQ(fs::file_size(file("out/GAME.DST")), 869775u);
    EXPECT_EQ(readBytes(file("out/red.DAT")), ".." + bitmap(0xFF0000).substr(2));
    EXPECT_TRUE(fs::exists(file("out/GAME.LCT")));
    EXPECT_TRUE(fs::exists(file("out/GAME.TXT")));
    EXPECT_NE(r.out.find("GAME.TXT"), std::string::npos);
    EXPECT_NE(r.out.find("out/に"), std::string::npos) << r.out;  // the folder as the editor shows it
}

TEST_F(RenderCli, JoinExitCodes) {
    save();
    fs::create_directory(file("out"));
    EXPECT_EQ(run({"join", file("s.snr"), file("out"), "a/b"}).code, 2);
    EXPECT_EQ(run({"join", file("s.snr"), file("out"), ".snr"}).code, 2);
    const CliRun noFolder = run({"join", file("s.snr"), file("none"), "G"});
    EXPECT_EQ(noFolder.code, 1);
    ASSERT_EQ(noFolder.errLines.size(), 1u);
    EXPECT_EQ(noFolder.errLines[0], "結合ファイル出力フォルダは無効です。");
    fs::create_directory(file("out/G.DST"));  // in the way of the runner record
    const CliRun blocked = run({"join", file("s.snr"), file("out"), "G"});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_TRUE(blocked.out.empty());  // no success message after a failure
    EXPECT_FALSE(fs::exists(file("out/G.TXT")));

    // The sheet is drawn and written by the drawing program beside the tool:
    // its picture lines come before the copies', and its failure is the join's.
    s_->itemImageFiles[0].assign("nochip.bmp");
    s_->settings.endingBitmaps[0].assign("gone.bmp");
    save();
    const CliRun told = run({"join", file("s.snr"), file("out"), "H"});
    ASSERT_EQ(told.code, 0);
    ASSERT_EQ(told.errLines.size(), 2u);
    EXPECT_NE(told.errLines[0].find("nochip.bmp"), std::string::npos);
    EXPECT_NE(told.errLines[1].find("gone.bmp"), std::string::npos);
    fs::create_directory(file("out/S.CHP"));
    const CliRun noSheet = run({"join", file("s.snr"), file("out"), "S"});
    EXPECT_EQ(noSheet.code, 1);
    EXPECT_TRUE(noSheet.out.empty());
    EXPECT_NE(noSheet.errLines.back().find("S.CHP"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(file("out/S.CHP")));
}

}  // namespace
