// The whole scenario as one packed, fixed-size record. The scenario file is
// this record byte for byte (texts locked), so every field sits at a fixed
// offset that is checked below.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qrn {

static_assert(std::endian::native == std::endian::little,
              "the scenario record is stored little-endian and read in place");

using u8 = std::uint8_t;
using i16 = std::int16_t;
using u16 = std::uint16_t;
using i32 = std::int32_t;

// Counts of every table.
inline constexpr int kCharaCount = 250;
inline constexpr int kItemCount = 250;
inline constexpr int kEventCount = 250;
inline constexpr int kPlaceCount = 400;
inline constexpr int kEnterCount = 250;
inline constexpr int kMagicCount = 50;
inline constexpr int kPoisonCount = 50;
inline constexpr int kFieldCount = 100;
inline constexpr int kCellCount = 300000;
inline constexpr int kBgmCount = 50;
inline constexpr int kSoundCount = 50;
inline constexpr int kCommentCount = 500;
inline constexpr int kEnemyTypeCount = 50;
inline constexpr int kWalkImgCount = 10;
inline constexpr int kWalkFrames = 8;
inline constexpr int kLevelRows = 49;
inline constexpr int kMaxFieldSide = 120;
inline constexpr int kRecordSize = 4516515;

#pragma pack(push, 1)

// Length-prefixed cp932 text of at most N bytes. Bytes after the length carry
// no meaning; the length byte of a loaded file may exceed N, so readers clamp.
template <int N>
struct ShortString {
    u8 len;
    char chars[N];

    static constexpr int capacity = N;

    int length() const { return len > N ? N : len; }
    std::string_view view() const { return {chars, static_cast<std::size_t>(length())}; }
    std::string str() const { return std::string(view()); }
    bool empty() const { return len == 0; }
    void clear() { len = 0; }
    // Stores raw cp932 bytes, cut to the capacity without splitting a
    // double-byte character. Bytes after the new length are left as they are.
    void assign(std::string_view cp932Bytes);
    // Stores raw bytes, cut to the capacity byte-wise (for binary slots).
    void assignRaw(std::string_view bytes);
};

using ShortString16 = ShortString<16>;
using ShortString32 = ShortString<32>;
using ShortString250 = ShortString<250>;
using ShortString255 = ShortString<255>;

struct HeroDef {
    ShortString32 heroname;
    u8 startField;
    i32 startPosition;
    i32 hemoney;
    i32 heexperience;
    u8 hemaxitem;
    u8 heroItems[250];
    u8 heroMagics[50];
    u8 helevel;
    i16 hemaxpower;
    i16 hemaxmp;
    i16 hestrength;
    i16 hedextality;
    u8 heweapon;
    u8 hearmor;
    u8 heshield;
    u8 hehelm;
    u8 hemagicitem;
};

struct CharaDef {
    ShortString32 name;
    u8 chcharatype;
    u16 chhealmoney;
    i16 chcomment;
    u8 chendhide;
    u8 chsale[10];
    u8 chtalkbgm;
    u8 chshowitem;
    u8 chshowevent;
    u8 chwantitem[5];
    i16 chitemcomment[5];
    u8 chwantevent[5];
    i16 cheventcomment[5];
    u8 chantimagic;
    u16 chpower;
    u16 chattack;
    u16 chdefence;
    u16 chdextality;
    u16 chmoney;
    u16 chexperience;
    u8 chitem;
    u8 chitemput;
    ShortString255 chbossimg;
    u8 chmagic[5];
    u8 chmagicuse;
    u8 chpoison[5];
    u8 chpoisonuse;
    u8 chbattlebgm;
    u8 chbattlesound;
    u8 imageTransparent;
    i32 imageColour;
};

struct ItemDef {
    ShortString32 name;
    u8 itgroup[6];  // weapon, shield, armour, helmet, other, general
    u8 itcount;
    i32 itmoney;
    u8 itspecial;
    i16 itcomment;
    u8 itshowserch;
    u8 itfielduse;
    u8 itbattleuse;
    i32 itstrength;
    i32 itdefence;
    i32 itdextality;
    i32 ithealing;
    i32 ithealmp;
    u8 itantipoison;
    u8 itmagic;
    u8 itfindbgm;
    u8 itsound;
    u8 itattacksound;
    u8 imageTransparent;
    i32 imageColour;
};

