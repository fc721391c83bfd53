#include "editor/maker.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolTip>
#include <cstdlib>
#include <ctime>

#include "editor/editorcontext.h"
#include "editor/helpviewer.h"
#include "editor/mapcreater.h"
#include "editor/mapgrid.h"
#include "editor/options.h"
#include "editor/qtservices.h"
#include "editor/textconv.h"
#include "fields/fieldman.h"
#include "properties/paramedit.h"
#include "resources/levellist.h"
#include "resources/magicedit.h"
#include "resources/resedit.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/scenariofile.h"
#include "views/chipview.h"
#include "views/largeimgview.h"
#include "views/minimap.h"
#include "views/palette.h"
#include "views/serchresult.h"

namespace qrn {

namespace {

const QString kSnrFilter = QStringLiteral("シナリオファイル  *.SNR (*.SNR *.snr)");
const QString kSnrSuffix = QStringLiteral("snr");

// Commands that work before the first scenario exists.
const char* const kAlwaysEnabled[] = {"newfilemenu", "loadfilemenu", "closeappmenu", "toolmenu",
                                      "helpindexmenu", "searchmenu", "versionmenu"};
// The range tools, enabled only in range mode.
const char* const kRangeTools[] = {"brushmenu", "eracemenu", "randombrushmenu", "randomeracemenu", "allselectmenu",
                                   "brushpop", "eracepop", "randombrushpop", "randomeracepop", "allselectpop"};

// A small tool bar picture: a glyph on a coloured tile.
QIcon glyphIcon(const QString& glyph, const QColor& colour) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(160));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont font = p.font();
    font.setPixelSize(glyph.size() > 2 ? 8 : glyph.size() > 1 ? 10 : 14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

// Keeps a tool window on top of the others or not, without losing its
// visibility (changing window flags hides a window).
void setStayOnTop(QWidget* window, bool on) {
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) window->show();
}

// Swallows tool tips while the option `showhint` is off, and otherwise
// keeps each one up for ten seconds, whatever the length of its text.
class HintFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        if (editor().options && !editor().options->showhint) return true;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->toolTip().isEmpty()) return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, kHintVisibleMs);
        return true;
    }

private:
    static constexpr int kHintVisibleMs = 10000;
};

// Placement of a window as the settings store keeps it. A window that was
// never shown still has the placement it was given at start.
std::optional<Placement> placementOf(QWidget* window, const Placement& kept) {
    if (!window) return std::nullopt;
    if (!window->testAttribute(Qt::WA_WState_ExplicitShowHide)) return kept;
    Placement p = kept;
    const QRect normal = window->normalGeometry();
    p.rect = normal.isValid() ? normal : window->geometry();
    p.maximize = window->isMaximized();
    return p;
}

Options& options() {
    EditorContext& ed = editor();
    if (!ed.options) {
        static Options fallback;
        ed.options = &fallback;
    }
    return *ed.options;
}

}  // namespace

Tmaker::Tmaker(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("maker"));
    setProperty("helpContext", 35000);
    runCreationDialog = [](Tmapcreater& dialog) { return dialog.exec() == QDialog::Accepted; };
    buildCommands();
    buildMenus();
    buildToolBar();
    mapgrid_ = new MapGrid(this);
    mapgrid_->setObjectName(QStringLiteral("mapgrid"));
    mapgrid_->setToolTip(QStringLiteral("右ｸﾘｯｸ：ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰ／右ﾄﾞﾗｯｸﾞ：ｽｸﾛｰﾙ／ｽﾍﾟｰｽ：描画（削除）対象切替"));
    setCentralWidget(mapgrid_);
    buildPopup();
    mapgrid_->setPopupMenu(popup_);
    connect(mapgrid_, &MapGrid::cursorMoved, this, &Tmaker::showCursorLabels);
    FormCreate();
}

Tmaker::~Tmaker() {
    if (editor().maker == this) editor().maker = nullptr;
}

void Tmaker::FormCreate() {
    EditorContext& ed = editor();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    ed.state = EditorState{};
    options();
    static QtMessageService qtMessages;
    static QtFileDialogService qtFiles;
    static QtProcessLauncher qtLauncher;
    if (!ed.messages) ed.messages = &qtMessages;
    if (!ed.files) ed.files = &qtFiles;
    if (!ed.launcher) ed.launcher = &qtLauncher;
    static bool hintFilterInstalled = false;
    if (!hintFilterInstalled && qApp) {
        qApp->installEventFilter(new HintFilter(qApp));
        hintFilterInstalled = true;
    }
    ed.imageList.reset();
    alldatainitialize(ed.scenario, ed.side);
    resize(options().mainform.rect.size());
    // No scenario yet: no map and only the commands that make or open one.
    setEditingCommandsEnabled(false);
    mapgrid_->hide();
    xlabel_->setVisible(false);
    ylabel_->setVisible(false);
    setWindowTitle(QStringLiteral("QUORANTEL"));
}

// ---- commands -------------------------------------------------------------

