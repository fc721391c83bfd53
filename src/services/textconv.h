// Conversions between the editor's QStrings and the scenario's cp932 bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qrn {

// cp932 bytes for display; invalid bytes become U+FFFD.
QString fromCp932(std::string_view bytes);
// cp932 bytes of a text; characters cp932 cannot hold become "?".
std::string toCp932(const QString& text);
// Whether every character of a text has a cp932 form (a file name that does
// not could never be found again under the name the scenario stores).
bool fitsCp932(const QString& text);

}  // namespace qrn
