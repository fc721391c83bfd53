// The main window: start-up order and its two states, new scenarios and
// fields through the creation dialog, open and save with their failures,
// field navigation and the picture list.
#include <QAction>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QSlider>
#include <gtest/gtest.h>

#include "mainwindow/maker.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/mapcreater.h"
#include "services/textconv.h"
#include "../editor_fakes.h"
#include "scenario/fieldops.h"
#include "scenario/scenario.h"

namespace qrn::test {
namespace {

struct Creation {
    QString title, designer, field;
    int widthPieces = 1, heightPieces = 1;
    bool ok = true;
};

class MakerTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        order = createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [this](Tmapcreater& dialog) {
            ++dialogs;
            seenCaption = dialog.windowTitle();
            seenDesigner = dialog.crdesigner()->text();
            seenRemaining = dialog.remainingText();
            dialog.crname()->setText(next.title);
            dialog.crdesigner()->setText(next.designer);
            dialog.crfield()->setText(next.field);
            dialog.widthSlider()->setValue(next.widthPieces);
            dialog.heightSlider()->setValue(next.heightPieces);
            return next.ok;
        };
    }

    void create(const Creation& c) {
        next = c;
        maker->createnew();
    }
    QString title() const { return fromCp932(editor().scenario.settings.scenarioname.view()); }
    QString fieldName(int f) const { return fromCp932(editor().scenario.field(f).name.view()); }

    QSet<QString> enabledCommands() const {
        QSet<QString> names;
        for (QAction* a : maker->findChildren<QAction*>())
            if (!a->objectName().isEmpty() && a->isEnabled()) names << a->objectName();
        return names;
    }

    QStringList order;
    Tmaker* maker = nullptr;
    Creation next;
    int dialogs = 0;
    QString seenCaption, seenDesigner, seenRemaining;
};

TEST_F(MakerTest, WindowsAreCreatedOnceInStartUpOrder) {
    EXPECT_EQ(order, QStringList({"qrn::Tmaker", "qrn::Tminimap", "qrn::Tpalette", "qrn::Tchipview", "qrn::Tparamedit",
                                  "qrn::Tresedit", "qrn::Tfieldman", "qrn::Tserchresult", "qrn::Tmagicedit",
                                  "qrn::Trandomform"}));
    const void* windows[] = {editorWindows().minimap,  editorWindows().palette,     editorWindows().chipview,  editorWindows().paramedit, editorWindows().resedit,
                             editorWindows().fieldman, editorWindows().serchresult, editorWindows().magicedit, editorWindows().randomform};
    for (const void* w : windows) ASSERT_NE(w, nullptr);
}

TEST_F(MakerTest, BeforeTheFirstScenarioOnlyNewOpenExitToolbarAndHelpWork) {
    EXPECT_TRUE(editor().state.noScenarioYet);
    EXPECT_EQ(enabledCommands(), QSet<QString>({"newfilemenu", "loadfilemenu", "closeappmenu", "toolmenu",
                                                "helpindexmenu", "firststepsmenu", "searchmenu", "versionmenu"}));
    EXPECT_TRUE(maker->mapgrid()->isHidden());
    EXPECT_TRUE(maker->xlabel()->isHidden());
    EXPECT_EQ(maker->command("createnewbtn"), maker->command("newfilemenu"));
    EXPECT_EQ(maker->command("loadfilemenu")->text(), QStringLiteral("開く(&O)"));
    EXPECT_EQ(maker->command("loadbtn")->toolTip(), QStringLiteral("ｼﾅﾘｵを開く"));

    create({"", "", "", 2, 1});
    // Editing: everything but the range tools, which follow the draw mode
    // (pen), and undo and redo, which wait for a step.
    const QSet<QString> enabled = enabledCommands();
    for (QAction* a : maker->findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (name.isEmpty()) continue;
        const bool range = name.startsWith("brush") || name.startsWith("erace") || name.startsWith("random") ||
                           name.startsWith("allselect");
        const bool history = name == "undomenu" || name == "redomenu";
        EXPECT_EQ(enabled.contains(name), !range && !history) << name.toStdString();
    }
    EXPECT_FALSE(maker->mapgrid()->isHidden());
    maker->madrawmodebtnclick(3);
    EXPECT_TRUE(maker->command("brushbtn")->isEnabled());
    EXPECT_TRUE(maker->command("allselectpop")->isEnabled());
    EXPECT_TRUE(maker->command("rangeselectmenu")->isChecked());
    maker->madrawmodebtnclick(1);
    EXPECT_EQ(editor().state.drawMode, 0);
    EXPECT_FALSE(maker->command("randomeracemenu")->isEnabled());
}

