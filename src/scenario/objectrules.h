// Rules that tie the settings of a terrain or a building together. Each runs
// before the object is shown, so what is shown is what is stored.
#pragma once

#include "scenario/scenario.h"

namespace qrn {

// A terrain made impassable loses everything about walking over it: required
// item, walk image, encounter group and probability, healing, damage, the
// healing/avoiding item and the passing sound. Making it passable sets the
// flag only.
void setPlacePassable(PlaceDef& place, bool passable);

// The two terrain rules: without an extend image there is no extend-image
// item or event; without healing and damage there is no healing/avoiding item.
// Returns true when a field was cleared.
bool applyPlaceRules(PlaceDef& place, const ShortString255& extendImageFile);

// A building that is not passable has no animation image, required item,
// jump or passing sound; its appearance item and event stay.
// Returns true when something was cleared.
bool applyEnterRules(EnterDef& enter, ShortString255& animationImageFile);

// Healing / damage on passing as the up-down shows it: 255 (full, death) as -1.
inline int passingUpDownPosition(u8 value) { return value == 255 ? -1 : value; }

}  // namespace qrn
