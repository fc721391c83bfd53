#include "views/largeimgview.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "views/chiptable.h"

namespace qrn {

namespace {

constexpr int kSmallSide = 100;

qint64 kilobytesOf(const QString& text, QStringView key) {
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (!line.startsWith(key) || line.size() <= key.size() || line[key.size()] != u':') continue;
        const QStringView rest = line.mid(key.size() + 1).trimmed();
        const qsizetype space = rest.indexOf(u' ');
        bool ok = false;
        const qint64 value = (space < 0 ? rest : rest.left(space)).toLongLong(&ok);
        return ok && value >= 0 ? value : -1;
    }
    return -1;
}

QString readProcFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromLatin1(file.read(64 * 1024));
}

QString megabytes(qint64 kb) { return QString::number((kb + 512) / 1024) + QStringLiteral(" MB"); }

QString percentOf(qint64 part, qint64 whole) {
    return QString::number(static_cast<int>((part * 100 + whole / 2) / whole)) + u'%';
}

}  // namespace

MemoryFigures parseMemoryFigures(const QString& meminfo, const QString& processStatus) {
    MemoryFigures m;
    m.totalKb = kilobytesOf(meminfo, u"MemTotal");
    m.availableKb = kilobytesOf(meminfo, u"MemAvailable");
    if (m.availableKb > m.totalKb) m.availableKb = -1;
    m.processKb = kilobytesOf(processStatus, u"VmRSS");
    return m;
}

MemoryFigures readMemoryFigures() {
    return parseMemoryFigures(readProcFile(QStringLiteral("/proc/meminfo")),
                              readProcFile(QStringLiteral("/proc/self/status")));
}

Tlargeimgview::Tlargeimgview(QWidget* parent)
    // Only the hints named count once CustomizeWindowHint is given; without
    // it the window system adds minimise and maximise buttons.
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setFixedSize(kSmallSide, kSmallSide);
}

void Tlargeimgview::makelargeimg(const QString& fileName, int top, int left) {
    fileName_ = fileName;
    image_ = QImage();
    stretched_ = false;
    QSize area(kSmallSide, kSmallSide);
    move(left, top);

    const QString path = imageSearchFolder() + fileName;
    if (!fileName.isEmpty() && QFileInfo(path).isFile()) {
        QImageReader reader(path);
        reader.setAutoTransform(false);
        const QSize size = reader.size();
        setWindowTitle(fileName);
        if (size.isValid()) {
            setWindowTitle(fileName + QStringLiteral(" :") + QString::number(size.width()) + u'×' +
                           QString::number(size.height()));
            // A picture too large to show sensibly is not decoded at all.
            if (size.width() <= kMaxDecodedSide && size.height() <= kMaxDecodedSide) {
                image_ = reader.read();
                if (!image_.isNull()) {
                    if (image_.width() > kSmallSide) area.setWidth(image_.width());
                    if (image_.height() > kSmallSide) area.setHeight(image_.height());
                    stretched_ = area == QSize(kSmallSide, kSmallSide);
                }
            }
        }
    }
    setFixedSize(area);
    update();
}

void Tlargeimgview::makeversion() {
    versionMode_ = true;
    image_ = QImage();
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(343, 225);

    verpanel_ = new QFrame(this);
    verpanel_->setGeometry(0, 0, 343, 225);
    auto* layout = new QVBoxLayout(verpanel_);
    auto* title = new QLabel(QStringLiteral("QUORANTEL"), verpanel_);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 8);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Ver 1.20"), verpanel_);
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(version);

    auto* line = new QFrame(verpanel_);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* resources = new QGridLayout;
    auto addRow = [&](int row, const QString& caption) {
        resources->addWidget(new QLabel(caption, verpanel_), row, 0);
        auto* value = new QLabel(verpanel_);
        resources->addWidget(value, row, 1);
        return value;
    };
    gdiValue_ = addRow(0, QStringLiteral("GDIﾘｿｰｽ"));
    userValue_ = addRow(1, QStringLiteral("USERﾘｿｰｽ"));
    systemValue_ = addRow(2, QStringLiteral("ｼｽﾃﾑﾘｿｰｽ"));
    resources->setColumnStretch(1, 1);
    layout->addLayout(resources);
    layout->addStretch();
    verpanel_->show();

    refreshResources();
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setInterval(1000);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { refreshResources(); });
    refreshTimer_->start();
}

void Tlargeimgview::refreshResources() {
    if (!gdiValue_) return;
    const MemoryFigures m = readMemoryFigures();
    const bool machineKnown = m.totalKb > 0 && m.availableKb >= 0;
    const QString unknown = QStringLiteral("-");
    gdiValue_->setText(machineKnown ? QStringLiteral("使用中メモリ ") + megabytes(m.totalKb - m.availableKb) +
                                          QStringLiteral(" (") + percentOf(m.totalKb - m.availableKb, m.totalKb) + u')'
                                    : unknown);
    userValue_->setText(m.processKb >= 0 ? QStringLiteral("このプログラム ") + megabytes(m.processKb) : unknown);
    systemValue_->setText(machineKnown ? QStringLiteral("空きメモリ ") + megabytes(m.availableKb) +
                                             QStringLiteral(" (") + percentOf(m.availableKb, m.totalKb) + u')'
                                       : unknown);
}

void Tlargeimgview::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (versionMode_ || image_.isNull()) return;
    QPainter p(this);
    // A window widened for its title shows the picture's area in its middle.
    const int area = stretched_ ? kSmallSide : std::max(kSmallSide, image_.width());
    const int left = std::max(0, (width() - area) / 2);
    if (stretched_)
        p.drawImage(QRect(left, 0, kSmallSide, height()), image_);
    else
        p.drawImage(QPoint(left, 0), image_);
}

void Tlargeimgview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: accept(); return;
    default: QDialog::keyPressEvent(event);
    }
}

void Tlargeimgview::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    accept();
}

void Tlargeimgview::showLarge(QWidget* parent, const QString& fileName, int left, int top) {
    Tlargeimgview view(parent);
    view.makelargeimg(fileName, top, left);
    view.exec();
}

void Tlargeimgview::showVersion(QWidget* parent) {
    Tlargeimgview view(parent);
    view.makeversion();
    view.exec();
}

}  // namespace qrn
