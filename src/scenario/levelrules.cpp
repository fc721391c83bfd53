#include "scenario/levelrules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace qrn {

u16 levelStat(const LevelEntry& e, int stat) {
    switch (stat) {
    case StatPower: return e.power;
    case StatStrength: return e.strength;
    case StatDextality: return e.dextality;
    case StatMp: return e.mp;
    default: return 0;
    }
}

void setLevelStat(LevelEntry& e, int stat, u16 v) {
    switch (stat) {
    case StatPower: e.power = v; break;
    case StatStrength: e.strength = v; break;
    case StatDextality: e.dextality = v; break;
    case StatMp: e.mp = v; break;
    default: break;
    }
}

namespace {

std::int64_t runningExperience(std::int64_t start, const LevelEntry* levels, std::array<std::int64_t, kLevelRows>& out) {
    std::int64_t total = start;
    for (int r = 0; r < kLevelRows; ++r) {
        if (total < kMaxExperience) total += levels[r].experience;
        total = std::min(total, kMaxExperience);
        out[static_cast<std::size_t>(r)] = total;
    }
    return total;
}

std::int64_t statStart(const HeroDef& h, int stat) {
    return stat == StatPower      ? h.hemaxpower
           : stat == StatStrength ? h.hestrength
           : stat == StatDextality ? h.hedextality
                                   : h.hemaxmp;
}

// The increases are the steps between totals, starting from `start`.
LevelCurve curveFromTotals(std::int64_t start, const std::array<std::int64_t, kLevelRows>& totals) {
    LevelCurve c;
    c.total = totals;
    std::int64_t before = start;
    for (std::size_t r = 0; r < totals.size(); ++r) {
        c.increase[r] = totals[r] - before;
        before = totals[r];
    }
    return c;
}

}  // namespace

std::int64_t experienceTotal(const Scenario& s, std::array<std::int64_t, kLevelRows>& out) {
    return runningExperience(s.hero.heexperience, s.levels, out);
}

std::int64_t statTotal(const Scenario& s, int stat, std::array<std::int64_t, kLevelRows>& out) {
    std::int64_t total = statStart(s.hero, stat);
    for (int r = 0; r < kLevelRows; ++r) {
        total = std::min(total + levelStat(s.levels[r], stat), kMaxStat);
        out[static_cast<std::size_t>(r)] = total;
    }
    return total;
}

LevelTotals levelTotals(const Scenario& s) {
    LevelTotals t;
    experienceTotal(s, t.experience);
    for (int k = 0; k < kLevelStats; ++k) statTotal(s, k, t.stats[static_cast<std::size_t>(k)]);
    return t;
}

i32 experienceFromText(std::string_view text) {
    // A plain decimal number: optional sign, digits, optional fraction.
    std::string t(text);
    if (t.empty()) return 0;
    std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    bool digits = false, dot = false;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (t[k] >= '0' && t[k] <= '9') digits = true;
        else if (t[k] == '.' && !dot) dot = true;
        else return 0;
    }
    if (!digits) return 0;
    const double v = std::strtod(t.c_str(), nullptr);
    if (!std::isfinite(v) || v <= 0) return 0;
    if (v >= static_cast<double>(kMaxExperience)) return static_cast<i32>(kMaxExperience);
    const double rounded = std::nearbyint(v * 10000.0) / 10000.0;
    return static_cast<i32>(std::min<double>(std::trunc(rounded), static_cast<double>(kMaxExperience)));
}

u16 statFromText(std::string_view text) {
    if (text.empty()) return 0;
    for (char c : text)
        if (c < '0' || c > '9') return 0;
    // Long digit strings are simply too large.
    if (text.size() > 6) return static_cast<u16>(kMaxStat);
    int v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return static_cast<u16>(std::min<int>(v, static_cast<int>(kMaxStat)));
}

