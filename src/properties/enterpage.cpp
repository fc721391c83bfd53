#include "properties/enterpage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "pickers/picturebox.h"
#include "services/editorcontext.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/pagehelpers.h"
#include "properties/paramedit.h"
#include "scenario/objectrules.h"
#include "scenario/maplayers.h"

namespace qrn {

EnterPage::EnterPage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("enterpanel"));
    int row = 0;

    // 一般
    QWidget* s1 = addSheet(this, "enterSheet1", "一般", 124000);
    QGridLayout* g1 = sheetGrid(s1);
    entername_ = addNameRows(g1, row, "entername", QStringLiteral("建造物名(&N)"));
    enfilename_ = addPageRow(g1, row, "enfilename", QStringLiteral("ｲﾒｰｼﾞ  (&I)"), RowExtra::Picture, false);
    enmove_ = new QCheckBox(QStringLiteral("通過可能(&R)"), s1);
    enmove_->setObjectName(QStringLiteral("enmove"));
    g1->addWidget(enmove_, row++, 0, 1, 4);
    enwantitem_ = addPageRow(g1, row, "enwantitem", QStringLiteral("通過条件  (&F)"), RowExtra::Picture);
    enfieldto_ = addPageRow(g1, row, "enfieldto", QStringLiteral("ｼﾞｬﾝﾌﾟ先  (&J)"), RowExtra::Wide);
    auto* jumpLabel = new QLabel(QStringLiteral("ｼﾞｬﾝﾌﾟ座標"), s1);
    enlocatex_ = new QLabel(s1);
    enlocatex_->setObjectName(QStringLiteral("enlocatex"));
    enlocatey_ = new QLabel(s1);
    enlocatey_->setObjectName(QStringLiteral("enlocatey"));
    g1->addWidget(jumpLabel, row, 0, 1, 2);
    g1->addWidget(enlocatex_, row, 2);
    g1->addWidget(enlocatey_, row++, 3);
    enopenfilename_ =
        addPageRow(g1, row, "enopenfilename", QStringLiteral("ｱﾆﾒｰｼｮﾝｲﾒｰｼﾞ  (&A)"), RowExtra::Picture);
    g1->setRowStretch(row, 1);

    // 特殊
    row = 0;
    QWidget* s2 = addSheet(this, "enterSheet2", "特殊", 125000);
    QGridLayout* g2 = sheetGrid(s2);
    ensound_ = addPageRow(g2, row, "ensound", QStringLiteral("通過時の効果音  (&S)"), RowExtra::Play);
    g2->addWidget(new QLabel(QStringLiteral("出現条件"), s2), row++, 0, 1, 4);
    enshowitem_ = addPageRow(g2, row, "enshowitem", QStringLiteral("ｱｲﾃﾑ  (&I)"), RowExtra::Picture);
    enshowitem_.value->setToolTip(QStringLiteral("このｱｲﾃﾑを所持していると出現する"));
    enshowevent_ = addPageRow(g2, row, "enshowevent", QStringLiteral("ｲﾍﾞﾝﾄ  (&E)"), RowExtra::Picture);
    enshowevent_.value->setToolTip(QStringLiteral("このｲﾍﾞﾝﾄをｸﾘｱしていると出現する"));
    g2->setRowStretch(row, 1);

    // Passing settings mean nothing on a building nobody can enter.
    passingControls_ = {enlocatex_, enlocatey_, jumpLabel};
    for (const PageRow* r : {&enwantitem_, &enfieldto_, &enopenfilename_, &ensound_})
        passingControls_ += r->widgets();

    connect(entername_, &QLineEdit::textChanged, this, &EnterPage::enternameChange);
    connect(enmove_, &QCheckBox::clicked, this, &EnterPage::enmoveClick);
    connectRow(this, enfilename_, &EnterPage::enfilenamesetClick);
    connectRow(this, enopenfilename_, &EnterPage::enopenfilenamesetClick, &EnterPage::enopenfilenamedelClick);
    connectRow(this, enwantitem_, &EnterPage::enwantitemsetClick, &EnterPage::enwantitemdelClick);
    connectRow(this, enfieldto_, &EnterPage::enfieldtosetClick, &EnterPage::enfieldtodelClick);
    connectRow(this, ensound_, &EnterPage::ensoundsetClick, &EnterPage::ensounddelClick,
               &EnterPage::ensoundplayClick);
    connectRow(this, enshowitem_, &EnterPage::enshowitemsetClick, &EnterPage::enshowitemdelClick);
    connectRow(this, enshowevent_, &EnterPage::enshoweventsetClick, &EnterPage::enshoweventdelClick);
}

