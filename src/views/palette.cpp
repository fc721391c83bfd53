#include "views/palette.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "services/editorcontext.h"
#include "services/mainwindowhooks.h"
#include "services/options.h"
#include "render/picturelist.h"
#include "services/waitform.h"
#include "scenario/text.h"
#include "services/slotname.h"
#include "views/palette_widgets.h"

namespace qrn {

namespace {

constexpr int kMaxWidth = 378;
const QString kCaption = QStringLiteral("ﾊﾟﾚｯﾄ");

struct PageText {
    const char16_t* caption;     // page tab
    const char16_t* targetName;  // target label
    const char16_t* menuEntry;   // draw target menu entry
    const char16_t* resetWord;   // reset question
    const char16_t* waitText;    // wait window during the reset
};

// By Layer (index 0 unused).
const PageText kPageTexts[6] = {
    {u"", u"", u"", u"", u""},
    {u"地形", u"地形", u"地形(&L)", u"地形", u"地形の初期化中...しばらくお待ち下さい..."},
    {u"建造物", u"建造物", u"建造物(&E)", u"建造物", u"建造物の初期化中...しばらくお待ち下さい..."},
    {u"ｲﾍﾞﾝﾄ", u"ｲﾍﾞﾝﾄ", u"イベント(&V)", u"イベント", u"ｲﾍﾞﾝﾄの初期化中...しばらくお待ち下さい..."},
    {u"ｱｲﾃﾑ", u"ｱｲﾃﾑ", u"アイテム(&I)", u"アイテム", u"ｱｲﾃﾑの初期化中...しばらくお待ち下さい..."},
    {u"ｷｬﾗｸﾀ", u"ｷｬﾗｸﾀ", u"キャラクター(&C)", u"キャラクター", u"ｷｬﾗｸﾀｰの初期化中...しばらくお待ち下さい..."},
};

QString text(const char16_t* s) { return QString::fromUtf16(s); }

// Pages are 0..4, layers 1..5, in the same order.
int layerOfPage(int page) { return page + 1; }
int pageOfLayer(int layer) { return layer - 1; }

bool tellmsg() {
    const Options* options = editor().options;
    return options ? options->tellmsg : true;
}

// Without a message service nothing is confirmed.
bool askOk(QWidget* parent, const QString& question) {
    MessageService* messages = editor().messages;
    return messages && messages->confirm(parent, question);
}

QPixmap crossHatchPicture() {
    QPixmap picture(32, 32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), QBrush(Qt::black, Qt::DiagCrossPattern));
    return picture;
}

}  // namespace

Tpalette::Tpalette(QWidget* parent) : QMainWindow(parent, Qt::Tool), blankPicture_(crossHatchPicture()) {
    setObjectName(QStringLiteral("palette"));
    setWindowTitle(kCaption);
    setMaximumWidth(kMaxWidth);
    buildPages();
    buildToolPanel();
    buildMenus();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel1_);
    column->addWidget(palettecontrol_, 1);
    setCentralWidget(central);

    statusLabel_ = new QLabel(this);
    statusBar()->addWidget(statusLabel_, 1);
    statusBar()->setSizeGripEnabled(true);

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_->popup(mapToGlobal(pos)); });
    applyViewOptions();
    alldrawpicrefresh();
}

// ---- building ----------------------------------------------------------------

