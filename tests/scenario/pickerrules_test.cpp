// What the pickers offer and summarise: one kind page per object, chosen
// numbers kept whatever the object looks like now, the highlight rule.
#include <gtest/gtest.h>

#include <cstring>

#include "scenario/pickerrules.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

TEST(PickerRules, MagicKindFirstMatchWins) {
    struct Case {
        u8 all, escape, warp, status;
        MagicKind kind;
    } cases[] = {
        {1, 1, 1, 1, MagicKind::All},    {0, 1, 0, 1, MagicKind::Move},   {0, 0, 1, 0, MagicKind::Move},
        {0, 0, 0, 0, MagicKind::Single}, {0, 0, 0, 1, MagicKind::Status},
    };
    for (const Case& c : cases) {
        MagicDef m{};
        m.allTargets = c.all;
        m.escapeMagic = c.escape;
        m.warpMagic = c.warp;
        m.statusMagic = c.status;
        EXPECT_EQ(magicKind(m), c.kind);
    }
}

TEST(PickerRules, EveryExistingMagicIsOnExactlyOnePageAndChosenOnesStay) {
    auto s = test::newScenario();
    for (int n = 1; n <= kMagicCount; ++n) {
        MagicDef& m = s->magic(n);
        m.mgsuccess = n % 5 == 0 ? 0 : 50;
        m.allTargets = n % 2;
        m.warpMagic = n % 3 == 0;
        m.statusMagic = n % 7 == 0;
        m.mghealing = n;  // would have left it off every page by the flag reading
    }
    const PickSet chosen = pickSetOf({5, 10, 3, 51, 0, -4, 300}, kMagicCount);
    EXPECT_EQ(chosenNumbers(chosen, kMagicCount), (std::vector<int>{3, 5, 10}));  // 5 and 10 have rate 0
    s->hero.heroMagics[0] = 4;
    s->level(3).magic = 6;
    s->level(4).magic = 200;  // damaged: ignored
    const auto pages = magicCandidates(*s, chosen, magicsHeld(*s));
    std::vector<int> seen(kMagicCount + 1, 0);
    for (const auto& page : pages)
        for (int n : page) ++seen[static_cast<std::size_t>(n)];
    for (int n = 1; n <= kMagicCount; ++n) {
        const bool offered = n % 5 != 0 && n != 3 && n != 4 && n != 6;
        EXPECT_EQ(seen[static_cast<std::size_t>(n)], offered ? 1 : 0) << n;
    }
}

TEST(PickerRules, ItemsByTheirOneKindAndOnlyWhenInUse) {
    auto s = test::newScenario();
    s->itemImageFiles[0].assign("a.bmp");
    s->item(1).itgroup[0] = 1;
    s->itemImageFiles[1].assign("b.bmp");
    s->item(2).itgroup[1] = 1;
    s->item(2).itgroup[3] = 1;  // two flags (damaged): general, as the item page shows it
    s->itemImageFiles[2].assign("c.bmp");  // no flag: general
    s->item(4).name.assign("named but unused");
    const auto pages = itemCandidates(*s, PickSet{});
    EXPECT_EQ(pages[0], std::vector<int>{1});
    EXPECT_EQ(pages[5], (std::vector<int>{2, 3}));
    EXPECT_TRUE(pages[1].empty() && pages[2].empty() && pages[3].empty() && pages[4].empty());
}

TEST(PickerRules, HighlightStaysOrMovesUp) {
    EXPECT_EQ(keptHighlight(2, 5), 2);
    EXPECT_EQ(keptHighlight(4, 4), 3);
    EXPECT_EQ(keptHighlight(0, 0), -1);
}

TEST(PickerRules, Summaries) {
    auto s = test::newScenario();
    ItemDef& it = s->item(1);
    it.itgroup[5] = 1;
    it.itfielduse = 1;
    it.ithealing = 30;
    it.ithealmp = -1;
    it.itcomment = 600;  // damaged reference: left out
    EXPECT_EQ(itemSummary(*s, 1), (std::vector<std::string>{"×売買不可", "◆使用可能回数 / 無限",
                                                             "○ﾌｨｰﾙﾄﾞ上での使用可能 ", "", "", "○回復 / 30",
                                                             "☆魔力回復 / 全回復", ""}));
    MagicDef& m = s->magic(2);
    m.mgdownmp = 4;
    m.mgsuccess = 90;
    m.mghealing = -1;
    m.mgupdef = 8;
    m.mgupdeftome = 1;
    EXPECT_EQ(magicSummary(*s, 2), (std::vector<std::string>{"●魔力消費 / 4", "●成功率 / 90%", "○回復 / 全回復",
                                                             "↑防御UP / 8", "          効果対象 / 自分"}));
    EventDef& e = s->event(3);
    e.evaction = 2;
    e.evstartitem = 999;
    const auto lines = eventSummary(*s, 3);
    EXPECT_NE(std::find(lines.begin(), lines.end(), " →  未指定"), lines.end());
    EXPECT_TRUE(itemSummary(*s, 0).empty());
}

}  // namespace
}  // namespace qrn
