#include "properties/numericedit.h"

#include <QSignalBlocker>

namespace qrn {

NumericEdit::NumericEdit(NumericRule rule, QWidget* parent) : QLineEdit(parent), rule_(std::move(rule)) {
    // Numbers never go through the input method.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textChanged, this, &NumericEdit::textChange);
}

void NumericEdit::showText(const QString& text) {
    if (this->text() == text) return;
    const QSignalBlocker blocker(this);
    setText(text);
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (stored) showText(stored());
}

void NumericEdit::textChange(const QString& text) {
    const NumericOutcome outcome = applyNumericText(rule_, text.toStdString());
    switch (outcome.kind) {
    case NumericOutcome::Kind::Nothing: return;
    case NumericOutcome::Kind::SelectAll: selectAll(); return;
    case NumericOutcome::Kind::Replace:
        // The replacement runs the rule again, as typing it would.
        setText(QString::fromStdString(outcome.text));
        return;
    case NumericOutcome::Kind::Store:
        if (store) store(outcome.value);
        if (!outcome.text.empty()) showText(QString::fromStdString(outcome.text));
        if (rule_.rerender && rerender) rerender();
        return;
    }
}

}  // namespace qrn
