// The core commands of quorantel-cli: new, info, copy and delete-object.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cliutil.h"
#include "commands.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/resourcerules.h"
#include "scenario/scenario.h"
#include "scenario/text.h"

namespace qrn::cli {

namespace {

// ---- new -------------------------------------------------------------------

// A field side as the creation dialog's sliders offer it: 10..120 in tens.
int parseFieldSide(const ParsedArgs& parsed, std::string_view option, int& side) {
    if (!parsed.has(option)) return kExitOk;  // keep the default
    const std::string text = parsed.value(option);
    const auto v = parseInteger(text);
    if (!v || *v < 10 || *v > kMaxFieldSide || *v % 10 != 0) {
        return fail(kExitUsage, std::string(option) + ": \"" + text +
                                    "\" is not a field size (10 to 120 in steps of 10)");
    }
    side = static_cast<int>(*v);
    return kExitOk;
}

// ---- info ------------------------------------------------------------------

// Resources are in use when they differ from a fresh entry (resourcerules.h).
// A map object is in use when its first picture file name is set.
template <std::size_t Count>
int countNamedPictures(const ShortString255 (&files)[Count]) {
    int used = 0;
    for (const auto& f : files) used += !f.empty();
    return used;
}

// Multi-byte members of the packed record are copied out with unary + so that
// no reference to a misaligned member is formed.
nlohmann::ordered_json describe(const Scenario& s) {
    nlohmann::ordered_json out;
    out["title"] = toUtf8(s.settings.scenarioname.view());
    out["designer"] = toUtf8(s.settings.scdesigner.view());
    out["heroStart"] = {{"field", s.hero.startField}, {"position", +s.hero.startPosition}};
    auto fields = nlohmann::ordered_json::array();
    for (int f = 1; f <= kFieldCount; ++f) {
        if (!fieldInUse(s, f)) continue;
        const FieldDef& d = s.field(f);
        fields.push_back({{"number", f},
                          {"name", toUtf8(d.name.view())},
                          {"width", +d.width},
                          {"height", +d.height},
                          {"firstCell", +d.firstCell},
                          {"cellCount", +d.cellCount}});
    }
    out["fields"] = std::move(fields);
    out["inUse"] = {
        {"chara", countNamedPictures(s.charaImageFiles)},
        {"item", countNamedPictures(s.itemImageFiles)},
        {"event", countNamedPictures(s.eventImageFiles)},
        {"place", countNamedPictures(s.placeImageFiles)},
        {"enter", countNamedPictures(s.enterImageFiles)},
        {"magic", resourcesInUse(s, ResKind::Magic)},
        {"poison", resourcesInUse(s, ResKind::Poison)},
        {"bgm", resourcesInUse(s, ResKind::Bgm)},
        {"sound", resourcesInUse(s, ResKind::Sound)},
        {"comment", resourcesInUse(s, ResKind::Comment)},
        {"enemytype", resourcesInUse(s, ResKind::EnemyGroup)},
        {"walkimg", resourcesInUse(s, ResKind::WalkImage)},
    };
    return out;
}

// ---- delete-object ---------------------------------------------------------

struct ObjectKind {
    std::string_view name;
    int count;
    void (*reset)(Scenario&, int, bool);
};

constexpr std::array<ObjectKind, 12> kObjectKinds{{
    {"chara", kCharaCount, charainitialize},
    {"item", kItemCount, iteminitialize},
    {"event", kEventCount, eventinitialize},
    {"place", kPlaceCount, placeinitialize},
    {"enter", kEnterCount, enterinitialize},
    {"magic", kMagicCount, magicinitialize},
    {"poison", kPoisonCount, poisoninitialize},
    {"bgm", kBgmCount, bgminitialize},
    {"sound", kSoundCount, soundinitialize},
    {"comment", kCommentCount, commentinitialize},
    {"enemytype", kEnemyTypeCount, enemytypeinitialize},
    {"walkimg", kWalkImgCount, walkimginitialize},
}};

const ObjectKind* findKind(std::string_view name) {
    for (const auto& k : kObjectKinds) {
        if (k.name == name) return &k;
    }
    return nullptr;
}

std::string kindNames() {
    std::string names;
    for (const auto& k : kObjectKinds) {
        if (!names.empty()) names += ", ";
        names += k.name;
    }
    return names;
}

}  // namespace

int cmdNew(const Args& args) {
    constexpr std::string_view usage =
        "new FILE [--title T] [--designer D] [--field-name F] [--width W] [--height H]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--title", "--designer", "--field-name", "--width", "--height"}, 1,
                           1, usage, parsed)) {
        return rc;
    }
    int width = 10;
    int height = 10;
    if (int rc = parseFieldSide(parsed, "--width", width)) return rc;
    if (int rc = parseFieldSide(parsed, "--height", height)) return rc;

    // Options left out keep what the creation dialog offers in a freshly
    // started editor: the reset's title, an empty designer and the name of
    // field 1. An entry given empty becomes "無題" in the record.
    ScenarioDoc doc;
    doc.reset();
    std::string title(doc.s().settings.scenarioname.view());
    std::string designer;
    std::string fieldName(doc.s().field(1).name.view());
    if (parsed.has("--title") && toCp932(parsed.value("--title"), "--title", title)) return kExitUsage;
    if (parsed.has("--designer") && toCp932(parsed.value("--designer"), "--designer", designer)) {
        return kExitUsage;
    }
    if (parsed.has("--field-name") &&
        toCp932(parsed.value("--field-name"), "--field-name", fieldName)) {
        return kExitUsage;
    }

    createFirstField(doc.s(), title, designer, fieldName, width, height);
    return doc.save(parsed.positional[0]);
}

int cmdInfo(const Args& args) {
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {}, 1, 1, "info FILE", parsed)) return rc;
    ScenarioDoc doc;
    if (int rc = doc.load(parsed.positional[0])) return rc;
    printJson(describe(doc.s()));
    return std::fflush(stdout) == 0 ? kExitOk : fail(kExitIo, "cannot write to standard output");
}

int cmdCopy(const Args& args) {
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {}, 2, 2, "copy IN OUT", parsed)) return rc;
    ScenarioDoc doc;
    if (int rc = doc.load(parsed.positional[0])) return rc;
    return doc.save(parsed.positional[1]);
}

int cmdDeleteObject(const Args& args) {
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"-o"}, 3, 3, "delete-object FILE KIND N|all [-o OUT]", parsed)) {
        return rc;
    }
    const std::string& file = parsed.positional[0];
    const ObjectKind* kind = findKind(parsed.positional[1]);
    if (!kind) {
        return fail(kExitUsage, "unknown kind \"" + parsed.positional[1] + "\" (one of " +
                                    kindNames() + ")");
    }
    // "all" empties the whole table and removes every reference to it; a
    // number deletes that one entry with its references.
    int number = -1;
    bool cleanup = true;
    if (const std::string& which = parsed.positional[2]; which != "all") {
        const auto n = parseInteger(which);
        if (!n || *n < 1 || *n > kind->count) {
            return fail(kExitUsage, "\"" + which + "\" is not a " + std::string(kind->name) +
                                        " number (1 to " + std::to_string(kind->count) +
                                        ") or all");
        }
        number = static_cast<int>(*n);
        cleanup = false;
    }

    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    kind->reset(doc.s(), number, cleanup);
    return doc.save(parsed.value("-o", file));
}

}  // namespace qrn::cli
