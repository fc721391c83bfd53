// The image view's chip grid (DrawGrid1): 15 x 60 cells of 32 x 32 pixels,
// painted from the file table, with a red frame around the selected cell.
#pragma once

#include <functional>

#include "services/cellgrid.h"

namespace qrn {

class ChipTable;

class ChipGrid : public CellGrid {
public:
    static constexpr int kPitch = 33;  // 32 pixel cell + 1 pixel line

    ChipGrid(const ChipTable& table, QWidget* parent = nullptr);

    int current() const { return cursorCell().y() * columns() + cursorCell().x(); }
    // Moves the selection frame (scrolled into view) without calling onSelect.
    void setCurrent(int index);

    std::function<void(int)> onSelect;    // the author picked a cell
    std::function<void()> onActivate;     // double-click

protected:
    void paintCell(QPainter& painter, const QRect& rect, int col, int row) override;
    // Enter is left to the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    const ChipTable& table_;
};

}  // namespace qrn