QAction* Tmaker::makeCommand(const QString& name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) action->setToolTip(hint);
    return action;
}

QAction* Tmaker::command(const QString& name) const {
    if (auto* action = findChild<QAction*>(name)) return action;
    // Tool bar buttons share the action of their menu entry.
    static const QHash<QString, QString> buttons = {
        {"createnewbtn", "newfilemenu"},      {"newfieldbtn", "newfieldmenu"},
        {"loadbtn", "loadfilemenu"},          {"savebtn", "savefilemenu"},
        {"overwritebtn", "overwritemenu"},    {"runplayerbtn", "runplayermenu"},
        {"palettebtn", "palettemenu"},        {"propbtn", "propmenu"},
        {"penbtn", "penmenu"},                {"rangeselectbtn", "rangeselectmenu"},
        {"brushbtn", "brushmenu"},            {"eracebtn", "eracemenu"},
        {"randombrushbtn", "randombrushmenu"}, {"randomeracebtn", "randomeracemenu"},
        {"allselectbtn", "allselectmenu"},    {"fieldmanviewbtn", "fieldmanmenu"},
        {"allmapbtn", "allmapmenu"},          {"chipbtn", "chipmenu"},
        {"firstfield", "firstfieldmenu"},     {"topreturnbtn", "topfieldmenu"},
        {"secondfield", "nextfieldmenu"},     {"grsize1btn", "grsize1menu"},
        {"grsize2btn", "grsize2menu"},        {"grsize3btn", "grsize3menu"},
        {"vplbtn", "plviewmenu"},             {"venbtn", "enviewmenu"},
        {"vevbtn", "evviewmenu"},             {"vitbtn", "itviewmenu"},
        {"vchbtn", "chviewmenu"},             {"commentbtn", "commentmenu"},
        {"enemytypebtn", "enemygroupmenu"},   {"poisonbtn", "poisonmenu"},
        {"walkimgbtn", "walkimgmenu"},        {"bgmbtn", "bgmmenu"},
        {"soundbtn", "soundmenu"},            {"magicbtn", "magicmenu"},
        {"optionbtn", "kankyoumenu"},
    };
    const auto it = buttons.find(name);
    return it == buttons.end() ? nullptr : findChild<QAction*>(*it);
}

