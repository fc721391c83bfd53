// The walk preview: the hero walked over the fields by the rules that the
// scenario's data states, one input at a time. Every input returns what
// happened as a list of plain outcomes; the scenario itself is only read.
// It is a preview, not the game: battles are announced and assumed won,
// shops and healers are announced, nothing costs money or hit points.
//
// Coordinates are 0-based column and row within a field (the editor shows
// them plus 1); a field is walkable when it is in use and its size matches
// its run of cells.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cellcomposition.h"
#include "resets.h"
#include "scenario.h"

namespace qrn {

// Directions as the scenario's start direction stores them.
enum class WalkDirection { North = 0, East = 1, South = 2, West = 3 };

enum class WalkKind {
    Blocked,    // the step was refused (reason); the hero only turned
    Jump,       // the hero was moved to field/x/y by a building or an event
    Pickup,     // an item lying on the map was picked up
    Message,    // a comment is shown (with a picture for prologues and epilogues)
    Event,      // an event starts running (its parts follow)
    Battle,     // a battle is announced (an event's group, or an enemy character)
    Encounter,  // the terrain's encounter roll met its group
    Shop,       // a merchant's sale list or a healer's price is shown
    Gain,       // an event gave an item
    Lose,       // an event took an item
    Learn,      // an event taught a magic
    Ending,     // the ending: the walk is over
};

enum class BlockReason { None, Edge, Terrain, Building, Character, Item };

struct WalkOutcome {
    WalkKind kind = WalkKind::Message;
    BlockReason reason = BlockReason::None;  // Blocked
    int item = 0;       // Pickup, Gain, Lose; Blocked for want of an item: that item
    int comment = 0;    // Message: comment 1..500
    std::string image{};  // Message: picture file name of a prologue or epilogue (cp932), else empty
    int event = 0;      // the event the outcome belongs to, 0 for none
    int group = 0;      // Battle, Encounter: enemy group 1..50 (0 for an enemy character's battle)
    int character = 0;  // the character examined (Message, Shop, Battle), 0 for none
    int magic = 0;      // Learn
    int field = 0;      // Jump: destination
    int x = 0;
    int y = 0;
    friend bool operator==(const WalkOutcome&, const WalkOutcome&) = default;
};

using WalkOutcomes = std::vector<WalkOutcome>;

inline constexpr std::uint32_t kWalkSeed = 1;

struct WalkState {
    int field = 0;
    int x = 0;
    int y = 0;
    WalkDirection direction = WalkDirection::North;
    int steps = 0;                         // steps taken (jumps are not steps)
    int frame = 1;                         // walk picture 1..8 for the direction and step
    std::vector<int> items;                // items carried, in the order they came
    std::vector<int> magics;               // magics learned
    std::bitset<kEventCount + 1> eventsRun;
    std::set<int> pickedCells;             // cell numbers whose item has been picked up
    std::set<int> departedCells;           // cell numbers whose character left after the talk
    bool encountersOff = false;            // an event stopped encounters
    bool ended = false;                    // the ending was reached: inputs do nothing more
    std::mt19937 random{kWalkSeed};        // encounter rolls

    bool carries(int item) const;
};

// A field in use whose width and height match its run of cells inside the store.
bool walkableField(const Scenario& s, int field);
// Cell number at column x, row y of a walkable field, or 0.
int walkCell(const Scenario& s, int field, int x, int y);

// At the hero's start location and direction with the hero's starting items
// and magics; nothing when the start lies outside a walkable field.
std::optional<WalkState> startWalk(const Scenario& s, std::uint32_t seed = kWalkSeed);
// The same state at another cell (the hero's items still as at the start);
// nothing when the cell lies outside a walkable field.
std::optional<WalkState> startWalkAt(const Scenario& s, int field, int x, int y, std::uint32_t seed = kWalkSeed);

// Turns the hero and steps one cell. Refused, with the reason, when the
// target lies outside the field, has no terrain in use or one that cannot be
// passed, a building that cannot be passed, a character, or needs an item
// (terrain or building) the hero does not carry. A step picks up the item
// lying there (once per cell), runs an event started by arrival, then
// follows the building's jump; a step that stays on an ordinary cell rolls
// the terrain's encounter.
WalkOutcomes stepWalk(const Scenario& s, WalkState& w, WalkDirection direction);
// Examines the cell the hero stands on (an event started by examining, an
// item obtained by examining), else the cell faced (a character, or such an
// event there).
WalkOutcomes examineWalk(const Scenario& s, WalkState& w);
// Uses a carried item: runs an event started by that item on the hero's
// cell, else on the cell faced; else shows the item's comment. An item not
// carried is refused (Blocked, reason Item).
WalkOutcomes useWalkItem(const Scenario& s, WalkState& w, int item);

// ---- drawing ----------------------------------------------------------------

enum class EventShown { None, Before, After };  // None: no event, or hidden, or gone

// How the walk shows the event of a cell: hidden until its conditions hold,
// gone after it ran when hidden after the end, its after-image once run.
EventShown walkEventShown(const Scenario& s, const WalkState& w, int cellNumber);
// The cell as the walk shows it: the entries that the walk does not show
// (an item picked up, an event hidden or gone, a building or character not
// yet appeared or departed) are 0. An event shown with its after-image keeps
// its number; composeWalkCell draws the after picture.
Cell walkCellView(const Scenario& s, const WalkState& w, int cellNumber);
// The look of a cell in the walk, through the map's cell-composition rule.
CellLook composeWalkCell(const Scenario& s, const WalkState& w, int cellNumber, const PictureIndexTables& pictures,
                         const LayerFlags& visible, int pictureCount);
// The walk image the hero wears: the terrain's under the hero, else the
// scenario's default; 0 when neither names a walk image with a picture for
// the current frame (draw a plain marker).
int heroWalkImage(const Scenario& s, const WalkState& w);
// Picture index of the hero's current frame, or -1 for a plain marker.
int heroPicture(const Scenario& s, const WalkState& w, const PictureIndexTables& pictures, int pictureCount);

// ---- ways -------------------------------------------------------------------

// The shortest run of steps (jumps included; examining and items left out)
// from the walk's cell to stand on field/x/y. The search takes the walk's
// state as it is: items picked up and events run on the way neither open
// nor close ways in it. Nothing when no such run exists.
std::optional<std::vector<WalkDirection>> findWalkPath(const Scenario& s, const WalkState& from, int field, int x,
                                                       int y);

// Cells that some walk from `from` can reach, for the scenario check: the
// hero may carry every item of `obtainable` (plus the walk's own), buildings
// and characters that appear or leave may be there or not, events may have
// run or not. Bytes per cell number (index 0 unused): kReachStood, kReachEntered
// (stepped onto, also when a jump moved the hero on), kReachFaced.
inline constexpr unsigned char kReachStood = 1;
inline constexpr unsigned char kReachEntered = 2;
inline constexpr unsigned char kReachFaced = 4;
std::vector<unsigned char> walkReach(const Scenario& s, const WalkState& from,
                                     const std::bitset<kItemCount + 1>& obtainable);

// Key letters of the command line: U R D L.
char walkKey(WalkDirection d);

}  // namespace qrn
