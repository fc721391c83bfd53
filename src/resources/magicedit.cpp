// The window exists from start-up; its pages come with the settings editors.
#include "resources/magicedit.h"

namespace qrn {

Tmagicedit::Tmagicedit(QWidget* parent) : QDialog(parent) { setObjectName(QStringLiteral("magicedit")); }

void Tmagicedit::openPage(Page) {}

}  // namespace qrn
