// The palette: draw targets, page changes, copy, delete, layer reset,
// picture loading and the two views.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

#include "services/editorcontext.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "services/mainwindowhooks.h"
#include "services/options.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "views/chipview.h"
#include "views/palette.h"
#include "scenario/maplayers.h"
#include "views/palette_widgets.h"

namespace qrn {
namespace {

class FakeMessages : public MessageService {
public:
    bool confirm(QWidget*, const QString& text) override {
        questions.append(text);
        return answer;
    }
    void information(QWidget*, const QString& text) override { questions.append(text); }
    void warning(QWidget*, const QString& text) override { questions.append(text); }
    void error(QWidget*, const QString& text) override { questions.append(text); }

    QStringList questions;
    bool answer = true;
};

// Two fields of 10 x 10; objects 1..3 of every layer are in use and named.
class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        EditorContext& ctx = editor();
        saved_ = {ctx.options, ctx.messages, editorWindows().palette, editorWindows().paramedit, editorWindows().chipview, editorWindows().maker};
        ctx.options = &options_;
        ctx.messages = &messages_;
        editorWindows().palette = nullptr;
        editorWindows().paramedit = nullptr;
        editorWindows().chipview = nullptr;
        editor().imageChooser = nullptr;
        editorWindows().maker = nullptr;
        setMainWindowHooks(nullptr);
        Scenario& s = ctx.scenario;
        alldatainitialize(s, ctx.side, 3);
        createFirstField(s, "", "", "", 10, 10);
        ASSERT_EQ(placeNewField(s, 2, 10, 10), AddFieldResult::Added);
        ctx.drawing = DrawingState{};
        ctx.imageList.reset();
        QImage chip(32, 32, QImage::Format_RGB32);
        chip.fill(Qt::darkGreen);
        for (int layer = kPlace; layer <= kChara; ++layer) {
            for (int n = 1; n <= 3; ++n) {
                firstImageFile(s, layer, n)->assign("chip.bmp");
                *pictureSlot(ctx.side.pictures, layer, n) = ctx.imageList.add(chip, false, 0);
            }
        }
        s.enter(1).name.assign("gate");
        s.enter(2).name.assign("tower");
        palette_ = std::make_unique<Tpalette>();
        palette_->allgridfillrect();
    }

    void TearDown() override {
        palette_.reset();
        EditorContext& ctx = editor();
        ctx.options = saved_.options;
        ctx.messages = saved_.messages;
        editorWindows().palette = saved_.palette;
        editorWindows().paramedit = saved_.paramedit;
        editorWindows().chipview = saved_.chipview;
        editor().imageChooser = saved_.chipview;
        editorWindows().maker = saved_.maker;
        setMainWindowHooks(saved_.maker);
    }

    bool target(int layer) { return editor().drawing.drawTarget[static_cast<std::size_t>(layer)]; }
    std::vector<int> targets() {
        std::vector<int> on;
        for (int layer = kPlace; layer <= kChara; ++layer)
            if (target(layer)) on.push_back(layer);
        return on;
    }

    struct Saved {
        Options* options;
        MessageService* messages;
        Tpalette* palette;
        Tparamedit* paramedit;
        Tchipview* chipview;
        Tmaker* maker;
    } saved_{};
    Options options_;
    FakeMessages messages_;
    std::unique_ptr<Tpalette> palette_;
};

TEST_F(PaletteTest, DrawBoxClicksWithAndWithoutShift) {
    EXPECT_EQ(targets(), std::vector<int>{kPlace});
    palette_->drawbtnClick(kEvent, false);  // the only target
    EXPECT_EQ(targets(), std::vector<int>{kEvent});
    palette_->drawbtnClick(kEvent, false);  // it was on: no target at all
    EXPECT_TRUE(targets().empty());
    palette_->drawbtnClick(kPlace, false);
    palette_->drawbtnClick(kItem, true);    // Shift adds
    EXPECT_EQ(targets(), (std::vector<int>{kPlace, kItem}));
    palette_->drawbtnClick(kPlace, true);   // Shift removes that layer alone
    EXPECT_EQ(targets(), std::vector<int>{kItem});
    // Labels and the menu's check marks follow the targets.
    EXPECT_TRUE(palette_->targetLabel(kItem)->isEnabled());
    EXPECT_FALSE(palette_->targetLabel(kPlace)->isEnabled());
    EXPECT_TRUE(palette_->targetAction(kItem)->isChecked());
    EXPECT_FALSE(palette_->targetAction(kPlace)->isChecked());
    palette_->allTargetsClick();
    EXPECT_EQ(targets().size(), 5u);
}

