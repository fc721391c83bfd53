// The hero's rules: the items and magics carried at the start, and the
// attack, defence and speed that the equipment gives.
#pragma once

#include <cstdint>
#include <vector>

#include "scenario/scenario.h"

namespace qrn {

// The non-zero entries of the hero's item / magic slots, in slot order
// (numbers outside the table, from a damaged file, are left out).
std::vector<int> heroItemList(const HeroDef& h);
std::vector<int> heroMagicList(const HeroDef& h);

// Every slot emptied, then the chosen numbers written into the first slots in
// the given order; numbers outside the table and repeats are skipped, and
// what does not fit the slots is dropped. Returns how many were written.
int setHeroItems(HeroDef& h, const std::vector<int>& chosen);
int setHeroMagics(HeroDef& h, const std::vector<int>& chosen);

// The equipment slots in the order weapon, shield, armour, helmet, magic item.
inline constexpr int kHeroEquipSlots = 5;
u8 heroEquipment(const HeroDef& h, int slot);
void setHeroEquipment(HeroDef& h, int slot, u8 item);

// The derived lines of the items page. Totals are limited to 0..65535; the
// bonus sums are shown limited to 0..65535 as well.
struct HeroTotals {
    std::int64_t attack = 0, defence = 0, speed = 0;
    std::int64_t attackBonus = 0, defenceBonus = 0, speedBonus = 0;  // as shown

    bool operator==(const HeroTotals&) const = default;
};
HeroTotals heroTotals(const Scenario& s);

}  // namespace qrn
