// walk: the walk preview from the command line. --keys walks the hero by a
// key string and prints what each key caused; --to prints the shortest key
// string of steps to a cell. One JSON object on stdout; the file is only read.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cliutil.h"
#include "commands.h"
#include "scenario/walk.h"

namespace qrn::cli {

namespace {

using Json = nlohmann::ordered_json;

// "F,X,Y" with X and Y from 1, as the editor shows them, to a field number
// and 0-based column and row.
bool parseCell(const std::string& text, int& field, int& x, int& y) {
    const auto a = text.find(',');
    const auto b = a == std::string::npos ? a : text.find(',', a + 1);
    if (b == std::string::npos) return false;
    const auto f = parseInteger(std::string_view(text).substr(0, a));
    const auto cx = parseInteger(std::string_view(text).substr(a + 1, b - a - 1));
    const auto cy = parseInteger(std::string_view(text).substr(b + 1));
    if (!f || !cx || !cy || *f < 1 || *f > kFieldCount || *cx < 1 || *cx > kMaxFieldSide || *cy < 1 ||
        *cy > kMaxFieldSide)
        return false;
    field = static_cast<int>(*f);
    x = static_cast<int>(*cx) - 1;
    y = static_cast<int>(*cy) - 1;
    return true;
}

struct Key {
    std::string text;  // as printed: "U", "A", "I3"
    char kind = 0;     // U D L R A I
    int item = 0;
};

// U D L R step, A examines, I<n> uses item n; spaces and commas separate
// nothing and are skipped, lower case is taken as upper case.
bool parseKeys(std::string_view text, std::vector<Key>& keys, std::string& bad) {
    for (std::size_t i = 0; i < text.size();) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        if (c == ' ' || c == ',') {
            ++i;
            continue;
        }
        if (c == 'U' || c == 'D' || c == 'L' || c == 'R' || c == 'A') {
            keys.push_back({std::string(1, c), c, 0});
            ++i;
            continue;
        }
        if (c == 'I') {
            std::size_t j = i + 1;
            int n = 0;
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])) && n <= kItemCount)
                n = n * 10 + (text[j++] - '0');
            if (j == i + 1 || n < 1 || n > kItemCount) {
                bad = std::string(text.substr(i, std::max<std::size_t>(j - i, 1)));
                return false;
            }
            keys.push_back({"I" + std::to_string(n), 'I', n});
            i = j;
            continue;
        }
        bad = std::string(1, text[i]);
        return false;
    }
    return true;
}

Json placeJson(int field, int x, int y) { return Json{{"field", field}, {"x", x + 1}, {"y", y + 1}}; }

const char* reasonName(BlockReason r) {
    switch (r) {
        case BlockReason::Edge: return "edge";
        case BlockReason::Terrain: return "terrain";
        case BlockReason::Building: return "building";
        case BlockReason::Character: return "character";
        case BlockReason::Item: return "item";
        case BlockReason::None: break;
    }
    return "none";
}

Json outcomeJson(const WalkOutcome& o) {
    Json j;
    auto withEvent = [&] {
        if (o.event) j["event"] = o.event;
    };
    switch (o.kind) {
        case WalkKind::Blocked:
            j = {{"kind", "blocked"}, {"reason", reasonName(o.reason)}};
            if (o.item) j["item"] = o.item;
            break;
        case WalkKind::Jump:
            j = {{"kind", "jump"}, {"field", o.field}, {"x", o.x + 1}, {"y", o.y + 1}};
            withEvent();
            break;
        case WalkKind::Pickup: j = {{"kind", "pickup"}, {"item", o.item}}; break;
        case WalkKind::Message:
            j = {{"kind", "message"}, {"comment", o.comment}};
            if (!o.image.empty()) j["image"] = toUtf8(o.image);
            withEvent();
            if (o.character) j["character"] = o.character;
            break;
        case WalkKind::Event: j = {{"kind", "event"}, {"event", o.event}}; break;
        case WalkKind::Battle:
            // An event's battle names its group, an enemy met face to face itself.
            j = {{"kind", "battle"}};
            if (o.group) j["group"] = o.group;
            withEvent();
            if (o.character) j["character"] = o.character;
            break;
        case WalkKind::Encounter: j = {{"kind", "encounter"}, {"group", o.group}}; break;
        case WalkKind::Shop: j = {{"kind", "shop"}, {"character", o.character}}; break;
        case WalkKind::Gain: j = {{"kind", "gain"}, {"item", o.item}, {"event", o.event}}; break;
        case WalkKind::Lose: j = {{"kind", "lose"}, {"item", o.item}, {"event", o.event}}; break;
        case WalkKind::Learn: j = {{"kind", "learn"}, {"magic", o.magic}, {"event", o.event}}; break;
        case WalkKind::Ending:
            j = {{"kind", "ending"}};
            withEvent();
            break;
    }
    return j;
}

}  // namespace

