#include "mainwindow/maker.h"
#include "mainwindow/editorwindows.h"

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
#include <QScreen>
#include <QTableWidget>
#include <QToolBar>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "mainwindow/edithistory.h"
#include "services/editorcontext.h"
#include "services/helpviewer.h"
#include "services/filenameenter.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "services/options.h"
#include "services/qtservices.h"
#include "services/textconv.h"
#include "fields/fieldman.h"
#include "options/optionform.h"
#include "properties/paramedit.h"
#include "resources/levellist.h"
#include "resources/magicedit.h"
#include "resources/resedit.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/scenariofile.h"
#include "views/chipview.h"
#include "views/minimap.h"
#include "views/serchresult.h"
#include "views/largeimgview.h"
#include "views/minimap.h"
#include "views/palette.h"
#include "views/serchresult.h"

namespace qrn {

namespace {

const QString kSnrFilter = QStringLiteral("シナリオファイル  *.SNR (*.SNR *.snr)");
const QString kSnrSuffix = QStringLiteral("snr");

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

// Takes a tool window that does not stay on top out of its owner's
// transient windows whenever it is shown.
class ShowFreer : public QObject {
public:
    static constexpr const char* kFree = "qrnOwnWindow";
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->property(kFree).toBool())
            if (QWindow* handle = static_cast<QWidget*>(watched)->windowHandle()) handle->setTransientParent(nullptr);
        return false;
    }
};

// Keeps a tool window on top of the main window or not, without losing its
// visibility (changing window flags hides a window). On top means a tool
// window transient for the main window: the window manager keeps it above
// the main window and its fellow tool windows, and below every modal window
// opened later. It is never "above" every window, which would hide the
// dialogs, choosers and questions under it. Off, it is a window of its own
// that the main window may cover.
void setStayOnTop(QWidget* window, bool on) {
    if (!window) return;
    const Qt::WindowFlags type = on ? Qt::Tool : Qt::Window;
    const Qt::WindowFlags flags = window->windowFlags();
    if ((flags & Qt::WindowType_Mask) != type || flags.testFlag(Qt::WindowStaysOnTopHint)) {
        const bool visible = window->isVisible();
        window->setWindowFlags((flags & ~(Qt::WindowType_Mask | Qt::WindowStaysOnTopHint)) | type);
        if (visible) window->show();
    }
    // Qt makes an owned window transient for its owner each time it is
    // shown; a window of its own is freed as it appears.
    static auto* freer = new ShowFreer(qApp);
    window->setProperty(ShowFreer::kFree, !on);
    window->removeEventFilter(freer);
    window->installEventFilter(freer);
    if (!on && window->windowHandle()) window->windowHandle()->setTransientParent(nullptr);
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

// Why reading or writing a scenario file failed, in the author's words.
QString fileFailureText(const FileResult& result) {
    switch (result.systemErrno) {
    case 0: return QStringLiteral("ファイルが短すぎます。シナリオファイルではないか、壊れています。");
    case ENOENT: return QStringLiteral("ファイルまたはフォルダが見つかりません。");
    case EACCES:
    case EPERM: return QStringLiteral("アクセスが許可されていません。");
    case EISDIR: return QStringLiteral("ファイルではなくフォルダです。");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("ディスクの空き容量が足りません。");
    case EROFS: return QStringLiteral("読み取り専用の場所には書き込めません。");
    case ENOTDIR: return QStringLiteral("パスの途中にフォルダでないものがあります。");
    case ENAMETOOLONG: return QStringLiteral("ファイル名が長すぎます。");
    case EIO: return QStringLiteral("入出力エラーが発生しました。");
    default: return QStringLiteral("システムエラーが発生しました（エラー番号 %1）。").arg(result.systemErrno);
    }
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
    runLevelList = [](Tlevellist& levels) { levels.exec(); };
    runOptionDialog = [](Toptionform& dialog) { dialog.exec(); };
    runJoinNameDialog = [](Tfilenameenter& dialog) { return dialog.exec() == QDialog::Accepted; };
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
    if (editorWindows().maker == this) {
        editorWindows().maker = nullptr;
        setMainWindowHooks(nullptr);
    }
}

void Tmaker::setCommandChecked(const QString& name, bool on) {
    if (QAction* a = command(name)) a->setChecked(on);
}

void Tmaker::selectMapCell(int col, int row) { mapgrid_->selectCell(col, row); }

void Tmaker::focusMap() {
    activateWindow();
    mapgrid_->setFocus();
}

void Tmaker::repaintMap() { mapgrid_->repaintAll(); }

void Tmaker::openLevelList(int level) {
    Tlevellist levels(this);
    levels.makelevellist();
    if (level >= 2 && level <= 50) levels.levelgrid()->setCurrentCell(level - 2, 0);
    runLevelList(levels);
}

void Tmaker::toggleFieldManager() {
    if (QWidget* fieldman = editorWindows().fieldman) fieldman->setVisible(!fieldman->isVisible());
}

void Tmaker::openPropertyEditor(int layer, int number) {
    if (Tparamedit* paramedit = editorWindows().paramedit) paramedit->openOn(layer, number, true);
}

void Tmaker::hidePropertyEditor() {
    if (QWidget* paramedit = editorWindows().paramedit) paramedit->hide();
}

void Tmaker::hideSearchResult() {
    if (QWidget* results = editorWindows().serchresult) results->hide();
}

void Tmaker::setViewsEnabled(bool on) {
    if (QWidget* view = editorWindows().chipview) view->setEnabled(on);
    if (QWidget* map = editorWindows().minimap) map->setEnabled(on);
}

void Tmaker::hideImageView() {
    if (QWidget* view = editorWindows().chipview) view->hide();
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
    // Widgets on a tool bar are shown and hidden through their actions.
    xlabelAction_->setVisible(false);
    ylabelAction_->setVisible(false);
    setWindowTitle(QStringLiteral("QUORANTEL"));
    editHistory().attach(*this);
}

// ---- commands -------------------------------------------------------------

QAction* Tmaker::makeCommand(const QString& name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) action->setToolTip(hint);
    return action;
}

