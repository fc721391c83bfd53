#include "render/tmxfile.h"

#include <png.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cerrno>
#include <charconv>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <functional>
#include <future>
#include <string_view>

#include "scenario/cellcomposition.h"
#include "scenario/text.h"

namespace qrn {

namespace {

constexpr int kTile = 32;
constexpr int kTilesetColumns = 10;
// The largest layer a map may bring: anything bigger cannot be a field and
// is refused before memory is spent on it.
constexpr qint64 kMaxLayerCells = 1 << 20;
// The largest map file read: a field's map as the tile map editor saves it,
// even with its tilesets embedded, stays far below.
constexpr qint64 kMaxMapBytes = 64 << 20;

TmxFileResult failure(const QString& why) { return {false, why}; }

// The picture of each tile of a layer's tileset, 32 x 32 ARGB32, or a null
// image where the tile stays transparent (an object without a picture).
std::vector<QImage> tilePictures(const TmxLayerSpec& layerDef, const ChipImages& chips,
                                 const PictureIndexTables& pictures) {
    std::vector<QImage> tiles(static_cast<std::size_t>(layerDef.objectCount));
    for (int k = 1; k <= layerDef.objectCount; ++k) {
        const int index = objectPicture(pictures, layerDef.layer, k);
        // Index 0 is an object without a picture: its tile stays transparent.
        if (index <= 0 || index >= chips.count()) continue;
        const QImage& chip = chips.chips[static_cast<std::size_t>(index)];
        if (chip.width() < kTile || chip.height() < kTile) continue;
        tiles[static_cast<std::size_t>(k - 1)] =
            chip.format() == QImage::Format_ARGB32 ? chip : chip.convertToFormat(QImage::Format_ARGB32);
    }
    return tiles;
}

int tilesetRows(const TmxLayerSpec& layerDef) { return (layerDef.objectCount + kTilesetColumns - 1) / kTilesetColumns; }

void appendPng(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data),
                                                          static_cast<qsizetype>(length));
}

void flushNothing(png_structp) {}

