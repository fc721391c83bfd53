// The scenario file: damaged and hostile files, failed opens and saves that
// must not lose anything, and saves that come back byte for byte.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "scenario/resets.h"
#include "scenario/scenariofile.h"
#include "scenario/text.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::string data(fs::file_size(p), '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    return data;
}

void writeAll(const fs::path& p, const std::string& data) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::string s(n + 8, '\0');
    for (std::size_t i = 0; i < n; i += 8) {
        const std::uint64_t v = rng();
        std::memcpy(s.data() + i, &v, 8);
    }
    s.resize(n);
    return s;
}

std::set<std::string> entriesOf(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// Root writes into read-only folders anyway; drop the capabilities that
// allow it for the life of this object.
class WithoutOverrideRights {
public:
    WithoutOverrideRights() {
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        const unsigned drop = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
        reduced[0].effective &= ~drop;
        changed_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutOverrideRights() {
        if (changed_) syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool changed_ = false;
};

struct ScenarioFile : ::testing::Test {
    fs::path dir;
    ScenarioPtr s = newScenario();
    std::unique_ptr<EditorSideData> side = std::make_unique<EditorSideData>();

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qrn-file-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        fillRandom(*s, 31);
        side->joinName = "keep";
        side->pictures.place[7] = 99;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }

    // A failed open changes neither the scenario nor the editor's side data.
    void expectOpenFails(const fs::path& p) {
        SCOPED_TRACE(p.string());
        auto before = copyOf(*s);
        const FileResult r = openScenario(p.string(), *s, *side);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.empty());
        EXPECT_TRUE(sameBytes(*s, *before));
        EXPECT_EQ(side->joinName, "keep");
        EXPECT_EQ(+side->pictures.place[7], 99);
    }
};

}  // namespace

TEST_F(ScenarioFile, BadFilesLeaveTheScenarioAlone) {
    writeAll(dir / "empty.snr", "");
    expectOpenFails(dir / "empty.snr");
    writeAll(dir / "short.snr", randomBytes(kRecordSize - 1, 1));
    expectOpenFails(dir / "short.snr");
    expectOpenFails(dir / "missing.snr");
    fs::create_directory(dir / "folder.snr");
    expectOpenFails(dir / "folder.snr");
    ASSERT_EQ(::mkfifo((dir / "pipe.snr").c_str(), 0600), 0);
    expectOpenFails(dir / "pipe.snr");  // no writer: fails at once, never hangs
}

TEST_F(ScenarioFile, SaveThenOpenGivesTheSameRecord) {
    auto plain = copyOf(*s);
    const fs::path file = dir / "a.snr";
    ASSERT_TRUE(saveScenario(file.string(), *s, false).ok);
    EXPECT_TRUE(sameBytes(*s, *plain));  // plain again in memory

    // On disk the texts are locked: the file is the locked record.
    auto locked = copyOf(*plain);
    lockdata(*locked, true);
    const std::string onDisk = readAll(file);
    ASSERT_EQ(onDisk.size(), static_cast<std::size_t>(kRecordSize));
    EXPECT_EQ(std::memcmp(onDisk.data(), locked->bytes(), kRecordSize), 0);

    auto other = newScenario();
    const FileResult r = openScenario(file.string(), *other, *side);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(sameBytes(*other, *plain));
    EXPECT_TRUE(side->joinName.empty());  // the open starts from a whole reset
    EXPECT_EQ(+side->pictures.place[7], 0);
    // Read straight into a fresh record: the same record, a short file refused.
    auto fresh = newScenario();
    fillRandom(*fresh, 7);
    ASSERT_TRUE(openScenarioInto(file.string(), *fresh, *side).ok);
    EXPECT_TRUE(sameBytes(*fresh, *plain));
    writeAll(dir / "short.snr", readAll(file).substr(0, kRecordSize - 1));
    EXPECT_FALSE(openScenarioInto((dir / "short.snr").string(), *fresh, *side).ok);
    fs::remove(dir / "short.snr");

    // Two saves write identical files; overwriting works.
    const fs::path second = dir / "b.snr";
    ASSERT_TRUE(saveScenario(second.string(), *other, false).ok);
    ASSERT_TRUE(saveScenario(file.string(), *other).ok);
    EXPECT_EQ(readAll(file), readAll(second));
    EXPECT_EQ(entriesOf(dir), (std::set<std::string>{"a.snr", "b.snr"}));
}

TEST_F(ScenarioFile, ExtraBytesAfterTheRecordAreIgnored) {
    auto plain = copyOf(*s);
    const fs::path file = dir / "long.snr";
    ASSERT_TRUE(saveScenario(file.string(), *s, false).ok);
    writeAll(file, readAll(file) + randomBytes(5000, 2));
    auto other = newScenario();
    ASSERT_TRUE(openScenario(file.string(), *other, *side).ok);
    EXPECT_TRUE(sameBytes(*other, *plain));
}

// The open from bytes in memory is the file's open: the same record, the
// side data as the whole reset leaves it, and a short buffer changes nothing.
TEST_F(ScenarioFile, OpeningFromBytesMatchesTheWholeReset) {
    auto plain = copyOf(*s);
    auto locked = copyOf(*s);
    lockdata(*locked, true);
    side->pristine.comment.line1.chars[0] = 'x';
    auto other = newScenario();
    ASSERT_FALSE(openScenarioBytes(locked->bytes(), kRecordSize - 1, *other, *side).ok);
    EXPECT_EQ(side->joinName, "keep");
    ASSERT_TRUE(openScenarioBytes(locked->bytes(), kRecordSize, *other, *side).ok);
    EXPECT_TRUE(sameBytes(*other, *plain));

    auto reset = newScenario();
    auto expected = std::make_unique<EditorSideData>();
    expected->joinName = "old";
    alldatainitialize(*reset, *expected, 5);
    EXPECT_TRUE(side->joinName.empty());
    EXPECT_EQ(std::memcmp(&side->pictures, &expected->pictures, sizeof side->pictures), 0);
    EXPECT_EQ(std::memcmp(&side->pristine, &expected->pristine, sizeof side->pristine), 0);
}

