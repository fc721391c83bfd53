// quorantel-cli-draw, the program that links Qt, started by quorantel-cli
// for the commands that draw or read TMX.
#pragma once

namespace qrn::cli {

// Replaces this process with the helper, given the same arguments; returns
// (an exit code, after telling why) only when the helper cannot be started.
int runDrawHelper(char** argv);

}  // namespace qrn::cli
