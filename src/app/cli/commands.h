// The commands of quorantel-cli. Each takes the arguments after its name and
// returns the exit code: 0 success, 1 failed I/O, 2 bad usage or bad input.
// Messages go to stderr as one line each.
#pragma once

#include <string>
#include <vector>

namespace qrn::cli {

using Args = std::vector<std::string>;

int cmdNew(const Args& args);
int cmdInfo(const Args& args);
int cmdCopy(const Args& args);
int cmdDeleteObject(const Args& args);
int cmdExportJson(const Args& args);
int cmdImportJson(const Args& args);
int cmdNewField(const Args& args);
int cmdResizeField(const Args& args);
int cmdDeleteField(const Args& args);
// Exit 3 when the scenario check finds errors.
int cmdCheck(const Args& args);
// The walk preview: --keys walks the hero, --to finds the shortest steps.
int cmdWalk(const Args& args);
// The runner files; the picture sheet is drawn by quorantel-cli-draw.
int cmdJoin(const Args& args);
// Built when the tool links the renderer (QRN_CLI_RENDER).
int cmdExportBmp(const Args& args);
int cmdExportTmx(const Args& args);
int cmdImportTmx(const Args& args);

}  // namespace qrn::cli
