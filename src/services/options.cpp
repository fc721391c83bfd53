#include "services/options.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QSettings>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "services/editorstate.h"
#include "services/userfolders.h"

namespace qrn {

namespace {

std::unique_ptr<QSettings>& storeHolder() {
    static std::unique_ptr<QSettings> store;
    return store;
}

QRect rectFromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

std::optional<int> parseInt(const QString& raw) {
    const QString text = raw.trimmed();
    bool ok = false;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const qulonglong v = text.mid(2).toULongLong(&ok, 16);
        if (!ok || v > 0xFFFFFFFFull) return std::nullopt;
        return static_cast<int>(static_cast<quint32>(v));
    }
    const int v = text.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

// Layer order of the persisted view switches: place, enter, chara, item, event.
struct LayerKey {
    const char* name;
    Layer layer;
};
constexpr LayerKey kLayerKeys[] = {{"plchipview", kPlace},
                                   {"enchipview", kEnter},
                                   {"chchipview", kChara},
                                   {"itchipview", kItem},
                                   {"evchipview", kEvent}};

void readPlacement(QSettings& s, const QString& section, Placement& p, const QRect& defaultRect) {
    const int left = readIntSetting(s, section, "left", defaultRect.left());
    const int top = readIntSetting(s, section, "top", defaultRect.top());
    const int right = readIntSetting(s, section, "right", defaultRect.left() + defaultRect.width());
    const int bottom = readIntSetting(s, section, "bottom", defaultRect.top() + defaultRect.height());
    // Edges beyond any desktop (a damaged file) would overflow the sizes.
    constexpr int kFarEdge = 1 << 20;
    const bool far = std::max({std::abs(qint64(left)), std::abs(qint64(top)), std::abs(qint64(right)),
                               std::abs(qint64(bottom))}) > kFarEdge;
    p.rect = far ? defaultRect : rectFromEdges(left, top, right, bottom);
    p.maxLeft = readIntSetting(s, section, "maxleft", 0);
    p.maxTop = readIntSetting(s, section, "maxtop", 0);
    p.maximize = readBoolSetting(s, section, "maximize", false);
    p.stored = s.contains(section + QStringLiteral("/left"));
}

// Runs a placement on the window's first show (before it is mapped, so the
// window appears in its place at once), then goes away.
class FirstShowPlacer : public QObject {
public:
    FirstShowPlacer(QWidget* window, std::function<void()> place) : QObject(window), place_(std::move(place)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            watched->removeEventFilter(this);
            place_();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> place_;
};

void writeValue(QSettings& s, const QString& section, const QString& name, const QString& value) {
    s.setValue(section + u'/' + name, value);
}
void writeInt(QSettings& s, const QString& section, const QString& name, int value) {
    writeValue(s, section, name, QString::number(value));
}
void writeBool(QSettings& s, const QString& section, const QString& name, bool value) {
    writeValue(s, section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}
void writePlacement(QSettings& s, const QString& section, const Placement& p) {
    writeInt(s, section, "left", p.rect.left());
    writeInt(s, section, "top", p.rect.top());
    writeInt(s, section, "right", p.rect.left() + p.rect.width());
    writeInt(s, section, "bottom", p.rect.top() + p.rect.height());
    writeInt(s, section, "maxleft", p.maxLeft);
    writeInt(s, section, "maxtop", p.maxTop);
    writeBool(s, section, "maximize", p.maximize);
}

// The on/off options, each under its section and name; read and written
// from this one list so the two can never drift apart.
struct BoolOption {
    const char* section;
    const char* name;
    bool Options::*member;
};
const BoolOption kBoolOptions[] = {
    {"dragging", "coming", &Options::coming},
    {"tool", "showpanel", &Options::showpanel},
    {"palette", "allwaysfront", &Options::paletteFront},
    {"chipview", "allwaysfront", &Options::chipviewFront},
    {"paramedit", "allwaysfront", &Options::parameditFront},
    {"allmap", "allwaysfront", &Options::allmapFront},
    {"tool", "tellmsg", &Options::tellmsg},
    {"tool", "showhint", &Options::showhint},
    {"tool", "gridline", &Options::gridline},
    {"tool", "chipslist", &Options::chipslist},
    {"tool", "palettelistview", &Options::palettelistview},
    {"tool", "fieldmanview", &Options::fieldmanview},
    {"tool", "fieldmanfront", &Options::fieldmanfront},
    {"tool", "autoime", &Options::autoime},
    {"tool", "chiptoolview", &Options::chiptoolview},
    {"tool", "palettetoolview", &Options::palettetoolview},
};

}  // namespace

bool titleBarOnScreen(const QRect& client) {
    // A title bar is about 24 pixels high; a third of it and 48 pixels of
    // its width are enough to take hold of it.
    constexpr int kTitleHeight = 24;
    if (client.width() <= 0 || client.height() <= 0) return false;
    const QRect bar(client.left(), client.top() - kTitleHeight, client.width(), kTitleHeight);
    const int wantedWidth = std::min(48, client.width());
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        const QRect seen = screen->availableGeometry().intersected(bar);
        return seen.width() >= wantedWidth && seen.height() >= kTitleHeight / 3;
    });
}

bool applyPlacement(QWidget* window, const Placement& p, const QSize& maxSize) {
    if (!window) return false;
    const bool applied = titleBarOnScreen(p.rect);
    if (applied) {
        // Client rectangles both ways: the placement is read back with
        // geometry(), so it is given back with setGeometry().
        window->setGeometry(QRect(p.rect.topLeft(), p.rect.size().boundedTo(maxSize)));
    }
    if (p.maximize) window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return applied;
}

void applyPlacementOnFirstShow(QWidget* window, const Placement* p) {
    if (window && p) onFirstShow(window, [window, p] { applyPlacement(window, *p); });
}

void onFirstShow(QWidget* window, std::function<void()> place) {
    if (window) window->installEventFilter(new FirstShowPlacer(window, std::move(place)));
}

namespace {
// What a window frame adds around the client area, about.
constexpr int kFrameTitle = 30;
constexpr int kFrameBorder = 8;
}  // namespace

QRect besideMainWindow(const QRect& screen, const QRect& main, const QSize& size, int below) {
    int x = main.right() + 1 + 2 * kFrameBorder;
    int y = main.top() + below;
    // Back onto the screen: the whole frame if it fits, else the title bar.
    x = std::min(x, screen.right() + 1 - kFrameBorder - size.width());
    y = std::min(y, screen.bottom() + 1 - kFrameBorder - size.height());
    x = std::max(x, screen.left() + kFrameBorder);
    y = std::max(y, screen.top() + kFrameTitle);
    return QRect(QPoint(x, y), size);
}

QString withTrailingSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'/')) return folder;
    return folder + u'/';
}

