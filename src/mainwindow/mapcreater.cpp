#include "mainwindow/mapcreater.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/imeset.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "scenario/fieldops.h"

namespace qrn {

namespace {

constexpr int kMaxPieces = 12;
const QString kPieces = QStringLiteral("ピース");

QSlider* makeSlider(Qt::Orientation orientation, const QString& name) {
    auto* slider = new QSlider(orientation);
    slider->setObjectName(name);
    slider->setRange(1, kMaxPieces);
    slider->setValue(1);
    slider->setPageStep(1);
    slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow : QSlider::TicksRight);
    // The first piece at the top, like the preview grows downwards.
    if (orientation == Qt::Vertical) slider->setInvertedAppearance(true);
    return slider;
}

QLineEdit* makeNameBox(const QString& name) {
    auto* box = new ShortStringEdit(32);
    box->setObjectName(name);
    box->setMaxLength(32);
    imesetOnEnter(box);
    return box;
}

}  // namespace

Tmapcreater::Tmapcreater(QWidget* parent)
    : QDialog(parent),
      crname_(makeNameBox(QStringLiteral("crname"))),
      crdesigner_(makeNameBox(QStringLiteral("crdesigner"))),
      crfield_(makeNameBox(QStringLiteral("crfield"))),
      TrackBar2_(makeSlider(Qt::Horizontal, QStringLiteral("TrackBar2"))),
      TrackBar1_(makeSlider(Qt::Vertical, QStringLiteral("TrackBar1"))),
      Shape1_(new QFrame),
      Label7_(new QLabel),
      Label8_(new QLabel),
      fieldres_(new QLabel) {
    EditorContext& ed = editor();
    const bool newField = ed.state.newFieldMode;
    setObjectName(QStringLiteral("mapcreater"));
    setProperty("helpContext", 11000);
    setWindowTitle(newField ? QStringLiteral("ﾌｨｰﾙﾄﾞﾒｲｷﾝｸﾞ") : QStringLiteral("新規ｼﾅﾘｵﾒｲｷﾝｸﾞ"));

    Shape1_->setObjectName(QStringLiteral("Shape1"));
    Shape1_->setFrameShape(QFrame::Box);
    Shape1_->setAutoFillBackground(true);
    Shape1_->setStyleSheet(QStringLiteral("background-color: #00a000; border: 1px solid #004000;"));
    Label7_->setObjectName(QStringLiteral("Label7"));
    Label8_->setObjectName(QStringLiteral("Label8"));
    fieldres_->setObjectName(QStringLiteral("fieldres"));
    fieldres_->setToolTip(QStringLiteral("ﾌｨｰﾙﾄﾞを作れる残量"));

    auto* names = new QFormLayout;
    names->addRow(QStringLiteral("シナリオ名"), crname_);
    names->addRow(QStringLiteral("シナリオ著作権者"), crdesigner_);
    auto* fieldLabel = new QLabel(QStringLiteral("新規ﾌｨｰﾙﾄﾞﾈｰﾑ(&F)"));
    fieldLabel->setBuddy(crfield_);
    names->addRow(fieldLabel, crfield_);

    // The preview: the width slider above, the height slider at the left.
    const int side = kMaxPieces * 11 + 6;
    auto* previewArea = new QWidget;
    previewArea->setFixedSize(side, side);
    Shape1_->setParent(previewArea);
    Shape1_->move(0, 0);
    TrackBar2_->setFixedWidth(side);
    TrackBar1_->setFixedHeight(side);
    auto* xLabel = new QLabel(QStringLiteral("フィールド横サイズ(&X)"));
    xLabel->setBuddy(TrackBar2_);
    auto* yLabel = new QLabel(QStringLiteral("フィールド縦サイズ(&Y)"));
    yLabel->setBuddy(TrackBar1_);
    // Width label and slider above the preview, the height slider at its
    // left, the height label at its right.
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(xLabel);
    widthRow->addWidget(Label7_);
    widthRow->addStretch();
    auto* heightColumn = new QVBoxLayout;
    heightColumn->addWidget(yLabel);
    heightColumn->addWidget(Label8_);
    heightColumn->addStretch();
    auto* sizes = new QGridLayout;
    sizes->addLayout(widthRow, 0, 1, 1, 2);
    sizes->addWidget(TrackBar2_, 1, 1);
    sizes->addWidget(TrackBar1_, 2, 0, Qt::AlignHCenter);
    sizes->addWidget(previewArea, 2, 1);
    sizes->addLayout(heightColumn, 2, 2);

    auto* remaining = new QHBoxLayout;
    remaining->addWidget(new QLabel(QStringLiteral("残りフィールドリソース")));
    remaining->addWidget(fieldres_);
    remaining->addStretch();

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK(&Y)"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addLayout(sizes);
    layout->addLayout(remaining);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // What is left of the pool: all of it for a new scenario, the cells after
    // the used part for a new field.
    poolLeft_ = kCellCount - (newField ? usedPoolEnd(ed.scenario) : 0);
    connect(TrackBar2_, &QSlider::valueChanged, this, &Tmapcreater::TrackBar2Change);
    connect(TrackBar1_, &QSlider::valueChanged, this, &Tmapcreater::TrackBar1Change);
    TrackBar2Change();
    TrackBar1Change();

    crname_->setText(fromCp932(ed.scenario.settings.scenarioname.view()));
    // Adding a field rewrites the designer from this box, so a new field
    // offers the scenario's own designer rather than an empty box.
    crdesigner_->setText(newField ? fromCp932(ed.scenario.settings.scdesigner.view()) : defaultDesigner());
    const int field = ed.state.currentField;
    if (field >= 1 && field <= kFieldCount) crfield_->setText(fromCp932(ed.scenario.field(field).name.view()));
}

void Tmapcreater::TrackBar2Change() {
    const int p = TrackBar2_->value();
    Shape1_->setFixedWidth(p * 11 + 6);
    Label7_->setText(QString::number(p * 10) + kPieces);
    editor().state.createWidth = p * 10;
    showRemaining();
}

void Tmapcreater::TrackBar1Change() {
    const int q = TrackBar1_->value();
    Shape1_->setFixedHeight(q * 11 + 6);
    Label8_->setText(QString::number(q * 10) + kPieces);
    editor().state.createHeight = q * 10;
    showRemaining();
}

void Tmapcreater::showRemaining() {
    const int left = poolLeft_ - TrackBar2_->value() * TrackBar1_->value() * 100;
    fieldres_->setText(QString::number(left) + kPieces);
}

QString Tmapcreater::widthText() const { return Label7_->text(); }
QString Tmapcreater::heightText() const { return Label8_->text(); }
QString Tmapcreater::remainingText() const { return fieldres_->text(); }

}  // namespace qrn
