#include "fields/fieldman.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPoint>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "services/editorcontext.h"
#include "services/mainwindowhooks.h"
#include "services/options.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "services/waitform.h"
#include "fields/locateselect.h"
#include "fields/sizechangeform.h"
#include "scenario/fieldlinks.h"
#include "scenario/eventrules.h"
#include "scenario/fieldops.h"
#include "scenario/scenario.h"
#include "scenario/tablenames.h"

namespace qrn {

namespace {

constexpr int kLeftWidth = 207;    // client width without the settings panel
constexpr int kPanelWidth = 320;   // what the panel adds
constexpr int kClientHeight = 386;

// ---- what the field manager asks of the main window ----------------------------

void showCurrentField() {
    if (MainWindowHooks* m = mainWindowHooks()) m->fieldonchange();
}

void moveMapCursor(int col, int row) {
    if (MainWindowHooks* m = mainWindowHooks()) m->selectMapCell(col, row);
}

void renewCaption() {
    if (MainWindowHooks* m = mainWindowHooks()) m->captionchange();
}

void hideSearchResults() {
    if (MainWindowHooks* m = mainWindowHooks()) m->hideSearchResult();
}

bool confirmed(QWidget* parent, const QString& text) {
    MessageService* m = editor().messages;
    return m && m->confirm(parent, text);
}

void inform(QWidget* parent, const QString& text) {
    if (MessageService* m = editor().messages) m->information(parent, text);
}

void warn(QWidget* parent, const QString& text) {
    if (MessageService* m = editor().messages) m->warning(parent, text);
}

QString damagedFields() { return fromCp932(damagedFieldLayoutMessage()); }

// Client width with and without the settings panel.
int clientWidth(bool panel) { return panel ? kLeftWidth + kPanelWidth + 4 : kLeftWidth; }

QString fieldName(const Scenario& s, int field) { return fromCp932(nameOrNone(s, NamedTable::Field, field)); }

QString enterName(const Scenario& s, int enter) { return fromCp932(nameOrNone(s, NamedTable::Enter, enter, {})); }

// The field number the tree and the lists keep on their rows.
int rowField(const QTreeWidgetItem* item) { return item ? item->data(0, Qt::UserRole).toInt() : 0; }

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

Tfieldman::Tfieldman(QWidget* parent) : QMainWindow(parent, Qt::Tool) {
    setObjectName(QStringLiteral("fieldman"));
    setWindowTitle(QStringLiteral("ﾌｨｰﾙﾄﾞﾏﾈｰｼﾞｬ"));
    runSizeDialog = [](Tsizechangeform& dialog, int width, int height, int freeCells) {
        return dialog.sizechange(width, height, freeCells);
    };
    runLocatePicker = [](Tlocateselect& picker) { return picker.exec() == QDialog::Accepted; };
    buildWindow();
}

Tfieldman::~Tfieldman() = default;

// ---- building the window ------------------------------------------------------

void Tfieldman::buildWindow() {
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);
    QWidget* left = buildLeftColumn();
    left->setFixedWidth(kLeftWidth - 6);
    row->addWidget(left);
    fieldpanel_ = buildPanel();
    row->addWidget(fieldpanel_, 1);
    setCentralWidget(central);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::hide);
}

QWidget* Tfieldman::buildLeftColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    fieldcount_ = label(column, "fieldcount");
    fieldtree_ = new QTreeWidget(column);
    fieldtree_->setObjectName(QStringLiteral("fieldtree"));
    fieldtree_->setHeaderHidden(true);
    fieldtree_->setItemsExpandable(false);
    fieldtree_->setExpandsOnDoubleClick(false);
    fieldtree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fieldtree_->setToolTip(QStringLiteral("ﾌｨｰﾙﾄﾞ相関"));
    connect(fieldtree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { treeSelectionChanged(item); });
    connect(fieldtree_, &QTreeWidget::itemDoubleClicked, this, [this] { openbtnClick(); });

    openbtn_ = button(column, "openbtn", QStringLiteral("開く(&O)"));
    infoview_ = button(column, "infoview", QStringLiteral("切替(&W)"));
    sizechangebtn_ = button(column, "sizechangebtn", QStringLiteral("ｻｲｽﾞ変更"));
    fielddel_ = button(column, "fielddel", QStringLiteral("削除"));
    connect(openbtn_, &QPushButton::clicked, this, &Tfieldman::openbtnClick);
    connect(infoview_, &QPushButton::clicked, this, &Tfieldman::infoviewClick);
    connect(sizechangebtn_, &QPushButton::clicked, this, &Tfieldman::sizechangebtnClick);
    connect(fielddel_, &QPushButton::clicked, this, &Tfieldman::fielddelClick);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    buttons->addWidget(openbtn_, 0, 0);
    buttons->addWidget(infoview_, 0, 1);
    buttons->addWidget(sizechangebtn_, 1, 0);
    buttons->addWidget(fielddel_, 1, 1);

    fieldsize_ = label(column, "fieldsize");
    jamplist_ = new QListWidget(column);
    jamplist_->setObjectName(QStringLiteral("jamplist"));
    connect(jamplist_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { jamplistActivate(jamplist_->row(item)); });

    layout->addWidget(fieldcount_);
    layout->addWidget(fieldtree_, 3);
    layout->addLayout(buttons);
    layout->addWidget(fieldsize_);
    layout->addWidget(label(column, "jampheading", QStringLiteral("ｼﾞｬﾝﾌﾟﾁｯﾌﾟ")));
    layout->addWidget(jamplist_, 2);
    return column;
}

