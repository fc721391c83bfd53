// A scenario file of arbitrary bytes, opened and put through the operations
// over the whole record, as many of them as the input asks for: the scenario
// check, the JSON export, the join's computations (runner record, cell list,
// file list), new/resize/delete field followed by the join's computations,
// every reset, the whole reset and the info command.
//
// Input (see fuzz_scenarios.h): byte 1 holds one bit per operation.
#include <cstdio>
#include <memory>

#include "commands.h"
#include "fuzz_scenarios.h"
#include "fuzz_support.h"
#include "json_scenario.h"
#include "scenario/commenttext.h"
#include "scenario/fieldops.h"
#include "scenario/join.h"
#include "scenario/resets.h"
#include "scenario/scenariocheck.h"

namespace {

using namespace qrn;

using fuzz::kTableResets;
using fuzz::Reset;
using fuzz::scratch;

volatile std::size_t sink;

void joinComputations(const Scenario& s) {
    const ChipAssignment chips = assignChips(s);
    auto record = std::make_unique<RunnerRecord>();
    fillRunnerRecord(s, chips.tables, *record);
    sink = sink + cellList(s).size() + fileList(s, "fuzz").size() + largeBitmaps(s).size() +
           static_cast<std::size_t>(chips.sheetHeight());
    EditorSideData side{};
    for (const PictureRef& ref : chips.chips) sink = sink + static_cast<std::size_t>(pictureIndexOf(side.pictures, ref) + 1);
}

void check(const Scenario& s) {
    const std::vector<CheckFinding> findings = checkScenario(s);
    sink = sink + static_cast<std::size_t>(errorCount(findings));
    for (const CheckFinding& f : findings) sink = sink + describePlace(s, f.place).size() + f.message.size();
}

int fieldSide(std::uint8_t v) { return 10 * (1 + v % 12); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The info command prints the scenario; nobody reads it here.
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Bytes in(data, size);
    fuzz::ScratchRecord& r = scratch();
    int start;
    std::uint8_t ops;
    fuzz::Args x;
    const std::uint8_t* raw = data + (size < 2 ? size : 2);
    const bool opened = r.open(in, start, ops, x);
    // The info command reads the file itself.
    std::string path;
    if (ops & 64)
        path = r.image() ? fuzz::writeScratch("patched.snr", r.image()->data(), r.image()->size())
                         : fuzz::writeScratch("raw.snr", raw, static_cast<std::size_t>(data + size - raw));
    r.finish(true);
    if (opened) {
        Scenario& s = r.scenario();
        if (ops & 1) check(s);
        if (ops & 2)
            sink = sink + cli::exportScenario(s).dump(-1, ' ', false, cli::Json::error_handler_t::replace).size();
        if (ops & 4) joinComputations(s);
        if (ops & 128) {
            sink = sink + fieldInvariantViolations(s).size();
            for (int n = 1; n <= kCommentCount; n += 97) sink = sink + commentText(s.comment(n)).size();
        }
        if (ops & 8) {
            if (const int slot = firstFreeFieldSlot(s)) placeNewField(s, slot, fieldSide(x.w), fieldSide(x.h));
            resizefield(s, 1 + x.a % kFieldCount, fieldSide(x.w), fieldSide(x.h), [](const std::string&) {});
            deleteField(s, r.side(), 1 + x.b % kFieldCount);
            if (ops & 4) joinComputations(s);
            if (ops & 1) check(s);
        }
        if (ops & 16) {
            for (Reset reset : kTableResets) reset(s, -1, x.c & 1);
            mapinitialize(s, x.a);
            heroinitialize(s);
            levelinitialize(s);
            fieldinitializeAll(s);
            chipclear(s, x.c * 1000, x.d * 1000);
        }
        if (ops & 32) {
            alldatainitialize(s, r.side(), x.b);
            if (ops & 4) joinComputations(s);
        }
    }
    if (ops & 64) cli::cmdInfo({path});
    return 0;
}
