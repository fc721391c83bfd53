#include "resources/commenttextedit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>

#include "services/textconv.h"
#include "scenario/commenttext.h"
#include "scenario/text.h"

namespace qrn {

namespace {

QString normalisedBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// The window's commands that the box would otherwise take for itself.
bool isWindowCommand(const QKeyEvent* key) {
    const auto mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (mods != Qt::ControlModifier) return false;
    return key->key() == Qt::Key_A || key->key() == Qt::Key_F || key->key() == Qt::Key_R ||
           key->key() == Qt::Key_Delete;
}

}  // namespace

std::string toStoredComment(const QString& shown) {
    QString text = normalisedBreaks(shown);
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toCp932(text);
}

QString toShownComment(std::string_view stored) { return normalisedBreaks(fromCp932(stored)); }

CommentTextEdit::CommentTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    // A drop lands where the mouse is, not at the caret the check looks at.
    setAcceptDrops(false);
}

bool CommentTextEdit::accepts(int from, int to, const QString& inserted) const {
    QString piece = normalisedBreaks(inserted);
    QString forBytes = piece;
    forBytes.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (!utf8ToCp932(forBytes.toStdString())) return false;
    const QString text = toPlainText();
    from = std::clamp(from, 0, static_cast<int>(text.size()));
    to = std::clamp(to, from, static_cast<int>(text.size()));
    return commentTextFits(toStoredComment(text.left(from) + piece + text.mid(to)));
}

std::size_t CommentTextEdit::byteOffsetOf(int position) const {
    return toStoredComment(toPlainText().left(position)).size();
}

int CommentTextEdit::positionOf(std::string_view stored, std::size_t byteOffset) const {
    return static_cast<int>(toShownComment(stored.substr(0, std::min(byteOffset, stored.size()))).size());
}

bool CommentTextEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isWindowCommand(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CommentTextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        emit keyHandled();
        return;
    }
    QString inserted;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        inserted = QStringLiteral("\n");
    } else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        inserted = event->text();
    }
    if (!inserted.isEmpty()) {
        const QTextCursor c = textCursor();
        int to = c.selectionEnd();
        if (overwriteMode() && !c.hasSelection() && inserted != QStringLiteral("\n") && !c.atBlockEnd()) to += 1;
        if (!accepts(c.selectionStart(), to, inserted)) {
            QApplication::beep();
            event->accept();
            emit keyHandled();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
    emit keyHandled();
}

void CommentTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    const QTextCursor c = textCursor();
    if (!accepts(c.selectionStart(), c.selectionEnd(), source->text())) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void CommentTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QTextCursor c = textCursor();
    if (!event->commitString().isEmpty() && !accepts(c.selectionStart(), c.selectionEnd(), event->commitString())) {
        QApplication::beep();
        QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&withoutCommit);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

}  // namespace qrn
