#include "properties/itempage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "services/editorcontext.h"
#include "services/imeset.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "properties/pagerows.h"
#include "properties/paramedit.h"
#include "scenario/itemrules.h"
#include "scenario/numericrule.h"
#include "scenario/pickerrules.h"
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

QCheckBox* checkBox(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A box that is closed is also greyed, so that its value reads as not in force.
void openBox(QWidget* box, bool open) {
    box->setEnabled(open);
    box->setBackgroundRole(open ? QPalette::Base : QPalette::Window);
}

}  // namespace

NumericEdit* ItemPage::numericBox(const char* name, int tag) {
    NumericRule rule = numericedits::itstatus();
    if (tag == 5) rule = numericedits::ithealmp();
    auto* box = new NumericEdit(rule, nullptr);
    box->setObjectName(QString::fromLatin1(name));
    box->setProperty("tag", tag);
    return box;
}

ItemPage::ItemPage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("itempanel"));
    int row = 0;

    // 一般
    QWidget* s1 = sheet(this, "itemsheet1", "一般", 137000);
    QGridLayout* g1 = sheetGrid(s1);
    g1->addWidget(new QLabel(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), s1), row++, 0, 1, 4);
    auto* nameLabel = new QLabel(QStringLiteral("ｱｲﾃﾑ名(&N)"), s1);
    itemname_ = new ShortStringEdit(32, s1);
    itemname_->setObjectName(QStringLiteral("itemname"));
    nameLabel->setBuddy(itemname_);
    imesetOnEnter(itemname_);
    g1->addWidget(nameLabel, row++, 0, 1, 4);
    g1->addWidget(itemname_, row++, 0, 1, 4);
    const PageRow image = addPageRow(g1, row, "itfilename", QStringLiteral("ｲﾒｰｼﾞ  (&I)"), RowExtra::Picture, false);
    itfilename_ = image.value;
    itempic_ = image.pic;
    itempic_->setObjectName(QStringLiteral("itempic"));
    auto* kindBox = new QGroupBox(QStringLiteral("種別"), s1);
    kindBox->setObjectName(QStringLiteral("itgroup"));
    auto* kinds = new QGridLayout(kindBox);
    kinds->setContentsMargins(2, 0, 0, 0);
    kinds->setSpacing(0);
    itgroup_ = new QButtonGroup(this);
    const char* kindCaptions[] = {"武器   (&T)", "盾      (&S)", "鎧      (&A)", "兜      (&H)", "その他(&O)", "一般   (&X)"};
    for (int i = 0; i < kItemKinds; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(kindCaptions[i]), kindBox);
        b->setObjectName(QStringLiteral("itgroup%1").arg(i));
        kinds->addWidget(b, i % 3, i / 3);
        itgroup_->addButton(b, i);
    }
    g1->addWidget(kindBox, row++, 0, 1, 4);
    itspecial_ = checkBox("itspecial", "特殊効果  (&F)", s1);
    itspecial_->setToolTip(QStringLiteral("装備可能ｱｲﾃﾑに、抵抗力、歩行回復効果を付加"));
    g1->addWidget(itspecial_, row++, 0, 1, 4);
    auto* moneyLabel = new QLabel(QStringLiteral("価格(&M)"), s1);
    itmoney_ = new NumericEdit(numericedits::itmoney(), s1);
    itmoney_->setObjectName(QStringLiteral("itmoney"));
    moneyLabel->setBuddy(itmoney_);
    g1->addWidget(moneyLabel, row, 0, 1, 2);
    g1->addWidget(itmoney_, row++, 2, 1, 2);
    auto* countLabel = new QLabel(QStringLiteral("使用可能回数(&C)"), s1);
    itcount_ = new NumericEdit(numericedits::itcount(), s1);
    itcount_->setObjectName(QStringLiteral("itcount"));
    countLabel->setBuddy(itcount_);
    g1->addWidget(countLabel, row, 0, 1, 2);
    g1->addWidget(itcount_, row++, 2, 1, 2);
    g1->setRowStretch(row, 1);

    // 効果
    row = 0;
    QWidget* s2 = sheet(this, "itemsheet2", "効果", 138000);
    QGridLayout* g2 = sheetGrid(s2);
    const struct {
        const char* name;
        const char* caption;
        int tag;
        NumericEdit** box;
    } boxes[] = {
        {"itstrength", "攻撃力(&A)", 1, &itstrength_}, {"itdefence", "防御力(&D)", 2, &itdefence_},
        {"itdextality", "素早さ(&X)", 3, &itdextality_}, {"ithealing", "回復(&H)", 4, &ithealing_},
        {"ithealmp", "魔力回復(&G)", 5, &ithealmp_},
    };
    for (const auto& b : boxes) {
        NumericEdit* box = numericBox(b.name, b.tag);
        box->setParent(s2);
        *b.box = box;
        auto* l = new QLabel(QString::fromUtf8(b.caption), s2);
        l->setBuddy(box);
        if (b.tag == 4) {
            l->setObjectName(QStringLiteral("ithelabel"));
            ithelabel_ = l;
        }
        g2->addWidget(l, row, 0, 1, 2);
        g2->addWidget(box, row++, 2, 1, 2);
    }
    const PageRow antipoison = addPageRow(g2, row, "itantipoison", QStringLiteral("解毒(&P)"), RowExtra::None);
    itantipoison_ = antipoison.value;
    itantipoisonset_ = antipoison.set;
    itantipoisondel_ = antipoison.del;
    const PageRow magic = addPageRow(g2, row, "itmagic", QStringLiteral("発動魔法  (&M)"), RowExtra::None);
    itmagic_ = magic.value;
    itbattleuse_ = checkBox("itbattleuse", "戦闘中の使用   (&B)", s2);
    itbattleuse_->setProperty("tag", 1);
    itfielduse_ = checkBox("itfielduse", "ﾌｨｰﾙﾄﾞ上での使用  (&F)", s2);
    itfielduse_->setProperty("tag", 0);
    g2->addWidget(itbattleuse_, row++, 0, 1, 4);
    g2->addWidget(itfielduse_, row++, 0, 1, 4);
    g2->setRowStretch(row, 1);

    // 特殊
    row = 0;
    QWidget* s3 = sheet(this, "itemsheet3", "特殊", 139000);
    QGridLayout* g3 = sheetGrid(s3);
    const PageRow comment = addPageRow(g3, row, "itcomment", QStringLiteral("使用時のｺﾒﾝﾄ  (&C)"), RowExtra::None);
    itcomment_ = comment.value;
    const PageRow sound = addPageRow(g3, row, "itsound", QStringLiteral("使用時の効果音  (&S)"), RowExtra::Play);
    itsound_ = sound.value;
    itsoundplay_ = sound.extra;
    const PageRow attackSound = addPageRow(g3, row, "itattacksound", QStringLiteral("打撃時の効果音  (&D)"), RowExtra::Play);
    attackSound.set->setToolTip(QStringLiteral("敵に打撃を与えた時に鳴る効果音"));
    itattacksound_ = attackSound.value;
    itattacksoundplay_ = attackSound.extra;
    attackSoundControls_ = {itattacksound_, attackSound.set, attackSound.del};
    const PageRow findBgm = addPageRow(g3, row, "itfindbgm", QStringLiteral("発見時のBGM  (&B)"), RowExtra::Play);
    findBgm.set->setToolTip(QStringLiteral("ﾌｨｰﾙﾄﾞ上でｱｲﾃﾑを発見した時に鳴るBGM"));
    itfindbgm_ = findBgm.value;
    itfindbgmplay_ = findBgm.extra;
    itshowserch_ = checkBox("itshowserch", "「調べる」で獲得(&L)", s3);
    itshowserch_->setToolTip(QStringLiteral("ﾌｨｰﾙﾄﾞ上のｱｲﾃﾑを「調べる」ｺﾏﾝﾄﾞで獲得する"));
    g3->addWidget(itshowserch_, row++, 0, 1, 4);
    g3->setRowStretch(row, 1);

    connect(itemname_, &QLineEdit::textChanged, this, &ItemPage::itemnameChange);
    connect(itgroup_, &QButtonGroup::idClicked, this, &ItemPage::itgroupClick);
    connect(itspecial_, &QCheckBox::clicked, this, &ItemPage::itspecialClick);
    for (QCheckBox* box : {itbattleuse_, itfielduse_})
        connect(box, &QCheckBox::clicked, this, [this, box] { itusetypeClick(box); });
    connect(itshowserch_, &QCheckBox::clicked, this, &ItemPage::itshowserchClick);
    auto on = [this](QPushButton* b, void (ItemPage::*handler)()) {
        if (b) connect(b, &QPushButton::clicked, this, handler);
    };
    on(image.set, &ItemPage::itfilenamesetClick);
    on(magic.set, &ItemPage::itmagicsetClick);
    on(magic.del, &ItemPage::itmagicdelClick);
    on(antipoison.set, &ItemPage::itantipoisonsetClick);
    on(antipoison.del, &ItemPage::itantipoisondelClick);
    on(comment.set, &ItemPage::itcommentsetClick);
    on(comment.del, &ItemPage::itcommentdelClick);
    on(sound.set, &ItemPage::itsoundsetClick);
    on(sound.del, &ItemPage::itsounddelClick);
    on(sound.extra, &ItemPage::itsoundplayClick);
    on(attackSound.set, &ItemPage::itattacksoundsetClick);
    on(attackSound.del, &ItemPage::itattacksounddelClick);
    on(attackSound.extra, &ItemPage::itattacksoundplayClick);
    on(findBgm.set, &ItemPage::itfindbgmsetClick);
    on(findBgm.del, &ItemPage::itfindbgmdelClick);
    on(findBgm.extra, &ItemPage::itfindbgmplayClick);

    itmoney_->store = [this](std::int64_t v) { item().itmoney = static_cast<i32>(v); };
    itcount_->store = [this](std::int64_t v) { item().itcount = static_cast<u8>(v); };
    itstrength_->store = [this](std::int64_t v) { item().itstrength = static_cast<i32>(v); };
    itdefence_->store = [this](std::int64_t v) { item().itdefence = static_cast<i32>(v); };
    itdextality_->store = [this](std::int64_t v) { item().itdextality = static_cast<i32>(v); };
    ithealing_->store = [this](std::int64_t v) { item().ithealing = static_cast<i32>(v); };
    ithealmp_->store = [this](std::int64_t v) { item().ithealmp = static_cast<i32>(v); };
    for (NumericEdit* e : {itmoney_, itcount_}) e->rerender = [this] { itemview(); };
}