QWidget* Tfieldman::buildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("fieldpanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    fieldname_ = new ShortStringEdit(32, panel);
    fieldname_->setObjectName(QStringLiteral("fieldname"));
    fieldname_->setMaxLength(32);
    connect(fieldname_, &QLineEdit::textEdited, this, &Tfieldman::fieldnameChange);
    fieldsave_ = new QCheckBox(QStringLiteral("ｾｰﾌﾞ可能(&L)"), panel);
    fieldsave_->setObjectName(QStringLiteral("fieldsave"));
    connect(fieldsave_, &QCheckBox::clicked, this, &Tfieldman::fieldsaveClick);

    auto* settings = new QGridLayout;
    settings->setSpacing(2);
    fieldbgmset_ = button(panel, "fieldbgmset", QStringLiteral("BGM  (&B)"));
    connect(fieldbgmset_, &QPushButton::clicked, this, [this] {
        // A cancelled list leaves the field's music alone; OK on an unused
        // entry clears it.
        EditorContext& ctx = editor();
        if (!ctx.resourceChooser) return;
        FieldDef& d = ctx.scenario.field(selectedField_);
        const QString name = d.name.empty() ? QStringLiteral("このﾌｨｰﾙﾄﾞ") : fromCp932(d.name.view());
        const ResourceChoice choice = ctx.resourceChooser->chooseResource(
            ResourceKind::Bgm, QStringLiteral("：") + name + QStringLiteral("上で再生するBGMを一つ選択"), d.fieldBgm);
        if (!choice.accepted) return;
        ctx.scenario.field(selectedField_).fieldBgm = static_cast<u8>(std::clamp(choice.entry, 0, kBgmCount));
        fieldview();
    });
    fieldbgm_ = label(panel, "fieldbgm");
    fieldbgmplay_ = button(panel, "fieldbgmplay", QStringLiteral("♪"));
    fieldbgmdel_ = button(panel, "fieldbgmdel", QStringLiteral("消"));
    connect(fieldbgmplay_, &QPushButton::clicked, this, &Tfieldman::fieldbgmplayClick);
    connect(fieldbgmdel_, &QPushButton::clicked, this, &Tfieldman::fieldbgmdelClick);
    settings->addWidget(fieldbgmset_, 0, 0);
    settings->addWidget(fieldbgm_, 0, 1);
    settings->addWidget(fieldbgmplay_, 0, 2);
    settings->addWidget(fieldbgmdel_, 0, 3);

    fieldlocateset_ = button(panel, "fieldlocateset", QStringLiteral("ｴｽｹｰﾌﾟﾌｨｰﾙﾄﾞ(&E)"));
    fieldlink_ = label(panel, "fieldlink");
    fieldlinkdel_ = button(panel, "fieldlinkdel", QStringLiteral("消"));
    connect(fieldlocateset_, &QPushButton::clicked, this, &Tfieldman::fieldlocatesetClick);
    connect(fieldlinkdel_, &QPushButton::clicked, this, &Tfieldman::fieldlinkdelClick);
    settings->addWidget(fieldlocateset_, 1, 0);
    settings->addWidget(fieldlink_, 1, 1, 1, 2);
    settings->addWidget(fieldlinkdel_, 1, 3);
    linklox_ = label(panel, "linklox");
    linkloy_ = label(panel, "linkloy");
    auto* escapeRow = new QHBoxLayout;
    escapeRow->addWidget(label(panel, "linkheading", QStringLiteral("ｴｽｹｰﾌﾟﾛｹｰﾄ")));
    escapeRow->addWidget(linklox_);
    escapeRow->addWidget(linkloy_);
    escapeRow->addStretch();
    settings->addLayout(escapeRow, 2, 0, 1, 4);

    fiitimageset_ = button(panel, "fiitimageset", QStringLiteral("ｱｲﾃﾑｲﾒｰｼﾞ   (&I)"));
    fiitimage_ = label(panel, "fiitimage");
    fiitimagedel_ = button(panel, "fiitimagedel", QStringLiteral("消"));
    fiitimagepic_ = label(panel, "fiitimagepic");
    fiitimagepic_->setFixedSize(32, 32);
    connect(fiitimageset_, &QPushButton::clicked, this, &Tfieldman::fiitimagesetClick);
    connect(fiitimagedel_, &QPushButton::clicked, this, &Tfieldman::fiitimagedelClick);
    settings->addWidget(fiitimageset_, 3, 0);
    settings->addWidget(fiitimage_, 3, 1);
    settings->addWidget(fiitimagepic_, 3, 2);
    settings->addWidget(fiitimagedel_, 3, 3);
    settings->setColumnStretch(1, 1);
    for (QPushButton* small : {fieldbgmplay_, fieldbgmdel_, fieldlinkdel_, fiitimagedel_}) small->setFixedWidth(28);

    auto* warps = new QGroupBox(QStringLiteral("ﾜｰﾌﾟ可能地点"), panel);
    warps->setObjectName(QStringLiteral("warpgroup"));
    warptarget_ = new QListWidget(warps);
    warptarget_->setObjectName(QStringLiteral("warptarget"));
    warplist_ = new QListWidget(warps);
    warplist_->setObjectName(QStringLiteral("warplist"));
    warpset_ = button(warps, "warpset", QStringLiteral("(&S)  >>>"));
    warpdel_ = button(warps, "warpdel", QStringLiteral("<<<  (&D)"));
    connect(warpset_, &QPushButton::clicked, this, &Tfieldman::warpsetClick);
    connect(warpdel_, &QPushButton::clicked, this, &Tfieldman::warpdelClick);
    connect(warptarget_, &QListWidget::itemDoubleClicked, this, &Tfieldman::warpsetClick);
    connect(warplist_, &QListWidget::itemDoubleClicked, this, &Tfieldman::warpdelClick);
    auto* targetLabel = label(warps, "warptargetlabel", QStringLiteral("対象(&T)"));
    targetLabel->setBuddy(warptarget_);
    auto* chosenLabel = label(warps, "warplistlabel", QStringLiteral("選択済(&P)"));
    chosenLabel->setBuddy(warplist_);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(warpset_);
    middle->addWidget(warpdel_);
    middle->addStretch();
    auto* warpGrid = new QGridLayout(warps);
    warpGrid->setSpacing(2);
    warpGrid->addWidget(targetLabel, 0, 0);
    warpGrid->addWidget(chosenLabel, 0, 2);
    warpGrid->addWidget(warptarget_, 1, 0);
    warpGrid->addLayout(middle, 1, 1);
    warpGrid->addWidget(warplist_, 1, 2);

    layout->addWidget(fieldname_);
    layout->addWidget(fieldsave_);
    layout->addLayout(settings);
    layout->addWidget(warps, 1);
    return panel;
}

