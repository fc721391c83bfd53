#include "properties/placepage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "pickers/picturebox.h"
#include "services/choosers.h"
#include "services/editorcontext.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "properties/paramedit.h"
#include "scenario/numericrule.h"
#include "scenario/objectrules.h"
#include "scenario/maplayers.h"

namespace qrn {

namespace {

// Healing / damage as the box shows it: 255 as its word.
QString passingText(u8 value, const char* fullWord) {
    return value == 255 ? QString::fromUtf8(fullWord) : QString::number(value);
}

}  // namespace

PlacePage::PlacePage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("placepanel"));
    int row = 0;

    // 一般
    QWidget* s1 = addSheet(this, "placesheet1", "一般", 64000);
    QGridLayout* g1 = sheetGrid(s1);
    placename_ = addNameRows(g1, row, "placename", QStringLiteral("地形名(&N)"));
    plfilename_ = addPageRow(g1, row, "plfilename", QStringLiteral("ｲﾒｰｼﾞ  (&I)"), RowExtra::Picture, false);
    plmove_ = new QCheckBox(QStringLiteral("通過可能(&R)"), s1);
    plmove_->setObjectName(QStringLiteral("plmove"));
    plmove_->setToolTip(QStringLiteral("通行の可／不可"));
    g1->addWidget(plmove_, row++, 0, 1, 4);
    plenemytype_ = addPageRow(g1, row, "plenemytype", QStringLiteral("遭遇敵ｸﾞﾙｰﾌﾟ  (&E)"), RowExtra::Wide);
    plwonderingedit_ = numberBox(QStringLiteral("plwonderingedit"), numericedits::plwondering(), 0, s1);
    plwondering_ = upDown(QStringLiteral("plwondering"), 0, 100, s1);
    QLabel* wonderLabel = labelledWithUpDown(g1, row++, QStringLiteral("遭遇確率(&D)"), plwonderingedit_, plwondering_);
    plwalkimg_ = addPageRow(g1, row, "plwalkimg", QStringLiteral("ｳｫｰｸｲﾒｰｼﾞ  (&A)"), RowExtra::Picture);
    g1->setRowStretch(row, 1);

    // 特殊
    row = 0;
    QWidget* s2 = addSheet(this, "placesheet2", "特殊", 65000);
    QGridLayout* g2 = sheetGrid(s2);
    plwantitem_ = addPageRow(g2, row, "plwantitem", QStringLiteral("通過条件  (&F)"), RowExtra::Picture);
    plhealingedit_ = numberBox(QStringLiteral("plhealingedit"), numericedits::plhealing(), 1, s2);
    plhealing_ = upDown(QStringLiteral("plhealing"), -1, 127, s2);
    QLabel* healLabel = labelledWithUpDown(g2, row++, QStringLiteral("通過回復(&H)"), plhealingedit_, plhealing_);
    pldamageedit_ = numberBox(QStringLiteral("pldamageedit"), numericedits::pldamage(), 2, s2);
    pldamage_ = upDown(QStringLiteral("pldamage"), -1, 127, s2);
    QLabel* damageLabel = labelledWithUpDown(g2, row++, QStringLiteral("通過ﾀﾞﾒｰｼﾞ(&D)"), pldamageedit_, pldamage_);
    plrecover_ = addPageRow(g2, row, "plrecover", QStringLiteral("回復／回避ｱｲﾃﾑ (&I)"), RowExtra::Picture);
    plsound_ = addPageRow(g2, row, "plsound", QStringLiteral("通過時の効果音  (&S)"), RowExtra::Play);
    g2->setRowStretch(row, 1);

    // ｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞ
    row = 0;
    QWidget* s3 = addSheet(this, "placesheet3", "ｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞ", 66000);
    QGridLayout* g3 = sheetGrid(s3);
    plextendfilename_ =
        addPageRow(g3, row, "plextendfilename", QStringLiteral("ｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞ  (&X)"), RowExtra::Picture);
    g3->addWidget(new QLabel(QStringLiteral("出現条件"), s3), row++, 0, 1, 4);
    plshowitem_ = addPageRow(g3, row, "plshowitem", QStringLiteral("ｱｲﾃﾑ  (&I)"), RowExtra::Wide);
    plshowevent_ = addPageRow(g3, row, "plshowevent", QStringLiteral("ｲﾍﾞﾝﾄ  (&E)"), RowExtra::Wide);
    g3->setRowStretch(row, 1);

    // Passing settings mean nothing on terrain nobody can enter.
    passingControls_ = {wonderLabel, plwonderingedit_, plwondering_,   healLabel,
                        plhealingedit_, plhealing_,    damageLabel,    pldamageedit_, pldamage_};
    for (const PageRow* r : {&plenemytype_, &plwalkimg_, &plwantitem_, &plrecover_, &plsound_})
        passingControls_ += r->widgets();

    connect(placename_, &QLineEdit::textChanged, this, &PlacePage::placenameChange);
    connect(plmove_, &QCheckBox::clicked, this, &PlacePage::plmoveClick);
    connectRow(this, plfilename_, &PlacePage::plfilenamesetClick);
    connectRow(this, plextendfilename_, &PlacePage::plextendfilenamesetClick, &PlacePage::plextendfilenamedelClick);
    connectRow(this, plenemytype_, &PlacePage::plenemytypesetClick, &PlacePage::plenemytypedelClick);
    connectRow(this, plwalkimg_, &PlacePage::plwalkimgsetClick, &PlacePage::plwalkimgdelClick);
    connectRow(this, plwantitem_, &PlacePage::plwantitemsetClick, &PlacePage::plwantitemdelClick);
    connectRow(this, plrecover_, &PlacePage::plrecoversetClick, &PlacePage::plrecoverdelClick);
    connectRow(this, plsound_, &PlacePage::plsoundsetClick, &PlacePage::plsounddelClick,
               &PlacePage::plsoundplayClick);
    connectRow(this, plshowitem_, &PlacePage::plshowitemsetClick, &PlacePage::plshowitemdelClick);
    connectRow(this, plshowevent_, &PlacePage::plshoweventsetClick, &PlacePage::plshoweventdelClick);

    plwonderingedit_->store = [this](std::int64_t v) {
        place().plwondering = static_cast<u8>(v);
        // The arrows step on from what was typed.
        const QSignalBlocker quiet(plwondering_);
        plwondering_->setValue(static_cast<int>(v));
    };
    plhealingedit_->store = [this](std::int64_t v) { place().plhealing = static_cast<u8>(v); };
    pldamageedit_->store = [this](std::int64_t v) { place().pldamage = static_cast<u8>(v); };
    for (NumericEdit* e : {plwonderingedit_, plhealingedit_, pldamageedit_}) e->rerender = [this] { placeview(); };
    auto upDownStore = [this](QSpinBox* box, u8 PlaceDef::*field) {
        connect(box, &QSpinBox::valueChanged, this, [this, field](int v) {
            if (rendering_) return;
            place().*field = static_cast<u8>(v < 0 ? 255 : v);
            placeview();
        });
    };
    upDownStore(plwondering_, &PlaceDef::plwondering);
    upDownStore(plhealing_, &PlaceDef::plhealing);
    upDownStore(pldamage_, &PlaceDef::pldamage);
}

