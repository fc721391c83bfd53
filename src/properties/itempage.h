// The item page control of the property editor: name, image, kind, price,
// use count, the effects of using or wearing the item, and its comment,
// sounds and music.
#pragma once

#include <QTabWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qrn {

class NumericEdit;
class PictureBox;
class ShortStringEdit;
class Tparamedit;
struct ItemDef;

class ItemPage : public QTabWidget {
    Q_OBJECT
public:
    ItemPage(Tparamedit& owner, QWidget* parent);

    // Applies the kind rules, shows the item and sets the two use boxes.
    void itemini();
    // Shows every other setting.
    void itemview();

    void itgroupClick(int kind);
    void itspecialClick();
    void itusetypeClick(QCheckBox* box);
    void itshowserchClick();

    void itfilenamesetClick();
    void itmagicsetClick();
    void itmagicdelClick();
    void itantipoisonsetClick();
    void itantipoisondelClick();
    void itcommentsetClick();
    void itcommentdelClick();
    void itsoundsetClick();
    void itsounddelClick();
    void itsoundplayClick();
    void itattacksoundsetClick();
    void itattacksounddelClick();
    void itattacksoundplayClick();
    void itfindbgmsetClick();
    void itfindbgmdelClick();
    void itfindbgmplayClick();

    ShortStringEdit* itemname() const { return itemname_; }
    QRadioButton* kindButton(int kind) const;
    QCheckBox* itspecial() const { return itspecial_; }
    QCheckBox* itbattleuse() const { return itbattleuse_; }
    QCheckBox* itfielduse() const { return itfielduse_; }
    QCheckBox* itshowserch() const { return itshowserch_; }
    NumericEdit* itmoney() const { return itmoney_; }
    NumericEdit* itcount() const { return itcount_; }
    NumericEdit* itstrength() const { return itstrength_; }
    NumericEdit* itdefence() const { return itdefence_; }
    NumericEdit* itdextality() const { return itdextality_; }
    NumericEdit* ithealing() const { return ithealing_; }
    NumericEdit* ithealmp() const { return ithealmp_; }
    QLabel* ithelabel() const { return ithelabel_; }
    QLabel* label(const char* name) const;
    QPushButton* button(const char* name) const;

private:
    int number() const;
    ItemDef& item() const;
    QString words() const;
    void itemnameChange();

    Tparamedit& owner_;
    bool rendering_ = false;
    ShortStringEdit* itemname_;
    QLabel* itfilename_;
    PictureBox* itempic_;
    QButtonGroup* itgroup_;
    QCheckBox* itspecial_;
    NumericEdit* itmoney_;
    NumericEdit* itcount_;
    NumericEdit* itstrength_;
    NumericEdit* itdefence_;
    NumericEdit* itdextality_;
    NumericEdit* ithealing_;
    NumericEdit* ithealmp_;
    QLabel* ithelabel_;
    QLabel* itantipoison_;
    QPushButton* itantipoisonset_;
    QPushButton* itantipoisondel_;
    QLabel* itmagic_;
    QCheckBox* itbattleuse_;
    QCheckBox* itfielduse_;
    QLabel* itcomment_;
    QLabel* itsound_;
    QPushButton* itsoundplay_;
    QLabel* itattacksound_;
    QList<QWidget*> attackSoundControls_;
    QPushButton* itattacksoundplay_;
    QLabel* itfindbgm_;
    QPushButton* itfindbgmplay_;
    QCheckBox* itshowserch_;
};

}  // namespace qrn
