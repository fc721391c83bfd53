// The window exists from start-up; its miniature comes with the map views.
#include "views/minimap.h"

namespace qrn {

Tminimap::Tminimap(QWidget* parent) : QMainWindow(parent, Qt::Tool) {
    setObjectName(QStringLiteral("minimap"));
    setWindowTitle(QStringLiteral("全域ﾏｯﾌﾟ"));
}

void Tminimap::minimapsize() {}

}  // namespace qrn
