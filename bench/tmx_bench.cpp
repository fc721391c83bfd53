// Tile map export and import of a full field.
//   export_tmx_120x120: a 120 x 120 field with all five layers set and every
//     object with a picture, written as a TMX map with its five tilesets
//     (TSX + PNG); ratio against formatting and writing the same number of
//     bytes of CSV text in the same run.
//   import_tmx_120x120: that map read back (XML, CSV, the external tilesets)
//     and its layers written into the field; ratio against reading and
//     parsing the same number of bytes of CSV text.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
#include "render/fieldrenderer.h"
#include "render/tmxfile.h"
#include "scenario/fieldlayout.h"
#include "scenario/join.h"

using namespace qrn;

namespace {

constexpr int kRuns = 7;

// Keeps the baseline's parse from being optimised away.
volatile unsigned long long sink = 0;

qint64 folderBytes(const QString& path, const QStringList& patterns) {
    qint64 total = 0;
    for (const QFileInfo& info : QDir(path).entryInfoList(patterns, QDir::Files)) total += info.size();
    return total;
}

// `bytes` bytes of comma-separated numbers, written to `path`.
void writeCsv(const QString& path, qint64 bytes) {
    std::string text;
    text.reserve(static_cast<std::size_t>(bytes) + 16);
    char buf[16];
    for (unsigned n = 0; static_cast<qint64>(text.size()) < bytes; ++n) {
        const int k = std::snprintf(buf, sizeof buf, "%u,", n % 1400);
        text.append(buf, static_cast<std::size_t>(k));
        if (n % 120 == 119) text += '\n';
    }
    text.resize(static_cast<std::size_t>(bytes));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text.data(), static_cast<qint64>(text.size()));
}

unsigned long long readCsv(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    unsigned long long sum = 0, v = 0;
    for (char c : bytes) {
        if (c >= '0' && c <= '9') v = v * 10 + static_cast<unsigned>(c - '0');
        else {
            sum += v;
            v = 0;
        }
    }
    return sum + v;
}

}  // namespace

int main() {
    auto s = std::make_unique<Scenario>();
    auto t = std::make_unique<PictureIndexTables>();
    ChipImages chips;
    QImage black(32, 32, QImage::Format_ARGB32);
    black.fill(Qt::black);
    chips.chips = {black};
    chips.blank = black;
    for (int k = 0; k < 200; ++k) {
        QImage image(32, 32, QImage::Format_RGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                image.setPixel(x, y, (x - 16) * (x - 16) + (y - 16) * (y - 16) < 100 + k ? qRgb(255, 0, 255)
                                                                                           : qRgb(k, x * 8, y * 8));
        chips.chips.push_back(makeChip(image, k % 2 == 0, 0xFF00FF));
    }
    for (int n = 1; n <= kPlaceCount; ++n) t->place[n] = static_cast<i16>(1 + n % 200);
    for (int n = 1; n <= kEnterCount; ++n) {
        t->enter[n] = static_cast<i16>(1 + (n + 50) % 200);
        t->event[n] = static_cast<i16>(1 + (n + 100) % 200);
        t->charaItem[n] = static_cast<i16>(1 + (n + 150) % 200);
        t->charaItem[kCharaCount + n] = static_cast<i16>(1 + (n + 7) % 200);
    }
    createFirstField(*s, "", "", "", 120, 120);
    for (int n = 1; n <= 120 * 120; ++n) {
        Cell& c = s->cell(n);
        c.place = 1 + (n * 37) % kPlaceCount;
        c.enter = static_cast<u8>(1 + (n * 11) % 250);
        c.event = static_cast<u8>(1 + (n * 13) % 250);
        c.item = static_cast<u8>(1 + (n * 17) % 250);
        c.chara = static_cast<u8>(1 + (n * 19) % 250);
    }

    QTemporaryDir dir;
    const QString map = dir.filePath("field1.tmx");
    std::vector<double> exportMs, writeMs, importMs, readMs;
    qint64 written = 0, read = 0;
    for (int run = 0; run < kRuns; ++run) {
        exportMs.push_back(bench::millis([&] {
            if (!writeTmxMap(*s, 1, chips, *t, map).ok) std::fprintf(stderr, "export failed\n");
        }));
        written = folderBytes(dir.path(), {"*.tmx", "*.tsx", "*.png"});
        writeMs.push_back(bench::millis([&] { writeCsv(dir.filePath("plain.csv"), written); }));

        importMs.push_back(bench::millis([&] {
            TmxMapData data;
            if (!readTmxMap(map, data).ok || importTmxLayers(*s, 1, data).status != TmxImportStatus::Done)
                std::fprintf(stderr, "import failed\n");
        }));
        read = folderBytes(dir.path(), {"*.tmx", "*.tsx"});
        writeCsv(dir.filePath("read.csv"), read);
        readMs.push_back(bench::millis([&] { sink = readCsv(dir.filePath("read.csv")); }));
    }
    const double e = bench::median(exportMs), w = bench::median(writeMs);
    const double i = bench::median(importMs), r = bench::median(readMs);
    std::printf("op=export_tmx_120x120 median_ms=%.2f ratio=%.2f bytes=%lld\n", e, e / w, static_cast<long long>(written));
    std::printf("op=import_tmx_120x120 median_ms=%.2f ratio=%.2f bytes=%lld\n", i, i / r, static_cast<long long>(read));
    return 0;
}
