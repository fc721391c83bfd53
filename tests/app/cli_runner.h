// Runs quorantel-cli as a separate program, the way an author's script would.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qrn::testing {

struct CliRun {
    int code = -1;
    std::string out;
    std::vector<std::string> errLines;
};

// Quotes one argument for the shell.
inline std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs the tool with `args`; stdout is captured, stderr goes to `stderrPath`
// and its lines are read back from there.
inline CliRun runCli(const std::vector<std::string>& args, const std::string& stderrPath = "/dev/null") {
    std::string cmd = shellQuoted(QRN_CLI_PATH);
    for (const auto& a : args) cmd += " " + shellQuoted(a);
    cmd += " 2>" + shellQuoted(stderrPath);
    CliRun r;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    const int status = ::pclose(pipe);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (stderrPath != "/dev/null") {
        std::ifstream err(stderrPath);
        for (std::string line; std::getline(err, line);) r.errLines.push_back(line);
    }
    return r;
}

}  // namespace qrn::testing
