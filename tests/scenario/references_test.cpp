// Deleting an object or resource removes every reference to it and nothing
// else; resetting a whole table with reference removal equals deleting each
// entry in turn; resetting a table alone touches only that table.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "scenario/resets.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;

namespace {

// One reference field of the record, by address and width. A partner is the
// slot beside it that is cleared along with it (wanted item and its comment).
struct Ref {
    unsigned char* at;
    int width;
    unsigned char* partner = nullptr;
    int partnerWidth = 0;
};
using Refs = std::vector<Ref>;

template <typename T>
unsigned char* addr(T* p) { return reinterpret_cast<unsigned char*>(p); }

template <typename T>
void add(Refs& r, T* p) { r.push_back({addr(p), static_cast<int>(sizeof(T))}); }

template <typename T, std::size_t N>
void addEach(Refs& r, T (*arr)[N]) {
    for (std::size_t i = 0; i < N; ++i) add(r, reinterpret_cast<T*>(arr) + i);
}

template <typename T, typename P>
void addCoupled(Refs& r, T* p, P* partner) {
    r.push_back({addr(p), static_cast<int>(sizeof(T)), addr(partner), static_cast<int>(sizeof(P))});
}

Refs charaRefs(Scenario& s) {
    Refs r;
    for (auto& g : s.enemyTypes) addEach(r, &g.members);
    return r;
}

Refs itemRefs(Scenario& s) {
    Refs r;
    HeroDef& h = s.hero;
    add(r, &h.heweapon);
    add(r, &h.heshield);
    add(r, &h.hearmor);
    add(r, &h.hehelm);
    add(r, &h.hemagicitem);
    addEach(r, &h.heroItems);
    for (int k = 1; k <= 250; ++k) {
        EventDef& e = s.event(k);
        add(r, &e.evstartitem);
        addEach(r, &e.evshowitem);
        addEach(r, &e.evgetitem);
        addEach(r, &e.evputitem);
        CharaDef& c = s.chara(k);
        addEach(r, &c.chsale);
        for (int j = 0; j < 5; ++j) addCoupled(r, &c.chwantitem[j], &c.chitemcomment[j]);
        add(r, &c.chshowitem);
        add(r, &c.chitem);
        add(r, &s.enter(k).enwantitem);
        add(r, &s.enter(k).enshowitem);
    }
    for (auto& p : s.places) {
        add(r, &p.plwantitem);
        add(r, &p.plrecover);
        add(r, &p.plshowitem);
    }
    return r;
}

Refs eventRefs(Scenario& s) {
    Refs r;
    for (auto& p : s.places) add(r, &p.plshowevent);
    for (int k = 1; k <= 250; ++k) {
        CharaDef& c = s.chara(k);
        add(r, &c.chshowevent);
        add(r, &s.enter(k).enshowevent);
        addEach(r, &s.event(k).evshowevent);
        for (int j = 0; j < 5; ++j) addCoupled(r, &c.chwantevent[j], &c.cheventcomment[j]);
    }
    return r;
}

Refs noRefs(Scenario&) { return {}; }

Refs magicRefs(Scenario& s) {
    Refs r;
    for (auto& l : s.levels) add(r, &l.magic);
    addEach(r, &s.hero.heroMagics);
    for (int k = 1; k <= 250; ++k) {
        add(r, &s.event(k).evgetmagic);
        add(r, &s.item(k).itmagic);
        addEach(r, &s.chara(k).chmagic);
    }
    return r;
}

Refs poisonRefs(Scenario& s) {
    Refs r;
    for (int k = 1; k <= 250; ++k) {
        add(r, &s.item(k).itantipoison);
        addEach(r, &s.chara(k).chpoison);
    }
    for (auto& m : s.magics) add(r, &m.mgantipoison);  // no magic may cure a deleted attack
    return r;
}

Refs bgmRefs(Scenario& s) {
    Refs r;
    ScenarioSettings& st = s.settings;
    for (u8* p : {&st.titleBgm, &st.endingBgm, &st.battleBgm, &st.gameoverBgm, &st.battleEndBgm,
                  &st.levelupBgm, &st.scopeningbgm})
        add(r, p);
    for (int k = 1; k <= 250; ++k) {
        add(r, &s.chara(k).chtalkbgm);
        add(r, &s.chara(k).chbattlebgm);
        add(r, &s.item(k).itfindbgm);
        add(r, &s.event(k).evprologuebgm);
        add(r, &s.event(k).evepiloguebgm);
    }
    return r;  // field music: only fields in use, see below
}

Refs soundRefs(Scenario& s) {
    Refs r;
    ScenarioSettings& st = s.settings;
    for (u8* p : {&st.magicSound, &st.attackSound, &st.damageSound, &st.itemSound, &st.wonderingSound})
        add(r, p);
    for (int k = 1; k <= 250; ++k) {
        add(r, &s.chara(k).chbattlesound);
        add(r, &s.item(k).itattacksound);
        add(r, &s.item(k).itsound);
        add(r, &s.enter(k).ensound);
    }
    for (auto& p : s.places) add(r, &p.plsound);
    for (auto& m : s.magics) add(r, &m.mgsound);
    return r;
}

Refs commentRefs(Scenario& s) {
    Refs r;
    ScenarioSettings& st = s.settings;
    add(r, &st.scgameover);
    add(r, &st.prologueComment);
    add(r, &st.epilogueComment);
    addEach(r, &st.titleComments);
    addEach(r, &st.endingComments);
    for (int k = 1; k <= 250; ++k) {
        CharaDef& c = s.chara(k);
        add(r, &c.chcomment);
        add(r, &s.item(k).itcomment);
        EventDef& e = s.event(k);
        add(r, &e.evstartcomment);
        add(r, &e.evendcomment);
        add(r, &e.evprologue);
        add(r, &e.evepilogue);
        for (int j = 0; j < 5; ++j) {
            addCoupled(r, &c.chitemcomment[j], &c.chwantitem[j]);
            addCoupled(r, &c.cheventcomment[j], &c.chwantevent[j]);
        }
    }
    return r;
}

Refs enemyTypeRefs(Scenario& s) {
    Refs r;
    for (auto& e : s.events) add(r, &e.evenemy);
    for (auto& p : s.places) add(r, &p.plenemytype);
    return r;
}

Refs walkImgRefs(Scenario& s) {
    Refs r;
    for (auto& p : s.places) add(r, &p.plwalkimg);
    add(r, &s.settings.scdefwalkimg);
    return r;
}

// What resetting entry n alone does to the entry and its picture names.
using Freshen = std::function<void(Scenario&, int)>;

struct Kind {
    const char* name;
    int count;
    void (*reset)(Scenario&, int, bool);
    Refs (*refs)(Scenario&);
    int cellLayer;  // offset of the layer in a cell, -1 when none
    int cellWidth;
    Freshen freshen;
};

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"chara", kCharaCount, charainitialize, charaRefs, 4, 1,
         [](Scenario& s, int n) { freshChara(s.chara(n), n); s.charaImageFiles[n - 1].clear(); }},
        {"item", kItemCount, iteminitialize, itemRefs, 5, 1,
         [](Scenario& s, int n) { freshItem(s.item(n), n); s.itemImageFiles[n - 1].clear(); }},
        {"event", kEventCount, eventinitialize, eventRefs, 3, 1,
         [](Scenario& s, int n) {
             freshEvent(s.event(n), n);
             s.eventImageFiles[n - 1].clear();
             s.eventImage2Files[n - 1].clear();
         }},
        {"place", kPlaceCount, placeinitialize, noRefs, 6, 4,
         [](Scenario& s, int n) {
             freshPlace(s.place(n), n);
             s.placeImageFiles[n - 1].clear();
             s.placeImage2Files[n - 1].clear();
         }},
        {"enter", kEnterCount, enterinitialize, noRefs, 2, 1,
         [](Scenario& s, int n) {
             freshEnter(s.enter(n), n);
             s.enterImageFiles[n - 1].clear();
             s.enterImage2Files[n - 1].clear();
         }},
        {"magic", kMagicCount, magicinitialize, magicRefs, -1, 0,
         [](Scenario& s, int n) { freshMagic(s.magic(n), n); }},
        {"poison", kPoisonCount, poisoninitialize, poisonRefs, -1, 0,
         [](Scenario& s, int n) { freshPoison(s.poison(n), n); }},
        {"bgm", kBgmCount, bgminitialize, bgmRefs, -1, 0,
         [](Scenario& s, int n) { freshBgm(s.bgm(n), n); }},
        {"sound", kSoundCount, soundinitialize, soundRefs, -1, 0,
         [](Scenario& s, int n) { freshSound(s.sound(n), n); }},
        {"comment", kCommentCount, commentinitialize, commentRefs, -1, 0,
         [](Scenario& s, int n) { freshComment(s.comment(n), n); }},
        {"enemytype", kEnemyTypeCount, enemytypeinitialize, enemyTypeRefs, -1, 0,
         [](Scenario& s, int n) { freshEnemyType(s.enemyType(n), n); }},
        {"walkimg", kWalkImgCount, walkimginitialize, walkImgRefs, -1, 0,
         [](Scenario& s, int n) {
             freshWalkImg(s.walkImg(n), n);
             for (auto& f : s.walkImageFiles[n - 1]) f.clear();
         }},
    };
    return all;
}