QAction* Tmaker::command(const QString& name) const {
    if (name.isEmpty()) return nullptr;
    const auto table = commandTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        // Tool bar buttons share the action of their menu entry.
        const MakerCommand& c = table[i];
        if (name == QLatin1String(c.name) || (c.button && name == QLatin1String(c.button))) return actions_[i];
    }
    return nullptr;
}

void Tmaker::forEachInGroup(MakerGroup group, const std::function<void(QAction*, int tag)>& fn) const {
    const auto table = commandTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].group == group) fn(actions_[i], table[i].tag);
}

void Tmaker::buildCommands() {
    const auto table = commandTable();
    actions_.reserve(table.size());
    // One exclusive group per radio set and place (the menus, the pop-up).
    QHash<int, QActionGroup*> exclusive;
    for (const MakerCommand& c : table) {
        QAction* a = makeCommand(QString::fromUtf8(c.name), QString::fromUtf8(c.caption),
                                 c.hint ? QString::fromUtf8(c.hint) : QString());
        if (c.key) a->setShortcut(QKeySequence(QString::fromLatin1(c.key)));
        if (c.flags & kCheckable) {
            a->setCheckable(true);
            a->setChecked(c.flags & kChecked);
        }
        if (c.group == MakerGroup::DrawMode || c.group == MakerGroup::ChipSize) {
            const int key = int(c.group) * 16 + int(c.menu == MakerMenu::Popup);
            QActionGroup*& g = exclusive[key];
            if (!g) g = new QActionGroup(this);
            g->addAction(a);
        }
        if (c.run) {
            const auto run = c.run;
            connect(a, &QAction::triggered, this, [this, run] { run(*this); });
        }
        actions_.push_back(a);
    }
}

void Tmaker::addCommandsOf(MakerMenu menu, QMenu* to) {
    const auto table = commandTable();
    bool first = true;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].menu != menu) continue;
        if ((table[i].flags & kSeparatorBefore) && !first) to->addSeparator();
        to->addAction(actions_[i]);
        first = false;
    }
}

