// Shared helpers of the model tests: heap-allocated records (4.5 MB each),
// random and plausibly random contents, and byte-level access to packed
// members without binding references to odd addresses.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace qrn::test {

using ScenarioPtr = std::unique_ptr<Scenario>;

// A zeroed record.
inline ScenarioPtr newScenario() { return std::make_unique<Scenario>(); }

inline ScenarioPtr copyOf(const Scenario& s) {
    auto p = std::make_unique<Scenario>();
    std::memcpy(p->bytes(), s.bytes(), kRecordSize);
    return p;
}

inline bool sameBytes(const Scenario& a, const Scenario& b) {
    return std::memcmp(a.bytes(), b.bytes(), kRecordSize) == 0;
}

// Offset of the first differing byte, or -1.
inline long firstDifference(const Scenario& a, const Scenario& b) {
    for (long i = 0; i < kRecordSize; ++i)
        if (a.bytes()[i] != b.bytes()[i]) return i;
    return -1;
}

// Offset of a member inside the record (the member may be misaligned).
inline std::size_t offsetIn(const Scenario& s, const void* member) {
    return static_cast<std::size_t>(static_cast<const unsigned char*>(member) - s.bytes());
}

// Reads and writes a 1, 2 or 4 byte integer member by address. Values are
// taken as the member's type: unsigned for u8, signed for i16 and i32.
inline long long readInt(const void* at, int width) {
    switch (width) {
        case 1: return *static_cast<const u8*>(at);
        case 2: { i16 v; std::memcpy(&v, at, 2); return v; }
        default: { i32 v; std::memcpy(&v, at, 4); return v; }
    }
}
inline void writeInt(void* at, int width, long long value) {
    switch (width) {
        case 1: *static_cast<u8*>(at) = static_cast<u8>(value); break;
        case 2: { const i16 v = static_cast<i16>(value); std::memcpy(at, &v, 2); break; }
        default: { const i32 v = static_cast<i32>(value); std::memcpy(at, &v, 4); break; }
    }
}

inline void fillRandom(Scenario& s, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    unsigned char* p = s.bytes();
    std::size_t i = 0;
    for (; i + 8 <= static_cast<std::size_t>(kRecordSize); i += 8) {
        const std::uint64_t v = rng();
        std::memcpy(p + i, &v, 8);
    }
    for (; i < static_cast<std::size_t>(kRecordSize); ++i) p[i] = static_cast<unsigned char>(rng());
}

// Random bytes everywhere, then shaped so that the reference rules find
// matches: a few fields laid out from cell 1 with warp points on their cells,
// terrain cells and comment and start-item references near their valid
// ranges (including negative and out-of-range values), and one hostile slot
// in use after a gap.
void fillPlausible(Scenario& s, std::uint64_t seed);

}  // namespace qrn::test
