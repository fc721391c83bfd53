#include "resources/fileselectform.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/options.h"
#include "services/textconv.h"

namespace qrn {

namespace {
const QString kUnstorableHint = QStringLiteral("灰色のﾌｧｲﾙは名前にｼﾌﾄJISで表せない文字があるため選択できません");
}  // namespace

QStringList filesMatching(const QString& folder, const QString& mask) {
    if (folder.isEmpty()) return {};
    // Name filters of QDir match regardless of case unless asked otherwise.
    return QDir(folder).entryList({mask}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
}

Tfileselectform::Tfileselectform(const QString& caption, const QString& mask, const QString& folder, QWidget* parent)
    : QDialog(parent), mask_(mask), folder_(folder) {
    setObjectName(QStringLiteral("fileselectform"));
    setProperty("helpContext", 54000);
    setWindowTitle(caption);
    setFixedSize(198, 428);
    dirlabel_ = new QLabel(folder, this);
    dirlabel_->setObjectName(QStringLiteral("dirlabel"));
    dirlabel_->setWordWrap(true);
    filelistbox_ = new QListWidget(this);
    filelistbox_->setObjectName(QStringLiteral("filelistbox"));
    bool refused = false;
    for (const QString& file : filesMatching(folder, mask)) {
        auto* item = new QListWidgetItem(file, filelistbox_);
        if (fitsCp932(file)) continue;
        // The scenario stores names in cp932: this one would be stored with
        // "?" in its place and its file never found again.
        item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        item->setToolTip(kUnstorableHint);
        refused = true;
    }
    auto* hint = new QLabel(kUnstorableHint, this);
    hint->setObjectName(QStringLiteral("unstorablehint"));
    hint->setWordWrap(true);
    hint->setVisible(refused);
    fileedit_ = new QLineEdit(this);
    fileedit_->setObjectName(QStringLiteral("fileedit"));
    fileedit_->setReadOnly(true);
    auto* play = new QPushButton(QStringLiteral("(&P)"), this);
    play->setObjectName(QStringLiteral("playbtn"));
    play->setToolTip(QStringLiteral("試聴"));
    auto* ok = new QPushButton(QStringLiteral("OK(&Y)"), this);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), this);
    for (QPushButton* b : {play, ok, cancel}) b->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dirlabel_);
    layout->addWidget(filelistbox_, 1);
    layout->addWidget(hint);
    layout->addWidget(fileedit_);
    auto* row = new QHBoxLayout;
    row->addWidget(play);
    row->addStretch(1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(filelistbox_, &QListWidget::currentTextChanged, fileedit_, &QLineEdit::setText);
    connect(filelistbox_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(play, &QPushButton::clicked, this, &Tfileselectform::preview);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString Tfileselectform::selectedFile() const {
    const QListWidgetItem* item = filelistbox_->currentItem();
    return item && item->isSelected() && fitsCp932(item->text()) ? item->text() : QString();
}

void Tfileselectform::preview() {
    const QString file = selectedFile();
    MediaService* media = editor().media;
    if (file.isEmpty() || !media) return;
    if (mask_.compare(QStringLiteral("*.MID"), Qt::CaseInsensitive) == 0)
        media->mediaplay(folder_ + file, false);
    else
        media->soundplay(folder_ + file);
}

void Tfileselectform::hideEvent(QHideEvent* event) {
    if (MediaService* media = editor().media) media->mediastop();
    QDialog::hideEvent(event);
}

QString Tfileselectform::selectFile(QWidget* parent, const QString& caption, const QString& mask) {
    const EditorContext& ed = editor();
    const QString folder = ed.options ? ed.options->serchpath : QString();
    Tfileselectform form(caption, mask, folder, parent);
    if (form.exec() != QDialog::Accepted) return {};
    return form.selectedFile();
}

}  // namespace qrn
