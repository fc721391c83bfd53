// What the panels of the settings window and the level-up window share: rows
// of a reference (set, clear, play or view buttons and the name), display
// names of resources, play buttons, resource choices, and the pickers the
// panels open (replaceable by tests).
#pragma once

#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "services/choosers.h"
#include "properties/pagehelpers.h"

class QGridLayout;
class QWidget;

namespace qrn {

// A location chosen in the location picker.
struct StartLocation {
    int field = 0;
    int position = 0;
};

// The modal pickers the settings panels open. They default to the real
// dialogs; tests replace them.
struct SettingsHooks {
    // Item picker (kindMode 0..4 one kind page, 5 all): chosen numbers
    // ascending, nothing on Cancel.
    std::function<std::optional<std::vector<int>>(const QString& caption, const std::vector<int>& chosen, int kindMode)>
        pickItems;
    // Magic picker (mode 0 every magic, 1 without the held ones, 2 view only).
    std::function<std::optional<std::vector<int>>(const QString& caption, const std::vector<int>& chosen, int mode)>
        pickMagics;
    std::function<std::optional<StartLocation>(const QString& caption, int field, int position)> pickLocation;
    // Image chooser with the transparency switch preset: the chosen file on OK.
    std::function<std::optional<QString>(bool presetTransparent)> chooseImage;
    // The enlarged view of a resource file with its top-left corner at `at`.
    std::function<void(const QString& file, QPoint at)> showLarge;
};

// The real dialogs, each created for one use.
SettingsHooks realSettingsHooks(QWidget* parent);

// A small button ("消", "♪") no wider than its caption needs, and at
// least square.
void fitToCaption(QPushButton* button);

// A reference row: the set button (its caption), "消", an optional play or
// view button, and the label with the referenced name.
struct RefRow {
    QPushButton* set = nullptr;
    QPushButton* del = nullptr;
    QPushButton* extra = nullptr;
    QLabel* value = nullptr;
    // Shows the name; the extra button is enabled only when something is set.
    void show(const QString& name, bool isSet) const;
};
RefRow addRefRow(QGridLayout* grid, int row, const QString& name, const QString& caption, const QString& extra,
                 QWidget* parent);

// Display names (commentRefName, bgmRefName, magicRefName, poisonRefName)
// are the property pages' ones.

// Plays a BGM with its loop setting / a sound; nothing for 0 or an unused entry.
void playBgm(int number);
void playSound(int number);

// A resource list's choice: the chosen entry when the list closed with OK and
// the entry is at least `least` (0 or 1) and within `count`; otherwise none.
std::optional<int> chooseResourceEntry(ResourceKind kind, const QString& caption, int current, int least,
                                       int count);

// A caption's quoted name: the name in double quotation marks, or the
// default words (quoted or bare) when the name is empty.
QString quotedName(const QString& name, const QString& defaultWords, bool quoteDefault);

}  // namespace qrn

class QSpinBox;
namespace qrn {
// Narrow up-down buttons beside a numeric box.
QSpinBox* upDownButtons(const QString& name, int low, int high, QWidget* parent);
// Greys an empty value box (the colour of a button face), else the normal
// window colour.
void shadeWhenEmpty(QWidget* box, bool empty);
}  // namespace qrn
