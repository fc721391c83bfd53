// Copy mode among the real windows: the palette, the field manager and the
// ratio dialog stay usable while the main window's map, menus and tool bar
// wait for the copy to end.
#include <QAction>
#include <QMenuBar>
#include <QSlider>
#include <QToolBar>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/randomform.h"
#include "fields/fieldman.h"
#include "scenario/fieldops.h"
#include "views/chipview.h"
#include "views/minimap.h"
#include "views/palette.h"
#include "scenario/maplayers.h"
#include "views/palette_widgets.h"

namespace qrn::test {
namespace {

class PaletteCopyWithMaker : public EditorFixture {};

TEST_F(PaletteCopyWithMaker, CopyEndToEndLeavesTheToolWindowsUsable) {
    createWindows();
    EditorContext& ed = editor();
    Tmaker* maker = editorWindows().maker;
    maker->runCreationDialog = [](Tmapcreater& dialog) {
        dialog.widthSlider()->setValue(1);
        dialog.heightSlider()->setValue(1);
        return true;
    };
    maker->show();
    maker->createnew();
    Scenario& s = ed.scenario;
    s.enter(1).name.assign("gate");
    firstImageFile(s, kEnter, 1)->assign("gate.bmp");
    ASSERT_TRUE(objectInUse(s, kEnter, 1));
    options.tellmsg = false;

    Tpalette* palette = editorWindows().palette;
    maker->command("palettemenu")->trigger();
    editorWindows().fieldman->show();
    editorWindows().randomform->show();
    palette->setActivePage(1);
    palette->cellSelect(kEnter, 1);
    palette->copyAction()->trigger();
    ASSERT_TRUE(ed.drawing.copyMode);

    // What the author needs to finish or leave the copy is usable...
    for (QWidget* w : std::initializer_list<QWidget*>{palette, palette->grid(kEnter), editorWindows().fieldman, editorWindows().randomform})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(palette->copyAction()->isEnabled());
    // ...and what the copy locks is not.
    for (QWidget* w : std::initializer_list<QWidget*>{maker->mapgrid(), maker->menuBar(), maker->makertool(),
                                                       editorWindows().chipview, editorWindows().minimap})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(palette->deleteAction()->isEnabled());

    palette->gridDblClick(kEnter, 4, false);
    EXPECT_FALSE(ed.drawing.copyMode);
    EXPECT_EQ(s.enter(4).name.str(), "gate");
    EXPECT_EQ(firstImageFile(s, kEnter, 4)->str(), "gate.bmp");
    for (QWidget* w : std::initializer_list<QWidget*>{maker->mapgrid(), maker->menuBar(), maker->makertool(),
                                                       editorWindows().chipview, editorWindows().minimap, palette})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(palette->deleteAction()->isEnabled());

    // Leaving copy mode by the copy command unlocks the same.
    palette->copyAction()->trigger();
    ASSERT_TRUE(ed.drawing.copyMode);
    EXPECT_FALSE(maker->mapgrid()->isEnabled());
    palette->copyAction()->trigger();
    EXPECT_FALSE(ed.drawing.copyMode);
    EXPECT_TRUE(maker->mapgrid()->isEnabled());
    EXPECT_TRUE(maker->menuBar()->isEnabled());
}

}  // namespace
}  // namespace qrn::test
