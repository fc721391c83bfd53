#include "views/chipview.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/options.h"
#include "views/chipgrid.h"
#include "views/largeimgview.h"

namespace qrn {

namespace {

constexpr int kMaxWidth = 545;
constexpr int kListColumns = 3;

QString captionView() { return QStringLiteral("ｲﾒｰｼﾞﾋﾞｭｰ"); }
QString captionChooser() { return QStringLiteral("ｲﾒｰｼﾞを選択"); }

// The chip with every pixel of the transparent colour see-through.
QImage withTransparentColour(const QImage& chip, unsigned bgr) {
    QImage out = chip.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = colourFromBgr(bgr).rgb() & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    return out;
}

// A list box that flows its rows into three equal columns.
class ColumnList : public QListWidget {
public:
    explicit ColumnList(QWidget* parent) : QListWidget(parent) {
        setFlow(QListView::TopToBottom);
        setWrapping(true);
        setResizeMode(QListView::Adjust);
        setUniformItemSizes(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QListWidget::resizeEvent(event);
        const int width = std::max(40, viewport()->width() / kListColumns);
        setGridSize(QSize(width, fontMetrics().height() + 2));
    }
};

}  // namespace

// The preview box (chippic): the selected chip on the panel's background.
class ChipPreview : public QWidget {
public:
    explicit ChipPreview(QWidget* parent) : QWidget(parent) { setFixedSize(32, 32); }
    void setImage(const QImage& image) {
        image_ = image;
        update();
    }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!image_.isNull()) p.drawImage(QPoint(0, 0), image_);
    }

private:
    QImage image_;
};

Tchipview::Tchipview(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(captionView());
    setMaximumWidth(kMaxWidth);
    resize(kMaxWidth, 388);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    buildToolPanel();
    buildViews();
    buildChooserPanel();
    layout->addWidget(panel2_);
    layout->addWidget(views_, 1);
    layout->addWidget(panel3_);

    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statuslabel"));
    // A long folder name or the hint on an empty folder wraps instead of
    // being cut off at the window's edge.
    statusLabel_->setWordWrap(true);
    statusBar()->addWidget(statusLabel_, 1);

    buildMenus();
    applyOptions();
    updateTransparencyControls();
    makechipslist();
}

Tchipview::~Tchipview() {
    if (chooserLoop_) chooserLoop_->quit();
}

