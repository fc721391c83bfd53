// Fields written as TMX maps with their tilesets and read back: the round
// trip restores the record byte for byte, maps as a tile map editor saves
// them (CSV, base64 plain, zlib and gzip, embedded tilesets) come in, and
// the tile map editor's own renderer draws what the bitmap export draws.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstring>
#include <memory>

#include "render/fieldrenderer.h"
#include "render/tmxfile.h"
#include "scenario/fieldlayout.h"
#include "scenario/join.h"

namespace qrn {
namespace {

struct Fixture {
    std::unique_ptr<Scenario> s = std::make_unique<Scenario>();
    std::unique_ptr<PictureIndexTables> t = std::make_unique<PictureIndexTables>();
    ChipImages chips;
    // Every object has a picture unless `withoutPictures`: then every
    // seventh has none (index 0).
    Fixture(int width, int height, bool withoutPictures) {
        QImage black(32, 32, QImage::Format_ARGB32);
        black.fill(Qt::black);
        chips.chips = {black};
        chips.blank = black;
        for (int k = 0; k < 60; ++k) {
            QImage image(32, 32, QImage::Format_RGB32);
            image.fill(qRgb(255, 0, 255));
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if ((x + y + k) % 5 != 0 || k % 3 == 0) image.setPixel(x, y, qRgb(4 * k, (x * 8) & 255, (y * 8) & 255));
            chips.chips.push_back(makeChip(image, k % 3 != 0, 0xFF00FF));
        }
        auto pic = [withoutPictures](int n) { return withoutPictures && n % 7 == 0 ? 0 : 1 + n % 60; };
        for (int n = 1; n <= kPlaceCount; ++n) t->place[n] = static_cast<i16>(pic(n));
        for (int n = 1; n <= kEnterCount; ++n) {
            t->enter[n] = static_cast<i16>(pic(n + 1));
            t->event[n] = static_cast<i16>(pic(n + 2));
            t->charaItem[n] = static_cast<i16>(pic(n + 3));
            t->charaItem[kCharaCount + n] = static_cast<i16>(pic(n + 4));
        }
        createFirstField(*s, "", "", "", width, height);
        const int last = myend(*s, 1);
        for (int n = 1; n <= last; ++n) {
            Cell& c = s->cell(n);
            c.place = 1 + (n * 37) % kPlaceCount;
            c.enter = static_cast<u8>(n % 4 == 0 ? 1 + (n * 11) % 250 : 0);
            c.event = static_cast<u8>(n % 6 == 0 ? 250 : 0);
            c.item = static_cast<u8>(n % 5 == 0 ? 1 + n % 250 : 0);
            c.chara = static_cast<u8>(n % 9 == 0 ? 1 + (n * 3) % 250 : 0);
        }
    }
};

std::unique_ptr<Scenario> copyOf(const Scenario& s) {
    auto p = std::make_unique<Scenario>();
    std::memcpy(p->bytes(), s.bytes(), kRecordSize);
    return p;
}

void clearLayers(Scenario& s) {
    for (int n = 1; n <= myend(s, 1); ++n) {
        Cell& c = s.cell(n);
        c.place = 3;
        c.enter = c.event = c.item = c.chara = 7;
    }
}

class TmxRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(TmxRoundTrip, ExportThenImportIsByteIdentical) {
    Fixture f(GetParam(), GetParam(), true);
    QTemporaryDir dir;
    const QString path = dir.filePath(tmxFileNameOf(1));
    const TmxFileResult written = writeTmxMap(*f.s, 1, f.chips, *f.t, path);
    ASSERT_TRUE(written.ok) << written.error.toStdString();
    const auto original = copyOf(*f.s);
    clearLayers(*f.s);
    TmxMapData map;
    const TmxFileResult read = readTmxMap(path, map);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    const TmxImportResult r = importTmxLayers(*f.s, 1, map);
    ASSERT_EQ(r.status, TmxImportStatus::Done) << tmxImportMessage(r);
    EXPECT_EQ(std::memcmp(f.s->bytes(), original->bytes(), kRecordSize), 0);

