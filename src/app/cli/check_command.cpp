// check: the scenario check from the command line. One line per finding
// (severity, place, message, tab-separated) or a JSON array, then a summary.
// Exit 0 without errors, 3 with errors, 1 and 2 as the other commands.
#include <cstdio>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "cliutil.h"
#include "commands.h"
#include "scenario/joinfiles.h"
#include "scenario/scenariocheck.h"

namespace qrn::cli {

namespace {

constexpr int kExitFindings = 3;

nlohmann::ordered_json placeJson(const CheckPlace& p) {
    static const char* const kinds[] = {"none", "cell", "object", "resource", "field", "hero", "settings", "level"};
    nlohmann::ordered_json out{{"kind", kinds[p.kind]}};
    switch (p.kind) {
        case CheckPlace::Cell: out["field"] = p.field, out["x"] = p.col + 1, out["y"] = p.row + 1; break;
        case CheckPlace::Object:
        case CheckPlace::Resource: out["table"] = p.table, out["number"] = p.number; break;
        case CheckPlace::Field:
        case CheckPlace::Level: out["number"] = p.number; break;
        default: break;
    }
    return out;
}

}  // namespace

int cmdCheck(const Args& args) {
    // --json is the one option without a value.
    Args rest;
    bool json = false;
    for (const auto& a : args) {
        if (a == "--json") json = true;
        else rest.push_back(a);
    }
    ParsedArgs parsed;
    if (int rc = parseArgs(rest, {"--resources"}, 1, 1, "usage: check FILE [--resources DIR] [--json]", parsed))
        return rc;
    const std::string file = parsed.positional[0];
    // The folder the file names point into: --resources, or the scenario's
    // own folder, as for join.
    std::string folder = parsed.value("--resources");
    if (folder.empty()) {
        folder = std::filesystem::path(file).parent_path().string();
        if (folder.empty()) folder = ".";
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return fail(kExitUsage, "--resources: " + folder + " is not a folder");
    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    ResourceFolder resources(folder);
    const auto findings = checkScenario(doc.s(), &resources);
    const int errors = errorCount(findings);
    const int warnings = static_cast<int>(findings.size()) - errors;
    if (json) {
        auto out = nlohmann::ordered_json::array();
        for (const auto& f : findings)
            out.push_back({{"severity", f.severity == CheckSeverity::Error ? "error" : "warning"},
                           {"kind", kindName(f.kind)},
                           {"place", placeJson(f.place)},
                           {"where", describePlace(doc.s(), f.place)},
                           {"message", f.message}});
        printJson(out);
    } else {
        for (const auto& f : findings)
            std::printf("%s\t%s\t%s\n", severityName(f.severity), describePlace(doc.s(), f.place).c_str(),
                        f.message.c_str());
    }
    // With --json the summary goes to stderr so that stdout stays one JSON document.
    std::fprintf(json ? stderr : stdout, "エラー %d 件、警告 %d 件\n", errors, warnings);
    return errors > 0 ? kExitFindings : kExitOk;
}

}  // namespace qrn::cli
