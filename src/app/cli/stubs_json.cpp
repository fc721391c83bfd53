// Placeholder until the JSON commands land.
#include <cstdio>
#include "commands.h"
namespace qrn::cli {
int cmdExportJson(const Args&) { std::fprintf(stderr, "export-json: not available yet\n"); return 2; }
int cmdImportJson(const Args&) { std::fprintf(stderr, "import-json: not available yet\n"); return 2; }
}
