// The scenario files the scenario fuzzer starts from, as the bytes a file
// holds: a fresh scenario, the demo and a maximal scenario (every field slot
// used, every cell and text full).
#pragma once

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

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

}  // namespace qrn::fuzz
