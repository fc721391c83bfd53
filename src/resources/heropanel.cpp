#include "resources/heropanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>

#include "services/editorcontext.h"
#include "services/imeset.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "resources/magicedit.h"
#include "scenario/eventrules.h"
#include "scenario/herorules.h"

namespace qrn {

namespace {

const char* const kEquipNames[] = {"heweapon", "heshield", "hearmor", "hehelm", "hemagicitem"};
const char* const kEquipCaptions[] = {"武器    (&W)", "盾       (&S)", "鎧        (&A)", "兜        (&H)",
                                      "その他  (&O)"};
const char* const kEquipPrompts[] = {"の装備する武器を一つ選択", "の装備する盾を一つ選択", "の装備する鎧を一つ選択",
                                     "の装備する兜を一つ選択", "の装備するﾏｼﾞｯｸｱｲﾃﾑを一つ選択"};
const char* const kStatNames[] = {"hemaxpower", "hemaxmp", "hestrength", "hedextality"};
const char* const kStatCaptions[] = {"最大体力(&P)", "最大魔力(&G)", "筋力(&S)", "素早さ(&D)"};

QPushButton* panelButton(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

HeroPanel::HeroPanel(Tmagicedit& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("heropanel"));
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("herocontrol"));
    top->addWidget(pages_);
    auto sheet = [this](const char* name, const char* caption) {
        auto* w = new QWidget(pages_);
        w->setObjectName(QString::fromLatin1(name));
        pages_->addTab(w, QString::fromUtf8(caption));
        return w;
    };

    // status page
    QWidget* s1 = sheet("herosheet1", "ｽﾃｰﾀｽ");
    auto* g1 = new QGridLayout(s1);
    g1->setVerticalSpacing(2);
    auto* nameLabel = new QLabel(QStringLiteral("主人公名(&N)"), s1);
    name_ = new ShortStringEdit(32, s1);
    name_->setObjectName(QStringLiteral("heroname"));
    nameLabel->setBuddy(name_);
    changeName_ = new QCheckBox(QStringLiteral("変更可能(&C)"), s1);
    changeName_->setObjectName(QStringLiteral("hechangename"));
    g1->addWidget(nameLabel, 0, 0);
    g1->addWidget(name_, 0, 1, 1, 2);
    g1->addWidget(changeName_, 0, 3);
    auto* linkGrid = new QGridLayout;
    g1->addLayout(linkGrid, 1, 0, 1, 4);
    link_ = addRefRow(linkGrid, 0, QStringLiteral("helink"), QStringLiteral("ｽﾀｰﾄﾌｨｰﾙﾄﾞ  (&F)"), {}, s1);
    auto* xy = new QHBoxLayout;
    xy->setSpacing(8);
    xy->addWidget(new QLabel(QStringLiteral("Ｘ："), s1));
    locateX_ = new QLabel(s1);
    locateX_->setObjectName(QStringLiteral("helocatex"));
    xy->addWidget(locateX_);
    xy->addWidget(new QLabel(QStringLiteral("Ｙ："), s1));
    locateY_ = new QLabel(s1);
    locateY_->setObjectName(QStringLiteral("helocatey"));
    xy->addWidget(locateY_);
    xy->addStretch();
    g1->addLayout(xy, 2, 0, 1, 4);
    auto* dirBox = new QGroupBox(QStringLiteral("ｽﾀｰﾄ時の主人公の方向"), s1);
    dirBox->setObjectName(QStringLiteral("hestarthoukoubox"));
    direction_ = new QButtonGroup(this);
    direction_->setObjectName(QStringLiteral("hestarthoukou"));
    auto* dirLayout = new QHBoxLayout(dirBox);
    const char* const dirs[] = {"北  (&H)", "東  (&J)", "南  (&K)", "西  (&L)"};
    for (int i = 0; i < 4; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(dirs[i]), dirBox);
        r->setObjectName(QStringLiteral("hestarthoukou%1").arg(i));
        direction_->addButton(r, i);
        dirLayout->addWidget(r);
    }
    g1->addWidget(dirBox, 3, 0, 1, 4);
    auto* maxItemLabel = new QLabel(QStringLiteral("最大所持ｱｲﾃﾑ数(&I)"), s1);
    maxItem_ = new NumericEdit(numericedits::hemaxitem(), s1);
    maxItem_->setObjectName(QStringLiteral("hemaxitem"));
    maxItem_->setMaxLength(3);
    maxItemLabel->setBuddy(maxItem_);
    g1->addWidget(maxItemLabel, 4, 0);
    g1->addWidget(maxItem_, 4, 1);

