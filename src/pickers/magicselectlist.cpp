#include "pickers/magicselectlist.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

#include "services/keycaption.h"
#include "services/editorcontext.h"
#include "services/textconv.h"
#include "pickers/pickertext.h"

namespace qrn {

int Tmagicselectlist::lastPage_ = 0;

Tmagicselectlist::Tmagicselectlist(QWidget* parent) : PickerDialog(parent, kMagicCount) {
    setObjectName(QStringLiteral("magicselectlist"));
    setFixedSize(546, 410);
    buildButtons(QStringLiteral("魔法を選択する"), QStringLiteral("選択済みの魔法"));
    send_->setObjectName(QStringLiteral("magicsend"));
    send_->setDefault(true);
    del_->setObjectName(QStringLiteral("magicdel"));
    ok_->setObjectName(QStringLiteral("magicok"));
    cancel_->setObjectName(QStringLiteral("magiccancel"));

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("magicpagecontrol"));
    // In the order of MagicKind.
    const char* const sheets[][2] = {{"移動", "movelist"}, {"ｽﾃｰﾀｽ", "heallist"}, {"単体", "singlelist"},
                                     {"全体", "alllist"}};
    for (const auto& s : sheets) pages_->addTab(addCandidateList(QString::fromLatin1(s[1]), pages_), QString::fromUtf8(s[0]));
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("mgmemo"));
    memo_->setReadOnly(true);
    memo_->setEnabled(false);

    auto* pageLabel = new KeyCaption(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), this, [this] { magicpagechangebtnClick(); });
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    auto* focusLabel = new KeyCaption(QStringLiteral("対象(&T)"), this, [this] {
        if (QWidget* w = pages_->currentWidget(); w && w->isEnabled()) w->setFocus();
    });
    focusLabel->setObjectName(QStringLiteral("focusLabel"));
    auto* chosenLabel = new QLabel(QStringLiteral("選択済み(&P)"), this);
    chosenLabel->setBuddy(sellist_);

    auto* g = new QGridLayout(this);
    g->addWidget(focusLabel, 0, 0);
    g->addWidget(pageLabel, 0, 1);
    g->addWidget(pages_, 1, 0, 4, 2);
    g->addWidget(send_, 1, 2);
    g->addWidget(del_, 2, 2);
    g->addWidget(chosenLabel, 0, 3);
    g->addWidget(sellist_, 1, 3, 4, 1);
    g->addWidget(memo_, 5, 0, 1, 4);
    g->addLayout(okCancelRow(), 6, 0, 1, 4);
    g->setRowStretch(4, 1);
}

void Tmagicselectlist::makemagiclist(const QString& caption, const std::vector<int>& chosen, int mode) {
    excluded_ = mode >= 1 ? magicsHeld(editor().scenario) : PickSet{};
    const bool viewOnly = mode == 2;
    pages_->setEnabled(!viewOnly);
    send_->setEnabled(!viewOnly);
    for (const char* name : {"pageLabel", "focusLabel"})
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(name))) l->setEnabled(!viewOnly);
    pages_->setCurrentIndex(std::clamp(lastPage_, 0, pages_->count() - 1));
    open(caption, chosen);
}

void Tmagicselectlist::magicpagechangebtnClick() {
    if (!pages_->isEnabled()) return;
    pages_->setCurrentIndex((pages_->currentIndex() + 1) % pages_->count());
}

std::vector<std::vector<int>> Tmagicselectlist::candidatePages() const {
    const auto pages = magicCandidates(editor().scenario, chosen_, excluded_);
    return {pages.begin(), pages.end()};
}

QString Tmagicselectlist::nameOf(int number) const { return fromCp932(editor().scenario.magic(number).name.view()); }

void Tmagicselectlist::showSummary(int number) { memo_->setPlainText(summaryText(magicSummary(editor().scenario, number))); }

int Tmagicselectlist::activeCandidatePage() const { return pages_->currentIndex(); }

void Tmagicselectlist::hideEvent(QHideEvent* event) {
    lastPage_ = pages_->currentIndex();
    PickerDialog::hideEvent(event);
}

}  // namespace qrn
