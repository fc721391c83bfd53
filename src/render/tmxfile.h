// A field as a tile map file (TMX 1.8) with one tileset (TSX + PNG) per
// layer, and the reading of such a map back. Qt Gui only: the editor and the
// command-line tool share it. Which tile stands for which object, and the
// checks before a map is written into a field, are in scenario/tmxmapping.h.
#pragma once

#include <QString>

#include "render/fieldrenderer.h"
#include "scenario/tmxmapping.h"

namespace qrn {

struct TmxFileResult {
    bool ok = false;
    QString error;  // why not, for the author (names the file)
};

// Writes the field as the map `tmxPath` (orthogonal, 32 x 32 tiles, the five
// layers bottom to top, CSV) and, beside it, the five tilesets
// "place.tsx"/"place.png" ... "chara.tsx"/"chara.png": tile k - 1 of a layer's
// tileset is object k's first picture, its transparent colour as alpha; an
// object without a picture gets a fully transparent tile. The field's number
// and name go into the map's properties. Every file is replaced whole or not
// at all.
TmxFileResult writeTmxMap(const Scenario& s, int field, const ChipImages& chips,
                          const PictureIndexTables& pictures, const QString& tmxPath);

// The file name a field's map gets in an output folder ("field3.tmx").
QString tmxFileNameOf(int field);

// Reads a map: its size, its tilesets (embedded or in TSX files beside it)
// and its tile layers with CSV, XML or base64 data (uncompressed, zlib or
// gzip). Fails on anything else (infinite maps, zstd, damaged data).
TmxFileResult readTmxMap(const QString& tmxPath, TmxMapData& out);

}  // namespace qrn
