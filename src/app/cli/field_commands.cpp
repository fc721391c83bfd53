// The field commands of quorantel-cli: new-field, resize-field and
// delete-field. Each does what the editor does and prints the messages the
// editor would show to stderr, one line each; a refusal leaves the file as
// it was and ends with exit code 2.
#include <cstdio>
#include <string>
#include <string_view>

#include "cliutil.h"
#include "commands.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/scenario.h"
#include "scenario/text.h"

namespace qrn::cli {

namespace {

int refuse(std::string_view editorMessage) {
    tellLine(editorMessage);
    return kExitUsage;
}

const char* const kNoFreeSlot = "これ以上ﾌｨｰﾙﾄﾞを作成する事は出来ません。";
const char* const kPoolTooSmall = "ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません";
const char* const kFirstField = "このﾌｨｰﾙﾄﾞは削除できません。";

int damagedFields(const std::string& file) {
    return fail(kExitUsage, "the fields of " + file + " do not lie in order in the cell store; nothing changed");
}

// A field side as the editor's sliders and size buttons offer it.
int parseSide(std::string_view what, const std::string& text, int& side) {
    const auto v = parseInteger(text);
    if (!v || *v < 0 || *v > kMaxFieldSide || !validFieldSide(static_cast<int>(*v))) {
        return fail(kExitUsage, std::string(what) + ": \"" + text +
                                    "\" is not a field size (10 to 120 in steps of 10)");
    }
    side = static_cast<int>(*v);
    return kExitOk;
}

// A field number of a field in use.
int parseField(const Scenario& s, const std::string& text, int& field) {
    const auto v = parseInteger(text);
    if (!v || *v < 1 || *v > kFieldCount) {
        return fail(kExitUsage, "\"" + text + "\" is not a field number (1 to 100)");
    }
    field = static_cast<int>(*v);
    if (!fieldInUse(s, field)) return fail(kExitUsage, "field " + text + " is not in use");
    return kExitOk;
}

}  // namespace

int cmdNewField(const Args& args) {
    static constexpr std::string_view usage = "new-field FILE [--name N] [--width W] [--height H] [-o OUT]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--name", "--width", "--height", "-o"}, 1, 1, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];
    int width = 10, height = 10;  // where the creation dialog's sliders start
    if (parsed.has("--width"))
        if (int rc = parseSide("--width", parsed.value("--width"), width)) return rc;
    if (parsed.has("--height"))
        if (int rc = parseSide("--height", parsed.value("--height"), height)) return rc;
    std::string name;
    if (int rc = toCp932(parsed.value("--name"), "--name", name)) return rc;

    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    Scenario& s = doc.s();
    const int slot = firstFreeFieldSlot(s);
    if (slot == 0) return refuse(kNoFreeSlot);
    switch (placeNewField(s, slot, width, height)) {
        case AddFieldResult::Added: break;
        case AddFieldResult::NoFreeSlot: return refuse(kNoFreeSlot);
        case AddFieldResult::PoolTooSmall: return refuse(kPoolTooSmall);
        case AddFieldResult::Refused: return damagedFields(file);
    }
    // The creation dialog offers the scenario's own title and designer, so
    // adding a field keeps them.
    const std::string title = s.settings.scenarioname.str();
    const std::string designer = s.settings.scdesigner.str();
    applyCreationTexts(s, slot, title, designer, name);
    if (int rc = doc.save(parsed.value("-o", file))) return rc;
    std::printf("%d\n", slot);
    return kExitOk;
}

int cmdResizeField(const Args& args) {
    static constexpr std::string_view usage = "resize-field FILE FIELD WIDTH HEIGHT [-o OUT]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"-o"}, 4, 4, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];
    int width = 0, height = 0;
    if (int rc = parseSide("WIDTH", parsed.positional[2], width)) return rc;
    if (int rc = parseSide("HEIGHT", parsed.positional[3], height)) return rc;

    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    Scenario& s = doc.s();
    int field = 0;
    if (int rc = parseField(s, parsed.positional[1], field)) return rc;
    // The size dialog does nothing for the same size.
    if (s.field(field).width == width && s.field(field).height == height)
        return parsed.has("-o") ? doc.save(parsed.value("-o")) : kExitOk;

    const auto tell = [](const std::string& cp932) { tellLine(cp932ToUtf8Lossy(cp932)); };
    switch (resizefield(s, field, width, height, tell)) {
        case FieldOpResult::Done: break;
        case FieldOpResult::PoolTooSmall: return refuse(kPoolTooSmall);
        case FieldOpResult::BadLayout: return damagedFields(file);
        default: return fail(kExitUsage, "field " + parsed.positional[1] + " cannot be resized");
    }
    return doc.save(parsed.value("-o", file));
}

int cmdDeleteField(const Args& args) {
    static constexpr std::string_view usage = "delete-field FILE FIELD [-o OUT]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"-o"}, 2, 2, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];

    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    Scenario& s = doc.s();
    int field = 0;
    if (parseInteger(parsed.positional[1]) == 1) return refuse(kFirstField);
    if (int rc = parseField(s, parsed.positional[1], field)) return rc;
    switch (deleteField(s, doc.side(), field)) {
        case FieldOpResult::Done: break;
        case FieldOpResult::FirstField: return refuse(kFirstField);
        case FieldOpResult::BadLayout: return damagedFields(file);
        default: return fail(kExitUsage, "field " + parsed.positional[1] + " cannot be deleted");
    }
    return doc.save(parsed.value("-o", file));
}

}  // namespace qrn::cli
