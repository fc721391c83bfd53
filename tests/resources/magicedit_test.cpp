// The settings window end to end: its three panels opened as the main
// window's menus do, the author types, clicks and picks, and the scenario
// record is checked.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/numericedit.h"
#include "resources/heropanel.h"
#include "resources/magicedit.h"
#include "resources/magicpanel.h"
#include "resources/scenariopanel.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"

namespace qrn::test {
namespace {

class FakeResourceChooser : public ResourceChooser {
public:
    ResourceChoice chooseResource(ResourceKind kind, const QString& caption, int preselected) override {
        kinds.push_back(kind);
        captions << caption;
        preselections.push_back(preselected);
        return answer;
    }
    ResourceChoice answer;
    std::vector<ResourceKind> kinds;
    std::vector<int> preselections;
    QStringList captions;
};

class SettingsWindow : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        EditorContext& ctx = editor();
        alldatainitialize(s, ctx.side, 5);
        createFirstField(s, "", "", "", 20, 10);
        ctx.resourceChooser = &chooser;
        window = std::make_unique<Tmagicedit>();
        SettingsHooks& h = window->hooks();
        h.pickItems = [this](const QString& caption, const std::vector<int>& chosen, int mode) {
            pickerCalls << caption + "|" + QString::number(mode);
            lastChosen = chosen;
            return pickAnswer;
        };
        h.pickMagics = h.pickItems;
        h.pickLocation = [this](const QString& caption, int field, int position) {
            pickerCalls << caption + "|" + QString::number(field) + "," + QString::number(position);
            return locationAnswer;
        };
        h.chooseImage = [this](bool preset) -> std::optional<QString> {
            pickerCalls << QStringLiteral("image|%1").arg(preset);
            return imageAnswer;
        };
        h.showLarge = [this](const QString& file, QPoint) { pickerCalls << "large|" + file; };
    }
    void TearDown() override {
        window.reset();
        editor().resourceChooser = nullptr;
        EditorFixture::TearDown();
    }
    template <typename T>
    T* child(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }

    Scenario& s = editor().scenario;
    FakeResourceChooser chooser;
    std::unique_ptr<Tmagicedit> window;
    QStringList pickerCalls;
    std::vector<int> lastChosen;
    std::optional<std::vector<int>> pickAnswer;
    std::optional<StartLocation> locationAnswer;
    std::optional<QString> imageAnswer;
};

// ---- magic list ------------------------------------------------------------

