#include "scenario/walk.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "scenario/chararules.h"

namespace qrn {

namespace {

bool within(long long n, int count) { return n >= 1 && n <= count; }

bool placeInUse(const Scenario& s, long long n) { return within(n, kPlaceCount) && !s.placeImageFiles[n - 1].empty(); }
bool enterInUse(const Scenario& s, long long n) { return within(n, kEnterCount) && !s.enterImageFiles[n - 1].empty(); }
bool eventInUse(const Scenario& s, long long n) { return within(n, kEventCount) && !s.eventImageFiles[n - 1].empty(); }
bool itemInUse(const Scenario& s, long long n) { return within(n, kItemCount) && !s.itemImageFiles[n - 1].empty(); }
bool charaInUse(const Scenario& s, long long n) { return within(n, kCharaCount) && !s.charaImageFiles[n - 1].empty(); }

int commentOf(long long c) { return within(c, kCommentCount) ? static_cast<int>(c) : 0; }

// Elements of i16 arrays in the packed record may sit at odd addresses.
int i16At(const i16* array, int index) {
    i16 v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(array) + index * 2, 2);
    return v;
}

constexpr int kDx[4] = {0, 1, 0, -1};
constexpr int kDy[4] = {-1, 0, 1, 0};

struct Place {
    int field = 0;
    int x = 0;
    int y = 0;
};

// The cell a stored location (field, 1-based position) names in a walkable field.
std::optional<Place> locationOf(const Scenario& s, long long field, long long position) {
    if (!within(field, kFieldCount) || !walkableField(s, static_cast<int>(field))) return std::nullopt;
    const FieldDef& fd = s.field(static_cast<int>(field));
    if (position < 1 || position > fd.cellCount) return std::nullopt;
    const int p = static_cast<int>(position) - 1;
    return Place{static_cast<int>(field), p % fd.width, p / fd.width};
}

// What the walk knows at one moment: the items carried and the events run,
// or, for the reach of the scenario check, everything that may be so.
struct Knowledge {
    const Scenario& s;
    const WalkState& w;
    std::bitset<kItemCount + 1> carried;
    bool optimistic = false;

    Knowledge(const Scenario& sc, const WalkState& ws) : s(sc), w(ws) {
        for (int i : w.items)
            if (within(i, kItemCount)) carried.set(static_cast<std::size_t>(i));
    }

    // Numbers outside the tables are no condition at all.
    bool has(long long item) const { return !within(item, kItemCount) || carried[static_cast<std::size_t>(item)]; }
    bool ran(long long event) const {
        return !within(event, kEventCount) || w.eventsRun[static_cast<std::size_t>(event)];
    }

