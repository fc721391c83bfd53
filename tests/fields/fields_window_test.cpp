// The size dialog, the field manager and the location picker, offscreen.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <utility>

#include "services/cellgrid.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "views/chipview.h"
#include "services/choosers.h"
#include "services/mainwindowhooks.h"
#include "services/editorcontext.h"
#include "services/options.h"
#include "fields/fieldman.h"
#include "fields/locateselect.h"
#include "fields/sizechangeform.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/text.h"

namespace qrn {
namespace {

class FakeMessages : public MessageService {
public:
    bool confirm(QWidget*, const QString& text) override {
        said.append(text);
        return answer;
    }
    void information(QWidget*, const QString& text) override { said.append(text); }
    void warning(QWidget*, const QString& text) override { said.append(text); }
    void error(QWidget*, const QString& text) override { said.append(text); }
    QStringList said;
    bool answer = true;
};

// Fields 1..4 of 10 x 10, named "F1".."F4", with no main window around.
class FieldWindows : public ::testing::Test {
protected:
    void SetUp() override {
        EditorContext& ctx = editor();
        saved_ = {ctx.options, ctx.messages, editorWindows().maker, editorWindows().chipview, editorWindows().palette, editorWindows().serchresult};
        ctx.options = &options_;
        ctx.messages = &messages_;
        editorWindows().maker = nullptr;
        setMainWindowHooks(nullptr);
        editorWindows().chipview = nullptr;
        editor().imageChooser = nullptr;
        editorWindows().palette = nullptr;
        editorWindows().serchresult = nullptr;
        alldatainitialize(s, ctx.side, 5);
        createFirstField(s, "", "", "F1", 10, 10);
        for (int f = 2; f <= 4; ++f) {
            ASSERT_EQ(placeNewField(s, f, 10, 10), AddFieldResult::Added);
            s.field(f).name.assign("F" + std::to_string(f));
        }
        ctx.state.currentField = 1;
    }
    void TearDown() override {
        EditorContext& ctx = editor();
        std::tie(ctx.options, ctx.messages, editorWindows().maker, editorWindows().chipview, editorWindows().palette, editorWindows().serchresult) = saved_;
        setMainWindowHooks(editorWindows().maker);
        ctx.imageChooser = editorWindows().chipview;
    }
    // Puts building `enter` on a cell of `field` and lets it jump to `to`.
    void link(int field, int position, int enter, int to) {
        s.cell(cellOf(s, field, position)).enter = static_cast<u8>(enter);
        s.enter(enter).jumpField = static_cast<u8>(to);
        s.enter(enter).jumpPosition = 1;
    }

    Scenario& s = editor().scenario;
    Options options_;
    FakeMessages messages_;
    std::tuple<Options*, MessageService*, Tmaker*, Tchipview*, Tpalette*, Tserchresult*> saved_;
};

// The tree as text: "name(children...)" per node.
QString treeText(QTreeWidgetItem* node) {
    QString text = node->text(0);
    if (node->childCount() == 0) return text;
    QStringList children;
    for (int i = 0; i < node->childCount(); ++i) children << treeText(node->child(i));
    return text + "(" + children.join(",") + ")";
}
QString treeText(QTreeWidget* tree) {
    QStringList roots;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) roots << treeText(tree->topLevelItem(i));
    return roots.join(" ");
}

TEST_F(FieldWindows, SizeButtonsWrapAndOkChecksTheFreeCells) {
    Tsizechangeform dialog;
    dialog.setup(120, 10, 500);
    EXPECT_EQ(dialog.oldx()->text(), QStringLiteral("横:120"));
    EXPECT_EQ(dialog.oldy()->text(), QStringLiteral("縦:10"));
    dialog.xupClick(true);
    dialog.yupClick(false);
    EXPECT_EQ(dialog.newx()->text(), "10");
    EXPECT_EQ(dialog.newy()->text(), "120");
    dialog.xupClick(false);
    EXPECT_EQ(dialog.newWidth(), 120);

    // 120 x 120 needs 13,200 more cells than there are: refused, still open.
    dialog.okbtnClick();
    EXPECT_EQ(messages_.said, QStringList{QStringLiteral("ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません")});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    // The same size does nothing at all.
    dialog.yupClick(true);
    dialog.okbtnClick();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(messages_.said.size(), 1);
    // A shrink always fits.
    dialog.xupClick(false);
    dialog.okbtnClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.newWidth(), 110);
}

