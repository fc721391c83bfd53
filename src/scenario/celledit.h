// What the map's drawing tools write into a field's cells: the pen and the
// range brush, the erasers and their random variants. Each function writes
// only cells of the given field map and returns the cells whose entries
// changed, column by column, top to bottom within a column.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "maplayers.h"
#include "scenario.h"

namespace qrn {

// (column, row) -> cell number of the field shown; 0 where the field has no cell.
using CellIndexMap = std::array<std::array<int, kMaxFieldSide>, kMaxFieldSide>;

// Fills `map` for `field`: every cell of the field's part of the store whose
// column and row lie inside 0..119 is entered, everything else is 0. Returns
// the field's width and height clamped to 0..120 ({0, 0} for a field not in
// use or a number outside 1..100).
struct FieldSize {
    int width = 0;
    int height = 0;
    bool operator==(const FieldSize&) const = default;
};
FieldSize buildCellIndexMap(const Scenario& s, int field, CellIndexMap& map);

// Cells left..right, top..bottom (inclusive). Parts outside 0..119 are ignored.
struct CellRange {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
};

struct CellPos {
    int col = 0;
    int row = 0;
    bool operator==(const CellPos&) const = default;
};

// The cells an operation changed: per column, one bit per row.
class ChangedCells {
public:
    using ColumnBits = std::array<std::uint64_t, 2>;  // rows 0..63, 64..119
    void add(int col, int row) { columns_[static_cast<std::size_t>(col)][row >> 6] |= std::uint64_t{1} << (row & 63); }
    void setColumn(int col, const ColumnBits& bits) { columns_[static_cast<std::size_t>(col)] = bits; }
    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < kMaxFieldSide && row < kMaxFieldSide &&
               (columns_[static_cast<std::size_t>(col)][row >> 6] >> (row & 63) & 1) != 0;
    }
    bool empty() const { return count() == 0; }
    std::size_t count() const;
    // The changed cells column by column, top to bottom within a column.
    std::vector<CellPos> cells() const;
    bool operator==(const ChangedCells&) const = default;

private:
    std::array<ColumnBits, kMaxFieldSide> columns_{};
};

// The palette's choice: the current object and whether the tools act on
// each layer, both indexed by Layer (index 0 unused).
struct DrawChoice {
    std::array<int, 6> objects{};
    std::array<bool, 6> targets{};
};

// A number 0..99, drawn afresh on every call (the random tools' dice).
using PercentSource = std::function<int()>;

// Writes the current object of every target layer into every cell of
// `range`; a layer whose current object is not in use is left alone.
// Layers are written in the order place, enter, chara, item, event.
ChangedCells drawCells(Scenario& s, const CellIndexMap& map, CellRange range, const DrawChoice& choice);
// Empties every target layer of every cell of `range` (place, enter,
// event, item, chara).
ChangedCells eraseCells(Scenario& s, const CellIndexMap& map, CellRange range,
                        const std::array<bool, 6>& targets);
// As drawCells, but each cell's layer is written only when a fresh draw
// is below `ratio` (1..100; anything else changes nothing). One draw per
// cell for every target layer whose object is in use.
ChangedCells randomDrawCells(Scenario& s, const CellIndexMap& map, CellRange range, const DrawChoice& choice,
                             int ratio, const PercentSource& percent);
// As eraseCells, with one draw per cell for every target layer.
ChangedCells randomEraseCells(Scenario& s, const CellIndexMap& map, CellRange range,
                              const std::array<bool, 6>& targets, int ratio, const PercentSource& percent);

}  // namespace qrn