// ---- the tree -------------------------------------------------------------------

void Tfieldman::makefieldman() {
    const int current = editor().state.currentField;
    selectedField_ = current >= 1 && current <= kFieldCount ? current : 1;
    fieldtreereset();
    warpview();
    fieldview();
    if (QTreeWidgetItem* node = nodeOf(selectedField_)) {
        filling_ = true;
        fieldtree_->setCurrentItem(node);
        filling_ = false;
        fieldtree_->scrollToItem(node);
    }
}

void Tfieldman::fieldtreereset() {
    const Scenario& s = editor().scenario;
    fieldcount_->setText(QString::number(fieldsInUseCount(s)) + QStringLiteral("個のﾌｨｰﾙﾄﾞ"));
    filling_ = true;
    fieldtree_->clear();
    // Depth first along the buildings' jumps (the rule is fieldJumpTree):
    // a node's parent is the last node one level up.
    std::vector<QTreeWidgetItem*> parents;
    for (const FieldTreeNode& n : fieldJumpTree(s)) {
        parents.resize(static_cast<std::size_t>(n.depth));
        const QStringList text{fieldName(s, n.field)};
        auto* node = parents.empty() ? new QTreeWidgetItem(fieldtree_, text) : new QTreeWidgetItem(parents.back(), text);
        node->setData(0, Qt::UserRole, n.field);
        parents.push_back(node);
    }
    fieldtree_->expandAll();
    if (QTreeWidgetItem* node = nodeOf(selectedField_)) fieldtree_->setCurrentItem(node);
    filling_ = false;
}

