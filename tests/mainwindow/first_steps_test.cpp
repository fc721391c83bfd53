// A new author's first start on an empty home folder: the resource folder
// filled with the starter set, the image view listing it, and a join with
// the default settings writing into the documents folder and nowhere else.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "services/filenameenter.h"
#include "services/userfolders.h"
#include "views/chiptable.h"
#include "views/chipview.h"
#include "../editor_fakes.h"
#include "scenario/scenario.h"

namespace qrn::test {
namespace {

// Every file under `root`, relative to it, sorted.
QStringList filesUnder(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) found << QDir(root).relativeFilePath(it.next());
    found.sort();
    return found;
}

class FirstStepsTest : public EditorFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS"}) {
            saved.emplace_back(name, qgetenv(name));
            qunsetenv(name);
        }
        qputenv("HOME", QFile::encodeName(home.path()));
        EditorFixture::SetUp();
        options = Options();  // its defaults follow the home folder
        createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [](Tmapcreater&) { return true; };
        maker->runJoinNameDialog = [](Tfilenameenter& dialog) {
            dialog.filenameedit()->setText(QStringLiteral("FIRST"));
            return true;
        };
    }
    void TearDown() override {
        EditorFixture::TearDown();
        for (const auto& [name, value] : saved)
            if (value.isNull()) qunsetenv(name);
            else qputenv(name, value);
    }
    QString resources() const { return home.path() + "/.local/share/QUORANTEL/resources/"; }
    QString documents() const { return home.path() + "/Documents/QUORANTEL/"; }

    QTemporaryDir home;
    std::vector<std::pair<const char*, QByteArray>> saved;
    Tmaker* maker = nullptr;
};

TEST_F(FirstStepsTest, EmptyHomeGetsTheStarterSetAndJoinsIntoTheDocumentsFolder) {
    const QString starter = starterResourceFolder();
    ASSERT_FALSE(starter.isEmpty()) << "the demo generator's pictures were not found";
    const QStringList starterFiles = QDir(starter).entryList(QDir::Files, QDir::Name);
    for (const char* f : {"grass.bmp", "house.bmp", "villager.bmp", "hero_walk1.bmp", "title.bmp", "village.mid", "coin.wav"})
        EXPECT_TRUE(starterFiles.contains(QString::fromLatin1(f))) << f;

    finishStart({});
    EXPECT_EQ(options.serchpath, resources());
    EXPECT_EQ(options.compiledfileout, documents());
    // Copies the author owns, not links to the installed set.
    EXPECT_EQ(QDir(resources()).entryList(QDir::Files, QDir::Name), starterFiles);
    const QFileInfo grass(resources() + "grass.bmp");
    EXPECT_FALSE(grass.isSymLink());
    EXPECT_TRUE(grass.isWritable());
    EXPECT_FALSE(QFileInfo::exists(documents()));  // made by the first join only

    maker->createnew();
    const ChipTable& listed = editorWindows().chipview->table();
    EXPECT_EQ(listed.fileCount(), starterFiles.filter(QStringLiteral(".bmp")).size());
    bool grassListed = false;
    for (int i = 0; i < listed.fileCount(); ++i) grassListed |= listed.entry(i).fileName == "grass.bmp";
    EXPECT_TRUE(grassListed);

    Scenario& s = editor().scenario;
    s.placeImageFiles[0].assign("grass.bmp");
    for (int n = 1; n <= 100; ++n) s.cell(n).place = 1;
    maker->defaultimageload();
    maker->allimageload();
    const QStringList programFolderBefore = filesUnder(QCoreApplication::applicationDirPath());
    const QStringList resourcesBefore = filesUnder(resources());
    maker->command("jointmenu")->trigger();
    ASSERT_EQ(messages.infos.size(), 1) << messages.errors.join("|").toStdString();
    for (const char* f : {"FIRST.DST", "FIRST.CHP", "FIRST.LCT", "FIRST.TXT"})
        EXPECT_TRUE(QFileInfo::exists(documents() + f)) << f;
    // Nothing beside the program, nothing else in the home folder.
    EXPECT_EQ(filesUnder(QCoreApplication::applicationDirPath()), programFolderBefore);
    EXPECT_EQ(filesUnder(resources()), resourcesBefore);
    QStringList elsewhere = filesUnder(home.path());
    elsewhere = elsewhere.filter(QRegularExpression("^(?!\\.local/share/QUORANTEL/resources/|Documents/QUORANTEL/|\\.cache/)"));
    EXPECT_TRUE(elsewhere.isEmpty()) << elsewhere.join(" ").toStdString();

    // Once only: what the author removed stays removed.
    ASSERT_TRUE(QFile::remove(resources() + "grass.bmp"));
    finishStart({});
    EXPECT_FALSE(QFileInfo::exists(resources() + "grass.bmp"));
}

TEST_F(FirstStepsTest, StoredFoldersWinAndMakeNothing) {
    QTemporaryDir mine;
    QSettings* store = settingsStore();
    store->setValue("path/serchpath", mine.path() + "/");
    store->setValue("path/compiledfileout", mine.path() + "/out/");
    store->sync();
    finishStart({});
    EXPECT_EQ(options.serchpath, mine.path() + "/");
    EXPECT_EQ(options.compiledfileout, mine.path() + "/out/");
    EXPECT_TRUE(filesUnder(home.path()).isEmpty());
    EXPECT_TRUE(QDir(mine.path()).isEmpty());
    // A stored output folder that is missing is refused, not made.
    maker->createnew();
    maker->command("jointmenu")->trigger();
    EXPECT_EQ(messages.errors, QStringList{QStringLiteral("結合ファイル出力フォルダは無効です。")});
    EXPECT_FALSE(QFileInfo::exists(mine.path() + "/out"));
}

}  // namespace
}  // namespace qrn::test
