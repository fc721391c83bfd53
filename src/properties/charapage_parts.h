// Builders shared by the files of the character page control.
#pragma once

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>

#include "properties/numericedit.h"

namespace qrn::charaparts {

inline QWidget* sheet(QTabWidget* panel, const char* name, const char* caption, int help) {
    auto* w = new QWidget(panel);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("helpContext", help);
    panel->addTab(w, QString::fromUtf8(caption));
    return w;
}

inline QGridLayout* grid(QWidget* sheet) {
    auto* g = new QGridLayout(sheet);
    g->setContentsMargins(4, 4, 4, 4);
    g->setVerticalSpacing(2);
    return g;
}

inline QSpinBox* upDown(const QString& name, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(0, 100);
    s->setFixedWidth(20);
    s->setAttribute(Qt::WA_InputMethodEnabled, false);
    return s;
}

inline NumericEdit* numberBox(const QString& name, NumericRule rule, int tag, QWidget* parent) {
    auto* e = new NumericEdit(std::move(rule), parent);
    e->setObjectName(name);
    if (tag > 0) e->setProperty("tag", tag);
    return e;
}

inline QListWidget* readOnlyList(const QString& name, int height, QWidget* parent) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    l->setFixedHeight(height);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return l;
}

// A labelled numeric box with its buddy label in one grid row.
inline QLabel* labelled(QGridLayout* g, int row, const QString& caption, QWidget* box, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(box);
    g->addWidget(label, row, 0, 1, 2);
    g->addWidget(box, row, 2, 1, 2);
    return label;
}


// A percentage row: the label, the box and its up-down across the sheet.
inline QLabel* percentRow(QGridLayout* g, int row, const QString& caption, QWidget* box, QWidget* upDown,
                          QWidget* parent) {
    auto* line = new QHBoxLayout;
    auto* label = new QLabel(caption, parent);
    label->setBuddy(box);
    box->setFixedWidth(48);
    line->addWidget(label, 1);
    line->addWidget(box);
    line->addWidget(upDown);
    g->addLayout(line, row, 0, 1, 4);
    return label;
}

}  // namespace qrn::charaparts