const Kind& kind(const std::string& name) {
    for (const Kind& k : kinds())
        if (name == k.name) return k;
    throw std::logic_error("no kind " + name);
}

::testing::AssertionResult sameRecord(const Scenario& got, const Scenario& want) {
    if (sameBytes(got, want)) return ::testing::AssertionSuccess();
    const long d = firstDifference(got, want);
    return ::testing::AssertionFailure() << "records differ first at byte " << d << ": "
                                         << int(got.bytes()[d]) << " instead of " << int(want.bytes()[d]);
}

// Plants `n` in every listed reference and in about half the cells of the
// kind's layer (the other cells hold anything but n, negative values and
// look-alikes included), deletes n, and compares the whole record with the
// planted one minus exactly the planted references.
void checkDeletion(const Kind& k, int n, std::uint64_t seed) {
    SCOPED_TRACE(std::string(k.name) + " " + std::to_string(n));
    auto s = newScenario();
    fillPlausible(*s, seed);
    Refs refs = k.refs(*s);
    for (const Ref& r : refs) writeInt(r.at, r.width, n);
    std::vector<int> plantedCells;
    std::mt19937 rng(static_cast<unsigned>(seed));
    if (k.cellLayer >= 0) {
        const int firstRandom = k.cellWidth == 4 ? 5 : 1;  // terrain: 1..4 hold look-alikes
        for (int c = firstRandom; c <= kCellCount; ++c) {
            unsigned char* at = addr(&s->cell(c)) + k.cellLayer;
            if (rng() % 2) {
                writeInt(at, k.cellWidth, n);
                plantedCells.push_back(c);
            } else if (readInt(at, k.cellWidth) == n) {
                writeInt(at, k.cellWidth, n - 1);
            }
        }
        if (k.cellWidth == 4) {  // values that only look like n
            s->cell(1).place = -n;
            s->cell(2).place = n + 65536;
            s->cell(3).place = n + 256;
            s->cell(4).place = -1;
        }
    }

    auto want = copyOf(*s);
    // Warp points go when their cell holds the deleted building, judged on
    // the cells before they are emptied; only fields in use count.
    if (std::string(k.name) == "enter") {
        for (int f = 1; f <= kFieldCount; ++f) {
            if (want->field(f).firstCell <= 0) continue;
            for (int w = 0; w < 30; ++w) {
                const int c = cellOf(*want, f, want->field(f).warpPoints[w]);
                if (c != 0 && want->cell(c).enter == n) want->field(f).warpPoints[w] = 0;
            }
        }
    }
    if (std::string(k.name) == "bgm") {
        for (int f = 1; f <= kFieldCount; ++f) {
            s->field(f).fieldBgm = static_cast<u8>(n);
            want->field(f).fieldBgm = want->field(f).firstCell > 0 ? 0 : static_cast<u8>(n);
        }
    }
    for (const Ref& r : k.refs(*want)) {
        writeInt(r.at, r.width, 0);
        if (r.partner) writeInt(r.partner, r.partnerWidth, 0);
    }
    for (int c : plantedCells) writeInt(addr(&want->cell(c)) + k.cellLayer, k.cellWidth, 0);
    k.freshen(*want, n);

    k.reset(*s, n, false);
    EXPECT_TRUE(sameRecord(*s, *want));
}

