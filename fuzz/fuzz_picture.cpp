// The picture loading path with arbitrary file bytes: the size check and
// decode of a resource picture, then its turn into a 32 x 32 chip, masked and
// not, as the picture list does for every object picture.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "render/picturelist.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qrn;
    // The bytes as a file would give them, without the file.
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const QImage image = readChipBitmap(device);
    if (!image.isNull() && (image.width() > kMaxBitmapSide || image.height() > kMaxBitmapSide)) std::abort();
    static PictureList list;
    if (list.count() == 0 || list.count() > 64) list.reset();
    const unsigned colour = size >= 3 ? data[0] | data[1] << 8 | data[2] << 16 : 0xFFFFFF;
    if (image.isNull()) {
        list.addBlank();
    } else {
        list.add(image, true, colour);
        list.add(image, false, colour);
    }
    return 0;
}
