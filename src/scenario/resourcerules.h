// Rules of the resource lists that decide what is written into the scenario:
// whether an entry is unused, the names given to entries left without one,
// the members of an enemy group and the values of a special attack.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario.h"

namespace qrn {

// The numbered resource tables, in the order of the resource window's lists.
enum class ResKind { Comment, EnemyGroup, Poison, WalkImage, Bgm, Sound, Magic };

// Number of entries of a table (500 comments, 10 walk images, else 50).
int resourceCount(ResKind kind);

// An entry is unused when it equals the entry a reset would leave in its slot
// (the fresh entry of the same number; bytes after a text's length do not
// count). A walk image is also in use when any of its eight pictures is named.
// Numbers outside 1..count are reported unused.
bool resourceUnused(const Scenario& s, ResKind kind, int number);
// Number of entries of a table that are in use.
int resourcesInUse(const Scenario& s, ResKind kind);

// The name of a resource entry (empty for numbers out of range).
std::string_view resourceName(const Scenario& s, ResKind kind, int number);
// Stores a name, cut to 32 bytes at a character boundary; nothing for numbers
// out of range.
void setResourceName(Scenario& s, ResKind kind, int number, std::string_view cp932);

// Gives every entry of the table whose name is empty the name the list shows
// for it: a comment the first 32 bytes of its first line, an enemy group the
// name of its first member, a BGM or sound effect its file name, a walk image
// the file name of its first frame (all cut to 32 bytes at a character
// boundary). Special attacks and magics are left alone. Returns the numbers
// of the entries that got a name.
std::vector<int> fillEmptyNames(Scenario& s, ResKind kind);

// A file name without its extension: everything from the first "." on is
// dropped ("castle.theme.mid" -> "castle"), then cut to 32 bytes.
std::string nameFromFileName(std::string_view cp932FileName);

// ---- enemy groups ------------------------------------------------------------

// Chara numbers (1..250) that may join an enemy group: in use (first picture
// named) and of kind 3 (enemy), in object order.
std::vector<int> enemyCandidates(const Scenario& s);

// Puts `chara` into the group's first empty slot. Returns the slot (1..5), or
// 0 when all five are taken or the chara number is not 1..250 (nothing changes).
int addEnemyMember(EnemyTypeDef& group, int chara);

// Clears slot 1..5 and closes every gap: the remaining members move to the
// front in their order. False (nothing changes) for an empty or invalid slot.
bool removeEnemyMember(EnemyTypeDef& group, int slot);

// ---- walk images ---------------------------------------------------------------

// One tick of the walk animation. Steps 1..15 show frames 2, 1, 2, 3, 4, 3, 4,
// 5, 6, 5, 6, 7, 8, 7, 8; step 16 shows nothing. A step whose frame has no
// picture is passed over at once; when no frame has a picture, nothing is
// shown (frame 0) instead of searching on.
struct WalkStep {
    int step = 1;   // the step now reached (1..16)
    int frame = 0;  // the frame (1..8) to show, 0 for none
};
WalkStep nextWalkStep(int step, const std::array<bool, kWalkFrames>& framePictured);

// ---- special attacks -----------------------------------------------------------

// What a special attack number box does with its text: an empty text changes
// nothing; a text of digits is stored (above 65535 as 65535, and the box then
// shows the stored value); anything else empties the box and changes nothing.
struct PoisonValueInput {
    enum Action { Ignore, Store, ClearBox } action = Ignore;
    std::uint16_t value = 0;
    bool rewriteBox = false;  // the box must show `value` instead of what was typed
};
PoisonValueInput readPoisonValue(std::string_view text);

}  // namespace qrn
