// Field cells as tile layers and back: the gids a field gives, the import
// that restores them byte for byte, and every refusal leaving the record as
// it was.
#include <gtest/gtest.h>

#include <functional>

#include "scenario/fieldlayout.h"
#include "scenario/tmxmapping.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

using test::copyOf;
using test::sameBytes;

constexpr std::uint32_t kFirst[5] = {1, 401, 651, 901, 1151};

// A second field of 20 x 10 behind a first one, every layer set somewhere,
// numbers up to each table's end.
test::ScenarioPtr filledScenario() {
    auto s = test::newScenario();
    createFirstField(*s, "", "", "", 10, 10);
    s->field(2) = s->field(1);
    s->field(2).width = 20;
    s->field(2).height = 10;
    s->field(2).firstCell = 101;
    s->field(2).cellCount = 200;
    layoutFieldCells(*s, 2, 101, 20, 10);
    for (int n = 101; n <= 300; ++n) {
        Cell& c = s->cell(n);
        c.place = (n * 7) % 401;
        c.enter = static_cast<u8>(n % 3 == 0 ? (n * 13) % 251 : 0);
        c.event = static_cast<u8>(n % 5 == 0 ? 250 : 0);
        c.item = static_cast<u8>(n % 4 == 1 ? (n % 250) + 1 : 0);
        c.chara = static_cast<u8>(n % 9 == 0 ? 1 : 0);
    }
    return s;
}

TmxMapData mapOf(const Scenario& s, int field) {
    TmxMapData map;
    map.width = s.field(field).width;
    map.height = s.field(field).height;
    for (std::size_t i = 0; i < kTmxLayers.size(); ++i) {
        map.tilesets.push_back({kTmxLayers[i].name, kFirst[i], static_cast<std::uint64_t>(kTmxLayers[i].objectCount)});
        map.layers.push_back({kTmxLayers[i].name, map.width, map.height,
                              fieldLayerGids(s, field, kTmxLayers[i].layer, kFirst[i])});
    }
    return map;
}

TEST(TmxMapping, GidsFollowTheCellsRowByRowWithEachTilesetsOffset) {
    auto s = filledScenario();
    s->cell(101 + 3).place = 400;   // col 3, row 0
    s->cell(101 + 20).chara = 250;  // col 0, row 1
    s->cell(101 + 21).place = -5;   // outside the table: empty
    s->cell(101 + 22).enter = 0;
    const auto place = fieldLayerGids(*s, 2, 1, 1);
    const auto chara = fieldLayerGids(*s, 2, 5, 1151);
    ASSERT_EQ(place.size(), 200u);
    EXPECT_EQ(place[3], 400u);
    EXPECT_EQ(chara[20], 1151u + 249u);
    EXPECT_EQ(place[21], 0u);
    EXPECT_EQ(fieldLayerGids(*s, 2, 2, 401)[22], 0u);
    EXPECT_TRUE(fieldLayerGids(*s, 3, 1, 1).empty());  // not in use
}

TEST(TmxMapping, ImportRestoresEveryCellAndTouchesNothingElse) {
    auto s = filledScenario();
    s->cell(150).place = 9999;  // a damaged entry that the map shows empty stays
    const auto original = copyOf(*s);
    const TmxMapData map = mapOf(*s, 2);
    for (int n = 1; n <= 300; ++n) {
        Cell& c = s->cell(n);
        c.enter = c.event = c.item = c.chara = static_cast<u8>(n % 2);
        if (n != 150) c.place = 0;
    }
    const TmxImportResult r = importTmxLayers(*s, 2, map);
    ASSERT_EQ(r.status, TmxImportStatus::Done) << tmxImportMessage(r);
    EXPECT_GT(r.changedCells, 100);
    // Field 1 keeps what was painted over it; field 2 is as before.
    for (int n = 1; n <= 100; ++n) s->cell(n) = original->cell(n);
    EXPECT_TRUE(sameBytes(*s, *original)) << test::firstDifference(*s, *original);
    EXPECT_EQ(importTmxLayers(*s, 2, map).changedCells, 0);
}

