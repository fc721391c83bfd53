#include "scenario/herorules.h"

#include <algorithm>
#include <bitset>

namespace qrn {

namespace {

template <std::size_t N>
std::vector<int> nonZero(const u8 (&slots)[N], int last) {
    std::vector<int> out;
    for (u8 n : slots)
        if (n >= 1 && n <= last) out.push_back(n);
    return out;
}

template <std::size_t N>
int compact(u8 (&slots)[N], const std::vector<int>& chosen, int last) {
    std::fill(std::begin(slots), std::end(slots), u8{0});
    std::bitset<256> seen;
    std::size_t k = 0;
    for (int n : chosen) {
        if (k == N) break;
        if (n < 1 || n > last || seen[static_cast<std::size_t>(n)]) continue;
        seen.set(static_cast<std::size_t>(n));
        slots[k++] = static_cast<u8>(n);
    }
    return static_cast<int>(k);
}

std::int64_t limited(std::int64_t v) { return std::clamp<std::int64_t>(v, 0, 65535); }

}  // namespace

std::vector<int> heroItemList(const HeroDef& h) { return nonZero(h.heroItems, kItemCount); }
std::vector<int> heroMagicList(const HeroDef& h) { return nonZero(h.heroMagics, kMagicCount); }

int setHeroItems(HeroDef& h, const std::vector<int>& chosen) { return compact(h.heroItems, chosen, kItemCount); }
int setHeroMagics(HeroDef& h, const std::vector<int>& chosen) { return compact(h.heroMagics, chosen, kMagicCount); }

u8 heroEquipment(const HeroDef& h, int slot) {
    switch (slot) {
    case 0: return h.heweapon;
    case 1: return h.heshield;
    case 2: return h.hearmor;
    case 3: return h.hehelm;
    case 4: return h.hemagicitem;
    default: return 0;
    }
}

void setHeroEquipment(HeroDef& h, int slot, u8 item) {
    switch (slot) {
    case 0: h.heweapon = item; break;
    case 1: h.heshield = item; break;
    case 2: h.hearmor = item; break;
    case 3: h.hehelm = item; break;
    case 4: h.hemagicitem = item; break;
    default: break;
    }
}

HeroTotals heroTotals(const Scenario& s) {
    const HeroDef& h = s.hero;
    std::int64_t a = 0, d = 0, sp = 0;
    for (int slot = 0; slot < kHeroEquipSlots; ++slot) {
        const int n = heroEquipment(h, slot);
        if (n < 1 || n > kItemCount) continue;
        const ItemDef& it = s.items[n - 1];
        a += it.itstrength;
        d += it.itdefence;
        sp += it.itdextality;
    }
    const std::int64_t strength = h.hestrength, dex = h.hedextality;
    HeroTotals t;
    t.attack = limited(strength + a);
    t.defence = limited(dex / 2 + d);
    t.speed = limited(dex + sp);
    t.attackBonus = limited(a);
    t.defenceBonus = limited(d);
    t.speedBonus = limited(sp);
    return t;
}

}  // namespace qrn
