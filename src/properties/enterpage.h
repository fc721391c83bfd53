// The building page control of the property editor: name, picture, passing,
// jump, animation image, passing sound and the appearance conditions.
#pragma once

#include <QTabWidget>

#include "properties/pagerows.h"

class QCheckBox;
class QLabel;

namespace qrn {

class ShortStringEdit;
class Tparamedit;
struct EnterDef;

class EnterPage : public QTabWidget {
    Q_OBJECT
public:
    EnterPage(Tparamedit& owner, QWidget* parent);

    // Applies the passable rule and shows every setting.
    void enterview();
    void enmoveClick();

    void enfilenamesetClick();
    void enopenfilenamesetClick();
    void enopenfilenamedelClick();
    void enwantitemsetClick();
    void enwantitemdelClick();
    void enfieldtosetClick();
    void enfieldtodelClick();
    void ensoundsetClick();
    void ensounddelClick();
    void ensoundplayClick();
    void enshowitemsetClick();
    void enshowitemdelClick();
    void enshoweventsetClick();
    void enshoweventdelClick();

    ShortStringEdit* entername() const { return entername_; }
    QCheckBox* enmove() const { return enmove_; }
    QLabel* enfieldto() const { return enfieldto_.value; }
    QLabel* enlocatex() const { return enlocatex_; }
    QLabel* enlocatey() const { return enlocatey_; }

private:
    int number() const;
    EnterDef& enter() const;
    QString words() const;
    // The caption of a chooser: "：" and the building's words before `what`.
    QString prompt(const char* what) const;
    // Clears a reference and shows the building again.
    void clearReference(unsigned char& reference);
    void enternameChange();
    void setPicture(bool second);

    Tparamedit& owner_;
    bool rendering_ = false;
    ShortStringEdit* entername_;
    PageRow enfilename_;
    QCheckBox* enmove_;
    PageRow enwantitem_;
    PageRow enfieldto_;
    QLabel* enlocatex_;
    QLabel* enlocatey_;
    PageRow enopenfilename_;
    PageRow ensound_;
    PageRow enshowitem_;
    PageRow enshowevent_;
    QList<QWidget*> passingControls_;
};

}  // namespace qrn
