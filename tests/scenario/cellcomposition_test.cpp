// The one rule for how a cell looks.
#include <gtest/gtest.h>

#include "scenario/cellcomposition.h"

using namespace qrn;

namespace {

TEST(ComposeCell, VisibleLayersBottomToTopWithOutOfRangeAsNone) {
    auto p = std::make_unique<PictureIndexTables>();
    p->place[3] = 11;
    p->place[400] = 12;
    p->enter[5] = 13;
    p->event[7] = 14;
    p->charaItem[kCharaCount + 2] = 15;  // item 2
    p->charaItem[2] = 16;                // chara 2
    p->charaItem[9] = 99;                // past the picture list
    struct Case {
        Cell cell;
        LayerFlags visible;
        CellLook look;
    };
    const LayerFlags noTerrain{false, false, true, true, true, true};
    const Case cases[] = {
        {{0, 0, 5, 7, 2, 2, 3}, kAllLayers, {{11, 13, 14, 15, 16}, 5}},
        {{0, 0, 5, 7, 2, 2, 3}, noTerrain, {{13, 14, 15, 16, -1}, 4}},
        {{0, 0, 0, 0, 0, 0, 400}, kAllLayers, {{12, -1, -1, -1, -1}, 1}},
        {{0, 0, 0, 0, 0, 0, 401}, kAllLayers, {}},                        // terrain past the table
        {{0, 0, 0, 0, 0, 0, -3}, kAllLayers, {}},                         // negative terrain
        {{0, 0, 251, 0, 0, 0, 0}, kAllLayers, {}},                        // building past the table
        {{0, 0, 0, 0, 9, 0, 0}, kAllLayers, {}},                          // picture past the list
        {{0, 0, 1, 0, 0, 0, 0}, kAllLayers, {{0, -1, -1, -1, -1}, 1}},    // no picture: entry 0
    };
    for (const Case& c : cases) EXPECT_EQ(composeCell(c.cell, *p, c.visible, 50), c.look);
}

}  // namespace
