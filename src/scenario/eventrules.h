// Rules that tie the settings of an event together, the ten-slot lists of
// an event and where a stored location lies. Each rule runs before the event
// is shown, so what is shown is what is stored.
#pragma once

#include <optional>
#include <vector>

#include "scenario/scenario.h"

namespace qrn {

// Which settings of the event page are open after the event rules ran.
struct EventControls {
    bool dieOk = false;        // "continue if the hero dies": only with a battle
    bool startComment = false; // before-occurrence comment: not while hidden until the conditions hold
    bool afterEnd = false;     // after-image, after-occurrence comment, "occur again": not while hidden after the end
    bool prologueBgm = false;  // prologue music: only with a prologue comment or image
    bool epilogueBgm = false;  // epilogue music: likewise
    bool operator==(const EventControls&) const = default;
};

// The rules run when the event page opens and after a flag, the battle or a
// prologue / epilogue comment or image changed:
// - no battle: "continue if the hero dies" is cleared;
// - hidden until the conditions hold: no before-occurrence comment;
// - hidden after the end: no after-image, no after-occurrence comment, not
//   occurring again;
// - a prologue (epilogue) without comment and image has no music.
// Comments below 1 count as none. Returns what stays open.
EventControls applyEventRules(EventDef& event, ShortString255& afterImageFile);

// The rules run before every rendering of the event page:
// - an event not hidden after the end without an after-image takes the
//   before-image (file, transparency flag and colour) as its after-image;
//   the returned flag tells the page to load the copied picture;
// - a start item is kept only for the start action "item use" (2).
struct EventViewResult {
    bool afterImageCopied = false;
    bool startItemOpen = false;
    bool operator==(const EventViewResult&) const = default;
};
EventViewResult applyEventViewRules(EventDef& event, const ShortString255& beforeImageFile,
                                    ShortString255& afterImageFile);

// The six flags of the event page by the tag of their check box:
// 1 hide after the end, 2 ending, 3 hide until the conditions hold,
// 4 occur again, 5 continue if the hero dies, 6 no encounters after the end.
// nullptr for any other tag.
u8* eventFlag(EventDef& event, int tag);

inline constexpr int kEventSlots = 10;
using EventSlots = u8[kEventSlots];

// Clears the ten entries, then fills them from the first with the chosen
// numbers that lie within 1..last, ascending, each once; numbers beyond the
// tenth are dropped. Returns how many were dropped.
int fillEventSlots(EventSlots& entries, const std::vector<int>& chosen, int last);
// The numbers in the entries, in slot order, skipping empty entries; numbers
// outside any table are returned as they are (the page shows them as "-").
std::vector<int> eventSlotEntries(const EventSlots& entries);
// The numbers of the entries that lie within 1..last (to preselect a picker).
std::vector<int> validSlotEntries(const EventSlots& entries, int last);

// Column and row (from 1) of a stored location, or nothing when the field is
// not in use or the position lies outside that field's cells.
struct ColumnRow {
    int column = 0;
    int row = 0;
    bool operator==(const ColumnRow&) const = default;
};
std::optional<ColumnRow> locatedCell(const Scenario& s, int field, int position);

}  // namespace qrn
