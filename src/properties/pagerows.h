// The rows of the event and item pages: a set button with its delete and
// play / view buttons, the value label under it and an optional picture.
#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace qrn {

class PictureBox;

struct PageRow {
    QPushButton* set = nullptr;
    QPushButton* del = nullptr;
    QPushButton* extra = nullptr;  // play ("play") or view ("view") button
    QLabel* value = nullptr;
    PictureBox* pic = nullptr;
};

enum class RowExtra { None, Play, View, Picture };

// Adds the row of setting `base` ("evenemy": evenemyset, evenemydel,
// evenemy, evenemypic ...) at grid row `row` and returns its parts; `row`
// moves past it. Without `withDelete` the row has no delete button.
PageRow addPageRow(QGridLayout* grid, int& row, const char* base, const QString& caption, RowExtra extra,
                   bool withDelete = true);

// A grid for a sheet, with the frame's margins.
QGridLayout* sheetGrid(QWidget* sheet);

}  // namespace qrn
