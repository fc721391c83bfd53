// The parts of a palette page: the picture grid and the name list of one
// layer's object slots, and the draw box that shows a layer's current object.
#pragma once

#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include "services/cellgrid.h"

namespace qrn {

// Cells of a page numbered row by row from 1: the picture grid has 10
// columns of 32 x 32 cells, the name list 2 columns of 160 x 16 cells, so
// each has exactly one cell per object slot of its layer.
class PaletteCellGrid : public CellGrid {
    Q_OBJECT
public:
    enum Kind { Pictures, Names };
    PaletteCellGrid(int layer, Kind kind, QWidget* parent = nullptr);

    int layer() const { return layer_; }
    Kind kind() const { return kind_; }

    // The fixed mappings between cells and object numbers.
    int numberAt(int col, int row) const;
    QPoint cellOf(int number) const;

    int currentNumber() const { return numberAt(cursorCell().x(), cursorCell().y()); }
    QPoint currentCell() const { return cursorCell(); }
    // Moves the cursor to an object's cell without reporting a selection.
    void setCurrentNumber(int number);

    // Name list: the text of every slot (index 0 is object 1).
    void setNames(const QStringList& names);
    QString nameText(int number) const;

    void repaintNumber(int number);

    // What a picture grid says over its cells while no slot of its layer is
    // in use (empty otherwise, and always for the name list).
    QString hintText() const;

signals:
    // The cursor moved to a cell by mouse or keyboard.
    void cellSelected(int number);
    // Double click or Enter on the cursor cell.
    void cellActivated(int number);

protected:
    void paintCell(QPainter& painter, const QRect& rect, int col, int row) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int layer_;
    Kind kind_;
    QStringList names_;
};

// A 32 x 32 box with the current object of one layer, framed in red while
// the layer is a draw target.
class DrawBox : public QWidget {
    Q_OBJECT
public:
    DrawBox(int layer, const QPixmap* blankPicture, QWidget* parent = nullptr);
    int layer() const { return layer_; }
    QSize sizeHint() const override { return {32, 32}; }

signals:
    void clicked(int layer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int layer_;
    const QPixmap* blankPicture_;
};

}  // namespace qrn
