#include "resets.h"

#include <chrono>
#include <cstring>
#include <exception>
#include <memory>
#include <random>
#include <string>

#include "text.h"

namespace qrn {

namespace {

// Which reference values a reset removes: one number, or every valid number
// of the table when all entries are reset (the one-pass form).
struct Match {
    long long lo;              // the values removed: lo .. lo + span
    unsigned long long span;
    Match(int number, int count) : lo(number < 0 ? 1 : number), span(number < 0 ? count - 1 : 0) {}
    // One unsigned comparison: a single delete scans 300,000 cells per
    // layer, and two data-dependent branches per cell mispredict badly.
    bool operator()(long long v) const { return static_cast<unsigned long long>(v - lo) <= span; }
};

// 16- and 32-bit members of the packed record often sit at odd addresses, so
// reference fields are passed by address and copied, never bound to a
// reference of their own type.
template <typename T>
void clearIf(T* field, const Match& m) {
    T v;
    std::memcpy(&v, field, sizeof v);
    if (m(static_cast<long long>(v))) {
        const T zero{};
        std::memcpy(field, &zero, sizeof zero);
    }
}

template <typename T, std::size_t N>
void clearEachIf(T (*fields)[N], const Match& m) {
    T* first = reinterpret_cast<T*>(fields);
    for (std::size_t i = 0; i < N; ++i) clearIf(first + i, m);
}

// The range of entries a reset visits; empty for numbers callers never pass.
struct Range {
    int first, last;
    Range(int number, int count) {
        if (number < 0) { first = 1; last = count; }
        else if (number >= 1 && number <= count) { first = last = number; }
        else { first = 1; last = 0; }
    }
    bool empty() const { return last < first; }
};

bool removesReferences(int number, bool cleanup) { return number > 0 || cleanup; }

// Prefixes are converted once; resets of whole tables call this many times.
const std::string& prefix(int kind) {
    static const std::string prefixes[] = {
        cp932Literal("ｷｬﾗｸﾀｰ "), cp932Literal("ｱｲﾃﾑ "),     cp932Literal("ｲﾍﾞﾝﾄ "),
        cp932Literal("地形 "),     cp932Literal("建造物 "),   cp932Literal("ﾏｼﾞｯｸ "),
        cp932Literal("特殊攻撃 "), cp932Literal("BGM "),      cp932Literal("効果音 "),
        cp932Literal("敵ｸﾞﾙｰﾌﾟ "), cp932Literal("ｳｫｰｸｲﾒｰｼﾞ "), cp932Literal("ﾌｨｰﾙﾄﾞ "),
    };
    return prefixes[kind];
}
enum PrefixKind { kChara, kItem, kEvent, kPlace, kEnter, kMagic, kPoison, kBgm, kSound, kEnemy, kWalk, kField };

template <typename Def>
void zeroNamed(Def& d, PrefixKind kind, int n) {
    std::memset(&d, 0, sizeof d);
    d.name.assign(prefix(kind) + std::to_string(n));
}

constexpr i32 kWhite = 0xFFFFFF;

}  // namespace

// ---- fresh entries -----------------------------------------------------------

void freshChara(CharaDef& d, int n) {
    zeroNamed(d, kChara, n);
    d.chpower = 1;
    d.imageTransparent = 1;
    d.imageColour = kWhite;
}

void freshItem(ItemDef& d, int n) {
    zeroNamed(d, kItem, n);
    d.itgroup[5] = 1;  // general
    d.itfielduse = 1;
    d.itbattleuse = 1;
    d.imageTransparent = 1;
    d.imageColour = kWhite;
}

void freshEvent(EventDef& d, int n) {
    zeroNamed(d, kEvent, n);
    d.imageTransparent = 1;
    d.image2Transparent = 1;
    d.imageColour = kWhite;
    d.image2Colour = kWhite;
}

void freshPlace(PlaceDef& d, int n) {
    zeroNamed(d, kPlace, n);
    d.plmove = 1;
    d.imageColour = kWhite;
    d.image2Colour = kWhite;
}

void freshEnter(EnterDef& d, int n) {
    zeroNamed(d, kEnter, n);
    d.enmove = 1;
    d.imageTransparent = 1;
    d.image2Transparent = 1;
    d.imageColour = kWhite;
    d.image2Colour = kWhite;
}

void freshMagic(MagicDef& d, int n) { zeroNamed(d, kMagic, n); }
void freshPoison(PoisonDef& d, int n) { zeroNamed(d, kPoison, n); }
void freshBgm(BgmDef& d, int n) { zeroNamed(d, kBgm, n); }
void freshSound(SoundDef& d, int n) { zeroNamed(d, kSound, n); }
void freshComment(CommentDef& d, int) { std::memset(&d, 0, sizeof d); }
void freshEnemyType(EnemyTypeDef& d, int n) { zeroNamed(d, kEnemy, n); }

void freshWalkImg(WalkImgDef& d, int n) {
    zeroNamed(d, kWalk, n);
    d.imageTransparent = 1;
    d.imageColour = kWhite;
}

void freshField(FieldDef& d, int n) {
    zeroNamed(d, kField, n);
    d.itemImageTransparent = 1;
    d.itemImageColour = kWhite;
}

// ---- object resets -----------------------------------------------------------

void charainitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kCharaCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) {
        freshChara(s.chara(n), n);
        s.charaImageFiles[n - 1].clear();
    }
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kCharaCount);
    for (auto& g : s.enemyTypes) clearEachIf(&g.members, m);
    for (Cell& c : s.cells) if (m(c.chara)) c.chara = 0;
}

void iteminitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kItemCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) {
        freshItem(s.item(n), n);
        s.itemImageFiles[n - 1].clear();
    }
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kItemCount);
    for (Cell& c : s.cells) if (m(c.item)) c.item = 0;
    HeroDef& h = s.hero;
    clearIf(&h.heweapon, m);
    clearIf(&h.heshield, m);
    clearIf(&h.hearmor, m);
    clearIf(&h.hehelm, m);
    clearIf(&h.hemagicitem, m);
    for (int k = 0; k < 250; ++k) {
        EventDef& e = s.events[k];
        clearIf(&e.evstartitem, m);
        clearEachIf(&e.evshowitem, m);
        clearEachIf(&e.evgetitem, m);
        clearEachIf(&e.evputitem, m);
        CharaDef& c = s.charas[k];
        clearEachIf(&c.chsale, m);
        for (int j = 0; j < 5; ++j) {
            if (m(c.chwantitem[j])) {
                c.chwantitem[j] = 0;
                c.chitemcomment[j] = 0;
            }
        }
        clearIf(&c.chshowitem, m);
        clearIf(&c.chitem, m);
        clearIf(&h.heroItems[k], m);
        EnterDef& b = s.enters[k];
        clearIf(&b.enwantitem, m);
        clearIf(&b.enshowitem, m);
    }
    for (auto& p : s.places) {
        clearIf(&p.plwantitem, m);
        clearIf(&p.plrecover, m);
        clearIf(&p.plshowitem, m);
    }
}

void eventinitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kEventCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) {
        freshEvent(s.event(n), n);
        s.eventImageFiles[n - 1].clear();
        s.eventImage2Files[n - 1].clear();
    }
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kEventCount);
    for (Cell& c : s.cells) if (m(c.event)) c.event = 0;
    for (auto& p : s.places) clearIf(&p.plshowevent, m);
    for (int k = 0; k < 250; ++k) {
        CharaDef& c = s.charas[k];
        clearIf(&c.chshowevent, m);
        clearIf(&s.enters[k].enshowevent, m);
        clearEachIf(&s.events[k].evshowevent, m);
        for (int j = 0; j < 5; ++j) {
            if (m(c.chwantevent[j])) {
                c.chwantevent[j] = 0;
                c.cheventcomment[j] = 0;
            }
        }
    }
}

void placeinitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kPlaceCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) {
        freshPlace(s.place(n), n);
        s.placeImageFiles[n - 1].clear();
        s.placeImage2Files[n - 1].clear();
    }
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kPlaceCount);
    for (Cell& c : s.cells) if (m(c.place)) c.place = 0;
}

void enterinitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kEnterCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) {
        freshEnter(s.enter(n), n);
        s.enterImageFiles[n - 1].clear();
        s.enterImage2Files[n - 1].clear();
    }
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kEnterCount);
    // Warp points name buildings by the cell they stand on, so they go first.
    for (int f = 1; f <= kFieldCount; ++f) {
        if (!fieldInUse(s, f)) continue;
        FieldDef& fd = s.field(f);
        for (int k = 0; k < 30; ++k) {
            const int w = fd.warpPoints[k];
            if (w == 0) continue;
            const int c = cellOf(s, f, w);
            if (c != 0 && m(s.cell(c).enter)) fd.warpPoints[k] = 0;
        }
    }
    for (Cell& c : s.cells) if (m(c.enter)) c.enter = 0;
}

// ---- resource resets -----------------------------------------------------------

void magicinitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kMagicCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) freshMagic(s.magic(n), n);
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kMagicCount);
    for (auto& l : s.levels) clearIf(&l.magic, m);
    clearEachIf(&s.hero.heroMagics, m);
    for (int k = 0; k < 250; ++k) {
        clearIf(&s.events[k].evgetmagic, m);
        clearIf(&s.items[k].itmagic, m);
        clearEachIf(&s.charas[k].chmagic, m);
    }
}

void poisoninitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kPoisonCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) freshPoison(s.poison(n), n);
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kPoisonCount);
    for (int k = 0; k < 250; ++k) {
        clearIf(&s.items[k].itantipoison, m);
        clearEachIf(&s.charas[k].chpoison, m);
    }
    // A magic that cures a deleted special attack would point at nothing.
    for (auto& mg : s.magics) clearIf(&mg.mgantipoison, m);
}

void bgminitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kBgmCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) freshBgm(s.bgm(n), n);
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kBgmCount);
    ScenarioSettings& st = s.settings;
    clearIf(&st.titleBgm, m);
    clearIf(&st.endingBgm, m);
    clearIf(&st.battleBgm, m);
    clearIf(&st.gameoverBgm, m);
    clearIf(&st.battleEndBgm, m);
    clearIf(&st.levelupBgm, m);
    clearIf(&st.scopeningbgm, m);  // the title screen music would point at nothing
    for (int k = 0; k < 250; ++k) {
        clearIf(&s.charas[k].chtalkbgm, m);
        clearIf(&s.charas[k].chbattlebgm, m);
        clearIf(&s.items[k].itfindbgm, m);
        clearIf(&s.events[k].evprologuebgm, m);
        clearIf(&s.events[k].evepiloguebgm, m);
    }
    for (int f = 1; f <= kFieldCount; ++f)
        if (fieldInUse(s, f)) clearIf(&s.field(f).fieldBgm, m);
}

void soundinitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kSoundCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) freshSound(s.sound(n), n);
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kSoundCount);
    ScenarioSettings& st = s.settings;
    clearIf(&st.magicSound, m);
    clearIf(&st.attackSound, m);
    clearIf(&st.damageSound, m);
    clearIf(&st.itemSound, m);
    clearIf(&st.wonderingSound, m);
    for (int k = 0; k < 250; ++k) {
        clearIf(&s.charas[k].chbattlesound, m);
        clearIf(&s.items[k].itattacksound, m);
        clearIf(&s.items[k].itsound, m);
        clearIf(&s.enters[k].ensound, m);
    }
    for (auto& p : s.places) clearIf(&p.plsound, m);
    for (auto& mg : s.magics) clearIf(&mg.mgsound, m);
}

void commentinitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kCommentCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) freshComment(s.comment(n), n);
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kCommentCount);
    ScenarioSettings& st = s.settings;
    clearIf(&st.scgameover, m);
    clearIf(&st.prologueComment, m);
    clearIf(&st.epilogueComment, m);
    clearEachIf(&st.titleComments, m);
    clearEachIf(&st.endingComments, m);
    for (int k = 0; k < 250; ++k) {
        CharaDef& c = s.charas[k];
        clearIf(&c.chcomment, m);
        clearIf(&s.items[k].itcomment, m);
        EventDef& e = s.events[k];
        clearIf(&e.evstartcomment, m);
        clearIf(&e.evendcomment, m);
        clearIf(&e.evprologue, m);
        clearIf(&e.evepilogue, m);
        for (int j = 0; j < 5; ++j) {
            if (m(c.chitemcomment[j])) {
                c.chitemcomment[j] = 0;
                c.chwantitem[j] = 0;
            }
            if (m(c.cheventcomment[j])) {
                c.cheventcomment[j] = 0;
                c.chwantevent[j] = 0;
            }
        }
    }
}

void enemytypeinitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kEnemyTypeCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) freshEnemyType(s.enemyType(n), n);
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kEnemyTypeCount);
    for (auto& e : s.events) clearIf(&e.evenemy, m);
    for (auto& p : s.places) clearIf(&p.plenemytype, m);
}

void walkimginitialize(Scenario& s, int number, bool cleanup) {
    const Range r(number, kWalkImgCount);
    if (r.empty()) return;
    for (int n = r.first; n <= r.last; ++n) {
        freshWalkImg(s.walkImg(n), n);
        for (auto& f : s.walkImageFiles[n - 1]) f.clear();
    }
    if (!removesReferences(number, cleanup)) return;
    const Match m(number, kWalkImgCount);
    for (auto& p : s.places) clearIf(&p.plwalkimg, m);
    clearIf(&s.settings.scdefwalkimg, m);
}

// ---- other blocks --------------------------------------------------------------

void mapinitialize(Scenario& s, std::uint64_t randomSeed) {
    ScenarioSettings& st = s.settings;
    st.scenarioname.assign("New-Scenario");
    for (auto* t : {&st.scopeningbmp, &st.scwallbmp, &st.reserved1}) t->clear();
    for (auto& t : st.titleBitmaps) t.clear();
    for (auto& t : st.endingBitmaps) t.clear();
    st.scdesigner.clear();
    st.reserved2.clear();
    st.scdoller.clear();
    st.scplaypassword.clear();
    st.randomStamp.clear();
    st.prologueComment = st.epilogueComment = st.scgameover = 0;
    std::memset(&st.titleComments, 0, sizeof st.titleComments);
    std::memset(&st.endingComments, 0, sizeof st.endingComments);
    st.scopeningbgm = st.titleBgm = st.endingBgm = st.battleBgm = st.gameoverBgm = 0;
    st.battleEndBgm = st.levelupBgm = 0;
    st.magicSound = st.attackSound = st.damageSound = st.itemSound = st.wonderingSound = 0;
    st.scdefwalkimg = 0;
    st.startDirection = 0;
    st.scsaleby = 50;
    st.heroNameChangeable = 1;
    std::mt19937_64 rng(randomSeed);
    std::uniform_int_distribution<int> draw(0, 8);
    char stamp[32];
    for (char& c : stamp) c = static_cast<char>(draw(rng));
    st.randomStamp.assignRaw(std::string_view(stamp, sizeof stamp));
}

void heroinitialize(Scenario& s) {
    HeroDef& h = s.hero;
    std::memset(&h, 0, sizeof h);
    h.heroname.assign(cp932Literal("主人公"));
    h.helevel = 1;
    h.hemaxitem = 250;
    h.startField = 1;
    h.startPosition = 1;
    h.hemaxpower = 20;
    h.hemaxmp = 10;
    h.hestrength = 10;
    h.hedextality = 5;
}

void levelinitialize(Scenario& s) {
    for (auto& l : s.levels) {
        l.experience = 20;
        l.power = 10;
        l.strength = 10;
        l.dextality = 5;
        l.mp = 5;
        l.magic = 0;
    }
}

void fieldinitializeAll(Scenario& s) {
    for (int n = 1; n <= kFieldCount; ++n) {
        freshField(s.field(n), n);
        s.fieldItemImageFiles[n - 1].clear();
    }
}

void chipclear(Scenario& s, int first, int last) {
    if (first < 1) first = 1;
    if (last > kCellCount) last = kCellCount;
    if (last < first) return;
    std::memset(&s.cells[first - 1], 0, sizeof(Cell) * static_cast<std::size_t>(last - first + 1));
}

// ---- picture index tables ------------------------------------------------------

