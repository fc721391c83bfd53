// Building the six pages of the character page control and wiring their
// controls; showing and editing are in charapage_edit.cpp.
#include "properties/charapage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "services/imeset.h"
#include "services/shortstringedit.h"
#include "properties/charapage_parts.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "properties/paramedit.h"
#include "scenario/numericrule.h"
#include "scenario/scenario.h"

namespace qrn {

using namespace charaparts;


CharaPage::CharaPage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("CHARAPANEL"));
    buildGeneral();
    buildSpecial();
    buildComments();
    buildEnemyGeneral();
    buildEnemySpecial();
    // The small buttons beside a setting leave the room to its set button.
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("消") || b->text() == QStringLiteral("♪") || b->text() == QStringLiteral("見る"))
            b->setMaximumWidth(40);
}

void CharaPage::buildGeneral() {
    QWidget* s = sheet(this, "charasheet1", "一般", 143000);
    QGridLayout* g = grid(s);
    g->addWidget(new QLabel(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), s), 0, 0, 1, 4);
    auto* nameLabel = new QLabel(QStringLiteral("ｷｬﾗｸﾀｰ名(&N)"), s);
    charaname_ = new ShortStringEdit(32, s);
    charaname_->setObjectName(QStringLiteral("charaname"));
    nameLabel->setBuddy(charaname_);
    imesetOnEnter(charaname_);
    g->addWidget(nameLabel, 1, 0, 1, 4);
    g->addWidget(charaname_, 2, 0, 1, 4);
    auto* imageSet = pageButton(QStringLiteral("chfilenameset"), QStringLiteral("ｲﾒｰｼﾞ  (&I)"), s);
    chfilenamepic_ = new PictureBox(QStringLiteral("chfilenamepic"), s);
    chfilename_ = valueLabel(QStringLiteral("chfilename"), s);
    g->addWidget(imageSet, 3, 0, 1, 3);
    g->addWidget(chfilenamepic_, 3, 3, 2, 1);
    g->addWidget(chfilename_, 4, 0, 1, 3);
    auto* commentSet = pageButton(QStringLiteral("chcommentset"), QStringLiteral("ﾃﾞﾌｫﾙﾄのｺﾒﾝﾄ  (&C)"), s);
    auto* commentDel = pageButton(QStringLiteral("chcommentdel"), QStringLiteral("消"), s);
    chcomment_ = valueLabel(QStringLiteral("chcomment"), s);
    g->addWidget(commentSet, 5, 0, 1, 3);
    g->addWidget(commentDel, 5, 3);
    g->addWidget(chcomment_, 6, 0, 1, 4);

    auto* kinds = new QGroupBox(QStringLiteral("ｷｬﾗｸﾀｰ属性"), s);
    kinds->setObjectName(QStringLiteral("chcharatype"));
    auto* kg = new QGridLayout(kinds);
    kg->setContentsMargins(4, 2, 4, 2);
    chcharatype_ = new QButtonGroup(this);
    const char* captions[] = {"通常  (&X)", "敵     (&E)", "回復  (H)", "商人  (&B)"};
    for (int radio = 0; radio < 4; ++radio) {
        auto* r = new QRadioButton(QString::fromUtf8(captions[radio]), kinds);
        r->setObjectName(QStringLiteral("chcharatype%1").arg(radio));
        chcharatype_->addButton(r, radio);
        kg->addWidget(r, radio / 2, radio % 2);
        kindRadios_[static_cast<std::size_t>(radio)] = r;
    }
    g->addWidget(kinds, 7, 0, 1, 4);

    chhealmoney_ = numberBox(QStringLiteral("chhealmoney"), numericedits::chhealmoney(), 0, s);
    healLabel_ = labelled(g, 8, QStringLiteral("回復代価(&G)"), chhealmoney_, s);
    chsaleset_ = pageButton(QStringLiteral("chsaleset"), QStringLiteral("販売ｱｲﾃﾑ  (&S)"), s);
    chsaledel_ = pageButton(QStringLiteral("chsaledel"), QStringLiteral("消"), s);
    g->addWidget(chsaleset_, 9, 0, 1, 3);
    g->addWidget(chsaledel_, 9, 3);
    g->addWidget(new QLabel(QStringLiteral("価格／名前"), s), 10, 0, 1, 4);
    chsale_ = readOnlyList(QStringLiteral("chsale"), 90, s);
    g->addWidget(chsale_, 11, 0, 1, 4);
    g->setRowStretch(12, 1);

    connect(charaname_, &QLineEdit::textChanged, this, &CharaPage::charanameChange);
    connect(imageSet, &QPushButton::clicked, this, &CharaPage::chfilenamesetClick);
    connect(commentSet, &QPushButton::clicked, this, &CharaPage::chcommentsetClick);
    connect(commentDel, &QPushButton::clicked, this, &CharaPage::chcommentdelClick);
    connect(chcharatype_, &QButtonGroup::idClicked, this, &CharaPage::chcharatypeClick);
    connect(chsaleset_, &QPushButton::clicked, this, &CharaPage::chsalesetClick);
    connect(chsaledel_, &QPushButton::clicked, this, &CharaPage::chsaledelClick);
    chhealmoney_->store = [this](std::int64_t v) { chara().chhealmoney = static_cast<u16>(v); };
}

