// The join's picture sheet, drawn by the program that links the renderer.
#pragma once

#include <memory>
#include <string>

#include "commands.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"

namespace qrn::cli {

class SheetDrawer {
public:
    virtual ~SheetDrawer() = default;
    // Draws the sheet and writes it as the join's sheet file at `path` (a
    // whole file or none); false, after telling why on stderr, when it could
    // not. Pictures that cannot be read are told on stderr too.
    virtual bool write(const Scenario& s, const ChipAssignment& chips, ResourceFolder& folder,
                       const std::string& path) = 0;
};

// Started before the scenario is read. In quorantel-cli this starts
// quorantel-cli-draw at once, so that loading its libraries overlaps reading
// the scenario and copying the other files; in quorantel-cli-draw it draws in
// process. Null, after telling why, when no drawer can be started.
std::unique_ptr<SheetDrawer> startSheetDrawer(const std::string& resourceFolder);

// quorantel-cli-draw's own command: the unlocked record on stdin, then the
// path of the sheet file to write, up to the end of the input.
int cmdDrawSheet(const Args& args);

}  // namespace qrn::cli
