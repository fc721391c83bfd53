// The event page end to end: the author clicks boxes and buttons of the
// property editor opened on an event, and the scenario record is checked.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "services/shortstringedit.h"
#include "objectpage_fixture.h"
#include "properties/eventpage.h"

namespace qrn::test {
namespace {

QStringList lines(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

class EventPageTest : public ObjectPageTest {
protected:
    void SetUp() override {
        ObjectPageTest::SetUp();
        EventDef& e = signpost();
        e.name.assign("signpost");
        scenario().eventImage2Files[0].assign("after.bmp");
    }
    EventDef& signpost() { return scenario().event(1); }
    EventPage& page() { return *paramedit_->eventPage(); }
    void open() { paramedit_->openOn(kEvent, 1, true); }
};

TEST_F(EventPageTest, HideAfterTheEndClearsTheAfterSettingsAndUncheckingCopiesTheBeforeImage) {
    EventDef& e = signpost();
    e.evendcomment = 10;
    e.evinfinity = 1;
    e.imageTransparent = 1;
    e.imageColour = 0x0000FF;
    open();
    EXPECT_EQ(paramedit_->shownLayer(), kEvent);
    EXPECT_EQ(paramedit_->size(), QSize(210, 449));
    EXPECT_EQ(paramedit_->windowTitle(), QStringLiteral("signpostのﾌﾟﾛﾊﾟﾃｨ"));
    EXPECT_EQ(page().label("evendcomment")->text(), QStringLiteral("hello"));
    EXPECT_TRUE(page().flagBox(4)->isChecked());

    page().flagBox(1)->click();  // 終了後非表示
    EXPECT_EQ(e.evendhide, 1);
    EXPECT_TRUE(scenario().eventImage2Files[0].empty());
    EXPECT_EQ(+e.evendcomment, 0);
    EXPECT_EQ(e.evinfinity, 0);
    EXPECT_FALSE(page().flagBox(4)->isChecked());
    EXPECT_FALSE(page().flagBox(4)->isEnabled());
    EXPECT_FALSE(page().button("evendcommentset")->isEnabled());
    EXPECT_FALSE(page().button("evendfilenameset")->isEnabled());
    EXPECT_EQ(page().label("evendfilename")->text(), QStringLiteral("-"));

    page().flagBox(1)->click();
    EXPECT_EQ(e.evendhide, 0);
    EXPECT_EQ(scenario().eventImage2Files[0].view(), "chip.bmp");  // a copy of the before-image
    EXPECT_EQ(e.image2Transparent, 1);
    EXPECT_EQ(+e.image2Colour, 0x0000FF);
    EXPECT_EQ(loaded, QStringList{"chip.bmp"});
    EXPECT_EQ(+editor().side.pictures.event[kEventCount + 1], 41);
    EXPECT_TRUE(page().flagBox(4)->isEnabled());
    EXPECT_TRUE(page().button("evendcommentset")->isEnabled());

    page().flagBox(3)->click();  // 条件合致まで非表示
    e.evstartcomment = 10;       // as a damaged file may hold it
    page().flagBox(6)->click();
    EXPECT_EQ(+e.evstartcomment, 0);
    EXPECT_EQ(e.evnotwondering, 1);
    EXPECT_FALSE(page().button("evstartcommentset")->isEnabled());
}

TEST_F(EventPageTest, BattleAndPrologueRules) {
    EventDef& e = signpost();
    open();
    EXPECT_FALSE(page().flagBox(5)->isEnabled());  // no battle: 死亡しても続行 closed
    chooser_.answer = {true, 4};
    page().evenemysetClick();
    EXPECT_EQ(e.evenemy, 4);
    EXPECT_EQ(chooser_.kinds.back(), ResourceKind::EnemyGroup);
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：signpostで出現する敵グループを一つ選択"));
    EXPECT_EQ(page().label("evenemy")->text(), QStringLiteral("wolves"));
    page().flagBox(5)->click();
    EXPECT_EQ(e.evdieok, 1);
    chooser_.answer = {true, -1};  // an unused group: no choice
    page().evenemysetClick();
    EXPECT_EQ(e.evenemy, 4);
    page().button("evenemydel")->click();
    EXPECT_EQ(e.evenemy, 0);
    EXPECT_EQ(e.evdieok, 0);
    EXPECT_FALSE(page().flagBox(5)->isChecked());
    EXPECT_FALSE(page().flagBox(5)->isEnabled());

    EXPECT_FALSE(page().button("evprologuebgmset")->isEnabled());
    chooser_.answer = {true, 10};
    page().evprologuesetClick();
    EXPECT_EQ(+e.evprologue, 10);
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：signpostのﾌﾟﾛﾛｰｸﾞｺﾒﾝﾄを一つ選択"));
    ASSERT_TRUE(page().button("evprologuebgmset")->isEnabled());
    EXPECT_FALSE(page().button("evprologuebgmplay")->isEnabled());
    chooser_.answer = {true, 3};
    page().evprologuebgmsetClick();
    EXPECT_EQ(e.evprologuebgm, 3);
    page().button("evprologuebgmplay")->click();
    ASSERT_EQ(media_.played.size(), 1);
    EXPECT_EQ(media_.played[0], editor().resourcePath(QStringLiteral("march.mid")) + QStringLiteral("|loop"));
    page().button("evprologuedel")->click();
    EXPECT_EQ(+e.evprologue, 0);
    EXPECT_EQ(e.evprologuebgm, 0);
    EXPECT_FALSE(page().button("evprologuebgmset")->isEnabled());
    EXPECT_EQ(page().label("evprologuebgm")->text(), QStringLiteral("-"));

    imageAnswer = QStringLiteral("title.bmp");
    page().evepiloguebmpsetClick();
    EXPECT_EQ(e.evepiloguebmp.view(), "title.bmp");
    EXPECT_TRUE(loaded.isEmpty());  // a full-screen image is not a chip picture
    EXPECT_TRUE(page().button("evepiloguebgmset")->isEnabled());
    page().button("evepiloguebmpview")->click();
    EXPECT_EQ(enlarged, QStringList{"title.bmp"});

    chooser_.answer = {true, 10};
    page().evstartcommentsetClick();
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：signpostが発生する前のｺﾒﾝﾄを一つ選択"));
    EXPECT_EQ(+e.evstartcomment, 10);
}

TEST_F(EventPageTest, TheStartItemIsKeptOnlyForItemUse) {
    EventDef& e = signpost();
    e.evaction = 2;
    e.evstartitem = 7;
    open();
    EXPECT_TRUE(page().actionButton(2)->isChecked());
    EXPECT_EQ(page().label("evstartitem")->text(), QStringLiteral("item7"));
    itemAnswer = std::vector<int>{9, 3};
    page().evstartitemsetClick();
    EXPECT_EQ(+e.evstartitem, 3);
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("signpostを開始するｱｲﾃﾑを一つ選択"));
    EXPECT_TRUE(preselected.back().empty());
    itemAnswer = std::nullopt;  // cancelled
    page().evstartitemsetClick();
    EXPECT_EQ(+e.evstartitem, 3);

    page().actionButton(0)->click();  // 調べる
    EXPECT_EQ(e.evaction, 0);
    EXPECT_EQ(+e.evstartitem, 0);
    EXPECT_FALSE(page().button("evstartitemset")->isEnabled());
    page().actionButton(2)->click();
    EXPECT_EQ(e.evaction, 2);
    EXPECT_EQ(+e.evstartitem, 0);
    EXPECT_TRUE(page().button("evstartitemset")->isEnabled());

    e.evstartitem = 999;  // beyond the table
    page().eventview();
    EXPECT_EQ(page().label("evstartitem")->text(), QStringLiteral("-"));
}

TEST_F(EventPageTest, ListsKeepTheirTenLowestChoicesAndShowDamagedEntriesAsDash) {
    EventDef& e = signpost();
    const u8 before[10] = {4, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    std::memcpy(e.evshowitem, before, sizeof before);
    open();
    EXPECT_EQ(lines(page().list("evshowitem")), (QStringList{"item4", "item2"}));
    itemAnswer = std::vector<int>{12, 11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    page().evshowitemsetClick();
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("signpostの発生に必要なｱｲﾃﾑを１０個まで選択"));
    EXPECT_EQ(preselected.back(), (std::vector<int>{4, 2}));
    const u8 filled[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(std::memcmp(e.evshowitem, filled, 10), 0);
    EXPECT_EQ(page().list("evshowitem")->count(), 10);

    itemAnswer = std::vector<int>{8, 3, 5};
    page().evgetitemsetClick();
    page().evputitemsetClick();
    const u8 three[10] = {3, 5, 8, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(e.evgetitem, three, 10), 0);
    EXPECT_EQ(std::memcmp(e.evputitem, three, 10), 0);
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("signpostで消失するｱｲﾃﾑを１０個まで選択"));
    itemAnswer = std::nullopt;  // cancelled: the slots stay
    page().evgetitemsetClick();
    EXPECT_EQ(std::memcmp(e.evgetitem, three, 10), 0);

    eventAnswer = std::vector<int>{6, 2};
    page().evshoweventsetClick();
    EXPECT_EQ(lines(page().list("evshowevent")), (QStringList{"event2", "event6"}));
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("signpostの発生に必要なｲﾍﾞﾝﾄを１０個まで選択"));

    e.evputitem[3] = 251;  // from a damaged file
    e.evshowevent[2] = 255;
    page().eventview();
    EXPECT_EQ(lines(page().list("evputitem")), (QStringList{"item3", "item5", "item8", "-"}));
    EXPECT_EQ(lines(page().list("evshowevent")), (QStringList{"event2", "event6", "-"}));

    page().button("evputitemdel")->click();
    for (u8 slot : e.evputitem) EXPECT_EQ(slot, 0);
    EXPECT_EQ(page().list("evputitem")->count(), 0);
}

TEST_F(EventPageTest, JumpThroughTheLocationPickerAndToADeletedField) {
    EventDef& e = signpost();
    e.jumpField = 2;
    open();
    EXPECT_EQ(page().label("evlink")->text(), QStringLiteral("cave"));
    EXPECT_EQ(page().label("evlocatex")->text(), QStringLiteral("X：未指定"));
    EXPECT_EQ(page().label("evlocatey")->text(), QStringLiteral("Y：未指定"));
    int rebuilds = 0;  // the field manager's jump list follows every change of a jump
    paramedit_->hooks().jumpsChanged = [&rebuilds] { ++rebuilds; };
    locationAnswer = PickedLocation{2, 0};  // no position: refused
    page().evlinksetClick();
    EXPECT_EQ(+e.jumpPosition, 0);
    EXPECT_EQ(rebuilds, 0);
    locationAnswer = PickedLocation{2, 23};
    page().evlinksetClick();
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("：signpost終了後ｼﾞｬﾝﾌﾟするﾌｨｰﾙﾄﾞと座標を選択"));
    EXPECT_EQ(+e.jumpPosition, 23);
    EXPECT_EQ(page().label("evlocatex")->text(), QStringLiteral("X：3"));
    EXPECT_EQ(page().label("evlocatey")->text(), QStringLiteral("Y：2"));
    EXPECT_EQ(rebuilds, 1);