// Random bytes of the right size are a scenario like any other: every
// helper and every reset must stay inside the record (the sanitizer build
// checks that).
TEST_F(ScenarioFile, RandomFileOpensAndEveryOperationStaysSafe) {
    const fs::path file = dir / "random.snr";
    writeAll(file, randomBytes(kRecordSize, 3));
    ASSERT_TRUE(openScenario(file.string(), *s, *side).ok);
    Scenario& r = *s;

    long long sum = fieldsInUseCount(r);
    for (int f = -1; f <= kFieldCount + 1; ++f) {
        sum += myend(r, f) + fieldInUse(r, f);
        for (int p : {-1, 0, 1, 2, 100, 14400, 32767, 300000, 2147483647}) {
            sum += cellOf(r, f, p) + makerserchenter(r, p, f);
        }
        for (int axis = 0; axis < 2; ++axis) sum += linkby(r, 2, f, axis);
    }
    for (int n = -1; n <= 251; ++n)
        for (int kind = -1; kind <= 4; ++kind)
            for (int axis = 0; axis < 2; ++axis) sum += linkby(r, kind, n, axis);
    EXPECT_NE(sum, 0);
    for (const auto& c : r.charas) sum += static_cast<long long>(cp932ToUtf8Lossy(c.name.view()).size());
    for (const auto& c : r.comments) sum += static_cast<long long>(cp932ToUtf8Lossy(c.line1.view()).size());

    // Single deletes of the first and last entry, then the whole-table forms.
    using Reset = void (*)(Scenario&, int, bool);
    const std::pair<Reset, int> resets[] = {
        {charainitialize, kCharaCount}, {iteminitialize, kItemCount},   {eventinitialize, kEventCount},
        {placeinitialize, kPlaceCount}, {enterinitialize, kEnterCount}, {magicinitialize, kMagicCount},
        {poisoninitialize, kPoisonCount}, {bgminitialize, kBgmCount},   {soundinitialize, kSoundCount},
        {commentinitialize, kCommentCount}, {enemytypeinitialize, kEnemyTypeCount},
        {walkimginitialize, kWalkImgCount},
    };
    for (auto [reset, count] : resets) {
        reset(r, 1, false);
        reset(r, count, false);
    }
    auto reloaded = newScenario();
    ASSERT_TRUE(openScenario(file.string(), *reloaded, *side).ok);
    for (auto [reset, count] : resets) reset(*reloaded, -1, true);
    for (auto [reset, count] : resets) reset(*reloaded, -1, false);
    ASSERT_TRUE(saveScenario((dir / "again.snr").string(), *reloaded, false).ok);
    alldatainitialize(*reloaded, *side, 1);
    EXPECT_EQ(fieldsInUseCount(*reloaded), 0);
}

TEST_F(ScenarioFile, SaveIntoAReadOnlyFolderKeepsTheOldFile) {
    const fs::path file = dir / "keep.snr";
    ASSERT_TRUE(saveScenario(file.string(), *s, false).ok);
    const std::string old = readAll(file);
    fillRandom(*s, 32);  // the author works on
    auto plain = copyOf(*s);

    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    {
        WithoutOverrideRights asAnAuthor;
        const int probe = ::open((dir / "probe").c_str(), O_CREAT | O_WRONLY, 0600);
        if (probe >= 0) {
            ::close(probe);
            ::unlink((dir / "probe").c_str());
            GTEST_SKIP() << "this process may write into read-only folders";
        }
        const FileResult r = saveScenario(file.string(), *s);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.empty());
    }
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(entriesOf(dir), std::set<std::string>{"keep.snr"});
    EXPECT_TRUE(sameBytes(*s, *plain));
}

// A disk that fills up mid-write: the half-written temporary file goes, the
// old file stays, the record in memory is plain again.
TEST_F(ScenarioFile, SaveFailingWhileWritingKeepsTheOldFile) {
    const fs::path file = dir / "keep.snr";
    ASSERT_TRUE(saveScenario(file.string(), *s, false).ok);
    const std::string old = readAll(file);
    fillRandom(*s, 33);
    auto plain = copyOf(*s);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1 << 20;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileResult r = saveScenario(file.string(), *s);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(entriesOf(dir), std::set<std::string>{"keep.snr"});
    EXPECT_TRUE(sameBytes(*s, *plain));
}

TEST_F(ScenarioFile, SaveIntoAMissingFolderFails) {
    auto plain = copyOf(*s);
    const FileResult r = saveScenario((dir / "no" / "such.snr").string(), *s);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(sameBytes(*s, *plain));
    EXPECT_FALSE(saveScenario(dir.string(), *s).ok);  // a folder is no file
    EXPECT_TRUE(entriesOf(dir).empty());
}

TEST_F(ScenarioFile, SavingKeepsTheOldFilesPermissions) {
    const fs::path file = dir / "shared.snr";
    ASSERT_TRUE(saveScenario(file.string(), *s, false).ok);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0666 & ~mask));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(saveScenario(file.string(), *s, false).ok);
    EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0640));
}
