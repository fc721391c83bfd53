// Placeholder until the field commands land.
#include <cstdio>
#include "commands.h"
namespace qrn::cli {
int cmdNewField(const Args&) { std::fprintf(stderr, "new-field: not available yet\n"); return 2; }
int cmdResizeField(const Args&) { std::fprintf(stderr, "resize-field: not available yet\n"); return 2; }
int cmdDeleteField(const Args&) { std::fprintf(stderr, "delete-field: not available yet\n"); return 2; }
}
