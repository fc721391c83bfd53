// The character pages of the property editor, end to end: the window is
// opened on characters, the author clicks kinds, types and picks, and the
// scenario record is checked (and saved and read back).
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "services/choosers.h"
#include "services/shortstringedit.h"
#include "properties/charapage.h"
#include "properties/numericedit.h"
#include "properties/paramedit.h"
#include "scenario/chararules.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"
#include "views/palette.h"
#include "scenario/maplayers.h"

namespace qrn::test {
namespace {

class ScriptedChooser : public ResourceChooser {
public:
    ResourceChoice chooseResource(ResourceKind kind, const QString& suffix, int preselected) override {
        kinds.push_back(kind);
        captions << suffix;
        preselections.push_back(preselected);
        if (answers.empty()) return {};
        const ResourceChoice a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<ResourceChoice> answers;
    std::vector<ResourceKind> kinds;
    std::vector<int> preselections;
    QStringList captions;
};

class CharaPageTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        EditorContext& ctx = editor();
        savedChooser_ = ctx.resourceChooser;
        ctx.resourceChooser = &chooser;
        Scenario& s = ctx.scenario;
        alldatainitialize(s, ctx.side, 5);
        createFirstField(s, "", "", "", 10, 10);
        for (int n = 1; n <= 4; ++n) firstImageFile(s, kChara, n)->assign("chip.bmp");
        s.chara(1).name.assign("villager");
        for (int n = 1; n <= 12; ++n) {
            s.item(n).name.assign("item" + std::to_string(n));
            s.item(n).itmoney = n * 10;
        }
        s.item(4).itmoney = 0;  // cannot be sold
        s.magic(3).name.assign("fire");
        s.magic(9).name.assign("ice");
        s.poison(2).name.assign("poison");
        s.bgm(6).name.assign("battle");
        s.bgm(6).fileName.assign("battle.mid");
        s.bgm(6).loop = 1;
        s.comment(8).name.assign("hello");
        paramedit = std::make_unique<Tparamedit>();
        editorWindows().paramedit = paramedit.get();
        ParameditHooks& h = paramedit->hooks();
        h.pickItems = [this](const QString& caption, const std::vector<int>& chosen) {
            pickerCaptions << caption;
            preselected = chosen;
            return pickAnswer;
        };
        h.pickEvents = h.pickItems;
        h.pickMagics = h.pickItems;
    }
    void TearDown() override {
        paramedit.reset();
        editorWindows().paramedit = nullptr;
        editor().resourceChooser = savedChooser_;
        EditorFixture::TearDown();
    }

    CharaPage& page() { return *paramedit->charaPage(); }
    CharaDef& chara(int n) { return editor().scenario.chara(n); }
    std::vector<int> visiblePages() {
        std::vector<int> v;
        for (int i = 0; i < page().count(); ++i)
            if (page().isTabVisible(i)) v.push_back(i);
        return v;
    }
    static QStringList lines(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }

    ScriptedChooser chooser;
    ResourceChooser* savedChooser_ = nullptr;
    std::unique_ptr<Tparamedit> paramedit;
    std::optional<std::vector<int>> pickAnswer;
    std::vector<int> preselected;
    QStringList pickerCaptions;
};

TEST_F(CharaPageTest, KindRadiosOpenTheirPagesAndClearWhatTheOtherKindsHad) {
    CharaDef& c = chara(1);
    setCharaKind(c, kCharaMerchant);
    paramedit->openOn(kChara, 1, true);
    EXPECT_EQ(paramedit->size(), QSize(227, 439));
    EXPECT_EQ(paramedit->windowTitle(), QStringLiteral("villagerのﾌﾟﾛﾊﾟﾃｨ"));
    EXPECT_TRUE(page().kindRadio(3)->isChecked());
    EXPECT_EQ(visiblePages(), (std::vector<int>{0, 1}));
    EXPECT_FALSE(page().chhealmoney()->isEnabled());

    // Seven items of which one costs nothing: the six others, cheapest number first.
    pickAnswer = std::vector<int>{9, 4, 2, 12, 1, 7, 3};
    page().chsalesetClick();
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("villagerが販売しているｱｲﾃﾑを選択"));
    EXPECT_EQ(lines(page().chsale()), (QStringList{"10／item1", "20／item2", "30／item3", "70／item7", "90／item9",
                                                   "120／item12"}));
    page().chsalesetClick();
    EXPECT_EQ(preselected, (std::vector<int>{1, 2, 3, 7, 9, 12}));  // the list is offered as chosen