QTreeWidgetItem* Tfieldman::nodeOf(int field) const {
    for (QTreeWidgetItemIterator it(fieldtree_); *it; ++it)
        if (rowField(*it) == field) return *it;
    return nullptr;
}

void Tfieldman::treeSelectionChanged(QTreeWidgetItem* item) {
    if (filling_ || !item) return;
    const int field = rowField(item);
    if (field < 1 || field > kFieldCount) return;
    selectedField_ = field;
    warpview();
    fieldview();
}

void Tfieldman::selectField(int field) {
    if (QTreeWidgetItem* node = nodeOf(field)) {
        fieldtree_->setCurrentItem(node);
        treeSelectionChanged(node);
    }
}

// ---- the settings panel -------------------------------------------------------------

void Tfieldman::fieldview() {
    const EditorContext& ctx = editor();
    const Scenario& s = ctx.scenario;
    const int f = selectedField_;
    const FieldDef& d = s.field(f);
    filling_ = true;
    fieldname_->setText(fromCp932(d.name.view()));
    fieldsize_->setText(QStringLiteral("横：") + QString::number(d.width) + QStringLiteral("×") +
                        QStringLiteral("縦：") + QString::number(d.height));

    const ShortString255& image = s.fieldItemImageFiles[f - 1];
    fiitimage_->setText(image.empty() ? QStringLiteral("-") : fromCp932(image.view()));
    if (image.empty()) fiitimagepic_->clear();
    else fiitimagepic_->setPixmap(ctx.imageList.pixmap(ctx.side.pictures.fieldItem[f]));

    const bool hasBgm = d.fieldBgm >= 1 && d.fieldBgm <= kBgmCount;
    fieldbgm_->setText(hasBgm ? fromCp932(s.bgms[d.fieldBgm - 1].name.view()) : QStringLiteral("-"));
    fieldbgmplay_->setEnabled(hasBgm);
    fieldsave_->setChecked(d.fieldsave != 0);

    if (d.escapeField != 0) {
        fieldlink_->setText(fieldName(s, d.escapeField));
        // A location outside the escape field (or in a deleted one) is not shown as a cell.
        const std::optional<ColumnRow> at = locatedCell(s, d.escapeField, d.escapePosition);
        linklox_->setText(QStringLiteral("Ｘ：") + (at ? QString::number(at->column) : QStringLiteral("未指定")));
        linkloy_->setText(QStringLiteral("Ｙ：") + (at ? QString::number(at->row) : QStringLiteral("未指定")));
    } else {
        fieldlink_->setText(QStringLiteral("-"));
        linklox_->setText(QStringLiteral("Ｘ：未指定"));
        linkloy_->setText(QStringLiteral("Ｙ：未指定"));
    }
    makejamplist();
    filling_ = false;
}

void Tfieldman::makejamplist() {
    const Scenario& s = editor().scenario;
    jamplist_->clear();
    for (const JumpRow& r : jumpRows(s, selectedField_)) {
        auto* item = new QListWidgetItem(QStringLiteral("(") + QString::number(r.col + 1) + QStringLiteral(",") +
                                         QString::number(r.row + 1) + QStringLiteral(")") + fromCp932(r.name) +
                                         QStringLiteral("→") + fieldName(s, r.destination));
        item->setData(Qt::UserRole, QPoint(r.col, r.row));
        jamplist_->addItem(item);
    }
}

void Tfieldman::jamplistActivate(int row) {
    if (selectedField_ != editor().state.currentField) return;
    const QListWidgetItem* item = jamplist_->item(row);
    if (!item) return;
    const QPoint cell = item->data(Qt::UserRole).toPoint();
    moveMapCursor(cell.x(), cell.y());
}

