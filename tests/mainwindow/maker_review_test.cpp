// The main window among the real tool windows, shown on the screen: the
// overwrite target, the coordinate labels, the tool bar's own menu, the
// pop-up menu after a right click, stored placements, refused new fields
// and the reasons of failed opens and saves.
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QMouseEvent>
#include <QSlider>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

#include "mainwindow/maker.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "services/textconv.h"
#include "../editor_fakes.h"
#include "properties/paramedit.h"
#include "scenario/fieldops.h"
#include "scenario/scenario.h"
#include "views/chipview.h"
#include "views/minimap.h"

namespace qrn::test {
namespace {

class MakerShown : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [this](Tmapcreater& dialog) {
            dialog.crname()->setText(nextTitle);
            dialog.widthSlider()->setValue(1);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->setGeometry(20, 40, 760, 520);
        maker->show();
    }

    void create(const QString& title) {
        nextTitle = title;
        maker->createnew();
    }
    QString title() const { return fromCp932(editor().scenario.settings.scenarioname.view()); }
    QByteArray bytesOf(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    Tmaker* maker = nullptr;
    QString nextTitle;
};

TEST_F(MakerShown, OverwriteGoesToTheFileOpenedAndANewScenarioHasNone) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.snr"), b = dir.filePath("b.snr");
    create(QStringLiteral("話B"));
    files.saveResult = b;
    maker->savefile(false);
    create(QStringLiteral("話A"));
    files.saveResult = a;
    maker->savefile(false);
    const QByteArray aBefore = bytesOf(a);
    ASSERT_EQ(aBefore.size(), kRecordSize);

    // Open b after saving a, change it and overwrite: b changes, a does not.
    options.tellmsg = false;
    ASSERT_TRUE(maker->openFile(b));
    editor().scenario.settings.scenarioname.assign(toCp932(QStringLiteral("話B改")));
    maker->orverwritesave();
    EXPECT_EQ(bytesOf(a), aBefore);
    ASSERT_TRUE(maker->openFile(b));
    EXPECT_EQ(title(), QStringLiteral("話B改"));

    // The question names the file opened.
    options.tellmsg = true;
    messages.questions.clear();
    maker->orverwritesave();
    EXPECT_EQ(messages.questions.value(0), QStringLiteral("b.snrを上書き保存します。\nよろしいですか？"));

