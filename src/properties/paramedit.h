// The property editor: one window with a page control per layer, of which
// one is shown, editing the definition of one object at a time. Every change
// goes into the scenario at once.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QTabWidget;

namespace qrn {

class PlacePage;
class EnterPage;
class CharaPage;
class EventPage;
class ItemPage;

// A location chosen in the location picker.
struct PickedLocation {
    int field = 0;
    int position = 0;
};

// What the pages ask of the windows around them. The pickers default to the
// real dialogs; the rest is connected by the program at start-up (and by
// tests), and a hook that is not connected does nothing.
struct ParameditHooks {
    // Item / event picker: the chosen numbers in ascending order, or nothing on Cancel.
    std::function<std::optional<std::vector<int>>(const QString& caption, const std::vector<int>& chosen)> pickItems;
    std::function<std::optional<std::vector<int>>(const QString& caption, const std::vector<int>& chosen)> pickEvents;
    // Magic picker offering every magic: the chosen numbers, or nothing on Cancel.
    std::function<std::optional<std::vector<int>>(const QString& caption, const std::vector<int>& chosen)> pickMagics;
    // The enlarged view of a bitmap of the resource folder, at a screen position.
    std::function<void(const QString& file, const QPoint& at)> viewImage;
    // Location picker: the picked location, or nothing on Cancel.
    std::function<std::optional<PickedLocation>(const QString& caption, int field, int position)> pickLocation;
    // Image chooser preset with a transparency flag: the chosen file on OK
    // (the chosen transparency is in editor().state).
    std::function<std::optional<QString>(bool presetTransparent)> chooseImage;
    // Loads a picture into the shared picture list; returns its index.
    std::function<int(const QString& file, bool transparent, unsigned colour)> addimg;
    std::function<void(int layer)> namesChanged;     // the palette repaints its names
    std::function<void(int layer)> picturesChanged;  // the palette and the map repaint
    std::function<void()> jumpsChanged;              // the field manager rebuilds its tree
    // Where Shift+keys go: the palette's active view (null when the palette
    // is hidden) and the map grid.
    std::function<QWidget*()> paletteKeyTarget;
    std::function<QWidget*()> mapKeyTarget;
};

class Tparamedit : public QMainWindow {
    Q_OBJECT
public:
    explicit Tparamedit(QWidget* parent = nullptr);

    // Opens the page of `layer` (1 place .. 5 chara) on object `number`;
    // fromPalette tells where Shift+keys go while the editor has the focus.
    void openOn(int layer, int number, bool fromPalette);

    // The opening operations: each opens on the palette's current object of
    // its layer, or hides the editor when that object is not in use.
    void placeediting();
    void enterediting();
    void eventediting();
    void itemediting();
    void charaediting();

    void allhide();
    void prpagechangeClick();
    // Next page of a layer's page control from `page`, or -1 when `page` is
    // not in the cycle (characters cycle by their kind).
    static int nextPage(int layer, int charaKind, int page);

    // Layer of the visible page control, 0 when none.
    int shownLayer() const;
    int currentObject(int layer) const { return current_[static_cast<std::size_t>(layer)]; }
    bool openedFromPalette() const { return fromPalette_; }
    QTabWidget* panel(int layer) const { return panels_[static_cast<std::size_t>(layer)]; }
    PlacePage* placePage() const { return placePage_; }
    EnterPage* enterPage() const { return enterPage_; }
    CharaPage* charaPage() const { return charaPage_; }
    EventPage* eventPage() const { return eventPage_; }
    ItemPage* itemPage() const { return itemPage_; }

    ParameditHooks& hooks() { return hooks_; }
    // Sets the caption from an object's name or the layer's words.
    void setObjectCaption(int layer, const QString& name);
    // Picker captions: the object's name, or "この地形" etc. for an empty one.
    static QString objectWords(int layer, const QString& name);
    // Plays sound `number` through the sound player (0: nothing).
    void playSound(int number);
    // Plays music `number` through the media player with its loop setting (0: nothing).
    void playMusic(int number);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void open(int layer);
    void paramset();
    bool FormKeyDown(QKeyEvent* event);
    // Entering a page control (or its tab bar): with Shift held the focus
    // moves on to the next control.
    void panelEnter(QWidget* panel, bool shiftHeld);

    ParameditHooks hooks_;
    std::array<int, 6> current_{0, 1, 1, 1, 1, 1};
    bool fromPalette_ = true;
    bool placementRestored_ = false;
    std::array<QTabWidget*, 6> panels_{};
    PlacePage* placePage_ = nullptr;
    EnterPage* enterPage_ = nullptr;
    CharaPage* charaPage_ = nullptr;
    EventPage* eventPage_ = nullptr;
    ItemPage* itemPage_ = nullptr;
    QPushButton* prpagechange_ = nullptr;
};

// Client size of the window for a layer's page control.
QSize parameditClientSize(int layer);

}  // namespace qrn
