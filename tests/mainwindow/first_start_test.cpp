// Where the windows open when nothing is stored: the main window wide
// enough for its tool bar, the tool windows beside it and on the screen.
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <gtest/gtest.h>

#include "mainwindow/maker.h"
#include "mainwindow/editorwindows.h"
#include "services/options.h"
#include "../editor_fakes.h"
#include "fields/fieldman.h"
#include "views/palette.h"

namespace qrn::test {
namespace {

struct ScreenCase {
    QRect screen;
    bool roomForBoth;  // the tool bar and the tool column fit side by side
};

class FirstStartLayout : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(FirstStartLayout, MainShowsTheToolBarAndToolsStayOnTheScreenBesideIt) {
    const QRect screen = GetParam().screen;
    constexpr int kBar = 1250, kColumn = 531;
    const QRect main = firstMainWindowRect(screen, kBar, kColumn);
    EXPECT_TRUE(screen.contains(main)) << main.x() << "," << main.y() << " " << main.width();
    EXPECT_GE(main.top() - 24, screen.top());  // room for the title bar
    // The whole tool bar when the tool column fits beside it; else the
    // main window gives way to the column.
    EXPECT_EQ(main.width() >= kBar, screen.width() >= kBar + kColumn + 24);
    const QRect palette = besideMainWindow(screen, main, QSize(502, 416), 0);
    const QRect fieldman = besideMainWindow(screen, main, QSize(kColumn, 386), 416 + 38);
    for (const QRect& tool : {palette, fieldman}) {
        EXPECT_TRUE(screen.contains(tool)) << tool.x() << "," << tool.y();
        EXPECT_GE(tool.top() - 24, screen.top());
        // Not over the map when the screen has room for both.
        if (GetParam().roomForBoth) {
            EXPECT_GT(tool.left(), main.right());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstStartLayout,
                         ::testing::Values(ScreenCase{QRect(0, 0, 1920, 1040), true},
                                           ScreenCase{QRect(1920, 0, 2560, 1400), true},
                                           ScreenCase{QRect(0, 0, 1600, 1000), true},
                                           ScreenCase{QRect(0, 0, 1280, 800), true},
                                           ScreenCase{QRect(0, 24, 640, 456), false}));

TEST(BesideMainWindow, ComesBackOntoTheScreenFromAnyMainWindowPlace) {
    const QRect screen(0, 0, 1280, 1000);
    for (const QRect& main : {QRect(-500, -300, 600, 400), QRect(1200, 900, 600, 400), QRect(10, 30, 1260, 900)}) {
        const QRect tool = besideMainWindow(screen, main, QSize(300, 200), 0);
        EXPECT_TRUE(screen.contains(tool)) << tool.x() << "," << tool.y();
        EXPECT_GE(tool.top() - 24, screen.top());
    }
}

class FirstStartWindows : public EditorFixture {};

TEST_F(FirstStartWindows, NothingStoredPlacesEveryWindowOnTheScreen) {
    createWindows();
    Tmaker* maker = editorWindows().maker;
    maker->readregistry();
    const QRect screen = maker->screen()->availableGeometry();
    EXPECT_TRUE(titleBarOnScreen(maker->geometry()));
    EXPECT_GE(maker->width(), 200);  // gives way to the tool column on this narrow screen
    for (QWidget* tool : std::initializer_list<QWidget*>{editorWindows().palette, editorWindows().fieldman}) {
        tool->show();
        EXPECT_TRUE(titleBarOnScreen(tool->geometry())) << tool->objectName().toStdString();
        EXPECT_TRUE(screen.intersects(tool->geometry()));
        tool->hide();
    }
}

}  // namespace
}  // namespace qrn::test