    auto* initial = new QGroupBox(QStringLiteral("初期値"), s1);
    auto* gi = new QGridLayout(initial);
    gi->setVerticalSpacing(2);
    auto* levelLabel = new QLabel(QStringLiteral("ﾚﾍﾞﾙ(&L)"), initial);
    levelEdit_ = new NumericEdit(numericedits::helevel(), initial);
    levelEdit_->setObjectName(QStringLiteral("hrleveledit"));
    levelEdit_->setMaxLength(2);
    levelSet_ = upDownButtons(QStringLiteral("helevelset"), 1, 50, initial);
    levelLabel->setBuddy(levelEdit_);
    gi->addWidget(levelLabel, 0, 0);
    gi->addWidget(levelEdit_, 0, 1);
    gi->addWidget(levelSet_, 0, 2);
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(QString::fromUtf8(kStatCaptions[i]), initial);
        auto* box = new NumericEdit(numericedits::hestat(), initial);
        box->setObjectName(QString::fromLatin1(kStatNames[i]));
        box->setMaxLength(5);
        l->setBuddy(box);
        stats_[static_cast<std::size_t>(i)] = box;
        gi->addWidget(l, 1 + i / 2, (i % 2) * 3);
        gi->addWidget(box, 1 + i / 2, (i % 2) * 3 + 1);
    }
    auto* expLabel = new QLabel(QStringLiteral("経験値(&E)"), initial);
    experience_ = new NumericEdit(numericedits::hemoney(), initial);
    experience_->setObjectName(QStringLiteral("heexperience"));
    experience_->setMaxLength(10);
    expLabel->setBuddy(experience_);
    auto* moneyLabel = new QLabel(QStringLiteral("所持金(&M)"), initial);
    money_ = new NumericEdit(numericedits::hemoney(), initial);
    money_->setObjectName(QStringLiteral("hemoney"));
    money_->setMaxLength(10);
    moneyLabel->setBuddy(money_);
    gi->addWidget(expLabel, 3, 0);
    gi->addWidget(experience_, 3, 1);
    gi->addWidget(moneyLabel, 3, 3);
    gi->addWidget(money_, 3, 4);
    g1->addWidget(initial, 5, 0, 1, 4);
    g1->setRowStretch(6, 1);

    // items page
    QWidget* s2 = sheet("herosheet2", "ｱｲﾃﾑ");
    auto* g2 = new QGridLayout(s2);
    g2->setVerticalSpacing(2);
    for (int i = 0; i < 5; ++i)
        equip_[static_cast<std::size_t>(i)] = addRefRow(g2, i, QString::fromLatin1(kEquipNames[i]),
                                                        QString::fromUtf8(kEquipCaptions[i]), {}, s2);
    strDisp_ = new QLabel(s2);
    strDisp_->setObjectName(QStringLiteral("hestrdisp"));
    defDisp_ = new QLabel(s2);
    defDisp_->setObjectName(QStringLiteral("hedefdisp"));
    dexDisp_ = new QLabel(s2);
    dexDisp_->setObjectName(QStringLiteral("hedexdisp"));
    auto* disp = new QHBoxLayout;
    disp->addWidget(strDisp_);
    disp->addWidget(defDisp_);
    disp->addWidget(dexDisp_);
    g2->addLayout(disp, 5, 0, 1, 3);
    QPushButton* itemSet = panelButton("heitemuseset", "所持ｱｲﾃﾑ  (&I)", s2);
    QPushButton* itemDel = panelButton("heitemusedel", "消", s2);
    g2->addWidget(itemSet, 6, 0);
    fitToCaption(itemDel);
    g2->addWidget(itemDel, 6, 1);
    items_ = new QListWidget(s2);
    items_->setObjectName(QStringLiteral("itemuselist"));
    g2->addWidget(items_, 7, 0, 1, 3);

    // magic page
    QWidget* s3 = sheet("herosheet3", "魔法");
    auto* g3 = new QGridLayout(s3);
    QPushButton* magicSet = panelButton("hemagicset", "修得済み魔法(&M)", s3);
    QPushButton* magicDel = panelButton("hemagicdel", "消", s3);
    g3->addWidget(magicSet, 0, 0);
    fitToCaption(magicDel);
    g3->addWidget(magicDel, 0, 1);
    magics_ = new QListWidget(s3);
    magics_->setObjectName(QStringLiteral("hemagiclist"));
    magics_->setFlow(QListView::TopToBottom);
    magics_->setWrapping(true);
    magics_->setResizeMode(QListView::Adjust);
    g3->addWidget(magics_, 1, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    QPushButton* pageChange = panelButton("hepagechangebtn", "ﾍﾟｰｼﾞ切替(&W)", this);
    QPushButton* close = panelButton("heroclose", "閉じる(&C)", this);
    buttons->addWidget(pageChange);
    buttons->addStretch();
    buttons->addWidget(close);

    // wiring
    imesetOnEnter(name_);
    connect(name_, &QLineEdit::textChanged, this, [this] {
        if (!showing_) hero().heroname.assign(name_->bytes());
    });
    connect(changeName_, &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_) editor().scenario.settings.heroNameChangeable = on ? 1 : 0;
    });
    connect(link_.set, &QPushButton::clicked, this, &HeroPanel::helinksetClick);
    connect(link_.del, &QPushButton::clicked, this, &HeroPanel::helinkdelClick);
    connect(direction_, &QButtonGroup::idClicked, this, [](int id) { editor().scenario.settings.startDirection = id; });
    maxItem_->store = [this](std::int64_t v) { hero().hemaxitem = static_cast<u8>(v); };
    levelEdit_->store = [this](std::int64_t v) {
        hero().helevel = static_cast<u8>(v);
        const bool was = showing_;
        showing_ = true;
        levelSet_->setValue(static_cast<int>(v));
        showing_ = was;
    };
    connect(levelSet_, &QSpinBox::valueChanged, this, [this](int v) {
        if (showing_) return;
        hero().helevel = static_cast<u8>(v);
        levelEdit_->showText(QString::number(v));
    });
    stats_[0]->store = [this](std::int64_t v) { hero().hemaxpower = static_cast<i16>(v); };
    stats_[1]->store = [this](std::int64_t v) { hero().hemaxmp = static_cast<i16>(v); };
    stats_[2]->store = [this](std::int64_t v) {
        hero().hestrength = static_cast<i16>(v);
        heroview();
    };
    stats_[3]->store = [this](std::int64_t v) {
        hero().hedextality = static_cast<i16>(v);
        heroview();
    };
    experience_->store = [this](std::int64_t v) { hero().heexperience = static_cast<i32>(v); };
    money_->store = [this](std::int64_t v) { hero().hemoney = static_cast<i32>(v); };
    // A box the rule emptied shows the kept value again when it is left.
    auto number = [](auto value) { return [value] { return QString::number(value()); }; };
    maxItem_->stored = number([this] { return hero().hemaxitem; });
    levelEdit_->stored = number([this] { return hero().helevel; });
    stats_[0]->stored = number([this] { return hero().hemaxpower; });
    stats_[1]->stored = number([this] { return hero().hemaxmp; });
    stats_[2]->stored = number([this] { return hero().hestrength; });
    stats_[3]->stored = number([this] { return hero().hedextality; });
    experience_->stored = number([this] { return hero().heexperience; });
    money_->stored = number([this] { return hero().hemoney; });
    for (int i = 0; i < 5; ++i) {
        connect(equip_[static_cast<std::size_t>(i)].set, &QPushButton::clicked, this, [this, i] { equipsetClick(i); });
        connect(equip_[static_cast<std::size_t>(i)].del, &QPushButton::clicked, this, [this, i] { equipdelClick(i); });
    }
    connect(itemSet, &QPushButton::clicked, this, &HeroPanel::heitemusesetClick);
    connect(itemDel, &QPushButton::clicked, this, &HeroPanel::heitemusedelClick);
    connect(magicSet, &QPushButton::clicked, this, &HeroPanel::hemagicsetClick);
    connect(magicDel, &QPushButton::clicked, this, &HeroPanel::hemagicdelClick);
    connect(pageChange, &QPushButton::clicked, this, &HeroPanel::hepagechangebtnClick);
    connect(close, &QPushButton::clicked, &owner_, &QDialog::accept);
}

