#include "pickers/eventlist.h"

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
#include "scenario/tablenames.h"

namespace qrn {

namespace {

// Two columns of ten labels under their headings.
QWidget* labelSheet(QTabWidget* parent, const char* name, const char* caption, const char* leftHead,
                    const char* rightHead, std::array<QLabel*, 10>& left, std::array<QLabel*, 10>& right,
                    const char* leftName, const char* rightName) {
    auto* sheet = new QWidget(parent);
    sheet->setObjectName(QString::fromLatin1(name));
    auto* g = new QGridLayout(sheet);
    g->setVerticalSpacing(0);
    g->addWidget(new QLabel(QString::fromUtf8(leftHead), sheet), 0, 0);
    g->addWidget(new QLabel(QString::fromUtf8(rightHead), sheet), 0, 1);
    for (int i = 0; i < 10; ++i) {
        left[static_cast<std::size_t>(i)] = new QLabel(sheet);
        left[static_cast<std::size_t>(i)]->setObjectName(QString::fromLatin1(leftName) + QString::number(i + 1));
        right[static_cast<std::size_t>(i)] = new QLabel(sheet);
        right[static_cast<std::size_t>(i)]->setObjectName(QString::fromLatin1(rightName) + QString::number(i + 1));
        g->addWidget(left[static_cast<std::size_t>(i)], i + 1, 0);
        g->addWidget(right[static_cast<std::size_t>(i)], i + 1, 1);
    }
    parent->addTab(sheet, QString::fromUtf8(caption));
    return sheet;
}

// An empty slot shows nothing; a number outside the table (a damaged file) shows "-".
QString itemName(int n) {
    if (n == 0) return QString();
    return fromCp932(nameOrNone(editor().scenario, NamedTable::Item, n));
}
QString eventName(int n) {
    if (n == 0) return QString();
    return fromCp932(nameOrNone(editor().scenario, NamedTable::Event, n));
}

}  // namespace

Teventlist::Teventlist(QWidget* parent) : PickerDialog(parent, kEventCount) {
    setObjectName(QStringLiteral("eventlist"));
    setFixedSize(528, 417);
    buildButtons(QStringLiteral("ｲﾍﾞﾝﾄを選択する"), QStringLiteral("選択済みのｲﾍﾞﾝﾄ"));
    send_->setObjectName(QStringLiteral("eventsend"));
    del_->setObjectName(QStringLiteral("eventdel"));
    ok_->setObjectName(QStringLiteral("eventok"));
    ok_->setDefault(true);
    cancel_->setObjectName(QStringLiteral("eventcancel"));
    QListWidget* evlist = addCandidateList(QStringLiteral("evlist"), this);

    info_ = new QTabWidget(this);
    info_->setObjectName(QStringLiteral("eventcontrol"));
    memo_ = new QPlainTextEdit(info_);
    memo_->setObjectName(QStringLiteral("evmemo"));
    memo_->setReadOnly(true);
    memo_->setProperty("sheet", QStringLiteral("eventsheet1"));
    info_->addTab(memo_, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"));
    labelSheet(info_, "eventsheet2", "ｱｲﾃﾑ", "獲得ｱｲﾃﾑ", "消失ｱｲﾃﾑ", getItem_, putItem_, "evgetitem", "evputitem");
    labelSheet(info_, "eventsheet3", "発生条件", "ｱｲﾃﾑ", "ｲﾍﾞﾝﾄ", showItem_, showEvent_, "evshowitem", "evshowevent");
    before_ = new PictureBox(QStringLiteral("eventlistpic1"), this);
    before_->setToolTip(QStringLiteral("発生前のｲﾒｰｼﾞ"));
    after_ = new PictureBox(QStringLiteral("eventlistpic2"), this);
    after_->setToolTip(QStringLiteral("発生後のｲﾒｰｼﾞ"));

    auto* pageLabel = new KeyCaption(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), this, [this] { eventlistpagechangebtnClick(); });
    auto* listLabel = new QLabel(QStringLiteral("対象(&T)"), this);
    listLabel->setBuddy(evlist);
    auto* chosenLabel = new QLabel(QStringLiteral("選択済み(&P)"), this);
    chosenLabel->setBuddy(sellist_);

    auto* g = new QGridLayout(this);
    g->addWidget(listLabel, 0, 0);
    g->addWidget(evlist, 1, 0, 3, 1);
    g->addWidget(send_, 1, 1);
    g->addWidget(del_, 2, 1);
    g->addWidget(chosenLabel, 0, 2);
    g->addWidget(sellist_, 1, 2, 3, 1);
    g->addWidget(before_, 4, 1);
    g->addWidget(after_, 5, 1);
    g->addWidget(pageLabel, 4, 0);
    g->addWidget(info_, 5, 0, 2, 1);
    g->addLayout(okCancelRow(), 7, 0, 1, 3);
    g->setRowStretch(3, 1);
}

void Teventlist::makeeventlist(const QString& caption, const std::vector<int>& chosen) {
    info_->setCurrentIndex(0);
    open(caption, chosen);
}

void Teventlist::eventlistpagechangebtnClick() { info_->setCurrentIndex((info_->currentIndex() + 1) % info_->count()); }

std::vector<std::vector<int>> Teventlist::candidatePages() const {
    return {eventCandidates(editor().scenario, chosen_)};
}

QString Teventlist::nameOf(int number) const { return eventName(number); }

void Teventlist::showSummary(int number) {
    EditorContext& ctx = editor();
    memo_->setPlainText(summaryText(eventSummary(ctx.scenario, number)));
    before_->setIndex(pictureIndex(ctx.side.pictures, kEvent, number));
    after_->setIndex(number >= 1 && number <= kEventCount ? ctx.side.pictures.event[kEventCount + number] : 0);
    for (int i = 0; i < 10; ++i) {
        const auto s = static_cast<std::size_t>(i);
        const bool any = number >= 1 && number <= kEventCount;
        const EventDef* e = any ? &ctx.scenario.event(number) : nullptr;
        getItem_[s]->setText(e ? itemName(e->evgetitem[s]) : QString());
        putItem_[s]->setText(e ? itemName(e->evputitem[s]) : QString());
        showItem_[s]->setText(e ? itemName(e->evshowitem[s]) : QString());
        showEvent_[s]->setText(e ? eventName(e->evshowevent[s]) : QString());
    }
}

}  // namespace qrn
