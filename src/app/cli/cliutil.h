// Small helpers shared by the quorantel-cli commands: the scenario a command
// works on, argument parsing, text conversion and error reporting.
//
// Conventions: every helper that can fail prints one line to stderr and
// returns the exit code the command should end with (0 means go on):
//     if (int rc = doc.load(path)) return rc;
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"

namespace qrn::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitIo = 1;     // a file could not be read or written
inline constexpr int kExitUsage = 2;  // bad usage or bad input

// Prints "quorantel-cli: MESSAGE" as one line to stderr and returns `code`.
int fail(int code, std::string_view message);
// Prints one of the editor's own messages (UTF-8), as the author would read
// it, as one line to stderr.
void tellLine(std::string_view utf8);

// The scenario a command works on. The record is 4.5 MB, so it lives on the
// heap; the side data travels with it because the whole reset needs both.
// Prints a JSON document, two spaces to a level, on standard output; bytes
// that are not UTF-8 print as the replacement character.
template <class Json>
void printJson(const Json& j) {
    const std::string text = j.dump(2, ' ', false, Json::error_handler_t::replace);
    std::printf("%s\n", text.c_str());
}

class ScenarioDoc {
public:
    // The record is made on first use: zero-filled for reset() and s(),
    // left unfilled for load(), which overwrites every byte of it.
    Scenario& s();
    EditorSideData& side() { return side_; }

    // The whole reset, as a new scenario starts.
    void reset();
    // Opens a scenario file; on failure prints why and returns kExitIo.
    int load(const std::string& path);
    // Saves to a file (temporary file + rename, so a failure leaves any old
    // file intact); on failure prints why and returns kExitIo.
    int save(const std::string& path);

private:
    std::unique_ptr<Scenario> scenario_;
    EditorSideData side_{};
};

// Command-line arguments split into options and positional arguments.
// Accepted forms: "--name VALUE", "--name=VALUE", "-o OUT"; "--" ends the
// options. Every option takes exactly one value. "-" and negative numbers
// count as positional arguments.
struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> options;  // key with its dashes: "--title", "-o"

    bool has(std::string_view option) const { return options.find(option) != options.end(); }
    // The value of an option, or `fallback` when it was not given.
    std::string value(std::string_view option, std::string_view fallback = {}) const;
};

// Parses `args` allowing only the options in `known` (e.g. {"--title", "-o"})
// and between minPositional and maxPositional positional arguments.
// Returns kExitOk, or kExitUsage after printing the reason (unknown option,
// option without value, wrong number of arguments); `usage` is appended to
// that message.
int parseArgs(const Args& args, std::initializer_list<std::string_view> known,
              std::size_t minPositional, std::size_t maxPositional, std::string_view usage,
              ParsedArgs& out);

// The folder a scenario's file names point into: --resources, or the folder
// of the scenario file.
std::string resourceFolderOf(const ParsedArgs& parsed, const std::string& file);

// A whole decimal integer (optional sign, no spaces or trailing text), or
// nullopt.
std::optional<long long> parseInteger(std::string_view text);

// Converts a UTF-8 argument to the cp932 bytes stored in scenario files.
// Prints "WHAT: ... cannot be written in cp932" and returns kExitUsage when
// cp932 cannot hold it (or it is not valid UTF-8).
int toCp932(std::string_view utf8, std::string_view what, std::string& cp932);

// cp932 bytes from the record as UTF-8 for output (invalid bytes → U+FFFD).
std::string toUtf8(std::string_view cp932);

// Writes `content` to `path` through a temporary file in the same folder and
// a rename, so a failure never leaves a partial file. On failure prints why
// and returns kExitIo.
int writeFileAtomically(const std::string& path, std::string_view content);

}  // namespace qrn::cli
