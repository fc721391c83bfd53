// The commands of quorantel-cli that draw: the join's picture sheet and
// export-bmp (a field as one bitmap). They load the scenario's pictures as
// the editor does on opening and print the editor's messages to stderr, one
// line each.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "cliutil.h"
#include "commands.h"
#include "render/fieldrenderer.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "sheetdrawer.h"

namespace qrn::cli {

namespace {

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

// Draws in this process: in the helper, and in a join run by hand with it.
class InProcessSheetDrawer final : public SheetDrawer {
public:
    bool write(const Scenario& s, const ChipAssignment& chips, ResourceFolder& folder,
               const std::string& path) override {
        std::string sheet;
        {
            const Pictures pictures(s, folder);
            FieldRenderer renderer(pictures.chips, pictures.tables);
            sheet = renderer.sheetBitmap(chips);
        }
        markRunnerBitmap(sheet);
        if (writeWholeFile(path, sheet)) return true;
        fail(kExitIo, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
};

std::unique_ptr<SheetDrawer> startSheetDrawer(const std::string&) { return std::make_unique<InProcessSheetDrawer>(); }

int cmdDrawSheet(const Args& args) {
    ParsedArgs parsed;
    if (int rc = parseArgs(args, {"--resources"}, 0, 0, "draw-sheet --resources DIR < RECORD+PATH", parsed)) return rc;
    // The record comes as it is in memory (unlocked), from the join that
    // copies the other files meanwhile; the sheet file's path follows it.
    auto record = std::make_unique_for_overwrite<Scenario>();
    std::string path;
    std::size_t got = 0;
    char piece[4096];
    for (;;) {
        const bool inRecord = got < static_cast<std::size_t>(kRecordSize);
        const ssize_t r = inRecord ? ::read(STDIN_FILENO, record->bytes() + got, kRecordSize - got)
                                   : ::read(STDIN_FILENO, piece, sizeof piece);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return fail(kExitIo, std::string("draw-sheet: ") + std::strerror(errno));
        if (r == 0) break;
        if (inRecord)
            got += static_cast<std::size_t>(r);
        else if (path.size() < 65536)
            path.append(piece, static_cast<std::size_t>(r));
    }
    if (got < static_cast<std::size_t>(kRecordSize) || path.empty())
        return fail(kExitIo, "draw-sheet: the scenario record or the sheet's path was cut short");
    ResourceFolder folder(parsed.value("--resources", "."));
    const bool written = InProcessSheetDrawer().write(*record, assignChips(*record), folder, path);
    // Nothing is left to tidy: the tool waiting for this process goes on at
    // once, without the destructors of the libraries and the pictures.
    std::fflush(stderr);
    std::_Exit(written ? kExitOk : kExitIo);
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
    if (!renderer.writeFieldBmp(s, field, parsed.positional[2]))
        return fail(kExitIo, "cannot write " + parsed.positional[2] + ": " + std::strerror(errno));
    return kExitOk;
}

}  // namespace qrn::cli
