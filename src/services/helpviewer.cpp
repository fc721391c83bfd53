#include "services/helpviewer.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

static void initHelpResources() { Q_INIT_RESOURCE(help); }

namespace qrn {

namespace {

struct Topic {
    int context;
    const char* page;
    const char* title;
    const char* windowClass;
};

// Help context numbers of the windows and their pages.
const Topic kTopics[] = {
    {1000, "firststeps.html", "はじめてのシナリオ", ""},  // no window of its own
    {35000, "main.html", "メインウインドウ", "qrn::Tmaker"},
    {11000, "mapcreater.html", "新規シナリオ／フィールドの作成", "qrn::Tmapcreater"},
    {120000, "palette.html", "パレット", "qrn::Tpalette"},
    {118000, "chipview.html", "イメージビュー", "qrn::Tchipview"},
    {50000, "minimap.html", "全域マップ", "qrn::Tminimap"},
    {62000, "fieldman.html", "フィールドマネージャ", "qrn::Tfieldman"},
    {117000, "options.html", "環境設定", "qrn::Toptionform"},
    {64000, "paramedit.html", "プロパティシート", "qrn::Tparamedit"},
    {160100, "pickers.html", "アイテムの選択", "qrn::Titemlist"},
    {160200, "pickers.html", "イベントの選択", "qrn::Teventlist"},
    {160300, "pickers.html", "魔法の選択", "qrn::Tmagicselectlist"},
    {123000, "chipserch.html", "チップ検索", "qrn::Tserchresult"},
    {35100, "join.html", "結合とビットマップ保存", "qrn::Tfilenameenter"},
    {53000, "resedit.html", "リソース編集", "qrn::Tresedit"},
    {54000, "resedit.html", "ファイルの選択（BGM・効果音）", "qrn::Tfileselectform"},
    {170000, "magicedit.html", "魔法・主人公・シナリオ設定", "qrn::Tmagicedit"},
    {171000, "levellist.html", "レベルアップ設定", "qrn::Tlevellist"},
    {171100, "levellist.html", "レベルアップ自動設定", "qrn::Tlevelauto"},
    {172000, "scenariocheck.html", "シナリオチェック", "qrn::Tscenariocheck"},
    {173000, "walkpreview.html", "試し歩き", "qrn::Twalkpreview"},
};

const QString kContents = QStringLiteral("index.html");

QPointer<HelpViewer>& viewerHolder() {
    static QPointer<HelpViewer> viewer;
    return viewer;
}

QString pageText(const QString& page) {
    QFile file(QStringLiteral(":/help/") + page);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

class F1Filter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        HelpViewer::instance()->showTopic(HelpViewer::helpContextOf(widget->window()));
        return true;
    }
};

}  // namespace

HelpViewer::HelpViewer()
    : QWidget(nullptr, Qt::Window), search_(new QLineEdit), topics_(new QListWidget), browser_(new QTextBrowser) {
    initHelpResources();
    setObjectName(QStringLiteral("helpviewer"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("QUORANTEL ヘルプ"));
    resize(760, 520);
    search_->setPlaceholderText(QStringLiteral("キーワード"));
    search_->setClearButtonEnabled(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setOpenExternalLinks(false);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(QStringLiteral("トピックの検索")));
    leftLayout->addWidget(search_);
    leftLayout->addWidget(topics_);
    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 560});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(search_, &QLineEdit::textChanged, this, &HelpViewer::filterTopics);
    connect(topics_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openPage(item->data(Qt::UserRole).toString()); });
    connect(topics_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { openPage(item->data(Qt::UserRole).toString()); });
    filterTopics({});
}

HelpViewer* HelpViewer::instance() {
    auto& viewer = viewerHolder();
    if (!viewer) viewer = new HelpViewer;
    return viewer;
}

void HelpViewer::closeViewer() {
    if (auto& viewer = viewerHolder()) viewer->close();
}

void HelpViewer::installF1(QObject* application) { application->installEventFilter(new F1Filter(application)); }

int HelpViewer::helpContextOf(const QWidget* window) {
    if (!window) return 0;
    const QVariant own = window->property("helpContext");
    if (own.isValid()) return own.toInt();
    const QString className = QString::fromLatin1(window->metaObject()->className());
    for (const Topic& t : kTopics)
        if (className == QLatin1String(t.windowClass)) return t.context;
    return 0;
}

QString HelpViewer::pageOf(int helpContext) {
    for (const Topic& t : kTopics)
        if (t.context == helpContext) return QString::fromLatin1(t.page);
    // Every page of the property editor has its own context; they share one page.
    const std::pair<int, int> parameditPages[] = {{64000, 66000}, {124000, 125000}, {128000, 131000},
                                                  {137000, 139000}, {143000, 148000}};
    for (const auto& [first, last] : parameditPages)
        if (helpContext >= first && helpContext <= last && helpContext % 1000 == 0) return QStringLiteral("paramedit.html");
    return kContents;
}

void HelpViewer::showTopic(int helpContext) {
    openPage(pageOf(helpContext));
    present();
}

void HelpViewer::showPage(const QString& page) {
    openPage(page);
    present();
}

void HelpViewer::showContents() {
    openPage(kContents);
    present();
}

void HelpViewer::showSearch(const QString& keyword) {
    search_->setText(keyword);
    filterTopics(keyword);
    present();
    search_->setFocus();
}

QString HelpViewer::currentPage() const { return browser_->source().fileName(); }

void HelpViewer::filterTopics(const QString& keyword) {
    topics_->clear();
    auto add = [this](const QString& title, const QString& page) {
        auto* item = new QListWidgetItem(title, topics_);
        item->setData(Qt::UserRole, page);
    };
    if (keyword.isEmpty()) add(QStringLiteral("目次"), kContents);
    for (const Topic& t : kTopics) {
        const QString page = QString::fromLatin1(t.page);
        const QString title = QString::fromUtf8(t.title);
        if (keyword.isEmpty() || title.contains(keyword, Qt::CaseInsensitive) ||
            pageText(page).contains(keyword, Qt::CaseInsensitive))
            add(title, page);
    }
}

void HelpViewer::openPage(const QString& page) { browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + page)); }

void HelpViewer::present() {
    show();
    raise();
    activateWindow();
}

}  // namespace qrn
