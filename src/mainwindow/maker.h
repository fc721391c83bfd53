// The main window: start-up and shutdown of the editing session, the map of
// the current field, the commands of the menus and the tool bar, the media
// hooks and the runner.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <span>
#include <vector>

#include "services/mainwindowhooks.h"
#include "mainwindow/makercommands.h"
#include "services/windowfit.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

namespace qrn {

class MapGrid;
class Tmapcreater;
class Toptionform;
class Tfilenameenter;
class Tlevellist;

class Tmaker : public QMainWindow, public MainWindowHooks {
    Q_OBJECT
public:
    explicit Tmaker(QWidget* parent = nullptr);
    ~Tmaker() override;

    // What the tool windows ask of the main window.
    QMainWindow* hooksWindow() override { return this; }
    void setCommandChecked(const QString& name, bool on) override;
    void selectMapCell(int col, int row) override;
    void focusMap() override;
    void repaintMap() override;
    void toggleFieldManager() override;
    void openPropertyEditor(int layer, int number) override;
    void hidePropertyEditor() override;
    void hideSearchResult() override;
    void setViewsEnabled(bool on) override;
    void hideImageView() override;

    MapGrid* mapgrid() const { return mapgrid_; }
    QLabel* xlabel() const { return xlabel_; }
    QLabel* ylabel() const { return ylabel_; }
    QToolBar* makertool() const { return makertool_; }
    // The second half of the tool bar: beside the first, or below it when
    // the window is narrower than both.
    QToolBar* makertool2() const { return makertool2_; }
    QToolBar* makertool3() const { return makertool3_; }
    // The main window's width for its tool bar with every button and the
    // coordinates in `rows` rows (1 to 3).
    int toolBarWidth(int rows) const;
    // Where the windows open when nothing is stored, on this screen.
    FirstStartLayout firstStartPlan() const;
    // Every command by its form name ("newfilemenu", "brushbtn", ...);
    // nullptr for a name that is not in the command table.
    QAction* command(const QString& name) const;
    // The command table (makercommands.cpp) that the menus, the tool bar
    // and the pop-up menu are built from.
    static std::span<const MakerCommand> commandTable();

    // Scenario commands.
    void createnew();
    void newfieldbtnClick();
    void loadfile();
    // Opens `path` as the open command does after its dialog; false on failure
    // (the message has been shown and the old scenario is kept).
    bool openFile(const QString& path);
    // Opens a recovery file as unsaved work on `sourcePath` (may be empty).
    bool openRecovered(const QString& recoveryPath, const QString& sourcePath);
    void savefile(bool useKnownName);
    void orverwritesave();
    void start();

    // Field display and navigation.
    void fieldonchange() override;
    void firstfieldClick();
    void topreturnbtnClick();
    void secondfieldClick();
    // Moves the map's cursor to (col, row) of `field`, showing that field
    // first when it is not the current one (chip search, whole-area map).
    void jumpToCell(int field, int col, int row);
    // Shows a 0-based cursor position 1-based in the two labels.
    void showCursorLabels(int col, int row);

    void captionchange() override;
    void formset();
    // "オプション(&O)": the options dialog, then its choices applied and
    // written to the settings store at once.
    void kankyoumenuClick();

    // Map modes and view.
    void madrawmodebtnclick(int tag);  // 1 property, 2 draw, 3 range
    void mapdrawmodeset();
    void mapvbtnClick(int tag);  // 1 place, 2 enter, 3 event, 4 item, 5 chara
    void mapeditmenuset();
    void colrowset(int size);

    // Picture list.
    void defaultimageload();
    void allimageload();

    // Media hooks; file names are looked up in the resource search folder.
    void mediaplay(const QString& fileName, bool loop) override;
    void mediastop() override;
    void soundplay(const QString& fileName);

    void runplayerbtnClick();

    // Join into runner files, and the current field saved as a bitmap.
    void jointmenuClick();
    void savebybmpmenuClick();
    // The current field out to a TMX map with one tileset per layer, and a
    // map's five layers back into the current field (makertmx.cpp).
    void exporttmxmenuClick();
    void importtmxmenuClick();

    // Persisted settings.
    void readregistry();
    void writeregistry();

    // Shows and restores a tool window (palette, field manager, ...).
    static void showToolWindow(QWidget* window);

    // How the creation dialog is run; tests replace it to answer without a
    // human. Returns true when the dialog ended with OK.
    std::function<bool(Tmapcreater&)> runCreationDialog;
    // How the options dialog is run (modally); tests replace it.
    std::function<void(Toptionform&)> runOptionDialog;
    // Opens the level-up window, with the row of `level` (2..50) current
    // when one is given.
    void openLevelList(int level = 0);
    // How the level-up window is run (modally); tests replace it.
    std::function<void(Tlevellist&)> runLevelList;
    // How the join name dialog is run; likewise replaceable.
    std::function<bool(Tfilenameenter&)> runJoinNameDialog;

    // The file last chosen in the open dialog, and the file an overwrite goes
    // to: the one last opened or saved under a name (none for a new scenario).
    QString openFileName() const { return openFileName_; }
    QString saveFileName() const { return saveFileName_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void buildCommands();
    void buildMenus();
    void buildToolBar();
    void buildPopup();
    void addCommandsOf(MakerMenu menu, QMenu* to);
    // Calls fn with the action and tag of every command of the group.
    void forEachInGroup(MakerGroup group, const std::function<void(QAction*, int tag)>& fn) const;
    QAction* makeCommand(const QString& name, const QString& caption, const QString& hint = {});
    void setEditingCommandsEnabled(bool on);
    void toolmenuClick();
    bool writeScenarioTo(const QString& path);
    // Tool windows with no stored place open beside the main window.
    void placeToolWindowsBeside();
    void arrangeToolBars();
    static constexpr int kToolColumnWidth = 531;  // the field manager with its panel
    static constexpr QSize kParameditRoom{320, 480};  // the property editor's largest page

    MapGrid* mapgrid_ = nullptr;
    QToolBar* makertool_ = nullptr;
    QToolBar* makertool2_ = nullptr;
    QToolBar* makertool3_ = nullptr;
    QLabel* xlabel_ = nullptr;
    QLabel* ylabel_ = nullptr;
    QAction* xlabelAction_ = nullptr;  // the labels' places on the tool bar
    QAction* ylabelAction_ = nullptr;
    QMenu* popup_ = nullptr;
    std::vector<QAction*> actions_;  // one per row of commandTable()
    bool placersInstalled_ = false;
    QString openFileName_;
    QString saveFileName_;
};

}  // namespace qrn
