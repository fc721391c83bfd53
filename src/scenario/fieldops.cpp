#include "fieldops.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "fieldlayout.h"
#include "text.h"

namespace qrn {

namespace {

// ---- locations ---------------------------------------------------------------

i32 positionOf(const Scenario& s, const LocationRef& r) { return locationPosition(s, r); }
void setPosition(Scenario& s, const LocationRef& r, i32 position) { setLocationPosition(s, r, position); }

// Every location into field F, in the order in which a shrink reports them
// for one cell: F's warp slots, the escapes of the fields in use, the hero,
// then event k before building k for k = 1..250.
std::vector<LocationRef> locationsInto(const Scenario& s, int F) {
    std::vector<LocationRef> refs;
    forEachLocation([&](const LocationRef& r) {
        switch (r.kind) {
            case LocationKind::Warp:
                if (r.number == F && locationPosition(s, r) != 0) refs.push_back(r);
                break;
            case LocationKind::Escape:
                if (fieldInUse(s, r.number) && locationField(s, r) == F) refs.push_back(r);
                break;
            default:
                if (locationField(s, r) == F) refs.push_back(r);
                break;
        }
    });
    return refs;
}

std::string nameOf(const ShortString32& name) { return name.str(); }

std::string enterNameOn(const Scenario& s, const Cell& c) {
    return c.enter >= 1 && c.enter <= kEnterCount ? nameOf(s.enters[c.enter - 1].name) : std::string();
}

}  // namespace

int locationField(const Scenario& s, const LocationRef& r) {
    switch (r.kind) {
        case LocationKind::Warp: return r.number;
        case LocationKind::Escape: return s.field(r.number).escapeField;
        case LocationKind::Hero: return s.hero.startField;
        case LocationKind::EventJump: return s.events[r.number - 1].jumpField;
        case LocationKind::EnterJump: return s.enters[r.number - 1].jumpField;
    }
    return 0;
}

i32 locationPosition(const Scenario& s, const LocationRef& r) {
    switch (r.kind) {
        case LocationKind::Warp: return s.field(r.number).warpPoints[r.slot];
        case LocationKind::Escape: return s.field(r.number).escapePosition;
        case LocationKind::Hero: return s.hero.startPosition;
        case LocationKind::EventJump: return s.events[r.number - 1].jumpPosition;
        case LocationKind::EnterJump: return s.enters[r.number - 1].jumpPosition;
    }
    return 0;
}

void setLocationField(Scenario& s, const LocationRef& r, int field) {
    const auto f = static_cast<u8>(field);
    switch (r.kind) {
        case LocationKind::Warp: break;
        case LocationKind::Escape: s.field(r.number).escapeField = f; break;
        case LocationKind::Hero: s.hero.startField = f; break;
        case LocationKind::EventJump: s.events[r.number - 1].jumpField = f; break;
        case LocationKind::EnterJump: s.enters[r.number - 1].jumpField = f; break;
    }
}

void setLocationPosition(Scenario& s, const LocationRef& r, i32 position) {
    switch (r.kind) {
        case LocationKind::Warp: s.field(r.number).warpPoints[r.slot] = position; break;
        case LocationKind::Escape: s.field(r.number).escapePosition = position; break;
        case LocationKind::Hero: s.hero.startPosition = position; break;
        case LocationKind::EventJump: s.events[r.number - 1].jumpPosition = position; break;
        case LocationKind::EnterJump: s.enters[r.number - 1].jumpPosition = position; break;
    }
}

const std::string& damagedFieldLayoutMessage() {
    static const std::string message = cp932Literal("ﾌｨｰﾙﾄﾞの配置が壊れているため変更できません。");
    return message;
}

namespace {

// The message a shrink gives before it resets a location in a dropped cell.
std::string droppedLocationMessage(const Scenario& s, int F, const LocationRef& r, const Cell& c) {
    static const std::string warp = cp932Literal("のワープ可能地点");
    static const std::string removes = cp932Literal("を削除します。");
    static const std::string escape = cp932Literal("のｴｽｹｰﾌﾟﾛｹｰﾄを初期位置にします。");
    static const std::string hero = cp932Literal("主人公のｽﾀｰﾄﾛｹｰﾄを初期位置にします。");
    static const std::string event = cp932Literal("ｲﾍﾞﾝﾄ:");
    static const std::string enter = cp932Literal("建造物:");
    static const std::string jump = cp932Literal("のｼﾞｬﾝﾌﾟ先を初期位置にします。");
    switch (r.kind) {
        case LocationKind::Warp: return nameOf(s.field(F).name) + warp + enterNameOn(s, c) + removes;
        case LocationKind::Escape: return nameOf(s.field(r.number).name) + escape;
        case LocationKind::Hero: return hero;
        case LocationKind::EventJump: return event + nameOf(s.events[r.number - 1].name) + jump;
        case LocationKind::EnterJump: return enter + nameOf(s.enters[r.number - 1].name) + jump;
    }
    return {};
}

// Every stored location but warp points (they lie in their own field):
// `fn` gets the field number and returns true when the location is to be
// dropped, which empties its position too.
template <typename Fn>
void forEachLocationField(Scenario& s, Fn&& fn) {
    forEachLocation([&](const LocationRef& r) {
        if (r.kind == LocationKind::Warp) return;
        u8 field = static_cast<u8>(locationField(s, r));
        const bool drop = fn(field);
        setLocationField(s, r, field);
        if (drop) setLocationPosition(s, r, 0);
    });
}

// ---- the cell store ----------------------------------------------------------

void moveCells(Scenario& s, int from, int to, int count) {
    if (count > 0) std::memmove(&s.cell(to), &s.cell(from), static_cast<std::size_t>(count) * sizeof(Cell));
}

void emptyCells(Scenario& s, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, kCellCount);
    if (last >= first) std::memset(&s.cell(first), 0, static_cast<std::size_t>(last - first + 1) * sizeof(Cell));
}

void blankNamedField(FieldDef& d, int n) {
    freshField(d, n);
    d.itemImageTransparent = 0;
    d.itemImageColour = 0;
}

}  // namespace

