#include "json_scenario.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "scenario/resets.h"
#include "scenario/text.h"

namespace qrn::cli {

namespace {

// ---- the record described field by field ------------------------------------

enum class Kind : std::uint8_t { U8, I16, U16, I32, Text };

struct MemberLayout {
    const char* key;
    std::size_t offset;  // within its record
    std::size_t size;    // bytes of the whole member (all elements of an array)
    Kind kind;
    int count;     // 0: one value; n: a JSON array of n values
    int capacity;  // texts: the bytes a slot holds
    bool alwaysHex;
};

template <typename T>
struct IsShortString : std::false_type {};
template <int N>
struct IsShortString<ShortString<N>> : std::true_type {};

template <typename M>
constexpr MemberLayout describe(const char* key, std::size_t offset) {
    using E = std::remove_extent_t<M>;
    static_assert(std::rank_v<M> <= 1, "nested arrays are described by hand");
    const int count = std::is_array_v<M> ? static_cast<int>(std::extent_v<M>) : 0;
    MemberLayout f{key, offset, sizeof(M), Kind::U8, count, 0, false};
    if constexpr (std::is_same_v<E, u8>) {
        f.kind = Kind::U8;
    } else if constexpr (std::is_same_v<E, i16>) {
        f.kind = Kind::I16;
    } else if constexpr (std::is_same_v<E, u16>) {
        f.kind = Kind::U16;
    } else if constexpr (std::is_same_v<E, i32>) {
        f.kind = Kind::I32;
    } else {
        static_assert(IsShortString<E>::value, "unknown member type");
        f.kind = Kind::Text;
        f.capacity = E::capacity;
    }
    return f;
}

constexpr MemberLayout hexOnly(MemberLayout f) {
    f.alwaysHex = true;
    return f;
}

#define QRN_FIELD(S, m) describe<decltype(S::m)>(#m, offsetof(S, m))

// True when the members follow each other without gap up to the record's end,
// so every byte of the record has a key.
constexpr bool coversRecord(std::span<const MemberLayout> fields, std::size_t size) {
    std::size_t at = 0;
    for (const MemberLayout& f : fields) {
        if (f.offset != at) return false;
        at += f.size;
    }
    return at == size;
}

constexpr MemberLayout kHeroFields[] = {
    QRN_FIELD(HeroDef, heroname),    QRN_FIELD(HeroDef, startField),  QRN_FIELD(HeroDef, startPosition),
    QRN_FIELD(HeroDef, hemoney),     QRN_FIELD(HeroDef, heexperience), QRN_FIELD(HeroDef, hemaxitem),
    QRN_FIELD(HeroDef, heroItems),   QRN_FIELD(HeroDef, heroMagics),  QRN_FIELD(HeroDef, helevel),
    QRN_FIELD(HeroDef, hemaxpower),  QRN_FIELD(HeroDef, hemaxmp),     QRN_FIELD(HeroDef, hestrength),
    QRN_FIELD(HeroDef, hedextality), QRN_FIELD(HeroDef, heweapon),    QRN_FIELD(HeroDef, hearmor),
    QRN_FIELD(HeroDef, heshield),    QRN_FIELD(HeroDef, hehelm),      QRN_FIELD(HeroDef, hemagicitem),
};
static_assert(coversRecord(kHeroFields, sizeof(HeroDef)));

constexpr MemberLayout kCharaFields[] = {
    QRN_FIELD(CharaDef, name),           QRN_FIELD(CharaDef, chcharatype),   QRN_FIELD(CharaDef, chhealmoney),
    QRN_FIELD(CharaDef, chcomment),      QRN_FIELD(CharaDef, chendhide),     QRN_FIELD(CharaDef, chsale),
    QRN_FIELD(CharaDef, chtalkbgm),      QRN_FIELD(CharaDef, chshowitem),    QRN_FIELD(CharaDef, chshowevent),
    QRN_FIELD(CharaDef, chwantitem),     QRN_FIELD(CharaDef, chitemcomment), QRN_FIELD(CharaDef, chwantevent),
    QRN_FIELD(CharaDef, cheventcomment), QRN_FIELD(CharaDef, chantimagic),   QRN_FIELD(CharaDef, chpower),
    QRN_FIELD(CharaDef, chattack),       QRN_FIELD(CharaDef, chdefence),     QRN_FIELD(CharaDef, chdextality),
    QRN_FIELD(CharaDef, chmoney),        QRN_FIELD(CharaDef, chexperience),  QRN_FIELD(CharaDef, chitem),
    QRN_FIELD(CharaDef, chitemput),      QRN_FIELD(CharaDef, chbossimg),     QRN_FIELD(CharaDef, chmagic),
    QRN_FIELD(CharaDef, chmagicuse),     QRN_FIELD(CharaDef, chpoison),      QRN_FIELD(CharaDef, chpoisonuse),
    QRN_FIELD(CharaDef, chbattlebgm),    QRN_FIELD(CharaDef, chbattlesound), QRN_FIELD(CharaDef, imageTransparent),
    QRN_FIELD(CharaDef, imageColour),
};
static_assert(coversRecord(kCharaFields, sizeof(CharaDef)));

constexpr MemberLayout kItemFields[] = {
    QRN_FIELD(ItemDef, name),          QRN_FIELD(ItemDef, itgroup),       QRN_FIELD(ItemDef, itcount),
    QRN_FIELD(ItemDef, itmoney),       QRN_FIELD(ItemDef, itspecial),     QRN_FIELD(ItemDef, itcomment),
    QRN_FIELD(ItemDef, itshowserch),   QRN_FIELD(ItemDef, itfielduse),    QRN_FIELD(ItemDef, itbattleuse),
    QRN_FIELD(ItemDef, itstrength),    QRN_FIELD(ItemDef, itdefence),     QRN_FIELD(ItemDef, itdextality),
    QRN_FIELD(ItemDef, ithealing),     QRN_FIELD(ItemDef, ithealmp),      QRN_FIELD(ItemDef, itantipoison),
    QRN_FIELD(ItemDef, itmagic),       QRN_FIELD(ItemDef, itfindbgm),     QRN_FIELD(ItemDef, itsound),
    QRN_FIELD(ItemDef, itattacksound), QRN_FIELD(ItemDef, imageTransparent), QRN_FIELD(ItemDef, imageColour),
};
static_assert(coversRecord(kItemFields, sizeof(ItemDef)));

constexpr MemberLayout kEventFields[] = {
    QRN_FIELD(EventDef, name),           QRN_FIELD(EventDef, evstarthide),    QRN_FIELD(EventDef, evendhide),
    QRN_FIELD(EventDef, evenemy),        QRN_FIELD(EventDef, evstartcomment), QRN_FIELD(EventDef, evendcomment),
    QRN_FIELD(EventDef, jumpField),      QRN_FIELD(EventDef, jumpPosition),   QRN_FIELD(EventDef, evprologue),
    QRN_FIELD(EventDef, evprologuebmp),  QRN_FIELD(EventDef, evprologuebgm),  QRN_FIELD(EventDef, evepilogue),
    QRN_FIELD(EventDef, evepiloguebmp),  QRN_FIELD(EventDef, evepiloguebgm),  QRN_FIELD(EventDef, evending),
    QRN_FIELD(EventDef, evaction),       QRN_FIELD(EventDef, evstartitem),    QRN_FIELD(EventDef, evshowitem),
    QRN_FIELD(EventDef, evshowevent),    QRN_FIELD(EventDef, evgetitem),      QRN_FIELD(EventDef, evputitem),
    QRN_FIELD(EventDef, evdieok),        QRN_FIELD(EventDef, evgetmagic),     QRN_FIELD(EventDef, evinfinity),
    QRN_FIELD(EventDef, evnotwondering), QRN_FIELD(EventDef, imageTransparent), QRN_FIELD(EventDef, image2Transparent),
    QRN_FIELD(EventDef, imageColour),    QRN_FIELD(EventDef, image2Colour),
};
static_assert(coversRecord(kEventFields, sizeof(EventDef)));

constexpr MemberLayout kPlaceFields[] = {
    QRN_FIELD(PlaceDef, name),       QRN_FIELD(PlaceDef, plmove),        QRN_FIELD(PlaceDef, plwantitem),
    QRN_FIELD(PlaceDef, plwalkimg),  QRN_FIELD(PlaceDef, plenemytype),   QRN_FIELD(PlaceDef, plwondering),
    QRN_FIELD(PlaceDef, plhealing),  QRN_FIELD(PlaceDef, pldamage),      QRN_FIELD(PlaceDef, plrecover),
    QRN_FIELD(PlaceDef, plsound),    QRN_FIELD(PlaceDef, plshowitem),    QRN_FIELD(PlaceDef, plshowevent),
    QRN_FIELD(PlaceDef, imageTransparent), QRN_FIELD(PlaceDef, image2Transparent),
    QRN_FIELD(PlaceDef, imageColour), QRN_FIELD(PlaceDef, image2Colour),
};
static_assert(coversRecord(kPlaceFields, sizeof(PlaceDef)));

constexpr MemberLayout kEnterFields[] = {
    QRN_FIELD(EnterDef, name),        QRN_FIELD(EnterDef, enwantitem),  QRN_FIELD(EnterDef, jumpField),
    QRN_FIELD(EnterDef, jumpPosition), QRN_FIELD(EnterDef, ensound),    QRN_FIELD(EnterDef, enshowitem),
    QRN_FIELD(EnterDef, enshowevent), QRN_FIELD(EnterDef, enmove),      QRN_FIELD(EnterDef, imageTransparent),
    QRN_FIELD(EnterDef, image2Transparent), QRN_FIELD(EnterDef, imageColour), QRN_FIELD(EnterDef, image2Colour),
};
static_assert(coversRecord(kEnterFields, sizeof(EnterDef)));

constexpr MemberLayout kMagicFields[] = {
    QRN_FIELD(MagicDef, name),          QRN_FIELD(MagicDef, mgdownmp),      QRN_FIELD(MagicDef, mgsuccess),
    QRN_FIELD(MagicDef, mgusebattle),   QRN_FIELD(MagicDef, allTargets),    QRN_FIELD(MagicDef, mgantipoison),
    QRN_FIELD(MagicDef, mgsilence),     QRN_FIELD(MagicDef, mgsleep),       QRN_FIELD(MagicDef, escapeMagic),
    QRN_FIELD(MagicDef, warpMagic),     QRN_FIELD(MagicDef, statusMagic),   QRN_FIELD(MagicDef, mghealing),
    QRN_FIELD(MagicDef, mgdamage),      QRN_FIELD(MagicDef, mgupstr),       QRN_FIELD(MagicDef, mgdownstr),
    QRN_FIELD(MagicDef, mgupdef),       QRN_FIELD(MagicDef, mgdowndef),     QRN_FIELD(MagicDef, mgupdex),
    QRN_FIELD(MagicDef, mgdowndex),     QRN_FIELD(MagicDef, mgsound),       QRN_FIELD(MagicDef, mgdamagetome),
    QRN_FIELD(MagicDef, mgupstrtome),   QRN_FIELD(MagicDef, mgdownstrtome), QRN_FIELD(MagicDef, mgupdeftome),
    QRN_FIELD(MagicDef, mgdowndeftome), QRN_FIELD(MagicDef, mgupdextome),   QRN_FIELD(MagicDef, mgdowndextome),
};
static_assert(coversRecord(kMagicFields, sizeof(MagicDef)));

constexpr MemberLayout kPoisonFields[] = {
    QRN_FIELD(PoisonDef, name),      QRN_FIELD(PoisonDef, podamage),  QRN_FIELD(PoisonDef, podownmp),
    QRN_FIELD(PoisonDef, podownstr), QRN_FIELD(PoisonDef, podowndef), QRN_FIELD(PoisonDef, podowndex),
};
static_assert(coversRecord(kPoisonFields, sizeof(PoisonDef)));

constexpr MemberLayout kFieldFields[] = {
    QRN_FIELD(FieldDef, name),          QRN_FIELD(FieldDef, firstCell),       QRN_FIELD(FieldDef, cellCount),
    QRN_FIELD(FieldDef, warpPoints),    QRN_FIELD(FieldDef, escapeField),     QRN_FIELD(FieldDef, escapePosition),
    QRN_FIELD(FieldDef, fieldBgm),      QRN_FIELD(FieldDef, fieldsave),       QRN_FIELD(FieldDef, itemImageTransparent),
    QRN_FIELD(FieldDef, itemImageColour), QRN_FIELD(FieldDef, width),         QRN_FIELD(FieldDef, height),
};
static_assert(coversRecord(kFieldFields, sizeof(FieldDef)));

constexpr MemberLayout kBgmFields[] = {QRN_FIELD(BgmDef, name), QRN_FIELD(BgmDef, fileName), QRN_FIELD(BgmDef, loop)};
static_assert(coversRecord(kBgmFields, sizeof(BgmDef)));

constexpr MemberLayout kSoundFields[] = {QRN_FIELD(SoundDef, name), QRN_FIELD(SoundDef, fileName)};
static_assert(coversRecord(kSoundFields, sizeof(SoundDef)));

constexpr MemberLayout kCommentFields[] = {
    QRN_FIELD(CommentDef, name),  QRN_FIELD(CommentDef, line1), QRN_FIELD(CommentDef, line2),
    QRN_FIELD(CommentDef, line3), QRN_FIELD(CommentDef, line4),
};
static_assert(coversRecord(kCommentFields, sizeof(CommentDef)));

constexpr MemberLayout kEnemyTypeFields[] = {QRN_FIELD(EnemyTypeDef, name), QRN_FIELD(EnemyTypeDef, members)};
static_assert(coversRecord(kEnemyTypeFields, sizeof(EnemyTypeDef)));

constexpr MemberLayout kWalkImgFields[] = {
    QRN_FIELD(WalkImgDef, name), QRN_FIELD(WalkImgDef, imageTransparent), QRN_FIELD(WalkImgDef, imageColour),
};
static_assert(coversRecord(kWalkImgFields, sizeof(WalkImgDef)));

constexpr MemberLayout kLevelFields[] = {
    QRN_FIELD(LevelEntry, experience), QRN_FIELD(LevelEntry, power), QRN_FIELD(LevelEntry, strength),
    QRN_FIELD(LevelEntry, dextality),  QRN_FIELD(LevelEntry, mp),    QRN_FIELD(LevelEntry, magic),
};
static_assert(coversRecord(kLevelFields, sizeof(LevelEntry)));

constexpr MemberLayout kSettingsFields[] = {
    QRN_FIELD(ScenarioSettings, reserved1),       QRN_FIELD(ScenarioSettings, reserved2),
    hexOnly(QRN_FIELD(ScenarioSettings, randomStamp)),
    QRN_FIELD(ScenarioSettings, scenarioname),    QRN_FIELD(ScenarioSettings, scdesigner),
    QRN_FIELD(ScenarioSettings, scplaypassword),  QRN_FIELD(ScenarioSettings, scdoller),
    QRN_FIELD(ScenarioSettings, scsaleby),        QRN_FIELD(ScenarioSettings, scdefwalkimg),
    QRN_FIELD(ScenarioSettings, scgameover),      QRN_FIELD(ScenarioSettings, scopeningbmp),
    QRN_FIELD(ScenarioSettings, scopeningbgm),    QRN_FIELD(ScenarioSettings, startDirection),
    QRN_FIELD(ScenarioSettings, scwallbmp),       QRN_FIELD(ScenarioSettings, titleBitmaps),
    QRN_FIELD(ScenarioSettings, titleComments),   QRN_FIELD(ScenarioSettings, prologueComment),
    QRN_FIELD(ScenarioSettings, titleBgm),        QRN_FIELD(ScenarioSettings, endingBitmaps),
    QRN_FIELD(ScenarioSettings, endingComments),  QRN_FIELD(ScenarioSettings, epilogueComment),
    QRN_FIELD(ScenarioSettings, endingBgm),       QRN_FIELD(ScenarioSettings, battleBgm),
    QRN_FIELD(ScenarioSettings, gameoverBgm),     QRN_FIELD(ScenarioSettings, battleEndBgm),
    QRN_FIELD(ScenarioSettings, levelupBgm),      QRN_FIELD(ScenarioSettings, magicSound),
    QRN_FIELD(ScenarioSettings, attackSound),     QRN_FIELD(ScenarioSettings, damageSound),
    QRN_FIELD(ScenarioSettings, itemSound),       QRN_FIELD(ScenarioSettings, wonderingSound),
    QRN_FIELD(ScenarioSettings, heroNameChangeable),
};
static_assert(coversRecord(kSettingsFields, sizeof(ScenarioSettings)));

#undef QRN_FIELD

// Picture file names kept in the tables beside the definitions.
struct PictureNames {
    const char* key;
    std::size_t offset;  // slot of entry 1 in the record
    int frames;          // 0: one name; n: a JSON array of n names per entry
};

constexpr std::size_t kNameSlot = sizeof(ShortString255);

struct TableLayout {
    const char* key;
    int count;
    std::size_t offset;
    std::size_t size;
    std::span<const MemberLayout> fields;
    void (*fresh)(unsigned char* record, int number);
    std::array<PictureNames, 2> images;
    int imageCount;

