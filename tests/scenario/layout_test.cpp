// The record's byte image: sizes and offsets as the file format fixes them,
// seen through the bytes rather than through the compiler's layout.
#include <gtest/gtest.h>

#include <climits>

#include "scenario/fieldlayout.h"
#include "scenario/scenario.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;

TEST(Layout, LastByteIsHeroNameChangeable) {
    auto s = newScenario();
    ASSERT_EQ(sizeof(Scenario), 4516515u);
    s->settings.heroNameChangeable = 0x5A;
    EXPECT_EQ(s->bytes()[4516514], 0x5A);
    EXPECT_EQ(offsetIn(*s, &s->settings.heroNameChangeable), 4516514u);
}

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

TEST(Layout, MembersLieAtTheirFileOffsets) {
    auto s = newScenario();
    Scenario& r = *s;
    struct Expect { const void* at; std::size_t offset; };
    const Expect cases[] = {
        {&r.hero.startPosition, 34},
        {&r.hero.hemagicitem, 360},
        {&r.chara(1), 361},
        {&r.chara(250).imageColour, 361 + 249 * 372 + 368},
        {&r.item(250).imageColour, 93361 + 249 * 80 + 76},
        {&r.event(2).evstartitem, 113361 + 623 + 565},
        {&r.place(400).image2Colour, 269111 + 399 * 54 + 50},
        {&r.enter(250).image2Colour, 290711 + 249 * 53 + 49},
        {&r.magic(50).mgdowndextome, 303961 + 49 * 70 + 69},
        {&r.poison(50).podowndex, 307461 + 49 * 43 + 41},
        {&r.field(1).warpPoints[29], 309611 + 39 + 29 * 4},
        {&r.cell(300000).place, 327511 + 299999 * 10 + 6},
        {&r.bgm(50).loop, 3327511 + 49 * 290 + 289},
        {&r.sound(50).fileName, 3342011 + 49 * 289 + 33},
        {&r.comment(500).line4, 3356461 + 499 * 1037 + 786},
        {&r.enemyType(50).members[4], 3874961 + 49 * 38 + 37},
        {&r.walkImg(10).imageColour, 3876861 + 9 * 38 + 34},
        {&r.level(49).magic, 3877241 + 48 * 13 + 12},
        {&r.walkImageFiles[9][7], 3877878 + 9 * 2048 + 7 * 256},
        {&r.charaImageFiles[249], 3898358 + 249 * 256},
        {&r.fieldItemImageFiles[99], 4487158 + 99 * 256},
        {&r.settings.titleComments[4], 4515199 + 8},
        {&r.settings.endingBitmaps[4], 4515212 + 4 * 256},
    };
    for (const auto& c : cases) EXPECT_EQ(offsetIn(r, c.at), c.offset);

    // Little-endian and packed: an i32 at an odd offset reads back byte-wise.
    r.event(2).evstartitem = 0x01020304;
    const unsigned char* b = r.bytes() + 113361 + 623 + 565;
    EXPECT_EQ(b[0], 4);
    EXPECT_EQ(b[3], 1);
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
