// The shared list of 32 x 32 chips (ImageList1) from which every map,
// palette and view draws. Entry 0 is black.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;
class QPainter;

namespace qrn {

class ResourceFolder;

// Largest bitmap side that is decoded; bigger files count as unreadable.
inline constexpr int kMaxBitmapSide = 4096;

// Reads a bitmap file for the picture list. A missing, unreadable, truncated
// or oversized file gives a null image (the size is checked before decoding).
QImage readChipBitmap(const QString& path);
// The same from a device open for reading, from its start.
QImage readChipBitmap(QIODevice& device);
// The picture a stored name points to in the resource folder, read with one
// open and one read and decoded from memory, with the checks above; files
// larger than any picture that would be decoded are not read. `path` gets
// the path read, or the spelt one when the name is not found.
QImage readResourcePicture(ResourceFolder& folder, std::string_view utf8Name, std::string* path = nullptr);

// Transparent colour of the scenario (0x00BBGGRR) as a Qt colour value.
inline QRgb bgrToRgb(unsigned c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

class PictureList {
public:
    // Empties the list and adds the black entry 0 (defaultimageload).
    void reset();
    // Appends a picture scaled/cropped to 32 x 32; with `masked`, pixels of
    // `transparentColour` (0x00BBGGRR) become transparent. Returns its index.
    int add(const QImage& image, bool masked, unsigned transparentColour);
    // Appends the blank chip, unmasked.
    int addBlank();
    // Registers the chip bitmap at `path` (a blank entry when it cannot be
    // read) and returns its index; entry 0 is the black picture.
    int addFile(const QString& path, bool masked, unsigned transparentColour);
    int count() const { return static_cast<int>(pixmaps_.size()); }
    // Draws entry `index` at `topLeft` (32 x 32); an out-of-range index draws nothing.
    void draw(QPainter& painter, int index, const QPoint& topLeft) const;
    const QPixmap& pixmap(int index) const;
    // The blank chip: the background of every map cell.
    const QPixmap& blankChip() const { return blank_; }

private:
    std::vector<QPixmap> pixmaps_;
    QPixmap blank_;
    QPixmap empty_;
};

}  // namespace qrn
