// The property editor among the real windows: opened from a map cell in
// property mode and from the palette, with Shift+keys moving their cursors.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QSlider>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "properties/paramedit.h"
#include "properties/placepage.h"
#include "services/shortstringedit.h"
#include "scenario/fieldops.h"
#include "views/palette.h"
#include "scenario/maplayers.h"
#include "views/palette_widgets.h"

namespace qrn::test {
namespace {

class ParameditWiring : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        paramedit = editorWindows().paramedit;
        maker->runCreationDialog = [](Tmapcreater& dialog) {
            dialog.widthSlider()->setValue(2);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->createnew();  // field 1: 20 x 10
        for (int layer = kPlace; layer <= kChara; ++layer) firstImageFile(s, layer, 2)->assign("chip.bmp");
        for (int n = 1; n <= 20 * 10; ++n) {
            Cell& c = s.cell(cellOf(s, 1, n));
            c.place = 0;
            c.enter = c.event = c.item = c.chara = 0;
        }
        Cell& used = s.cell(cellOf(s, 1, 1 * 20 + 3 + 1));  // (3,1)
        used.place = 2;
        used.enter = 2;
        s.cell(cellOf(s, 1, 2 * 20 + 3 + 1)).place = 999;  // (3,2): beyond the table
        editor().state.drawMode = 0;
        editor().state.propertyLayer = 5;
    }

    void shift(QWidget* to, int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::ShiftModifier);
        QCoreApplication::sendEvent(to, &e);
    }

    Scenario& s = editor().scenario;
    Tmaker* maker = nullptr;
    Tparamedit* paramedit = nullptr;
};

TEST_F(ParameditWiring, PropertyModeStepsThroughTheLayersOfACell) {
    MapGrid* map = maker->mapgrid();
    map->setCursorCell(2, 1);  // nothing on it
    map->propstatechange();
    EXPECT_FALSE(paramedit->isVisible());
    map->setCursorCell(3, 2);  // a damaged terrain number counts as empty
    map->propstatechange();
    EXPECT_FALSE(paramedit->isVisible());

    map->setCursorCell(3, 1);
    map->propstatechange();
    ASSERT_TRUE(paramedit->isVisible());
    EXPECT_EQ(paramedit->shownLayer(), kPlace);
    EXPECT_EQ(paramedit->currentObject(kPlace), 2);
    EXPECT_FALSE(paramedit->openedFromPalette());
    EXPECT_EQ(editor().drawing.currentObject[kPlace], 2);
    map->propstatechange();
    EXPECT_EQ(paramedit->shownLayer(), kEnter);

    map->setCursorCell(3, 1);
    map->propstatechange();  // back to the terrain
    shift(paramedit->placePage()->placename(), Qt::Key_Down);
    EXPECT_EQ(map->cursorCell(), QPoint(3, 2));
    EXPECT_TRUE(paramedit->isVisible());
}

TEST_F(ParameditWiring, PaletteDoubleClickOpensAndShiftKeysMoveThePalette) {
    Tpalette* palette = editorWindows().palette;
    palette->show();
    palette->setActivePage(0);
    palette->cellSelect(kPlace, 2);
    palette->gridDblClick(kPlace, 2, false);
    ASSERT_TRUE(paramedit->isVisible());
    EXPECT_TRUE(paramedit->openedFromPalette());
    EXPECT_EQ(paramedit->currentObject(kPlace), 2);
    const int before = palette->grid(kPlace)->currentNumber();
    shift(paramedit->placePage()->placename(), Qt::Key_Right);
    EXPECT_EQ(palette->grid(kPlace)->currentNumber(), before + 1);
}

}  // namespace
}  // namespace qrn::test