int firstFreeFieldSlot(const Scenario& s) {
    for (int f = 1; f <= kFieldCount; ++f)
        if (!fieldInUse(s, f)) return f;
    return 0;
}

int usedPoolEnd(const Scenario& s) {
    int last = 0;
    int largestFirst = 0;
    for (int f = 1; f <= kFieldCount; ++f) {
        if (fieldInUse(s, f) && s.field(f).firstCell > largestFirst) {
            largestFirst = s.field(f).firstCell;
            last = myend(s, f);
        }
    }
    return std::clamp(last, 0, kCellCount);
}

int freePoolCells(const Scenario& s) { return kCellCount - usedPoolEnd(s); }

bool validFieldSide(int cells) { return cells >= 10 && cells <= kMaxFieldSide && cells % 10 == 0; }

bool fieldLayoutSound(const Scenario& s) {
    const int inUse = fieldsInUseCount(s);
    long long next = 1;
    for (int f = 1; f <= kFieldCount; ++f) {
        const FieldDef& d = s.field(f);
        if (f > inUse) {
            if (d.firstCell > 0) return false;
            continue;
        }
        if (d.width < 1 || d.width > kMaxFieldSide || d.height < 1 || d.height > kMaxFieldSide) return false;
        if (d.cellCount != d.width * d.height || d.firstCell != next) return false;
        next += d.cellCount;
        if (next - 1 > kCellCount) return false;
    }
    return true;
}

AddFieldResult placeNewField(Scenario& s, int slot, int width, int height) {
    if (slot < 1 || slot > kFieldCount) return AddFieldResult::NoFreeSlot;
    if (!validFieldSide(width) || !validFieldSide(height) || !fieldLayoutSound(s)) return AddFieldResult::Refused;
    if (slot != fieldsInUseCount(s) + 1) return AddFieldResult::Refused;
    const int first = slot == 1 ? 1 : myend(s, slot - 1) + 1;
    const int last = first + width * height - 1;
    if (last > kCellCount) return AddFieldResult::PoolTooSmall;
    // The cells no field owned should be empty; a file from elsewhere may
    // hold leftovers there, and a new field always starts empty.
    emptyCells(s, first, last);
    layoutFieldCells(s, slot, first, width, height);
    return AddFieldResult::Added;
}

