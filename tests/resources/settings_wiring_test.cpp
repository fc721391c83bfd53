// The settings window and the level-up window among the real windows: each
// menu opens its window modally on the right panel, and what is set there is
// in the scenario when the window is closed.
#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "services/helpviewer.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "services/shortstringedit.h"
#include "resources/levellist.h"
#include "resources/heropanel.h"
#include "resources/levelauto.h"
#include "resources/magicedit.h"
#include "properties/numericedit.h"
#include "scenario/scenariofile.h"
#include <QTemporaryDir>
#include "resources/scenariopanel.h"

namespace qrn::test {
namespace {

class SettingsWiring : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        editorWindows().maker->runCreationDialog = [](Tmapcreater&) { return true; };
        editorWindows().maker->createnew();
    }
    // Runs `act` on the modal window the command opens, then lets it close.
    void whileOpen(const char* command, std::function<void(QWidget*)> act) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            seen = modal != nullptr;
            if (modal) act(modal);
        });
        editorWindows().maker->command(QString::fromLatin1(command))->trigger();
        EXPECT_TRUE(seen) << command;
    }
};

TEST_F(SettingsWiring, MenusOpenTheirPanelsAndTheCaptionFollowsTheName) {
    whileOpen("scenariomenu", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("シナリオ設定"));
        auto* panel = w->findChild<ScenarioPanel*>();
        ASSERT_TRUE(panel && panel->isVisible());
        panel->scenarioname()->setText(QStringLiteral("Dragon"));
        w->findChild<QPushButton*>(QStringLiteral("scenariolistclose"))->click();
    });
    EXPECT_EQ(editor().scenario.settings.scenarioname.view(), "Dragon");
    EXPECT_TRUE(editorWindows().maker->windowTitle().contains(QStringLiteral("Dragon")));
    EXPECT_FALSE(editorWindows().magicedit->isVisible());

    whileOpen("heromenu", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("主人公設定"));
        EXPECT_FALSE(w->findChild<ScenarioPanel*>()->isVisible());
        w->findChild<QPushButton*>(QStringLiteral("heroclose"))->click();
    });
    whileOpen("magicmenu", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("魔法編集"));
        w->findChild<QPushButton*>(QStringLiteral("mgclose"))->click();
    });
    whileOpen("levelupmenu", [this](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟ設定"));
        auto* grid = w->findChild<QTableWidget*>(QStringLiteral("levelgrid"));
        ASSERT_NE(grid, nullptr);
        grid->item(0, 1)->setText(QStringLiteral("77"));
        EXPECT_EQ(grid->item(0, 8)->text(), QString::number(editor().scenario.hero.heexperience + 77));
        w->findChild<QPushButton*>(QStringLiteral("levelclose"))->click();
    });
    EXPECT_EQ(+editor().scenario.level(1).experience, 77);
}

TEST_F(SettingsWiring, WhatIsSetIsInTheSavedFile) {
    Scenario& s = editor().scenario;
    s.itemImageFiles[4].assign("sword.bmp");
    s.item(5).itgroup[0] = 1;
    s.magic(1).mgsuccess = s.magic(2).mgsuccess = 80;
    Tmagicedit& w = *editorWindows().magicedit;
    w.hooks().chooseImage = [](bool) -> std::optional<QString> { return QStringLiteral("title.bmp"); };
    w.hooks().pickItems = [](const QString&, const std::vector<int>&, int) {
        return std::optional<std::vector<int>>(std::vector<int>{5});
    };
    w.hooks().pickMagics = [](const QString&, const std::vector<int>&, int) {
        return std::optional<std::vector<int>>(std::vector<int>{1, 2});
    };
    w.makescenariolist();
    ScenarioPanel& sp = *w.scenarioPanel();
    sp.referenceSetClick("scopeningbmp");
    sp.referenceSetClick("titlebmp1");
    sp.referenceSetClick("endingbmp1");
    sp.passwordsetClick();
    w.makeherolist();
    w.heroPanel()->equipsetClick(0);
    w.heroPanel()->hemagicsetClick();
    {
        Tlevellist levels;
        levels.makelevellist();
        levels.show();
        Tlevelauto& a = *levels.levelauto();
        for (int k = 0; k < kLevelStats; ++k) a.upperBox(k)->setText(QStringLiteral("9"));
        a.setSeed(3);
        a.atrunClick();
        levels.takeCell(4, 1, QStringLiteral("555"));
        levels.takeCell(9, 3, QStringLiteral("44"));
    }
    const std::string password(s.settings.scplaypassword.view());
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/e2e.snr").toStdString();
    ASSERT_TRUE(saveScenario(path, s, false).ok);
    auto saved = std::make_unique<Scenario>();
    std::memcpy(saved.get(), &s, sizeof(Scenario));
    s.settings.scopeningbmp.clear();
    s.hero.heweapon = 0;
    ASSERT_TRUE(openScenario(path, s, editor().side).ok);
    EXPECT_EQ(std::memcmp(saved.get(), &s, sizeof(Scenario)), 0);
    EXPECT_EQ(s.settings.scopeningbmp.view(), "title.bmp");
    EXPECT_EQ(s.settings.endingBitmaps[0].view(), "title.bmp");
    EXPECT_EQ(std::string(s.settings.scplaypassword.view()), password);
    EXPECT_EQ(s.hero.heweapon, 5);
    EXPECT_EQ(s.hero.heroMagics[1], 2);
    EXPECT_EQ(+s.level(5).experience, 555);
    EXPECT_EQ(+s.level(10).strength, 44);
    EXPECT_LE(+s.level(30).power, 9);
}

TEST_F(SettingsWiring, F1OpensTheirHelpPages) {
    EXPECT_EQ(HelpViewer::pageOf(HelpViewer::helpContextOf(editorWindows().magicedit)), QStringLiteral("magicedit.html"));
    Tlevellist levels;
    EXPECT_EQ(HelpViewer::pageOf(HelpViewer::helpContextOf(&levels)), QStringLiteral("levellist.html"));
}

}  // namespace
}  // namespace qrn::test
