// The field manager: the tree of fields and each field's own settings.
#pragma once

#include <QMainWindow>

namespace qrn {

class Tfieldman : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfieldman(QWidget* parent = nullptr);
    void makefieldman();
    void fieldtreereset();
    void fieldview();
};

}  // namespace qrn
