// join: the runner files of a scenario, written into an output folder.
#include <cstdio>
#include <string>
#include <string_view>

#include "cliutil.h"
#include "commands.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "sheetdrawer.h"

namespace qrn::cli {

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

    ResourceFolder folder(resourceFolderOf(parsed, file));
    const std::unique_ptr<SheetDrawer> drawer = startSheetDrawer(folder.folder());
    if (!drawer) return kExitIo;
    ScenarioDoc doc;
    if (int rc = doc.load(file)) return rc;
    const Scenario& s = doc.s();
    const auto out = usableOutputFolder(outDir);
    if (!out) {
        tellLine("結合ファイル出力フォルダは無効です。");
        return kExitIo;
    }
    JoinHooks hooks;
    // Drawn while the join copies the other files.
    hooks.writeSheet = [&](const ChipAssignment& chips, const std::string& path) {
        return drawer->write(s, chips, folder, path);
    };
    hooks.warn = [](const std::string& w) { tellLine(w); };
    const JoinResult r = joinScenario(s, {*out, folder.folder(), name, &folder}, hooks);
    switch (r.status) {
        case JoinStatus::Done: break;
        case JoinStatus::BadFolder: tellLine("結合ファイル出力フォルダは無効です。"); return kExitIo;
        case JoinStatus::BadName: return fail(kExitUsage, "NAME is not a file name");
        case JoinStatus::Failed: return fail(kExitIo, "cannot write " + r.failedPath + ": " + r.error);
    }
    // The folder as the editor shows it: with its closing separator.
    std::string shown = *out;
    if (shown.empty() || shown.back() != '/') shown += '/';
    std::printf("%s\n", (shown + "に" + toUtf8(s.settings.scenarioname.view()) +
                         "の実行に必要なファイルを出力しました。又、" + toUtf8(name) +
                         ".TXT にファイル一覧を出力しました。")
                            .c_str());
    return kExitOk;
}

}  // namespace qrn::cli