    page().kindRadio(0)->click();  // normal: the goods go, the comment pages open
    EXPECT_EQ(c.chcharatype, kCharaNormal);
    EXPECT_EQ(c.chsale[0], 0);
    EXPECT_EQ(visiblePages(), (std::vector<int>{0, 1, 2, 3}));
    c.chwantitem[0] = 3;
    c.chitemcomment[0] = 8;

    page().kindRadio(2)->click();  // healer: the price opens, the item comments go
    EXPECT_EQ(c.chcharatype, kCharaHealer);
    EXPECT_EQ(c.chwantitem[0], 0);
    EXPECT_EQ(+c.chitemcomment[0], 0);
    ASSERT_TRUE(page().chhealmoney()->isEnabled());
    page().chhealmoney()->setText(QStringLiteral("70000"));
    EXPECT_EQ(+c.chhealmoney, 65535);
    EXPECT_EQ(page().chhealmoney()->text(), QStringLiteral("65535"));

    page().kindRadio(1)->click();  // enemy: no price
    EXPECT_EQ(c.chcharatype, kCharaEnemy);
    EXPECT_EQ(+c.chhealmoney, 0);
    EXPECT_EQ(visiblePages(), (std::vector<int>{0, 1, 4, 5}));
    EXPECT_FALSE(page().chsale()->count());
}

