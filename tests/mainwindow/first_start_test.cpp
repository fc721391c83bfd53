// Where the windows open when nothing is stored: the main window wide
// enough for its tool bar, the tool windows beside it and on the screen.
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <gtest/gtest.h>

#include "mainwindow/maker.h"
#include "mainwindow/editorwindows.h"
#include "services/options.h"
#include "services/windowfit.h"
#include "../editor_fakes.h"
#include "fields/fieldman.h"
#include "views/palette.h"

namespace qrn::test {
namespace {

// The frame a window manager draws around a client area, about.
QRect framed(const QRect& client) { return client.adjusted(-8, -30, 8, 8); }

struct ScreenCase {
    QRect screen;  // the available area
    bool toolsApart;  // room for every tool window without covering another
    int mapRoom;      // what the main window keeps at least
};

class FirstStartLayoutOn : public ::testing::TestWithParam<ScreenCase> {};

// The palette, the field manager and the property editor, with the heights
// they may shrink to; the main window's tool bar in one row and in three.
TEST_P(FirstStartLayoutOn, ToolWindowsBesideTheMainWindowAndItsWholeToolBar) {
    const QRect screen = GetParam().screen;
    constexpr int kOneRow = 1415, kThreeRows = 600;
    const std::vector<ToolWindowRoom> rooms = {{QSize(378, 416), 230}, {QSize(531, 386), 275}, {QSize(320, 480), 0}};
    const FirstStartLayout layout = firstStartLayout(screen, kOneRow, kThreeRows, rooms);
    const QRect main = layout.main;
    EXPECT_TRUE(screen.contains(framed(main))) << main.x() << "," << main.y() << " " << main.width();
    EXPECT_GE(main.width(), std::max(kThreeRows, GetParam().mapRoom));  // every tool-bar button shows
    EXPECT_GE(main.height(), 400);
    ASSERT_EQ(layout.tools.size(), rooms.size());
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        const QRect tool = layout.tools[i];
        SCOPED_TRACE(i);
        EXPECT_TRUE(screen.contains(framed(tool))) << tool.x() << "," << tool.y() << " " << tool.width() << "x" << tool.height();
        // Also where the window manager takes the place asked as its frame's.
        EXPECT_TRUE(screen.contains(framed(tool.translated(0, 30)))) << tool.y() << " " << tool.height();
        EXPECT_FALSE(framed(tool).intersects(framed(main)));
        EXPECT_EQ(tool.width(), rooms[i].size.width());
        EXPECT_GE(tool.height(), std::max(rooms[i].minimumHeight, 1));
        if (rooms[i].minimumHeight == 0) {
            EXPECT_EQ(tool.height(), rooms[i].size.height());
        }
        for (std::size_t j = 0; j < i && GetParam().toolsApart; ++j) {
            EXPECT_FALSE(framed(tool).intersects(framed(layout.tools[j]))) << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstStartLayoutOn,
                         ::testing::Values(ScreenCase{QRect(0, 0, 1280, 800), false, 700},
                                           ScreenCase{QRect(0, 27, 1280, 773), false, 700},
                                           ScreenCase{QRect(0, 0, 1600, 1000), false, 1000},
                                           ScreenCase{QRect(0, 0, 1920, 1040), true, 1000},
                                           ScreenCase{QRect(1920, 0, 1920, 1080), true, 1000},
                                           ScreenCase{QRect(0, 0, 2560, 1440), true, 1100},
                                           ScreenCase{QRect(0, 0, 2560, 1400), true, 1100}));

TEST(FirstStartLayoutOnATinyScreen, KeepsEveryWindowOnTheScreen) {
    const QRect screen(0, 24, 640, 456);
    const FirstStartLayout layout = firstStartLayout(screen, 1415, 600, {{QSize(378, 416), 230}, {QSize(531, 386), 275}});
    for (const QRect& r : {layout.main, layout.tools[0], layout.tools[1]}) {
        EXPECT_GE(r.left() - 8, screen.left());
        EXPECT_GE(r.top() - 30, screen.top());
        EXPECT_LE(r.left() + 48, screen.right());  // the title bar can be taken
    }
}

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
