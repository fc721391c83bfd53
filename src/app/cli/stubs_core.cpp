// Placeholder until the core commands land.
#include <cstdio>
#include "commands.h"
namespace qrn::cli {
int cmdNew(const Args&) { std::fprintf(stderr, "new: not available yet\n"); return 2; }
int cmdInfo(const Args&) { std::fprintf(stderr, "info: not available yet\n"); return 2; }
int cmdCopy(const Args&) { std::fprintf(stderr, "copy: not available yet\n"); return 2; }
int cmdDeleteObject(const Args&) { std::fprintf(stderr, "delete-object: not available yet\n"); return 2; }
}
