// What the item, event and magic pickers offer and show: the kind page of
// each object, the chosen and candidate numbers, where the highlight goes
// after a move, and the read-only summaries (UTF-8 lines).
#pragma once

#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace qrn {

using PickSet = std::bitset<256>;

// Item kind pages: weapon, shield, armour, helmet, other, general.
inline constexpr int kItemKinds = 6;
// The item's one kind: its kind flag when exactly one is set; an item with
// none or with several (a damaged file) counts as general, so every item has
// exactly one page.
int itemKind(const ItemDef& item);

// Magic kind pages in page order.
enum class MagicKind { Move = 0, Status = 1, Single = 2, All = 3 };
inline constexpr int kMagicKinds = 4;
// First match wins: all targets, then warp or escape, then no status flag
// (single target), else status.
MagicKind magicKind(const MagicDef& magic);
// A magic exists when its success rate is not 0.
inline bool magicExists(const MagicDef& m) { return m.mgsuccess != 0; }

// A set from numbers; numbers outside 1..last are ignored.
PickSet pickSetOf(const std::vector<int>& numbers, int last);
// The set's numbers within 1..last in ascending order.
std::vector<int> chosenNumbers(const PickSet& chosen, int last);

// Candidates: existing objects that are not chosen (magics: nor excluded),
// by kind page, in ascending order.
std::array<std::vector<int>, kItemKinds> itemCandidates(Scenario& s, const PickSet& chosen);
std::vector<int> eventCandidates(Scenario& s, const PickSet& chosen);
std::array<std::vector<int>, kMagicKinds> magicCandidates(const Scenario& s, const PickSet& chosen,
                                                          const PickSet& excluded);
// Magics the hero already has: the hero's magic list and the level table.
PickSet magicsHeld(const Scenario& s);

// Highlighted line after a list changed: the same line, or the new last
// line when it is now past the end; -1 for an empty list.
int keptHighlight(int oldRow, int newCount);

// The summaries of an object, one line each (blank lines are empty strings).
std::vector<std::string> itemSummary(Scenario& s, int item);
std::vector<std::string> eventSummary(Scenario& s, int event);
std::vector<std::string> magicSummary(Scenario& s, int magic);

}  // namespace qrn