void Tmaker::buildMenus() {
    const struct { MakerMenu menu; const char* title; } menus[] = {
        {MakerMenu::File, "ファイル(&F)"},   {MakerMenu::Edit, "編集(&E)"},   {MakerMenu::View, "表示(&V)"},
        {MakerMenu::Field, "フィールド(&D)"}, {MakerMenu::Data, "データ(&R)"}, {MakerMenu::Tool, "ツール(&T)"},
        {MakerMenu::Help, "ヘルプ(&H)"},
    };
    for (const auto& m : menus) addCommandsOf(m.menu, menuBar()->addMenu(QString::fromUtf8(m.title)));
}

void Tmaker::buildToolBar() {
    makertool_ = addToolBar(QStringLiteral("makertool"));
    makertool_->setObjectName(QStringLiteral("makertool"));
    makertool_->setIconSize(QSize(24, 24));
    makertool_->setMovable(false);
    const auto table = commandTable();
    std::vector<std::size_t> onBar;
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].bar > 0) onBar.push_back(i);
    std::sort(onBar.begin(), onBar.end(), [&](std::size_t a, std::size_t b) { return table[a].bar < table[b].bar; });
    // The groups fill three tool bars, a third of the buttons each: in one
    // row on a wide window, folded into two or three rows on a narrow one.
    for (QToolBar** more : {&makertool2_, &makertool3_}) {
        const QString name = more == &makertool2_ ? QStringLiteral("makertool2") : QStringLiteral("makertool3");
        *more = addToolBar(name);
        (*more)->setObjectName(name);
        (*more)->setIconSize(makertool_->iconSize());
        (*more)->setMovable(false);
        (*more)->toggleViewAction()->setVisible(false);  // follows the first
    }
    int lastGroup = -1;
    QToolBar* const bars[] = {makertool_, makertool2_, makertool3_};
    std::size_t row = 0;
    for (std::size_t n = 0; n < onBar.size(); ++n) {
        const MakerCommand& c = table[onBar[n]];
        if (lastGroup >= 0 && c.bar / 100 != lastGroup) {
            if (row < 2 && 3 * n >= (row + 1) * onBar.size()) ++row;
            else bars[row]->addSeparator();
        }
        lastGroup = c.bar / 100;
        actions_[onBar[n]]->setIcon(glyphIcon(QString::fromUtf8(c.glyph ? c.glyph : "?"), QColor::fromRgb(c.colour)));
        bars[row]->addAction(actions_[onBar[n]]);
    }
    makertool3_->addSeparator();
    xlabel_ = new QLabel(QStringLiteral("X:1"));
    ylabel_ = new QLabel(QStringLiteral("Y:1"));
    for (QLabel* label : {xlabel_, ylabel_}) {
        label->setToolTip(QStringLiteral("現在の座標"));
        label->setMinimumWidth(44);
    }
    xlabelAction_ = makertool3_->addWidget(xlabel_);
    ylabelAction_ = makertool3_->addWidget(ylabel_);
    // The tool bar area's own menu can hide the tool bar too: the option and
    // the check mark of the view menu follow it.
    connect(makertool_->toggleViewAction(), &QAction::triggered, this, [this](bool shown) {
        makertool2_->setVisible(shown);
        makertool3_->setVisible(shown);
        options().showpanel = shown;
        forEachInGroup(MakerGroup::ToolBar, [shown](QAction* a, int) { a->setChecked(shown); });
    });
    xlabel_->setObjectName(QStringLiteral("xlabel"));
    ylabel_->setObjectName(QStringLiteral("ylabel"));
}

void Tmaker::buildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    addCommandsOf(MakerMenu::Popup, popup_);
}