TEST_F(SettingsWindow, MagicTypeAndValuesAsTheAuthorEditsThem) {
    MagicDef& fire = s.magic(3);
    fire.name.assign("fire");
    fire.mgsuccess = 90;
    fire.mgusebattle = 1;
    fire.mgdamage = 40;
    fire.mgdowndef = 5;
    window->makemagiclist();
    window->show();
    MagicPanel& p = *window->magicPanel();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("魔法編集"));
    EXPECT_EQ(p.magiclist()->count(), 50);
    EXPECT_EQ(p.currentMagic(), 1);
    p.magiclist()->setCurrentRow(2);
    EXPECT_EQ(p.currentMagic(), 3);
    EXPECT_EQ(p.magicname()->text(), QStringLiteral("fire"));
    EXPECT_TRUE(p.mgtype()->button(2)->isChecked());  // 単体
    EXPECT_TRUE(p.battlepanel()->isVisibleTo(window.get()));
    EXPECT_FALSE(p.statepanel()->isVisibleTo(window.get()));
    EXPECT_EQ(p.battleValue(0)->text(), QStringLiteral("40"));
    EXPECT_EQ(p.battleValue(1)->text(), QString());
    EXPECT_TRUE(p.battleValue(1)->property("shaded").toBool());
    EXPECT_EQ(p.soundRow().value->text(), QStringLiteral("ﾃﾞﾌｫﾙﾄ"));
    EXPECT_FALSE(p.soundRow().extra->isEnabled());

    p.magicname()->setText(QStringLiteral("blaze"));
    EXPECT_EQ(p.magiclist()->item(2)->text(), QStringLiteral("3：blaze"));
    p.mgdownmp()->setText(QStringLiteral("70000"));
    EXPECT_EQ(+fire.mgdownmp, 65535);
    p.mgdownmp()->setText(QStringLiteral("x"));
    EXPECT_EQ(p.mgdownmp()->text(), QStringLiteral("0"));
    EXPECT_EQ(+fire.mgdownmp, 0);
    p.battleValue(0)->setText(QString());  // emptied: stores 0
    EXPECT_EQ(+fire.mgdamage, 0);
    EXPECT_TRUE(p.battleValue(0)->property("shaded").toBool());
    p.battleValue(4)->setText(QStringLiteral("12"));
    EXPECT_EQ(+fire.mgdowndef, 12);
    EXPECT_FALSE(p.battleValue(4)->property("shaded").toBool());
    p.targetGroup(4)->button(1)->click();
    EXPECT_EQ(fire.mgdowndeftome, 1);
    p.mgsleep()->setChecked(true);
    EXPECT_EQ(fire.mgsleep, 1);
    p.battleValue(0)->setText(QStringLiteral("40"));
    p.mgtype()->button(2)->click();  // the type already shown: nothing is cleared
    EXPECT_EQ(+fire.mgdamage, 40);
    EXPECT_EQ(fire.mgsleep, 1);
    EXPECT_EQ(fire.mgusebattle, 1);
    p.battleValue(2)->setText(QStringLiteral("5"));
    p.battleValue(2)->setText(QStringLiteral("5a"));  // not a number: emptied, stores 0, greyed
    EXPECT_EQ(p.battleValue(2)->text(), QString());
    EXPECT_EQ(+fire.mgdownstr, 0);
    EXPECT_TRUE(p.battleValue(2)->property("shaded").toBool());

    p.magiclist()->setCurrentRow(5);  // a new magic is shown as single target
    EXPECT_TRUE(p.mgtype()->button(2)->isChecked());
    EXPECT_EQ(s.magic(6).mgusebattle, 0);
    p.battleValue(0)->setText(QStringLiteral("8"));
    EXPECT_EQ(s.magic(6).mgusebattle, 1) << "what the author fills in as single target is used in battle";
    p.magiclist()->setCurrentRow(2);

    // ｽﾃｰﾀｽ: battle values gone, all on the caster; healing "全" is -1
    p.mgtype()->button(1)->click();
    EXPECT_EQ(fire.statusMagic, 1);
    EXPECT_EQ(fire.mgdowndef + fire.mgsleep + fire.mgusebattle, 0);
    EXPECT_EQ(fire.mgdamagetome + fire.mgupdextome, 2);
    EXPECT_TRUE(p.statepanel()->isVisibleTo(window.get()));
    EXPECT_FALSE(p.battlepanel()->isVisibleTo(window.get()));
    p.mghealing()->setText(QStringLiteral("7x"));
    EXPECT_TRUE(p.mghealing()->property("shaded").toBool());
    p.mghealing()->setText(QStringLiteral("全"));
    EXPECT_EQ(+fire.mghealing, -1);
    p.magiclist()->setCurrentRow(0);
    p.magiclist()->setCurrentRow(2);
    EXPECT_EQ(p.mghealing()->text(), QStringLiteral("全"));
    p.mgusebattle()->setChecked(true);
    EXPECT_TRUE(p.battlepanel()->isVisibleTo(window.get()));
    EXPECT_FALSE(p.targetGroup(0)->button(0)->isVisibleTo(window.get()));

    // 移動: warp first, then exactly one of the two
    p.mgtype()->button(0)->click();
    EXPECT_EQ(fire.warpMagic, 1);
    EXPECT_EQ(+fire.mghealing, 0);
    p.mgmove()->button(1)->click();
    EXPECT_EQ(fire.warpMagic + fire.escapeMagic, 1);
    EXPECT_EQ(fire.escapeMagic, 1);
}

