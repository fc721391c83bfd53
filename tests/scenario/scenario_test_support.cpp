#include "scenario_test_support.h"

namespace qrn::test {

void fillPlausible(Scenario& s, std::uint64_t seed) {
    fillRandom(s, seed);
    std::mt19937_64 rng(seed ^ 0x9E3779B97F4A7C15ull);
    // Plain modulo: a slight bias does not matter here, speed in the
    // sanitizer build does.
    auto between = [&](long long lo, long long hi) {
        return lo + static_cast<long long>(rng() % static_cast<std::uint64_t>(hi - lo + 1));
    };

    const int used = static_cast<int>(between(3, 7));
    int next = 1;
    for (int f = 1; f <= kFieldCount; ++f) {
        FieldDef& fd = s.field(f);
        if (f > used) {
            fd.firstCell = f == 60 ? static_cast<i32>(between(1, kCellCount)) : 0;
            continue;
        }
        const int w = static_cast<int>(between(1, 12)) * 10;
        const int h = static_cast<int>(between(1, 12)) * 10;
        fd.firstCell = next;
        fd.cellCount = static_cast<i16>(w * h);
        fd.width = w;
        fd.height = h;
        for (int p = 0; p < w * h; ++p) {
            s.cell(next + p).col = static_cast<u8>(p % w);
            s.cell(next + p).row = static_cast<u8>(p / w);
        }
        for (int k = 0; k < 30; ++k)
            fd.warpPoints[k] = static_cast<i32>(between(-2, w * h + 2));
        next += w * h;
    }
    for (Cell& c : s.cells) {
        const long long r = between(0, 19);
        c.place = static_cast<i32>(r == 0 ? between(-70000, 70000) : between(-5, kPlaceCount + 5));
    }

    auto comment = [&] { return static_cast<i16>(between(-3, kCommentCount + 3)); };
    ScenarioSettings& st = s.settings;
    st.scgameover = comment();
    st.prologueComment = comment();
    st.epilogueComment = comment();
    for (int k = 0; k < 5; ++k) {
        st.titleComments[k] = comment();
        st.endingComments[k] = comment();
    }
    for (int k = 0; k < 250; ++k) {
        CharaDef& c = s.charas[k];
        c.chcomment = comment();
        for (int j = 0; j < 5; ++j) {
            c.chitemcomment[j] = comment();
            c.cheventcomment[j] = comment();
        }
        s.items[k].itcomment = comment();
        EventDef& e = s.events[k];
        e.evstartcomment = comment();
        e.evendcomment = comment();
        e.evprologue = comment();
        e.evepilogue = comment();
        const long long r = between(0, 9);
        e.evstartitem = static_cast<i32>(r == 0 ? between(-1000, 1000) : between(-2, kItemCount + 2));
    }
}

}  // namespace qrn::test