TEST_F(PaletteTest, SelectingAddsItsLayerAndPagesLeaveOnlyTheirOwn) {
    palette_->setActivePage(1);
    EXPECT_EQ(targets(), std::vector<int>{kEnter});
    palette_->drawbtnClick(kChara, true);
    palette_->cellSelect(kEnter, 2);
    EXPECT_EQ(targets(), (std::vector<int>{kEnter, kChara}));
    EXPECT_EQ(editor().drawing.currentObject[kEnter], 2);
    EXPECT_EQ(palette_->statusText(), QStringLiteral("tower"));
    palette_->cellSelect(kEnter, 7);  // an empty slot has no name
    EXPECT_EQ(palette_->statusText(), QString());

    palette_->papagechangeClick();  // Alt+W steps to the next page
    EXPECT_EQ(palette_->activeLayer(), kEvent);
    EXPECT_EQ(targets(), std::vector<int>{kEvent});
    palette_->setActivePage(4);
    palette_->papagechangeClick();
    EXPECT_EQ(palette_->activeLayer(), kPlace);

    // Choosing from the map moves both cursors and keeps the targets.
    palette_->selectFromMap(kEnter, 250);
    EXPECT_EQ(palette_->activeLayer(), kEnter);
    EXPECT_EQ(targets(), std::vector<int>{kPlace});
    EXPECT_EQ(palette_->grid(kEnter)->currentCell(), QPoint(9, 24));
    EXPECT_EQ(palette_->list(kEnter)->currentCell(), QPoint(1, 124));
    EXPECT_EQ(palette_->grid(kPlace)->cellOf(400), QPoint(9, 39));
    EXPECT_EQ(palette_->list(kPlace)->cellOf(400), QPoint(1, 199));
}

TEST_F(PaletteTest, CopyOntoItselfAndOntoEmptyAndUsedSlots) {
    Scenario& s = editor().scenario;
    palette_->setActivePage(1);
    palette_->cellSelect(kEnter, 1);
    palette_->copybtnClick();
    ASSERT_TRUE(editor().drawing.copyMode);
    EXPECT_EQ(palette_->windowTitle(), QStringLiteral("gateのｺﾋﾟｰ先を選択して下さい。"));
    EXPECT_FALSE(palette_->deleteAction()->isEnabled());
    EXPECT_FALSE(palette_->deleteButton()->isEnabled());
    EXPECT_FALSE(palette_->eraseButton()->isEnabled());
    palette_->setActivePage(3);  // refused while copying
    EXPECT_EQ(palette_->activeLayer(), kEnter);
    palette_->papagechangeClick();
    EXPECT_EQ(palette_->activeLayer(), kEnter);
    // The palette stays on the screen until the copy ends.
    palette_->show();
    EXPECT_FALSE(palette_->close());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(palette_.get(), &escape);
    EXPECT_TRUE(palette_->isVisible());

    palette_->gridDblClick(kEnter, 1, false);  // onto itself: nothing, still copying
    EXPECT_TRUE(editor().drawing.copyMode);

    palette_->gridDblClick(kEnter, 5, false);  // an empty slot: no question even with tellmsg
    EXPECT_TRUE(messages_.questions.isEmpty());
    EXPECT_FALSE(editor().drawing.copyMode);
    EXPECT_EQ(s.enter(5).name.str(), "gate");
    EXPECT_TRUE(objectInUse(s, kEnter, 5));
    EXPECT_EQ(pictureIndex(editor().side.pictures, kEnter, 5), pictureIndex(editor().side.pictures, kEnter, 1));
    EXPECT_EQ(palette_->list(kEnter)->nameText(5), QStringLiteral("gate"));
    EXPECT_TRUE(palette_->deleteAction()->isEnabled());
    EXPECT_EQ(palette_->windowTitle(), QStringLiteral("ﾊﾟﾚｯﾄ"));

    // Onto a slot in use: asked with tellmsg; Cancel ends copy mode without copying.
    messages_.answer = false;
    palette_->copybtnClick();
    palette_->gridDblClick(kEnter, 2, false);
    EXPECT_EQ(messages_.questions, QStringList{QStringLiteral("gateをtowerにコピーします。よろしいですか？")});
    EXPECT_FALSE(editor().drawing.copyMode);
    EXPECT_EQ(s.enter(2).name.str(), "tower");

    options_.tellmsg = false;
    palette_->copybtnClick();
    palette_->gridDblClick(kEnter, 2, true);
    EXPECT_EQ(messages_.questions.size(), 1);
    EXPECT_EQ(s.enter(2).name.str(), "gate");

    // The copy command ends copy mode too.
    palette_->copybtnClick();
    palette_->copybtnClick();
    EXPECT_FALSE(editor().drawing.copyMode);
    // An empty slot cannot be a copy source.
    palette_->cellSelect(kEnter, 9);
    palette_->copybtnClick();
    EXPECT_FALSE(editor().drawing.copyMode);
}

