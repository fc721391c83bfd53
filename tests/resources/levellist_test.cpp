// The level-up window and its automatic setting, end to end: cells typed,
// magics picked and removed, the range filled with a fixed seed.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QCheckBox>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QTableWidget>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "../scenario/scenario_test_support.h"
#include "properties/numericedit.h"
#include "resources/levelauto.h"
#include "resources/levelchart.h"
#include "resources/levellist.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"
#include "services/options.h"

namespace qrn::test {
namespace {

class LevelWindow : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        alldatainitialize(s, editor().side, 5);
        for (int n = 1; n <= 6; ++n) {
            s.magic(n).mgsuccess = 50;
            s.magic(n).name.assign("m" + std::to_string(n));
        }
        window = std::make_unique<Tlevellist>();
        window->pickMagics = [this](const QString& caption, const std::vector<int>& chosen, int mode) {
            calls << caption + "|" + QString::number(mode);
            lastChosen = chosen;
            return answer;
        };
        window->makelevellist();
        window->show();
    }
    void TearDown() override {
        window.reset();
        EditorFixture::TearDown();
    }
    QString cell(int level, int column) { return window->levelgrid()->item(level - 2, column)->text(); }

    Scenario& s = editor().scenario;
    std::unique_ptr<Tlevellist> window;
    QStringList calls;
    std::vector<int> lastChosen;
    std::optional<std::vector<int>> answer;
};

TEST_F(LevelWindow, CellsStoreWithinLimitsAndTotalsFollow) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟ設定"));
    EXPECT_EQ(window->levelgrid()->columnCount(), 14);
    EXPECT_EQ(cell(2, 1), QStringLiteral("20"));
    EXPECT_EQ(cell(2, 8), QStringLiteral("20"));  // hero starts at 0 experience
    EXPECT_EQ(cell(50, 9), QString::number(20 + 49 * 10));

    window->levelgrid()->item(3, 2)->setText(QStringLiteral("70000"));  // level 5 hit points
    EXPECT_EQ(+s.level(4).power, 65535);
    EXPECT_EQ(cell(5, 2), QStringLiteral("65535"));
    EXPECT_EQ(cell(5, 9), QStringLiteral("65535"));
    EXPECT_EQ(cell(50, 9), QStringLiteral("65535"));
    EXPECT_EQ(cell(4, 9), QString::number(20 + 3 * 10));

    window->takeCell(0, 1, QStringLiteral("99999999999"));
    EXPECT_EQ(+s.level(1).experience, 2147483647);
    EXPECT_EQ(cell(50, 8), QStringLiteral("2147483647"));
    window->takeCell(0, 1, QStringLiteral("abc"));
    EXPECT_EQ(+s.level(1).experience, 0);
    EXPECT_EQ(cell(2, 1), QStringLiteral("0"));

    EXPECT_FALSE(window->levelgrid()->item(0, 8)->flags() & Qt::ItemIsSelectable);
    EXPECT_TRUE(window->levelgrid()->item(0, 3)->flags() & Qt::ItemIsEditable);
}

