// Placeholder bodies; the field manager is being built.
#include "fields/fieldman.h"
namespace qrn {
Tfieldman::Tfieldman(QWidget* parent) : QMainWindow(parent) { setWindowTitle(QStringLiteral("ﾌｨｰﾙﾄﾞﾏﾈｰｼﾞｬ")); }
void Tfieldman::makefieldman() {}
void Tfieldman::fieldtreereset() {}
void Tfieldman::fieldview() {}
}  // namespace qrn
