#include "resources/levellist.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>
#include <bitset>

#include "services/editorcontext.h"
#include "services/options.h"
#include "resources/levelauto.h"
#include "resources/levelchart.h"
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

// The window's placement and the chart's state, kept in one section.
const QString kLayoutSection = QStringLiteral("levellist");
constexpr int kGridHeight = 300;
constexpr int kChartHeight = 280;

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
    // A column is never narrower than its heading.
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnWidth(c, std::max(kWidths[c], grid_->horizontalHeader()->fontMetrics().horizontalAdvance(headings[c]) + 12));
    for (int r = 0; r < kLevelRows; ++r) {
        grid_->setRowHeight(r, 18);
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem;
            Qt::ItemFlags flags = Qt::ItemIsEnabled;
            if (c >= 1 && c <= 5) flags |= Qt::ItemIsSelectable | Qt::ItemIsEditable;
            item->setFlags(flags);
            // Numbers align right, the edited ones like their totals.
            if (c <= 5 || (c >= 8 && c <= 12)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else if (c != 6) item->setTextAlignment(Qt::AlignCenter);
            grid_->setItem(r, c, item);
        }
        grid_->item(r, 0)->setText(QString::number(r + 2));
        grid_->item(r, 7)->setText(QStringLiteral("×"));
        grid_->item(r, 7)->setToolTip(QStringLiteral("魔法を削除"));
        grid_->item(r, 13)->setText(QStringLiteral("…"));
        grid_->item(r, 13)->setToolTip(QStringLiteral("そのﾚﾍﾞﾙまでに修得している魔法"));
        grid_->item(r, 6)->setToolTip(QStringLiteral("そのﾚﾍﾞﾙで修得する魔法"));
    }
    split_ = new QSplitter(Qt::Vertical, this);
    split_->setObjectName(QStringLiteral("levelsplit"));
    split_->addWidget(grid_);
    chart_ = new LevelChart(split_);
    split_->addWidget(chart_);
    split_->setCollapsible(0, false);
    split_->setSizes({kGridHeight, kChartHeight});
    top->addWidget(split_, 1);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    QPushButton* allauto = dialogButton("allauto", "自動設定(&A)", "ﾊﾟﾗﾒｰﾀ自動設定", this);
    QPushButton* setright = dialogButton("setright", "<< (&S) >>", "左面：右面切替", this);
    QPushButton* magicset = dialogButton("lvmagicset", "修得魔法(&M)", "そのﾚﾍﾞﾙで修得する魔法", this);
    QPushButton* magicdel = dialogButton("lvmagicdel", "魔法削除(&D)", "魔法を削除", this);
    QPushButton* magicview = dialogButton("lvmagicview", "修得済魔法(&V)", "そのﾚﾍﾞﾙまでに修得している魔法", this);
    chartButton_ = dialogButton("levelchartbtn", "グラフ(&G)", "累計の推移のグラフを表示／非表示", this);
    chartButton_->setCheckable(true);
    chartButton_->setChecked(true);
    QPushButton* close = dialogButton("levelclose", "閉じる(&C)", "", this);
    for (QPushButton* b : {allauto, setright, magicset, magicdel, magicview, chartButton_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    // Wide enough on its first opening to show every column, the last one
    // (what has been learnt by a level) included, without scrolling sideways.
    int gridWidth = 2 * grid_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    for (int c = 0; c < kColumns; ++c) gridWidth += grid_->columnWidth(c);
    const QMargins margins = top->contentsMargins();
    resize(std::max(880, gridWidth + margins.left() + margins.right()), kGridHeight + kChartHeight + 60);

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
    connect(chartButton_, &QPushButton::toggled, this, &Tlevellist::setChartOpen);
    // Dragging the divider to the foot closes the chart as the button does.
    connect(split_, &QSplitter::splitterMoved, this, [this] {
        if (chartOpen() && split_->sizes().value(1) == 0) setChartOpen(false);
    });
    restoreLayout();
}

Tlevellist::~Tlevellist() = default;

int Tlevellist::currentLevel() const { return std::max(grid_->currentRow(), 0) + 2; }

void Tlevellist::refreshColumn(int column) {
    Scenario& s = editor().scenario;
    // The grid's totals and the chart's lines come from the one curve.
    LevelCurve curve;
    if (column >= 8 && column <= 12) curve = levelCurve(s, column - 8);
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
            if (column >= 8 && column <= 12) text = QString::number(curve.total[static_cast<std::size_t>(r)]);
            else continue;
        }
        QTableWidgetItem* item = grid_->item(r, column);
        if (item->text() != text) item->setText(text);
    }
    filling_ = was;
    if (!chartOpen()) return;
    if (column >= 8 && column <= 12) {
        chart_->showCurve(column - 8, curve);
        if (column == 8 && preview_) showAutoPreview(preview_);
    } else if (column == 6) {
        std::vector<std::pair<int, QString>> marks;
        for (const auto& [level, magic] : magicLevels(s)) marks.emplace_back(level, magicRefName(magic));
        chart_->showMagics(std::move(marks));
    }
}