struct Deletion : ::testing::TestWithParam<std::string> {};

}  // namespace

// Every reference of the kind goes, everything around it stays.
TEST_P(Deletion, ClearsEveryReferenceAndNothingElse) {
    const Kind& k = kind(GetParam());
    // The highest number and one above 127 (u8 values compare unsigned).
    const int high = k.count > 255 ? 300 : k.count;
    checkDeletion(k, 1, 101);
    checkDeletion(k, high, 202);
    if (k.count >= 200) checkDeletion(k, 200, 303);
}

// Resetting a whole table with reference removal equals deleting its entries
// one by one, on a record full of references, stray values and damage.
TEST_P(Deletion, AllEntriesInOnePassEqualsOneByOne) {
    const Kind& k = kind(GetParam());
    auto onePass = newScenario();
    fillPlausible(*onePass, 77);
    auto oneByOne = copyOf(*onePass);
    k.reset(*onePass, -1, true);
    for (int n = 1; n <= k.count; ++n) k.reset(*oneByOne, n, false);
    EXPECT_TRUE(sameRecord(*onePass, *oneByOne));
}

// Without reference removal only the table (and its picture names) changes.
TEST_P(Deletion, AllEntriesWithoutCleanupTouchOnlyTheTable) {
    const Kind& k = kind(GetParam());
    auto s = newScenario();
    fillPlausible(*s, 99);
    auto want = copyOf(*s);
    for (int n = 1; n <= k.count; ++n) k.freshen(*want, n);
    k.reset(*s, -1, false);
    EXPECT_TRUE(sameRecord(*s, *want));
}

