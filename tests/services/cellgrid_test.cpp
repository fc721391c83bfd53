// The cell grid under the map, the palette and the image view: keys and
// scrolling, mouse to cell mapping, and what it paints around the cells.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

#include "services/cellgrid.h"

namespace qrn {
namespace {

const QRgb kCellColour = qRgb(0, 0, 200);

// Cells of 20 x 10 with a line of 1 pixel; 94 x 60 pixels show 4 whole
// columns and 5 whole rows and a part of the next.
class TestGrid : public CellGrid {
public:
    TestGrid(int columns, int rows) {
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setGridSize(columns, rows);
        setCellSize(QSize(20, 10));
        setLineWidth(1);
        setLineColour(Qt::white);
        setOutsideColour(Qt::black);
        resize(94, 60);
        connect(this, &CellGrid::cursorMoved, [this](int c, int r) { moved.emplace_back(c, r); });
        connect(this, &CellGrid::picked, [this](int c, int r) { picks.emplace_back(c, r); });
        connect(this, &CellGrid::activated, [this](int c, int r) { activations.emplace_back(c, r); });
        show();
        QApplication::processEvents();
    }
    std::vector<QPoint> moved, picks, activations, refused;

protected:
    void paintCell(QPainter& painter, const QRect& rect, int, int) override { painter.fillRect(rect, QColor(kCellColour)); }
    bool acceptsCursor(int col, int row) const override {
        return std::find(refused.begin(), refused.end(), QPoint(col, row)) == refused.end();
    }
};

bool sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
    return press.isAccepted();
}

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

TEST(CellGridTest, KeysMoveTheCursorAndScrollItIntoViewByWholeCells) {
    TestGrid grid(12, 30);
    ASSERT_EQ(grid.fullyVisibleColumns(), 4);
    ASSERT_EQ(grid.fullyVisibleRows(), 5);
    EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 8);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 25);

    for (int i = 0; i < 5; ++i) sendKey(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.cursorCell(), QPoint(0, 5));
    EXPECT_EQ(grid.topRow(), 1);  // the cursor row is the last whole row shown
    sendKey(&grid, Qt::Key_PageDown);
    EXPECT_EQ(grid.cursorCell(), QPoint(0, 10));
    EXPECT_EQ(grid.topRow(), 6);
    sendKey(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.cursorCell(), QPoint(11, 29));
    EXPECT_EQ(grid.leftCol(), 8);
    EXPECT_EQ(grid.topRow(), 25);
    sendKey(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.cursorCell(), QPoint(0, 29));
    EXPECT_EQ(grid.leftCol(), 0);
    EXPECT_EQ(grid.picks.size(), 8u);
    sendKey(&grid, Qt::Key_Left);  // at the edge: no move, nothing reported
    EXPECT_EQ(grid.picks.size(), 8u);
    EXPECT_EQ(grid.moved, grid.picks);

    EXPECT_TRUE(sendKey(&grid, Qt::Key_Return));
    EXPECT_EQ(grid.activations, std::vector<QPoint>{QPoint(0, 29)});
    EXPECT_FALSE(sendKey(&grid, Qt::Key_A));  // left to the window

    // A move by the program scrolls and is reported, but not as picked.
    grid.setCursorCell(3, 2);
    EXPECT_EQ(grid.topRow(), 2);
    EXPECT_EQ(grid.moved.back(), QPoint(3, 2));
    EXPECT_EQ(grid.picks.size(), 8u);

    // Shift extends a selection only in range mode.
    sendKey(&grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.selection(), QRect(4, 2, 1, 1));
    grid.setRangeSelection(true);
    sendKey(&grid, Qt::Key_Down, Qt::ShiftModifier);
    sendKey(&grid, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(grid.selection(), QRect(QPoint(3, 2), QPoint(4, 3)));
    grid.setRangeSelection(false);
    EXPECT_EQ(grid.selection(), QRect(3, 3, 1, 1));
}

