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

QCheckBox* checkBox(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

ItemPage::ItemPage(Tparamedit& owner, QWidget* parent) : QTabWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("itempanel"));
    int row = 0;

    // 一般
    QWidget* s1 = addSheet(this, "itemsheet1", "一般", 137000);
    QGridLayout* g1 = sheetGrid(s1);
    itemname_ = addNameRows(g1, row, "itemname", QStringLiteral("ｱｲﾃﾑ名(&N)"));
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
    itmoney_ = numberBox(QStringLiteral("itmoney"), numericedits::itmoney(), 0, s1);
    labelled(g1, row++, QStringLiteral("価格(&M)"), itmoney_);
    itcount_ = numberBox(QStringLiteral("itcount"), numericedits::itcount(), 0, s1);
    labelled(g1, row++, QStringLiteral("使用可能回数(&C)"), itcount_);
    g1->setRowStretch(row, 1);

    // 効果
    row = 0;
    QWidget* s2 = addSheet(this, "itemsheet2", "効果", 138000);
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
        const NumericRule rule = b.tag == 5 ? numericedits::ithealmp() : numericedits::itstatus();
        *b.box = numberBox(QString::fromLatin1(b.name), rule, b.tag, s2);
        QLabel* l = labelled(g2, row++, QString::fromUtf8(b.caption), *b.box);
        if (b.tag == 4) {
            l->setObjectName(QStringLiteral("ithelabel"));
            ithelabel_ = l;
        }
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
    QWidget* s3 = addSheet(this, "itemsheet3", "特殊", 139000);
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
    connectRow(this, image, &ItemPage::itfilenamesetClick);
    connectRow(this, magic, &ItemPage::itmagicsetClick, &ItemPage::itmagicdelClick);
    connectRow(this, antipoison, &ItemPage::itantipoisonsetClick, &ItemPage::itantipoisondelClick);
    connectRow(this, comment, &ItemPage::itcommentsetClick, &ItemPage::itcommentdelClick);
    connectRow(this, sound, &ItemPage::itsoundsetClick, &ItemPage::itsounddelClick, &ItemPage::itsoundplayClick);
    connectRow(this, attackSound, &ItemPage::itattacksoundsetClick, &ItemPage::itattacksounddelClick,
               &ItemPage::itattacksoundplayClick);
    connectRow(this, findBgm, &ItemPage::itfindbgmsetClick, &ItemPage::itfindbgmdelClick,
               &ItemPage::itfindbgmplayClick);

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
    for (NumericEdit* box : {itstrength_, itdefence_, itdextality_}) openNumericBox(box, open.status);
    openNumericBox(ithealing_, open.healing);
    openNumericBox(ithealmp_, open.healmp);
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
