#include "resources/commentfind.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QApplication>
#include <QPushButton>
#include <QTextCursor>

#include "services/editorcontext.h"
#include "services/options.h"
#include "resources/commentpanel.h"
#include "resources/commenttextedit.h"
#include "scenario/commenttext.h"
#include "scenario/text.h"

namespace qrn {

CommentFindDialog::CommentFindDialog(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode) {
    setObjectName(mode == Replace ? QStringLiteral("replacedialog") : QStringLiteral("finddialog"));
    setWindowTitle(mode == Replace ? QStringLiteral("置換") : mode == WholeSearch ? QStringLiteral("全体検索")
                                                                                   : QStringLiteral("検索"));
    setModal(false);
    auto* grid = new QGridLayout(this);
    find_ = new QLineEdit(this);
    find_->setObjectName(QStringLiteral("findtext"));
    auto* findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    findLabel->setBuddy(find_);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(find_, 0, 1);
    int row = 1;
    if (mode == Replace) {
        replace_ = new QLineEdit(this);
        replace_->setObjectName(QStringLiteral("replacetext"));
        auto* replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"), this);
        replaceLabel->setBuddy(replace_);
        grid->addWidget(replaceLabel, row, 0);
        grid->addWidget(replace_, row++, 1);
    }
    wholeWord_ = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
    matchCase_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    grid->addWidget(wholeWord_, row++, 0, 1, 2);
    grid->addWidget(matchCase_, row++, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    auto* next = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    next->setObjectName(QStringLiteral("findnextbtn"));
    next->setDefault(true);
    buttons->addWidget(next);
    connect(next, &QPushButton::clicked, this, &CommentFindDialog::findNext);
    if (mode == Replace) {
        auto* one = new QPushButton(QStringLiteral("置換して次に(&R)"), this);
        auto* all = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
        one->setAutoDefault(false);
        all->setAutoDefault(false);
        buttons->addWidget(one);
        buttons->addWidget(all);
        connect(one, &QPushButton::clicked, this, &CommentFindDialog::replaceOne);
        connect(all, &QPushButton::clicked, this, &CommentFindDialog::replaceAll);
    }
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, row, 1);
}

QString CommentFindDialog::findText() const { return find_->text(); }
QString CommentFindDialog::replaceText() const { return replace_ ? replace_->text() : QString(); }
bool CommentFindDialog::matchCase() const { return matchCase_->isChecked(); }
bool CommentFindDialog::wholeWord() const { return wholeWord_->isChecked(); }
void CommentFindDialog::setFindText(const QString& text) { find_->setText(text); }
void CommentFindDialog::setChoices(bool matchCase, bool wholeWord) {
    matchCase_->setChecked(matchCase);
    wholeWord_->setChecked(wholeWord);
}

// ---- the comment panel's find and replace ----------------------------------------

namespace {
const QString kNothingMore = QStringLiteral("文字列はもうありません。");
}  // namespace

void CommentPanel::openFinder(int mode) {
    QString text;
    bool matchCase = false, wholeWord = false;
    if (finder_) {
        text = finder_->findText();
        matchCase = finder_->matchCase();
        wholeWord = finder_->wholeWord();
        if (finder_->mode() != mode) finder_->deleteLater();
    }
    if (!finder_ || finder_->mode() != mode) {
        finder_ = new CommentFindDialog(static_cast<CommentFindDialog::Mode>(mode), this);
        finder_->setAttribute(Qt::WA_DeleteOnClose);
        finder_->setFindText(text);
        finder_->setChoices(matchCase, wholeWord);
        CommentFindDialog* d = finder_;
        connect(d, &CommentFindDialog::findNext, this, [this, d] {
            if (d->mode() == CommentFindDialog::WholeSearch)
                wholeSearchNext(d->findText(), d->matchCase(), d->wholeWord());
            else
                findNext(d->findText(), d->matchCase(), d->wholeWord());
        });
        connect(d, &CommentFindDialog::replaceOne, this,
                [this, d] { replaceOne(d->findText(), d->replaceText(), d->matchCase(), d->wholeWord()); });
        connect(d, &CommentFindDialog::replaceAll, this,
                [this, d] { replaceAll(d->findText(), d->replaceText(), d->matchCase(), d->wholeWord()); });
    }
    const QString selected = commentview_->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) finder_->setFindText(selected);
    finder_->show();
    finder_->raise();
    finder_->activateWindow();
}

