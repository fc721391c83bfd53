// A scenario file of arbitrary bytes, opened and put through every operation
// of the model: the resets of each table (one entry and all, with and without
// the cleanup), the whole reset, new/resize/delete field, the JSON export, the
// join's computations and the info command.
//
// Input: byte 0 picks the start: 0 a fresh scenario, 1 the demo, 2 a maximal
// scenario, 3 the rest of the input as the whole file. Bytes 1..8 choose the
// operations and their arguments. The rest patches the start's file bytes: blocks of a
// 3-byte offset, a length byte and that many bytes.
#include <cstdio>
#include <cstring>
#include <memory>

#include "commands.h"
#include "fuzz_scenarios.h"
#include "fuzz_support.h"
#include "json_scenario.h"
#include "scenario/commenttext.h"
#include "scenario/fieldops.h"
#include "scenario/join.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"

#ifndef QRN_DEMO_PATH
#define QRN_DEMO_PATH ""
#endif

namespace {

using namespace qrn;

struct Bases {
    fuzz::Image fresh = fuzz::freshImage();
    fuzz::Image demo = fuzz::readImage(QRN_DEMO_PATH);
    fuzz::Image maximal = fuzz::maximalImage();
};

Bases& bases() {
    static Bases b;
    return b;
}

using Reset = void (*)(Scenario&, int, bool);
constexpr Reset kResets[] = {charainitialize,  iteminitialize,   eventinitialize,     placeinitialize,
                             enterinitialize,  magicinitialize,  poisoninitialize,    bgminitialize,
                             soundinitialize,  commentinitialize, enemytypeinitialize, walkimginitialize};

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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The info command prints the scenario; nobody reads it here.
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    bases();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Bytes in(data, size);
    const int start = in.u8() & 3;
    std::string path;
    if (start == 3) {
        path = fuzz::writeScratch("raw.snr", in.here(), in.left());
    } else {
        const std::uint8_t a = in.u8(), b = in.u8(), c = in.u8(), d = in.u8();
        const std::uint8_t w = in.u8(), h = in.u8(), table = in.u8(), flags = in.u8();
        fuzz::Image image = start == 0 ? bases().fresh : start == 1 ? bases().demo : bases().maximal;
        while (in.left() >= 4) {
            const std::uint32_t offset = (in.u8() | in.u8() << 8 | in.u8() << 16) % kRecordSize;
            const std::size_t length = std::min<std::size_t>(in.u8(), in.left());
            const std::size_t room = std::min<std::size_t>(length, kRecordSize - offset);
            std::memcpy(image.data() + offset, in.here(), room);
            in.skip(length);
        }
        path = fuzz::writeScratch("patched.snr", image.data(), image.size());
        // What the operations act on is the opened file.
        auto s = std::make_unique<Scenario>();
        EditorSideData side{};
        if (!openScenario(path, *s, side).ok) return 0;

        // Which operations run: the costly ones over the whole record are
        // chosen by the input, so a run stays short.
        const std::uint8_t ops = flags >> 3 | (table & 0xE0);
        if (ops & 1)
            sink = sink + cli::exportScenario(*s).dump(-1, ' ', false, cli::Json::error_handler_t::replace).size();
        if (ops & 2) joinComputations(*s);
        sink = sink + fieldInvariantViolations(*s).size();
        for (int n = 1; n <= kCommentCount; n += 97) sink = sink + commentText(s->comment(n)).size();

        // Fields: add, resize, delete.
        if (ops & 4) {
            if (const int slot = firstFreeFieldSlot(*s)) placeNewField(*s, slot, 10 * (1 + w % 12), 10 * (1 + h % 12));
            resizefield(*s, 1 + a % kFieldCount, 10 * (1 + w % 12), 10 * (1 + h % 12), [](const std::string&) {});
            deleteField(*s, side, 1 + b % kFieldCount);
            if (ops & 2) joinComputations(*s);
        }

        // Resets: one entry of one table, then every table whole.
        const int number = (flags & 1) ? -1 : static_cast<int>(c | (d & 1) << 8);
        kResets[table % std::size(kResets)](*s, number, flags & 2);
        if (ops & 8) {
            for (Reset r : kResets) r(*s, -1, flags & 4);
            mapinitialize(*s, a);
            heroinitialize(*s);
            levelinitialize(*s);
            fieldinitializeAll(*s);
            chipclear(*s, c * 1000, d * 1000);
        }
        if (ops & 16) {
            alldatainitialize(*s, side, b);
            if (ops & 2) joinComputations(*s);
        }
        if (!(ops & 32)) return 0;
    }
    cli::cmdInfo({path});
    return 0;
}
