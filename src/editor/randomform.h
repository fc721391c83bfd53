// The random ratio dialog of the random draw and random erase tools.
#pragma once

#include <QDialog>

namespace qrn {

class Trandomform : public QDialog {
    Q_OBJECT
public:
    enum Role { Draw, Erase };
    explicit Trandomform(QWidget* parent = nullptr);
    // -1 when cancelled or empty, else the ratio 0..100.
    int askratio(Role role);
};

}  // namespace qrn
