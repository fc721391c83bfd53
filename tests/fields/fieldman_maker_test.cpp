// The field manager beside the real main window: the jump list moves the
// map cursor, open shows a field, the escape location comes from the picker.
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "fields/fieldman.h"
#include "fields/locateselect.h"
#include "scenario/fieldops.h"

namespace qrn::test {
namespace {

class FieldmanWithMaker : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        fieldman = editorWindows().fieldman;
        maker->runCreationDialog = [](Tmapcreater& dialog) {
            dialog.widthSlider()->setValue(2);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->createnew();  // field 1: 20 x 10
        ASSERT_EQ(placeNewField(s, 2, 30, 20), AddFieldResult::Added);
        s.cell(cellOf(s, 1, 2 * 20 + 5 + 1)).enter = 9;  // (6,3) on the map
        s.enter(9).jumpField = 2;
        s.enter(9).jumpPosition = 1;
        editor().state.currentField = 1;
        maker->fieldonchange();
        fieldman->makefieldman();
    }

    Scenario& s = editor().scenario;
    Tmaker* maker = nullptr;
    Tfieldman* fieldman = nullptr;
};

TEST_F(FieldmanWithMaker, JumpListMovesTheMapCursorOnlyOnTheShownField) {
    ASSERT_EQ(fieldman->jamplist()->count(), 1);
    fieldman->jamplistActivate(0);
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(5, 2));

    fieldman->selectField(2);
    fieldman->openbtnClick();
    EXPECT_EQ(editor().state.currentField, 2);
    EXPECT_EQ(maker->mapgrid()->columns(), 30);
    fieldman->selectField(1);
    fieldman->jamplistActivate(0);  // field 1 is not on the map now
    EXPECT_EQ(maker->mapgrid()->columns(), 30);
    EXPECT_EQ(editor().state.currentField, 2);
}

TEST_F(FieldmanWithMaker, EscapeLocationComesFromThePicker) {
    for (int p = 1; p <= 600; ++p) s.cell(cellOf(s, 2, p)).place = 1;
    fieldman->selectField(1);
    fieldman->runLocatePicker = [](Tlocateselect& picker) {
        picker.chooseField(2);
        return picker.selectCell(4, 3);
    };
    fieldman->fieldlocatesetClick();
    EXPECT_EQ(s.field(1).escapeField, 2);
    EXPECT_EQ(+s.field(1).escapePosition, 3 * 30 + 4 + 1);
    EXPECT_EQ(fieldman->linklox()->text(), QStringLiteral("Ｘ：5"));
    EXPECT_EQ(fieldman->linkloy()->text(), QStringLiteral("Ｙ：4"));
    s.field(1).escapePosition = 30 * 20 + 1;  // beyond the cells of field 2 (a damaged file)
    fieldman->fieldview();
    EXPECT_EQ(fieldman->linklox()->text(), QStringLiteral("Ｘ：未指定"));
    EXPECT_EQ(fieldman->linkloy()->text(), QStringLiteral("Ｙ：未指定"));
    s.field(1).escapePosition = 3 * 30 + 4 + 1;

    // A picker left on a field without a chosen cell changes nothing.
    fieldman->runLocatePicker = [](Tlocateselect& picker) {
        picker.chooseField(1);
        return true;
    };
    fieldman->fieldlocatesetClick();
    EXPECT_EQ(s.field(1).escapeField, 2);
    fieldman->fieldlinkdelClick();
    EXPECT_EQ(s.field(1).escapeField, 0);
    EXPECT_EQ(fieldman->linklox()->text(), QStringLiteral("Ｘ：未指定"));
}

TEST_F(FieldmanWithMaker, WarpPointsMoveBetweenTheLists) {
    s.enter(3).name.assign("tower");
    for (int p : {4, 8, 12}) s.cell(cellOf(s, 1, p)).enter = 3;
    fieldman->warpview();
    ASSERT_EQ(fieldman->warptarget()->count(), 4);  // the three towers, then building 9
    fieldman->warptarget()->setCurrentRow(2);
    fieldman->warpsetClick();
    EXPECT_EQ(+s.field(1).warpPoints[0], 12);
    EXPECT_EQ(fieldman->warptarget()->currentRow(), 2);  // same row, now building 9
    fieldman->warpsetClick();
    EXPECT_EQ(+s.field(1).warpPoints[1], 46);
    EXPECT_EQ(fieldman->warptarget()->currentRow(), 1);  // the last row
    EXPECT_EQ(fieldman->warplist()->item(0)->text(), QStringLiteral("1：tower"));
    fieldman->warplist()->setCurrentRow(0);
    fieldman->warpdelClick();
    EXPECT_EQ(+s.field(1).warpPoints[0], 0);
    EXPECT_EQ(fieldman->warplist()->count(), 1);
    EXPECT_EQ(fieldman->warptarget()->count(), 3);
}

}  // namespace
}  // namespace qrn::test
