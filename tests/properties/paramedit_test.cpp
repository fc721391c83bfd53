// The property editor with its terrain and building pages, end to end: the
// window is opened on objects as the palette and the map do, the author
// types and clicks, and the scenario record is checked.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

#include "services/editorcontext.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "services/mainwindowhooks.h"
#include "services/options.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/enterpage.h"
#include "properties/numericedit.h"
#include "properties/paramedit.h"
#include "properties/placepage.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/maplayers.h"

namespace qrn {
namespace {

class FakeChooser : public ResourceChooser {
public:
    ResourceChoice chooseResource(ResourceKind kind, const QString& suffix, int preselected) override {
        kinds.push_back(kind);
        captions << suffix;
        preselections.push_back(preselected);
        return answer;
    }
    ResourceChoice answer;
    std::vector<ResourceKind> kinds;
    std::vector<int> preselections;
    QStringList captions;
};

// A widget that records the keys sent to it.
class KeySink : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

class ParameditTest : public ::testing::Test {
protected:
    void SetUp() override {
        EditorContext& ctx = editor();
        saved_ = {ctx.options, ctx.resourceChooser, editorWindows().paramedit, editorWindows().palette, editorWindows().maker, ctx.media};
        ctx.options = &options_;
        ctx.resourceChooser = &chooser_;
        editorWindows().palette = nullptr;
        editorWindows().maker = nullptr;
        setMainWindowHooks(nullptr);
        ctx.media = nullptr;
        Scenario& s = ctx.scenario;
        alldatainitialize(s, ctx.side, 3);
        createFirstField(s, "", "", "", 10, 10);
        ASSERT_EQ(placeNewField(s, 2, 20, 10), AddFieldResult::Added);
        s.field(2).name.assign("cave");
        for (int layer = kPlace; layer <= kChara; ++layer)
            for (int n = 1; n <= 3; ++n) firstImageFile(s, layer, n)->assign("chip.bmp");
        s.place(2).name.assign("mountain");
        s.enter(1).name.assign("house");
        s.enemyType(4).name.assign("wolves");
        s.sound(5).name.assign("step");
        s.item(7).name.assign("key");
        paramedit_ = std::make_unique<Tparamedit>();
        editorWindows().paramedit = paramedit_.get();
        ParameditHooks& h = paramedit_->hooks();
        h.pickItems = [this](const QString& caption, const std::vector<int>&) {
            pickerCaptions << caption;
            return itemAnswer;
        };
        h.pickEvents = h.pickItems;
        h.pickLocation = [this](const QString& caption, int, int) {
            pickerCaptions << caption;
            return locationAnswer;
        };
        h.jumpsChanged = [this] { ++jumpRebuilds; };
        h.paletteKeyTarget = [this]() -> QWidget* { return &paletteSink; };
        h.mapKeyTarget = [this]() -> QWidget* { return &mapSink; };
    }

    void TearDown() override {
        paramedit_.reset();
        EditorContext& ctx = editor();
        ctx.options = saved_.options;
        ctx.resourceChooser = saved_.chooser;
        editorWindows().paramedit = saved_.paramedit;
        editorWindows().palette = saved_.palette;
        editorWindows().maker = saved_.maker;
        setMainWindowHooks(saved_.maker);
        ctx.media = saved_.media;
    }

    PlacePage& place() { return *paramedit_->placePage(); }
    EnterPage& enter() { return *paramedit_->enterPage(); }
    PlaceDef& mountain() { return editor().scenario.place(2); }

