// The whole-area map: the terrain of the current field in miniature.
#pragma once

#include <QMainWindow>

namespace qrn {

class Tminimap : public QMainWindow {
    Q_OBJECT
public:
    explicit Tminimap(QWidget* parent = nullptr);
    // Sizes the miniature for the current field and repaints it.
    void minimapsize();
};

}  // namespace qrn
