#include "properties/enterpage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "services/editorcontext.h"
#include "services/imeset.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/pagehelpers.h"
#include "properties/paramedit.h"
#include "scenario/objectrules.h"
#include "scenario/maplayers.h"

namespace qrn {

namespace {

QWidget* sheet(QTabWidget* panel, const char* name, const char* caption, int help) {
    auto* w = new QWidget(panel);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("helpContext", help);
    panel->addTab(w, QString::fromUtf8(caption));
    return w;
}

}  // namespace

EnterPage::EnterPage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("enterpanel"));

    // 一般
    QWidget* s1 = sheet(this, "enterSheet1", "一般", 124000);
    auto* g1 = new QGridLayout(s1);
    g1->setContentsMargins(4, 4, 4, 4);
    g1->setVerticalSpacing(2);
    g1->addWidget(new QLabel(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), s1), 0, 0, 1, 4);
    auto* nameLabel = new QLabel(QStringLiteral("建造物名(&N)"), s1);
    entername_ = new ShortStringEdit(32, s1);
    entername_->setObjectName(QStringLiteral("entername"));
    nameLabel->setBuddy(entername_);
    imesetOnEnter(entername_);
    g1->addWidget(nameLabel, 1, 0, 1, 4);
    g1->addWidget(entername_, 2, 0, 1, 4);
    auto* imageSet = pageButton(QStringLiteral("enfilenameset"), QStringLiteral("ｲﾒｰｼﾞ  (&I)"), s1);
    enfilenamepic_ = new PictureBox(QStringLiteral("enfilenamepic"), s1);
    enfilename_ = valueLabel(QStringLiteral("enfilename"), s1);
    g1->addWidget(imageSet, 3, 0, 1, 3);
    g1->addWidget(enfilenamepic_, 3, 3, 2, 1);
    g1->addWidget(enfilename_, 4, 0, 1, 3);
    enmove_ = new QCheckBox(QStringLiteral("通過可能(&R)"), s1);
    enmove_->setObjectName(QStringLiteral("enmove"));
    g1->addWidget(enmove_, 5, 0, 1, 4);
    enwantitemset_ = pageButton(QStringLiteral("enwantitemset"), QStringLiteral("通過条件  (&F)"), s1);
    enwantitemdel_ = pageButton(QStringLiteral("enwantitemdel"), QStringLiteral("消"), s1);
    enwantitem_ = valueLabel(QStringLiteral("enwantitem"), s1);
    enwantitempic_ = new PictureBox(QStringLiteral("enwantitempic"), s1);
    g1->addWidget(enwantitemset_, 6, 0, 1, 2);
    g1->addWidget(enwantitemdel_, 6, 2);
    g1->addWidget(enwantitempic_, 6, 3, 2, 1);
    g1->addWidget(enwantitem_, 7, 0, 1, 3);
    enfieldtoset_ = pageButton(QStringLiteral("enfieldtoset"), QStringLiteral("ｼﾞｬﾝﾌﾟ先  (&J)"), s1);
    enfieldtodel_ = pageButton(QStringLiteral("enfieldtodel"), QStringLiteral("消"), s1);
    enfieldto_ = valueLabel(QStringLiteral("enfieldto"), s1);
    auto* jumpLabel = new QLabel(QStringLiteral("ｼﾞｬﾝﾌﾟ座標"), s1);
    enlocatex_ = new QLabel(s1);
    enlocatex_->setObjectName(QStringLiteral("enlocatex"));
    enlocatey_ = new QLabel(s1);
    enlocatey_->setObjectName(QStringLiteral("enlocatey"));
    g1->addWidget(enfieldtoset_, 8, 0, 1, 3);
    g1->addWidget(enfieldtodel_, 8, 3);
    g1->addWidget(enfieldto_, 9, 0, 1, 4);
    g1->addWidget(jumpLabel, 10, 0, 1, 2);
    g1->addWidget(enlocatex_, 10, 2);
    g1->addWidget(enlocatey_, 10, 3);
    enopenfilenameset_ = pageButton(QStringLiteral("enopenfilenameset"), QStringLiteral("ｱﾆﾒｰｼｮﾝｲﾒｰｼﾞ  (&A)"), s1);
    enopenfilenamedel_ = pageButton(QStringLiteral("enopenfilenamedel"), QStringLiteral("消"), s1);
    enopenfilename_ = valueLabel(QStringLiteral("enopenfilename"), s1);
    enopenfilenamepic_ = new PictureBox(QStringLiteral("enopenfilenamepic"), s1);
    g1->addWidget(enopenfilenameset_, 11, 0, 1, 2);
    g1->addWidget(enopenfilenamedel_, 11, 2);
    g1->addWidget(enopenfilenamepic_, 11, 3, 2, 1);
    g1->addWidget(enopenfilename_, 12, 0, 1, 3);
    g1->setRowStretch(13, 1);

    // 特殊
    QWidget* s2 = sheet(this, "enterSheet2", "特殊", 125000);
    auto* g2 = new QGridLayout(s2);
    g2->setContentsMargins(4, 4, 4, 4);
    g2->setVerticalSpacing(2);
    ensoundset_ = pageButton(QStringLiteral("ensoundset"), QStringLiteral("通過時の効果音  (&S)"), s2);
    ensounddel_ = pageButton(QStringLiteral("ensounddel"), QStringLiteral("消"), s2);
    ensoundplay_ = pageButton(QStringLiteral("ensoundplay"), QStringLiteral("♪"), s2);
    ensound_ = valueLabel(QStringLiteral("ensound"), s2);
    g2->addWidget(ensoundset_, 0, 0, 1, 2);
    g2->addWidget(ensounddel_, 0, 2);
    g2->addWidget(ensoundplay_, 0, 3);
    g2->addWidget(ensound_, 1, 0, 1, 4);
    g2->addWidget(new QLabel(QStringLiteral("出現条件"), s2), 2, 0, 1, 4);
    auto* showItemSet = pageButton(QStringLiteral("enshowitemset"), QStringLiteral("ｱｲﾃﾑ  (&I)"), s2);
    auto* showItemDel = pageButton(QStringLiteral("enshowitemdel"), QStringLiteral("消"), s2);
    enshowitem_ = valueLabel(QStringLiteral("enshowitem"), s2);
    enshowitem_->setToolTip(QStringLiteral("このｱｲﾃﾑを所持していると出現する"));
    enshowitempic_ = new PictureBox(QStringLiteral("enshowitempic"), s2);
    g2->addWidget(showItemSet, 3, 0, 1, 2);
    g2->addWidget(showItemDel, 3, 2);
    g2->addWidget(enshowitempic_, 3, 3, 2, 1);
    g2->addWidget(enshowitem_, 4, 0, 1, 3);
    auto* showEventSet = pageButton(QStringLiteral("enshoweventset"), QStringLiteral("ｲﾍﾞﾝﾄ  (&E)"), s2);
    auto* showEventDel = pageButton(QStringLiteral("enshoweventdel"), QStringLiteral("消"), s2);
    enshowevent_ = valueLabel(QStringLiteral("enshowevent"), s2);
    enshowevent_->setToolTip(QStringLiteral("このｲﾍﾞﾝﾄをｸﾘｱしていると出現する"));
    enshoweventpic_ = new PictureBox(QStringLiteral("enshoweventpic"), s2);
    g2->addWidget(showEventSet, 5, 0, 1, 2);
    g2->addWidget(showEventDel, 5, 2);
    g2->addWidget(enshoweventpic_, 5, 3, 2, 1);
    g2->addWidget(enshowevent_, 6, 0, 1, 3);
    g2->setRowStretch(7, 1);

    passingControls_ = {enwantitem_,  enwantitemset_,  enwantitemdel_,  enwantitempic_,     enfieldto_,
                        enlocatex_,   enlocatey_,      enfieldtoset_,   enfieldtodel_,      jumpLabel,
                        enopenfilename_, enopenfilenameset_, enopenfilenamedel_, enopenfilenamepic_, ensound_,
                        ensoundset_,  ensounddel_,     ensoundplay_};

    connect(entername_, &QLineEdit::textChanged, this, &EnterPage::enternameChange);
    connect(enmove_, &QCheckBox::clicked, this, &EnterPage::enmoveClick);
    connect(imageSet, &QPushButton::clicked, this, &EnterPage::enfilenamesetClick);
    connect(enopenfilenameset_, &QPushButton::clicked, this, &EnterPage::enopenfilenamesetClick);
    connect(enopenfilenamedel_, &QPushButton::clicked, this, &EnterPage::enopenfilenamedelClick);
    connect(enwantitemset_, &QPushButton::clicked, this, &EnterPage::enwantitemsetClick);
    connect(enwantitemdel_, &QPushButton::clicked, this, &EnterPage::enwantitemdelClick);
    connect(enfieldtoset_, &QPushButton::clicked, this, &EnterPage::enfieldtosetClick);
    connect(enfieldtodel_, &QPushButton::clicked, this, &EnterPage::enfieldtodelClick);
    connect(ensoundset_, &QPushButton::clicked, this, &EnterPage::ensoundsetClick);
    connect(ensounddel_, &QPushButton::clicked, this, &EnterPage::ensounddelClick);
    connect(ensoundplay_, &QPushButton::clicked, this, &EnterPage::ensoundplayClick);
    connect(showItemSet, &QPushButton::clicked, this, &EnterPage::enshowitemsetClick);
    connect(showItemDel, &QPushButton::clicked, this, &EnterPage::enshowitemdelClick);
    connect(showEventSet, &QPushButton::clicked, this, &EnterPage::enshoweventsetClick);
    connect(showEventDel, &QPushButton::clicked, this, &EnterPage::enshoweventdelClick);
}

