// The whole-area map's miniature of a full 120 x 120 field at the largest
// scale (1800 x 1800 pixels), every cell on a terrain of its own picture
// (all 400 terrains in use), against filling the same image with ready
// 15 x 15 chips in the same run.
//   op=minimap_120x120_scale15
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <vector>

#include "services/editorcontext.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "views/minimap.h"

#include "bench_util.h"

using namespace qrn;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kSide = 120, kScale = 15, kRuns = 31;
    EditorContext& ed = editor();
    Scenario& s = ed.scenario;
    alldatainitialize(s, ed.side, 1);
    createFirstField(s, "bench", "", "minimap", kSide, kSide);
    ed.imageList.reset();
    for (int n = 1; n <= kPlaceCount; ++n) {
        QImage chip(32, 32, QImage::Format_RGB32);
        chip.fill(qRgb(n % 256, (n * 7) % 256, (n * 13) % 256));
        QPainter(&chip).drawLine(0, 0, 31, 31);
        ed.side.pictures.place[n] = ed.imageList.add(chip, n % 3 == 0, 0xFFFFFF);
    }
    CellIndexMap cells{};
    for (int c = 1; c <= kSide * kSide; ++c) {
        s.cell(c).place = 1 + (c - 1) % kPlaceCount;
        cells[s.cell(c).col][s.cell(c).row] = c;
    }

    std::vector<QImage> ready;
    for (int n = 0; n <= kPlaceCount; ++n) {
        QImage tile(kScale, kScale, QImage::Format_RGB32);
        tile.fill(qRgb(n % 256, 0, 0));
        ready.push_back(tile);
    }
    std::vector<double> render, fill;
    for (int run = 0; run < kRuns; ++run) {
        QImage out;
        render.push_back(bench::millis(
            [&] { out = renderMiniature(s, cells, kSide, kSide, kScale, ed.imageList, ed.side.pictures); }));
        if (out.size() != QSize(kSide * kScale, kSide * kScale)) return 1;
        fill.push_back(bench::millis([&] {
            QImage image(kSide * kScale, kSide * kScale, QImage::Format_RGB32);
            for (int r = 0; r < kSide; ++r)
                for (int c = 0; c < kSide; ++c) {
                    const QImage& tile = ready[static_cast<std::size_t>(s.cell(cells[c][r]).place)];
                    for (int y = 0; y < kScale; ++y)
                        std::memcpy(image.scanLine(r * kScale + y) + c * kScale * 4, tile.constScanLine(y),
                                    kScale * 4);
                }
            out = image;
        }));
    }
    const double m = bench::median(render);
    const double b = bench::median(fill);
    std::printf("op=minimap_120x120_scale15 median_ms=%.3f ratio=%.2f\n", m, b > 0 ? m / b : 0.0);
    return 0;
}
