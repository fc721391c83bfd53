// Placeholder bodies; the image view is being built.
#include "views/chipview.h"
namespace qrn {
Tchipview::Tchipview(QWidget* parent) : QMainWindow(parent) { setWindowTitle(QStringLiteral("ｲﾒｰｼﾞﾋﾞｭｰ")); }
void Tchipview::readbmp() {}
bool Tchipview::chooseImage(bool) { return false; }
QString Tchipview::chosenImageFile() const { return {}; }
}  // namespace qrn
