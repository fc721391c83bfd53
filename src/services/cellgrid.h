// A scrolled grid of equal cells with a cursor cell, framed in red, and an
// optional range selection: the map, the palette pages and the image view
// are built on it. The grid scrolls by whole cells (the scroll bars count
// columns and rows); what a cell shows is painted by the derived class.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace qrn {

class CellGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CellGrid(QWidget* parent = nullptr);

    // Geometry and look.
    void setGridSize(int columns, int rows);
    void setCellSize(const QSize& size);
    // Pixels of grid line after every cell (0: none); lines and the area
    // beyond the last cell are painted in their colours.
    void setLineWidth(int pixels);
    void setLineColour(const QColor& colour) { lineColour_ = colour; }
    void setOutsideColour(const QColor& colour) { outsideColour_ = colour; }
    // Whether the cursor and the selection are framed in red.
    void setCursorFrame(bool on) { cursorFrame_ = on; }
    // Range mode: Shift+keys and Shift+click, and dragging, extend a
    // selection from an anchor; leaving it collapses the selection onto the cursor.
    void setRangeSelection(bool on);
    // Whether the cursor follows the mouse dragged with the left button.
    void setDragFollows(bool on) { dragFollows_ = on; }

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    QSize cellSize() const { return cellSize_; }
    int lineWidth() const { return lineWidth_; }
    bool rangeSelection() const { return rangeMode_; }
    bool inGrid(int col, int row) const { return col >= 0 && row >= 0 && col < columns_ && row < rows_; }
    // The first column and row shown (the scroll bar values).
    int leftCol() const;
    int topRow() const;
    int fullyVisibleColumns() const;
    int fullyVisibleRows() const;

    // The cursor cell, (-1, -1) while there is none.
    QPoint cursorCell() const { return cursor_; }
    // Moves the cursor as a program does: scrolled into view, reported by
    // cursorMoved but not as picked by the author.
    void setCursorCell(int col, int row);
    // No cursor (nothing chosen yet) until the next move or setGridSize; not
    // reported. Keys then move from the first cell.
    void clearCursor();
    // Selection rectangle (empty for an empty grid).
    QRect selection() const;
    void setSelection(const QRect& cells);

    // Rectangle of a cell in viewport coordinates (may lie outside the viewport).
    QRect cellRect(int col, int row) const;
    // Cell under a viewport position, or (-1, -1) outside the grid.
    QPoint cellAt(const QPoint& pos) const;
    void repaintCell(int col, int row);
    // Repaints the visible part of a rectangle of cells.
    void updateCells(const QRect& cells);

    // Paints the cells that meet `area` (viewport coordinates) with `painter`.
    void paintCells(QPainter& painter, const QRect& area);

signals:
    // The cursor moved to another cell (also when moved by setCursorCell).
    void cursorMoved(int col, int row);
    // The author put the cursor on a cell with the mouse or a key (also the cell it was on).
    void picked(int col, int row);
    // Double click on a cell or Enter: the cursor cell.
    void activated(int col, int row);

protected:
    // Paints one cell into `rect` (viewport coordinates); the frame comes after.
    virtual void paintCell(QPainter& painter, const QRect& rect, int col, int row) = 0;
    // Whether the author may put the cursor on a cell with the mouse or a key
    // (a refused cell is neither picked nor activated); moves by the program are not asked.
    virtual bool acceptsCursor(int /*col*/, int /*row*/) const { return true; }
    // Runs after the cursor moved; `byUser` for mouse and keys. By default
    // emits cursorMoved and, for the author's moves, picked.
    virtual void cursorChanged(int col, int row, bool byUser);
    // Moves the cursor; with `extend` (range mode) the selection grows from the anchor.
    void moveCursor(int col, int row, bool extend, bool byUser);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Arrows, PgUp/PgDn, Home/End (Ctrl: also the first/last row) and Enter.
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int pitchX() const { return cellSize_.width() + lineWidth_; }
    int pitchY() const { return cellSize_.height() + lineWidth_; }
    void updateScrollBars();
    void ensureVisible(int col, int row);

    int columns_ = 0;
    int rows_ = 0;
    QSize cellSize_{32, 32};
    int lineWidth_ = 0;
    QColor lineColour_{192, 192, 192};
    QColor outsideColour_{128, 128, 128};
    bool cursorFrame_ = true;
    bool rangeMode_ = false;
    bool dragFollows_ = false;
    bool leftDown_ = false;
    QPoint cursor_{0, 0};
    QPoint anchor_{0, 0};
    QRect selection_{0, 0, 1, 1};
};

}  // namespace qrn