TEST_F(CharaPageTest, AltWCyclesThePagesOfTheKind) {
    const struct {
        int kind;
        std::vector<int> visited;
    } cases[] = {
        {kCharaNormal, {1, 2, 3, 0}},
        {kCharaEnemy, {1, 4, 5, 0}},
        {kCharaHealer, {1, 0}},
        {kCharaMerchant, {1, 0}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.kind);
        setCharaKind(chara(2), k.kind);
        paramedit->openOn(kChara, 2, true);
        page().setCurrentIndex(0);
        std::vector<int> visited;
        for (std::size_t i = 0; i < k.visited.size(); ++i) {
            paramedit->prpagechangeClick();
            visited.push_back(page().currentIndex());
        }
        EXPECT_EQ(visited, k.visited);
    }
    // On an enemy's page 敵特殊, opening a healer shows its first page.
    setCharaKind(chara(2), kCharaEnemy);
    setCharaKind(chara(3), kCharaHealer);
    paramedit->openOn(kChara, 2, true);
    page().setCurrentIndex(5);
    paramedit->openOn(kChara, 3, true);
    EXPECT_EQ(page().currentIndex(), 0);
    // A damaged kind byte shows and cycles as a normal character.
    chara(3).chcharatype = 9;
    paramedit->openOn(kChara, 3, true);
    EXPECT_TRUE(page().kindRadio(0)->isChecked());
    EXPECT_EQ(visiblePages(), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(CharaPageTest, EnemyNumbersStayInTheirFieldsAndTheDropProbabilityNeedsAnItem) {
    CharaDef& c = chara(1);
    setCharaKind(c, kCharaEnemy);
    c.chpower = 0;  // damaged: shown as 1
    paramedit->openOn(kChara, 1, true);
    EXPECT_EQ(page().chpower()->text(), QStringLiteral("1"));
    struct Case {
        NumericEdit* box;
        const char* typed;
        const char* shown;
    } cases[] = {
        {page().chpower(), "0", "1"},          {page().chpower(), "99999", "65535"},
        {page().chstatus(1), "250", "250"},    {page().chstatus(2), "-4", "0"},
        {page().chstatus(5), "70000", "65535"}, {page().chstatus(4), "x", ""},
        {page().chmagicuseedit(), "150", "100"}, {page().chpoisonuseedit(), "35", "35"},
    };
    for (const Case& k : cases) {
        k.box->setText(QString::fromUtf8(k.typed));
        EXPECT_EQ(k.box->text(), QString::fromUtf8(k.shown)) << k.typed;
    }
    CharaDef expected = c;
    expected.chpower = 65535;
    expected.chattack = 250;
    expected.chdefence = 0;
    expected.chexperience = 65535;
    expected.chmoney = 0;
    expected.chmagicuse = 100;
    expected.chpoisonuse = 35;
    EXPECT_EQ(std::memcmp(&c, &expected, sizeof c), 0);

    EXPECT_FALSE(page().chitemputedit()->isEnabled());
    pickAnswer = std::nullopt;  // cancelled: still no drop item
    page().chitemsetClick();
    EXPECT_FALSE(page().chitemputedit()->isEnabled());
    pickAnswer = std::vector<int>{2, 6};  // the picker answers in ascending order
    page().chitemsetClick();
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("villagerとの戦闘終了後、獲得出来るｱｲﾃﾑを一つ選択"));
    EXPECT_EQ(c.chitem, 2);
    ASSERT_TRUE(page().chitemputedit()->isEnabled());
    page().chitemputedit()->setText(QStringLiteral("120"));
    EXPECT_EQ(c.chitemput, 100);
    page().chitemput()->setValue(25);
    EXPECT_EQ(c.chitemput, 25);
    EXPECT_EQ(page().chitemputedit()->text(), QStringLiteral("25"));
    // What is typed moves the arrows, so the next step goes on from it.
    const std::pair<const char*, u8 CharaDef::*> typed[] = {
        {"chitemput", &CharaDef::chitemput}, {"chmagicuse", &CharaDef::chmagicuse}, {"chpoisonuse", &CharaDef::chpoisonuse}};
    for (const auto& [name, field] : typed) {
        page().findChild<NumericEdit*>(QString::fromLatin1(name) + "edit")->setText(QStringLiteral("50"));
        page().findChild<QSpinBox*>(QString::fromLatin1(name))->stepUp();
        EXPECT_EQ(c.*field, 51) << name;
    }
    page().chitemdelClick();
    EXPECT_EQ(c.chitem, 0);
    EXPECT_EQ(c.chitemput, 0);
    EXPECT_FALSE(page().chitemputedit()->isEnabled());
}

TEST_F(CharaPageTest, MagicAndSpecialAttackSlots) {
    CharaDef& c = chara(1);
    setCharaKind(c, kCharaEnemy);
    const u8 magics[5] = {3, 9, 55, 12, 20};  // 55 is past the table
    std::memcpy(c.chmagic, magics, 5);
    paramedit->openOn(kChara, 1, true);
    pickAnswer = std::vector<int>{9, 52};  // fewer than before, one past the table
    page().chmagicsetClick();
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("villagerの使用する魔法を５つまで選択"));
    EXPECT_EQ(preselected, (std::vector<int>{3, 9, 12, 20}));
    const u8 kept[5] = {9, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(c.chmagic, kept, 5), 0);
    EXPECT_EQ(lines(page().chmagic()), QStringList{"ice"});
    pickAnswer = std::nullopt;  // cancelled: unchanged
    page().chmagicsetClick();
    EXPECT_EQ(c.chmagic[0], 9);

    chooser.answers = {{true, 2}, {true, 2}, {false, 5}, {true, -1}, {true, 7}, {true, 8}, {true, 10}, {true, 11},
                       {true, 12}};
    for (int i = 0; i < 9; ++i) page().chpoisonsetClick();
    EXPECT_EQ(chooser.captions.back(), QStringLiteral("：villagerの使用する特殊攻撃を選択"));
    const u8 attacks[5] = {2, 7, 8, 10, 11};  // once each, the sixth left out
    EXPECT_EQ(std::memcmp(c.chpoison, attacks, 5), 0);
    EXPECT_EQ(page().chpoison()->count(), 5);
    EXPECT_EQ(page().chpoison()->item(0)->text(), QStringLiteral("poison"));
    page().chpoisondelClick();
    page().chmagicdelClick();
    EXPECT_EQ(page().chpoison()->count(), 0);
    EXPECT_EQ(c.chmagic[0], 0);
}

