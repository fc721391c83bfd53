// The item page end to end: the author types into the boxes and clicks the
// kind, the special effect and the buttons of the property editor opened on
// an item, and the scenario record is checked.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "services/shortstringedit.h"
#include "objectpage_fixture.h"
#include "properties/itempage.h"
#include "properties/numericedit.h"

namespace qrn::test {
namespace {

class ItemPageTest : public ObjectPageTest {
protected:
    void SetUp() override {
        ObjectPageTest::SetUp();
        ItemDef& it = sword();
        it.name.assign("sword");
        for (u8& f : it.itgroup) f = 0;
        it.itgroup[0] = 1;
        it.itmoney = 120;
        it.itcount = 0;
        it.itstrength = 12;
        it.itattacksound = 5;
    }
    ItemDef& sword() { return scenario().item(1); }
    ItemPage& page() { return *paramedit_->itemPage(); }
    void open() { paramedit_->openOn(kItem, 1, true); }
};

TEST_F(ItemPageTest, WeaponToGeneralAndBackToArmour) {
    ItemDef& it = sword();
    it.itspecial = 1;
    it.ithealing = 8;
    it.itantipoison = 1;
    open();
    EXPECT_EQ(paramedit_->size(), QSize(209, 284));
    EXPECT_TRUE(page().kindButton(0)->isChecked());
    EXPECT_EQ(page().ithelabel()->text(), QStringLiteral("歩行回復(&H)"));
    EXPECT_EQ(page().button("itantipoisonset")->text(), QStringLiteral("抵抗力(&P)"));
    EXPECT_FALSE(page().ithealmp()->isEnabled());
    EXPECT_TRUE(page().ithealing()->isEnabled());
    EXPECT_EQ(page().label("itattacksound")->text(), QStringLiteral("clang"));

    page().kindButton(0)->click();  // the kind it has: nothing is cleared
    EXPECT_EQ(+it.ithealing, 8);
    EXPECT_EQ(it.itantipoison, 1);
    page().kindButton(5)->click();  // 一般
    const u8 general[6] = {0, 0, 0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(it.itgroup, general, 6), 0);
    EXPECT_EQ(+it.itstrength, 0);
    EXPECT_EQ(it.itattacksound, 0);
    EXPECT_EQ(it.itantipoison, 0);
    EXPECT_EQ(+it.ithealing, 0);
    EXPECT_EQ(it.itspecial, 0);
    EXPECT_FALSE(page().itspecial()->isEnabled());
    EXPECT_FALSE(page().itspecial()->isChecked());
    EXPECT_FALSE(page().itstrength()->isEnabled());
    EXPECT_EQ(page().itstrength()->text(), QStringLiteral("0"));
    EXPECT_TRUE(page().ithealmp()->isEnabled());
    EXPECT_FALSE(page().button("itattacksoundset")->isEnabled());
    EXPECT_EQ(page().ithelabel()->text(), QStringLiteral("回復(&H)"));
    EXPECT_EQ(page().button("itantipoisonset")->text(), QStringLiteral("解毒(&P)"));

    page().ithealmp()->setText(QStringLiteral("全"));
    EXPECT_EQ(+it.ithealmp, -1);
    page().kindButton(2)->click();  // 鎧
    EXPECT_EQ(+it.ithealmp, 0);
    EXPECT_EQ(page().ithealmp()->text(), QStringLiteral("0"));
    EXPECT_FALSE(page().ithealing()->isEnabled());
    EXPECT_FALSE(page().button("itantipoisonset")->isEnabled());
    page().itspecial()->click();
    EXPECT_EQ(it.itspecial, 1);
    EXPECT_TRUE(page().ithealing()->isEnabled());
    page().ithealing()->setText(QStringLiteral("7"));
    EXPECT_EQ(+it.ithealing, 7);
    page().itspecial()->click();
    EXPECT_EQ(it.itspecial, 0);
    EXPECT_EQ(+it.ithealing, 0);
    EXPECT_EQ(page().ithealing()->text(), QStringLiteral("0"));
}

TEST_F(ItemPageTest, SpecialWordsTypedAndDeletedCharacterByCharacter) {
    ItemDef& it = sword();
    it.itmoney = 0;
    open();
    EXPECT_EQ(page().itmoney()->text(), QStringLiteral("売買不可"));
    EXPECT_EQ(page().itcount()->text(), QStringLiteral("無限"));
    it.itmoney = 77;  // anything the box stores would overwrite this
    it.itcount = 9;
    for (const char* left : {"売買不", "売買", "売", ""}) {
        page().itmoney()->setText(QString::fromUtf8(left));
        EXPECT_EQ(+it.itmoney, 77) << left;
        EXPECT_EQ(page().itmoney()->text(), QString::fromUtf8(left));
    }
    for (const char* left : {"無", ""}) {
        page().itcount()->setText(QString::fromUtf8(left));
        EXPECT_EQ(it.itcount, 9) << left;
    }
    page().itmoney()->setText(QStringLiteral("50"));
    EXPECT_EQ(+it.itmoney, 50);
    page().itmoney()->setText(QStringLiteral("0"));
    EXPECT_EQ(+it.itmoney, 0);
    EXPECT_EQ(page().itmoney()->text(), QStringLiteral("売買不可"));
    page().itmoney()->setText(QStringLiteral("abc"));
    EXPECT_EQ(+it.itmoney, 0);
    page().itcount()->setText(QStringLiteral("300"));
    EXPECT_EQ(it.itcount, 250);
    EXPECT_EQ(page().itcount()->text(), QStringLiteral("250"));
    page().itcount()->setText(QStringLiteral("x"));
    EXPECT_EQ(it.itcount, 0);
    EXPECT_EQ(page().itcount()->text(), QStringLiteral("無限"));

    page().itstrength()->setText(QStringLiteral("-"));  // waits for digits
    EXPECT_EQ(+it.itstrength, 12);
    page().itstrength()->setText(QStringLiteral("-70000"));
    EXPECT_EQ(+it.itstrength, -65535);
    EXPECT_EQ(page().itstrength()->text(), QStringLiteral("-65535"));
}

TEST_F(ItemPageTest, ACuredSpecialAttackNeedsPoisonDamageAndAResistedOneDoesNot) {
    ItemDef& it = sword();
    it.itgroup[0] = 0;
    it.itgroup[5] = 1;
    open();
    chooser_.answer = {true, 1};  // no poison damage
    page().itantipoisonsetClick();
    EXPECT_EQ(chooser_.kinds.back(), ResourceKind::Poison);
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：swordで解毒出来る特殊攻撃を一つ選択"));
    EXPECT_EQ(it.itantipoison, 0);
    chooser_.answer = {true, 2};
    page().itantipoisonsetClick();
    EXPECT_EQ(it.itantipoison, 2);
    EXPECT_EQ(page().label("itantipoison")->text(), QStringLiteral("venom"));

    page().kindButton(3)->click();  // 兜
    page().itspecial()->click();
    chooser_.answer = {true, 1};
    page().itantipoisonsetClick();
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：swordで無力化出来る特殊攻撃を一つ選択"));
    EXPECT_EQ(it.itantipoison, 1);
    page().button("itantipoisondel")->click();
    EXPECT_EQ(it.itantipoison, 0);
}

TEST_F(ItemPageTest, SoundsMusicCommentMagicAndFlags) {
    ItemDef& it = sword();
    open();
    EXPECT_EQ(page().label("itsound")->text(), QStringLiteral("ﾃﾞﾌｫﾙﾄ"));
    EXPECT_FALSE(page().button("itsoundplay")->isEnabled());
    chooser_.answer = {true, 5};
    page().itsoundsetClick();
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：swordを使用時の効果音を一つ選択"));
    EXPECT_EQ(it.itsound, 5);
    ASSERT_TRUE(page().button("itsoundplay")->isEnabled());
    page().button("itsoundplay")->click();
    EXPECT_EQ(media_.sounds, QStringList{editor().resourcePath(QStringLiteral("clang.wav"))});
    chooser_.answer = {false, 1};
    page().itsoundsetClick();
    EXPECT_EQ(it.itsound, 5);
    page().button("itsounddel")->click();
    EXPECT_EQ(it.itsound, 0);

    chooser_.answer = {true, 3};
    page().itfindbgmsetClick();
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：swordを発見した時のBGMを一つ選択"));
    EXPECT_EQ(it.itfindbgm, 3);
    EXPECT_EQ(page().label("itfindbgm")->text(), QStringLiteral("march"));
    chooser_.answer = {true, 10};
    page().itcommentsetClick();
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：swordを使用時のｺﾒﾝﾄを一つ選択"));
    EXPECT_EQ(+it.itcomment, 10);
    chooser_.answer = {true, 5};
    page().itattacksoundsetClick();
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：swordで打撃を与えた時の効果音を一つ選択"));

    magicAnswer = std::vector<int>{2, 9};
    page().itmagicsetClick();
    EXPECT_EQ(it.itmagic, 2);
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("swordが発動する魔法を一つ選択"));
    EXPECT_EQ(page().label("itmagic")->text(), QStringLiteral("fire"));

    const u8 battle = it.itbattleuse, field = it.itfielduse, serch = it.itshowserch;
    EXPECT_EQ(page().itbattleuse()->isChecked(), battle != 0);
    page().itbattleuse()->click();
    page().itshowserch()->click();
    EXPECT_EQ(it.itbattleuse, battle ? 0 : 1);
    EXPECT_EQ(it.itfielduse, field);
    EXPECT_EQ(it.itshowserch, serch ? 0 : 1);

    it.itcomment = -4;  // none, as a damaged file may hold it
    it.itfindbgm = 200;
    page().itemview();
    EXPECT_EQ(page().label("itcomment")->text(), QStringLiteral("-"));
    EXPECT_EQ(page().label("itfindbgm")->text(), QStringLiteral("-"));
}

}  // namespace
}  // namespace qrn::test
