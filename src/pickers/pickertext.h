// Summary lines of the pickers as the memo shows them.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace qrn {

inline QString summaryText(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& l : lines) out << QString::fromStdString(l);
    return out.join(QLatin1Char('\n'));
}

}  // namespace qrn