void Tpalette::buildPages() {
    static const char* const kPageNames[] = {"", "placepalette", "enterpalette", "eventpalette", "itempalette", "charapalette"};
    static const char* const kGridNames[] = {"", "placegrid", "entergrid", "eventgrid", "itemgrid", "charagrid"};
    static const char* const kListNames[] = {"", "plgrid", "engrid", "evgrid", "itgrid", "chgrid"};
    palettecontrol_ = new QTabWidget(this);
    palettecontrol_->setObjectName(QStringLiteral("palettecontrol"));
    for (int layer = kPlace; layer <= kChara; ++layer) {
        const auto i = static_cast<std::size_t>(layer);
        auto* stack = new QStackedWidget(palettecontrol_);
        stack->setObjectName(QLatin1String(kPageNames[i]));
        auto* grid = new PaletteCellGrid(layer, PaletteCellGrid::Pictures, stack);
        grid->setObjectName(QLatin1String(kGridNames[i]));
        auto* list = new PaletteCellGrid(layer, PaletteCellGrid::Names, stack);
        list->setObjectName(QLatin1String(kListNames[i]));
        stack->addWidget(grid);
        stack->addWidget(list);
        stacks_[i] = stack;
        grids_[i] = grid;
        lists_[i] = list;
        for (PaletteCellGrid* view : {grid, list}) {
            const bool fromList = view == list;
            connect(view, &PaletteCellGrid::cellSelected, this, [this, layer](int n) { cellSelect(layer, n); });
            connect(view, &PaletteCellGrid::cellActivated, this,
                    [this, layer, fromList](int n) { gridDblClick(layer, n, fromList); });
            view->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(view, &QWidget::customContextMenuRequested, this,
                    [this, view](const QPoint& pos) { popup_->popup(view->mapToGlobal(pos)); });
        }
        palettecontrol_->addTab(stack, text(kPageTexts[i].caption));
    }
    connect(palettecontrol_, &QTabWidget::currentChanged, this, &Tpalette::pageChanged);
}

