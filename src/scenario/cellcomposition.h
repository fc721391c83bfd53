// How a map cell looks: which picture of which layer is drawn, bottom to top.
// The map, the bitmap export, the picture sheet, the whole-area map and the
// location picker all draw a cell from this one rule.
#pragma once

#include <array>

#include "resets.h"
#include "scenario.h"

namespace qrn {

// Layers numbered as the editor numbers them (1 place .. 5 chara), listed
// bottom to top: terrain, building, event, item, character.
inline constexpr std::array<int, 5> kCellLayersBottomToTop{1, 2, 3, 4, 5};

// Which layers are drawn, indexed by layer number (index 0 unused).
using LayerFlags = std::array<bool, 6>;
inline constexpr LayerFlags kAllLayers{false, true, true, true, true, true};

// The picture indexes a cell shows, bottom to top; entries past `count` are -1.
struct CellLook {
    std::array<int, 5> pictures{-1, -1, -1, -1, -1};
    int count = 0;

    friend bool operator==(const CellLook&, const CellLook&) = default;
};

// The look of a cell: for each visible layer whose entry names an object
// (terrain 1..400, the others 1..250), the object's first picture index.
// Entries outside the tables and picture indexes outside 0..pictureCount-1
// count as none. A picture index of 0 (an object without a picture) is kept:
// the list's entry 0 is drawn, as for any other object.
CellLook composeCell(const Cell& cell, const PictureIndexTables& pictures, const LayerFlags& visible,
                     int pictureCount);

// The first picture index of an object of a layer, or -1 when the number
// lies outside the layer's table.
int objectPicture(const PictureIndexTables& pictures, int layer, int number);

}  // namespace qrn
