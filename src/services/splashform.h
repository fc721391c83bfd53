// The splash window shown while the editor starts. When it loses the focus
// to the main window (or the event loop first runs) it hands over once.
#pragma once

#include <QWidget>
#include <functional>

namespace qrn {

class Tsplashform : public QWidget {
    Q_OBJECT
public:
    explicit Tsplashform(QWidget* parent = nullptr);
    // Shows the window and paints it at once.
    void showNow();
    // Runs `handover` once, when the main window takes the focus or the
    // event loop runs for the first time, then closes the splash.
    void handOverTo(QWidget* mainWindow, std::function<void()> handover);

private:
    void finish();
    std::function<void()> handover_;
    bool done_ = false;
};

}  // namespace qrn
