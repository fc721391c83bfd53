// Resets of every table and of the whole scenario. `number` below 0 means
// every entry; references to the reset entries are removed from the rest of
// the scenario when number > 0 or cleanup is true.
#pragma once

#include <cstdint>
#include <string>

#include "scenario.h"

namespace qrn {

void charainitialize(Scenario& s, int number, bool cleanup);
void iteminitialize(Scenario& s, int number, bool cleanup);
void eventinitialize(Scenario& s, int number, bool cleanup);
void placeinitialize(Scenario& s, int number, bool cleanup);
void enterinitialize(Scenario& s, int number, bool cleanup);

void magicinitialize(Scenario& s, int number, bool cleanup);
void poisoninitialize(Scenario& s, int number, bool cleanup);
void bgminitialize(Scenario& s, int number, bool cleanup);
void soundinitialize(Scenario& s, int number, bool cleanup);
void commentinitialize(Scenario& s, int number, bool cleanup);
void enemytypeinitialize(Scenario& s, int number, bool cleanup);
void walkimginitialize(Scenario& s, int number, bool cleanup);

// The definition as a fresh entry of the given number would have it.
void freshChara(CharaDef& d, int n);
void freshItem(ItemDef& d, int n);
void freshEvent(EventDef& d, int n);
void freshPlace(PlaceDef& d, int n);
void freshEnter(EnterDef& d, int n);
void freshMagic(MagicDef& d, int n);
void freshPoison(PoisonDef& d, int n);
void freshBgm(BgmDef& d, int n);
void freshSound(SoundDef& d, int n);
void freshComment(CommentDef& d, int n);
void freshEnemyType(EnemyTypeDef& d, int n);
void freshWalkImg(WalkImgDef& d, int n);
void freshField(FieldDef& d, int n);

void mapinitialize(Scenario& s, std::uint64_t randomSeed);
void heroinitialize(Scenario& s);
void levelinitialize(Scenario& s);
// number < 0: every field slot fresh (cells untouched).
void fieldinitializeAll(Scenario& s);
// Cells first..last (inclusive) become empty; nothing when last < first.
void chipclear(Scenario& s, int first, int last);

// Picture indexes into the editor's picture list, one per object picture.
// Index 0 means no picture. Entries are 1-based like the tables they follow.
struct PictureIndexTables {
    std::int32_t fieldItem[kFieldCount + 1];
    std::int32_t charaItem[2 * kCharaCount + 1];   // 1..250 chara, 251..500 item
    std::int32_t event[2 * kEventCount + 1];       // 1..250 before, 251..500 after
    std::int32_t enter[2 * kEnterCount + 1];       // 1..250 first, 251..500 second
    std::int32_t place[kPlaceCount + 1];
    std::int32_t place2[kPlaceCount + 1];
    std::int16_t walk[kWalkImgCount + 1][kWalkFrames + 1];
};

void placeimginitialize(PictureIndexTables& p, int number);
void eventimginitialize(PictureIndexTables& p, int number);
void enterimginitialize(PictureIndexTables& p, int number);
void itemimginitialize(PictureIndexTables& p, int number);
void fiitimginitialize(PictureIndexTables& p, int number);
void charaimginitialize(PictureIndexTables& p, int number);
void runimginitialize(PictureIndexTables& p, int number);

// Untouched copies of entry 1 of some resource tables, taken right after the
// whole reset; the resource window compares against them.
struct PristineResources {
    PoisonDef poison;
    EnemyTypeDef enemyType;
    SoundDef sound;
    BgmDef bgm;
    WalkImgDef walkImg;
    CommentDef comment;
};

// Editor state that the whole reset brings back to empty with the record.
struct EditorSideData {
    PictureIndexTables pictures{};
    PristineResources pristine{};
    std::string joinName;  // name remembered by the join command
};

void makepuredata(const Scenario& s, PristineResources& p);

// The whole reset. randomSeed feeds the random stamp of the settings.
void alldatainitialize(Scenario& s, EditorSideData& side, std::uint64_t randomSeed);
// Same, seeded from the clock and the system's random source.
void alldatainitialize(Scenario& s, EditorSideData& side);
// What the whole reset leaves in the side data, without touching a record:
// for a record that is about to be replaced whole.
void sideDataInitialize(EditorSideData& side);

}  // namespace qrn