void pngFailed(png_structp png, png_const_charp message) {
    *static_cast<QString*>(png_get_error_ptr(png)) = QString::fromLatin1(message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// Encodes the tileset picture row by row straight from the tiles, without a
// whole sheet in memory. Every row is filtered with "up" and deflated at
// level 1: choosing the best of the five filters for each row is what costs
// most in a PNG writer, and a tileset compresses about as well either way.
// Only plain data lives in this frame: a libpng error jumps back into it.
bool encodeTilesetPng(const std::vector<QImage>& tiles, int rows, unsigned char* line, QByteArray& out,
                      QString& why) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &why, pngFailed, pngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendPng, flushNothing);
    png_set_IHDR(png, info, kTilesetColumns * kTile, static_cast<png_uint_32>(rows * kTile), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    // QImage keeps ARGB32 pixels as 32-bit words: B, G, R, A in memory on a
    // little-endian machine, A, R, G, B on a big-endian one.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
#else
    png_set_swap_alpha(png);
#endif
    constexpr std::size_t tileRowBytes = kTile * 4;
    for (int row = 0; row < rows; ++row)
        for (int y = 0; y < kTile; ++y) {
            for (int col = 0; col < kTilesetColumns; ++col) {
                const std::size_t k = static_cast<std::size_t>(row * kTilesetColumns + col);
                unsigned char* at = line + static_cast<std::size_t>(col) * tileRowBytes;
                if (k < tiles.size() && !tiles[k].isNull())
                    std::memcpy(at, tiles[k].constScanLine(y), tileRowBytes);
                else
                    std::memset(at, 0, tileRowBytes);
            }
            png_write_row(png, line);
        }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

QString cannotWrite(const QString& path, const QString& why) {
    return path + QStringLiteral(" に書き込めません: ") + why;
}

// Writes a file through a temporary file beside it and a rename, so that a
// failure never leaves a partial file. Unlike QSaveFile it does not wait for
// the disk (as the scenario file is saved): an export of eleven files would
// otherwise spend most of its time there.
bool writeWhole(const QString& path, const std::function<bool(QIODevice&, QString&)>& fill, QString& error) {
    QTemporaryFile file(QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        error = cannotWrite(path, file.errorString());
        return false;
    }
    QString why;
    if (!fill(file, why) || !file.flush()) {
        error = cannotWrite(path, why.isEmpty() ? file.errorString() : why);
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    file.close();
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        error = cannotWrite(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString& error) {
    return writeWhole(
        path, [&](QIODevice& out, QString&) { return out.write(bytes) == bytes.size(); }, error);
}

bool writeTilesetPng(const QString& path, const std::vector<QImage>& tiles, int rows, QString& error) {
    std::vector<unsigned char> line(static_cast<std::size_t>(kTilesetColumns * kTile * 4));
    QByteArray png;
    QString why;
    if (!encodeTilesetPng(tiles, rows, line.data(), png, why)) {
        error = cannotWrite(path, why);
        return false;
    }
    return writeBytes(path, png, error);
}

QByteArray tilesetXml(const TmxLayerSpec& layerDef) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(1);
    x.writeStartDocument();
    x.writeStartElement("tileset");
    x.writeAttribute("version", "1.8");
    x.writeAttribute("name", QString::fromUtf8(layerDef.name));
    x.writeAttribute("tilewidth", QString::number(kTile));
    x.writeAttribute("tileheight", QString::number(kTile));
    x.writeAttribute("tilecount", QString::number(layerDef.objectCount));
    x.writeAttribute("columns", QString::number(kTilesetColumns));
    x.writeEmptyElement("image");
    x.writeAttribute("source", QString::fromLatin1(layerDef.file) + QStringLiteral(".png"));
    x.writeAttribute("width", QString::number(kTilesetColumns * kTile));
    x.writeAttribute("height", QString::number(tilesetRows(layerDef) * kTile));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

// Rows of gids as Tiled writes them: one row a line, commas between.
QString csvOf(const std::vector<std::uint32_t>& gids, int width) {
    std::string text(gids.size() * 11 + 2, '\n');
    char* at = text.data() + 1;
    for (std::size_t i = 0; i < gids.size(); ++i) {
        at = std::to_chars(at, at + 10, gids[i]).ptr;
        if (i + 1 < gids.size()) *at++ = ',';
        if ((i + 1) % static_cast<std::size_t>(width) == 0) *at++ = '\n';
    }
    return QString::fromLatin1(text.data(), at - text.data());
}

}  // namespace

QString tmxFileNameOf(int field) { return QStringLiteral("field%1.tmx").arg(field); }

TmxFileResult writeTmxMap(const Scenario& s, int field, const ChipImages& chips, const PictureIndexTables& pictures,
                          const QString& tmxPath) {
    if (!tmxFieldUsable(s, field)) return failure(QStringLiteral("このﾌｨｰﾙﾄﾞは書き出せません。"));
    const FieldDef& f = s.field(field);
    const QDir dir = QFileInfo(tmxPath).absoluteDir();
    QString error;

    QByteArray map;
    QXmlStreamWriter x(&map);
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(1);
    x.writeStartDocument();
    x.writeStartElement("map");
    x.writeAttribute("version", "1.8");
    x.writeAttribute("orientation", "orthogonal");
    x.writeAttribute("renderorder", "right-down");
    x.writeAttribute("width", QString::number(f.width));
    x.writeAttribute("height", QString::number(f.height));
    x.writeAttribute("tilewidth", QString::number(kTile));
    x.writeAttribute("tileheight", QString::number(kTile));
    x.writeAttribute("infinite", "0");
    x.writeAttribute("nextlayerid", QString::number(kTmxLayers.size() + 1));
    x.writeAttribute("nextobjectid", "1");
    x.writeStartElement("properties");
    x.writeEmptyElement("property");
    x.writeAttribute("name", "field");
    x.writeAttribute("type", "int");
    x.writeAttribute("value", QString::number(field));
    x.writeEmptyElement("property");
    x.writeAttribute("name", "name");
    x.writeAttribute("value", QString::fromStdString(cp932ToUtf8Lossy(f.name.view())));
    x.writeEndElement();

    // The five tilesets are written side by side: compressing their pictures
    // is most of the export's work, and they share nothing.
    std::array<std::future<QString>, kTmxLayers.size()> tilesets;
    for (std::size_t i = 0; i < kTmxLayers.size(); ++i) {
        const TmxLayerSpec& layerDef = kTmxLayers[i];
        std::vector<QImage> tiles = tilePictures(layerDef, chips, pictures);
        tilesets[i] = std::async(std::launch::async, [layerDef, tiles = std::move(tiles), dir] {
            const QString base = QString::fromLatin1(layerDef.file);
            QString why;
            if (!writeTilesetPng(dir.filePath(base + QStringLiteral(".png")), tiles, tilesetRows(layerDef), why) ||
                !writeBytes(dir.filePath(base + QStringLiteral(".tsx")), tilesetXml(layerDef), why))
                return why;
            return QString();
        });
    }
    for (auto& t : tilesets) {
        const QString why = t.get();
        if (error.isEmpty()) error = why;
    }
    if (!error.isEmpty()) return failure(error);

    std::uint32_t firstGid = 1;
    std::array<std::uint32_t, kTmxLayers.size()> firstGids{};
    for (std::size_t i = 0; i < kTmxLayers.size(); ++i) {
        const TmxLayerSpec& layerDef = kTmxLayers[i];
        const QString base = QString::fromLatin1(layerDef.file);
        firstGids[i] = firstGid;
        x.writeEmptyElement("tileset");
        x.writeAttribute("firstgid", QString::number(firstGid));
        x.writeAttribute("source", base + QStringLiteral(".tsx"));
        firstGid += static_cast<std::uint32_t>(layerDef.objectCount);
    }
    for (std::size_t i = 0; i < kTmxLayers.size(); ++i) {
        const TmxLayerSpec& layerDef = kTmxLayers[i];
        x.writeStartElement("layer");
        x.writeAttribute("id", QString::number(i + 1));
        x.writeAttribute("name", QString::fromUtf8(layerDef.name));
        x.writeAttribute("width", QString::number(f.width));
        x.writeAttribute("height", QString::number(f.height));
        x.writeStartElement("data");
        x.writeAttribute("encoding", "csv");
        x.writeCharacters(csvOf(fieldLayerGids(s, field, layerDef.layer, firstGids[i]), f.width));
        x.writeEndElement();
        x.writeEndElement();
    }
    x.writeEndElement();
    x.writeEndDocument();
    if (!writeBytes(tmxPath, map, error)) return failure(error);
    return {true, {}};
}

namespace {

int intAttr(const QXmlStreamAttributes& a, const char* name, int fallback = 0) {
    bool ok = false;
    const int v = a.value(QLatin1String(name)).toInt(&ok);
    return ok ? v : fallback;
}

// Tiles in a tileset picture of `iw` x `ih` pixels.
std::uint64_t tilesInImage(int iw, int ih, int tw, int th, int spacing, int margin) {
    if (tw <= 0 || th <= 0 || iw <= 0 || ih <= 0) return 0;
    const int cols = (iw - 2 * margin + spacing) / (tw + spacing);
    const int rows = (ih - 2 * margin + spacing) / (th + spacing);
    return cols > 0 && rows > 0 ? static_cast<std::uint64_t>(cols) * static_cast<std::uint64_t>(rows) : 0;
}

// Reads the attributes and children of a <tileset> element the reader stands on.
void readTilesetBody(QXmlStreamReader& x, TmxTilesetRange& t) {
    const QXmlStreamAttributes a = x.attributes();
    t.name = a.value(QLatin1String("name")).toString().toStdString();
    const int count = intAttr(a, "tilecount", -1);
    const int tw = intAttr(a, "tilewidth"), th = intAttr(a, "tileheight");
    const int spacing = intAttr(a, "spacing"), margin = intAttr(a, "margin");
    t.tileCount = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    while (x.readNextStartElement()) {
        if (x.name() == QLatin1String("image") && count < 0) {
            const QXmlStreamAttributes ia = x.attributes();
            t.tileCount = tilesInImage(intAttr(ia, "width"), intAttr(ia, "height"), tw, th, spacing, margin);
        }
        x.skipCurrentElement();
    }
}

bool readExternalTileset(const QString& path, TmxTilesetRange& t, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(" を開けません: ") + file.errorString();
        return false;
    }
    QXmlStreamReader x(&file);
    if (!x.readNextStartElement() || x.name() != QLatin1String("tileset")) {
        error = path + QStringLiteral(" はタイルセットではありません。");
        return false;
    }
    readTilesetBody(x, t);
    if (x.hasError()) {
        error = path + QStringLiteral(" が壊れています: ") + x.errorString();
        return false;
    }
    return true;
}

bool decodeGids(const QByteArray& bytes, TmxLayerData& layer) {
    if (bytes.size() % 4 != 0) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    layer.gids.resize(static_cast<std::size_t>(bytes.size() / 4));
    for (std::size_t i = 0; i < layer.gids.size(); ++i, p += 4)
        layer.gids[i] = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24;
    return true;
}

// zlib or gzip data (told apart by their headers) of exactly `expected` bytes.
bool inflateExactly(const QByteArray& in, qsizetype expected, QByteArray& out) {
    z_stream z{};
    if (inflateInit2(&z, 15 + 32) != Z_OK) return false;
    out.resize(expected + 1);  // one byte more shows data that runs longer
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const qsizetype got = out.size() - static_cast<qsizetype>(z.avail_out);
    inflateEnd(&z);
    out.resize(got);
    return rc == Z_STREAM_END && got == expected;
}

template <typename Char>
bool isCsvSpace(Char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Comma-separated decimal gids, spaces and line breaks allowed around each;
// nothing else. Works on the file's bytes and on text the XML reader gives.
// The character at `end` must be readable and none of those (the '<' after a
// text in the file, the terminating zero of a QString): the loops stop on it
// without comparing against `end` at every digit.
template <typename Char>
bool parseCsv(const Char* p, const Char* end, std::vector<std::uint32_t>& gids) {
    gids.clear();
    auto digit = [](Char c) { return static_cast<unsigned>(c) - '0' < 10; };
    for (;;) {
        while (isCsvSpace(*p)) ++p;
        const Char* first = p;
        std::uint64_t value = 0;
        while (digit(*p)) value = value * 10 + static_cast<unsigned>(*p++ - '0');
        if (p == first) return false;
        if (p - first > 10) {  // leading zeros, or too many digits for any gid
            while (p - first > 1 && *first == '0') ++first;
            if (p - first > 10) return false;
            value = 0;
            for (const Char* q = first; q != p; ++q) value = value * 10 + static_cast<unsigned>(*q - '0');
        }
        if (value > 0xFFFFFFFFull) return false;
        gids.push_back(static_cast<std::uint32_t>(value));
        if (*p == ',') {  // the usual case: the next number follows
            ++p;
            continue;
        }
        while (isCsvSpace(*p)) ++p;
        if (p == end) return true;
        if (*p != ',') return false;
        ++p;
    }
}

// The text of the map's <data> elements taken out of the file before the XML
// reader sees it. CSV rows are nearly all of a map's bytes; the reader would
// decode every one of them into a string only for the numbers to be parsed
// again, so each text made only of digits, commas and spaces is parsed here,
// straight from the bytes, and the reader gets a short marker in its place
// ("#lifted-3#"). Files with a DOCTYPE or CDATA sections, or with a marker of
// their own, go to the reader whole: there a "<data" in the bytes need not be
// an element, or a text could pass for a marker. (A "<data" in a comment or
// processing instruction only changes what the reader skips anyway.)
struct LiftedText {
    qsizetype begin = 0;
    qsizetype end = 0;
    std::vector<std::uint32_t> gids;
};

struct LiftedMap {
    QByteArray bytes;     // the file
    QByteArray document;  // what the XML reader reads
    std::vector<LiftedText> texts;

    explicit LiftedMap(QByteArray file) : bytes(std::move(file)) {
        const char* const data = bytes.constData();
        const qsizetype n = bytes.size();
        if (std::string_view(data, static_cast<std::size_t>(n)).find("#lifted-") != std::string_view::npos) {
            document = bytes;
            return;
        }
        std::vector<qsizetype> tags;  // where each "<data" starts
        for (const char* lt = data; (lt = static_cast<const char*>(std::memchr(lt, '<', data + n - lt))); ++lt) {
            const QByteArrayView rest(lt, data + n - lt);
            if (rest.startsWith("<!DOCTYPE") || rest.startsWith("<![CDATA[")) {
                document = bytes;
                return;
            }
            if (rest.startsWith("<data")) tags.push_back(lt - data);
        }
        document.reserve(4096);
        qsizetype copied = 0;
        for (const qsizetype tag : tags) {
            if (tag < copied) continue;
            qsizetype i = tag + 5;
            if (i >= n || !(isCsvSpace(data[i]) || data[i] == '>' || data[i] == '/')) continue;
            char quote = 0;  // attribute values may hold '>'
            for (; i < n; ++i) {
                const char c = data[i];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            if (i >= n) break;
            if (data[i - 1] == '/') continue;  // <data/>: no text
            const qsizetype begin = i + 1;
            const void* lt = std::memchr(data + begin, '<', static_cast<std::size_t>(n - begin));
            if (!lt) break;
            const qsizetype end = static_cast<const char*>(lt) - data;
            LiftedText text{begin, end, {}};
            text.gids.reserve(static_cast<std::size_t>((end - begin) / 2 + 1));
            if (!parseCsv(data + begin, data + end, text.gids)) continue;
            document.append(data + copied, begin - copied);
            document.append("#lifted-").append(QByteArray::number(static_cast<qulonglong>(texts.size()))).append('#');
            copied = end;
            texts.push_back(std::move(text));
        }
        document.append(data + copied, n - copied);
    }

    // The lifted text a marker the reader returned stands for, or null.
    LiftedText* textOf(const QString& readerText) {
        const QString t = readerText.trimmed();
        if (texts.empty() || !t.startsWith(QLatin1String("#lifted-")) || !t.endsWith(QLatin1Char('#'))) return nullptr;
        bool ok = false;
        const qulonglong i = QStringView(t).sliced(8, t.size() - 9).toULongLong(&ok);
        return ok && i < texts.size() ? &texts[static_cast<std::size_t>(i)] : nullptr;
    }
};

// Reads the <data> element the reader stands on into the layer's gids.
bool readData(QXmlStreamReader& x, LiftedMap& lifted, TmxLayerData& layer, QString& why) {
    const QXmlStreamAttributes a = x.attributes();
    const QString encoding = a.value(QLatin1String("encoding")).toString();
    const QString compression = a.value(QLatin1String("compression")).toString();
    if (encoding.isEmpty()) {
        layer.gids.clear();
        while (x.readNextStartElement()) {
            if (x.name() != QLatin1String("tile")) {
                why = QStringLiteral("無限マップのデータは読み込めません。");
                return false;
            }
            bool ok = false;
            const qulonglong v = x.attributes().value(QLatin1String("gid")).toULongLong(&ok);
            layer.gids.push_back(ok && v <= 0xFFFFFFFFull ? static_cast<std::uint32_t>(v) : 0);
            if (x.attributes().hasAttribute(QLatin1String("gid")) && !ok) return false;
            x.skipCurrentElement();
        }
        return true;
    }
    const QString text = x.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (x.hasError()) return false;
    LiftedText* taken = lifted.textOf(text);
    if (encoding == QLatin1String("csv")) {
        if (!compression.isEmpty()) return false;
        if (taken) {
            layer.gids = std::move(taken->gids);
            taken->gids.clear();
            return !layer.gids.empty();
        }
        layer.gids.reserve(static_cast<std::size_t>(layer.width) * static_cast<std::size_t>(layer.height));
        return parseCsv(text.utf16(), text.utf16() + text.size(), layer.gids);
    }
    if (encoding != QLatin1String("base64")) {
        why = QStringLiteral("符号化 \"%1\" は読み込めません。").arg(encoding);
        return false;
    }
    const QByteArray raw = QByteArray::fromBase64(
        taken ? lifted.bytes.mid(taken->begin, taken->end - taken->begin) : text.trimmed().toLatin1());
    if (compression.isEmpty()) return decodeGids(raw, layer);
    if (compression != QLatin1String("zlib") && compression != QLatin1String("gzip")) {
        why = QStringLiteral("圧縮 \"%1\" は読み込めません。").arg(compression);
        return false;
    }
    QByteArray plain;
    return inflateExactly(raw, static_cast<qsizetype>(layer.width) * layer.height * 4, plain) &&
           decodeGids(plain, layer);
}

struct MapReader {
    QXmlStreamReader& x;
    LiftedMap& lifted;
    QDir folder;
    TmxMapData& out;
    QString error;

    // The children of <map> or of a layer group.
    bool readChildren() {
        while (x.readNextStartElement()) {
            const auto name = x.name();
            if (name == QLatin1String("tileset")) {
                if (!readTileset()) return false;
            } else if (name == QLatin1String("layer")) {
                if (!readLayer()) return false;
            } else if (name == QLatin1String("group")) {
                if (!readChildren()) return false;
            } else {
                x.skipCurrentElement();
            }
        }
        return true;
    }

    bool readTileset() {
        TmxTilesetRange t;
        const QXmlStreamAttributes a = x.attributes();
        bool ok = false;
        t.firstGid = a.value(QLatin1String("firstgid")).toULongLong(&ok);
        if (!ok || t.firstGid < 1) {
            error = QStringLiteral("タイルセットの firstgid が壊れています。");
            return false;
        }
        const QString source = a.value(QLatin1String("source")).toString();
        if (!source.isEmpty()) {
            x.skipCurrentElement();
            if (!readExternalTileset(folder.filePath(source), t, error)) return false;
        } else {
            readTilesetBody(x, t);
        }
        out.tilesets.push_back(std::move(t));
        return true;
    }

    bool readLayer() {
        TmxLayerData layer;
        const QXmlStreamAttributes a = x.attributes();
        layer.name = a.value(QLatin1String("name")).toString().toStdString();
        layer.width = intAttr(a, "width");
        layer.height = intAttr(a, "height");
        const QString named = QString::fromStdString(layer.name);
        if (layer.width < 0 || layer.height < 0 ||
            static_cast<qint64>(layer.width) * layer.height > kMaxLayerCells) {
            error = QStringLiteral("レイヤー「%1」の大きさが壊れています。").arg(named);
            return false;
        }
        while (x.readNextStartElement()) {
            if (x.name() != QLatin1String("data")) {
                x.skipCurrentElement();
                continue;
            }
            QString why;
            if (!readData(x, lifted, layer, why)) {
                error = QStringLiteral("レイヤー「%1」のデータが読み込めません。").arg(named) + why;
                return false;
            }
        }
        out.layers.push_back(std::move(layer));
        return true;
    }
};

}  // namespace

TmxFileResult readTmxMap(const QString& tmxPath, TmxMapData& out) {
    out = TmxMapData{};
    QFile file(tmxPath);
    if (!file.open(QIODevice::ReadOnly))
        return failure(tmxPath + QStringLiteral(" を開けません: ") + file.errorString());
    if (file.size() > kMaxMapBytes)
        return failure(tmxPath + QStringLiteral(" はﾌｨｰﾙﾄﾞのマップにしては大きすぎます。"));
    LiftedMap lifted(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return failure(tmxPath + QStringLiteral(" を読めません: ") + file.errorString());
    QXmlStreamReader x(lifted.document);
    if (!x.readNextStartElement() || x.name() != QLatin1String("map"))
        return failure(tmxPath + QStringLiteral(" はタイルマップではありません。"));
    const QXmlStreamAttributes a = x.attributes();
    if (intAttr(a, "infinite") != 0) return failure(QStringLiteral("無限マップは読み込めません。"));
    out.width = intAttr(a, "width");
    out.height = intAttr(a, "height");
    MapReader reader{x, lifted, QFileInfo(tmxPath).absoluteDir(), out, {}};
    if (!reader.readChildren()) {
        out = TmxMapData{};
        return failure(reader.error.isEmpty() ? tmxPath + QStringLiteral(" が壊れています: ") + x.errorString()
                                              : reader.error);
    }
    if (x.hasError()) {
        out = TmxMapData{};
        return failure(tmxPath + QStringLiteral(" が壊れています: ") + x.errorString());
    }
    return {true, {}};
}

}  // namespace qrn
