// The magic list's rules: which panels a magic's type uses, and how choosing
// a type or a movement effect rewrites the record so it stays consistent.
#pragma once

#include "scenario/pickerrules.h"
#include "scenario/scenario.h"

namespace qrn {

// The panels of the magic list that a magic's type uses.
struct MagicLook {
    MagicKind kind = MagicKind::Single;
    bool battle = false;   // damage, stat changes, sleep, silence
    bool targets = false;  // the target columns of the battle panel
    bool status = false;   // healing, cure, battle use
    bool move = false;     // warp or escape

    bool operator==(const MagicLook&) const = default;
};

// First match wins: all targets, movement, no status flag, status with and
// without battle use.
MagicLook magicLook(const MagicDef& m);

// Each panel's fields back to 0.
void clearBattleFields(MagicDef& m, bool keepTargets = false);
void clearStatusFields(MagicDef& m);
void clearMoveFields(MagicDef& m);

// Clears the fields of the panels the magic's type does not use (a status
// magic keeps its target flags, which point at the caster); returns the look
// the magic is shown with.
MagicLook settleMagic(MagicDef& m);

// The type chosen in the type group: every panel cleared, then the flags that
// make the type (movement: warp; status: every effect on the caster; single:
// battle use; all: battle use and all targets), then settled. Choosing the
// type the magic already has clears nothing (it only makes a single or all
// magic usable in battle, as choosing it does).
void chooseMagicType(MagicDef& m, MagicKind kind);

// Called whenever a value of the magic is stored: a magic shown as single or
// all targets is one used in battle, so its battle use is set; a status or
// movement magic is left as it is.
void markMagicEdited(MagicDef& m);

// Warp or escape; the other movement flag is cleared.
void chooseMagicMove(MagicDef& m, bool warp);

// The seven battle values and their target flags, in the order of the boxes.
inline constexpr int kMagicBattleValues = 7;
u16 magicBattleValue(const MagicDef& m, int index);
void setMagicBattleValue(MagicDef& m, int index, u16 value);
u8 magicTargetFlag(const MagicDef& m, int index);
void setMagicTargetFlag(MagicDef& m, int index, u8 toCaster);

}  // namespace qrn