void Tchipview::buildToolPanel() {
    panel2_ = new QFrame(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    static_cast<QFrame*>(panel2_)->setFrameShape(QFrame::StyledPanel);

    chippic_ = new ChipPreview(panel2_);
    chippic_->setObjectName(QStringLiteral("chippic"));

    clrlabel_ = new QLabel(QStringLiteral("透明色"), panel2_);
    clrshape_ = new QLabel(panel2_);
    clrshape_->setFixedSize(24, 12);
    clrshape_->setFrameShape(QFrame::Box);
    clrshape_->setAutoFillBackground(true);

    auto makeButton = [this](const char* name, const QString& text, bool checkable) {
        auto* button = new QPushButton(text, panel2_);
        button->setObjectName(QString::fromLatin1(name));
        button->setCheckable(checkable);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    viewbtn_ = makeButton("viewbtn", QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ表示"), false);
    selmaskcolor_ = makeButton("selmaskcolor", QStringLiteral("透明色を指定"), false);
    clearenable_ = makeButton("clearenable", QStringLiteral("透明色を使う"), true);
    listorgrid_ = makeButton("listorgrid", QStringLiteral("ｸﾞﾘｯﾄﾞ／ﾘｽﾄ切替"), true);
    ibreloadbtn_ = makeButton("ibreloadbtn", QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ再読み込み"), false);
    connect(viewbtn_, &QPushButton::clicked, this, [this] { enlarge(); });
    connect(selmaskcolor_, &QPushButton::clicked, this, [this] { chooseTransparentColour(); });
    connect(clearenable_, &QPushButton::clicked, this, [this] { toggleTransparent(); });
    connect(listorgrid_, &QPushButton::clicked, this, [this] { toggleListView(); });
    connect(ibreloadbtn_, &QPushButton::clicked, this, [this] { readbmp(); });

    label1_ = new QLabel(panel2_);
    label1_->setObjectName(QStringLiteral("Label1"));
    QFont bold = label1_->font();
    bold.setBold(true);
    label1_->setFont(bold);

    auto* colour = new QVBoxLayout;
    colour->addWidget(clrlabel_);
    colour->addWidget(clrshape_);
    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(viewbtn_);
    firstRow->addWidget(selmaskcolor_);
    firstRow->addWidget(clearenable_);
    firstRow->addStretch();
    auto* secondRow = new QHBoxLayout;
    secondRow->addWidget(listorgrid_);
    secondRow->addWidget(ibreloadbtn_);
    secondRow->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addLayout(firstRow);
    buttons->addLayout(secondRow);
    auto* top = new QHBoxLayout;
    top->addWidget(chippic_);
    top->addLayout(colour);
    top->addLayout(buttons, 1);
    auto* panel = new QVBoxLayout(panel2_);
    panel->setContentsMargins(4, 4, 4, 4);
    panel->addLayout(top);
    panel->addWidget(label1_);
}

void Tchipview::buildViews() {
    views_ = new QStackedWidget(this);

    drawGrid1_ = new ChipGrid(table_, views_);
    drawGrid1_->setObjectName(QStringLiteral("DrawGrid1"));
    drawGrid1_->onSelect = [this](int index) { selectEntry(index, false); };
    drawGrid1_->onActivate = [this] { enlarge(); };
    drawGrid1_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(drawGrid1_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { showPopup(drawGrid1_->viewport(), pos); });

    chipslist_ = new ColumnList(views_);
    chipslist_->setObjectName(QStringLiteral("chipslist"));
    chipslist_->setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸでﾋﾞｯﾄﾏｯﾌﾟ表示"));
    chipslist_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(chipslist_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) selectEntry(row, true);
    });
    connect(chipslist_, &QListWidget::itemDoubleClicked, this, [this] { enlarge(); });
    connect(chipslist_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { showPopup(chipslist_->viewport(), pos); });

    views_->addWidget(drawGrid1_);
    views_->addWidget(chipslist_);
}

void Tchipview::buildChooserPanel() {
    panel3_ = new QFrame(this);
    panel3_->setObjectName(QStringLiteral("Panel3"));
    okbtn_ = new QPushButton(QStringLiteral("OK(&Y)"), panel3_);
    okbtn_->setObjectName(QStringLiteral("okbtn"));
    cancelbtn_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), panel3_);
    cancelbtn_->setObjectName(QStringLiteral("cancelbtn"));
    connect(okbtn_, &QPushButton::clicked, this, [this] { finishChooser(true); });
    connect(cancelbtn_, &QPushButton::clicked, this, [this] { finishChooser(false); });
    auto* layout = new QHBoxLayout(panel3_);
    layout->addStretch();
    layout->addWidget(okbtn_);
    layout->addWidget(cancelbtn_);
    panel3_->hide();
}

void Tchipview::buildMenus() {
    QMenu* tools = menuBar()->addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
    largeAct_ = tools->addAction(QStringLiteral("拡大表示(&V)"), this, [this] { enlarge(); });
    largeAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    reloadAct_ = tools->addAction(QStringLiteral("再読み込み(&L)"), this, [this] { readbmp(); });

    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&O)"));
    colourAct_ = settings->addAction(QStringLiteral("透明色(&C)"), this, [this] { chooseTransparentColour(); });
    colourAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    useTransparentAct_ = settings->addAction(QStringLiteral("透明色を使う(&U)"), this, [this] { toggleTransparent(); });
    useTransparentAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    useTransparentAct_->setCheckable(true);
    gridAct_ = settings->addAction(QStringLiteral("ｸﾞﾘｯﾄﾞ表示(&Z)"), this, [this] { toggleListView(); });
    gridAct_->setCheckable(true);
    toolBarAct_ = settings->addAction(QStringLiteral("ﾂｰﾙﾊﾞｰ表示(&T)"), this, [this] { toggleToolBar(); });
    toolBarAct_->setCheckable(true);

    popup_ = new QMenu(this);
    popup_->addAction(QStringLiteral("拡大表示"), this, [this] { enlarge(); });
    popup_->addAction(QStringLiteral("透明色"), this, [this] { chooseTransparentColour(); });
    popUseTransparent_ = popup_->addAction(QStringLiteral("透明色を使う"), this, [this] { toggleTransparent(); });
    popUseTransparent_->setCheckable(true);
    popGrid_ = popup_->addAction(QStringLiteral("ｸﾞﾘｯﾄﾞ表示"), this, [this] { toggleListView(); });
    popGrid_->setCheckable(true);
    popToolBar_ = popup_->addAction(QStringLiteral("ﾂｰﾙﾊﾞｰ表示"), this, [this] { toggleToolBar(); });
    popToolBar_->setCheckable(true);
    popup_->addAction(QStringLiteral("再読み込み"), this, [this] { readbmp(); });
}

