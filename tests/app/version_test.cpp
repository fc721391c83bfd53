// --help and --version of both programs answer without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli_runner.h"

namespace qrn::testing {
namespace {

// Runs a program with no display at all and stdout captured.
CliRun runWithoutDisplay(const std::string& program, const std::string& arg) {
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + shellQuoted(program) + " " +
                            shellQuoted(arg) + " 2>/dev/null";
    CliRun r;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    const int status = ::pclose(pipe);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(VersionAndHelp, AnsweredWithoutADisplay) {
    struct Case {
        std::string program, arg, starts;
    };
    std::vector<Case> cases = {{QRN_CLI_PATH, "--version", "quorantel-cli 1.20\n"}};
#ifdef QRN_EDITOR_PATH
    cases.push_back({QRN_EDITOR_PATH, "--version", "quorantel 1.20\n"});
    cases.push_back({QRN_EDITOR_PATH, "--help", "usage: quorantel [--resources DIR] [FILE.snr]\n"});
#endif
    for (const Case& c : cases) {
        const CliRun r = runWithoutDisplay(c.program, c.arg);
        EXPECT_EQ(r.code, 0) << c.program << " " << c.arg;
        EXPECT_EQ(r.out.substr(0, c.starts.size()), c.starts) << c.program << " " << c.arg;
    }
}

}  // namespace
}  // namespace qrn::testing
