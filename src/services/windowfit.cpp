#include "services/windowfit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
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
        // A minimum width given by hand wins over the tabs' own: raise it.
        auto* tabs = qobject_cast<QTabWidget*>(bar->parentWidget());
        const int needed = bar->sizeHint().width() + 4;
        if (tabs && tabs->minimumWidth() > 0 && tabs->minimumWidth() < needed) tabs->setMinimumWidth(needed);
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

// The width a window manager needs to show the whole title: the text in a
// bold application font, the window's icon and its buttons.
int titleWidth(const QWidget* window) {
    constexpr int kIconAndButtons = 112;
    const QString title = window->windowTitle();
    if (title.isEmpty()) return 0;
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kIconAndButtons;
}

void growToLayout(QWidget* window) {
    QLayout* layout = window->layout();
    if (!layout) {
        // A window drawn by hand: only its title decides.
        const int title = titleWidth(window);
        if (window->width() >= title) return;
        if (window->minimumSize() == window->maximumSize()) window->setFixedWidth(title);
        else {
            window->setMinimumWidth(title);
            window->resize(title, window->height());
        }
        return;
    }
    // A panel whose controls were shown or hidden before its window was
    // first shown keeps its inner layouts' old sizes until it is laid out:
    // the window would take the size of controls no longer there.
    const QList<QWidget*> inner = window->findChildren<QWidget*>();
    for (auto it = inner.rbegin(); it != inner.rend(); ++it)
        if (QLayout* own = (*it)->layout(); own && !(*it)->isWindow() && !(*it)->isHidden()) own->activate();
    layout->activate();
    QSize needed = layout->totalMinimumSize();
    needed.setWidth(std::max(needed.width(), titleWidth(window)));
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

namespace {

// What a window frame adds around the client area, about.
constexpr int kFrameTitle = 30;
constexpr int kFrameBorder = 8;
// Wide enough for a map of about thirty cells where the screen allows.
constexpr int kRoomyMain = 1100;
constexpr int kSmallestMain = 200;
// A map of about thirty cells: worth tool windows over each other.
constexpr int kComfortableMain = 960;

struct ToolColumn {
    int width = 0;
    std::vector<std::size_t> stacked;  // top to bottom
    std::vector<std::size_t> atFoot;   // over the stacked ones, at the screen's foot
};

int shortest(const ToolWindowRoom& tool) {
    const int h = tool.size.height();
    return tool.minimumHeight > 0 ? std::min(tool.minimumHeight, h) : h;
}

// The tool windows in at most `maxColumns` columns of `height` pixels.
std::vector<ToolColumn> stackTools(const std::vector<ToolWindowRoom>& tools, int height, std::size_t maxColumns) {
    std::vector<ToolColumn> columns;
    int used = 0;  // by the shortest heights of the current column's stack
    for (std::size_t i = 0; i < tools.size(); ++i) {
        const int needs = shortest(tools[i]) + kFrameTitle + kFrameBorder;
        if (columns.empty() || (used + needs > height && columns.size() < maxColumns)) {
            columns.emplace_back();
            used = 0;
        }
        ToolColumn& column = columns.back();
        if (column.stacked.empty() || used + needs <= height) {
            column.stacked.push_back(i);
            used += needs;
        } else {
            column.atFoot.push_back(i);
        }
        column.width = std::max(column.width, tools[i].size.width());
    }
    return columns;
}

}  // namespace

QRect frameOnScreen(const QRect& screen, QRect client) {
    client.moveLeft(std::min(client.left(), screen.right() + 1 - kFrameBorder - client.width()));
    client.moveTop(std::min(client.top(), screen.bottom() + 1 - kFrameBorder - client.height()));
    client.moveLeft(std::max(client.left(), screen.left() + kFrameBorder));
    client.moveTop(std::max(client.top(), screen.top() + kFrameTitle));
    return client;
}

FirstStartLayout firstStartLayout(const QRect& screen, int wideMain, int narrowMain,
                                  const std::vector<ToolWindowRoom>& tools) {
    const int room = screen.width() - 2 * kFrameBorder;
    const int mainHeight = std::max(150, std::min(640, screen.height() - kFrameTitle - 2 * kFrameBorder));
    std::vector<ToolColumn> columns;
    int mainWidth = std::min(std::max(wideMain, kRoomyMain), room);
    // A window manager may take the asked place as its frame's rather than
    // the client's: the columns leave room for one more title bar.
    const int columnHeight = screen.height() - kFrameTitle;
    // Fewer columns leave the main window more room, at the price of tool
    // windows over each other: the most columns that leave a comfortable
    // map, else the most that leave the narrowest tool bar whole.
    for (const int wanted : {std::max(narrowMain, kComfortableMain), narrowMain}) {
        for (std::size_t maxColumns = std::max<std::size_t>(tools.size(), 1); maxColumns >= 1; --maxColumns) {
            columns = stackTools(tools, columnHeight, maxColumns);
            int taken = 0;
            for (const ToolColumn& c : columns) taken += c.width + 2 * kFrameBorder;
            mainWidth = std::min(std::max(wideMain, kRoomyMain), room - taken);
            if (mainWidth >= wanted || maxColumns == 1) break;
        }
        if (mainWidth >= wanted) break;
    }
    mainWidth = std::min(std::max(mainWidth, kSmallestMain), room);

    FirstStartLayout layout;
    layout.main = QRect(screen.left() + kFrameBorder, screen.top() + kFrameTitle, mainWidth, mainHeight);
    layout.tools.resize(tools.size());
    // Back onto the screen: only a screen too narrow for the main window
    // and one column puts a tool window over the main window.
    auto onScreen = [&screen](const QRect& r) { return frameOnScreen(screen, r); };
    int x = layout.main.right() + 1 + 2 * kFrameBorder;
    for (const ToolColumn& column : columns) {
        int excess = -columnHeight;
        std::vector<int> heights;
        for (std::size_t i : column.stacked) {
            heights.push_back(tools[i].size.height());
            excess += heights.back() + kFrameTitle + kFrameBorder;
        }
        for (std::size_t k = heights.size(); k-- > 0 && excess > 0;) {
            const int cut = std::min(excess, heights[k] - shortest(tools[column.stacked[k]]));
            heights[k] -= cut;
            excess -= cut;
        }
        int y = screen.top() + kFrameTitle;
        for (std::size_t k = 0; k < column.stacked.size(); ++k) {
            const std::size_t i = column.stacked[k];
            layout.tools[i] = onScreen(QRect(x, y, tools[i].size.width(), heights[k]));
            y = layout.tools[i].bottom() + 1 + kFrameBorder + kFrameTitle;
        }
        for (std::size_t i : column.atFoot)
            layout.tools[i] = onScreen(QRect(QPoint(x, screen.bottom() + 1 - kFrameTitle - kFrameBorder - tools[i].size.height()), tools[i].size));
        x += column.width + 2 * kFrameBorder;
    }
    return layout;
}

QObject* installWindowFitting(QApplication& app) {
    auto* fitting = new WindowFitting(&app);
    app.installEventFilter(fitting);
    return fitting;
}

}  // namespace qrn