    bool conditionsHold(const EventDef& e) const {
        for (int i = 0; i < 10; ++i)
            if (!has(e.evshowitem[i]) || !ran(e.evshowevent[i])) return false;
        return true;
    }
    bool enterShown(int n) const {
        const EnterDef& e = s.enters[n - 1];
        return has(e.enshowitem) && ran(e.enshowevent);
    }
    bool charaShown(int cell, int n) const {
        const CharaDef& c = s.charas[n - 1];
        return has(c.chshowitem) && ran(c.chshowevent) && !w.departedCells.contains(cell);
    }
    // In the optimistic view a building or character that appears or leaves
    // may as well be away.
    bool enterMayBeAway(int n) const {
        const EnterDef& e = s.enters[n - 1];
        return within(e.enshowitem, kItemCount) || within(e.enshowevent, kEventCount);
    }
    bool charaMayBeAway(int n) const {
        const CharaDef& c = s.charas[n - 1];
        return within(c.chshowitem, kItemCount) || within(c.chshowevent, kEventCount) || c.chendhide != 0;
    }
};

enum class EventState { None, Hidden, Gone, Before, After };

EventState eventState(const Knowledge& k, long long e) {
    if (!eventInUse(k.s, e)) return EventState::None;
    const EventDef& ev = k.s.events[e - 1];
    if (k.w.eventsRun[static_cast<std::size_t>(e)]) return ev.evendhide ? EventState::Gone : EventState::After;
    if (ev.evstarthide && !k.conditionsHold(ev)) return EventState::Hidden;
    return EventState::Before;
}

BlockReason blockAt(const Knowledge& k, int cell, int* item) {
    const Scenario& s = k.s;
    const Cell& c = s.cells[cell - 1];
    if (!placeInUse(s, c.place)) return BlockReason::Terrain;
    const PlaceDef& p = s.places[c.place - 1];
    if (!p.plmove) return BlockReason::Terrain;
    if (!k.has(p.plwantitem)) {
        *item = p.plwantitem;
        return BlockReason::Item;
    }
    if (enterInUse(s, c.enter) && k.enterShown(c.enter)) {
        const EnterDef& e = s.enters[c.enter - 1];
        if (!e.enmove) return BlockReason::Building;
        if (!k.has(e.enwantitem)) {
            *item = e.enwantitem;
            return BlockReason::Item;
        }
    }
    if (charaInUse(s, c.chara) && k.charaShown(cell, c.chara))
        return BlockReason::Character;
    return BlockReason::None;
}

std::optional<Place> enterJump(const Scenario& s, int enter) {
    const EnterDef& e = s.enters[enter - 1];
    if (e.jumpField == 0) return std::nullopt;
    return locationOf(s, e.jumpField, e.jumpPosition);
}

std::optional<Place> eventJump(const Scenario& s, int event) {
    const EventDef& e = s.events[event - 1];
    if (e.jumpField == 0) return std::nullopt;
    return locationOf(s, e.jumpField, e.jumpPosition);
}

void moveTo(WalkState& w, const Place& p) {
    w.field = p.field;
    w.x = p.x;
    w.y = p.y;
}

void setFrame(WalkState& w) { w.frame = static_cast<int>(w.direction) * 2 + 1 + (w.steps & 1); }

void message(WalkOutcomes& out, int comment, const ShortString255* image, int event, int character) {
    WalkOutcome o;
    o.kind = WalkKind::Message;
    o.comment = comment;
    if (image) o.image = image->str();
    o.event = event;
    o.character = character;
    if (o.comment != 0 || !o.image.empty()) out.push_back(std::move(o));
}

void runEvent(const Scenario& s, WalkState& w, int e, WalkOutcomes& out) {
    const EventDef& ev = s.events[e - 1];
    out.push_back({.kind = WalkKind::Event, .event = e});
    message(out, commentOf(ev.evprologue), &ev.evprologuebmp, e, 0);
    if (within(ev.evenemy, kEnemyTypeCount)) out.push_back({.kind = WalkKind::Battle, .event = e, .group = ev.evenemy});
    for (int i = 0; i < 10; ++i) {
        const int item = ev.evgetitem[i];
        if (!within(item, kItemCount)) continue;
        w.items.push_back(item);
        out.push_back({.kind = WalkKind::Gain, .item = item, .event = e});
    }
    for (int i = 0; i < 10; ++i) {
        const int item = ev.evputitem[i];
        const auto at = std::find(w.items.begin(), w.items.end(), item);
        if (!within(item, kItemCount) || at == w.items.end()) continue;
        w.items.erase(at);
        out.push_back({.kind = WalkKind::Lose, .item = item, .event = e});
    }
    const int magic = ev.evgetmagic;
    if (within(magic, kMagicCount) && std::find(w.magics.begin(), w.magics.end(), magic) == w.magics.end()) {
        w.magics.push_back(magic);
        out.push_back({.kind = WalkKind::Learn, .event = e, .magic = magic});
    }
    message(out, commentOf(ev.evepilogue), &ev.evepiloguebmp, e, 0);
    w.eventsRun.set(static_cast<std::size_t>(e));
    if (ev.evnotwondering) w.encountersOff = true;
    if (ev.evending) {
        out.push_back({.kind = WalkKind::Ending, .event = e});
        w.ended = true;
        return;
    }
    if (const auto to = eventJump(s, e)) {
        moveTo(w, *to);
        out.push_back({.kind = WalkKind::Jump, .event = e, .field = to->field, .x = to->x, .y = to->y});
    }
}

// Starts event e by its start action; false when the walk does not see it
// (none there, hidden until its conditions hold, gone after the end).
bool triggerEvent(const Scenario& s, WalkState& w, int e, WalkOutcomes& out) {
    const Knowledge k(s, w);
    const EventState state = eventState(k, e);
    if (state != EventState::Before && state != EventState::After) return false;
    const EventDef& ev = s.events[e - 1];
    if (state == EventState::After && !ev.evinfinity) {
        message(out, commentOf(ev.evendcomment), nullptr, e, 0);
    } else if (!k.conditionsHold(ev)) {
        message(out, commentOf(ev.evstartcomment), nullptr, e, 0);
    } else {
        runEvent(s, w, e, out);
    }
    return true;
}

int facedCell(const Scenario& s, const WalkState& w) {
    const int d = static_cast<int>(w.direction);
    return walkCell(s, w.field, w.x + kDx[d], w.y + kDy[d]);
}

// A normal character says the comment of its first wanted item carried, else
// of its first wanted event run, else its default comment.
int charaComment(const Knowledge& k, const CharaDef& c) {
    for (int i = 0; i < 5; ++i)
        if (within(c.chwantitem[i], kItemCount) && k.has(c.chwantitem[i]) && commentOf(i16At(c.chitemcomment, i)))
            return commentOf(i16At(c.chitemcomment, i));
    for (int i = 0; i < 5; ++i)
        if (within(c.chwantevent[i], kEventCount) && k.ran(c.chwantevent[i]) && commentOf(i16At(c.cheventcomment, i)))
            return commentOf(i16At(c.cheventcomment, i));
    return commentOf(c.chcomment);
}

void talk(const Scenario& s, WalkState& w, int cell, int n, WalkOutcomes& out) {
    const CharaDef& c = s.charas[n - 1];
    switch (charaKind(c.chcharatype)) {
        case kCharaHealer:
        case kCharaMerchant: out.push_back({.kind = WalkKind::Shop, .character = n}); break;
        case kCharaEnemy: out.push_back({.kind = WalkKind::Battle, .character = n}); break;
        default: message(out, charaComment(Knowledge(s, w), c), nullptr, 0, n); break;
    }
    if (c.chendhide) w.departedCells.insert(cell);
}

}  // namespace