TEST_F(MakerTest, FirstNewScenarioAsksNothingAndLaysOutFieldOne) {
    create({"", "", "", 2, 1});
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(seenCaption, QStringLiteral("新規ｼﾅﾘｵﾒｲｷﾝｸﾞ"));
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_FALSE(editor().state.noScenarioYet);
    Scenario& s = editor().scenario;
    EXPECT_EQ(+s.field(1).firstCell, 1);
    EXPECT_EQ(+s.field(1).cellCount, 200);
    EXPECT_EQ(+s.field(1).width, 20);
    EXPECT_EQ(+s.field(1).height, 10);
    EXPECT_EQ(s.cell(21).col, 0);
    EXPECT_EQ(s.cell(21).row, 1);
    EXPECT_EQ(s.cell(200).col, 19);
    EXPECT_EQ(s.cell(200).row, 9);
    EXPECT_EQ(title(), QStringLiteral("無題"));
    EXPECT_EQ(fieldName(1), QStringLiteral("無題"));
    EXPECT_EQ(editor().cellIndexMap[19][9], 200);
    EXPECT_EQ(maker->windowTitle(), QStringLiteral("ｼﾅﾘｵ：無題／無題"));
    EXPECT_EQ(maker->xlabel()->text(), QStringLiteral("X:1"));
    EXPECT_EQ(maker->ylabel()->text(), QStringLiteral("Y:1"));
}

TEST_F(MakerTest, LaterNewScenarioAsksAfterTheDialogAndCancelKeepsEverything) {
    create({"最初", "作者", "草原", 1, 1});
    editor().state.currentField = 1;
    create({"二番目", "", "", 3, 3, true});
    messages.answers = {false};
    // The question was asked after the dialog; Cancel keeps the scenario.
    create({"三番目", "", "", 2, 2, true});
    ASSERT_EQ(messages.questions.size(), 2);
    EXPECT_EQ(messages.questions.last(), QStringLiteral("現在のシナリオデータは破棄されます。よろしいですか？"));
    EXPECT_EQ(title(), QStringLiteral("二番目"));
    EXPECT_EQ(+editor().scenario.field(1).width, 30);
    EXPECT_EQ(editor().scenario.settings.scdesigner.view(), "");

    // A cancelled dialog asks nothing and changes nothing.
    create({"四番目", "", "", 1, 1, false});
    EXPECT_EQ(messages.questions.size(), 2);
    EXPECT_EQ(title(), QStringLiteral("二番目"));

    // Without the confirmation option the scenario is replaced silently.
    options.tellmsg = false;
    create({"五番目", "", "", 1, 1});
    EXPECT_EQ(messages.questions.size(), 2);
    EXPECT_EQ(title(), QStringLiteral("五番目"));
}

TEST_F(MakerTest, CreationDialogShowsSizesAndWhatIsLeftOfThePool) {
    editor().state.newFieldMode = false;
    Tmapcreater dialog;
    EXPECT_EQ(dialog.widthSlider()->minimum(), 1);
    EXPECT_EQ(dialog.widthSlider()->maximum(), 12);
    EXPECT_EQ(dialog.heightSlider()->orientation(), Qt::Vertical);
    dialog.widthSlider()->setValue(12);
    dialog.heightSlider()->setValue(3);
    EXPECT_EQ(dialog.widthText(), QStringLiteral("120ピース"));
    EXPECT_EQ(dialog.heightText(), QStringLiteral("30ピース"));
    EXPECT_EQ(dialog.shape()->width(), 12 * 11 + 6);
    EXPECT_EQ(dialog.shape()->height(), 3 * 11 + 6);
    EXPECT_EQ(dialog.remainingText(), QStringLiteral("296400ピース"));
    EXPECT_EQ(editor().state.createWidth, 120);
    EXPECT_EQ(editor().state.createHeight, 30);
    EXPECT_EQ(dialog.crname()->maxLength(), 32);
}

