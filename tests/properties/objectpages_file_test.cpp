// The event and item pages as an author uses them on a small scenario: what
// is set in the window is in the saved file and shows again after reopening.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>

#include "objectpage_fixture.h"
#include "properties/eventpage.h"
#include "properties/itempage.h"
#include "properties/numericedit.h"
#include "scenario/scenariofile.h"

namespace qrn::test {
namespace {

TEST_F(ObjectPageTest, EventAndItemSettingsSurviveSaveAndReopen) {
    Scenario& s = scenario();
    s.event(1).name.assign("signpost");
    s.item(1).name.assign("sword");
    s.item(2).name.assign("potion");

    paramedit_->openOn(kEvent, 1, true);
    EventPage& ev = *paramedit_->eventPage();
    chooser_.answer = {true, 10};
    ev.evstartcommentsetClick();
    chooser_.answer = {true, 4};
    ev.evenemysetClick();
    itemAnswer = std::vector<int>{2};
    ev.evgetitemsetClick();
    locationAnswer = PickedLocation{2, 23};
    ev.evlinksetClick();

    paramedit_->openOn(kItem, 1, true);
    ItemPage& it = *paramedit_->itemPage();
    it.kindButton(0)->click();
    it.itmoney()->setText(QStringLiteral("300"));
    paramedit_->openOn(kItem, 2, true);
    it.kindButton(5)->click();
    it.itcount()->setText(QStringLiteral("0"));
    EXPECT_EQ(it.itcount()->text(), QStringLiteral("無限"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = (dir.path() + QStringLiteral("/demo.snr")).toStdString();
    ASSERT_TRUE(saveScenario(path, s, false).ok);
    alldatainitialize(s, editor().side, 3);
    ASSERT_TRUE(openScenario(path, s, editor().side).ok);

    const EventDef& e = s.event(1);
    EXPECT_EQ(+e.evstartcomment, 10);
    EXPECT_EQ(e.evenemy, 4);
    EXPECT_EQ(e.evgetitem[0], 2);
    EXPECT_EQ(e.evgetitem[1], 0);
    EXPECT_EQ(e.jumpField, 2);
    EXPECT_EQ(+e.jumpPosition, 23);
    EXPECT_EQ(s.item(1).itgroup[0], 1);
    EXPECT_EQ(+s.item(1).itmoney, 300);
    EXPECT_EQ(s.item(2).itgroup[5], 1);
    EXPECT_EQ(s.item(2).itcount, 0);

    paramedit_->openOn(kEvent, 1, true);
    EXPECT_EQ(ev.label("evstartcomment")->text(), QStringLiteral("hello"));
    EXPECT_EQ(ev.label("evenemy")->text(), QStringLiteral("wolves"));
    EXPECT_EQ(ev.list("evgetitem")->item(0)->text(), QStringLiteral("potion"));
    EXPECT_EQ(ev.label("evlink")->text(), QStringLiteral("cave"));
    EXPECT_EQ(ev.label("evlocatex")->text(), QStringLiteral("X：3"));
    paramedit_->openOn(kItem, 1, true);
    EXPECT_EQ(it.itmoney()->text(), QStringLiteral("300"));
    EXPECT_TRUE(it.kindButton(0)->isChecked());
}

}  // namespace
}  // namespace qrn::test
