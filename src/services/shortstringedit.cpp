#include "services/shortstringedit.h"

#include <QValidator>

#include "services/imeset.h"
#include "services/textconv.h"
#include "scenario/text.h"

namespace qrn {

namespace {

// Accepts a text only when cp932 can hold it in the slot's bytes. A longer
// paste is refused whole rather than cut, so nothing is stored that the
// author did not see.
class Cp932Validator : public QValidator {
public:
    Cp932Validator(int capacity, QObject* parent) : QValidator(parent), capacity_(capacity) {}
    State validate(QString& input, int&) const override {
        const auto bytes = utf8ToCp932(input.toStdString());
        if (!bytes || static_cast<int>(bytes->size()) > capacity_) return Invalid;
        return Acceptable;
    }

private:
    int capacity_;
};

}  // namespace

ShortStringEdit::ShortStringEdit(int capacity, QWidget* parent) : QLineEdit(parent), capacity_(capacity) {
    setValidator(new Cp932Validator(capacity, this));
    imesetOnEnter(this);
}

void ShortStringEdit::setBytes(std::string_view cp932) {
    setText(fromCp932(cutCp932(cp932, static_cast<std::size_t>(capacity_))));
}

std::string ShortStringEdit::bytes() const {
    // The validator keeps the text representable; the cut only guards text set
    // from code that bypassed it.
    const auto converted = utf8ToCp932(text().toStdString());
    if (!converted) return std::string(cutCp932(toCp932(text()), static_cast<std::size_t>(capacity_)));
    return std::string(cutCp932(*converted, static_cast<std::size_t>(capacity_)));
}

}  // namespace qrn
