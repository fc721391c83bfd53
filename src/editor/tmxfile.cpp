#include "editor/tmxfile.h"

#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <future>

#include "scenario/cellcomposition.h"
#include "scenario/text.h"

namespace qrn {

namespace {

constexpr int kTile = 32;
constexpr int kTilesetColumns = 10;
// The largest layer a map may bring: anything bigger cannot be a field and
// is refused before memory is spent on it.
constexpr qint64 kMaxLayerCells = 1 << 20;

TmxFileResult failure(const QString& why) { return {false, why}; }

// One layer's tileset picture: object k's first picture at tile k - 1.
QImage tilesetImage(const TmxLayerSpec& layerDef, const ChipImages& chips, const PictureIndexTables& pictures) {
    const int rows = (layerDef.objectCount + kTilesetColumns - 1) / kTilesetColumns;
    QImage sheet(kTilesetColumns * kTile, rows * kTile, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    for (int k = 1; k <= layerDef.objectCount; ++k) {
        const int index = objectPicture(pictures, layerDef.layer, k);
        // Index 0 is an object without a picture: its tile stays transparent.
        if (index <= 0 || index >= chips.count()) continue;
        const QImage& chip = chips.chips[static_cast<std::size_t>(index)];
        const QImage argb = chip.format() == QImage::Format_ARGB32 ? chip : chip.convertToFormat(QImage::Format_ARGB32);
        if (argb.width() < kTile || argb.height() < kTile) continue;
        const int x = (k - 1) % kTilesetColumns * kTile, y = (k - 1) / kTilesetColumns * kTile;
        for (int row = 0; row < kTile; ++row)
            std::memcpy(sheet.scanLine(y + row) + x * 4, argb.constScanLine(row), kTile * 4);
    }
    return sheet;
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

bool writePng(const QString& path, const QImage& image, QString& error) {
    return writeWhole(
        path,
        [&](QIODevice& out, QString& why) {
            QImageWriter writer(&out, "png");
            // Light compression (zlib level 1): most tiles are empty, and a
            // fast write matters more than the last few kilobytes.
            writer.setQuality(80);
            if (writer.write(image)) return true;
            why = writer.errorString();
            return false;
        },
        error);
}

QByteArray tilesetXml(const TmxLayerSpec& layerDef, const QImage& image) {
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
    x.writeAttribute("width", QString::number(image.width()));
    x.writeAttribute("height", QString::number(image.height()));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

// Rows of gids as Tiled writes them: one row a line, commas between.
QString csvOf(const std::vector<std::uint32_t>& gids, int width) {
    std::string text = "\n";
    text.reserve(gids.size() * 4 + 16);
    char buf[16];
    for (std::size_t i = 0; i < gids.size(); ++i) {
        const int n = std::snprintf(buf, sizeof buf, "%u", gids[i]);
        text.append(buf, static_cast<std::size_t>(n));
        if (i + 1 < gids.size()) text += ',';
        if ((i + 1) % static_cast<std::size_t>(width) == 0) text += '\n';
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
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
        QImage sheet = tilesetImage(layerDef, chips, pictures);
        tilesets[i] = std::async(std::launch::async, [layerDef, sheet = std::move(sheet), dir] {
            const QString base = QString::fromLatin1(layerDef.file);
            QString why;
            if (!writePng(dir.filePath(base + QStringLiteral(".png")), sheet, why) ||
                !writeBytes(dir.filePath(base + QStringLiteral(".tsx")), tilesetXml(layerDef, sheet), why))
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

// Comma-separated decimal gids, spaces and line breaks allowed around each.
bool parseCsv(QStringView text, TmxLayerData& layer) {
    layer.gids.clear();
    layer.gids.reserve(static_cast<std::size_t>(layer.width) * static_cast<std::size_t>(layer.height));
    std::uint64_t value = 0;
    bool digits = false, ended = false;  // a number begun; spaces after it
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= u'0' && c <= u'9') {
            if (ended) return false;
            value = value * 10 + (c - u'0');
            if (value > 0xFFFFFFFFull) return false;
            digits = true;
        } else if (c == u',') {
            if (!digits) return false;
            layer.gids.push_back(static_cast<std::uint32_t>(value));
            value = 0;
            digits = ended = false;
        } else if (c == u' ' || c == u'\n' || c == u'\r' || c == u'\t') {
            ended = digits;
        } else {
            return false;
        }
    }
    if (!digits) return false;
    layer.gids.push_back(static_cast<std::uint32_t>(value));
    return true;
}

// Reads the <data> element the reader stands on into the layer's gids.
bool readData(QXmlStreamReader& x, TmxLayerData& layer, QString& why) {
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
    if (encoding == QLatin1String("csv")) return compression.isEmpty() && parseCsv(text, layer);
    if (encoding != QLatin1String("base64")) {
        why = QStringLiteral("符号化 \"%1\" は読み込めません。").arg(encoding);
        return false;
    }
    const QByteArray raw = QByteArray::fromBase64(text.trimmed().toLatin1());
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
            if (!readData(x, layer, why)) {
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
    QXmlStreamReader x(&file);
    if (!x.readNextStartElement() || x.name() != QLatin1String("map"))
        return failure(tmxPath + QStringLiteral(" はタイルマップではありません。"));
    const QXmlStreamAttributes a = x.attributes();
    if (intAttr(a, "infinite") != 0) return failure(QStringLiteral("無限マップは読み込めません。"));
    out.width = intAttr(a, "width");
    out.height = intAttr(a, "height");
    MapReader reader{x, QFileInfo(tmxPath).absoluteDir(), out, {}};
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