int EnterPage::number() const { return owner_.currentObject(kEnter); }

EnterDef& EnterPage::enter() const { return editor().scenario.enter(number()); }

QString EnterPage::words() const { return Tparamedit::objectWords(kEnter, fromCp932(enter().name.view())); }

void EnterPage::enterview() {
    EditorContext& ctx = editor();
    Scenario& s = ctx.scenario;
    const int n = number();
    EnterDef& e = enter();
    ShortString255& animation = s.enterImage2Files[n - 1];
    if (applyEnterRules(e, animation)) ctx.side.pictures.enter[kEnterCount + n] = 0;
    const bool passable = e.enmove != 0;
    for (QWidget* w : passingControls_) w->setEnabled(passable);
    rendering_ = true;
    {
        const QSignalBlocker nameBlock(entername_);
        if (entername_->bytes() != e.name.str()) entername_->setBytes(e.name.view());
    }
    owner_.setObjectCaption(kEnter, fromCp932(e.name.view()));
    enfilename_->setText(fileRefName(s.enterImageFiles[n - 1], QString()));
    enfilenamepic_->setIndex(pictureIndex(ctx.side.pictures, kEnter, n));
    {
        const QSignalBlocker block(enmove_);
        enmove_->setChecked(passable);
    }
    enwantitem_->setText(itemRefName(e.enwantitem));
    enwantitempic_->setIndex(itemPictureIndex(e.enwantitem));
    enfieldto_->setText(fieldRefName(e.jumpField));
    const bool located = e.jumpPosition > 0 && cellOf(s, e.jumpField, e.jumpPosition) > 0;
    enlocatex_->setText(QStringLiteral("X ：") + (located ? QString::number(linkby(s, 0, n, 0)) : QStringLiteral("未指定")));
    enlocatey_->setText(QStringLiteral("Y ：") + (located ? QString::number(linkby(s, 0, n, 1)) : QStringLiteral("未指定")));
    enopenfilename_->setText(fileRefName(animation));
    enopenfilenamepic_->setIndex(ctx.side.pictures.enter[kEnterCount + n]);
    ensound_->setText(soundRefName(e.ensound));
    enshowitem_->setText(itemRefName(e.enshowitem));
    enshowitempic_->setIndex(itemPictureIndex(e.enshowitem));
    enshowevent_->setText(eventRefName(e.enshowevent));
    enshoweventpic_->setIndex(eventPictureIndex(e.enshowevent));
    rendering_ = false;
}