INSTANTIATE_TEST_SUITE_P(Kinds, Deletion,
                         ::testing::Values("chara", "item", "event", "place", "enter", "magic", "poison",
                                           "bgm", "sound", "comment", "enemytype", "walkimg"),
                         [](const auto& info) { return info.param; });

TEST(Coupling, DeletingAnItemClearsOnlyTheCommentBesideIt) {
    auto s = newScenario();
    CharaDef& c = s->chara(4);
    const u8 items[5] = {9, 3, 9, 7, 1};
    const i16 comments[5] = {11, 12, 13, 14, 15};
    for (int j = 0; j < 5; ++j) {
        c.chwantitem[j] = items[j];
        c.chitemcomment[j] = comments[j];
        c.chwantevent[j] = 9;
        c.cheventcomment[j] = 20;
    }
    iteminitialize(*s, 9, false);
    const int wantItem[5] = {0, 3, 0, 7, 1};
    const int wantComment[5] = {0, 12, 0, 14, 15};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(c.chwantitem[j], wantItem[j]);
        EXPECT_EQ(+c.chitemcomment[j], wantComment[j]);
        EXPECT_EQ(c.chwantevent[j], 9);  // events are another kind
        EXPECT_EQ(+c.cheventcomment[j], 20);
    }
}

TEST(Coupling, DeletingACommentClearsOnlyTheItemOrEventBesideIt) {
    auto s = newScenario();
    CharaDef& c = s->chara(250);
    const i16 comments[5] = {450, 449, -450, 450, 0};
    for (int j = 0; j < 5; ++j) {
        c.chwantitem[j] = static_cast<u8>(10 + j);
        c.chitemcomment[j] = comments[j];
        c.chwantevent[j] = static_cast<u8>(20 + j);
        c.cheventcomment[j] = comments[4 - j];
    }
    commentinitialize(*s, 450, false);
    const int wantItem[5] = {0, 11, 12, 0, 14};
    const int wantItemComment[5] = {0, 449, -450, 0, 0};
    const int wantEvent[5] = {20, 0, 22, 23, 0};
    const int wantEventComment[5] = {0, 0, -450, 449, 0};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(c.chwantitem[j], wantItem[j]) << j;
        EXPECT_EQ(+c.chitemcomment[j], wantItemComment[j]) << j;
        EXPECT_EQ(c.chwantevent[j], wantEvent[j]) << j;
        EXPECT_EQ(+c.cheventcomment[j], wantEventComment[j]) << j;
    }
}

