// The record's byte image: sizes and offsets as the file format fixes them,
// seen through the bytes rather than through the compiler's layout.
#include <gtest/gtest.h>

#include <climits>

#include "scenario/fieldlayout.h"
#include "scenario/scenario.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;

TEST(Layout, FieldTableEndsRightBeforeTheCellStore) {
    auto s = newScenario();
    s->field(100).height = 0x11223344;
    const unsigned char* b = s->bytes();
    EXPECT_EQ(b[327507], 0x44);
    EXPECT_EQ(b[327508], 0x33);
    EXPECT_EQ(b[327509], 0x22);
    EXPECT_EQ(b[327510], 0x11);  // last byte of FieldDef 100
    s->cell(1).col = 7;
    EXPECT_EQ(b[327511], 7);
}

// The compiler checks every offset and size; what it does not check is that
// the 1-based accessors name entry n - 1, first and last.
TEST(Layout, OneBasedAccessorsNameTheirTablesEntries) {
    auto s = newScenario();
    Scenario& r = *s;
    const Scenario& c = r;
    struct Expect { const void* got; const void* entry; };
    const Expect cases[] = {
        {&r.chara(1), &r.charas[0]},          {&r.chara(250), &r.charas[249]},
        {&r.item(1), &r.items[0]},            {&r.item(250), &r.items[249]},
        {&r.event(1), &r.events[0]},          {&r.event(250), &r.events[249]},
        {&r.place(1), &r.places[0]},          {&r.place(400), &r.places[399]},
        {&r.enter(1), &r.enters[0]},          {&r.enter(250), &r.enters[249]},
        {&r.magic(1), &r.magics[0]},          {&r.magic(50), &r.magics[49]},
        {&r.poison(1), &r.poisons[0]},        {&r.poison(50), &r.poisons[49]},
        {&r.field(1), &r.fields[0]},          {&r.field(100), &r.fields[99]},
        {&c.field(1), &r.fields[0]},          {&c.field(100), &r.fields[99]},
        {&r.cell(1), &r.cells[0]},            {&r.cell(300000), &r.cells[299999]},
        {&c.cell(1), &r.cells[0]},            {&c.cell(300000), &r.cells[299999]},
        {&r.bgm(1), &r.bgms[0]},              {&r.bgm(50), &r.bgms[49]},
        {&r.sound(1), &r.sounds[0]},          {&r.sound(50), &r.sounds[49]},
        {&r.comment(1), &r.comments[0]},      {&r.comment(500), &r.comments[499]},
        {&r.enemyType(1), &r.enemyTypes[0]},  {&r.enemyType(50), &r.enemyTypes[49]},
        {&r.walkImg(1), &r.walkImgs[0]},      {&r.walkImg(10), &r.walkImgs[9]},
        {&r.level(1), &r.levels[0]},          {&r.level(49), &r.levels[48]},
    };
    for (const auto& k : cases) EXPECT_EQ(k.got, k.entry) << "entry at offset " << offsetIn(r, k.entry);
}

TEST(Layout, ShortStringsHoldTheirCapacity) {
    auto s = newScenario();
    const std::string name(32, 'a');
    s->chara(1).name.assign(name);
    EXPECT_EQ(s->chara(1).name.view(), name);
    EXPECT_EQ(s->bytes()[361], 32);
    EXPECT_EQ(s->bytes()[361 + 32], 'a');
    EXPECT_EQ(s->bytes()[361 + 33], 0);  // chcharatype untouched
    // A damaged length byte never reads past the slot.
    s->chara(1).name.len = 200;
    EXPECT_EQ(s->chara(1).name.view().size(), 32u);
}

TEST(Layout, AddressingHelpersStayInsideTheRecord) {
    auto s = newScenario();
    layoutFieldCells(*s, 1, 1, 10, 10);
    layoutFieldCells(*s, 2, 101, 20, 30);
    EXPECT_EQ(fieldsInUseCount(*s), 2);
    EXPECT_EQ(cellOf(*s, 2, 1), 101);
    EXPECT_EQ(cellOf(*s, 2, 600), 700);
    EXPECT_EQ(myend(*s, 2), 700);
    EXPECT_EQ(cellOf(*s, 2, 601), 0);  // beyond the field
    EXPECT_EQ(cellOf(*s, 2, 0), 0);
    EXPECT_EQ(cellOf(*s, 3, 1), 0);    // not in use
    EXPECT_EQ(cellOf(*s, 101, 1), 0);  // no such slot
    EXPECT_EQ(s->cell(700).col, 19);
    EXPECT_EQ(s->cell(700).row, 29);

    s->hero.startField = 2;
    s->hero.startPosition = 2 * 20 + 5;  // column 4, row 2
    EXPECT_EQ(linkby(*s, 3, 0, 0), 5);
    EXPECT_EQ(linkby(*s, 3, 0, 1), 3);
    EXPECT_EQ(linkby(*s, 9, 0, 0), 1);
    s->cell(101 + 44).enter = 17;
    EXPECT_EQ(makerserchenter(*s, 45, 2), 17);
    EXPECT_EQ(makerserchenter(*s, 45, 3), 0);

    // Hostile values: a huge first cell, a negative count.
    s->field(3).firstCell = INT_MAX;
    s->field(3).cellCount = 32767;
    EXPECT_EQ(cellOf(*s, 3, 2), 0);
    EXPECT_EQ(myend(*s, 3), INT_MAX);
    s->field(4).firstCell = 299990;
    s->field(4).cellCount = 100;
    EXPECT_EQ(cellOf(*s, 4, 11), 300000);
    EXPECT_EQ(cellOf(*s, 4, 12), 0);  // past the store
    s->field(5).firstCell = 5;
    s->field(5).cellCount = -3;
    EXPECT_EQ(cellOf(*s, 5, 1), 0);

    // Layout refuses what would not fit the store.
    auto before = copyOf(*s);
    layoutFieldCells(*s, 6, 299000, 120, 120);
    layoutFieldCells(*s, 0, 1, 10, 10);
    layoutFieldCells(*s, 6, 1, 130, 10);
    EXPECT_TRUE(sameBytes(*s, *before));
}
