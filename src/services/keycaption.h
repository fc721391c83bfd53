#pragma once

#include <QLabel>
#include <functional>

namespace qrn {

// A caption that names a key, as "ﾍﾟｰｼﾞ切替(&W)": it shows the underlined
// letter, never the "&". Given onKey, Alt and the letter run it while the
// caption is visible; without, the window holds the key and the caption only
// names it (so no second shortcut grabs the same Alt key).
class KeyCaption : public QLabel {
public:
    KeyCaption(const QString& text, QWidget* parent, std::function<void()> onKey = {});

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qrn
