// The magic list, the hero settings and the scenario settings.
#pragma once

#include <QDialog>

namespace qrn {

class Tmagicedit : public QDialog {
    Q_OBJECT
public:
    enum Page { Magic, Hero, Scenario };
    explicit Tmagicedit(QWidget* parent = nullptr);
    // Shows one page modally.
    void openPage(Page page);
};

}  // namespace qrn
