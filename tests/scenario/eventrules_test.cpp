// The rules tying event settings together, the ten-slot lists and the check
// of stored locations, compared on whole records: what must be cleared is
// cleared and nothing else moves.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "scenario/eventrules.h"
#include "scenario/fieldlayout.h"
#include "scenario/pickerrules.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

template <typename T>
bool same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

ShortString255 file(const char* name) {
    ShortString255 f;
    std::memset(&f, 0, sizeof f);
    f.assign(name);
    return f;
}

// An event with every setting in use and no flag set.
EventDef fullEvent() {
    EventDef e;
    std::memset(&e, 0, sizeof e);
    e.name.assign("signpost");
    e.evenemy = 4;
    e.evstartcomment = 10;
    e.evendcomment = 11;
    e.jumpField = 2;
    e.jumpPosition = 23;
    e.evprologue = 12;
    e.evprologuebmp.assign("open.bmp");
    e.evprologuebgm = 3;
    e.evepilogue = 13;
    e.evepiloguebmp.assign("close.bmp");
    e.evepiloguebgm = 5;
    e.evaction = 2;
    e.evstartitem = 7;
    e.evshowitem[0] = 1;
    e.evgetitem[0] = 2;
    e.evdieok = 1;
    e.evgetmagic = 6;
    e.evinfinity = 1;
    e.evnotwondering = 1;
    e.imageTransparent = 1;
    e.imageColour = 0x112233;
    e.image2Colour = 0x445566;
    return e;
}

struct IniCase {
    const char* what;
    std::function<void(EventDef&, ShortString255&)> setUp;
    std::function<void(EventDef&, ShortString255&)> expect;  // applied to the set-up record
    EventControls open;
};

TEST(EventRules, EventiniClearsWhatTheFlagsAndTheBattleRuleOut) {
    const EventControls allOpen{true, true, true, true, true};
    const IniCase cases[] = {
        {"all in use", [](EventDef&, ShortString255&) {}, [](EventDef&, ShortString255&) {}, allOpen},
        {"no battle",
         [](EventDef& e, ShortString255&) { e.evenemy = 0; },
         [](EventDef& e, ShortString255&) { e.evdieok = 0; },
         {false, true, true, true, true}},
        {"hidden until the conditions hold",
         [](EventDef& e, ShortString255&) { e.evstarthide = 1; },
         [](EventDef& e, ShortString255&) { e.evstartcomment = 0; },
         {true, false, true, true, true}},
        {"hidden after the end",
         [](EventDef& e, ShortString255&) { e.evendhide = 1; },
         [](EventDef& e, ShortString255& after) {
             after.clear();
             e.evendcomment = 0;
             e.evinfinity = 0;
         },
         {true, true, false, true, true}},
        {"prologue without comment or image",
         [](EventDef& e, ShortString255&) {
             e.evprologue = 0;
             e.evprologuebmp.clear();
         },
         [](EventDef& e, ShortString255&) { e.evprologuebgm = 0; },
         {true, true, true, false, true}},
        {"prologue with an image only",
         [](EventDef& e, ShortString255&) { e.evprologue = 0; },
         [](EventDef&, ShortString255&) {},
         allOpen},
        {"epilogue with a negative comment and no image",
         [](EventDef& e, ShortString255&) {
             e.evepilogue = -3;
             e.evepiloguebmp.clear();
         },
         [](EventDef& e, ShortString255&) { e.evepiloguebgm = 0; },
         {true, true, true, true, false}},
    };
    for (const IniCase& c : cases) {
        EventDef e = fullEvent();
        ShortString255 after = file("after.bmp");
        c.setUp(e, after);
        EventDef expected = e;
        ShortString255 expectedAfter = after;
        c.expect(expected, expectedAfter);
        EXPECT_EQ(applyEventRules(e, after), c.open) << c.what;
        EXPECT_TRUE(same(e, expected)) << c.what;
        EXPECT_TRUE(same(after, expectedAfter)) << c.what;
    }
}