void CharaPage::buildSpecial() {
    QWidget* s = sheet(this, "charasheet2", "特殊", 144000);
    QGridLayout* g = grid(s);
    auto* talkSet = pageButton(QStringLiteral("chtalkbgmset"), QStringLiteral("会話中のBGM  (&B)"), s);
    auto* talkDel = pageButton(QStringLiteral("chtalkbgmdel"), QStringLiteral("消"), s);
    auto* talkPlay = pageButton(QStringLiteral("chtalkbgmplay"), QStringLiteral("♪"), s);
    chtalkbgm_ = valueLabel(QStringLiteral("chtalkbgm"), s);
    g->addWidget(talkSet, 0, 0, 1, 2);
    g->addWidget(talkDel, 0, 2);
    g->addWidget(talkPlay, 0, 3);
    g->addWidget(chtalkbgm_, 1, 0, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("出現条件"), s), 2, 0, 1, 4);
    auto* itemSet = pageButton(QStringLiteral("chshowitemset"), QStringLiteral("ｱｲﾃﾑ  (&I)"), s);
    auto* itemDel = pageButton(QStringLiteral("chshowitemdel"), QStringLiteral("消"), s);
    chshowitem_ = valueLabel(QStringLiteral("chshowitem"), s);
    chshowitem_->setToolTip(QStringLiteral("このｱｲﾃﾑを所持していると出現する"));
    chshowitempic_ = new PictureBox(QStringLiteral("chshowitempic"), s);
    g->addWidget(itemSet, 3, 0, 1, 2);
    g->addWidget(itemDel, 3, 2);
    g->addWidget(chshowitempic_, 3, 3, 2, 1);
    g->addWidget(chshowitem_, 4, 0, 1, 3);
    auto* eventSet = pageButton(QStringLiteral("chshoweventset"), QStringLiteral("ｲﾍﾞﾝﾄ  (&E)"), s);
    auto* eventDel = pageButton(QStringLiteral("chshoweventdel"), QStringLiteral("消"), s);
    chshowevent_ = valueLabel(QStringLiteral("chshowevent"), s);
    chshowevent_->setToolTip(QStringLiteral("このｲﾍﾞﾝﾄをｸﾘｱしていると出現する"));
    chshoweventpic_ = new PictureBox(QStringLiteral("chshoweventpic"), s);
    g->addWidget(eventSet, 5, 0, 1, 2);
    g->addWidget(eventDel, 5, 2);
    g->addWidget(chshoweventpic_, 5, 3, 2, 1);
    g->addWidget(chshowevent_, 6, 0, 1, 3);
    chendhide_ = new QCheckBox(QStringLiteral("会話終了後非表示  (&H)"), s);
    chendhide_->setObjectName(QStringLiteral("chendhide"));
    g->addWidget(chendhide_, 7, 0, 1, 4);
    g->setRowStretch(8, 1);

    connect(talkSet, &QPushButton::clicked, this, &CharaPage::chtalkbgmsetClick);
    connect(talkDel, &QPushButton::clicked, this, &CharaPage::chtalkbgmdelClick);
    connect(talkPlay, &QPushButton::clicked, this, &CharaPage::chtalkbgmplayClick);
    connect(itemSet, &QPushButton::clicked, this, &CharaPage::chshowitemsetClick);
    connect(itemDel, &QPushButton::clicked, this, &CharaPage::chshowitemdelClick);
    connect(eventSet, &QPushButton::clicked, this, &CharaPage::chshoweventsetClick);
    connect(eventDel, &QPushButton::clicked, this, &CharaPage::chshoweventdelClick);
    connect(chendhide_, &QCheckBox::clicked, this, &CharaPage::chendhideClick);
}

