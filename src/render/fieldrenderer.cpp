#include "render/fieldrenderer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QPainter>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "render/picturelist.h"
#include "scenario/text.h"

namespace qrn {

namespace {

constexpr int kChip = 32;
constexpr QImage::Format kTileFormat = QImage::Format_BGR888;  // byte order of a 24-bit BMP

void put16(std::string& b, std::size_t at, unsigned v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i) & 0xFF);
}

std::string bmpHeader(int width, int height) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t dataSize = stride * static_cast<std::uint32_t>(height);
    std::string h(54, '\0');
    h[0] = 'B';
    h[1] = 'M';
    put32(h, 2, 54 + dataSize);
    put32(h, 10, 54);
    put32(h, 14, 40);
    put32(h, 18, static_cast<std::uint32_t>(width));
    put32(h, 22, static_cast<std::uint32_t>(height));
    put16(h, 26, 1);
    put16(h, 28, 24);
    put32(h, 34, dataSize);
    put32(h, 38, 2835);  // 72 dots per inch
    put32(h, 42, 2835);
    return h;
}

}  // namespace

QImage makeChip(const QImage& image, bool masked, unsigned transparentColour) {
    // Only the top-left 32 x 32 pixels make the chip; a smaller picture is
    // padded with black.
    QImage chip(kChip, kChip, QImage::Format_ARGB32);
    chip.fill(Qt::black);
    // The pixels are copied as they are (opaque, 0xffRRGGBB): a painter per
    // chip costs more than the copy when a scenario has hundreds of them.
    const int w = qMin(kChip, image.width());
    const int h = qMin(kChip, image.height());
    const QImage corner = image.copy(0, 0, w, h).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h && !corner.isNull(); ++y)
        std::memcpy(chip.scanLine(y), corner.constScanLine(y), static_cast<std::size_t>(w) * 4);
    if (masked) {
        const QRgb key = bgrToRgb(transparentColour) & 0xFFFFFF;
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(chip.scanLine(y));
            for (int x = 0; x < w; ++x)
                if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
        }
    }
    return chip;
}

ChipImages chipImagesOf(const PictureList& list) {
    ChipImages out;
    out.chips.reserve(static_cast<std::size_t>(list.count()));
    for (int i = 0; i < list.count(); ++i) out.chips.push_back(list.pixmap(i).toImage());
    out.blank = list.blankChip().toImage();
    return out;
}

