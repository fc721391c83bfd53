#include "fields/locateselect.h"

#include <QHBoxLayout>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "services/cellgrid.h"
#include "services/editorcontext.h"
#include "services/textconv.h"
#include "scenario/cellcomposition.h"
#include "scenario/scenario.h"
#include "scenario/tablenames.h"

namespace qrn {

int Tlocateselect::scale_ = 3;
Qt::WindowStates Tlocateselect::windowState_ = Qt::WindowNoState;

namespace {

constexpr int kChip = 32;

QString nameIn(const Scenario& s, NamedTable table, int number) { return fromCp932(nameOrNone(s, table, number)); }

}  // namespace

// ---- the picture of the field ------------------------------------------------

// The picture of the picked field, all five layers, one chip per cell; the
// author puts the cursor only on cells the dialog accepts.
class LocateGrid : public CellGrid {
public:
    explicit LocateGrid(Tlocateselect* owner) : CellGrid(owner), owner_(owner) {
        setObjectName(QStringLiteral("locategrid"));
        setOutsideColour(palette().color(QPalette::Dark));
    }

protected:
    bool acceptsCursor(int col, int row) const override { return owner_->tryCell(col, row); }
    void paintCell(QPainter& painter, const QRect& rect, int col, int row) override {
        const int c = owner_->cellAt(col, row);
        if (c == 0) painter.fillRect(rect, Qt::black);
        else painter.drawPixmap(rect.topLeft(), chipFor(editor().scenario.cell(c), rect.width()));
    }
    // Enter is left to the dialog.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->ignore();
        else CellGrid::keyPressEvent(event);
    }

private:
    const QPixmap& chipFor(const Cell& cell, int px);

    Tlocateselect* owner_;
    QHash<quint64, QPixmap> chips_;  // composed chips by size and layer entries
};

// The cell's five layers composed in one 32 x 32 chip (terrain, building,
// event, item, character), stretched to the cell size. Cells with the same
// entries share one chip.
const QPixmap& LocateGrid::chipFor(const Cell& cell, int px) {
    const i32 placeEntry = cell.place;
    // A terrain outside the table counts as none (and must not share the chip of terrain 400).
    const quint64 place = placeEntry >= 1 && placeEntry <= kPlaceCount ? static_cast<quint64>(placeEntry) : 0;
    const quint64 key = quint64(px) << 48 | place << 32 | quint64(cell.enter) << 24 | quint64(cell.event) << 16 |
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
    QPixmap scaled =
        QPixmap::fromImage(px == kChip ? chip : chip.scaled(px, px, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return *chips_.insert(key, scaled);
}

// ---- the dialog ---------------------------------------------------------------

Tlocateselect::Tlocateselect(QWidget* parent)
    : QDialog(parent),
      fieldlist_(new QListWidget(this)),
      grid_(new LocateGrid(this)),
      sizes_(new QLabel(this)),
      xylabel_(new QLabel(this)),
      placename_(new QLabel(this)),
      entername_(new QLabel(this)),
      eventname_(new QLabel(this)),
      itemname_(new QLabel(this)),
      status_(new QLabel(this)),
      okbtn_(new QPushButton(QStringLiteral("OK(&Y)"), this)),
      cancelbtn_(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), this)),
      bufsizesel_(new QPushButton(QStringLiteral("拡縮(&W)"), this)) {
    setObjectName(QStringLiteral("locateselect"));
    setModal(true);
    fieldlist_->setObjectName(QStringLiteral("fieldlist"));
    fieldlist_->setFixedWidth(160);
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
    status_->setObjectName(QStringLiteral("locatestatus"));
    labels->addWidget(status_);
    auto* tool = new QHBoxLayout(locatetool);
    tool->setContentsMargins(4, 2, 4, 2);
    tool->addLayout(labels, 1);
    tool->addWidget(bufsizesel_);
    tool->addWidget(okbtn_);
    tool->addWidget(cancelbtn_);

    auto* body = new QHBoxLayout;
    body->addWidget(fieldlist_);
    body->addWidget(grid_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(body, 1);
    layout->addWidget(locatetool);
    resize(640, 480);

    connect(okbtn_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);
    connect(bufsizesel_, &QPushButton::clicked, this, &Tlocateselect::bufsizeselClick);
    connect(grid_, &CellGrid::cursorMoved, this, [this](int col, int row) {
        const int c = cellAt(col, row);
        if (c == 0) return;
        pickedPosition_ = c - editor().scenario.field(pickedField_).firstCell + 1;
        describe(editor().scenario.cell(c));
    });
    connect(grid_, &CellGrid::activated, this, &QDialog::accept);
    connect(fieldlist_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseField(item->data(Qt::UserRole).toInt()); });
    connect(fieldlist_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && item->data(Qt::UserRole).toInt() != pickedField_) chooseField(item->data(Qt::UserRole).toInt());
    });
    makefieldlist();
}

Tlocateselect::~Tlocateselect() = default;

CellGrid* Tlocateselect::locategrid() const { return grid_; }

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
        if (cell && cell->col < columns_ && cell->row < rows_) grid_->setCursorCell(cell->col, cell->row);
        else pickedPosition_ = 0;  // not a cell of the field
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
    grid_->setCellSize(QSize(cellPixels(scale_), cellPixels(scale_)));
    grid_->setGridSize(columns_, rows_);
    grid_->clearCursor();
}

int Tlocateselect::cellAt(int col, int row) const {
    if (col < 0 || row < 0 || col >= columns_ || row >= rows_) return 0;
    return cellIndex_[col][row];
}

QString Tlocateselect::refusal(int col, int row) const {
    const int c = cellAt(col, row);
    if (c == 0) return QStringLiteral("ﾌｨｰﾙﾄﾞの外です");
    const Cell& cell = editor().scenario.cell(c);
    if (cell.chara != 0) return QStringLiteral("ｷｬﾗｸﾀｰのいるｾﾙは選べません");
    if (cell.place < 1) return QStringLiteral("地形のないｾﾙは選べません");
    return {};
}

bool Tlocateselect::tryCell(int col, int row) {
    // A refused cell says why in the status line; an accepted one clears it.
    const QString why = refusal(col, row);
    status_->setText(why);
    return why.isEmpty();
}

bool Tlocateselect::selectCell(int col, int row) {
    if (!tryCell(col, row)) return false;
    grid_->setCursorCell(col, row);
    return true;
}

void Tlocateselect::clearDescription() {
    xylabel_->setText(QStringLiteral("Ｘ：    Ｙ："));
    for (QLabel* l : {placename_, entername_, eventname_, itemname_}) l->clear();
}

void Tlocateselect::describe(const Cell& cell) {
    const Scenario& s = editor().scenario;
    xylabel_->setText(QStringLiteral("Ｘ：") + QString::number(cell.col + 1) + QStringLiteral(" Ｙ：") +
                      QString::number(cell.row + 1));
    placename_->setText(QStringLiteral("地形：") + nameIn(s, NamedTable::Place, cell.place));
    entername_->setText(QStringLiteral("建造物：") + nameIn(s, NamedTable::Enter, cell.enter));
    eventname_->setText(QStringLiteral("ｲﾍﾞﾝﾄ：") + nameIn(s, NamedTable::Event, cell.event));
    itemname_->setText(QStringLiteral("ｱｲﾃﾑ：") + nameIn(s, NamedTable::Item, cell.item));
}

void Tlocateselect::bufsizeselClick() {
    scale_ = scale_ % 3 + 1;
    grid_->setCellSize(QSize(cellPixels(scale_), cellPixels(scale_)));
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
