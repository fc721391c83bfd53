// Placeholder bodies; the map grid is being built.
#include "editor/mapgrid.h"
namespace qrn {
MapGrid::MapGrid(QWidget* parent) : QAbstractScrollArea(parent) {}
void MapGrid::setFieldSize(int, int) {}
void MapGrid::setCellSize(int) {}
void MapGrid::setGridLines(bool) {}
void MapGrid::setRangeSelection(bool) {}
void MapGrid::setPopupMenu(QMenu*) {}
void MapGrid::setCursorCell(int, int) {}
void MapGrid::selectCell(int, int) {}
QRect MapGrid::selection() const { return {}; }
void MapGrid::setSelection(const QRect&) {}
void MapGrid::repaintCell(int, int) {}
void MapGrid::repaintAll() {}
void MapGrid::brushbtnClick() {}
void MapGrid::eracebtnClick() {}
void MapGrid::randombrushbtnClick() {}
void MapGrid::randomeracebtnClick() {}
void MapGrid::allselectbtnClick() {}
void MapGrid::propstatechange() {}
}  // namespace qrn