struct EventDef {
    ShortString32 name;
    u8 evstarthide;
    u8 evendhide;
    u8 evenemy;
    i16 evstartcomment;
    i16 evendcomment;
    u8 jumpField;
    i32 jumpPosition;
    i16 evprologue;
    ShortString255 evprologuebmp;
    u8 evprologuebgm;
    i16 evepilogue;
    ShortString255 evepiloguebmp;
    u8 evepiloguebgm;
    u8 evending;
    u8 evaction;
    i32 evstartitem;
    u8 evshowitem[10];
    u8 evshowevent[10];
    u8 evgetitem[10];
    u8 evputitem[10];
    u8 evdieok;
    u8 evgetmagic;
    u8 evinfinity;
    u8 evnotwondering;
    u8 imageTransparent;
    u8 image2Transparent;
    i32 imageColour;
    i32 image2Colour;
};

struct PlaceDef {
    ShortString32 name;
    u8 plmove;
    u8 plwantitem;
    u8 plwalkimg;
    u8 plenemytype;
    u8 plwondering;
    u8 plhealing;
    u8 pldamage;
    u8 plrecover;
    u8 plsound;
    u8 plshowitem;
    u8 plshowevent;
    u8 imageTransparent;
    u8 image2Transparent;
    i32 imageColour;
    i32 image2Colour;
};

struct EnterDef {
    ShortString32 name;
    u8 enwantitem;
    u8 jumpField;
    i32 jumpPosition;
    u8 ensound;
    u8 enshowitem;
    u8 enshowevent;
    u8 enmove;
    u8 imageTransparent;
    u8 image2Transparent;
    i32 imageColour;
    i32 image2Colour;
};

struct MagicDef {
    ShortString32 name;
    u16 mgdownmp;
    u8 mgsuccess;
    u8 mgusebattle;
    u8 allTargets;
    u8 mgantipoison;
    u8 mgsilence;
    u8 mgsleep;
    u8 escapeMagic;
    u8 warpMagic;
    u8 statusMagic;
    i32 mghealing;
    u16 mgdamage;
    u16 mgupstr;
    u16 mgdownstr;
    u16 mgupdef;
    u16 mgdowndef;
    u16 mgupdex;
    u16 mgdowndex;
    u8 mgsound;
    u8 mgdamagetome;
    u8 mgupstrtome;
    u8 mgdownstrtome;
    u8 mgupdeftome;
    u8 mgdowndeftome;
    u8 mgupdextome;
    u8 mgdowndextome;
};

struct PoisonDef {
    ShortString32 name;
    u16 podamage;
    u16 podownmp;
    u16 podownstr;
    u16 podowndef;
    u16 podowndex;
};

struct FieldDef {
    ShortString32 name;
    i32 firstCell;
    i16 cellCount;
    i32 warpPoints[30];
    u8 escapeField;
    i32 escapePosition;
    u8 fieldBgm;
    u8 fieldsave;
    u8 itemImageTransparent;
    i32 itemImageColour;
    i32 width;
    i32 height;
};

struct Cell {
    u8 col;
    u8 row;
    u8 enter;
    u8 event;
    u8 chara;
    u8 item;
    i32 place;
};

struct BgmDef {
    ShortString32 name;
    ShortString255 fileName;
    u8 loop;
};

struct SoundDef {
    ShortString32 name;
    ShortString255 fileName;
};

struct CommentDef {
    ShortString32 name;
    ShortString250 line1;
    ShortString250 line2;
    ShortString250 line3;
    ShortString250 line4;
};

struct EnemyTypeDef {
    ShortString32 name;
    u8 members[5];
};

struct WalkImgDef {
    ShortString32 name;
    u8 imageTransparent;
    i32 imageColour;
};

