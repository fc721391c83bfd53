#include "resources/poisonpanel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <cstddef>
#include <cstring>

#include "services/editorcontext.h"

namespace qrn {

namespace {

struct Box {
    const char* name;
    const char* label;
    const char* hint;
    std::size_t offset;  // of the u16 value in PoisonDef
};

const Box kBoxes[5] = {
    {"podamage", "毒性(&D)", "ｱｸｼｮﾝ毎にﾀﾞﾒｰｼﾞを受ける", offsetof(PoisonDef, podamage)},
    {"podownmp", "魔力減少(&M)", "ﾏｼﾞｯｸﾎﾟｲﾝﾄが減る", offsetof(PoisonDef, podownmp)},
    {"podownstr", "攻撃力ﾀﾞｳﾝ(&A)", "一時的に攻撃力が低下する", offsetof(PoisonDef, podownstr)},
    {"podowndef", "防御力ﾀﾞｳﾝ(&G)", "一時的に防御力が低下する", offsetof(PoisonDef, podowndef)},
    {"podowndex", "素早さﾀﾞｳﾝ(&X)", "一時的に素早さが低下する", offsetof(PoisonDef, podowndex)},
};

// The record is packed: its values are read and written bytewise.
u16 readValue(const PoisonDef& d, std::size_t offset) {
    u16 v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&d) + offset, sizeof v);
    return v;
}
void writeValue(PoisonDef& d, std::size_t offset, u16 v) {
    std::memcpy(reinterpret_cast<unsigned char*>(&d) + offset, &v, sizeof v);
}

}  // namespace

PoisonPanel::PoisonPanel(QWidget* parent) : ResPanel(ResKind::Poison, QStringLiteral("poison"), parent) {
    auto* details = new QWidget(this);
    auto* form = new QFormLayout(details);
    for (int i = 0; i < 5; ++i) {
        auto* box = new QLineEdit(details);
        box->setObjectName(QString::fromLatin1(kBoxes[i].name));
        box->setMaxLength(5);
        box->setFixedWidth(64);
        box->setToolTip(QString::fromUtf8(kBoxes[i].hint));
        auto* label = new QLabel(QString::fromUtf8(kBoxes[i].label), details);
        label->setBuddy(box);
        form->addRow(label, box);
        boxes_[static_cast<std::size_t>(i)] = box;
        connect(box, &QLineEdit::textChanged, this, [this, i] { valueEdited(i); });
        // A text the rule emptied left the value stored: shown again on leaving.
        connect(box, &QLineEdit::editingFinished, this, &PoisonPanel::showDetails);
    }
    arrange(details);
}

void PoisonPanel::showDetails() {
    const bool was = quiet_;
    quiet_ = true;
    const bool valid = current() >= 1 && current() <= count();
    for (int i = 0; i < 5; ++i) {
        const u16 v = valid ? readValue(editor().scenario.poison(current()), kBoxes[i].offset) : 0;
        boxes_[static_cast<std::size_t>(i)]->setText(v == 0 ? QString() : QString::number(v));
    }
    quiet_ = was;
}

void PoisonPanel::valueEdited(int index) {
    if (quiet_ || current() < 1 || current() > count()) return;
    QLineEdit* box = boxes_[static_cast<std::size_t>(index)];
    const PoisonValueInput in = readPoisonValue(box->text().toStdString());
    const bool was = quiet_;
    quiet_ = true;
    switch (in.action) {
        case PoisonValueInput::Ignore: break;
        case PoisonValueInput::ClearBox: box->clear(); break;
        case PoisonValueInput::Store:
            writeValue(editor().scenario.poison(current()), kBoxes[index].offset, in.value);
            if (in.rewriteBox) box->setText(QString::number(in.value));
            break;
    }
    quiet_ = was;
}

}  // namespace qrn
