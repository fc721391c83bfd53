#include "services/keycaption.h"

#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOption>

namespace qrn {

KeyCaption::KeyCaption(const QString& text, QWidget* parent, std::function<void()> onKey) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    const QKeySequence key = QKeySequence::mnemonic(text);
    if (onKey && !key.isEmpty()) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, std::move(onKey));
    }
}

QSize KeyCaption::sizeHint() const {
    const QMargins m = contentsMargins();
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, QLabel::text());
    return text + QSize(m.left() + m.right() + 2 * margin(), m.top() + m.bottom() + 2 * margin());
}

QSize KeyCaption::minimumSizeHint() const { return sizeHint(); }

void KeyCaption::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    int flags = static_cast<int>(QStyle::visualAlignment(layoutDirection(), alignment())) | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)) flags |= Qt::TextHideMnemonic;
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, flags, option.palette, isEnabled(), text(), foregroundRole());
}

}  // namespace qrn
