#include "scenario/eventrules.h"

#include <algorithm>

namespace qrn {

EventControls applyEventRules(EventDef& e, ShortString255& afterImage) {
    EventControls open;
    if (e.evenemy == 0) e.evdieok = 0;
    open.dieOk = e.evenemy != 0;
    if (e.evstarthide != 0) e.evstartcomment = 0;
    open.startComment = e.evstarthide == 0;
    if (e.evendhide != 0) {
        afterImage.clear();
        e.evendcomment = 0;
        e.evinfinity = 0;
    }
    open.afterEnd = e.evendhide == 0;
    open.prologueBgm = e.evprologue > 0 || !e.evprologuebmp.empty();
    if (!open.prologueBgm) e.evprologuebgm = 0;
    open.epilogueBgm = e.evepilogue > 0 || !e.evepiloguebmp.empty();
    if (!open.epilogueBgm) e.evepiloguebgm = 0;
    return open;
}

EventViewResult applyEventViewRules(EventDef& e, const ShortString255& beforeImage, ShortString255& afterImage) {
    EventViewResult r;
    if (e.evendhide == 0 && afterImage.empty() && !beforeImage.empty()) {
        afterImage = beforeImage;
        e.image2Transparent = e.imageTransparent;
        e.image2Colour = e.imageColour;
        r.afterImageCopied = true;
    }
    r.startItemOpen = e.evaction == 2;
    if (!r.startItemOpen) e.evstartitem = 0;
    return r;
}

u8* eventFlag(EventDef& e, int tag) {
    switch (tag) {
    case 1: return &e.evendhide;
    case 2: return &e.evending;
    case 3: return &e.evstarthide;
    case 4: return &e.evinfinity;
    case 5: return &e.evdieok;
    case 6: return &e.evnotwondering;
    default: return nullptr;
    }
}

int fillEventSlots(EventSlots& entries, const std::vector<int>& chosen, int last) {
    std::vector<int> numbers;
    for (int n : chosen)
        if (n >= 1 && n <= last && n <= 255) numbers.push_back(n);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::fill(std::begin(entries), std::end(entries), u8{0});
    const std::size_t kept = std::min<std::size_t>(numbers.size(), kEventSlots);
    for (std::size_t i = 0; i < kept; ++i) entries[i] = static_cast<u8>(numbers[i]);
    return static_cast<int>(numbers.size() - kept);
}

std::vector<int> eventSlotEntries(const EventSlots& entries) {
    std::vector<int> out;
    for (u8 n : entries)
        if (n != 0) out.push_back(n);
    return out;
}

std::vector<int> validSlotEntries(const EventSlots& entries, int last) {
    std::vector<int> out;
    for (u8 n : entries)
        if (n >= 1 && n <= last) out.push_back(n);
    return out;
}

std::optional<ColumnRow> locatedCell(const Scenario& s, int field, int position) {
    const int c = cellOf(s, field, position);
    if (c == 0) return std::nullopt;
    return ColumnRow{s.cell(c).col + 1, s.cell(c).row + 1};
}

}  // namespace qrn
