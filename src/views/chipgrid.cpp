#include "views/chipgrid.h"

#include <QKeyEvent>
#include <QPainter>

#include "views/chiptable.h"

namespace qrn {

ChipGrid::ChipGrid(const ChipTable& table, QWidget* parent) : CellGrid(parent), table_(table) {
    setGridSize(kChipColumns, kChipRows);
    setCellSize(QSize(kPitch - 1, kPitch - 1));
    setLineWidth(1);
    setLineColour(palette().color(QPalette::Mid));
    setOutsideColour(palette().color(QPalette::Window));
    connect(this, &CellGrid::picked, this, [this](int col, int row) {
        if (onSelect) onSelect(row * kChipColumns + col);
    });
    connect(this, &CellGrid::activated, this, [this] {
        if (onActivate) onActivate();
    });
}

void ChipGrid::setCurrent(int index) {
    if (index >= 0 && index < kChipCapacity) setCursorCell(index % kChipColumns, index / kChipColumns);
}

void ChipGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->ignore();
    else CellGrid::keyPressEvent(event);
}

void ChipGrid::paintCell(QPainter& painter, const QRect& rect, int col, int row) {
    painter.fillRect(rect, palette().window());
    const ChipEntry& e = table_.entry(row * kChipColumns + col);
    if (!e.fileName.isEmpty()) painter.drawImage(rect.topLeft(), table_.picture(e.pictureIndex));
}

}  // namespace qrn
