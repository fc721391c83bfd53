// The hero panel of the settings window: name, start, starting values,
// equipment, items carried and magics known.
#pragma once

#include <QWidget>
#include <array>

#include "resources/settingparts.h"
#include "scenario/scenario.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QSpinBox;
class QTabWidget;

namespace qrn {

class NumericEdit;
class ShortStringEdit;
class Tmagicedit;

class HeroPanel : public QWidget {
    Q_OBJECT
public:
    HeroPanel(Tmagicedit& owner, QWidget* parent);

    // Opens on the status page with every page filled.
    void makeherolist();
    void heroview();
    void hepagechangebtnClick();
    void helinksetClick();
    void helinkdelClick();
    // Equipment slot 0 weapon, 1 shield, 2 armour, 3 helmet, 4 magic item.
    void equipsetClick(int slot);
    void equipdelClick(int slot);
    void heitemusesetClick();
    void heitemusedelClick();
    void hemagicsetClick();
    void hemagicdelClick();

    QTabWidget* herocontrol() const { return pages_; }
    ShortStringEdit* heroname() const { return name_; }
    QCheckBox* hechangename() const { return changeName_; }
    const RefRow& linkRow() const { return link_; }
    QLabel* helocatex() const { return locateX_; }
    QLabel* helocatey() const { return locateY_; }
    QButtonGroup* hestarthoukou() const { return direction_; }
    NumericEdit* hemaxitem() const { return maxItem_; }
    NumericEdit* hrleveledit() const { return levelEdit_; }
    QSpinBox* helevelset() const { return levelSet_; }
    // 0 hemaxpower, 1 hemaxmp, 2 hestrength, 3 hedextality.
    NumericEdit* statBox(int i) const { return stats_[static_cast<std::size_t>(i)]; }
    NumericEdit* heexperience() const { return experience_; }
    NumericEdit* hemoney() const { return money_; }
    const RefRow& equipRow(int slot) const { return equip_[static_cast<std::size_t>(slot)]; }
    QLabel* hestrdisp() const { return strDisp_; }
    QLabel* hedefdisp() const { return defDisp_; }
    QLabel* hedexdisp() const { return dexDisp_; }
    QListWidget* itemuselist() const { return items_; }
    QListWidget* hemagiclist() const { return magics_; }

private:
    HeroDef& hero();
    QString heroWords();

    Tmagicedit& owner_;
    bool showing_ = false;
    QTabWidget* pages_;
    ShortStringEdit* name_;
    QCheckBox* changeName_;
    RefRow link_;
    QLabel* locateX_;
    QLabel* locateY_;
    QButtonGroup* direction_;
    NumericEdit* maxItem_;
    NumericEdit* levelEdit_;
    QSpinBox* levelSet_;
    std::array<NumericEdit*, 4> stats_{};
    NumericEdit* experience_;
    NumericEdit* money_;
    std::array<RefRow, 5> equip_{};
    QLabel* strDisp_;
    QLabel* defDisp_;
    QLabel* dexDisp_;
    QListWidget* items_;
    QListWidget* magics_;
};

}  // namespace qrn
