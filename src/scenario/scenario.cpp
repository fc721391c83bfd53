#include "scenario.h"

#include <sys/mman.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "text.h"

namespace qrn {

template <int N>
void ShortString<N>::assign(std::string_view cp932Bytes) {
    const std::size_t n = cp932CutLength(cp932Bytes, N);
    std::memmove(chars, cp932Bytes.data(), n);  // the source may be this very slot
    len = static_cast<u8>(n);
}

template <int N>
void ShortString<N>::assignRaw(std::string_view bytes) {
    const std::size_t n = std::min<std::size_t>(bytes.size(), N);
    std::memmove(chars, bytes.data(), n);
    len = static_cast<u8>(n);
}

template struct ShortString<16>;
template struct ShortString<32>;
template struct ShortString<250>;
template struct ShortString<255>;

void* Scenario::operator new(std::size_t size) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    void* record = nullptr;
    if (::posix_memalign(&record, kHugePage, size) != 0) throw std::bad_alloc();
    ::madvise(record, size, MADV_HUGEPAGE);  // a hint: without huge pages nothing changes
    return record;
}

void Scenario::operator delete(void* record) noexcept { std::free(record); }

Scenario& theScenario() {
    static Scenario* instance = new Scenario{};  // 4.5 MB, lives for the whole run
    return *instance;
}

bool fieldInUse(const Scenario& s, int field) {
    return field >= 1 && field <= kFieldCount && s.field(field).firstCell > 0;
}

int fieldsInUseCount(const Scenario& s) {
    int k = 0;
    while (k < kFieldCount && s.fields[k].firstCell > 0) ++k;
    return k;
}

int myend(const Scenario& s, int field) {
    if (field < 1 || field > kFieldCount) return 0;
    const FieldDef& f = s.field(field);
    // A loaded firstCell near the i32 limit must not overflow the sum.
    const long long end = static_cast<long long>(f.firstCell) + f.cellCount - 1;
    return static_cast<int>(std::clamp<long long>(end, INT_MIN, INT_MAX));
}

int cellOf(const Scenario& s, int field, int position) {
    if (!fieldInUse(s, field) || position < 1) return 0;
    const FieldDef& f = s.field(field);
    if (position > f.cellCount) return 0;
    const long long c = static_cast<long long>(f.firstCell) + position - 1;
    if (c < 1 || c > kCellCount) return 0;
    return static_cast<int>(c);
}

int linkby(const Scenario& s, int kind, int number, int axis) {
    int field = 0, position = 0;
    switch (kind) {
        case 0:
            if (number < 1 || number > kEnterCount) return 1;
            field = s.enters[number - 1].jumpField;
            position = s.enters[number - 1].jumpPosition;
            break;
        case 1:
            if (number < 1 || number > kEventCount) return 1;
            field = s.events[number - 1].jumpField;
            position = s.events[number - 1].jumpPosition;
            break;
        case 2:
            if (number < 1 || number > kFieldCount) return 1;
            field = s.fields[number - 1].escapeField;
            position = s.fields[number - 1].escapePosition;
            break;
        case 3:
            field = s.hero.startField;
            position = s.hero.startPosition;
            break;
        default:
            return 1;
    }
    const int c = cellOf(s, field, position);
    if (c == 0) return 1;
    return (axis == 0 ? s.cell(c).col : s.cell(c).row) + 1;
}

int makerserchenter(const Scenario& s, int position, int field) {
    const int c = cellOf(s, field, position);
    return c == 0 ? 0 : s.cell(c).enter;
}

}  // namespace qrn
