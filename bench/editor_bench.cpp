// Speed of the editor's start and picture loading.
//   startup_demo: from process start until the main window is shown with the
//     demo scenario open and all its pictures loaded (the program quits right
//     after start); ratio to a bare start without a scenario.
//   allimageload_2500: every picture slot of the scenario (2,480: the tables'
//     whole capacity) filled with a distinct 32 x 32 bitmap, loaded through
//     allimageload; ratio to reading the same files' bytes.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "services/editorcontext.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "services/options.h"
#include "mainwindow/startup.h"
#include "scenario/resets.h"

#include "bench_util.h"

namespace {

using qrn::bench::median;

using namespace qrn;


double runEditor(const QStringList& args, const QString& configDir) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("QRN_QUIT_AFTER_START", "1");
    env.insert("XDG_CONFIG_HOME", configDir);
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(QRN_EDITOR_PATH), args);
    process.waitForFinished(60000);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (process.exitCode() != 0) std::fprintf(stderr, "editor exited with %d\n", process.exitCode());
    return ms;
}

// Every picture slot of the scenario names its own bitmap.
void fillAllSlots(Scenario& s) {
    int k = 0;
    auto name = [&k] { return "p" + std::to_string(k++) + ".bmp"; };
    for (int n = 0; n < kFieldCount; ++n) s.fieldItemImageFiles[n].assign(name());
    for (int n = 0; n < kCharaCount; ++n) s.charaImageFiles[n].assign(name());
    for (int n = 0; n < kItemCount; ++n) s.itemImageFiles[n].assign(name());
    for (int n = 0; n < kEventCount; ++n) s.eventImageFiles[n].assign(name());
    for (int n = 0; n < kEventCount; ++n) s.eventImage2Files[n].assign(name());
    for (int n = 0; n < kEnterCount; ++n) s.enterImageFiles[n].assign(name());
    for (int n = 0; n < kEnterCount; ++n) s.enterImage2Files[n].assign(name());
    for (int n = 0; n < kPlaceCount; ++n) s.placeImageFiles[n].assign(name());
    for (int n = 0; n < kPlaceCount; ++n) s.placeImage2Files[n].assign(name());
    for (auto& walk : s.walkImageFiles)
        for (auto& frame : walk) frame.assign(name());
}

int writeBitmaps(const QString& folder, int count) {
    for (int k = 0; k < count; ++k) {
        QImage img(32, 32, QImage::Format_RGB32);
        img.fill(QColor::fromHsv(k % 360, 80 + k % 160, 100 + k % 150));
        for (int i = 0; i < 12; ++i) img.setPixel((k * 7 + i * 5) % 32, (k / 32 + i * 3) % 32, qRgb(255, k % 256, 0));
        if (!img.save(folder + "/p" + QString::number(k) + ".bmp", "BMP")) return k;
    }
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir config;
    const QString demo = QStringLiteral(QRN_DEMO_DIR);
    constexpr int kRuns = 7;

    std::vector<double> bare, withDemo;
    runEditor({}, config.path());  // warm the file cache
    for (int i = 0; i < kRuns; ++i) {
        bare.push_back(runEditor({}, config.path()));
        withDemo.push_back(runEditor({"--resources", demo + "/resources", demo + "/demo.snr"}, config.path()));
    }
    const double bareMs = median(bare), demoMs = median(withDemo);
    std::printf("op=startup_demo median_ms=%.1f ratio=%.2f baseline_ms=%.1f\n", demoMs, demoMs / bareMs, bareMs);

    // Picture loading in this process, with a silent message service.
    QTemporaryDir res;
    constexpr int kSlots = kFieldCount + 2 * kCharaCount + 2 * kEventCount + 2 * kEnterCount + 2 * kPlaceCount +
                           kWalkImgCount * kWalkFrames;
    if (writeBitmaps(res.path(), kSlots) != kSlots) {
        std::fprintf(stderr, "cannot write the bitmaps\n");
        return 1;
    }
    struct Silent : MessageService {
        bool confirm(QWidget*, const QString&) override { return true; }
        void information(QWidget*, const QString&) override {}
        void warning(QWidget*, const QString&) override { ++warnings; }
        void error(QWidget*, const QString&) override {}
        int warnings = 0;
    } silent;
    static Options options;
    EditorContext& ed = editor();
    ed.options = &options;
    ed.messages = &silent;
    options.serchpath = res.path() + "/";
    createWindows();
    fillAllSlots(ed.scenario);
    std::vector<double> loads, reads;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        editorWindows().maker->defaultimageload();
        editorWindows().maker->allimageload();
        loads.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        qint64 bytes = 0;
        for (int k = 0; k < kSlots; ++k) {
            QFile f(res.path() + "/p" + QString::number(k) + ".bmp");
            if (f.open(QIODevice::ReadOnly)) bytes += f.readAll().size();
        }
        reads.push_back(t.nsecsElapsed() / 1e6);
    }
    if (silent.warnings || ed.imageList.count() != kSlots + 1)
        std::fprintf(stderr, "unexpected: %d warnings, %d pictures\n", silent.warnings, ed.imageList.count());
    const double loadMs = median(loads), readMs = median(reads);
    std::printf("op=allimageload_2500 median_ms=%.1f ratio=%.2f baseline_ms=%.1f pictures=%d\n", loadMs,
                loadMs / readMs, readMs, kSlots);
    destroyWindows();
    return 0;
}
