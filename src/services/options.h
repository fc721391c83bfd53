// The editor's persisted settings (window placements and options), kept in
// an INI file in the user's configuration folder: organisation "Quorantel",
// file "Positions", one group per section. Every value is stored as a string.
#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QSettings;
class QWidget;

namespace qrn {

// Normal rectangle, maximised position and maximised flag of one window.
struct Placement {
    QRect rect;  // left, top, right, bottom as stored
    int maxLeft = 0;
    int maxTop = 0;
    bool maximize = false;
    bool stored = false;  // read from the settings file, not the default
};

class Options {
public:
    Options();  // every value at its default

    Placement mainform;
    Placement allmap;
    Placement palette;
    Placement chipview;
    Placement param;

    bool coming = true;           // dragging/coming
    bool showpanel = true;        // tool/showpanel
    bool paletteFront = true;     // palette/allwaysfront
    bool chipviewFront = false;   // chipview/allwaysfront
    bool parameditFront = true;   // paramedit/allwaysfront
    bool allmapFront = false;     // allmap/allwaysfront
    bool tellmsg = true;          // tool/tellmsg
    bool showhint = true;         // tool/showhint
    bool gridline = true;         // tool/gridline
    bool chipslist = false;       // tool/chipslist
    QString compiledfileout;      // path/compiledfileout, ends with "/"
    QString serchpath;            // path/serchpath, ends with "/"
    QString quilmark;             // path/quilmark
    bool palettelistview = false; // tool/palettelistview
    bool fieldmanview = true;     // tool/fieldmanview
    bool fieldmanfront = true;    // tool/fieldmanfront
    bool autoime = true;          // tool/autoime
    bool chiptoolview = true;     // tool/chiptoolview
    bool palettetoolview = true;  // tool/palettetoolview
    // map/plchipview, enchipview, chchipview, itchipview, evchipview and
    // map/colrowsizes live in EditorState (layerVisible, chipSize).
};

struct EditorState;

// Whether a window whose client area is `client` has enough of its title bar
// on some screen to be taken with the mouse.
bool titleBarOnScreen(const QRect& client);
// Gives a window the client rectangle a placement keeps (its size capped at
// maxSize) and maximises it when the placement says so. A rectangle whose
// title bar no screen shows is ignored: the window stays where it is.
// Returns whether the rectangle was applied.
bool applyPlacement(QWidget* window, const Placement& p, const QSize& maxSize = QSize(4096, 4096));
// Applies *p (read at that moment) when `window` is first shown.
void applyPlacementOnFirstShow(QWidget* window, const Placement* p);
// Runs `place` when `window` is first shown, before it appears.
void onFirstShow(QWidget* window, std::function<void()> place);

// A tool window of `size` right of the main window's client area `main`,
// `below` pixels under its top, moved back onto the screen where it would
// leave it (and then over the main window only as far as it must).
QRect besideMainWindow(const QRect& screen, const QRect& main, const QSize& size, int below);

// The settings file (created on first write). One store for the whole run.
QSettings* settingsStore();
// Drops the store so the next settingsStore() opens the file anew (after
// QSettings::setPath has moved the user's configuration folder, in tests).
void reopenSettingsStore();
// Reads an integer value: "0x"/"0X" prefix means hexadecimal; missing or
// non-numeric gives the default.
int readIntSetting(QSettings& store, const QString& section, const QString& name, int defaultValue);
bool readBoolSetting(QSettings& store, const QString& section, const QString& name, bool defaultValue);
QString readStringSetting(QSettings& store, const QString& section, const QString& name,
                          const QString& defaultValue);
// Ensures a folder setting ends with "/".
QString withTrailingSlash(const QString& folder);

// Reads every persisted value except the random tools' ratios and the
// ratio dialog's placement into the options and the editing state.
void readOptions(QSettings& store, Options& options, EditorState& state);

// Placements of the main window, the whole-area map, the palette, the image
// view and the property editor, in that order; nullopt when one could not
// be read.
using WindowPlacements = std::array<std::optional<Placement>, 5>;

// Writes every value that readOptions reads, with the given placements. If
// any placement is missing nothing at all is written and false is returned.
bool writeOptions(QSettings& store, Options& options, const EditorState& state,
                  const WindowPlacements& placements);

}  // namespace qrn