int autoBaseLevel(int range) {
    switch (range) {
    case 1: return 10;
    case 2: return 20;
    case 3: return 30;
    case 4: return 40;
    default: return 2;
    }
}

int autoFirstLevel(int range) { return range >= 1 && range <= 4 ? range * 10 + 1 : 3; }
int autoLastLevel(int range) { return range >= 0 && range <= 4 ? range * 10 + 10 : 50; }

std::array<StatBounds, kLevelStats> correctedBounds(std::array<StatBounds, kLevelStats> bounds) {
    for (StatBounds& b : bounds) {
        b.lower = std::clamp<std::int64_t>(b.lower, 0, kMaxStat);
        b.upper = std::clamp<std::int64_t>(b.upper, 0, kMaxStat);
        if (b.lower > b.upper) b.lower = b.upper;
    }
    return bounds;
}

namespace {

// a * b / 10000 in ten-thousandths, halves to even.
std::int64_t mulRate(std::int64_t a, std::int64_t rate) {
    const std::int64_t p = a * rate;  // a <= 2^31 * 10^4, rate <= 2 * 10^4: fits
    std::int64_t q = p / 10000, r = p % 10000;
    if (r > 5000 || (r == 5000 && (q & 1))) ++q;
    return q;
}

// Writes the experience of every level of the range into `levels` (row 0 =
// level 2), as the automatic setting stores it.
void fillAutoExperience(LevelEntry* levels, const LevelAutoSettings& settings) {
    const std::int64_t cap = kMaxExperience * 10000;
    const std::int64_t rate = std::clamp<std::int64_t>(settings.rate, 10000, 20000);
    std::int64_t e = std::clamp<std::int64_t>(settings.baseExperience, 0, kMaxExperience) * 10000;
    for (int level = autoFirstLevel(settings.range); level <= autoLastLevel(settings.range); ++level) {
        e = std::min(mulRate(e, rate), cap);
        levels[level - 2].experience = static_cast<i32>(e / 10000);
    }
}

}  // namespace

void levelAuto(Scenario& s, const LevelAutoSettings& settings, const DrawInteger& draw) {
    const auto bounds = correctedBounds(settings.bounds);
    fillAutoExperience(s.levels, settings);
    for (int level = autoFirstLevel(settings.range); level <= autoLastLevel(settings.range); ++level) {
        LevelEntry& row = s.level(level - 1);
        for (int stat : {StatPower, StatStrength, StatDextality, StatMp}) {
            const StatBounds& b = bounds[static_cast<std::size_t>(stat)];
            const std::int64_t v = b.lower == b.upper ? b.lower : draw(b.lower, b.upper);
            setLevelStat(row, stat, static_cast<u16>(std::clamp<std::int64_t>(v, b.lower, b.upper)));
        }
    }
}

LevelCurve levelCurve(const Scenario& s, int line) {
    std::array<std::int64_t, kLevelRows> totals{};
    if (line == 0) {
        experienceTotal(s, totals);
        return curveFromTotals(s.hero.heexperience, totals);
    }
    if (line < 1 || line > kLevelStats) return {};
    statTotal(s, line - 1, totals);
    return curveFromTotals(statStart(s.hero, line - 1), totals);
}

LevelCurve autoExperienceCurve(const Scenario& s, const LevelAutoSettings& settings) {
    LevelEntry levels[kLevelRows];
    std::copy(std::begin(s.levels), std::end(s.levels), levels);
    fillAutoExperience(levels, settings);
    std::array<std::int64_t, kLevelRows> totals{};
    runningExperience(s.hero.heexperience, levels, totals);
    return curveFromTotals(s.hero.heexperience, totals);
}

std::vector<std::pair<int, int>> magicLevels(const Scenario& s) {
    std::vector<std::pair<int, int>> out;
    for (int r = 0; r < kLevelRows; ++r)
        if (const int m = s.levels[r].magic; m >= 1 && m <= kMagicCount) out.emplace_back(r + 2, m);
    return out;
}

}  // namespace qrn
