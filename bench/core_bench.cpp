// Speed of the scenario core on the largest scenario the record can hold:
// 100 fields filling the whole cell store, every object and resource in use,
// every cell holding all five layers. Each operation runs from a fresh copy
// of that scenario; the figure printed is the median time and its ratio to a
// plain copy of the whole record measured in the same run.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"

#include "bench_util.h"

using namespace qrn;

namespace {

using qrn::bench::median;
using qrn::bench::millisSince;

constexpr int kRuns = 25;

std::string text(char fill, std::size_t n) { return std::string(n, fill); }

void buildMaximal(Scenario& s, EditorSideData& side) {
    alldatainitialize(s, side, 42);
    std::mt19937 rng(7);
    auto pick = [&](int count) { return static_cast<u8>(1 + rng() % count); };

    // 100 fields of 60 x 50 cells: 300,000 cells, the whole store.
    for (int f = 1; f <= kFieldCount; ++f) {
        layoutFieldCells(s, f, 1 + (f - 1) * 3000, 60, 50);
        FieldDef& fd = s.field(f);
        fd.name.assign(text('F', 32));
        for (int w = 0; w < 30; ++w) fd.warpPoints[w] = 1 + static_cast<i32>(rng() % 3000);
        fd.escapeField = pick(kFieldCount);
        fd.escapePosition = 1 + static_cast<i32>(rng() % 3000);
        fd.fieldBgm = pick(kBgmCount);
        s.fieldItemImageFiles[f - 1].assign("fielditem" + std::to_string(f) + ".bmp");
    }
    for (Cell& c : s.cells) {
        c.enter = pick(kEnterCount);
        c.event = pick(kEventCount);
        c.chara = pick(kCharaCount);
        c.item = pick(kItemCount);
        c.place = 1 + static_cast<i32>(rng() % kPlaceCount);
    }

    const std::string name = text('N', 32);
    for (int k = 1; k <= 250; ++k) {
        const std::string num = std::to_string(k);
        CharaDef& c = s.chara(k);
        c.name.assign(name);
        for (auto& v : c.chsale) v = pick(kItemCount);
        for (int j = 0; j < 5; ++j) {
            c.chwantitem[j] = pick(kItemCount);
            c.chitemcomment[j] = static_cast<i16>(1 + rng() % kCommentCount);
            c.chwantevent[j] = pick(kEventCount);
            c.cheventcomment[j] = static_cast<i16>(1 + rng() % kCommentCount);
            c.chmagic[j] = pick(kMagicCount);
            c.chpoison[j] = pick(kPoisonCount);
        }
        c.chshowitem = pick(kItemCount);
        c.chshowevent = pick(kEventCount);
        c.chitem = pick(kItemCount);
        s.charaImageFiles[k - 1].assign("chara" + num + ".bmp");
        c.chbossimg.assign("boss" + num + ".bmp");

        ItemDef& it = s.item(k);
        it.name.assign(name);
        it.itmagic = pick(kMagicCount);
        s.itemImageFiles[k - 1].assign("item" + num + ".bmp");

        EventDef& e = s.event(k);
        e.name.assign(name);
        e.evstartitem = pick(kItemCount);
        for (int j = 0; j < 10; ++j) {
            e.evshowitem[j] = pick(kItemCount);
            e.evshowevent[j] = pick(kEventCount);
            e.evgetitem[j] = pick(kItemCount);
            e.evputitem[j] = pick(kItemCount);
        }
        e.jumpField = pick(kFieldCount);
        e.jumpPosition = 1 + static_cast<i32>(rng() % 3000);
        s.eventImageFiles[k - 1].assign("event" + num + ".bmp");
        s.eventImage2Files[k - 1].assign("event" + num + "b.bmp");

        EnterDef& b = s.enter(k);
        b.name.assign(name);
        b.enwantitem = pick(kItemCount);
        b.enshowitem = pick(kItemCount);
        b.enshowevent = pick(kEventCount);
        b.jumpField = pick(kFieldCount);
        b.jumpPosition = 1 + static_cast<i32>(rng() % 3000);
        s.enterImageFiles[k - 1].assign("enter" + num + ".bmp");
        s.enterImage2Files[k - 1].assign("enter" + num + "b.bmp");

        s.hero.heroItems[k - 1] = pick(kItemCount);
    }
    for (int k = 1; k <= kPlaceCount; ++k) {
        PlaceDef& p = s.place(k);
        p.name.assign(name);
        p.plwantitem = pick(kItemCount);
        p.plrecover = pick(kItemCount);
        p.plshowitem = pick(kItemCount);
        p.plshowevent = pick(kEventCount);
        s.placeImageFiles[k - 1].assign("place" + std::to_string(k) + ".bmp");
        s.placeImage2Files[k - 1].assign("place" + std::to_string(k) + "x.bmp");
    }
    for (int k = 1; k <= 50; ++k) {
        s.magic(k).name.assign(name);
        s.poison(k).name.assign(name);
        s.bgm(k).name.assign(name);
        s.bgm(k).fileName.assign("music" + std::to_string(k) + ".mid");
        s.sound(k).name.assign(name);
        s.sound(k).fileName.assign("sound" + std::to_string(k) + ".wav");
        s.enemyType(k).name.assign(name);
        for (auto& m : s.enemyType(k).members) m = pick(kCharaCount);
    }
    for (int k = 1; k <= kCommentCount; ++k) {
        CommentDef& c = s.comment(k);
        c.name.assign(name);
        for (auto* line : {&c.line1, &c.line2, &c.line3, &c.line4}) line->assign(text('L', 250));
    }
    for (int k = 1; k <= kWalkImgCount; ++k) {
        s.walkImg(k).name.assign(name);
        for (int f = 0; f < kWalkFrames; ++f)
            s.walkImageFiles[k - 1][f].assign("walk" + std::to_string(k) + "_" + std::to_string(f) + ".bmp");
    }
    for (auto& m : s.hero.heroMagics) m = pick(kMagicCount);
    s.settings.scplaypassword.assign("0123456789abcdef");
    s.settings.scdesigner.assign(name);
}



}  // namespace

