// A small modal window that shows one bitmap at its own size (the enlarged
// view of the image view); the same window serves as the version window.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QTimer;

namespace qrn {

// Memory figures of the machine and of this process, in kilobytes; -1 when
// the system does not tell.
struct MemoryFigures {
    qint64 totalKb = -1;
    qint64 availableKb = -1;
    qint64 processKb = -1;
};
// Parses the text of /proc/meminfo and /proc/self/status.
MemoryFigures parseMemoryFigures(const QString& meminfo, const QString& processStatus);
MemoryFigures readMemoryFigures();

class Tlargeimgview : public QDialog {
    Q_OBJECT
public:
    explicit Tlargeimgview(QWidget* parent = nullptr);

    // Shows `fileName` of the resource folder: stretched over a 100 x 100
    // area when neither side exceeds 100, otherwise unscaled in an area that
    // grows to the picture. A missing file leaves the area empty.
    void makelargeimg(const QString& fileName, int top, int left);
    // Turns the window into the version window.
    void makeversion();

    // Creates the window for one modal use and destroys it afterwards.
    static void showLarge(QWidget* parent, const QString& fileName, int left, int top);
    static void showVersion(QWidget* parent);

    bool pictureStretched() const { return stretched_; }
    const QImage& picture() const { return image_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void refreshResources();

    QString fileName_;
    QImage image_;
    bool stretched_ = false;
    bool versionMode_ = false;
    QWidget* verpanel_ = nullptr;
    QLabel* gdiValue_ = nullptr;
    QLabel* userValue_ = nullptr;
    QLabel* systemValue_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
};

}  // namespace qrn
