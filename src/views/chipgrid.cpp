#include "views/chipgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "views/chiptable.h"

namespace qrn {

ChipGrid::ChipGrid(const ChipTable& table, QWidget* parent) : QWidget(parent), table_(table) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

QSize ChipGrid::sizeHint() const { return {kChipColumns * kPitch, kChipRows * kPitch}; }

QRect ChipGrid::cellRect(int index) {
    return QRect((index % kChipColumns) * kPitch, (index / kChipColumns) * kPitch, 32, 32);
}

int ChipGrid::indexAt(const QPoint& pos) const {
    if (pos.x() < 0 || pos.y() < 0) return -1;
    const int column = pos.x() / kPitch;
    const int row = pos.y() / kPitch;
    if (column >= kChipColumns || row >= kChipRows) return -1;
    return row * kChipColumns + column;
}

void ChipGrid::setCurrent(int index) {
    if (index < 0 || index >= kChipCapacity || index == current_) return;
    update(cellRect(current_));
    current_ = index;
    update(cellRect(current_));
}

void ChipGrid::pick(int index) {
    if (index < 0 || index >= kChipCapacity) return;
    setCurrent(index);
    if (onSelect) onSelect(index);
}

void ChipGrid::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().mid());
    // Only the cells that the exposed area touches.
    const QRect area = event->rect();
    const int firstRow = std::max(0, area.top() / kPitch);
    const int lastRow = std::min(kChipRows - 1, area.bottom() / kPitch);
    const int firstCol = std::max(0, area.left() / kPitch);
    const int lastCol = std::min(kChipColumns - 1, area.right() / kPitch);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const int index = row * kChipColumns + col;
            const QRect cell = cellRect(index);
            p.fillRect(cell, palette().window());
            const ChipEntry& e = table_.entry(index);
            if (!e.fileName.isEmpty()) p.drawImage(cell.topLeft(), table_.picture(e.pictureIndex));
            if (index == current_) {
                p.setPen(Qt::red);
                p.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void ChipGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pick(indexAt(event->position().toPoint()));
    QWidget::mousePressEvent(event);
}

void ChipGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()) >= 0 && onActivate)
        onActivate();
}

void ChipGrid::keyPressEvent(QKeyEvent* event) {
    int next = current_;
    switch (event->key()) {
    case Qt::Key_Left: next = current_ % kChipColumns > 0 ? current_ - 1 : current_; break;
    case Qt::Key_Right: next = current_ % kChipColumns < kChipColumns - 1 ? current_ + 1 : current_; break;
    case Qt::Key_Up: next = current_ >= kChipColumns ? current_ - kChipColumns : current_; break;
    case Qt::Key_Down: next = current_ + kChipColumns < kChipCapacity ? current_ + kChipColumns : current_; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (next != current_) pick(next);
}

}  // namespace qrn
