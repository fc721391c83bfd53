// Draws fields and the picture sheet from the picture list, through the one
// rule for a cell's look (scenario/cellcomposition.h). Qt Gui only: the
// editor and the command-line tool share it.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "scenario/cellcomposition.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"

namespace qrn {

class PictureList;

// The 32 x 32 chips pictures are drawn from, by picture index, and the
// blank chip under every cell.
struct ChipImages {
    std::vector<QImage> chips;
    QImage blank;
    int count() const { return static_cast<int>(chips.size()); }
};

// The picture list's chips as images.
ChipImages chipImagesOf(const PictureList& list);

// A picture as a chip: its top-left 32 x 32 pixels on black; with `masked`,
// pixels of `transparentColour` (0x00BBGGRR) become transparent.
QImage makeChip(const QImage& image, bool masked, unsigned transparentColour);

// Loads every picture the scenario names, in the order the editor loads them
// after opening a file, into index tables and chips. Entry 0 is black; a
// picture that cannot be read gets the blank chip and its path is passed to
// `missing`.
void loadScenarioPictures(const Scenario& s, ResourceFolder& folder, PictureIndexTables& tables, ChipImages& chips,
                          const std::function<void(const std::string& path)>& missing);

// A field that can be exported: in use, 10..120 cells each way, its cells
// inside the store.
bool fieldExportable(const Scenario& s, int field);

class FieldRenderer {
public:
    FieldRenderer(const ChipImages& chips, const PictureIndexTables& pictures);

    // A look drawn on the blank chip, bottom to top, each picture with its
    // transparency (32 x 32, 24-bit).
    const QImage& tile(const CellLook& look);
    // The field at 32 pixels per cell, every cell at its stored column and
    // row with the layers in `layers`. Null when !fieldExportable.
    QImage renderField(const Scenario& s, int field, const LayerFlags& layers = kAllLayers);
    // The same picture written straight into a 24-bit BMP file, one row of
    // cells at a time, so a large field never needs the whole picture in
    // memory. False with errno set when the field is not exportable
    // (EINVAL) or the file cannot be written.
    bool writeFieldBmp(const Scenario& s, int field, const std::string& path, const LayerFlags& layers = kAllLayers);
    // The picture sheet as a 24-bit bitmap file: chip n at column (n - 1)
    // mod 30, row (n - 1) div 30, drawn as the map draws its picture; only a
    // header when the sheet has no rows. Written straight into the file's
    // bytes: the sheet is megabytes, drawn once.
    std::string sheetBitmap(const ChipAssignment& chips);

private:
    struct LookHash {
        std::size_t operator()(const CellLook& look) const;
    };
    // Chip `index` (-1: the blank chip) as a 32 x 32 premultiplied image.
    const QImage* premultiplied(int index);

    const ChipImages& chips_;
    const PictureIndexTables& pictures_;
    std::vector<QImage> premultiplied_;
    std::unordered_map<CellLook, QImage, LookHash> tiles_;
};

// A 24-bit bottom-up BMP file of the image; a null image gives only a
// header.
std::string encodeBmp24(const QImage& image);
// Writes encodeBmp24 straight to a file; false with errno set on failure.
bool writeBmp24(const QImage& image, const std::string& path);

}  // namespace qrn