struct LevelEntry {
    i32 experience;
    u16 power;
    u16 strength;
    u16 dextality;
    u16 mp;
    u8 magic;
};

struct ScenarioSettings {
    ShortString255 reserved1;
    ShortString250 reserved2;
    ShortString32 randomStamp;
    ShortString32 scenarioname;
    ShortString32 scdesigner;
    ShortString16 scplaypassword;
    ShortString16 scdoller;
    u8 scsaleby;
    u8 scdefwalkimg;
    i16 scgameover;
    ShortString255 scopeningbmp;
    u8 scopeningbgm;
    i32 startDirection;
    ShortString255 scwallbmp;
    ShortString255 titleBitmaps[5];
    i16 titleComments[5];
    i16 prologueComment;
    u8 titleBgm;
    ShortString255 endingBitmaps[5];
    i16 endingComments[5];
    i16 epilogueComment;
    u8 endingBgm;
    u8 battleBgm;
    u8 gameoverBgm;
    u8 battleEndBgm;
    u8 levelupBgm;
    u8 magicSound;
    u8 attackSound;
    u8 damageSound;
    u8 itemSound;
    u8 wonderingSound;
    u8 heroNameChangeable;
};

// Tables are stored 0-based here; the accessors below take the 1-based
// numbers that the rest of the editor and the file use.
struct Scenario {
    HeroDef hero;
    CharaDef charas[kCharaCount];
    ItemDef items[kItemCount];
    EventDef events[kEventCount];
    PlaceDef places[kPlaceCount];
    EnterDef enters[kEnterCount];
    MagicDef magics[kMagicCount];
    PoisonDef poisons[kPoisonCount];
    FieldDef fields[kFieldCount];
    Cell cells[kCellCount];
    BgmDef bgms[kBgmCount];
    SoundDef sounds[kSoundCount];
    CommentDef comments[kCommentCount];
    EnemyTypeDef enemyTypes[kEnemyTypeCount];
    WalkImgDef walkImgs[kWalkImgCount];
    LevelEntry levels[kLevelRows];
    ShortString255 walkImageFiles[kWalkImgCount][kWalkFrames];
    ShortString255 charaImageFiles[kCharaCount];
    ShortString255 itemImageFiles[kItemCount];
    ShortString255 eventImageFiles[kEventCount];
    ShortString255 eventImage2Files[kEventCount];
    ShortString255 placeImageFiles[kPlaceCount];
    ShortString255 placeImage2Files[kPlaceCount];
    ShortString255 enterImageFiles[kEnterCount];
    ShortString255 enterImage2Files[kEnterCount];
    ShortString255 fieldItemImageFiles[kFieldCount];
    ScenarioSettings settings;

    CharaDef& chara(int n) { return charas[n - 1]; }
    ItemDef& item(int n) { return items[n - 1]; }
    EventDef& event(int n) { return events[n - 1]; }
    PlaceDef& place(int n) { return places[n - 1]; }
    EnterDef& enter(int n) { return enters[n - 1]; }
    MagicDef& magic(int n) { return magics[n - 1]; }
    PoisonDef& poison(int n) { return poisons[n - 1]; }
    FieldDef& field(int n) { return fields[n - 1]; }
    Cell& cell(int n) { return cells[n - 1]; }
    BgmDef& bgm(int n) { return bgms[n - 1]; }
    SoundDef& sound(int n) { return sounds[n - 1]; }
    CommentDef& comment(int n) { return comments[n - 1]; }
    EnemyTypeDef& enemyType(int n) { return enemyTypes[n - 1]; }
    WalkImgDef& walkImg(int n) { return walkImgs[n - 1]; }
    LevelEntry& level(int row) { return levels[row - 1]; }
    const FieldDef& field(int n) const { return fields[n - 1]; }
    const Cell& cell(int n) const { return cells[n - 1]; }

    unsigned char* bytes() { return reinterpret_cast<unsigned char*>(this); }
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(this); }

    // A record on the heap lies on huge pages where the system offers them:
    // filling a fresh one then costs a few page faults instead of about 1,100.
    static void* operator new(std::size_t size);
    static void operator delete(void* record) noexcept;
};