    // Tile k - 1 is object k's picture with its transparent colour as alpha;
    // an object without a picture has a fully transparent tile.
    const QImage place(dir.filePath("place.png"));
    ASSERT_EQ(place.size(), QSize(320, 1280));
    for (int k : {1, 7, 14, 40, 399, 400}) {
        const QImage tile = place.copy((k - 1) % 10 * 32, (k - 1) / 10 * 32, 32, 32).convertToFormat(QImage::Format_ARGB32);
        const int index = f.t->place[k];
        QImage expected(32, 32, QImage::Format_ARGB32);
        expected.fill(Qt::transparent);
        if (index > 0) expected = f.chips.chips[static_cast<std::size_t>(index)].convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(tile, expected) << "terrain " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, TmxRoundTrip, ::testing::Values(10, 120));

// A 10 x 10 map as the tile map editor saves it after an edit: a river of
// terrain 2 down the fourth column on grass, building 3 at (2, 2), item 5 at
// (10, 10), character 1 at (1, 1); tilesets embedded, an object layer and
// layer properties that the import passes over.
struct Encoded {
    const char* name;
    const char* encoding;
    const char* compression;
    const char* data[5];
};

std::vector<std::uint32_t> expectedGids(int layer) {
    std::vector<std::uint32_t> g(100, 0);
    switch (layer) {
        case 0:
            for (int i = 0; i < 100; ++i) g[static_cast<std::size_t>(i)] = i % 10 == 3 ? 2 : 1;
            break;
        case 1: g[11] = 403; break;
        case 3: g[99] = 905; break;
        case 4: g[0] = 1151; break;
        default: break;
    }
    return g;
}

std::string csvText(int layer) {
    std::string out = "\n";
    const auto g = expectedGids(layer);
    for (std::size_t i = 0; i < g.size(); ++i) {
        out += std::to_string(g[i]);
        if (i + 1 < g.size()) out += ",";
        if (i % 10 == 9) out += "\n";
    }
    return out;
}

std::string plainBase64(int layer) {
    QByteArray raw;
    for (std::uint32_t v : expectedGids(layer))
        for (int b = 0; b < 4; ++b) raw.append(static_cast<char>(v >> (8 * b) & 0xFF));
    return "\n   " + raw.toBase64().toStdString() + "\n  ";
}

std::string mapText(const char* encoding, const char* compression, const std::vector<std::string>& data) {
    static const char* const names[5] = {"地形", "建造物", "ｲﾍﾞﾝﾄ", "ｱｲﾃﾑ", "ｷｬﾗｸﾀ"};
    static const int first[5] = {1, 401, 651, 901, 1151};
    static const int counts[5] = {400, 250, 250, 250, 250};
    std::string x =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"orthogonal\" renderorder=\"right-down\" "
        "width=\"10\" height=\"10\" tilewidth=\"32\" tileheight=\"32\" infinite=\"0\" nextlayerid=\"8\" "
        "nextobjectid=\"2\">\n <editorsettings>\n  <export target=\"x.json\" format=\"json\"/>\n </editorsettings>\n"
        " <properties>\n  <property name=\"field\" type=\"int\" value=\"1\"/>\n </properties>\n";
    for (int i = 0; i < 5; ++i)
        x += " <tileset firstgid=\"" + std::to_string(first[i]) + "\" name=\"" + names[i] +
             "\" tilewidth=\"32\" tileheight=\"32\" tilecount=\"" + std::to_string(counts[i]) +
             "\" columns=\"10\">\n  <image source=\"t" + std::to_string(i) + ".png\" width=\"320\" height=\"" +
             std::to_string(counts[i] / 10 * 32 + (counts[i] % 10 ? 32 : 0)) + "\"/>\n </tileset>\n";
    for (int i = 0; i < 5; ++i) {
        if (i == 3) x += " <group id=\"7\" name=\"上\">\n";
        x += " <layer id=\"" + std::to_string(i + 1) + "\" name=\"" + names[i] + "\" width=\"10\" height=\"10\">\n";
        if (i == 0) x += "  <properties>\n   <property name=\"note\" value=\"川\"/>\n  </properties>\n";
        x += std::string("  <data encoding=\"") + encoding + "\"";
        if (*compression) x += std::string(" compression=\"") + compression + "\"";
        x += ">" + data[static_cast<std::size_t>(i)] + "</data>\n </layer>\n";
        if (i == 4) x += " </group>\n";
    }
    x += " <objectgroup id=\"6\" name=\"メモ\">\n  <object id=\"1\" x=\"3\" y=\"4\"/>\n </objectgroup>\n</map>\n";
    return x;
}

struct SavedMap {
    const char* name;
    std::string text;
};

std::vector<SavedMap> savedMaps() {
    std::vector<std::string> csv, plain;
    for (int i = 0; i < 5; ++i) {
        csv.push_back(csvText(i));
        plain.push_back(plainBase64(i));
    }
    // The same map with what the reader must get right around the CSV rows:
    // a layer commented out, a colour, CR LF line ends and leading zeros, all
    // that with a DOCTYPE.
    std::string commented = mapText("csv", "", csv);
    commented.insert(commented.find(" <tileset"),
                     " <!-- <layer name=\"地形\"><data encoding=\"csv\">9,9</data></layer> -->\n");
    commented.replace(commented.find("infinite="), 0, "backgroundcolor=\"#7f7f7f\" ");
    std::vector<std::string> crlf = csv;
    for (std::string& text : crlf)
        for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.replace(at, 1, "\r\n");
    crlf[0].replace(crlf[0].find('1'), 1, "000000000001");
    std::string doctype = mapText("csv", "", crlf);
    doctype.insert(doctype.find("<map"), "<!DOCTYPE map>\n");
    return {
        {"csv", mapText("csv", "", csv)},
        {"csv commented", commented},
        {"csv crlf", mapText("csv", "", crlf)},
        {"csv doctype", doctype},
        {"base64", mapText("base64", "", plain)},
        {"base64 zlib", mapText("base64", "zlib",
                                {"\n   eJxjZGBgYIRiJiQ2PjyqjnbqAFiYAG8=\n  ", "eJxjYCAeTGYkQfEoIAsAAM9fAJU=",
                                 "eJxjYBgFgwkAAAGQAAE=", "eJxjYBgFgwV0MjMwAAADvQCN", "eJyrZ2EYBYMIAADOPACE"})},
        {"base64 gzip", mapText("base64", "gzip",
                                {"H4sIAAAAAAACA2NkYGBghGImJDY+PKqOduoAmUuZRZABAAA=",
                                 "H4sIAAAAAAACA2NgIB5MZmQYBTQGAOs1vZCQAQAA", "H4sIAAAAAAACA2NgGAWDCQAADA0iRpABAAA=",
                                 "H4sIAAAAAAACA2NgGAWDBXQyMzAAAORKNdSQAQAA", "H4sIAAAAAAACA6tnYRgFgwgAAAP9+U2QAQAA"})},
    };
}

TEST(TmxRead, MapsSavedByTheTileMapEditorComeIntoTheField) {
    for (const SavedMap& saved : savedMaps()) {
        SCOPED_TRACE(saved.name);
        Fixture f(10, 10, false);
        QTemporaryDir dir;
        const QString path = dir.filePath("edited.tmx");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(saved.text.data(), static_cast<qint64>(saved.text.size()));
        }
        TmxMapData map;
        const TmxFileResult read = readTmxMap(path, map);
        ASSERT_TRUE(read.ok) << read.error.toStdString();
        const auto before = copyOf(*f.s);
        ASSERT_EQ(importTmxLayers(*f.s, 1, map).status, TmxImportStatus::Done);
        for (int n = 1; n <= 100; ++n) {
            const Cell& c = f.s->cell(n);
            const int i = c.row * 10 + c.col;
            EXPECT_EQ(+c.place, i % 10 == 3 ? 2 : 1) << i;
            EXPECT_EQ(+c.enter, i == 11 ? 3 : 0) << i;
            EXPECT_EQ(+c.event, 0) << i;
            EXPECT_EQ(+c.item, i == 99 ? 5 : 0) << i;
            EXPECT_EQ(+c.chara, i == 0 ? 1 : 0) << i;
            f.s->cell(n) = before->cell(n);
        }
        EXPECT_EQ(std::memcmp(f.s->bytes(), before->bytes(), kRecordSize), 0);  // only cells changed
    }
}

TEST(TmxRead, DamagedOrUnsupportedDataIsRefusedWithAReason) {
    std::vector<std::string> csv;
    for (int i = 0; i < 5; ++i) csv.push_back(csvText(i));
    std::string badCsv = csv[0];
    badCsv.replace(badCsv.find("2"), 1, "x");
    const std::string cases[] = {
        mapText("csv", "", {badCsv, csv[1], csv[2], csv[3], csv[4]}),
        mapText("base64", "zstd", {"KLUv", "KLUv", "KLUv", "KLUv", "KLUv"}),
        mapText("base64", "zlib", {"eJxjYBgFgwkAAAGQAAE=", "eJxjYBgFgwkAAAGQAAE=", "eJxj", "eJxj", "eJxj"}),  // truncated
        mapText("csv", "", {"#lifted-1#", csv[1], csv[2], csv[3], csv[4]}),
        "<map width=\"10\" height=\"10\" infinite=\"1\"></map>",
        "<tileset name=\"x\"/>",
        "<map width=\"10\"><layer name=\"a\" width=\"10\" height=\"10\"><data encoding=\"csv\">1,2",
    };
    for (const std::string& text : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.tmx");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        file.close();
        TmxMapData map;
        const TmxFileResult read = readTmxMap(path, map);
        EXPECT_FALSE(read.ok) << text.substr(0, 300);
        EXPECT_FALSE(read.error.isEmpty());
        EXPECT_TRUE(map.layers.empty());
    }
    TmxMapData map;
    EXPECT_FALSE(readTmxMap(QStringLiteral("/nonexistent/x.tmx"), map).ok);
}

// Runs only where the tile map editor's command-line renderer is installed.
TEST(TmxRasterizer, DrawsTheExportedMapAsTheBitmapExportWhereOpaque) {
    const QString rasterizer = QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer"));
    if (rasterizer.isEmpty()) GTEST_SKIP() << "tmxrasterizer is not installed";
    Fixture f(20, 10, false);
    QTemporaryDir dir;
    const QString path = dir.filePath(tmxFileNameOf(1));
    ASSERT_TRUE(writeTmxMap(*f.s, 1, f.chips, *f.t, path).ok);
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    run.setProcessEnvironment(env);
    run.start(rasterizer, {path, dir.filePath("r.png")});
    ASSERT_TRUE(run.waitForFinished(60000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QImage drawn = QImage(dir.filePath("r.png")).convertToFormat(QImage::Format_ARGB32);
    FieldRenderer renderer(f.chips, *f.t);
    const QImage ours = renderer.renderField(*f.s, 1).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), ours.size());
    long opaque = 0, differ = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb p = drawn.pixel(x, y);
            if (qAlpha(p) != 255) continue;
            ++opaque;
            if ((p & 0xFFFFFF) != (ours.pixel(x, y) & 0xFFFFFF)) ++differ;
        }
    EXPECT_GT(opaque, ours.width() * ours.height() / 2);
    EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace qrn