int main() {
    auto maximal = std::make_unique<Scenario>();
    auto work = std::make_unique<Scenario>();
    auto side = std::make_unique<EditorSideData>();
    buildMaximal(*maximal, *side);

    const std::string dir = "/tmp/qrn-core-bench-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    const std::string savePath = dir + "/save.snr";
    const std::string openPath = dir + "/open.snr";
    if (!saveScenario(openPath, *maximal, false).ok) {
        std::fprintf(stderr, "cannot write %s\n", openPath.c_str());
        return 1;
    }

    // The yardstick is a plain copy of the whole record. The copy that
    // restores the maximal scenario before each run is the one timed, so the
    // yardstick is sampled all through the run, under the same conditions as
    // the operations (the machine may be busy with other work).
    std::vector<double> copies;
    std::vector<std::pair<const char*, double>> results;
    bool failed = false;
    auto measure = [&](const char* op, const std::function<void()>& run) {
        std::vector<double> times;
        for (int i = 0; i < kRuns; ++i) {
            auto t0 = std::chrono::steady_clock::now();
            std::memcpy(work->bytes(), maximal->bytes(), kRecordSize);
            copies.push_back(millisSince(t0));
            t0 = std::chrono::steady_clock::now();
            run();
            times.push_back(millisSince(t0));
        }
        results.emplace_back(op, median(times));
    };
    auto check = [&](const FileResult& r) {
        if (!r.ok) failed = true;
    };

    measure("save", [&] { check(saveScenario(savePath, *work, false)); });
    measure("save_fsync", [&] { check(saveScenario(savePath, *work, true)); });
    measure("open", [&] { check(openScenario(openPath, *work, *side)); });
    measure("delete_chara", [&] { charainitialize(*work, 125, false); });
    measure("delete_item", [&] { iteminitialize(*work, 125, false); });
    measure("delete_event", [&] { eventinitialize(*work, 125, false); });
    measure("delete_place", [&] { placeinitialize(*work, 200, false); });
    measure("delete_enter", [&] { enterinitialize(*work, 125, false); });
    measure("resetall_chara", [&] { charainitialize(*work, -1, true); });
    measure("resetall_item", [&] { iteminitialize(*work, -1, true); });
    measure("resetall_event", [&] { eventinitialize(*work, -1, true); });
    measure("resetall_place", [&] { placeinitialize(*work, -1, true); });
    measure("resetall_enter", [&] { enterinitialize(*work, -1, true); });
    measure("alldatainitialize", [&] { alldatainitialize(*work, *side); });

    const double memcpyMs = median(copies);
    std::printf("op=memcpy median_ms=%.3f ratio=1.00\n", memcpyMs);
    for (const auto& [op, ms] : results) std::printf("op=%s median_ms=%.3f ratio=%.2f\n", op, ms, ms / memcpyMs);

    std::filesystem::remove_all(dir);
    if (failed) {
        std::fprintf(stderr, "a save or open failed\n");
        return 1;
    }
    return 0;
}
