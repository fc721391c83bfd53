// The property editor: one window with a page per layer.
#pragma once

#include <QMainWindow>

namespace qrn {

class Tparamedit : public QMainWindow {
    Q_OBJECT
public:
    explicit Tparamedit(QWidget* parent = nullptr);
    // Opens the page of `layer` (1 place .. 5 chara) on object `number`;
    // fromPalette tells it to give the focus back to the palette afterwards.
    void openOn(int layer, int number, bool fromPalette);
};

}  // namespace qrn