TEST(TmxMapping, TilesetsMayStartAnywhereAndLayersComeInAnyOrder) {
    auto s = filledScenario();
    TmxMapData map = mapOf(*s, 2);
    // As if the author had moved the tilesets: chara first at 1, terrain last.
    const std::uint32_t moved[5] = {1001, 251, 501, 751, 1};
    for (std::size_t i = 0; i < 5; ++i) {
        map.tilesets[i].firstGid = moved[i];
        for (auto& g : map.layers[i].gids)
            if (g) g = g - kFirst[i] + moved[i];
    }
    std::swap(map.layers[0], map.layers[4]);
    map.layers.push_back({"背景", 20, 10, std::vector<std::uint32_t>(200, 7)});  // an extra layer is ignored
    const auto original = copyOf(*s);
    ASSERT_EQ(importTmxLayers(*s, 2, map).status, TmxImportStatus::Done);
    EXPECT_TRUE(sameBytes(*s, *original));
}

struct Refusal {
    const char* what;
    TmxImportStatus status;
    std::function<void(TmxMapData&)> damage;
};

TEST(TmxMapping, EveryRefusalChangesNothing) {
    const Refusal cases[] = {
        {"map narrower", TmxImportStatus::SizeDiffers, [](TmxMapData& m) { m.width = 10; }},
        {"no building layer", TmxImportStatus::MissingLayer, [](TmxMapData& m) { m.layers.erase(m.layers.begin() + 1); }},
        {"two terrain layers", TmxImportStatus::DuplicateLayer, [](TmxMapData& m) { m.layers.push_back(m.layers[0]); }},
        {"short layer", TmxImportStatus::LayerSizeDiffers, [](TmxMapData& m) { m.layers[2].gids.pop_back(); }},
        {"layer of other size", TmxImportStatus::LayerSizeDiffers, [](TmxMapData& m) { m.layers[3].height = 11; }},
        {"no item tileset", TmxImportStatus::MissingTileset,
         [](TmxMapData& m) {
             m.tilesets[3].name = "x";
             m.layers[3].gids[9] = 901;
         }},
        {"flipped", TmxImportStatus::FlippedTile, [](TmxMapData& m) { m.layers[0].gids[17] = 0x80000002u; }},
        {"rotated", TmxImportStatus::FlippedTile, [](TmxMapData& m) { m.layers[4].gids[5] = 0x20000000u | 1151u; }},
        {"building on terrain", TmxImportStatus::ForeignTile, [](TmxMapData& m) { m.layers[0].gids[199] = 402; }},
        {"past every tileset", TmxImportStatus::TileOutOfRange, [](TmxMapData& m) { m.layers[4].gids[0] = 1401; }},
        {"past the objects", TmxImportStatus::TileOutOfRange,
         [](TmxMapData& m) {
             m.tilesets[4].tileCount = 300;
             m.layers[4].gids[0] = 1151 + 250;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = filledScenario();
        TmxMapData map = mapOf(*s, 2);
        for (auto& l : map.layers)
            for (auto& g : l.gids) g = 0;  // the map would empty every cell
        c.damage(map);
        const auto original = copyOf(*s);
        const TmxImportResult r = importTmxLayers(*s, 2, map);
        EXPECT_EQ(r.status, c.status);
        EXPECT_FALSE(tmxImportMessage(r).empty());
        EXPECT_TRUE(sameBytes(*s, *original));
    }
    auto s = filledScenario();
    const TmxMapData map = mapOf(*s, 2);
    s->field(2).firstCell = kCellCount - 10;  // runs past the store
    EXPECT_EQ(importTmxLayers(*s, 2, map).status, TmxImportStatus::FieldUnusable);
    EXPECT_EQ(importTmxLayers(*s, 7, map).status, TmxImportStatus::FieldUnusable);
}

TEST(TmxMapping, RefusalNamesTheLayerAndTheCell) {
    auto s = filledScenario();
    TmxMapData map = mapOf(*s, 2);
    map.layers[1].gids[2 * 20 + 4] = 5;  // a terrain tile on the building layer, col 5 row 3
    const TmxImportResult r = importTmxLayers(*s, 2, map);
    EXPECT_EQ(r.status, TmxImportStatus::ForeignTile);
    EXPECT_EQ(tmxImportMessage(r), "レイヤー「建造物」の(5, 3)のタイル 5は別のタイルセットのタイルです。");
}

}  // namespace
}  // namespace qrn