TEST_F(PaletteTest, DeleteRemovesTheObjectFromEveryField) {
    Scenario& s = editor().scenario;
    s.cell(5).enter = 2;
    s.cell(150).enter = 2;  // field 2
    s.cell(151).enter = 1;
    palette_->setActivePage(1);
    palette_->cellSelect(kEnter, 2);
    messages_.answer = false;
    palette_->deletebtnClick();
    ASSERT_EQ(messages_.questions.size(), 1);
    EXPECT_TRUE(messages_.questions[0].startsWith(QStringLiteral("towerをパレットから削除します。")));
    EXPECT_TRUE(objectInUse(s, kEnter, 2));

    messages_.answer = true;
    palette_->deletebtnClick();
    EXPECT_FALSE(objectInUse(s, kEnter, 2));
    EXPECT_EQ(+s.cell(5).enter, 0);
    EXPECT_EQ(+s.cell(150).enter, 0);
    EXPECT_EQ(+s.cell(151).enter, 1);
    EXPECT_EQ(pictureIndex(editor().side.pictures, kEnter, 2), 0);
    EXPECT_EQ(palette_->list(kEnter)->nameText(2), QString());
    EXPECT_EQ(palette_->statusText(), QString());

    // Without tellmsg nothing is asked.
    options_.tellmsg = false;
    palette_->cellSelect(kEnter, 1);
    palette_->deletebtnClick();
    EXPECT_EQ(messages_.questions.size(), 2);
    EXPECT_EQ(+s.cell(151).enter, 0);
}

TEST_F(PaletteTest, ResettingALayerIsAlwaysAsked) {
    Scenario& s = editor().scenario;
    options_.tellmsg = false;
    s.cell(3).place = 2;
    s.cell(160).place = 3;
    messages_.answer = false;
    palette_->paletteeraseClick();
    EXPECT_EQ(messages_.questions, QStringList{QStringLiteral("地形を全て初期化します。本当によろしいですか？")});
    EXPECT_TRUE(objectInUse(s, kPlace, 2));

    messages_.answer = true;
    palette_->paletteeraseClick();
    for (int n = 1; n <= 3; ++n) EXPECT_FALSE(objectInUse(s, kPlace, n));
    EXPECT_EQ(+s.cell(3).place, 0);
    EXPECT_EQ(+s.cell(160).place, 0);
    EXPECT_TRUE(objectInUse(s, kEnter, 1));  // other layers stay
}

TEST_F(PaletteTest, AddimgLoadsFromTheSearchFolderAndFallsBackToABlankChip) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    options_.serchpath = folder.path() + QStringLiteral("/");
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    picture.setPixel(5, 5, qRgb(10, 20, 30));
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("tree.bmp"))));
    QFile broken(folder.filePath(QStringLiteral("broken.bmp")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM\x10\x00garbage");
    broken.close();

    PictureList& list = editor().imageList;
    const int before = list.count();
    const int tree = editor().addimg(QStringLiteral("tree.bmp"), true, 0xFFFFFF);
    EXPECT_EQ(tree, before);
    const QImage loaded = list.pixmap(tree).toImage();
    EXPECT_EQ(qAlpha(loaded.pixel(0, 0)), 0);  // white is the transparent colour
    EXPECT_EQ(loaded.pixel(5, 5) | 0xFF000000u, qRgb(10, 20, 30));
    EXPECT_EQ(editor().addimg(QStringLiteral("missing.bmp"), false, 0), before + 1);
    EXPECT_EQ(editor().addimg(QStringLiteral("broken.bmp"), false, 0), before + 2);
    EXPECT_EQ(list.count(), before + 3);
}

// Double-click on an empty slot: the image chooser gives the slot its first
// picture with the chosen transparency; cancelling leaves the slot empty.
TEST_F(PaletteTest, EmptySlotTakesItsPictureFromTheChooser) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    options_.serchpath = folder.path() + QStringLiteral("/");
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    picture.setPixel(7, 7, qRgb(0, 128, 0));
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("tree.bmp"))));

    Tchipview chooser;
    chooser.readbmp();
    editor().imageChooser = &chooser;
    editorWindows().palette = palette_.get();
    Scenario& s = editor().scenario;
    editor().drawing.currentObject[kPlace] = 10;  // the first click of the double-click

    QTimer::singleShot(0, &chooser, [&] {
        chooser.selectEntry(0, false);
        chooser.findChild<QPushButton*>(QStringLiteral("cancelbtn"))->click();
    });
    palette_->gridDblClick(kPlace, 10, false);
    EXPECT_TRUE(s.placeImageFiles[9].empty());
    EXPECT_EQ(+editor().side.pictures.place[10], 0);

    QTimer::singleShot(0, &chooser, [&] {
        chooser.selectEntry(0, false);
        chooser.toggleTransparent();  // terrains start without transparency
        chooser.setTransparentColour(0xFFFFFF);
        chooser.finishChooser(true);
    });
    palette_->gridDblClick(kPlace, 10, false);
    EXPECT_EQ(s.placeImageFiles[9].str(), "tree.bmp");
    EXPECT_EQ(s.place(10).imageTransparent, 1);
    EXPECT_EQ(+s.place(10).imageColour, 0xFFFFFF);
    const int index = editor().side.pictures.place[10];
    ASSERT_GT(index, 0);
    const QImage loaded = editor().imageList.pixmap(index).toImage();
    EXPECT_EQ(qAlpha(loaded.pixel(0, 0)), 0);
    EXPECT_EQ(loaded.pixel(7, 7) | 0xFF000000u, qRgb(0, 128, 0));
}