    e.jumpPosition = 201;  // beyond the 200 cells of the field
    page().eventview();
    EXPECT_EQ(page().label("evlocatex")->text(), QStringLiteral("X：未指定"));
    e.jumpPosition = 23;
    scenario().field(2).firstCell = 0;  // the field was deleted behind the page
    page().eventview();
    EXPECT_EQ(page().label("evlink")->text(), QStringLiteral("-"));
    EXPECT_EQ(page().label("evlocatey")->text(), QStringLiteral("Y：未指定"));

    page().button("evlinkdel")->click();
    EXPECT_EQ(rebuilds, 2);
    EXPECT_EQ(e.jumpField, 0);
    EXPECT_EQ(+e.jumpPosition, 0);
}

TEST_F(EventPageTest, MagicNameAndPicturesFromTheirChoosers) {
    EventDef& e = signpost();
    open();
    magicAnswer = std::vector<int>{5, 2};
    page().evgetmagicsetClick();
    EXPECT_EQ(e.evgetmagic, 2);
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("signpostで修得する魔法を一つ選択"));
    EXPECT_EQ(page().label("evgetmagic")->text(), QStringLiteral("fire"));
    magicAnswer = std::nullopt;
    page().evgetmagicsetClick();
    EXPECT_EQ(e.evgetmagic, 2);