void Tmaker::buildCommands() {
    auto on = [this](QAction* a, auto slot) { connect(a, &QAction::triggered, this, slot); };
    // File
    on(makeCommand("newfilemenu", "新規作成(&N)", "新規作成"), [this] { createnew(); });
    on(makeCommand("newfieldmenu", "新規ﾌｨｰﾙﾄﾞ作成(&F)", "新規ﾌｨｰﾙﾄﾞ作成"), [this] { newfieldbtnClick(); });
    on(makeCommand("loadfilemenu", "開く(&O)", "ｼﾅﾘｵを開く"), [this] { loadfile(); });
    on(makeCommand("savefilemenu", "名前を付けて保存(&S)", "名前を付けて保存"), [this] { savefile(false); });
    on(makeCommand("overwritemenu", "上書き保存(&V)", "上書き保存"), [this] { orverwritesave(); });
    makeCommand("savebybmpmenu", "BMPﾌｧｲﾙとして保存(&B)");
    makeCommand("jointmenu", "結合(&J)");
    on(makeCommand("runplayermenu", "シナリオランナー起動(&R)", "シナリオランナー起動"),
       [this] { runplayerbtnClick(); });
    on(makeCommand("closeappmenu", "終了(&X)"), [this] { close(); });
    // Windows
    auto show = [this](QAction* a, auto window) {
        connect(a, &QAction::triggered, this, [window] { showToolWindow(editor().*window); });
    };
    QAction* a = makeCommand("palettemenu", "パレット(&P)", "パレット");
    a->setShortcut(QKeySequence("Ctrl+P"));
    show(a, &EditorContext::palette);
    a = makeCommand("fieldmanmenu", "ﾌｨｰﾙﾄﾞﾏﾈｰｼﾞｬ(&F)", "ﾌｨｰﾙﾄﾞﾏﾈｰｼﾞｬ");
    a->setShortcut(QKeySequence("Ctrl+F"));
    show(a, &EditorContext::fieldman);
    a = makeCommand("allmapmenu", "全域マップ(&A)", "全域マップ");
    a->setShortcut(QKeySequence("Ctrl+A"));
    show(a, &EditorContext::minimap);
    a = makeCommand("chipmenu", "イメージビュー(&I)", "イメージビュー");
    a->setShortcut(QKeySequence("Ctrl+I"));
    show(a, &EditorContext::chipview);
    // Draw modes
    auto* modes = new QActionGroup(this);
    const struct { const char* name; const char* caption; const char* hint; const char* key; int tag; } modeDefs[] = {
        {"propmenu", "プロパテイ(&N)", "プロパティ表示", "Ctrl+N", 1},
        {"penmenu", "描画(&S)", "描画", "Ctrl+S", 2},
        {"rangeselectmenu", "範囲指定(&R)", "範囲指定", "Ctrl+R", 3},
    };
    for (const auto& m : modeDefs) {
        a = makeCommand(m.name, m.caption, m.hint);
        a->setShortcut(QKeySequence(m.key));
        a->setCheckable(true);
        modes->addAction(a);
        const int tag = m.tag;
        on(a, [this, tag] { madrawmodebtnclick(tag); });
    }
    // Range tools
    on(makeCommand("brushmenu", "塗りつぶし(&F)", "塗りつぶし"), [this] { mapgrid_->brushbtnClick(); });
    on(makeCommand("eracemenu", "一括削除(&Z)", "一括削除"), [this] { mapgrid_->eracebtnClick(); });
    on(makeCommand("randombrushmenu", "ランダムドロウ(&M)", "ランダム塗りつぶし"),
       [this] { mapgrid_->randombrushbtnClick(); });
    on(makeCommand("randomeracemenu", "ランダムイレース(&L)", "ランダム削除"),
       [this] { mapgrid_->randomeracebtnClick(); });
    on(makeCommand("allselectmenu", "全て選択(&A)", "全て選択"), [this] { mapgrid_->allselectbtnClick(); });
    // Navigation
    on(makeCommand("firstfieldmenu", "前のフィールド(&G)", "一つ前のﾌｨｰﾙﾄﾞ"), [this] { firstfieldClick(); });
    on(makeCommand("topfieldmenu", "最初のフィールド(&H)", "最初のﾌｨｰﾙﾄﾞ"), [this] { topreturnbtnClick(); });
    on(makeCommand("nextfieldmenu", "次のフィールド(&J)", "一つ後のﾌｨｰﾙﾄﾞ"), [this] { secondfieldClick(); });
    // Chip size
    auto* sizes = new QActionGroup(this);
    const struct { const char* name; const char* caption; const char* hint; } sizeDefs[] = {
        {"grsize1menu", "チップサイズ－等倍(&R)", "チップサイズを等倍"},
        {"grsize2menu", "チップサイズ－２／３(&T)", "チップサイズを２／３倍"},
        {"grsize3menu", "チップサイズ－１／２(&Y)", "チップサイズを１／２倍"},
    };
    for (int i = 0; i < 3; ++i) {
        a = makeCommand(sizeDefs[i].name, sizeDefs[i].caption, sizeDefs[i].hint);
        a->setCheckable(true);
        sizes->addAction(a);
        on(a, [this, i] { colrowset(i + 1); });
    }
    // View toggles (tags 1 place, 2 enter, 3 event, 4 item, 5 chara)
    const struct { const char* name; const char* caption; const char* hint; } viewDefs[] = {
        {"plviewmenu", "地形表示(&L)", "地形を表示"},
        {"enviewmenu", "建造物表示(&E)", "建造物を表示"},
        {"evviewmenu", "イベント表示(&V)", "イベントを表示"},
        {"itviewmenu", "アイテム表示(&I)", "アイテムを表示"},
        {"chviewmenu", "キャラクター表示(&C)", "キャラクターを表示"},
    };
    for (int i = 0; i < 5; ++i) {
        a = makeCommand(viewDefs[i].name, viewDefs[i].caption, viewDefs[i].hint);
        a->setCheckable(true);
        a->setChecked(true);
        // The check follows layerVisible, not the click.
        on(a, [this, i] { mapvbtnClick(i + 1); });
    }
    a = makeCommand("toolmenu", "ツールバー(&T)");
    a->setCheckable(true);
    a->setChecked(true);
    on(a, [this] { toolmenuClick(); });
    // Resources and settings
    const struct { const char* name; const char* caption; Tresedit::Kind kind; } lists[] = {
        {"commentmenu", "コメント(&C)", Tresedit::Comment},  {"enemygroupmenu", "敵グループ(&E)", Tresedit::EnemyGroup},
        {"poisonmenu", "特殊攻撃(&P)", Tresedit::Poison},    {"walkimgmenu", "ｳｫｰｸｲﾒｰｼﾞ(&W)", Tresedit::WalkImage},
        {"bgmmenu", "BGM(&B)", Tresedit::Bgm},              {"soundmenu", "効果音(&A)", Tresedit::Sound},
    };
    for (const auto& l : lists) {
        a = makeCommand(l.name, l.caption, QString::fromUtf8(l.caption).section(u'(', 0, 0));
        const Tresedit::Kind kind = l.kind;
        on(a, [kind] {
            if (editor().resedit) editor().resedit->openList(kind);
        });
    }
    command("commentmenu")->setShortcut(QKeySequence("Ctrl+K"));
    auto page = [this](Tmagicedit::Page p) {
        return [this, p] {
            if (!editor().magicedit) return;
            editor().magicedit->openPage(p);
            captionchange();  // the scenario's name may have changed
        };
    };
    on(makeCommand("magicmenu", "魔法(&M)", "魔法"), page(Tmagicedit::Magic));
    on(makeCommand("scenariomenu", "シナリオ設定(&S)"), page(Tmagicedit::Scenario));
    on(makeCommand("heromenu", "主人公設定(&H)"), page(Tmagicedit::Hero));
    on(makeCommand("levelupmenu", "レベルアップ設定(&L)"), [this] {
        Tlevellist levels(this);
        levels.makelevellist();
        levels.exec();
    });
    a = makeCommand("kankyoumenu", "オプション(&O)", "オプション");
    a->setShortcut(QKeySequence("Ctrl+O"));
    on(a, [this] { formset(); });
    // Help
    on(makeCommand("helpindexmenu", "目次(&I)"), [] { HelpViewer::instance()->showContents(); });
    on(makeCommand("searchmenu", "トピックの検索(&S)"), [] { HelpViewer::instance()->showSearch(); });
    on(makeCommand("versionmenu", "バージョン情報(&V)"), [this] { Tlargeimgview::showVersion(this); });
}

