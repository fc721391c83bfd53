// Opening the property editor on each layer (terrain, building, event, item,
// character), until the
// window is rendered offscreen, against rendering an empty window of the
// same size in the same run. Each run opens another object than the last,
// so the page is filled anew every time.
#include <QApplication>
#include <QMainWindow>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "mainwindow/editorwindows.h"
#include "services/editorcontext.h"
#include "properties/paramedit.h"
#include "scenario/chararules.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/maplayers.h"

using namespace qrn;

namespace {

constexpr int kRuns = 41;

void setUpObjects() {
    EditorContext& ctx = editor();
    Scenario& s = ctx.scenario;
    alldatainitialize(s, ctx.side, 1);
    createFirstField(s, "", "", "", 20, 20);
    ctx.imageList.reset();
    QImage chip(32, 32, QImage::Format_RGB32);
    chip.fill(qRgb(40, 160, 60));
    for (int layer = kPlace; layer <= kChara; ++layer) {
        for (int n = 1; n <= 2; ++n) {
            firstImageFile(s, layer, n)->assign("chip.bmp");
            *pictureSlot(ctx.side.pictures, layer, n) = ctx.imageList.add(chip, false, 0);
        }
    }
    s.place(1).plmove = 1;
    s.place(1).plenemytype = 3;
    s.place(1).plwondering = 30;
    s.place(1).plhealing = 255;
    s.placeImage2Files[0].assign("ext.bmp");
    s.enter(1).enmove = 1;
    s.enter(1).jumpField = 1;
    s.enter(1).jumpPosition = 25;
    // An enemy with its lists and a merchant with a full sale list: the two
    // kinds whose pages show the most.
    for (int n = 1; n <= 10; ++n) s.item(n).itmoney = 10 * n;
    setCharaKind(s.chara(1), kCharaEnemy);
    for (int i = 0; i < 5; ++i) {
        s.chara(1).chmagic[i] = static_cast<u8>(i + 1);
        s.chara(1).chpoison[i] = static_cast<u8>(i + 1);
    }
    s.chara(1).chitem = 3;
    s.chara(1).chbossimg.assign("boss.bmp");
    setCharaKind(s.chara(2), kCharaMerchant);
    for (int i = 0; i < 10; ++i) s.chara(2).chsale[i] = static_cast<u8>(i + 1);
    // Events and items with their lists and references filled, so that the
    // rules and every label have work to do.
    for (int n = 1; n <= 12; ++n) {
        s.item(n).name.assign("item" + std::to_string(n));
        s.event(n).name.assign("event" + std::to_string(n));
    }
    for (int n = 1; n <= 2; ++n) {
        EventDef& e = s.event(n);
        e.evenemy = 1;
        e.evstartcomment = 1;
        e.jumpField = 1;
        e.jumpPosition = 45;
        e.evprologue = 2;
        e.evprologuebgm = 1;
        e.evaction = 2;
        e.evstartitem = 3;
        for (int i = 0; i < 10; ++i) {
            e.evshowitem[i] = static_cast<u8>(i + 1);
            e.evshowevent[i] = static_cast<u8>(i + 1);
            e.evgetitem[i] = static_cast<u8>(i + 2);
            e.evputitem[i] = static_cast<u8>(i + 3);
        }
        e.evgetmagic = 1;
        s.eventImage2Files[n - 1].assign("after.bmp");
        ItemDef& it = s.item(n);
        for (u8& f : it.itgroup) f = 0;
        it.itgroup[n == 1 ? 0 : 5] = 1;
        it.itmoney = 150;
        it.itcount = n == 1 ? 0 : 3;
        it.itstrength = 12;
        it.ithealing = 30;
        it.itspecial = 1;
        it.itsound = 1;
        it.itfindbgm = 1;
    }
}


}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns on every raise(); the figures are the output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    setUpObjects();
    Tparamedit paramedit;
    editorWindows().paramedit = &paramedit;
    const struct {
        const char* name;
        int layer;
    } layers[] = {{"terrain", kPlace}, {"building", kEnter}, {"event", kEvent}, {"item", kItem}, {"character", kChara}};
    for (const auto& l : layers) {
        const double open = bench::medianOfRuns(kRuns, [&](int i) {
            paramedit.openOn(l.layer, 1 + i % 2, i % 2 == 0);
            QApplication::processEvents();
            (void)paramedit.grab();
        });
        QMainWindow empty;
        empty.setFixedSize(parameditClientSize(l.layer));
        empty.show();
        const double blank = bench::medianOfRuns(kRuns, [&](int) {
            QApplication::processEvents();
            (void)empty.grab();
        });
        std::printf("op=open_property_editor layer=%s median_ms=%.3f ratio=%.2f\n", l.name, open,
                    blank > 0 ? open / blank : 0.0);
    }
    editorWindows().paramedit = nullptr;
    return 0;
}