void EnterPage::enternameChange() {
    if (rendering_) return;
    enter().name.assign(entername_->bytes());
    owner_.setObjectCaption(kEnter, entername_->text());
    if (owner_.hooks().namesChanged) owner_.hooks().namesChanged(kEnter);
}

void EnterPage::enmoveClick() {
    enter().enmove = enmove_->isChecked() ? 1 : 0;
    const bool hadJump = enter().jumpField != 0;
    enterview();
    if (hadJump && enter().jumpField == 0 && owner_.hooks().jumpsChanged) owner_.hooks().jumpsChanged();
}

void EnterPage::setPicture(bool second) {
    const int n = number();
    Scenario& s = editor().scenario;
    ShortString255& slot = second ? s.enterImage2Files[n - 1] : s.enterImageFiles[n - 1];
    std::int32_t& index = editor().side.pictures.enter[second ? kEnterCount + n : n];
    if (chooseObjectPicture(owner_, kEnter, enter(), second, slot, index)) enterview();
}

void EnterPage::enfilenamesetClick() { setPicture(false); }
void EnterPage::enopenfilenamesetClick() { setPicture(true); }

void EnterPage::enopenfilenamedelClick() {
    editor().scenario.enterImage2Files[number() - 1].clear();
    editor().side.pictures.enter[kEnterCount + number()] = 0;
    enterview();
}

