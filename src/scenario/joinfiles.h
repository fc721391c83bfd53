// The join's file work: finding the named pictures and media in the resource
// folder, copying them and writing the runner files into the output folder.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "join.h"
#include "scenario.h"

namespace qrn {

// A stored file name that may be used as a name inside a folder: not empty,
// not absolute, without "/", "\" or "..".
bool plainFileName(std::string_view name);

// The resource folder the scenario's file names point into. A name is found
// by its exact spelling first, then by a case-insensitive match (scenarios
// made elsewhere often differ in case). The folder is listed once, on the
// first name that is not found as spelt.
class ResourceFolder {
public:
    explicit ResourceFolder(std::string folder);
    // The path of an existing file for a stored name (UTF-8 on disk), or
    // nullopt. Names with a folder part are only taken as spelt.
    std::optional<std::string> find(std::string_view utf8Name);
    // The path the name would have as spelt: folder + name.
    std::string spelt(std::string_view utf8Name) const;
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    bool listed_ = false;
    std::map<std::string, std::string> byLowerName_;
};

// Why the join stopped, if it did.
enum class JoinStatus { Done, BadFolder, BadName, Failed };

struct JoinResult {
    JoinStatus status = JoinStatus::Done;
    std::string failedPath;  // the file that could not be written (UTF-8)
    std::string error;       // the system's reason
};

struct JoinRequest {
    std::string outputFolder;    // UTF-8
    std::string resourceFolder;  // UTF-8; a stored name is looked up in it
    std::string name;            // the join name N, cp932, without extension
};

struct JoinHooks {
    // Encodes the picture sheet as a bitmap file; empty on failure.
    std::function<std::string(const ChipAssignment&)> drawSheet;
    // One warning for the author (UTF-8), after which the join goes on.
    std::function<void(const std::string&)> warn;
    // Progress: `done` of `total` steps.
    std::function<void(int done, int total)> progress;
};

// The output folder as an absolute path, when it is a folder the join may
// write into; nullopt otherwise.
std::optional<std::string> usableOutputFolder(const std::string& folder);

// A join name the dialog and the command line accept: not empty after
// delext, no path separator, valid cp932 is the caller's business.
bool validJoinName(std::string_view cp932Name);

// The path of N + extension in the output folder (UTF-8).
std::string joinOutputPath(const std::string& folder, std::string_view cp932Name, std::string_view extension);

// Writes every runner file of the scenario into the output folder: N.CHP,
// the copies of the large bitmaps (base.DAT, first two bytes "..") and of
// the music and sound files, N.LCT, N.DST and N.TXT. Missing, unreadable
// or unsafe source names give one warning each. The scenario is only read.
// Stops at the first file that cannot be written (Failed, naming it).
JoinResult joinScenario(const Scenario& s, const JoinRequest& request, const JoinHooks& hooks);

// Writes a whole file; false with errno set on any failure.
bool writeWholeFile(const std::string& path, std::string_view bytes);

}  // namespace qrn