bool WalkState::carries(int item) const { return std::find(items.begin(), items.end(), item) != items.end(); }

bool walkableField(const Scenario& s, int field) {
    if (!within(field, kFieldCount) || !fieldInUse(s, field)) return false;
    const FieldDef& f = s.field(field);
    const long long first = f.firstCell, count = f.cellCount, width = f.width, height = f.height;
    return width >= 1 && height >= 1 && width <= kMaxFieldSide && height <= kMaxFieldSide && width * height == count &&
           first >= 1 && first + count - 1 <= kCellCount;
}

int walkCell(const Scenario& s, int field, int x, int y) {
    if (!walkableField(s, field)) return 0;
    const FieldDef& f = s.field(field);
    if (x < 0 || y < 0 || x >= f.width || y >= f.height) return 0;
    return f.firstCell + y * f.width + x;
}

std::optional<WalkState> startWalkAt(const Scenario& s, int field, int x, int y, std::uint32_t seed) {
    if (walkCell(s, field, x, y) == 0) return std::nullopt;
    WalkState w;
    w.field = field;
    w.x = x;
    w.y = y;
    const i32 dir = s.settings.startDirection;
    w.direction = dir >= 0 && dir <= 3 ? static_cast<WalkDirection>(dir) : WalkDirection::North;
    for (u8 item : s.hero.heroItems)
        if (within(item, kItemCount)) w.items.push_back(item);
    for (u8 magic : s.hero.heroMagics)
        if (within(magic, kMagicCount)) w.magics.push_back(magic);
    w.random.seed(seed);
    setFrame(w);
    return w;
}

