// The two enemy pages of the character page control: status, drop item,
// battle image, magic, special attacks, battle music and hit sound.
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "properties/charapage.h"
#include "pickers/picturebox.h"
#include "properties/numericedit.h"
#include "properties/pagerows.h"
#include "scenario/numericrule.h"
#include "scenario/scenario.h"

namespace qrn {

void CharaPage::buildEnemyGeneral() {
    int row = 0;
    QWidget* s = addSheet(this, "charasheet5", "敵一般", 147000);
    QGridLayout* g = sheetGrid(s);
    chantimagic_ = new QCheckBox(QStringLiteral("魔法防御(&S)"), s);
    chantimagic_->setObjectName(QStringLiteral("chantimagic"));
    chantimagic_->setToolTip(QStringLiteral("催眠、魔法封印を無効化"));
    g->addWidget(chantimagic_, row++, 0, 1, 4);
    chpower_ = numberBox(QStringLiteral("chpower"), numericedits::chpower(), 0, s);
    labelled(g, row++, QStringLiteral("体力(&P)"), chpower_);
    const struct {
        const char* name;
        const char* caption;
    } statuses[] = {{"chattack", "攻撃力(&A)"},     {"chdefence", "防御力(&D)"}, {"chdextality", "素早さ(&X)"},
                    {"chmoney", "所持金(&M)"},      {"chexperience", "経験値(&E)"}};
    for (int tag = 1; tag <= 5; ++tag) {
        const auto& st = statuses[tag - 1];
        NumericEdit* e = numberBox(QString::fromLatin1(st.name), numericedits::chstatus(), tag, s);
        labelled(g, row++, QString::fromUtf8(st.caption), e);
        status_[static_cast<std::size_t>(tag - 1)] = e;
    }
    const PageRow drop = addPageRow(g, row, "chitem", QStringLiteral("ﾄﾞﾛｯﾌﾟｱｲﾃﾑ  (&I)"), RowExtra::Picture);
    chitem_ = drop.value;
    chitempic_ = drop.pic;
    chitemputedit_ = numberBox(QStringLiteral("chitemputedit"), numericedits::chpercent(), 1, s);
    chitemput_ = upDown(QStringLiteral("chitemput"), 0, 100, s);
    dropLabel_ = percentRow(g, row++, QStringLiteral("ﾄﾞﾛｯﾌﾟ確率(&G)"), chitemputedit_, chitemput_);
    const PageRow boss = addPageRow(g, row, "chbossimg", QStringLiteral("ﾊﾞﾄﾙｲﾒｰｼﾞ  (&B)"), RowExtra::View);
    chbossimg_ = boss.value;
    g->setRowStretch(row, 1);

    connect(chantimagic_, &QCheckBox::clicked, this, &CharaPage::chantimagicClick);
    connectRow(this, drop, &CharaPage::chitemsetClick, &CharaPage::chitemdelClick);
    connectRow(this, boss, &CharaPage::chbossimgsetClick, &CharaPage::chbossimgdelClick,
               &CharaPage::chbossimgviewClick);
    chpower_->store = [this](std::int64_t v) { chara().chpower = static_cast<u16>(v); };
    status_[0]->store = [this](std::int64_t v) { chara().chattack = static_cast<u16>(v); };
    status_[1]->store = [this](std::int64_t v) { chara().chdefence = static_cast<u16>(v); };
    status_[2]->store = [this](std::int64_t v) { chara().chdextality = static_cast<u16>(v); };
    status_[3]->store = [this](std::int64_t v) { chara().chmoney = static_cast<u16>(v); };
    status_[4]->store = [this](std::int64_t v) { chara().chexperience = static_cast<u16>(v); };
    chitemputedit_->store = [this](std::int64_t v) {
        chara().chitemput = static_cast<u8>(v);
        const QSignalBlocker quiet(chitemput_);  // the arrows step on from what was typed
        chitemput_->setValue(static_cast<int>(v));
    };
    connect(chitemput_, &QSpinBox::valueChanged, this, [this](int v) {
        if (rendering_) return;
        chara().chitemput = static_cast<u8>(v);
        charaview();
    });
}

void CharaPage::buildEnemySpecial() {
    int row = 0;
    QWidget* s = addSheet(this, "charasheet6", "敵特殊", 148000);
    QGridLayout* g = sheetGrid(s);
    const PageRow magic = addButtonRow(g, row, "chmagic", QStringLiteral("使用魔法  (&M)"));
    chmagic_ = readOnlyList(QStringLiteral("chmagic"), 76, s);
    g->addWidget(chmagic_, row++, 0, 1, 4);
    chmagicuseedit_ = numberBox(QStringLiteral("chmagicuseedit"), numericedits::chpercent(), 2, s);
    chmagicuse_ = upDown(QStringLiteral("chmagicuse"), 0, 100, s);
    percentRow(g, row++, QStringLiteral("魔法使用頻度    (&U)"), chmagicuseedit_, chmagicuse_);
    const PageRow poison = addButtonRow(g, row, "chpoison", QStringLiteral("特殊攻撃  (&P)"));
    chpoison_ = readOnlyList(QStringLiteral("chpoison"), 76, s);
    g->addWidget(chpoison_, row++, 0, 1, 4);
    chpoisonuseedit_ = numberBox(QStringLiteral("chpoisonuseedit"), numericedits::chpercent(), 3, s);
    chpoisonuse_ = upDown(QStringLiteral("chpoisonuse"), 0, 100, s);
    percentRow(g, row++, QStringLiteral("特殊攻撃使用頻度(&L)"), chpoisonuseedit_, chpoisonuse_);
    const PageRow bgm = addPageRow(g, row, "chbattlebgm", QStringLiteral("戦闘中のBGM  (&B)"), RowExtra::Play);
    chbattlebgm_ = bgm.value;
    const PageRow sound = addPageRow(g, row, "chbattlesound", QStringLiteral("打撃効果音  (&D)"), RowExtra::Play);
    chbattlesound_ = sound.value;
    g->setRowStretch(row, 1);

    connectRow(this, magic, &CharaPage::chmagicsetClick, &CharaPage::chmagicdelClick);
    connectRow(this, poison, &CharaPage::chpoisonsetClick, &CharaPage::chpoisondelClick);
    connectRow(this, bgm, &CharaPage::chbattlebgmsetClick, &CharaPage::chbattlebgmdelClick,
               &CharaPage::chbattlebgmplayClick);
    connectRow(this, sound, &CharaPage::chbattlesoundsetClick, &CharaPage::chbattlesounddelClick,
               &CharaPage::chbattlesoundplayClick);
    chmagicuseedit_->store = [this](std::int64_t v) {
        chara().chmagicuse = static_cast<u8>(v);
        const QSignalBlocker quiet(chmagicuse_);  // the arrows step on from what was typed
        chmagicuse_->setValue(static_cast<int>(v));
    };
    chpoisonuseedit_->store = [this](std::int64_t v) {
        chara().chpoisonuse = static_cast<u8>(v);
        const QSignalBlocker quiet(chpoisonuse_);  // the arrows step on from what was typed
        chpoisonuse_->setValue(static_cast<int>(v));
    };
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
