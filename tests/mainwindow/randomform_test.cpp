// The random ratio dialog: the edit rules, the up-down pair, the remembered
// ratios of both roles and the kept placement.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "services/options.h"
#include "mainwindow/randomform.h"

namespace qrn {
namespace {

class RandomformTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
        reopenSettingsStore();
    }
    void TearDown() override { reopenSettingsStore(); }

    // Runs the dialog; `act` sees it open and ends it.
    int ask(Trandomform& form, Trandomform::Role role, const std::function<void(Trandomform&)>& act) {
        QTimer::singleShot(0, &form, [&] { act(form); });
        return form.askratio(role);
    }

    QTemporaryDir folder_;
};

TEST_F(RandomformTest, EditRulesCorrectTheBoxWithoutCheckingAgain) {
    Trandomform form;
    QLineEdit* edit = form.peredit();
    EXPECT_EQ(edit->maxLength(), 3);
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
    int changes = 0;
    QObject::connect(edit, &QLineEdit::textChanged, [&] { ++changes; });
    edit->setText(QStringLiteral("250"));
    EXPECT_EQ(edit->text(), QStringLiteral("100"));
    EXPECT_EQ(changes, 2);  // the typed text and the one correction
    edit->setText(QStringLiteral("-5"));
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    edit->setText(QStringLiteral("a"));
    EXPECT_EQ(edit->text(), QString());
    edit->setText(QStringLiteral("07"));
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    edit->setText(QStringLiteral("100"));
    EXPECT_EQ(edit->text(), QStringLiteral("100"));

    // The up-down pair stays within 0..100 and starts an empty box at 1.
    form.upClick(true);
    EXPECT_EQ(edit->text(), QStringLiteral("100"));
    edit->setText(QStringLiteral("0"));
    form.upClick(false);
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    form.upClick(true);
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    edit->clear();
    form.upClick(false);
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
}

TEST_F(RandomformTest, RatiosAreRememberedPerRoleEvenWhenCancelled) {
    Trandomform form;
    QString offered;
    // With nothing remembered both roles offer 35.
    int result = ask(form, Trandomform::Draw, [&](Trandomform& f) {
        offered = f.peredit()->text();
        f.peredit()->setText(QStringLiteral("80"));
        f.okbtn()->click();
    });
    EXPECT_EQ(offered, QStringLiteral("35"));
    EXPECT_EQ(result, 80);
    result = ask(form, Trandomform::Erase, [&](Trandomform& f) {
        offered = f.peredit()->text();
        f.cancelbtn()->click();
    });
    EXPECT_EQ(offered, QStringLiteral("35"));
    EXPECT_EQ(result, -1);
    result = ask(form, Trandomform::Draw, [&](Trandomform& f) {
        offered = f.peredit()->text();
        f.peredit()->setText(QStringLiteral("60"));
        f.cancelbtn()->click();
    });
    EXPECT_EQ(offered, QStringLiteral("80"));
    EXPECT_EQ(result, -1);
    EXPECT_EQ(Trandomform::rememberedRatio(Trandomform::Draw), 60);
    EXPECT_EQ(Trandomform::rememberedRatio(Trandomform::Erase), 35);

    // OK with an empty box does nothing; 0 is a valid answer.
    bool stillOpen = false;
    result = ask(form, Trandomform::Erase, [&](Trandomform& f) {
        f.peredit()->clear();
        f.okbtn()->click();
        stillOpen = f.isVisible();
        f.peredit()->setText(QStringLiteral("0"));
        f.okbtn()->click();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, 0);
}

TEST_F(RandomformTest, PlacementIsKeptAfterTheFirstShow) {
    QSettings* store = settingsStore();
    {
        Trandomform never;  // never shown: nothing is written
    }
    EXPECT_FALSE(store->contains(QStringLiteral("FormLocate/randomform/RLeft")));
    {
        Trandomform form;
        ask(form, Trandomform::Draw, [](Trandomform& f) { f.cancelbtn()->click(); });
    }
    for (const char* key : {"Showcmd", "Flags", "RLeft", "RTop", "RRight", "RBottom", "AX", "AY", "IX", "IY"})
        EXPECT_TRUE(store->contains(QStringLiteral("FormLocate/randomform/") + QLatin1String(key))) << key;
    const int left = readIntSetting(*store, QStringLiteral("FormLocate/randomform"), QStringLiteral("RLeft"), -1);
    const int right = readIntSetting(*store, QStringLiteral("FormLocate/randomform"), QStringLiteral("RRight"), -1);
    EXPECT_GT(right, left);
}

TEST_F(RandomformTest, PlacementStaysPutRunAfterRunAndNeverLosesTheTitleBar) {
    QSettings* store = settingsStore();
    const QString section = QStringLiteral("FormLocate/randomform");
    // Each run shows the dialog where the placement says and keeps where it
    // was: the same rectangle both ways, so nothing creeps.
    const auto run = [&] {
        Trandomform form;
        QPoint shown;
        ask(form, Trandomform::Draw, [&](Trandomform& f) {
            shown = f.geometry().topLeft();
            f.cancelbtn()->click();
        });
        const QPoint kept(readIntSetting(*store, section, QStringLiteral("RLeft"), -999),
                          readIntSetting(*store, section, QStringLiteral("RTop"), -999));
        EXPECT_EQ(kept, shown);
        return shown;
    };
    store->setValue(section + "/RLeft", 150);
    store->setValue(section + "/RTop", 120);
    store->setValue(section + "/RRight", 350);
    store->setValue(section + "/RBottom", 150);
    for (int round = 0; round < 3; ++round) EXPECT_EQ(run(), QPoint(150, 120)) << round;

    // A placement with the title bar above every screen is not used, even
    // when part of the dialog would still show.
    store->setValue(section + "/RTop", -15);
    store->setValue(section + "/RBottom", 15);
    Trandomform form;
    QPoint shownAt;
    ask(form, Trandomform::Draw, [&](Trandomform& f) {
        shownAt = f.geometry().topLeft();
        f.cancelbtn()->click();
    });
    EXPECT_TRUE(titleBarOnScreen(QRect(shownAt, form.size()))) << shownAt.y();
}

TEST_F(RandomformTest, RatioHintIsTheShortHintAlone) {
    Trandomform form;
    EXPECT_EQ(form.peredit()->toolTip(), QStringLiteral("この割合でランダムにドロウorイレース"));
}

}  // namespace
}  // namespace qrn