std::optional<WalkState> startWalk(const Scenario& s, std::uint32_t seed) {
    const auto at = locationOf(s, s.hero.startField, s.hero.startPosition);
    if (!at) return std::nullopt;
    return startWalkAt(s, at->field, at->x, at->y, seed);
}

WalkOutcomes stepWalk(const Scenario& s, WalkState& w, WalkDirection direction) {
    WalkOutcomes out;
    if (w.ended || walkCell(s, w.field, w.x, w.y) == 0) return out;
    w.direction = direction;
    setFrame(w);
    const int d = static_cast<int>(direction);
    const int cell = walkCell(s, w.field, w.x + kDx[d], w.y + kDy[d]);
    if (cell == 0) {
        out.push_back({.kind = WalkKind::Blocked, .reason = BlockReason::Edge});
        return out;
    }
    int wanted = 0;
    const BlockReason reason = blockAt(Knowledge(s, w), cell, &wanted);
    if (reason != BlockReason::None) {
        out.push_back({.kind = WalkKind::Blocked, .reason = reason, .item = wanted});
        return out;
    }
    w.x += kDx[d];
    w.y += kDy[d];
    ++w.steps;
    setFrame(w);
    const Cell& c = s.cells[cell - 1];
    if (itemInUse(s, c.item) && !s.items[c.item - 1].itshowserch && !w.pickedCells.contains(cell)) {
        w.pickedCells.insert(cell);
        w.items.push_back(c.item);
        out.push_back({.kind = WalkKind::Pickup, .item = c.item});
    }
    if (eventInUse(s, c.event) && s.events[c.event - 1].evaction == 1) triggerEvent(s, w, c.event, out);
    if (w.ended || walkCell(s, w.field, w.x, w.y) != cell) return out;
    if (enterInUse(s, c.enter) && Knowledge(s, w).enterShown(c.enter)) {
        if (const auto to = enterJump(s, c.enter)) {
            moveTo(w, *to);
            out.push_back({.kind = WalkKind::Jump, .field = to->field, .x = to->x, .y = to->y});
            return out;
        }
    }
    const PlaceDef& p = s.places[c.place - 1];
    if (!w.encountersOff && within(p.plenemytype, kEnemyTypeCount) && p.plwondering > 0) {
        // A plain modulo of the generator's output, so a walk repeats on every platform.
        if (static_cast<int>(w.random() % 100) < p.plwondering)
            out.push_back({.kind = WalkKind::Encounter, .group = p.plenemytype});
    }
    return out;
}

WalkOutcomes examineWalk(const Scenario& s, WalkState& w) {
    WalkOutcomes out;
    const int here = walkCell(s, w.field, w.x, w.y);
    if (w.ended || here == 0) return out;
    const Cell& c = s.cells[here - 1];
    if (eventInUse(s, c.event) && s.events[c.event - 1].evaction == 0 && triggerEvent(s, w, c.event, out)) return out;
    if (itemInUse(s, c.item) && s.items[c.item - 1].itshowserch && !w.pickedCells.contains(here)) {
        w.pickedCells.insert(here);
        w.items.push_back(c.item);
        out.push_back({.kind = WalkKind::Pickup, .item = c.item});
        return out;
    }
    const int faced = facedCell(s, w);
    if (faced == 0) return out;
    const Cell& f = s.cells[faced - 1];
    if (charaInUse(s, f.chara) && Knowledge(s, w).charaShown(faced, f.chara)) {
        talk(s, w, faced, f.chara, out);
        return out;
    }
    if (eventInUse(s, f.event) && s.events[f.event - 1].evaction == 0) triggerEvent(s, w, f.event, out);
    return out;
}

