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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "cliutil.h"
#include "commands.h"
#include "render/fieldrenderer.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/scenariofile.h"
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

// Reads a scenario file for a command that only reads it: the record is read
// straight into place, without the whole reset first (every byte is replaced
// anyway), so a fresh process touches the 4.5 MB only once. As when opening,
// only a whole record counts. Prints why and returns kExitIo on failure.
int readScenario(const std::string& path, std::unique_ptr<Scenario>& out) {
    const auto cannot = [&](const std::string& why) { return fail(kExitIo, "cannot open " + path + ": " + why); };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return cannot(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return cannot("not a regular file");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    out.reset(new Scenario);  // left uninitialised: the read fills it
    std::size_t got = 0;
    while (got < static_cast<std::size_t>(kRecordSize)) {
        const ssize_t r = ::read(fd, out->bytes() + got, kRecordSize - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    ::close(fd);
    if (got < static_cast<std::size_t>(kRecordSize)) return cannot("the file is shorter than a scenario record");
    lockdata(*out, false);
    return kExitOk;
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

    std::unique_ptr<Scenario> record;
    if (int rc = readScenario(file, record)) return rc;
    const Scenario& s = *record;
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
    // The pictures' lookup serves the join too: the folder is listed once.
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

int cmdExportBmp(const Args& args) {
    static constexpr std::string_view usage = "export-bmp FILE FIELD OUT.bmp [--resources DIR]";
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--resources"}, 3, 3, usage, parsed)) return rc;
    const std::string& file = parsed.positional[0];
    const auto number = parseInteger(parsed.positional[1]);
    if (!number || *number < 1 || *number > kFieldCount)
        return fail(kExitUsage, "\"" + parsed.positional[1] + "\" is not a field number (1 to 100)");
    const int field = static_cast<int>(*number);

    std::unique_ptr<Scenario> record;
    if (int rc = readScenario(file, record)) return rc;
    const Scenario& s = *record;
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
    if (!renderer.writeFieldBmp(s, field, parsed.positional[2]))
        return fail(kExitIo, "cannot write " + parsed.positional[2] + ": " + std::strerror(errno));
    return kExitOk;
}

}  // namespace qrn::cli