void Tchipview::showPopup(QWidget* source, const QPoint& pos) { popup_->popup(source->mapToGlobal(pos)); }

void Tchipview::readbmp() {
    folder_ = imageSearchFolder();
    table_.read(folder_);
    makechipslist();  // also puts the selection on the first entry
    drawGrid1_->viewport()->update();
}

void Tchipview::makechipslist() {
    const QSignalBlocker block(chipslist_);
    chipslist_->clear();
    QStringList rows;
    rows.reserve(kChipCapacity);
    for (int i = 0; i < kChipCapacity; ++i) {
        const ChipEntry& e = table_.entry(i);
        QString text = QFileInfo(e.fileName).completeBaseName();
        if (e.large) text.prepend(QStringLiteral("●"));
        rows.append(text);
    }
    chipslist_->addItems(rows);
    chipslist_->setCurrentRow(0);
    selectEntry(0, true);
}

void Tchipview::selectEntry(int index, bool fromList) {
    if (index < 0 || index >= kChipCapacity) return;
    selected_ = index;
    const ChipEntry& e = table_.entry(index);
    chosenImageFile_ = e.fileName;

    // Keep the grid and the list on the same entry.
    drawGrid1_->setCurrent(index);
    if (chipslist_->currentRow() != index) {
        const QSignalBlocker block(chipslist_);
        chipslist_->setCurrentRow(index);
    }

    refreshPreview();
    label1_->setText(chosenImageFile_ + (fromList ? QStringLiteral(":計") : QStringLiteral(":合計")) +
                     QString::number(table_.fileCount()) + QStringLiteral("個"));
    statusLabel_->setText(statusText());
}

QString Tchipview::statusText() const {
    const QString folder = folder_.isEmpty() ? QStringLiteral("(未設定)") : folder_;
    if (table_.fileCount() > 0) return QStringLiteral("一覧のフォルダ: ") + folder;
    // Nothing to choose from: say where it looked and where that is set.
    return folder + QStringLiteral(" にビットマップがありません。") +
           QStringLiteral("メインウインドウの ツール → オプション →「ﾘｿｰｽ検索ﾌｫﾙﾀﾞ」で変更できます。");
}

void Tchipview::refreshPreview() {
    const ChipEntry& e = table_.entry(selected_);
    QImage preview;
    if (!chosenImageFile_.isEmpty() && e.pictureIndex >= 0) {
        preview = table_.picture(e.pictureIndex);
        const EditorState& state = editor().state;
        if (!e.large && state.defaultTransparent)
            preview = withTransparentColour(preview, state.defaultTransparentColour);
    }
    chippic_->setImage(preview);
}

QImage Tchipview::previewImage() const { return chippic_->image(); }

void Tchipview::enlarge() {
    if (chosenImageFile_.isEmpty()) return;
    Tlargeimgview::showLarge(this, chosenImageFile_, x(), y());
}

void Tchipview::toggleTransparent() {
    EditorState& state = editor().state;
    state.defaultTransparent = !state.defaultTransparent;
    updateTransparencyControls();
}

