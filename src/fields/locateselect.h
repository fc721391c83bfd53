// The location picker: a field and a cell of it, for jump destinations, the
// hero's start and a field's escape location.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qrn {

class CellGrid;
class LocateGrid;
struct Cell;

class Tlocateselect : public QDialog {
    Q_OBJECT
public:
    explicit Tlocateselect(QWidget* parent = nullptr);
    ~Tlocateselect() override;

    // Opens on a location (field 0 or position 0 when there is none) with
    // the caption; call before showing the dialog.
    void makelocategrid(int field, int position, const QString& caption);

    // Results, read after the dialog ended with OK.
    int pickedField() const { return pickedField_; }
    int pickedPosition() const { return pickedPosition_; }

    // Chooses a cell as a click does; false when it is refused (no terrain or
    // a character on it).
    bool selectCell(int col, int row);
    // Chooses the field of a row of the field list.
    void chooseField(int field);
    // "拡縮(&W)": the next cell size, 12, 24, 32 and round again.
    void bufsizeselClick();

    // Cell side of the picture by scale 1..3; the scale outlives the dialog.
    static int locateScale() { return scale_; }
    static int cellPixels(int scale) { return scale == 1 ? 12 : scale == 2 ? 24 : 32; }

    QListWidget* fieldlist() const { return fieldlist_; }
    CellGrid* locategrid() const;
    QLabel* sizes() const { return sizes_; }
    QLabel* xylabel() const { return xylabel_; }
    QLabel* placename() const { return placename_; }
    QLabel* entername() const { return entername_; }
    QLabel* eventname() const { return eventname_; }
    QLabel* itemname() const { return itemname_; }
    // Why the last cell the author tried was refused; empty once one is taken.
    QLabel* locatestatus() const { return status_; }
    QPushButton* okbtn() const { return okbtn_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void makefieldlist();
    void buildGrid();
    void clearDescription();
    void describe(const Cell& cell);
    // Cell number at (column, row) of the picked field, 0 outside it.
    int cellAt(int col, int row) const;
    // Why a cell cannot be chosen (outside the field, a character on it, no
    // terrain), empty when it can.
    QString refusal(int col, int row) const;
    // Checks a cell the author moves to and shows the refusal, if any.
    bool tryCell(int col, int row);

    int pickedField_ = 1;
    int pickedPosition_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    std::array<std::array<int, 120>, 120> cellIndex_{};  // [column][row]

    QListWidget* fieldlist_;
    LocateGrid* grid_;
    QLabel* sizes_;
    QLabel* xylabel_;
    QLabel* placename_;
    QLabel* entername_;
    QLabel* eventname_;
    QLabel* itemname_;
    QLabel* status_;
    QPushButton* okbtn_;
    QPushButton* cancelbtn_;
    QPushButton* bufsizesel_;

    static int scale_;                      // 1..3, 3 at program start
    static Qt::WindowStates windowState_;   // normal at program start

    friend class LocateGrid;
};

}  // namespace qrn