TEST_F(FieldWindows, TreeShowsAFieldReachedTwiceOnce) {
    link(1, 5, 1, 3);   // 1 -> 3
    link(2, 1, 2, 3);   // 2 -> 3, already in the tree
    link(3, 100, 3, 4); // 3 -> 4
    link(4, 7, 4, 1);   // 4 -> 1, already in the tree
    Tfieldman window;
    window.makefieldman();
    EXPECT_EQ(treeText(window.fieldtree()), "F1(F3(F4)) F2");
    EXPECT_EQ(window.fieldcount()->text(), QStringLiteral("4個のﾌｨｰﾙﾄﾞ"));
    // The jump list of field 3 names the cell 1-based and the destination.
    s.enter(3).name.assign(cp932Literal("塔"));
    window.selectField(3);
    ASSERT_EQ(window.jamplist()->count(), 1);
    EXPECT_EQ(window.jamplist()->item(0)->text(), QStringLiteral("(10,10)塔→F4"));
    EXPECT_EQ(window.fieldsize()->text(), QStringLiteral("横：10×縦：10"));

    // "切替(&W)" flips the option and the panel with it.
    options_.fieldmanview = true;
    window.infoviewClick();
    EXPECT_FALSE(options_.fieldmanview);
    EXPECT_FALSE(window.fieldpanel()->isEnabled());
    window.infoviewClick();
    EXPECT_TRUE(window.fieldpanel()->isEnabled());
}

// The field's music through the manager's buttons: the label and the play
// button follow every change, a cancelled list changes nothing.
TEST_F(FieldWindows, MusicIsChosenShownAndDeleted) {
    struct Chooser : ResourceChooser {
        ResourceChoice chooseResource(ResourceKind, const QString&, int) override { return answer; }
        ResourceChoice answer;
    } chooser;
    s.bgm(3).name.assign("march");
    s.bgm(3).fileName.assign("march.mid");
    Tfieldman window;
    window.makefieldman();
    window.selectField(2);
    auto* play = window.findChild<QPushButton*>(QStringLiteral("fieldbgmplay"));
    auto* del = window.findChild<QPushButton*>(QStringLiteral("fieldbgmdel"));
    ASSERT_TRUE(play && del);
    ResourceChooser* saved = std::exchange(editor().resourceChooser, &chooser);
    EXPECT_EQ(window.fieldbgm()->text(), QStringLiteral("-"));
    EXPECT_FALSE(play->isEnabled());

    chooser.answer = {true, 3};
    window.fieldbgmset()->click();
    EXPECT_EQ(s.field(2).fieldBgm, 3);
    EXPECT_EQ(window.fieldbgm()->text(), QStringLiteral("march"));
    EXPECT_TRUE(play->isEnabled());
    chooser.answer = {false, 7};
    window.fieldbgmset()->click();
    EXPECT_EQ(s.field(2).fieldBgm, 3);

    del->click();
    EXPECT_EQ(s.field(2).fieldBgm, 0);
    EXPECT_EQ(window.fieldbgm()->text(), QStringLiteral("-"));
    EXPECT_FALSE(play->isEnabled());
    EXPECT_EQ(s.field(1).fieldBgm, 0);
    editor().resourceChooser = saved;
}

TEST_F(FieldWindows, DeleteThroughTheWindowRenumbersAndAsksFirst) {
    link(1, 5, 1, 3);
    Tfieldman window;
    window.makefieldman();
    window.selectField(2);
    messages_.answer = false;
    window.fielddelClick();
    EXPECT_EQ(fieldsInUseCount(s), 4);

    messages_.answer = true;
    editor().state.currentField = 2;
    window.fielddelClick();
    EXPECT_EQ(messages_.said.last(), QStringLiteral("このﾌｨｰﾙﾄﾞを削除します。よろしいですか？"));
    EXPECT_EQ(fieldsInUseCount(s), 3);
    EXPECT_EQ(s.field(2).name.str(), "F3");
    EXPECT_EQ(s.enter(1).jumpField, 2);
    EXPECT_EQ(window.selectedField(), 1);
    EXPECT_EQ(editor().state.currentField, 1);
    EXPECT_EQ(treeText(window.fieldtree()), "F1(F3) F4");
    EXPECT_TRUE(fieldInvariantViolations(s).empty());

    messages_.said.clear();
    window.fielddelClick();  // field 1
    EXPECT_EQ(messages_.said, QStringList{QStringLiteral("このﾌｨｰﾙﾄﾞは削除できません。")});
    EXPECT_EQ(fieldsInUseCount(s), 3);
}

TEST_F(FieldWindows, ResizeThroughTheWindowAlwaysAsksAndTellsEachReset) {
    options_.tellmsg = false;  // never silences the resize question
    s.hero.startField = 2;
    s.hero.startPosition = 100;
    Tfieldman window;
    window.makefieldman();
    window.selectField(2);
    bool grow = true;
    window.runSizeDialog = [&grow](Tsizechangeform& dialog, int w, int h, int freeCells) {
        dialog.setup(w, h, freeCells);
        dialog.xupClick(grow);
        dialog.yupClick(!grow);
        return true;
    };
    window.sizechangebtnClick();  // 10 x 10 -> 20 x 120
    EXPECT_EQ(messages_.said, QStringList{QStringLiteral("このﾌｨｰﾙﾄﾞのｻｲｽﾞを変更します。よろしいですか？")});
    EXPECT_EQ(+s.field(3).firstCell, 2501);
    EXPECT_EQ(+s.hero.startPosition, 190);
    EXPECT_EQ(window.fieldsize()->text(), QStringLiteral("横：20×縦：120"));

    s.hero.startPosition = 2400;  // the last cell
    grow = false;
    window.sizechangebtnClick();  // back to 10 x 10
    EXPECT_EQ(messages_.said.last(), QStringLiteral("主人公のｽﾀｰﾄﾛｹｰﾄを初期位置にします。"));
    EXPECT_EQ(+s.hero.startPosition, 1);
    EXPECT_EQ(+s.field(3).firstCell, 201);
    EXPECT_TRUE(fieldInvariantViolations(s).empty());

    // Cancelled at the question: nothing changes.
    messages_.answer = false;
    grow = true;
    window.sizechangebtnClick();
    EXPECT_EQ(+s.field(2).width, 10);
}

