// A numeric text box of the object pages. Its behaviour is one NumericRule
// (scenario/numericrule.h); the page supplies where a value is stored and how
// the page is shown again.
#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>

#include "scenario/numericrule.h"

namespace qrn {

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumericEdit(NumericRule rule, QWidget* parent = nullptr);

    // Writes a value into the record field behind the box.
    std::function<void(std::int64_t)> store;
    // Shows the page again after a store, for rules that ask for it.
    std::function<void()> rerender;
    // The text of the value the record holds. When set, the box shows it
    // again on losing the focus, so a text the rule emptied (the record
    // keeping its value) does not stay shown as if it were stored.
    std::function<QString()> stored;

    // The renderer's way in: shows a text without running the rule.
    void showText(const QString& text);
    const NumericRule& rule() const { return rule_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void textChange(const QString& text);

    NumericRule rule_;
};

}  // namespace qrn
