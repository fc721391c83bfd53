// Chip search over a full cell store, against a plain loop over the store
// comparing the same byte, in the same run.
//   op=chip_search_all_fields   100 fields of 60 x 50 (all 300,000 cells),
//                               the building searched for only in the last cell
#include <cstdio>
#include <memory>
#include <vector>

#include "scenario/chipsearch.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"

#include "bench_util.h"

using namespace qrn;

int main() {
    constexpr int kRuns = 31;
    auto owned = std::make_unique<Scenario>();
    Scenario& s = *owned;
    EditorSideData side{};
    alldatainitialize(s, side, 1);
    createFirstField(s, "bench", "", "first", 60, 50);
    for (int f = 2; f <= kFieldCount; ++f) placeNewField(s, f, 60, 50);
    for (int c = 1; c <= kCellCount; ++c) {
        s.cell(c).place = 1 + c % 400;
        s.cell(c).enter = static_cast<u8>(1 + c % 200);
    }
    s.cell(kCellCount).enter = 250;

    std::vector<double> search, plain;
    volatile int sink = 0;
    for (int run = 0; run < kRuns; ++run) {
        search.push_back(bench::millis([&] {
            SearchState state = setserch(s, 250, kSearchEnter, true, true, 1, 0);
            const SearchHit hit = getstart(s, state);
            sink = sink + hit.cell;
        }));
        plain.push_back(bench::millis([&] {
            int found = 0;
            for (int c = 1; c <= kCellCount; ++c)
                if (s.cell(c).enter == 250) {
                    found = c;
                    break;
                }
            sink = sink + found;
        }));
    }
    const double m = bench::median(search);
    const double b = bench::median(plain);
    std::printf("op=chip_search_all_fields median_ms=%.3f ratio=%.2f\n", m, b > 0 ? m / b : 0.0);
    return sink == 0;
}
