#include "services/filenameenter.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/options.h"
#include "services/textconv.h"
#include "services/userfolders.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/text.h"

namespace qrn {

namespace {

const QString kFolderTitle = QStringLiteral("結合ﾌｧｲﾙ出力ﾌｫﾙﾀﾞ");

QString shownFolder(const QString& folder) {
    return folder.size() > 1 && folder.endsWith(u'/') ? folder.chopped(1) : folder;
}

}  // namespace

Tfilenameenter::Tfilenameenter(QWidget* parent)
    : QDialog(parent),
      filenameedit_(new QLineEdit(this)),
      folderlabel_(new QLabel(this)),
      folderproblem_(new QLabel(this)),
      folderbtn_(new QPushButton(QStringLiteral("参照(&S)..."), this)),
      okbtn_(new QPushButton(QStringLiteral("OK(&Y)"), this)),
      cancelbtn_(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), this)) {
    setObjectName(QStringLiteral("filenameenter"));
    setProperty("helpContext", 35100);
    setWindowTitle(QStringLiteral("結合ﾌｧｲﾙ名を入力"));
    chooseFolder = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, title, start);
    };
    filenameedit_->setObjectName(QStringLiteral("filenameedit"));
    filenameedit_->setMaxLength(50);
    folderlabel_->setObjectName(QStringLiteral("folderlabel"));
    folderlabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderlabel_->setWordWrap(true);
    folderlabel_->setMinimumWidth(320);
    folderproblem_->setObjectName(QStringLiteral("folderproblem"));
    folderproblem_->setWordWrap(true);
    folderproblem_->setText(QStringLiteral("このフォルダには書き込めません。「参照」で別のフォルダを選んで下さい。"));
    folderproblem_->hide();
    folderbtn_->setObjectName(QStringLiteral("folderbtn"));
    folderbtn_->setToolTip(QStringLiteral("環境設定の結合ﾌｧｲﾙ出力ﾌｫﾙﾀﾞを変更します"));
    okbtn_->setObjectName(QStringLiteral("okbtn"));
    okbtn_->setDefault(true);
    cancelbtn_->setObjectName(QStringLiteral("cancelbtn"));

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderlabel_, 1);
    folderRow->addWidget(folderbtn_, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbtn_);
    buttons->addWidget(cancelbtn_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filenameedit_);
    layout->addWidget(new QLabel(QStringLiteral("出力先:"), this));
    layout->addLayout(folderRow);
    layout->addWidget(folderproblem_);
    layout->addLayout(buttons);
    connect(okbtn_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);
    connect(folderbtn_, &QPushButton::clicked, this, &Tfilenameenter::folderbtnClick);
    connect(filenameedit_, &QLineEdit::textChanged, this, &Tfilenameenter::filenameeditChange);
    const Options* options = editor().options;
    setOutputFolder(options ? options->compiledfileout : defaultJoinFolder());
}

bool Tfilenameenter::acceptable(const QString& text) {
    const auto bytes = utf8ToCp932(text.toStdString());
    return bytes && validJoinName(*bytes);
}

void Tfilenameenter::setOutputFolder(const QString& folder) {
    folder_ = withTrailingSlash(folder);
    folderlabel_->setText(shownFolder(folder_));
    filenameeditChange();
}

void Tfilenameenter::folderbtnClick() {
    const QString chosen = chooseFolder(this, kFolderTitle, shownFolder(folder_));
    if (!chosen.isEmpty()) setOutputFolder(chosen);
}

void Tfilenameenter::filenameeditChange() {
    // Checked before anything is written: a folder the join cannot write
    // into is refused here, not part-way through the join.
    const bool folderOk = joinFolderUsable(folder_);
    folderproblem_->setVisible(!folderOk);
    okbtn_->setEnabled(folderOk && acceptable(filenameedit_->text()));
}

QString Tfilenameenter::joinName() const {
    const auto bytes = utf8ToCp932(filenameedit_->text().toStdString());
    return bytes ? fromCp932(delext(*bytes)) : QString();
}

}  // namespace qrn
