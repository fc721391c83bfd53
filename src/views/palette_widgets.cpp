#include "views/palette_widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "services/editorcontext.h"
#include "scenario/maplayers.h"

namespace qrn {

namespace {

const QColor kFrameColour(255, 0, 0);

}  // namespace

// ---- picture grid and name list ----------------------------------------------

PaletteCellGrid::PaletteCellGrid(int layer, Kind kind, QWidget* parent)
    : CellGrid(parent), layer_(layer), kind_(kind) {
    const int columns = kind == Pictures ? 10 : 2;
    setGridSize(columns, layerSlotCount(layer) / columns);
    setCellSize(kind == Pictures ? QSize(32, 32) : QSize(160, 16));
    setOutsideColour(kind == Pictures ? QColor(Qt::black) : palette().color(QPalette::Base));
    // The name list marks the cursor with the highlight instead of a frame.
    setCursorFrame(kind == Pictures);
    names_.resize(layerSlotCount(layer));
    connect(this, &CellGrid::picked, this, [this](int col, int row) { emit cellSelected(numberAt(col, row)); });
    connect(this, &CellGrid::activated, this, [this](int col, int row) { emit cellActivated(numberAt(col, row)); });
}

int PaletteCellGrid::numberAt(int col, int row) const {
    if (!inGrid(col, row)) return 0;
    return row * columns() + col + 1;
}

QPoint PaletteCellGrid::cellOf(int number) const {
    if (number < 1 || number > columns() * rows()) return {-1, -1};
    return {(number - 1) % columns(), (number - 1) / columns()};
}

void PaletteCellGrid::setCurrentNumber(int number) {
    const QPoint cell = cellOf(number);
    if (cell.x() >= 0) setCursorCell(cell.x(), cell.y());
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

void PaletteCellGrid::repaintNumber(int number) {
    const QPoint cell = cellOf(number);
    if (cell.x() >= 0) repaintCell(cell.x(), cell.y());
}

void PaletteCellGrid::paintCell(QPainter& painter, const QRect& rect, int col, int row) {
    EditorContext& ctx = editor();
    const int number = numberAt(col, row);
    if (kind_ == Pictures) {
        // A slot that is not in use shows entry 0 (black).
        const int index = objectInUse(ctx.scenario, layer_, number) ? pictureIndex(ctx.side.pictures, layer_, number) : 0;
        painter.fillRect(rect, Qt::black);
        ctx.imageList.draw(painter, index, rect.topLeft());
        return;
    }
    const bool isCurrent = cursorCell() == QPoint(col, row);
    painter.fillRect(rect, !isCurrent ? palette().color(QPalette::Base)
                                      : palette().color(hasFocus() ? QPalette::Highlight : QPalette::Midlight));
    painter.setPen(palette().color(isCurrent && hasFocus() ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, nameText(number));
}

QString PaletteCellGrid::hintText() const {
    if (kind_ != Pictures) return {};
    Scenario& s = editor().scenario;
    const int count = layerSlotCount(layer_);
    for (int n = 1; n <= count; ++n)
        if (objectInUse(s, layer_, n)) return {};
    return QStringLiteral("空きマスをダブルクリックしてイメージを登録");
}

void PaletteCellGrid::paintEvent(QPaintEvent* event) {
    CellGrid::paintEvent(event);
    const QString hint = hintText();
    if (hint.isEmpty()) return;
    // A box in the window's normal colours in the middle of what is shown,
    // so the black cells do not swallow the text.
    QPainter painter(viewport());
    const QRect area = viewport()->rect().adjusted(8, 8, -8, -8);
    const QFontMetrics metrics(font());
    QRect text = metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, hint);
    const QRect box = text.adjusted(-8, -6, 8, 6);
    painter.fillRect(box, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(text, Qt::AlignCenter | Qt::TextWordWrap, hint);
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
