// The scenario file: the record byte for byte, with its texts locked.
#pragma once

#include <cstddef>
#include <string>

#include "resets.h"
#include "scenario.h"

namespace qrn {

// Locks (lock = true) or unlocks the texts of the record in place.
void lockdata(Scenario& s, bool lock);

// The text routines of the lock transform, exposed for tests.
template <int N>
void lockText(ShortString<N>& t);  // lockshort / lock / locklong
void lockshortpass(ShortString16& t);
void lockshortmelt(ShortString16& t);

struct FileResult {
    bool ok = false;
    std::string error;  // why it failed, in English (UTF-8), for the tools
    // What went wrong, for callers that word the reason themselves: the
    // system's error number, or 0 when the file was too short to be a record.
    int systemErrno = 0;
};

// Opens a scenario file. The file is read whole into a buffer first; only a
// complete record replaces the scenario (whole reset, copy, unlock). On
// failure the scenario and the side data are untouched.
FileResult openScenario(const std::string& path, Scenario& s, EditorSideData& side);
// The same, read straight into `fresh`, a record no one else is using:
// saves a copy of the record, but on failure `fresh` holds whatever was
// read and is to be dropped.
FileResult openScenarioInto(const std::string& path, Scenario& fresh, EditorSideData& side);
// The same from the file's bytes in memory: only the first record's worth is
// read, and fewer bytes than a record leave everything untouched.
FileResult openScenarioBytes(const unsigned char* data, std::size_t size, Scenario& s, EditorSideData& side);

// Saves the scenario. The record is written to a temporary file beside the
// target, flushed, and renamed over it, so a failed save never harms the old
// file. The record in memory is plain again afterwards in every case.
// syncToDisk also forces the data to the disk before the rename.
FileResult saveScenario(const std::string& path, Scenario& s, bool syncToDisk = true);

}  // namespace qrn
