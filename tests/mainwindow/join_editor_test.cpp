// The main window's join and bitmap export, end to end with the real windows.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QLabel>
#include <QSettings>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "services/filenameenter.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "../editor_fakes.h"
#include "scenario/scenario.h"

namespace qrn::test {
namespace {

class JoinEditorTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [](Tmapcreater&) { return true; };
        maker->runJoinNameDialog = [this](Tfilenameenter& dialog) {
            seenPreset = dialog.filenameedit()->text();
            if (!typed.isNull()) dialog.filenameedit()->setText(typed);
            return true;
        };
        options.serchpath = res.path() + "/";
        options.compiledfileout = out.path() + "/";
        QImage red(32, 32, QImage::Format_RGB32);
        red.fill(Qt::red);
        ASSERT_TRUE(red.save(res.filePath("red.bmp"), "BMP"));
        QImage man(32, 32, QImage::Format_RGB32);
        man.fill(Qt::white);
        for (int y = 8; y < 24; ++y)
            for (int x = 8; x < 24; ++x) man.setPixelColor(x, y, Qt::blue);
        ASSERT_TRUE(man.save(res.filePath("man.bmp"), "BMP"));
        maker->createnew();
        Scenario& s = editor().scenario;
        s.placeImageFiles[0].assign("Red.BMP");  // found by another case
        s.charaImageFiles[0].assign("man.bmp");
        s.chara(1).imageTransparent = 1;
        s.chara(1).imageColour = 0xFFFFFF;
        for (int n = 1; n <= 100; ++n) s.cell(n).place = 1;
        s.cell(12).chara = 1;  // column 1, row 1
        s.settings.titleBitmaps[0].assign("red.bmp");
        messages.warnings.clear();
        maker->defaultimageload();
        maker->allimageload();
    }

    QTemporaryDir res, out;
    Tmaker* maker = nullptr;
    QString typed, seenPreset;
};

