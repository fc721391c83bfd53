// Undo and redo over the real windows: a pen stroke, a fill, a field deletion
// and a typed field name, each closed into a step by the events that end it,
// undone back to the saved file byte for byte and redone; the caption mark;
// and crash recovery from an editor that was killed.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QEventLoop>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "mainwindow/edithistory.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/recoverykeeper.h"
#include "mainwindow/startup.h"
#include "../editor_fakes.h"
#include "fields/fieldman.h"
#include "properties/paramedit.h"
#include "scenario/fieldops.h"
#include "scenario/maplayers.h"

namespace qrn::test {
namespace {

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void click(QWidget* target, QPoint pos = {}) {
    if (pos.isNull()) pos = target->rect().center();
    sendMouse(target, QEvent::MouseButtonPress, pos, Qt::LeftButton);
    sendMouse(target, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class UndoWithWindows : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ASSERT_TRUE(stateDir.isValid());
        qputenv("XDG_STATE_HOME", stateDir.path().toUtf8());
        createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [](Tmapcreater& dialog) {
            dialog.widthSlider()->setValue(2);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->resize(900, 700);
        maker->show();
        maker->createnew();  // field 1: 20 x 10
        maker->newfieldbtnClick();
        ASSERT_TRUE(fieldInUse(s, 2));
        for (int n = 1; n <= 3; ++n) firstImageFile(s, kPlace, n)->assign("chip.bmp");  // in use
        editor().state.currentField = 1;
        maker->fieldonchange();
        QApplication::processEvents();
    }
    void TearDown() override {
        qunsetenv("XDG_STATE_HOME");
        EditorFixture::TearDown();
    }
    // Runs the event loop until it waits, as the editor does between actions.
    static void settle() {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QString save(const QString& name) {
        files.saveResult = dir.path() + u'/' + name;
        maker->savefile(false);
        return files.saveResult;
    }

    QTemporaryDir dir, stateDir;
    Scenario& s = editor().scenario;
    Tmaker* maker = nullptr;
};

TEST_F(UndoWithWindows, EveryKindOfActionUndoesToTheSavedFileAndRedoes) {
    const QString opened = save("start.snr");
    EditHistory& history = editHistory();
    EXPECT_FALSE(history.modified());
    const std::size_t base = history.model().stepCount();  // the new field, closed by the save
    EXPECT_FALSE(maker->windowTitle().startsWith("* "));

    // A pen stroke from press to release is one step.
    MapGrid* grid = maker->mapgrid();
    editor().drawing.drawTarget = {false, true, false, false, false, false};
    editor().drawing.currentObject[kPlace] = 2;
    QWidget* view = grid->viewport();
    sendMouse(view, QEvent::MouseButtonPress, grid->cellRect(1, 1).center(), Qt::LeftButton);
    for (int col = 2; col <= 4; ++col)
        sendMouse(view, QEvent::MouseMove, grid->cellRect(col, 1).center(), Qt::LeftButton);
    settle();  // nothing closes while the button is down
    EXPECT_EQ(history.model().stepCount(), base + 0);
    sendMouse(view, QEvent::MouseButtonRelease, grid->cellRect(4, 1).center(), Qt::NoButton);
    settle();
    ASSERT_EQ(history.model().stepCount(), base + 1);
    int painted = 0;
    for (int p = 1; p <= 200; ++p) painted += s.cell(cellOf(s, 1, p)).place == 2;
    EXPECT_EQ(painted, 4);
    EXPECT_EQ(maker->command("undomenu")->text(), QStringLiteral("元に戻す（描画）(&U)"));
    EXPECT_TRUE(maker->windowTitle().startsWith("* "));

    // A fill through its tool bar button.
    maker->madrawmodebtnclick(3);
    grid->allselectbtnClick();
    editor().drawing.currentObject[kPlace] = 3;
    QAction* brush = maker->command("brushbtn");
    QWidget* button = maker->makertool()->widgetForAction(brush);
    click(button ? button : maker->makertool2()->widgetForAction(brush));
    settle();
    ASSERT_EQ(history.model().stepCount(), base + 2);
    EXPECT_EQ(QString::fromStdString(history.model().undoLabel()), QStringLiteral("塗りつぶし"));

    // A field deletion through the field manager.
    Tfieldman* fieldman = editorWindows().fieldman;
    fieldman->show();
    fieldman->makefieldman();
    fieldman->selectField(2);
    click(fieldman->findChild<QPushButton*>("fielddel"));
    settle();
    ASSERT_FALSE(fieldInUse(s, 2));
    ASSERT_EQ(history.model().stepCount(), base + 3);

    // A typed field name is one step once the box is left.
    fieldman->selectField(1);
    auto* name = fieldman->findChild<QLineEdit*>("fieldname");
    ASSERT_TRUE(name);
    for (const char* key : {"a", "b", "c"}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (key[0] - 'a'), Qt::NoModifier, QString::fromLatin1(key));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + (key[0] - 'a'), Qt::NoModifier, QString::fromLatin1(key));
        QCoreApplication::sendEvent(name, &press);
        QCoreApplication::sendEvent(name, &release);
        settle();
    }
    ASSERT_TRUE(s.field(1).name.view().ends_with("abc"));
    EXPECT_EQ(history.model().stepCount(), base + 3);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(name, &out);
    settle();
    ASSERT_EQ(history.model().stepCount(), base + 4);

    const auto end = std::make_unique<Scenario>();
    std::memcpy(end->bytes(), s.bytes(), kRecordSize);
    for (int i = 0; i < 4; ++i) maker->command("undomenu")->trigger();
    EXPECT_TRUE(fieldInUse(s, 2));
    EXPECT_EQ(fileBytes(save("undone.snr")), fileBytes(opened));
    EXPECT_FALSE(maker->windowTitle().startsWith("* "));
    // The map shows the record again, with its cursor inside the field.
    EXPECT_EQ(grid->columns(), 20);
    EXPECT_LT(grid->cursorCell().x(), 20);

    for (int i = 0; i < 4; ++i) maker->command("redomenu")->trigger();
    EXPECT_EQ(std::memcmp(s.bytes(), end->bytes(), kRecordSize), 0);
    EXPECT_TRUE(maker->windowTitle().startsWith("* "));
    EXPECT_EQ(maker->command("redomenu")->text(), QStringLiteral("やり直し(&Y)"));
    EXPECT_EQ(maker->command("redomenu")->shortcuts().size(), 2);

    // Saving clears the mark; a new scenario empties the history.
    maker->orverwritesave();
    EXPECT_FALSE(maker->windowTitle().startsWith("* "));
    maker->createnew();
    EXPECT_FALSE(history.model().canUndo());
}

TEST_F(UndoWithWindows, UndoOfANewFieldReturnsToAFieldInUse) {
    editor().state.currentField = 2;
    maker->fieldonchange();
    editHistory().commitNow();
    editHistory().undo();  // the creation of field 2
    EXPECT_FALSE(fieldInUse(s, 2));
    EXPECT_EQ(editor().state.currentField, 1);
    EXPECT_EQ(maker->mapgrid()->columns(), 20);
}

TEST_F(UndoWithWindows, StepsAreNamedAfterTheirCommandAndTheRangeOutlivesAnUndo) {
    EditHistory& history = editHistory();
    history.reset();
    QAction* undo = maker->command("undomenu");
    QAction* redo = maker->command("redomenu");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    // A fill chosen from the menu after the highlight passed another entry.
    MapGrid* grid = maker->mapgrid();
    maker->madrawmodebtnclick(3);
    grid->setSelection(QRect(2, 1, 5, 3));
    editor().drawing.drawTarget = {false, true, false, false, false, false};
    editor().drawing.currentObject[kPlace] = 3;
    QAction* brush = maker->command("brushmenu");
    QMenu* menu = nullptr;
    for (QObject* o : brush->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o)) menu = m;
    ASSERT_TRUE(menu);
    menu->popup(QPoint(0, 0));
    menu->setActiveAction(maker->command("propmenu"));
    QKeyEvent moved(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &moved);
    click(menu, menu->actionGeometry(brush).center());
    settle();
    ASSERT_EQ(static_cast<int>(s.cell(cellOf(s, 1, 2 * 20 + 4)).place), 3);
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す（塗りつぶし）(&U)"));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    undo->trigger();
    EXPECT_EQ(grid->selection(), QRect(2, 1, 5, 3));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();

