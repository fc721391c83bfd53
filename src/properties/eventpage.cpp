#include "properties/eventpage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "services/editorcontext.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/pagehelpers.h"
#include "properties/pagerows.h"
#include "properties/paramedit.h"
#include "scenario/eventrules.h"
#include "scenario/maplayers.h"

namespace qrn {

namespace {

QCheckBox* addFlagBox(QGridLayout* g, int& row, const char* name, const char* caption, int tag) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), g->parentWidget());
    box->setObjectName(QString::fromLatin1(name));
    box->setProperty("tag", tag);
    g->addWidget(box, row++, 0, 1, 4);
    return box;
}

QListWidget* slotList(QGridLayout* g, int& row, const char* name) {
    auto* l = new QListWidget(g->parentWidget());
    l->setObjectName(QString::fromLatin1(name));
    l->setFixedHeight(58);
    g->addWidget(l, row++, 0, 1, 4);
    return l;
}

void openAll(const QList<QWidget*>& widgets, bool on) {
    for (QWidget* w : widgets) w->setEnabled(on);
}

}  // namespace

EventPage::EventPage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("eventpanel"));
    int row = 0;

    // 一般
    QWidget* s1 = addSheet(this, "eventsheet1", "一般", 128000);
    QGridLayout* g1 = sheetGrid(s1);
    eventname_ = addNameRows(g1, row, "eventname", QStringLiteral("ｲﾍﾞﾝﾄ名(&N)"));
    const PageRow before = addPageRow(g1, row, "evfilename", QStringLiteral("発生前ｲﾒｰｼﾞ  (&I)"), RowExtra::Picture, false);
    before.set->setToolTip(QStringLiteral("ｲﾍﾞﾝﾄ発生以前のﾋﾞｯﾄﾏｯﾌﾟ"));
    evfilename_ = before.value;
    evfilenamepic_ = before.pic;
    const PageRow after = addPageRow(g1, row, "evendfilename", QStringLiteral("発生後ｲﾒｰｼﾞ  (&O)"), RowExtra::Picture);
    after.set->setToolTip(QStringLiteral("ｲﾍﾞﾝﾄ発生以後のﾋﾞｯﾄﾏｯﾌﾟ"));
    evendfilename_ = after.value;
    evendfilenamepic_ = after.pic;
    const PageRow enemy = addPageRow(g1, row, "evenemy", QStringLiteral("戦闘  (&B)"), RowExtra::Picture);
    evenemy_ = enemy.value;
    evenemypic_ = enemy.pic;
    const PageRow startComment = addPageRow(g1, row, "evstartcomment", QStringLiteral("発生前ｺﾒﾝﾄ  (&F)"), RowExtra::None);
    evstartcomment_ = startComment.value;
    const PageRow endComment = addPageRow(g1, row, "evendcomment", QStringLiteral("発生後ｺﾒﾝﾄ  (&L)"), RowExtra::None);
    evendcomment_ = endComment.value;
    const PageRow link = addPageRow(g1, row, "evlink", QStringLiteral("ｼﾞｬﾝﾌﾟ先  (&J)"), RowExtra::None);
    evlink_ = link.value;
    evlocatex_ = new QLabel(s1);
    evlocatex_->setObjectName(QStringLiteral("evlocatex"));
    evlocatey_ = new QLabel(s1);
    evlocatey_->setObjectName(QStringLiteral("evlocatey"));
    g1->addWidget(evlocatex_, row, 0, 1, 2);
    g1->addWidget(evlocatey_, row++, 2, 1, 2);
    QCheckBox* endHide = addFlagBox(g1, row, "evendhide", "終了後非表示(&U)", 1);
    QCheckBox* startHide = addFlagBox(g1, row, "evstarthide", "条件合致まで非表示(&H)", 3);
    g1->setRowStretch(row, 1);

    // 特殊
    row = 0;
    QWidget* s2 = addSheet(this, "eventsheet2", "特殊", 129000);
    QGridLayout* g2 = sheetGrid(s2);
    auto* prologueBox = new QGroupBox(QStringLiteral("ﾌﾟﾛﾛｰｸﾞ"), s2);
    prologueBox->setObjectName(QStringLiteral("GroupBox2"));
    QGridLayout* gp = sheetGrid(prologueBox);
    int prow = 0;
    const PageRow prologue = addPageRow(gp, prow, "evprologue", QStringLiteral("ｺﾒﾝﾄ  (&C)"), RowExtra::None);
    const PageRow prologueBmp = addPageRow(gp, prow, "evprologuebmp", QStringLiteral("ｲﾒｰｼﾞ  (&I)"), RowExtra::View);
    const PageRow prologueBgm = addPageRow(gp, prow, "evprologuebgm", QStringLiteral("BGM  (&B)"), RowExtra::Play);
    evprologue_ = prologue.value;
    evprologuebmp_ = prologueBmp.value;
    evprologuebgm_ = prologueBgm.value;
    g2->addWidget(prologueBox, row++, 0, 1, 4);
    auto* epilogueBox = new QGroupBox(QStringLiteral("ｴﾋﾟﾛｰｸﾞ"), s2);
    epilogueBox->setObjectName(QStringLiteral("GroupBox3"));
    QGridLayout* ge = sheetGrid(epilogueBox);
    int erow = 0;
    const PageRow epilogue = addPageRow(ge, erow, "evepilogue", QStringLiteral("ｺﾒﾝﾄ  (&L)"), RowExtra::None);
    const PageRow epilogueBmp = addPageRow(ge, erow, "evepiloguebmp", QStringLiteral("ｲﾒｰｼﾞ  (&O)"), RowExtra::View);
    const PageRow epilogueBgm = addPageRow(ge, erow, "evepiloguebgm", QStringLiteral("BGM  (&G)"), RowExtra::Play);
    evepilogue_ = epilogue.value;
    evepiloguebmp_ = epilogueBmp.value;
    evepiloguebgm_ = epilogueBgm.value;
    g2->addWidget(epilogueBox, row++, 0, 1, 4);
    QCheckBox* ending = addFlagBox(g2, row, "evending", "ｴﾝﾃﾞｨﾝｸﾞ  (&E)", 2);
    QCheckBox* dieOk = addFlagBox(g2, row, "evdieok", "死亡しても続行  (&D)", 5);
    QCheckBox* infinity = addFlagBox(g2, row, "evinfinity", "無限に発生  (&R)", 4);
    QCheckBox* notWondering = addFlagBox(g2, row, "evnotwondering", "終了後敵と遭遇しない  (&H)", 6);
    g2->setRowStretch(row, 1);

    // 条件
    row = 0;
    QWidget* s3 = addSheet(this, "eventsheet3", "条件", 130000);
    QGridLayout* g3 = sheetGrid(s3);
    g3->addWidget(new QLabel(QStringLiteral("-発生条件-"), s3), row++, 0, 1, 4);
    auto* actionBox = new QGroupBox(QStringLiteral("開始ｱｸｼｮﾝ"), s3);
    actionBox->setObjectName(QStringLiteral("evaction"));
    auto* actionLayout = new QVBoxLayout(actionBox);
    actionLayout->setContentsMargins(4, 2, 4, 2);
    evaction_ = new QButtonGroup(this);
    const char* actions[] = {"調べる", "到達時点", "ｱｲﾃﾑ使用"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(actions[i]), actionBox);
        b->setObjectName(QStringLiteral("evaction%1").arg(i));
        actionLayout->addWidget(b);
        evaction_->addButton(b, i);
    }
    g3->addWidget(actionBox, row++, 0, 1, 4);
    const PageRow startItem = addPageRow(g3, row, "evstartitem", QStringLiteral("開始ｱｲﾃﾑ  (&S)"), RowExtra::Picture);
    evstartitem_ = startItem.value;
    evstartitempic_ = startItem.pic;
    const PageRow showItem = addPageRow(g3, row, "evshowitemlabel", QStringLiteral("ｱｲﾃﾑ  (&I)"), RowExtra::None);
    evshowitem_ = slotList(g3, row, "evshowitem");
    const PageRow showEvent = addPageRow(g3, row, "evshoweventlabel", QStringLiteral("ｲﾍﾞﾝﾄ  (&E)"), RowExtra::None);
    evshowevent_ = slotList(g3, row, "evshowevent");
    g3->setRowStretch(row, 1);

    // ﾊﾟﾗﾒｰﾀ
    row = 0;
    QWidget* s4 = addSheet(this, "eventsheet4", "ﾊﾟﾗﾒｰﾀ", 131000);
    QGridLayout* g4 = sheetGrid(s4);
    const PageRow getItem = addPageRow(g4, row, "evgetitemlabel", QStringLiteral("獲得ｱｲﾃﾑ  (&G)"), RowExtra::None);
    evgetitem_ = slotList(g4, row, "evgetitem");
    const PageRow putItem = addPageRow(g4, row, "evputitemlabel", QStringLiteral("消失ｱｲﾃﾑ  (&P)"), RowExtra::None);
    evputitem_ = slotList(g4, row, "evputitem");
    const PageRow getMagic = addPageRow(g4, row, "evgetmagic", QStringLiteral("修得魔法  (&M)"), RowExtra::None);
    evgetmagic_ = getMagic.value;
    g4->setRowStretch(row, 1);

    // The list rows are named after their lists.
    for (const PageRow* r : {&showItem, &showEvent, &getItem, &putItem}) {
        const QString list = r->value->objectName().chopped(5);
        r->set->setObjectName(list + QStringLiteral("set"));
        r->del->setObjectName(list + QStringLiteral("del"));
        r->value->hide();
    }

    flags_ = {endHide, ending, startHide, infinity, dieOk, notWondering};
    startCommentControls_ = {evstartcomment_, startComment.set, startComment.del};
    afterEndControls_ = {evendcomment_, evendfilename_, after.set, after.del, endComment.set, endComment.del};
    prologueBgmControls_ = {evprologuebgm_, prologueBgm.set, prologueBgm.del};
    epilogueBgmControls_ = {evepiloguebgm_, epilogueBgm.set, epilogueBgm.del};
    startItemControls_ = {evstartitem_, evstartitempic_, startItem.set, startItem.del};

    connect(eventname_, &QLineEdit::textChanged, this, &EventPage::eventnameChange);
    for (QCheckBox* box : flags_) connect(box, &QCheckBox::clicked, this, [this, box] { evcheck1Click(box); });
    connect(evaction_, &QButtonGroup::idClicked, this, &EventPage::evactionClick);
    connectRow(this, before, &EventPage::evfilenamesetClick);
    connectRow(this, after, &EventPage::evendfilenamesetClick, &EventPage::evendfilenamedelClick);
    connectRow(this, enemy, &EventPage::evenemysetClick, &EventPage::evenemydelClick);
    connectRow(this, startComment, &EventPage::evstartcommentsetClick, &EventPage::evstartcommentdelClick);
    connectRow(this, endComment, &EventPage::evendcommentsetClick, &EventPage::evendcommentdelClick);
    connectRow(this, link, &EventPage::evlinksetClick, &EventPage::evlinkdelClick);
    connectRow(this, prologue, &EventPage::evprologuesetClick, &EventPage::evprologuedelClick);
    connectRow(this, prologueBmp, &EventPage::evprologuebmpsetClick, &EventPage::evprologuebmpdelClick,
               &EventPage::evprologuebmpviewClick);
    connectRow(this, prologueBgm, &EventPage::evprologuebgmsetClick, &EventPage::evprologuebgmdelClick,
               &EventPage::evprologuebgmplayClick);
    connectRow(this, epilogue, &EventPage::evepiloguesetClick, &EventPage::evepiloguedelClick);
    connectRow(this, epilogueBmp, &EventPage::evepiloguebmpsetClick, &EventPage::evepiloguebmpdelClick,
               &EventPage::evepiloguebmpviewClick);
    connectRow(this, epilogueBgm, &EventPage::evepiloguebgmsetClick, &EventPage::evepiloguebgmdelClick,
               &EventPage::evepiloguebgmplayClick);
    connectRow(this, startItem, &EventPage::evstartitemsetClick, &EventPage::evstartitemdelClick);
    connectRow(this, showItem, &EventPage::evshowitemsetClick, &EventPage::evshowitemdelClick);
    connectRow(this, showEvent, &EventPage::evshoweventsetClick, &EventPage::evshoweventdelClick);
    connectRow(this, getItem, &EventPage::evgetitemsetClick, &EventPage::evgetitemdelClick);
    connectRow(this, putItem, &EventPage::evputitemsetClick, &EventPage::evputitemdelClick);
    connectRow(this, getMagic, &EventPage::evgetmagicsetClick, &EventPage::evgetmagicdelClick);
}

