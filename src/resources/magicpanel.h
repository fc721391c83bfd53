// The magic list panel of the settings window: the 50 magics, each with its
// name, cost, success rate, sound and the effect its type uses.
#pragma once

#include <QWidget>
#include <array>

#include "resources/settingparts.h"
#include "scenario/scenario.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QListWidget;
class QRadioButton;
class QSpinBox;

namespace qrn {

class NumericEdit;
class ShortStringEdit;
class Tmagicedit;

class MagicPanel : public QWidget {
    Q_OBJECT
public:
    MagicPanel(Tmagicedit& owner, QWidget* parent);

    // Opens on the remembered magic: list rebuilt, its row selected, shown.
    void makemagiclist();
    void magicview();
    // The list's row for magic n was chosen.
    void selectMagic(int n);
    void mgtypeClick(int kind);   // 0 移動, 1 ｽﾃｰﾀｽ, 2 単体, 3 全体
    void mgmoveClick(bool warp);
    void mgsoundsetClick();
    void mgsounddelClick();
    void mgsoundplayClick();
    void mgantipoisonsetClick();
    void mgantipoisondelClick();
    void magicdelClick();
    void magiceraceClick();
    void mgcloseClick();

    int currentMagic() const { return current_; }
    int rememberedMagic() const { return remembered_; }

    QListWidget* magiclist() const { return list_; }
    ShortStringEdit* magicname() const { return name_; }
    NumericEdit* mgdownmp() const { return downmp_; }
    NumericEdit* mgsuccessedit() const { return successEdit_; }
    QSpinBox* mgsuccess() const { return success_; }
    QButtonGroup* mgtype() const { return type_; }
    QButtonGroup* mgmove() const { return move_; }
    NumericEdit* mghealing() const { return healing_; }
    QCheckBox* mgusebattle() const { return usebattle_; }
    QCheckBox* mgsleep() const { return sleep_; }
    QCheckBox* mgsilence() const { return silence_; }
    NumericEdit* battleValue(int i) const { return values_[static_cast<std::size_t>(i)]; }
    QButtonGroup* targetGroup(int i) const { return targets_[static_cast<std::size_t>(i)]; }
    const RefRow& soundRow() const { return sound_; }
    const RefRow& antipoisonRow() const { return antipoison_; }
    QGroupBox* battlepanel() const { return battle_; }
    QGroupBox* statepanel() const { return state_; }
    QGroupBox* movepanel() const { return movePanel_; }

private:
    MagicDef& magic();
    // The current magic, about to have a value stored (see markMagicEdited).
    MagicDef& edited();
    // The list rebuilt, the current row selected and shown.
    void rebuild();
    QString words();
    void rewriteRow(int n);
    void storeValue(int index, std::int64_t v);

    Tmagicedit& owner_;
    int current_ = 1;
    int remembered_ = 1;
    bool showing_ = false;

    QListWidget* list_;
    ShortStringEdit* name_;
    NumericEdit* downmp_;
    NumericEdit* successEdit_;
    QSpinBox* success_;
    QButtonGroup* type_;
    RefRow sound_;
    QGroupBox* movePanel_;
    QButtonGroup* move_;
    QGroupBox* state_;
    NumericEdit* healing_;
    QCheckBox* usebattle_;
    RefRow antipoison_;
    QGroupBox* battle_;
    std::array<NumericEdit*, 7> values_{};
    std::array<QButtonGroup*, 7> targets_{};
    std::array<QWidget*, 7> targetBoxes_{};
    QWidget* targetHeading_;
    QCheckBox* sleep_;
    QCheckBox* silence_;
};

}  // namespace qrn