TEST_F(MakerTest, NewFieldFollowsTheLastFieldAndKeepsTheDesigner) {
    create({"村", "作者", "草原", 1, 1});
    // The dialog offers the scenario's designer in new-field mode.
    maker->runCreationDialog = [this](Tmapcreater& dialog) {
        seenCaption = dialog.windowTitle();
        seenDesigner = dialog.crdesigner()->text();
        seenRemaining = dialog.remainingText();
        dialog.crfield()->setText(QStringLiteral("洞窟"));
        dialog.widthSlider()->setValue(2);
        return true;
    };
    maker->newfieldbtnClick();
    Scenario& s = editor().scenario;
    EXPECT_EQ(seenCaption, QStringLiteral("ﾌｨｰﾙﾄﾞﾒｲｷﾝｸﾞ"));
    EXPECT_EQ(seenDesigner, QStringLiteral("作者"));
    EXPECT_EQ(seenRemaining, QString::number(300000 - 100 - 100) + QStringLiteral("ピース"));
    EXPECT_EQ(+s.field(2).firstCell, 101);
    EXPECT_EQ(+s.field(2).width, 20);
    EXPECT_EQ(fromCp932(s.settings.scdesigner.view()), QStringLiteral("作者"));
    EXPECT_EQ(fieldName(2), QStringLiteral("洞窟"));
    EXPECT_EQ(editor().state.currentField, 2);
    EXPECT_EQ(maker->windowTitle(), QStringLiteral("ｼﾅﾘｵ：村／洞窟"));

    // Navigation: previous, next and first, and the cursor is remembered.
    editor().state.fieldCursor[2] = {5, 3};
    maker->firstfieldClick();
    EXPECT_EQ(editor().state.currentField, 1);
    maker->firstfieldClick();
    EXPECT_EQ(editor().state.currentField, 1);
    maker->secondfieldClick();
    EXPECT_EQ(editor().state.currentField, 2);
    EXPECT_EQ(maker->xlabel()->text(), QStringLiteral("X:6"));
    EXPECT_EQ(maker->ylabel()->text(), QStringLiteral("Y:4"));
    maker->secondfieldClick();
    EXPECT_EQ(editor().state.currentField, 2);
    maker->topreturnbtnClick();
    EXPECT_EQ(editor().state.currentField, 1);
}

TEST_F(MakerTest, NewFieldThatDoesNotFitLeavesNoTrace) {
    create({"", "", "", 12, 12});
    Scenario& s = editor().scenario;
    // A sound layout that fills the pool: fields 1..20 of 120 x 120 and one
    // of 120 x 100.
    for (int slot = 2; slot <= 21; ++slot)
        ASSERT_EQ(placeNewField(s, slot, 120, slot == 21 ? 100 : 120), AddFieldResult::Added);
    ASSERT_EQ(freePoolCells(s), 0);
    maker->runCreationDialog = [](Tmapcreater& dialog) {
        dialog.widthSlider()->setValue(1);
        dialog.heightSlider()->setValue(1);
        return true;
    };
    maker->newfieldbtnClick();
    ASSERT_EQ(messages.warnings.size(), 1);
    EXPECT_EQ(messages.warnings.last(), QStringLiteral("ﾌｨｰﾙﾄﾞﾘｿｰｽが足りません"));
    EXPECT_EQ(+s.field(22).firstCell, 0);
    EXPECT_EQ(editor().state.currentField, 1);
}

TEST_F(MakerTest, FailedOpenKeepsTheScenarioAndTheEditorGoesOn) {
    create({"大事な話", "", "", 1, 1});
    QTemporaryDir dir;
    const QString junk = dir.filePath("junk.snr");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a scenario");
    f.close();
    files.openResult = junk;
    maker->loadfile();
    EXPECT_EQ(files.lastTitle, QStringLiteral("シナリオを開く"));
    EXPECT_EQ(files.lastSuffix, QStringLiteral("snr"));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].startsWith(QStringLiteral("読み込みｴﾗｰ")));
    EXPECT_EQ(title(), QStringLiteral("大事な話"));
    EXPECT_EQ(editorWindows().maker, maker);
    EXPECT_FALSE(maker->openFile(dir.filePath("missing.snr")));
    EXPECT_EQ(title(), QStringLiteral("大事な話"));
}