int EnterPage::number() const { return owner_.currentObject(kEnter); }

EnterDef& EnterPage::enter() const { return editor().scenario.enter(number()); }

QString EnterPage::words() const { return Tparamedit::objectWords(kEnter, fromCp932(enter().name.view())); }

QString EnterPage::prompt(const char* what) const { return QStringLiteral("：") + words() + QString::fromUtf8(what); }

void EnterPage::clearReference(unsigned char& reference) {
    reference = 0;
    enterview();
}

void EnterPage::enterview() {
    EditorContext& ctx = editor();
    Scenario& s = ctx.scenario;
    const int n = number();
    EnterDef& e = enter();
    ShortString255& animation = s.enterImage2Files[n - 1];
    const bool hadJump = e.jumpField != 0;
    if (applyEnterRules(e, animation)) ctx.side.pictures.enter[kEnterCount + n] = 0;
    // An impassable building loses its jump however it is shown: the field
    // manager's jump list follows.
    if (hadJump && e.jumpField == 0 && owner_.hooks().jumpsChanged) owner_.hooks().jumpsChanged();
    const bool passable = e.enmove != 0;
    for (QWidget* w : passingControls_) w->setEnabled(passable);
    rendering_ = true;
    {
        const QSignalBlocker nameBlock(entername_);
        if (entername_->bytes() != e.name.str()) entername_->setBytes(e.name.view());
    }
    owner_.setObjectCaption(kEnter, fromCp932(e.name.view()));
    enfilename_.value->setText(fileRefName(s.enterImageFiles[n - 1], QString()));
    enfilename_.pic->setIndex(pictureIndex(ctx.side.pictures, kEnter, n));
    {
        const QSignalBlocker block(enmove_);
        enmove_->setChecked(passable);
    }
    enwantitem_.value->setText(itemRefName(e.enwantitem));
    enwantitem_.pic->setIndex(itemPictureIndex(e.enwantitem));
    enfieldto_.value->setText(fieldRefName(e.jumpField));
    const bool located = e.jumpPosition > 0 && cellOf(s, e.jumpField, e.jumpPosition) > 0;
    enlocatex_->setText(QStringLiteral("X ：") + (located ? QString::number(linkby(s, 0, n, 0)) : QStringLiteral("未指定")));
    enlocatey_->setText(QStringLiteral("Y ：") + (located ? QString::number(linkby(s, 0, n, 1)) : QStringLiteral("未指定")));
    enopenfilename_.value->setText(fileRefName(animation));
    enopenfilename_.pic->setIndex(ctx.side.pictures.enter[kEnterCount + n]);
    ensound_.value->setText(soundRefName(e.ensound));
    enshowitem_.value->setText(itemRefName(e.enshowitem));
    enshowitem_.pic->setIndex(itemPictureIndex(e.enshowitem));
    enshowevent_.value->setText(eventRefName(e.enshowevent));
    enshowevent_.pic->setIndex(eventPictureIndex(e.enshowevent));
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
    enterview();
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

void EnterPage::enfieldtosetClick() {
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.pickLocation) return;
    EnterDef& e = enter();
    const std::optional<PickedLocation> picked = hooks.pickLocation(
        prompt("からｼﾞｬﾝﾌﾟするﾌｨｰﾙﾄﾞと座標を選択"), e.jumpField, e.jumpPosition);
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
    if (takeResource(ResourceKind::Sound, prompt("を通過する時の効果音を一つ選択"), enter().ensound, kSoundCount))
        enterview();
}

void EnterPage::ensoundplayClick() { owner_.playSound(enter().ensound); }

void EnterPage::enshowitemsetClick() {
    takeItem(owner_, words() + QStringLiteral("が出現する為に必要なｱｲﾃﾑを一つ選択"), enter().enshowitem);
    enterview();
}

void EnterPage::enshoweventsetClick() {
    takeEvent(owner_, words() + QStringLiteral("が出現する為に必要なｲﾍﾞﾝﾄを一つ選択"), enter().enshowevent);
    enterview();
}

void EnterPage::enwantitemdelClick() { clearReference(enter().enwantitem); }
void EnterPage::ensounddelClick() { clearReference(enter().ensound); }
void EnterPage::enshowitemdelClick() { clearReference(enter().enshowitem); }
void EnterPage::enshoweventdelClick() { clearReference(enter().enshowevent); }

}  // namespace qrn
