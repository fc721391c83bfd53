// The join: what the runner files hold, computed from the scenario without
// touching it. joinfiles.h writes them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "resets.h"
#include "scenario.h"

namespace qrn {

inline constexpr int kSheetColumns = 30;
inline constexpr int kMaxChips = 900;
inline constexpr int kSheetWidth = kSheetColumns * 32;
inline constexpr int kRunnerRecordSize = 869775;

// The name without its extension: everything from the first "." of the file
// name part on is dropped; a folder part stays.
std::string delext(std::string_view name);
// The name a large bitmap carries in the runner files: delext(name) + ".DAT".
std::string datName(std::string_view name);
// The runner's bitmap files (the picture sheet, the large bitmaps) start
// with ".." where a bitmap file has "BM".
inline constexpr std::size_t kRunnerMarkLength = 2;
void markRunnerBitmap(std::string& bitmapFile);

// ---- chips -----------------------------------------------------------------

// The runner record's chip number tables (0: no picture).
#pragma pack(push, 1)
struct ChipTables {
    i32 chara[kCharaCount];
    i32 item[kItemCount];
    i32 eventBefore[kEventCount];
    i32 eventAfter[kEventCount];
    i32 place[kPlaceCount];
    i32 place2[kPlaceCount];
    i32 enter[kEnterCount];
    i32 enter2[kEnterCount];
    i32 fieldItem[kFieldCount];
    i32 walk[kWalkImgCount][kWalkFrames];
};
#pragma pack(pop)
static_assert(sizeof(ChipTables) == 9920);

// Picture groups in the order chips are given out.
enum class ChipGroup { FieldItem, Place, Place2, Enter, Enter2, EventBefore, EventAfter, Item, Chara, Walk };

// One object picture: group, object number (1-based), walk frame 1..8.
struct PictureRef {
    ChipGroup group;
    int number;
    int frame = 0;
    friend bool operator==(const PictureRef&, const PictureRef&) = default;
};

struct ChipAssignment {
    ChipTables tables{};
    // chips[n - 1]: the picture chip n is drawn from (the first object, in
    // group order, that names its file).
    std::vector<PictureRef> chips;
    // Non-empty picture names counted with repetitions, capped at 900.
    int pictureNames = 0;
    // Distinct files beyond the 900th; their objects get chip 0.
    int overflow = 0;

    // 32 x ceil(pictureNames / 30), at most 960.
    int sheetHeight() const;
};

// Gives every distinct picture file (exact name) one chip number 1..900.
ChipAssignment assignChips(const Scenario& s);

// The picture list index an object picture is drawn from, or -1 when the
// reference lies outside the tables.
int pictureIndexOf(const PictureIndexTables& pictures, const PictureRef& ref);

// ---- runner record ---------------------------------------------------------

#pragma pack(push, 1)
struct RunnerComment {
    ShortString250 line1, line2, line3, line4;
};
struct RunnerBgm {
    ShortString255 fileName;
    u8 loop;
};
struct RunnerWalkImg {
    u8 imageTransparent;
    i32 imageColour;
};
inline constexpr std::size_t kRunnerSettingsSize = sizeof(ScenarioSettings) - offsetof(ScenarioSettings, reserved2);

struct RunnerRecord {
    HeroDef hero;
    CharaDef charas[kCharaCount];
    ItemDef items[kItemCount];
    EventDef events[kEventCount];
    PlaceDef places[kPlaceCount];
    EnterDef enters[kEnterCount];
    ChipTables chips;
    MagicDef magics[kMagicCount];
    PoisonDef poisons[kPoisonCount];
    FieldDef fields[kFieldCount];
    RunnerComment comments[kCommentCount];
    RunnerBgm bgms[kBgmCount];
    ShortString255 sounds[kSoundCount];
    u8 enemyGroups[kEnemyTypeCount][5];
    RunnerWalkImg walkImgs[kWalkImgCount];
    LevelEntry levels[kLevelRows];
    u8 unused[256];
    u8 settings[kRunnerSettingsSize];  // ScenarioSettings from reserved2 on
};
#pragma pack(pop)

static_assert(sizeof(RunnerComment) == 1004 && sizeof(RunnerBgm) == 257 && sizeof(RunnerWalkImg) == 5);
static_assert(kRunnerSettingsSize == 3501);
static_assert(offsetof(RunnerRecord, charas) == 361);
static_assert(offsetof(RunnerRecord, items) == 93361);
static_assert(offsetof(RunnerRecord, events) == 113361);
static_assert(offsetof(RunnerRecord, places) == 269111);
static_assert(offsetof(RunnerRecord, enters) == 290711);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, chara) == 303961);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, item) == 304961);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, eventBefore) == 305961);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, eventAfter) == 306961);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, place) == 307961);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, place2) == 309561);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, enter) == 311161);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, enter2) == 312161);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, fieldItem) == 313161);
static_assert(offsetof(RunnerRecord, chips) + offsetof(ChipTables, walk) == 313561);
static_assert(offsetof(RunnerRecord, magics) == 313881);
static_assert(offsetof(RunnerRecord, poisons) == 317381);
static_assert(offsetof(RunnerRecord, fields) == 319531);
static_assert(offsetof(RunnerRecord, comments) == 337431);
static_assert(offsetof(RunnerRecord, bgms) == 839431);
static_assert(offsetof(RunnerRecord, sounds) == 852281);
static_assert(offsetof(RunnerRecord, enemyGroups) == 865081);
static_assert(offsetof(RunnerRecord, walkImgs) == 865331);
static_assert(offsetof(RunnerRecord, levels) == 865381);
static_assert(offsetof(RunnerRecord, unused) == 866018);
static_assert(offsetof(RunnerRecord, settings) == 866274);
static_assert(sizeof(RunnerRecord) == kRunnerRecordSize);

// Fills the runner record (all of it, the unused bytes with zeros) from the
// scenario: large bitmap names become datName, the texts are locked as in
// the scenario file. The scenario is read only.
void fillRunnerRecord(const Scenario& s, const ChipTables& chips, RunnerRecord& out);

// ---- large bitmaps ---------------------------------------------------------

enum class LargeBitmapKind { Battle, Prologue, Epilogue, Title, Ending, Wall, Opening };

// One large bitmap name slot of the scenario.
struct LargeBitmap {
    LargeBitmapKind kind;
    int number;  // character, event, or title/ending screen 1..5; 0 for wall and opening
    const ShortString255* name;
};

// Every large bitmap slot, set or not, in the order the join copies them:
// per k = 1..250 the character's battle picture and the event's prologue and
// epilogue; per screen 1..5 the title and ending bitmaps; the wall bitmap;
// the opening bitmap.
std::vector<LargeBitmap> largeBitmaps(const Scenario& s);

// ---- text files ------------------------------------------------------------

// The cell list: cells 1..L in groups of five, one CR LF line per group that
// holds anything, "h<cell>," then "p<terrain>,", "e<building>,", "v<event>,",
// "i<item>,", "c<character>," for the entries set. L is the last cell of the
// last field of the run of fields in use, capped at the store's end.
std::string cellList(const Scenario& s);
// The same text handed to `put` piece by piece, in order; stops when `put`
// returns false, and returns whether every piece was taken.
bool writeCellList(const Scenario& s, const std::function<bool(std::string_view)>& put);

// The file list (cp932, CR LF lines) for the join name `name` (cp932).
std::string fileList(const Scenario& s, std::string_view name);

}  // namespace qrn
