#include "tablenames.h"

namespace qrn {

namespace {

template <typename Def, std::size_t N>
std::string_view nameIn(const Def (&table)[N], int number) {
    return table[number - 1].name.view();
}

}  // namespace

int namedTableSize(NamedTable table) {
    switch (table) {
        case NamedTable::Field: return kFieldCount;
        case NamedTable::Place: return kPlaceCount;
        case NamedTable::Enter: return kEnterCount;
        case NamedTable::Event: return kEventCount;
        case NamedTable::Item: return kItemCount;
        case NamedTable::Chara: return kCharaCount;
        case NamedTable::Comment: return kCommentCount;
        case NamedTable::EnemyGroup: return kEnemyTypeCount;
        case NamedTable::Poison: return kPoisonCount;
        case NamedTable::WalkImage: return kWalkImgCount;
        case NamedTable::Bgm: return kBgmCount;
        case NamedTable::Sound: return kSoundCount;
        case NamedTable::Magic: return kMagicCount;
    }
    return 0;
}

std::optional<std::string_view> tableName(const Scenario& s, NamedTable table, int number) {
    if (number < 1 || number > namedTableSize(table)) return std::nullopt;
    switch (table) {
        case NamedTable::Field: return nameIn(s.fields, number);
        case NamedTable::Place: return nameIn(s.places, number);
        case NamedTable::Enter: return nameIn(s.enters, number);
        case NamedTable::Event: return nameIn(s.events, number);
        case NamedTable::Item: return nameIn(s.items, number);
        case NamedTable::Chara: return nameIn(s.charas, number);
        case NamedTable::Comment: return nameIn(s.comments, number);
        case NamedTable::EnemyGroup: return nameIn(s.enemyTypes, number);
        case NamedTable::Poison: return nameIn(s.poisons, number);
        case NamedTable::WalkImage: return nameIn(s.walkImgs, number);
        case NamedTable::Bgm: return nameIn(s.bgms, number);
        case NamedTable::Sound: return nameIn(s.sounds, number);
        case NamedTable::Magic: return nameIn(s.magics, number);
    }
    return std::nullopt;
}

std::string_view nameOrNone(const Scenario& s, NamedTable table, int number, std::string_view none) {
    return tableName(s, table, number).value_or(none);
}

}  // namespace qrn
