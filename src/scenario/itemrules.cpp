#include "scenario/itemrules.h"

#include "scenario/pickerrules.h"

namespace qrn {

ItemControls applyItemRules(ItemDef& it) {
    ItemControls open;
    const int kind = itemKind(it);
    open.general = kind == kItemGeneral;
    if (open.general) {
        it.itspecial = 0;
        it.itstrength = 0;
        it.itdefence = 0;
        it.itdextality = 0;
        open.healing = true;
        open.healmp = true;
        open.antipoison = true;
    } else {
        it.ithealmp = 0;
        open.special = true;
        open.status = true;
        open.healing = it.itspecial != 0;
        open.antipoison = it.itspecial != 0;
    }
    open.attackSound = kind == kItemWeapon;
    if (!open.attackSound) it.itattacksound = 0;
    return open;
}

bool setItemKind(ItemDef& it, int kind) {
    if (kind < 0 || kind >= kItemKinds) return false;
    if (kind != itemKind(it)) {
        it.itantipoison = 0;
        it.ithealing = 0;
    }
    for (u8& flag : it.itgroup) flag = 0;
    it.itgroup[kind] = 1;
    return true;
}

void setItemSpecial(ItemDef& it, bool on) {
    if (on) {
        it.itspecial = 1;
        return;
    }
    it.itspecial = 0;
    it.ithealing = 0;
    it.itantipoison = 0;
}

bool itemTakesSpecialAttack(const Scenario& s, const ItemDef& it, int poison) {
    if (poison < 1 || poison > kPoisonCount) return false;
    if (itemKind(it) != kItemGeneral) return true;
    return s.poisons[poison - 1].podamage != 0;
}

}  // namespace qrn