#pragma pack(pop)

// ---- layout checks -------------------------------------------------------
static_assert(sizeof(ShortString16) == 17 && sizeof(ShortString32) == 33);
static_assert(sizeof(ShortString250) == 251 && sizeof(ShortString255) == 256);

static_assert(sizeof(HeroDef) == 361);
static_assert(offsetof(HeroDef, startField) == 33 && offsetof(HeroDef, startPosition) == 34);
static_assert(offsetof(HeroDef, hemoney) == 38 && offsetof(HeroDef, heexperience) == 42);
static_assert(offsetof(HeroDef, hemaxitem) == 46 && offsetof(HeroDef, heroItems) == 47);
static_assert(offsetof(HeroDef, heroMagics) == 297 && offsetof(HeroDef, helevel) == 347);
static_assert(offsetof(HeroDef, hemaxpower) == 348 && offsetof(HeroDef, hemaxmp) == 350);
static_assert(offsetof(HeroDef, hestrength) == 352 && offsetof(HeroDef, hedextality) == 354);
static_assert(offsetof(HeroDef, heweapon) == 356 && offsetof(HeroDef, hearmor) == 357);
static_assert(offsetof(HeroDef, heshield) == 358 && offsetof(HeroDef, hehelm) == 359);
static_assert(offsetof(HeroDef, hemagicitem) == 360);

static_assert(sizeof(CharaDef) == 372);
static_assert(offsetof(CharaDef, chcharatype) == 33 && offsetof(CharaDef, chhealmoney) == 34);
static_assert(offsetof(CharaDef, chcomment) == 36 && offsetof(CharaDef, chendhide) == 38);
static_assert(offsetof(CharaDef, chsale) == 39 && offsetof(CharaDef, chtalkbgm) == 49);
static_assert(offsetof(CharaDef, chshowitem) == 50 && offsetof(CharaDef, chshowevent) == 51);
static_assert(offsetof(CharaDef, chwantitem) == 52 && offsetof(CharaDef, chitemcomment) == 57);
static_assert(offsetof(CharaDef, chwantevent) == 67 && offsetof(CharaDef, cheventcomment) == 72);
static_assert(offsetof(CharaDef, chantimagic) == 82 && offsetof(CharaDef, chpower) == 83);
static_assert(offsetof(CharaDef, chattack) == 85 && offsetof(CharaDef, chdefence) == 87);
static_assert(offsetof(CharaDef, chdextality) == 89 && offsetof(CharaDef, chmoney) == 91);
static_assert(offsetof(CharaDef, chexperience) == 93 && offsetof(CharaDef, chitem) == 95);
static_assert(offsetof(CharaDef, chitemput) == 96 && offsetof(CharaDef, chbossimg) == 97);
static_assert(offsetof(CharaDef, chmagic) == 353 && offsetof(CharaDef, chmagicuse) == 358);
static_assert(offsetof(CharaDef, chpoison) == 359 && offsetof(CharaDef, chpoisonuse) == 364);
static_assert(offsetof(CharaDef, chbattlebgm) == 365 && offsetof(CharaDef, chbattlesound) == 366);
static_assert(offsetof(CharaDef, imageTransparent) == 367 && offsetof(CharaDef, imageColour) == 368);

static_assert(sizeof(ItemDef) == 80);
static_assert(offsetof(ItemDef, itgroup) == 33 && offsetof(ItemDef, itcount) == 39);
static_assert(offsetof(ItemDef, itmoney) == 40 && offsetof(ItemDef, itspecial) == 44);
static_assert(offsetof(ItemDef, itcomment) == 45 && offsetof(ItemDef, itshowserch) == 47);
static_assert(offsetof(ItemDef, itfielduse) == 48 && offsetof(ItemDef, itbattleuse) == 49);
static_assert(offsetof(ItemDef, itstrength) == 50 && offsetof(ItemDef, itdefence) == 54);
static_assert(offsetof(ItemDef, itdextality) == 58 && offsetof(ItemDef, ithealing) == 62);
static_assert(offsetof(ItemDef, ithealmp) == 66 && offsetof(ItemDef, itantipoison) == 70);
static_assert(offsetof(ItemDef, itmagic) == 71 && offsetof(ItemDef, itfindbgm) == 72);
static_assert(offsetof(ItemDef, itsound) == 73 && offsetof(ItemDef, itattacksound) == 74);
static_assert(offsetof(ItemDef, imageTransparent) == 75 && offsetof(ItemDef, imageColour) == 76);