void Tmaker::setEditingCommandsEnabled(bool on) {
    const auto table = commandTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].flags & kAlwaysEnabled) continue;
        // The range tools follow the draw mode once editing has begun.
        actions_[i]->setEnabled(on && !(table[i].flags & kRangeTool));
    }
    // Undo and redo only while their history has a step.
    if (QAction* a = command(QStringLiteral("undomenu"))) a->setEnabled(on && editHistory().model().canUndo());
    if (QAction* a = command(QStringLiteral("redomenu"))) a->setEnabled(on && editHistory().model().canRedo());
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
    makertool2_->setVisible(o.showpanel);
    makertool3_->setVisible(o.showpanel);
    forEachInGroup(MakerGroup::ToolBar, [&o](QAction* a, int) { a->setChecked(o.showpanel); });
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
    // A new scenario has no file yet: an overwrite asks for a name.
    saveFileName_.clear();
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
    const AddFieldResult placed = placeNewField(ed.scenario, slot, ed.state.createWidth, ed.state.createHeight);
    if (placed != AddFieldResult::Added) {
        ed.messages->warning(this, placed == AddFieldResult::PoolTooSmall
                                       ? QStringLiteral("ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません")
                                       : fromCp932(damagedFieldLayoutMessage()));
        ed.state.currentField = previousField;
        return;
    }
    applyCreationTexts(ed.scenario, slot, toCp932(dialog.crname()->text()), toCp932(dialog.crdesigner()->text()),
                       toCp932(dialog.crfield()->text()));
    fieldonchange();
    if (editorWindows().fieldman && editorWindows().fieldman->isVisible()) editorWindows().fieldman->makefieldman();
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
                                     fileFailureText(result));
        return false;
    }
    // The file opened is the one an overwrite goes to.
    saveFileName_ = path;
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
        ed.messages->warning(this, path + QStringLiteral(" を保存できませんでした。\n") + fileFailureText(result));
    else editHistory().markSaved();
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
        if (editorWindows().chipview) editorWindows().chipview->readbmp();
        mapdrawmodeset();
        mapeditmenuset();
    }
    defaultimageload();
    allimageload();
    fieldonchange();
    if (editorWindows().fieldman && editorWindows().fieldman->isVisible()) editorWindows().fieldman->makefieldman();
    if (editorWindows().palette) editorWindows().palette->allgridfillrect();
    if (editorWindows().paramedit) editorWindows().paramedit->hide();
    if (editorWindows().serchresult) editorWindows().serchresult->hide();
    colrowset(ed.state.chipSize);
    mapgrid_->show();
    editHistory().reset();  // a new or opened scenario starts a new history
}

// ---- field display ---------------------------------------------------------

void Tmaker::fieldonchange() {
    EditorContext& ed = editor();
    const Scenario& s = ed.scenario;
    const int field = ed.state.currentField;
    const FieldSize size = buildCellIndexMap(s, field, ed.cellIndexMap);
    const int width = size.width;
    const int height = size.height;
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
    xlabelAction_->setVisible(true);
    ylabelAction_->setVisible(true);
    mapgrid_->repaintAll();
    captionchange();
    if (editorWindows().minimap) editorWindows().minimap->minimapsize();
}

void Tmaker::jumpToCell(int field, int col, int row) {
    EditorContext& ed = editor();
    if (!fieldInUse(ed.scenario, field)) return;
    if (field != ed.state.currentField) {
        ed.state.currentField = static_cast<std::uint8_t>(field);
        fieldonchange();
    }
    mapgrid_->selectCell(col, row);
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
    if (editHistory().modified()) caption.prepend(QStringLiteral("* "));  // unsaved changes
    setWindowTitle(caption);
}

void Tmaker::formset() {
    const Options& o = options();
    setStayOnTop(editorWindows().minimap, o.allmapFront);
    setStayOnTop(editorWindows().fieldman, o.fieldmanfront);
    setStayOnTop(editorWindows().palette, o.paletteFront);
    setStayOnTop(editorWindows().chipview, o.chipviewFront);
    setStayOnTop(editorWindows().paramedit, o.parameditFront);
    mapgrid_->setGridLines(o.gridline);
}

void Tmaker::kankyoumenuClick() {
    {
        Toptionform dialog(options(), this);
        runOptionDialog(dialog);
        // Pictures already in the picture list stay until the next open.
        if (dialog.searchFolderChanged() && editorWindows().chipview) editorWindows().chipview->readbmp();
    }
    formset();
    // Written now too, so that a crash later does not lose the choices.
    writeregistry();
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
    forEachInGroup(MakerGroup::DrawMode, [mode](QAction* a, int tag) {
        if (tag == mode + 1) a->setChecked(true);
    });
    const bool range = mode == 2 && !ed.state.noScenarioYet;
    const auto table = commandTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].flags & kRangeTool) actions_[i]->setEnabled(range);
    mapgrid_->setRangeSelection(mode == 2);
    if (editorWindows().palette) editorWindows().palette->alldrawpicrefresh();
}

