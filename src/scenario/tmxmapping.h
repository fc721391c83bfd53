// The cells of a field as tile layers of a tile map, and back: which tile
// number (gid) stands for which object of which layer, and the checks a map
// must pass before its layers are written into a field. No file format here:
// the reader and writer of the map files fill and use these plain records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scenario.h"

namespace qrn {

// One tile layer of a field: the layer it carries (1 place .. 5 chara), the
// name of the map layer and of its tileset (UTF-8, as the palette names the
// layer), the base of the tileset's file names and how many objects the
// layer has. Listed bottom to top, the order the map draws them in.
struct TmxLayerSpec {
    int layer;
    const char* name;
    const char* file;
    int objectCount;
};
inline constexpr std::array<TmxLayerSpec, 5> kTmxLayers{{
    {1, "地形", "place", kPlaceCount},
    {2, "建造物", "enter", kEnterCount},
    {3, "ｲﾍﾞﾝﾄ", "event", kEventCount},
    {4, "ｱｲﾃﾑ", "item", kItemCount},
    {5, "ｷｬﾗｸﾀ", "chara", kCharaCount},
}};

// Bits of a gid that flip or rotate the tile; the rest is the tile number.
inline constexpr std::uint32_t kTmxFlipBits = 0xF0000000u;

// A field whose cells can go out as a map: in use, 10..120 cells each way,
// every cell inside the store.
bool tmxFieldUsable(const Scenario& s, int field);

// The gids of one layer of a field, row by row (width x height): object k is
// firstGid + k - 1, an empty entry or one outside the layer's table is 0.
// A position no cell of the field stands on is 0; where two cells stand on
// one position the later one counts, as when the field is drawn.
std::vector<std::uint32_t> fieldLayerGids(const Scenario& s, int field, int layer, std::uint32_t firstGid);

// A tileset of a map as far as the import needs it.
struct TmxTilesetRange {
    std::string name;
    std::uint64_t firstGid = 0;
    std::uint64_t tileCount = 0;
};

// A tile layer of a map: its name, size and gids row by row.
struct TmxLayerData {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> gids;
};

struct TmxMapData {
    int width = 0;
    int height = 0;
    std::vector<TmxTilesetRange> tilesets;
    std::vector<TmxLayerData> layers;
};

enum class TmxImportStatus {
    Done,
    FieldUnusable,     // the field is not in use or its cells are damaged
    SizeDiffers,       // the map is not the field's width and height
    MissingLayer,      // one of the five layers is not in the map
    DuplicateLayer,    // a layer name appears twice
    LayerSizeDiffers,  // a layer's size or cell count differs from the map's
    MissingTileset,    // the layer's tileset is not in the map
    FlippedTile,       // a tile is flipped or rotated
    ForeignTile,       // a tile of another tileset
    TileOutOfRange,    // a tile number past the layer's objects or in no tileset
};

struct TmxImportResult {
    TmxImportStatus status = TmxImportStatus::Done;
    std::string layer;  // the layer the refusal is about (UTF-8)
    int col = -1;       // 0-based position of the offending tile
    int row = -1;
    std::uint32_t gid = 0;
    int changedCells = 0;  // cells whose entries changed (Done)
};

// Writes the five layers of `map` into the cells of `field`: gid 0 empties
// the entry, firstGid + k - 1 of the layer's tileset (found by the layer's
// name) sets object k. Everything is checked first; a refusal changes
// nothing. Only the five entries of the field's cells change. An entry the
// scenario holds outside its layer's table (a damaged file) is kept where
// the map leaves the cell empty, so that export and import change nothing.
TmxImportResult importTmxLayers(Scenario& s, int field, const TmxMapData& map);

// The refusal as the author reads it (UTF-8, Japanese); empty for Done.
std::string tmxImportMessage(const TmxImportResult& r);

}  // namespace qrn