void Tmaker::buildMenus() {
    auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (!*name) menu->addSeparator();
            else menu->addAction(command(QString::fromLatin1(name)));
        }
    };
    QMenuBar* bar = menuBar();
    add(bar->addMenu(QStringLiteral("ファイル(&F)")),
        {"newfilemenu", "newfieldmenu", "", "loadfilemenu", "savefilemenu", "overwritemenu", "", "savebybmpmenu",
         "jointmenu", "", "runplayermenu", "", "closeappmenu"});
    add(bar->addMenu(QStringLiteral("編集(&E)")),
        {"propmenu", "penmenu", "rangeselectmenu", "", "brushmenu", "eracemenu", "randombrushmenu",
         "randomeracemenu", "allselectmenu"});
    add(bar->addMenu(QStringLiteral("表示(&V)")),
        {"palettemenu", "fieldmanmenu", "allmapmenu", "chipmenu", "", "plviewmenu", "enviewmenu", "evviewmenu",
         "itviewmenu", "chviewmenu", "", "grsize1menu", "grsize2menu", "grsize3menu", "", "toolmenu"});
    add(bar->addMenu(QStringLiteral("フィールド(&D)")), {"firstfieldmenu", "topfieldmenu", "nextfieldmenu"});
    add(bar->addMenu(QStringLiteral("データ(&R)")),
        {"commentmenu", "enemygroupmenu", "poisonmenu", "walkimgmenu", "bgmmenu", "soundmenu", "", "magicmenu",
         "scenariomenu", "heromenu", "levelupmenu"});
    add(bar->addMenu(QStringLiteral("ツール(&T)")), {"kankyoumenu"});
    add(bar->addMenu(QStringLiteral("ヘルプ(&H)")), {"helpindexmenu", "searchmenu", "", "versionmenu"});
}

void Tmaker::buildToolBar() {
    makertool_ = addToolBar(QStringLiteral("makertool"));
    makertool_->setObjectName(QStringLiteral("makertool"));
    makertool_->setIconSize(QSize(24, 24));
    makertool_->setMovable(false);
    const QColor file(0x3a, 0x6e, 0xa5), window(0x5a, 0x8a, 0x3a), mode(0x8a, 0x5a, 0x9a), range(0xb0, 0x60, 0x30),
        layer(0x40, 0x80, 0x80), nav(0x60, 0x60, 0x60), size(0x70, 0x70, 0xa0), data(0xa0, 0x80, 0x20);
    const struct { const char* button; const char* glyph; QColor colour; } buttons[] = {
        {"createnewbtn", "新", file},   {"loadbtn", "開", file},        {"savebtn", "名", file},
        {"overwritebtn", "保", file},   {"newfieldbtn", "F+", file},    {nullptr, nullptr, {}},
        {"palettebtn", "パ", window},   {"fieldmanviewbtn", "FM", window}, {"allmapbtn", "全", window},
        {"chipbtn", "画", window},      {nullptr, nullptr, {}},
        {"propbtn", "P", mode},         {"penbtn", "描", mode},         {"rangeselectbtn", "範", mode},
        {"brushbtn", "塗", range},      {"eracebtn", "消", range},      {"randombrushbtn", "R塗", range},
        {"randomeracebtn", "R消", range}, {"allselectbtn", "ALL", range}, {nullptr, nullptr, {}},
        {"vplbtn", "地", layer},        {"venbtn", "建", layer},        {"vevbtn", "イ", layer},
        {"vitbtn", "ア", layer},        {"vchbtn", "キ", layer},        {nullptr, nullptr, {}},
        {"grsize1btn", "1", size},      {"grsize2btn", "2/3", size},    {"grsize3btn", "1/2", size},
        {nullptr, nullptr, {}},
        {"firstfield", "◀", nav},       {"topreturnbtn", "先", nav},     {"secondfield", "▶", nav},
        {nullptr, nullptr, {}},
        {"commentbtn", "C", data},      {"enemytypebtn", "敵", data},   {"poisonbtn", "毒", data},
        {"walkimgbtn", "W", data},      {"bgmbtn", "♪", data},          {"soundbtn", "音", data},
        {"magicbtn", "魔", data},       {"optionbtn", "設", nav},       {"runplayerbtn", "▷", file},
    };
    for (const auto& b : buttons) {
        if (!b.button) {
            makertool_->addSeparator();
            continue;
        }
        QAction* action = command(QString::fromLatin1(b.button));
        action->setIcon(glyphIcon(QString::fromUtf8(b.glyph), b.colour));
        makertool_->addAction(action);
    }
    makertool_->addSeparator();
    xlabel_ = new QLabel(QStringLiteral("X:1"));
    ylabel_ = new QLabel(QStringLiteral("Y:1"));
    for (QLabel* label : {xlabel_, ylabel_}) {
        label->setToolTip(QStringLiteral("現在の座標"));
        label->setMinimumWidth(44);
        makertool_->addWidget(label);
    }
    xlabel_->setObjectName(QStringLiteral("xlabel"));
    ylabel_->setObjectName(QStringLiteral("ylabel"));
}

