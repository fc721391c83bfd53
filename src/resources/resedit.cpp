// The window exists from start-up; its lists come with the resource editors.
#include "resources/resedit.h"

namespace qrn {

Tresedit::Tresedit(QWidget* parent) : QDialog(parent) { setObjectName(QStringLiteral("resedit")); }

void Tresedit::openList(Kind) {}

}  // namespace qrn
