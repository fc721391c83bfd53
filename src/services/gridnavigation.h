// The cursor keys of the editor's cell grid (editor/cellgrid.h).
#pragma once

#include <QPoint>
#include <optional>

namespace qrn {

// Where a key moves the cursor of a grid of columns x rows: the arrows by
// one cell, PgUp/PgDn by `pageRows`, Home/End to the first/last column and,
// with Ctrl, also to the first/last row; clamped to the grid. nullopt for
// any other key.
std::optional<QPoint> gridKeyMove(int key, bool ctrl, QPoint cursor, int columns, int rows, int pageRows);

}  // namespace qrn
