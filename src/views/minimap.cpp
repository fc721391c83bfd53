#include "views/minimap.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "services/editorcontext.h"
#include "render/fieldrenderer.h"
#include "services/options.h"
#include "render/picturelist.h"
#include "scenario/cellcomposition.h"

namespace qrn {

namespace {

constexpr LayerFlags kTerrainOnly{false, true, false, false, false, false};
constexpr QImage::Format kFormat = QImage::Format_RGB32;

void blit(QImage& target, const QImage& tile, int x, int y) {
    const std::size_t bytes = static_cast<std::size_t>(tile.width()) * 4;
    for (int row = 0; row < tile.height(); ++row)
        std::memcpy(target.scanLine(y + row) + static_cast<std::size_t>(x) * 4, tile.constScanLine(row), bytes);
}

}  // namespace

QImage renderMiniature(const Scenario& s, const CellIndexMap& cells, int columns, int rows, int side,
                       const PictureList& list, const PictureIndexTables& pictures) {
    columns = std::clamp(columns, 0, kMaxFieldSide);
    rows = std::clamp(rows, 0, kMaxFieldSide);
    if (columns == 0 || rows == 0 || side < 1) return {};
    // Only the terrain pictures this field shows are taken from the list.
    ChipImages chips;
    chips.chips.resize(static_cast<std::size_t>(list.count()));
    chips.blank = list.blankChip().toImage();
    FieldRenderer renderer(chips, pictures);
    // The look of a cell depends on its terrain alone: one stretched tile per
    // terrain number, slot 0 for a cell without terrain.
    std::array<QImage, kPlaceCount + 1> tiles;
    auto tileFor = [&](const Cell* cell) -> const QImage& {
        const int place = cell ? static_cast<int>(cell->place) : 0;
        const std::size_t key = place >= 1 && place <= kPlaceCount ? static_cast<std::size_t>(place) : 0;
        QImage& tile = tiles[key];
        if (tile.isNull()) {
            CellLook look;
            if (cell) look = composeCell(*cell, pictures, kTerrainOnly, list.count());
            for (int i = 0; i < look.count; ++i) {
                const auto index = static_cast<std::size_t>(look.pictures[static_cast<std::size_t>(i)]);
                if (chips.chips[index].isNull()) chips.chips[index] = list.pixmap(static_cast<int>(index)).toImage();
            }
            tile = renderer.tile(look).scaled(side, side).convertToFormat(kFormat);
        }
        return tile;
    };
    QImage out(columns * side, rows * side, kFormat);
    if (out.isNull()) return {};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int n = cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            blit(out, tileFor(n >= 1 && n <= kCellCount ? &s.cell(n) : nullptr), c * side, r * side);
        }
    return out;
}

// ---- the grid ---------------------------------------------------------------

MinimapGrid::MinimapGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("minimapgrid"));
    setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸで移動"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MinimapGrid::setImage(const QImage& image, int side) {
    image_ = image;
    side_ = side;
    update();
}

void MinimapGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void MinimapGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(p) && side_ > 0)
        emit cellPressed(p.x() / side_, p.y() / side_);
    QWidget::mousePressEvent(event);
}

void MinimapGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

// ---- the window -------------------------------------------------------------

Tminimap::Tminimap(QWidget* parent)
    : QMainWindow(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      minimapgrid_(new MinimapGrid),
      popup_(new QMenu(this)) {
    setObjectName(QStringLiteral("minimap"));
    setWindowTitle(QStringLiteral("全域ﾏｯﾌﾟ"));
    setProperty("helpContext", 50000);
    setCentralWidget(minimapgrid_);
    QAction* redrawAction = popup_->addAction(QStringLiteral("再描画"));
    connect(redrawAction, &QAction::triggered, this, &Tminimap::redraw);
    popup_->addSeparator();
    auto* scales = new QActionGroup(this);
    const char* const names[] = {"極小", "小", "中", "大", "極大"};
    for (int i = 0; i < 5; ++i) {
        QAction* a = popup_->addAction(QString::fromUtf8(names[i]));
        a->setCheckable(true);
        scales->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { setScale(i); });
        scaleActions_[static_cast<std::size_t>(i)] = a;
    }
    scaleActions_[static_cast<std::size_t>(minimapScale_)]->setChecked(true);
    connect(minimapgrid_, &MinimapGrid::cellPressed, this, &Tminimap::cellPressed);
    connect(minimapgrid_, &MinimapGrid::doubleClicked, this, &Tminimap::minimapDblClick);
}

void Tminimap::minimapsize() {
    const EditorContext& ed = editor();
    const int side = kMinimapSides[static_cast<std::size_t>(minimapScale_)];
    const int field = ed.state.currentField;
    int columns = 0, rows = 0;
    if (fieldInUse(ed.scenario, field)) {
        const int width = ed.scenario.field(field).width;
        const int height = ed.scenario.field(field).height;
        columns = std::clamp(width, 0, kMaxFieldSide);
        rows = std::clamp(height, 0, kMaxFieldSide);
    }
    const QSize size(columns * side, rows * side);
    minimapgrid_->setFixedSize(size);
    setFixedSize(size);
    stale_ = true;
    if (isVisible()) redraw();
}

void Tminimap::redraw() {
    const EditorContext& ed = editor();
    const int side = kMinimapSides[static_cast<std::size_t>(minimapScale_)];
    // Drawn whole, off screen, before the window paints: nothing can change
    // the field while a paint is under way.
    minimapgrid_->setImage(renderMiniature(ed.scenario, ed.cellIndexMap, minimapgrid_->width() / side,
                                           minimapgrid_->height() / side, side, ed.imageList, ed.side.pictures),
                           side);
    stale_ = false;
}

void Tminimap::setScale(int scale) {
    if (scale < 0 || scale > 4) return;
    minimapScale_ = scale;
    scaleActions_[static_cast<std::size_t>(scale)]->setChecked(true);
    minimapsize();
}

void Tminimap::cellPressed(int col, int row) { minimapCell_ = QPoint(col, row); }

void Tminimap::minimapDblClick() {
    emit moveMapCursor(editor().state.currentField, minimapCell_.x(), minimapCell_.y());
}

void Tminimap::showEvent(QShowEvent* event) {
    if (!placed_) {
        // The stored position is applied by the main window on the first
        // show (as for the other tool windows); the size is the miniature's.
        placed_ = true;
        minimapsize();
    }
    QMainWindow::showEvent(event);
    if (stale_) redraw();
}

void Tminimap::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void Tminimap::contextMenuEvent(QContextMenuEvent* event) { popup_->popup(event->globalPos()); }

}  // namespace qrn