WalkOutcomes useWalkItem(const Scenario& s, WalkState& w, int item) {
    WalkOutcomes out;
    if (w.ended || walkCell(s, w.field, w.x, w.y) == 0) return out;
    if (!w.carries(item)) {
        out.push_back({.kind = WalkKind::Blocked, .reason = BlockReason::Item, .item = item});
        return out;
    }
    for (const int cell : {walkCell(s, w.field, w.x, w.y), facedCell(s, w)}) {
        if (cell == 0) continue;
        const int e = s.cells[cell - 1].event;
        if (eventInUse(s, e) && s.events[e - 1].evaction == 2 && s.events[e - 1].evstartitem == item &&
            triggerEvent(s, w, e, out))
            return out;
    }
    if (within(item, kItemCount)) message(out, commentOf(s.items[item - 1].itcomment), nullptr, 0, 0);
    return out;
}

// ---- drawing ----------------------------------------------------------------

EventShown walkEventShown(const Scenario& s, const WalkState& w, int cellNumber) {
    if (!within(cellNumber, kCellCount)) return EventShown::None;
    switch (eventState(Knowledge(s, w), s.cells[cellNumber - 1].event)) {
        case EventState::Before: return EventShown::Before;
        case EventState::After: return EventShown::After;
        default: return EventShown::None;
    }
}

Cell walkCellView(const Scenario& s, const WalkState& w, int cellNumber) {
    if (!within(cellNumber, kCellCount)) return Cell{};
    Cell c = s.cells[cellNumber - 1];
    const Knowledge k(s, w);
    if (w.pickedCells.contains(cellNumber)) c.item = 0;
    const EventState ev = eventState(k, c.event);
    if (ev != EventState::Before && ev != EventState::After) c.event = 0;
    if (enterInUse(s, c.enter) && !k.enterShown(c.enter)) c.enter = 0;
    if (charaInUse(s, c.chara) && !k.charaShown(cellNumber, c.chara)) c.chara = 0;
    return c;
}

CellLook composeWalkCell(const Scenario& s, const WalkState& w, int cellNumber, const PictureIndexTables& pictures,
                         const LayerFlags& visible, int pictureCount) {
    Cell view = walkCellView(s, w, cellNumber);
    const int event = view.event;
    if (event == 0 || walkEventShown(s, w, cellNumber) != EventShown::After || !visible[3])
        return composeCell(view, pictures, visible, pictureCount);
    // The after-image goes where the event's picture goes: above the terrain
    // and the building that are drawn.
    view.event = 0;
    CellLook look = composeCell(view, pictures, visible, pictureCount);
    // Entry 0 is the black picture of an image never loaded: an event without
    // an after-image keeps its before-image, as the editor fills it in.
    int index = pictures.event[kEventCount + event];
    if (index <= 0 || index >= pictureCount) index = objectPicture(pictures, 3, event);
    if (index <= 0 || index >= pictureCount || look.count >= 5) return look;
    LayerFlags below{};
    below[1] = visible[1];
    below[2] = visible[2];
    const int at = composeCell(view, pictures, below, pictureCount).count;
    for (int i = look.count; i > at; --i) look.pictures[static_cast<std::size_t>(i)] = look.pictures[static_cast<std::size_t>(i - 1)];
    look.pictures[static_cast<std::size_t>(at)] = index;
    ++look.count;
    return look;
}