void EnterPage::enwantitemsetClick() {
    takeItem(owner_, words() + QStringLiteral("を通過する為に必要なｱｲﾃﾑを一つ選択"), enter().enwantitem);
    enterview();
}

void EnterPage::enwantitemdelClick() {
    enter().enwantitem = 0;
    enterview();
}

void EnterPage::enfieldtosetClick() {
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.pickLocation) return;
    EnterDef& e = enter();
    const std::optional<PickedLocation> picked = hooks.pickLocation(
        QStringLiteral("：") + words() + QStringLiteral("からｼﾞｬﾝﾌﾟするﾌｨｰﾙﾄﾞと座標を選択"), e.jumpField, e.jumpPosition);
    if (!picked || picked->field < 1 || picked->field > kFieldCount || picked->position <= 0) return;
    e.jumpField = static_cast<u8>(picked->field);
    e.jumpPosition = picked->position;
    enterview();
    if (hooks.jumpsChanged) hooks.jumpsChanged();
}

void EnterPage::enfieldtodelClick() {
    enter().jumpField = 0;
    enter().jumpPosition = 0;
    enterview();
    if (owner_.hooks().jumpsChanged) owner_.hooks().jumpsChanged();
}

void EnterPage::ensoundsetClick() {
    if (takeResource(ResourceKind::Sound, QStringLiteral("：") + words() + QStringLiteral("を通過する時の効果音を一つ選択"),
                     enter().ensound, kSoundCount))
        enterview();
}

void EnterPage::ensounddelClick() {
    enter().ensound = 0;
    enterview();
}

void EnterPage::ensoundplayClick() { owner_.playSound(enter().ensound); }

void EnterPage::enshowitemsetClick() {
    takeItem(owner_, words() + QStringLiteral("が出現する為に必要なｱｲﾃﾑを一つ選択"), enter().enshowitem);
    enterview();
}

void EnterPage::enshowitemdelClick() {
    enter().enshowitem = 0;
    enterview();
}

void EnterPage::enshoweventsetClick() {
    takeEvent(owner_, words() + QStringLiteral("が出現する為に必要なｲﾍﾞﾝﾄを一つ選択"), enter().enshowevent);
    enterview();
}

void EnterPage::enshoweventdelClick() {
    enter().enshowevent = 0;
    enterview();
}

}  // namespace qrn