    unsigned char* entry(unsigned char* record, int n) const { return record + offset + (n - 1) * size; }
    std::size_t imageStride(const PictureNames& im) const { return kNameSlot * (im.frames > 0 ? im.frames : 1); }
};

template <typename Def, void (*Fresh)(Def&, int)>
void freshBytes(unsigned char* record, int n) {
    Fresh(*reinterpret_cast<Def*>(record), n);
}

void freshLevel(unsigned char* record, int) {
    LevelEntry l{20, 10, 10, 5, 5, 0};
    std::memcpy(record, &l, sizeof l);
}

#define QRN_OFFSET(m) offsetof(Scenario, m)

const TableLayout kTables[] = {
    {"charas", kCharaCount, QRN_OFFSET(charas), sizeof(CharaDef), kCharaFields, freshBytes<CharaDef, freshChara>,
     {{{"image", QRN_OFFSET(charaImageFiles), 0}}}, 1},
    {"items", kItemCount, QRN_OFFSET(items), sizeof(ItemDef), kItemFields, freshBytes<ItemDef, freshItem>,
     {{{"image", QRN_OFFSET(itemImageFiles), 0}}}, 1},
    {"events", kEventCount, QRN_OFFSET(events), sizeof(EventDef), kEventFields, freshBytes<EventDef, freshEvent>,
     {{{"image", QRN_OFFSET(eventImageFiles), 0}, {"image2", QRN_OFFSET(eventImage2Files), 0}}}, 2},
    {"places", kPlaceCount, QRN_OFFSET(places), sizeof(PlaceDef), kPlaceFields, freshBytes<PlaceDef, freshPlace>,
     {{{"image", QRN_OFFSET(placeImageFiles), 0}, {"image2", QRN_OFFSET(placeImage2Files), 0}}}, 2},
    {"enters", kEnterCount, QRN_OFFSET(enters), sizeof(EnterDef), kEnterFields, freshBytes<EnterDef, freshEnter>,
     {{{"image", QRN_OFFSET(enterImageFiles), 0}, {"image2", QRN_OFFSET(enterImage2Files), 0}}}, 2},
    {"magics", kMagicCount, QRN_OFFSET(magics), sizeof(MagicDef), kMagicFields, freshBytes<MagicDef, freshMagic>,
     {}, 0},
    {"poisons", kPoisonCount, QRN_OFFSET(poisons), sizeof(PoisonDef), kPoisonFields,
     freshBytes<PoisonDef, freshPoison>, {}, 0},
    {"fields", kFieldCount, QRN_OFFSET(fields), sizeof(FieldDef), kFieldFields, freshBytes<FieldDef, freshField>,
     {{{"itemImage", QRN_OFFSET(fieldItemImageFiles), 0}}}, 1},
    {"bgms", kBgmCount, QRN_OFFSET(bgms), sizeof(BgmDef), kBgmFields, freshBytes<BgmDef, freshBgm>, {}, 0},
    {"sounds", kSoundCount, QRN_OFFSET(sounds), sizeof(SoundDef), kSoundFields, freshBytes<SoundDef, freshSound>,
     {}, 0},
    {"comments", kCommentCount, QRN_OFFSET(comments), sizeof(CommentDef), kCommentFields,
     freshBytes<CommentDef, freshComment>, {}, 0},
    {"enemyTypes", kEnemyTypeCount, QRN_OFFSET(enemyTypes), sizeof(EnemyTypeDef), kEnemyTypeFields,
     freshBytes<EnemyTypeDef, freshEnemyType>, {}, 0},
    {"walkImages", kWalkImgCount, QRN_OFFSET(walkImgs), sizeof(WalkImgDef), kWalkImgFields,
     freshBytes<WalkImgDef, freshWalkImg>, {{{"images", QRN_OFFSET(walkImageFiles), kWalkFrames}}}, 1},
    {"levels", kLevelRows, QRN_OFFSET(levels), sizeof(LevelEntry), kLevelFields, freshLevel, {}, 0},
};

struct BlockLayout {
    const char* key;
    std::size_t offset;
    std::span<const MemberLayout> fields;
};

const BlockLayout kHero{"hero", QRN_OFFSET(hero), kHeroFields};
const BlockLayout kSettings{"settings", QRN_OFFSET(settings), kSettingsFields};

#undef QRN_OFFSET

constexpr const char* kFormatName = "quorantel-scenario";
constexpr int kFormatVersion = 1;
constexpr const char* kLayerKeys[] = {"place", "enter", "event", "item", "chara"};

std::size_t elementSize(const MemberLayout& f) {
    switch (f.kind) {
        case Kind::U8: return 1;
        case Kind::I16:
        case Kind::U16: return 2;
        case Kind::I32: return 4;
        case Kind::Text: return static_cast<std::size_t>(f.capacity) + 1;
    }
    return 1;
}

template <typename T>
T readAt(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void writeAt(unsigned char* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

// ---- field layout shared by export and import ---------------------------------

struct CellRun {
    long long first = 0;
    long long last = -1;
};

// The cells of a field are written as layers when its run is a whole map that
// lies inside the store after the run of the previous field written so.
bool hasWholeMap(const FieldDef& f, long long previousLast) {
    return f.firstCell > previousLast && f.width >= 1 && f.width <= kMaxFieldSide && f.height >= 1 &&
           f.height <= kMaxFieldSide && f.cellCount == f.width * f.height &&
           static_cast<long long>(f.firstCell) + f.cellCount - 1 <= kCellCount;
}

bool cellIsEmpty(const Cell& c) {
    static const Cell empty{};
    return std::memcmp(&c, &empty, sizeof c) == 0;
}

// ---- texts ----------------------------------------------------------------------

std::string toHex(const unsigned char* p, std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out(n * 2, '0');
    for (std::size_t i = 0; i < n; ++i) {
        out[2 * i] = digits[p[i] >> 4];
        out[2 * i + 1] = digits[p[i] & 15];
    }
    return out;
}

Json textToJson(const unsigned char* slot, int capacity, bool alwaysHex) {
    const int len = slot[0];
    if (len > capacity) return Json{{"hex", toHex(slot + 1, capacity)}, {"length", len}};
    const std::string_view bytes(reinterpret_cast<const char*>(slot + 1), len);
    if (!alwaysHex) {
        if (bytes.empty()) return "";
        // Only texts that convert back to the very same bytes are written as
        // strings; the rest keep their bytes.
        if (auto utf8 = cp932ToUtf8(bytes); utf8 && utf8ToCp932(*utf8) == bytes) return *utf8;
    }
    return Json{{"hex", toHex(slot + 1, len)}};
}

// ---- export ----------------------------------------------------------------------

Json valueToJson(const unsigned char* p, const MemberLayout& f) {
    switch (f.kind) {
        case Kind::U8: return p[0];
        case Kind::I16: return readAt<i16>(p);
        case Kind::U16: return readAt<u16>(p);
        case Kind::I32: return readAt<i32>(p);
        case Kind::Text: return textToJson(p, f.capacity, f.alwaysHex);
    }
    return nullptr;
}

void putFields(Json& out, const unsigned char* record, std::span<const MemberLayout> fields) {
    for (const MemberLayout& f : fields) {
        const unsigned char* p = record + f.offset;
        if (f.count == 0) {
            out[f.key] = valueToJson(p, f);
            continue;
        }
        Json arr = Json::array();
        for (int i = 0; i < f.count; ++i) arr.push_back(valueToJson(p + i * elementSize(f), f));
        out[f.key] = std::move(arr);
    }
}

void putImages(Json& out, const unsigned char* record, const TableLayout& t, int n) {
    for (int k = 0; k < t.imageCount; ++k) {
        const PictureNames& im = t.images[k];
        const unsigned char* slot = record + im.offset + (n - 1) * t.imageStride(im);
        if (im.frames == 0) {
            out[im.key] = textToJson(slot, 255, false);
            continue;
        }
        Json arr = Json::array();
        for (int i = 0; i < im.frames; ++i) arr.push_back(textToJson(slot + i * kNameSlot, 255, false));
        out[im.key] = std::move(arr);
    }
}

bool imagesEmpty(const unsigned char* record, const TableLayout& t, int n) {
    static const unsigned char zeros[kNameSlot] = {};
    for (int k = 0; k < t.imageCount; ++k) {
        const PictureNames& im = t.images[k];
        const unsigned char* slot = record + im.offset + (n - 1) * t.imageStride(im);
        for (int i = 0; i < (im.frames > 0 ? im.frames : 1); ++i) {
            if (std::memcmp(slot + i * kNameSlot, zeros, kNameSlot) != 0) return false;
        }
    }
    return true;
}

void putCells(Json& out, const Scenario& s, const FieldDef& f) {
    const int width = f.width;
    std::array<Json, 5> layers;
    for (auto& l : layers) l = Json::array();
    Json positions = Json::array();
    for (int p = 1; p <= f.cellCount; ++p) {
        const Cell& c = s.cell(f.firstCell + p - 1);
        layers[0].push_back(i32{c.place});
        layers[1].push_back(int{c.enter});
        layers[2].push_back(int{c.event});
        layers[3].push_back(int{c.item});
        layers[4].push_back(int{c.chara});
        if (c.col != (p - 1) % width || c.row != (p - 1) / width) {
            positions.push_back(Json::array({p, int{c.col}, int{c.row}}));
        }
    }
    Json cells = Json::object();
    for (int i = 0; i < 5; ++i) cells[kLayerKeys[i]] = std::move(layers[i]);
    out["cells"] = std::move(cells);
    if (!positions.empty()) out["cellPositions"] = std::move(positions);
}

Json tableToJson(const Scenario& s, const TableLayout& t, std::vector<CellRun>* mapped) {
    const unsigned char* record = s.bytes();
    std::vector<unsigned char> fresh(t.size);
    Json out = Json::array();
    long long previousLast = 0;
    for (int n = 1; n <= t.count; ++n) {
        const unsigned char* e = record + t.offset + (n - 1) * t.size;
        t.fresh(fresh.data(), n);
        const bool isField = mapped != nullptr;
        const FieldDef* field = isField ? reinterpret_cast<const FieldDef*>(e) : nullptr;
        const bool whole = isField && hasWholeMap(*field, previousLast);
        if (!whole && std::memcmp(e, fresh.data(), t.size) == 0 && imagesEmpty(record, t, n)) continue;
        Json entry = Json::object();
        entry["number"] = n;
        putFields(entry, e, t.fields);
        putImages(entry, record, t, n);
        if (whole) {
            putCells(entry, s, *field);
            previousLast = static_cast<long long>(field->firstCell) + field->cellCount - 1;
            mapped->push_back({field->firstCell, previousLast});
        }
        out.push_back(std::move(entry));
    }
    return out;
}

Json objectToJson(const Scenario& s, const BlockLayout& o) {
    Json out = Json::object();
    putFields(out, s.bytes() + o.offset, o.fields);
    return out;
}

Json strayCellsToJson(const Scenario& s, const std::vector<CellRun>& mapped) {
    Json out = Json::array();
    auto run = mapped.begin();
    for (int c = 1; c <= kCellCount; ++c) {
        while (run != mapped.end() && run->last < c) ++run;
        if (run != mapped.end() && run->first <= c) continue;
        const Cell& cell = s.cell(c);
        if (cellIsEmpty(cell)) continue;
        out.push_back(Json::array({c, int{cell.col}, int{cell.row}, int{cell.enter}, int{cell.event},
                                   int{cell.chara}, int{cell.item}, i32{cell.place}}));
    }
    return out;
}

// ---- import ------------------------------------------------------------------------

// Where a value sits in the document, formatted only when something is wrong.
struct Path {
    const Path* parent = nullptr;
    std::string_view key;  // empty: an index step
    long long index = -1;

    Path operator/(std::string_view k) const { return Path{this, k, -1}; }
    Path operator[](long long i) const { return Path{this, {}, i}; }

    std::string str() const {
        std::string head = parent ? parent->str() : std::string("$");
        if (!parent) return head;
        if (key.empty()) return head + "[" + std::to_string(index) + "]";
        return head + "." + std::string(key);
    }
};

struct ImportError {
    std::string message;
};

[[noreturn]] void refuse(const Path& p, const std::string& why) { throw ImportError{p.str() + ": " + why}; }

// A short description of a value for a message; containers are not written
// out (they may be huge or deeply nested).
std::string describeJson(const Json& v) {
    if (v.is_object()) return v.empty() ? "{}" : "an object";
    if (v.is_array()) return "an array of " + std::to_string(v.size()) + (v.size() == 1 ? " value" : " values");
    std::string text = v.dump();
    if (text.size() > 40) text = text.substr(0, 37) + "...";
    return text;
}

long long integerIn(const Json& v, long long lo, long long hi, const Path& p) {
    if (!v.is_number_integer()) {
        if (v.is_number()) refuse(p, describeJson(v) + " is not a whole number");
        refuse(p, "expected a number, found " + describeJson(v));
    }
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(hi)) {
        refuse(p, describeJson(v) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    }
    const long long x = v.get<long long>();
    if (x < lo || x > hi) {
        refuse(p, std::to_string(x) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    }
    return x;
}

void storeNumber(const Json& v, Kind kind, unsigned char* p, const Path& path) {
    switch (kind) {
        case Kind::U8: p[0] = static_cast<u8>(integerIn(v, 0, 255, path)); break;
        case Kind::I16: writeAt(p, static_cast<i16>(integerIn(v, -32768, 32767, path))); break;
        case Kind::U16: writeAt(p, static_cast<u16>(integerIn(v, 0, 65535, path))); break;
        case Kind::I32:
            writeAt(p, static_cast<i32>(integerIn(v, std::numeric_limits<i32>::min(),
                                                  std::numeric_limits<i32>::max(), path)));
            break;
        case Kind::Text: break;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The first character of a UTF-8 text that cp932 cannot hold, as "U+XXXX".
std::string firstUnstorableCharacter(const std::string& utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        const std::string one = utf8.substr(i, n);
        if (!utf8ToCp932(one)) {
            char32_t cp = n == 1 ? b : (b & (0xFF >> (n + 1)));
            for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
            char buf[16];
            std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
            return buf;
        }
        i += n;
    }
    return "a character";
}

void storeText(const Json& v, unsigned char* slot, int capacity, const Path& p) {
    std::string bytes;
    int lengthByte = -1;
    if (v.is_string()) {
        const std::string& utf8 = v.get_ref<const std::string&>();
        auto converted = utf8ToCp932(utf8);
        if (!converted) refuse(p, "the character " + firstUnstorableCharacter(utf8) + " cannot be stored in cp932");
        if (converted->size() > static_cast<std::size_t>(capacity)) {
            refuse(p, "the text takes " + std::to_string(converted->size()) + " bytes in cp932, its slot holds " +
                          std::to_string(capacity));
        }
        bytes = std::move(*converted);
    } else if (v.is_object()) {
        const auto hex = v.find("hex");
        if (hex == v.end() || !hex->is_string()) refuse(p, "a text object needs \"hex\": a string of hex digits");
        for (const auto& [key, value] : v.items()) {
            if (key != "hex" && key != "length") refuse(p / key, "unknown key");
        }
        const std::string& digits = hex->get_ref<const std::string&>();
        if (digits.size() % 2 != 0) refuse(p / "hex", "an odd number of hex digits");
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            const int hi = hexDigit(digits[i]);
            const int lo = hexDigit(digits[i + 1]);
            if (hi < 0 || lo < 0) refuse(p / "hex", "\"" + digits.substr(i, 2) + "\" is not a hex byte");
            bytes.push_back(static_cast<char>(hi * 16 + lo));
        }
        if (bytes.size() > static_cast<std::size_t>(capacity)) {
            refuse(p / "hex", std::to_string(bytes.size()) + " bytes, its slot holds " + std::to_string(capacity));
        }
        if (const auto length = v.find("length"); length != v.end()) {
            // Only a damaged slot keeps a length above its capacity; then all
            // of its bytes are given.
            lengthByte = static_cast<int>(integerIn(*length, capacity + 1, 255, p / "length"));
            if (bytes.size() != static_cast<std::size_t>(capacity)) {
                refuse(p / "hex", "a text with a length above its slot gives all " + std::to_string(capacity) +
                                      " bytes of the slot");
            }
        }
    } else {
        refuse(p, "expected a text (a string or {\"hex\": ...}), found " + describeJson(v));
    }
    std::memset(slot, 0, static_cast<std::size_t>(capacity) + 1);
    slot[0] = static_cast<unsigned char>(lengthByte >= 0 ? lengthByte : static_cast<int>(bytes.size()));
    std::memcpy(slot + 1, bytes.data(), bytes.size());
}

void storeValue(const Json& v, unsigned char* p, const MemberLayout& f, const Path& path) {
    if (f.kind == Kind::Text) storeText(v, p, f.capacity, path);
    else storeNumber(v, f.kind, p, path);
}

void storeField(const Json& v, unsigned char* record, const MemberLayout& f, const Path& path) {
    unsigned char* p = record + f.offset;
    if (f.count == 0) {
        storeValue(v, p, f, path);
        return;
    }
    if (!v.is_array() || v.size() != static_cast<std::size_t>(f.count)) {
        refuse(path, "expected an array of " + std::to_string(f.count) + " values, found " + describeJson(v));
    }
    for (int i = 0; i < f.count; ++i) storeValue(v[i], p + i * elementSize(f), f, path[i]);
}

const MemberLayout* findField(std::span<const MemberLayout> fields, std::string_view key) {
    for (const MemberLayout& f : fields) {
        if (key == f.key) return &f;
    }
    return nullptr;
}

const Json& expectObject(const Json& v, const Path& p) {
    if (!v.is_object()) refuse(p, "expected an object, found " + describeJson(v));
    return v;
}

void importObject(const Json& v, Scenario& s, const BlockLayout& o, const Path& p) {
    for (const auto& [key, value] : expectObject(v, p).items()) {
        const MemberLayout* f = findField(o.fields, key);
        if (!f) refuse(p / key, "unknown key");
        storeField(value, s.bytes() + o.offset, *f, p / key);
    }
}

bool storeImage(const Json& v, Scenario& s, const TableLayout& t, int n, std::string_view key, const Path& p) {
    for (int k = 0; k < t.imageCount; ++k) {
        const PictureNames& im = t.images[k];
        if (key != im.key) continue;
        unsigned char* slot = s.bytes() + im.offset + (n - 1) * t.imageStride(im);
        if (im.frames == 0) {
            storeText(v, slot, 255, p);
            return true;
        }
        if (!v.is_array() || v.size() != static_cast<std::size_t>(im.frames)) {
            refuse(p, "expected an array of " + std::to_string(im.frames) + " file names");
        }
        for (int i = 0; i < im.frames; ++i) storeText(v[i], slot + i * kNameSlot, 255, p[i]);
        return true;
    }
    return false;
}

// Cells of the fields whose maps the document gives, in field order.
class CellStoreImport {
public:
    explicit CellStoreImport(Scenario& s) : s_(s) {}

    void mapField(int number, const Json& cells, const Json* positions, const Path& entry) {
        const FieldDef& f = s_.field(number);
        const Path p = entry / "cells";
        if (f.firstCell <= 0) refuse(p, "the field is not in use (firstCell " + std::to_string(f.firstCell) + ")");
        if (f.width < 1 || f.width > kMaxFieldSide || f.height < 1 || f.height > kMaxFieldSide) {
            refuse(p, "a map of " + std::to_string(f.width) + " x " + std::to_string(f.height) +
                          " cells; width and height go from 1 to " + std::to_string(kMaxFieldSide));
        }
        if (f.cellCount != f.width * f.height) {
            refuse(entry / "cellCount", std::to_string(f.cellCount) + " is not width x height = " +
                                            std::to_string(f.width * f.height));
        }
        const long long first = f.firstCell;
        const long long last = first + f.cellCount - 1;
        if (first <= previous_.last) {
            refuse(entry / "firstCell", "cells " + std::to_string(first) + ".." + std::to_string(last) +
                                            " overlap or come before those of field " + std::to_string(previousField_) +
                                            " (" + std::to_string(previous_.first) + ".." +
                                            std::to_string(previous_.last) +
                                            "); fields lie in the cell store in field order");
        }
        if (last > kCellCount) {
            refuse(entry / "firstCell", "cells " + std::to_string(first) + ".." + std::to_string(last) +
                                            " run past the end of the cell store (" + std::to_string(kCellCount) + ")");
        }
        for (int p = 1; p <= f.cellCount; ++p) {
            Cell& c = s_.cell(static_cast<int>(first) + p - 1);
            c.col = static_cast<u8>((p - 1) % f.width);
            c.row = static_cast<u8>((p - 1) / f.width);
        }
        for (const auto& [key, layer] : expectObject(cells, p).items()) {
            int which = -1;
            for (int i = 0; i < 5; ++i) {
                if (key == kLayerKeys[i]) which = i;
            }
            if (which < 0) refuse(p / key, "unknown key");
            storeLayer(layer, which, f, p / key);
        }
        if (positions) storePositions(*positions, f, entry / "cellPositions");
        previous_ = {first, last};
        previousField_ = number;
        mapped_.push_back(previous_);
    }

    void storeStrayCells(const Json& list, const Path& p) {
        if (!list.is_array()) refuse(p, "expected an array of cells");
        long long previous = 0;
        auto run = mapped_.begin();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Json& v = list[i];
            const Path pi = p[static_cast<long long>(i)];
            if (!v.is_array() || v.size() != 8) {
                refuse(pi, "expected [cellNumber, col, row, enter, event, chara, item, place]");
            }
            const long long c = integerIn(v[0], 1, kCellCount, pi[0]);
            if (c <= previous) {
                refuse(pi[0], "cell " + std::to_string(c) + " comes after cell " + std::to_string(previous) +
                                  "; stray cells go in ascending order, each once");
            }
            previous = c;
            while (run != mapped_.end() && run->last < c) ++run;
            if (run != mapped_.end() && run->first <= c) {
                refuse(pi[0], "cell " + std::to_string(c) + " belongs to a field whose cells are given as layers");
            }
            Cell& cell = s_.cell(static_cast<int>(c));
            cell.col = static_cast<u8>(integerIn(v[1], 0, 255, pi[1]));
            cell.row = static_cast<u8>(integerIn(v[2], 0, 255, pi[2]));
            cell.enter = static_cast<u8>(integerIn(v[3], 0, 255, pi[3]));
            cell.event = static_cast<u8>(integerIn(v[4], 0, 255, pi[4]));
            cell.chara = static_cast<u8>(integerIn(v[5], 0, 255, pi[5]));
            cell.item = static_cast<u8>(integerIn(v[6], 0, 255, pi[6]));
            cell.place = static_cast<i32>(integerIn(v[7], std::numeric_limits<i32>::min(),
                                                    std::numeric_limits<i32>::max(), pi[7]));
        }
    }

private:
    void storeLayer(const Json& layer, int which, const FieldDef& f, const Path& p) {
        if (!layer.is_array() || layer.size() != static_cast<std::size_t>(f.cellCount)) {
            refuse(p, "expected width x height = " + std::to_string(f.cellCount) + " values, found " +
                          describeJson(layer));
        }
        for (int i = 0; i < f.cellCount; ++i) {
            Cell& c = s_.cell(f.firstCell + i);
            const Json& v = layer[static_cast<std::size_t>(i)];
            if (which == 0) {
                c.place = static_cast<i32>(integerIn(v, std::numeric_limits<i32>::min(),
                                                     std::numeric_limits<i32>::max(), p[i]));
                continue;
            }
            const u8 value = static_cast<u8>(integerIn(v, 0, 255, p[i]));
            if (which == 1) c.enter = value;
            else if (which == 2) c.event = value;
            else if (which == 3) c.item = value;
            else c.chara = value;
        }
    }

    void storePositions(const Json& list, const FieldDef& f, const Path& p) {
        if (!list.is_array()) refuse(p, "expected an array of [position, col, row]");
        long long previous = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Json& v = list[i];
            const Path pi = p[static_cast<long long>(i)];
            if (!v.is_array() || v.size() != 3) refuse(pi, "expected [position, col, row]");
            const long long position = integerIn(v[0], 1, f.cellCount, pi[0]);
            if (position <= previous) refuse(pi[0], "positions go in ascending order, each once");
            previous = position;
            Cell& c = s_.cell(f.firstCell + static_cast<int>(position) - 1);
            c.col = static_cast<u8>(integerIn(v[1], 0, 255, pi[1]));
            c.row = static_cast<u8>(integerIn(v[2], 0, 255, pi[2]));
        }
    }

    Scenario& s_;
    CellRun previous_{0, 0};
    int previousField_ = 0;
    std::vector<CellRun> mapped_;
};

void importTable(const Json& v, Scenario& s, const TableLayout& t, const Path& p, CellStoreImport* cells) {
    if (!v.is_array()) refuse(p, "expected an array of entries, found " + describeJson(v));
    int previous = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Path pe = p[static_cast<long long>(i)];
        const Json& e = expectObject(v[i], pe);
        const auto number = e.find("number");
        if (number == e.end()) refuse(pe, "the entry has no \"number\"");
        const int n = static_cast<int>(integerIn(*number, 1, t.count, pe / "number"));
        if (n <= previous) {
            refuse(pe / "number", "entry " + std::to_string(n) + " comes after entry " + std::to_string(previous) +
                                      "; entries go in ascending order, each once");
        }
        previous = n;
        unsigned char* record = t.entry(s.bytes(), n);
        const Json* cellLayers = nullptr;
        const Json* positions = nullptr;
        for (const auto& [key, value] : e.items()) {
            if (key == "number") continue;
            if (const MemberLayout* f = findField(t.fields, key)) {
                storeField(value, record, *f, pe / key);
            } else if (storeImage(value, s, t, n, key, pe / key)) {
            } else if (cells && key == "cells") {
                cellLayers = &value;
            } else if (cells && key == "cellPositions") {
                positions = &value;
            } else {
                refuse(pe / key, "unknown key");
            }
        }
        if (positions && !cellLayers) refuse(pe / "cellPositions", "given without \"cells\"");
        if (cellLayers) cells->mapField(n, *cellLayers, positions, pe);
    }
}

const TableLayout* findTable(std::string_view key) {
    for (const TableLayout& t : kTables) {
        if (key == t.key) return &t;
    }
    return nullptr;
}

}  // namespace

// ---- reading the text ----------------------------------------------------------------

// Follows the parser through the document to name where a key repeats.
class DuplicateKeyCheck {
public:
    struct Found {
        std::string message;
    };