TEST(EventRules, RenderingCopiesTheBeforeImageAndKeepsTheStartItemOnlyForItemUse) {
    const ShortString255 before = file("before.bmp");
    {
        EventDef e = fullEvent();
        ShortString255 after = file("");
        EventDef expected = e;
        expected.image2Transparent = 1;
        expected.image2Colour = 0x112233;
        EXPECT_EQ(applyEventViewRules(e, before, after), (EventViewResult{true, true}));
        EXPECT_TRUE(same(e, expected));
        EXPECT_EQ(after.view(), "before.bmp");
        // Once copied, the next rendering changes nothing.
        EXPECT_EQ(applyEventViewRules(e, before, after), (EventViewResult{false, true}));
        EXPECT_TRUE(same(e, expected));
    }
    {
        EventDef e = fullEvent();
        e.evendhide = 1;
        ShortString255 after = file("");
        EventDef expected = e;
        EXPECT_EQ(applyEventViewRules(e, before, after), (EventViewResult{false, true}));
        EXPECT_TRUE(same(e, expected));  // hidden after the end: stays without an after-image
        EXPECT_TRUE(after.empty());
    }
    for (u8 action : {0, 1, 7}) {
        EventDef e = fullEvent();
        e.evaction = action;
        ShortString255 after = file("after.bmp");
        EventDef expected = e;
        expected.evstartitem = 0;
        EXPECT_EQ(applyEventViewRules(e, before, after), (EventViewResult{false, false})) << int(action);
        EXPECT_TRUE(same(e, expected)) << int(action);
    }
}

// Each check box tag switches the setting the box names: the event list
// shows exactly that flag's line.
TEST(EventRules, EachFlagTagSwitchesTheSettingItsBoxNames) {
    const char* const lines[] = {"□終了後非表示", "◎エンディング", "□条件合致まで非表示",
                                 "∽無限に発生", "！死亡しても続行", "●終了後敵と遭遇しない"};
    auto s = test::newScenario();
    for (int tag = 1; tag <= 6; ++tag) {
        s->event(1) = EventDef{};
        ASSERT_NE(eventFlag(s->event(1), tag), nullptr);
        *eventFlag(s->event(1), tag) = 1;
        std::vector<std::string> shown;
        for (const std::string& line : eventSummary(*s, 1))
            for (const char* flagLine : lines)
                if (line == flagLine) shown.push_back(line);
        EXPECT_EQ(shown, std::vector<std::string>{lines[tag - 1]}) << "tag " << tag;
    }
    EXPECT_EQ(eventFlag(s->event(1), 0), nullptr);
    EXPECT_EQ(eventFlag(s->event(1), 7), nullptr);
}

TEST(EventSlots, FilledFromTheFirstSlotInAscendingOrder) {
    struct Case {
        const char* what;
        std::vector<int> chosen;
        std::vector<int> slotsAfter;  // all ten
        int dropped;
    } cases[] = {
        {"three", {3, 9, 120}, {3, 9, 120, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"none", {}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"unsorted with repeats", {40, 2, 40, 17}, {2, 17, 40, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"twelve: the two highest are dropped",
         {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         2},
        {"outside the table", {0, -4, 251, 300, 5, 250}, {5, 250, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        EventDef e = fullEvent();
        for (int i = 0; i < kEventSlots; ++i) e.evgetitem[i] = static_cast<u8>(200 + i);  // whatever was there
        EventDef expected = e;
        for (int i = 0; i < kEventSlots; ++i) expected.evgetitem[i] = static_cast<u8>(c.slotsAfter[i]);
        EXPECT_EQ(fillEventSlots(e.evgetitem, c.chosen, kItemCount), c.dropped) << c.what;
        EXPECT_TRUE(same(e, expected)) << c.what;
    }
}

TEST(EventSlots, EntriesSkipEmptySlotsAndPreselectionOnlyTableEntries) {
    EventDef e = fullEvent();
    const u8 stored[kEventSlots] = {0, 5, 0, 255, 251, 9, 0, 0, 250, 0};  // a damaged file
    std::memcpy(e.evshowevent, stored, sizeof stored);
    EXPECT_EQ(eventSlotEntries(e.evshowevent), (std::vector<int>{5, 255, 251, 9, 250}));
    EXPECT_EQ(validSlotEntries(e.evshowevent, kEventCount), (std::vector<int>{5, 9, 250}));
}

TEST(EventLocations, ShownOnlyWhenTheFieldIsInUseAndThePositionInsideIt) {
    test::ScenarioPtr s = test::newScenario();
    layoutFieldCells(*s, 1, 1, 10, 10);   // cells 1..100
    layoutFieldCells(*s, 2, 101, 20, 10);  // cells 101..300
    struct Case {
        int field, position;
        std::optional<ColumnRow> shown;
    } cases[] = {
        {2, 23, ColumnRow{3, 2}},  {2, 1, ColumnRow{1, 1}},    {2, 200, ColumnRow{20, 10}},
        {2, 0, std::nullopt},      {2, -5, std::nullopt},      {2, 201, std::nullopt},  // beyond the field
        {3, 1, std::nullopt},      {0, 1, std::nullopt},       {255, 1, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(locatedCell(*s, c.field, c.position), c.shown) << c.field << "/" << c.position;
    // A deleted field: its slot is free again.
    s->field(2).firstCell = 0;
    EXPECT_EQ(locatedCell(*s, 2, 23), std::nullopt);
}

}  // namespace
}  // namespace qrn