static_assert(sizeof(EventDef) == 623);
static_assert(offsetof(EventDef, evstarthide) == 33 && offsetof(EventDef, evendhide) == 34);
static_assert(offsetof(EventDef, evenemy) == 35 && offsetof(EventDef, evstartcomment) == 36);
static_assert(offsetof(EventDef, evendcomment) == 38 && offsetof(EventDef, jumpField) == 40);
static_assert(offsetof(EventDef, jumpPosition) == 41 && offsetof(EventDef, evprologue) == 45);
static_assert(offsetof(EventDef, evprologuebmp) == 47 && offsetof(EventDef, evprologuebgm) == 303);
static_assert(offsetof(EventDef, evepilogue) == 304 && offsetof(EventDef, evepiloguebmp) == 306);
static_assert(offsetof(EventDef, evepiloguebgm) == 562 && offsetof(EventDef, evending) == 563);
static_assert(offsetof(EventDef, evaction) == 564 && offsetof(EventDef, evstartitem) == 565);
static_assert(offsetof(EventDef, evshowitem) == 569 && offsetof(EventDef, evshowevent) == 579);
static_assert(offsetof(EventDef, evgetitem) == 589 && offsetof(EventDef, evputitem) == 599);
static_assert(offsetof(EventDef, evdieok) == 609 && offsetof(EventDef, evgetmagic) == 610);
static_assert(offsetof(EventDef, evinfinity) == 611 && offsetof(EventDef, evnotwondering) == 612);
static_assert(offsetof(EventDef, imageTransparent) == 613 && offsetof(EventDef, image2Transparent) == 614);
static_assert(offsetof(EventDef, imageColour) == 615 && offsetof(EventDef, image2Colour) == 619);

static_assert(sizeof(PlaceDef) == 54);
static_assert(offsetof(PlaceDef, plmove) == 33 && offsetof(PlaceDef, plwantitem) == 34);
static_assert(offsetof(PlaceDef, plwalkimg) == 35 && offsetof(PlaceDef, plenemytype) == 36);
static_assert(offsetof(PlaceDef, plwondering) == 37 && offsetof(PlaceDef, plhealing) == 38);
static_assert(offsetof(PlaceDef, pldamage) == 39 && offsetof(PlaceDef, plrecover) == 40);
static_assert(offsetof(PlaceDef, plsound) == 41 && offsetof(PlaceDef, plshowitem) == 42);
static_assert(offsetof(PlaceDef, plshowevent) == 43 && offsetof(PlaceDef, imageTransparent) == 44);
static_assert(offsetof(PlaceDef, image2Transparent) == 45 && offsetof(PlaceDef, imageColour) == 46);
static_assert(offsetof(PlaceDef, image2Colour) == 50);

static_assert(sizeof(EnterDef) == 53);
static_assert(offsetof(EnterDef, enwantitem) == 33 && offsetof(EnterDef, jumpField) == 34);
static_assert(offsetof(EnterDef, jumpPosition) == 35 && offsetof(EnterDef, ensound) == 39);
static_assert(offsetof(EnterDef, enshowitem) == 40 && offsetof(EnterDef, enshowevent) == 41);
static_assert(offsetof(EnterDef, enmove) == 42 && offsetof(EnterDef, imageTransparent) == 43);
static_assert(offsetof(EnterDef, image2Transparent) == 44 && offsetof(EnterDef, imageColour) == 45);
static_assert(offsetof(EnterDef, image2Colour) == 49);

