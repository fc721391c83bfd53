// The automatic setting of levels 2..50 followed by rendering the level-up
// grid, against rendering the same grid unchanged in the same run.
#include <QApplication>
#include <cstdint>
#include <QTableWidget>
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "services/editorcontext.h"
#include "properties/numericedit.h"
#include "resources/levelauto.h"
#include "resources/levellist.h"
#include "scenario/resets.h"

using namespace qrn;

namespace {

constexpr int kRuns = 41;


}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    EditorContext& ctx = editor();
    alldatainitialize(ctx.scenario, ctx.side, 1);  // no options: the run asks nothing
    Tlevellist window;
    window.makelevellist();
    window.show();
    QApplication::processEvents();
    Tlevelauto* automatic = window.levelauto();
    for (int k = 0; k < kLevelStats; ++k) {
        automatic->lowerBox(k)->setText(QStringLiteral("1"));
        automatic->upperBox(k)->setText(QStringLiteral("60"));
    }
    automatic->rangeClick(kAutoAll);
    QWidget* grid = window.levelgrid()->viewport();

    const double filled = bench::medianOfRuns(kRuns, [&](int i) {
        automatic->setSeed(static_cast<std::uint64_t>(i));
        automatic->atrunClick();
        (void)grid->grab();
    });
    const double unchanged = bench::medianOfRuns(kRuns, [&](int) {
        window.makelevellist();
        (void)grid->grab();
    });
    std::printf("op=level_auto_49 median_ms=%.3f ratio=%.2f\n", filled, unchanged > 0 ? filled / unchanged : 0.0);
    return 0;
}