    struct Saved {
        Options* options;
        ResourceChooser* chooser;
        Tparamedit* paramedit;
        Tpalette* palette;
        Tmaker* maker;
        MediaService* media;
    } saved_{};
    Options options_;
    FakeChooser chooser_;
    std::unique_ptr<Tparamedit> paramedit_;
    std::optional<std::vector<int>> itemAnswer;
    std::optional<PickedLocation> locationAnswer;
    QStringList pickerCaptions;
    int jumpRebuilds = 0;
    KeySink paletteSink, mapSink;
};

TEST_F(ParameditTest, OpensThePageOfTheLayerOrHidesForAnUnusedObject) {
    paramedit_->openOn(kPlace, 2, true);
    EXPECT_TRUE(paramedit_->isVisible());
    EXPECT_EQ(paramedit_->shownLayer(), kPlace);
    EXPECT_EQ(paramedit_->size(), QSize(206, 284));
    EXPECT_EQ(paramedit_->windowTitle(), QStringLiteral("mountainのﾌﾟﾛﾊﾟﾃｨ"));
    EXPECT_EQ(place().placename()->text(), QStringLiteral("mountain"));

    editor().scenario.enter(2).name.clear();
    paramedit_->openOn(kEnter, 2, false);
    EXPECT_EQ(paramedit_->shownLayer(), kEnter);
    EXPECT_EQ(paramedit_->size(), QSize(204, 330));
    EXPECT_EQ(paramedit_->windowTitle(), QStringLiteral("建造物のﾌﾟﾛﾊﾟﾃｨ"));
    EXPECT_FALSE(paramedit_->panel(kPlace)->isVisible());

    paramedit_->openOn(kItem, 9, true);  // no picture: not in use
    EXPECT_FALSE(paramedit_->isVisible());
}

TEST_F(ParameditTest, NumericBoxesStoreWithinTheirBounds) {
    mountain().plmove = 1;
    paramedit_->openOn(kPlace, 2, true);
    struct Case {
        NumericEdit* box;
        const char* typed;
        u8 PlaceDef::*field;
        int stored;
        const char* shown;
    } cases[] = {
        {place().plwonderingedit(), "0", &PlaceDef::plwondering, 0, "0"},
        {place().plwonderingedit(), "00", &PlaceDef::plwondering, 0, "00"},
        {place().plwonderingedit(), "150", &PlaceDef::plwondering, 100, "100"},
        {place().plwonderingedit(), "-1", &PlaceDef::plwondering, 0, "0"},
        {place().plwonderingedit(), "abc", &PlaceDef::plwondering, 0, ""},
        {place().pldamageedit(), "x", &PlaceDef::pldamage, 255, "死"},
        {place().plhealingedit(), "200", &PlaceDef::plhealing, 127, "127"},
        {place().plhealingedit(), "?", &PlaceDef::plhealing, 255, "全"},
    };
    for (const Case& c : cases) {
        c.box->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(mountain().*c.field, c.stored) << c.typed;
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.shown)) << c.typed;
    }
    // A typed value moves the arrows: the next step goes on from it.
    place().plwonderingedit()->setText(QStringLiteral("50"));
    paramedit_->findChild<QSpinBox*>(QStringLiteral("plwondering"))->stepUp();
    EXPECT_EQ(mountain().plwondering, 51);
    EXPECT_EQ(place().plhealing()->value(), -1);  // 255 on the up-down
    place().pldamage()->setValue(12);
    EXPECT_EQ(mountain().pldamage, 12);
    EXPECT_EQ(place().pldamageedit()->text(), QStringLiteral("12"));
}

TEST_F(ParameditTest, UncheckingPassableClearsThePassingSettings) {
    PlaceDef& p = mountain();
    p.plmove = 1;
    p.plenemytype = 4;
    p.plwondering = 30;
    p.plhealing = 5;
    p.plrecover = 7;
    paramedit_->openOn(kPlace, 2, true);
    EXPECT_TRUE(place().plwonderingedit()->isEnabled());
    place().plmove()->click();
    EXPECT_EQ(p.plmove, 0);
    EXPECT_EQ(p.plenemytype, 0);
    EXPECT_EQ(p.plwondering, 0);
    EXPECT_EQ(p.plhealing, 0);
    EXPECT_EQ(p.plrecover, 0);
    EXPECT_FALSE(place().plwonderingedit()->isEnabled());
    place().plmove()->click();
    EXPECT_EQ(p.plmove, 1);
    EXPECT_EQ(p.plenemytype, 0);
    EXPECT_TRUE(place().plwonderingedit()->isEnabled());
}

