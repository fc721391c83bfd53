#include "services/filenameenter.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/textconv.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/text.h"

namespace qrn {

Tfilenameenter::Tfilenameenter(QWidget* parent)
    : QDialog(parent),
      filenameedit_(new QLineEdit(this)),
      okbtn_(new QPushButton(QStringLiteral("OK(&Y)"), this)),
      cancelbtn_(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), this)) {
    setObjectName(QStringLiteral("filenameenter"));
    setProperty("helpContext", 35100);
    setWindowTitle(QStringLiteral("結合ﾌｧｲﾙ名を入力"));
    filenameedit_->setObjectName(QStringLiteral("filenameedit"));
    filenameedit_->setMaxLength(50);
    okbtn_->setObjectName(QStringLiteral("okbtn"));
    okbtn_->setDefault(true);
    cancelbtn_->setObjectName(QStringLiteral("cancelbtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbtn_);
    buttons->addWidget(cancelbtn_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filenameedit_);
    layout->addLayout(buttons);
    connect(okbtn_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);
    connect(filenameedit_, &QLineEdit::textChanged, this, &Tfilenameenter::filenameeditChange);
    filenameeditChange();
}

bool Tfilenameenter::acceptable(const QString& text) {
    const auto bytes = utf8ToCp932(text.toStdString());
    return bytes && validJoinName(*bytes);
}

void Tfilenameenter::filenameeditChange() { okbtn_->setEnabled(acceptable(filenameedit_->text())); }

QString Tfilenameenter::joinName() const {
    const auto bytes = utf8ToCp932(filenameedit_->text().toStdString());
    return bytes ? fromCp932(delext(*bytes)) : QString();
}

}  // namespace qrn
