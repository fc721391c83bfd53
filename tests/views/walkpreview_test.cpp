// The walk preview beside the real main window, on the demo: opened from the
// map's cursor, the hero walks into the village, talks to the villager and
// walks out and into the cave, by the keys, and the scenario is left as it
// was; the preview stops when its field goes, starts again on a reload, and
// the item key uses what the hero carries.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "../editor_fakes.h"
#include "mainwindow/edithistory.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "services/helpviewer.h"
#include "views/walkpreview.h"

namespace qrn::test {
namespace {

class WalkPreviewWindow : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        options.serchpath = QStringLiteral(QRN_DEMO_DIR "/resources/");
        createWindows();
        maker = editorWindows().maker;
        walk = editorWindows().walkpreview;
        ASSERT_TRUE(maker->openFile(QStringLiteral(QRN_DEMO_DIR "/demo.snr")));
        ASSERT_TRUE(messages.warnings.isEmpty()) << messages.warnings.first().toStdString();  // every picture found
    }
    void press(Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(walk->view(), key);
    }
    void pressWay(const std::vector<WalkDirection>& way) {
        static const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left};
        for (WalkDirection d : way) press(keys[static_cast<int>(d)]);
    }
    QString lastLog() const {
        const QStringList lines = walk->log()->toPlainText().split(u'\n');
        return lines.isEmpty() ? QString() : lines.last();
    }
    void expectAt(int field, int x, int y) {
        ASSERT_TRUE(walk->walk().has_value());
        EXPECT_EQ(walk->walk()->field, field);
        EXPECT_EQ(walk->walk()->x, x);
        EXPECT_EQ(walk->walk()->y, y);
    }

    Scenario& s = editor().scenario;
    Tmaker* maker = nullptr;
    Twalkpreview* walk = nullptr;
};

TEST_F(WalkPreviewWindow, WalksTheDemoIntoTheVillageToTheVillagerAndIntoTheCave) {
    const std::vector<unsigned char> before(s.bytes(), s.bytes() + kRecordSize);
    EXPECT_EQ(maker->command("walkpreviewmenu")->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(maker->command("walkcursormenu")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F9));

    // From the meadow just below the village gate (X:25 Y:11).
    maker->jumpToCell(1, 24, 10);
    maker->command("walkcursormenu")->trigger();
    ASSERT_TRUE(walk->isVisible());
    EXPECT_EQ(walk->windowTitle(), QStringLiteral("試し歩き"));
    EXPECT_FALSE(walk->isModal());
    EXPECT_EQ(HelpViewer::pageOf(HelpViewer::helpContextOf(walk)), QStringLiteral("walkpreview.html"));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/walkpreview.html")));
    expectAt(1, 24, 10);
    EXPECT_TRUE(walk->statusLine()->text().startsWith(QStringLiteral("はじまりの草原　Ｘ：25 Ｙ：11　歩数：0")));
    const QImage meadow = walk->view()->renderImage();

    // Through the gate: the view moves into the village.
    press(Qt::Key_Up);
    expectAt(2, 10, 18);
    EXPECT_TRUE(lastLog().contains(QStringLiteral("「ミルトの村」の Ｘ：11 Ｙ：19 へ移動しました")));
    EXPECT_TRUE(walk->statusLine()->text().startsWith(QStringLiteral("ミルトの村　Ｘ：11 Ｙ：19　歩数：1")));
    EXPECT_NE(walk->view()->renderImage(), meadow);

    // Up the village road to the villager, who stands in the way.
    press(Qt::Key_Up, 10);
    expectAt(2, 10, 8);
    press(Qt::Key_Left);
    expectAt(2, 10, 8);
    EXPECT_EQ(lastLog(), QStringLiteral("進めません：キャラクターがいます"));
    EXPECT_TRUE(walk->view()->message().isEmpty());
    press(Qt::Key_Space);
    EXPECT_EQ(walk->view()->message(),
              (QStringList{QStringLiteral("洞窟の中は暗いから気をつけてね。"), QStringLiteral("宿屋で休むと元気になるよ。")}));
    // The box holds the walk until the examine key closes it.
    press(Qt::Key_Down);
    expectAt(2, 10, 8);
    press(Qt::Key_Return);
    EXPECT_TRUE(walk->view()->message().isEmpty());

    // Out of the village to the sign by the road (X:9 Y:11); read, it shows
    // its words and stays drawn, as it has no after-image.
    press(Qt::Key_Down, 11);
    expectAt(1, 24, 11);
    const auto toSign = findWalkPath(s, *walk->walk(), 1, 8, 12);
    ASSERT_TRUE(toSign.has_value());
    pressWay(*toSign);
    press(Qt::Key_Up);  // facing the sign
    expectAt(1, 8, 11);
    const QRect signCell((WalkView::kColumns / 2) * WalkView::kCell, (WalkView::kRows / 2 - 1) * WalkView::kCell,
                         WalkView::kCell, WalkView::kCell);
    const QImage unread = walk->view()->renderImage().copy(signCell);
    press(Qt::Key_Space);
    EXPECT_TRUE(walk->view()->message().join(u'/').contains(QStringLiteral("ミルトの村")));
    press(Qt::Key_Return);
    EXPECT_TRUE(walk->view()->message().isEmpty());
    EXPECT_EQ(walk->view()->renderImage().copy(signCell), unread);

    // Over the meadow to the cave mouth (X:6 Y:3).
    const auto way = findWalkPath(s, *walk->walk(), 1, 5, 3);
    ASSERT_TRUE(way.has_value());
    pressWay(*way);
    expectAt(1, 5, 3);
    EXPECT_TRUE(walk->view()->message().isEmpty()) << walk->view()->message().join(u'/').toStdString();
    press(Qt::Key_Up);
    expectAt(3, 2, 8);
    EXPECT_TRUE(walk->statusLine()->text().startsWith(QStringLiteral("暗い洞窟　Ｘ：3 Ｙ：9")));
    EXPECT_EQ(walk->walk()->steps, 1 + 10 + 11 + static_cast<int>(toSign->size() + 1 + way->size()) + 1);

    // Nothing of the walk went into the scenario, and the main window still edits.
    EXPECT_TRUE(std::equal(before.begin(), before.end(), s.bytes()));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    maker->jumpToCell(2, 3, 3);
    EXPECT_EQ(editor().state.currentField, 2);
    expectAt(3, 2, 8);
}

