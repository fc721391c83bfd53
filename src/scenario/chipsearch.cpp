#include "chipsearch.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace qrn {

namespace {

// Byte offset of each layer's entry inside a cell record.
constexpr std::size_t kEntryOffset[] = {offsetof(Cell, place), offsetof(Cell, enter), offsetof(Cell, event),
                                        offsetof(Cell, item), offsetof(Cell, chara)};

bool validSearchLayer(int layer) { return layer >= kSearchPlace && layer <= kSearchChara; }

// First cell in [from, to] that holds the object, or 0. Reads the store as
// bytes: the records are packed, and this loop is the whole cost of a search.
int scan(const Scenario& s, int layer, int object, int from, int to) {
    const auto* base = reinterpret_cast<const unsigned char*>(s.cells) + kEntryOffset[layer];
    if (layer == kSearchPlace) {
        const i32 wanted = object;
        for (int c = from; c <= to; ++c) {
            i32 v;
            std::memcpy(&v, base + static_cast<std::size_t>(c - 1) * sizeof(Cell), sizeof v);
            if (v == wanted) return c;
        }
        return 0;
    }
    if (object < 0 || object > 255) return 0;
    const auto wanted = static_cast<unsigned char>(object);
    for (int c = from; c <= to; ++c)
        if (base[static_cast<std::size_t>(c - 1) * sizeof(Cell)] == wanted) return c;
    return 0;
}

}  // namespace

CellRun fieldCells(const Scenario& s, int field) {
    if (!fieldInUse(s, field)) return {};
    const int first = s.field(field).firstCell;
    const int last = std::min(myend(s, field), kCellCount);
    if (first > kCellCount || last < first) return {};
    return {first, last};
}

bool cellMatches(const Cell& cell, int layer, int object) {
    if (!validSearchLayer(layer)) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&cell) + kEntryOffset[layer];
    if (layer == kSearchPlace) {
        i32 v;
        std::memcpy(&v, bytes, sizeof v);
        return v == object;
    }
    return *bytes == object;
}

SearchState setserch(const Scenario& s, int object, int layer, bool fromTop, bool allFields, int currentField,
                     int cursorCell) {
    SearchState state;
    state.searchObject = object;
    state.searchLayer = layer;
    state.searchField = allFields ? 1 : currentField;
    state.singleField = !allFields;
    const CellRun run = fieldCells(s, state.searchField);
    const bool cursorInField = cursorCell >= run.first && cursorCell <= run.last;
    state.searchCell = (fromTop || allFields || !cursorInField) ? run.first : cursorCell;
    return state;
}

SearchHit getstart(const Scenario& s, SearchState& state) {
    SearchHit hit;
    if (!validSearchLayer(state.searchLayer)) {
        hit.outcome = state.singleField ? SearchOutcome::NoMoreInField : SearchOutcome::AllFieldsSearched;
        return hit;
    }
    for (;;) {
        const CellRun run = fieldCells(s, state.searchField);
        if (state.searchCell < run.first) state.searchCell = run.first;
        if (state.searchCell <= run.last) {
            const int found = scan(s, state.searchLayer, state.searchObject, state.searchCell, run.last);
            if (found > 0) {
                state.searchCell = found + 1;
                const Cell& cell = s.cell(found);
                return {SearchOutcome::Found, state.searchField, found, cell.col, cell.row};
            }
            state.searchCell = run.last + 1;
        }
        if (state.singleField) {
            hit.outcome = SearchOutcome::NoMoreInField;
            return hit;
        }
        const int next = state.searchField + 1;
        if (next > kFieldCount || !fieldInUse(s, next)) {
            hit.outcome = SearchOutcome::AllFieldsSearched;
            return hit;
        }
        state.searchField = next;
        state.searchCell = fieldCells(s, next).first;
    }
}

}  // namespace qrn
