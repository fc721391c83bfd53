// The whole-area map beside the real main window: its size at every scale
// follows the shown field, its picture is the terrain alone, and a
// double-click moves the map's cursor to the cell pressed last.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "scenario/fieldops.h"
#include "views/minimap.h"
#include "scenario/maplayers.h"

namespace qrn::test {
namespace {

class MinimapTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        minimap = editorWindows().minimap;
        maker->runCreationDialog = [](Tmapcreater& dialog) {
            dialog.widthSlider()->setValue(2);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->createnew();  // field 1: 20 x 10
        ASSERT_EQ(placeNewField(s, 2, 120, 120), AddFieldResult::Added);
        ASSERT_EQ(placeNewField(s, 3, 10, 10), AddFieldResult::Added);
        EditorContext& ed = editor();
        QImage chip(32, 32, QImage::Format_RGB32);
        chip.fill(Qt::red);
        ed.side.pictures.place[3] = ed.imageList.add(chip, false, 0);
        chip.fill(Qt::green);
        ed.side.pictures.enter[1] = ed.imageList.add(chip, false, 0);
        minimap->show();
    }
    void showField(int field) {
        editor().state.currentField = static_cast<std::uint8_t>(field);
        maker->fieldonchange();
    }
    Cell& at(int field, int col, int row) { return s.cell(cellOf(s, field, row * s.field(field).width + col + 1)); }
    void mouse(QEvent::Type type, QPoint p) {
        QMouseEvent event(type, p, minimap->minimapgrid()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(minimap->minimapgrid(), &event);
    }
    // The miniature as it should be: the blank chip's colour, red where terrain 3 lies.
    QImage expected(int columns, int rows, int side, std::initializer_list<QPoint> red) {
        QImage image(columns * side, rows * side, QImage::Format_RGB32);
        image.fill(editor().imageList.blankChip().toImage().pixel(0, 0));
        QPainter p(&image);
        for (QPoint c : red) p.fillRect(c.x() * side, c.y() * side, side, side, Qt::red);
        return image;
    }

    Scenario& s = editor().scenario;
    Tmaker* maker = nullptr;
    Tminimap* minimap = nullptr;
};

TEST_F(MinimapTest, ClientAreaIsTheFieldAtTheChosenScale) {
    struct Case {
        int field, scale;
        QSize size;
    };
    for (const Case& c : {Case{3, 0, {30, 30}}, Case{2, 4, {1800, 1800}}, Case{1, 2, {180, 90}}, Case{1, 4, {300, 150}}}) {
        minimap->popupMenu()->actions()[2 + c.scale]->trigger();  // after "再描画" and the separator
        showField(c.field);
        EXPECT_EQ(minimap->minimapgrid()->size(), c.size) << c.field << " " << c.scale;
        EXPECT_EQ(minimap->size(), c.size) << c.field << " " << c.scale;
        EXPECT_EQ(minimap->minimapgrid()->image().size(), c.size) << c.field << " " << c.scale;
    }
}

TEST_F(MinimapTest, OnlyTerrainIsDrawnAndOnlyWhenAskedAgain) {
    at(3, 0, 0).place = 3;
    at(3, 9, 9).place = 3;
    at(3, 1, 0).enter = 1;  // a building without terrain: the blank chip
    at(3, 2, 0).place = 9999;  // a damaged entry: the blank chip
    minimap->setScale(0);
    showField(3);
    EXPECT_EQ(minimap->minimapgrid()->image(), expected(10, 10, 3, {{0, 0}, {9, 9}}));

    at(3, 5, 5).place = 3;  // drawing on the map does not redraw the miniature
    minimap->setScale(1);
    minimap->setScale(0);  // but sizing it again does
    EXPECT_EQ(minimap->minimapgrid()->image(), expected(10, 10, 3, {{0, 0}, {9, 9}, {5, 5}}));
    at(3, 6, 6).place = 3;
    minimap->popupMenu()->actions()[0]->trigger();  // 再描画
    EXPECT_EQ(minimap->minimapgrid()->image(), expected(10, 10, 3, {{0, 0}, {9, 9}, {5, 5}, {6, 6}}));
}

TEST_F(MinimapTest, DoubleClickMovesTheCursorToTheCellPressedLast) {
    minimap->setScale(4);
    showField(1);
    maker->mapgrid()->selectCell(4, 4);
    mouse(QEvent::MouseButtonDblClick, QPoint(100, 100));  // no press yet: the cell of the start
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(0, 0));
    mouse(QEvent::MouseButtonPress, QPoint(15 * 7 + 3, 15 * 5 + 14));
    EXPECT_EQ(minimap->minimapCell(), QPoint(7, 5));
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(0, 0));  // a press alone moves nothing
    mouse(QEvent::MouseButtonDblClick, QPoint(0, 0));
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(7, 5));
    EXPECT_EQ(editor().state.cursorCol, 7);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(minimap, &escape);
    EXPECT_FALSE(minimap->isVisible());
}

}  // namespace
}  // namespace qrn::test
