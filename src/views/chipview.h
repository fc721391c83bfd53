// The image view of the resource folder, also the modal image chooser.
#pragma once

#include <QMainWindow>

#include "services/choosers.h"
#include "views/chiptable.h"

class QAction;
class QEventLoop;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace qrn {

class ChipGrid;
class ChipPreview;

class Tchipview : public QMainWindow, public ImageChooser {
    Q_OBJECT
public:
    explicit Tchipview(QWidget* parent = nullptr);
    ~Tchipview() override;

    // Rebuilds the file table from the resource search folder.
    void readbmp();
    // The status line: the folder listed, and how to change it while it
    // holds no bitmap.
    QString statusText() const;
    // Chooser mode: presets the transparency switch, shows the view modally
    // with "ｲﾒｰｼﾞを選択"; true on OK with a chosen file. The result is
    // chosenImageFile() with editor().state.defaultTransparent /
    // defaultTransparentColour. On Cancel or Escape the switch is left at the
    // preset and the colour as it was, whatever the author did meanwhile.
    bool chooseImage(bool presetTransparent) override;
    QString chosenImageFile() const override { return chosenImageFile_; }

    // Selects an entry (index = row * 15 + column) as a click in the grid or
    // in the file list does.
    void selectEntry(int index, bool fromList);
    int selectedEntry() const { return selected_; }
    const ChipTable& table() const { return table_; }
    // The picture the preview box shows (null when empty).
    QImage previewImage() const;
    bool inChooserMode() const { return chooserLoop_ != nullptr; }
    // Ends chooser mode as OK or Cancel would.
    void finishChooser(bool ok);

    // The commands of the menus and buttons.
    void enlarge();                 // 拡大表示
    void toggleTransparent();       // 透明色を使う
    void chooseTransparentColour(); // 透明色を指定 (colour dialog)
    void setTransparentColour(unsigned bgr);
    void toggleListView();          // ｸﾞﾘｯﾄﾞ表示
    void toggleToolBar();           // ﾂｰﾙﾊﾞｰ表示
    bool listViewShown() const;
    bool toolBarShown() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildToolPanel();
    void buildViews();
    void buildChooserPanel();
    void buildMenus();
    void makechipslist();
    void applyOptions();
    void updateTransparencyControls();
    void refreshPreview();
    void updateViewControls();
    void showPopup(QWidget* source, const QPoint& pos);

    ChipTable table_;
    QString chosenImageFile_;
    QString folder_;
    int selected_ = 0;
    // Used when the editor has no options (tests); otherwise the options rule.
    bool listMode_ = false;
    bool toolBarMode_ = true;
    bool chooserResult_ = false;
    QEventLoop* chooserLoop_ = nullptr;

    QWidget* panel2_ = nullptr;
    ChipPreview* chippic_ = nullptr;
    QLabel* clrlabel_ = nullptr;
    QLabel* clrshape_ = nullptr;
    QPushButton* viewbtn_ = nullptr;
    QPushButton* selmaskcolor_ = nullptr;
    QPushButton* clearenable_ = nullptr;
    QPushButton* listorgrid_ = nullptr;
    QPushButton* ibreloadbtn_ = nullptr;
    QLabel* label1_ = nullptr;
    QStackedWidget* views_ = nullptr;
    ChipGrid* drawGrid1_ = nullptr;
    QListWidget* chipslist_ = nullptr;
    QWidget* panel3_ = nullptr;
    QPushButton* okbtn_ = nullptr;
    QPushButton* cancelbtn_ = nullptr;
    QLabel* statusLabel_ = nullptr;

    QAction* largeAct_ = nullptr;
    QAction* reloadAct_ = nullptr;
    QAction* colourAct_ = nullptr;
    QAction* useTransparentAct_ = nullptr;
    QAction* gridAct_ = nullptr;
    QAction* toolBarAct_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* popUseTransparent_ = nullptr;
    QAction* popGrid_ = nullptr;
    QAction* popToolBar_ = nullptr;
};

}  // namespace qrn