int heroWalkImage(const Scenario& s, const WalkState& w) {
    const int frame = std::clamp(w.frame, 1, kWalkFrames);
    auto usable = [&](int img) { return within(img, kWalkImgCount) && !s.walkImageFiles[img - 1][frame - 1].empty(); };
    const int cell = walkCell(s, w.field, w.x, w.y);
    if (cell != 0) {
        const long long place = s.cells[cell - 1].place;
        if (within(place, kPlaceCount) && usable(s.places[place - 1].plwalkimg)) return s.places[place - 1].plwalkimg;
    }
    return usable(s.settings.scdefwalkimg) ? s.settings.scdefwalkimg : 0;
}

int heroPicture(const Scenario& s, const WalkState& w, const PictureIndexTables& pictures, int pictureCount) {
    const int img = heroWalkImage(s, w);
    if (img == 0) return -1;
    const int index = pictures.walk[img][std::clamp(w.frame, 1, kWalkFrames)];
    return index > 0 && index < pictureCount ? index : -1;
}

// ---- ways -------------------------------------------------------------------

namespace {

// Nodes of the search are the cells of the walkable fields, numbered densely
// field after field (overlapping fields of a damaged file stay apart).
struct NodeSpace {
    struct Geometry {
        int first = 0, width = 0, height = 0, base = 0;
    };
    std::array<Geometry, kFieldCount + 1> fields{};
    int count = 0;

    explicit NodeSpace(const Scenario& s) {
        for (int f = 1; f <= kFieldCount; ++f) {
            if (!walkableField(s, f)) continue;
            const FieldDef& fd = s.field(f);
            fields[f] = {fd.firstCell, fd.width, fd.height, count};
            count += fd.cellCount;
        }
    }
    int node(int field, int x, int y) const { return fields[field].base + y * fields[field].width + x; }
    int cell(int field, int x, int y) const { return fields[field].first + y * fields[field].width + x; }
};

// What a step onto a cell does, worked out once per object for one state of
// the walk: the rules of blockAt and stepWalk in table form, so that the
// searches look up a few bytes per cell. Tables of u8 entries have 256 rows
// so that any stored byte indexes them.
struct StepTables {
    std::array<bool, kPlaceCount + 1> placeOpen{};
    std::array<bool, 256> enterBlocks{}, enterJumps{}, enterAway{};
    std::array<Place, 256> enterTo{};
    std::array<bool, 256> charaBlocks{};
    std::array<unsigned char, 256> arrival{};  // event started by arrival: 0 stays, 1 jumps, 2 ends the walk
    std::array<Place, 256> eventTo{};

    // Exact: the walk's own state. Optimistic (for the scenario check): the
    // hero carries k.carried, buildings and characters that appear or leave
    // may be away, and every event started by arrival may jump.
    explicit StepTables(const Knowledge& k) {
        const Scenario& s = k.s;
        for (int n = 1; n <= kPlaceCount; ++n)
            placeOpen[n] = placeInUse(s, n) && s.places[n - 1].plmove && k.has(s.places[n - 1].plwantitem);
        for (int n = 1; n <= kEnterCount; ++n) {
            if (!enterInUse(s, n)) continue;
            const EnterDef& e = s.enters[n - 1];
            const bool shown = k.optimistic ? !k.enterMayBeAway(n) : k.enterShown(n);
            enterBlocks[n] = shown && (!e.enmove || !k.has(e.enwantitem));
            const auto to = enterJump(s, n);
            enterJumps[n] = to.has_value() && (k.optimistic || shown);
            enterAway[n] = !shown;
            if (to) enterTo[n] = *to;
        }
        for (int n = 1; n <= kCharaCount; ++n)
            charaBlocks[n] = charaInUse(s, n) && (k.optimistic ? !k.charaMayBeAway(n) : k.charaShown(0, n));
        for (int n = 1; n <= kEventCount; ++n) {
            if (!eventInUse(s, n) || s.events[n - 1].evaction != 1) continue;
            const EventDef& ev = s.events[n - 1];
            const auto to = eventJump(s, n);
            if (to) eventTo[n] = *to;
            if (k.optimistic) {
                arrival[n] = to ? 1 : 0;
                continue;
            }
            const EventState st = eventState(k, n);
            const bool runs =
                (st == EventState::Before || (st == EventState::After && ev.evinfinity)) && k.conditionsHold(ev);
            arrival[n] = !runs ? 0 : ev.evending ? 2 : to ? 1 : 0;
        }
    }

