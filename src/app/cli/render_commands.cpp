// The commands of quorantel-cli that draw: join (the runner files with the
// picture sheet) and export-bmp (a field as one bitmap). They load the
// scenario's pictures as the editor does on opening and print the editor's
// messages to stderr, one line each.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "cliutil.h"
#include "commands.h"
#include "editor/fieldrenderer.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/text.h"

namespace qrn::cli {

namespace {

void tellLine(std::string_view utf8) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(utf8.size()), utf8.data());
}

// The folder the scenario's file names point into: --resources, or the
// folder of the scenario file.
std::string resourceFolderOf(const ParsedArgs& parsed, const std::string& file) {
    if (parsed.has("--resources")) return parsed.value("--resources");
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// The scenario's pictures, with one line per picture that cannot be read.
struct Pictures {
    PictureIndexTables tables{};
    ChipImages chips;
    Pictures(const Scenario& s, ResourceFolder& folder) {
        loadScenarioPictures(s, folder, tables, chips,
                             [](const std::string& path) { tellLine(path + "が見つかりません。"); });
    }
};

}  // namespace

int cmdJoin(const Args& args) {
    static constexpr std::string_view usage = "join FILE OUTDIR NAME [--resources DIR]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--resources"}, 3, 3, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];
    const std::string& outDir = parsed.positional[1];
    std::string name;
    if (int rc = toCp932(parsed.positional[2], "NAME", name)) return rc;
    name = delext(name);
    if (!validJoinName(parsed.positional[2]) || !validJoinName(name))
        return fail(kExitUsage, "NAME \"" + parsed.positional[2] + "\" is not a file name (empty, or with a folder part)");

    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    const Scenario& s = doc.s();
    const auto out = usableOutputFolder(outDir);
    if (!out) {
        tellLine("結合ファイル出力フォルダは無効です。");
        return kExitIo;
    }
    ResourceFolder folder(resourceFolderOf(parsed, file));
    Pictures pictures(s, folder);
    JoinHooks hooks;
    hooks.drawSheet = [&](const ChipAssignment& chips) {
        FieldRenderer renderer(pictures.chips, pictures.tables);
        return encodeBmp24(renderer.renderSheet(chips), kSheetWidth);
    };
    hooks.warn = [](const std::string& w) { tellLine(w); };
    const JoinResult r = joinScenario(s, {*out, folder.folder(), name}, hooks);
    switch (r.status) {
        case JoinStatus::Done: break;
        case JoinStatus::BadFolder: tellLine("結合ファイル出力フォルダは無効です。"); return kExitIo;
        case JoinStatus::BadName: return fail(kExitUsage, "NAME is not a file name");
        case JoinStatus::Failed: return fail(kExitIo, "cannot write " + r.failedPath + ": " + r.error);
    }
    std::printf("%s\n", (*out + "に" + toUtf8(s.settings.scenarioname.view()) +
                         "の実行に必要なファイルを出力しました。又、" + toUtf8(name) +
                         ".TXT にファイル一覧を出力しました。")
                            .c_str());
    return kExitOk;
}

int cmdExportBmp(const Args& args) {
    static constexpr std::string_view usage = "export-bmp FILE FIELD OUT.bmp [--resources DIR]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--resources"}, 3, 3, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];
    const auto number = parseInteger(parsed.positional[1]);
    if (!number || *number < 1 || *number > kFieldCount)
        return fail(kExitUsage, "\"" + parsed.positional[1] + "\" is not a field number (1 to 100)");
    const int field = static_cast<int>(*number);

    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    const Scenario& s = doc.s();
    if (!fieldInUse(s, field)) return fail(kExitUsage, "field " + parsed.positional[1] + " is not in use");
    const char* const noResources =
        "システムリソースが足りません。画面の表示色を落とすか、フィールドノサイズを小さくして下さい。";
    if (!fieldExportable(s, field)) {
        tellLine(noResources);
        return kExitUsage;
    }
    ResourceFolder folder(resourceFolderOf(parsed, file));
    Pictures pictures(s, folder);
    FieldRenderer renderer(pictures.chips, pictures.tables);
    const QImage image = renderer.renderField(s, field);
    if (image.isNull()) {
        tellLine(noResources);
        return kExitIo;
    }
    if (!writeBmp24(image, parsed.positional[2]))
        return fail(kExitIo, "cannot write " + parsed.positional[2] + ": " + std::strerror(errno));
    return kExitOk;
}

}  // namespace qrn::cli
