// The scenario check on a maximal scenario, against one pass over the whole
// record (summing its bytes) in the same run.
//   op=check_maximal   100 fields of 60 x 50 (all 300,000 cells set), every
//                      object and resource table in use and referenced,
//                      without the file checks
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariocheck.h"

#include "bench_util.h"

using namespace qrn;

int main() {
    constexpr int kRuns = 21;
    auto owned = std::make_unique<Scenario>();
    Scenario& s = *owned;
    EditorSideData side{};
    alldatainitialize(s, side, 1);
    createFirstField(s, "bench", "", "first", 60, 50);
    for (int f = 2; f <= kFieldCount; ++f) placeNewField(s, f, 60, 50);
    auto pic = [](ShortString255& f, int n) { f.assign("p" + std::to_string(n) + ".bmp"); };
    for (int n = 1; n <= kPlaceCount; ++n) pic(s.placeImageFiles[n - 1], n);
    for (int n = 1; n <= kEnterCount; ++n) {
        pic(s.enterImageFiles[n - 1], n);
        s.enter(n).jumpField = static_cast<u8>(1 + n % kFieldCount);
        s.enter(n).jumpPosition = 1 + n;
        s.event(n).jumpField = static_cast<u8>(1 + (n + 7) % kFieldCount);
        s.event(n).jumpPosition = 2 + n;
        s.event(n).evstartcomment = static_cast<i16>(1 + n % kCommentCount);
        s.event(n).evgetitem[0] = static_cast<u8>(n);
        s.chara(n).chcomment = static_cast<i16>(1 + (n + 250) % kCommentCount);
        s.chara(n).chmagic[0] = static_cast<u8>(1 + n % kMagicCount);
        s.chara(n).chpoison[0] = static_cast<u8>(1 + n % kPoisonCount);
        s.chara(n).chbattlebgm = static_cast<u8>(1 + n % kBgmCount);
        s.chara(n).chbattlesound = static_cast<u8>(1 + n % kSoundCount);
        pic(s.eventImageFiles[n - 1], n);
        pic(s.itemImageFiles[n - 1], n);
        pic(s.charaImageFiles[n - 1], n);
    }
    for (int n = 1; n <= kCommentCount; ++n) s.comment(n).line1.assign("text");
    for (int n = 1; n <= kMagicCount; ++n) s.magic(n).mgsuccess = 100;
    for (int n = 1; n <= kPoisonCount; ++n) s.poison(n).podamage = 5;
    for (int n = 1; n <= kBgmCount; ++n) s.bgm(n).fileName.assign("m.mid");
    for (int n = 1; n <= kSoundCount; ++n) s.sound(n).fileName.assign("s.wav");
    for (int n = 1; n <= kEnemyTypeCount; ++n) s.enemyType(n).members[0] = static_cast<u8>(n);
    for (int n = 1; n <= kWalkImgCount; ++n) s.walkImageFiles[n - 1][0].assign("w.bmp");
    for (int n = 1; n <= kPlaceCount; ++n) {
        s.place(n).plenemytype = static_cast<u8>(1 + n % kEnemyTypeCount);
        s.place(n).plwalkimg = static_cast<u8>(1 + n % kWalkImgCount);
    }
    for (int c = 1; c <= kCellCount; ++c) {
        Cell& cell = s.cell(c);
        cell.place = 1 + c % kPlaceCount;
        cell.enter = static_cast<u8>(c % 7 == 0 ? 1 + c % kEnterCount : 0);
        cell.event = static_cast<u8>(c % 11 == 0 ? 1 + c % kEventCount : 0);
        cell.item = static_cast<u8>(c % 13 == 0 ? 1 + c % kItemCount : 0);
        cell.chara = static_cast<u8>(c % 17 == 0 ? 1 + c % kCharaCount : 0);
    }

    std::vector<double> check, pass;
    volatile std::size_t sink = 0;
    for (int run = 0; run < kRuns; ++run) {
        check.push_back(bench::millis([&] { sink = sink + checkScenario(s).size(); }));
        pass.push_back(bench::millis([&] {
            sink = sink + std::accumulate(s.bytes(), s.bytes() + kRecordSize, std::size_t{0});
        }));
    }
    const double m = bench::median(check);
    const double b = bench::median(pass);
    std::printf("op=check_maximal median_ms=%.3f ratio=%.2f findings=%zu\n", m, b > 0 ? m / b : 0.0,
                checkScenario(s).size());
    return 0;
}