TEST_F(LevelWindow, MagicsPickedRemovedAndViewed) {
    answer = std::vector<int>{4, 2};
    window->lvmagicsetClick(5);
    EXPECT_EQ(calls.last(), QStringLiteral("ﾚﾍﾞﾙ 5 で修得する魔法を一つ選択|1"));
    EXPECT_EQ(s.level(4).magic, 2);  // the lowest-numbered choice
    EXPECT_EQ(cell(5, 6), QStringLiteral("m2"));
    answer = std::nullopt;
    window->lvmagicsetClick(5);
    EXPECT_EQ(s.level(4).magic, 2);

    s.level(2).magic = 3;  // level 3
    s.level(20).magic = 6;  // level 21: beyond level 10
    s.hero.heroMagics[4] = 1;
    answer = std::vector<int>{1, 3};  // the author removed m2
    window->lvmagicviewClick(10);
    EXPECT_EQ(calls.last(), QStringLiteral("ﾚﾍﾞﾙ 10 までに修得済みの魔法：選択で削除|2"));
    EXPECT_EQ(lastChosen, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(s.level(4).magic, 0);
    EXPECT_EQ(s.level(2).magic, 3);
    EXPECT_EQ(s.level(20).magic, 6);
    EXPECT_EQ(s.hero.heroMagics[4], 1);
    EXPECT_EQ(cell(5, 6), QStringLiteral("-"));

    messages.answers = {false, true};
    window->lvmagicdelClick(3);
    EXPECT_EQ(messages.questions.last(), QStringLiteral("ﾚﾍﾞﾙ3の魔法「m3」を削除します。よろしいですか？"));
    EXPECT_EQ(s.level(2).magic, 3);
    window->lvmagicdelClick(3);
    EXPECT_EQ(s.level(2).magic, 0);
    options.tellmsg = false;
    window->lvmagicdelClick(21);
    EXPECT_EQ(s.level(20).magic, 0);
    EXPECT_EQ(messages.questions.size(), 2);
}

TEST_F(LevelWindow, AutomaticSettingFillsTheRangeTheSameWayForTheSameSeed) {
    Tlevelauto* a = window->levelauto();
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->isVisible());
    window->allautoClick();
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(a->atpluslabel()->text(), QStringLiteral("1.20倍"));
    EXPECT_EQ(a->atexperienceedit()->text(), QStringLiteral("20"));
    s.level(1).magic = 5;

    a->range()->button(0)->click();
    a->atexperienceedit()->setText(QStringLiteral("100"));
    EXPECT_EQ(+s.level(1).experience, 100);
    a->atplusbar()->setValue(150);
    EXPECT_EQ(a->atpluslabel()->text(), QStringLiteral("1.50倍"));
    a->lowerBox(StatPower)->setText(QStringLiteral("5"));
    a->upperBox(StatPower)->setText(QStringLiteral("3"));
    for (int k : {StatStrength, StatDextality, StatMp}) {
        a->lowerBox(k)->setText(QStringLiteral("1"));
        a->upperBox(k)->setText(QStringLiteral("9"));
    }
    a->setSeed(11);
    messages.answers = {true};
    a->atrunClick();
    EXPECT_EQ(messages.questions.last(), QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟﾊﾟﾗﾒｰﾀの自動設定を実行します。よろしいですか？"));
    EXPECT_EQ(a->lowerBox(StatPower)->text(), QStringLiteral("3"));
    const int expected[] = {150, 225, 337, 506, 759, 1139, 1708, 2562};
    for (int L = 3; L <= 10; ++L) {
        EXPECT_EQ(+s.level(L - 1).experience, expected[L - 3]) << L;
        EXPECT_EQ(+s.level(L - 1).power, 3) << L;
        EXPECT_EQ(cell(L, 1), QString::number(expected[L - 3]));
    }
    EXPECT_EQ(+s.level(10).experience, 20);  // level 11 untouched
    EXPECT_EQ(s.level(1).magic, 5);
    auto first = copyOf(s);

    a->setSeed(11);
    a->atrunClick();
    EXPECT_TRUE(sameBytes(*first, s));

    // a box without a number stops the run and shows "0"
    a->upperBox(StatMp)->clear();
    a->atrunClick();
    EXPECT_EQ(a->upperBox(StatMp)->text(), QStringLiteral("0"));
    EXPECT_TRUE(sameBytes(*first, s));

    messages.answers = {false};
    a->atrunClick();
    EXPECT_FALSE(a->isVisible());
    window->allautoClick();
    messages.answers = {true};
    a->atresetClick();
    EXPECT_EQ(messages.questions.last(), QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟﾊﾟﾗﾒｰﾀを初期化します。よろしいですか？"));
    EXPECT_EQ(+s.level(4).experience, 20);
    EXPECT_EQ(cell(5, 1), QStringLiteral("20"));

    window->hide();
    EXPECT_EQ(window->levelauto(), nullptr);
}

// The chart draws exactly the totals the grid shows, hovering tells the
// grid's step, and the magic marks name the magics: on the demo, on the demo
// after the automatic setting with a steeper rate, and at the limits.
TEST_F(LevelWindow, ChartLinesAreTheGridsTotals) {
    const struct {
        const char* name;
        std::function<void()> prepare;
    } cases[] = {
        {"demo", [] {}},
        {"automatic",
         [&] {
             Tlevelauto* a = window->levelauto();
             window->allautoClick();
             a->atplusbar()->setValue(160);
             for (int k = 0; k < kLevelStats; ++k) {
                 a->lowerBox(k)->setText(QStringLiteral("1"));
                 a->upperBox(k)->setText(QStringLiteral("60"));
             }
             a->setSeed(3);
             messages.answers = {true};
             a->atrunClick();
             EXPECT_TRUE(window->levelchart()->previewSeries()->isVisible());
         }},
        {"limits",
         [&] {
             s.hero.hemaxpower = 65000;
             window->takeCell(0, 1, QStringLiteral("2147483000"));
             window->takeCell(1, 1, QStringLiteral("9999"));
             window->takeCell(2, 2, QStringLiteral("65535"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(openScenario(QRN_DEMO_DIR "/demo.snr", s, editor().side).ok);
        s.magic(2).mgsuccess = 50;
        s.magic(2).name.assign("m2");
        s.level(6).magic = 2;  // level 7
        window->makelevellist();
        c.prepare();
        LevelChart* chart = window->levelchart();
        for (int line = 0; line < kLevelCurves; ++line) {
            const QList<QPointF> points = chart->curveSeries(line)->points();
            ASSERT_EQ(points.size(), kLevelRows) << line;
            for (int level = 2; level <= 50; ++level) {
                const QPointF& p = points[level - 2];
                EXPECT_EQ(p.x(), level);
                EXPECT_EQ(QString::number(qint64(p.y())), cell(level, 8 + line)) << line << " " << level;
            }
            const qint64 step = cell(30, 8 + line).toLongLong() - cell(29, 8 + line).toLongLong();
            EXPECT_TRUE(chart->pointText(line, 30).startsWith(QStringLiteral("ﾚﾍﾞﾙ 30\n")));
            EXPECT_TRUE(chart->pointText(line, 30).endsWith(cell(30, 8 + line) + QStringLiteral("（") +
                                                            (step < 0 ? "" : "+") + QString::number(step) +
                                                            QStringLiteral("）")))
                << chart->pointText(line, 30).toStdString();
        }
        EXPECT_EQ(chart->magicSeries()->points(), (QList<QPointF>{QPointF(7, 0)}));
        EXPECT_EQ(chart->magicText(7), QStringLiteral("ﾚﾍﾞﾙ 7：m2"));
        EXPECT_EQ(chart->magicText(8), QString());
        if (window->levelauto()->isVisible()) window->allautoClick();
        EXPECT_FALSE(chart->previewSeries()->isVisible());
    }
}

TEST_F(LevelWindow, PreviewLogScaleAndTheClosedChartKeptWithThePlacement) {
    LevelChart* chart = window->levelchart();
    Tlevelauto* a = window->levelauto();
    window->allautoClick();
    a->atplusbar()->setValue(180);
    const QList<QPointF> preview = chart->previewSeries()->points();
    ASSERT_EQ(preview.size(), kLevelRows);
    EXPECT_EQ(preview[1].y(), 20 + 36);  // level 3: 20 * 1.8 on top of level 2's 20
    EXPECT_EQ(+s.level(2).experience, 20);  // the preview writes nothing
    window->takeCell(0, 1, QStringLiteral("0"));  // the base level edited in the grid
    EXPECT_EQ(chart->previewSeries()->points()[1].y(), 36);
    a->hide();
    EXPECT_FALSE(chart->previewSeries()->isVisible());

    chart->logBox()->click();
    EXPECT_TRUE(chart->logarithmic());
    EXPECT_EQ(chart->curveSeries(0)->points()[0].y(), 1);  // a total of 0 lies on the axis' foot
    EXPECT_EQ(chart->pointText(0, 2), QStringLiteral("ﾚﾍﾞﾙ 2\n累計経験値：0（+0）"));

    // Dragging the divider to the foot closes the chart as the button does;
    // a closed chart is not redrawn.
    window->resize(700, 600);
    window->chartSplitter()->setSizes({600, 0});
    emit window->chartSplitter()->splitterMoved(600, 1);
    EXPECT_FALSE(window->chartButton()->isChecked());
    EXPECT_FALSE(chart->isVisible());
    window->takeCell(4, 3, QStringLiteral("500"));
    EXPECT_NE(QString::number(qint64(chart->curveSeries(2)->points()[4].y())), cell(6, 10));
    window->move(40, 50);
    window->hide();

    Tlevellist again;
    again.makelevellist();
    again.show();
    EXPECT_FALSE(again.chartButton()->isChecked());
    EXPECT_TRUE(again.levelchart()->logarithmic());
    EXPECT_EQ(again.pos(), QPoint(40, 50));
    again.chartButton()->click();
    EXPECT_TRUE(again.levelchart()->isVisible());
    EXPECT_GT(again.chartSplitter()->sizes().value(1), 0);
    EXPECT_EQ(QString::number(qint64(again.levelchart()->curveSeries(2)->points()[4].y())),
              again.levelgrid()->item(4, 10)->text());
}

}  // namespace
}  // namespace qrn::test