void CharaPage::buildComments() {
    for (const bool events : {false, true}) {
        QWidget* s = events ? sheet(this, "charasheet4", "ｲﾍﾞﾝﾄｺﾒﾝﾄ", 146000)
                            : sheet(this, "charasheet3", "ｱｲﾃﾑｺﾒﾝﾄ", 145000);
        QGridLayout* g = grid(s);
        auto* intro = new QLabel(events ? QStringLiteral("優先順位の高い順に、ｲﾍﾞﾝﾄをｸﾘｱしていると表示されるｺﾒﾝﾄ")
                                        : QStringLiteral("優先順位の高い順に、ｱｲﾃﾑを所持していると表示されるｺﾒﾝﾄ"),
                                 s);
        intro->setWordWrap(true);
        g->addWidget(intro, 0, 0, 1, 4);
        const QString base = events ? QStringLiteral("chwantevent") : QStringLiteral("chwantitem");
        const QString setBase = events ? QStringLiteral("cheventcommentset") : QStringLiteral("chwantitemset");
        const QString delBase = events ? QStringLiteral("cheventcommentdel") : QStringLiteral("chwantitemdel");
        const QString commentBase = events ? QStringLiteral("cheventcomment") : QStringLiteral("chitemcomment");
        for (int tag = 1; tag <= 5; ++tag) {
            const QString n = QString::number(tag);
            auto* set = pageButton(setBase + n, n + QStringLiteral("  (&") + n + QStringLiteral(")"), s);
            set->setProperty("tag", tag);
            auto* del = pageButton(delBase + n, QStringLiteral("消"), s);
            del->setProperty("tag", tag);
            CommentRow& row = (events ? eventRows_ : itemRows_)[static_cast<std::size_t>(tag - 1)];
            row.subject = valueLabel(base + n, s);
            row.comment = valueLabel(commentBase + n, s);
            row.pic = new PictureBox(base + QStringLiteral("pic") + n, s);
            const int r = 1 + (tag - 1) * 3;
            g->addWidget(set, r, 0, 1, 2);
            g->addWidget(del, r, 2);
            g->addWidget(row.pic, r, 3, 2, 1);
            g->addWidget(row.subject, r + 1, 0, 1, 3);
            g->addWidget(row.comment, r + 2, 0, 1, 4);
            if (events) {
                connect(set, &QPushButton::clicked, this, [this, tag] { cheventcommentsetClick(tag); });
                connect(del, &QPushButton::clicked, this, [this, tag] { cheventcommentdelClick(tag); });
            } else {
                connect(set, &QPushButton::clicked, this, [this, tag] { chwantitemsetClick(tag); });
                connect(del, &QPushButton::clicked, this, [this, tag] { chwantitemdelClick(tag); });
            }
        }
        g->setRowStretch(16, 1);
    }
}

}  // namespace qrn
