#include "scenario/magicrules.h"

namespace qrn {

MagicLook magicLook(const MagicDef& m) {
    MagicLook look;
    look.kind = magicKind(m);
    switch (look.kind) {
    case MagicKind::All:
    case MagicKind::Single:
        look.battle = true;
        look.targets = true;
        break;
    case MagicKind::Move: look.move = true; break;
    case MagicKind::Status:
        look.status = true;
        look.battle = m.mgusebattle != 0;
        break;
    }
    return look;
}

void clearBattleFields(MagicDef& m, bool keepTargets) {
    for (int i = 0; i < kMagicBattleValues; ++i) {
        setMagicBattleValue(m, i, 0);
        if (!keepTargets) setMagicTargetFlag(m, i, 0);
    }
    m.mgsleep = 0;
    m.mgsilence = 0;
    m.mgusebattle = 0;
    m.allTargets = 0;
}

void clearStatusFields(MagicDef& m) {
    m.mghealing = 0;
    m.mgantipoison = 0;
    m.statusMagic = 0;
}

void clearMoveFields(MagicDef& m) {
    m.escapeMagic = 0;
    m.warpMagic = 0;
}

MagicLook settleMagic(MagicDef& m) {
    const MagicLook look = magicLook(m);
    // A status magic acts on the caster: its hidden target flags stay.
    if (!look.battle) clearBattleFields(m, look.kind == MagicKind::Status);
    if (!look.status) clearStatusFields(m);
    if (!look.move) clearMoveFields(m);
    return look;
}

void markMagicEdited(MagicDef& m) {
    const MagicKind kind = magicKind(m);
    if (kind == MagicKind::Single || kind == MagicKind::All) m.mgusebattle = 1;
}

void chooseMagicType(MagicDef& m, MagicKind kind) {
    // A click on the checked type is still reported; it must not wipe the
    // values the author has typed.
    if (magicKind(m) == kind) {
        markMagicEdited(m);
        return;
    }
    clearBattleFields(m);
    clearStatusFields(m);
    clearMoveFields(m);
    switch (kind) {
    case MagicKind::Move: m.warpMagic = 1; break;
    case MagicKind::Status:
        m.statusMagic = 1;
        for (int i = 0; i < kMagicBattleValues; ++i) setMagicTargetFlag(m, i, 1);
        break;
    case MagicKind::Single: m.mgusebattle = 1; break;
    case MagicKind::All:
        m.mgusebattle = 1;
        m.allTargets = 1;
        break;
    }
    settleMagic(m);
}

void chooseMagicMove(MagicDef& m, bool warp) {
    clearMoveFields(m);
    if (warp) m.warpMagic = 1;
    else m.escapeMagic = 1;
}

u16 magicBattleValue(const MagicDef& m, int index) {
    switch (index) {
    case 0: return m.mgdamage;
    case 1: return m.mgupstr;
    case 2: return m.mgdownstr;
    case 3: return m.mgupdef;
    case 4: return m.mgdowndef;
    case 5: return m.mgupdex;
    case 6: return m.mgdowndex;
    default: return 0;
    }
}

void setMagicBattleValue(MagicDef& m, int index, u16 v) {
    switch (index) {
    case 0: m.mgdamage = v; break;
    case 1: m.mgupstr = v; break;
    case 2: m.mgdownstr = v; break;
    case 3: m.mgupdef = v; break;
    case 4: m.mgdowndef = v; break;
    case 5: m.mgupdex = v; break;
    case 6: m.mgdowndex = v; break;
    default: break;
    }
}

u8 magicTargetFlag(const MagicDef& m, int index) {
    switch (index) {
    case 0: return m.mgdamagetome;
    case 1: return m.mgupstrtome;
    case 2: return m.mgdownstrtome;
    case 3: return m.mgupdeftome;
    case 4: return m.mgdowndeftome;
    case 5: return m.mgupdextome;
    case 6: return m.mgdowndextome;
    default: return 0;
    }
}

void setMagicTargetFlag(MagicDef& m, int index, u8 v) {
    switch (index) {
    case 0: m.mgdamagetome = v; break;
    case 1: m.mgupstrtome = v; break;
    case 2: m.mgdownstrtome = v; break;
    case 3: m.mgupdeftome = v; break;
    case 4: m.mgdowndeftome = v; break;
    case 5: m.mgupdextome = v; break;
    case 6: m.mgdowndextome = v; break;
    default: break;
    }
}

}  // namespace qrn