void Tmaker::buildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    auto* modes = new QActionGroup(this);
    const struct { const char* name; const char* caption; int tag; } modeDefs[] = {
        {"proppop", "プロパテイ", 1}, {"penpop", "描画", 2}, {"rangepop", "範囲指定", 3}};
    for (const auto& m : modeDefs) {
        QAction* a = makeCommand(m.name, m.caption);
        a->setCheckable(true);
        modes->addAction(a);
        popup_->addAction(a);
        const int tag = m.tag;
        connect(a, &QAction::triggered, this, [this, tag] { madrawmodebtnclick(tag); });
    }
    popup_->addSeparator();
    const struct { const char* name; const char* caption; void (MapGrid::*tool)(); } tools[] = {
        {"brushpop", "塗りつぶし", &MapGrid::brushbtnClick},
        {"eracepop", "一括削除", &MapGrid::eracebtnClick},
        {"randombrushpop", "ランダムドロウ", &MapGrid::randombrushbtnClick},
        {"randomeracepop", "ランダムイレース", &MapGrid::randomeracebtnClick},
        {"allselectpop", "全て選択", &MapGrid::allselectbtnClick},
    };
    for (const auto& t : tools) {
        QAction* a = makeCommand(t.name, t.caption);
        popup_->addAction(a);
        const auto tool = t.tool;
        connect(a, &QAction::triggered, this, [this, tool] { (mapgrid_->*tool)(); });
    }
    popup_->addSeparator();
    QAction* a = makeCommand("palettepop", "パレット");
    connect(a, &QAction::triggered, this, [] { showToolWindow(editor().palette); });
    popup_->addAction(a);
    a = makeCommand("fieldpop", "フィールドマネージャ");
    connect(a, &QAction::triggered, this, [] { showToolWindow(editor().fieldman); });
    popup_->addAction(a);
}

void Tmaker::setEditingCommandsEnabled(bool on) {
    QSet<QString> always;
    for (const char* name : kAlwaysEnabled) always.insert(QString::fromLatin1(name));
    for (QAction* action : findChildren<QAction*>()) {
        if (action->objectName().isEmpty() || always.contains(action->objectName())) continue;
        action->setEnabled(on);
    }
    // The range tools follow the draw mode once editing has begun.
    if (on)
        for (const char* name : kRangeTools) command(QString::fromLatin1(name))->setEnabled(false);
}

void Tmaker::showToolWindow(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    else window->show();
    window->raise();
    window->activateWindow();
}

void Tmaker::toolmenuClick() {
    Options& o = options();
    o.showpanel = !o.showpanel;
    makertool_->setVisible(o.showpanel);
    command("toolmenu")->setChecked(o.showpanel);
}

// ---- new, open, save -------------------------------------------------------

void Tmaker::createnew() {
    EditorContext& ed = editor();
    const std::uint8_t previousField = ed.state.currentField;
    ed.state.currentField = 1;
    ed.state.newFieldMode = false;
    Tmapcreater dialog(this);
    if (!runCreationDialog(dialog)) {
        ed.state.currentField = previousField;
        return;
    }
    if (!ed.state.noScenarioYet && options().tellmsg &&
        !ed.messages->confirm(this, QStringLiteral("現在のシナリオデータは破棄されます。よろしいですか？"))) {
        ed.state.currentField = previousField;
        return;
    }
    if (!ed.state.noScenarioYet) alldatainitialize(ed.scenario, ed.side);
    createFirstField(ed.scenario, toCp932(dialog.crname()->text()), toCp932(dialog.crdesigner()->text()),
                     toCp932(dialog.crfield()->text()), ed.state.createWidth, ed.state.createHeight);
    start();
}

