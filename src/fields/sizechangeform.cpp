#include "fields/sizechangeform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "scenario/scenario.h"

namespace qrn {

Tsizechangeform::Tsizechangeform(QWidget* parent)
    : QDialog(parent, Qt::Tool),
      oldx_(new QLabel(this)),
      oldy_(new QLabel(this)),
      newx_(new QLineEdit(this)),
      newy_(new QLineEdit(this)),
      okbtn_(new QPushButton(QStringLiteral("OK"), this)),
      cancelbtn_(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this)) {
    setObjectName(QStringLiteral("sizechangeform"));
    setWindowTitle(QStringLiteral("ﾌｨｰﾙﾄﾞｻｲｽﾞ変更"));
    setModal(true);
    oldx_->setObjectName(QStringLiteral("oldx"));
    oldy_->setObjectName(QStringLiteral("oldy"));
    for (QLineEdit* box : {newx_, newy_}) {
        box->setReadOnly(true);
        box->setFixedWidth(48);
        box->setAlignment(Qt::AlignRight);
    }
    newx_->setObjectName(QStringLiteral("newx"));
    newy_->setObjectName(QStringLiteral("newy"));
    okbtn_->setObjectName(QStringLiteral("okbtn"));
    cancelbtn_->setObjectName(QStringLiteral("cancelbtn"));
    okbtn_->setDefault(true);
    okbtn_->setAutoDefault(true);
    cancelbtn_->setAutoDefault(false);

    // One spin button (an up and a down arrow) beside each new size box.
    auto spin = [this](const QString& name, void (Tsizechangeform::*click)(bool)) {
        auto* box = new QWidget(this);
        box->setObjectName(name);
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        QToolButton* up = arrowButton(name + QStringLiteral("Up"), Qt::UpArrow);
        QToolButton* down = arrowButton(name + QStringLiteral("Down"), Qt::DownArrow);
        column->addWidget(up);
        column->addWidget(down);
        connect(up, &QToolButton::clicked, this, [this, click] { (this->*click)(true); });
        connect(down, &QToolButton::clicked, this, [this, click] { (this->*click)(false); });
        return box;
    };

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("旧ｻｲｽﾞ"), this), 0, 0);
    grid->addWidget(oldx_, 0, 1);
    grid->addWidget(oldy_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("新ｻｲｽﾞ"), this), 1, 0);
    auto* xrow = new QHBoxLayout;
    xrow->addWidget(newx_);
    xrow->addWidget(spin(QStringLiteral("xup"), &Tsizechangeform::xupClick));
    auto* yrow = new QHBoxLayout;
    yrow->addWidget(newy_);
    yrow->addWidget(spin(QStringLiteral("yup"), &Tsizechangeform::yupClick));
    grid->addLayout(xrow, 1, 1);
    grid->addLayout(yrow, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbtn_);
    buttons->addWidget(cancelbtn_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(okbtn_, &QPushButton::clicked, this, &Tsizechangeform::okbtnClick);
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);
    setup(10, 10, 0);
}

QToolButton* Tsizechangeform::arrowButton(const QString& name, Qt::ArrowType arrow) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setArrowType(arrow);
    b->setFixedSize(18, 12);
    b->setAutoRepeat(true);
    return b;
}

void Tsizechangeform::setup(int width, int height, int freeCells) {
    oldWidth_ = width;
    oldHeight_ = height;
    newWidth_ = width;
    newHeight_ = height;
    freeCells_ = freeCells;
    oldx_->setText(QStringLiteral("横:") + QString::number(width));
    oldy_->setText(QStringLiteral("縦:") + QString::number(height));
    showNewSize();
}

bool Tsizechangeform::sizechange(int width, int height, int freeCells) {
    setup(width, height, freeCells);
    return exec() == QDialog::Accepted;
}

int Tsizechangeform::stepped(int side, bool up) {
    side += up ? 10 : -10;
    if (side > kMaxFieldSide) return 10;
    if (side < 10) return kMaxFieldSide;
    return side;
}

void Tsizechangeform::xupClick(bool up) {
    newWidth_ = stepped(newWidth_, up);
    showNewSize();
}

void Tsizechangeform::yupClick(bool up) {
    newHeight_ = stepped(newHeight_, up);
    showNewSize();
}

void Tsizechangeform::showNewSize() {
    newx_->setText(QString::number(newWidth_));
    newy_->setText(QString::number(newHeight_));
}

void Tsizechangeform::okbtnClick() {
    if (newWidth_ == oldWidth_ && newHeight_ == oldHeight_) return;
    const long long growth = static_cast<long long>(newWidth_) * newHeight_ -
                             static_cast<long long>(oldWidth_) * oldHeight_;
    if (growth > 0 && growth > freeCells_) {
        if (MessageService* m = editor().messages) m->warning(this, QStringLiteral("ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません"));
        return;
    }
    accept();
}

}  // namespace qrn
