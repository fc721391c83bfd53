#include "editor/mapgrid.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>

#include "editor/editorcontext.h"
#include "editor/options.h"
#include "properties/paramedit.h"
#include "scenario/cellcomposition.h"
#include "views/palette.h"
#include "views/palette_layers.h"

namespace qrn {

namespace {

constexpr int kChip = 32;
// The pen and random draw write the layers in this order, the erasers this one.
constexpr std::array<int, 5> kDrawOrder{kPlace, kEnter, kChara, kItem, kEvent};
constexpr std::array<int, 5> kEraseOrder{kPlace, kEnter, kEvent, kItem, kChara};

const QColor kGridLineColour(192, 192, 192);
const QColor kOutsideColour(128, 128, 128);
const QColor kFrameColour(255, 0, 0);

bool isNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

bool dragComing() {
    const Options* options = editor().options;
    return options ? options->coming : true;
}

}  // namespace

MapGrid::MapGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setToolTip(QStringLiteral(
        "右ｸﾘｯｸ：ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰ／右ﾄﾞﾗｯｸﾞ：ｽｸﾛｰﾙ／ｽﾍﾟｰｽ：描画（削除）対象切替"));
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    const auto clock = static_cast<std::uint32_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    random_.seed(std::random_device{}() ^ clock);
}

// ---- geometry ------------------------------------------------------------------

void MapGrid::setFieldSize(int columns, int rows) {
    columns_ = std::clamp(columns, 0, kMaxFieldSide);
    rows_ = std::clamp(rows, 0, kMaxFieldSide);
    cursor_.setX(std::clamp(cursor_.x(), 0, std::max(0, columns_ - 1)));
    cursor_.setY(std::clamp(cursor_.y(), 0, std::max(0, rows_ - 1)));
    anchor_ = cursor_;
    selection_ = QRect(cursor_, QSize(1, 1));
    updateScrollBars();
    repaintAll();
}

void MapGrid::setCellSize(int pixels) {
    cellPx_ = std::clamp(pixels, 8, 64);
    updateScrollBars();
    ensureVisible(cursor_.x(), cursor_.y());
    viewport()->update();
}

void MapGrid::setGridLines(bool on) {
    lineWidth_ = on ? 1 : 0;
    updateScrollBars();
    viewport()->update();
}

void MapGrid::setRangeSelection(bool on) {
    rangeMode_ = on;
    if (!on) {
        const QRect old = selection_;
        anchor_ = cursor_;
        selection_ = QRect(cursor_, QSize(1, 1));
        updateCells(old);
    }
}

void MapGrid::setPopupMenu(QMenu* menu) { popup_ = menu; }

int MapGrid::leftCol() const { return horizontalScrollBar()->value(); }
int MapGrid::topRow() const { return verticalScrollBar()->value(); }

QRect MapGrid::cellRect(int col, int row) const {
    return QRect((col - leftCol()) * pitch(), (row - topRow()) * pitch(), cellPx_, cellPx_);
}

QPoint MapGrid::cellAt(const QPoint& pos) const {
    if (pos.x() < 0 || pos.y() < 0) return {-1, -1};
    const int col = leftCol() + pos.x() / pitch();
    const int row = topRow() + pos.y() / pitch();
    if (!inField(col, row)) return {-1, -1};
    return {col, row};
}

bool MapGrid::inField(int col, int row) const {
    return col >= 0 && row >= 0 && col < columns_ && row < rows_;
}