TEST_F(MakerTest, RecordOfRandomBytesOpensWithoutHarm) {
    QTemporaryDir dir;
    const QString path = dir.filePath("noise.snr");
    QByteArray noise(kRecordSize, Qt::Uninitialized);
    std::uint32_t x = 12345;
    for (char& c : noise) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(noise);
    f.close();
    options.serchpath = dir.path() + "/";
    ASSERT_TRUE(maker->openFile(path));
    // Every picture name is noise: each gives its warning and a blank chip.
    EXPECT_GT(messages.warnings.size(), 100);
    EXPECT_EQ(editor().imageList.count(), messages.warnings.size() + 1);
    EXPECT_LE(maker->mapgrid()->columns(), kMaxFieldSide);
    for (int i = 0; i < 5; ++i) maker->secondfieldClick();
    maker->topreturnbtnClick();
    EXPECT_EQ(editor().state.currentField, 1);
}

TEST_F(MakerTest, SaveAsThenOverwriteAndReopen) {
    create({"保存する話", "", "", 1, 1});
    QTemporaryDir dir;
    const QString path = dir.filePath("story.snr");
    // Overwrite save before any save as asks for the name.
    files.saveResult = path;
    maker->orverwritesave();
    EXPECT_EQ(files.saveDialogs, 1);
    EXPECT_EQ(files.lastTitle, QStringLiteral("シナリオに名前を付けて保存"));
    EXPECT_EQ(QFileInfo(path).size(), kRecordSize);

    editor().scenario.settings.scenarioname.assign(toCp932(QStringLiteral("変更後")));
    maker->orverwritesave();
    EXPECT_EQ(files.saveDialogs, 1);
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_EQ(messages.questions[0], QStringLiteral("story.snrを上書き保存します。\nよろしいですか？"));

    editor().scenario.settings.scenarioname.assign(toCp932(QStringLiteral("未保存")));
    files.openResult = path;
    maker->loadfile();
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(title(), QStringLiteral("変更後"));
    EXPECT_EQ(editor().state.currentField, 1);
}

TEST_F(MakerTest, FailedSaveNamesTheFileAndTheReason) {
    create({"", "", "", 1, 1});
    files.saveResult = QStringLiteral("/nonexistent-folder/x/story.snr");
    maker->savefile(false);
    ASSERT_EQ(messages.warnings.size(), 1);
    EXPECT_TRUE(messages.warnings[0].contains(files.saveResult));
    EXPECT_GT(messages.warnings[0].split('\n').last().size(), 0);
}

