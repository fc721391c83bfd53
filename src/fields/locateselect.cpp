#include "fields/locateselect.h"

#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/editorcontext.h"
#include "editor/textconv.h"
#include "scenario/cellcomposition.h"
#include "scenario/scenario.h"

namespace qrn {

int Tlocateselect::scale_ = 3;
Qt::WindowStates Tlocateselect::windowState_ = Qt::WindowNoState;

namespace {

constexpr int kChip = 32;

template <typename Def, std::size_t N>
QString nameIn(const Def (&table)[N], int number) {
    if (number < 1 || number > static_cast<int>(N)) return QStringLiteral("-");
    return fromCp932(table[number - 1].name.view());
}

}  // namespace

// ---- the picture of the field ------------------------------------------------

LocateGrid::LocateGrid(Tlocateselect* owner) : QWidget(nullptr), owner_(owner) {
    setObjectName(QStringLiteral("locategrid"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LocateGrid::reset(int columns, int rows, int cellPx) {
    columns_ = columns;
    rows_ = rows;
    if (cellPx != cellPx_) chips_.clear();
    cellPx_ = cellPx;
    cursor_ = {-1, -1};
    setFixedSize(std::max(1, columns * cellPx), std::max(1, rows * cellPx));
    update();
}

void LocateGrid::setCursorCell(QPoint cell) {
    if (cell == cursor_) return;
    const QPoint old = cursor_;
    cursor_ = cell;
    update(QRect(old * cellPx_, QSize(cellPx_, cellPx_)));
    update(QRect(cell * cellPx_, QSize(cellPx_, cellPx_)));
}

QPoint LocateGrid::cellAt(const QPoint& pixel) const {
    if (pixel.x() < 0 || pixel.y() < 0) return {-1, -1};
    const QPoint cell(pixel.x() / cellPx_, pixel.y() / cellPx_);
    if (cell.x() >= columns_ || cell.y() >= rows_) return {-1, -1};
    return cell;
}

// The cell's five layers composed in one 32 x 32 chip (terrain, building,
// event, item, character), stretched to the cell size. Cells with the same
// entries share one chip.
const QPixmap& LocateGrid::chipFor(const Cell& cell) {
    const i32 placeEntry = cell.place;
    // A terrain outside the table counts as none (and must not share the chip of terrain 400).
    const quint64 place = placeEntry >= 1 && placeEntry <= kPlaceCount ? static_cast<quint64>(placeEntry) : 0;
    const quint64 key = place << 32 | quint64(cell.enter) << 24 | quint64(cell.event) << 16 |
                        quint64(cell.item) << 8 | cell.chara;
    auto found = chips_.constFind(key);
    if (found != chips_.constEnd()) return *found;

    const EditorContext& ctx = editor();
    const PictureIndexTables& pictures = ctx.side.pictures;
    QImage chip(kChip, kChip, QImage::Format_ARGB32_Premultiplied);
    chip.fill(Qt::black);
    {
        QPainter p(&chip);
        p.drawPixmap(0, 0, ctx.imageList.blankChip());
        // Every layer, whatever the map shows.
        const CellLook look = composeCell(cell, pictures, kAllLayers, ctx.imageList.count());
        for (int i = 0; i < look.count; ++i) ctx.imageList.draw(p, look.pictures[static_cast<std::size_t>(i)], QPoint(0, 0));
    }
    QPixmap scaled = QPixmap::fromImage(
        cellPx_ == kChip ? chip : chip.scaled(cellPx_, cellPx_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return *chips_.insert(key, scaled);
}

void LocateGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, Qt::black);
    if (columns_ == 0 || rows_ == 0) return;
    const int c0 = std::max(0, area.left() / cellPx_), c1 = std::min(columns_ - 1, area.right() / cellPx_);
    const int r0 = std::max(0, area.top() / cellPx_), r1 = std::min(rows_ - 1, area.bottom() / cellPx_);
    const Scenario& s = editor().scenario;
    for (int row = r0; row <= r1; ++row) {
        for (int col = c0; col <= c1; ++col) {
            const int c = owner_->cellAt(col, row);
            if (c != 0) painter.drawPixmap(col * cellPx_, row * cellPx_, chipFor(s.cell(c)));
        }
    }
    if (cursor_.x() >= 0) {
        painter.setPen(QPen(Qt::red, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(cursor_ * cellPx_, QSize(cellPx_, cellPx_)).adjusted(0, 0, -1, -1));
    }
}

void LocateGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.x() >= 0) owner_->selectCell(cell.x(), cell.y());
}

void LocateGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.x() >= 0 && owner_->selectCell(cell.x(), cell.y()))
        owner_->accept();
}

void LocateGrid::keyPressEvent(QKeyEvent* event) {
    QPoint next = cursor_.x() < 0 ? QPoint(0, 0) : cursor_;
    switch (event->key()) {
        case Qt::Key_Left: next.rx() -= 1; break;
        case Qt::Key_Right: next.rx() += 1; break;
        case Qt::Key_Up: next.ry() -= 1; break;
        case Qt::Key_Down: next.ry() += 1; break;
        default: QWidget::keyPressEvent(event); return;
    }
    if (next.x() >= 0 && next.y() >= 0 && next.x() < columns_ && next.y() < rows_ &&
        owner_->selectCell(next.x(), next.y()))
        owner_->scroller_->ensureVisible(next.x() * cellPx_ + cellPx_ / 2, next.y() * cellPx_ + cellPx_ / 2,
                                          cellPx_, cellPx_);
}

// ---- the dialog ---------------------------------------------------------------

Tlocateselect::Tlocateselect(QWidget* parent)
    : QDialog(parent),
      fieldlist_(new QListWidget(this)),
      scroller_(new QScrollArea(this)),
      grid_(new LocateGrid(this)),
      sizes_(new QLabel(this)),
      xylabel_(new QLabel(this)),
      placename_(new QLabel(this)),
      entername_(new QLabel(this)),
      eventname_(new QLabel(this)),
      itemname_(new QLabel(this)),
      okbtn_(new QPushButton(QStringLiteral("OK(&Y)"), this)),
      cancelbtn_(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), this)),
      bufsizesel_(new QPushButton(QStringLiteral("拡縮(&W)"), this)) {
    setObjectName(QStringLiteral("locateselect"));
    setModal(true);
    fieldlist_->setObjectName(QStringLiteral("fieldlist"));
    fieldlist_->setFixedWidth(160);
    scroller_->setObjectName(QStringLiteral("locatescroll"));
    scroller_->setWidget(grid_);
    scroller_->setWidgetResizable(false);
    scroller_->setBackgroundRole(QPalette::Dark);
    sizes_->setObjectName(QStringLiteral("sizes"));
    xylabel_->setObjectName(QStringLiteral("xylabel"));
    placename_->setObjectName(QStringLiteral("placename"));
    entername_->setObjectName(QStringLiteral("entername"));
    eventname_->setObjectName(QStringLiteral("eventname"));
    itemname_->setObjectName(QStringLiteral("itemname"));
    okbtn_->setObjectName(QStringLiteral("okbtn"));
    cancelbtn_->setObjectName(QStringLiteral("cancelbtn"));
    bufsizesel_->setObjectName(QStringLiteral("bufsizesel"));
    for (QPushButton* b : {okbtn_, cancelbtn_, bufsizesel_}) b->setAutoDefault(false);

    auto* locatetool = new QWidget(this);
    locatetool->setObjectName(QStringLiteral("locatetool"));
    auto* labels = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(sizes_);
    top->addSpacing(16);
    top->addWidget(xylabel_);
    top->addStretch();
    labels->addLayout(top);
    auto* names = new QHBoxLayout;
    for (QLabel* l : {placename_, entername_, eventname_, itemname_}) {
        l->setMinimumWidth(110);
        names->addWidget(l);
    }
    names->addStretch();
    labels->addLayout(names);
    auto* tool = new QHBoxLayout(locatetool);
    tool->setContentsMargins(4, 2, 4, 2);
    tool->addLayout(labels, 1);
    tool->addWidget(bufsizesel_);
    tool->addWidget(okbtn_);
    tool->addWidget(cancelbtn_);

    auto* body = new QHBoxLayout;
    body->addWidget(fieldlist_);
    body->addWidget(scroller_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(body, 1);
    layout->addWidget(locatetool);
    resize(640, 480);

    connect(okbtn_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);
    connect(bufsizesel_, &QPushButton::clicked, this, &Tlocateselect::bufsizeselClick);
    connect(fieldlist_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseField(item->data(Qt::UserRole).toInt()); });
    connect(fieldlist_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && item->data(Qt::UserRole).toInt() != pickedField_) chooseField(item->data(Qt::UserRole).toInt());
    });
    makefieldlist();
}