TEST_F(FieldWindows, PickerRefusesCellsAndOpensOnFieldOneWhenThereIsNone) {
    s.place(1).name.assign(cp932Literal("草原"));
    s.enter(1).name.assign(cp932Literal("城"));
    for (int p = 1; p <= 100; ++p) s.cell(cellOf(s, 2, p)).place = 1;
    s.cell(cellOf(s, 2, 2)).chara = 4;  // (1,0): a character on terrain
    s.cell(cellOf(s, 2, 3)).place = 0;  // (2,0): a building without terrain
    s.cell(cellOf(s, 2, 3)).enter = 1;
    s.cell(cellOf(s, 2, 15)).enter = 1;

    Tlocateselect picker;
    picker.makelocategrid(0, 0, QStringLiteral("：ｴｽｹｰﾌﾟ先のﾌｨｰﾙﾄﾞと座標を選択"));
    EXPECT_EQ(picker.pickedField(), 1);
    EXPECT_EQ(picker.pickedPosition(), 0);
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("：ｴｽｹｰﾌﾟ先のﾌｨｰﾙﾄﾞと座標を選択"));
    picker.makelocategrid(7, 3, QString());  // not in use
    EXPECT_EQ(picker.pickedField(), 1);
    EXPECT_EQ(picker.fieldlist()->currentItem()->text(), QStringLiteral("1：F1"));

    picker.makelocategrid(2, 15, QString());
    EXPECT_EQ(picker.locategrid()->cursorCell(), QPoint(4, 1));
    EXPECT_EQ(picker.xylabel()->text(), QStringLiteral("Ｘ：5 Ｙ：2"));
    EXPECT_EQ(picker.placename()->text(), QStringLiteral("地形：草原"));
    EXPECT_EQ(picker.entername()->text(), QStringLiteral("建造物：城"));
    EXPECT_EQ(picker.eventname()->text(), QStringLiteral("ｲﾍﾞﾝﾄ：-"));
    EXPECT_EQ(picker.sizes()->text(), QStringLiteral("横：10  縦：10"));

    EXPECT_FALSE(picker.selectCell(1, 0));
    EXPECT_EQ(picker.locatestatus()->text(), QStringLiteral("ｷｬﾗｸﾀｰのいるｾﾙは選べません"));
    EXPECT_FALSE(picker.selectCell(2, 0));
    EXPECT_EQ(picker.locatestatus()->text(), QStringLiteral("地形のないｾﾙは選べません"));
    EXPECT_FALSE(picker.selectCell(10, 0));
    EXPECT_EQ(picker.pickedPosition(), 15);
    EXPECT_TRUE(picker.selectCell(3, 9));
    EXPECT_EQ(picker.locatestatus()->text(), QString());
    EXPECT_EQ(picker.pickedPosition(), 94);

    // Another field from the list: no position until a cell is chosen.
    picker.chooseField(3);
    EXPECT_EQ(picker.pickedField(), 3);
    EXPECT_EQ(picker.pickedPosition(), 0);
    EXPECT_EQ(picker.xylabel()->text(), QStringLiteral("Ｘ：    Ｙ："));

    // The scale steps 32 -> 12 -> 24 and is kept for the next picker.
    const int before = Tlocateselect::locateScale();
    picker.bufsizeselClick();
    EXPECT_EQ(Tlocateselect::locateScale(), before % 3 + 1);
    Tlocateselect next;
    next.makelocategrid(1, 0, QString());
    EXPECT_EQ(next.locategrid()->cellSize().width(), Tlocateselect::cellPixels(Tlocateselect::locateScale()));
}

}  // namespace
}  // namespace qrn

namespace qrn {
namespace {

// The picker draws every layer by the map's rule; a terrain past the table
// is nothing, not terrain 400.
TEST_F(FieldWindows, PickerDrawsCellsByTheSharedRule) {
    EditorContext& ctx = editor();
    ctx.imageList.reset();
    QImage red(32, 32, QImage::Format_RGB32);
    red.fill(Qt::red);
    ctx.side.pictures.place[400] = ctx.imageList.add(red, false, 0);
    s.cell(cellOf(s, 1, 1)).place = 400;
    s.cell(cellOf(s, 1, 2)).place = 401;
    Tlocateselect picker;
    picker.makelocategrid(1, 0, QString());
    picker.show();
    const int px = picker.locategrid()->cellSize().width();
    const QImage shot = picker.locategrid()->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(px / 2, px / 2), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(px + px / 2, px / 2), QColor(Qt::black));
    ctx.side.pictures.place[400] = 0;
}

}  // namespace
}  // namespace qrn