void Tfieldman::fieldnameChange(const QString& text) {
    if (filling_) return;
    Scenario& s = editor().scenario;
    s.field(selectedField_).name.assign(toCp932(text));
    if (QTreeWidgetItem* node = nodeOf(selectedField_)) node->setText(0, fieldName(s, selectedField_));
    renewCaption();
}

void Tfieldman::fieldsaveClick(bool on) {
    if (filling_) return;
    editor().scenario.field(selectedField_).fieldsave = on ? 1 : 0;
}

void Tfieldman::fieldbgmplayClick() {
    const Scenario& s = editor().scenario;
    const int bgm = s.field(selectedField_).fieldBgm;
    if (bgm < 1 || bgm > kBgmCount) return;
    if (MainWindowHooks* m = mainWindowHooks()) m->mediaplay(fromCp932(s.bgms[bgm - 1].fileName.view()), s.bgms[bgm - 1].loop != 0);
}

void Tfieldman::fieldbgmdelClick() {
    editor().scenario.field(selectedField_).fieldBgm = 0;
    fieldview();
}

void Tfieldman::fieldlocatesetClick() {
    FieldDef& d = editor().scenario.field(selectedField_);
    Tlocateselect picker(this);
    picker.makelocategrid(d.escapeField, d.escapePosition, QStringLiteral("：ｴｽｹｰﾌﾟ先のﾌｨｰﾙﾄﾞと座標を選択"));
    if (runLocatePicker(picker) && picker.pickedField() != 0 && picker.pickedPosition() > 0) {
        d.escapeField = static_cast<u8>(picker.pickedField());
        d.escapePosition = picker.pickedPosition();
    }
    fieldview();
}

void Tfieldman::fieldlinkdelClick() {
    FieldDef& d = editor().scenario.field(selectedField_);
    d.escapeField = 0;
    d.escapePosition = 0;
    fieldview();
}

void Tfieldman::fiitimagesetClick() {
    EditorContext& ctx = editor();
    if (!ctx.imageChooser) return;
    FieldDef& d = ctx.scenario.field(selectedField_);
    ctx.state.defaultTransparent = d.itemImageTransparent != 0;
    if (!ctx.imageChooser->chooseImage(ctx.state.defaultTransparent)) return;
    const QString file = ctx.imageChooser->chosenImageFile();
    if (file.isEmpty()) return;
    ctx.scenario.fieldItemImageFiles[selectedField_ - 1].assign(toCp932(file));
    d.itemImageTransparent = ctx.state.defaultTransparent ? 1 : 0;
    d.itemImageColour = static_cast<i32>(ctx.state.defaultTransparentColour);
    ctx.side.pictures.fieldItem[selectedField_] =
        ctx.addimg(file, ctx.state.defaultTransparent, ctx.state.defaultTransparentColour);
    fieldview();
}

void Tfieldman::fiitimagedelClick() {
    EditorContext& ctx = editor();
    ctx.scenario.fieldItemImageFiles[selectedField_ - 1].clear();
    ctx.side.pictures.fieldItem[selectedField_] = 0;
    fieldview();
}

// ---- warp points ----------------------------------------------------------------------

void Tfieldman::warpview() {
    const Scenario& s = editor().scenario;
    warptarget_->clear();
    int k = 1;
    for (const WarpCandidate& c : warpCandidates(s, selectedField_)) {
        auto* row = new QListWidgetItem(QString::number(k++) + QStringLiteral("：") + enterName(s, c.enter));
        row->setData(Qt::UserRole, c.position);
        warptarget_->addItem(row);
    }
    warplist_->clear();
    k = 1;
    for (const WarpPoint& w : warpPoints(s, selectedField_)) {
        auto* row = new QListWidgetItem(QString::number(k++) + QStringLiteral("：") + enterName(s, w.enter));
        row->setData(Qt::UserRole, w.slot);
        warplist_->addItem(row);
    }
}

void Tfieldman::reselect(QListWidget* list, int row) {
    if (list->count() == 0) return;
    list->setCurrentRow(std::min(row, list->count() - 1));
}

void Tfieldman::warpsetClick() {
    const int row = warptarget_->currentRow();
    const QListWidgetItem* item = warptarget_->currentItem();
    if (!item) return;
    if (addWarpPoint(editor().scenario, selectedField_, item->data(Qt::UserRole).toInt()) < 0) return;  // all 30 taken
    warpview();
    reselect(warptarget_, row);
}

