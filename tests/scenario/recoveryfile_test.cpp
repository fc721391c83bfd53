// The recovery file opens like a scenario file and names its origin; a cut or
// foreign file is not taken for one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "scenario/recoveryfile.h"
#include "scenario/resets.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("qrn_recovery_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

TEST(RecoveryFile, RoundTripsTheRecordAndNamesItsOrigin) {
    TempDir dir;
    auto s = test::newScenario();
    test::fillPlausible(*s, 5);
    s->settings.scenarioname.assign("village");
    const auto before = test::copyOf(*s);
    const std::string path = (dir.path / "r.snr").string();
    ASSERT_TRUE(writeRecoveryFile(path, *s, "/home/a/村.SNR", 1700000000).ok);
    EXPECT_EQ(test::firstDifference(*s, *before), -1);  // plain again in memory

    const auto info = readRecoveryInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->sourcePath, "/home/a/村.SNR");
    EXPECT_EQ(info->writtenAt, 1700000000);
    EXPECT_EQ(info->scenarioName, "village");

    auto opened = test::newScenario();
    EditorSideData side;
    ASSERT_TRUE(openScenario(path, *opened, side).ok);
    EXPECT_EQ(test::firstDifference(*opened, *before), -1);
    // Nothing of the temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(RecoveryFile, CutOrForeignFilesAreNotRecoveryFiles) {
    TempDir dir;
    auto s = test::newScenario();
    const std::string path = (dir.path / "r.snr").string();
    ASSERT_TRUE(writeRecoveryFile(path, *s, "/x.snr", 1).ok);
    const std::string plain = (dir.path / "plain.snr").string();
    ASSERT_TRUE(saveScenario(plain, *s, false).ok);
    EXPECT_FALSE(readRecoveryInfo(plain));
    fs::resize_file(path, fs::file_size(path) - 3);
    EXPECT_FALSE(readRecoveryInfo(path));
    EXPECT_FALSE(readRecoveryInfo((dir.path / "missing").string()));
    EXPECT_FALSE(readRecoveryInfo(dir.path.string()));
}

}  // namespace
}  // namespace qrn