TEST_F(ParameditTest, TerrainChoosersFollowTheirResultRules) {
    mountain().plmove = 1;
    paramedit_->openOn(kPlace, 2, true);
    chooser_.answer = {true, 4};
    place().plenemytypesetClick();
    EXPECT_EQ(mountain().plenemytype, 4);
    EXPECT_EQ(chooser_.kinds.back(), ResourceKind::EnemyGroup);
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：mountainで出現する敵グループを一つ選択"));
    chooser_.answer = {false, 9};  // cancelled: unchanged
    place().plenemytypesetClick();
    EXPECT_EQ(mountain().plenemytype, 4);
    chooser_.answer = {true, 5};
    place().plsoundsetClick();
    EXPECT_EQ(mountain().plsound, 5);
    chooser_.answer = {true, -1};  // an unused entry clears
    place().plsoundsetClick();
    EXPECT_EQ(mountain().plsound, 0);
    chooser_.answer = {true, 3};
    place().plwalkimgsetClick();
    EXPECT_EQ(mountain().plwalkimg, 3);
    EXPECT_EQ(chooser_.preselections.back(), 0);

    itemAnswer = std::vector<int>{7, 12};
    place().plwantitemsetClick();
    EXPECT_EQ(mountain().plwantitem, 7);
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("mountainを通過する為に必要なｱｲﾃﾑを一つ選択"));
    itemAnswer = std::vector<int>{};  // nothing chosen: unchanged
    place().plwantitemsetClick();
    EXPECT_EQ(mountain().plwantitem, 7);

    editor().resourceChooser = nullptr;  // no resource lists: nothing happens
    place().plenemytypesetClick();
    EXPECT_EQ(mountain().plenemytype, 4);
}

TEST_F(ParameditTest, BuildingJumpThroughTheLocationPicker) {
    EnterDef& house = editor().scenario.enter(1);
    house.enmove = 1;
    paramedit_->openOn(kEnter, 1, true);
    EXPECT_EQ(enter().enlocatex()->text(), QStringLiteral("X ：未指定"));
    locationAnswer = PickedLocation{2, 0};  // no position: refused
    enter().enfieldtosetClick();
    EXPECT_EQ(house.jumpField, 0);
    locationAnswer = PickedLocation{2, 23};  // column 3, row 2 of a 20-wide field
    enter().enfieldtosetClick();
    EXPECT_EQ(house.jumpField, 2);
    EXPECT_EQ(+house.jumpPosition, 23);
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("：houseからｼﾞｬﾝﾌﾟするﾌｨｰﾙﾄﾞと座標を選択"));
    EXPECT_EQ(enter().enfieldto()->text(), QStringLiteral("cave"));
    EXPECT_EQ(enter().enlocatex()->text(), QStringLiteral("X ：3"));
    EXPECT_EQ(enter().enlocatey()->text(), QStringLiteral("Y ：2"));
    EXPECT_EQ(jumpRebuilds, 1);

    house.enshowitem = 7;
    enter().enmove()->click();  // impassable: the jump goes, the appearance item stays
    EXPECT_EQ(house.jumpField, 0);
    EXPECT_EQ(+house.jumpPosition, 0);
    EXPECT_EQ(house.enshowitem, 7);
    EXPECT_EQ(jumpRebuilds, 2);
    house.jumpField = 2;  // a damaged file: an impassable building with a jump
    paramedit_->openOn(kEnter, 1, true);
    EXPECT_EQ(house.jumpField, 0);
    EXPECT_EQ(jumpRebuilds, 3);
}

TEST_F(ParameditTest, ImagesFromTheChooserAndTheExtendImageRule) {
    EditorContext& ctx = editor();
    PlaceDef& p = mountain();
    p.plmove = 1;
    paramedit_->openOn(kPlace, 2, true);
    std::vector<bool> presets;
    QStringList loaded;
    int repaints = 0;
    ParameditHooks& h = paramedit_->hooks();
    h.chooseImage = [&](bool preset) -> std::optional<QString> {
        presets.push_back(preset);
        ctx.state.defaultTransparent = true;
        ctx.state.defaultTransparentColour = 0x00FF00;
        return QStringLiteral("rock.bmp");
    };
    h.addimg = [&](const QString& file, bool transparent, unsigned colour) {
        loaded << file + (transparent ? "|t|" : "|-|") + QString::number(colour, 16);
        return 42;
    };
    h.picturesChanged = [&](int layer) { repaints += layer == kPlace; };
    p.image2Transparent = 1;
    place().plextendfilenamesetClick();
    EXPECT_EQ(presets, std::vector<bool>{true});
    EXPECT_EQ(loaded, QStringList{"rock.bmp|t|ff00"});
    EXPECT_EQ(ctx.scenario.placeImage2Files[1].view(), "rock.bmp");
    EXPECT_EQ(+p.image2Colour, 0x00FF00);
    EXPECT_EQ(+ctx.side.pictures.place2[2], 42);
    EXPECT_EQ(repaints, 0);  // the palette and the map draw only the first picture
    p.plshowitem = 7;
    p.plshowevent = 2;
    place().plextendfilenamedelClick();
    EXPECT_TRUE(ctx.scenario.placeImage2Files[1].empty());
    EXPECT_EQ(+ctx.side.pictures.place2[2], 0);
    EXPECT_EQ(p.plshowitem, 0);
    EXPECT_EQ(p.plshowevent, 0);

    place().plfilenamesetClick();
    EXPECT_EQ(ctx.scenario.placeImageFiles[1].view(), "rock.bmp");
    EXPECT_EQ(+ctx.side.pictures.place[2], 42);
    EXPECT_EQ(p.imageTransparent, 1);
    EXPECT_EQ(repaints, 1);
    h.chooseImage = [](bool) -> std::optional<QString> { return std::nullopt; };  // cancelled
    place().plfilenamesetClick();
    EXPECT_EQ(ctx.scenario.placeImageFiles[1].view(), "rock.bmp");
}