Tlocateselect::~Tlocateselect() = default;

void Tlocateselect::makefieldlist() {
    const Scenario& s = editor().scenario;
    for (int n = 1; n <= kFieldCount; ++n) {
        if (!fieldInUse(s, n)) continue;
        auto* row = new QListWidgetItem(QString::number(n) + QStringLiteral("：") + fromCp932(s.field(n).name.view()));
        row->setData(Qt::UserRole, n);
        fieldlist_->addItem(row);
    }
}

void Tlocateselect::makelocategrid(int field, int position, const QString& caption) {
    const Scenario& s = editor().scenario;
    pickedField_ = field != 0 && fieldInUse(s, field) ? field : 1;
    pickedPosition_ = position >= 1 ? position : 0;
    setWindowTitle(caption);
    for (int i = 0; i < fieldlist_->count(); ++i) {
        if (fieldlist_->item(i)->data(Qt::UserRole).toInt() == pickedField_) {
            const QSignalBlocker quiet(fieldlist_);
            fieldlist_->setCurrentRow(i);
        }
    }
    buildGrid();
    if (pickedPosition_ > 0) {
        const int c = cellOf(s, pickedField_, pickedPosition_);
        const Cell* cell = c != 0 ? &s.cell(c) : nullptr;
        if (cell && cell->col < columns_ && cell->row < rows_) {
            grid_->setCursorCell(QPoint(cell->col, cell->row));
            scroller_->ensureVisible(cell->col * grid_->cellPixels(), cell->row * grid_->cellPixels());
            describe(*cell);
        } else {
            pickedPosition_ = 0;  // not a cell of the field
        }
    }
}

