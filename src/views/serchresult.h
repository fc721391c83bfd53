// The result window of the chip search.
#pragma once

#include <QMainWindow>

namespace qrn {

class Tserchresult : public QMainWindow {
    Q_OBJECT
public:
    explicit Tserchresult(QWidget* parent = nullptr);
};

}  // namespace qrn
