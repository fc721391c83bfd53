// The palette: choosing the object of each layer and the draw targets.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QToolButton;

namespace qrn {

class DrawBox;
class PaletteCellGrid;

class Tpalette : public QMainWindow {
    Q_OBJECT
public:
    explicit Tpalette(QWidget* parent = nullptr);

    void plinvalid();
    void eninvalid();
    void evinvalid();
    void itinvalid();
    void chinvalid();
    void allgridfillrect();
    void alldrawpicrefresh();
    // Property mode of the map: make `number` the current object of `layer`
    // (1..5), activate its page and move both cursors to it.
    void selectFromMap(int layer, int number);

    // Layer of the active page (1 place .. 5 chara).
    int activeLayer() const;
    // Changes the page as a tab click does (refused in copy mode).
    void setActivePage(int index);
    PaletteCellGrid* grid(int layer) const { return grids_[static_cast<std::size_t>(layer)]; }
    PaletteCellGrid* list(int layer) const { return lists_[static_cast<std::size_t>(layer)]; }
    DrawBox* drawBox(int layer) const { return drawBoxes_[static_cast<std::size_t>(layer)]; }
    QLabel* targetLabel(int layer) const { return targetLabels_[static_cast<std::size_t>(layer)]; }
    QAction* targetAction(int layer) const { return targetActions_[static_cast<std::size_t>(layer)]; }
    QString statusText() const;
    QTabWidget* palettecontrol() const { return palettecontrol_; }
    QWidget* toolPanel() const { return Panel1_; }
    QAction* copyAction() const { return copyMenu_; }
    QAction* deleteAction() const { return deleteMenu_; }
    QAction* gridViewAction() const { return gridViewMenu_; }
    QAction* toolbarAction() const { return toolbarMenu_; }
    QPushButton* eraseButton() const { return paletteerase_; }
    QToolButton* deleteButton() const { return padeletebtn_; }

    // Selecting a cell of a page's grid or list.
    void cellSelect(int layer, int number);
    // Double click or Enter on a cell.
    void gridDblClick(int layer, int number, bool fromList);
    // A draw box or target menu entry; with `shift` the layer is toggled alone.
    void drawbtnClick(int layer, bool shift);
    void allTargetsClick();
    void papagechangeClick();
    void copybtnClick();
    void deletebtnClick();
    void paletteeraseClick();
    void serchbtnClick();
    void listorgridClick();
    void toolbarClick();
    // Applies palettelistview and palettetoolview.
    void applyViewOptions();

    // The chip search (its dialog comes with the search results window).
    std::function<void(int layer, int number)> chipSearch;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildPages();
    void buildToolPanel();
    void buildMenus();
    void refillNames(int layer);
    void focusActiveView();
    void pageChanged(int index);
    void copyOnto(int destination);
    void endCopyMode();
    void setCopyModeLocks(bool locked);
    void repaintMainMap();
    void updateStatus(int layer, int number);
    bool listView() const;
    bool toolView() const;

    QTabWidget* palettecontrol_ = nullptr;
    std::array<QStackedWidget*, 6> stacks_{};
    std::array<PaletteCellGrid*, 6> grids_{};
    std::array<PaletteCellGrid*, 6> lists_{};
    std::array<DrawBox*, 6> drawBoxes_{};
    std::array<QLabel*, 6> targetLabels_{};
    std::array<QAction*, 6> targetActions_{};
    QWidget* Panel1_ = nullptr;
    QToolButton* listorgrid_ = nullptr;
    QToolButton* serchbtn_ = nullptr;
    QToolButton* pacopybtn_ = nullptr;
    QToolButton* padeletebtn_ = nullptr;
    QToolButton* alldrawspeedbtn_ = nullptr;
    QPushButton* paletteerase_ = nullptr;
    QPushButton* papagechange_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QAction* copyMenu_ = nullptr;
    QAction* deleteMenu_ = nullptr;
    QAction* searchMenu_ = nullptr;
    QAction* gridViewMenu_ = nullptr;
    QAction* toolbarMenu_ = nullptr;
    QAction* copyPop_ = nullptr;
    QAction* deletePop_ = nullptr;
    QAction* searchPop_ = nullptr;
    QAction* gridViewPop_ = nullptr;
    QAction* toolbarPop_ = nullptr;
    QMenu* popup_ = nullptr;
    QPixmap blankPicture_;
    int activePage_ = 0;
    bool placed_ = false;
    // Without the persisted options (tests) the view switches live here.
    bool ownListView_ = false;
    bool ownToolView_ = true;
};

}  // namespace qrn
