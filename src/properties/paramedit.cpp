// The property editor window exists from start-up; its pages come with the
// object editors.
#include "properties/paramedit.h"

namespace qrn {

Tparamedit::Tparamedit(QWidget* parent) : QMainWindow(parent, Qt::Tool) {
    setObjectName(QStringLiteral("paramedit"));
}

void Tparamedit::openOn(int, int, bool) {}

}  // namespace qrn