    bool open(const Cell& c) const {
        return c.place >= 1 && c.place <= kPlaceCount && placeOpen[static_cast<std::size_t>(c.place)] &&
               !enterBlocks[c.enter] && !charaBlocks[c.chara];
    }
};

struct Landing {
    Place at;
    bool terminal = false;
};

// Where a step onto `cell` leaves the hero when the walk's state stays as it
// is (stepWalk without its outcomes); nothing when the step is refused.
std::optional<Landing> exactLanding(const Knowledge& k, const StepTables& t, int cell, const Place& target) {
    const Scenario& s = k.s;
    const Cell& c = s.cells[cell - 1];
    if (!t.open(c)) {
        // A character that left after the talk no longer stands in the way.
        if (k.w.departedCells.empty()) return std::nullopt;
        int wanted = 0;
        if (blockAt(k, cell, &wanted) != BlockReason::None) return std::nullopt;
    }
    unsigned char arrival = t.arrival[c.event];
    if (arrival == 0 && eventInUse(s, c.event) && s.events[c.event - 1].evaction == 1 && itemInUse(s, c.item) &&
        !s.items[c.item - 1].itshowserch && !k.w.pickedCells.contains(cell)) {
        // The item lying there is picked up before the event looks at the items.
        Knowledge withItem = k;
        withItem.carried.set(static_cast<std::size_t>(c.item));
        const EventDef& ev = s.events[c.event - 1];
        const EventState st = eventState(withItem, c.event);
        if ((st == EventState::Before || (st == EventState::After && ev.evinfinity)) && withItem.conditionsHold(ev))
            arrival = ev.evending ? 2 : eventJump(s, c.event) ? 1 : 0;
    }
    if (arrival == 2) return Landing{target, true};
    if (arrival == 1) return Landing{t.eventTo[c.event], false};
    if (t.enterJumps[c.enter]) return Landing{t.enterTo[c.enter], false};
    return Landing{target, false};
}

}  // namespace

std::optional<std::vector<WalkDirection>> findWalkPath(const Scenario& s, const WalkState& from, int field, int x,
                                                       int y) {
    if (walkCell(s, from.field, from.x, from.y) == 0 || walkCell(s, field, x, y) == 0) return std::nullopt;
    const NodeSpace space(s);
    const int goal = space.node(field, x, y);
    const int start = space.node(from.field, from.x, from.y);
    if (goal == start) return std::vector<WalkDirection>{};
    const Knowledge k(s, from);
    const StepTables tables(k);
    // parent: -1 not reached; the start points to itself. A node is entered
    // (its landing worked out) at most once: the first time is the shortest.
    std::vector<int> parent(static_cast<std::size_t>(space.count), -1);
    std::vector<unsigned char> dirOf(static_cast<std::size_t>(space.count), 0);
    std::vector<unsigned char> entered(static_cast<std::size_t>(space.count), 0);
    std::vector<Place> queue;
    queue.reserve(static_cast<std::size_t>(space.count));
    queue.push_back({from.field, from.x, from.y});
    parent[static_cast<std::size_t>(start)] = start;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const Place at = queue[head];
        const auto& fd = space.fields[at.field];
        const int here = fd.base + at.y * fd.width + at.x;
        for (int d = 0; d < 4; ++d) {
            const int nx = at.x + kDx[d], ny = at.y + kDy[d];
            if (nx < 0 || ny < 0 || nx >= fd.width || ny >= fd.height) continue;
            const int target = fd.base + ny * fd.width + nx;
            if (entered[static_cast<std::size_t>(target)]) continue;
            entered[static_cast<std::size_t>(target)] = 1;
            const auto land = exactLanding(k, tables, fd.first + ny * fd.width + nx, Place{at.field, nx, ny});
            if (!land) continue;
            const int to = space.node(land->at.field, land->at.x, land->at.y);
            if (parent[static_cast<std::size_t>(to)] != -1) continue;
            parent[static_cast<std::size_t>(to)] = here;
            dirOf[static_cast<std::size_t>(to)] = static_cast<unsigned char>(d);
            if (to == goal) {
                std::vector<WalkDirection> path;
                for (int n = goal; n != start; n = parent[static_cast<std::size_t>(n)])
                    path.push_back(static_cast<WalkDirection>(dirOf[static_cast<std::size_t>(n)]));
                std::reverse(path.begin(), path.end());
                return path;
            }
            if (!land->terminal) queue.push_back(land->at);
        }
    }
    return std::nullopt;
}