namespace {
template <typename Fn>
void forEach(int number, int count, Fn fn) {
    const Range r(number, count);
    for (int n = r.first; n <= r.last; ++n) fn(n);
}
}  // namespace

void placeimginitialize(PictureIndexTables& p, int number) {
    forEach(number, kPlaceCount, [&](int n) { p.place[n] = 0; p.place2[n] = 0; });
}
void eventimginitialize(PictureIndexTables& p, int number) {
    forEach(number, kEventCount, [&](int n) { p.event[n] = 0; p.event[kEventCount + n] = 0; });
}
void enterimginitialize(PictureIndexTables& p, int number) {
    forEach(number, kEnterCount, [&](int n) { p.enter[n] = 0; p.enter[kEnterCount + n] = 0; });
}
void itemimginitialize(PictureIndexTables& p, int number) {
    forEach(number, kItemCount, [&](int n) { p.charaItem[kCharaCount + n] = 0; });
}
void fiitimginitialize(PictureIndexTables& p, int number) {
    forEach(number, kFieldCount, [&](int n) { p.fieldItem[n] = 0; });
}
void charaimginitialize(PictureIndexTables& p, int number) {
    forEach(number, kCharaCount, [&](int n) { p.charaItem[n] = 0; });
}
void runimginitialize(PictureIndexTables& p, int number) {
    forEach(number, kWalkImgCount, [&](int n) {
        for (int k = 1; k <= kWalkFrames; ++k) p.walk[n][k] = 0;
    });
}

void makepuredata(const Scenario& s, PristineResources& p) {
    p.poison = s.poisons[0];
    p.enemyType = s.enemyTypes[0];
    p.sound = s.sounds[0];
    p.bgm = s.bgms[0];
    p.walkImg = s.walkImgs[0];
    p.comment = s.comments[0];
}

void alldatainitialize(Scenario& s, EditorSideData& side, std::uint64_t randomSeed) {
    fieldinitializeAll(s);
    chipclear(s, 1, kCellCount);
    charainitialize(s, -1, false);
    iteminitialize(s, -1, false);
    eventinitialize(s, -1, false);
    placeinitialize(s, -1, false);
    enterinitialize(s, -1, false);
    enemytypeinitialize(s, -1, false);
    commentinitialize(s, -1, false);
    bgminitialize(s, -1, false);
    soundinitialize(s, -1, false);
    magicinitialize(s, -1, false);
    poisoninitialize(s, -1, false);
    walkimginitialize(s, -1, false);
    mapinitialize(s, randomSeed);
    levelinitialize(s);
    heroinitialize(s);
    PictureIndexTables& p = side.pictures;
    placeimginitialize(p, -1);
    eventimginitialize(p, -1);
    enterimginitialize(p, -1);
    itemimginitialize(p, -1);
    fiitimginitialize(p, -1);
    charaimginitialize(p, -1);
    runimginitialize(p, -1);
    makepuredata(s, side.pristine);
    side.joinName.clear();
}

void sideDataInitialize(EditorSideData& side) {
    // The pristine entries are the first entries of a reset record, made
    // here without resetting a whole 4.5 MB record for them.
    static const PristineResources pristine = [] {
        PristineResources p;
        freshPoison(p.poison, 1);
        freshEnemyType(p.enemyType, 1);
        freshSound(p.sound, 1);
        freshBgm(p.bgm, 1);
        freshWalkImg(p.walkImg, 1);
        freshComment(p.comment, 1);
        return p;
    }();
    PictureIndexTables& p = side.pictures;
    placeimginitialize(p, -1);
    eventimginitialize(p, -1);
    enterimginitialize(p, -1);
    itemimginitialize(p, -1);
    fiitimginitialize(p, -1);
    charaimginitialize(p, -1);
    runimginitialize(p, -1);
    side.pristine = pristine;
    side.joinName.clear();
}

void alldatainitialize(Scenario& s, EditorSideData& side) {
    auto seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device rd;
        seed ^= (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
    } catch (const std::exception&) {
        // No system random source: the clock alone still varies the stamp.
    }
    alldatainitialize(s, side, seed);
}

}  // namespace qrn