TEST_F(JoinEditorTest, JoinWritesTheRunnerFilesRemembersTheNameAndLeavesTheScenarioAlone) {
    EXPECT_TRUE(messages.warnings.isEmpty()) << messages.warnings.join("|").toStdString();
    const Scenario& s = editor().scenario;
    auto before = std::make_unique<Scenario>();
    std::memcpy(before->bytes(), s.bytes(), kRecordSize);
    typed = QStringLiteral("GAME.snr");
    maker->command("jointmenu")->trigger();
    EXPECT_EQ(seenPreset, QString());
    EXPECT_EQ(std::memcmp(before->bytes(), s.bytes(), kRecordSize), 0);
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_TRUE(messages.questions[0].contains(out.filePath("GAME.DST") + "に結合します。"));
    ASSERT_EQ(messages.infos.size(), 1) << messages.errors.join("|").toStdString();
    EXPECT_TRUE(messages.infos[0].endsWith("GAME.TXT にファイル一覧を出力しました。"));
    EXPECT_TRUE(messages.warnings.isEmpty());
    for (const char* f : {"GAME.DST", "GAME.CHP", "GAME.LCT", "GAME.TXT", "red.DAT"})
        EXPECT_TRUE(QFile::exists(out.filePath(f))) << f;
    // The sheet, renamed to a bitmap, shows the chips as the map draws them.
    QFile chp(out.filePath("GAME.CHP"));
    ASSERT_TRUE(chp.open(QIODevice::ReadOnly));
    QByteArray sheetBytes = chp.readAll();
    ASSERT_TRUE(sheetBytes.startsWith(".."));
    sheetBytes[0] = 'B';
    sheetBytes[1] = 'M';
    const QImage sheet = QImage::fromData(sheetBytes, "BMP");
    ASSERT_EQ(sheet.size(), QSize(960, 32));
    EXPECT_EQ(sheet.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(sheet.pixelColor(32 + 16, 16), QColor(Qt::blue));
    EXPECT_EQ(sheet.pixelColor(32, 0), QColor(Qt::black));

    // The name is offered again; a new scenario forgets it.
    typed = QString();
    messages.answers = {false};  // but cancel at the question
    maker->command("jointmenu")->trigger();
    EXPECT_EQ(seenPreset, QStringLiteral("GAME"));
    EXPECT_EQ(messages.infos.size(), 1);
    maker->createnew();
    maker->command("jointmenu")->trigger();
    EXPECT_EQ(seenPreset, QString());
}

TEST_F(JoinEditorTest, FailuresShowTheirMessageAndNoSuccess) {
    options.compiledfileout = out.path() + "/none/";
    maker->command("jointmenu")->trigger();
    EXPECT_EQ(messages.errors, QStringList{QStringLiteral("結合ファイル出力フォルダは無効です。")});
    EXPECT_TRUE(messages.questions.isEmpty());

    options.compiledfileout = out.path() + "/";
    ASSERT_TRUE(QDir(out.path()).mkdir("G.LCT"));  // in the way of the cell list
    typed = QStringLiteral("G");
    maker->command("jointmenu")->trigger();
    ASSERT_EQ(messages.errors.size(), 2);
    EXPECT_TRUE(messages.errors[1].startsWith("リソース不足です。"));
    EXPECT_TRUE(messages.errors[1].contains(out.filePath("G.LCT")));
    EXPECT_TRUE(messages.infos.isEmpty());
}

// The output folder stops taking data part-way (the file size limit is
// reached at the runner record): the failure is shown, no success, the
// scenario is as it was, and the runner files of the earlier join are whole.
TEST_F(JoinEditorTest, JoinThatFailsPartWayKeepsTheEarlierFilesWhole) {
    typed = QStringLiteral("G");
    maker->command("jointmenu")->trigger();
    ASSERT_EQ(messages.infos.size(), 1);
    const auto readAll = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray record = readAll(out.filePath("G.DST"));
    ASSERT_EQ(record.size(), 869775);
    const QStringList files = QDir(out.path()).entryList(QDir::Files, QDir::Name);

    Scenario& s = editor().scenario;
    s.chara(1).name.assign("changed");
    auto before = std::make_unique<Scenario>();
    std::memcpy(before->bytes(), s.bytes(), kRecordSize);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 400 * 1024;  // the sheet and the copies fit, the runner record does not
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    maker->command("jointmenu")->trigger();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(out.filePath("G.DST")));
    EXPECT_EQ(messages.infos.size(), 1);
    EXPECT_EQ(std::memcmp(before->bytes(), s.bytes(), kRecordSize), 0);
    EXPECT_EQ(readAll(out.filePath("G.DST")), record);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files, QDir::Name), files);  // no part-written file left
}

TEST_F(JoinEditorTest, NameDialogRefusesEmptyNamesAndFolders) {
    Tfilenameenter dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("結合ﾌｧｲﾙ名を入力"));
    EXPECT_EQ(dialog.filenameedit()->maxLength(), 50);
    const std::pair<QString, bool> cases[] = {{"", false}, {"a/b", false}, {"a\\b", false}, {".snr", false},
                                              {"GAME", true}, {"冒険.snr", true}, {"😀", false}};
    for (const auto& [text, ok] : cases) {
        dialog.filenameedit()->setText(text);
        EXPECT_EQ(dialog.okButton()->isEnabled(), ok) << text.toStdString();
    }
    dialog.filenameedit()->setText("冒険.snr");
    EXPECT_EQ(dialog.joinName(), QStringLiteral("冒険"));
}

// The superuser writes anywhere: while one of these lives the process is
// nobody, so that a read-only folder is one for the check.
class AsNobodyIfRoot {
public:
    AsNobodyIfRoot() : root_(::getuid() == 0) {
        if (root_) {
            EXPECT_EQ(::setresuid(65534, 65534, 0), 0);
        }
    }
    ~AsNobodyIfRoot() {
        if (root_) ::setresuid(0, 0, 0);
    }

private:
    bool root_;
};