int cmdWalk(const Args& args) {
    static constexpr std::string_view usage =
        "usage: walk FILE [--resources DIR] [--from F,X,Y] [--keys KEYS] [--to F,X,Y]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--resources", "--from", "--keys", "--to"}, 1, 1, usage, parsed)) return rc;
    if (parsed.has("--keys") == parsed.has("--to"))
        return fail(kExitUsage, "give exactly one of --keys and --to; " + std::string(usage));
    if (parsed.has("--resources")) {
        std::error_code ec;
        const std::string folder = parsed.value("--resources");
        if (!std::filesystem::is_directory(folder, ec))
            return fail(kExitUsage, "--resources: " + folder + " is not a folder");
    }
    int fromField = 0, fromX = 0, fromY = 0, toField = 0, toX = 0, toY = 0;
    if (parsed.has("--from") && !parseCell(parsed.value("--from"), fromField, fromX, fromY))
        return fail(kExitUsage, "--from: \"" + parsed.value("--from") + "\" is not FIELD,X,Y");
    if (parsed.has("--to") && !parseCell(parsed.value("--to"), toField, toX, toY))
        return fail(kExitUsage, "--to: \"" + parsed.value("--to") + "\" is not FIELD,X,Y");
    std::vector<Key> keys;
    std::string bad;
    if (parsed.has("--keys") && !parseKeys(parsed.value("--keys"), keys, bad))
        return fail(kExitUsage, "--keys: \"" + bad + "\" is not a key (U D L R, A, I<item>)");

    ScenarioDoc doc;
    if (int rc = doc.load(parsed.positional[0])) return rc;
    const Scenario& s = doc.s();
    auto walk = parsed.has("--from") ? startWalkAt(s, fromField, fromX, fromY) : startWalk(s);
    if (!walk) {
        return fail(kExitUsage, parsed.has("--from") ? "--from: the cell lies outside the fields in use"
                                                     : "the hero's start lies outside the fields in use");
    }

    if (parsed.has("--to")) {
        if (walkCell(s, toField, toX, toY) == 0)
            return fail(kExitUsage, "--to: the cell lies outside the fields in use");
        const auto path = findWalkPath(s, *walk, toField, toX, toY);
        if (!path) {
            printJson(Json{{"reachable", false}});
            return kExitOk;
        }
        std::string text;
        for (WalkDirection d : *path) text += walkKey(d);
        printJson(Json{{"reachable", true}, {"keys", text}, {"length", path->size()}});
        return kExitOk;
    }

    Json out;
    out["start"] = placeJson(walk->field, walk->x, walk->y);
    Json steps = Json::array();
    for (const Key& key : keys) {
        WalkOutcomes what;
        switch (key.kind) {
            case 'U': what = stepWalk(s, *walk, WalkDirection::North); break;
            case 'R': what = stepWalk(s, *walk, WalkDirection::East); break;
            case 'D': what = stepWalk(s, *walk, WalkDirection::South); break;
            case 'L': what = stepWalk(s, *walk, WalkDirection::West); break;
            case 'A': what = examineWalk(s, *walk); break;
            default: what = useWalkItem(s, *walk, key.item); break;
        }
        Json step = {{"key", key.text}};
        step.update(placeJson(walk->field, walk->x, walk->y));
        Json events = Json::array();
        for (const auto& o : what) events.push_back(outcomeJson(o));
        step["events"] = std::move(events);
        steps.push_back(std::move(step));
    }
    out["steps"] = std::move(steps);
    Json end = placeJson(walk->field, walk->x, walk->y);
    end["items"] = walk->items;
    out["end"] = std::move(end);
    printJson(out);
    return kExitOk;
}

}  // namespace qrn::cli
