#include "views/chiptable.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <algorithm>

#include "services/editorcontext.h"
#include "services/options.h"

namespace qrn {

namespace {
const QSize kChipSize(32, 32);
}

void ChipTable::clear() {
    entries_.fill(ChipEntry{});
    chiplist_.clear();
    fileCount_ = 0;
}

void ChipTable::read(const QString& folder) {
    clear();
    const QStringList names = listBitmaps(folder);
    fileCount_ = static_cast<int>(names.size());
    const int listed = std::min<int>(fileCount_, kChipCapacity);
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    chiplist_.reserve(listed);
    for (int k = 0; k < listed; ++k) {
        ChipEntry& e = entries_[k];
        e.fileName = names[k];
        chiplist_.push_back(loadChip(base + names[k], e.large));
        e.pictureIndex = static_cast<int>(chiplist_.size()) - 1;
    }
}

const ChipEntry& ChipTable::entry(int index) const {
    static const ChipEntry none;
    if (index < 0 || index >= kChipCapacity) return none;
    return entries_[index];
}

const QImage& ChipTable::picture(int pictureIndex) const {
    static const QImage none;
    if (pictureIndex < 0 || pictureIndex >= pictureCount()) return none;
    return chiplist_[pictureIndex];
}

QStringList ChipTable::listBitmaps(const QString& folder) {
    if (folder.isEmpty()) return {};
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) return {};
    // Name filters match regardless of case, so "*.bmp" also finds ".BMP".
    return dir.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Readable,
                         QDir::Name | QDir::IgnoreCase);
}

QImage ChipTable::loadChip(const QString& path, bool& large) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    // The header tells the size; only a real chip is decoded, so a broken,
    // truncated or huge file never gets read whole.
    if (reader.size() == kChipSize) {
        QImage image;
        if (reader.read(&image) && image.size() == kChipSize) {
            large = false;
            return image.convertToFormat(QImage::Format_RGB32);
        }
    }
    large = true;
    return placeholder();
}

const QImage& ChipTable::placeholder() {
    static const QImage image = [] {
        QImage img(kChipSize, QImage::Format_RGB32);
        img.fill(Qt::black);
        QPainter p(&img);
        QFont font = p.font();
        font.setStyleStrategy(QFont::NoAntialias);
        // The largest size at which both words fit the cell with a pixel
        // to spare, whatever font the system gives.
        const QString words[] = {QStringLiteral("Large"), QStringLiteral("Image")};
        for (int size = 11; size >= 6; --size) {
            font.setPixelSize(size);
            const QFontMetrics metrics(font);
            if (std::max(metrics.horizontalAdvance(words[0]), metrics.horizontalAdvance(words[1])) <= kChipSize.width() - 2 &&
                metrics.height() <= kChipSize.height() / 2)
                break;
        }
        p.setFont(font);
        p.setPen(QColor(0, 255, 255));  // aqua
        p.drawText(QRect(1, 0, 30, 16), Qt::AlignHCenter | Qt::AlignTop, words[0]);
        p.drawText(QRect(1, 16, 30, 16), Qt::AlignHCenter | Qt::AlignTop, words[1]);
        return img;
    }();
    return image;
}

QString imageSearchFolder() {
    const Options* options = editor().options;
    return options ? options->serchpath : QString();
}

QColor colourFromBgr(unsigned bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

unsigned bgrFromColour(const QColor& colour) {
    return static_cast<unsigned>(colour.red()) | (static_cast<unsigned>(colour.green()) << 8) |
           (static_cast<unsigned>(colour.blue()) << 16);
}

}  // namespace qrn
