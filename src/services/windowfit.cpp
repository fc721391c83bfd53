#include "services/windowfit.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace qrn {

namespace {

// Room for a window manager's title bar and border before the window has
// a frame of its own.
constexpr int kTitleAllowance = 30;
constexpr int kBorderAllowance = 4;

bool isFittedWindow(const QWidget* w) {
    if (!w->isWindow()) return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
    case Qt::SubWindow: return false;
    default: return true;
    }
}

// The screen of the main window: the one a dialog's owner is on.
QScreen* screenFor(const QWidget* window) {
    for (const QWidget* w = window; w; w = w->parentWidget())
        if (!w->parentWidget() && w->screen()) return w->screen();
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

void showEveryTab(QWidget* window) {
    // Each setter asks for a new layout even when nothing changes, and a new
    // layout asks for another fitting: set only what differs.
    for (QTabBar* bar : window->findChildren<QTabBar*>()) {
        if (bar->usesScrollButtons()) bar->setUsesScrollButtons(false);
        if (bar->elideMode() != Qt::ElideNone) bar->setElideMode(Qt::ElideNone);
        if (bar->expanding()) bar->setExpanding(false);
    }
}

// The width a dialog's tool bar lacks to show every command without its
// "»". The main window's tool bar is measured at the first start instead,
// where it gives way to the tool windows on a narrow screen.
int toolBarShortfall(QWidget* window) {
    if (!window->parentWidget()) return 0;  // the main window
    int shortfall = 0;
    for (QToolBar* bar : window->findChildren<QToolBar*>())
        if (bar->isVisibleTo(window) && bar->orientation() == Qt::Horizontal && !bar->isFloating())
            shortfall = std::max(shortfall, bar->sizeHint().width() - bar->width());
    return shortfall;
}

void growToLayout(QWidget* window) {
    QLayout* layout = window->layout();
    if (!layout) return;
    layout->activate();
    QSize needed = layout->totalMinimumSize();
    if (const int shortfall = toolBarShortfall(window); shortfall > 0)
        needed.setWidth(std::max(needed.width(), window->width() + shortfall));
    const QSize now = window->size();
    if (window->minimumSize() == window->maximumSize()) {  // fixed at the larger of the two
        if (now.expandedTo(needed) != now) window->setFixedSize(now.expandedTo(needed));
        return;
    }
    if (window->minimumSize().expandedTo(needed) != window->minimumSize())
        window->setMinimumSize(window->minimumSize().expandedTo(needed));
    if (now.width() < needed.width() || now.height() < needed.height()) window->resize(now.expandedTo(needed));
}

void keepOnScreen(QWidget* window) {
    QScreen* screen = screenFor(window);
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The frame once the window has one, else the allowance for it.
    QRect outer = window->frameGeometry();
    if (outer == window->geometry())
        outer = window->geometry().adjusted(-kBorderAllowance, -kTitleAllowance, kBorderAllowance, kBorderAllowance);
    QPoint shift;
    if (outer.right() > area.right()) shift.rx() = area.right() - outer.right();
    if (outer.bottom() > area.bottom()) shift.ry() = area.bottom() - outer.bottom();
    if (outer.left() + shift.x() < area.left()) shift.rx() = area.left() - outer.left();
    if (outer.top() + shift.y() < area.top()) shift.ry() = area.top() - outer.top();
    if (!shift.isNull()) window->move(window->pos() + shift);
}

// A window whose contents change while it is shown (another page, another
// kind of object) grows again once the change has settled.
void refitLater(QWidget* window) {
    static const char* const kPending = "qrnRefitPending";
    if (window->property(kPending).toBool()) return;
    window->setProperty(kPending, true);
    QTimer::singleShot(0, window, [window] {
        window->setProperty(kPending, false);
        if (!window->isVisible()) return;
        showEveryTab(window);
        growToLayout(window);
    });
}

class WindowFitting : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Show:
            if (isFittedWindow(w)) fitWindow(w);
            break;
        case QEvent::LayoutRequest:
        case QEvent::Resize:
            if (isFittedWindow(w) && w->isVisible()) refitLater(w);
            break;
        default: break;
        }
        return false;
    }
};

}  // namespace

void fitWindow(QWidget* window) {
    if (!window) return;
    showEveryTab(window);
    growToLayout(window);
    keepOnScreen(window);
}

QObject* installWindowFitting(QApplication& app) {
    auto* fitting = new WindowFitting(&app);
    app.installEventFilter(fitting);
    return fitting;
}

}  // namespace qrn