TEST_F(MakerTest, PicturesLoadWithMasksAndMissingOrBrokenFilesGiveBlankChips) {
    QTemporaryDir res;
    QImage white(32, 32, QImage::Format_RGB32);
    white.fill(Qt::white);
    white.setPixelColor(5, 5, Qt::red);
    ASSERT_TRUE(white.save(res.filePath("good.bmp"), "BMP"));
    QFile good(res.filePath("good.bmp"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    QFile cut(res.filePath("cut.bmp"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(70));  // header and a few pixels only
    cut.close();
    // A header that claims 50000 x 50000 pixels and nothing after it.
    QByteArray huge = bytes.left(54);
    auto put32 = [&huge](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) huge[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    put32(18, 50000);
    put32(22, 50000);
    QFile hugeFile(res.filePath("huge.bmp"));
    ASSERT_TRUE(hugeFile.open(QIODevice::WriteOnly));
    hugeFile.write(huge);
    hugeFile.close();

    options.serchpath = res.path() + "/";
    Scenario& s = editor().scenario;
    create({"", "", "", 1, 1});
    s.placeImageFiles[0].assign("good.bmp");
    s.place(1).imageTransparent = 1;
    s.place(1).imageColour = 0xFFFFFF;
    s.placeImageFiles[1].assign("missing.bmp");
    s.placeImageFiles[2].assign("cut.bmp");
    s.charaImageFiles[0].assign("huge.bmp");
    s.walkImageFiles[0][7].assign("good.bmp");
    s.walkImg(1).imageTransparent = 0;
    maker->defaultimageload();
    maker->allimageload();

    const PictureIndexTables& t = editor().side.pictures;
    PictureList& list = editor().imageList;
    EXPECT_EQ(list.count(), 6);
    // Order: chara pictures come before place pictures, walk images last.
    EXPECT_EQ(+t.charaItem[1], 1);
    EXPECT_EQ(+t.place[1], 2);
    EXPECT_EQ(+t.place[2], 3);
    EXPECT_EQ(+t.place[3], 4);
    EXPECT_EQ(t.walk[1][8], 5);
    QStringList expected;
    for (const char* name : {"huge.bmp", "missing.bmp", "cut.bmp"})
        expected << res.path() + "/" + name + QStringLiteral("が見つかりません。");
    EXPECT_EQ(messages.warnings, expected);
    const QImage chip = list.pixmap(t.place[1]).toImage();
    EXPECT_EQ(qAlpha(chip.pixel(0, 0)), 0);
    EXPECT_EQ(chip.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(list.pixmap(t.walk[1][8]).toImage().pixelColor(0, 0), QColor(Qt::white));  // unmasked
    EXPECT_EQ(list.pixmap(0).toImage().pixelColor(10, 10), QColor(Qt::black));
}

TEST_F(MakerTest, ViewTogglesAndChipSizeFollowTheState) {
    create({"", "", "", 1, 1});
    maker->mapvbtnClick(kEvent);
    EXPECT_FALSE(editor().state.layerVisible[kEvent]);
    EXPECT_FALSE(maker->command("evviewmenu")->isChecked());
    EXPECT_FALSE(maker->command("vevbtn")->isChecked());
    maker->command("vevbtn")->trigger();
    EXPECT_TRUE(editor().state.layerVisible[kEvent]);
    EXPECT_TRUE(maker->command("evviewmenu")->isChecked());
    maker->colrowset(7);
    EXPECT_EQ(editor().state.chipSize, 1);
    EXPECT_TRUE(maker->command("grsize1menu")->isChecked());
    maker->command("grsize3btn")->trigger();
    EXPECT_EQ(editor().state.chipSize, 3);
}

TEST_F(MakerTest, ClosingAsksOnlyWithTheConfirmationOption) {
    messages.answers = {false};
    EXPECT_FALSE(maker->close());
    EXPECT_EQ(messages.questions.last(), QStringLiteral("終了してもよろしいですか？"));
    options.tellmsg = false;
    maker->show();
    EXPECT_TRUE(maker->close());
    EXPECT_EQ(messages.questions.size(), 1);
    // Closing wrote the settings.
    EXPECT_TRUE(QFileInfo::exists(settingsFile()));
}

TEST_F(MakerTest, MediaHooksLookFilesUpInTheResourceFolder) {
    options.serchpath = QStringLiteral("/res/");
    maker->mediaplay(QStringLiteral("town.mid"), true);
    EXPECT_TRUE(editor().state.musicLoop);
    maker->soundplay(QString());
    maker->soundplay(QStringLiteral("coin.wav"));
    maker->mediastop();
    EXPECT_EQ(media.played, QStringList({"/res/town.mid|loop"}));
    EXPECT_EQ(media.sounds, QStringList({"/res/coin.wav"}));
    EXPECT_EQ(media.stops, 1);
    EXPECT_FALSE(editor().state.musicLoop);
}

TEST_F(MakerTest, RunnerStartsOnlyAnExistingFile) {
    options.quilmark = QStringLiteral("/nonexistent/runner");
    maker->runplayerbtnClick();
    options.quilmark = QString();
    maker->runplayerbtnClick();
    EXPECT_TRUE(launcher.started.isEmpty());
    QTemporaryDir dir;
    const QString runner = dir.filePath("runner");
    QFile f(runner);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    options.quilmark = runner;
    maker->runplayerbtnClick();
    EXPECT_EQ(launcher.started, QStringList({runner}));
}

}  // namespace
}  // namespace qrn::test