void Tmaker::newfieldbtnClick() {
    EditorContext& ed = editor();
    const int slot = firstFreeFieldSlot(ed.scenario);
    if (slot == 0) {
        ed.messages->information(this, QStringLiteral("これ以上ﾌｨｰﾙﾄﾞを作成する事は出来ません。"));
        return;
    }
    const std::uint8_t previousField = ed.state.currentField;
    ed.state.currentField = static_cast<std::uint8_t>(slot);
    ed.state.newFieldMode = true;
    Tmapcreater dialog(this);
    const bool ok = runCreationDialog(dialog);
    ed.state.newFieldMode = false;
    if (!ok) {
        ed.state.currentField = previousField;
        return;
    }
    if (placeNewField(ed.scenario, slot, ed.state.createWidth, ed.state.createHeight) != AddFieldResult::Added) {
        ed.messages->warning(this, QStringLiteral("ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません"));
        ed.state.currentField = previousField;
        return;
    }
    applyCreationTexts(ed.scenario, slot, toCp932(dialog.crname()->text()), toCp932(dialog.crdesigner()->text()),
                       toCp932(dialog.crfield()->text()));
    fieldonchange();
    if (ed.fieldman && ed.fieldman->isVisible()) ed.fieldman->makefieldman();
}

void Tmaker::loadfile() {
    const QString path =
        editor().files->openFile(this, QStringLiteral("シナリオを開く"), kSnrFilter, kSnrSuffix);
    if (!path.isEmpty()) openFile(path);
}

bool Tmaker::openFile(const QString& path) {
    EditorContext& ed = editor();
    openFileName_ = path;
    const FileResult result = openScenario(QFile::encodeName(path).toStdString(), ed.scenario, ed.side);
    if (!result.ok) {
        // The scenario in memory is untouched: the author goes on with it.
        ed.messages->error(this, QStringLiteral("読み込みｴﾗｰ") + QStringLiteral("\n\n") + path + u'\n' +
                                     QString::fromStdString(result.error));
        return false;
    }
    ed.state.currentField = 1;
    start();
    return true;
}

void Tmaker::savefile(bool useKnownName) {
    if (!useKnownName || saveFileName_.isEmpty()) {
        const QString path = editor().files->saveFile(this, QStringLiteral("シナリオに名前を付けて保存"),
                                                      kSnrFilter, kSnrSuffix);
        if (path.isEmpty()) return;
        saveFileName_ = path;
    }
    writeScenarioTo(saveFileName_);
}

bool Tmaker::writeScenarioTo(const QString& path) {
    EditorContext& ed = editor();
    const FileResult result = saveScenario(QFile::encodeName(path).toStdString(), ed.scenario);
    if (!result.ok)
        ed.messages->warning(this, path + QStringLiteral(" を保存できませんでした。\n") +
                                       QString::fromStdString(result.error));
    return result.ok;
}

void Tmaker::orverwritesave() {
    if (saveFileName_.isEmpty()) {
        savefile(false);
        return;
    }
    // The question names the file that is about to be overwritten.
    if (options().tellmsg &&
        !editor().messages->confirm(this, QFileInfo(saveFileName_).fileName() +
                                              QStringLiteral("を上書き保存します。\nよろしいですか？")))
        return;
    savefile(true);
}

void Tmaker::start() {
    EditorContext& ed = editor();
    if (ed.state.noScenarioYet) {
        ed.state.noScenarioYet = false;
        setEditingCommandsEnabled(true);
        formset();
        if (ed.chipview) ed.chipview->readbmp();
        mapdrawmodeset();
        mapeditmenuset();
    }
    defaultimageload();
    allimageload();
    fieldonchange();
    if (ed.fieldman && ed.fieldman->isVisible()) ed.fieldman->makefieldman();
    if (ed.palette) ed.palette->allgridfillrect();
    if (ed.paramedit) ed.paramedit->hide();
    if (ed.serchresult) ed.serchresult->hide();
    colrowset(ed.state.chipSize);
    mapgrid_->show();
}

// ---- field display ---------------------------------------------------------

void Tmaker::fieldonchange() {
    EditorContext& ed = editor();
    const Scenario& s = ed.scenario;
    const int field = ed.state.currentField;
    int width = 0, height = 0;
    for (auto& column : ed.cellIndexMap) column.fill(0);
    if (fieldInUse(s, field)) {
        // A damaged file may claim any size: the grid never exceeds 120 x 120.
        // (copied out first: the record is packed, its members may be unaligned)
        const int storedWidth = s.field(field).width;
        const int storedHeight = s.field(field).height;
        width = std::clamp(storedWidth, 0, kMaxFieldSide);
        height = std::clamp(storedHeight, 0, kMaxFieldSide);
        const int first = s.field(field).firstCell;
        const int last = std::min(myend(s, field), kCellCount);
        for (int c = std::max(first, 1); c <= last; ++c) {
            const Cell& cell = s.cell(c);
            if (cell.col < kMaxFieldSide && cell.row < kMaxFieldSide) ed.cellIndexMap[cell.col][cell.row] = c;
        }
    }
    mapgrid_->setFieldSize(width, height);
    ed.state.cursorCol = 0;
    ed.state.cursorRow = 0;
    if (field >= 1 && field <= kFieldCount) {
        const auto& remembered = ed.state.fieldCursor[field];
        if (remembered[0] < width && remembered[1] < height && remembered[0] >= 0 && remembered[1] >= 0) {
            ed.state.cursorCol = remembered[0];
            ed.state.cursorRow = remembered[1];
        }
    }
    mapgrid_->setCursorCell(ed.state.cursorCol, ed.state.cursorRow);
    showCursorLabels(ed.state.cursorCol, ed.state.cursorRow);
    xlabel_->setVisible(true);
    ylabel_->setVisible(true);
    mapgrid_->repaintAll();
    captionchange();
    if (ed.minimap) ed.minimap->minimapsize();
}