TEST_F(SettingsWindow, MagicSoundCureDeleteAndReset) {
    s.magic(2).name.assign("cure");
    s.magic(2).mgsuccess = 50;
    s.magic(2).statusMagic = 1;
    s.sound(4).name.assign("ping");
    s.sound(4).fileName.assign("ping.wav");
    s.poison(6).podamage = 0;
    s.poison(7).podamage = 3;
    s.poison(7).name.assign("venom");
    s.hero.heroMagics[0] = 2;
    window->makemagiclist();
    MagicPanel& p = *window->magicPanel();
    p.selectMagic(2);

    chooser.answer = {true, 4};
    p.mgsoundsetClick();
    EXPECT_EQ(chooser.captions.last(), QStringLiteral("：cureを使用する時の効果音を一つ選択"));
    EXPECT_EQ(s.magic(2).mgsound, 4);
    EXPECT_EQ(p.soundRow().value->text(), QStringLiteral("ping"));
    p.soundRow().extra->click();
    ASSERT_EQ(media.sounds.size(), 1);
    EXPECT_TRUE(media.sounds[0].endsWith("ping.wav"));
    chooser.answer = {false, 9};
    p.mgsoundsetClick();
    EXPECT_EQ(s.magic(2).mgsound, 4);

    chooser.answer = {true, 6};  // a special attack without damage: not taken
    p.mgantipoisonsetClick();
    EXPECT_EQ(s.magic(2).mgantipoison, 0);
    chooser.answer = {true, 7};
    p.mgantipoisonsetClick();
    EXPECT_EQ(s.magic(2).mgantipoison, 7);
    EXPECT_EQ(p.antipoisonRow().value->text(), QStringLiteral("venom"));

    messages.answers = {false, true};
    p.magicdelClick();
    EXPECT_EQ(s.magic(2).mgantipoison, 7);
    p.magicdelClick();
    EXPECT_EQ(messages.questions.last(), QStringLiteral("この魔法を削除します。よろしいですか？"));
    EXPECT_EQ(s.magic(2).mgsuccess, 0);
    EXPECT_EQ(s.hero.heroMagics[0], 0);
    EXPECT_EQ(p.currentMagic(), 2);

    p.mgcloseClick();
    EXPECT_EQ(p.rememberedMagic(), 2);
    window->makemagiclist();
    p.selectMagic(5);
    window->show();
    messages.answers = {true};
    options.tellmsg = false;  // never suppresses the reset question
    s.magic(9).mgsuccess = 10;
    p.magiceraceClick();
    EXPECT_EQ(messages.questions.last(), QStringLiteral("魔法を全て初期化します。本当によろしいですか？"));
    EXPECT_EQ(s.magic(9).mgsuccess, 0);
    EXPECT_FALSE(window->isVisible());
    window->makemagiclist();
    EXPECT_EQ(p.currentMagic(), 2);
}

// ---- hero ------------------------------------------------------------------

TEST_F(SettingsWindow, HeroStatsAreBoundToWhatTheFileHolds) {
    window->makeherolist();
    HeroPanel& p = *window->heroPanel();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("主人公設定"));
    EXPECT_EQ(p.statBox(0)->text(), QStringLiteral("20"));
    p.statBox(0)->setText(QStringLiteral("0"));
    EXPECT_EQ(+s.hero.hemaxpower, 1);
    p.statBox(0)->setText(QStringLiteral("65535"));
    EXPECT_EQ(p.statBox(0)->text(), QStringLiteral("32767"));
    EXPECT_EQ(+s.hero.hemaxpower, 32767);
    p.statBox(3)->setText(QStringLiteral("40000"));
    EXPECT_EQ(+s.hero.hedextality, 32767);
    EXPECT_EQ(p.hedexdisp()->text(), QStringLiteral("素早さ／32767（0）"));
    p.statBox(2)->setText(QStringLiteral("12"));
    EXPECT_EQ(p.hestrdisp()->text(), QStringLiteral("攻撃力／12（0）"));
    EXPECT_EQ(p.hedefdisp()->text(), QStringLiteral("防御力／16383（0）"));
    p.hrleveledit()->setText(QStringLiteral("60"));
    EXPECT_EQ(s.hero.helevel, 50);
    EXPECT_EQ(p.helevelset()->value(), 50);
    p.helevelset()->setValue(7);
    EXPECT_EQ(s.hero.helevel, 7);
    EXPECT_EQ(p.hrleveledit()->text(), QStringLiteral("7"));
    p.hemaxitem()->setText(QStringLiteral("0"));
    EXPECT_EQ(s.hero.hemaxitem, 1);
    p.hemoney()->setText(QStringLiteral("1500"));
    EXPECT_EQ(+s.hero.hemoney, 1500);
    // A text that is no number empties the box and keeps the value, which
    // the box shows again once it is left.
    for (NumericEdit* box : {p.hemoney(), p.statBox(1), p.hrleveledit()}) {
        const QString kept = box->text();
        box->setText(QStringLiteral("1x"));
        EXPECT_EQ(box->text(), QString());
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(box, &out);
        EXPECT_EQ(box->text(), kept);
    }
    EXPECT_EQ(+s.hero.hemoney, 1500);
    p.hestarthoukou()->button(2)->click();
    EXPECT_EQ(+s.settings.startDirection, 2);
    s.settings.startDirection = 9;  // damaged: no direction is shown
    p.heroview();
    EXPECT_EQ(p.hestarthoukou()->checkedId(), -1);
    p.hechangename()->setChecked(false);
    EXPECT_EQ(s.settings.heroNameChangeable, 0);
}