int PlacePage::number() const { return owner_.currentObject(kPlace); }

PlaceDef& PlacePage::place() const { return editor().scenario.place(number()); }

QString PlacePage::words() const { return Tparamedit::objectWords(kPlace, fromCp932(place().name.view())); }

QString PlacePage::prompt(const char* what) const { return QStringLiteral("：") + words() + QString::fromUtf8(what); }

void PlacePage::clearReference(unsigned char& reference) {
    reference = 0;
    placeview();
}

// ---- showing -------------------------------------------------------------------

void PlacePage::plmoveset() {
    const bool passable = place().plmove != 0;
    for (QWidget* w : passingControls_) w->setEnabled(passable);
    for (NumericEdit* e : {plwonderingedit_, plhealingedit_, pldamageedit_}) openNumericBox(e, passable);
    placeview();
}

void PlacePage::placeview() {
    EditorContext& ctx = editor();
    const int n = number();
    PlaceDef& p = place();
    const ShortString255& extend = ctx.scenario.placeImage2Files[n - 1];
    applyPlaceRules(p, extend);
    const bool passable = p.plmove != 0;
    rendering_ = true;
    {
        const QSignalBlocker nameBlock(placename_);
        if (placename_->bytes() != p.name.str()) placename_->setBytes(p.name.view());
    }
    owner_.setObjectCaption(kPlace, fromCp932(p.name.view()));
    plfilename_.value->setText(fileRefName(ctx.scenario.placeImageFiles[n - 1], QString()));
    plfilename_.pic->setIndex(pictureIndex(ctx.side.pictures, kPlace, n));
    {
        const QSignalBlocker block(plmove_);
        plmove_->setChecked(passable);
    }
    plenemytype_.value->setText(enemyGroupRefName(p.plenemytype, QStringLiteral("出現しない")));
    plwonderingedit_->showText(QString::number(p.plwondering));
    plwondering_->setValue(p.plwondering);
    plwalkimg_.value->setText(walkImageRefName(p.plwalkimg, QStringLiteral("ﾃﾞﾌｫﾙﾄ")));
    plwalkimg_.pic->setIndex(p.plwalkimg >= 1 && p.plwalkimg <= kWalkImgCount
                                ? ctx.side.pictures.walk[p.plwalkimg][1] : 0);
    plwantitem_.value->setText(itemRefName(p.plwantitem));
    plwantitem_.pic->setIndex(itemPictureIndex(p.plwantitem));
    plhealingedit_->showText(passingText(p.plhealing, "全"));
    plhealing_->setValue(passingUpDownPosition(p.plhealing));
    pldamageedit_->showText(passingText(p.pldamage, "死"));
    pldamage_->setValue(passingUpDownPosition(p.pldamage));
    const bool recoverOpen = passable && (p.plhealing != 0 || p.pldamage != 0);
    for (QWidget* w : plrecover_.widgets()) w->setEnabled(recoverOpen);
    plrecover_.value->setText(itemRefName(p.plrecover));
    plrecover_.pic->setIndex(itemPictureIndex(p.plrecover));
    plsound_.value->setText(soundRefName(p.plsound));
    plextendfilename_.value->setText(fileRefName(extend));
    plextendfilename_.pic->setIndex(n >= 1 && n <= kPlaceCount ? ctx.side.pictures.place2[n] : 0);
    const bool showOpen = !extend.empty();
    for (QWidget* w : plshowitem_.widgets() + plshowevent_.widgets()) w->setEnabled(showOpen);
    plshowitem_.value->setText(itemRefName(p.plshowitem));
    plshowevent_.value->setText(eventRefName(p.plshowevent));
    rendering_ = false;
}