void Tmaker::showCursorLabels(int col, int row) {
    xlabel_->setText(QStringLiteral("X:") + QString::number(col + 1));
    ylabel_->setText(QStringLiteral("Y:") + QString::number(row + 1));
}

void Tmaker::firstfieldClick() {
    EditorContext& ed = editor();
    if (ed.state.currentField > 1 && fieldInUse(ed.scenario, ed.state.currentField - 1)) {
        --ed.state.currentField;
        fieldonchange();
    }
}

void Tmaker::topreturnbtnClick() {
    EditorContext& ed = editor();
    if (ed.state.currentField != 1) {
        ed.state.currentField = 1;
        fieldonchange();
    }
}

void Tmaker::secondfieldClick() {
    EditorContext& ed = editor();
    if (ed.state.currentField < kFieldCount && fieldInUse(ed.scenario, ed.state.currentField + 1)) {
        ++ed.state.currentField;
        fieldonchange();
    }
}

void Tmaker::captionchange() {
    EditorContext& ed = editor();
    Scenario& s = ed.scenario;
    QString caption = QStringLiteral("ｼﾅﾘｵ：") + fromCp932(s.settings.scenarioname.view()) + QStringLiteral("／");
    const int field = ed.state.currentField;
    if (field >= 1 && field <= kFieldCount) caption += fromCp932(s.field(field).name.view());
    setWindowTitle(caption);
}

void Tmaker::formset() {
    EditorContext& ed = editor();
    const Options& o = options();
    setStayOnTop(ed.minimap, o.allmapFront);
    setStayOnTop(ed.fieldman, o.fieldmanfront);
    setStayOnTop(ed.palette, o.paletteFront);
    setStayOnTop(ed.chipview, o.chipviewFront);
    setStayOnTop(ed.paramedit, o.parameditFront);
    mapgrid_->setGridLines(o.gridline);
}

// ---- map modes and view ----------------------------------------------------

void Tmaker::madrawmodebtnclick(int tag) {
    if (tag < 1 || tag > 3) return;
    editor().state.drawMode = tag - 1;
    mapdrawmodeset();
}

void Tmaker::mapdrawmodeset() {
    EditorContext& ed = editor();
    const int mode = ed.state.drawMode;
    static const char* const menus[] = {"propmenu", "penmenu", "rangeselectmenu"};
    static const char* const pops[] = {"proppop", "penpop", "rangepop"};
    if (mode >= 0 && mode <= 2) {
        command(QString::fromLatin1(menus[mode]))->setChecked(true);
        command(QString::fromLatin1(pops[mode]))->setChecked(true);
    }
    const bool range = mode == 2 && !ed.state.noScenarioYet;
    for (const char* name : kRangeTools) command(QString::fromLatin1(name))->setEnabled(range);
    mapgrid_->setRangeSelection(mode == 2);
    if (ed.palette) ed.palette->alldrawpicrefresh();
}

void Tmaker::mapvbtnClick(int tag) {
    if (tag < kPlace || tag > kChara) return;
    auto& visible = editor().state.layerVisible[tag];
    visible = !visible;
    mapgrid_->repaintAll();
    mapeditmenuset();
}

void Tmaker::mapeditmenuset() {
    static const char* const menus[] = {nullptr, "plviewmenu", "enviewmenu", "evviewmenu", "itviewmenu", "chviewmenu"};
    for (int layer = kPlace; layer <= kChara; ++layer)
        command(QString::fromLatin1(menus[layer]))->setChecked(editor().state.layerVisible[layer]);
}

void Tmaker::colrowset(int size) {
    if (size < 1 || size > 3) size = 1;
    editor().state.chipSize = size;
    static const char* const menus[] = {"grsize1menu", "grsize2menu", "grsize3menu"};
    command(QString::fromLatin1(menus[size - 1]))->setChecked(true);
    mapgrid_->setCellSize(chipPixels(size));
}

// ---- picture list -------------------------------------------------------------

void Tmaker::defaultimageload() { editor().imageList.reset(); }

