// The chip search from the palette through the dialog to the result window,
// beside the real main window: hits move the map, across fields, and the
// ends are told.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "scenario/fieldops.h"
#include "views/chipserch.h"
#include "views/palette.h"
#include "scenario/maplayers.h"
#include "views/serchresult.h"

namespace qrn::test {
namespace {

class ChipSearchWindows : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        results = editorWindows().serchresult;
        maker->runCreationDialog = [](Tmapcreater& dialog) {
            dialog.widthSlider()->setValue(2);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->createnew();  // field 1: 20 x 10
        ASSERT_EQ(placeNewField(s, 2, 10, 10), AddFieldResult::Added);
        s.field(2).name.assign("village");
        firstImageFile(s, kPlace, 3)->assign("house.bmp");
        s.place(3).name.assign("house");
        editor().drawing.currentObject[kPlace] = 3;
        for (auto [f, c, r] : {std::tuple{1, 4, 2}, {1, 7, 2}, {2, 9, 9}})
            s.cell(cellOf(s, f, r * s.field(f).width + c + 1)).place = 3;
    }
    // Answers the dialog by clicking its buttons as the author would.
    void answer(bool all, bool top, bool ok = true) {
        results->runSearchDialog = [=, this](Tchipserch& dialog) {
            (all ? dialog.allFieldsButton() : dialog.currentFieldButton())->click();
            if (!all) (top ? dialog.topButton() : dialog.cursorButton())->click();
            shownName = dialog.serchchipname()->text();
            return ok;
        };
    }

    Scenario& s = editor().scenario;
    Tmaker* maker = nullptr;
    Tserchresult* results = nullptr;
    QString shownName;
};

TEST_F(ChipSearchWindows, AllFieldsStepsThroughEveryHitAndSwitchesFields) {
    answer(true, true);
    editorWindows().palette->serchbtnClick();
    EXPECT_EQ(shownName, "house");
    EXPECT_TRUE(results->isVisible());
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(4, 2));
    EXPECT_EQ(results->xylabel()->text(), "座標  X:5  Y:3");
    EXPECT_EQ(results->chipname()->text(), "ﾁｯﾌﾟ名：house");

    results->serchresultok()->click();
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(7, 2));
    results->serchresultok()->click();  // the hit in field 2 shows field 2 first
    EXPECT_EQ(editor().state.currentField, 2);
    EXPECT_EQ(maker->mapgrid()->columns(), 10);
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(9, 9));
    EXPECT_EQ(results->fieldname()->text(), "ﾌｨｰﾙﾄﾞ名：village");

    results->serchresultok()->click();
    EXPECT_EQ(messages.infos, QStringList{"全てのフィールドを検索しました。"});
    EXPECT_FALSE(results->isVisible());
    EXPECT_EQ(editor().state.currentField, 2);
}

TEST_F(ChipSearchWindows, FromTheCursorOnAHitThatCellComesFirst) {
    maker->mapgrid()->selectCell(7, 2);
    answer(false, false);
    editorWindows().palette->serchbtnClick();
    EXPECT_EQ(results->xylabel()->text(), "座標  X:8  Y:3");
    results->serchresultok()->click();
    EXPECT_EQ(messages.infos, QStringList{"もうチップはありません。"});
    EXPECT_FALSE(results->isVisible());
    results->serchresultok()->click();  // after the end, the end again
    EXPECT_EQ(messages.infos.size(), 2);
}

TEST_F(ChipSearchWindows, CancelledDialogSearchesNothingAndDeletionHidesTheResults) {
    answer(true, true, false);
    editorWindows().palette->serchbtnClick();
    EXPECT_FALSE(results->isVisible());
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(0, 0));

    answer(false, true);
    editorWindows().palette->serchbtnClick();
    ASSERT_TRUE(results->isVisible());
    editorWindows().palette->deletebtnClick();  // the object leaves every cell
    EXPECT_FALSE(results->isVisible());
}

TEST(ChipSearchDialog, AllFieldsForcesTheTopAndCurrentFieldFreesTheStart) {
    Tchipserch dialog(kPlace, 1);
    EXPECT_TRUE(dialog.currentFieldButton()->isChecked());
    EXPECT_TRUE(dialog.cursorButton()->isChecked());
    EXPECT_FALSE(dialog.allFields());
    EXPECT_FALSE(dialog.fromTop());
    dialog.allFieldsButton()->click();
    EXPECT_TRUE(dialog.allFields());
    EXPECT_TRUE(dialog.fromTop());
    EXPECT_TRUE(dialog.topButton()->isChecked());
    EXPECT_FALSE(dialog.serchstartgroup()->isEnabled());
    dialog.currentFieldButton()->click();
    EXPECT_FALSE(dialog.allFields());
    EXPECT_TRUE(dialog.fromTop());  // the start stays as it was
    EXPECT_TRUE(dialog.serchstartgroup()->isEnabled());
    dialog.cursorButton()->click();
    EXPECT_FALSE(dialog.fromTop());
}

}  // namespace
}  // namespace qrn::test
