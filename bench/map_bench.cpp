// Map grid painting: a full 1920 x 1080 viewport of a 120 x 120 field with
// all five layers at each chip size, and the fill tool over the whole field.
// Each figure is compared with drawing as many ready 32 x 32 pixmaps onto
// the same kind of surface in the same run.
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "services/editorcontext.h"
#include "mainwindow/mapgrid.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/maplayers.h"

using namespace qrn;

namespace {

constexpr int kSide = 120;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRuns = 31;

double medianMs(const std::function<void()>& work, int runs = kRuns) {
    std::vector<double> times;
    work();  // warm up
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A chip with a pattern; masked chips get a transparent border in white.
QImage makeChip(QRgb colour, bool withKeyColour) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(withKeyColour ? qRgb(255, 255, 255) : colour);
    QPainter p(&image);
    p.fillRect(withKeyColour ? QRect(6, 6, 20, 20) : QRect(0, 0, 32, 32), QColor(colour));
    p.setPen(Qt::black);
    p.drawLine(8, 8, 24, 24);
    return image;
}

void setUpField() {
    EditorContext& ctx = editor();
    Scenario& s = ctx.scenario;
    alldatainitialize(s, ctx.side, 1);
    createFirstField(s, "", "", "", kSide, kSide);
    ctx.imageList.reset();
    const QRgb colours[] = {qRgb(40, 160, 60), qRgb(150, 120, 60), qRgb(60, 90, 200), qRgb(220, 200, 40), qRgb(200, 60, 60)};
    for (int layer = kPlace; layer <= kChara; ++layer) {
        for (int n = 1; n <= 4; ++n) {
            firstImageFile(s, layer, n)->assign("chip.bmp");
            const bool masked = layer != kPlace;
            *pictureSlot(ctx.side.pictures, layer, n) =
                ctx.imageList.add(makeChip(colours[layer - 1] + static_cast<QRgb>(n * 20), masked), masked, 0xFFFFFF);
        }
    }
    for (int row = 0; row < kSide; ++row) {
        for (int col = 0; col < kSide; ++col) {
            const int number = 1 + row * kSide + col;
            ctx.cellIndexMap[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] = number;
            Cell& cell = s.cell(number);
            // Layers vary on their own, so a viewport shows hundreds of looks.
            std::uint32_t mix = static_cast<std::uint32_t>(number) * 2654435761u;
            for (int layer = kPlace; layer <= kChara; ++layer) {
                setCellEntry(cell, layer, 1 + static_cast<int>((mix >> 7) % 4));
                mix = mix * 1664525u + 1013904223u;
            }
        }
    }
    ctx.state.layerVisible.fill(true);
}

// Draws `count` ready pixmaps on the grid of one chip size.
class PixmapWall : public QWidget {
public:
    int count = 0;
    int pitch = 33;
    QPixmap chip;
    explicit PixmapWall(const QPixmap& p) : chip(p) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int perRow = std::max(1, width() / pitch + 1);
        for (int i = 0; i < count; ++i)
            painter.drawPixmap((i % perRow) * pitch % width(), (i / perRow) * pitch % height(), chip);
    }
};

void report(const char* op, double ms, double baseMs) {
    std::printf("op=%s median_ms=%.3f ratio=%.2f baseline_ms=%.3f\n", op, ms, ms / baseMs, baseMs);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpField();
    EditorContext& ctx = editor();

    MapGrid grid;
    grid.setFrameShape(QFrame::NoFrame);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.resize(kWidth, kHeight);
    grid.setFieldSize(kSide, kSide);
    grid.setGridLines(true);
    grid.show();
    app.processEvents();

    PixmapWall wall(ctx.imageList.pixmap(*pictureSlot(ctx.side.pictures, kChara, 1)));
    wall.resize(kWidth, kHeight);
    wall.show();
    app.processEvents();

    const char* names[] = {"", "paint_viewport_chip1", "paint_viewport_chip2", "paint_viewport_chip3"};
    for (int size = 1; size <= 3; ++size) {
        grid.setCellSize(chipPixels(size));
        app.processEvents();
        const int pitch = chipPixels(size) + 1;
        const int cells = std::min(kSide, (kWidth + pitch - 1) / pitch) * std::min(kSide, (kHeight + pitch - 1) / pitch);
        const double ms = medianMs([&] { grid.viewport()->repaint(); });
        wall.count = cells;
        wall.pitch = pitch;
        const double base = medianMs([&] { wall.repaint(); });
        report(names[size], ms, base);
        // The first paint after the pictures changed composes every look anew.
        const double coldMs = medianMs([&] {
            grid.repaintAll();
            grid.viewport()->repaint();
        }, 11);
        std::printf("op=%s_cold median_ms=%.3f ratio=%.2f\n", names[size], coldMs, coldMs / base);
    }

    // Fill the whole field, alternating two terrains so every cell changes.
    grid.setCellSize(32);
    grid.setRangeSelection(true);
    grid.allselectbtnClick();
    app.processEvents();
    ctx.drawing.drawTarget.fill(false);
    ctx.drawing.drawTarget[kPlace] = true;
    int flip = 0;
    const double fillMs = medianMs([&] {
        ctx.drawing.currentObject[kPlace] = 1 + (flip++ % 2);
        grid.brushbtnClick();
        app.processEvents();  // the repaint of the changed cells
    });
    wall.count = kSide * kSide;
    wall.pitch = 33;
    const double toolOnly = medianMs([&] {
        ctx.drawing.currentObject[kPlace] = 1 + (flip++ % 2);
        grid.brushbtnClick();
    });
    app.processEvents();
    std::printf("op=fill_120x120_without_repaint median_ms=%.3f\n", toolOnly);
    const double fillBase = medianMs([&] { wall.repaint(); });
    report("fill_120x120", fillMs, fillBase);
    return 0;
}