void Tlocateselect::chooseField(int field) {
    if (!fieldInUse(editor().scenario, field)) return;
    pickedField_ = field;
    pickedPosition_ = 0;
    buildGrid();
}

void Tlocateselect::buildGrid() {
    const Scenario& s = editor().scenario;
    const FieldDef& f = s.field(pickedField_);
    // A size from a damaged file is cut to what a field can have; cells past
    // the field's count or the store stay blank.
    const int width = f.width, height = f.height;
    columns_ = fieldInUse(s, pickedField_) ? std::clamp(width, 0, kMaxFieldSide) : 0;
    rows_ = fieldInUse(s, pickedField_) ? std::clamp(height, 0, kMaxFieldSide) : 0;
    for (auto& column : cellIndex_) column.fill(0);
    for (int row = 0; row < rows_; ++row)
        for (int col = 0; col < columns_; ++col) cellIndex_[col][row] = cellOf(s, pickedField_, row * columns_ + col + 1);
    sizes_->setText(QStringLiteral("横：") + QString::number(f.width) + QStringLiteral("  縦：") +
                    QString::number(f.height));
    clearDescription();
    grid_->reset(columns_, rows_, cellPixels(scale_));
}

int Tlocateselect::cellAt(int col, int row) const {
    if (col < 0 || row < 0 || col >= columns_ || row >= rows_) return 0;
    return cellIndex_[col][row];
}

bool Tlocateselect::acceptable(int col, int row) const {
    const int c = cellAt(col, row);
    if (c == 0) return false;
    const Cell& cell = editor().scenario.cell(c);
    return cell.chara == 0 && cell.place >= 1;
}

bool Tlocateselect::selectCell(int col, int row) {
    if (!acceptable(col, row)) return false;
    const Scenario& s = editor().scenario;
    const int c = cellAt(col, row);
    pickedPosition_ = c - s.field(pickedField_).firstCell + 1;
    grid_->setCursorCell(QPoint(col, row));
    describe(s.cell(c));
    return true;
}

void Tlocateselect::clearDescription() {
    xylabel_->setText(QStringLiteral("Ｘ：    Ｙ："));
    for (QLabel* l : {placename_, entername_, eventname_, itemname_}) l->clear();
}

void Tlocateselect::describe(const Cell& cell) {
    const Scenario& s = editor().scenario;
    xylabel_->setText(QStringLiteral("Ｘ：") + QString::number(cell.col + 1) + QStringLiteral("Ｙ：") +
                      QString::number(cell.row + 1));
    placename_->setText(QStringLiteral("地形：") + nameIn(s.places, cell.place));
    entername_->setText(QStringLiteral("建造物：") + nameIn(s.enters, cell.enter));
    eventname_->setText(QStringLiteral("ｲﾍﾞﾝﾄ：") + nameIn(s.events, cell.event));
    itemname_->setText(QStringLiteral("ｱｲﾃﾑ：") + nameIn(s.items, cell.item));
}

void Tlocateselect::bufsizeselClick() {
    scale_ = scale_ % 3 + 1;
    const QPoint cursor = grid_->cursorCell();
    grid_->reset(columns_, rows_, cellPixels(scale_));
    grid_->setCursorCell(cursor);
}

void Tlocateselect::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (windowState_ != (windowState() & ~Qt::WindowActive)) setWindowState(windowState_);
}

void Tlocateselect::hideEvent(QHideEvent* event) {
    windowState_ = windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    QDialog::hideEvent(event);
}

}  // namespace qrn