void Tmaker::mapvbtnClick(int tag) {
    if (tag < kPlace || tag > kChara) return;
    auto& visible = editor().state.layerVisible[tag];
    visible = !visible;
    mapgrid_->repaintAll();
    mapeditmenuset();
}

void Tmaker::mapeditmenuset() {
    const auto& visible = editor().state.layerVisible;
    forEachInGroup(MakerGroup::LayerView, [&visible](QAction* a, int layer) {
        if (layer >= kPlace && layer <= kChara) a->setChecked(visible[layer]);
    });
}

void Tmaker::colrowset(int size) {
    if (size < 1 || size > 3) size = 1;
    editor().state.chipSize = size;
    forEachInGroup(MakerGroup::ChipSize, [size](QAction* a, int tag) {
        if (tag == size) a->setChecked(true);
    });
    mapgrid_->setCellSize(chipPixels(size));
}

// ---- picture list -------------------------------------------------------------

void Tmaker::defaultimageload() { editor().imageList.reset(); }

void Tmaker::allimageload() {
    EditorContext& ed = editor();
    Scenario& s = ed.scenario;
    PictureIndexTables& t = ed.side.pictures;
    bool quiet = false;  // the author asked for no more warnings in this load
    auto load = [&](auto& index, const ShortString255& file, bool transparent, std::int32_t colour) {
        if (file.empty()) return;
        QString path;
        const QImage image = ed.readPicture(fromCp932(file.view()), &path);
        if (image.isNull()) {
            index = static_cast<std::remove_reference_t<decltype(index)>>(ed.imageList.addBlank());
            if (!quiet) quiet = ed.messages->warningInRun(this, path + QStringLiteral("が見つかりません。"));
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
    // Nothing stored (a first start) or a title bar no screen shows: the
    // first-start layout, with the tool windows beside the main window.
    if (!o.mainform.stored || !titleBarOnScreen(rect)) rect = firstStartPlan().main;
    setGeometry(rect);
    arrangeToolBars();  // before the window is shown, so the tool bar never widens it
    if (o.mainform.maximize) showMaximized();
    else showNormal();
    makertool_->setVisible(o.showpanel);
    makertool2_->setVisible(o.showpanel);
    makertool3_->setVisible(o.showpanel);
    forEachInGroup(MakerGroup::ToolBar, [&o](QAction* a, int) { a->setChecked(o.showpanel); });
    mapeditmenuset();
    formset();
    // The palette places itself; these take their stored places when first shown.
    if (!placersInstalled_) {
        placersInstalled_ = true;
        applyPlacementOnFirstShow(editorWindows().minimap, &o.allmap);
        applyPlacementOnFirstShow(editorWindows().chipview, &o.chipview);
        if (o.param.stored) applyPlacementOnFirstShow(editorWindows().paramedit, &o.param);
        placeToolWindowsBeside();
    }
}

namespace {
constexpr int kToolBarSlack = 24;  // the tool bars' handles and margins

// Whether the second and the third tool bar start a row of their own in a
// main window `width` wide, for tool bars w1, w2 and w3 wide.
std::pair<bool, bool> toolBarBreaks(int w1, int w2, int w3, int width) {
    width -= kToolBarSlack;
    if (width >= w1 + w2 + w3) return {false, false};
    if (width >= std::max(w1, w2 + w3)) return {true, false};
    if (width >= std::max(w1 + w2, w3)) return {false, true};
    return {true, true};
}
}  // namespace

int Tmaker::toolBarWidth(int rows) const {
    // The coordinate labels are hidden until a scenario is open.
    const int labels = xlabelAction_->isVisible() ? 0 : xlabel_->minimumWidth() + ylabel_->minimumWidth() + 16;
    const int w1 = makertool_->sizeHint().width(), w2 = makertool2_->sizeHint().width();
    const int w3 = makertool3_->sizeHint().width() + labels;
    if (rows <= 1) return w1 + w2 + w3 + kToolBarSlack;
    if (rows == 2) return std::min(std::max(w1, w2 + w3), std::max(w1 + w2, w3)) + kToolBarSlack;
    return std::max({w1, w2, w3}) + kToolBarSlack;
}

void Tmaker::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    arrangeToolBars();
}

void Tmaker::arrangeToolBars() {
    if (!makertool3_) return;
    const int labels = xlabelAction_->isVisible() ? 0 : xlabel_->minimumWidth() + ylabel_->minimumWidth() + 16;
    const auto [second, third] = toolBarBreaks(makertool_->sizeHint().width(), makertool2_->sizeHint().width(),
                                               makertool3_->sizeHint().width() + labels, width());
    for (const auto& [bar, wanted] : {std::pair{makertool2_, second}, std::pair{makertool3_, third}}) {
        if (toolBarBreak(bar) == wanted) continue;
        if (wanted) insertToolBarBreak(bar);
        else removeToolBarBreak(bar);
    }
}

FirstStartLayout Tmaker::firstStartPlan() const {
    const Options& o = options();
    const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    auto room = [](QWidget* tool, QSize size, bool shortens) {
        if (!tool) return ToolWindowRoom{size, 0};
        size = size.expandedTo(tool->minimumSizeHint()).boundedTo(tool->maximumSize());
        return ToolWindowRoom{size, shortens ? tool->minimumSizeHint().height() : 0};
    };
    return firstStartLayout(area, toolBarWidth(1), toolBarWidth(3),
                            {room(editorWindows().palette, o.palette.rect.size(), true),
                             room(editorWindows().fieldman, QSize(o.fieldmanview ? kToolColumnWidth : 207, 386), true),
                             room(editorWindows().paramedit, kParameditRoom, false)});
}

void Tmaker::placeToolWindowsBeside() {
    Options& o = options();
    // Measured when each is first shown: the main window may have moved or
    // grown since. The place keeps its distance from the main window's
    // right edge; on a first start the main window gives way where a tool
    // window would cover it.
    auto place = [this](std::size_t tool, QSize size) {
        const FirstStartLayout plan = firstStartPlan();
        QRect r = plan.tools[tool];
        if (size.isValid()) r.setSize(size);
        const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
        r = frameOnScreen(area, r.translated(geometry().right() - plan.main.right(), 0));
        constexpr int kBorder = 8;  // what a frame adds at a window's side, about
        const int overlap = frameGeometry().right() + 1 - (r.left() - kBorder);
        if (overlap > 0 && !options().mainform.stored && width() - overlap >= toolBarWidth(3))
            resize(width() - overlap, height());
        return r;
    };
    if (editorWindows().palette && !o.palette.stored)
        onFirstShow(editorWindows().palette, [&o, place] { o.palette.rect = place(0, QSize()); });
    if (QWidget* fieldman = editorWindows().fieldman)
        onFirstShow(fieldman, [fieldman, place] {
            const QRect r = place(1, QSize());
            fieldman->setGeometry(r);
            // Its first showing sets its own height: the planned one comes after.
            QTimer::singleShot(0, fieldman, [fieldman, r] { fieldman->resize(r.size()); });
        });
    if (QWidget* paramedit = editorWindows().paramedit; paramedit && !o.param.stored)
        onFirstShow(paramedit, [paramedit, place] { paramedit->move(place(2, paramedit->size()).topLeft()); });
}

void Tmaker::writeregistry() {
    EditorContext& ed = editor();
    Options& o = options();
    const WindowPlacements placements = {
        placementOf(this, o.mainform),         placementOf(editorWindows().minimap, o.allmap),
        placementOf(editorWindows().palette, o.palette),    placementOf(editorWindows().chipview, o.chipview),
        placementOf(editorWindows().paramedit, o.param),
    };
    writeOptions(*settingsStore(), o, ed.state, placements);
}

bool Tmaker::FormCloseQuery() {
    if (!options().tellmsg) return true;
    return editor().messages->confirm(this, QStringLiteral("終了してもよろしいですか？"));
}

void Tmaker::FormClose() {
    writeregistry();
    editHistory().closing();
    HelpViewer::closeViewer();
    EditorContext& ed = editor();
    if (ed.media) ed.media->mediastop();
    for (QWidget* w : std::initializer_list<QWidget*>{editorWindows().minimap, editorWindows().palette, editorWindows().chipview, editorWindows().paramedit, editorWindows().fieldman,
                                                      editorWindows().serchresult})
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
