// One cell of the level-up table edited and the chart drawn again, against
// filling the grid's five total columns and drawing the grid with the chart
// closed, in the same run.
#include <QApplication>
#include <QTableWidget>
#include <QtCharts/QChartView>
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "resources/levelchart.h"
#include "resources/levellist.h"
#include "scenario/resets.h"
#include "services/editorcontext.h"

using namespace qrn;

namespace {

constexpr int kRuns = 101;


}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    EditorContext& ctx = editor();
    alldatainitialize(ctx.scenario, ctx.side, 1);
    Tlevellist window;
    window.makelevellist();
    window.show();
    QApplication::processEvents();
    QChartView* view = window.levelchart()->view();

    // The author's edit: one hit-point cell, then the chart as the screen shows it.
    const double redraw = bench::medianOfRuns(kRuns, [&](int i) {
        window.takeCell(i % kLevelRows, 2, QString::number(10 + i % 7));
        QApplication::processEvents();
        (void)view->grab();
    });
    window.setChartOpen(false);
    QApplication::processEvents();
    QWidget* cells = window.levelgrid()->viewport();
    const double grid = bench::medianOfRuns(kRuns, [&](int i) {
        ctx.scenario.levels[i % kLevelRows].power = static_cast<u16>(20 + i % 7);
        for (int c = 8; c <= 12; ++c) window.refreshColumn(c);
        QApplication::processEvents();
        (void)cells->grab();
    });
    std::printf("op=level_chart_redraw median_ms=%.3f grid_totals_ms=%.3f ratio=%.2f\n", redraw, grid,
                grid > 0 ? redraw / grid : 0.0);
    return 0;
}
