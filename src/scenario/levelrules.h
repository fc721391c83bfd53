// The level-up table's rules: running totals from the hero's starting values,
// what a typed cell stores, and the automatic setting of a range of levels.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/scenario.h"

namespace qrn {

inline constexpr std::int64_t kMaxExperience = 2147483647;
inline constexpr std::int64_t kMaxStat = 65535;

// The four increases of a level in the order of the grid's columns 2..5.
enum LevelStat { StatPower = 0, StatStrength = 1, StatDextality = 2, StatMp = 3 };
inline constexpr int kLevelStats = 4;
u16 levelStat(const LevelEntry& e, int stat);
void setLevelStat(LevelEntry& e, int stat, u16 value);

// Running totals of each row (row 1 = level 2), computed in 64 bits:
// experience adds while the total is below 2147483647 and is limited to it;
// the stats start from the hero's values and are limited to 65535 after
// each addition.
struct LevelTotals {
    std::array<std::int64_t, kLevelRows> experience{};
    std::array<std::array<std::int64_t, kLevelRows>, kLevelStats> stats{};
};
std::int64_t experienceTotal(const Scenario& s, std::array<std::int64_t, kLevelRows>& out);
std::int64_t statTotal(const Scenario& s, int stat, std::array<std::int64_t, kLevelRows>& out);
LevelTotals levelTotals(const Scenario& s);

// What a typed experience cell stores: a decimal number rounded to four
// decimals, limited to 0..2147483647 and truncated; anything else 0.
i32 experienceFromText(std::string_view text);
// What a typed stat cell stores: an integer limited to 0..65535; anything else 0.
u16 statFromText(std::string_view text);

// Ranges of the automatic setting: levels 2..10, 11..20, 21..30, 31..40,
// 41..50 and all.
inline constexpr int kAutoRanges = 6;
inline constexpr int kAutoAll = 5;
// Level whose experience is the base of a range.
int autoBaseLevel(int range);
// First and last level the range fills.
int autoFirstLevel(int range);
int autoLastLevel(int range);

struct StatBounds {
    std::int64_t lower = 0, upper = 0;
    bool operator==(const StatBounds&) const = default;
};

struct LevelAutoSettings {
    std::int64_t baseExperience = 0;  // whole experience points
    std::int64_t rate = 12000;        // growth rate in ten-thousandths (1.20)
    int range = kAutoAll;
    std::array<StatBounds, kLevelStats> bounds{};  // by LevelStat
};

// Uniform integer in lo..hi (both included).
using DrawInteger = std::function<std::int64_t(std::int64_t lo, std::int64_t hi)>;

// A lower bound above its upper bound becomes the upper bound; bounds are
// limited to 0..65535. Returns the bounds as used.
std::array<StatBounds, kLevelStats> correctedBounds(std::array<StatBounds, kLevelStats> bounds);

// Fills the range: the experience grows from the base by the rate (four
// decimals, halves to even, limited to 2147483647, stored truncated) and each
// stat increase is drawn within its bounds, in the order hit points,
// strength, speed, magic points. Magics are left alone.
void levelAuto(Scenario& s, const LevelAutoSettings& settings, const DrawInteger& draw);

// The lines of the level chart, in this order: the running experience and
// the running hit points, strength, speed and magic points.
inline constexpr int kLevelCurves = 1 + kLevelStats;
// One line: for each row (row 0 = level 2) the running total the grid shows
// and what that level added to it once the limits are applied.
struct LevelCurve {
    std::array<std::int64_t, kLevelRows> total{};
    std::array<std::int64_t, kLevelRows> increase{};
};
// Line 0 is the experience, line 1 + stat a stat; any other line is all zero.
LevelCurve levelCurve(const Scenario& s, int line);
// The experience line as it would be after the automatic setting filled its
// range (the stats it draws at random are not foretold). Changes nothing.
LevelCurve autoExperienceCurve(const Scenario& s, const LevelAutoSettings& settings);
// Levels 2..50 whose row teaches a magic (1..kMagicCount), with that magic,
// lowest level first.
std::vector<std::pair<int, int>> magicLevels(const Scenario& s);

}  // namespace qrn
