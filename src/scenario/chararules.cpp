#include "scenario/chararules.h"

#include <algorithm>

namespace qrn {

namespace {

template <std::size_t N>
std::vector<int> slotsWithin(const u8 (&slots)[N], int last) {
    std::vector<int> out;
    for (u8 v : slots)
        if (v >= 1 && v <= last) out.push_back(v);
    return out;
}

}  // namespace

int charaKind(u8 stored) { return stored <= kCharaEnemy ? stored : kCharaNormal; }

int charaKindOfRadio(int radio) {
    switch (radio) {
    case 0: return kCharaNormal;
    case 1: return kCharaEnemy;
    case 2: return kCharaHealer;
    case 3: return kCharaMerchant;
    default: return -1;
    }
}

int charaRadioOfKind(int kind) {
    switch (kind) {
    case kCharaEnemy: return 1;
    case kCharaHealer: return 2;
    case kCharaMerchant: return 3;
    default: return 0;
    }
}

std::vector<int> charaPages(int kind) {
    switch (kind) {
    case kCharaNormal: return {0, 1, 2, 3};
    case kCharaEnemy: return {0, 1, 4, 5};
    case kCharaHealer:
    case kCharaMerchant: return {0, 1};
    default: return charaPages(kCharaNormal);
    }
}

void crenemyini(CharaDef& c) {
    c.chpower = 1;
    c.chattack = 0;
    c.chdefence = 0;
    c.chdextality = 0;
    c.chmoney = 0;
    c.chexperience = 0;
    c.chitem = 0;
    c.chitemput = 0;
    c.chpoisonuse = 0;
    c.chbossimg.clear();
    c.chbattlebgm = 0;
    c.chbattlesound = 0;
    std::fill(std::begin(c.chmagic), std::end(c.chmagic), u8{0});
    std::fill(std::begin(c.chpoison), std::end(c.chpoison), u8{0});
}

void crhealerini(CharaDef& c) { c.chhealmoney = 0; }

void crbuyerini(CharaDef& c) { std::fill(std::begin(c.chsale), std::end(c.chsale), u8{0}); }

void crnormalini(CharaDef& c) {
    for (int i = 0; i < 5; ++i) {
        c.chwantitem[i] = 0;
        c.chitemcomment[i] = 0;
        c.chwantevent[i] = 0;
        c.cheventcomment[i] = 0;
    }
}

bool setCharaKind(CharaDef& c, int kind) {
    if (kind < kCharaNormal || kind > kCharaEnemy) return false;
    c.chcharatype = static_cast<u8>(kind);
    if (kind != kCharaNormal) crnormalini(c);
    if (kind != kCharaEnemy) crenemyini(c);
    if (kind != kCharaHealer) crhealerini(c);
    if (kind != kCharaMerchant) crbuyerini(c);
    return true;
}

void setCharaSale(CharaDef& c, const Scenario& s, const std::vector<int>& chosenItems) {
    std::vector<int> items;
    for (int n : chosenItems)
        if (n >= 1 && n <= kItemCount && s.items[n - 1].itmoney > 0) items.push_back(n);
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    crbuyerini(c);
    for (std::size_t i = 0; i < items.size() && i < std::size(c.chsale); ++i) c.chsale[i] = static_cast<u8>(items[i]);
}

std::vector<int> charaSaleItems(const CharaDef& c) { return slotsWithin(c.chsale, kItemCount); }

void setCharaMagics(CharaDef& c, std::vector<int> chosen) {
    std::erase_if(chosen, [](int n) { return n < 1 || n > kMagicCount; });
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    std::fill(std::begin(c.chmagic), std::end(c.chmagic), u8{0});
    for (std::size_t i = 0; i < chosen.size() && i < std::size(c.chmagic); ++i)
        c.chmagic[i] = static_cast<u8>(chosen[i]);
}

std::vector<int> charaMagics(const CharaDef& c) { return slotsWithin(c.chmagic, kMagicCount); }

bool addCharaPoison(CharaDef& c, int poison) {
    if (poison < 1 || poison > kPoisonCount) return false;
    if (std::find(std::begin(c.chpoison), std::end(c.chpoison), poison) != std::end(c.chpoison)) return false;
    // A slot holding a number outside the table is as good as empty.
    for (u8& slot : c.chpoison) {
        if (slot == 0 || slot > kPoisonCount) {
            slot = static_cast<u8>(poison);
            return true;
        }
    }
    return false;
}

std::vector<int> charaPoisons(const CharaDef& c) { return slotsWithin(c.chpoison, kPoisonCount); }

}  // namespace qrn