HeroDef& HeroPanel::hero() { return editor().scenario.hero; }

QString HeroPanel::heroWords() {
    const QString name = fromCp932(hero().heroname.view());
    return name.isEmpty() ? QStringLiteral("主人公") : name;
}

void HeroPanel::makeherolist() {
    pages_->setCurrentIndex(0);
    heroview();
}

void HeroPanel::hepagechangebtnClick() { pages_->setCurrentIndex((pages_->currentIndex() + 1) % pages_->count()); }

void HeroPanel::heroview() {
    showing_ = true;
    Scenario& s = editor().scenario;
    HeroDef& h = hero();
    name_->setBytes(h.heroname.view());
    changeName_->setChecked(s.settings.heroNameChangeable != 0);
    // A start on a field not in use, or outside it, is shown as unset, as
    // the jumps of the object pages are.
    const bool inUse = fieldInUse(s, h.startField);
    link_.show(inUse ? fieldRefName(h.startField) : QStringLiteral("-"), inUse);
    const std::optional<ColumnRow> at = locatedCell(s, h.startField, h.startPosition);
    locateX_->setText(at ? QString::number(at->column) : QStringLiteral("未指定"));
    locateY_->setText(at ? QString::number(at->row) : QStringLiteral("未指定"));
    const i32 dir = s.settings.startDirection;
    if (dir >= 0 && dir <= 3) {
        direction_->button(dir)->setChecked(true);
    } else {
        // A damaged direction: no radio is left checked from before.
        direction_->setExclusive(false);
        for (QAbstractButton* b : direction_->buttons()) b->setChecked(false);
        direction_->setExclusive(true);
    }
    maxItem_->showText(QString::number(h.hemaxitem));
    levelEdit_->showText(QString::number(h.helevel));
    levelSet_->setValue(h.helevel);
    const i16 stats[] = {h.hemaxpower, h.hemaxmp, h.hestrength, h.hedextality};
    for (int i = 0; i < 4; ++i) stats_[static_cast<std::size_t>(i)]->showText(QString::number(stats[i]));
    experience_->showText(QString::number(h.heexperience));
    money_->showText(QString::number(h.hemoney));
    for (int i = 0; i < 5; ++i) {
        const u8 n = heroEquipment(h, i);
        equip_[static_cast<std::size_t>(i)].show(itemRefName(n), n != 0);
    }
    const HeroTotals t = heroTotals(s);
    auto line = [](const char* head, std::int64_t total, std::int64_t bonus) {
        return QString::fromUtf8(head) + QString::number(total) + QStringLiteral("（") + QString::number(bonus) +
               QStringLiteral("）");
    };
    strDisp_->setText(line("攻撃力／", t.attack, t.attackBonus));
    defDisp_->setText(line("防御力／", t.defence, t.defenceBonus));
    dexDisp_->setText(line("素早さ／", t.speed, t.speedBonus));
    items_->clear();
    for (int n : heroItemList(h)) items_->addItem(itemRefName(n));
    magics_->clear();
    for (int n : heroMagicList(h)) magics_->addItem(magicRefName(n));
    showing_ = false;
}