TEST_F(ParameditTest, NameBoxWritesTheNameAndTheCaption) {
    editor().scenario.place(3).name.clear();
    paramedit_->openOn(kPlace, 3, true);
    EXPECT_EQ(paramedit_->windowTitle(), QStringLiteral("地形のﾌﾟﾛﾊﾟﾃｨ"));
    int notified = 0;
    paramedit_->hooks().namesChanged = [&](int layer) { notified += layer == kPlace; };
    place().placename()->setText(QStringLiteral("草原"));
    EXPECT_EQ(fromCp932(editor().scenario.place(3).name.view()), QStringLiteral("草原"));
    EXPECT_EQ(paramedit_->windowTitle(), QStringLiteral("草原のﾌﾟﾛﾊﾟﾃｨ"));
    EXPECT_EQ(notified, 1);
}

TEST_F(ParameditTest, ShiftKeysGoToThePaletteOrTheMapAndEscapeHides) {
    paramedit_->openOn(kPlace, 2, true);
    paramedit_->activateWindow();
    auto send = [&](QWidget* to, int key, Qt::KeyboardModifiers m) {
        QKeyEvent e(QEvent::KeyPress, key, m);
        QCoreApplication::sendEvent(to, &e);
    };
    send(place().placename(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(paletteSink.keys, std::vector<int>{Qt::Key_Down});
    EXPECT_TRUE(mapSink.keys.empty());
    send(place().placename(), Qt::Key_A, Qt::ShiftModifier);  // not passed on
    EXPECT_EQ(paletteSink.keys.size(), 1u);

    paramedit_->openOn(kPlace, 2, false);
    send(place().placename(), Qt::Key_Return, Qt::ShiftModifier);
    send(place().placename(), Qt::Key_Left, Qt::NoModifier);  // without Shift it stays here
    EXPECT_EQ(mapSink.keys, std::vector<int>{Qt::Key_Return});

    // Entering the page control with Shift held moves on; it hands its
    // focus to its tab bar, which counts as entering it.
    QTabBar* tabs = paramedit_->panel(kPlace)->tabBar();
    paramedit_->activateWindow();
    for (int i = 0; i < 20 && !paramedit_->isActiveWindow(); ++i) QApplication::processEvents();
    tabs->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), tabs);
    place().placename()->setFocus();
    tabs->setFocus(Qt::BacktabFocusReason);
    EXPECT_NE(QApplication::focusWidget(), tabs);

    send(place().placename(), Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(paramedit_->isVisible());
}

TEST(ParameditPages, AltWCycles) {
    struct Case {
        int layer, kind;
        std::vector<int> cycle;
    } cases[] = {
        {kPlace, 0, {0, 1, 2}},       {kEnter, 0, {0, 1}},    {kEvent, 0, {0, 1, 2, 3}},
        {kItem, 0, {0, 1, 2}},        {kChara, 0, {0, 1, 2, 3}}, {kChara, 1, {0, 1}},
        {kChara, 2, {0, 1}},          {kChara, 3, {0, 1, 4, 5}},
    };
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < c.cycle.size(); ++i)
            EXPECT_EQ(Tparamedit::nextPage(c.layer, c.kind, c.cycle[i]), c.cycle[(i + 1) % c.cycle.size()])
                << c.layer << "/" << c.kind << " page " << c.cycle[i];
    }
    EXPECT_EQ(Tparamedit::nextPage(kChara, 3, 2), -1);  // a comment page is not in the enemy cycle
}

}  // namespace
}  // namespace qrn