TEST_F(CharaPageTest, CommentPairsAreStoredOnlyWhenBothAreChosen) {
    CharaDef& c = chara(2);
    c.name.clear();  // no name: the default words
    paramedit->openOn(kChara, 2, true);
    chooser.answers = {{false, 8}};  // comment list cancelled
    page().chwantitemsetClick(2);
    chooser.answers = {{true, 8}};  // comment, then the item picker cancelled
    pickAnswer = std::nullopt;
    page().chwantitemsetClick(2);
    EXPECT_EQ(c.chwantitem[1], 0);
    EXPECT_EQ(+c.chitemcomment[1], 0);
    EXPECT_EQ(chooser.captions.back(), QStringLiteral("：このｷｬﾗｸﾀｰのｱｲﾃﾑｺﾒﾝﾄを一つ選択"));
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("このｺﾒﾝﾄの発言に必要なｱｲﾃﾑを一つ選択"));
    chooser.answers = {{true, 8}};
    pickAnswer = std::vector<int>{5, 11};
    page().chwantitemsetClick(2);
    EXPECT_EQ(c.chwantitem[1], 5);
    EXPECT_EQ(+c.chitemcomment[1], 8);
    EXPECT_EQ(paramedit->findChild<QLabel*>("chitemcomment2")->text(), QStringLiteral("hello"));
    EXPECT_EQ(paramedit->findChild<QLabel*>("chwantitem2")->text(), QStringLiteral("item5"));
    chooser.answers = {{true, 8}};
    page().cheventcommentsetClick(5);
    EXPECT_EQ(c.chwantevent[4], 5);
    EXPECT_EQ(+c.cheventcomment[4], 8);
    EXPECT_EQ(chooser.preselections.back(), 0);
    page().chwantitemdelClick(2);
    page().cheventcommentdelClick(5);
    CharaDef fresh;
    freshChara(fresh, 2);
    fresh.name.clear();
    EXPECT_EQ(std::memcmp(&c, &fresh, sizeof c), 0);

    pickAnswer = std::vector<int>{3};
    page().chshowitemsetClick();
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("このｷｬﾗｸﾀが出現する為に必要なｱｲﾃﾑを一つ選択"));
    page().chshoweventsetClick();
    EXPECT_EQ(pickerCaptions.back(), QStringLiteral("このｷｬﾗｸﾀｰが出現する為に必要なｲﾍﾞﾝﾄを一つ選択"));
    EXPECT_EQ(c.chshowitem, 3);
    EXPECT_EQ(c.chshowevent, 3);
}

TEST_F(CharaPageTest, MusicSoundsAndTheBattleImage) {
    CharaDef& c = chara(1);
    setCharaKind(c, kCharaEnemy);
    paramedit->openOn(kChara, 1, true);
    auto label = [&](const char* name) { return paramedit->findChild<QLabel*>(name)->text(); };
    EXPECT_EQ(label("chbattlebgm"), QStringLiteral("ﾃﾞﾌｫﾙﾄ"));
    EXPECT_EQ(label("chbattlesound"), QStringLiteral("ﾃﾞﾌｫﾙﾄ"));
    EXPECT_EQ(label("chtalkbgm"), QStringLiteral("-"));
    chooser.answers = {{true, 6}, {true, -1}, {true, 6}, {true, 3}};
    page().chtalkbgmsetClick();
    page().chtalkbgmsetClick();  // an unused entry keeps the music
    EXPECT_EQ(c.chtalkbgm, 6);
    page().chbattlebgmsetClick();
    page().chbattlesoundsetClick();
    EXPECT_EQ(chooser.captions[2], QStringLiteral("：villagerと戦闘中のBGMを一つ選択"));
    EXPECT_EQ(chooser.captions[3], QStringLiteral("：villagerが打撃を与えた時の効果音を一つ選択"));
    EXPECT_EQ(c.chbattlebgm, 6);
    EXPECT_EQ(c.chbattlesound, 3);
    EXPECT_EQ(label("chbattlebgm"), QStringLiteral("battle"));
    page().chbattlebgmplayClick();
    EXPECT_EQ(media.played.size(), 1);
    EXPECT_TRUE(media.played.front().endsWith(QStringLiteral("battle.mid|loop")));
    page().chbattlebgmdelClick();
    EXPECT_EQ(media.stops, 1);
    EXPECT_EQ(c.chbattlebgm, 0);

    QStringList viewed;
    ParameditHooks& h = paramedit->hooks();
    QPoint at;
    h.viewImage = [&](const QString& file, const QPoint& corner) {
        viewed << file;
        at = corner;
    };
    page().chbossimgviewClick();  // no image: nothing to view
    h.chooseImage = [](bool) -> std::optional<QString> { return QStringLiteral("dragon.bmp"); };
    const i32 colour = c.imageColour;
    page().chbossimgsetClick();
    EXPECT_EQ(c.chbossimg.view(), "dragon.bmp");
    EXPECT_EQ(+c.imageColour, colour);  // the battle image keeps only its file name
    EXPECT_EQ(editor().scenario.charaImageFiles[0].view(), "chip.bmp");
    auto* view = page().findChild<QPushButton*>(QStringLiteral("chbossimgview"));
    EXPECT_EQ(view->text(), QStringLiteral("表示"));  // as on the event page
    page().chbossimgviewClick();
    EXPECT_EQ(viewed, QStringList{"dragon.bmp"});
    EXPECT_EQ(at, paramedit->pos());  // the editor's corner, as from the event page
}

