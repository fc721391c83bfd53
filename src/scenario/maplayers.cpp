#include "maplayers.h"

namespace qrn {

int layerSlotCount(int layer) { return layer == kPlace ? kPlaceCount : 250; }

bool validLayer(int layer) { return layer >= kPlace && layer <= kChara; }

bool validObject(int layer, int number) {
    return validLayer(layer) && number >= 1 && number <= layerSlotCount(layer);
}

ShortString255* firstImageFile(Scenario& s, int layer, int number) {
    if (!validObject(layer, number)) return nullptr;
    switch (layer) {
    case kPlace: return &s.placeImageFiles[number - 1];
    case kEnter: return &s.enterImageFiles[number - 1];
    case kEvent: return &s.eventImageFiles[number - 1];
    case kItem: return &s.itemImageFiles[number - 1];
    default: return &s.charaImageFiles[number - 1];
    }
}

ShortString255* secondImageFile(Scenario& s, int layer, int number) {
    if (!validObject(layer, number)) return nullptr;
    switch (layer) {
    case kPlace: return &s.placeImage2Files[number - 1];
    case kEnter: return &s.enterImage2Files[number - 1];
    case kEvent: return &s.eventImage2Files[number - 1];
    default: return nullptr;
    }
}

bool objectInUse(Scenario& s, int layer, int number) {
    const ShortString255* file = firstImageFile(s, layer, number);
    return file && !file->empty();
}

std::string objectNameBytes(Scenario& s, int layer, int number) {
    if (!validObject(layer, number)) return {};
    switch (layer) {
    case kPlace: return s.place(number).name.str();
    case kEnter: return s.enter(number).name.str();
    case kEvent: return s.event(number).name.str();
    case kItem: return s.item(number).name.str();
    default: return s.chara(number).name.str();
    }
}

std::int32_t* pictureSlot(PictureIndexTables& p, int layer, int number) {
    if (!validObject(layer, number)) return nullptr;
    switch (layer) {
    case kPlace: return &p.place[number];
    case kEnter: return &p.enter[number];
    case kEvent: return &p.event[number];
    case kItem: return &p.charaItem[kCharaCount + number];
    default: return &p.charaItem[number];
    }
}

std::int32_t* secondPictureSlot(PictureIndexTables& p, int layer, int number) {
    if (!validObject(layer, number)) return nullptr;
    switch (layer) {
    case kPlace: return &p.place2[number];
    case kEnter: return &p.enter[kEnterCount + number];
    case kEvent: return &p.event[kEventCount + number];
    default: return nullptr;
    }
}

int pictureIndex(const PictureIndexTables& p, int layer, int number) {
    const std::int32_t* slot = pictureSlot(const_cast<PictureIndexTables&>(p), layer, number);
    return slot ? *slot : 0;
}

void setFirstPictureTransparency(Scenario& s, int layer, int number, bool on, std::uint32_t colour) {
    if (!validObject(layer, number)) return;
    const u8 flag = on ? 1 : 0;
    const auto c = static_cast<i32>(colour);
    switch (layer) {
    case kPlace: s.place(number).imageTransparent = flag; s.place(number).imageColour = c; break;
    case kEnter: s.enter(number).imageTransparent = flag; s.enter(number).imageColour = c; break;
    case kEvent: s.event(number).imageTransparent = flag; s.event(number).imageColour = c; break;
    case kItem: s.item(number).imageTransparent = flag; s.item(number).imageColour = c; break;
    default: s.chara(number).imageTransparent = flag; s.chara(number).imageColour = c; break;
    }
}

bool firstPictureTransparent(Scenario& s, int layer, int number) {
    if (!validObject(layer, number)) return false;
    switch (layer) {
    case kPlace: return s.place(number).imageTransparent != 0;
    case kEnter: return s.enter(number).imageTransparent != 0;
    case kEvent: return s.event(number).imageTransparent != 0;
    case kItem: return s.item(number).imageTransparent != 0;
    default: return s.chara(number).imageTransparent != 0;
    }
}

void copyObject(Scenario& s, PictureIndexTables& p, int layer, int from, int to) {
    if (!validObject(layer, from) || !validObject(layer, to) || from == to) return;
    switch (layer) {
    case kPlace: s.place(to) = s.place(from); break;
    case kEnter: s.enter(to) = s.enter(from); break;
    case kEvent: s.event(to) = s.event(from); break;
    case kItem: s.item(to) = s.item(from); break;
    default: s.chara(to) = s.chara(from); break;
    }
    *firstImageFile(s, layer, to) = *firstImageFile(s, layer, from);
    *pictureSlot(p, layer, to) = *pictureSlot(p, layer, from);
    if (ShortString255* second = secondImageFile(s, layer, to)) {
        *second = *secondImageFile(s, layer, from);
        *secondPictureSlot(p, layer, to) = *secondPictureSlot(p, layer, from);
    }
}

void resetObjects(Scenario& s, PictureIndexTables& p, int layer, int number) {
    if (number >= 0 && !validObject(layer, number)) return;
    const bool cleanup = true;  // also clears every cell entry of the reset objects
    switch (layer) {
    case kPlace: placeinitialize(s, number, cleanup); placeimginitialize(p, number); break;
    case kEnter: enterinitialize(s, number, cleanup); enterimginitialize(p, number); break;
    case kEvent: eventinitialize(s, number, cleanup); eventimginitialize(p, number); break;
    case kItem: iteminitialize(s, number, cleanup); itemimginitialize(p, number); break;
    case kChara: charainitialize(s, number, cleanup); charaimginitialize(p, number); break;
    default: break;
    }
}

int cellEntry(const Cell& c, int layer) {
    switch (layer) {
    case kPlace: return c.place;
    case kEnter: return c.enter;
    case kEvent: return c.event;
    case kItem: return c.item;
    case kChara: return c.chara;
    default: return 0;
    }
}

void setCellEntry(Cell& c, int layer, int value) {
    switch (layer) {
    case kPlace: c.place = value; break;
    case kEnter: c.enter = static_cast<u8>(value); break;
    case kEvent: c.event = static_cast<u8>(value); break;
    case kItem: c.item = static_cast<u8>(value); break;
    case kChara: c.chara = static_cast<u8>(value); break;
    default: break;
    }
}

}  // namespace qrn
