#include "views/serchresult.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/textconv.h"
#include "views/chipserch.h"
#include "services/slotname.h"

namespace qrn {

Tserchresult::Tserchresult(QWidget* parent)
    : QMainWindow(parent, Qt::Tool),
      fieldname_(new QLabel),
      xylabel_(new QLabel),
      chipname_(new QLabel),
      serchresultok_(new QPushButton(QStringLiteral("次を検索(&F)"))),
      serchresultclose_(new QPushButton(QStringLiteral("終了(&C)"))) {
    setObjectName(QStringLiteral("serchresult"));
    setWindowTitle(QStringLiteral("ﾁｯﾌﾟ検索"));
    setProperty("helpContext", 123000);
    runSearchDialog = [](Tchipserch& dialog) { return dialog.exec() == QDialog::Accepted; };
    fieldname_->setObjectName(QStringLiteral("fieldname"));
    xylabel_->setObjectName(QStringLiteral("xylabel"));
    chipname_->setObjectName(QStringLiteral("chipname"));
    serchresultok_->setObjectName(QStringLiteral("serchresultok"));
    serchresultclose_->setObjectName(QStringLiteral("serchresultclose"));
    auto* toMap = new QPushButton(QStringLiteral("(&M)"));
    auto* toPalette = new QPushButton(QStringLiteral("(&P)"));
    for (QPushButton* b : {toMap, toPalette}) b->setFixedWidth(32);

    auto* central = new QWidget;
    auto* labels = new QVBoxLayout;
    labels->addWidget(fieldname_);
    labels->addWidget(xylabel_);
    labels->addWidget(chipname_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(serchresultok_);
    buttons->addWidget(serchresultclose_);
    buttons->addWidget(toMap);
    buttons->addWidget(toPalette);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(labels);
    layout->addLayout(buttons);
    setCentralWidget(central);
    serchresultok_->setDefault(true);

    connect(serchresultok_, &QPushButton::clicked, this, &Tserchresult::getstart);
    connect(serchresultclose_, &QPushButton::clicked, this, &QWidget::hide);
    connect(toMap, &QPushButton::clicked, this, &Tserchresult::focusMap);
    connect(toPalette, &QPushButton::clicked, this, &Tserchresult::focusPalette);
}

void Tserchresult::chipSearch(int layer, int number) {
    Tchipserch dialog(layer, number, parentWidget());
    if (!runSearchDialog(dialog)) return;
    setserch(number, layer - kPlace, dialog.fromTop(), dialog.allFields());
}

void Tserchresult::setserch(int object, int layer, bool fromTop, bool allFields) {
    const EditorContext& ed = editor();
    const int col = ed.state.cursorCol;
    const int row = ed.state.cursorRow;
    const bool onMap = col >= 0 && col < kMaxFieldSide && row >= 0 && row < kMaxFieldSide;
    const int cursorCell = onMap ? ed.cellIndexMap[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] : 0;
    state_ = qrn::setserch(ed.scenario, object, layer, fromTop, allFields, ed.state.currentField, cursorCell);
    getstart();
}

void Tserchresult::getstart() {
    EditorContext& ed = editor();
    const SearchHit hit = qrn::getstart(ed.scenario, state_);
    if (hit.outcome != SearchOutcome::Found) {
        const QString text = hit.outcome == SearchOutcome::NoMoreInField
                                 ? QStringLiteral("もうチップはありません。")
                                 : QStringLiteral("全てのフィールドを検索しました。");
        if (ed.messages) ed.messages->information(this, text);
        hide();
        return;
    }
    emit moveMapCursor(hit.field, hit.col, hit.row);
    fieldname_->setText(QStringLiteral("ﾌｨｰﾙﾄﾞ名：") + fromCp932(ed.scenario.field(hit.field).name.view()));
    xylabel_->setText(QStringLiteral("座標  X:%1  Y:%2").arg(hit.col + 1).arg(hit.row + 1));
    chipname_->setText(QStringLiteral("ﾁｯﾌﾟ名：") +
                       slotName(ed.scenario, state_.searchLayer + kPlace, state_.searchObject));
    show();
    raise();
}

}  // namespace qrn
