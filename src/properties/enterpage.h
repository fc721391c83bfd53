// The building page control of the property editor: name, picture, passing,
// jump, animation image, passing sound and the appearance conditions.
#pragma once

#include <QTabWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qrn {

class PictureBox;
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
    QLabel* enfieldto() const { return enfieldto_; }
    QLabel* enlocatex() const { return enlocatex_; }
    QLabel* enlocatey() const { return enlocatey_; }

private:
    int number() const;
    EnterDef& enter() const;
    QString words() const;
    void enternameChange();
    void setPicture(bool second);

    Tparamedit& owner_;
    bool rendering_ = false;
    ShortStringEdit* entername_;
    QLabel* enfilename_;
    PictureBox* enfilenamepic_;
    QCheckBox* enmove_;
    QLabel* enwantitem_;
    PictureBox* enwantitempic_;
    QPushButton* enwantitemset_;
    QPushButton* enwantitemdel_;
    QLabel* enfieldto_;
    QLabel* enlocatex_;
    QLabel* enlocatey_;
    QPushButton* enfieldtoset_;
    QPushButton* enfieldtodel_;
    QLabel* enopenfilename_;
    PictureBox* enopenfilenamepic_;
    QPushButton* enopenfilenameset_;
    QPushButton* enopenfilenamedel_;
    QLabel* ensound_;
    QPushButton* ensoundset_;
    QPushButton* ensounddel_;
    QPushButton* ensoundplay_;
    QLabel* enshowitem_;
    PictureBox* enshowitempic_;
    QLabel* enshowevent_;
    PictureBox* enshoweventpic_;
    QList<QWidget*> passingControls_;
};

}  // namespace qrn
