// The objects of the five map layers as the palette and the map see them:
// slot counts, the in-use test, names, picture indexes and cell entries.
// Every lookup is bounds-checked: numbers outside a table count as empty.
#pragma once

#include <cstdint>
#include <string>

#include "resets.h"
#include "scenario.h"

namespace qrn {

// Layers as property mode numbers them: 1 place, 2 enter, 3 event, 4 item, 5 chara.
enum Layer { kPlace = 1, kEnter = 2, kEvent = 3, kItem = 4, kChara = 5 };
inline constexpr int kLayerCount = 5;

// Object slots of a layer: 400 terrains, 250 of the others.
int layerSlotCount(int layer);
bool validLayer(int layer);
bool validObject(int layer, int number);

// First (and second, for place, enter and event) image file name of a slot;
// nullptr when the number is outside the table or the layer has no second one.
ShortString255* firstImageFile(Scenario& s, int layer, int number);
ShortString255* secondImageFile(Scenario& s, int layer, int number);
// A slot is in use when its first image file name is not empty.
bool objectInUse(Scenario& s, int layer, int number);
// Name of a slot as stored (cp932 bytes), whether in use or not.
std::string objectNameBytes(Scenario& s, int layer, int number);

// Picture index of a slot's first picture; 0 for numbers outside the table.
int pictureIndex(const PictureIndexTables& p, int layer, int number);
// Entry of the first (second) picture in the index table, or nullptr.
std::int32_t* pictureSlot(PictureIndexTables& p, int layer, int number);
std::int32_t* secondPictureSlot(PictureIndexTables& p, int layer, int number);
// Transparency flag and colour of a slot's first picture.
void setFirstPictureTransparency(Scenario& s, int layer, int number, bool on, std::uint32_t colour);
bool firstPictureTransparent(Scenario& s, int layer, int number);

// Copies a slot onto another of the same layer: the definition, the image
// file names and the picture index entries.
void copyObject(Scenario& s, PictureIndexTables& p, int layer, int from, int to);
// Resets one slot (number >= 1) or every slot (number < 0) of a layer,
// removes the reset objects from every cell of every field and clears their
// picture indexes.
void resetObjects(Scenario& s, PictureIndexTables& p, int layer, int number);

// A cell's entry on a layer (place may be negative in a damaged file).
int cellEntry(const Cell& c, int layer);
void setCellEntry(Cell& c, int layer, int value);
// The entry names an object: place above 0, the others not 0.
inline bool cellHasObject(const Cell& c, int layer) { return cellEntry(c, layer) > 0; }

}  // namespace qrn
