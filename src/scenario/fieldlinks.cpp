#include "fieldlinks.h"

#include <functional>

namespace qrn {

namespace {

bool validField(int field) { return field >= 1 && field <= kFieldCount; }

// Calls `visit(position, cell)` for every cell of the field in store order.
template <typename Visit>
void forEachFieldCell(const Scenario& s, int field, Visit visit) {
    if (!validField(field) || !fieldInUse(s, field)) return;
    const int count = s.field(field).cellCount;
    for (int p = 1; p <= count; ++p) {
        const int c = cellOf(s, field, p);
        if (c == 0) break;
        visit(p, s.cell(c));
    }
}

void expand(const Scenario& s, int field, int depth, std::array<bool, kFieldCount + 1>& visited,
            std::vector<FieldTreeNode>& out) {
    out.push_back({field, depth});
    forEachFieldCell(s, field, [&](int, const Cell& cell) {
        const int enter = cell.enter;
        if (enter < 1 || enter > kEnterCount) return;
        const int d = s.enters[enter - 1].jumpField;
        if (!validField(d) || visited[static_cast<std::size_t>(d)] || !fieldInUse(s, d)) return;
        visited[static_cast<std::size_t>(d)] = true;
        expand(s, d, depth + 1, visited, out);
    });
}

}  // namespace

std::vector<FieldTreeNode> fieldJumpTree(const Scenario& s) {
    std::vector<FieldTreeNode> out;
    std::array<bool, kFieldCount + 1> visited{};
    for (int f = 1; f <= kFieldCount; ++f) {
        if (!fieldInUse(s, f) || visited[static_cast<std::size_t>(f)]) continue;
        visited[static_cast<std::size_t>(f)] = true;
        expand(s, f, 0, visited, out);
    }
    return out;
}

std::vector<JumpRow> jumpRows(const Scenario& s, int field) {
    std::vector<JumpRow> rows;
    forEachFieldCell(s, field, [&](int, const Cell& cell) {
        if (cell.enter >= 1 && cell.enter <= kEnterCount && s.enters[cell.enter - 1].jumpField != 0) {
            const EnterDef& e = s.enters[cell.enter - 1];
            rows.push_back({cell.col, cell.row, e.name.str(), e.jumpField});
        }
        if (cell.event >= 1 && cell.event <= kEventCount && s.events[cell.event - 1].jumpField != 0) {
            const EventDef& e = s.events[cell.event - 1];
            rows.push_back({cell.col, cell.row, e.name.str(), e.jumpField});
        }
    });
    return rows;
}

std::vector<WarpCandidate> warpCandidates(const Scenario& s, int field) {
    std::vector<WarpCandidate> out;
    if (!validField(field)) return out;
    const FieldDef& d = s.field(field);
    auto isWarpPoint = [&d](int position) {
        for (int slot = 0; slot < kWarpSlots; ++slot)
            if (d.warpPoints[slot] == position) return true;
        return false;
    };
    forEachFieldCell(s, field, [&](int position, const Cell& cell) {
        const int enter = cell.enter;
        if (enter < 1 || enter > kEnterCount || isWarpPoint(position)) return;
        out.push_back({position, enter});
    });
    return out;
}

std::vector<WarpPoint> warpPoints(const Scenario& s, int field) {
    std::vector<WarpPoint> out;
    if (!validField(field)) return out;
    for (int slot = 0; slot < kWarpSlots; ++slot) {
        const int position = s.field(field).warpPoints[slot];
        if (position == 0) continue;
        out.push_back({slot, position, makerserchenter(s, position, field)});
    }
    return out;
}

int addWarpPoint(Scenario& s, int field, int position) {
    if (!validField(field)) return -1;
    FieldDef& d = s.field(field);
    for (int slot = 0; slot < kWarpSlots; ++slot) {
        if (d.warpPoints[slot] != 0) continue;
        d.warpPoints[slot] = position;
        return slot;
    }
    return -1;
}

bool removeWarpPoint(Scenario& s, int field, int slot) {
    if (!validField(field) || slot < 0 || slot >= kWarpSlots) return false;
    s.field(field).warpPoints[slot] = 0;
    return true;
}

void shiftFieldCursors(FieldCursors& cursors, int deleted, int lastBefore) {
    if (deleted < 1) return;
    for (int n = deleted; n < lastBefore && n < kFieldCount; ++n)
        cursors[static_cast<std::size_t>(n)] = cursors[static_cast<std::size_t>(n + 1)];
    if (lastBefore >= 1 && lastBefore <= kFieldCount) cursors[static_cast<std::size_t>(lastBefore)] = {0, 0};
}

}  // namespace qrn
