// Writes a scenario document as stable, diff-friendly text.
#pragma once

#include <string>

#include "json_scenario.h"

namespace qrn::cli {

// Two-space indentation, keys in the document's order, one member per line.
// Short lists of numbers stay on one line; longer ones are wrapped ten to a
// line. A field's layers are written one map row per line with the numbers
// right-aligned, so the text shows the map and painting one cell changes one
// line. A text given as bytes ({"hex": ...}) stays on one line. Ends with a
// newline.
std::string formatScenarioJson(const Json& doc);

}  // namespace qrn::cli
