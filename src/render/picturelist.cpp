#include "render/picturelist.h"

#include "render/fieldrenderer.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <cstdlib>

#include "scenario/joinfiles.h"

namespace qrn {

namespace {

constexpr int kChip = 32;

QPixmap filledChip(const QColor& colour) {
    QPixmap chip(kChip, kChip);
    chip.fill(colour);
    return chip;
}

}  // namespace

namespace {

quint32 le32(const QByteArray& b, int at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16 |
           quint32(quint8(b[at + 3])) << 24;
}

// The reader decodes a cut-off Windows bitmap without complaint, so an
// uncompressed one is checked against the size its header promises.
bool bitmapIsTruncated(QIODevice& file) {
    const QByteArray head = file.read(54);
    if (head.size() < 2 || !head.startsWith("BM")) return false;
    if (head.size() < 54) return true;
    const quint32 offset = le32(head, 10);
    const qint64 width = static_cast<qint32>(le32(head, 18));
    const qint64 height = std::abs(static_cast<qint64>(static_cast<qint32>(le32(head, 22))));
    const int bpp = quint8(head[28]) | quint8(head[29]) << 8;
    const quint32 compression = le32(head, 30);
    if (compression != 0 && compression != 3) return false;  // run-length data has no fixed size
    // A size beyond what is decoded is refused by the size check; only a
    // plausible header is worth the sum (a hostile one would overflow it).
    if (width <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide || bpp <= 0 || bpp > 32) return false;
    const qint64 stride = (width * bpp + 31) / 32 * 4;
    return file.size() < static_cast<qint64>(offset) + stride * height;
}

}  // namespace

QImage readChipBitmap(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return readChipBitmap(file);
}

QImage readChipBitmap(QIODevice& device) {
    if (!device.seek(0) || bitmapIsTruncated(device)) return {};
    device.seek(0);
    QImageReader reader(&device);
    reader.setAutoTransform(false);
    // A Windows bitmap goes straight to Qt's own reader: left to guess, the
    // reader first loads every image format plugin to ask it about the bytes.
    if (device.peek(2) == "BM") {
        reader.setFormat("bmp");
        reader.setAutoDetectImageFormat(false);
    }
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > kMaxBitmapSide || size.height() > kMaxBitmapSide)
        return {};
    QImage image;
    if (!reader.read(&image)) return {};
    // The size a reader reports first is not always what it decodes: a GIF
    // gives its first frame's size, then paints the frame on its whole
    // screen, which may be far wider.
    if (image.width() > kMaxBitmapSide || image.height() > kMaxBitmapSide) return {};
    return image;
}

QImage readResourcePicture(ResourceFolder& folder, std::string_view utf8Name, std::string* path) {
    // A bitmap of the largest decoded size at 32 bits, with room for headers.
    constexpr std::size_t kMaxFileBytes = std::size_t(kMaxBitmapSide) * kMaxBitmapSide * 4 + (4u << 20);
    // One buffer for the pictures read on this thread: loading a scenario's
    // pictures allocates it about once. A large one is not kept.
    thread_local std::string bytes;
    QImage image;
    if (folder.read(utf8Name, bytes, path, kMaxFileBytes)) {
        QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
        QBuffer buffer(&data);
        if (buffer.open(QIODevice::ReadOnly)) image = readChipBitmap(buffer);
    }
    if (bytes.capacity() > (1u << 20)) std::string().swap(bytes);
    return image;
}

void PictureList::reset() {
    pixmaps_.clear();
    // A never painted bitmap is all zero bits: black.
    if (blank_.isNull()) blank_ = filledChip(Qt::black);
    if (empty_.isNull()) empty_ = filledChip(Qt::transparent);
    pixmaps_.push_back(filledChip(Qt::black));
}

int PictureList::add(const QImage& image, bool masked, unsigned transparentColour) {
    pixmaps_.push_back(QPixmap::fromImage(makeChip(image, masked, transparentColour)));
    return count() - 1;
}

int PictureList::addBlank() {
    if (blank_.isNull()) blank_ = filledChip(Qt::black);
    pixmaps_.push_back(blank_);
    return count() - 1;
}

void PictureList::draw(QPainter& painter, int index, const QPoint& topLeft) const {
    if (index < 0 || index >= count()) return;
    painter.drawPixmap(topLeft, pixmaps_[static_cast<std::size_t>(index)]);
}

const QPixmap& PictureList::pixmap(int index) const {
    if (index < 0 || index >= count()) {
        if (empty_.isNull()) const_cast<QPixmap&>(empty_) = filledChip(Qt::transparent);
        return empty_;
    }
    return pixmaps_[static_cast<std::size_t>(index)];
}

int PictureList::addFile(const QString& path, bool masked, unsigned transparentColour) {
    if (count() == 0) reset();  // entry 0 must stay the black picture
    const QImage image = readChipBitmap(path);
    if (image.isNull()) return addBlank();
    return add(image, masked, transparentColour);
}

}  // namespace qrn
