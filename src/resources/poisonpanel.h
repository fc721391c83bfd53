// The special attack panel: five number boxes for the entry's values.
#pragma once

#include <array>

#include "resources/respanel.h"

class QLineEdit;

namespace qrn {

class PoisonPanel : public ResPanel {
    Q_OBJECT
public:
    explicit PoisonPanel(QWidget* parent = nullptr);
    // podamage, podownmp, podownstr, podowndef, podowndex.
    QLineEdit* valueBox(int index) const { return boxes_[static_cast<std::size_t>(index)]; }

protected:
    void showDetails() override;

private:
    void valueEdited(int index);
    std::array<QLineEdit*, 5> boxes_{};
};

}  // namespace qrn
