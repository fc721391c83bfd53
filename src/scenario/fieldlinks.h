// How fields lead to each other and what the field manager lists about
// one field: the jump tree, the jump list, the warp targets and the warp
// points, and the remembered cursors that follow a deleted field.
// A field number outside 1..100 or not in use has empty lists; entries
// naming objects outside their tables are left out.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "scenario.h"

namespace qrn {

inline constexpr int kWarpSlots = 30;

// The fields in use as a tree, depth first: every field appears once, under
// the first field whose buildings (entrances) jump to it, in cell order; a
// field no earlier field leads to is a root. `depth` 0 is a root.
struct FieldTreeNode {
    int field = 0;
    int depth = 0;
    bool operator==(const FieldTreeNode&) const = default;
};
std::vector<FieldTreeNode> fieldJumpTree(const Scenario& s);

// One row of the jump list: a cell whose entrance or event jumps to a field
// (entrance first when both do). `name` is the object's name (cp932).
struct JumpRow {
    int col = 0;
    int row = 0;
    std::string name;
    int destination = 0;
    bool operator==(const JumpRow&) const = default;
};
std::vector<JumpRow> jumpRows(const Scenario& s, int field);

// Cells with an entrance that are not yet warp points, in cell order:
// their position in the field (1-based) and the entrance.
struct WarpCandidate {
    int position = 0;
    int enter = 0;
    bool operator==(const WarpCandidate&) const = default;
};
std::vector<WarpCandidate> warpCandidates(const Scenario& s, int field);

// The field's warp points in slot order: the slot (0..29), the position and
// the entrance found there (0 when there is none).
struct WarpPoint {
    int slot = 0;
    int position = 0;
    int enter = 0;
    bool operator==(const WarpPoint&) const = default;
};
std::vector<WarpPoint> warpPoints(const Scenario& s, int field);

// Puts `position` into the first free slot; returns the slot, or -1 when
// all 30 are taken or the field is outside 1..100 (nothing changes).
int addWarpPoint(Scenario& s, int field, int position);
// Empties a slot; false (nothing changes) for a slot outside 0..29 or a
// field outside 1..100.
bool removeWarpPoint(Scenario& s, int field, int slot);

// Remembered map cursors by field ([1..100] = {col, row}). After field
// `deleted` was removed from `lastBefore` fields in use, the later fields'
// cursors move down one number and the freed last one returns to 0,0.
using FieldCursors = std::array<std::array<int, 2>, kFieldCount + 1>;
void shiftFieldCursors(FieldCursors& cursors, int deleted, int lastBefore);

}  // namespace qrn