static_assert(sizeof(MagicDef) == 70);
static_assert(offsetof(MagicDef, mgdownmp) == 33 && offsetof(MagicDef, mgsuccess) == 35);
static_assert(offsetof(MagicDef, mgusebattle) == 36 && offsetof(MagicDef, allTargets) == 37);
static_assert(offsetof(MagicDef, mgantipoison) == 38 && offsetof(MagicDef, mgsilence) == 39);
static_assert(offsetof(MagicDef, mgsleep) == 40 && offsetof(MagicDef, escapeMagic) == 41);
static_assert(offsetof(MagicDef, warpMagic) == 42 && offsetof(MagicDef, statusMagic) == 43);
static_assert(offsetof(MagicDef, mghealing) == 44 && offsetof(MagicDef, mgdamage) == 48);
static_assert(offsetof(MagicDef, mgupstr) == 50 && offsetof(MagicDef, mgdownstr) == 52);
static_assert(offsetof(MagicDef, mgupdef) == 54 && offsetof(MagicDef, mgdowndef) == 56);
static_assert(offsetof(MagicDef, mgupdex) == 58 && offsetof(MagicDef, mgdowndex) == 60);
static_assert(offsetof(MagicDef, mgsound) == 62 && offsetof(MagicDef, mgdamagetome) == 63);
static_assert(offsetof(MagicDef, mgdowndextome) == 69);

static_assert(sizeof(PoisonDef) == 43);
static_assert(offsetof(PoisonDef, podamage) == 33 && offsetof(PoisonDef, podownmp) == 35);
static_assert(offsetof(PoisonDef, podownstr) == 37 && offsetof(PoisonDef, podowndef) == 39);
static_assert(offsetof(PoisonDef, podowndex) == 41);

static_assert(sizeof(FieldDef) == 179);
static_assert(offsetof(FieldDef, firstCell) == 33 && offsetof(FieldDef, cellCount) == 37);
static_assert(offsetof(FieldDef, warpPoints) == 39 && offsetof(FieldDef, escapeField) == 159);
static_assert(offsetof(FieldDef, escapePosition) == 160 && offsetof(FieldDef, fieldBgm) == 164);
static_assert(offsetof(FieldDef, fieldsave) == 165 && offsetof(FieldDef, itemImageTransparent) == 166);
static_assert(offsetof(FieldDef, itemImageColour) == 167 && offsetof(FieldDef, width) == 171);
static_assert(offsetof(FieldDef, height) == 175);

static_assert(sizeof(Cell) == 10);
static_assert(offsetof(Cell, enter) == 2 && offsetof(Cell, event) == 3 && offsetof(Cell, chara) == 4);
static_assert(offsetof(Cell, item) == 5 && offsetof(Cell, place) == 6);

static_assert(sizeof(BgmDef) == 290 && offsetof(BgmDef, fileName) == 33 && offsetof(BgmDef, loop) == 289);
static_assert(sizeof(SoundDef) == 289 && offsetof(SoundDef, fileName) == 33);
static_assert(sizeof(CommentDef) == 1037);
static_assert(offsetof(CommentDef, line1) == 33 && offsetof(CommentDef, line2) == 284);
static_assert(offsetof(CommentDef, line3) == 535 && offsetof(CommentDef, line4) == 786);
static_assert(sizeof(EnemyTypeDef) == 38 && offsetof(EnemyTypeDef, members) == 33);
static_assert(sizeof(WalkImgDef) == 38);
static_assert(offsetof(WalkImgDef, imageTransparent) == 33 && offsetof(WalkImgDef, imageColour) == 34);
static_assert(sizeof(LevelEntry) == 13);
static_assert(offsetof(LevelEntry, power) == 4 && offsetof(LevelEntry, strength) == 6);
static_assert(offsetof(LevelEntry, dextality) == 8 && offsetof(LevelEntry, mp) == 10);
static_assert(offsetof(LevelEntry, magic) == 12);

static_assert(sizeof(ScenarioSettings) == 3757);