FieldOpResult resizefield(Scenario& s, int F, int newWidth, int newHeight, const FieldMessageSink& tell) {
    if (!fieldInUse(s, F)) return FieldOpResult::NotInUse;
    if (!validFieldSide(newWidth) || !validFieldSide(newHeight)) return FieldOpResult::BadSize;
    if (!fieldLayoutSound(s)) return FieldOpResult::BadLayout;

    FieldDef& fd = s.field(F);
    const int first = fd.firstCell;
    const int oldCount = fd.cellCount;
    const int oldLast = first + oldCount - 1;
    const int newCount = newWidth * newHeight;
    const int delta = newCount - oldCount;
    const int poolEnd = usedPoolEnd(s);
    if (delta > kCellCount - poolEnd) return FieldOpResult::PoolTooSmall;
    if (newWidth == fd.width && newHeight == fd.height) return FieldOpResult::Done;

    // Which old cell each (column, row) of the new size keeps, by the
    // column and row the cell records.
    static thread_local std::array<std::array<int, kMaxFieldSide>, kMaxFieldSide> kept;
    for (int y = 0; y < newHeight; ++y) std::fill_n(kept[y].begin(), newWidth, 0);
    for (int c = first; c <= oldLast; ++c) {
        const Cell& cell = s.cell(c);
        if (cell.col < newWidth && cell.row < newHeight) kept[cell.row][cell.col] = c;
    }
    auto keeps = [&](int c) {
        const Cell& cell = s.cell(c);
        return cell.col < newWidth && cell.row < newHeight && kept[cell.row][cell.col] == c;
    };

    // Locations in cells that fall outside the new size are reset, one
    // message each, in cell order.
    std::vector<LocationRef> refs = locationsInto(s, F);
    std::vector<LocationRef> byPosition = refs;
    std::stable_sort(byPosition.begin(), byPosition.end(), [&](const LocationRef& a, const LocationRef& b) {
        return positionOf(s, a) < positionOf(s, b);
    });
    for (const LocationRef& r : byPosition) {
        const i32 p = positionOf(s, r);
        if (p < 1 || p > oldCount) continue;
        const Cell& cell = s.cell(first + p - 1);
        if (cell.col < newWidth && cell.row < newHeight) continue;
        if (tell) tell(droppedLocationMessage(s, F, r, cell));
        setPosition(s, r, r.kind == LocationKind::Warp ? 0 : 1);
    }

    // Each location that still holds the position of a kept cell follows it,
    // once: the new position comes from the old value alone.
    for (const LocationRef& r : refs) {
        const i32 p = positionOf(s, r);
        if (p < 1 || p > oldCount || !keeps(first + p - 1)) continue;
        const Cell& cell = s.cell(first + p - 1);
        setPosition(s, r, cell.row * newWidth + cell.col + 1);
    }

    // The new cells, built aside because the new run overlaps the old one.
    std::vector<Cell> fresh(static_cast<std::size_t>(newCount));
    for (int n = 0; n < newCount; ++n) {
        const int x = n % newWidth, y = n / newWidth;
        Cell& cell = fresh[static_cast<std::size_t>(n)];
        if (kept[y][x] != 0) cell = s.cell(kept[y][x]);
        else std::memset(&cell, 0, sizeof cell);
        cell.col = static_cast<u8>(x);
        cell.row = static_cast<u8>(y);
    }

    fd.width = newWidth;
    fd.height = newHeight;
    fd.cellCount = static_cast<i16>(newCount);

    const int tailCount = poolEnd - oldLast;  // cells of the later fields
    if (delta > 0 && tailCount > 0) moveCells(s, oldLast + 1, oldLast + 1 + delta, tailCount);
    std::memcpy(&s.cell(first), fresh.data(), fresh.size() * sizeof(Cell));
    if (delta < 0 && tailCount > 0) moveCells(s, oldLast + 1, oldLast + 1 + delta, tailCount);
    if (tailCount > 0)
        for (int g = F + 1; g <= kFieldCount && fieldInUse(s, g); ++g) s.field(g).firstCell += delta;
    // Whatever the shrink left behind past the new end belongs to no field.
    if (delta < 0) emptyCells(s, poolEnd + delta + 1, poolEnd);

    // Warp points close up towards slot 1.
    std::array<i32, 30> packed{};
    int w = 0;
    for (int i = 0; i < 30; ++i)
        if (fd.warpPoints[i] != 0) packed[w++] = fd.warpPoints[i];
    for (int i = 0; i < 30; ++i) fd.warpPoints[i] = packed[i];
    return FieldOpResult::Done;
}