int EventPage::number() const { return owner_.currentObject(kEvent); }

EventDef& EventPage::event() const { return editor().scenario.event(number()); }

QString EventPage::words() const { return Tparamedit::objectWords(kEvent, fromCp932(event().name.view())); }

QCheckBox* EventPage::flagBox(int tag) const {
    for (QCheckBox* box : flags_)
        if (box->property("tag").toInt() == tag) return box;
    return nullptr;
}

QRadioButton* EventPage::actionButton(int action) const {
    return qobject_cast<QRadioButton*>(evaction_->button(action));
}

QLabel* EventPage::label(const char* name) const { return findChild<QLabel*>(QString::fromLatin1(name)); }
QPushButton* EventPage::button(const char* name) const { return findChild<QPushButton*>(QString::fromLatin1(name)); }
QListWidget* EventPage::list(const char* name) const { return findChild<QListWidget*>(QString::fromLatin1(name)); }

// ---- showing -------------------------------------------------------------------

void EventPage::eventini() {
    EditorContext& ctx = editor();
    const int n = number();
    ShortString255& afterImage = ctx.scenario.eventImage2Files[n - 1];
    const bool hadAfter = !afterImage.empty();
    const EventControls open = applyEventRules(event(), afterImage);
    if (hadAfter && afterImage.empty()) ctx.side.pictures.event[kEventCount + n] = 0;
    flagBox(5)->setEnabled(open.dieOk);
    flagBox(4)->setEnabled(open.afterEnd);
    openAll(startCommentControls_, open.startComment);
    openAll(afterEndControls_, open.afterEnd);
    openAll(prologueBgmControls_, open.prologueBgm);
    openAll(epilogueBgmControls_, open.epilogueBgm);
    eventview();
}

