#include "celledit.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace qrn {

namespace {

constexpr std::array<int, 5> kDrawOrder{kPlace, kEnter, kChara, kItem, kEvent};
constexpr std::array<int, 5> kEraseOrder{kPlace, kEnter, kEvent, kItem, kChara};

// Calls `write` for every cell of the range that the map names, column by
// column, and collects the cells it reports changed.
template <typename Write>
ChangedCells forEachCell(Scenario& s, const CellIndexMap& map, CellRange range, Write write) {
    ChangedCells changed;
    const int left = std::max(range.left, 0);
    const int top = std::max(range.top, 0);
    const int right = std::min(range.right, kMaxFieldSide - 1);
    const int bottom = std::min(range.bottom, kMaxFieldSide - 1);
    if (left > right || top > bottom) return changed;
    Cell* const cells = &s.cell(1);
    for (int col = left; col <= right; ++col) {
        const auto& column = map[static_cast<std::size_t>(col)];
        // Collected in locals: the cell entries are bytes, and a store through
        // a byte may alias anything in memory.
        std::uint64_t bits[2] = {0, 0};
        for (int row = top; row <= bottom; ++row) {
            const int n = column[static_cast<std::size_t>(row)];
            if (n < 1 || n > kCellCount) continue;
            bits[row >> 6] |= std::uint64_t{write(cells[n - 1])} << (row & 63);
        }
        changed.setColumn(col, {bits[0], bits[1]});
    }
    return changed;
}

// As forEachCell, row by row: a field's cells lie in the store row after
// row, so this walks the store in order. For operations whose result does
// not depend on the order of visiting.
template <typename Write>
ChangedCells forEachCellInStoreOrder(Scenario& s, const CellIndexMap& map, CellRange range, Write write) {
    ChangedCells changed;
    const int left = std::max(range.left, 0);
    const int top = std::max(range.top, 0);
    const int right = std::min(range.right, kMaxFieldSide - 1);
    const int bottom = std::min(range.bottom, kMaxFieldSide - 1);
    if (left > right || top > bottom) return changed;
    Cell* const cells = &s.cell(1);
    for (int row = top; row <= bottom; ++row) {
        for (int col = left; col <= right; ++col) {
            const int n = map[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            if (n < 1 || n > kCellCount) continue;
            if (write(cells[n - 1])) changed.add(col, row);
        }
    }
    return changed;
}

// The layers the draw tools write, in their order, with their objects.
struct DrawPlan {
    std::array<int, 5> layers{};
    std::array<int, 5> objects{};
    int count = 0;
};

DrawPlan drawPlan(Scenario& s, const DrawChoice& choice) {
    DrawPlan plan;
    for (int layer : kDrawOrder) {
        const auto i = static_cast<std::size_t>(layer);
        if (!choice.targets[i] || !objectInUse(s, layer, choice.objects[i])) continue;
        plan.layers[static_cast<std::size_t>(plan.count)] = layer;
        plan.objects[static_cast<std::size_t>(plan.count)] = choice.objects[i];
        ++plan.count;
    }
    return plan;
}

}  // namespace

std::size_t ChangedCells::count() const {
    std::size_t n = 0;
    for (const ColumnBits& column : columns_) n += static_cast<std::size_t>(std::popcount(column[0]) + std::popcount(column[1]));
    return n;
}

std::vector<CellPos> ChangedCells::cells() const {
    std::vector<CellPos> out;
    for (int col = 0; col < kMaxFieldSide; ++col) {
        for (int half = 0; half < 2; ++half) {
            for (std::uint64_t bits = columns_[static_cast<std::size_t>(col)][static_cast<std::size_t>(half)]; bits != 0;
                 bits &= bits - 1)
                out.push_back({col, half * 64 + std::countr_zero(bits)});
        }
    }
    return out;
}

FieldSize buildCellIndexMap(const Scenario& s, int field, CellIndexMap& map) {
    for (auto& column : map) column.fill(0);
    if (!fieldInUse(s, field)) return {};
    // A damaged file may claim any size: the grid never exceeds 120 x 120.
    // (copied out first: the record is packed, its members may be unaligned)
    const int storedWidth = s.field(field).width;
    const int storedHeight = s.field(field).height;
    const FieldSize size{std::clamp(storedWidth, 0, kMaxFieldSide), std::clamp(storedHeight, 0, kMaxFieldSide)};
    const int first = s.field(field).firstCell;
    const int last = std::min(myend(s, field), kCellCount);
    for (int c = std::max(first, 1); c <= last; ++c) {
        const Cell& cell = s.cell(c);
        if (cell.col < kMaxFieldSide && cell.row < kMaxFieldSide) map[cell.col][cell.row] = c;
    }
    return size;
}

ChangedCells drawCells(Scenario& s, const CellIndexMap& map, CellRange range, const DrawChoice& choice) {
    const DrawPlan plan = drawPlan(s, choice);
    if (plan.count == 0) return {};
    // Each layer is its own member, so the order of writing does not matter
    // here; every target entry is written and compared without a branch per layer.
    std::array<bool, 6> writes{};
    for (int i = 0; i < plan.count; ++i) writes[static_cast<std::size_t>(plan.layers[static_cast<std::size_t>(i)])] = true;
    // The four byte layers lie side by side after column and row: they are
    // written as one 32-bit word under a mask built from cell-shaped patterns.
    static_assert(offsetof(Cell, enter) == 2 && offsetof(Cell, place) == 6);
    Cell value{}, mask{};
    const auto& o = choice.objects;
    value.enter = static_cast<u8>(o[kEnter]);
    value.event = static_cast<u8>(o[kEvent]);
    value.item = static_cast<u8>(o[kItem]);
    value.chara = static_cast<u8>(o[kChara]);
    mask.enter = writes[kEnter] ? 0xFF : 0;
    mask.event = writes[kEvent] ? 0xFF : 0;
    mask.item = writes[kItem] ? 0xFF : 0;
    mask.chara = writes[kChara] ? 0xFF : 0;
    std::uint32_t byteValue = 0, byteMask = 0;
    std::memcpy(&byteValue, reinterpret_cast<const unsigned char*>(&value) + 2, 4);
    std::memcpy(&byteMask, reinterpret_cast<const unsigned char*>(&mask) + 2, 4);
    byteValue &= byteMask;
    const bool wPlace = writes[kPlace];
    const i32 place = o[kPlace];
    return forEachCellInStoreOrder(s, map, range, [=](Cell& cell) {
        unsigned char* raw = reinterpret_cast<unsigned char*>(&cell);
        std::uint32_t bytes;
        std::memcpy(&bytes, raw + 2, 4);
        const std::uint32_t newBytes = (bytes & ~byteMask) | byteValue;
        std::memcpy(raw + 2, &newBytes, 4);
        i32 oldPlace;
        std::memcpy(&oldPlace, raw + 6, 4);
        const i32 newPlace = wPlace ? place : oldPlace;
        std::memcpy(raw + 6, &newPlace, 4);
        return (bytes != newBytes) | (oldPlace != newPlace);
    });
}

ChangedCells eraseCells(Scenario& s, const CellIndexMap& map, CellRange range,
                        const std::array<bool, 6>& targets) {
    return forEachCellInStoreOrder(s, map, range, [&](Cell& cell) {
        bool changed = false;
        for (int layer : kEraseOrder) {
            if (targets[static_cast<std::size_t>(layer)] && cellEntry(cell, layer) != 0) {
                setCellEntry(cell, layer, 0);
                changed = true;
            }
        }
        return changed;
    });
}

ChangedCells randomDrawCells(Scenario& s, const CellIndexMap& map, CellRange range, const DrawChoice& choice,
                             int ratio, const PercentSource& percent) {
    if (ratio < 1 || ratio > 100 || !percent) return {};
    const DrawPlan plan = drawPlan(s, choice);
    if (plan.count == 0) return {};
    return forEachCell(s, map, range, [&](Cell& cell) {
        bool changed = false;
        for (int i = 0; i < plan.count; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (percent() < ratio && cellEntry(cell, plan.layers[k]) != plan.objects[k]) {
                setCellEntry(cell, plan.layers[k], plan.objects[k]);
                changed = true;
            }
        }
        return changed;
    });
}

ChangedCells randomEraseCells(Scenario& s, const CellIndexMap& map, CellRange range,
                              const std::array<bool, 6>& targets, int ratio, const PercentSource& percent) {
    if (ratio < 1 || ratio > 100 || !percent) return {};
    return forEachCell(s, map, range, [&](Cell& cell) {
        bool changed = false;
        for (int layer : kEraseOrder) {
            if (!targets[static_cast<std::size_t>(layer)]) continue;
            if (percent() < ratio && cellEntry(cell, layer) != 0) {
                setCellEntry(cell, layer, 0);
                changed = true;
            }
        }
        return changed;
    });
}

}  // namespace qrn
