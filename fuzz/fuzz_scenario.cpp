// A scenario file of arbitrary bytes, opened and put through one operation of
// the model that works on a table or a field: the reset of one entry or of a
// whole table (with and without the cleanup), the map, hero, level and field
// resets, clearing cells, new/resize/delete field, the comment texts and the
// field layout check. The operations over the whole record are the
// scenario_whole target's.
//
// Input (see fuzz_scenarios.h): byte 1 picks the operation.
#include "fuzz_scenarios.h"
#include "fuzz_support.h"
#include "scenario/commenttext.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"

namespace {

using namespace qrn;

using fuzz::kTableResets;
using fuzz::Reset;
using fuzz::scratch;

volatile std::size_t sink;

int fieldSide(std::uint8_t v) { return 10 * (1 + v % 12); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Bytes in(data, size);
    fuzz::ScratchRecord& r = scratch();
    int start;
    std::uint8_t op;
    fuzz::Args x;
    if (!r.open(in, start, op, x)) {
        r.finish(false);
        return 0;
    }
    Scenario& s = r.scenario();
    const int number = static_cast<int>(x.c | (x.d & 1) << 8);  // some outside every table
    const bool cleanup = x.b & 1;
    bool cellsWritten = true;
    switch (op % 16) {
    case 0: case 1: case 2: case 3: case 4: case 5:
        // One entry's reset takes it off the map too.
        kTableResets[x.a % std::size(kTableResets)](s, number, cleanup);
        cellsWritten = cleanup || number > 0;
        break;
    case 6: case 7:
        kTableResets[x.a % std::size(kTableResets)](s, -1, cleanup);
        cellsWritten = cleanup;
        break;
    case 8:
        if (const int slot = firstFreeFieldSlot(s)) placeNewField(s, slot, fieldSide(x.w), fieldSide(x.h));
        break;
    case 9: resizefield(s, 1 + x.a % kFieldCount, fieldSide(x.w), fieldSide(x.h), [](const std::string&) {}); break;
    case 10: deleteField(s, r.side(), 1 + x.b % kFieldCount); break;
    case 11:
        switch (x.b >> 1 & 3) {
        case 0: mapinitialize(s, x.a); cellsWritten = false; break;
        case 1: heroinitialize(s); cellsWritten = false; break;
        case 2: levelinitialize(s); cellsWritten = false; break;
        default: fieldinitializeAll(s); break;
        }
        break;
    case 12: chipclear(s, x.c * 1000 + x.a, x.d * 1000 + x.b); break;
    case 13: case 14:
        sink = sink + commentText(s.comment(1 + number % kCommentCount)).size();
        cellsWritten = false;
        break;
    default:
        // What the editor asks of every record it shows.
        sink = sink + static_cast<std::size_t>(fieldLayoutSound(s));
        cellsWritten = false;
        break;
    }
    r.finish(cellsWritten);
    return 0;
}
