// export-json and import-json: the scenario as a JSON document and back.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "cliutil.h"
#include "commands.h"
#include "json_scenario.h"
#include "json_writer.h"

namespace qrn::cli {

int cmdExportJson(const Args& args) {
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"-o"}, 1, 1, "export-json FILE [-o OUT.json]", parsed)) return rc;
    ScenarioDoc doc;
    if (int rc = doc.load(parsed.positional[0])) return rc;
    const std::string text = formatScenarioJson(exportScenario(doc.s()));
    if (parsed.has("-o")) return writeFileAtomically(parsed.value("-o"), text);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        return fail(kExitIo, std::string("cannot write the standard output: ") + std::strerror(errno));
    }
    return kExitOk;
}

int cmdImportJson(const Args& args) {
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {}, 2, 2, "import-json IN.json OUT.snr", parsed)) return rc;
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];

    std::ifstream file(in, std::ios::binary);
    if (!file) return fail(kExitIo, "cannot read " + in + ": " + std::strerror(errno));
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return fail(kExitIo, "cannot read " + in + ": " + std::strerror(errno));

    Json json;
    if (const std::string error = parseScenarioJson(text, json); !error.empty()) {
        return fail(kExitUsage, in + ": " + error);
    }
    text.clear();
    text.shrink_to_fit();

    // The whole record is built in memory first; only a complete one is saved.
    ScenarioDoc doc;
    if (const std::string error = importScenario(json, doc.s()); !error.empty()) return fail(kExitUsage, error);
    return doc.save(out);
}

}  // namespace qrn::cli
