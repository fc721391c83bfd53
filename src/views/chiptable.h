// The image view's file table: every bitmap of the resource folder as one
// 32 x 32 chip, with its own picture list (chiplist).
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace qrn {

constexpr int kChipColumns = 15;
constexpr int kChipRows = 60;
constexpr int kChipCapacity = kChipColumns * kChipRows;  // 900

// Pictures with a side above this are never decoded (only their size is read).
constexpr int kMaxDecodedSide = 4096;

struct ChipEntry {
    QString fileName;       // bare file name; empty = no entry
    int pictureIndex = -1;  // index in the chip list, -1 = none
    bool large = false;     // the picture is not 32 x 32 (or unreadable)
};

class ChipTable {
public:
    // Rebuilds the table from the "*.bmp" files of `folder` (any case of the
    // extension, plain files only, sorted by name, at most 900).
    void read(const QString& folder);
    void clear();

    // Number of bitmap files found in the folder (may exceed the capacity).
    int fileCount() const { return fileCount_; }
    // Entry k of the listing lies at column k mod 15, row k div 15.
    const ChipEntry& entry(int index) const;
    const ChipEntry& entry(int column, int row) const { return entry(row * kChipColumns + column); }
    // The chip of a picture index; a null image when out of range.
    const QImage& picture(int pictureIndex) const;
    int pictureCount() const { return static_cast<int>(chiplist_.size()); }

    // The bitmap files of a folder, sorted by name; empty when the folder is
    // missing or unreadable.
    static QStringList listBitmaps(const QString& folder);
    // Loads a 32 x 32 chip; anything else (other size, broken, huge) gives the
    // placeholder and sets `large`. Only 32 x 32 pictures are ever decoded.
    static QImage loadChip(const QString& path, bool& large);
    // Black 32 x 32 with "Large" / "Image" in aqua.
    static const QImage& placeholder();

private:
    std::array<ChipEntry, kChipCapacity> entries_{};
    std::vector<QImage> chiplist_;
    int fileCount_ = 0;
};

// The resource search folder (ends with "/"), or empty without options.
QString imageSearchFolder();

// 0x00BBGGRR colours of the scenario and Qt colours.
QColor colourFromBgr(unsigned bgr);
unsigned bgrFromColour(const QColor& colour);

}  // namespace qrn