TEST_F(SettingsWindow, HeroEquipmentItemsMagicsAndStart) {
    for (int n = 1; n <= 8; ++n) s.itemImageFiles[n - 1].assign("i.bmp");
    s.item(3).name.assign("sword");
    s.item(3).itstrength = 15;
    s.item(4).name.assign("cursed");
    s.item(4).itdextality = -100;
    s.hero.heroname.clear();
    window->makeherolist();
    HeroPanel& p = *window->heroPanel();

    pickAnswer = std::vector<int>{3, 5};
    p.equipRow(0).set->click();
    EXPECT_EQ(pickerCalls.last(), QStringLiteral("主人公の装備する武器を一つ選択|0"));
    EXPECT_EQ(s.hero.heweapon, 3);
    EXPECT_EQ(p.equipRow(0).value->text(), QStringLiteral("sword"));
    EXPECT_EQ(p.hestrdisp()->text(), QStringLiteral("攻撃力／25（15）"));
    pickAnswer = std::vector<int>{4};
    p.equipRow(4).set->click();
    EXPECT_EQ(pickerCalls.last(), QStringLiteral("主人公の装備するﾏｼﾞｯｸｱｲﾃﾑを一つ選択|4"));
    EXPECT_EQ(p.hedexdisp()->text(), QStringLiteral("素早さ／0（0）"));
    pickAnswer = std::nullopt;
    p.equipRow(0).set->click();
    EXPECT_EQ(s.hero.heweapon, 3);
    p.equipRow(0).del->click();
    EXPECT_EQ(s.hero.heweapon, 0);

    s.hero.heroname.assign("Ann");
    s.hero.heroItems[10] = 8;
    pickAnswer = std::vector<int>{1, 2, 3, 6, 7};
    s.hero.hemaxitem = 3;
    p.heitemusesetClick();
    EXPECT_EQ(pickerCalls.last(), QStringLiteral("Annの所持ｱｲﾃﾑを選択|5"));
    EXPECT_EQ(lastChosen, (std::vector<int>{8}));
    const u8 expected[] = {1, 2, 3, 6, 7, 0};
    EXPECT_EQ(std::memcmp(s.hero.heroItems, expected, sizeof expected), 0);
    EXPECT_EQ(p.itemuselist()->count(), 5);
    p.heitemusedelClick();
    EXPECT_EQ(p.itemuselist()->count(), 0);

    s.magic(4).name.assign("heal");
    pickAnswer = std::vector<int>{4, 9};
    p.hemagicsetClick();
    EXPECT_EQ(pickerCalls.last(), QStringLiteral("Annが修得済みの魔法を選択|0"));
    EXPECT_EQ(s.hero.heroMagics[0], 4);
    EXPECT_EQ(s.hero.heroMagics[1], 9);
    EXPECT_EQ(p.hemagiclist()->item(0)->text(), QStringLiteral("heal"));

    locationAnswer = StartLocation{1, 25};
    p.helinksetClick();
    EXPECT_EQ(pickerCalls.last(), QStringLiteral("：Annのｽﾀｰﾄ地点を選択|1,1"));
    EXPECT_EQ(+s.hero.startPosition, 25);
    EXPECT_EQ(p.helocatex()->text(), QStringLiteral("5"));
    EXPECT_EQ(p.helocatey()->text(), QStringLiteral("2"));
    locationAnswer = StartLocation{0, 3};
    p.helinksetClick();
    EXPECT_EQ(+s.hero.startPosition, 25);
    p.helinkdelClick();
    EXPECT_EQ(s.hero.startField, 1);
    EXPECT_EQ(+s.hero.startPosition, 1);
    EXPECT_EQ(p.helocatex()->text(), QStringLiteral("1"));
    s.hero.startField = 7;  // a field not in use (a damaged file)
    s.hero.startPosition = 25;
    p.heroview();
    EXPECT_EQ(p.linkRow().value->text(), QStringLiteral("-"));
    EXPECT_EQ(p.helocatex()->text(), QStringLiteral("未指定"));
    EXPECT_EQ(p.helocatey()->text(), QStringLiteral("未指定"));

    p.hepagechangebtnClick();
    p.hepagechangebtnClick();
    EXPECT_EQ(p.herocontrol()->currentIndex(), 2);
    window->makeherolist();
    EXPECT_EQ(p.herocontrol()->currentIndex(), 0);
}

