// Field resizing and deletion on a crowded scenario, each against a copy of
// the whole record taken in the same run.
//   op=resize_grow_first_field   first of 100 fields, 110 x 110 -> 120 x 120
//   op=resize_shrink_first_field and back, 120 x 120 -> 110 x 110
//   op=delete_field_2            field 2 of 100
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scenario/celledit.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"

#include "bench_util.h"

using namespace qrn;

namespace {

using qrn::bench::median;
using qrn::bench::millis;

constexpr int kRuns = 25;



// 100 fields filling the pool but for 2,300 cells: the first 110 x 110, then
// 97 of 70 x 40 and 2 of 70 x 100. Cells carry objects, and locations point
// all over the fields.
void buildCrowdedScenario(Scenario& s, EditorSideData& side) {
    alldatainitialize(s, side, 1);
    createFirstField(s, "bench", "", "first", 110, 110);
    for (int f = 2; f <= 98; ++f) placeNewField(s, f, 70, 40);
    placeNewField(s, 99, 70, 100);
    placeNewField(s, 100, 70, 100);
    for (int c = 1; c <= usedPoolEnd(s); ++c) {
        s.cell(c).place = 1 + c % 400;
        if (c % 7 == 0) s.cell(c).enter = static_cast<u8>(1 + c % 250);
    }
    for (int k = 1; k <= 250; ++k) {
        s.enter(k).jumpField = static_cast<u8>(1 + k % 100);
        s.enter(k).jumpPosition = 1 + (k * 37) % s.field(s.enter(k).jumpField).cellCount;
        s.event(k).jumpField = static_cast<u8>(1 + (k * 3) % 100);
        s.event(k).jumpPosition = 1 + (k * 53) % s.field(s.event(k).jumpField).cellCount;
    }
    for (int f = 1; f <= 100; ++f) {
        for (int w = 0; w < 30; ++w) s.field(f).warpPoints[w] = 1 + (w * 401 + f) % s.field(f).cellCount;
        s.field(f).escapeField = static_cast<u8>(1 + (f * 7) % 100);
        s.field(f).escapePosition = 1;
    }
}

// The fill alone on a 120 x 120 field (terrain and entrance, every cell
// changing each run), against a plain loop writing the same two entries
// into the same cells.
bool benchFillModel() {
    auto s = std::make_unique<Scenario>();
    if (placeNewField(*s, 1, 120, 120) != AddFieldResult::Added) return false;
    for (int n = 1; n <= 2; ++n) {
        s->placeImageFiles[n - 1].assign("a.bmp");
        s->enterImageFiles[n - 1].assign("a.bmp");
    }
    CellIndexMap map{};
    buildCellIndexMap(*s, 1, map);
    DrawChoice choice;
    choice.targets[kPlace] = choice.targets[kEnter] = true;
    std::vector<double> modelMs, loopMs;
    bool ok = true;
    for (int run = 0; run < 41; ++run) {
        // The fill writes 1 where the loop wrote 2 the run before.
        choice.objects[kPlace] = choice.objects[kEnter] = 1;
        modelMs.push_back(millis([&] { ok &= drawCells(*s, map, {0, 0, 119, 119}, choice).count() == 14400; }));
        const int other = 2;
        loopMs.push_back(millis([&] {
            for (int row = 0; row < 120; ++row) {
                for (int col = 0; col < 120; ++col) {
                    Cell& cell = s->cell(map[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
                    cell.place = other;
                    cell.enter = static_cast<u8>(other);
                }
            }
        }));
    }
    if (!ok) {
        std::fprintf(stderr, "the fill changed the wrong cells\n");
        return false;
    }
    const double m = median(modelMs), base = median(loopMs);
    std::printf("op=fill_120x120_model median_ms=%.3f ratio=%.2f baseline_ms=%.3f\n", m, m / base, base);
    return true;
}

}  // namespace

int main() {
    auto s = std::make_unique<Scenario>();
    auto pristine = std::make_unique<Scenario>();
    auto copy = std::make_unique<Scenario>();
    EditorSideData side{};
    buildCrowdedScenario(*s, side);
    if (freePoolCells(*s) != 2300 || !fieldInvariantViolations(*s).empty()) {
        std::fprintf(stderr, "bench setup is wrong\n");
        return 1;
    }
    std::memcpy(pristine.get(), s.get(), kRecordSize);

    std::vector<double> copyMs, growMs, shrinkMs, deleteMs;
    const FieldMessageSink quiet = [](const std::string&) {};
    bool ok = true;
    for (int run = 0; run < kRuns; ++run) {
        copyMs.push_back(millis([&] { std::memcpy(copy.get(), s.get(), kRecordSize); }));
        growMs.push_back(millis([&] { ok &= resizefield(*s, 1, 120, 120, quiet) == FieldOpResult::Done; }));
        ok &= freePoolCells(*s) == 0 && (run > 0 || fieldInvariantViolations(*s).empty());
        shrinkMs.push_back(millis([&] { ok &= resizefield(*s, 1, 110, 110, quiet) == FieldOpResult::Done; }));
        std::memcpy(s.get(), pristine.get(), kRecordSize);
        deleteMs.push_back(millis([&] { ok &= deleteField(*s, side, 2) == FieldOpResult::Done; }));
        ok &= fieldsInUseCount(*s) == 99 && (run > 0 || fieldInvariantViolations(*s).empty());
        std::memcpy(s.get(), pristine.get(), kRecordSize);
    }
    if (!ok) {
        std::fprintf(stderr, "an operation failed\n");
        return 1;
    }
    // Keep the copies observable.
    volatile unsigned char sink = copy->bytes()[kRecordSize - 1];
    (void)sink;

    const double base = median(copyMs);
    std::printf("op=record_memcpy median_ms=%.3f ratio=1.00\n", base);
    auto report = [&](const char* op, const std::vector<double>& ms) {
        const double m = median(ms);
        std::printf("op=%s median_ms=%.3f ratio=%.2f\n", op, m, m / base);
    };
    report("resize_grow_first_field", growMs);
    report("resize_shrink_first_field", shrinkMs);
    report("delete_field_2", deleteMs);
    return benchFillModel() ? 0 : 1;
}