int ItemPage::number() const { return owner_.currentObject(kItem); }

ItemDef& ItemPage::item() const { return editor().scenario.item(number()); }

QString ItemPage::words() const { return Tparamedit::objectWords(kItem, fromCp932(item().name.view())); }

QRadioButton* ItemPage::kindButton(int kind) const { return qobject_cast<QRadioButton*>(itgroup_->button(kind)); }
QLabel* ItemPage::label(const char* name) const { return findChild<QLabel*>(QString::fromLatin1(name)); }
QPushButton* ItemPage::button(const char* name) const { return findChild<QPushButton*>(QString::fromLatin1(name)); }

// ---- showing -------------------------------------------------------------------

void ItemPage::itemini() {
    ItemDef& it = item();
    const ItemControls open = applyItemRules(it);
    itspecial_->setEnabled(open.special);
    for (NumericEdit* box : {itstrength_, itdefence_, itdextality_}) openBox(box, open.status);
    openBox(ithealing_, open.healing);
    openBox(ithealmp_, open.healmp);
    for (QWidget* w : std::initializer_list<QWidget*>{itantipoison_, itantipoisonset_, itantipoisondel_})
        w->setEnabled(open.antipoison);
    ithelabel_->setText(open.general ? QStringLiteral("回復(&H)") : QStringLiteral("歩行回復(&H)"));
    itantipoisonset_->setText(open.general ? QStringLiteral("解毒(&P)") : QStringLiteral("抵抗力(&P)"));
    for (QWidget* w : attackSoundControls_) w->setEnabled(open.attackSound);
    itemview();
    const QSignalBlocker battle(itbattleuse_);
    const QSignalBlocker field(itfielduse_);
    itbattleuse_->setChecked(it.itbattleuse != 0);
    itfielduse_->setChecked(it.itfielduse != 0);
}