    // A new scenario asks for a name, as before its first save.
    const int dialogs = files.saveDialogs;
    create(QStringLiteral("新しい話"));
    files.saveResult.clear();  // the dialog is cancelled
    maker->orverwritesave();
    EXPECT_EQ(files.saveDialogs, dialogs + 1);
    EXPECT_EQ(bytesOf(a), aBefore);
    ASSERT_TRUE(maker->openFile(b));
    EXPECT_EQ(title(), QStringLiteral("話B改"));
}

TEST_F(MakerShown, CoordinateLabelsShowOnlyWithAScenario) {
    maker->resize(1800, 520);  // wide enough for the whole tool bar
    QCoreApplication::processEvents();  // the tool bar lays itself out
    EXPECT_FALSE(maker->xlabel()->isVisible());
    EXPECT_FALSE(maker->ylabel()->isVisible());
    create(QString());
    QCoreApplication::processEvents();
    EXPECT_TRUE(maker->xlabel()->isVisible());
    EXPECT_TRUE(maker->ylabel()->isVisible());
}

TEST_F(MakerShown, ToolBarHiddenByItsOwnMenuKeepsTheOptionAndCheckMark) {
    QAction* own = maker->makertool()->toggleViewAction();
    own->trigger();
    EXPECT_FALSE(maker->makertool()->isVisible());
    EXPECT_FALSE(maker->makertool2()->isVisible());
    EXPECT_FALSE(options.showpanel);
    EXPECT_FALSE(maker->command("toolmenu")->isChecked());
    maker->command("toolmenu")->trigger();  // and back through the view menu
    EXPECT_TRUE(maker->makertool()->isVisible());
    EXPECT_TRUE(options.showpanel);
    own->trigger();
    own->trigger();
    EXPECT_TRUE(options.showpanel);
    EXPECT_TRUE(maker->command("toolmenu")->isChecked());
}

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

TEST_F(MakerShown, RightClickWithAJitterOpensTheMenuOnAFieldThatFits) {
    create(QString());  // 10 x 10 cells: the whole field is in view
    auto* popup = maker->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_TRUE(popup);
    QWidget* view = maker->mapgrid()->viewport();
    mouse(view, QEvent::MouseButtonPress, {40, 40}, Qt::RightButton, Qt::RightButton);
    mouse(view, QEvent::MouseMove, {42, 41}, Qt::NoButton, Qt::RightButton);
    mouse(view, QEvent::MouseMove, {41, 43}, Qt::NoButton, Qt::RightButton);
    mouse(view, QEvent::MouseButtonRelease, {41, 43}, Qt::RightButton, Qt::NoButton);
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
}

TEST_F(MakerShown, StoredPlacementsOfTheToolWindowsAreAppliedOnFirstShow) {
    QSettings* store = settingsStore();
    const auto keep = [store](const char* section, const QRect& r) {
        const QString at = QString::fromLatin1(section) + u'/';
        store->setValue(at + "left", r.left());
        store->setValue(at + "top", r.top());
        store->setValue(at + "right", r.left() + r.width());
        store->setValue(at + "bottom", r.top() + r.height());
    };
    keep("allmap", QRect(300, 110, 250, 180));
    keep("chipview", QRect(60, 130, 400, 300));
    keep("param", QRect(210, 150, 330, 280));
    store->sync();
    maker->readregistry();
    const std::pair<QWidget*, QRect> windows[] = {{editorWindows().minimap, options.allmap.rect},
                                                  {editorWindows().chipview, options.chipview.rect},
                                                  {editorWindows().paramedit, options.param.rect}};
    for (const auto& [window, rect] : windows) {
        ASSERT_TRUE(window);
        window->show();
        EXPECT_EQ(window->geometry().topLeft(), rect.topLeft()) << window->objectName().toStdString();
        window->hide();
    }
}

TEST_F(MakerShown, NewFieldRefusedForADamagedLayoutSaysSo) {
    create(QString());
    Scenario& s = editor().scenario;
    // A damaged layout: field 1 claims more cells than its size.
    s.field(1).cellCount = 7;
    maker->newfieldbtnClick();
    ASSERT_EQ(messages.warnings.size(), 1);
    EXPECT_EQ(messages.warnings.last(), fromCp932(damagedFieldLayoutMessage()));
    EXPECT_EQ(+s.field(2).firstCell, 0);
    EXPECT_EQ(editor().state.currentField, 1);
}

TEST_F(MakerShown, ReasonsOfFailedOpensAndSavesAreJapanese) {
    create(QStringLiteral("話"));
    QTemporaryDir dir;
    const QString shortFile = dir.filePath("short.snr");
    QFile f(shortFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a scenario");
    f.close();
    files.saveResult = dir.filePath("no/such/folder/x.snr");
    maker->openFile(shortFile);
    maker->openFile(dir.filePath("missing.snr"));
    maker->openFile(dir.path());
    maker->savefile(false);
    QStringList shown = messages.errors + messages.warnings;
    ASSERT_EQ(shown.size(), 4);
    for (const QString& text : shown) {
        const QString reason = text.split(u'\n').last();
        EXPECT_FALSE(reason.isEmpty());
        // No word of English: every letter of the reason is Japanese.
        EXPECT_FALSE(reason.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")))) << reason.toStdString();
    }
}

TEST_F(MakerShown, EveryCommandOfTheTableIsBuiltOnceAndFoundByBothNames) {
    QSet<QString> names, buttons;
    int onBar = 0;
    for (const MakerCommand& c : Tmaker::commandTable()) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_FALSE(names.contains(name)) << c.name;
        names << name;
        QAction* a = maker->command(name);
        ASSERT_TRUE(a) << c.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(c.caption));
        if (c.button) {
            EXPECT_FALSE(buttons.contains(QString::fromUtf8(c.button))) << c.button;
            buttons << QString::fromUtf8(c.button);
            EXPECT_EQ(maker->command(QString::fromUtf8(c.button)), a);
            EXPECT_TRUE(maker->makertool()->actions().contains(a) || maker->makertool2()->actions().contains(a) ||
                        maker->makertool3()->actions().contains(a))
                << c.button;
            ++onBar;
        }
        // Listed exactly where the table says.
        const bool inPopup = maker->findChild<QMenu*>(QStringLiteral("PopupMenu1"))->actions().contains(a);
        EXPECT_EQ(inPopup, c.menu == MakerMenu::Popup) << c.name;
        bool inMenuBar = false;
        for (QAction* top : maker->menuBar()->actions())
            if (top->menu() && top->menu()->actions().contains(a)) inMenuBar = true;
        EXPECT_EQ(inMenuBar, c.menu != MakerMenu::Popup && c.menu != MakerMenu::None) << c.name;
    }
    EXPECT_EQ(onBar, 37);
    EXPECT_EQ(maker->command(QStringLiteral("nosuchmenu")), nullptr);
    EXPECT_EQ(maker->command(QString()), nullptr);
}

}  // namespace
}  // namespace qrn::test
