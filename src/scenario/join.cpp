#include "join.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "scenariofile.h"
#include "text.h"

namespace qrn {

namespace {

// Byte position just after the folder part of a cp932 name (0 when none).
// A trail byte may equal "\", so the name is walked character by character.
std::size_t fileNameStart(std::string_view name) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (isCp932LeadByte(b) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (b == '/' || b == '\\' || b == ':') start = i + 1;
    }
    return start;
}

}  // namespace

std::string delext(std::string_view name) {
    const std::size_t start = fileNameStart(name);
    // A "." never appears as the trail byte of a double-byte character.
    const std::size_t dot = name.find('.', start);
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

void markRunnerBitmap(std::string& bitmapFile) {
    const std::size_t n = std::min(kRunnerMarkLength, bitmapFile.size());
    bitmapFile.replace(0, n, n, '.');
}

std::string datName(std::string_view name) { return delext(name) + ".DAT"; }

// ---- chips -----------------------------------------------------------------

int ChipAssignment::sheetHeight() const {
    const int rows = (pictureNames + kSheetColumns - 1) / kSheetColumns;
    return std::min(rows * 32, 960);
}

ChipAssignment assignChips(const Scenario& s) {
    ChipAssignment a;
    std::unordered_map<std::string_view, int> chipOf;
    std::unordered_set<std::string_view> overflowNames;
    long long names = 0;
    auto give = [&](i32& slot, const ShortString255& file, PictureRef ref) {
        slot = 0;
        if (file.empty()) return;
        ++names;
        const std::string_view name = file.view();
        if (auto found = chipOf.find(name); found != chipOf.end()) {
            slot = found->second;
            return;
        }
        if (static_cast<int>(a.chips.size()) >= kMaxChips) {
            overflowNames.insert(name);
            return;
        }
        a.chips.push_back(ref);
        slot = static_cast<int>(a.chips.size());
        chipOf.emplace(name, slot);
    };
    ChipTables& t = a.tables;
    for (int n = 1; n <= kFieldCount; ++n)
        give(t.fieldItem[n - 1], s.fieldItemImageFiles[n - 1], {ChipGroup::FieldItem, n});
    for (int n = 1; n <= kPlaceCount; ++n) give(t.place[n - 1], s.placeImageFiles[n - 1], {ChipGroup::Place, n});
    for (int n = 1; n <= kPlaceCount; ++n) give(t.place2[n - 1], s.placeImage2Files[n - 1], {ChipGroup::Place2, n});
    for (int n = 1; n <= kEnterCount; ++n) give(t.enter[n - 1], s.enterImageFiles[n - 1], {ChipGroup::Enter, n});
    for (int n = 1; n <= kEnterCount; ++n) give(t.enter2[n - 1], s.enterImage2Files[n - 1], {ChipGroup::Enter2, n});
    for (int n = 1; n <= kEventCount; ++n)
        give(t.eventBefore[n - 1], s.eventImageFiles[n - 1], {ChipGroup::EventBefore, n});
    for (int n = 1; n <= kEventCount; ++n)
        give(t.eventAfter[n - 1], s.eventImage2Files[n - 1], {ChipGroup::EventAfter, n});
    for (int n = 1; n <= kItemCount; ++n) give(t.item[n - 1], s.itemImageFiles[n - 1], {ChipGroup::Item, n});
    for (int n = 1; n <= kCharaCount; ++n) give(t.chara[n - 1], s.charaImageFiles[n - 1], {ChipGroup::Chara, n});
    for (int k = 1; k <= kWalkImgCount; ++k)
        for (int f = 1; f <= kWalkFrames; ++f)
            give(t.walk[k - 1][f - 1], s.walkImageFiles[k - 1][f - 1], {ChipGroup::Walk, k, f});
    a.pictureNames = static_cast<int>(std::min<long long>(names, kMaxChips));
    a.overflow = static_cast<int>(overflowNames.size());
    return a;
}

int pictureIndexOf(const PictureIndexTables& p, const PictureRef& ref) {
    const int n = ref.number;
    auto in = [n](int count) { return n >= 1 && n <= count; };
    switch (ref.group) {
        case ChipGroup::FieldItem: return in(kFieldCount) ? p.fieldItem[n] : -1;
        case ChipGroup::Place: return in(kPlaceCount) ? p.place[n] : -1;
        case ChipGroup::Place2: return in(kPlaceCount) ? p.place2[n] : -1;
        case ChipGroup::Enter: return in(kEnterCount) ? p.enter[n] : -1;
        case ChipGroup::Enter2: return in(kEnterCount) ? p.enter[kEnterCount + n] : -1;
        case ChipGroup::EventBefore: return in(kEventCount) ? p.event[n] : -1;
        case ChipGroup::EventAfter: return in(kEventCount) ? p.event[kEventCount + n] : -1;
        case ChipGroup::Item: return in(kItemCount) ? p.charaItem[kCharaCount + n] : -1;
        case ChipGroup::Chara: return in(kCharaCount) ? p.charaItem[n] : -1;
        case ChipGroup::Walk:
            return in(kWalkImgCount) && ref.frame >= 1 && ref.frame <= kWalkFrames ? p.walk[n][ref.frame] : -1;
    }
    return -1;
}

// ---- large bitmaps ---------------------------------------------------------

std::vector<LargeBitmap> largeBitmaps(const Scenario& s) {
    std::vector<LargeBitmap> list;
    list.reserve(3 * 250 + 10 + 2);
    for (int k = 1; k <= 250; ++k) {
        list.push_back({LargeBitmapKind::Battle, k, &s.charas[k - 1].chbossimg});
        list.push_back({LargeBitmapKind::Prologue, k, &s.events[k - 1].evprologuebmp});
        list.push_back({LargeBitmapKind::Epilogue, k, &s.events[k - 1].evepiloguebmp});
    }
    for (int i = 1; i <= 5; ++i) {
        list.push_back({LargeBitmapKind::Title, i, &s.settings.titleBitmaps[i - 1]});
        list.push_back({LargeBitmapKind::Ending, i, &s.settings.endingBitmaps[i - 1]});
    }
    list.push_back({LargeBitmapKind::Wall, 0, &s.settings.scwallbmp});
    list.push_back({LargeBitmapKind::Opening, 0, &s.settings.scopeningbmp});
    return list;
}

// ---- runner record ---------------------------------------------------------

void fillRunnerRecord(const Scenario& s, const ChipTables& chips, RunnerRecord& out) {
    // The texts are locked on a copy, so the scenario itself never changes.
    auto copy = std::make_unique_for_overwrite<Scenario>();
    std::memcpy(copy->bytes(), s.bytes(), kRecordSize);
    Scenario& c = *copy;
    for (const LargeBitmap& b : largeBitmaps(c)) {
        auto& slot = const_cast<ShortString255&>(*b.name);
        if (!slot.empty()) slot.assignRaw(datName(slot.view()));
    }
    lockdata(c, true);

    std::memset(&out, 0, sizeof out);
    out.hero = c.hero;
    std::memcpy(out.charas, c.charas, sizeof out.charas);
    std::memcpy(out.items, c.items, sizeof out.items);
    std::memcpy(out.events, c.events, sizeof out.events);
    std::memcpy(out.places, c.places, sizeof out.places);
    std::memcpy(out.enters, c.enters, sizeof out.enters);
    out.chips = chips;
    std::memcpy(out.magics, c.magics, sizeof out.magics);
    std::memcpy(out.poisons, c.poisons, sizeof out.poisons);
    std::memcpy(out.fields, c.fields, sizeof out.fields);
    for (int k = 0; k < kCommentCount; ++k) {
        out.comments[k].line1 = c.comments[k].line1;
        out.comments[k].line2 = c.comments[k].line2;
        out.comments[k].line3 = c.comments[k].line3;
        out.comments[k].line4 = c.comments[k].line4;
    }
    for (int k = 0; k < kBgmCount; ++k) {
        out.bgms[k].fileName = c.bgms[k].fileName;
        out.bgms[k].loop = c.bgms[k].loop;
    }
    for (int k = 0; k < kSoundCount; ++k) out.sounds[k] = c.sounds[k].fileName;
    for (int k = 0; k < kEnemyTypeCount; ++k) std::memcpy(out.enemyGroups[k], c.enemyTypes[k].members, 5);
    for (int k = 0; k < kWalkImgCount; ++k) {
        out.walkImgs[k].imageTransparent = c.walkImgs[k].imageTransparent;
        out.walkImgs[k].imageColour = c.walkImgs[k].imageColour;
    }
    std::memcpy(out.levels, c.levels, sizeof out.levels);
    std::memcpy(out.settings, &c.settings.reserved2, sizeof out.settings);
}

// ---- text files ------------------------------------------------------------

namespace {

// Writes tag, n and a comma at `at`; n is at most six digits.
char* putNumber(char* at, char tag, unsigned n) {
    char digits[8];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    *at++ = tag;
    while (count > 0) *at++ = digits[--count];
    *at++ = ',';
    return at;
}

}  // namespace

bool writeCellList(const Scenario& s, const std::function<bool(std::string_view)>& put) {
    const int fields = fieldsInUseCount(s);
    const int last = fields == 0 ? 0 : std::clamp(myend(s, fields), 0, kCellCount);
    // The text goes out in pieces through one small buffer, which stays in
    // the cache, rather than as one 10 MB string touched page by page.
    constexpr std::size_t kPiece = 128 * 1024;
    constexpr std::size_t kLongestLine = 5 * (8 + 5 * 5) + 2;  // five full cells and CR LF
    std::vector<char> buffer(kPiece + kLongestLine);
    char* const begin = buffer.data();
    char* at = begin;
    for (int first = 1; first <= last; first += 5) {
        char* const lineStart = at;
        for (int n = first; n <= std::min(last, first + 4); ++n) {
            const Cell& c = s.cell(n);
            const bool place = c.place >= 1 && c.place <= kPlaceCount;
            const bool enter = c.enter >= 1 && c.enter <= kEnterCount;
            const bool event = c.event >= 1 && c.event <= kEventCount;
            const bool item = c.item >= 1 && c.item <= kItemCount;
            const bool chara = c.chara >= 1 && c.chara <= kCharaCount;
            if (!(place || enter || event || item || chara)) continue;
            at = putNumber(at, 'h', static_cast<unsigned>(n));
            if (place) at = putNumber(at, 'p', static_cast<unsigned>(c.place));
            if (enter) at = putNumber(at, 'e', c.enter);
            if (event) at = putNumber(at, 'v', c.event);
            if (item) at = putNumber(at, 'i', c.item);
            if (chara) at = putNumber(at, 'c', c.chara);
        }
        if (at == lineStart) continue;
        *at++ = '\r';
        *at++ = '\n';
        if (static_cast<std::size_t>(at - begin) >= kPiece) {
            if (!put(std::string_view(begin, static_cast<std::size_t>(at - begin)))) return false;
            at = begin;
        }
    }
    return at == begin || put(std::string_view(begin, static_cast<std::size_t>(at - begin)));
}

std::string cellList(const Scenario& s) {
    std::string out;
    writeCellList(s, [&out](std::string_view piece) {
        out += piece;
        return true;
    });
    return out;
}

std::string fileList(const Scenario& s, std::string_view name) {
    std::string out;
    auto line = [&](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    auto group = [&] { out += "\r\n"; };
    auto dat = [&](const ShortString255& file) {
        if (!file.empty()) line(datName(file.view()));
    };
    std::string heading = cp932Literal("シナリオ  ");
    heading += s.settings.scenarioname.view();
    heading = std::string(cutCp932(heading, 42));
    heading += cp932Literal("の実行に必要なファイル");
    line(cutCp932(heading, 64));
    group();
    const std::string n(name);
    line(n + ".DST");
    line(n + ".CHP");
    line(n + ".LCT");
    group();
    for (const BgmDef& b : s.bgms)
        if (!b.fileName.empty()) line(b.fileName.view());
    group();
    for (const SoundDef& d : s.sounds)
        if (!d.fileName.empty()) line(d.fileName.view());
    group();
    dat(s.settings.scopeningbmp);
    dat(s.settings.scwallbmp);
    group();
    for (const auto& b : s.settings.titleBitmaps) dat(b);
    group();
    for (const auto& b : s.settings.endingBitmaps) dat(b);
    group();
    for (const CharaDef& c : s.charas) dat(c.chbossimg);
    group();
    for (const EventDef& e : s.events) dat(e.evprologuebmp);
    group();
    for (const EventDef& e : s.events) dat(e.evepiloguebmp);
    group();
    return out;
}

}  // namespace qrn
