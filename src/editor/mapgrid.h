// The map grid of the main window: the current field cell by cell, where the
// author paints with the pen and the range tools.
#pragma once

#include <QAbstractScrollArea>
#include <QRect>

class QMenu;

namespace qrn {

class MapGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit MapGrid(QWidget* parent = nullptr);

    // Field geometry and look.
    void setFieldSize(int columns, int rows);
    void setCellSize(int pixels);             // 32, 24 or 16
    void setGridLines(bool on);
    void setRangeSelection(bool on);          // range mode extends a selection
    void setPopupMenu(QMenu* menu);           // opened by a right click without dragging

    // Moves the cursor without running the cell-selection handler.
    void setCursorCell(int col, int row);
    // Moves cursor and selection to a cell, as the jump list does.
    void selectCell(int col, int row);
    // Selection rectangle (columns Left..Right, rows Top..Bottom).
    QRect selection() const;
    void setSelection(const QRect& cells);

    void repaintCell(int col, int row);
    void repaintAll();

    // Range tools and select all.
    void brushbtnClick();
    void eracebtnClick();
    void randombrushbtnClick();
    void randomeracebtnClick();
    void allselectbtnClick();
    // Property mode: show the next layer's object of the cursor cell.
    void propstatechange();
};

}  // namespace qrn
