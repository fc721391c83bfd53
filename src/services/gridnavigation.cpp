#include "services/gridnavigation.h"

#include <Qt>
#include <algorithm>

namespace qrn {

std::optional<QPoint> gridKeyMove(int key, bool ctrl, QPoint cursor, int columns, int rows, int pageRows) {
    int col = cursor.x();
    int row = cursor.y();
    switch (key) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_PageUp: row -= pageRows; break;
    case Qt::Key_PageDown: row += pageRows; break;
    case Qt::Key_Home: col = 0; if (ctrl) row = 0; break;
    case Qt::Key_End: col = columns - 1; if (ctrl) row = rows - 1; break;
    default: return std::nullopt;
    }
    return QPoint(std::clamp(col, 0, std::max(0, columns - 1)), std::clamp(row, 0, std::max(0, rows - 1)));
}

}  // namespace qrn
