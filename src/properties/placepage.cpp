#include "properties/placepage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "services/choosers.h"
#include "services/editorcontext.h"
#include "services/imeset.h"
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

QWidget* sheet(QTabWidget* panel, const char* name, const char* caption, int help) {
    auto* w = new QWidget(panel);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("helpContext", help);
    panel->addTab(w, QString::fromUtf8(caption));
    return w;
}

QSpinBox* upDown(const QString& name, int low, int high, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(low, high);
    s->setFixedWidth(20);
    s->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    s->setAttribute(Qt::WA_InputMethodEnabled, false);
    return s;
}

// Healing / damage as the box shows it: 255 as its word.
QString passingText(u8 value, const char* fullWord) {
    return value == 255 ? QString::fromUtf8(fullWord) : QString::number(value);
}

}  // namespace

PlacePage::PlacePage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("placepanel"));

    // 一般
    QWidget* s1 = sheet(this, "placesheet1", "一般", 64000);
    auto* g1 = new QGridLayout(s1);
    g1->setContentsMargins(4, 4, 4, 4);
    g1->setVerticalSpacing(2);
    g1->addWidget(new QLabel(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), s1), 0, 0, 1, 4);
    auto* nameLabel = new QLabel(QStringLiteral("地形名(&N)"), s1);
    placename_ = new ShortStringEdit(32, s1);
    placename_->setObjectName(QStringLiteral("placename"));
    nameLabel->setBuddy(placename_);
    imesetOnEnter(placename_);
    g1->addWidget(nameLabel, 1, 0, 1, 4);
    g1->addWidget(placename_, 2, 0, 1, 4);
    auto* imageSet = pageButton(QStringLiteral("plfilenameset"), QStringLiteral("ｲﾒｰｼﾞ  (&I)"), s1);
    plfilenamepic_ = new PictureBox(QStringLiteral("plfilenamepic"), s1);
    plfilename_ = valueLabel(QStringLiteral("plfilename"), s1);
    g1->addWidget(imageSet, 3, 0, 1, 3);
    g1->addWidget(plfilenamepic_, 3, 3, 2, 1);
    g1->addWidget(plfilename_, 4, 0, 1, 3);
    plmove_ = new QCheckBox(QStringLiteral("通過可能(&R)"), s1);
    plmove_->setObjectName(QStringLiteral("plmove"));
    plmove_->setToolTip(QStringLiteral("通行の可／不可"));
    g1->addWidget(plmove_, 5, 0, 1, 4);
    plenemytypeset_ = pageButton(QStringLiteral("plenemytypeset"), QStringLiteral("遭遇敵ｸﾞﾙｰﾌﾟ  (&E)"), s1);
    plenemytypedel_ = pageButton(QStringLiteral("plenemytypedel"), QStringLiteral("消"), s1);
    plenemytype_ = valueLabel(QStringLiteral("plenemytype"), s1);
    g1->addWidget(plenemytypeset_, 6, 0, 1, 3);
    g1->addWidget(plenemytypedel_, 6, 3);
    g1->addWidget(plenemytype_, 7, 0, 1, 4);
    auto* wonderLabel = new QLabel(QStringLiteral("遭遇確率(&D)"), s1);
    plwonderingedit_ = new NumericEdit(numericedits::plwondering(), s1);
    plwonderingedit_->setObjectName(QStringLiteral("plwonderingedit"));
    plwondering_ = upDown(QStringLiteral("plwondering"), 0, 100, s1);
    wonderLabel->setBuddy(plwonderingedit_);
    g1->addWidget(wonderLabel, 8, 0);
    g1->addWidget(plwonderingedit_, 8, 1, 1, 2);
    g1->addWidget(plwondering_, 8, 3);
    plwalkimgset_ = pageButton(QStringLiteral("plwalkimgset"), QStringLiteral("ｳｫｰｸｲﾒｰｼﾞ  (&A)"), s1);
    plwalkimgdel_ = pageButton(QStringLiteral("plwalkimgdel"), QStringLiteral("消"), s1);
    plwalkimg_ = valueLabel(QStringLiteral("plwalkimg"), s1);
    plwalkimgpic_ = new PictureBox(QStringLiteral("plwalkimgpic"), s1);
    g1->addWidget(plwalkimgset_, 9, 0, 1, 2);
    g1->addWidget(plwalkimgdel_, 9, 2);
    g1->addWidget(plwalkimgpic_, 9, 3, 2, 1);
    g1->addWidget(plwalkimg_, 10, 0, 1, 3);
    g1->setRowStretch(11, 1);

    // 特殊
    QWidget* s2 = sheet(this, "placesheet2", "特殊", 65000);
    auto* g2 = new QGridLayout(s2);
    g2->setContentsMargins(4, 4, 4, 4);
    g2->setVerticalSpacing(2);
    plwantitemset_ = pageButton(QStringLiteral("plwantitemset"), QStringLiteral("通過条件  (&F)"), s2);
    plwantitemdel_ = pageButton(QStringLiteral("plwantitemdel"), QStringLiteral("消"), s2);
    plwantitem_ = valueLabel(QStringLiteral("plwantitem"), s2);
    plwantitempic_ = new PictureBox(QStringLiteral("plwantitempic"), s2);
    g2->addWidget(plwantitemset_, 0, 0, 1, 2);
    g2->addWidget(plwantitemdel_, 0, 2);
    g2->addWidget(plwantitempic_, 0, 3, 2, 1);
    g2->addWidget(plwantitem_, 1, 0, 1, 3);
    auto* healLabel = new QLabel(QStringLiteral("通過回復(&H)"), s2);
    plhealingedit_ = new NumericEdit(numericedits::plhealing(), s2);
    plhealingedit_->setObjectName(QStringLiteral("plhealingedit"));
    plhealingedit_->setProperty("tag", 1);
    plhealing_ = upDown(QStringLiteral("plhealing"), -1, 127, s2);
    healLabel->setBuddy(plhealingedit_);
    g2->addWidget(healLabel, 2, 0);
    g2->addWidget(plhealingedit_, 2, 1, 1, 2);
    g2->addWidget(plhealing_, 2, 3);
    auto* damageLabel = new QLabel(QStringLiteral("通過ﾀﾞﾒｰｼﾞ(&D)"), s2);
    pldamageedit_ = new NumericEdit(numericedits::pldamage(), s2);
    pldamageedit_->setObjectName(QStringLiteral("pldamageedit"));
    pldamageedit_->setProperty("tag", 2);
    pldamage_ = upDown(QStringLiteral("pldamage"), -1, 127, s2);
    damageLabel->setBuddy(pldamageedit_);
    g2->addWidget(damageLabel, 3, 0);
    g2->addWidget(pldamageedit_, 3, 1, 1, 2);
    g2->addWidget(pldamage_, 3, 3);
    plrecoverset_ = pageButton(QStringLiteral("plrecoverset"), QStringLiteral("回復／回避ｱｲﾃﾑ (&I)"), s2);
    plrecoverdel_ = pageButton(QStringLiteral("plrecoverdel"), QStringLiteral("消"), s2);
    plrecover_ = valueLabel(QStringLiteral("plrecover"), s2);
    plrecoverpic_ = new PictureBox(QStringLiteral("plrecoverpic"), s2);
    g2->addWidget(plrecoverset_, 4, 0, 1, 2);
    g2->addWidget(plrecoverdel_, 4, 2);
    g2->addWidget(plrecoverpic_, 4, 3, 2, 1);
    g2->addWidget(plrecover_, 5, 0, 1, 3);
    plsoundset_ = pageButton(QStringLiteral("plsoundset"), QStringLiteral("通過時の効果音  (&S)"), s2);
    plsounddel_ = pageButton(QStringLiteral("plsounddel"), QStringLiteral("消"), s2);
    plsoundplay_ = pageButton(QStringLiteral("plsoundplay"), QStringLiteral("♪"), s2);
    plsound_ = valueLabel(QStringLiteral("plsound"), s2);
    g2->addWidget(plsoundset_, 6, 0, 1, 2);
    g2->addWidget(plsounddel_, 6, 2);
    g2->addWidget(plsoundplay_, 6, 3);
    g2->addWidget(plsound_, 7, 0, 1, 4);
    g2->setRowStretch(8, 1);

    // ｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞ
    QWidget* s3 = sheet(this, "placesheet3", "ｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞ", 66000);
    auto* g3 = new QGridLayout(s3);
    g3->setContentsMargins(4, 4, 4, 4);
    g3->setVerticalSpacing(2);
    plextendfilenameset_ =
        pageButton(QStringLiteral("plextendfilenameset"), QStringLiteral("ｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞ  (&X)"), s3);
    plextendfilenamedel_ = pageButton(QStringLiteral("plextendfilenamedel"), QStringLiteral("消"), s3);
    plextendfilename_ = valueLabel(QStringLiteral("plextendfilename"), s3);
    plextendfilenamepic_ = new PictureBox(QStringLiteral("plextendfilenamepic"), s3);
    g3->addWidget(plextendfilenameset_, 0, 0, 1, 2);
    g3->addWidget(plextendfilenamedel_, 0, 2);
    g3->addWidget(plextendfilenamepic_, 0, 3, 2, 1);
    g3->addWidget(plextendfilename_, 1, 0, 1, 3);
    g3->addWidget(new QLabel(QStringLiteral("出現条件"), s3), 2, 0, 1, 4);
    plshowitemset_ = pageButton(QStringLiteral("plshowitemset"), QStringLiteral("ｱｲﾃﾑ  (&I)"), s3);
    plshowitemdel_ = pageButton(QStringLiteral("plshowitemdel"), QStringLiteral("消"), s3);
    plshowitem_ = valueLabel(QStringLiteral("plshowitem"), s3);
    g3->addWidget(plshowitemset_, 3, 0, 1, 3);
    g3->addWidget(plshowitemdel_, 3, 3);
    g3->addWidget(plshowitem_, 4, 0, 1, 4);
    plshoweventset_ = pageButton(QStringLiteral("plshoweventset"), QStringLiteral("ｲﾍﾞﾝﾄ  (&E)"), s3);
    plshoweventdel_ = pageButton(QStringLiteral("plshoweventdel"), QStringLiteral("消"), s3);
    plshowevent_ = valueLabel(QStringLiteral("plshowevent"), s3);
    g3->addWidget(plshoweventset_, 5, 0, 1, 3);
    g3->addWidget(plshoweventdel_, 5, 3);
    g3->addWidget(plshowevent_, 6, 0, 1, 4);
    g3->setRowStretch(7, 1);

    passingControls_ = {wonderLabel,     plwonderingedit_, plwondering_,    plenemytype_,  plenemytypeset_,
                        plenemytypedel_, plwalkimg_,       plwalkimgset_,   plwalkimgdel_, plwalkimgpic_,
                        plwantitem_,     plwantitemset_,   plwantitemdel_,  plwantitempic_, healLabel,
                        plhealingedit_,  plhealing_,       damageLabel,     pldamageedit_, pldamage_,
                        plrecover_,      plrecoverset_,    plrecoverdel_,   plrecoverpic_, plsound_,
                        plsoundset_,     plsounddel_,      plsoundplay_};

    connect(placename_, &QLineEdit::textChanged, this, &PlacePage::placenameChange);
    connect(plmove_, &QCheckBox::clicked, this, &PlacePage::plmoveClick);
    connect(imageSet, &QPushButton::clicked, this, &PlacePage::plfilenamesetClick);
    connect(plextendfilenameset_, &QPushButton::clicked, this, &PlacePage::plextendfilenamesetClick);
    connect(plextendfilenamedel_, &QPushButton::clicked, this, &PlacePage::plextendfilenamedelClick);
    connect(plenemytypeset_, &QPushButton::clicked, this, &PlacePage::plenemytypesetClick);
    connect(plenemytypedel_, &QPushButton::clicked, this, &PlacePage::plenemytypedelClick);
    connect(plwalkimgset_, &QPushButton::clicked, this, &PlacePage::plwalkimgsetClick);
    connect(plwalkimgdel_, &QPushButton::clicked, this, &PlacePage::plwalkimgdelClick);
    connect(plwantitemset_, &QPushButton::clicked, this, &PlacePage::plwantitemsetClick);
    connect(plwantitemdel_, &QPushButton::clicked, this, &PlacePage::plwantitemdelClick);
    connect(plrecoverset_, &QPushButton::clicked, this, &PlacePage::plrecoversetClick);
    connect(plrecoverdel_, &QPushButton::clicked, this, &PlacePage::plrecoverdelClick);
    connect(plsoundset_, &QPushButton::clicked, this, &PlacePage::plsoundsetClick);
    connect(plsounddel_, &QPushButton::clicked, this, &PlacePage::plsounddelClick);
    connect(plsoundplay_, &QPushButton::clicked, this, &PlacePage::plsoundplayClick);
    connect(plshowitemset_, &QPushButton::clicked, this, &PlacePage::plshowitemsetClick);
    connect(plshowitemdel_, &QPushButton::clicked, this, &PlacePage::plshowitemdelClick);
    connect(plshoweventset_, &QPushButton::clicked, this, &PlacePage::plshoweventsetClick);
    connect(plshoweventdel_, &QPushButton::clicked, this, &PlacePage::plshoweventdelClick);

    plwonderingedit_->store = [this](std::int64_t v) { place().plwondering = static_cast<u8>(v); };
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