void Tfieldman::warpdelClick() {
    const int row = warplist_->currentRow();
    const QListWidgetItem* item = warplist_->currentItem();
    if (!item) return;
    if (!removeWarpPoint(editor().scenario, selectedField_, item->data(Qt::UserRole).toInt())) return;
    warpview();
    reselect(warplist_, row);
}

// ---- open, delete, resize ------------------------------------------------------------

void Tfieldman::openbtnClick() {
    if (selectedField_ < 1 || !fieldInUse(editor().scenario, selectedField_)) return;
    editor().state.currentField = static_cast<std::uint8_t>(selectedField_);
    showCurrentField();
}

void Tfieldman::fielddelClick() {
    EditorContext& ctx = editor();
    if (selectedField_ == 1) {
        warn(this, QStringLiteral("このﾌｨｰﾙﾄﾞは削除できません。"));
        return;
    }
    if (!fieldInUse(ctx.scenario, selectedField_)) return;
    const bool ask = !ctx.options || ctx.options->tellmsg;
    if (ask && !confirmed(this, QStringLiteral("このﾌｨｰﾙﾄﾞを削除します。よろしいですか？"))) return;

    const int k = selectedField_;
    const int last = fieldsInUseCount(ctx.scenario);
    FieldOpResult result;
    {
        Twaitform wait;
        wait.makehelplabel(QStringLiteral("ﾌｨｰﾙﾄﾞを再構成中..."));
        hideSearchResults();
        result = deleteField(ctx.scenario, ctx.side, k);
    }
    if (result != FieldOpResult::Done) {
        warn(this, damagedFields());
        return;
    }
    // The remembered map cursors follow their fields down one number.
    shiftFieldCursors(ctx.state.fieldCursor, k, last);

    selectedField_ = 1;
    ctx.state.currentField = 1;
    fieldtreereset();
    warpview();
    fieldview();
    showCurrentField();
}

void Tfieldman::sizechangebtnClick() {
    EditorContext& ctx = editor();
    Scenario& s = ctx.scenario;
    const int f = selectedField_;
    if (!fieldInUse(s, f)) return;
    Tsizechangeform dialog(this);
    if (!runSizeDialog(dialog, s.field(f).width, s.field(f).height, freePoolCells(s))) return;
    // Asked whatever the confirmation option says.
    if (!confirmed(this, QStringLiteral("このﾌｨｰﾙﾄﾞのｻｲｽﾞを変更します。よろしいですか？"))) return;

    FieldOpResult result;
    {
        Twaitform wait;
        wait.makehelplabel(QStringLiteral("ﾌｨｰﾙﾄﾞｻｲｽﾞを変更中..."));
        hideSearchResults();
        result = resizefield(s, f, dialog.newWidth(), dialog.newHeight(),
                             [this](const std::string& message) { inform(this, fromCp932(message)); });
    }
    if (result == FieldOpResult::PoolTooSmall) warn(this, QStringLiteral("ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません"));
    else if (result != FieldOpResult::Done) warn(this, damagedFields());
    fieldtreereset();
    warpview();
    fieldview();
    showCurrentField();
}

// ---- the info panel and the window ------------------------------------------------------

bool Tfieldman::panelOn() const {
    const Options* o = editor().options;
    return o ? o->fieldmanview : panelFallback_;
}

void Tfieldman::applyPanel(bool resizeWindow) {
    const bool on = panelOn();
    fieldpanel_->setVisible(on);
    fieldpanel_->setEnabled(on);
    if (!resizeWindow) return;
    // Let the layouts take the panel in or out first: the old minimum width
    // would otherwise hold the window wide.
    centralWidget()->layout()->activate();
    layout()->activate();
    resize(clientWidth(on), height());
}

void Tfieldman::infoviewClick() {
    if (Options* o = editor().options) o->fieldmanview = !o->fieldmanview;
    else panelFallback_ = !panelFallback_;
    applyPanel(true);
}

void Tfieldman::showEvent(QShowEvent* event) {
    if (firstShow_) {
        firstShow_ = false;
        applyPanel(false);
        resize(clientWidth(panelOn()), kClientHeight);
    }
    makefieldman();
    QMainWindow::showEvent(event);
}

void Tfieldman::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (event->spontaneous()) return;  // minimised by the window system
    if (MainWindowHooks* m = mainWindowHooks()) {
        m->mediastop();
        m->captionchange();
        for (const char* name : {"fieldmanmenu", "fieldmanviewbtn"}) m->setCommandChecked(QString::fromLatin1(name), false);
    }
    if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
}

}  // namespace qrn
