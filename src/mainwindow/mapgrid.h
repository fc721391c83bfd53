// The map grid of the main window: the current field cell by cell, where the
// author paints with the pen and the range tools.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "services/cellgrid.h"
#include "mainwindow/randomform.h"
#include "scenario/celledit.h"

class QMenu;

namespace qrn {

struct Cell;

// Composes map cells: the pictures of a cell's visible layers are drawn, in
// layer order and with their masks, onto one reused 32 x 32 composition chip,
// which is then stretched to the cell size. The result is kept per look (the
// pictures a cell shows): a field uses few different looks, so painting a
// cell is one copy of a ready picture and no allocation.
class CellComposer {
public:
    CellComposer();
    // The picture of a cell (nullptr: no cell record) at `cellPixels`.
    const QImage& cellImage(const Cell* cell, int cellPixels);
    // Starts a repaint: until the next one, cells with the same entries are
    // taken to look the same (the pictures and visibility do not change
    // while painting), so most cells cost one probe of a small table.
    void beginPaint() { ++paint_; }
    // Forgets every composed look (pictures, visibility or size changed).
    void forget();

private:
    // Picture indexes a cell shows, bottom to top (-1 for none).
    using Look = std::array<int, 5>;
    // One composed look in the table: `image` indexes images_, -1 for a free slot.
    struct Slot {
        Look look;
        int image = -1;
    };
    static std::size_t hashOf(const Look& look);
    Look lookOf(const Cell* cell) const;
    // The composed image of a look, made on first use.
    const QImage& lookImage(const Look& look, int cellPixels);
    void compose(const Look& look);
    bool pictureOpaque(int index);

    QImage chip_;                      // the composition chip
    std::vector<signed char> opaque_;  // per picture index: -1 unknown, 0 has transparency, 1 opaque
    // Looks to composed images: an open table probed in place, since
    // painting asks it once for every cell shown.
    std::vector<Slot> slots_;
    std::vector<QImage> images_;
    // This repaint's cells by their entries (enter, event, chara and item
    // bytes, then place) to their images; slots of earlier repaints are free.
    struct EntrySlot {
        std::uint64_t entries = 0;
        unsigned paint = 0;
        const QImage* image = nullptr;
    };
    std::vector<EntrySlot> entrySlots_;
    unsigned paint_ = 1;
    int entriesThisPaint_ = 0;
    unsigned entriesPaint_ = 0;
    int cellPixels_ = 32;
    int pictureCount_ = -1;
};

class MapGrid : public CellGrid {
    Q_OBJECT
public:
    explicit MapGrid(QWidget* parent = nullptr);

    // Field geometry and look.
    void setFieldSize(int columns, int rows);
    void setCellSize(int pixels);             // 32, 24 or 16
    void setGridLines(bool on) { setLineWidth(on ? 1 : 0); }
    void setPopupMenu(QMenu* menu) { popup_ = menu; }  // opened by a right click without dragging

    int cellSize() const { return CellGrid::cellSize().width(); }

    // Moves cursor and selection to a cell, as the jump list does, and makes
    // it the place the field returns to.
    void selectCell(int col, int row);

    void repaintAll();

    // The cell-selection handler (mouse and keyboard moves of the cursor).
    void mapgridSelectCell(int col, int row);
    // Writes the current object of every target layer into a cell.
    void penStroke(int col, int row);
    // Empties every target layer of a cell.
    void clearCell(int col, int row);
    // Space: makes the layer after the current target the only target.
    void spaceTargetChange();

    // Range tools and select all.
    void brushbtnClick();
    void eracebtnClick();
    void randombrushbtnClick();
    void randomeracebtnClick();
    void allselectbtnClick();
    // Property mode: show the next layer's object of the cursor cell.
    void propstatechange();

    // Where the random tools get their ratio; by default the ratio dialog.
    void setRatioProvider(std::function<int(Trandomform::Role)> provider);
    void seedRandom(std::uint32_t seed) { random_.seed(seed); }

protected:
    // The cell composed of its visible layers.
    void paintCell(QPainter& painter, const QRect& rect, int col, int row) override;
    void paintEvent(QPaintEvent* event) override;
    // The author's moves run the cell-selection handler.
    void cursorChanged(int col, int row, bool byUser) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    Cell* cellRecord(int col, int row) const;
    // Repaints the cells an operation changed, merged into few rectangles.
    void repaintChanged(const ChangedCells& changed);
    // What the tools draw with, and the selection as a cell range.
    DrawChoice drawChoice() const;
    CellRange selectedRange() const;
    int askRatio(Trandomform::Role role);

    QMenu* popup_ = nullptr;
    CellComposer composer_;
    std::function<int(Trandomform::Role)> ratioProvider_;
    std::mt19937 random_;
};

}  // namespace qrn
