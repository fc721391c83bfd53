// The property editor window; its pages come later.
#include "properties/paramedit.h"
namespace qrn {
Tparamedit::Tparamedit(QWidget* parent) : QMainWindow(parent) {}
void Tparamedit::openOn(int, int, bool) {}
}  // namespace qrn
