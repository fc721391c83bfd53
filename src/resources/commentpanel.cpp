#include "resources/commentpanel.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>

#include "services/editorcontext.h"
#include "services/options.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "resources/commentfind.h"
#include "resources/commenttextedit.h"
#include "scenario/commenttext.h"
#include "scenario/text.h"

namespace qrn {

namespace {

constexpr int kPerPage = 100;

}  // namespace

CommentPanel::CommentPanel(QWidget* parent) : ResPanel(ResKind::Comment, QStringLiteral("comment"), parent) {
    commentControl_ = new QTabWidget(this);
    commentControl_->setObjectName(QStringLiteral("commentControl"));
    static const char* const kPages[5] = {"1～100", "101～200", "201～300", "301～400", "401～500"};
    for (int p = 0; p < 5; ++p) {
        QListWidget* list = p == 0 ? ResPanel::list() : new QListWidget;
        list->setObjectName(QStringLiteral("commentlist%1").arg(p + 1));
        if (p > 0) wireList(list, p * kPerPage + 1);
        commentControl_->addTab(list, QString::fromUtf8(kPages[p]));
        lists_[static_cast<std::size_t>(p)] = list;
    }
    connect(commentControl_, &QTabWidget::currentChanged, this, &CommentPanel::pageChanged);

    commentview_ = new CommentTextEdit(this);
    commentview_->setObjectName(QStringLiteral("commentview"));
    commentview_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(commentview_, &QPlainTextEdit::textChanged, this, &CommentPanel::textEdited);
    connect(commentview_, &CommentTextEdit::keyHandled, this, &CommentPanel::refreshState);
    richstate_ = new QLabel(this);
    richstate_->setObjectName(QStringLiteral("richstate"));
    richstate_->setAlignment(Qt::AlignCenter);
    richstate_->setFrameShape(QFrame::Panel);
    richstate_->setFrameShadow(QFrame::Sunken);

    cmtoolpanel_ = new QToolBar(this);
    cmtoolpanel_->setObjectName(QStringLiteral("cmtoolpanel"));
    cmtoolpanel_->setIconSize(QSize(16, 16));
    cmpagechange_ = new QPushButton(QStringLiteral("(&W)"), this);
    cmpagechange_->setObjectName(QStringLiteral("cmpagechange"));
    cmpagechange_->setToolTip(QStringLiteral("次のページ"));
    focuschanged_ = new QPushButton(QStringLiteral("(&S)"), this);
    focuschanged_->setObjectName(QStringLiteral("focuschanged"));
    focuschanged_->setToolTip(QStringLiteral("リストとテキストの切り替え"));
    commentviewbigbtn_ = new QPushButton(QStringLiteral("(&B)"), this);
    commentviewbigbtn_->setObjectName(QStringLiteral("commentviewbigbtn"));
    commentviewbigbtn_->setToolTip(QStringLiteral("拡大／縮小"));
    for (QPushButton* b : {cmpagechange_, focuschanged_, commentviewbigbtn_}) b->setAutoDefault(false);
    connect(cmpagechange_, &QPushButton::clicked, this, &CommentPanel::nextPage);
    connect(focuschanged_, &QPushButton::clicked, this, &CommentPanel::switchFocus);
    connect(commentviewbigbtn_, &QPushButton::clicked, this, &CommentPanel::toggleLargeMode);

    buildCommands();
    layoutControls();
    refreshState();
}

// ---- commands -------------------------------------------------------------------

void CommentPanel::buildCommands() {
    struct Def {
        const char* name;
        const char* caption;
        const char* keys;
        std::function<void()> run;
    };
    CommentTextEdit* t = commentview_;
    const Def defs[] = {
        {"undomenu", "元に戻す(&U)", "Ctrl+Z", [t] { t->undo(); }},
        {"cutmenu", "切り取り(&T)", "Ctrl+X", [t] { t->cut(); }},
        {"copymenu", "コピー(&C)", "Ctrl+C", [t] { t->copy(); }},
        {"pastemenu", "貼り付け(&P)", "Ctrl+V", [t] { t->paste(); }},
        {"deletemenu", "削除(&D)", "Ctrl+Del", [t] { t->textCursor().removeSelectedText(); }},
        {"selectallmenu", "全て選択(&L)", "", [t] { t->selectAll(); }},
        {"findmenu", "検索(&F)", "Ctrl+F", [this] { openFinder(CommentFindDialog::Find); }},
        {"wholefindmenu", "全体検索(&A)", "Ctrl+A", [this] { openFinder(CommentFindDialog::WholeSearch); }},
        {"replacemenu", "置換(&R)", "Ctrl+R", [this] { openFinder(CommentFindDialog::Replace); }},
        {"bigmenu", "拡大／縮小(&B)", "", [this] { toggleLargeMode(); }},
        {"toolbarmenu", "ﾂｰﾙﾊﾞｰ表示(&W)", "", [this] { toggleToolBar(); }},
    };
    popup_ = new QMenu(this);
    for (const Def& d : defs) {
        auto* a = new QAction(QString::fromUtf8(d.caption), this);
        // A property, not the object name: the main window takes every named
        // action below it for one of its own commands.
        a->setProperty("command", QString::fromLatin1(d.name));
        if (*d.keys) a->setShortcut(QKeySequence(QString::fromLatin1(d.keys)));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, d.run);
        addAction(a);  // the keys work wherever the focus is in the panel
        commands_ << a;
        popup_->addAction(a);
        if (QString::fromLatin1(d.name) == QLatin1String("toolbarmenu")) {
            a->setCheckable(true);
            a->setChecked(true);
            toolBarAct_ = a;
        } else {
            cmtoolpanel_->addAction(a);
        }
        if (QString::fromLatin1(d.name) == QLatin1String("selectallmenu") ||
            QString::fromLatin1(d.name) == QLatin1String("replacemenu"))
            popup_->addSeparator();
    }
    connect(commentview_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(commentview_->mapToGlobal(at)); });
}

