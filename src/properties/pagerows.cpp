#include "properties/pagerows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>

#include "services/keycaption.h"
#include "pickers/picturebox.h"
#include "properties/numericedit.h"
#include "services/imeset.h"
#include "services/shortstringedit.h"

namespace qrn {

QList<QWidget*> PageRow::widgets() const {
    QList<QWidget*> parts;
    for (QWidget* w : std::initializer_list<QWidget*>{value, set, del, extra, pic})
        if (w) parts << w;
    return parts;
}

PageRow addPageRow(QGridLayout* grid, int& row, const char* base, const QString& caption, RowExtra extra,
                   bool withDelete) {
    QWidget* parent = grid->parentWidget();
    const QString name = QString::fromLatin1(base);
    PageRow r;
    r.set = pageButton(name + QStringLiteral("set"), caption, parent);
    const int setSpan = !withDelete || extra == RowExtra::Wide ? 3 : 2;
    grid->addWidget(r.set, row, 0, 1, setSpan);
    if (withDelete) {
        r.del = pageButton(name + QStringLiteral("del"), QStringLiteral("消"), parent);
        grid->addWidget(r.del, row, setSpan);
    }
    r.value = valueLabel(name, parent);
    switch (extra) {
    case RowExtra::Play:
        r.extra = pageButton(name + QStringLiteral("play"), QStringLiteral("♪"), parent);
        grid->addWidget(r.extra, row, 3);
        grid->addWidget(r.value, row + 1, 0, 1, 4);
        break;
    case RowExtra::View:
        r.extra = pageButton(name + QStringLiteral("view"), QStringLiteral("表示"), parent);
        grid->addWidget(r.extra, row, 3);
        grid->addWidget(r.value, row + 1, 0, 1, 4);
        break;
    case RowExtra::Picture:
        r.pic = new PictureBox(name + QStringLiteral("pic"), parent);
        grid->addWidget(r.pic, row, 3, 2, 1);
        grid->addWidget(r.value, row + 1, 0, 1, 3);
        break;
    case RowExtra::None:
    case RowExtra::Wide: grid->addWidget(r.value, row + 1, 0, 1, 4); break;
    }
    row += 2;
    return r;
}

PageRow addButtonRow(QGridLayout* grid, int& row, const char* base, const QString& caption) {
    QWidget* parent = grid->parentWidget();
    const QString name = QString::fromLatin1(base);
    PageRow r;
    r.set = pageButton(name + QStringLiteral("set"), caption, parent);
    r.del = pageButton(name + QStringLiteral("del"), QStringLiteral("消"), parent);
    grid->addWidget(r.set, row, 0, 1, 3);
    grid->addWidget(r.del, row, 3);
    ++row;
    return r;
}

QWidget* addSheet(QTabWidget* panel, const char* name, const char* caption, int help) {
    auto* w = new QWidget(panel);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("helpContext", help);
    panel->addTab(w, QString::fromUtf8(caption));
    return w;
}

QGridLayout* sheetGrid(QWidget* sheet) {
    auto* g = new QGridLayout(sheet);
    g->setContentsMargins(4, 4, 4, 4);
    g->setVerticalSpacing(2);
    return g;
}

ShortStringEdit* addNameRows(QGridLayout* grid, int& row, const char* name, const QString& caption) {
    QWidget* parent = grid->parentWidget();
    grid->addWidget(new KeyCaption(QStringLiteral("ﾍﾟｰｼﾞ切替(&W)"), parent), row++, 0, 1, 4);
    auto* label = new QLabel(caption, parent);
    auto* box = new ShortStringEdit(32, parent);
    box->setObjectName(QString::fromLatin1(name));
    label->setBuddy(box);
    imesetOnEnter(box);
    grid->addWidget(label, row++, 0, 1, 4);
    grid->addWidget(box, row++, 0, 1, 4);
    return box;
}

NumericEdit* numberBox(const QString& name, NumericRule rule, int tag, QWidget* parent) {
    auto* e = new NumericEdit(std::move(rule), parent);
    e->setObjectName(name);
    if (tag > 0) e->setProperty("tag", tag);
    return e;
}

QSpinBox* upDown(const QString& name, int low, int high, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(low, high);
    s->setFixedWidth(20);
    s->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    s->setAttribute(Qt::WA_InputMethodEnabled, false);
    return s;
}

QLabel* labelled(QGridLayout* grid, int row, const QString& caption, QWidget* box) {
    auto* label = new QLabel(caption, grid->parentWidget());
    label->setBuddy(box);
    grid->addWidget(label, row, 0, 1, 2);
    grid->addWidget(box, row, 2, 1, 2);
    return label;
}

QLabel* labelledWithUpDown(QGridLayout* grid, int row, const QString& caption, QWidget* box, QWidget* upDown) {
    auto* label = new QLabel(caption, grid->parentWidget());
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1, 1, 2);
    grid->addWidget(upDown, row, 3);
    return label;
}

void openNumericBox(QWidget* box, bool open) {
    box->setEnabled(open);
    box->setBackgroundRole(open ? QPalette::Base : QPalette::Window);
}

QLabel* percentRow(QGridLayout* grid, int row, const QString& caption, QWidget* box, QWidget* upDown) {
    auto* line = new QHBoxLayout;
    auto* label = new QLabel(caption, grid->parentWidget());
    label->setBuddy(box);
    box->setFixedWidth(48);
    line->addWidget(label, 1);
    line->addWidget(box);
    line->addWidget(upDown);
    grid->addLayout(line, row, 0, 1, 4);
    return label;
}

QListWidget* readOnlyList(const QString& name, int height, QWidget* parent) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    l->setFixedHeight(height);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return l;
}

QPushButton* pageButton(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* valueLabel(const QString& name, QWidget* parent) {
    auto* l = new QLabel(QStringLiteral("-"), parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(40);
    return l;
}

}  // namespace qrn