    bool operator()(int, Json::parse_event_t event, const Json& parsed) {
        using E = Json::parse_event_t;
        switch (event) {
            case E::object_start: enterValue(); frames_.push_back({false, -1, {}, {}}); break;
            case E::array_start: enterValue(); frames_.push_back({true, -1, {}, {}}); break;
            case E::object_end:
            case E::array_end: frames_.pop_back(); break;
            case E::key: {
                Frame& f = frames_.back();
                f.key = parsed.get<std::string>();
                if (!f.keys.insert(f.key).second) throw Found{where() + ": the key is given twice"};
                break;
            }
            case E::value: enterValue(); break;
        }
        return true;
    }

private:
    struct Frame {
        bool isArray;
        long long index;
        std::string key;
        std::set<std::string> keys;
    };

    void enterValue() {
        if (!frames_.empty() && frames_.back().isArray) ++frames_.back().index;
    }

    std::string where() const {
        std::string path = "$";
        for (const Frame& f : frames_) path += f.isArray ? "[" + std::to_string(f.index) + "]" : "." + f.key;
        return path;
    }

    std::vector<Frame> frames_;
};

// ---- public ------------------------------------------------------------------------

std::string parseScenarioJson(const std::string& text, Json& out) {
    try {
        out = Json::parse(text, DuplicateKeyCheck());
        return {};
    } catch (const DuplicateKeyCheck::Found& e) {
        return e.message;
    } catch (const Json::exception& e) {
        // nlohmann's messages start with an internal tag like
        // "[json.exception.parse_error.101] "; the author needs only the rest.
        std::string message = e.what();
        if (const auto end = message.find("] "); message.starts_with("[") && end != std::string::npos) {
            message.erase(0, end + 2);
        }
        for (char& c : message) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        return message;
    }
}

Json exportScenario(const Scenario& source) {
    // Work on a copy without the meaningless bytes after the texts, so an
    // entry that differs from its default only there still counts as default.
    auto copy = std::make_unique<Scenario>(source);
    clearInsignificantBytes(*copy);
    const Scenario& s = *copy;

    Json doc = Json::object();
    doc["format"] = kFormatName;
    doc["version"] = kFormatVersion;
    doc[kHero.key] = objectToJson(s, kHero);
    std::vector<CellRun> mapped;
    for (const TableLayout& t : kTables) {
        const bool isFields = std::string_view(t.key) == "fields";
        doc[t.key] = tableToJson(s, t, isFields ? &mapped : nullptr);
    }
    doc[kSettings.key] = objectToJson(s, kSettings);
    Json stray = strayCellsToJson(s, mapped);
    if (!stray.empty()) doc["strayCells"] = std::move(stray);
    return doc;
}

std::string importScenario(const Json& doc, Scenario& s) {
    try {
        const Path root;
        std::memset(static_cast<void*>(&s), 0, sizeof s);
        auto side = std::make_unique<EditorSideData>();
        alldatainitialize(s, *side);

        expectObject(doc, root);
        const auto format = doc.find("format");
        if (format == doc.end() || *format != kFormatName) {
            refuse(root / "format", std::string("expected \"") + kFormatName + "\"");
        }
        const auto version = doc.find("version");
        if (version == doc.end() || *version != kFormatVersion) {
            refuse(root / "version", "expected " + std::to_string(kFormatVersion));
        }
        for (const auto& [key, value] : doc.items()) {
            const bool known = key == "format" || key == "version" || key == kHero.key || key == kSettings.key ||
                               key == "strayCells" || findTable(key);
            if (!known) refuse(root / key, "unknown key");
        }

        if (const auto hero = doc.find(kHero.key); hero != doc.end()) importObject(*hero, s, kHero, root / kHero.key);
        CellStoreImport cells(s);
        for (const TableLayout& t : kTables) {
            const auto table = doc.find(t.key);
            if (table == doc.end()) continue;
            const bool isFields = std::string_view(t.key) == "fields";
            importTable(*table, s, t, root / t.key, isFields ? &cells : nullptr);
        }
        if (const auto st = doc.find(kSettings.key); st != doc.end()) {
            importObject(*st, s, kSettings, root / kSettings.key);
        }
        if (const auto stray = doc.find("strayCells"); stray != doc.end()) {
            cells.storeStrayCells(*stray, root / "strayCells");
        }
        return {};
    } catch (const ImportError& e) {
        return e.message;
    } catch (const nlohmann::json::exception& e) {
        return std::string("$: ") + e.what();
    }
}

void forEachTextSlot(Scenario& s, const std::function<void(unsigned char* slot, int capacity)>& fn) {
    const auto visit = [&](unsigned char* record, std::span<const MemberLayout> fields) {
        for (const MemberLayout& f : fields) {
            if (f.kind != Kind::Text) continue;
            for (int i = 0; i < (f.count > 0 ? f.count : 1); ++i) {
                fn(record + f.offset + i * elementSize(f), f.capacity);
            }
        }
    };
    visit(s.bytes() + kHero.offset, kHero.fields);
    visit(s.bytes() + kSettings.offset, kSettings.fields);
    for (const TableLayout& t : kTables) {
        for (int n = 1; n <= t.count; ++n) {
            visit(t.entry(s.bytes(), n), t.fields);
            for (int k = 0; k < t.imageCount; ++k) {
                const PictureNames& im = t.images[k];
                unsigned char* slot = s.bytes() + im.offset + (n - 1) * t.imageStride(im);
                for (int i = 0; i < (im.frames > 0 ? im.frames : 1); ++i) fn(slot + i * kNameSlot, 255);
            }
        }
    }
}

void clearInsignificantBytes(Scenario& s) {
    forEachTextSlot(s, [](unsigned char* slot, int capacity) {
        const int len = slot[0];
        if (len < capacity) std::memset(slot + 1 + len, 0, static_cast<std::size_t>(capacity - len));
    });
}

}  // namespace qrn::cli