// ---- showing -------------------------------------------------------------------

void PlacePage::plmoveset() {
    const bool passable = place().plmove != 0;
    for (QWidget* w : passingControls_) w->setEnabled(passable);
    for (NumericEdit* e : {plwonderingedit_, plhealingedit_, pldamageedit_})
        e->setBackgroundRole(passable ? QPalette::Base : QPalette::Window);
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
    plfilename_->setText(fileRefName(ctx.scenario.placeImageFiles[n - 1], QString()));
    plfilenamepic_->setIndex(pictureIndex(ctx.side.pictures, kPlace, n));
    {
        const QSignalBlocker block(plmove_);
        plmove_->setChecked(passable);
    }
    plenemytype_->setText(enemyGroupRefName(p.plenemytype, QStringLiteral("出現しない")));
    plwonderingedit_->showText(QString::number(p.plwondering));
    plwondering_->setValue(p.plwondering);
    plwalkimg_->setText(walkImageRefName(p.plwalkimg, QStringLiteral("ﾃﾞﾌｫﾙﾄ")));
    plwalkimgpic_->setIndex(p.plwalkimg >= 1 && p.plwalkimg <= kWalkImgCount
                                ? ctx.side.pictures.walk[p.plwalkimg][1] : 0);
    plwantitem_->setText(itemRefName(p.plwantitem));
    plwantitempic_->setIndex(itemPictureIndex(p.plwantitem));
    plhealingedit_->showText(passingText(p.plhealing, "全"));
    plhealing_->setValue(passingUpDownPosition(p.plhealing));
    pldamageedit_->showText(passingText(p.pldamage, "死"));
    pldamage_->setValue(passingUpDownPosition(p.pldamage));
    const bool recoverOpen = passable && (p.plhealing != 0 || p.pldamage != 0);
    for (QWidget* w : std::initializer_list<QWidget*>{plrecover_, plrecoverset_, plrecoverdel_, plrecoverpic_})
        w->setEnabled(recoverOpen);
    plrecover_->setText(itemRefName(p.plrecover));
    plrecoverpic_->setIndex(itemPictureIndex(p.plrecover));
    plsound_->setText(soundRefName(p.plsound));
    plextendfilename_->setText(fileRefName(extend));
    plextendfilenamepic_->setIndex(n >= 1 && n <= kPlaceCount ? ctx.side.pictures.place2[n] : 0);
    const bool showOpen = !extend.empty();
    for (QWidget* w : std::initializer_list<QWidget*>{plshowitem_, plshowitemset_, plshowitemdel_, plshowevent_,
                                                      plshoweventset_, plshoweventdel_})
        w->setEnabled(showOpen);
    plshowitem_->setText(itemRefName(p.plshowitem));
    plshowevent_->setText(eventRefName(p.plshowevent));
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
    EditorContext& ctx = editor();
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.chooseImage) return;
    const int n = number();
    PlaceDef& p = place();
    const std::optional<QString> file = hooks.chooseImage(second ? p.image2Transparent : p.imageTransparent);
    if (!file || file->isEmpty()) return;
    ShortString255& slot = second ? ctx.scenario.placeImage2Files[n - 1] : ctx.scenario.placeImageFiles[n - 1];
    if (!storeImageFile(slot, *file)) return;
    const bool transparent = ctx.state.defaultTransparent;
    const std::uint32_t colour = ctx.state.defaultTransparentColour;
    (second ? p.image2Transparent : p.imageTransparent) = transparent ? 1 : 0;
    (second ? p.image2Colour : p.imageColour) = static_cast<i32>(colour);
    const int index = hooks.addimg ? hooks.addimg(*file, transparent, colour) : 0;
    (second ? ctx.side.pictures.place2[n] : ctx.side.pictures.place[n]) = index;
    if (!second && hooks.picturesChanged) hooks.picturesChanged(kPlace);
    placeview();
}

