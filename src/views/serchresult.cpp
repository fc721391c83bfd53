// The window exists from start-up; the search itself comes with the views.
#include "views/serchresult.h"

namespace qrn {

Tserchresult::Tserchresult(QWidget* parent) : QMainWindow(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("serchresult"));
    setWindowTitle(QStringLiteral("ﾁｯﾌﾟ検索"));
}

}  // namespace qrn
