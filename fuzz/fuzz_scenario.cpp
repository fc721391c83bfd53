// A scenario file of arbitrary bytes, opened and put through one operation of
// the model that works on a table or a field: the reset of one entry or of a
// whole table (with and without the cleanup), the map, hero, level and field
// resets, clearing cells, new/resize/delete field, the comment texts and the
// field layout check, and a walk of the preview with random keys. The
// operations over the whole record are the scenario_whole target's.
//
// Input (see fuzz_scenarios.h): byte 1 picks the operation.
#include "fuzz_scenarios.h"
#include "fuzz_support.h"
#include "scenario/commenttext.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/walk.h"

namespace {

using namespace qrn;

using fuzz::kTableResets;
using fuzz::Reset;
using fuzz::scratch;

volatile std::size_t sink;

int fieldSide(std::uint8_t v) { return 10 * (1 + v % 12); }

// The walk preview from the hero's start or from a cell the arguments name:
// random steps, examinations and item uses, with what the preview draws on
// the way (some cells far outside the store), then now and then the
// shortest way to a cell. The scenario is only read.
void walk(const Scenario& s, const fuzz::Args& x) {
    std::mt19937 keys(static_cast<std::uint32_t>(x.a | x.b << 8 | x.c << 16 | x.d << 24));
    auto w = x.h & 1 ? startWalk(s) : startWalkAt(s, 1 + x.a % kFieldCount, x.w % kMaxFieldSide, x.h / 2 % kMaxFieldSide);
    if (!w) return;
    static const PictureIndexTables pictures{};
    for (int i = 0; i < 1 + x.w; ++i) {
        const std::uint32_t k = keys();
        WalkOutcomes out;
        switch (k % 7) {
        case 4: out = examineWalk(s, *w); break;
        case 5: out = useWalkItem(s, *w, static_cast<int>(k >> 8) % 260); break;
        case 6: sink = sink + static_cast<std::size_t>(walkCellView(s, *w, static_cast<int>(k >> 3) % (kCellCount + 3) - 1).event); break;
        default: out = stepWalk(s, *w, static_cast<WalkDirection>(k % 4)); break;
        }
        sink = sink + out.size() + static_cast<std::size_t>(heroPicture(s, *w, pictures, 1) + 1) +
               static_cast<std::size_t>(composeWalkCell(s, *w, walkCell(s, w->field, w->x, w->y), pictures, kAllLayers, 1).count);
    }
    if (x.h & 2) {
        const auto way = findWalkPath(s, *w, 1 + x.b % kFieldCount, x.c % kMaxFieldSide, x.d % kMaxFieldSide);
        sink = sink + (way ? way->size() : 0);
    }
}

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
    case 13:
        sink = sink + commentText(s.comment(1 + number % kCommentCount)).size();
        cellsWritten = false;
        break;
    case 14:
        walk(s, x);
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