TEST(Coupling, DeletingAnEventClearsOnlyTheCommentBesideIt) {
    auto s = newScenario();
    CharaDef& c = s->chara(1);
    for (int j = 0; j < 5; ++j) {
        c.chwantevent[j] = static_cast<u8>(j % 2 ? 130 : 131);
        c.cheventcomment[j] = static_cast<i16>(100 + j);
    }
    eventinitialize(*s, 130, false);
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(c.chwantevent[j], j % 2 ? 0 : 131);
        EXPECT_EQ(+c.cheventcomment[j], j % 2 ? 0 : 100 + j);
    }
}

// Warp points are judged by the building on their cell, so they must be
// cleared before the cells lose the building.
TEST(Buildings, WarpPointsOnTheDeletedBuildingGoFirst) {
    auto s = newScenario();
    for (int f = 1; f <= 3; ++f) {
        FieldDef& fd = s->field(f);
        fd.firstCell = f == 3 ? 0 : 1 + (f - 1) * 100;  // field 3 not in use
        fd.cellCount = 100;
        fd.width = fd.height = 10;
    }
    s->cell(1 + 4).enter = 5;      // field 1, position 5
    s->cell(101 + 9).enter = 5;    // field 2, position 10
    s->cell(101 + 10).enter = 6;   // field 2, position 11
    s->field(1).warpPoints[0] = 5;
    s->field(1).warpPoints[1] = 6;
    s->field(2).warpPoints[29] = 10;
    s->field(2).warpPoints[3] = 11;
    s->field(2).warpPoints[4] = 500;  // beyond the field: left alone
    s->field(3).warpPoints[0] = 5;    // field not in use: left alone
    enterinitialize(*s, 5, false);
    EXPECT_EQ(+s->field(1).warpPoints[0], 0);
    EXPECT_EQ(+s->field(1).warpPoints[1], 6);
    EXPECT_EQ(+s->field(2).warpPoints[29], 0);
    EXPECT_EQ(+s->field(2).warpPoints[3], 11);
    EXPECT_EQ(+s->field(2).warpPoints[4], 500);
    EXPECT_EQ(+s->field(3).warpPoints[0], 5);
    EXPECT_EQ(+s->cell(5).enter, 0);
    EXPECT_EQ(+s->cell(110).enter, 0);
    EXPECT_EQ(+s->cell(111).enter, 6);
}

TEST(Bgm, FieldMusicIsClearedOnlyInFieldsInUse) {
    auto s = newScenario();
    s->field(1).firstCell = 1;
    s->field(2).firstCell = 0;
    s->field(3).firstCell = -4;
    s->field(4).firstCell = 200;  // in use after a gap
    for (int f = 1; f <= 4; ++f) s->field(f).fieldBgm = 12;
    s->settings.scopeningbgm = 12;
    bgminitialize(*s, 12, false);
    EXPECT_EQ(s->field(1).fieldBgm, 0);
    EXPECT_EQ(s->field(2).fieldBgm, 12);
    EXPECT_EQ(s->field(3).fieldBgm, 12);
    EXPECT_EQ(s->field(4).fieldBgm, 0);
    EXPECT_EQ(s->settings.scopeningbgm, 0);
}

TEST(Terrain, OnlyExactValuesAreCleared) {
    auto s = newScenario();
    const i32 values[] = {300, -300, 300 + 65536, 44, 300 + 256, -1, 300};
    for (int c = 0; c < 7; ++c) s->cell(c + 1).place = values[c];
    placeinitialize(*s, 300, false);
    const i32 want[] = {0, -300, 300 + 65536, 44, 300 + 256, -1, 0};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(+s->cell(c + 1).place, want[c]);
    placeinitialize(*s, -1, true);  // every terrain 1..400; negatives stay
    const i32 wantAll[] = {0, -300, 300 + 65536, 0, 300 + 256, -1, 0};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(+s->cell(c + 1).place, wantAll[c]);
}

TEST(Resets, NumbersOutsideTheTableChangeNothing) {
    auto s = newScenario();
    fillPlausible(*s, 3);
    auto before = copyOf(*s);
    for (const Kind& k : kinds()) {
        k.reset(*s, 0, false);
        k.reset(*s, k.count + 1, true);
    }
    EXPECT_TRUE(sameRecord(*s, *before));
}
