#include "services/cellgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "services/gridnavigation.h"

namespace qrn {

namespace {

const QColor kFrameColour(255, 0, 0);

}  // namespace

CellGrid::CellGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
}

// ---- geometry ------------------------------------------------------------------

void CellGrid::setGridSize(int columns, int rows) {
    columns_ = std::max(0, columns);
    rows_ = std::max(0, rows);
    cursor_.setX(std::clamp(cursor_.x(), 0, std::max(0, columns_ - 1)));
    cursor_.setY(std::clamp(cursor_.y(), 0, std::max(0, rows_ - 1)));
    anchor_ = cursor_;
    selection_ = QRect(cursor_, QSize(1, 1));
    updateScrollBars();
    viewport()->update();
}

void CellGrid::setCellSize(const QSize& size) {
    cellSize_ = size.expandedTo(QSize(1, 1));
    updateScrollBars();
    if (inGrid(cursor_.x(), cursor_.y())) ensureVisible(cursor_.x(), cursor_.y());
    viewport()->update();
}

void CellGrid::setLineWidth(int pixels) {
    lineWidth_ = std::max(0, pixels);
    updateScrollBars();
    viewport()->update();
}

void CellGrid::setRangeSelection(bool on) {
    rangeMode_ = on;
    if (!on) {
        const QRect old = selection_;
        anchor_ = cursor_;
        selection_ = QRect(cursor_, QSize(1, 1));
        updateCells(old);
    }
}

int CellGrid::leftCol() const { return horizontalScrollBar()->value(); }
int CellGrid::topRow() const { return verticalScrollBar()->value(); }

int CellGrid::fullyVisibleColumns() const { return std::max(1, viewport()->width() / pitchX()); }
int CellGrid::fullyVisibleRows() const { return std::max(1, viewport()->height() / pitchY()); }

QRect CellGrid::cellRect(int col, int row) const {
    return QRect(QPoint((col - leftCol()) * pitchX(), (row - topRow()) * pitchY()), cellSize_);
}

QPoint CellGrid::cellAt(const QPoint& pos) const {
    if (pos.x() < 0 || pos.y() < 0) return {-1, -1};
    const int col = leftCol() + pos.x() / pitchX();
    const int row = topRow() + pos.y() / pitchY();
    if (!inGrid(col, row)) return {-1, -1};
    return {col, row};
}

void CellGrid::updateScrollBars() {
    horizontalScrollBar()->setPageStep(fullyVisibleColumns());
    verticalScrollBar()->setPageStep(fullyVisibleRows());
    horizontalScrollBar()->setRange(0, std::max(0, columns_ - fullyVisibleColumns()));
    verticalScrollBar()->setRange(0, std::max(0, rows_ - fullyVisibleRows()));
}

void CellGrid::ensureVisible(int col, int row) {
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (col < h->value()) h->setValue(col);
    else if (col >= h->value() + fullyVisibleColumns()) h->setValue(col - fullyVisibleColumns() + 1);
    if (row < v->value()) v->setValue(row);
    else if (row >= v->value() + fullyVisibleRows()) v->setValue(row - fullyVisibleRows() + 1);
}

void CellGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CellGrid::scrollContentsBy(int, int) { viewport()->update(); }

// ---- cursor and selection ------------------------------------------------------

void CellGrid::updateCells(const QRect& cells) {
    if (cells.isEmpty()) return;
    const QRect pixels = cellRect(cells.left(), cells.top()).united(cellRect(cells.right(), cells.bottom()));
    const QRect visible = pixels.intersected(viewport()->rect());
    if (!visible.isEmpty()) viewport()->update(visible);
}

void CellGrid::repaintCell(int col, int row) {
    const QRect r = cellRect(col, row);
    if (r.intersects(viewport()->rect())) viewport()->update(r);
}

void CellGrid::moveCursor(int col, int row, bool extend, bool byUser) {
    if (!inGrid(col, row) || (byUser && !acceptsCursor(col, row))) return;
    updateCells(selection_);
    updateCells(QRect(cursor_, QSize(1, 1)));
    if (!extend || !rangeMode_ || !inGrid(cursor_.x(), cursor_.y())) anchor_ = QPoint(col, row);
    cursor_ = QPoint(col, row);
    selection_ = QRect(QPoint(std::min(anchor_.x(), col), std::min(anchor_.y(), row)),
                       QPoint(std::max(anchor_.x(), col), std::max(anchor_.y(), row)));
    updateCells(selection_);
    ensureVisible(col, row);
    cursorChanged(col, row, byUser);
}

void CellGrid::cursorChanged(int col, int row, bool byUser) {
    emit cursorMoved(col, row);
    if (byUser) emit picked(col, row);
}

void CellGrid::setCursorCell(int col, int row) { moveCursor(col, row, false, false); }

void CellGrid::clearCursor() {
    updateCells(selection_);
    updateCells(QRect(cursor_, QSize(1, 1)));
    cursor_ = anchor_ = QPoint(-1, -1);
    selection_ = QRect();
}