void EventPage::eventview() {
    EditorContext& ctx = editor();
    Scenario& s = ctx.scenario;
    ParameditHooks& hooks = owner_.hooks();
    const int n = number();
    EventDef& e = event();
    const ShortString255& beforeImage = s.eventImageFiles[n - 1];
    ShortString255& afterImage = s.eventImage2Files[n - 1];
    const EventViewResult r = applyEventViewRules(e, beforeImage, afterImage);
    if (r.afterImageCopied)
        ctx.side.pictures.event[kEventCount + n] =
            hooks.addimg ? hooks.addimg(fromCp932(afterImage.view()), e.image2Transparent != 0,
                                        static_cast<unsigned>(e.image2Colour))
                         : ctx.side.pictures.event[n];
    openAll(startItemControls_, r.startItemOpen);

    rendering_ = true;
    {
        const QSignalBlocker nameBlock(eventname_);
        if (eventname_->bytes() != e.name.str()) eventname_->setBytes(e.name.view());
    }
    owner_.setObjectCaption(kEvent, fromCp932(e.name.view()));
    evfilename_->setText(fileRefName(beforeImage, QString()));
    evfilenamepic_->setIndex(pictureIndex(ctx.side.pictures, kEvent, n));
    evendfilename_->setText(fileRefName(afterImage));
    evendfilenamepic_->setIndex(afterImage.empty() ? 0 : ctx.side.pictures.event[kEventCount + n]);
    evenemy_->setText(enemyGroupRefName(e.evenemy));
    const int leader = e.evenemy >= 1 && e.evenemy <= kEnemyTypeCount ? s.enemyType(e.evenemy).members[0] : 0;
    evenemypic_->setIndex(pictureIndex(ctx.side.pictures, kChara, leader));
    evstartcomment_->setText(commentRefName(e.evstartcomment));
    evendcomment_->setText(commentRefName(e.evendcomment));
    evlink_->setText(fieldInUse(s, e.jumpField) ? fieldRefName(e.jumpField) : QStringLiteral("-"));
    const std::optional<ColumnRow> at = locatedCell(s, e.jumpField, e.jumpPosition);
    evlocatex_->setText(QStringLiteral("X：") + (at ? QString::number(at->column) : QStringLiteral("未指定")));
    evlocatey_->setText(QStringLiteral("Y：") + (at ? QString::number(at->row) : QStringLiteral("未指定")));

    evprologue_->setText(commentRefName(e.evprologue));
    evprologuebmp_->setText(fileRefName(e.evprologuebmp));
    evprologuebgm_->setText(bgmRefName(e.evprologuebgm));
    evepilogue_->setText(commentRefName(e.evepilogue));
    evepiloguebmp_->setText(fileRefName(e.evepiloguebmp));
    evepiloguebgm_->setText(bgmRefName(e.evepiloguebgm));
    button("evprologuebgmplay")->setEnabled(e.evprologuebgm != 0);
    button("evepiloguebgmplay")->setEnabled(e.evepiloguebgm != 0);
    button("evprologuebmpview")->setEnabled(!e.evprologuebmp.empty());
    button("evepiloguebmpview")->setEnabled(!e.evepiloguebmp.empty());

    for (QCheckBox* box : flags_) {
        const QSignalBlocker block(box);
        const u8* flag = eventFlag(e, box->property("tag").toInt());
        box->setChecked(flag && *flag != 0);
    }
    {
        const QSignalBlocker block(evaction_);
        if (QAbstractButton* b = evaction_->button(e.evaction)) {
            b->setChecked(true);
        } else {
            // A start action from a damaged file checks none of the three.
            evaction_->setExclusive(false);
            for (QAbstractButton* other : evaction_->buttons()) other->setChecked(false);
            evaction_->setExclusive(true);
        }
    }
    evstartitem_->setText(itemRefName(e.evstartitem));
    evstartitempic_->setIndex(itemPictureIndex(e.evstartitem));
    showSlots(evshowitem_, e.evshowitem, false);
    showSlots(evshowevent_, e.evshowevent, true);
    showSlots(evgetitem_, e.evgetitem, false);
    showSlots(evputitem_, e.evputitem, false);
    evgetmagic_->setText(magicRefName(e.evgetmagic));
    rendering_ = false;
}

void EventPage::showSlots(QListWidget* list, const unsigned char (&slotArray)[10], bool events) {
    list->clear();
    for (int entry : eventSlotEntries(slotArray)) list->addItem(events ? eventRefName(entry) : itemRefName(entry));
}

}  // namespace qrn