Options::Options() {
    mainform.rect = rectFromEdges(0, 0, 600, 480);
    allmap.rect = rectFromEdges(365, 100, 640, 480);
    palette.rect = rectFromEdges(0, 100, 502, 516);
    chipview.rect = rectFromEdges(0, 0, 545, 388);
    param.rect = rectFromEdges(200, 100, 300, 300);
    // Per-user folders: the program's own folder is seldom writable and holds no picture.
    compiledfileout = defaultJoinFolder();
    serchpath = defaultResourceFolder();
}

QSettings* settingsStore() {
    auto& store = storeHolder();
    if (!store)
        store = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quorantel"),
                                            QStringLiteral("Positions"));
    return store.get();
}

void reopenSettingsStore() { storeHolder().reset(); }

int readIntSetting(QSettings& store, const QString& section, const QString& name, int defaultValue) {
    const QVariant v = store.value(section + u'/' + name);
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) return defaultValue;
    return parseInt(v.toString()).value_or(defaultValue);
}

bool readBoolSetting(QSettings& store, const QString& section, const QString& name, bool defaultValue) {
    return readIntSetting(store, section, name, defaultValue ? 1 : 0) != 0;
}

QString readStringSetting(QSettings& store, const QString& section, const QString& name,
                          const QString& defaultValue) {
    const QVariant v = store.value(section + u'/' + name);
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) return defaultValue;
    return v.toString();
}

void readOptions(QSettings& s, Options& o, EditorState& state) {
    const Options d;  // defaults
    readPlacement(s, "mainform", o.mainform, d.mainform.rect);
    readPlacement(s, "allmap", o.allmap, d.allmap.rect);
    readPlacement(s, "palette", o.palette, d.palette.rect);
    readPlacement(s, "chipview", o.chipview, d.chipview.rect);
    readPlacement(s, "param", o.param, d.param.rect);
    for (const BoolOption& b : kBoolOptions) o.*b.member = readBoolSetting(s, b.section, b.name, d.*b.member);
    // An empty folder would make file names relative to the working folder.
    const QString out = readStringSetting(s, "path", "compiledfileout", d.compiledfileout);
    o.compiledfileout = withTrailingSlash(out.isEmpty() ? d.compiledfileout : out);
    const QString serch = readStringSetting(s, "path", "serchpath", d.serchpath);
    o.serchpath = withTrailingSlash(serch.isEmpty() ? d.serchpath : serch);
    o.quilmark = readStringSetting(s, "path", "quilmark", QString());
    for (const LayerKey& k : kLayerKeys) state.layerVisible[k.layer] = readBoolSetting(s, "map", k.name, true);
    state.chipSize = readIntSetting(s, "map", "colrowsizes", 1);
    if (state.chipSize < 1 || state.chipSize > 3) state.chipSize = 1;
}

bool writeOptions(QSettings& s, Options& o, const EditorState& state, const WindowPlacements& placements) {
    for (const auto& p : placements)
        if (!p) return false;
    o.mainform = *placements[0];
    o.allmap = *placements[1];
    o.palette = *placements[2];
    o.chipview = *placements[3];
    o.param = *placements[4];
    writePlacement(s, "mainform", o.mainform);
    writePlacement(s, "allmap", o.allmap);
    writePlacement(s, "palette", o.palette);
    writePlacement(s, "chipview", o.chipview);
    writePlacement(s, "param", o.param);
    for (const BoolOption& b : kBoolOptions) writeBool(s, b.section, b.name, o.*b.member);
    writeValue(s, "path", "compiledfileout", withTrailingSlash(o.compiledfileout));
    writeValue(s, "path", "serchpath", withTrailingSlash(o.serchpath));
    writeValue(s, "path", "quilmark", o.quilmark);
    for (const LayerKey& k : kLayerKeys) writeBool(s, "map", k.name, state.layerVisible[k.layer]);
    writeInt(s, "map", "colrowsizes", state.chipSize);
    s.sync();
    return true;
}

}  // namespace qrn