static_assert(offsetof(Scenario, hero) == 0);
static_assert(offsetof(Scenario, charas) == 361);
static_assert(offsetof(Scenario, items) == 93361);
static_assert(offsetof(Scenario, events) == 113361);
static_assert(offsetof(Scenario, places) == 269111);
static_assert(offsetof(Scenario, enters) == 290711);
static_assert(offsetof(Scenario, magics) == 303961);
static_assert(offsetof(Scenario, poisons) == 307461);
static_assert(offsetof(Scenario, fields) == 309611);
static_assert(offsetof(Scenario, cells) == 327511);
static_assert(offsetof(Scenario, bgms) == 3327511);
static_assert(offsetof(Scenario, sounds) == 3342011);
static_assert(offsetof(Scenario, comments) == 3356461);
static_assert(offsetof(Scenario, enemyTypes) == 3874961);
static_assert(offsetof(Scenario, walkImgs) == 3876861);
static_assert(offsetof(Scenario, levels) == 3877241);
static_assert(offsetof(Scenario, walkImageFiles) == 3877878);
static_assert(offsetof(Scenario, charaImageFiles) == 3898358);
static_assert(offsetof(Scenario, itemImageFiles) == 3962358);
static_assert(offsetof(Scenario, eventImageFiles) == 4026358);
static_assert(offsetof(Scenario, eventImage2Files) == 4090358);
static_assert(offsetof(Scenario, placeImageFiles) == 4154358);
static_assert(offsetof(Scenario, placeImage2Files) == 4256758);
static_assert(offsetof(Scenario, enterImageFiles) == 4359158);
static_assert(offsetof(Scenario, enterImage2Files) == 4423158);
static_assert(offsetof(Scenario, fieldItemImageFiles) == 4487158);
static_assert(offsetof(Scenario, settings) == 4512758);
static_assert(sizeof(Scenario) == kRecordSize);

inline constexpr std::size_t kSettingsOffset = 4512758;
static_assert(kSettingsOffset + offsetof(ScenarioSettings, reserved2) == 4513014);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, randomStamp) == 4513265);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scenarioname) == 4513298);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scdesigner) == 4513331);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scplaypassword) == 4513364);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scdoller) == 4513381);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scsaleby) == 4513398);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scdefwalkimg) == 4513399);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scgameover) == 4513400);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scopeningbmp) == 4513402);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scopeningbgm) == 4513658);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, startDirection) == 4513659);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, scwallbmp) == 4513663);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, titleBitmaps) == 4513919);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, titleComments) == 4515199);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, prologueComment) == 4515209);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, titleBgm) == 4515211);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, endingBitmaps) == 4515212);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, endingComments) == 4516492);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, epilogueComment) == 4516502);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, endingBgm) == 4516504);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, battleBgm) == 4516505);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, gameoverBgm) == 4516506);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, battleEndBgm) == 4516507);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, levelupBgm) == 4516508);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, magicSound) == 4516509);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, attackSound) == 4516510);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, damageSound) == 4516511);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, itemSound) == 4516512);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, wonderingSound) == 4516513);
static_assert(kSettingsOffset + offsetof(ScenarioSettings, heroNameChangeable) == 4516514);

// The one scenario the editor works on, for the life of the process.
Scenario& theScenario();

// ---- addressing helpers ---------------------------------------------------
// All of them treat out-of-range values (a damaged or hostile file) as none.

// A field slot is in use when its firstCell is above 0.
bool fieldInUse(const Scenario& s, int field);
// Number of fields in use: the run 1..k, stopping at the first free slot.
int fieldsInUseCount(const Scenario& s);
// Last cell number of a field (firstCell + cellCount - 1).
int myend(const Scenario& s, int field);
// Cell number of a position of a field, or 0 when the position or the
// resulting cell lies outside the field or the store.
int cellOf(const Scenario& s, int field, int position);
// Column (axis 0) or row (axis != 0) + 1 of a stored location: kind 0 building
// jump, 1 event jump, 2 field escape, 3 hero start. 1 for anything unreadable.
int linkby(const Scenario& s, int kind, int number, int axis);
// Building number on the cell at a position of a field (0 when none).
int makerserchenter(const Scenario& s, int position, int field);

}  // namespace qrn
