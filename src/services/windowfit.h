#pragma once

class QApplication;
class QObject;
class QWidget;

namespace qrn {

// The forms were drawn for another platform's smaller font; here their
// pixel sizes are minimums. Every window, as it is shown, grows to its
// layout's minimum size (a fixed-size window stays fixed at the larger of
// the two), shows every tab of its page controls without scroll arrows, and
// lies wholly on the screen that shows the main window.
void fitWindow(QWidget* window);

// Fits every window of the program as it is shown. Returns the
// application-wide event filter; deleting it ends the fitting.
QObject* installWindowFitting(QApplication& app);

}  // namespace qrn
