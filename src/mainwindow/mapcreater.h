// The creation dialog of a new scenario or a new field: names, width and
// height in pieces of ten cells, and what is left of the cell pool.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QSlider;

namespace qrn {

class Tmapcreater : public QDialog {
    Q_OBJECT
public:
    // With editor().state.newFieldMode set it creates a field, else a scenario.
    explicit Tmapcreater(QWidget* parent = nullptr);

    QLineEdit* crname() const { return crname_; }
    QLineEdit* crdesigner() const { return crdesigner_; }
    QLineEdit* crfield() const { return crfield_; }
    QSlider* widthSlider() const { return TrackBar2_; }   // 1..12
    QSlider* heightSlider() const { return TrackBar1_; }  // 1..12
    QFrame* shape() const { return Shape1_; }
    QString widthText() const;     // Label7
    QString heightText() const;    // Label8
    QString remainingText() const; // fieldres

    // The text of `crdesigner` when a new scenario is made.
    static QString defaultDesigner() { return {}; }

private:
    void TrackBar2Change();
    void TrackBar1Change();
    void showRemaining();

    QLineEdit* crname_;
    QLineEdit* crdesigner_;
    QLineEdit* crfield_;
    QSlider* TrackBar2_;
    QSlider* TrackBar1_;
    QFrame* Shape1_;
    QLabel* Label7_;
    QLabel* Label8_;
    QLabel* fieldres_;
    int poolLeft_ = 0;  // cells of the pool that a new field may take
};

}  // namespace qrn
