// The whole-area map: the terrain of the current field in miniature, one
// small square per cell; a double-click moves the map's cursor there.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <array>

#include "scenario/resets.h"
#include "scenario/scenario.h"

class QAction;
class QMenu;

namespace qrn {

class PictureList;

// Cell side in pixels of the five scales 極小, 小, 中, 大, 極大.
inline constexpr std::array<int, 5> kMinimapSides{3, 6, 9, 12, 15};

using CellIndexMap = std::array<std::array<int, kMaxFieldSide>, kMaxFieldSide>;

// The miniature of a field of columns x rows: cell (c, r), whose record is
// cell number cells[c][r], drawn as a side x side square from its terrain
// alone, through the map's rule for a cell's look; a cell without terrain
// (or without a record) shows the blank chip. Sizes are cut to 120 x 120.
QImage renderMiniature(const Scenario& s, const CellIndexMap& cells, int columns, int rows, int side,
                       const PictureList& list, const PictureIndexTables& pictures);

// The miniature on screen: shows a ready image, reports presses by cell.
class MinimapGrid : public QWidget {
    Q_OBJECT
public:
    explicit MinimapGrid(QWidget* parent = nullptr);
    void setImage(const QImage& image, int side);
    const QImage& image() const { return image_; }

signals:
    void cellPressed(int col, int row);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage image_;
    int side_ = 9;
};

class Tminimap : public QMainWindow {
    Q_OBJECT
public:
    explicit Tminimap(QWidget* parent = nullptr);

    // Sizes the miniature for the current field and the scale, and draws it
    // again (at once when shown, else when next shown).
    void minimapsize();
    // "再描画": draws the miniature again from the cells as they are now.
    void redraw();
    // Chooses scale 0..4 (極小 .. 極大) and sizes the miniature.
    void setScale(int scale);
    int minimapScale() const { return minimapScale_; }
    QPoint minimapCell() const { return minimapCell_; }
    MinimapGrid* minimapgrid() const { return minimapgrid_; }
    QMenu* popupMenu() const { return popup_; }

signals:
    // The map's cursor goes to (col, row) of `field`.
    void moveMapCursor(int field, int col, int row);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void cellPressed(int col, int row);
    void minimapDblClick();

    MinimapGrid* minimapgrid_;
    QMenu* popup_;
    std::array<QAction*, 5> scaleActions_{};
    int minimapScale_ = 2;
    QPoint minimapCell_{0, 0};
    bool placed_ = false;
    bool stale_ = true;  // the image does not show the field as it is
};

}  // namespace qrn
