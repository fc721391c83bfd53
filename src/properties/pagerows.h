// The rows every object page is built from: its sheets, the name rows, a
// reference row (a set button with its delete and play / view buttons, the
// value label under it and an optional picture), numeric rows and the lists
// under a pair of buttons. A page file lists its rows with these and wires
// them to its handlers with connectRow.
#pragma once

#include <QList>
#include <QPushButton>
#include <QString>

#include "scenario/numericrule.h"

class QGridLayout;
class QLabel;
class QListWidget;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace qrn {

class NumericEdit;
class PictureBox;
class ShortStringEdit;

struct PageRow {
    QPushButton* set = nullptr;
    QPushButton* del = nullptr;
    QPushButton* extra = nullptr;  // play ("play") or view ("view") button
    QLabel* value = nullptr;
    PictureBox* pic = nullptr;

    // Every part the row has, for the rules that open and close it.
    QList<QWidget*> widgets() const;
};

// The shape of a reference row. None: set over two columns, delete in the
// third, the fourth left free. Wide: set over three columns, delete in the
// fourth. Play / View: set, delete and the play or view button. Picture:
// set and delete with the picture box beside them and the value label.
enum class RowExtra { None, Wide, Play, View, Picture };

// Adds the row of setting `base` ("evenemy": evenemyset, evenemydel,
// evenemy, evenemypic ...) at grid row `row` and returns its parts; `row`
// moves past it. Without `withDelete` the row has no delete button.
PageRow addPageRow(QGridLayout* grid, int& row, const char* base, const QString& caption, RowExtra extra,
                   bool withDelete = true);

// A set and a delete button alone on a row (base "chsale": chsaleset,
// chsaledel), for a setting shown by the list under them; `row` moves past.
PageRow addButtonRow(QGridLayout* grid, int& row, const char* base, const QString& caption);

// Connects the buttons of a row to the page's handlers; a missing button or
// handler is left alone.
template <typename Page>
void connectRow(Page* page, const PageRow& r, void (Page::*set)(), void (Page::*del)() = nullptr,
                void (Page::*extra)() = nullptr) {
    const auto on = [page](QPushButton* b, void (Page::*handler)()) {
        if (b && handler) QObject::connect(b, &QPushButton::clicked, page, handler);
    };
    on(r.set, set);
    on(r.del, del);
    on(r.extra, extra);
}

// A sheet `name` of a page control with its help context, and its grid.
QWidget* addSheet(QTabWidget* panel, const char* name, const char* caption, int help);
QGridLayout* sheetGrid(QWidget* sheet);

// The first three rows of every page's first sheet: the page switch label,
// the name label and the name box `name` of 32 bytes.
ShortStringEdit* addNameRows(QGridLayout* grid, int& row, const char* name, const QString& caption);

// A numeric box named `name` (tagged when `tag` > 0) and the small up-down
// beside some of them.
NumericEdit* numberBox(const QString& name, NumericRule rule, int tag, QWidget* parent);
QSpinBox* upDown(const QString& name, int low, int high, QWidget* parent);

// A numeric row: the box's label over two columns and the box over two.
// Returns the label.
QLabel* labelled(QGridLayout* grid, int row, const QString& caption, QWidget* box);
// A numeric row with its up-down: the label, the box over two columns and
// the up-down in the fourth. Returns the label.
QLabel* labelledWithUpDown(QGridLayout* grid, int row, const QString& caption, QWidget* box, QWidget* upDown);
// Opens or closes a numeric box; a closed one is also greyed, so that its
// value reads as not in force.
void openNumericBox(QWidget* box, bool open);
// A percentage row: the label, the box and its up-down across the sheet.
QLabel* percentRow(QGridLayout* grid, int row, const QString& caption, QWidget* box, QWidget* upDown);

// A list the author reads but does not edit in place.
QListWidget* readOnlyList(const QString& name, int height, QWidget* parent);

// The buttons and value labels of the rows.
QPushButton* pageButton(const QString& name, const QString& text, QWidget* parent);
QLabel* valueLabel(const QString& name, QWidget* parent);

}  // namespace qrn
