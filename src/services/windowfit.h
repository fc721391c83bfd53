#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QApplication;
class QObject;
class QWidget;

namespace qrn {

// The forms were drawn for another platform's smaller font; here their
// pixel sizes are minimums. Every window, as it is shown, grows to its
// layout's minimum size and to the width its title needs beside the window
// manager's buttons (a fixed-size window stays fixed at the larger of the
// two), shows every tab of its page controls without scroll arrows, and
// lies wholly on the screen that shows the main window.
void fitWindow(QWidget* window);

// Fits every window of the program as it is shown. Returns the
// application-wide event filter; deleting it ends the fitting.
QObject* installWindowFitting(QApplication& app);

// The client area `client` moved so that its frame lies on `screen` where
// it fits, else its title bar's left end.
QRect frameOnScreen(const QRect& screen, QRect client);

// Where the main window and its tool windows open when no place is stored.
// Every rectangle is a client area; `screen` is the available area of the
// screen that shows the main window, and each window's frame is allowed
// for. The tool windows stand in columns right of the main window, top to
// bottom in the order given, each shortened down to its minimum height
// where that lets it share its column; a tool window with no room in any
// column stands at the foot of the last one, over the other tool windows.
// The main window is as wide as `wideMain` (its tool bar in one row) where
// the screen allows, never wider than the room the columns leave, and takes
// as few columns as it must to stay at least `narrowMain` wide (its tool
// bar in its most rows). Only on a screen too narrow for that and one
// column does a tool window lie over it.
struct ToolWindowRoom {
    QSize size;             // the size it opens at
    int minimumHeight = 0;  // how far it may be shortened to share a column; 0: not at all
};
struct FirstStartLayout {
    QRect main;
    std::vector<QRect> tools;  // in the order of the rooms asked for
};
FirstStartLayout firstStartLayout(const QRect& screen, int wideMain, int narrowMain,
                                  const std::vector<ToolWindowRoom>& tools);

}  // namespace qrn