void CommentPanel::nothingMore() {
    if (MessageService* m = editor().messages) m->information(this, kNothingMore);
}

void CommentPanel::selectBytes(std::size_t offset, std::size_t length) {
    const std::string stored = commentText(editor().scenario.comment(current()));
    QTextCursor c = commentview_->textCursor();
    c.setPosition(commentview_->positionOf(stored, offset));
    c.setPosition(commentview_->positionOf(stored, offset + length), QTextCursor::KeepAnchor);
    commentview_->setTextCursor(c);
    commentview_->ensureCursorVisible();
}

bool CommentPanel::findNext(const QString& text, bool matchCase, bool wholeWord) {
    const auto needle = utf8ToCp932(text.toStdString());
    const int n = current();
    if (!needle || needle->empty() || n < 1 || n > kCommentCount) return false;
    const TextFinder finder(*needle, matchCase, wholeWord);
    const std::size_t hit =
        finder.find(commentText(editor().scenario.comment(n)), commentview_->byteOffsetOf(commentview_->textCursor().position()));
    if (hit == std::string::npos) {
        nothingMore();
        return false;
    }
    selectBytes(hit, finder.length());
    return true;
}

bool CommentPanel::replaceOne(const QString& text, const QString& replacement, bool matchCase, bool wholeWord) {
    const auto needle = utf8ToCp932(text.toStdString());
    const auto with = utf8ToCp932(replacement.toStdString());
    const int n = current();
    if (!needle || needle->empty() || !with || n < 1 || n > kCommentCount) return false;
    const TextFinder finder(*needle, matchCase, wholeWord);
    QTextCursor c = commentview_->textCursor();
    if (c.hasSelection() && finder.sameAs(toStoredComment(c.selectedText()))) {
        const std::string stored = commentText(editor().scenario.comment(n));
        const std::size_t from = commentview_->byteOffsetOf(c.selectionStart());
        if (!replaceRange(stored, from, finder.length(), *with)) {
            QApplication::beep();  // the comment is full
            return false;
        }
        c.insertText(replacement);
        commentview_->setTextCursor(c);
    }
    return findNext(text, matchCase, wholeWord);
}

int CommentPanel::replaceAll(const QString& text, const QString& replacement, bool matchCase, bool wholeWord) {
    const auto needle = utf8ToCp932(text.toStdString());
    const auto with = utf8ToCp932(replacement.toStdString());
    const int n = current();
    if (!needle || needle->empty() || !with || n < 1 || n > kCommentCount) return 0;
    const Options* o = editor().options;
    MessageService* m = editor().messages;
    if ((!o || o->tellmsg) && m && !m->confirm(this, QStringLiteral("コメントを全て置換します。よろしいですか？")))
        return 0;
    const ReplaceAllResult r =
        replaceAllText(commentText(editor().scenario.comment(n)), TextFinder(*needle, matchCase, wholeWord), *with);
    if (r.replaced == 0) {
        nothingMore();
        return 0;
    }
    // One edit, so that one undo takes it back.
    QTextCursor c = commentview_->textCursor();
    c.select(QTextCursor::Document);
    c.insertText(toShownComment(r.text));
    return r.replaced;
}

bool CommentPanel::wholeSearchNext(const QString& text, bool matchCase, bool wholeWord) {
    const auto needle = utf8ToCp932(text.toStdString());
    if (!needle || needle->empty()) return false;
    const TextFinder finder(*needle, matchCase, wholeWord);
    const QTextCursor c = commentview_->textCursor();
    const bool onMatch = c.hasSelection() && finder.sameAs(toStoredComment(c.selectedText()));
    const std::size_t from = commentview_->byteOffsetOf(onMatch ? c.selectionEnd() : c.position());
    const auto hit = wholeSearch(editor().scenario, finder, current(), from);
    if (!hit) {
        nothingMore();
        return false;
    }
    if (hit->comment != current()) {
        setCurrent(hit->comment);
        showCurrent();
    }
    selectBytes(hit->offset, hit->length);
    commentview_->setFocus();
    return true;
}

}  // namespace qrn
