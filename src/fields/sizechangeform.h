// The size dialog of a field: the new width and height in steps of 10.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qrn {

class Tsizechangeform : public QDialog {
    Q_OBJECT
public:
    explicit Tsizechangeform(QWidget* parent = nullptr);

    // Presets the dialog with the current size and the free pool cells.
    void setup(int width, int height, int freeCells);
    // Shows the dialog modally; true when it ended with OK. The chosen size
    // is newWidth() x newHeight().
    bool sizechange(int width, int height, int freeCells);

    int newWidth() const { return newWidth_; }
    int newHeight() const { return newHeight_; }

    // The up-down buttons: `up` adds 10 (120 wraps to 10), otherwise
    // subtracts 10 (10 wraps to 120).
    void xupClick(bool up);
    void yupClick(bool up);
    // "OK": ends with OK unless the size is unchanged or does not fit.
    void okbtnClick();

    QLabel* oldx() const { return oldx_; }
    QLabel* oldy() const { return oldy_; }
    QLineEdit* newx() const { return newx_; }
    QLineEdit* newy() const { return newy_; }
    QPushButton* okbtn() const { return okbtn_; }

private:
    static int stepped(int side, bool up);
    void showNewSize();
    QToolButton* arrowButton(const QString& name, Qt::ArrowType arrow);

    int oldWidth_ = 10, oldHeight_ = 10;
    int newWidth_ = 10, newHeight_ = 10;
    int freeCells_ = 0;
    QLabel* oldx_;
    QLabel* oldy_;
    QLineEdit* newx_;
    QLineEdit* newy_;
    QPushButton* okbtn_;
    QPushButton* cancelbtn_;
};

}  // namespace qrn