void Tchipview::chooseTransparentColour() {
    const QColor colour =
        QColorDialog::getColor(colourFromBgr(editor().state.defaultTransparentColour), this);
    if (colour.isValid()) setTransparentColour(bgrFromColour(colour));
}

void Tchipview::setTransparentColour(unsigned bgr) {
    editor().state.defaultTransparentColour = bgr & 0xFFFFFF;
    updateTransparencyControls();
}

void Tchipview::updateTransparencyControls() {
    const EditorState& state = editor().state;
    clearenable_->setChecked(state.defaultTransparent);
    useTransparentAct_->setChecked(state.defaultTransparent);
    popUseTransparent_->setChecked(state.defaultTransparent);
    clrlabel_->setEnabled(state.defaultTransparent);
    clrshape_->setVisible(state.defaultTransparent);
    QPalette pal = clrshape_->palette();
    pal.setColor(QPalette::Window, colourFromBgr(state.defaultTransparentColour));
    clrshape_->setPalette(pal);
    refreshPreview();
}

bool Tchipview::listViewShown() const {
    const Options* options = editor().options;
    return options ? options->chipslist : listMode_;
}

bool Tchipview::toolBarShown() const {
    const Options* options = editor().options;
    return options ? options->chiptoolview : toolBarMode_;
}

void Tchipview::toggleListView() {
    listMode_ = !listViewShown();
    if (Options* options = editor().options) options->chipslist = listMode_;
    applyOptions();
    if (listMode_ && chipslist_->currentRow() < 0) {
        chipslist_->setCurrentRow(0);
        selectEntry(0, true);
    }
}

void Tchipview::toggleToolBar() {
    toolBarMode_ = !toolBarShown();
    if (Options* options = editor().options) options->chiptoolview = toolBarMode_;
    applyOptions();
}

void Tchipview::applyOptions() {
    views_->setCurrentWidget(listViewShown() ? static_cast<QWidget*>(chipslist_) : drawGrid1_);
    panel2_->setVisible(toolBarShown());
    updateViewControls();
}

void Tchipview::updateViewControls() {
    const bool list = listViewShown();
    const bool toolBar = toolBarShown();
    listorgrid_->setChecked(list);
    gridAct_->setChecked(!list);
    popGrid_->setChecked(!list);
    toolBarAct_->setChecked(toolBar);
    popToolBar_->setChecked(toolBar);
}

bool Tchipview::chooseImage(bool presetTransparent) {
    if (chooserLoop_) return false;
    EditorState& state = editor().state;
    const unsigned colourBefore = state.defaultTransparentColour;
    const bool wasVisible = isVisible();

    hide();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    setWindowTitle(captionChooser());
    state.defaultTransparent = presetTransparent;
    updateTransparencyControls();
    panel3_->show();
    setWindowModality(Qt::ApplicationModal);

    QEventLoop loop;
    chooserLoop_ = &loop;
    chooserResult_ = false;
    show();
    raise();
    activateWindow();
    loop.exec(QEventLoop::DialogExec);
    chooserLoop_ = nullptr;

    hide();
    setWindowModality(Qt::NonModal);
    panel3_->hide();
    setWindowTitle(captionView());
    if (!chooserResult_) {
        // The caller sees its own preset again, whatever was toggled here.
        state.defaultTransparent = presetTransparent;
        state.defaultTransparentColour = colourBefore;
        updateTransparencyControls();
    }
    if (wasVisible) show();
    return chooserResult_ && !chosenImageFile_.isEmpty();
}

void Tchipview::finishChooser(bool ok) {
    if (!chooserLoop_) return;
    chooserResult_ = ok;
    chooserLoop_->quit();
}

void Tchipview::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (chooserLoop_)
            finishChooser(false);
        else
            hide();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void Tchipview::closeEvent(QCloseEvent* event) {
    if (chooserLoop_) {
        // Closing the chooser is a cancel; the chooser hides the window itself.
        finishChooser(false);
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void Tchipview::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    applyOptions();
    updateTransparencyControls();
}

void Tchipview::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
}

}  // namespace qrn