void CommentPanel::buildMenu(QMenuBar* bar) {
    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("editmenu"));
    for (QAction* a : commands_) {
        edit->addAction(a);
        const QString name = a->property("command").toString();
        if (name == QLatin1String("selectallmenu") || name == QLatin1String("replacemenu"))
            edit->addSeparator();
    }
}

CommentFindDialog* CommentPanel::findDialog() const { return finder_; }

QAction* CommentPanel::command(const QString& name) const {
    for (QAction* a : commands_)
        if (a->property("command").toString() == name) return a;
    return nullptr;
}

// ---- layout ---------------------------------------------------------------------

// The tool bar across the top; the name, the pages of comments and the
// buttons on the left; the text on the right. In large-text mode the text
// takes the width of the window above the buttons.
void CommentPanel::layoutControls() {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (!grid) {
        grid = new QGridLayout(this);
        grid->setContentsMargins(4, 0, 4, 4);
        grid->setSpacing(4);
        grid->addWidget(cmtoolpanel_, 0, 0, 1, 2);
        grid->addWidget(nameBox(), 1, 0);
        grid->addWidget(commentControl_, 2, 0);
        auto* buttons = new QHBoxLayout;
        for (QWidget* b : {resetButton(), deleteButton(), okButton()}) buttons->addWidget(b);
        buttons->addStretch(1);
        grid->addLayout(buttons, 3, 0);
        auto* keys = new QHBoxLayout;
        for (QWidget* b : {static_cast<QWidget*>(cmpagechange_), static_cast<QWidget*>(focuschanged_),
                           static_cast<QWidget*>(commentviewbigbtn_)})
            keys->addWidget(b);
        keys->addWidget(richstate_, 1);
        grid->addLayout(keys, 4, 0);
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(2, 1);
        commentControl_->setMinimumSize(216, 300);
        commentview_->setMinimumSize(385, 300);
    }
    nameBox()->setVisible(!large_);
    resetButton()->setVisible(!large_);
    commentControl_->setVisible(!large_);
    grid->removeWidget(commentview_);
    if (large_) grid->addWidget(commentview_, 1, 0, 2, 2);
    else grid->addWidget(commentview_, 1, 1, 4, 1);
    grid->activate();
}

void CommentPanel::toggleLargeMode() {
    large_ = !large_;
    layoutControls();
    fillName();
}

void CommentPanel::toggleToolBar() {
    cmtoolpanel_->setVisible(!cmtoolpanel_->isVisible());
    toolBarAct_->setChecked(!cmtoolpanel_->isHidden());
}

void CommentPanel::nextPage() { commentControl_->setCurrentIndex((commentControl_->currentIndex() + 1) % 5); }

void CommentPanel::switchFocus() {
    if (commentview_->hasFocus())
        lists_[static_cast<std::size_t>(commentControl_->currentIndex())]->setFocus();
    else
        commentview_->setFocus();
}

void CommentPanel::refreshState() {
    richstate_->setText(commentview_->overwriteMode() ? QStringLiteral("上書") : QStringLiteral("挿入"));
}

// ---- lists ----------------------------------------------------------------------

void CommentPanel::makeList() {
    quiet_ = true;
    for (int p = 0; p < 5; ++p) {
        QListWidget* list = lists_[static_cast<std::size_t>(p)];
        list->clear();
        for (int n = p * kPerPage + 1; n <= (p + 1) * kPerPage; ++n) list->addItem(lineText(n));
    }
    quiet_ = false;
}

void CommentPanel::rewriteLine(int number) {
    if (number < 1 || number > kCommentCount) return;
    if (QListWidgetItem* item = lists_[static_cast<std::size_t>((number - 1) / kPerPage)]->item((number - 1) % kPerPage))
        item->setText(lineText(number));
}

bool CommentPanel::lineSelected() const {
    return current() >= 1 && lists_[static_cast<std::size_t>(commentControl_->currentIndex())]->currentRow() >= 0;
}

void CommentPanel::showCurrent() {
    if (current() < 1 || current() > kCommentCount) setCurrent(1);
    const int page = (current() - 1) / kPerPage;
    quiet_ = true;
    commentControl_->setCurrentIndex(page);
    quiet_ = false;
    selectRow(lists_[static_cast<std::size_t>(page)], (current() - 1) % kPerPage);
    fillName();
    showDetails();
}

void CommentPanel::pageChanged(int page) {
    if (quiet_ || page < 0) return;
    QListWidget* list = lists_[static_cast<std::size_t>(page)];
    const int row = list->currentRow() >= 0 ? list->currentRow() : 0;
    setCurrent(page * kPerPage + row + 1);
    selectRow(list, row);
    if (!large_) list->setFocus();
    // Hidden or not, the name box follows the current comment: typing into it
    // renames that one.
    fillName();
    showDetails();
}

void CommentPanel::showDetails() {
    const bool was = quiet_;
    quiet_ = true;
    const int n = current();
    commentview_->setPlainText(n >= 1 && n <= kCommentCount ? toShownComment(commentText(editor().scenario.comment(n)))
                                                            : QString());
    quiet_ = was;
}

void CommentPanel::textEdited() {
    const int n = current();
    if (quiet_ || n < 1 || n > kCommentCount) return;
    if (setCommentText(editor().scenario.comment(n), toStoredComment(commentview_->toPlainText()))) return;
    // Only an edit the box could not foresee gets here; the text goes back to
    // what is stored rather than show what cannot be kept.
    showDetails();
}

void CommentPanel::panelHiding() {
    if (finder_) finder_->close();
}

}  // namespace qrn
