// The recovery file: the scenario record as a scenario file holds it (so it
// opens like one), followed by a short trailer naming the file the work came
// from and when it was written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scenario.h"
#include "scenariofile.h"

namespace qrn {

struct RecoveryInfo {
    std::string sourcePath;    // the scenario file the work came from; empty for a new one
    std::int64_t writtenAt = 0;  // seconds since the epoch
    std::string scenarioName;  // cp932
};

// Writes the record and the trailer to a temporary file beside `path` and
// renames it over `path`, so a reader never sees half a file. Not forced to
// the disk: it guards against the editor dying, not the machine. The record in
// memory is plain again afterwards in every case.
FileResult writeRecoveryFile(const std::string& path, Scenario& s, const std::string& sourcePath,
                             std::int64_t writtenAt);

// What a recovery file holds, or nothing when `path` is not a complete one.
std::optional<RecoveryInfo> readRecoveryInfo(const std::string& path);

}  // namespace qrn