// ---- scenario settings -----------------------------------------------------

TEST_F(SettingsWindow, ScenarioReferencesAndTheirHeadings) {
    s.settings.scenarioname.clear();
    s.comment(12).name.assign("bye");
    s.bgm(3).name.assign("march");
    s.bgm(3).fileName.assign("march.mid");
    s.bgm(3).loop = 1;
    window->makescenariolist();
    ScenarioPanel& p = *window->scenarioPanel();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("シナリオ設定"));
    EXPECT_EQ(p.scenariocontrol()->currentIndex(), 0);

    chooser.answer = {true, 12};
    p.referenceSetClick("scgameover");
    EXPECT_EQ(chooser.captions.last(), QStringLiteral("：\"このｼﾅﾘｵ\"のｹﾞｰﾑｵｰﾊﾞｰｺﾒﾝﾄを一つ選択"));
    EXPECT_EQ(+s.settings.scgameover, 12);
    EXPECT_EQ(p.reference("scgameover")->row.value->text(), QStringLiteral("bye"));
    chooser.answer = {true, 0};  // a comment is never cleared by the list
    p.referenceSetClick("scgameover");
    EXPECT_EQ(+s.settings.scgameover, 12);
    chooser.answer = {true, 3};
    p.referenceSetClick("titlebgm");
    EXPECT_EQ(chooser.captions.last(), QStringLiteral("：このｼﾅﾘｵのﾀｲﾄﾙBGMを一つ選択"));
    EXPECT_EQ(s.settings.titleBgm, 3);
    p.reference("titlebgm")->row.extra->click();
    ASSERT_EQ(media.played.size(), 1);
    EXPECT_TRUE(media.played[0].endsWith("march.mid|loop"));
    chooser.answer = {true, 0};  // music can be set to none
    p.referenceSetClick("titlebgm");
    EXPECT_EQ(s.settings.titleBgm, 0);

    p.scenarioname()->setText(QStringLiteral("Quest"));
    EXPECT_EQ(s.settings.scenarioname.view(), "Quest");
    chooser.answer = {true, 9};
    p.referenceSetClick("endingcomment4");
    EXPECT_EQ(chooser.captions.last(), QStringLiteral("：\"Quest\"のｴﾝﾃﾞｨﾝｸﾞｺﾒﾝﾄの４ﾍﾟｰｼﾞ目を一つ選択"));
    EXPECT_EQ(+s.settings.endingComments[3], 9);
    p.referenceSetClick("gameoverbgm");
    EXPECT_EQ(chooser.captions.last(), QStringLiteral("：\"Quest\"のｹﾞｰﾑｵｰﾊﾞｰBGMを一つ選択"));
    EXPECT_EQ(s.settings.gameoverBgm, 9);
    p.referenceSetClick("itemsound");
    EXPECT_EQ(s.settings.itemSound, 9);
    p.referenceDelClick("itemsound");
    EXPECT_EQ(s.settings.itemSound, 0);

    imageAnswer = QStringLiteral("title.bmp");
    p.referenceSetClick("titlebmp2");
    EXPECT_EQ(pickerCalls.last(), QStringLiteral("image|0"));
    EXPECT_EQ(s.settings.titleBitmaps[1].view(), "title.bmp");
    EXPECT_TRUE(p.reference("titlebmp2")->row.extra->isEnabled());
    p.referenceExtraClick("titlebmp2");
    EXPECT_EQ(pickerCalls.last(), QStringLiteral("large|title.bmp"));
    imageAnswer = std::nullopt;
    p.referenceSetClick("endingbmp5");
    EXPECT_TRUE(s.settings.endingBitmaps[4].empty());
    imageAnswer = QStringLiteral("end.bmp");
    p.referenceSetClick("endingbmp5");
    EXPECT_EQ(s.settings.endingBitmaps[4].view(), "end.bmp");
    p.referenceDelClick("endingbmp5");
    EXPECT_TRUE(s.settings.endingBitmaps[4].empty());
    EXPECT_FALSE(p.reference("endingbmp5")->row.extra->isEnabled());
}