Cell* MapGrid::cellRecord(int col, int row) const {
    if (!inField(col, row)) return nullptr;
    const int n = editor().cellIndexMap[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    if (n < 1 || n > kCellCount) return nullptr;
    return &editor().scenario.cell(n);
}

int MapGrid::fullyVisibleColumns() const { return std::max(1, viewport()->width() / pitch()); }
int MapGrid::fullyVisibleRows() const { return std::max(1, viewport()->height() / pitch()); }

void MapGrid::updateScrollBars() {
    horizontalScrollBar()->setPageStep(fullyVisibleColumns());
    verticalScrollBar()->setPageStep(fullyVisibleRows());
    horizontalScrollBar()->setRange(0, std::max(0, columns_ - fullyVisibleColumns()));
    verticalScrollBar()->setRange(0, std::max(0, rows_ - fullyVisibleRows()));
}

void MapGrid::ensureVisible(int col, int row) {
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (col < h->value()) h->setValue(col);
    else if (col >= h->value() + fullyVisibleColumns()) h->setValue(col - fullyVisibleColumns() + 1);
    if (row < v->value()) v->setValue(row);
    else if (row >= v->value() + fullyVisibleRows()) v->setValue(row - fullyVisibleRows() + 1);
}

void MapGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void MapGrid::scrollContentsBy(int, int) { viewport()->update(); }

// ---- cursor and selection ------------------------------------------------------

void MapGrid::updateCells(const QRect& cells) {
    if (cells.isEmpty()) return;
    const QRect pixels = cellRect(cells.left(), cells.top()).united(cellRect(cells.right(), cells.bottom()));
    const QRect visible = pixels.intersected(viewport()->rect());
    if (!visible.isEmpty()) viewport()->update(visible);
}

void MapGrid::moveCursor(int col, int row, bool extend, bool runHandler) {
    if (!inField(col, row)) return;
    updateCells(selection_);
    updateCells(QRect(cursor_, QSize(1, 1)));
    cursor_ = QPoint(col, row);
    if (!extend || !rangeMode_) anchor_ = cursor_;
    selection_ = QRect(QPoint(std::min(anchor_.x(), col), std::min(anchor_.y(), row)),
                       QPoint(std::max(anchor_.x(), col), std::max(anchor_.y(), row)));
    updateCells(selection_);
    ensureVisible(col, row);
    if (runHandler) {
        mapgridSelectCell(col, row);
    } else {
        EditorState& state = editor().state;
        state.cursorCol = col;
        state.cursorRow = row;
        emit cursorMoved(col, row);
    }
}

void MapGrid::setCursorCell(int col, int row) { moveCursor(col, row, false, false); }

void MapGrid::selectCell(int col, int row) {
    if (!inField(col, row)) return;
    moveCursor(col, row, false, false);
    // The field remembers the place, as for a move by hand.
    EditorState& state = editor().state;
    if (state.currentField >= 1 && state.currentField <= kFieldCount)
        state.fieldCursor[state.currentField] = {col, row};
}

QRect MapGrid::selection() const {
    if (columns_ == 0 || rows_ == 0) return {};
    return selection_;
}

void MapGrid::setSelection(const QRect& cells) {
    QRect wanted = cells.normalized().intersected(QRect(0, 0, columns_, rows_));
    if (wanted.isEmpty()) return;
    updateCells(selection_);
    anchor_ = wanted.topLeft();
    selection_ = wanted;
    updateCells(selection_);
}

void MapGrid::repaintCell(int col, int row) {
    const QRect r = cellRect(col, row);
    if (r.intersects(viewport()->rect())) viewport()->update(r);
}

void MapGrid::repaintAll() {
    composer_.forget();  // the pictures may have changed
    viewport()->update();
}

// ---- the cell-selection handler and the pen ------------------------------------

void MapGrid::mapgridSelectCell(int col, int row) {
    EditorContext& ctx = editor();
    EditorState& state = ctx.state;
    state.cursorCol = col;
    state.cursorRow = row;
    if (state.currentField >= 1 && state.currentField <= kFieldCount)
        state.fieldCursor[state.currentField] = {col, row};
    emit cursorMoved(col, row);
    if (state.skipNextDraw) {
        state.skipNextDraw = false;
        return;
    }
    switch (state.drawMode) {
    case 0: propstatechange(); break;
    case 1: penStroke(col, row); break;
    default: break;  // range mode: the selection grows, nothing is drawn
    }
}

void MapGrid::penStroke(int col, int row) {
    Cell* cell = cellRecord(col, row);
    if (!cell) return;
    EditorContext& ctx = editor();
    for (int layer : kDrawOrder) {
        const int object = ctx.drawing.currentObject[static_cast<std::size_t>(layer)];
        if (ctx.drawing.drawTarget[static_cast<std::size_t>(layer)] && objectInUse(ctx.scenario, layer, object))
            setCellEntry(*cell, layer, object);
    }
    repaintCell(col, row);
}

void MapGrid::clearCell(int col, int row) {
    Cell* cell = cellRecord(col, row);
    if (!cell) return;
    const DrawingState& drawing = editor().drawing;
    for (int layer : kEraseOrder)
        if (drawing.drawTarget[static_cast<std::size_t>(layer)]) setCellEntry(*cell, layer, 0);
    repaintCell(col, row);
}

void MapGrid::spaceTargetChange() {
    auto& target = editor().drawing.drawTarget;
    int next = kPlace;
    if (target[kPlace]) next = kEnter;
    else if (target[kEnter]) next = kEvent;
    else if (target[kEvent]) next = kItem;
    else if (target[kItem]) next = kChara;
    target.fill(false);
    target[static_cast<std::size_t>(next)] = true;
    if (editor().palette) editor().palette->alldrawpicrefresh();
}

void MapGrid::propstatechange() {
    EditorContext& ctx = editor();
    const Cell* cell = cellRecord(cursor_.x(), cursor_.y());
    if (!cell) return;
    int layer = std::clamp(ctx.state.propertyLayer, 1, kLayerCount);
    bool found = false;
    for (int tries = 0; tries < kLayerCount && !found; ++tries) {
        layer = layer % kLayerCount + 1;
        // A number beyond the layer's table (a damaged file) has nothing to show.
        found = cellHasObject(*cell, layer) && validObject(layer, cellEntry(*cell, layer));
    }
    if (!found) return;
    ctx.state.propertyLayer = layer;
    const int object = cellEntry(*cell, layer);
    ctx.drawing.currentObject[static_cast<std::size_t>(layer)] = object;
    if (ctx.palette) ctx.palette->selectFromMap(layer, object);
    if (ctx.paramedit) ctx.paramedit->openOn(layer, object, false);
}

// ---- range tools ---------------------------------------------------------------

template <typename Visit>
void MapGrid::forEachSelectedCell(Visit visit) {
    const QRect sel = selection();
    if (sel.left() < 0 || sel.top() < 0 || sel.right() < 0 || sel.bottom() < 0) return;
    const QRect view = viewport()->rect();
    // Changed cells that touch each other in a column make one rectangle;
    // neighbouring columns with the same rows merge.
    std::vector<QRect> dirty;
    const auto addRun = [&](const QRect& run) {
        if (!dirty.empty()) {
            QRect& last = dirty.back();
            if (last.top() == run.top() && last.bottom() == run.bottom() && last.right() + 1 >= run.left()) {
                last = last.united(run);
                return;
            }
        }
        dirty.push_back(run);
    };
    for (int col = sel.left(); col <= sel.right(); ++col) {
        QRect run;
        for (int row = sel.top(); row <= sel.bottom(); ++row) {
            Cell* cell = cellRecord(col, row);
            const bool changed = cell && visit(*cell);
            const QRect r = cellRect(col, row);
            if (changed && r.intersects(view)) {
                run = run.isNull() ? r : run.united(r);
            } else if (!run.isNull()) {
                addRun(run);
                run = QRect();
            }
        }
        if (!run.isNull()) addRun(run);
    }
    // A scattered change (random tools) repaints its bounding rectangle: a
    // clip of many small rectangles makes painting slower than the few
    // unchanged cells cost.
    constexpr std::size_t kMaxRects = 16;
    if (dirty.size() > kMaxRects) {
        QRect bounds;
        for (const QRect& r : dirty) bounds = bounds.united(r);
        viewport()->update(bounds.intersected(view));
    } else {
        for (const QRect& r : dirty) viewport()->update(r.intersected(view));
    }
}

void MapGrid::brushbtnClick() {
    EditorContext& ctx = editor();
    std::array<int, 5> objects{};
    std::array<bool, 5> writes{};
    for (std::size_t i = 0; i < kDrawOrder.size(); ++i) {
        const auto layer = static_cast<std::size_t>(kDrawOrder[i]);
        objects[i] = ctx.drawing.currentObject[layer];
        writes[i] = ctx.drawing.drawTarget[layer] && objectInUse(ctx.scenario, kDrawOrder[i], objects[i]);
    }
    forEachSelectedCell([&](Cell& cell) {
        bool changed = false;
        for (std::size_t i = 0; i < kDrawOrder.size(); ++i) {
            if (writes[i] && cellEntry(cell, kDrawOrder[i]) != objects[i]) {
                setCellEntry(cell, kDrawOrder[i], objects[i]);
                changed = true;
            }
        }
        return changed;
    });
}

void MapGrid::eracebtnClick() {
    const auto& target = editor().drawing.drawTarget;
    forEachSelectedCell([&](Cell& cell) {
        bool changed = false;
        for (int layer : kEraseOrder) {
            if (target[static_cast<std::size_t>(layer)] && cellEntry(cell, layer) != 0) {
                setCellEntry(cell, layer, 0);
                changed = true;
            }
        }
        return changed;
    });
}

void MapGrid::setRatioProvider(std::function<int(Trandomform::Role)> provider) {
    ratioProvider_ = std::move(provider);
}

int MapGrid::askRatio(Trandomform::Role role) {
    if (ratioProvider_) return ratioProvider_(role);
    Trandomform* form = editor().randomform;
    return form ? form->askratio(role) : -1;
}

void MapGrid::randombrushbtnClick() {
    const QRect sel = selection();
    if (sel.left() < 0 || sel.top() < 0) return;
    const int ratio = askRatio(Trandomform::Draw);
    if (ratio < 1 || ratio > 100) return;
    EditorContext& ctx = editor();
    std::uniform_int_distribution<int> percent(0, 99);
    forEachSelectedCell([&](Cell& cell) {
        bool changed = false;
        for (int layer : kDrawOrder) {
            const int object = ctx.drawing.currentObject[static_cast<std::size_t>(layer)];
            if (!ctx.drawing.drawTarget[static_cast<std::size_t>(layer)] || !objectInUse(ctx.scenario, layer, object))
                continue;
            if (percent(random_) < ratio && cellEntry(cell, layer) != object) {
                setCellEntry(cell, layer, object);
                changed = true;
            }
        }
        return changed;
    });
}

void MapGrid::randomeracebtnClick() {
    const QRect sel = selection();
    if (sel.left() < 0 || sel.top() < 0) return;
    const int ratio = askRatio(Trandomform::Erase);
    if (ratio < 1 || ratio > 100) return;
    const auto& target = editor().drawing.drawTarget;
    std::uniform_int_distribution<int> percent(0, 99);
    forEachSelectedCell([&](Cell& cell) {
        bool changed = false;
        for (int layer : kEraseOrder) {
            if (!target[static_cast<std::size_t>(layer)]) continue;
            if (percent(random_) < ratio && cellEntry(cell, layer) != 0) {
                setCellEntry(cell, layer, 0);
                changed = true;
            }
        }
        return changed;
    });
}

void MapGrid::allselectbtnClick() { setSelection(QRect(0, 0, columns_, rows_)); }

// ---- keys ----------------------------------------------------------------------

void MapGrid::keyNavigate(QKeyEvent* event) {
    int col = cursor_.x();
    int row = cursor_.y();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_PageUp: row -= fullyVisibleRows(); break;
    case Qt::Key_PageDown: row += fullyVisibleRows(); break;
    case Qt::Key_Home: col = 0; if (ctrl) row = 0; break;
    case Qt::Key_End: col = columns_ - 1; if (ctrl) row = rows_ - 1; break;
    default: break;
    }
    col = std::clamp(col, 0, std::max(0, columns_ - 1));
    row = std::clamp(row, 0, std::max(0, rows_ - 1));
    EditorState& state = editor().state;
    state.skipNextDraw = true;
    if (QPoint(col, row) != cursor_) {
        const bool extend = rangeMode_ && (event->modifiers() & Qt::ShiftModifier);
        moveCursor(col, row, extend, true);
    }
    // A key that could not move the cursor must not swallow the next click.
    state.skipNextDraw = false;
}

