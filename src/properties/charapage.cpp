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

#include "services/shortstringedit.h"
#include "properties/numericedit.h"
#include "pickers/picturebox.h"
#include "properties/pagerows.h"
#include "properties/paramedit.h"
#include "scenario/numericrule.h"
#include "scenario/scenario.h"

namespace qrn {


CharaPage::CharaPage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("CHARAPANEL"));
    buildGeneral();
    buildSpecial();
    buildComments();
    buildEnemyGeneral();
    buildEnemySpecial();
    // The small buttons beside a setting leave the room to its set button.
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("消") || b->text() == QStringLiteral("♪") || b->text() == QStringLiteral("表示"))
            b->setMaximumWidth(40);
}

void CharaPage::buildGeneral() {
    int row = 0;
    QWidget* s = addSheet(this, "charasheet1", "一般", 143000);
    QGridLayout* g = sheetGrid(s);
    charaname_ = addNameRows(g, row, "charaname", QStringLiteral("ｷｬﾗｸﾀｰ名(&N)"));
    const PageRow image = addPageRow(g, row, "chfilename", QStringLiteral("ｲﾒｰｼﾞ  (&I)"), RowExtra::Picture, false);
    chfilename_ = image.value;
    chfilenamepic_ = image.pic;
    const PageRow comment = addPageRow(g, row, "chcomment", QStringLiteral("ﾃﾞﾌｫﾙﾄのｺﾒﾝﾄ  (&C)"), RowExtra::Wide);
    chcomment_ = comment.value;

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
    g->addWidget(kinds, row++, 0, 1, 4);

    chhealmoney_ = numberBox(QStringLiteral("chhealmoney"), numericedits::chhealmoney(), 0, s);
    healLabel_ = labelled(g, row++, QStringLiteral("回復代価(&G)"), chhealmoney_);
    const PageRow sale = addButtonRow(g, row, "chsale", QStringLiteral("販売ｱｲﾃﾑ  (&S)"));
    chsaleset_ = sale.set;
    chsaledel_ = sale.del;
    g->addWidget(new QLabel(QStringLiteral("価格／名前"), s), row++, 0, 1, 4);
    chsale_ = readOnlyList(QStringLiteral("chsale"), 90, s);
    g->addWidget(chsale_, row++, 0, 1, 4);
    g->setRowStretch(row, 1);

    connect(charaname_, &QLineEdit::textChanged, this, &CharaPage::charanameChange);
    connectRow(this, image, &CharaPage::chfilenamesetClick);
    connectRow(this, comment, &CharaPage::chcommentsetClick, &CharaPage::chcommentdelClick);
    connect(chcharatype_, &QButtonGroup::idClicked, this, &CharaPage::chcharatypeClick);
    connectRow(this, sale, &CharaPage::chsalesetClick, &CharaPage::chsaledelClick);
    chhealmoney_->store = [this](std::int64_t v) { chara().chhealmoney = static_cast<u16>(v); };
}

void CharaPage::buildSpecial() {
    int row = 0;
    QWidget* s = addSheet(this, "charasheet2", "特殊", 144000);
    QGridLayout* g = sheetGrid(s);
    const PageRow talk = addPageRow(g, row, "chtalkbgm", QStringLiteral("会話中のBGM  (&B)"), RowExtra::Play);
    chtalkbgm_ = talk.value;
    g->addWidget(new QLabel(QStringLiteral("出現条件"), s), row++, 0, 1, 4);
    const PageRow item = addPageRow(g, row, "chshowitem", QStringLiteral("ｱｲﾃﾑ  (&I)"), RowExtra::Picture);
    chshowitem_ = item.value;
    chshowitem_->setToolTip(QStringLiteral("このｱｲﾃﾑを所持していると出現する"));
    chshowitempic_ = item.pic;
    const PageRow event = addPageRow(g, row, "chshowevent", QStringLiteral("ｲﾍﾞﾝﾄ  (&E)"), RowExtra::Picture);
    chshowevent_ = event.value;
    chshowevent_->setToolTip(QStringLiteral("このｲﾍﾞﾝﾄをｸﾘｱしていると出現する"));
    chshoweventpic_ = event.pic;
    chendhide_ = new QCheckBox(QStringLiteral("会話終了後非表示  (&H)"), s);
    chendhide_->setObjectName(QStringLiteral("chendhide"));
    g->addWidget(chendhide_, row++, 0, 1, 4);
    g->setRowStretch(row, 1);

    connectRow(this, talk, &CharaPage::chtalkbgmsetClick, &CharaPage::chtalkbgmdelClick,
               &CharaPage::chtalkbgmplayClick);
    connectRow(this, item, &CharaPage::chshowitemsetClick, &CharaPage::chshowitemdelClick);
    connectRow(this, event, &CharaPage::chshoweventsetClick, &CharaPage::chshoweventdelClick);
    connect(chendhide_, &QCheckBox::clicked, this, &CharaPage::chendhideClick);
}

void CharaPage::buildComments() {
    for (const bool events : {false, true}) {
        QWidget* s = events ? addSheet(this, "charasheet4", "ｲﾍﾞﾝﾄｺﾒﾝﾄ", 146000)
                            : addSheet(this, "charasheet3", "ｱｲﾃﾑｺﾒﾝﾄ", 145000);
        QGridLayout* g = sheetGrid(s);
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