void PlacePage::plfilenamesetClick() { setPicture(false); }
void PlacePage::plextendfilenamesetClick() { setPicture(true); }

void PlacePage::plextendfilenamedelClick() {
    editor().scenario.placeImage2Files[number() - 1].clear();
    editor().side.pictures.place2[number()] = 0;
    placeview();
}


void PlacePage::plenemytypesetClick() {
    if (takeResource(ResourceKind::EnemyGroup, QStringLiteral("：") + words() + QStringLiteral("で出現する敵グループを一つ選択"),
                     place().plenemytype, kEnemyTypeCount))
        placeview();
}

void PlacePage::plenemytypedelClick() {
    place().plenemytype = 0;
    placeview();
}

void PlacePage::plwalkimgsetClick() {
    if (takeResource(ResourceKind::WalkImage,
                     QStringLiteral("：") + words() + QStringLiteral("を通過する時のウォークイメージを一つ選択"),
                     place().plwalkimg, kWalkImgCount))
        placeview();
}

void PlacePage::plwalkimgdelClick() {
    place().plwalkimg = 0;
    placeview();
}

void PlacePage::plsoundsetClick() {
    if (takeResource(ResourceKind::Sound, QStringLiteral("：") + words() + QStringLiteral("を通過する時の効果音を一つ選択"),
                     place().plsound, kSoundCount))
        placeview();
}

