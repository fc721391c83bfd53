// The chip search dialog: shows the searched object and asks for the range
// (all fields or the current one) and the start (the top of the field or
// the map's cursor). Made for one use.
#pragma once

#include <QDialog>

class QLabel;
class QRadioButton;
class QGroupBox;

namespace qrn {

class Tchipserch : public QDialog {
    Q_OBJECT
public:
    // `layer` is the palette's layer (1 place .. 5 chara), `number` the object.
    Tchipserch(int layer, int number, QWidget* parent = nullptr);

    bool allFields() const { return allFields_; }
    bool fromTop() const { return fromTop_; }

    QLabel* serchchippic() const { return serchchippic_; }
    QLabel* serchchipname() const { return serchchipname_; }
    QGroupBox* serchrangegroup() const { return serchrangegroup_; }
    QGroupBox* serchstartgroup() const { return serchstartgroup_; }
    QRadioButton* allFieldsButton() const { return allButton_; }
    QRadioButton* currentFieldButton() const { return currentButton_; }
    QRadioButton* topButton() const { return topButton_; }
    QRadioButton* cursorButton() const { return cursorButton_; }

private:
    void rangeChosen();
    void startChosen();

    QLabel* serchchippic_;
    QLabel* serchchipname_;
    QGroupBox* serchrangegroup_;
    QGroupBox* serchstartgroup_;
    QRadioButton* allButton_;
    QRadioButton* currentButton_;
    QRadioButton* topButton_;
    QRadioButton* cursorButton_;
    bool allFields_ = false;
    bool fromTop_ = false;
};

}  // namespace qrn
