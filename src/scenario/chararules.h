// Rules of a character's kind (normal, healer, merchant, enemy) and of the
// lists a character keeps: what a change of kind clears, which pages a kind
// opens, the merchant's sale slots, the enemy's magic and special attacks.
#pragma once

#include <vector>

#include "scenario/scenario.h"

namespace qrn {

// Kind values as the record stores them.
inline constexpr int kCharaNormal = 0;
inline constexpr int kCharaHealer = 1;
inline constexpr int kCharaMerchant = 2;
inline constexpr int kCharaEnemy = 3;

// The kind a stored byte stands for; a value no kind has (a damaged file)
// counts as normal.
int charaKind(u8 stored);
// The kind radio group lists normal, enemy, healer, merchant.
int charaKindOfRadio(int radio);  // -1 for an index outside the group
int charaRadioOfKind(int kind);

// Pages of the character page control a kind shows, in page order (0-based:
// general, special, item comments, event comments, enemy general, enemy special).
// Alt+W cycles through them.
std::vector<int> charaPages(int kind);

// Clearing one kind's settings.
// Enemy: status back to 1 hit point and zeros, no drop item or probability,
// no battle image, music or hit sound, no magic or special attacks, special
// attacks never used. Magic defence and the magic frequency stay.
void crenemyini(CharaDef& c);
void crhealerini(CharaDef& c);  // no healing price
void crbuyerini(CharaDef& c);   // the ten sale slots empty
// Normal: the item and event comments, which only a normal character uses.
void crnormalini(CharaDef& c);

// Stores `kind` and clears the settings of every other kind, so that no
// setting of a kind the character no longer has stays behind. A kind outside
// 0..3 stores nothing and returns false.
bool setCharaKind(CharaDef& c, int kind);

// The sale slots from the item picker's choice: cleared, then filled from the
// first slot in ascending item order with the chosen items that have a price
// above 0, at most ten. Numbers outside the item table are left out.
void setCharaSale(CharaDef& c, const Scenario& s, const std::vector<int>& chosenItems);
// The items in the sale slots (for preselection and display), slot order,
// empty and out-of-table slots left out.
std::vector<int> charaSaleItems(const CharaDef& c);

// The five magic slots from the magic picker's choice: cleared, then set from
// the five lowest-numbered chosen magics within 1..50.
void setCharaMagics(CharaDef& c, std::vector<int> chosenMagics);
// Magics in the slots within 1..50, slot order (what the picker marks).
std::vector<int> charaMagics(const CharaDef& c);

// Adds special attack `poison` (1..50) to the first empty slot. Nothing
// happens when it is already in a slot, no slot is empty or the number is
// outside the table; returns whether it was added.
bool addCharaPoison(CharaDef& c, int poison);
// Special attacks in the slots within 1..50, slot order.
std::vector<int> charaPoisons(const CharaDef& c);

}  // namespace qrn