void Tlevellist::refreshChart() {
    for (int c : {6, 8, 9, 10, 11, 12}) refreshColumn(c);
}

bool Tlevellist::chartOpen() const { return chartButton_->isChecked(); }

void Tlevellist::setChartOpen(bool open) {
    if (chartButton_->isChecked() != open) {
        chartButton_->setChecked(open);  // comes back here through toggled
        return;
    }
    chart_->setVisible(open);
    if (!open) return;
    // A chart closed by dragging the divider opens at its usual height.
    if (split_->sizes().value(1) == 0) split_->setSizes({kGridHeight, kChartHeight});
    refreshChart();
}

void Tlevellist::showAutoPreview(const LevelAutoSettings* settings) {
    preview_ = settings;
    if (!settings || !chartOpen()) {
        chart_->showPreview(nullptr);
        return;
    }
    const LevelCurve preview = autoExperienceCurve(editor().scenario, *settings);
    chart_->showPreview(&preview);
}

void Tlevellist::restoreLayout() {
    QSettings* store = settingsStore();
    if (!store) return;
    chart_->setLogarithmic(readBoolSetting(*store, kLayoutSection, "chartlog", false));
    const QStringList sizes = readStringSetting(*store, kLayoutSection, "chartsizes", QString()).split(u',');
    if (sizes.size() == 2) {
        bool gridOk = false, chartOk = false;
        const int grid = sizes[0].toInt(&gridOk), chart = sizes[1].toInt(&chartOk);
        // Sizes beyond any screen (a damaged file) are left at the defaults.
        if (gridOk && chartOk && grid > 0 && chart > 0 && grid < 100000 && chart < 100000)
            split_->setSizes({grid, chart});
    }
    setChartOpen(readBoolSetting(*store, kLayoutSection, "chart", true));
    if (!store->contains(kLayoutSection + QStringLiteral("/left"))) return;
    Placement p;
    const QRect own = geometry();
    const int left = readIntSetting(*store, kLayoutSection, "left", own.left());
    const int top = readIntSetting(*store, kLayoutSection, "top", own.top());
    const int right = readIntSetting(*store, kLayoutSection, "right", own.left() + own.width());
    const int bottom = readIntSetting(*store, kLayoutSection, "bottom", own.top() + own.height());
    if (qint64(right) - left <= 0 || qint64(bottom) - top <= 0 || qint64(right) - left > 100000 ||
        qint64(bottom) - top > 100000)
        return;
    p.rect = QRect(left, top, right - left, bottom - top);
    p.maximize = readBoolSetting(*store, kLayoutSection, "maximize", false);
    onFirstShow(this, [this, p] { applyPlacement(this, p); });
}

void Tlevellist::saveLayout() {
    QSettings* store = settingsStore();
    if (!store) return;
    const auto write = [&](const char* name, const QString& value) {
        store->setValue(kLayoutSection + u'/' + QLatin1String(name), value);
    };
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    write("left", QString::number(normal.left()));
    write("top", QString::number(normal.top()));
    write("right", QString::number(normal.left() + normal.width()));
    write("bottom", QString::number(normal.top() + normal.height()));
    write("maximize", isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
    write("chart", chartOpen() ? QStringLiteral("1") : QStringLiteral("0"));
    write("chartlog", chart_->logarithmic() ? QStringLiteral("1") : QStringLiteral("0"));
    const QList<int> sizes = split_->sizes();
    if (chartOpen() && sizes.size() == 2 && sizes[1] > 0)
        write("chartsizes", QString::number(sizes[0]) + u',' + QString::number(sizes[1]));
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
    saveLayout();
    showAutoPreview(nullptr);
    delete auto_;
    auto_ = nullptr;
    QDialog::hideEvent(event);
}

}  // namespace qrn
