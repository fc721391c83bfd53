// Placeholder bodies; the palette is being built.
#include "views/palette.h"
namespace qrn {
Tpalette::Tpalette(QWidget* parent) : QMainWindow(parent) { setWindowTitle(QStringLiteral("ﾊﾟﾚｯﾄ")); }
int Tpalette::addimg(const QString&, bool, unsigned) { return 0; }
void Tpalette::plinvalid() {}
void Tpalette::eninvalid() {}
void Tpalette::evinvalid() {}
void Tpalette::itinvalid() {}
void Tpalette::chinvalid() {}
void Tpalette::allgridfillrect() {}
void Tpalette::alldrawpicrefresh() {}
void Tpalette::selectFromMap(int, int) {}
}  // namespace qrn
