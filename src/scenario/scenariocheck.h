// The scenario check: one read-only walk over the whole scenario that finds
// what would break the game (errors) or is probably unintended (warnings)
// before the runner meets it. Safe on damaged files: every number is taken
// as hostile and only compared, never used to index without a range check.
#pragma once

#include <string>
#include <vector>

#include "resourcerules.h"
#include "scenario.h"

namespace qrn {

class ResourceFolder;

enum class CheckSeverity { Error, Warning };

enum class CheckKind {
    MissingEntry,     // a reference to an entry that is not in use
    OutOfRange,       // a number outside its table
    BadLocation,      // a location on a field not in use, outside the field or on a cell that cannot be entered
    UnusedPlaced,     // a map cell holds an object that is not in use
    NeverUsed,        // an object or resource in use that nothing places or names
    Unreachable,      // a field that no way leads to from the hero's start field
    MissingFile,      // a named file the resource folder does not hold (or an unusable name)
    FileCase,         // the resource folder holds the file only with another case
    BadPictureSize,   // a chip picture that is not a 32x32 bitmap
    ItemNeverGiven,   // an item needed to pass or to start an event that nothing gives
    CellUnreachable,  // an event or item on the map that no walk from the hero's start reaches
};

// Where a finding is, in the editor's numbering.
struct CheckPlace {
    enum Kind { None, Cell, Object, Resource, Field, Hero, Settings, Level };
    Kind kind = None;
    int table = 0;   // Object: layer 1 terrain .. 5 character; Resource: a ResKind
    int number = 0;  // object, resource, field or level row (levels 2..50 are rows 1..49)
    int field = 0;   // Cell: field number, with the 0-based column and row
    int col = 0;
    int row = 0;

    static CheckPlace cell(int field, int col, int row) { return {Cell, 0, 0, field, col, row}; }
    static CheckPlace object(int layer, int number) { return {Object, layer, number}; }
    static CheckPlace resource(ResKind kind, int number) { return {Resource, static_cast<int>(kind), number}; }
    static CheckPlace fieldOf(int number) { return {Field, 0, number}; }
    friend bool operator==(const CheckPlace&, const CheckPlace&) = default;
};

struct CheckFinding {
    CheckKind kind;
    CheckSeverity severity;
    CheckPlace place;
    std::string message;  // Japanese, UTF-8
};

// Runs the whole check. With a resource folder, the named files are looked
// up in it too; without one, the file checks are left out.
std::vector<CheckFinding> checkScenario(const Scenario& s, ResourceFolder* resources = nullptr);

// The place as the editor names it, UTF-8 ("フィールド 2「洞窟」 X:5 Y:3",
// "イベント 12「宝箱」", "コメント 3", "主人公", ...).
std::string describePlace(const Scenario& s, const CheckPlace& place);
// "エラー" or "警告".
const char* severityName(CheckSeverity severity);
// A short stable name of a kind for machine output ("missing-entry", ...).
const char* kindName(CheckKind kind);
int errorCount(const std::vector<CheckFinding>& findings);

// Width and height of a bitmap file from its header (BITMAPCOREHEADER or
// later); false when the bytes are not a bitmap header.
bool bitmapSize(std::string_view header, int& width, int& height);

}  // namespace qrn
