// The terrain page control of the property editor: name, picture, passing,
// encounters, walk image, passing effects and the extend image.
#pragma once

#include <QTabWidget>

#include "properties/pagerows.h"

class QCheckBox;
class QSpinBox;

namespace qrn {

class NumericEdit;
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
    // The caption of a chooser: "：" and the terrain's words before `what`.
    QString prompt(const char* what) const;
    // Clears a reference and shows the terrain again.
    void clearReference(unsigned char& reference);
    void placenameChange();
    void setPicture(bool second);

    Tparamedit& owner_;
    bool rendering_ = false;
    ShortStringEdit* placename_;
    PageRow plfilename_;
    QCheckBox* plmove_;
    PageRow plenemytype_;
    NumericEdit* plwonderingedit_;
    QSpinBox* plwondering_;
    PageRow plwalkimg_;
    PageRow plwantitem_;
    NumericEdit* plhealingedit_;
    QSpinBox* plhealing_;
    NumericEdit* pldamageedit_;
    QSpinBox* pldamage_;
    PageRow plrecover_;
    PageRow plsound_;
    PageRow plextendfilename_;
    PageRow plshowitem_;
    PageRow plshowevent_;
    QList<QWidget*> passingControls_;
};

}  // namespace qrn