void Tmaker::allimageload() {
    EditorContext& ed = editor();
    Scenario& s = ed.scenario;
    PictureIndexTables& t = ed.side.pictures;
    auto load = [&](auto& index, const ShortString255& file, bool transparent, std::int32_t colour) {
        if (file.empty()) return;
        const QString path = ed.resourcePath(fromCp932(file.view()));
        const QImage image = readChipBitmap(path);
        if (image.isNull()) {
            index = static_cast<std::remove_reference_t<decltype(index)>>(ed.imageList.addBlank());
            ed.messages->warning(this, path + QStringLiteral("が見つかりません。"));
            return;
        }
        index = static_cast<std::remove_reference_t<decltype(index)>>(
            ed.imageList.add(image, transparent, static_cast<unsigned>(colour)));
    };
    for (int n = 1; n <= kFieldCount; ++n)
        load(t.fieldItem[n], s.fieldItemImageFiles[n - 1], s.field(n).itemImageTransparent,
             s.field(n).itemImageColour);
    for (int n = 1; n <= kCharaCount; ++n)
        load(t.charaItem[n], s.charaImageFiles[n - 1], s.chara(n).imageTransparent, s.chara(n).imageColour);
    for (int n = 1; n <= kEventCount; ++n)
        load(t.event[n], s.eventImageFiles[n - 1], s.event(n).imageTransparent, s.event(n).imageColour);
    for (int n = 1; n <= kEnterCount; ++n)
        load(t.enter[n], s.enterImageFiles[n - 1], s.enter(n).imageTransparent, s.enter(n).imageColour);
    for (int n = 1; n <= kItemCount; ++n)
        load(t.charaItem[kCharaCount + n], s.itemImageFiles[n - 1], s.item(n).imageTransparent,
             s.item(n).imageColour);
    for (int n = 1; n <= kPlaceCount; ++n)
        load(t.place[n], s.placeImageFiles[n - 1], s.place(n).imageTransparent, s.place(n).imageColour);
    for (int n = 1; n <= kPlaceCount; ++n)
        load(t.place2[n], s.placeImage2Files[n - 1], s.place(n).image2Transparent, s.place(n).image2Colour);
    for (int n = 1; n <= kEnterCount; ++n)
        load(t.enter[kEnterCount + n], s.enterImage2Files[n - 1], s.enter(n).image2Transparent,
             s.enter(n).image2Colour);
    for (int n = 1; n <= kEventCount; ++n)
        load(t.event[kEventCount + n], s.eventImage2Files[n - 1], s.event(n).image2Transparent,
             s.event(n).image2Colour);
    for (int k = 1; k <= kWalkImgCount; ++k)
        for (int f = 1; f <= kWalkFrames; ++f)
            load(t.walk[k][f], s.walkImageFiles[k - 1][f - 1], s.walkImg(k).imageTransparent,
                 s.walkImg(k).imageColour);
}

// ---- media and runner ------------------------------------------------------

void Tmaker::mediaplay(const QString& fileName, bool loop) {
    EditorContext& ed = editor();
    ed.state.musicLoop = loop;
    if (ed.media) ed.media->mediaplay(ed.resourcePath(fileName), loop);
}

void Tmaker::mediastop() {
    EditorContext& ed = editor();
    ed.state.musicLoop = false;
    if (ed.media) ed.media->mediastop();
}

void Tmaker::soundplay(const QString& fileName) {
    EditorContext& ed = editor();
    if (!fileName.isEmpty() && ed.media) ed.media->soundplay(ed.resourcePath(fileName));
}

void Tmaker::runplayerbtnClick() {
    const QString runner = options().quilmark;
    if (runner.isEmpty() || !QFileInfo(runner).isFile()) return;
    editor().launcher->startDetached(runner);
}

// ---- settings and shutdown -----------------------------------------------------

void Tmaker::readregistry() {
    EditorContext& ed = editor();
    Options& o = options();
    readOptions(*settingsStore(), o, ed.state);
    QRect rect = o.mainform.rect;
    if (rect.width() < 200 || rect.height() < 150) rect.setSize(Options().mainform.rect.size());
    setGeometry(rect);
    if (o.mainform.maximize) showMaximized();
    else showNormal();
    makertool_->setVisible(o.showpanel);
    command("toolmenu")->setChecked(o.showpanel);
    mapeditmenuset();
    formset();
}

void Tmaker::writeregistry() {
    EditorContext& ed = editor();
    Options& o = options();
    const WindowPlacements placements = {
        placementOf(this, o.mainform),         placementOf(ed.minimap, o.allmap),
        placementOf(ed.palette, o.palette),    placementOf(ed.chipview, o.chipview),
        placementOf(ed.paramedit, o.param),
    };
    writeOptions(*settingsStore(), o, ed.state, placements);
}

bool Tmaker::FormCloseQuery() {
    if (!options().tellmsg) return true;
    return editor().messages->confirm(this, QStringLiteral("終了してもよろしいですか？"));
}

void Tmaker::FormClose() {
    writeregistry();
    HelpViewer::closeViewer();
    EditorContext& ed = editor();
    if (ed.media) ed.media->mediastop();
    for (QWidget* w : std::initializer_list<QWidget*>{ed.minimap, ed.palette, ed.chipview, ed.paramedit, ed.fieldman,
                                                      ed.serchresult})
        if (w) w->hide();
}

void Tmaker::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

}  // namespace qrn
