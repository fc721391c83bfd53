#include "pickers/picturebox.h"

#include <QPainter>

#include "services/editorcontext.h"

namespace qrn {

PictureBox::PictureBox(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setFixedSize(32, 32);
}

void PictureBox::setIndex(int index) {
    if (index == index_) return;
    index_ = index;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (index_ > 0) editor().imageList.draw(painter, index_, QPoint(0, 0));
}

}  // namespace qrn
