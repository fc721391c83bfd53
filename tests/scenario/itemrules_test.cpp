// The rules tying item settings to the item's kind and special effect,
// compared on whole records: what must be cleared is cleared and nothing
// else moves.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "scenario/itemrules.h"
#include "scenario/pickerrules.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

template <typename T>
bool same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

// An item of `kind` with every value in use.
ItemDef fullItem(int kind) {
    ItemDef it;
    std::memset(&it, 0, sizeof it);
    it.name.assign("sword");
    it.itgroup[kind] = 1;
    it.itcount = 3;
    it.itmoney = 120;
    it.itspecial = 1;
    it.itcomment = 9;
    it.itshowserch = 1;
    it.itfielduse = 1;
    it.itbattleuse = 1;
    it.itstrength = 10;
    it.itdefence = -4;
    it.itdextality = 2;
    it.ithealing = 5;
    it.ithealmp = -1;
    it.itantipoison = 3;
    it.itmagic = 2;
    it.itfindbgm = 4;
    it.itsound = 6;
    it.itattacksound = 7;
    it.imageTransparent = 1;
    it.imageColour = 0xABCDEF;
    return it;
}

TEST(ItemRules, KindRulesClearWhatTheKindDoesNotHave) {
    struct Case {
        const char* what;
        std::function<void(ItemDef&)> setUp;
        std::function<void(ItemDef&)> cleared;
        ItemControls open;
    } cases[] = {
        {"weapon with the special effect", [](ItemDef& it) { it.itgroup[0] = 1; },
         [](ItemDef& it) { it.ithealmp = 0; }, {false, true, true, true, false, true, true}},
        {"shield without the special effect",
         [](ItemDef& it) {
             it.itgroup[1] = 1;
             it.itspecial = 0;
         },
         [](ItemDef& it) {
             it.ithealmp = 0;
             it.itattacksound = 0;
         },
         {false, true, true, false, false, false, false}},
        {"general", [](ItemDef& it) { it.itgroup[5] = 1; },
         [](ItemDef& it) {
             it.itspecial = 0;
             it.itstrength = it.itdefence = it.itdextality = 0;
             it.itattacksound = 0;
         },
         {true, false, false, true, true, true, false}},
        {"no kind flag (a damaged file) counts as general", [](ItemDef&) {},
         [](ItemDef& it) {
             it.itspecial = 0;
             it.itstrength = it.itdefence = it.itdextality = 0;
             it.itattacksound = 0;
         },
         {true, false, false, true, true, true, false}},
        {"weapon and general: the last flag wins",
         [](ItemDef& it) {
             it.itgroup[0] = 1;
             it.itgroup[5] = 1;
         },
         [](ItemDef& it) {
             it.itspecial = 0;
             it.itstrength = it.itdefence = it.itdextality = 0;
             it.itattacksound = 0;
         },
         {true, false, false, true, true, true, false}},
    };
    for (const Case& c : cases) {
        ItemDef it = fullItem(0);
        it.itgroup[0] = 0;
        c.setUp(it);
        ItemDef expected = it;
        c.cleared(expected);
        EXPECT_EQ(applyItemRules(it), c.open) << c.what;
        EXPECT_TRUE(same(it, expected)) << c.what;
    }
}

TEST(ItemRules, WeaponToGeneralThenGeneralToArmour) {
    ItemDef it = fullItem(0);
    ASSERT_TRUE(setItemKind(it, kItemGeneral));
    applyItemRules(it);
    ItemDef expected = fullItem(0);
    expected.itgroup[0] = 0;
    expected.itgroup[5] = 1;
    expected.itantipoison = 0;
    expected.ithealing = 0;
    expected.itspecial = 0;
    expected.itstrength = expected.itdefence = expected.itdextality = 0;
    expected.itattacksound = 0;
    EXPECT_TRUE(same(it, expected));

    it.ithealing = 30;
    it.itantipoison = 2;
    ASSERT_TRUE(setItemKind(it, 2));
    const ItemControls open = applyItemRules(it);
    expected.itgroup[5] = 0;
    expected.itgroup[2] = 1;
    expected.ithealmp = 0;
    EXPECT_TRUE(same(it, expected));
    EXPECT_FALSE(open.healing);  // closed until the special effect is checked
    EXPECT_FALSE(open.antipoison);

    ItemDef untouched = it;
    EXPECT_FALSE(setItemKind(it, 6));
    EXPECT_FALSE(setItemKind(it, -1));
    EXPECT_TRUE(same(it, untouched));
}

TEST(ItemRules, DamagedKindFlagsShowGeneralAndAClickLeavesOneFlag) {
    ItemDef none = fullItem(5);
    none.itgroup[5] = 0;
    ItemDef several = fullItem(0);
    several.itgroup[3] = 1;
    for (ItemDef* it : {&none, &several}) {
        EXPECT_EQ(itemKind(*it), kItemGeneral);
        it->ithealing = 12;
        ItemDef expected = *it;
        for (u8& flag : expected.itgroup) flag = 0;
        expected.itgroup[kItemGeneral] = 1;
        ASSERT_TRUE(setItemKind(*it, kItemGeneral));  // the kind shown: the values stay
        EXPECT_TRUE(same(*it, expected));
    }
    ASSERT_TRUE(setItemKind(several, 1));
    int flags = 0;
    for (u8 flag : several.itgroup) flags += flag;
    EXPECT_EQ(flags, 1);
    EXPECT_EQ(itemKind(several), 1);
    EXPECT_EQ(+several.ithealing, 0);
}

TEST(ItemRules, UncheckingTheSpecialEffectClearsWalkingRecoveryAndResistance) {
    ItemDef it = fullItem(3);
    setItemSpecial(it, false);
    ItemDef expected = fullItem(3);
    expected.itspecial = 0;
    expected.ithealing = 0;
    expected.itantipoison = 0;
    EXPECT_TRUE(same(it, expected));
    setItemSpecial(it, true);
    expected.itspecial = 1;
    EXPECT_TRUE(same(it, expected));  // nothing comes back
}

TEST(ItemRules, ACuredSpecialAttackMustDoPoisonDamage) {
    test::ScenarioPtr s = test::newScenario();
    s->poison(1).podamage = 0;
    s->poison(1).podownstr = 5;
    s->poison(2).podamage = 3;
    const ItemDef potion = fullItem(kItemGeneral);
    const ItemDef helmet = fullItem(3);
    EXPECT_FALSE(itemTakesSpecialAttack(*s, potion, 1));
    EXPECT_TRUE(itemTakesSpecialAttack(*s, potion, 2));
    EXPECT_TRUE(itemTakesSpecialAttack(*s, helmet, 1));  // resistance needs no poison damage
    for (int outside : {0, -1, kPoisonCount + 1}) {
        EXPECT_FALSE(itemTakesSpecialAttack(*s, potion, outside));
        EXPECT_FALSE(itemTakesSpecialAttack(*s, helmet, outside));
    }
}

}  // namespace
}  // namespace qrn