void MapGrid::keyPressEvent(QKeyEvent* event) {
    const int mode = editor().state.drawMode;
    const int key = event->key();
    if (isNavigationKey(key)) {
        keyNavigate(event);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (mode == 0) propstatechange();
        else if (mode == 1) penStroke(cursor_.x(), cursor_.y());
        else brushbtnClick();
    } else if (key == Qt::Key_Delete) {
        if (mode == 1) clearCell(cursor_.x(), cursor_.y());
        else if (mode == 2) eracebtnClick();
    } else if (key == Qt::Key_Space) {
        spaceTargetChange();
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

// ---- mouse ---------------------------------------------------------------------

void MapGrid::mousePressEvent(QMouseEvent* event) {
    EditorState& state = editor().state;
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        state.lastMouseX = pos.x();
        state.lastMouseY = pos.y();
        viewport()->setCursor(Qt::SizeAllCursor);
        state.rightDrag = true;
        state.rightDragMoved = false;
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = cellAt(pos);
    if (cell.x() < 0) return;
    leftDown_ = true;
    moveCursor(cell.x(), cell.y(), rangeMode_ && (event->modifiers() & Qt::ShiftModifier), true);
}

void MapGrid::mouseMoveEvent(QMouseEvent* event) {
    EditorState& state = editor().state;
    const QPoint pos = event->position().toPoint();
    if ((event->buttons() & Qt::RightButton) && state.rightDrag) {
        const int dx = state.lastMouseX - pos.x();
        const int dy = state.lastMouseY - pos.y();
        if (dx != 0 || dy != 0) {
            const bool horizontal = std::abs(dy) <= std::abs(dx);
            const int away = horizontal ? dx : dy;  // < 0: the mouse went right or down
            int step = away < 0 ? -1 : 1;
            if (!dragComing()) step = -step;
            QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
            const int before = bar->value();
            bar->setValue(before + step);
            // Only a drag that scrolled is a drag: a jitter still opens the menu.
            if (bar->value() != before) state.rightDragMoved = true;
        }
    } else {
        if (viewport()->cursor().shape() == Qt::SizeAllCursor) viewport()->unsetCursor();
        state.rightDrag = false;
        if (leftDown_ && (event->buttons() & Qt::LeftButton)) {
            // The cursor follows the dragging mouse, so the pen paints every cell passed.
            const QPoint inside(std::clamp(pos.x(), 0, std::max(0, viewport()->width() - 1)),
                                std::clamp(pos.y(), 0, std::max(0, viewport()->height() - 1)));
            int col = std::min(leftCol() + inside.x() / pitch(), columns_ - 1);
            int row = std::min(topRow() + inside.y() / pitch(), rows_ - 1);
            if (inField(col, row) && QPoint(col, row) != cursor_) moveCursor(col, row, rangeMode_, true);
        }
    }
    state.lastMouseX = pos.x();
    state.lastMouseY = pos.y();
}

void MapGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftDown_ = false;
        return;
    }
    if (event->button() != Qt::RightButton) return;
    EditorState& state = editor().state;
    viewport()->unsetCursor();
    state.rightDrag = false;
    if (!state.rightDragMoved && popup_) popup_->popup(event->globalPosition().toPoint());
}

void MapGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    leftDown_ = true;
    if (editor().state.drawMode != 0) clearCell(cursor_.x(), cursor_.y());
}

// ---- painting ------------------------------------------------------------------

CellComposer::CellComposer() : chip_(kChip, kChip, QImage::Format_RGB32) { chip_.fill(Qt::black); }

bool CellComposer::pictureOpaque(int index) {
    const PictureList& list = editor().imageList;
    if (index < 0 || index >= list.count()) return false;
    if (opaque_.size() != static_cast<std::size_t>(list.count())) opaque_.resize(static_cast<std::size_t>(list.count()), -1);
    signed char& known = opaque_[static_cast<std::size_t>(index)];
    if (known < 0) {
        // Looked at once per picture: a chip without transparent pixels hides
        // every layer below it, so composing can start there.
        const QImage image = list.pixmap(index).toImage();
        bool opaque = !image.isNull();
        if (opaque && image.hasAlphaChannel()) {
            const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < argb.height() && opaque; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
                for (int x = 0; x < argb.width(); ++x)
                    if (qAlpha(line[x]) != 255) { opaque = false; break; }
            }
        }
        known = opaque ? 1 : 0;
    }
    return known == 1;
}

std::size_t CellComposer::LookHash::operator()(const Look& look) const {
    std::size_t h = 0;
    for (int index : look) h = h * 1000003u ^ static_cast<std::size_t>(index + 1);
    return h;
}