    int repaints = 0;
    paramedit_->hooks().picturesChanged = [&](int layer) { repaints += layer == kEvent; };
    imageAnswer = QStringLiteral("stone.bmp");
    page().evfilenamesetClick();
    EXPECT_EQ(scenario().eventImageFiles[0].view(), "stone.bmp");
    EXPECT_EQ(e.imageTransparent, 1);
    EXPECT_EQ(+e.imageColour, 0x00FF00);
    EXPECT_EQ(+editor().side.pictures.event[1], 41);
    EXPECT_EQ(repaints, 1);
    page().evendfilenamesetClick();
    EXPECT_EQ(scenario().eventImage2Files[0].view(), "stone.bmp");
    EXPECT_EQ(+editor().side.pictures.event[kEventCount + 1], 42);
    EXPECT_EQ(repaints, 1);

    int renamed = 0;
    paramedit_->hooks().namesChanged = [&](int layer) { renamed += layer == kEvent; };
    page().eventname()->setText(QString());
    EXPECT_TRUE(e.name.empty());
    EXPECT_EQ(paramedit_->windowTitle(), QStringLiteral("ｲﾍﾞﾝﾄのﾌﾟﾛﾊﾟﾃｨ"));
    chooser_.answer = {true, 10};
    page().evendcommentsetClick();
    EXPECT_EQ(chooser_.captions.back(), QStringLiteral("：このｲﾍﾞﾝﾄが発生後のｺﾒﾝﾄを一つ選択"));
    EXPECT_EQ(renamed, 1);
}

}  // namespace
}  // namespace qrn::test
