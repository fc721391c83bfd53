// Names of table entries, with none for numbers outside the table.
#include <gtest/gtest.h>

#include "scenario/tablenames.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

TEST(TableNamesTest, EveryTableNamesItsEntriesAndNothingOutside) {
    auto s = test::newScenario();
    s->field(100).name.assign("last field");
    s->places[399].name.assign("last place");
    s->enters[0].name.assign("door");
    s->comments[499].name.assign("note");
    s->walkImgs[9].name.assign("walker");
    s->magics[0].name.assign("fire");
    struct Row {
        NamedTable table;
        int size;
        int named;
        const char* name;
    };
    const std::vector<Row> rows{
        {NamedTable::Field, 100, 100, "last field"}, {NamedTable::Place, 400, 400, "last place"},
        {NamedTable::Enter, 250, 1, "door"},         {NamedTable::Event, 250, 0, nullptr},
        {NamedTable::Item, 250, 0, nullptr},         {NamedTable::Chara, 250, 0, nullptr},
        {NamedTable::Comment, 500, 500, "note"},     {NamedTable::EnemyGroup, 50, 0, nullptr},
        {NamedTable::Poison, 50, 0, nullptr},        {NamedTable::WalkImage, 10, 10, "walker"},
        {NamedTable::Bgm, 50, 0, nullptr},           {NamedTable::Sound, 50, 0, nullptr},
        {NamedTable::Magic, 50, 1, "fire"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "table " << static_cast<int>(r.table));
        EXPECT_EQ(namedTableSize(r.table), r.size);
        if (r.name) {
            EXPECT_EQ(tableName(*s, r.table, r.named), r.name);
        }
        EXPECT_TRUE(tableName(*s, r.table, r.size).has_value()) << "the last entry exists";
        EXPECT_EQ(nameOrNone(*s, r.table, 1, "none"), r.named == 1 ? r.name : "");
        for (int outside : {0, -1, r.size + 1, 65535}) {
            EXPECT_EQ(tableName(*s, r.table, outside), std::nullopt);
            EXPECT_EQ(nameOrNone(*s, r.table, outside), "-");
        }
    }
}

}  // namespace
}  // namespace qrn
