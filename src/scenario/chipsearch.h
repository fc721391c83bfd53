// Finding, cell by cell, where an object is placed on the fields: in one
// field or in every field in use, fields in number order and cells in store
// order (row by row), one hit at a time.
#pragma once

#include "scenario.h"

namespace qrn {

// Layers as the search numbers them (the palette's page order).
enum SearchLayer { kSearchPlace = 0, kSearchEnter = 1, kSearchEvent = 2, kSearchItem = 3, kSearchChara = 4 };

// Where a search stands between two hits.
struct SearchState {
    int searchObject = 1;
    int searchLayer = kSearchPlace;
    int searchField = 1;
    int searchCell = 1;  // next cell of the store to test
    bool singleField = true;
    bool operator==(const SearchState&) const = default;
};

// The first and last cell of a field, cut to the cell store; an empty run
// (last < first) for a field that is not in use or whose numbers are damaged.
struct CellRun {
    int first = 1;
    int last = 0;
};
CellRun fieldCells(const Scenario& s, int field);

// True when the cell's entry on `layer` is `object` (the terrain entry as a
// signed 32-bit number, the others as unsigned bytes). Any other layer: false.
bool cellMatches(const Cell& cell, int layer, int object);

// A new search for `object` on `layer`. With `allFields` it runs from the
// first cell of field 1 over every field in use; otherwise it stays in
// `currentField`, from its first cell (`fromTop`) or from `cursorCell`, which
// is tested first. A cursor cell outside the field's run starts at the top.
SearchState setserch(const Scenario& s, int object, int layer, bool fromTop, bool allFields, int currentField,
                     int cursorCell);

enum class SearchOutcome {
    Found,             // `cell` of `field` holds the object
    NoMoreInField,     // the single field has no further hit
    AllFieldsSearched  // the last field in use has been passed
};

struct SearchHit {
    SearchOutcome outcome = SearchOutcome::NoMoreInField;
    int field = 0;
    int cell = 0;
    int col = 0;  // the hit cell's own column and row
    int row = 0;
    bool operator==(const SearchHit&) const = default;
};

// Finds the next hit from where `state` stands and moves it past that hit,
// or to the end. After an end, asking again reports the same end.
SearchHit getstart(const Scenario& s, SearchState& state);

}  // namespace qrn
