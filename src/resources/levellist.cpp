#include "resources/levellist.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>
#include <bitset>

#include "services/editorcontext.h"
#include "services/options.h"
#include "resources/levelauto.h"
#include "resources/settingparts.h"
#include "scenario/levelrules.h"
#include "scenario/resets.h"

namespace qrn {

namespace {

constexpr int kColumns = 14;
constexpr int kWidths[kColumns] = {30, 85, 49, 49, 49, 49, 205, 20, 85, 49, 49, 49, 49, 49};
const char* const kHeadings[kColumns] = {"ﾚﾍﾞﾙ", "経験値", "体力", "筋力", "素早さ", "魔力", "修得魔法",
                                         "",     "累計経験値", "体力", "筋力", "素早さ", "魔力", ""};

// Edited cells take digits only.
class DigitsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), line));
            line->setMaxLength(index.column() == 1 ? 10 : 5);
            line->setAttribute(Qt::WA_InputMethodEnabled, false);
        }
        return w;
    }
};

QPushButton* dialogButton(const char* name, const char* text, const char* hint, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromUtf8(hint));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

Tlevellist::Tlevellist(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("levellist"));
    setWindowTitle(QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟ設定"));
    pickMagics = realSettingsHooks(this).pickMagics;
    auto* top = new QVBoxLayout(this);
    grid_ = new QTableWidget(kLevelRows, kColumns, this);
    grid_->setObjectName(QStringLiteral("levelgrid"));
    grid_->setToolTip(QStringLiteral("左面：ﾚﾍﾞﾙｱｯﾌﾟ時に向上する能力／右面：その累計"));
    grid_->verticalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->setItemDelegate(new DigitsDelegate(grid_));
    QStringList headings;
    for (const char* h : kHeadings) headings << QString::fromUtf8(h);
    grid_->setHorizontalHeaderLabels(headings);
    for (int c = 0; c < kColumns; ++c) grid_->setColumnWidth(c, kWidths[c]);
    for (int r = 0; r < kLevelRows; ++r) {
        grid_->setRowHeight(r, 18);
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem;
            Qt::ItemFlags flags = Qt::ItemIsEnabled;
            if (c >= 1 && c <= 5) flags |= Qt::ItemIsSelectable | Qt::ItemIsEditable;
            item->setFlags(flags);
            if (c == 0 || c >= 8) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
        grid_->item(r, 0)->setText(QString::number(r + 2));
        grid_->item(r, 7)->setText(QStringLiteral("×"));
        grid_->item(r, 7)->setToolTip(QStringLiteral("魔法を削除"));
        grid_->item(r, 13)->setText(QStringLiteral("…"));
        grid_->item(r, 13)->setToolTip(QStringLiteral("そのﾚﾍﾞﾙまでに修得している魔法"));
        grid_->item(r, 6)->setToolTip(QStringLiteral("そのﾚﾍﾞﾙで修得する魔法"));
    }
    top->addWidget(grid_);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    QPushButton* allauto = dialogButton("allauto", "自動設定(&A)", "ﾊﾟﾗﾒｰﾀ自動設定", this);
    QPushButton* setright = dialogButton("setright", "<< (&S) >>", "左面：右面切替", this);
    QPushButton* magicset = dialogButton("lvmagicset", "修得魔法(&M)", "そのﾚﾍﾞﾙで修得する魔法", this);
    QPushButton* magicdel = dialogButton("lvmagicdel", "魔法削除(&D)", "魔法を削除", this);
    QPushButton* magicview = dialogButton("lvmagicview", "修得済魔法(&V)", "そのﾚﾍﾞﾙまでに修得している魔法", this);
    QPushButton* close = dialogButton("levelclose", "閉じる(&C)", "", this);
    for (QPushButton* b : {allauto, setright, magicset, magicdel, magicview}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    resize(880, 520);

    connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_) takeCell(item->row(), item->column(), item->text());
    });
    connect(grid_, &QTableWidget::cellClicked, this, &Tlevellist::cellClicked);
    connect(allauto, &QPushButton::clicked, this, &Tlevellist::allautoClick);
    connect(setright, &QPushButton::clicked, this, &Tlevellist::setrightClick);
    connect(magicset, &QPushButton::clicked, this, [this] { lvmagicsetClick(currentLevel()); });
    connect(magicdel, &QPushButton::clicked, this, [this] { lvmagicdelClick(currentLevel()); });
    connect(magicview, &QPushButton::clicked, this, [this] { lvmagicviewClick(currentLevel()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

Tlevellist::~Tlevellist() = default;

int Tlevellist::currentLevel() const { return std::max(grid_->currentRow(), 0) + 2; }

void Tlevellist::refreshColumn(int column) {
    Scenario& s = editor().scenario;
    std::array<std::int64_t, kLevelRows> totals{};
    if (column == 8) experienceTotal(s, totals);
    else if (column >= 9 && column <= 12) statTotal(s, column - 9, totals);
    const bool was = filling_;
    filling_ = true;
    for (int r = 0; r < kLevelRows; ++r) {
        const LevelEntry& e = s.levels[r];
        QString text;
        switch (column) {
        case 1: text = QString::number(e.experience); break;
        case 2: case 3: case 4: case 5: text = QString::number(levelStat(e, column - 2)); break;
        case 6: text = magicRefName(e.magic); break;
        default:
            if (column >= 8 && column <= 12) text = QString::number(totals[static_cast<std::size_t>(r)]);
            else continue;
        }
        QTableWidgetItem* item = grid_->item(r, column);
        if (item->text() != text) item->setText(text);
    }
    filling_ = was;
}

void Tlevellist::makelevellist() {
    for (int c = 1; c <= 12; ++c)
        if (c != 7) refreshColumn(c);
}

void Tlevellist::takeCell(int row, int column, const QString& text) {
    if (row < 0 || row >= kLevelRows) return;
    LevelEntry& e = editor().scenario.levels[row];
    const std::string t = text.toStdString();
    if (column == 1) {
        e.experience = experienceFromText(t);
        refreshColumn(1);
        refreshColumn(8);
    } else if (column >= 2 && column <= 5) {
        setLevelStat(e, column - 2, statFromText(t));
        refreshColumn(column);
        refreshColumn(column + 7);
    }
}

void Tlevellist::cellClicked(int row, int column) {
    if (column == 6) lvmagicsetClick(row + 2);
    else if (column == 7) lvmagicdelClick(row + 2);
    else if (column == 13) lvmagicviewClick(row + 2);
}

void Tlevellist::hideAuto() {
    if (auto_) auto_->hide();
}

void Tlevellist::lvmagicsetClick(int level) {
    if (level < 2 || level > 50) return;
    hideAuto();
    if (!pickMagics) return;
    const auto chosen = pickMagics(QStringLiteral("ﾚﾍﾞﾙ ") + QString::number(level) +
                                       QStringLiteral(" で修得する魔法を一つ選択"),
                                   {}, 1);
    if (!chosen || chosen->empty()) return;
    const int n = *std::min_element(chosen->begin(), chosen->end());
    if (n < 1 || n > kMagicCount) return;
    editor().scenario.level(level - 1).magic = static_cast<u8>(n);
    refreshColumn(6);
}

void Tlevellist::lvmagicdelClick(int level) {
    if (level < 2 || level > 50) return;
    hideAuto();
    EditorContext& ctx = editor();
    LevelEntry& e = ctx.scenario.level(level - 1);
    if (e.magic == 0) return;
    if (ctx.options && ctx.options->tellmsg && ctx.messages &&
        !ctx.messages->confirm(this, QStringLiteral("ﾚﾍﾞﾙ") + QString::number(level) + QStringLiteral("の魔法「") +
                                         magicRefName(e.magic) + QStringLiteral("」を削除します。") +
                                         QStringLiteral("よろしいですか？")))
        return;
    e.magic = 0;
    refreshColumn(6);
}

void Tlevellist::lvmagicviewClick(int level) {
    if (level < 2 || level > 50) return;
    hideAuto();
    if (!pickMagics) return;
    Scenario& s = editor().scenario;
    std::bitset<kMagicCount + 1> held;
    for (int L = 2; L <= level; ++L)
        if (const int m = s.level(L - 1).magic; m >= 1 && m <= kMagicCount) held.set(static_cast<std::size_t>(m));
    for (u8 m : s.hero.heroMagics)
        if (m >= 1 && m <= kMagicCount) held.set(m);
    std::vector<int> chosen;
    for (int m = 1; m <= kMagicCount; ++m)
        if (held[static_cast<std::size_t>(m)]) chosen.push_back(m);
    const auto kept = pickMagics(QStringLiteral("ﾚﾍﾞﾙ ") + QString::number(level) +
                                     QStringLiteral(" までに修得済みの魔法：選択で削除"),
                                 chosen, 2);
    if (!kept) return;
    for (int L = 2; L <= level; ++L) {
        LevelEntry& e = s.level(L - 1);
        if (e.magic != 0 && std::find(kept->begin(), kept->end(), e.magic) == kept->end()) e.magic = 0;
    }
    refreshColumn(6);
}

void Tlevellist::allautoClick() {
    if (!auto_) return;
    if (auto_->isMinimized()) auto_->showNormal();
    else if (auto_->isVisible()) auto_->hide();
    else auto_->show();
}

void Tlevellist::setrightClick() {
    QScrollBar* bar = grid_->horizontalScrollBar();
    scrolledRight_ = !scrolledRight_;
    bar->setValue(scrolledRight_ ? bar->value() + bar->pageStep() : bar->value() - bar->pageStep());
}

void Tlevellist::showEvent(QShowEvent* event) {
    if (!auto_) auto_ = new Tlevelauto(*this);
    QDialog::showEvent(event);
}

void Tlevellist::hideEvent(QHideEvent* event) {
    delete auto_;
    auto_ = nullptr;
    QDialog::hideEvent(event);
}

}  // namespace qrn