TEST_F(CharaPageTest, SettingsMadeOnThePagesSurviveSavingAndReopening) {
    Scenario& s = editor().scenario;
    paramedit->openOn(kChara, 1, true);
    page().kindRadio(3)->click();
    pickAnswer = std::vector<int>{5, 2, 9};
    page().chsalesetClick();
    paramedit->openOn(kChara, 2, true);
    page().charaname()->setText(QStringLiteral("スライム"));
    page().kindRadio(1)->click();
    pickAnswer = std::vector<int>{9, 3};
    page().chmagicsetClick();
    chooser.answers = {{true, 6}};
    page().chbattlebgmsetClick();
    page().chpower()->setText(QStringLiteral("30"));
    paramedit->openOn(kChara, 3, true);
    page().kindRadio(2)->click();
    page().chhealmoney()->setText(QStringLiteral("50"));
    CharaDef before[3];
    std::memcpy(before, s.charas, sizeof before);

    QTemporaryDir dir;
    const std::string path = (dir.path() + "/game.dat").toStdString();
    ASSERT_TRUE(saveScenario(path, s, false).ok);
    alldatainitialize(s, editor().side, 9);
    ASSERT_TRUE(openScenario(path, s, editor().side).ok);
    EXPECT_EQ(std::memcmp(before, s.charas, sizeof before), 0);
    EXPECT_EQ(s.chara(1).chsale[2], 9);
    EXPECT_EQ(s.chara(2).chmagic[1], 9);
    EXPECT_EQ(+s.chara(3).chhealmoney, 50);
}

// Among the real windows: the palette opens the character pages of the kind.
class CharaPageWiring : public EditorFixture {};

TEST_F(CharaPageWiring, PaletteDoubleClickOpensThePagesOfTheCharactersKind) {
    createWindows();
    Scenario& s = editor().scenario;
    firstImageFile(s, kChara, 2)->assign("chip.bmp");
    setCharaKind(s.chara(2), kCharaEnemy);
    Tpalette* palette = editorWindows().palette;
    palette->show();
    palette->cellSelect(kChara, 2);
    palette->gridDblClick(kChara, 2, false);
    Tparamedit* paramedit = editorWindows().paramedit;
    ASSERT_TRUE(paramedit->isVisible());
    EXPECT_EQ(paramedit->shownLayer(), kChara);
    CharaPage& page = *paramedit->charaPage();
    EXPECT_TRUE(page.kindRadio(1)->isChecked());
    EXPECT_TRUE(page.isTabVisible(5));
    EXPECT_FALSE(page.isTabVisible(2));
    page.charaname()->setText(QStringLiteral("slime"));
    EXPECT_EQ(s.chara(2).name.view(), "slime");
}

}  // namespace
}  // namespace qrn::test
