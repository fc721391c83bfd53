// quorantel-cli: headless commands on scenario files.
#include <csignal>
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "drawhelper.h"
#include "sheetdrawer.h"

namespace {

#ifdef QRN_CLI_RENDER
#define QRN_DRAW(run) run
#else
// The commands that draw or read TMX need Qt; the tool itself links none so
// that every other command starts at once, and hands these to
// quorantel-cli-draw (see runDrawHelper).
#define QRN_DRAW(run) nullptr
#endif

struct Command {
    const char* name;
    int (*run)(const qrn::cli::Args&);
    const char* usage;
};

const Command kCommands[] = {
    {"new", qrn::cli::cmdNew, "new FILE [--title T] [--designer D] [--field-name F] [--width W] [--height H]"},
    {"info", qrn::cli::cmdInfo, "info FILE"},
    {"copy", qrn::cli::cmdCopy, "copy IN OUT"},
    {"delete-object", qrn::cli::cmdDeleteObject, "delete-object FILE KIND N|all [-o OUT]"},
    {"export-json", qrn::cli::cmdExportJson, "export-json FILE [-o OUT.json]"},
    {"import-json", qrn::cli::cmdImportJson, "import-json IN.json OUT.snr"},
    {"new-field", qrn::cli::cmdNewField, "new-field FILE [--name N] [--width W] [--height H] [-o OUT]"},
    {"resize-field", qrn::cli::cmdResizeField, "resize-field FILE FIELD WIDTH HEIGHT [-o OUT]"},
    {"delete-field", qrn::cli::cmdDeleteField, "delete-field FILE FIELD [-o OUT]"},
    {"check", qrn::cli::cmdCheck, "check FILE [--resources DIR] [--json]"},
    {"walk", qrn::cli::cmdWalk, "walk FILE [--resources DIR] [--from F,X,Y] [--keys KEYS] [--to F,X,Y]"},
    {"join", qrn::cli::cmdJoin, "join FILE OUTDIR NAME [--resources DIR]"},
    {"export-bmp", QRN_DRAW(qrn::cli::cmdExportBmp), "export-bmp FILE FIELD OUT.bmp [--resources DIR]"},
    {"export-tmx", QRN_DRAW(qrn::cli::cmdExportTmx), "export-tmx FILE FIELD OUTDIR [--resources DIR]"},
    {"import-tmx", QRN_DRAW(qrn::cli::cmdImportTmx), "import-tmx FILE FIELD IN.tmx [-o OUT]"},
    // The join's own use of the helper; not for authors.
    {"draw-sheet", QRN_DRAW(qrn::cli::cmdDrawSheet), nullptr},
};

void printUsage() {
    std::fprintf(stderr, "usage: quorantel-cli COMMAND ...\n");
    for (const auto& c : kCommands)
        if (c.usage) std::fprintf(stderr, "  quorantel-cli %s\n", c.usage);
}

}  // namespace

int main(int argc, char** argv) {
    // A write past the file size limit fails with EFBIG and is reported like
    // any other failed write, instead of the signal ending the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        printUsage();
        return 2;
    }
    for (const auto& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0) {
#ifndef QRN_CLI_RENDER
            if (!c.run) return qrn::cli::runDrawHelper(argv);
#endif
            return c.run(qrn::cli::Args(argv + 2, argv + argc));
        }
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("quorantel-cli %s\n", QRN_VERSION);
        return 0;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
        printUsage();
        return 0;
    }
    std::fprintf(stderr, "unknown command: %s\n", argv[1]);
    printUsage();
    return 2;
}
