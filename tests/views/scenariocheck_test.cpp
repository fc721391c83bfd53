// The scenario check window beside the real main window: the menu checks and
// lists, the list sorts and filters, a double-click leads to the cell or the
// object's page, and 再チェック sees the repairs.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "properties/paramedit.h"
#include "resources/levellist.h"
#include "scenario/fieldops.h"
#include "views/scenariocheck.h"

namespace qrn::test {
namespace {

class ScenarioCheckWindow : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        check = editorWindows().scenariocheck;
        maker->runCreationDialog = [](Tmapcreater& dialog) {
            dialog.widthSlider()->setValue(1);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->createnew();  // field 1: 10 x 10, unpainted
        ASSERT_EQ(placeNewField(s, 2, 10, 10), AddFieldResult::Added);
        s.cell(cellOf(s, 2, 4 * 10 + 3 + 1)).chara = 9;  // a character not in use at X:4 Y:5
        s.itemImageFiles[4].assign("sword.bmp");          // an item nothing places or names
        s.item(5).name.assign("sword");
    }
    QStringList column(int c) const {
        QStringList out;
        auto* m = check->list()->model();
        for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, c).data().toString();
        return out;
    }
    void doubleClick(const QString& place) {
        const int row = column(1).indexOf(place);
        ASSERT_GE(row, 0) << place.toStdString();
        emit check->list()->doubleClicked(check->list()->model()->index(row, 1));
    }

    Scenario& s = editor().scenario;
    Tmaker* maker = nullptr;
    Tscenariocheck* check = nullptr;
};

TEST_F(ScenarioCheckWindow, ListsSortsFiltersAndLeadsToThePlace) {
    maker->command("scenariocheckmenu")->trigger();
    ASSERT_TRUE(check->isVisible());
    // The item's picture is not in the resource folder either.
    check->list()->sortByColumn(1, Qt::AscendingOrder);
    EXPECT_EQ(column(1), (QStringList{"フィールド 1「ﾌｨｰﾙﾄﾞ 1」 X:1 Y:1", "フィールド 2「ﾌｨｰﾙﾄﾞ 2」 X:4 Y:5",
                                      "アイテム 5「sword」", "アイテム 5「sword」", "フィールド 2「ﾌｨｰﾙﾄﾞ 2」"}));
    check->list()->sortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(column(0), (QStringList{"エラー", "エラー", "エラー", "警告", "警告"}));
    EXPECT_EQ(check->summary()->text(), "エラー 3 件、警告 2 件");

    check->severityFilter()->setCurrentIndex(2);  // 警告
    EXPECT_EQ(column(0), (QStringList{"警告", "警告"}));
    check->textFilter()->setText("sword");
    EXPECT_EQ(column(1), QStringList{"アイテム 5「sword」"});
    doubleClick("アイテム 5「sword」");
    EXPECT_TRUE(editorWindows().paramedit->isVisible());
    EXPECT_EQ(editorWindows().paramedit->shownLayer(), kItem);
    EXPECT_EQ(editorWindows().paramedit->currentObject(kItem), 5);

    check->severityFilter()->setCurrentIndex(0);
    check->textFilter()->clear();
    doubleClick("フィールド 2「ﾌｨｰﾙﾄﾞ 2」 X:4 Y:5");
    EXPECT_EQ(editor().state.currentField, 2);
    EXPECT_EQ(maker->mapgrid()->cursorCell(), QPoint(3, 4));

    // Repairs show after 再チェック, not before.
    s.cell(cellOf(s, 2, 4 * 10 + 3 + 1)).chara = 0;
    EXPECT_EQ(column(0).size(), 5);
    check->recheckButton()->click();
    EXPECT_EQ(check->summary()->text(), "エラー 2 件、警告 2 件");
}

TEST_F(ScenarioCheckWindow, ALevelFindingOpensTheLevelListOnItsRow) {
    s.levels[6].magic = 50;  // level 8 learns a magic that is not in use
    int shownLevel = 0;
    maker->runLevelList = [&](Tlevellist& levels) { shownLevel = levels.currentLevel(); };
    maker->command("scenariocheckmenu")->trigger();
    doubleClick("レベルアップ（レベル 8）");
    EXPECT_EQ(shownLevel, 8);
}

}  // namespace
}  // namespace qrn::test
