#include "pickers/itemlist.h"

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
#include "pickers/picturebox.h"
#include "scenario/maplayers.h"

namespace qrn {

int Titemlist::lastPage_ = 0;

Titemlist::Titemlist(QWidget* parent) : PickerDialog(parent, kItemCount) {
    setObjectName(QStringLiteral("itemlist"));
    setFixedSize(561, 407);
    buildButtons(QStringLiteral("ｱｲﾃﾑを選択する"), QStringLiteral("選択済みのｱｲﾃﾑ"));
    send_->setObjectName(QStringLiteral("itemsend"));
    send_->setDefault(true);
    del_->setObjectName(QStringLiteral("itemdel"));
    ok_->setObjectName(QStringLiteral("itemok"));
    cancel_->setObjectName(QStringLiteral("itemcancel"));

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("itempagecontrol"));
    const char* const sheets[][3] = {{"weaponsheet", "武器", "weaponlist"}, {"shieldsheet", "盾", "shieldlist"},
                                     {"armorsheet", "鎧", "armorlist"},     {"helmsheet", "兜", "helmlist"},
                                     {"magicsheet", "その他", "magiclist"}, {"othersheet", "一般", "otherlist"}};
    for (const auto& s : sheets) {
        QListWidget* list = addCandidateList(QString::fromLatin1(s[2]), pages_);
        pages_->addTab(list, QString::fromUtf8(s[1]));
        pages_->widget(pages_->count() - 1)->setProperty("sheet", QString::fromLatin1(s[0]));
    }
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("itmemo"));
    // Read-only in the normal text colour: the summary is there to be read.
    memo_->setReadOnly(true);
    memo_->setFocusPolicy(Qt::NoFocus);
    picture_ = new PictureBox(QStringLiteral("itemlistpic"), this);
    picture_->setToolTip(QStringLiteral("ｲﾒｰｼﾞ"));

    auto* pageLabel = new KeyCaption(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), this, [this] { itempagechangebtnClick(); });
    auto* focusLabel = new KeyCaption(QStringLiteral("対象(&T)"), this, [this] {
        if (QWidget* w = pages_->currentWidget(); w && w->isEnabled()) w->setFocus();
    });
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
    g->addWidget(picture_, 5, 0);
    g->addWidget(memo_, 5, 1, 1, 3);
    g->addLayout(okCancelRow(), 6, 0, 1, 4);
    g->setRowStretch(4, 1);
}

void Titemlist::makeitemlist(const QString& caption, const std::vector<int>& chosen, int kindMode) {
    if (kindMode >= 0 && kindMode < 5) {
        for (int p = 0; p < pages_->count(); ++p) pages_->setTabVisible(p, p == kindMode);
        pages_->setCurrentIndex(kindMode);
    } else {
        for (int p = 0; p < pages_->count(); ++p) pages_->setTabVisible(p, true);
        pages_->setCurrentIndex(std::clamp(lastPage_, 0, pages_->count() - 1));
    }
    open(caption, chosen);
}

void Titemlist::itempagechangebtnClick() {
    for (int step = 1; step <= pages_->count(); ++step) {
        const int next = (pages_->currentIndex() + step) % pages_->count();
        if (pages_->isTabVisible(next)) {
            pages_->setCurrentIndex(next);
            return;
        }
    }
}

std::vector<std::vector<int>> Titemlist::candidatePages() const {
    const auto pages = itemCandidates(editor().scenario, chosen_);
    return {pages.begin(), pages.end()};
}

QString Titemlist::nameOf(int number) const { return fromCp932(editor().scenario.item(number).name.view()); }

void Titemlist::showSummary(int number) {
    memo_->setPlainText(summaryText(itemSummary(editor().scenario, number)));
    picture_->setIndex(pictureIndex(editor().side.pictures, kItem, number));
}

int Titemlist::activeCandidatePage() const { return pages_->currentIndex(); }

void Titemlist::hideEvent(QHideEvent* event) {
    lastPage_ = pages_->currentIndex();
    PickerDialog::hideEvent(event);
}

}  // namespace qrn
