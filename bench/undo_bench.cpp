// Undo: building one step after a 120 x 120 fill on a full cell store (against
// a memcmp of the record in the same run), undoing that fill with the map
// repainted (against the 16 ms of one frame), and writing the recovery file
// (against the durable save in the same run).
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "mainwindow/edithistory.h"
#include "mainwindow/editorwindows.h"
#include "services/editorcontext.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/startup.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/recoveryfile.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"
#include "scenario/maplayers.h"

using namespace qrn;

namespace {

constexpr int kSide = 120;
constexpr int kRuns = 21;

double medianMs(const std::function<void()>& work, const std::function<void()>& between = {}) {
    std::vector<double> times;
    for (int i = 0; i <= kRuns; ++i) {
        if (between) between();
        QElapsedTimer timer;
        timer.start();
        work();
        if (i > 0) times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);  // the first warms up
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char* op, double ms, double baseMs) {
    std::printf("op=%s median_ms=%.3f ratio=%.2f baseline_ms=%.3f\n", op, ms, ms / baseMs, baseMs);
}

// Field 1 is 120 x 120; further fields fill the rest of the cell pool.
void fullStore(Scenario& s, EditorSideData& side) {
    alldatainitialize(s, side, 1);
    createFirstField(s, "bench", "", "", kSide, kSide);
    for (int slot = 2; slot <= kFieldCount; ++slot)
        if (placeNewField(s, slot, kSide, kSide) != AddFieldResult::Added) break;
    for (int c = 1; c <= kCellCount; ++c) s.cell(c).place = 1 + c % 4;
    // Places 1..4 have pictures, so the repaint draws real chips.
    EditorContext& ed = editor();
    ed.imageList.reset();
    const QRgb colours[] = {qRgb(40, 160, 60), qRgb(150, 120, 60), qRgb(60, 90, 200), qRgb(220, 200, 40)};
    for (int n = 1; n <= 4; ++n) {
        firstImageFile(s, kPlace, n)->assign("chip.bmp");
        QImage chip(32, 32, QImage::Format_RGB32);
        chip.fill(colours[n - 1]);
        *pictureSlot(side.pictures, kPlace, n) = ed.imageList.add(chip, false, 0xFFFFFF);
    }
}

void fill(Scenario& s, int place) {
    const int first = s.field(1).firstCell;
    for (int c = first; c < first + kSide * kSide; ++c) s.cell(c).place = place;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    QApplication app(argc, argv);
    EditorContext& ed = editor();
    Scenario& s = ed.scenario;

    // One step after a fill: the diff against the shadow copy.
    {
        fullStore(s, ed.side);
        UndoHistory history;
        history.track({{s.bytes(), static_cast<std::size_t>(kRecordSize)}});
        int place = 100;
        const double stepMs = medianMs([&] { history.commit("fill"); }, [&] { fill(s, ++place); });
        auto copy = std::make_unique<Scenario>();
        std::memcpy(copy->bytes(), s.bytes(), kRecordSize);
        volatile int sink = 0;
        const double memcmpMs = medianMs([&] { sink = sink + std::memcmp(s.bytes(), copy->bytes(), kRecordSize); });
        report("undo_step_diff", stepMs, memcmpMs);
    }

    // Undo of the fill through the editor, with the map repainted.
    {
        createWindows();
        Tmaker* maker = editorWindows().maker;
        maker->resize(1920, 1080);
        maker->show();
        maker->mapgrid()->show();
        fullStore(s, ed.side);
        ed.state.noScenarioYet = false;
        ed.state.currentField = 1;
        maker->fieldonchange();
        editHistory().reset();
        app.processEvents();
        int place = 200;
        const double undoMs = medianMs(
            [&] {
                editHistory().undo();
                maker->mapgrid()->viewport()->repaint();
            },
            [&] {
                fill(s, 1 + ++place % 4);
                editHistory().commitNow(QStringLiteral("塗りつぶし"));
            });
        report("undo_fill_120x120", undoMs, 16.0);
        destroyWindows();
    }

    // The recovery file against the durable save of the same record.
    {
        const std::string recovery = (state.path() + "/recovery.snr").toStdString();
        const std::string saved = (state.path() + "/saved.snr").toStdString();
        const double recoveryMs = medianMs([&] { writeRecoveryFile(recovery, s, "/x/source.snr", 0); });
        const double saveMs = medianMs([&] { saveScenario(saved, s, true); });
        report("recovery_write", recoveryMs, saveMs);
    }
    return 0;
}
