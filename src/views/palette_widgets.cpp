#include "views/palette_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "editor/editorcontext.h"
#include "editor/gridnavigation.h"
#include "scenario/maplayers.h"

namespace qrn {

namespace {

const QColor kFrameColour(255, 0, 0);

}  // namespace

// ---- picture grid and name list ----------------------------------------------

PaletteCellGrid::PaletteCellGrid(int layer, Kind kind, QWidget* parent)
    : QAbstractScrollArea(parent), layer_(layer), kind_(kind) {
    columns_ = kind == Pictures ? 10 : 2;
    rows_ = layerSlotCount(layer) / columns_;
    cellSize_ = kind == Pictures ? QSize(32, 32) : QSize(160, 16);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(cellSize_.height());
    horizontalScrollBar()->setSingleStep(cellSize_.width() / 4);
    names_.resize(layerSlotCount(layer));
    updateScrollBars();
}

int PaletteCellGrid::numberAt(int col, int row) const {
    if (col < 0 || row < 0 || col >= columns_ || row >= rows_) return 0;
    return row * columns_ + col + 1;
}

QPoint PaletteCellGrid::cellOf(int number) const {
    if (number < 1 || number > columns_ * rows_) return {-1, -1};
    return {(number - 1) % columns_, (number - 1) / columns_};
}

void PaletteCellGrid::setCurrentNumber(int number) {
    const QPoint cell = cellOf(number);
    if (cell.x() >= 0) moveCurrent(cell.x(), cell.y(), false);
}

void PaletteCellGrid::setNames(const QStringList& names) {
    names_ = names;
    names_.resize(layerSlotCount(layer_));
    viewport()->update();
}

QString PaletteCellGrid::nameText(int number) const {
    if (number < 1 || number > names_.size()) return {};
    return names_[number - 1];
}

QRect PaletteCellGrid::cellRect(int col, int row) const {
    return QRect(QPoint(col * cellSize_.width() - horizontalScrollBar()->value(),
                        row * cellSize_.height() - verticalScrollBar()->value()),
                 cellSize_);
}

QPoint PaletteCellGrid::cellAtPos(const QPoint& pos) const {
    const int x = pos.x() + horizontalScrollBar()->value();
    const int y = pos.y() + verticalScrollBar()->value();
    if (x < 0 || y < 0) return {-1, -1};
    const int col = x / cellSize_.width();
    const int row = y / cellSize_.height();
    if (col >= columns_ || row >= rows_) return {-1, -1};
    return {col, row};
}

void PaletteCellGrid::repaintNumber(int number) {
    const QPoint cell = cellOf(number);
    if (cell.x() >= 0) viewport()->update(cellRect(cell.x(), cell.y()));
}

void PaletteCellGrid::updateScrollBars() {
    const QSize content(columns_ * cellSize_.width(), rows_ * cellSize_.height());
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void PaletteCellGrid::ensureVisible(int col, int row) {
    const QRect r = cellRect(col, row);
    QScrollBar* v = verticalScrollBar();
    if (r.top() < 0) v->setValue(v->value() + r.top());
    else if (r.bottom() >= viewport()->height()) v->setValue(v->value() + r.bottom() - viewport()->height() + 1);
    QScrollBar* h = horizontalScrollBar();
    if (r.left() < 0) h->setValue(h->value() + r.left());
    else if (r.right() >= viewport()->width()) h->setValue(h->value() + r.right() - viewport()->width() + 1);
}

void PaletteCellGrid::moveCurrent(int col, int row, bool report) {
    col = std::clamp(col, 0, columns_ - 1);
    row = std::clamp(row, 0, rows_ - 1);
    viewport()->update(cellRect(current_.x(), current_.y()));
    current_ = QPoint(col, row);
    viewport()->update(cellRect(col, row));
    ensureVisible(col, row);
    if (report) emit cellSelected(numberAt(col, row));
}

void PaletteCellGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PaletteCellGrid::scrollContentsBy(int, int) { viewport()->update(); }

void PaletteCellGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint cell = cellAtPos(event->position().toPoint());
    if (cell.x() >= 0) moveCurrent(cell.x(), cell.y(), true);
}

void PaletteCellGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint cell = cellAtPos(event->position().toPoint());
    if (cell.x() >= 0) emit cellActivated(numberAt(current_.x(), current_.y()));
}

void PaletteCellGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit cellActivated(currentNumber());
        return;
    }
    const int pageRows = std::max(1, viewport()->height() / cellSize_.height());
    const std::optional<QPoint> to =
        gridKeyMove(event->key(), event->modifiers() & Qt::ControlModifier, current_, columns_, rows_, pageRows);
    if (!to) {
        event->ignore();
        return;
    }
    if (*to != current_) moveCurrent(to->x(), to->y(), true);
}

void PaletteCellGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, kind_ == Pictures ? QColor(Qt::black) : palette().color(QPalette::Base));
    const int x0 = area.left() + horizontalScrollBar()->value();
    const int y0 = area.top() + verticalScrollBar()->value();
    const int c0 = std::max(0, x0 / cellSize_.width());
    const int r0 = std::max(0, y0 / cellSize_.height());
    const int c1 = std::min(columns_ - 1, (x0 + area.width() - 1) / cellSize_.width());
    const int r1 = std::min(rows_ - 1, (y0 + area.height() - 1) / cellSize_.height());
    EditorContext& ctx = editor();
    for (int row = r0; row <= r1; ++row) {
        for (int col = c0; col <= c1; ++col) {
            const int number = numberAt(col, row);
            const QRect r = cellRect(col, row);
            const bool isCurrent = current_ == QPoint(col, row);
            if (kind_ == Pictures) {
                // A slot that is not in use shows entry 0 (black).
                const int index = objectInUse(ctx.scenario, layer_, number) ? pictureIndex(ctx.side.pictures, layer_, number) : 0;
                ctx.imageList.draw(painter, index, r.topLeft());
                if (isCurrent) {
                    painter.setPen(kFrameColour);
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(r.adjusted(0, 0, -1, -1));
                }
            } else {
                if (isCurrent) painter.fillRect(r, palette().color(hasFocus() ? QPalette::Highlight : QPalette::Midlight));
                painter.setPen(palette().color(isCurrent && hasFocus() ? QPalette::HighlightedText : QPalette::Text));
                painter.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, nameText(number));
            }
        }
    }
}

// ---- draw box ----------------------------------------------------------------

DrawBox::DrawBox(int layer, const QPixmap* blankPicture, QWidget* parent)
    : QWidget(parent), layer_(layer), blankPicture_(blankPicture) {
    setFixedSize(32, 32);
    setToolTip(QStringLiteral("shift+ｸﾘｯｸで複数選択できます"));
}

void DrawBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    EditorContext& ctx = editor();
    painter.fillRect(rect(), Qt::black);
    const int object = ctx.drawing.currentObject[static_cast<std::size_t>(layer_)];
    if (objectInUse(ctx.scenario, layer_, object)) ctx.imageList.draw(painter, pictureIndex(ctx.side.pictures, layer_, object), {0, 0});
    else if (blankPicture_) painter.drawPixmap(0, 0, *blankPicture_);
    if (ctx.drawing.drawTarget[static_cast<std::size_t>(layer_)]) {
        painter.setPen(kFrameColour);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, 31, 31);
    }
}

void DrawBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked(layer_);
}

}  // namespace qrn