QRect CellGrid::selection() const {
    if (columns_ == 0 || rows_ == 0) return {};
    return selection_;
}

void CellGrid::setSelection(const QRect& cells) {
    const QRect wanted = cells.normalized().intersected(QRect(0, 0, columns_, rows_));
    if (wanted.isEmpty()) return;
    updateCells(selection_);
    anchor_ = wanted.topLeft();
    selection_ = wanted;
    updateCells(selection_);
}

// ---- keys and mouse ------------------------------------------------------------

void CellGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && inGrid(cursor_.x(), cursor_.y())) {
        emit activated(cursor_.x(), cursor_.y());
        return;
    }
    const QPoint from = inGrid(cursor_.x(), cursor_.y()) ? cursor_ : QPoint(0, 0);
    const std::optional<QPoint> to = gridKeyMove(key, event->modifiers() & Qt::ControlModifier, from, columns_,
                                                 rows_, fullyVisibleRows());
    if (!to) {
        event->ignore();
        return;
    }
    if (*to != from) moveCursor(to->x(), to->y(), rangeMode_ && (event->modifiers() & Qt::ShiftModifier), true);
}

void CellGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() < 0) return;
    leftDown_ = true;
    moveCursor(cell.x(), cell.y(), rangeMode_ && (event->modifiers() & Qt::ShiftModifier), true);
}

void CellGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFollows_ || !leftDown_ || !(event->buttons() & Qt::LeftButton)) return;
    // The cursor follows the dragging mouse, clamped to the viewport, over every cell passed.
    const QPoint pos = event->position().toPoint();
    const QPoint inside(std::clamp(pos.x(), 0, std::max(0, viewport()->width() - 1)),
                        std::clamp(pos.y(), 0, std::max(0, viewport()->height() - 1)));
    const int col = std::min(leftCol() + inside.x() / pitchX(), columns_ - 1);
    const int row = std::min(topRow() + inside.y() / pitchY(), rows_ - 1);
    if (inGrid(col, row) && QPoint(col, row) != cursor_) moveCursor(col, row, rangeMode_, true);
}

void CellGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftDown_ = false;
}

void CellGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    leftDown_ = true;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0 && acceptsCursor(cell.x(), cell.y())) emit activated(cursor_.x(), cursor_.y());
}

// ---- painting ------------------------------------------------------------------

void CellGrid::paintCells(QPainter& painter, const QRect& area) {
    const int stepX = pitchX();
    const int stepY = pitchY();
    const int left = leftCol();
    const int top = topRow();
    // The grid's part of the viewport; what lies beyond it is background.
    const QRect gridPixels(0, 0, std::max(0, (columns_ - left) * stepX), std::max(0, (rows_ - top) * stepY));
    const QRect rightOfGrid = area.intersected(
        QRect(gridPixels.width(), area.top(), std::max(0, area.right() + 1 - gridPixels.width()), area.height()));
    const QRect belowGrid = area.intersected(
        QRect(area.left(), gridPixels.height(), area.width(), std::max(0, area.bottom() + 1 - gridPixels.height())));
    if (!rightOfGrid.isEmpty()) painter.fillRect(rightOfGrid, outsideColour_);
    if (!belowGrid.isEmpty()) painter.fillRect(belowGrid, outsideColour_);
    const QRect paintArea = area.intersected(gridPixels);
    if (paintArea.isEmpty()) return;
    const int c0 = left + paintArea.left() / stepX;
    const int c1 = std::min(columns_ - 1, left + paintArea.right() / stepX);
    const int r0 = top + paintArea.top() / stepY;
    const int r1 = std::min(rows_ - 1, top + paintArea.bottom() / stepY);

    if (lineWidth_ > 0) {
        for (int c = c0; c <= c1; ++c)
            painter.fillRect(QRect((c - left) * stepX + cellSize_.width(), paintArea.top(), lineWidth_, paintArea.height()),
                             lineColour_);
        for (int r = r0; r <= r1; ++r)
            painter.fillRect(QRect(paintArea.left(), (r - top) * stepY + cellSize_.height(), paintArea.width(), lineWidth_),
                             lineColour_);
    }
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            paintCell(painter, QRect(QPoint((c - left) * stepX, (r - top) * stepY), cellSize_), c, r);

    if (!cursorFrame_) return;
    painter.setPen(kFrameColour);
    painter.setBrush(Qt::NoBrush);
    const QSize frame = cellSize_ - QSize(1, 1);
    const QRect shown(QPoint(c0, r0), QPoint(c1, r1));
    const QRect framed = selection_.intersected(shown);
    for (int r = framed.top(); r <= framed.bottom(); ++r)
        for (int c = framed.left(); c <= framed.right(); ++c)
            painter.drawRect(QRect(QPoint((c - left) * stepX, (r - top) * stepY), frame));
    if (shown.contains(cursor_) && !selection_.contains(cursor_))
        painter.drawRect(QRect(QPoint((cursor_.x() - left) * stepX, (cursor_.y() - top) * stepY), frame));
}

void CellGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    paintCells(painter, event->rect());
}

}  // namespace qrn