TEST(CellGridTest, MousePositionsMapToCellsAcrossLinesAndScrolling) {
    TestGrid grid(12, 30);
    grid.horizontalScrollBar()->setValue(2);
    grid.verticalScrollBar()->setValue(3);
    EXPECT_EQ(grid.cellAt({0, 0}), QPoint(2, 3));
    EXPECT_EQ(grid.cellAt({20, 10}), QPoint(2, 3));  // the line belongs to the cell before it
    EXPECT_EQ(grid.cellAt({21, 11}), QPoint(3, 4));
    EXPECT_EQ(grid.cellAt({-1, 5}), QPoint(-1, -1));
    EXPECT_EQ(grid.cellRect(3, 4), QRect(21, 11, 20, 10));
    EXPECT_EQ(grid.cellRect(0, 0), QRect(-42, -33, 20, 10));
    grid.horizontalScrollBar()->setValue(8);
    EXPECT_EQ(grid.cellAt({4 * 21 + 3, 0}), QPoint(-1, -1));  // beyond the last column

    QWidget* view = grid.viewport();
    sendMouse(view, QEvent::MouseButtonPress, grid.cellRect(10, 5).center(), Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, grid.cellRect(10, 5).center(), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid.picks, std::vector<QPoint>{QPoint(10, 5)});
    sendMouse(view, QEvent::MouseButtonDblClick, grid.cellRect(10, 5).center(), Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, grid.cellRect(10, 5).center(), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid.activations, std::vector<QPoint>{QPoint(10, 5)});
    sendMouse(view, QEvent::MouseButtonPress, {90, 5}, Qt::LeftButton, Qt::LeftButton);  // outside: nothing
    sendMouse(view, QEvent::MouseButtonDblClick, {90, 5}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, {90, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid.picks.size(), 1u);
    EXPECT_EQ(grid.activations.size(), 1u);

    // Dragging moves the cursor only where asked for; a mouse beyond the
    // viewport takes the cell at its edge, which scrolls into view.
    const auto drag = [&](QPoint from, QPoint to) {
        sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        sendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        sendMouse(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    };
    drag(grid.cellRect(9, 4).center(), grid.cellRect(11, 6).center());
    EXPECT_EQ(grid.cursorCell(), QPoint(9, 4));
    grid.setDragFollows(true);
    grid.setRangeSelection(true);
    drag(grid.cellRect(9, 4).center(), {40, 500});
    EXPECT_EQ(grid.cursorCell(), QPoint(9, 8));
    EXPECT_EQ(grid.topRow(), 4);
    EXPECT_EQ(grid.selection(), QRect(QPoint(9, 4), QPoint(9, 8)));
}

TEST(CellGridTest, PaintsLinesTheOutsideAndFramesCursorAndSelection) {
    TestGrid grid(3, 2);
    grid.setRangeSelection(true);
    grid.setSelection(QRect(1, 0, 2, 2));
    const auto pixel = [&](QPoint pos) { return grid.viewport()->grab().toImage().pixel(pos) | 0xFF000000u; };
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(pixel({10, 5}), kCellColour);
    EXPECT_EQ(pixel({20, 5}), qRgb(255, 255, 255));  // the line after the first column
    EXPECT_EQ(pixel({70, 5}), qRgb(0, 0, 0));        // beyond the grid
    EXPECT_EQ(pixel({10, 30}), qRgb(0, 0, 0));
    EXPECT_EQ(pixel(grid.cellRect(0, 0).topLeft()), red);  // the cursor
    EXPECT_EQ(pixel(grid.cellRect(2, 1).bottomRight()), red);  // the selection
    EXPECT_EQ(pixel(grid.cellRect(0, 1).topLeft()), kCellColour);
    grid.setCursorFrame(false);
    EXPECT_EQ(pixel(grid.cellRect(0, 0).topLeft()), kCellColour);
    EXPECT_EQ(pixel(grid.cellRect(2, 1).bottomRight()), kCellColour);
}

// The location picker's grid starts without a cursor and refuses cells to
// the author: keys start from the first cell, a refused cell is neither
// picked nor activated, and the program may still put the cursor there.
TEST(CellGridTest, NoCursorAndCellsRefusedToTheAuthor) {
    TestGrid grid(3, 2);
    grid.refused = {QPoint(1, 0), QPoint(2, 1)};
    grid.setCursorCell(1, 1);
    grid.clearCursor();
    EXPECT_EQ(grid.cursorCell(), QPoint(-1, -1));
    EXPECT_EQ(grid.viewport()->grab().toImage().pixel(grid.cellRect(1, 1).topLeft()) | 0xFF000000u, kCellColour);
    EXPECT_FALSE(sendKey(&grid, Qt::Key_Return));
    sendKey(&grid, Qt::Key_Right);  // (1, 0) is refused
    EXPECT_EQ(grid.cursorCell(), QPoint(-1, -1));
    sendKey(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.cursorCell(), QPoint(0, 1));

    QWidget* view = grid.viewport();
    const QPoint refused = grid.cellRect(2, 1).center();
    sendMouse(view, QEvent::MouseButtonPress, refused, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, refused, Qt::LeftButton, Qt::NoButton);
    sendMouse(view, QEvent::MouseButtonDblClick, refused, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, refused, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid.cursorCell(), QPoint(0, 1));
    EXPECT_EQ(grid.picks, std::vector<QPoint>{QPoint(0, 1)});
    EXPECT_TRUE(grid.activations.empty());
    grid.setCursorCell(2, 1);
    EXPECT_EQ(grid.moved.back(), QPoint(2, 1));
}

}  // namespace
}  // namespace qrn
