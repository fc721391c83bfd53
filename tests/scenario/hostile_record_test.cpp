// Records from damaged or hostile files that the fuzzers turned up, each put
// through the operation that once misbehaved on it.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"

namespace qrn {
namespace {

std::unique_ptr<Scenario> twoFields() {
    auto s = std::make_unique<Scenario>();
    EditorSideData side{};
    alldatainitialize(*s, side, 1);
    createFirstField(*s, "t", "d", "f", 20, 10);
    layoutFieldCells(*s, 2, 201, 30, 30);
    return s;
}

// A field whose first cell lies so far out that the end of its run
// overflows is reported, and its cells are not read. (A first cell of 0 or
// below marks a free slot.)
TEST(HostileRecord, FieldStartingOutsideTheStoreIsReportedNotRead) {
    for (const int first : {INT_MAX - 15, INT_MAX, kCellCount}) {
        auto s = twoFields();
        s->field(2).firstCell = first;
        const std::vector<std::string> v = fieldInvariantViolations(*s);
        ASSERT_FALSE(v.empty()) << first;
        EXPECT_EQ(v.back(), "field 2 runs past the store") << first;
    }
}

}  // namespace
}  // namespace qrn
