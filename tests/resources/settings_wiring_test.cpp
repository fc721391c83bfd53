// The settings window and the level-up window among the real windows: each
// menu opens its window modally on the right panel, and what is set there is
// in the scenario when the window is closed.
#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "../editor/editor_fakes.h"
#include "editor/helpviewer.h"
#include "editor/maker.h"
#include "editor/mapcreater.h"
#include "editor/shortstringedit.h"
#include "resources/levellist.h"
#include "resources/magicedit.h"
#include "resources/scenariopanel.h"

namespace qrn::test {
namespace {

class SettingsWiring : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        editor().maker->runCreationDialog = [](Tmapcreater&) { return true; };
        editor().maker->createnew();
    }
    // Runs `act` on the modal window the command opens, then lets it close.
    void whileOpen(const char* command, std::function<void(QWidget*)> act) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            seen = modal != nullptr;
            if (modal) act(modal);
        });
        editor().maker->command(QString::fromLatin1(command))->trigger();
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
    EXPECT_TRUE(editor().maker->windowTitle().contains(QStringLiteral("Dragon")));
    EXPECT_FALSE(editor().magicedit->isVisible());

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
    EXPECT_EQ(editor().scenario.level(1).experience, 77);
}

TEST_F(SettingsWiring, F1OpensTheirHelpPages) {
    EXPECT_EQ(HelpViewer::pageOf(HelpViewer::helpContextOf(editor().magicedit)), QStringLiteral("magicedit.html"));
    Tlevellist levels;
    EXPECT_EQ(HelpViewer::pageOf(HelpViewer::helpContextOf(&levels)), QStringLiteral("levellist.html"));
}

}  // namespace
}  // namespace qrn::test