// A page without any chip says how to get one, in the normal text colour
// over the black cells; its first chip takes the words away.
TEST_F(PaletteTest, EmptyPageSaysHowToRegisterAChipUntilItHasOne) {
    Scenario& s = editor().scenario;
    for (int n = 1; n <= 3; ++n) firstImageFile(s, kItem, n)->assign("");
    PaletteCellGrid* items = palette_->grid(kItem);
    EXPECT_EQ(items->hintText(), QStringLiteral("空きマスをダブルクリックしてイメージを登録"));
    EXPECT_EQ(palette_->grid(kPlace)->hintText(), QString());
    EXPECT_EQ(palette_->list(kItem)->hintText(), QString());

    items->resize(330, 330);
    QPalette colours = items->palette();
    colours.setColor(QPalette::Text, Qt::blue);  // told apart from the cells and the red frame
    colours.setColor(QPalette::Base, Qt::white);
    items->setPalette(colours);
    const auto textPixels = [items] {
        const QImage shown = items->viewport()->grab().toImage();
        const QRgb base = items->palette().color(QPalette::Base).rgb();
        int texts = 0, bases = 0;
        for (int y = shown.height() / 3; y < 2 * shown.height() / 3; ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                texts += c.blue() > c.red() + 100 && c.blue() > c.green() + 100;  // text, smoothed or not
                bases += shown.pixel(x, y) == base;
            }
        return std::pair(texts, bases);
    };
    const auto [texts, bases] = textPixels();
    EXPECT_GT(texts, 20);
    EXPECT_GT(bases, 200);

    firstImageFile(s, kItem, 40)->assign("chip.bmp");
    EXPECT_EQ(items->hintText(), QString());
    EXPECT_EQ(textPixels(), std::pair(0, 0));
}

TEST_F(PaletteTest, ViewSwitchesShowListsOrGridsAndTheToolBar) {
    palette_->show();
    options_.palettelistview = false;
    palette_->listorgridClick();
    EXPECT_TRUE(options_.palettelistview);
    EXPECT_TRUE(palette_->list(kEnter)->isEnabled());
    EXPECT_FALSE(palette_->grid(kEnter)->isEnabled());
    EXPECT_FALSE(palette_->gridViewAction()->isChecked());
    EXPECT_EQ(palette_->list(kEnter)->nameText(1), QStringLiteral("gate"));
    palette_->listorgridClick();
    EXPECT_TRUE(palette_->grid(kEnter)->isEnabled());
    EXPECT_TRUE(palette_->gridViewAction()->isChecked());

    palette_->toolbarClick();
    EXPECT_FALSE(options_.palettetoolview);
    EXPECT_FALSE(palette_->toolPanel()->isVisible());
    EXPECT_FALSE(palette_->toolbarAction()->isChecked());
    palette_->toolbarClick();
    EXPECT_TRUE(palette_->toolPanel()->isVisible());
    EXPECT_LE(palette_->maximumWidth(), 378);
}

}  // namespace
}  // namespace qrn
