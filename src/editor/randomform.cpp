// Placeholder bodies; the ratio dialog is being built.
#include "editor/randomform.h"
namespace qrn {
Trandomform::Trandomform(QWidget* parent) : QDialog(parent) {}
int Trandomform::askratio(Role) { return -1; }
}  // namespace qrn