void HeroPanel::helinksetClick() {
    SettingsHooks& hooks = owner_.hooks();
    if (!hooks.pickLocation) return;
    HeroDef& h = hero();
    const std::optional<StartLocation> at = hooks.pickLocation(
        QStringLiteral("：") + heroWords() + QStringLiteral("のｽﾀｰﾄ地点を選択"), h.startField, h.startPosition);
    if (at && at->field >= 1 && at->field <= kFieldCount && at->position > 0) {
        h.startField = static_cast<u8>(at->field);
        h.startPosition = at->position;
    }
    heroview();
}

void HeroPanel::helinkdelClick() {
    hero().startField = 1;
    hero().startPosition = 1;
    heroview();
}

void HeroPanel::equipsetClick(int slot) {
    SettingsHooks& hooks = owner_.hooks();
    if (slot < 0 || slot >= kHeroEquipSlots || !hooks.pickItems) return;
    const std::optional<int> n =
        lowestChosen(hooks.pickItems(heroWords() + QString::fromUtf8(kEquipPrompts[slot]), {}, slot));
    if (n && *n >= 1 && *n <= kItemCount) setHeroEquipment(hero(), slot, static_cast<u8>(*n));
    heroview();
}

void HeroPanel::equipdelClick(int slot) {
    setHeroEquipment(hero(), slot, 0);
    heroview();
}

void HeroPanel::heitemusesetClick() {
    SettingsHooks& hooks = owner_.hooks();
    if (!hooks.pickItems) return;
    const auto chosen = hooks.pickItems(heroWords() + QStringLiteral("の所持ｱｲﾃﾑを選択"), heroItemList(hero()), 5);
    if (chosen) setHeroItems(hero(), *chosen);
    heroview();
}

void HeroPanel::heitemusedelClick() {
    setHeroItems(hero(), {});
    heroview();
}

void HeroPanel::hemagicsetClick() {
    SettingsHooks& hooks = owner_.hooks();
    if (!hooks.pickMagics) return;
    const auto chosen = hooks.pickMagics(heroWords() + QStringLiteral("が修得済みの魔法を選択"), heroMagicList(hero()), 0);
    if (chosen) setHeroMagics(hero(), *chosen);
    heroview();
}

void HeroPanel::hemagicdelClick() {
    setHeroMagics(hero(), {});
    heroview();
}

}  // namespace qrn
