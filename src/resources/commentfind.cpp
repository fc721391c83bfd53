#include "resources/commentfind.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

}  // namespace qrn
