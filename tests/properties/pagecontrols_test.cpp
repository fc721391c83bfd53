// Every up-down and number box of the object pages, stepped once as the
// author would: exactly the box's own setting changes in the whole record.
#include <QSpinBox>
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "../scenario/scenario_test_support.h"
#include "objectpage_fixture.h"
#include "properties/numericedit.h"
#include "scenario/chararules.h"
#include "scenario/itemrules.h"

namespace qrn::test {
namespace {

#define MEMBER(Def, member) offsetof(Def, member), sizeof(Def::member)

struct ControlRow {
    const char* control;  // object name of the box
    int layer;
    std::size_t offset, width;  // the setting inside the object's definition
    void (*setUp)(Scenario&);  // opens the box for the object
};

void passable(Scenario& s) { s.place(2).plmove = 1; }
void armedWeapon(Scenario& s) {
    setItemKind(s.item(2), kItemWeapon);
    setItemSpecial(s.item(2), true);
}
void generalItem(Scenario& s) { setItemKind(s.item(2), kItemGeneral); }
void healer(Scenario& s) { setCharaKind(s.chara(2), kCharaHealer); }
void enemyWithDrop(Scenario& s) {
    setCharaKind(s.chara(2), kCharaEnemy);
    s.chara(2).chitem = 3;
}

const ControlRow kControls[] = {
    {"plwonderingedit", kPlace, MEMBER(PlaceDef, plwondering), passable},
    {"plwondering", kPlace, MEMBER(PlaceDef, plwondering), passable},
    {"plhealingedit", kPlace, MEMBER(PlaceDef, plhealing), passable},
    {"plhealing", kPlace, MEMBER(PlaceDef, plhealing), passable},
    {"pldamageedit", kPlace, MEMBER(PlaceDef, pldamage), passable},
    {"pldamage", kPlace, MEMBER(PlaceDef, pldamage), passable},
    {"itmoney", kItem, MEMBER(ItemDef, itmoney), generalItem},
    {"itcount", kItem, MEMBER(ItemDef, itcount), generalItem},
    {"itstrength", kItem, MEMBER(ItemDef, itstrength), armedWeapon},
    {"itdefence", kItem, MEMBER(ItemDef, itdefence), armedWeapon},
    {"itdextality", kItem, MEMBER(ItemDef, itdextality), armedWeapon},
    {"ithealing", kItem, MEMBER(ItemDef, ithealing), armedWeapon},
    {"ithealmp", kItem, MEMBER(ItemDef, ithealmp), generalItem},
    {"chhealmoney", kChara, MEMBER(CharaDef, chhealmoney), healer},
    {"chpower", kChara, MEMBER(CharaDef, chpower), enemyWithDrop},
    {"chattack", kChara, MEMBER(CharaDef, chattack), enemyWithDrop},
    {"chdefence", kChara, MEMBER(CharaDef, chdefence), enemyWithDrop},
    {"chdextality", kChara, MEMBER(CharaDef, chdextality), enemyWithDrop},
    {"chmoney", kChara, MEMBER(CharaDef, chmoney), enemyWithDrop},
    {"chexperience", kChara, MEMBER(CharaDef, chexperience), enemyWithDrop},
    {"chitemputedit", kChara, MEMBER(CharaDef, chitemput), enemyWithDrop},
    {"chitemput", kChara, MEMBER(CharaDef, chitemput), enemyWithDrop},
    {"chmagicuseedit", kChara, MEMBER(CharaDef, chmagicuse), enemyWithDrop},
    {"chmagicuse", kChara, MEMBER(CharaDef, chmagicuse), enemyWithDrop},
    {"chpoisonuseedit", kChara, MEMBER(CharaDef, chpoisonuse), enemyWithDrop},
    {"chpoisonuse", kChara, MEMBER(CharaDef, chpoisonuse), enemyWithDrop},
};

const unsigned char* definition(Scenario& s, int layer) {
    switch (layer) {
    case kPlace: return reinterpret_cast<const unsigned char*>(&s.place(2));
    case kItem: return reinterpret_cast<const unsigned char*>(&s.item(2));
    default: return reinterpret_cast<const unsigned char*>(&s.chara(2));
    }
}

TEST_F(ObjectPageTest, EveryNumericControlChangesExactlyItsOwnSetting) {
    // The table covers every box the pages have.
    QStringList names, listed;
    for (const auto* box : paramedit_->findChildren<QSpinBox*>()) names << box->objectName();
    for (const auto* box : paramedit_->findChildren<NumericEdit*>()) names << box->objectName();
    for (const ControlRow& row : kControls) listed << QString::fromLatin1(row.control);
    names.sort();
    listed.sort();
    EXPECT_EQ(names, listed);

    Scenario& s = scenario();
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.control);
        row.setUp(s);
        paramedit_->openOn(row.layer, 2, true);
        QWidget* box = paramedit_->findChild<QWidget*>(QString::fromLatin1(row.control));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isEnabled());
        const auto before = copyOf(s);
        if (auto* upDown = qobject_cast<QSpinBox*>(box)) upDown->stepBy(1);
        else static_cast<NumericEdit*>(box)->setText(QStringLiteral("7"));
        const std::size_t from = static_cast<std::size_t>(definition(s, row.layer) - s.bytes()) + row.offset;
        const long first = firstDifference(s, *before);
        EXPECT_TRUE(first < 0 || first >= static_cast<long>(from)) << "byte " << first << " before the setting changed";
        EXPECT_EQ(std::memcmp(s.bytes() + from + row.width, before->bytes() + from + row.width,
                              kRecordSize - from - row.width),
                  0)
            << "a byte after the setting changed";
        EXPECT_NE(std::memcmp(s.bytes() + from, before->bytes() + from, row.width), 0) << "the setting did not change";
    }
}

}  // namespace
}  // namespace qrn::test
