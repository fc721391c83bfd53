// Rules that tie the settings of an item to its kind and its special-effect
// flag. Each runs before the item is shown, so what is shown is what is stored.
#pragma once

#include "scenario/scenario.h"

namespace qrn {

inline constexpr int kItemWeapon = 0;
inline constexpr int kItemGeneral = 5;

// Which settings of the item page are open after the kind rules ran.
struct ItemControls {
    bool general = false;      // a general item: healing on use, curing; else walking recovery, resistance
    bool special = false;      // the special-effect box (equipment only)
    bool status = false;       // attack, defence, speed (equipment only)
    bool healing = false;      // healing: general items, equipment with the special effect
    bool healmp = false;       // magic-power recovery: general items only
    bool antipoison = false;   // cured / resisted special attack: as healing
    bool attackSound = false;  // hit sound: weapons only
    bool operator==(const ItemControls&) const = default;
};

// The kind rules, by the item's kind (see itemKind: none or several flags
// count as general):
// - general: no special effect, no attack, defence or speed;
// - equipment: no magic-power recovery;
// - not a weapon: no hit sound.
// Returns what stays open.
ItemControls applyItemRules(ItemDef& item);

// Gives the item kind `kind` (0 weapon .. 5 general): only the kind's flag is
// set and, when the kind changes, the cured / resisted special attack and the
// healing value are cleared (the kind the item is shown with already only
// has its flags put right). Returns false (nothing changed) for a kind
// outside 0..5.
bool setItemKind(ItemDef& item, int kind);

// Sets or clears the special effect; clearing it also clears the walking
// recovery and the resisted special attack.
void setItemSpecial(ItemDef& item, bool on);

// Whether special attack `poison` may be cured (general item) or resisted
// (equipment) by the item: it must be an entry of the table, and one that a
// general item cures must do poison damage.
bool itemTakesSpecialAttack(const Scenario& s, const ItemDef& item, int poison);

}  // namespace qrn
