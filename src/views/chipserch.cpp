#include "views/chipserch.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/slotname.h"

namespace qrn {

Tchipserch::Tchipserch(int layer, int number, QWidget* parent)
    : QDialog(parent),
      serchchippic_(new QLabel),
      serchchipname_(new QLabel),
      serchrangegroup_(new QGroupBox(QStringLiteral("検索範囲"))),
      serchstartgroup_(new QGroupBox(QStringLiteral("検索開始位置"))),
      allButton_(new QRadioButton(QStringLiteral("全ﾌｨｰﾙﾄﾞ(&A)"))),
      currentButton_(new QRadioButton(QStringLiteral("現在のﾌｨｰﾙﾄﾞ(&S)"))),
      topButton_(new QRadioButton(QStringLiteral("ﾌｨｰﾙﾄﾞの先頭(&T)"))),
      cursorButton_(new QRadioButton(QStringLiteral("現在の位置(&N)"))) {
    setObjectName(QStringLiteral("chipserch"));
    setWindowTitle(QStringLiteral("ﾁｯﾌﾟ検索"));
    setProperty("helpContext", 123000);
    EditorContext& ed = editor();
    serchchippic_->setObjectName(QStringLiteral("serchchippic"));
    serchchippic_->setFixedSize(32, 32);
    serchchippic_->setPixmap(ed.imageList.pixmap(pictureIndex(ed.side.pictures, layer, number)));
    serchchipname_->setObjectName(QStringLiteral("serchchipname"));
    serchchipname_->setText(slotName(ed.scenario, layer, number));
    serchrangegroup_->setObjectName(QStringLiteral("serchrangegroup"));
    serchstartgroup_->setObjectName(QStringLiteral("serchstartgroup"));

    auto* chip = new QGroupBox(QStringLiteral("検索するﾁｯﾌﾟ"));
    auto* chipRow = new QHBoxLayout(chip);
    chipRow->addWidget(serchchippic_);
    chipRow->addWidget(serchchipname_, 1);
    auto* range = new QVBoxLayout(serchrangegroup_);
    range->addWidget(allButton_);
    range->addWidget(currentButton_);
    auto* start = new QVBoxLayout(serchstartgroup_);
    start->addWidget(topButton_);
    start->addWidget(cursorButton_);
    currentButton_->setChecked(true);
    cursorButton_->setChecked(true);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK(&Y)"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(serchrangegroup_);
    groups->addWidget(serchstartgroup_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chip);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QRadioButton* b : {allButton_, currentButton_})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) rangeChosen();
        });
    for (QRadioButton* b : {topButton_, cursorButton_})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) startChosen();
        });
}

void Tchipserch::rangeChosen() {
    allFields_ = allButton_->isChecked();
    if (allFields_) {
        // Every field is searched from its top, so the start is not a choice.
        topButton_->setChecked(true);
        fromTop_ = true;
    }
    serchstartgroup_->setEnabled(!allFields_);
}

void Tchipserch::startChosen() { fromTop_ = topButton_->isChecked(); }

}  // namespace qrn
