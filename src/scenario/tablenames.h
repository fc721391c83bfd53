// The names of table entries, looked up in one place. A number outside its
// table (0 for none, or anything a damaged file holds) has no name.
#pragma once

#include <optional>
#include <string_view>

#include "scenario.h"

namespace qrn {

enum class NamedTable { Field, Place, Enter, Event, Item, Chara, Comment, EnemyGroup, Poison, WalkImage, Bgm, Sound, Magic };

// Entries of a table.
int namedTableSize(NamedTable table);
// The stored name (cp932 bytes) of entry `number`, or nullopt when the
// number lies outside 1..namedTableSize(table).
std::optional<std::string_view> tableName(const Scenario& s, NamedTable table, int number);
// The name as a reference shows it: the stored name, or `none` ("-") when
// the number names no entry.
std::string_view nameOrNone(const Scenario& s, NamedTable table, int number, std::string_view none = "-");

}  // namespace qrn
