// The picker dialogs driven as an author does: highlight a line, add,
// remove, switch pages; the result is read as the caller reads it.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "services/editorcontext.h"
#include "pickers/eventlist.h"
#include "pickers/itemlist.h"
#include "pickers/magicselectlist.h"
#include "pickers/pickertext.h"
#include "scenario/resets.h"

namespace qrn {
namespace {

class PickersTest : public ::testing::Test {
protected:
    void SetUp() override {
        EditorContext& ctx = editor();
        alldatainitialize(ctx.scenario, ctx.side, 3);
        Scenario& s = ctx.scenario;
        for (int n : {3, 7, 12, 20}) s.itemImageFiles[n - 1].assign("i.bmp");  // general by default
        s.item(9).name.assign("no picture");
        for (int n : {1, 2, 4}) s.eventImageFiles[n - 1].assign("e.bmp");
        for (int n = 1; n <= kMagicCount; ++n) s.magic(n).mgsuccess = 0;
        for (int n : {1, 2, 3}) s.magic(n).mgsuccess = 80;
        s.magic(2).warpMagic = 1;
        s.magic(3).allTargets = 1;
    }

    static void pick(QListWidget* list, int row) { list->setCurrentRow(row); }
};

TEST_F(PickersTest, ItemsChosenInAnyOrderComeBackAscending) {
    Titemlist picker;
    picker.makeitemlist(QStringLiteral("caption"), {}, 5);
    picker.itempagecontrol()->setCurrentIndex(5);
    QListWidget* general = picker.candidateList(5);
    ASSERT_EQ(picker.pageNumbers(5), (std::vector<int>{3, 7, 12, 20}));  // item 9 has no picture
    pick(general, 1);  // 7
    picker.sendClick();
    EXPECT_EQ(general->currentRow(), 1);  // now item 12
    EXPECT_EQ(picker.cursorNumber(), 12);
    pick(general, 0);  // 3
    picker.sendClick();
    pick(general, 0);  // 12
    picker.sendClick();
    EXPECT_EQ(picker.result(), (std::vector<int>{3, 7, 12}));
    EXPECT_EQ(picker.sellist()->item(1)->text(), QStringLiteral("2：ｱｲﾃﾑ 7"));
    EXPECT_EQ(picker.itmemo()->toPlainText().section('\n', 0, 0), QStringLiteral("×売買不可"));

    pick(picker.sellist(), 2);  // removing the last line moves the highlight to the new last
    picker.delClick();
    EXPECT_EQ(picker.result(), (std::vector<int>{3, 7}));
    EXPECT_EQ(picker.sellist()->currentRow(), 1);
    EXPECT_EQ(picker.cursorNumber(), 7);
}

TEST_F(PickersTest, ArrowKeysShowTheEntryUnderTheHighlightAsClicksDo) {
    Scenario& s = editor().scenario;
    Titemlist picker;
    picker.makeitemlist(QStringLiteral("c"), {20}, 5);
    picker.itempagecontrol()->setCurrentIndex(5);
    QListWidget* general = picker.candidateList(5);  // 3, 7, 12
    picker.show();
    emit general->itemClicked(general->item(0));
    ASSERT_EQ(picker.cursorNumber(), 3);
    general->setFocus();
    general->setCurrentRow(0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(general, &down);
    EXPECT_EQ(general->currentRow(), 1);
    EXPECT_EQ(picker.cursorNumber(), 7);
    EXPECT_EQ(picker.itmemo()->toPlainText(), summaryText(itemSummary(s, 7)));
    picker.sellist()->setFocus();
    QApplication::sendEvent(picker.sellist(), &down);
    EXPECT_EQ(picker.cursorNumber(), 20) << "the chosen list too";
    // The summary is read, not greyed out.
    EXPECT_TRUE(picker.itmemo()->isEnabled());
    EXPECT_TRUE(picker.itmemo()->isReadOnly());
}

TEST_F(PickersTest, ItemKindModeShowsOnePageAndTheLastPageIsRemembered) {
    {
        Titemlist picker;
        picker.makeitemlist(QStringLiteral("c"), {}, 5);
        picker.show();
        picker.itempagechangebtnClick();
        picker.itempagechangebtnClick();
        EXPECT_EQ(picker.itempagecontrol()->currentIndex(), 2);
        picker.hide();
    }
    Titemlist again;
    again.makeitemlist(QStringLiteral("c"), {}, 5);
    EXPECT_EQ(again.itempagecontrol()->currentIndex(), 2);
    Titemlist single;
    single.makeitemlist(QStringLiteral("c"), {}, 1);
    EXPECT_EQ(single.itempagecontrol()->currentIndex(), 1);
    EXPECT_FALSE(single.itempagecontrol()->isTabVisible(0));
    single.itempagechangebtnClick();
    EXPECT_EQ(single.itempagecontrol()->currentIndex(), 1);
}

TEST_F(PickersTest, AChosenEventWithoutPictureStaysChosen) {
    editor().scenario.eventImageFiles[1].clear();
    Teventlist picker;
    picker.makeeventlist(QStringLiteral("c"), {2, 4});
    EXPECT_EQ(picker.result(), (std::vector<int>{2, 4}));
    EXPECT_EQ(picker.pageNumbers(0), std::vector<int>{1});
    EXPECT_EQ(picker.eventcontrol()->currentIndex(), 0);
    picker.eventlistpagechangebtnClick();
    EXPECT_EQ(picker.eventcontrol()->currentIndex(), 1);
}

TEST_F(PickersTest, EventSummaryShowsDamagedSlotEntriesAsDash) {
    Scenario& s = editor().scenario;
    s.item(3).name.assign("key");
    s.event(1).evgetitem[0] = 3;
    s.event(1).evgetitem[1] = 251;  // beyond the item table
    s.event(1).evshowevent[0] = 255;
    Teventlist picker;
    picker.makeeventlist(QStringLiteral("c"), {});
    QListWidget* candidates = picker.candidateList(0);
    emit candidates->itemClicked(candidates->item(0));  // event 1
    ASSERT_EQ(picker.cursorNumber(), 1);
    EXPECT_EQ(picker.evgetitem(0)->text(), QStringLiteral("key"));
    EXPECT_EQ(picker.evgetitem(1)->text(), QStringLiteral("-"));
    EXPECT_EQ(picker.evgetitem(2)->text(), QString());
    EXPECT_EQ(picker.evshowevent(0)->text(), QStringLiteral("-"));
}

TEST_F(PickersTest, MagicModes) {
    Scenario& s = editor().scenario;
    s.hero.heroMagics[0] = 1;
    {
        Tmagicselectlist picker;
        picker.makemagiclist(QStringLiteral("c"), {}, 0);
        EXPECT_EQ(picker.pageNumbers(int(MagicKind::Single)), std::vector<int>{1});
        EXPECT_EQ(picker.pageNumbers(int(MagicKind::Move)), std::vector<int>{2});
        EXPECT_EQ(picker.pageNumbers(int(MagicKind::All)), std::vector<int>{3});
    }
    {
        Tmagicselectlist picker;
        picker.makemagiclist(QStringLiteral("c"), {}, 1);
        EXPECT_TRUE(picker.pageNumbers(int(MagicKind::Single)).empty());  // the hero has it
    }
    s.hero.heroMagics[0] = 0;
    Tmagicselectlist viewOnly;
    s.magic(3).mgsuccess = 0;  // chosen, rate 0: still shown and returned
    viewOnly.makemagiclist(QStringLiteral("c"), {3, 2, 77}, 2);
    EXPECT_EQ(viewOnly.result(), (std::vector<int>{2, 3}));
    EXPECT_FALSE(viewOnly.sendButton()->isEnabled());
    EXPECT_FALSE(viewOnly.magicpagecontrol()->isEnabled());
    viewOnly.magicpagecontrol()->setCurrentIndex(int(MagicKind::Single));
    pick(viewOnly.candidateList(int(MagicKind::Single)), 0);
    viewOnly.sendClick();
    EXPECT_EQ(viewOnly.result(), (std::vector<int>{2, 3}));
    pick(viewOnly.sellist(), 1);
    EXPECT_TRUE(viewOnly.sellist()->currentItem() != nullptr);
    viewOnly.delClick();
    EXPECT_EQ(viewOnly.result(), std::vector<int>{2});
    EXPECT_EQ(viewOnly.cursorNumber(), 2);
}

}  // namespace
}  // namespace qrn