TEST_F(SettingsWindow, ScenarioTextsRatioAndPassword) {
    window->makescenariolist();
    window->show();
    ScenarioPanel& p = *window->scenarioPanel();
    s.settings.scsaleby = 50;
    p.scenarioview();
    p.scsalebyedit()->setText(QStringLiteral("0"));
    EXPECT_EQ(s.settings.scsaleby, 1);
    p.scsalebyedit()->setText(QStringLiteral("150"));
    EXPECT_EQ(s.settings.scsaleby, 100);
    EXPECT_EQ(p.scsaleby()->value(), 100);
    p.scsalebyedit()->setText(QString());
    EXPECT_EQ(s.settings.scsaleby, 100);
    p.scsaleby()->setValue(0);  // the buttons go down to 0
    EXPECT_EQ(s.settings.scsaleby, 0);
    p.scdoller()->setText(QStringLiteral("ゴールドゴールドゴールドゴールド"));
    EXPECT_EQ(s.settings.scdoller.length(), 16);

    EXPECT_EQ(p.scplaypassword()->text(), QStringLiteral("-"));
    EXPECT_FALSE(p.lengthlabel()->isVisible());
    for (int i = 0; i < 20; ++i) {
        p.passwordsetClick();
        const int n = s.settings.scplaypassword.length();
        ASSERT_TRUE(n >= 1 && n <= 16);
        EXPECT_EQ(p.scplaypassword()->text(), QString::fromLatin1(s.settings.scplaypassword.view()));
        EXPECT_EQ(p.lengthlabel()->text(), QString::number(n) + QStringLiteral("文字"));
    }
    EXPECT_TRUE(p.lengthlabel()->isVisible());
    p.scenariolistcloseClick();
    ASSERT_EQ(messages.warnings.size(), 1);
    EXPECT_TRUE(messages.warnings[0].startsWith(QStringLiteral("実行ﾊﾟｽﾜｰﾄﾞが設定されています。")));
    EXPECT_FALSE(window->isVisible());
    EXPECT_GE(media.stops, 1);
    window->makescenariolist();
    p.passworddelClick();
    EXPECT_TRUE(s.settings.scplaypassword.empty());
    p.scenariolistcloseClick();
    EXPECT_EQ(messages.warnings.size(), 1);

    p.scpagechangebtnClick();
    p.scpagechangebtnClick();
    p.scpagechangebtnClick();
    p.scpagechangebtnClick();
    EXPECT_EQ(p.scenariocontrol()->currentIndex(), 4);
    p.scpagechangebtnClick();
    EXPECT_EQ(p.scenariocontrol()->currentIndex(), 0);
}

}  // namespace
}  // namespace qrn::test