void PlacePage::plsounddelClick() {
    place().plsound = 0;
    placeview();
}

void PlacePage::plsoundplayClick() { owner_.playSound(place().plsound); }


void PlacePage::plwantitemsetClick() {
    takeItem(owner_, words() + QStringLiteral("を通過する為に必要なｱｲﾃﾑを一つ選択"), place().plwantitem);
    placeview();
}

void PlacePage::plwantitemdelClick() {
    place().plwantitem = 0;
    placeview();
}

void PlacePage::plrecoversetClick() {
    takeItem(owner_, words() + QStringLiteral("で回復とﾀﾞﾒｰｼﾞ回避に必要なｱｲﾃﾑを一つ選択"), place().plrecover);
    placeview();
}

void PlacePage::plrecoverdelClick() {
    place().plrecover = 0;
    placeview();
}

void PlacePage::plshowitemsetClick() {
    takeItem(owner_, words() + QStringLiteral("のｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞが出現する為に必要なｱｲﾃﾑを一つ選択"), place().plshowitem);
    placeview();
}

void PlacePage::plshowitemdelClick() {
    place().plshowitem = 0;
    placeview();
}

void PlacePage::plshoweventsetClick() {
    takeEvent(owner_, words() + QStringLiteral("のｴｸｽﾃﾝﾄﾞｲﾒｰｼﾞが出現する為に必要なｲﾍﾞﾝﾄを一つ選択"), place().plshowevent);
    placeview();
}

void PlacePage::plshoweventdelClick() {
    place().plshowevent = 0;
    placeview();
}

}  // namespace qrn
