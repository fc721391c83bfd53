// The field manager: the tree of fields by their jump links, each field's
// own settings and warp points, and opening, resizing and deleting fields.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qrn {

class Tlocateselect;
class Tsizechangeform;

class Tfieldman : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfieldman(QWidget* parent = nullptr);
    ~Tfieldman() override;

    // Follows the main window's field: tree, warp lists and settings anew,
    // with that field's node selected. Run on every show.
    void makefieldman();
    // The tree of fields and the field count.
    void fieldtreereset();
    // The settings panel and the jump list of the selected field.
    void fieldview();
    // The two warp point lists of the selected field.
    void warpview();

    int selectedField() const { return selectedField_; }
    // Selects a field's node as a click does (any of 1..100).
    void selectField(int field);

    // Commands of the window.
    void openbtnClick();
    void fielddelClick();
    void sizechangebtnClick();
    void infoviewClick();
    void warpsetClick();
    void warpdelClick();
    void jamplistActivate(int row);
    void fieldlocatesetClick();
    void fieldlinkdelClick();
    void fiitimagesetClick();
    void fiitimagedelClick();
    void fieldbgmplayClick();
    void fieldbgmdelClick();
    void fieldnameChange(const QString& text);
    void fieldsaveClick(bool on);

    // How the modal dialogs run; tests replace them to answer without a
    // human. Each returns true when its dialog ended with OK.
    std::function<bool(Tsizechangeform&, int width, int height, int freeCells)> runSizeDialog;
    std::function<bool(Tlocateselect&)> runLocatePicker;

    QTreeWidget* fieldtree() const { return fieldtree_; }
    QListWidget* jamplist() const { return jamplist_; }
    QListWidget* warptarget() const { return warptarget_; }
    QListWidget* warplist() const { return warplist_; }
    QWidget* fieldpanel() const { return fieldpanel_; }
    QLabel* fieldcount() const { return fieldcount_; }
    QLabel* fieldsize() const { return fieldsize_; }
    QLineEdit* fieldname() const { return fieldname_; }
    QLabel* fieldlink() const { return fieldlink_; }
    QLabel* linklox() const { return linklox_; }
    QLabel* linkloy() const { return linkloy_; }
    QLabel* fiitimage() const { return fiitimage_; }
    QLabel* fieldbgm() const { return fieldbgm_; }
    QPushButton* fieldbgmset() const { return fieldbgmset_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildWindow();
    QWidget* buildLeftColumn();
    QWidget* buildPanel();
    QTreeWidgetItem* nodeOf(int field) const;
    void treeSelectionChanged(QTreeWidgetItem* item);
    void makejamplist();
    bool panelOn() const;
    void applyPanel(bool resizeWindow);
    // Keeps a list's selection on the same row, or on its last row.
    static void reselect(QListWidget* list, int row);

    int selectedField_ = 1;
    bool filling_ = false;    // widgets are being filled from the scenario
    bool firstShow_ = true;
    bool panelFallback_ = true;  // the panel switch when there are no options

    QTreeWidget* fieldtree_ = nullptr;
    QLabel* fieldcount_ = nullptr;
    QLabel* fieldsize_ = nullptr;
    QListWidget* jamplist_ = nullptr;
    QPushButton* openbtn_ = nullptr;
    QPushButton* infoview_ = nullptr;
    QPushButton* sizechangebtn_ = nullptr;
    QPushButton* fielddel_ = nullptr;

    QWidget* fieldpanel_ = nullptr;
    QLineEdit* fieldname_ = nullptr;
    QCheckBox* fieldsave_ = nullptr;
    QPushButton* fieldbgmset_ = nullptr;
    QPushButton* fieldbgmplay_ = nullptr;
    QPushButton* fieldbgmdel_ = nullptr;
    QLabel* fieldbgm_ = nullptr;
    QPushButton* fieldlocateset_ = nullptr;
    QPushButton* fieldlinkdel_ = nullptr;
    QLabel* fieldlink_ = nullptr;
    QLabel* linklox_ = nullptr;
    QLabel* linkloy_ = nullptr;
    QPushButton* fiitimageset_ = nullptr;
    QPushButton* fiitimagedel_ = nullptr;
    QLabel* fiitimage_ = nullptr;
    QLabel* fiitimagepic_ = nullptr;
    QListWidget* warptarget_ = nullptr;
    QListWidget* warplist_ = nullptr;
    QPushButton* warpset_ = nullptr;
    QPushButton* warpdel_ = nullptr;
};

}  // namespace qrn
