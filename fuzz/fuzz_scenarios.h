// The scenario files the scenario fuzzers start from, as the bytes a file
// holds: a fresh scenario, the demo and a maximal scenario (every field slot
// used, every cell and text full); and the record a run opens them into.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "json_scenario.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"

namespace qrn::fuzz {

using Image = std::vector<unsigned char>;

inline Image fileImage(Scenario& s) {
    lockdata(s, true);
    Image out(s.bytes(), s.bytes() + kRecordSize);
    lockdata(s, false);
    return out;
}

inline std::unique_ptr<Scenario> freshScenario() {
    auto s = std::make_unique<Scenario>();
    EditorSideData side{};
    alldatainitialize(*s, side, 1);
    return s;
}

inline Image freshImage() { return fileImage(*freshScenario()); }

inline Image maximalImage() {
    auto s = freshScenario();
    for (int slot = firstFreeFieldSlot(*s); slot != 0; slot = firstFreeFieldSlot(*s))
        if (placeNewField(*s, slot, 50, 50) != AddFieldResult::Added) break;
    for (int n = 1; n <= usedPoolEnd(*s); ++n) {
        Cell& c = s->cell(n);
        c.enter = kEnterCount;
        c.event = kEventCount;
        c.chara = kCharaCount;
        c.item = kItemCount;
        c.place = kPlaceCount;
    }
    cli::forEachTextSlot(*s, [](unsigned char* slot, int capacity) {
        slot[0] = static_cast<unsigned char>(capacity);
        for (int i = 1; i + 1 <= capacity; i += 2) {
            slot[i] = 0x82;  // "あ"
            slot[i + 1] = 0xA0;
        }
        if (capacity % 2) slot[capacity] = 'A';
    });
    return fileImage(*s);
}

inline Image readImage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Image out((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (out.size() != static_cast<std::size_t>(kRecordSize)) return freshImage();
    return out;
}

// The scenario targets' input: byte 0 picks the start (0 a fresh scenario,
// 1 the demo, 2 a maximal scenario, 3 the rest of the input as the whole
// file), byte 1 the operations, bytes 2..7 their arguments. The rest patches
// the start's file bytes: blocks of a 3-byte offset, a length byte and that
// many bytes.
struct Args {
    std::uint8_t a, b, c, d, w, h;
};

// The file bytes of each start, patched in place for one run and mended
// afterwards from a second copy, and the record they are opened into; all
// kept for the life of the process.
//
// The open copies 4.5 MB, two thirds of it the cell pool, which has no texts
// and so is the file's bytes as they are. When the record's cells are still
// those of the same start, a run copies and unlocks only the rest of the
// record and writes the patched cells in place: the same record the whole
// open gives (every 64th such run checks that), for a third of the copying.
// After an operation that may write cells, the next run opens whole.
class ScratchRecord {
public:
    explicit ScratchRecord(const std::string& demoPath) : record_(std::make_unique<Scenario>()) {
        starts_[0] = freshImage();
        starts_[1] = readImage(demoPath);
        starts_[2] = maximalImage();
        for (int i = 0; i < 3; ++i) pristine_[i] = starts_[i];
        cellsBegin_ = static_cast<std::size_t>(reinterpret_cast<const unsigned char*>(&record_->cell(1)) - record_->bytes());
        cellsEnd_ = cellsBegin_ + sizeof(Cell) * kCellCount;
    }

    // Reads the start and the arguments, patches the start's bytes and opens
    // them. False when the file did not open.
    bool open(Bytes& in, int& start, std::uint8_t& ops, Args& args) {
        start = in.u8() & 3;
        ops = in.u8();
        image_ = nullptr;
        patched_.clear();
        if (start == 3) {
            args = {};
            const bool ok = openScenarioBytes(in.here(), in.left(), *record_, side_).ok;
            if (ok) current_ = -1;  // a failed open leaves the record as it was
            return ok;
        }
        args = {in.u8(), in.u8(), in.u8(), in.u8(), in.u8(), in.u8()};
        Image& image = starts_[start];
        image_ = &image;
        while (in.left() >= 4) {
            const std::uint32_t offset = (in.u8() | in.u8() << 8 | in.u8() << 16) % kRecordSize;
            const std::size_t length = std::min<std::size_t>(in.u8(), in.left());
            const std::size_t room = std::min<std::size_t>(length, kRecordSize - offset);
            std::memcpy(image.data() + offset, in.here(), room);
            patched_.push_back({offset, offset + room});
            in.skip(length);
        }
        if (start != current_) {
            const bool ok = openScenarioBytes(image.data(), image.size(), *record_, side_).ok;
            current_ = ok ? start : -1;
            return ok;
        }
        // The record's cells are the start's: the rest as the open does it.
        sideDataInitialize(side_);
        std::memcpy(record_->bytes(), image.data(), cellsBegin_);
        std::memcpy(record_->bytes() + cellsEnd_, image.data() + cellsEnd_, kRecordSize - cellsEnd_);
        for (const auto& [from, to] : patched_) {
            const std::size_t lo = std::max(from, cellsBegin_), hi = std::min(to, cellsEnd_);
            if (lo < hi) std::memcpy(record_->bytes() + lo, image.data() + lo, hi - lo);
        }
        lockdata(*record_, false);
        return true;
    }

    // Ends the run: the start's bytes are mended and, unless the operation
    // may have written cells, so are the record's patched cells.
    void finish(bool cellsWritten) {
        if (current_ >= 0) {
            const Image& pristine = pristine_[current_];
            if (cellsWritten) {
                current_ = -1;
            } else {
                for (const auto& [from, to] : patched_) {
                    const std::size_t lo = std::max(from, cellsBegin_), hi = std::min(to, cellsEnd_);
                    if (lo < hi) std::memcpy(record_->bytes() + lo, pristine.data() + lo, hi - lo);
                }
                // An operation that wrote cells all the same would leave the
                // next runs on a record no file gives.
                const unsigned char* cells = record_->bytes() + cellsBegin_;
                if (++runs_ % checkEvery_ == 0 &&
                    std::memcmp(cells, pristine.data() + cellsBegin_, cellsEnd_ - cellsBegin_) != 0) {
                    for (std::size_t at = cellsBegin_; at < cellsEnd_; ++at) {
                        if (record_->bytes()[at] == pristine[at]) continue;
                        std::fprintf(stderr, "the operation wrote cell %zu\n", (at - cellsBegin_) / sizeof(Cell) + 1);
                        std::abort();
                    }
                }
            }
        }
        if (image_) {
            const int start = static_cast<int>(image_ - starts_);
            for (const auto& [from, to] : patched_)
                std::memcpy(image_->data() + from, pristine_[start].data() + from, to - from);
        }
        image_ = nullptr;
        patched_.clear();
    }

    // The file bytes that were opened (patched), until finish().
    const Image* image() const { return image_; }
    Scenario& scenario() { return *record_; }
    EditorSideData& side() { return side_; }

private:
    Image starts_[3], pristine_[3];
    Image* image_ = nullptr;
    int current_ = -1;  // the start whose cells the record holds, or -1
    std::size_t cellsBegin_ = 0, cellsEnd_ = 0;
    unsigned runs_ = 0;
    // QRN_FUZZ_CHECK_EVERY=1 checks the cells after every run.
    unsigned checkEvery_ = [] {
        const char* every = std::getenv("QRN_FUZZ_CHECK_EVERY");
        return every && std::atoi(every) > 0 ? static_cast<unsigned>(std::atoi(every)) : 64u;
    }();
    std::vector<std::pair<std::size_t, std::size_t>> patched_;  // [from, to) of each patch
    std::unique_ptr<Scenario> record_;
    EditorSideData side_{};
};

// The resets of every table, one entry (or all with -1), with or without the cleanup.
using Reset = void (*)(Scenario&, int, bool);
inline constexpr Reset kTableResets[] = {charainitialize,  iteminitialize,    eventinitialize,     placeinitialize,
                                         enterinitialize,  magicinitialize,   poisoninitialize,    bgminitialize,
                                         soundinitialize,  commentinitialize, enemytypeinitialize, walkimginitialize};

#ifndef QRN_DEMO_PATH
#define QRN_DEMO_PATH ""
#endif

// The record a scenario fuzzer opens into, kept for the life of the process.
inline ScratchRecord& scratch() {
    static ScratchRecord* r = new ScratchRecord(QRN_DEMO_PATH);
    return *r;
}

}  // namespace qrn::fuzz