void loadScenarioPictures(const Scenario& s, ResourceFolder& folder, PictureIndexTables& t, ChipImages& chips,
                          const std::function<void(const std::string&)>& missing) {
    std::memset(&t, 0, sizeof t);
    QImage black(kChip, kChip, QImage::Format_ARGB32);
    black.fill(Qt::black);
    chips.chips.assign(1, black);
    chips.blank = black;
    std::unordered_map<std::string_view, std::pair<QImage, std::string>> decoded;
    auto load = [&](auto& index, const ShortString255& file, bool transparent, std::int32_t colour) {
        if (file.empty()) return;
        // A file several objects name is read and decoded once.
        auto known = decoded.find(file.view());
        if (known == decoded.end()) {
            std::string path;
            const QImage image = readResourcePicture(folder, cp932ToUtf8Lossy(file.view()), &path);
            known = decoded.emplace(file.view(), std::pair{image, path}).first;
        }
        const QImage& image = known->second.first;
        index = static_cast<std::remove_reference_t<decltype(index)>>(chips.count());
        if (image.isNull()) {
            chips.chips.push_back(black);
            if (missing) missing(known->second.second);
            return;
        }
        chips.chips.push_back(makeChip(image, transparent, static_cast<unsigned>(colour)));
    };
    for (int n = 1; n <= kFieldCount; ++n)
        load(t.fieldItem[n], s.fieldItemImageFiles[n - 1], s.field(n).itemImageTransparent,
             s.field(n).itemImageColour);
    for (int n = 1; n <= kCharaCount; ++n)
        load(t.charaItem[n], s.charaImageFiles[n - 1], s.charas[n - 1].imageTransparent, s.charas[n - 1].imageColour);
    for (int n = 1; n <= kEventCount; ++n)
        load(t.event[n], s.eventImageFiles[n - 1], s.events[n - 1].imageTransparent, s.events[n - 1].imageColour);
    for (int n = 1; n <= kEnterCount; ++n)
        load(t.enter[n], s.enterImageFiles[n - 1], s.enters[n - 1].imageTransparent, s.enters[n - 1].imageColour);
    for (int n = 1; n <= kItemCount; ++n)
        load(t.charaItem[kCharaCount + n], s.itemImageFiles[n - 1], s.items[n - 1].imageTransparent,
             s.items[n - 1].imageColour);
    for (int n = 1; n <= kPlaceCount; ++n)
        load(t.place[n], s.placeImageFiles[n - 1], s.places[n - 1].imageTransparent, s.places[n - 1].imageColour);
    for (int n = 1; n <= kPlaceCount; ++n)
        load(t.place2[n], s.placeImage2Files[n - 1], s.places[n - 1].image2Transparent, s.places[n - 1].image2Colour);
    for (int n = 1; n <= kEnterCount; ++n)
        load(t.enter[kEnterCount + n], s.enterImage2Files[n - 1], s.enters[n - 1].image2Transparent,
             s.enters[n - 1].image2Colour);
    for (int n = 1; n <= kEventCount; ++n)
        load(t.event[kEventCount + n], s.eventImage2Files[n - 1], s.events[n - 1].image2Transparent,
             s.events[n - 1].image2Colour);
    for (int k = 1; k <= kWalkImgCount; ++k)
        for (int f = 1; f <= kWalkFrames; ++f)
            load(t.walk[k][f], s.walkImageFiles[k - 1][f - 1], s.walkImgs[k - 1].imageTransparent,
                 s.walkImgs[k - 1].imageColour);
}

bool fieldExportable(const Scenario& s, int field) {
    if (!fieldInUse(s, field)) return false;
    const FieldDef& f = s.field(field);
    const int w = f.width, h = f.height;
    if (w < 10 || w > kMaxFieldSide || h < 10 || h > kMaxFieldSide) return false;
    const long long last = static_cast<long long>(f.firstCell) + f.cellCount - 1;
    return f.cellCount >= 1 && last <= kCellCount;
}

FieldRenderer::FieldRenderer(const ChipImages& chips, const PictureIndexTables& pictures)
    : chips_(chips), pictures_(pictures) {}

std::size_t FieldRenderer::LookHash::operator()(const CellLook& look) const {
    std::size_t h = static_cast<std::size_t>(look.count);
    for (int index : look.pictures) h = h * 1000003u ^ static_cast<std::size_t>(index + 1);
    return h;
}

