#include "cellcomposition.h"

namespace qrn {

int objectPicture(const PictureIndexTables& p, int layer, int number) {
    switch (layer) {
        case 1: return number >= 1 && number <= kPlaceCount ? p.place[number] : -1;
        case 2: return number >= 1 && number <= kEnterCount ? p.enter[number] : -1;
        case 3: return number >= 1 && number <= kEventCount ? p.event[number] : -1;
        case 4: return number >= 1 && number <= kItemCount ? p.charaItem[kCharaCount + number] : -1;
        case 5: return number >= 1 && number <= kCharaCount ? p.charaItem[number] : -1;
        default: return -1;
    }
}

CellLook composeCell(const Cell& cell, const PictureIndexTables& pictures, const LayerFlags& visible,
                     int pictureCount) {
    const int entries[6] = {0, cell.place, cell.enter, cell.event, cell.item, cell.chara};
    CellLook look;
    for (int layer : kCellLayersBottomToTop) {
        if (!visible[static_cast<std::size_t>(layer)] || entries[layer] <= 0) continue;
        const int index = objectPicture(pictures, layer, entries[layer]);
        if (index < 0 || index >= pictureCount) continue;
        look.pictures[static_cast<std::size_t>(look.count++)] = index;
    }
    return look;
}

}  // namespace qrn