TEST_F(WalkPreviewWindow, StopsWhenItsFieldGoesRestartsOnAReloadUsesItemsAndRefusesAStartOutside) {
    maker->command("walkpreviewmenu")->trigger();
    ASSERT_TRUE(walk->isVisible());
    expectAt(2, 10, 17);  // the hero's start in the village

    // The village shrinks under the hero: the preview says so and stops.
    s.field(2).width = 5;
    editHistory().commitNow();
    EXPECT_FALSE(walk->walk().has_value());
    ASSERT_FALSE(walk->view()->message().isEmpty());
    EXPECT_TRUE(walk->view()->message().first().contains(QStringLiteral("歩けなくなりました")));
    press(Qt::Key_Up);  // nothing to walk
    EXPECT_FALSE(walk->walk().has_value());

    // Opening the file again starts the walk again, the same way.
    ASSERT_TRUE(maker->openFile(QStringLiteral(QRN_DEMO_DIR "/demo.snr")));
    expectAt(2, 10, 17);
    EXPECT_TRUE(walk->view()->message().isEmpty());

    // The item key lists what the hero carries; the item chosen is used.
    s.hero.heroItems[0] = 1;
    s.item(1).itcomment = 2;
    press(Qt::Key_R);  // 最初から, with the item
    press(Qt::Key_I);
    const QList<QAction*> items = walk->itemMenu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.first()->text(), QStringLiteral("&1 やくそう"));
    items.first()->trigger();
    walk->itemMenu()->hide();
    EXPECT_EQ(walk->view()->message().value(0), QStringLiteral("洞窟の中は暗いから気をつけてね。"));

    // A reload whose start lies outside every field: said in the box alone.
    s.hero.startField = 50;
    walk->scenarioReplaced();
    EXPECT_FALSE(walk->walk().has_value());
    EXPECT_TRUE(walk->view()->message().first().contains(QStringLiteral("スタート地点")));
    EXPECT_TRUE(messages.warnings.isEmpty());

    // Asked for from the menu, it is refused with a message, and the window stays shut.
    walk->hide();
    maker->command("walkpreviewmenu")->trigger();
    EXPECT_FALSE(walk->isVisible());
    ASSERT_EQ(messages.warnings.size(), 1);
    EXPECT_TRUE(messages.warnings.first().contains(QStringLiteral("スタート地点")));
}

}  // namespace
}  // namespace qrn::test
