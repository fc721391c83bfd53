// What the tool windows ask of the main window and its map, so that no
// tool window includes the main window or the map grid. The main window
// implements it and registers itself when it becomes the editor's main window.
#pragma once

#include <QString>

class QMainWindow;

namespace qrn {

class MainWindowHooks {
public:
    virtual ~MainWindowHooks() = default;
    virtual QMainWindow* hooksWindow() = 0;
    // Shows the current field afresh (size, cells, cursor).
    virtual void fieldonchange() = 0;
    virtual void captionchange() = 0;
    virtual void mediaplay(const QString& fileName, bool loop) = 0;
    virtual void mediastop() = 0;
    // Checks or unchecks the main window's command `name` (no-op if unknown).
    virtual void setCommandChecked(const QString& name, bool on) = 0;
    // Moves the map's cursor and selection to a cell, which the field remembers.
    virtual void selectMapCell(int col, int row) = 0;
    // Raises the main window and gives the map the keyboard.
    virtual void focusMap() = 0;
    // Redraws every map cell (pictures changed).
    virtual void repaintMap() = 0;
    // Shows the field manager, or hides it when it is showing.
    virtual void toggleFieldManager() = 0;
    // Opens the property editor on an object picked in the palette / closes it.
    virtual void openPropertyEditor(int layer, int number) = 0;
    virtual void hidePropertyEditor() = 0;
    // Hides the chip search's result list (what it lists is about to change).
    virtual void hideSearchResult() = 0;
    // Locks or unlocks the image view and the whole-area map (palette copy mode).
    virtual void setViewsEnabled(bool on) = 0;
    // Hides the image view.
    virtual void hideImageView() = 0;
};

// Registers the main window (nullptr when it goes).
void setMainWindowHooks(MainWindowHooks* hooks);
// The main window's hooks while the editor has a main window, else nullptr.
MainWindowHooks* mainWindowHooks();

}  // namespace qrn
