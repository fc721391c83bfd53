// The one walk over every stored location.
#include <gtest/gtest.h>

#include "scenario/fieldops.h"
#include "scenario_test_support.h"

namespace qrn {
namespace {

TEST(LocationsTest, EveryLocationIsVisitedOnceAndWritesItsOwnMembers) {
    auto s = test::newScenario();
    auto expected = test::newScenario();
    int count = 0;
    forEachLocation([&](const LocationRef& r) {
        ++count;
        setLocationField(*s, r, 7);
        setLocationPosition(*s, r, 1000 + count);
    });
    EXPECT_EQ(count, kFieldCount * 30 + kFieldCount + 1 + kEventCount + kEnterCount);

    // The same writes member by member, in the documented order.
    int n = 0;
    for (int f = 1; f <= kFieldCount; ++f)
        for (int w = 0; w < 30; ++w) expected->field(f).warpPoints[w] = 1000 + ++n;
    for (int f = 1; f <= kFieldCount; ++f) {
        expected->field(f).escapeField = 7;
        expected->field(f).escapePosition = 1000 + ++n;
    }
    expected->hero.startField = 7;
    expected->hero.startPosition = 1000 + ++n;
    for (int k = 1; k <= kEventCount; ++k) {
        expected->events[k - 1].jumpField = 7;
        expected->events[k - 1].jumpPosition = 1000 + ++n;
        expected->enters[k - 1].jumpField = 7;
        expected->enters[k - 1].jumpPosition = 1000 + ++n;
    }
    EXPECT_EQ(test::firstDifference(*s, *expected), -1);

    // Reading back: a warp slot names the field that holds it.
    forEachLocation([&](const LocationRef& r) {
        EXPECT_EQ(locationField(*s, r), r.kind == LocationKind::Warp ? r.number : 7);
    });
}

}  // namespace
}  // namespace qrn
