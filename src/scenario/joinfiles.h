// The join's file work: finding the named pictures and media in the resource
// folder, copying them and writing the runner files into the output folder.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "join.h"
#include "scenario.h"

namespace qrn {

// A stored file name that may be used as a name inside a folder: not empty,
// not absolute, without "/", "\" or "..".
bool plainFileName(std::string_view name);

// The resource folder the scenario's file names point into, listed once and
// kept: a name is found by its exact spelling first, then by a
// case-insensitive match (scenarios made elsewhere often differ in case).
// Only plain names (plainFileName) are looked up; a name with a folder part
// is never found, so nothing outside the folder is read. The listing is
// taken on the first look-up; refresh() takes it again when the folder
// changed since (for a lookup kept as long as the editor runs).
class ResourceFolder {
public:
    explicit ResourceFolder(std::string folder);
    // The path of a regular file (or a link to one) for a stored name (UTF-8
    // on disk), or nullopt. No file is touched beyond the one listing.
    std::optional<std::string> find(std::string_view utf8Name);
    // Reads the whole file a name is found as: one open and one read. False
    // when it is not found, not a regular file, larger than `maxBytes` or
    // unreadable (`bytes` then empty). `path` gets the path read, or the
    // spelt one when the name is not found (for messages). The string's
    // storage is reused, so reading many files into one string allocates
    // about once.
    bool read(std::string_view utf8Name, std::string& bytes, std::string* path = nullptr,
              std::size_t maxBytes = static_cast<std::size_t>(-1));
    // Opens the file a name is found as for reading, when it is a regular
    // file: its descriptor (the caller closes it) and size, or -1. `path`
    // as for read().
    int open(std::string_view utf8Name, std::uintmax_t& size, std::string* path = nullptr);
    // Lists the folder again if its entries changed since the last listing
    // (one look at the folder's change time).
    void refresh();
    // Takes the listing now if it was not taken yet; after that, lookups
    // and reads only read this object and may run on several threads.
    void ensureListed() {
        if (!listed_) list();
    }
    // The path the name would have as spelt: folder + name.
    std::string spelt(std::string_view utf8Name) const;
    const std::string& folder() const { return folder_; }

private:
    void list();

    std::string folder_;
    bool listed_ = false;
    long long listedSec_ = -1, listedNsec_ = -1;  // the folder's change time when listed
    std::unordered_set<std::string> names_;                    // regular files as spelt
    std::unordered_map<std::string, std::string> byLowerName_;  // lower case -> lowest spelling
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
    // The lookup to use, kept from loading the pictures; null: one made
    // for the join from resourceFolder.
    ResourceFolder* resources = nullptr;
};

struct JoinHooks {
    // Encodes the picture sheet as a bitmap file; empty on failure.
    std::function<std::string(const ChipAssignment&)> drawSheet;
    // One warning for the author (UTF-8), after which the join goes on.
    std::function<void(const std::string&)> warn;
    // Progress: `done` of `total` steps.
    std::function<void(int done, int total)> progress;
    // In place of drawSheet, for a sheet drawn by another process: writes
    // the picture sheet file (marked with markRunnerBitmap) at the path
    // given, as writeWholeFile does; false when it could not.
    std::function<bool(const ChipAssignment&, const std::string& path)> writeSheet;
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

// A file that takes its target's name only on commit(), when it is whole
// (an unnamed file linked in, or one written beside the target and renamed
// over it), so that a write that fails part-way (a full disk, the file size
// limit) leaves any earlier file of that name whole rather than cut off.
// Dropped without commit(), the partial file is removed. Failures leave
// errno set.
class WholeFileWriter {
public:
    WholeFileWriter() = default;
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;
    ~WholeFileWriter();

    bool open(const std::string& path);
    bool append(std::string_view bytes);
    // Appends `length` bytes of `source` from `offset` (fewer where it ends
    // before), copied inside the kernel where the file systems allow it.
    bool appendFrom(int source, std::uintmax_t offset, std::uintmax_t length);
    bool commit();

private:
    void discard();

    std::string path_;
    std::string tmp_;  // the temporary name, if the file has one
    int fd_ = -1;
};

// Writes a whole file; false with errno set on any failure.
bool writeWholeFile(const std::string& path, std::string_view bytes);

}  // namespace qrn