void ItemPage::itemview() {
    EditorContext& ctx = editor();
    const int n = number();
    ItemDef& it = item();
    rendering_ = true;
    {
        const QSignalBlocker nameBlock(itemname_);
        if (itemname_->bytes() != it.name.str()) itemname_->setBytes(it.name.view());
    }
    owner_.setObjectCaption(kItem, fromCp932(it.name.view()));
    itfilename_->setText(fileRefName(ctx.scenario.itemImageFiles[n - 1], QString()));
    itempic_->setIndex(itemPictureIndex(n));
    itgroup_->button(itemKind(it))->setChecked(true);
    {
        const QSignalBlocker block(itspecial_);
        itspecial_->setChecked(it.itspecial != 0);
    }
    itmoney_->showText(it.itmoney == 0 ? QStringLiteral("売買不可") : QString::number(it.itmoney));
    itcount_->showText(it.itcount == 0 ? QStringLiteral("無限") : QString::number(it.itcount));
    itstrength_->showText(QString::number(it.itstrength));
    itdefence_->showText(QString::number(it.itdefence));
    itdextality_->showText(QString::number(it.itdextality));
    ithealing_->showText(QString::number(it.ithealing));
    ithealmp_->showText(it.ithealmp < 0 ? QStringLiteral("全") : QString::number(it.ithealmp));
    itantipoison_->setText(poisonRefName(it.itantipoison));
    itmagic_->setText(magicRefName(it.itmagic));
    itcomment_->setText(commentRefName(it.itcomment));
    itsound_->setText((it.itsound == 0 ? QStringLiteral("ﾃﾞﾌｫﾙﾄ") : soundRefName(it.itsound)));
    itsoundplay_->setEnabled(it.itsound != 0);
    itattacksound_->setText((it.itattacksound == 0 ? QStringLiteral("ﾃﾞﾌｫﾙﾄ") : soundRefName(it.itattacksound)));
    itattacksoundplay_->setEnabled(it.itattacksound != 0);
    itfindbgm_->setText(bgmRefName(it.itfindbgm));
    itfindbgmplay_->setEnabled(it.itfindbgm != 0);
    {
        const QSignalBlocker block(itshowserch_);
        itshowserch_->setChecked(it.itshowserch != 0);
    }
    rendering_ = false;
}

}  // namespace qrn
