// The field manager beside the shown main window: a jump from the list is
// remembered by its field, and "切替(W)" gives the window its two widths.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "fields/fieldman.h"
#include "scenario/fieldops.h"

namespace qrn::test {
namespace {

class FieldmanShown : public EditorFixture {
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
        maker->show();
        maker->createnew();  // field 1: 20 x 10
        Scenario& s = editor().scenario;
        ASSERT_EQ(placeNewField(s, 2, 30, 20), AddFieldResult::Added);
        s.cell(cellOf(s, 1, 2 * 20 + 5 + 1)).enter = 9;  // (6,3) on the map
        s.enter(9).jumpField = 2;
        s.enter(9).jumpPosition = 1;
        maker->fieldonchange();
    }

    Tmaker* maker = nullptr;
    Tfieldman* fieldman = nullptr;
};

TEST_F(FieldmanShown, JumpIsRememberedWhenTheFieldIsLeftAndShownAgain) {
    fieldman->show();
    ASSERT_EQ(fieldman->jamplist()->count(), 1);
    fieldman->jamplistActivate(0);
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(5, 2));
    maker->secondfieldClick();
    EXPECT_EQ(editor().state.currentField, 2);
    maker->firstfieldClick();
    EXPECT_EQ(editor().state.currentField, 1);
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(5, 2));
    EXPECT_EQ(maker->xlabel()->text(), QStringLiteral("X:6"));
    EXPECT_EQ(maker->ylabel()->text(), QStringLiteral("Y:3"));
}

TEST_F(FieldmanShown, SwitchGivesTheTwoWidthsEveryTime) {
    options.fieldmanview = true;
    fieldman->show();
    EXPECT_EQ(fieldman->width(), 531);
    auto* infoview = fieldman->findChild<QPushButton*>(QStringLiteral("infoview"));
    ASSERT_TRUE(infoview);
    for (int round = 0; round < 3; ++round) {
        infoview->click();
        EXPECT_FALSE(options.fieldmanview);
        EXPECT_EQ(fieldman->width(), 207) << round;
        infoview->click();
        EXPECT_TRUE(options.fieldmanview);
        EXPECT_EQ(fieldman->width(), 531) << round;
    }
}

}  // namespace
}  // namespace qrn::test
