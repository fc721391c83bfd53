// The two enemy pages of the character page control: status, drop item,
// battle image, magic, special attacks, battle music and hit sound.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "properties/charapage.h"
#include "properties/charapage_parts.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "scenario/numericrule.h"
#include "scenario/scenario.h"

namespace qrn {

using namespace charaparts;

void CharaPage::buildEnemyGeneral() {
    QWidget* s = sheet(this, "charasheet5", "敵一般", 147000);
    QGridLayout* g = grid(s);
    chantimagic_ = new QCheckBox(QStringLiteral("魔法防御(&S)"), s);
    chantimagic_->setObjectName(QStringLiteral("chantimagic"));
    chantimagic_->setToolTip(QStringLiteral("催眠、魔法封印を無効化"));
    g->addWidget(chantimagic_, 0, 0, 1, 4);
    chpower_ = numberBox(QStringLiteral("chpower"), numericedits::chpower(), 0, s);
    labelled(g, 1, QStringLiteral("体力(&P)"), chpower_, s);
    const struct {
        const char* name;
        const char* caption;
    } statuses[] = {{"chattack", "攻撃力(&A)"},     {"chdefence", "防御力(&D)"}, {"chdextality", "素早さ(&X)"},
                    {"chmoney", "所持金(&M)"},      {"chexperience", "経験値(&E)"}};
    for (int tag = 1; tag <= 5; ++tag) {
        const auto& st = statuses[tag - 1];
        NumericEdit* e = numberBox(QString::fromLatin1(st.name), numericedits::chstatus(), tag, s);
        labelled(g, 1 + tag, QString::fromUtf8(st.caption), e, s);
        status_[static_cast<std::size_t>(tag - 1)] = e;
    }
    auto* dropSet = pageButton(QStringLiteral("chitemset"), QStringLiteral("ﾄﾞﾛｯﾌﾟｱｲﾃﾑ  (&I)"), s);
    auto* dropDel = pageButton(QStringLiteral("chitemdel"), QStringLiteral("消"), s);
    chitem_ = valueLabel(QStringLiteral("chitem"), s);
    chitempic_ = new PictureBox(QStringLiteral("chitempic"), s);
    g->addWidget(dropSet, 7, 0, 1, 2);
    g->addWidget(dropDel, 7, 2);
    g->addWidget(chitempic_, 7, 3, 2, 1);
    g->addWidget(chitem_, 8, 0, 1, 3);
    chitemputedit_ = numberBox(QStringLiteral("chitemputedit"), numericedits::chpercent(), 1, s);
    chitemput_ = upDown(QStringLiteral("chitemput"), s);
    dropLabel_ = percentRow(g, 9, QStringLiteral("ﾄﾞﾛｯﾌﾟ確率(&G)"), chitemputedit_, chitemput_, s);
    auto* bossSet = pageButton(QStringLiteral("chbossimgset"), QStringLiteral("ﾊﾞﾄﾙｲﾒｰｼﾞ  (&B)"), s);
    auto* bossDel = pageButton(QStringLiteral("chbossimgdel"), QStringLiteral("消"), s);
    auto* bossView = pageButton(QStringLiteral("chbossimgview"), QStringLiteral("見る"), s);
    chbossimg_ = valueLabel(QStringLiteral("chbossimg"), s);
    g->addWidget(bossSet, 10, 0, 1, 2);
    g->addWidget(bossDel, 10, 2);
    g->addWidget(bossView, 10, 3);
    g->addWidget(chbossimg_, 11, 0, 1, 4);
    g->setRowStretch(12, 1);

    connect(chantimagic_, &QCheckBox::clicked, this, &CharaPage::chantimagicClick);
    connect(dropSet, &QPushButton::clicked, this, &CharaPage::chitemsetClick);
    connect(dropDel, &QPushButton::clicked, this, &CharaPage::chitemdelClick);
    connect(bossSet, &QPushButton::clicked, this, &CharaPage::chbossimgsetClick);
    connect(bossDel, &QPushButton::clicked, this, &CharaPage::chbossimgdelClick);
    connect(bossView, &QPushButton::clicked, this, &CharaPage::chbossimgviewClick);
    chpower_->store = [this](std::int64_t v) { chara().chpower = static_cast<u16>(v); };
    status_[0]->store = [this](std::int64_t v) { chara().chattack = static_cast<u16>(v); };
    status_[1]->store = [this](std::int64_t v) { chara().chdefence = static_cast<u16>(v); };
    status_[2]->store = [this](std::int64_t v) { chara().chdextality = static_cast<u16>(v); };
    status_[3]->store = [this](std::int64_t v) { chara().chmoney = static_cast<u16>(v); };
    status_[4]->store = [this](std::int64_t v) { chara().chexperience = static_cast<u16>(v); };
    chitemputedit_->store = [this](std::int64_t v) { chara().chitemput = static_cast<u8>(v); };
    connect(chitemput_, &QSpinBox::valueChanged, this, [this](int v) {
        if (rendering_) return;
        chara().chitemput = static_cast<u8>(v);
        charaview();
    });
}

void CharaPage::buildEnemySpecial() {
    QWidget* s = sheet(this, "charasheet6", "敵特殊", 148000);
    QGridLayout* g = grid(s);
    auto* magicSet = pageButton(QStringLiteral("chmagicset"), QStringLiteral("使用魔法  (&M)"), s);
    auto* magicDel = pageButton(QStringLiteral("chmagicdel"), QStringLiteral("消"), s);
    chmagic_ = readOnlyList(QStringLiteral("chmagic"), 76, s);
    g->addWidget(magicSet, 0, 0, 1, 3);
    g->addWidget(magicDel, 0, 3);
    g->addWidget(chmagic_, 1, 0, 1, 4);
    chmagicuseedit_ = numberBox(QStringLiteral("chmagicuseedit"), numericedits::chpercent(), 2, s);
    chmagicuse_ = upDown(QStringLiteral("chmagicuse"), s);
    percentRow(g, 2, QStringLiteral("魔法使用頻度    (&U)"), chmagicuseedit_, chmagicuse_, s);
    auto* poisonSet = pageButton(QStringLiteral("chpoisonset"), QStringLiteral("特殊攻撃  (&P)"), s);
    auto* poisonDel = pageButton(QStringLiteral("chpoisondel"), QStringLiteral("消"), s);
    chpoison_ = readOnlyList(QStringLiteral("chpoison"), 76, s);
    g->addWidget(poisonSet, 3, 0, 1, 3);
    g->addWidget(poisonDel, 3, 3);
    g->addWidget(chpoison_, 4, 0, 1, 4);
    chpoisonuseedit_ = numberBox(QStringLiteral("chpoisonuseedit"), numericedits::chpercent(), 3, s);
    chpoisonuse_ = upDown(QStringLiteral("chpoisonuse"), s);
    percentRow(g, 5, QStringLiteral("特殊攻撃使用頻度(&L)"), chpoisonuseedit_, chpoisonuse_, s);
    auto* bgmSet = pageButton(QStringLiteral("chbattlebgmset"), QStringLiteral("戦闘中のBGM  (&B)"), s);
    auto* bgmDel = pageButton(QStringLiteral("chbattlebgmdel"), QStringLiteral("消"), s);
    auto* bgmPlay = pageButton(QStringLiteral("chbattlebgmplay"), QStringLiteral("♪"), s);
    chbattlebgm_ = valueLabel(QStringLiteral("chbattlebgm"), s);
    g->addWidget(bgmSet, 6, 0, 1, 2);
    g->addWidget(bgmDel, 6, 2);
    g->addWidget(bgmPlay, 6, 3);
    g->addWidget(chbattlebgm_, 7, 0, 1, 4);
    auto* soundSet = pageButton(QStringLiteral("chbattlesoundset"), QStringLiteral("打撃効果音  (&D)"), s);
    auto* soundDel = pageButton(QStringLiteral("chbattlesounddel"), QStringLiteral("消"), s);
    auto* soundPlay = pageButton(QStringLiteral("chbattlesoundplay"), QStringLiteral("♪"), s);
    chbattlesound_ = valueLabel(QStringLiteral("chbattlesound"), s);
    g->addWidget(soundSet, 8, 0, 1, 2);
    g->addWidget(soundDel, 8, 2);
    g->addWidget(soundPlay, 8, 3);
    g->addWidget(chbattlesound_, 9, 0, 1, 4);
    g->setRowStretch(10, 1);

    connect(magicSet, &QPushButton::clicked, this, &CharaPage::chmagicsetClick);
    connect(magicDel, &QPushButton::clicked, this, &CharaPage::chmagicdelClick);
    connect(poisonSet, &QPushButton::clicked, this, &CharaPage::chpoisonsetClick);
    connect(poisonDel, &QPushButton::clicked, this, &CharaPage::chpoisondelClick);
    connect(bgmSet, &QPushButton::clicked, this, &CharaPage::chbattlebgmsetClick);
    connect(bgmDel, &QPushButton::clicked, this, &CharaPage::chbattlebgmdelClick);
    connect(bgmPlay, &QPushButton::clicked, this, &CharaPage::chbattlebgmplayClick);
    connect(soundSet, &QPushButton::clicked, this, &CharaPage::chbattlesoundsetClick);
    connect(soundDel, &QPushButton::clicked, this, &CharaPage::chbattlesounddelClick);
    connect(soundPlay, &QPushButton::clicked, this, &CharaPage::chbattlesoundplayClick);
    chmagicuseedit_->store = [this](std::int64_t v) { chara().chmagicuse = static_cast<u8>(v); };
    chpoisonuseedit_->store = [this](std::int64_t v) { chara().chpoisonuse = static_cast<u8>(v); };
    connect(chmagicuse_, &QSpinBox::valueChanged, this, [this](int v) {
        if (rendering_) return;
        chara().chmagicuse = static_cast<u8>(v);
        charaview();
    });
    connect(chpoisonuse_, &QSpinBox::valueChanged, this, [this](int v) {
        if (rendering_) return;
        chara().chpoisonuse = static_cast<u8>(v);
        charaview();
    });
}

}  // namespace qrn
