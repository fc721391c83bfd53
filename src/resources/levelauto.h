// The automatic setting of the level-up table: a range of levels filled from
// a base experience, a growth rate and random increases within bounds.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <random>

#include "scenario/levelrules.h"

class QButtonGroup;
class QLabel;
class QSlider;

namespace qrn {

class NumericEdit;
class Tlevellist;

class Tlevelauto : public QWidget {
    Q_OBJECT
public:
    explicit Tlevelauto(Tlevellist& owner);

    // Shows the state: base, rate and range.
    void showState();
    void rangeClick(int range);
    void atplusbarChange(int position);
    void atrunClick();
    void atresetClick();

    // The random source of the increases, seeded from the system unless a
    // test fixes it.
    void setSeed(std::uint64_t seed) { random_.seed(seed); }
    const LevelAutoSettings& state() const { return state_; }

    NumericEdit* atexperienceedit() const { return base_; }
    QSlider* atplusbar() const { return plusbar_; }
    QLabel* atpluslabel() const { return pluslabel_; }
    QButtonGroup* range() const { return range_; }
    // Bound boxes by LevelStat: lower and upper.
    NumericEdit* lowerBox(int stat) const { return lower_[static_cast<std::size_t>(stat)]; }
    NumericEdit* upperBox(int stat) const { return upper_[static_cast<std::size_t>(stat)]; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Tlevellist& owner_;
    LevelAutoSettings state_;
    std::mt19937_64 random_;
    NumericEdit* base_;
    QSlider* plusbar_;
    QLabel* pluslabel_;
    QButtonGroup* range_;
    std::array<NumericEdit*, kLevelStats> lower_{};
    std::array<NumericEdit*, kLevelStats> upper_{};
};

}  // namespace qrn