    // A radio whose caption carries a bare accelerator letter.
    s.charaImageFiles[0].assign("c.bmp");
    editorWindows().paramedit->openOn(kChara, 1, false);
    auto* heal = editorWindows().paramedit->findChild<QRadioButton*>("chcharatype2");
    ASSERT_TRUE(heal);
    const u8 kind = s.chara(1).chcharatype;
    click(heal);
    settle();
    ASSERT_NE(s.chara(1).chcharatype, kind);
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す（回復）(&U)"));
}

// Run by the test below as a separate process, which is killed once it has
// written its recovery file.
TEST_F(UndoWithWindows, DISABLED_RecoveryChildWritesThenWaits) {
    if (qEnvironmentVariableIsEmpty("QRN_RECOVERY_SOURCE")) GTEST_SKIP();
    qputenv("XDG_STATE_HOME", qgetenv("QRN_RECOVERY_STATE"));
    files.saveResult = qEnvironmentVariable("QRN_RECOVERY_SOURCE");
    maker->savefile(false);
    s.cell(7).place = 77;
    s.settings.scenarioname.assign("lost work");
    editHistory().commitNow();
    ASSERT_TRUE(editHistory().recovery().writeNow());
    std::cout << "written" << std::endl;
    QThread::sleep(60);
}

TEST_F(UndoWithWindows, WorkOfAKilledEditorIsOfferedAndRestoredAsUnsaved) {
    const QString source = dir.path() + "/source.snr";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QRN_RECOVERY_STATE", stateDir.path());
    env.insert("QRN_RECOVERY_SOURCE", source);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=*DISABLED_RecoveryChildWritesThenWaits"});
    ASSERT_TRUE(child.waitForStarted());
    QByteArray out;
    while (!out.contains("written") && child.waitForReadyRead(30000)) out += child.readAllStandardOutput();
    ASSERT_TRUE(out.contains("written")) << out.toStdString();
    child.kill();
    child.waitForFinished();

    // A file of this running editor is never offered.
    s.cell(3).place = 5;
    editHistory().commitNow();
    ASSERT_TRUE(editHistory().recovery().writeNow());
    const auto leftover = RecoveryKeeper::findLeftover();
    ASSERT_TRUE(leftover);
    EXPECT_NE(leftover->path, RecoveryKeeper::ownFile());
    EXPECT_EQ(leftover->sourcePath, source);

    messages.answers = {true};
    ASSERT_TRUE(RecoveryKeeper::offerRestore(*maker));
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_TRUE(messages.questions[0].contains("lost work"));
    EXPECT_TRUE(messages.questions[0].contains(source));
    EXPECT_EQ(+s.cell(7).place, 77);
    EXPECT_EQ(maker->saveFileName(), source);
    EXPECT_TRUE(maker->windowTitle().startsWith("* "));
    EXPECT_FALSE(QFile::exists(leftover->path));
    EXPECT_TRUE(QFile::exists(RecoveryKeeper::ownFile()));

    // A clean save or exit takes the file away; nothing is offered then.
    maker->orverwritesave();
    EXPECT_FALSE(QFile::exists(RecoveryKeeper::ownFile()));
    EXPECT_FALSE(RecoveryKeeper::findLeftover());
}

}  // namespace
}  // namespace qrn::test