CellComposer::Look CellComposer::lookOf(const Cell* cell) const {
    if (!cell) return CellLook{}.pictures;
    const EditorContext& ctx = editor();
    return composeCell(*cell, ctx.side.pictures, ctx.state.layerVisible, ctx.imageList.count()).pictures;
}

void CellComposer::compose(const Look& look) {
    const PictureList& list = editor().imageList;
    int count = 0;
    while (count < 5 && look[static_cast<std::size_t>(count)] >= 0) ++count;
    int first = 0;
    for (int i = count - 1; i >= 0; --i) {
        if (pictureOpaque(look[static_cast<std::size_t>(i)])) { first = i; break; }
    }
    QPainter chipPainter(&chip_);
    chipPainter.setCompositionMode(QPainter::CompositionMode_Source);
    if (count == 0 || !pictureOpaque(look[static_cast<std::size_t>(first)])) {
        chipPainter.drawPixmap(0, 0, list.blankChip());
        chipPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    for (int i = first; i < count; ++i) {
        chipPainter.drawPixmap(0, 0, list.pixmap(look[static_cast<std::size_t>(i)]));
        chipPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

const QImage& CellComposer::cellImage(const Cell* cell, int cellPixels) {
    constexpr std::size_t kMaxLooks = 4096;  // about 16 MB at 32 pixels
    const int pictureCount = editor().imageList.count();
    if (pictureCount != pictureCount_ || cellPixels != cellPixels_) {
        forget();
        pictureCount_ = pictureCount;
        cellPixels_ = cellPixels;
    }
    const Look look = lookOf(cell);
    auto found = composed_.find(look);
    if (found != composed_.end()) return found->second;
    if (composed_.size() >= kMaxLooks) composed_.clear();
    compose(look);
    QImage stretched(cellPixels, cellPixels, QImage::Format_RGB32);
    {
        QPainter painter(&stretched);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(stretched.rect(), chip_);
    }
    return composed_.emplace(look, std::move(stretched)).first->second;
}

void CellComposer::forget() {
    composed_.clear();
    opaque_.clear();
}

void MapGrid::paintCells(QPainter& painter, const QRect& area) {
    const int step = pitch();
    const int left = leftCol();
    const int top = topRow();
    // The field's part of the viewport; what lies beyond it is background.
    const QRect fieldPixels(0, 0, std::max(0, (columns_ - left) * step), std::max(0, (rows_ - top) * step));
    const QRect rightOfField = area.intersected(
        QRect(fieldPixels.width(), area.top(), std::max(0, area.right() + 1 - fieldPixels.width()), area.height()));
    const QRect belowField = area.intersected(
        QRect(area.left(), fieldPixels.height(), area.width(), std::max(0, area.bottom() + 1 - fieldPixels.height())));
    if (!rightOfField.isEmpty()) painter.fillRect(rightOfField, kOutsideColour);
    if (!belowField.isEmpty()) painter.fillRect(belowField, kOutsideColour);
    const QRect paintArea = area.intersected(fieldPixels);
    if (paintArea.isEmpty()) return;
    const int c0 = left + paintArea.left() / step;
    const int c1 = std::min(columns_ - 1, left + paintArea.right() / step);
    const int r0 = top + paintArea.top() / step;
    const int r1 = std::min(rows_ - 1, top + paintArea.bottom() / step);

    if (lineWidth_ > 0) {
        for (int c = c0; c <= c1; ++c)
            painter.fillRect(QRect((c - left) * step + cellPx_, paintArea.top(), lineWidth_, paintArea.height()), kGridLineColour);
        for (int r = r0; r <= r1; ++r)
            painter.fillRect(QRect(paintArea.left(), (r - top) * step + cellPx_, paintArea.width(), lineWidth_), kGridLineColour);
    }

    painter.setPen(kFrameColour);
    painter.setBrush(Qt::NoBrush);
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) {
            const QPoint topLeft((c - left) * step, (r - top) * step);
            painter.drawImage(topLeft, composer_.cellImage(cellRecord(c, r), cellPx_));
            if (selection_.contains(c, r) || cursor_ == QPoint(c, r))
                painter.drawRect(QRect(topLeft, QSize(cellPx_ - 1, cellPx_ - 1)));
        }
    }
}

void MapGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    paintCells(painter, event->rect());
}

}  // namespace qrn
