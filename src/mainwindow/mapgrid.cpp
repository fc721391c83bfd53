#include "mainwindow/mapgrid.h"
#include "mainwindow/editorwindows.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>

#include "services/editorcontext.h"
#include "services/options.h"
#include "properties/paramedit.h"
#include "scenario/cellcomposition.h"
#include "scenario/celledit.h"
#include "views/palette.h"
#include "scenario/maplayers.h"

namespace qrn {

namespace {

constexpr int kChip = 32;

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

MapGrid::MapGrid(QWidget* parent) : CellGrid(parent) {
    setLineWidth(1);
    setDragFollows(true);
    viewport()->setMouseTracking(true);
    viewport()->setToolTip(QStringLiteral(
        "右ｸﾘｯｸ：ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰ／右ﾄﾞﾗｯｸﾞ：ｽｸﾛｰﾙ／ｽﾍﾟｰｽ：描画（削除）対象切替"));
    const auto clock = static_cast<std::uint32_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    random_.seed(std::random_device{}() ^ clock);
}

void MapGrid::setFieldSize(int columns, int rows) {
    setGridSize(std::clamp(columns, 0, kMaxFieldSide), std::clamp(rows, 0, kMaxFieldSide));
    repaintAll();
}

void MapGrid::setCellSize(int pixels) {
    const int side = std::clamp(pixels, 8, 64);
    CellGrid::setCellSize(QSize(side, side));
}

Cell* MapGrid::cellRecord(int col, int row) const {
    if (!inGrid(col, row)) return nullptr;
    const int n = editor().cellIndexMap[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    if (n < 1 || n > kCellCount) return nullptr;
    return &editor().scenario.cell(n);
}

void MapGrid::cursorChanged(int col, int row, bool byUser) {
    if (byUser) {
        mapgridSelectCell(col, row);
        return;
    }
    EditorState& state = editor().state;
    state.cursorCol = col;
    state.cursorRow = row;
    emit cursorMoved(col, row);
}

void MapGrid::selectCell(int col, int row) {
    if (!inGrid(col, row)) return;
    setCursorCell(col, row);
    // The field remembers the place, as for a move by hand.
    EditorState& state = editor().state;
    if (state.currentField >= 1 && state.currentField <= kFieldCount)
        state.fieldCursor[state.currentField] = {col, row};
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
    if (!cellRecord(col, row)) return;
    drawCells(editor().scenario, editor().cellIndexMap, {col, row, col, row}, drawChoice());
    repaintCell(col, row);
}

void MapGrid::clearCell(int col, int row) {
    if (!cellRecord(col, row)) return;
    eraseCells(editor().scenario, editor().cellIndexMap, {col, row, col, row}, editor().drawing.drawTarget);
    repaintCell(col, row);
}

DrawChoice MapGrid::drawChoice() const {
    const DrawingState& drawing = editor().drawing;
    return {drawing.currentObject, drawing.drawTarget};
}

CellRange MapGrid::selectedRange() const {
    const QRect sel = selection();
    if (sel.left() < 0 || sel.top() < 0 || sel.right() < 0 || sel.bottom() < 0) return {};
    return {sel.left(), sel.top(), sel.right(), sel.bottom()};
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
    if (editorWindows().palette) editorWindows().palette->alldrawpicrefresh();
}

void MapGrid::propstatechange() {
    EditorContext& ctx = editor();
    const Cell* cell = cellRecord(cursorCell().x(), cursorCell().y());
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
    if (editorWindows().palette) editorWindows().palette->selectFromMap(layer, object);
    if (editorWindows().paramedit) editorWindows().paramedit->openOn(layer, object, false);
}

// ---- range tools ---------------------------------------------------------------

void MapGrid::repaintChanged(const ChangedCells& changed) {
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
    QRect run;
    CellPos previous{-1, -1};
    for (const CellPos& cell : changed.cells()) {
        const QRect r = cellRect(cell.col, cell.row);
        const bool continues = cell.col == previous.col && cell.row == previous.row + 1;
        if (!run.isNull() && !continues) {
            addRun(run);
            run = QRect();
        }
        previous = cell;
        if (!r.intersects(view)) {
            if (!run.isNull()) addRun(run);
            run = QRect();
            continue;
        }
        run = run.isNull() ? r : run.united(r);
    }
    if (!run.isNull()) addRun(run);
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
    repaintChanged(drawCells(editor().scenario, editor().cellIndexMap, selectedRange(), drawChoice()));
}

void MapGrid::eracebtnClick() {
    repaintChanged(eraseCells(editor().scenario, editor().cellIndexMap, selectedRange(), editor().drawing.drawTarget));
}

void MapGrid::setRatioProvider(std::function<int(Trandomform::Role)> provider) {
    ratioProvider_ = std::move(provider);
}

int MapGrid::askRatio(Trandomform::Role role) {
    if (ratioProvider_) return ratioProvider_(role);
    Trandomform* form = editorWindows().randomform;
    if (!form) return -1;
    // Just below and right of the selection's last cell, as the author sees it.
    const QRect sel = selection();
    const QRect last = cellRect(sel.right(), sel.bottom());
    const QRect shown = viewport()->rect().intersected(last);
    const QPoint corner = viewport()->mapToGlobal(shown.isEmpty() ? viewport()->rect().center() : shown.bottomRight());
    return form->askratio(role, corner + QPoint(8, 8));
}

void MapGrid::randombrushbtnClick() {
    const QRect sel = selection();
    if (sel.left() < 0 || sel.top() < 0) return;
    const int ratio = askRatio(Trandomform::Draw);
    std::uniform_int_distribution<int> percent(0, 99);
    repaintChanged(randomDrawCells(editor().scenario, editor().cellIndexMap, selectedRange(), drawChoice(), ratio,
                                   [&] { return percent(random_); }));
}

void MapGrid::randomeracebtnClick() {
    const QRect sel = selection();
    if (sel.left() < 0 || sel.top() < 0) return;
    const int ratio = askRatio(Trandomform::Erase);
    std::uniform_int_distribution<int> percent(0, 99);
    repaintChanged(randomEraseCells(editor().scenario, editor().cellIndexMap, selectedRange(),
                                    editor().drawing.drawTarget, ratio, [&] { return percent(random_); }));
}

void MapGrid::allselectbtnClick() { setSelection(QRect(0, 0, columns(), rows())); }

// ---- keys ----------------------------------------------------------------------

void MapGrid::keyPressEvent(QKeyEvent* event) {
    const int mode = editor().state.drawMode;
    const int key = event->key();
    if (isNavigationKey(key)) {
        EditorState& state = editor().state;
        state.skipNextDraw = true;
        CellGrid::keyPressEvent(event);
        // A key that could not move the cursor must not swallow the next click.
        state.skipNextDraw = false;
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (mode == 0) propstatechange();
        else if (mode == 1) penStroke(cursorCell().x(), cursorCell().y());
        else brushbtnClick();
    } else if (key == Qt::Key_Delete) {
        if (mode == 1) clearCell(cursorCell().x(), cursorCell().y());
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
    CellGrid::mousePressEvent(event);
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
        CellGrid::mouseMoveEvent(event);  // the pen paints every cell the dragging mouse passes
    }
    state.lastMouseX = pos.x();
    state.lastMouseY = pos.y();
}

void MapGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        CellGrid::mouseReleaseEvent(event);
        return;
    }
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
    CellGrid::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && editor().state.drawMode != 0) clearCell(cursorCell().x(), cursorCell().y());
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

std::size_t CellComposer::hashOf(const Look& look) {
    std::uint64_t h = 0;
    for (int index : look) h = (h ^ static_cast<std::uint32_t>(index + 1)) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
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

namespace {

constexpr std::size_t kMaxLooks = 4096;        // about 16 MB at 32 pixels
constexpr std::size_t kSlots = 2 * kMaxLooks;  // a power of two, never more than half full
constexpr std::size_t kEntrySlots = 16384;     // a power of two, at most half used in one repaint

}  // namespace

const QImage& CellComposer::cellImage(const Cell* cell, int cellPixels) {
    const int pictureCount = editor().imageList.count();
    if (pictureCount != pictureCount_ || cellPixels != cellPixels_) {
        forget();
        pictureCount_ = pictureCount;
        cellPixels_ = cellPixels;
    }
    if (slots_.empty()) {
        slots_.resize(kSlots);
        images_.reserve(kMaxLooks);
    }
    EntrySlot* memo = nullptr;
    if (cell) {
        if (entrySlots_.empty()) entrySlots_.resize(kEntrySlots);
        if (entriesPaint_ != paint_) {
            entriesPaint_ = paint_;
            entriesThisPaint_ = 0;
        }
        const std::uint64_t entries = std::uint64_t(cell->enter) | std::uint64_t(cell->event) << 8 |
                                      std::uint64_t(cell->chara) << 16 | std::uint64_t(cell->item) << 24 |
                                      std::uint64_t(static_cast<std::uint32_t>(cell->place)) << 32;
        std::uint64_t h = entries * 0x9E3779B97F4A7C15ull;
        std::size_t at = static_cast<std::size_t>(h ^ (h >> 31)) & (kEntrySlots - 1);
        for (; entrySlots_[at].paint == paint_; at = (at + 1) & (kEntrySlots - 1))
            if (entrySlots_[at].entries == entries) return *entrySlots_[at].image;
        if (entriesThisPaint_ < static_cast<int>(kEntrySlots / 2)) {
            memo = &entrySlots_[at];
            memo->entries = entries;
        }
    }
    const QImage& image = lookImage(lookOf(cell), cellPixels);
    if (memo) {
        ++entriesThisPaint_;
        memo->paint = paint_;
        memo->image = &image;
    }
    return image;
}

const QImage& CellComposer::lookImage(const Look& look, int cellPixels) {
    std::size_t at = hashOf(look) & (kSlots - 1);
    for (; slots_[at].image >= 0; at = (at + 1) & (kSlots - 1))
        if (slots_[at].look == look) return images_[static_cast<std::size_t>(slots_[at].image)];
    if (images_.size() >= kMaxLooks) {
        forget();  // also ends what this repaint remembered
        slots_.resize(kSlots);
        at = hashOf(look) & (kSlots - 1);
    }
    compose(look);
    QImage stretched(cellPixels, cellPixels, QImage::Format_RGB32);
    {
        QPainter painter(&stretched);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(stretched.rect(), chip_);
    }
    slots_[at] = {look, static_cast<int>(images_.size())};
    images_.push_back(std::move(stretched));
    return images_.back();
}

void CellComposer::forget() {
    slots_.clear();
    images_.clear();
    opaque_.clear();
    ++paint_;  // the images this repaint handed out are gone
}

void MapGrid::paintEvent(QPaintEvent* event) {
    composer_.beginPaint();
    CellGrid::paintEvent(event);
}

void MapGrid::paintCell(QPainter& painter, const QRect& rect, int col, int row) {
    painter.drawImage(rect.topLeft(), composer_.cellImage(cellRecord(col, row), rect.width()));
}

}  // namespace qrn