const QImage* FieldRenderer::premultiplied(int index) {
    if (index < -1 || index >= chips_.count()) return nullptr;
    if (premultiplied_.empty()) premultiplied_.resize(static_cast<std::size_t>(chips_.count()) + 1);
    QImage& image = premultiplied_[static_cast<std::size_t>(index + 1)];
    if (image.isNull()) {
        const QImage& source = index < 0 ? chips_.blank : chips_.chips[static_cast<std::size_t>(index)];
        if (source.size() == QSize(kChip, kChip)) {
            // The usual chip: converted without setting up a painter, which
            // costs more than the conversion of a 32 x 32 picture.
            image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        } else {
            image = QImage(kChip, kChip, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            if (!source.isNull()) {
                QPainter painter(&image);
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(0, 0, source);
            }
        }
    }
    return &image;
}

const QImage& FieldRenderer::tile(const CellLook& look) {
    auto found = tiles_.find(look);
    if (found != tiles_.end()) return found->second;
    // Source-over of premultiplied pixels by hand: a tile is only 32 x 32,
    // where setting up a painter would cost more than the blending.
    std::array<QRgb, kChip * kChip> px;
    px.fill(qRgb(0, 0, 0));
    auto over = [&px](const QImage* chip, bool first) {
        if (!chip) return;
        for (int y = 0; y < kChip; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(chip->constScanLine(y));
            QRgb* out = px.data() + y * kChip;
            for (int x = 0; x < kChip; ++x) {
                const QRgb s = line[x];
                const unsigned a = qAlpha(s);
                if (a == 255 || first) out[x] = s;
                else if (a != 0) {
                    const QRgb d = out[x];
                    const unsigned k = 255 - a;
                    out[x] = qRgba(qRed(s) + (qRed(d) * k + 127) / 255, qGreen(s) + (qGreen(d) * k + 127) / 255,
                                   qBlue(s) + (qBlue(d) * k + 127) / 255, a + (qAlpha(d) * k + 127) / 255);
                }
            }
        }
    };
    over(premultiplied(-1), true);
    for (int i = 0; i < look.count; ++i) over(premultiplied(look.pictures[static_cast<std::size_t>(i)]), false);
    QImage result(kChip, kChip, kTileFormat);
    for (int y = 0; y < kChip; ++y) {
        uchar* out = result.scanLine(y);
        for (int x = 0; x < kChip; ++x) {
            const QRgb p = px[static_cast<std::size_t>(y * kChip + x)];
            out[3 * x] = static_cast<uchar>(qBlue(p));
            out[3 * x + 1] = static_cast<uchar>(qGreen(p));
            out[3 * x + 2] = static_cast<uchar>(qRed(p));
        }
    }
    return tiles_.emplace(look, std::move(result)).first->second;
}

namespace {

void blit(uchar* bits, qsizetype stride, const QImage& tile, int x, int y) {
    uchar* at = bits + stride * y + x * 3;
    for (int row = 0; row < kChip; ++row, at += stride) std::memcpy(at, tile.constScanLine(row), kChip * 3);
}

// Fills a 24-bit image with the colour of a pixel of `sample`.
void fillWith(QImage& image, const QImage& sample) {
    const uchar* px = sample.constScanLine(0);
    uchar* first = image.bits();
    for (int x = 0; x < image.width(); ++x) std::memcpy(first + x * 3, px, 3);
    for (int y = 1; y < image.height(); ++y)
        std::memcpy(image.bits() + image.bytesPerLine() * y, first, static_cast<std::size_t>(image.width()) * 3);
}

}  // namespace

QImage FieldRenderer::renderField(const Scenario& s, int field, const LayerFlags& layers) {
    if (!fieldExportable(s, field)) return {};
    const FieldDef& f = s.field(field);
    QImage out(f.width * kChip, f.height * kChip, kTileFormat);
    if (out.isNull()) return {};
    // The blank chip's colour is the background of cells that are never drawn.
    fillWith(out, tile(CellLook{}));
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const int last = myend(s, field);
    for (int n = f.firstCell; n <= last; ++n) {
        const Cell& c = s.cell(n);
        if (c.col >= f.width || c.row >= f.height) continue;
        blit(bits, stride, tile(composeCell(c, pictures_, layers, chips_.count())), c.col * kChip, c.row * kChip);
    }
    return out;
}

bool FieldRenderer::writeFieldBmp(const Scenario& s, int field, const std::string& path, const LayerFlags& layers) {
    if (!fieldExportable(s, field)) {
        errno = EINVAL;
        return false;
    }
    const FieldDef& f = s.field(field);
    const int w = f.width, h = f.height;
    // Which cell is drawn where: a later cell on the same spot covers an earlier one.
    std::vector<int> cellAt(static_cast<std::size_t>(w * h), 0);
    const int last = myend(s, field);
    for (int n = f.firstCell; n <= last; ++n) {
        const Cell& c = s.cell(n);
        if (c.col < w && c.row < h) cellAt[static_cast<std::size_t>(c.row * w + c.col)] = n;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(w) * kChip * 3;  // a multiple of 4: w is
    // Drawn into a file beside the target and renamed over it, so a write
    // that fails part-way leaves an earlier file of that name whole.
    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    auto writeAll = [fd](const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    };
    const std::string header = bmpHeader(w * kChip, h * kChip);
    bool ok = writeAll(header.data(), header.size());
    const QImage& blank = tile(CellLook{});
    std::vector<char> band(rowBytes * kChip);
    // The file holds the picture bottom-up: the last row of cells comes first.
    for (int row = h - 1; row >= 0 && ok; --row) {
        for (int col = 0; col < w; ++col) {
            const int n = cellAt[static_cast<std::size_t>(row * w + col)];
            const QImage& t = n ? tile(composeCell(s.cell(n), pictures_, layers, chips_.count())) : blank;
            for (int y = 0; y < kChip; ++y)
                std::memcpy(band.data() + rowBytes * static_cast<std::size_t>(kChip - 1 - y) + col * kChip * 3,
                            t.constScanLine(y), kChip * 3);
        }
        ok = writeAll(band.data(), band.size());
    }
    int err = ok ? 0 : errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        errno = err;
        return false;
    }
    return true;
}

std::string FieldRenderer::sheetBitmap(const ChipAssignment& a) {
    const int height = std::max(0, a.sheetHeight());
    std::string out = bmpHeader(kSheetWidth, height);
    constexpr std::size_t stride = std::size_t(kSheetWidth) * 3;  // no padding: 32 pixels are 96 bytes
    out.resize(out.size() + stride * static_cast<std::size_t>(height), '\0');
    char* const rows = out.data() + 54;
    for (std::size_t i = 0; i < a.chips.size(); ++i) {
        const int x = static_cast<int>(i % kSheetColumns) * kChip;
        const int y = static_cast<int>(i / kSheetColumns) * kChip;
        if (y + kChip > height) break;  // more chips than the counted names give rows for
        const int index = pictureIndexOf(pictures_, a.chips[i]);
        if (index < 0 || index >= chips_.count()) continue;
        CellLook look;
        look.pictures[0] = index;
        look.count = 1;
        const QImage& t = tile(look);
        // The file holds the picture bottom-up.
        for (int row = 0; row < kChip; ++row)
            std::memcpy(rows + stride * static_cast<std::size_t>(height - 1 - (y + row)) + static_cast<std::size_t>(x) * 3,
                        t.constScanLine(row), kChip * 3);
    }
    return out;
}

std::string encodeBmp24(const QImage& image) {
    if (image.isNull()) return bmpHeader(0, 0);
    const QImage bgr = image.format() == kTileFormat ? image : image.convertToFormat(kTileFormat);
    const int w = bgr.width(), h = bgr.height();
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t(3);
    std::string out = bmpHeader(w, h);
    out.resize(54 + stride * static_cast<std::size_t>(h), '\0');
    for (int y = 0; y < h; ++y)
        std::memcpy(out.data() + 54 + stride * static_cast<std::size_t>(h - 1 - y), bgr.constScanLine(y),
                    static_cast<std::size_t>(w) * 3);
    return out;
}

bool writeBmp24(const QImage& image, const std::string& path) {
    const QImage bgr = image.format() == kTileFormat ? image : image.convertToFormat(kTileFormat);
    const int w = bgr.width(), h = bgr.height();
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t(3);
    // Through a file beside the target, renamed over it when whole.
    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    // Rows go out bottom-up through a buffer of about a megabyte.
    std::string buffer = bmpHeader(w, h);
    const std::size_t rowsPerChunk = std::max<std::size_t>(1, (1u << 20) / std::max<std::size_t>(stride, 1));
    buffer.reserve(54 + rowsPerChunk * stride);
    auto flush = [&]() {
        std::size_t done = 0;
        while (done < buffer.size()) {
            const ssize_t n = ::write(fd, buffer.data() + done, buffer.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        buffer.clear();
        return true;
    };
    bool ok = true;
    for (int y = h - 1; y >= 0 && ok; --y) {
        const auto* line = reinterpret_cast<const char*>(bgr.constScanLine(y));
        buffer.append(line, static_cast<std::size_t>(w) * 3);
        buffer.append(stride - static_cast<std::size_t>(w) * 3, '\0');
        if (buffer.size() + stride > 54 + rowsPerChunk * stride) ok = flush();
    }
    if (ok) ok = flush();
    int err = ok ? 0 : errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        errno = err;
        return false;
    }
    return true;
}

}  // namespace qrn
