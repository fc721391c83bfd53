// The terrain page control of the property editor: name, picture, passing,
// encounters, walk image, passing effects and the extend image.
#pragma once

#include <QTabWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qrn {

class NumericEdit;
class PictureBox;
class ShortStringEdit;
class Tparamedit;
struct PlaceDef;

class PlacePage : public QTabWidget {
    Q_OBJECT
public:
    PlacePage(Tparamedit& owner, QWidget* parent);

    // Applies the passable rule to the controls and shows the terrain.
    void plmoveset();
    // Applies the terrain rules and shows every setting.
    void placeview();
    void plmoveClick();

    void plfilenamesetClick();
    void plextendfilenamesetClick();
    void plextendfilenamedelClick();
    void plenemytypesetClick();
    void plenemytypedelClick();
    void plwalkimgsetClick();
    void plwalkimgdelClick();
    void plwantitemsetClick();
    void plwantitemdelClick();
    void plrecoversetClick();
    void plrecoverdelClick();
    void plsoundsetClick();
    void plsounddelClick();
    void plsoundplayClick();
    void plshowitemsetClick();
    void plshowitemdelClick();
    void plshoweventsetClick();
    void plshoweventdelClick();

    ShortStringEdit* placename() const { return placename_; }
    QCheckBox* plmove() const { return plmove_; }
    NumericEdit* plwonderingedit() const { return plwonderingedit_; }
    NumericEdit* plhealingedit() const { return plhealingedit_; }
    NumericEdit* pldamageedit() const { return pldamageedit_; }
    QSpinBox* plhealing() const { return plhealing_; }
    QSpinBox* pldamage() const { return pldamage_; }

private:
    int number() const;
    PlaceDef& place() const;
    QString words() const;
    void placenameChange();
    void setPicture(bool second);

    Tparamedit& owner_;
    bool rendering_ = false;
    ShortStringEdit* placename_;
    QLabel* plfilename_;
    PictureBox* plfilenamepic_;
    QCheckBox* plmove_;
    QLabel* plenemytype_;
    QPushButton* plenemytypeset_;
    QPushButton* plenemytypedel_;
    NumericEdit* plwonderingedit_;
    QSpinBox* plwondering_;
    QLabel* plwalkimg_;
    PictureBox* plwalkimgpic_;
    QPushButton* plwalkimgset_;
    QPushButton* plwalkimgdel_;
    QLabel* plwantitem_;
    PictureBox* plwantitempic_;
    QPushButton* plwantitemset_;
    QPushButton* plwantitemdel_;
    NumericEdit* plhealingedit_;
    QSpinBox* plhealing_;
    NumericEdit* pldamageedit_;
    QSpinBox* pldamage_;
    QLabel* plrecover_;
    PictureBox* plrecoverpic_;
    QPushButton* plrecoverset_;
    QPushButton* plrecoverdel_;
    QLabel* plsound_;
    QPushButton* plsoundset_;
    QPushButton* plsounddel_;
    QPushButton* plsoundplay_;
    QLabel* plextendfilename_;
    PictureBox* plextendfilenamepic_;
    QPushButton* plextendfilenameset_;
    QPushButton* plextendfilenamedel_;
    QLabel* plshowitem_;
    QPushButton* plshowitemset_;
    QPushButton* plshowitemdel_;
    QLabel* plshowevent_;
    QPushButton* plshoweventset_;
    QPushButton* plshoweventdel_;
    QList<QWidget*> passingControls_;
};

}  // namespace qrn