FieldOpResult deleteField(Scenario& s, EditorSideData& side, int k) {
    if (k == 1) return FieldOpResult::FirstField;
    if (!fieldInUse(s, k)) return FieldOpResult::NotInUse;
    if (!fieldLayoutSound(s)) return FieldOpResult::BadLayout;

    const int lastField = fieldsInUseCount(s);
    const int first = s.field(k).firstCell;
    const int count = s.field(k).cellCount;
    const int poolEnd = usedPoolEnd(s);

    freshField(s.field(k), k);
    s.fieldItemImageFiles[k - 1].clear();
    side.pictures.fieldItem[k] = 0;

    // Locations on the deleted field go; those on later fields follow their
    // field down one number (positions stay as they are).
    if (s.hero.startField == k) {
        s.hero.startField = 1;
        s.hero.startPosition = 1;
    }
    forEachLocationField(s, [&](u8& field) {
        if (field == k) {
            field = 0;
            return true;
        }
        if (field > k && field <= lastField) --field;
        return false;
    });

    if (lastField > k) {
        moveCells(s, first + count, first, poolEnd - (first + count) + 1);
        for (int n = k + 1; n <= lastField; ++n) {
            s.field(n).firstCell -= count;
            s.field(n - 1) = s.field(n);
            s.fieldItemImageFiles[n - 2] = s.fieldItemImageFiles[n - 1];
            side.pictures.fieldItem[n - 1] = side.pictures.fieldItem[n];
        }
        blankNamedField(s.field(lastField), lastField);
        s.fieldItemImageFiles[lastField - 1].clear();
        side.pictures.fieldItem[lastField] = 0;
    }
    // The top `count` cells of the old used part belong to no field now.
    emptyCells(s, poolEnd - count + 1, poolEnd);
    return FieldOpResult::Done;
}

std::vector<std::string> fieldInvariantViolations(const Scenario& s) {
    std::vector<std::string> out;
    auto report = [&](std::string what) { out.push_back(std::move(what)); };
    const int inUse = fieldsInUseCount(s);
    for (int f = inUse + 1; f <= kFieldCount; ++f)
        if (s.field(f).firstCell > 0) report("field " + std::to_string(f) + " in use after a free slot");

    long long next = 1;
    for (int f = 1; f <= inUse; ++f) {
        const FieldDef& d = s.field(f);
        const std::string name = "field " + std::to_string(f);
        if (d.width < 1 || d.width > kMaxFieldSide || d.height < 1 || d.height > kMaxFieldSide ||
            d.cellCount != d.width * d.height) {
            report(name + " has a bad size");
            return out;
        }
        if (d.firstCell != next) report(name + " starts at " + std::to_string(d.firstCell) + ", not " + std::to_string(next));
        if (d.firstCell < 1 || static_cast<long long>(d.firstCell) + d.cellCount - 1 > kCellCount) {
            report(name + " runs past the store");
            return out;
        }
        next = d.firstCell + d.cellCount;
        for (int p = 1; p <= d.cellCount; ++p) {
            const Cell& c = s.cell(d.firstCell + p - 1);
            if (c.col != (p - 1) % d.width || c.row != (p - 1) / d.width) {
                report(name + " position " + std::to_string(p) + " records a wrong column or row");
                break;
            }
        }
        for (int w = 0; w < 30; ++w) {
            const i32 p = d.warpPoints[w];
            if (p != 0 && (p < 1 || p > d.cellCount)) report(name + " warp point outside the field");
        }
    }
    static const Cell emptyCell{};
    for (long long c = next; c <= kCellCount; ++c) {
        if (std::memcmp(&s.cell(static_cast<int>(c)), &emptyCell, sizeof emptyCell) != 0) {
            report("cell " + std::to_string(c) + " after the last field is not empty");
            break;
        }
    }

    auto inside = [&](int field, i32 position) {
        return fieldInUse(s, field) && position >= 1 && position <= s.field(field).cellCount;
    };
    forEachLocation([&](const LocationRef& r) {
        const int field = locationField(s, r);
        const i32 position = locationPosition(s, r);
        switch (r.kind) {
            case LocationKind::Warp: break;  // checked with their field above
            case LocationKind::Hero:
                if (!inside(field, position)) report("hero start outside its field");
                break;
            case LocationKind::EnterJump:
                if (field != 0 && !inside(field, position))
                    report("building " + std::to_string(r.number) + " jumps outside its field");
                break;
            case LocationKind::EventJump:
                if (field != 0 && !inside(field, position))
                    report("event " + std::to_string(r.number) + " jumps outside its field");
                break;
            case LocationKind::Escape:
                if (r.number <= inUse && field != 0 && !inside(field, position))
                    report("field " + std::to_string(r.number) + " escapes outside its field");
                break;
        }
    });
    return out;
}

}  // namespace qrn
