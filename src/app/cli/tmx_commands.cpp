// The commands of quorantel-cli that take a field to a tile map editor and
// back: export-tmx (the field as a TMX map with one tileset per layer) and
// import-tmx (a map's five layers back into the field's cells). A refusal
// prints the editor's message and leaves the scenario file as it was.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "cliutil.h"
#include "commands.h"
#include "render/fieldrenderer.h"
#include "render/tmxfile.h"
#include "scenario/join.h"
#include "scenario/tmxmapping.h"

namespace qrn::cli {

namespace {

int parseFieldNumber(const std::string& text, int& field) {
    const auto number = parseInteger(text);
    if (!number || *number < 1 || *number > kFieldCount)
        return fail(kExitUsage, "\"" + text + "\" is not a field number (1 to 100)");
    field = static_cast<int>(*number);
    return kExitOk;
}

}  // namespace

int cmdExportTmx(const Args& args) {
    static constexpr std::string_view usage = "export-tmx FILE FIELD OUTDIR [--resources DIR]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--resources"}, 3, 3, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];
    int field = 0;
    if (int rc = parseFieldNumber(parsed.positional[1], field)) return rc;
    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    if (!fieldInUse(doc.s(), field)) return fail(kExitUsage, "field " + parsed.positional[1] + " is not in use");
    if (!tmxFieldUsable(doc.s(), field)) return fail(kExitUsage, "the cells of field " + parsed.positional[1] + " are damaged");

    const std::filesystem::path outDir(parsed.positional[2]);
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (!std::filesystem::is_directory(outDir))
        return fail(kExitIo, "cannot create the folder " + outDir.string());

    std::string resources = parsed.value("--resources");
    if (resources.empty()) {
        resources = std::filesystem::path(file).parent_path().string();
        if (resources.empty()) resources = ".";
    }
    ResourceFolder folder(resources);
    PictureIndexTables tables{};
    ChipImages chips;
    loadScenarioPictures(doc.s(), folder, tables, chips,
                         [](const std::string& path) { tellLine(path + "が見つかりません。"); });
    const QString tmxPath = QString::fromStdString((outDir / tmxFileNameOf(field).toStdString()).string());
    const TmxFileResult r = writeTmxMap(doc.s(), field, chips, tables, tmxPath);
    if (!r.ok) return fail(kExitIo, r.error.toStdString());
    std::printf("%s\n", tmxPath.toStdString().c_str());
    return kExitOk;
}

int cmdImportTmx(const Args& args) {
    static constexpr std::string_view usage = "import-tmx FILE FIELD IN.tmx [-o OUT]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"-o"}, 3, 3, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];
    int field = 0;
    if (int rc = parseFieldNumber(parsed.positional[1], field)) return rc;
    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    if (!fieldInUse(doc.s(), field)) return fail(kExitUsage, "field " + parsed.positional[1] + " is not in use");

    TmxMapData map;
    const TmxFileResult read = readTmxMap(QString::fromStdString(parsed.positional[2]), map);
    if (!read.ok) {
        tellLine(read.error.toStdString());
        return kExitUsage;
    }
    const TmxImportResult r = importTmxLayers(doc.s(), field, map);
    if (r.status != TmxImportStatus::Done) {
        tellLine(tmxImportMessage(r));
        return kExitUsage;
    }
    if (int rc = doc.save(parsed.value("-o", file))) return rc;
    std::printf("%d\n", r.changedCells);
    return kExitOk;
}

}  // namespace qrn::cli
