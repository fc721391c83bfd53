// The input-method option of name boxes: with `autoime` on, the input
// method follows the user; off, it is switched off while the box is edited.
#pragma once

class QWidget;

namespace qrn {

// Applies the option to one box now.
void imeset(QWidget* box);
// Applies the option to the box every time it is entered.
void imesetOnEnter(QWidget* box);

}  // namespace qrn