std::vector<unsigned char> walkReach(const Scenario& s, const WalkState& from,
                                     const std::bitset<kItemCount + 1>& obtainable) {
    std::vector<unsigned char> reach(static_cast<std::size_t>(kCellCount) + 1, 0);
    if (walkCell(s, from.field, from.x, from.y) == 0) return reach;
    const NodeSpace space(s);
    Knowledge k(s, from);
    k.carried |= obtainable;
    k.optimistic = true;
    const StepTables tables(k);
    std::vector<unsigned char> seen(static_cast<std::size_t>(space.count), 0);  // 1 stood, 2 entered
    std::vector<Place> queue;
    queue.reserve(static_cast<std::size_t>(space.count));
    auto stand = [&](const Place& p) {
        const int n = space.node(p.field, p.x, p.y);
        if (seen[static_cast<std::size_t>(n)] & 1) return;
        seen[static_cast<std::size_t>(n)] |= 1;
        reach[static_cast<std::size_t>(space.cell(p.field, p.x, p.y))] |= kReachStood;
        queue.push_back(p);
    };
    stand({from.field, from.x, from.y});
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const Place at = queue[head];
        const auto& fd = space.fields[at.field];
        for (int d = 0; d < 4; ++d) {
            const int nx = at.x + kDx[d], ny = at.y + kDy[d];
            if (nx < 0 || ny < 0 || nx >= fd.width || ny >= fd.height) continue;
            const int target = fd.base + ny * fd.width + nx;
            // Tried once: the first stood neighbour faces it, and the step
            // onto it goes the same way from every side.
            if (seen[static_cast<std::size_t>(target)] & 2) continue;
            seen[static_cast<std::size_t>(target)] |= 2;
            const int cell = fd.first + ny * fd.width + nx;
            const Cell& c = s.cells[cell - 1];
            if (!tables.open(c)) {
                reach[static_cast<std::size_t>(cell)] |= kReachFaced;
                continue;
            }
            reach[static_cast<std::size_t>(cell)] |= kReachFaced | kReachEntered;
            // Events may have run or not, buildings that appear may be there
            // or not: every place the step may leave the hero is reached.
            if (tables.arrival[c.event] == 1) stand(tables.eventTo[c.event]);
            if (tables.enterJumps[c.enter]) stand(tables.enterTo[c.enter]);
            if (!tables.enterJumps[c.enter] || tables.enterAway[c.enter]) {
                if (seen[static_cast<std::size_t>(target)] & 1) continue;
                seen[static_cast<std::size_t>(target)] |= 1;
                reach[static_cast<std::size_t>(cell)] |= kReachStood;
                queue.push_back({at.field, nx, ny});
            }
        }
    }
    return reach;
}

char walkKey(WalkDirection d) {
    switch (d) {
        case WalkDirection::North: return 'U';
        case WalkDirection::East: return 'R';
        case WalkDirection::South: return 'D';
        case WalkDirection::West: return 'L';
    }
    return '?';
}

}  // namespace qrn
