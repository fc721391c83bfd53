#include "services/splashform.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace qrn {

namespace {

QLabel* line(const QString& text, int pointSize, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

Tsplashform::Tsplashform(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("splashform"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(343, 129);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x20, 0x30, 0x58));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(0);
    layout->addWidget(line(QStringLiteral("ＲＰＧ開発環境"), 9, false, this));
    layout->addWidget(line(QStringLiteral("QUORANTEL"), 20, true, this));
    layout->addWidget(line(QStringLiteral("Ver 1.20"), 9, false, this));
    layout->addWidget(line(QStringLiteral("Please Wait..."), 9, false, this));
    layout->addWidget(line(QStringLiteral("実行中F1キーでヘルプを表示する事ができます。"), 8, false, this));
}

void Tsplashform::showNow() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Tsplashform::handOverTo(QWidget* mainWindow, std::function<void()> handover) {
    handover_ = std::move(handover);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this, mainWindow](QWindow* window) {
        if (window && mainWindow->windowHandle() == window) finish();
    });
    // Without a window manager the focus may never move: the first turn of
    // the event loop hands over too.
    QTimer::singleShot(0, this, &Tsplashform::finish);
}

void Tsplashform::finish() {
    if (done_) return;
    done_ = true;
    if (handover_) handover_();
    close();
}

}  // namespace qrn