TEST_F(JoinEditorTest, NameDialogShowsTheOutputFolderAndRefusesOneItCannotWrite) {
    QTemporaryDir base;
    const QString readOnly = base.filePath("ro"), writable = base.filePath("rw");
    ASSERT_TRUE(QDir().mkdir(readOnly) && QDir().mkdir(writable));
    ASSERT_EQ(::chmod(QFile::encodeName(base.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(writable).constData(), 0777), 0);
    {
        Tfilenameenter dialog;
        EXPECT_EQ(dialog.folderLabel()->text(), out.path());  // the options' folder
        dialog.filenameedit()->setText("GAME");
        QString chosen = readOnly;
        dialog.chooseFolder = [&chosen](QWidget*, const QString&, const QString&) { return chosen; };
        QLabel* problem = dialog.findChild<QLabel*>("folderproblem");
        AsNobodyIfRoot nobody;
        dialog.folderButton()->click();
        EXPECT_EQ(dialog.outputFolder(), readOnly + "/");
        EXPECT_FALSE(dialog.okButton()->isEnabled());
        EXPECT_FALSE(problem->isHidden());
        chosen = writable;
        dialog.folderButton()->click();
        EXPECT_TRUE(dialog.okButton()->isEnabled());
        EXPECT_TRUE(problem->isHidden());
        chosen = QString();  // the folder dialog cancelled
        dialog.folderButton()->click();
        EXPECT_EQ(dialog.outputFolder(), writable + "/");
    }

    // Choosing in the dialog changes the options' folder and keeps it; a
    // cancelled dialog changes nothing.
    maker->runJoinNameDialog = [&](Tfilenameenter& dialog) {
        dialog.chooseFolder = [&](QWidget*, const QString&, const QString&) { return readOnly; };
        dialog.folderButton()->click();
        return false;
    };
    maker->command("jointmenu")->trigger();
    EXPECT_EQ(options.compiledfileout, out.path() + "/");
    EXPECT_TRUE(QDir(readOnly).isEmpty());
    maker->runJoinNameDialog = [&](Tfilenameenter& dialog) {
        dialog.chooseFolder = [&](QWidget*, const QString&, const QString&) { return writable; };
        dialog.folderButton()->click();
        dialog.filenameedit()->setText("GAME");
        return true;
    };
    maker->command("jointmenu")->trigger();
    EXPECT_EQ(options.compiledfileout, writable + "/");
    EXPECT_EQ(QSettings(settingsFile(), QSettings::IniFormat).value("path/compiledfileout").toString(), writable + "/");
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_TRUE(messages.questions[0].contains(writable + "/GAME.DST"));
    EXPECT_TRUE(QFile::exists(writable + "/GAME.DST"));
    ::chmod(QFile::encodeName(readOnly).constData(), 0755);
}

TEST_F(JoinEditorTest, BitmapExportDrawsEveryLayerAt32PixelsWhateverTheViewShows) {
    editor().state.layerVisible[1] = false;  // terrain hidden in the view
    maker->colrowset(3);                     // 16-pixel chips
    files.saveResult = out.filePath("field.bmp");
    maker->command("savebybmpmenu")->trigger();
    EXPECT_EQ(files.lastTitle, QStringLiteral("ビットマップに名前を付けて保存"));
    EXPECT_EQ(files.lastSuffix, QStringLiteral("bmp"));
    const QImage image(out.filePath("field.bmp"));
    ASSERT_EQ(image.size(), QSize(320, 320));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(33, 33), QColor(Qt::red));  // masked part of the character
    EXPECT_EQ(image.pixelColor(48, 48), QColor(Qt::blue));
    EXPECT_TRUE(messages.warnings.isEmpty());

    files.saveResult = out.filePath("no/such/field.bmp");
    maker->command("savebybmpmenu")->trigger();
    EXPECT_EQ(messages.warnings.size(), 1);
    files.saveResult = QString();  // cancelled
    maker->command("savebybmpmenu")->trigger();
    EXPECT_EQ(messages.warnings.size(), 1);
}

}  // namespace
}  // namespace qrn::test