void Tpalette::buildToolPanel() {
    Panel1_ = new QWidget(this);
    Panel1_->setObjectName(QStringLiteral("Panel1"));
    Panel1_->setFixedHeight(89);

    const auto toolButton = [this](const char* name, const QString& caption, const QString& hint) {
        auto* button = new QToolButton(Panel1_);
        button->setObjectName(QLatin1String(name));
        button->setText(caption);
        button->setToolTip(hint);
        button->setAutoRaise(true);
        return button;
    };
    listorgrid_ = toolButton("listorgrid", QStringLiteral("ﾘｽﾄ"), QStringLiteral("ｸﾞﾘｯﾄﾞ表示／ﾘｽﾄ表示切替"));
    listorgrid_->setCheckable(true);
    serchbtn_ = toolButton("serchbtn", QStringLiteral("ﾁｯﾌﾟ検索"), QStringLiteral("ﾁｯﾌﾟ検索"));
    pacopybtn_ = toolButton("pacopybtn", QStringLiteral("ｺﾋﾟｰ"), QStringLiteral("ｺﾋﾟｰ"));
    padeletebtn_ = toolButton("padeletebtn", QStringLiteral("削除"), QStringLiteral("削除"));
    alldrawspeedbtn_ = toolButton("alldrawspeedbtn", QStringLiteral("全て"), QStringLiteral("全て描画／削除"));
    paletteerase_ = new QPushButton(QStringLiteral("初期化"), Panel1_);
    paletteerase_->setObjectName(QStringLiteral("paletteerase"));
    paletteerase_->setToolTip(QStringLiteral("ﾁｯﾌﾟを初期化します"));
    paletteerase_->setAutoDefault(false);
    // The key button of the page change: its mnemonic is Alt+W.
    papagechange_ = new QPushButton(QStringLiteral("切替(&W)"), Panel1_);
    papagechange_->setObjectName(QStringLiteral("papagechange"));
    papagechange_->setAutoDefault(false);
    papagechange_->setFocusPolicy(Qt::NoFocus);

    connect(listorgrid_, &QToolButton::clicked, this, [this] { listorgridClick(); });
    connect(serchbtn_, &QToolButton::clicked, this, [this] { serchbtnClick(); });
    connect(pacopybtn_, &QToolButton::clicked, this, [this] { copybtnClick(); });
    connect(padeletebtn_, &QToolButton::clicked, this, [this] { deletebtnClick(); });
    connect(alldrawspeedbtn_, &QToolButton::clicked, this, [this] { allTargetsClick(); });
    connect(paletteerase_, &QPushButton::clicked, this, [this] { paletteeraseClick(); });
    connect(papagechange_, &QPushButton::clicked, this, [this] { papagechangeClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(1);
    for (QWidget* w : std::initializer_list<QWidget*>{listorgrid_, serchbtn_, pacopybtn_, padeletebtn_, alldrawspeedbtn_})
        buttons->addWidget(w);
    buttons->addStretch(1);
    buttons->addWidget(paletteerase_);

    // The draw boxes above the target labels, one column per layer.
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(4);
    boxes->setVerticalSpacing(0);
    boxes->addWidget(new QLabel(QStringLiteral("描画"), Panel1_), 0, 0);
    boxes->addWidget(new QLabel(QStringLiteral("削除"), Panel1_), 1, 0);
    static const char* const kBoxNames[] = {"", "pldrawpic", "endrawpic", "evdrawpic", "itdrawpic", "chdrawpic"};
    static const char* const kLabelNames[] = {"", "pllabel", "enlabel", "evlabel", "itlabel", "chlabel"};
    QFont bold = font();
    bold.setBold(true);
    for (int layer = kPlace; layer <= kChara; ++layer) {
        const auto i = static_cast<std::size_t>(layer);
        auto* box = new DrawBox(layer, &blankPicture_, Panel1_);
        box->setObjectName(QLatin1String(kBoxNames[i]));
        connect(box, &DrawBox::clicked, this, [this](int l) {
            drawbtnClick(l, QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
        });
        auto* label = new QLabel(text(kPageTexts[i].targetName), Panel1_);
        label->setObjectName(QLatin1String(kLabelNames[i]));
        label->setFont(bold);
        label->setAlignment(Qt::AlignCenter);
        drawBoxes_[i] = box;
        targetLabels_[i] = label;
        boxes->addWidget(box, 0, layer, Qt::AlignCenter);
        boxes->addWidget(label, 1, layer, Qt::AlignCenter);
    }
    boxes->setColumnStretch(6, 1);
    boxes->addWidget(papagechange_, 0, 7, 2, 1, Qt::AlignVCenter);

    auto* column = new QVBoxLayout(Panel1_);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    column->addLayout(buttons);
    column->addLayout(boxes);
}

void Tpalette::buildMenus() {
    const auto action = [this](const QString& caption, const QKeySequence& key = {}) {
        auto* a = new QAction(caption, this);
        if (!key.isEmpty()) a->setShortcut(key);
        return a;
    };
    copyMenu_ = action(QStringLiteral("ｺﾋﾟｰ(&C)"), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    deleteMenu_ = action(QStringLiteral("削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    searchMenu_ = action(QStringLiteral("ﾁｯﾌﾟ検索(&F)"));
    gridViewMenu_ = action(QStringLiteral("ｸﾞﾘｯﾄﾞ表示(&V)"), QKeySequence(Qt::CTRL | Qt::Key_G));
    gridViewMenu_->setCheckable(true);
    toolbarMenu_ = action(QStringLiteral("ﾂｰﾙﾊﾞｰ表示(&T)"));
    toolbarMenu_->setCheckable(true);
    copyPop_ = action(QStringLiteral("ｺﾋﾟｰ"));
    deletePop_ = action(QStringLiteral("削除"));
    searchPop_ = action(QStringLiteral("ﾁｯﾌﾟ検索"));
    gridViewPop_ = action(QStringLiteral("ｸﾞﾘｯﾄﾞ表示"));
    gridViewPop_->setCheckable(true);
    toolbarPop_ = action(QStringLiteral("ﾂｰﾙﾊﾞｰ表示"));
    toolbarPop_->setCheckable(true);

    for (QAction* a : {copyMenu_, copyPop_}) connect(a, &QAction::triggered, this, [this] { copybtnClick(); });
    for (QAction* a : {deleteMenu_, deletePop_}) connect(a, &QAction::triggered, this, [this] { deletebtnClick(); });
    for (QAction* a : {searchMenu_, searchPop_}) connect(a, &QAction::triggered, this, [this] { serchbtnClick(); });
    for (QAction* a : {gridViewMenu_, gridViewPop_}) connect(a, &QAction::triggered, this, [this] { listorgridClick(); });
    for (QAction* a : {toolbarMenu_, toolbarPop_}) connect(a, &QAction::triggered, this, [this] { toolbarClick(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&P)"));
    edit->addActions({copyMenu_, deleteMenu_, searchMenu_});
    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&O)"));
    settings->addActions({gridViewMenu_, toolbarMenu_});
    QMenu* targets = menuBar()->addMenu(QStringLiteral("描画／削除対象(&D)"));
    for (int layer = kPlace; layer <= kChara; ++layer) {
        QAction* a = action(text(kPageTexts[static_cast<std::size_t>(layer)].menuEntry));
        a->setCheckable(true);
        // The check mark follows drawTarget; the click flips it itself.
        connect(a, &QAction::triggered, this, [this, layer] {
            drawbtnClick(layer, QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
        });
        targetActions_[static_cast<std::size_t>(layer)] = a;
        targets->addAction(a);
    }
    QAction* all = action(QStringLiteral("全て(&A)"));
    connect(all, &QAction::triggered, this, [this] { allTargetsClick(); });
    targets->addAction(all);
    QMenu* change = menuBar()->addMenu(QStringLiteral("切替(&Z)"));
    QAction* mainWindow = action(QStringLiteral("メインウインドウ(&M) "), QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(mainWindow, &QAction::triggered, this, [] {
        if (MainWindowHooks* main = mainWindowHooks()) main->focusMap();
    });
    QAction* fieldManager = action(QStringLiteral("フィールドマネージャ(&F)"), QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(fieldManager, &QAction::triggered, this, [] {
        if (MainWindowHooks* main = mainWindowHooks()) main->toggleFieldManager();
    });
    change->addActions({mainWindow, fieldManager});

    popup_ = new QMenu(this);
    popup_->addActions({copyPop_, deletePop_, searchPop_, gridViewPop_, toolbarPop_});
}

// ---- operations other windows call -------------------------------------------

void Tpalette::refillNames(int layer) {
    if (!validLayer(layer)) return;
    Scenario& s = editor().scenario;
    QStringList names;
    const int count = layerSlotCount(layer);
    names.reserve(count);
    for (int n = 1; n <= count; ++n) names.append(slotName(s, layer, n));
    lists_[static_cast<std::size_t>(layer)]->setNames(names);
}

void Tpalette::plinvalid() { refillNames(kPlace); }
void Tpalette::eninvalid() { refillNames(kEnter); }
void Tpalette::evinvalid() { refillNames(kEvent); }
void Tpalette::itinvalid() { refillNames(kItem); }
void Tpalette::chinvalid() { refillNames(kChara); }

void Tpalette::allgridfillrect() {
    for (int layer = kPlace; layer <= kChara; ++layer) {
        grids_[static_cast<std::size_t>(layer)]->viewport()->update();
        refillNames(layer);
    }
    alldrawpicrefresh();
    updateStatus(activeLayer(), editor().drawing.currentObject[static_cast<std::size_t>(activeLayer())]);
}

void Tpalette::alldrawpicrefresh() {
    const DrawingState& drawing = editor().drawing;
    for (int layer = kPlace; layer <= kChara; ++layer) {
        const auto i = static_cast<std::size_t>(layer);
        drawBoxes_[i]->update();
        targetLabels_[i]->setEnabled(drawing.drawTarget[i]);
        targetActions_[i]->setChecked(drawing.drawTarget[i]);
    }
}

void Tpalette::selectFromMap(int layer, int number) {
    if (!validObject(layer, number)) return;
    const auto i = static_cast<std::size_t>(layer);
    editor().drawing.currentObject[i] = number;
    // A page chosen from the map keeps the draw targets as they are.
    {
        const QSignalBlocker blocker(palettecontrol_);
        palettecontrol_->setCurrentIndex(pageOfLayer(layer));
        activePage_ = pageOfLayer(layer);
    }
    grids_[i]->setCurrentNumber(number);
    lists_[i]->setCurrentNumber(number);
    updateStatus(layer, number);
    alldrawpicrefresh();
}

// ---- choosing ----------------------------------------------------------------

int Tpalette::activeLayer() const { return layerOfPage(activePage_); }

QString Tpalette::statusText() const { return statusLabel_->text(); }

void Tpalette::updateStatus(int layer, int number) { statusLabel_->setText(slotName(editor().scenario, layer, number)); }

void Tpalette::cellSelect(int layer, int number) {
    if (!validObject(layer, number)) return;
    const auto i = static_cast<std::size_t>(layer);
    DrawingState& drawing = editor().drawing;
    drawing.currentObject[i] = number;
    updateStatus(layer, number);
    drawing.drawTarget[i] = true;
    // Both views of the page keep their cursor on the current object.
    grids_[i]->setCurrentNumber(number);
    lists_[i]->setCurrentNumber(number);
    alldrawpicrefresh();
}

void Tpalette::drawbtnClick(int layer, bool shift) {
    if (!validLayer(layer)) return;
    auto& target = editor().drawing.drawTarget;
    const auto i = static_cast<std::size_t>(layer);
    target[i] = !target[i];
    if (!shift) {
        for (int other = kPlace; other <= kChara; ++other)
            if (other != layer) target[static_cast<std::size_t>(other)] = false;
    }
    alldrawpicrefresh();
}

void Tpalette::allTargetsClick() {
    auto& target = editor().drawing.drawTarget;
    for (int layer = kPlace; layer <= kChara; ++layer) target[static_cast<std::size_t>(layer)] = true;
    alldrawpicrefresh();
}

void Tpalette::setActivePage(int index) { palettecontrol_->setCurrentIndex(index); }

void Tpalette::pageChanged(int index) {
    if (editor().drawing.copyMode) {
        // The copy goes to a slot of the page it started on.
        const QSignalBlocker blocker(palettecontrol_);
        palettecontrol_->setCurrentIndex(activePage_);
        return;
    }
    if (index < 0) return;
    activePage_ = index;
    auto& target = editor().drawing.drawTarget;
    target.fill(false);
    target[static_cast<std::size_t>(layerOfPage(index))] = true;
    alldrawpicrefresh();
    updateStatus(activeLayer(), editor().drawing.currentObject[static_cast<std::size_t>(activeLayer())]);
}

void Tpalette::papagechangeClick() {
    if (editor().drawing.copyMode) return;
    palettecontrol_->setCurrentIndex((activePage_ + 1) % kLayerCount);
    focusActiveView();
}

void Tpalette::focusActiveView() {
    const auto i = static_cast<std::size_t>(activeLayer());
    PaletteCellGrid* view = listView() ? lists_[i] : grids_[i];
    if (view->isEnabled() && view->isVisible()) view->setFocus();
}

// ---- double click: property editor or image chooser --------------------------

void Tpalette::gridDblClick(int layer, int number, bool fromList) {
    EditorContext& ctx = editor();
    if (!validObject(layer, number)) return;
    if (ctx.drawing.copyMode) {
        copyOnto(number);
        return;
    }
    const int current = ctx.drawing.currentObject[static_cast<std::size_t>(layer)];
    if (objectInUse(ctx.scenario, layer, current)) {
        if (MainWindowHooks* main = mainWindowHooks()) main->openPropertyEditor(layer, current);
        return;
    }
    // An empty slot gets its first picture from the image chooser.
    if (!ctx.imageChooser) return;
    ctx.state.defaultTransparent = firstPictureTransparent(ctx.scenario, layer, current);
    if (!ctx.imageChooser->chooseImage(ctx.state.defaultTransparent)) return;
    const QString chosen = ctx.imageChooser->chosenImageFile();
    if (chosen.isEmpty()) return;
    // A name that cp932 cannot hold or that does not fit the slot would name
    // another file; such a choice changes nothing.
    const std::optional<std::string> bytes = utf8ToCp932(chosen.toStdString());
    if (!bytes || bytes->empty() || bytes->size() > static_cast<std::size_t>(ShortString255::capacity)) return;
    firstImageFile(ctx.scenario, layer, current)->assignRaw(*bytes);
    setFirstPictureTransparency(ctx.scenario, layer, current, ctx.state.defaultTransparent,
                                ctx.state.defaultTransparentColour);
    *pictureSlot(ctx.side.pictures, layer, current) =
        ctx.addimg(chosen, ctx.state.defaultTransparent, ctx.state.defaultTransparentColour);
    const auto i = static_cast<std::size_t>(layer);
    if (fromList) refillNames(layer);
    else grids_[i]->repaintNumber(current);
    updateStatus(layer, current);
    drawBoxes_[i]->update();
}

// ---- copy --------------------------------------------------------------------

void Tpalette::copybtnClick() {
    EditorContext& ctx = editor();
    if (ctx.drawing.copyMode) {
        endCopyMode();
        return;
    }
    const int layer = activeLayer();
    const int source = ctx.drawing.currentObject[static_cast<std::size_t>(layer)];
    if (!objectInUse(ctx.scenario, layer, source)) return;
    setWindowTitle(slotName(ctx.scenario, layer, source) + QStringLiteral("のｺﾋﾟｰ先を選択して下さい。"));
    ctx.drawing.copySource = source;
    ctx.drawing.copyMode = true;
    setCopyModeLocks(true);
}

void Tpalette::setCopyModeLocks(bool locked) {
    EditorContext& ctx = editor();
    for (QAction* a : {deleteMenu_, deletePop_}) a->setEnabled(!locked);
    padeletebtn_->setEnabled(!locked);
    paletteerase_->setEnabled(!locked);
    // Only the main window's own parts: the tool windows are its children
    // and would be locked with it, leaving no way to pick the destination.
    if (QMainWindow* main = mainWindowHooks() ? mainWindowHooks()->hooksWindow() : nullptr) {
        if (QWidget* map = main->centralWidget()) map->setEnabled(!locked);
        if (QWidget* menus = main->menuWidget()) menus->setEnabled(!locked);
        for (QToolBar* bar : main->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly)) bar->setEnabled(!locked);
    }
    if (MainWindowHooks* main = mainWindowHooks()) main->setViewsEnabled(!locked);
}

void Tpalette::endCopyMode() {
    setWindowTitle(kCaption);
    editor().drawing.copyMode = false;
    setCopyModeLocks(false);
    alldrawpicrefresh();
}

void Tpalette::copyOnto(int destination) {
    EditorContext& ctx = editor();
    const int layer = activeLayer();
    const int source = ctx.drawing.copySource;
    if (destination == source) return;  // copy mode stays on
    if (!validObject(layer, destination) || !objectInUse(ctx.scenario, layer, source)) {
        endCopyMode();
        return;
    }
    if (objectInUse(ctx.scenario, layer, destination) && tellmsg()) {
        const QString question = slotName(ctx.scenario, layer, source) + QStringLiteral("を") +
                                 slotName(ctx.scenario, layer, destination) +
                                 QStringLiteral("にコピーします。よろしいですか？");
        if (!askOk(this, question)) {
            endCopyMode();
            return;
        }
    }
    copyObject(ctx.scenario, ctx.side.pictures, layer, source, destination);
    grids_[static_cast<std::size_t>(layer)]->viewport()->update();
    refillNames(layer);
    updateStatus(layer, ctx.drawing.currentObject[static_cast<std::size_t>(layer)]);
    repaintMainMap();
    endCopyMode();
}

// ---- delete and reset --------------------------------------------------------

void Tpalette::repaintMainMap() {
    if (MainWindowHooks* main = mainWindowHooks()) main->repaintMap();
}

void Tpalette::deletebtnClick() {
    EditorContext& ctx = editor();
    if (ctx.drawing.copyMode) return;
    if (MainWindowHooks* main = mainWindowHooks()) main->hideSearchResult();
    const int layer = activeLayer();
    const auto i = static_cast<std::size_t>(layer);
    const int number = ctx.drawing.currentObject[i];
    if (!objectInUse(ctx.scenario, layer, number)) return;
    if (tellmsg()) {
        const QString question = slotName(ctx.scenario, layer, number) + QStringLiteral("をパレットから削除します。\n") +
                                 QStringLiteral("よろしいですか？");
        if (!askOk(this, question)) return;
    }
    resetObjects(ctx.scenario, ctx.side.pictures, layer, number);
    grids_[i]->viewport()->update();
    refillNames(layer);
    updateStatus(layer, number);
    drawBoxes_[i]->update();
    if (MainWindowHooks* main = mainWindowHooks()) main->hidePropertyEditor();
    repaintMainMap();
}

void Tpalette::paletteeraseClick() {
    EditorContext& ctx = editor();
    if (ctx.drawing.copyMode) return;
    const int layer = activeLayer();
    const PageText& texts = kPageTexts[static_cast<std::size_t>(layer)];
    // Asked whatever tellmsg says: the whole layer goes.
    if (!askOk(this, text(texts.resetWord) + QStringLiteral("を全て初期化します。本当によろしいですか？"))) return;
    if (MainWindowHooks* main = mainWindowHooks()) main->hideSearchResult();
    {
        Twaitform wait;
        wait.makehelplabel(text(texts.waitText));
        resetObjects(ctx.scenario, ctx.side.pictures, layer, -1);
    }
    if (MainWindowHooks* main = mainWindowHooks()) main->hidePropertyEditor();
    allgridfillrect();
    repaintMainMap();
}

void Tpalette::serchbtnClick() {
    const int layer = activeLayer();
    const int number = editor().drawing.currentObject[static_cast<std::size_t>(layer)];
    if (!objectInUse(editor().scenario, layer, number)) return;
    if (chipSearch) chipSearch(layer, number);
}

// ---- views -------------------------------------------------------------------

bool Tpalette::listView() const {
    const Options* options = editor().options;
    return options ? options->palettelistview : ownListView_;
}

bool Tpalette::toolView() const {
    const Options* options = editor().options;
    return options ? options->palettetoolview : ownToolView_;
}

void Tpalette::listorgridClick() {
    if (Options* options = editor().options) options->palettelistview = !options->palettelistview;
    else ownListView_ = !ownListView_;
    applyViewOptions();
    focusActiveView();
}

void Tpalette::toolbarClick() {
    if (Options* options = editor().options) options->palettetoolview = !options->palettetoolview;
    else ownToolView_ = !ownToolView_;
    applyViewOptions();
}

void Tpalette::applyViewOptions() {
    const bool names = listView();
    for (int layer = kPlace; layer <= kChara; ++layer) {
        const auto i = static_cast<std::size_t>(layer);
        if (names) refillNames(layer);
        stacks_[i]->setCurrentWidget(names ? static_cast<QWidget*>(lists_[i]) : grids_[i]);
        lists_[i]->setEnabled(names);
        grids_[i]->setEnabled(!names);
    }
    gridViewMenu_->setChecked(!names);
    gridViewPop_->setChecked(!names);
    listorgrid_->setChecked(names);
    const bool tools = toolView();
    Panel1_->setVisible(tools);
    toolbarMenu_->setChecked(tools);
    toolbarPop_->setChecked(tools);
}

// ---- window events -----------------------------------------------------------

void Tpalette::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (const Options* options = editor().options) {
            // A rectangle whose title bar no screen shows (a damaged file,
            // another monitor setup) leaves the palette where it is.
            applyPlacement(this, options->palette, QSize(kMaxWidth, 4096));
        }
    }
    applyViewOptions();
    QMainWindow::showEvent(event);
}

void Tpalette::closeEvent(QCloseEvent* event) {
    if (editor().drawing.copyMode) event->ignore();
    else QMainWindow::closeEvent(event);
}

void Tpalette::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && editor().drawing.copyMode && isMinimized()) {
        // Copy mode keeps the palette on the screen.
        setWindowState(windowState() & ~Qt::WindowMinimized);
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        focusActiveView();
    }
    QMainWindow::changeEvent(event);
}

void Tpalette::keyPressEvent(QKeyEvent* event) {
    // Hiding the palette in copy mode would leave the main window locked.
    if (event->key() == Qt::Key_Escape && !editor().drawing.copyMode) {
        hide();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace qrn
