// The walk preview's step: one arrow key's walk with what it causes (an item
// picked up the first time, an arrival event with its comment, the terrain's
// encounter roll), the log and the message box, then the repaint of the
// preview, on a 120 x 120 field whose every cell has terrain of its own
// picture, a building, and every other cell an item or an event. The hero
// walks east and west across the field; the box is closed between steps
// (not timed). The goal is a fixed budget.
//   op=walk_step
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <vector>

#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "services/editorcontext.h"
#include "views/walkpreview.h"

#include "bench_util.h"

using namespace qrn;

namespace {

QImage chip(int n) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(qRgb(n % 256, (n * 7) % 256, (n * 13) % 256));
    QPainter(&image).drawLine(0, 0, 31, 31);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kSide = 120, kRuns = 401;
    constexpr double kGoalMs = 2.0;
    EditorContext& ed = editor();
    Scenario& s = ed.scenario;
    alldatainitialize(s, ed.side, 1);
    createFirstField(s, "bench", "", "walk", kSide, kSide);
    ed.imageList.reset();
    for (int n = 1; n <= kPlaceCount; ++n) {
        s.placeImageFiles[n - 1].assign("p.bmp");
        s.place(n).plmove = 1;
        s.place(n).plenemytype = 1;
        s.place(n).plwondering = 10;
        ed.side.pictures.place[n] = ed.imageList.add(chip(n), n % 3 == 0, 0xFFFFFF);
    }
    for (int n = 1; n <= 20; ++n) {
        s.enterImageFiles[n - 1].assign("e.bmp");
        ed.side.pictures.enter[n] = ed.imageList.add(chip(1000 + n), true, 0xFFFFFF);
        s.itemImageFiles[n - 1].assign("i.bmp");
        ed.side.pictures.charaItem[kCharaCount + n] = ed.imageList.add(chip(2000 + n), true, 0xFFFFFF);
        s.eventImageFiles[n - 1].assign("v.bmp");
        ed.side.pictures.event[n] = ed.imageList.add(chip(3000 + n), true, 0xFFFFFF);
        EventDef& e = s.event(n);
        e.evaction = 1;  // on arrival
        e.evinfinity = 1;
        e.evprologue = 1;
    }
    s.comment(1).line1.assign("a");
    s.comment(1).line2.assign("b");
    s.enemyType(1).name.assign("g");
    s.walkImg(1).name.assign("w");
    for (int f = 1; f <= kWalkFrames; ++f) {
        s.walkImageFiles[0][f - 1].assign("w.bmp");
        ed.side.pictures.walk[1][f] = static_cast<std::int16_t>(ed.imageList.add(chip(4000 + f), true, 0xFFFFFF));
    }
    s.settings.scdefwalkimg = 1;
    for (int c = 1; c <= kSide * kSide; ++c) {
        Cell& cell = s.cell(c);
        cell.place = 1 + (c - 1) % kPlaceCount;
        cell.enter = static_cast<u8>(1 + c % 20);
        if (c % 2) cell.item = static_cast<u8>(1 + c % 20);
        else cell.event = static_cast<u8>(1 + c % 20);
    }

    Twalkpreview walk;
    walk.show();
    if (!walk.startAt(1, 10, kSide / 2)) return 1;
    std::vector<double> times;
    int x = 10, dx = 1;
    QImage frame;
    for (int run = 0; run < kRuns; ++run) {
        if (x + dx < 10 || x + dx > kSide - 11) dx = -dx;
        times.push_back(bench::millis([&] {
            walk.step(dx > 0 ? WalkDirection::East : WalkDirection::West);
            // Drawn as its paint event draws it (off screen, a repaint would not paint).
            frame = walk.view()->renderImage();
        }));
        x += dx;
        while (!walk.view()->message().isEmpty()) walk.examine();
    }
    if (!walk.walk() || walk.walk()->x != x || walk.walk()->steps != kRuns || frame.isNull()) {
        std::fprintf(stderr, "the walk went astray\n");
        return 2;
    }
    const double m = bench::median(times);
    std::printf("op=walk_step median_ms=%.3f goal_ms=%.0f\n", m, kGoalMs);
    return 0;
}
