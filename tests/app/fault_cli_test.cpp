// Every quorantel-cli command that writes, run against failing disks: the
// file size limit reached part-way, a folder that takes no new files, a
// target that is a folder. Each reports the failure (exit 1, one line on
// stderr), leaves the previous file byte for byte and no stray files behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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
using qrn::testing::readBytes;
using qrn::testing::shellQuoted;

namespace {

enum class Fault { FileSizeLimit, ReadOnlyFolder, TargetIsFolder };

struct Command {
    const char* name;
    std::vector<std::string> args;  // IN, OUT, RES stand for the files of the test
};

std::string faultName(Fault f) {
    switch (f) {
        case Fault::FileSizeLimit: return "FileSizeLimit";
        case Fault::ReadOnlyFolder: return "ReadOnlyFolder";
        default: return "TargetIsFolder";
    }
}

const Command kCommands[] = {
    {"new", {"new", "OUT"}},
    {"copy", {"copy", "IN", "OUT"}},
    {"delete_object", {"delete-object", "IN", "chara", "2", "-o", "OUT"}},
    {"export_json", {"export-json", "IN", "-o", "OUT"}},
    {"import_json", {"import-json", "JSON", "OUT"}},
    {"new_field", {"new-field", "IN", "-o", "OUT"}},
    {"resize_field", {"resize-field", "IN", "1", "30", "30", "-o", "OUT"}},
    {"delete_field", {"delete-field", "IN", "2", "-o", "OUT"}},
    {"export_bmp", {"export-bmp", "IN", "1", "OUT", "--resources", "RES"}},
    {"in_place", {"delete-object", "OUT", "chara", "2"}},
};

struct Case {
    Command command;
    Fault fault;
};

std::vector<Case> allCases() {
    std::vector<Case> cases;
    for (const Command& c : kCommands)
        for (Fault f : {Fault::FileSizeLimit, Fault::ReadOnlyFolder, Fault::TargetIsFolder}) cases.push_back({c, f});
    return cases;
}

class CliFaults : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qrn-faults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        fs::permissions(dir_, fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
        auto s = std::make_unique<qrn::Scenario>();
        auto side = std::make_unique<qrn::EditorSideData>();
        qrn::alldatainitialize(*s, *side, 3);
        qrn::createFirstField(*s, "t", "d", "f", 20, 10);
        qrn::layoutFieldCells(*s, 2, 201, 30, 30);
        s->field(2).name.assign("second");
        s->chara(2).name.assign("guard");
        s->cell(3).chara = 2;
        ASSERT_TRUE(qrn::saveScenario(file("in.snr"), *s, false).ok);
        // The previous output: another scenario, so any change shows.
        s->settings.scenarioname.assign("previous");
        ASSERT_TRUE(qrn::saveScenario(file("previous.snr"), *s, false).ok);
        fs::create_directory(file("res"));
        ASSERT_EQ(run({"export-json", file("in.snr"), "-o", file("doc.json")}, "").code, 0);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs the tool; `prefix` goes before it in the shell (a limit, a user change).
    qrn::testing::CliRun run(const std::vector<std::string>& args, const std::string& prefix) {
        std::string cmd = prefix + shellQuoted(QRN_CLI_PATH);
        for (const std::string& a : args) cmd += " " + shellQuoted(a);
        const std::string errPath = dir_.string() + ".err";  // beside the folder, which may be read-only
        cmd += " 2>" + shellQuoted(errPath) + " </dev/null";
        qrn::testing::CliRun r;
        FILE* pipe = ::popen(cmd.c_str(), "r");
        if (!pipe) return r;
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) r.out.append(buf, n);
        const int status = ::pclose(pipe);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        {
            std::ifstream err(errPath);
            for (std::string line; std::getline(err, line);) r.errLines.push_back(line);
        }
        fs::remove(errPath);
        return r;
    }

    fs::path dir_;
};

TEST_P(CliFaults, FailedWriteIsReportedAndLeavesThePreviousFile) {
    const Case& c = GetParam();
    const bool json = std::string(c.command.name) == "export_json";
    const std::string out = file(json ? "out.json" : std::string(c.command.name) == "export_bmp" ? "out.bmp" : "out.snr");
    std::string prefix;
    switch (c.fault) {
        case Fault::FileSizeLimit:
            prefix = "ulimit -f 1; ";  // 512 bytes
            break;
        case Fault::ReadOnlyFolder:
            if (::geteuid() == 0) {
                // The superuser writes anywhere; run the tool as nobody instead.
                if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv to give up the superuser";
                prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
            }
            break;
        case Fault::TargetIsFolder:
            break;
    }
    if (c.fault == Fault::TargetIsFolder) {
        fs::create_directory(out);
        std::ofstream(out + "/inside") << "kept";
    } else {
        fs::copy_file(file(json ? "doc.json" : "previous.snr"), out);
        fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                 fs::perms::others_read);
    }
    if (c.fault == Fault::ReadOnlyFolder)
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const std::string before = c.fault == Fault::TargetIsFolder ? readBytes(out + "/inside") : readBytes(out);
    const std::vector<std::string> entriesBefore = entries();

    std::vector<std::string> args;
    for (const std::string& a : c.command.args)
        args.push_back(a == "IN" ? file("in.snr") : a == "OUT" ? out : a == "RES" ? file("res") : a == "JSON" ? file("doc.json") : a);
    const qrn::testing::CliRun r = run(args, prefix);
    fs::permissions(dir_, fs::perms::owner_all);

    EXPECT_EQ(r.code, 1);
    ASSERT_FALSE(r.errLines.empty());
    EXPECT_EQ(r.errLines.back().rfind("quorantel-cli: ", 0), 0u) << r.errLines.back();
    if (c.fault == Fault::TargetIsFolder) {
        EXPECT_TRUE(fs::is_directory(out));
        EXPECT_TRUE(readBytes(out + "/inside") == before);
    } else {
        EXPECT_TRUE(readBytes(out) == before) << "the previous file changed";
    }
    EXPECT_EQ(entries(), entriesBefore);  // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(EveryWritingCommand, CliFaults, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.command.name) + "_" + faultName(info.param.fault);
                         });

}  // namespace
