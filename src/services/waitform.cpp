#include "services/waitform.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace qrn {

Twaitform::Twaitform(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      helplabel_(new QLabel(this)) {
    setObjectName(QStringLiteral("waitform"));
    setWindowTitle(QStringLiteral("QUORANTEL"));
    setFixedSize(280, 28);
    helplabel_->setObjectName(QStringLiteral("helplabel"));
    helplabel_->setAlignment(Qt::AlignCenter);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(helplabel_);
}

void Twaitform::makehelplabel(const QString& text) {
    helplabel_->setText(text);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    // Let the window system map and paint the window before the long work starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString Twaitform::text() const { return helplabel_->text(); }

}  // namespace qrn