// ---- editing -------------------------------------------------------------------

void PlacePage::placenameChange() {
    if (rendering_) return;
    place().name.assign(placename_->bytes());
    owner_.setObjectCaption(kPlace, placename_->text());
    if (owner_.hooks().namesChanged) owner_.hooks().namesChanged(kPlace);
}

void PlacePage::plmoveClick() {
    setPlacePassable(place(), plmove_->isChecked());
    plmoveset();
}

void PlacePage::setPicture(bool second) {
    const int n = number();
    Scenario& s = editor().scenario;
    ShortString255& slot = second ? s.placeImage2Files[n - 1] : s.placeImageFiles[n - 1];
    std::int32_t& index = second ? editor().side.pictures.place2[n] : editor().side.pictures.place[n];
    if (chooseObjectPicture(owner_, kPlace, place(), second, slot, index)) placeview();
}

void PlacePage::plfilenamesetClick() { setPicture(false); }
void PlacePage::plextendfilenamesetClick() { setPicture(true); }

void PlacePage::plextendfilenamedelClick() {
    editor().scenario.placeImage2Files[number() - 1].clear();
    editor().side.pictures.place2[number()] = 0;
    placeview();
}

void PlacePage::plenemytypesetClick() {
    if (takeResource(ResourceKind::EnemyGroup, prompt("で出現する敵グループを一つ選択"), place().plenemytype,
                     kEnemyTypeCount))
        placeview();
}

void PlacePage::plwalkimgsetClick() {
    if (takeResource(ResourceKind::WalkImage, prompt("を通過する時のウォークイメージを一つ選択"), place().plwalkimg,
                     kWalkImgCount))
        placeview();
}

void PlacePage::plsoundsetClick() {
    if (takeResource(ResourceKind::Sound, prompt("を通過する時の効果音を一つ選択"), place().plsound, kSoundCount))
        placeview();
}

void PlacePage::plsoundplayClick() { owner_.playSound(place().plsound); }

void PlacePage::plwantitemsetClick() {
    takeItem(owner_, words() + QStringLiteral("を通過する為に必要なｱｲﾃﾑを一つ選択"), place().plwantitem);
    placeview();
}

void PlacePage::plrecoversetClick() {
    takeItem(owner_, words() + QStringLiteral("で回復とﾀﾞﾒｰｼﾞ回避に必要なｱｲﾃﾑを一つ選択"), place().plrecover);
    placeview();
}

void PlacePage::plshowitemsetClick() {
    takeItem(owner_, words() + QStringLiteral("のｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞが出現する為に必要なｱｲﾃﾑを一つ選択"), place().plshowitem);
    placeview();
}

void PlacePage::plshoweventsetClick() {
    takeEvent(owner_, words() + QStringLiteral("のｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞが出現する為に必要なｲﾍﾞﾝﾄを一つ選択"), place().plshowevent);
    placeview();
}

void PlacePage::plenemytypedelClick() { clearReference(place().plenemytype); }
void PlacePage::plwalkimgdelClick() { clearReference(place().plwalkimg); }
void PlacePage::plsounddelClick() { clearReference(place().plsound); }
void PlacePage::plwantitemdelClick() { clearReference(place().plwantitem); }
void PlacePage::plrecoverdelClick() { clearReference(place().plrecover); }
void PlacePage::plshowitemdelClick() { clearReference(place().plshowitem); }
void PlacePage::plshoweventdelClick() { clearReference(place().plshowevent); }

}  // namespace qrn
