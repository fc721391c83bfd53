// The settings store: defaults for missing and broken values, hexadecimal
// values, the all-or-nothing write, and the command line's resource folder.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QToolBar>
#include <QAction>
#include <gtest/gtest.h>

#include "services/editorstate.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "../editor_fakes.h"

namespace qrn::test {
namespace {

class SettingsTest : public EditorFixture {
protected:
    void writeIni(const QByteArray& text) {
        QDir().mkpath(settingsDir.path() + "/Quorantel");
        QFile f(settingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        reopenSettingsStore();
    }
    Placement placed(int l, int t, int r, int b) {
        Placement p;
        p.rect = QRect(l, t, r - l, b - t);
        return p;
    }
};

TEST_F(SettingsTest, MissingStoreGivesEveryDefault) {
    Options o;
    o.tellmsg = false;
    o.serchpath = "/elsewhere/";
    EditorState state;
    state.layerVisible[kItem] = false;
    state.chipSize = 3;
    readOptions(*settingsStore(), o, state);
    const Options d;
    EXPECT_EQ(o.mainform.rect, QRect(0, 0, 600, 480));
    EXPECT_EQ(o.palette.rect, QRect(0, 100, 502, 416));
    EXPECT_EQ(o.param.rect, QRect(200, 100, 100, 200));
    EXPECT_TRUE(o.tellmsg);
    EXPECT_TRUE(o.coming);
    EXPECT_FALSE(o.chipviewFront);
    EXPECT_EQ(o.serchpath, d.serchpath);
    EXPECT_TRUE(o.serchpath.endsWith('/'));
    EXPECT_EQ(o.quilmark, QString());
    EXPECT_TRUE(state.layerVisible[kItem]);
    EXPECT_EQ(state.chipSize, 1);
}

TEST_F(SettingsTest, HexadecimalAndGarbageValues) {
    writeIni("[mainform]\nleft=0x1E\ntop=0X1e\nright=garbage\nbottom=\nmaximize=0x1\n"
             "[tool]\ntellmsg=yes\nshowhint=0\ngridline=2\n"
             "[map]\ncolrowsizes=9\nevchipview=0\nplchipview=abc\n"
             "[path]\nserchpath=/data/res\nquilmark=/opt/runner\ncompiledfileout=\n");
    Options o;
    EditorState state;
    readOptions(*settingsStore(), o, state);
    EXPECT_EQ(o.mainform.rect.left(), 30);
    EXPECT_EQ(o.mainform.rect.top(), 30);
    EXPECT_EQ(o.mainform.rect.left() + o.mainform.rect.width(), 600);   // default right
    EXPECT_EQ(o.mainform.rect.top() + o.mainform.rect.height(), 480);   // default bottom
    EXPECT_TRUE(o.mainform.maximize);
    EXPECT_TRUE(o.tellmsg);     // not a number: default
    EXPECT_FALSE(o.showhint);
    EXPECT_TRUE(o.gridline);    // any number but 0
    EXPECT_EQ(state.chipSize, 1);
    EXPECT_FALSE(state.layerVisible[kEvent]);
    EXPECT_TRUE(state.layerVisible[kPlace]);
    EXPECT_EQ(o.serchpath, QStringLiteral("/data/res/"));
    EXPECT_EQ(o.quilmark, QStringLiteral("/opt/runner"));
    EXPECT_EQ(o.compiledfileout, Options().compiledfileout);
    EXPECT_EQ(readIntSetting(*settingsStore(), "mainform", "left", 5), 30);
    EXPECT_EQ(readIntSetting(*settingsStore(), "mainform", "nothing", 5), 5);
}

TEST_F(SettingsTest, FileOfRandomBytesGivesDefaults) {
    QByteArray junk;
    std::uint32_t x = 99;
    for (int i = 0; i < 4096; ++i) {
        x = x * 1103515245u + 12345u;
        junk += static_cast<char>(x >> 23);
    }
    writeIni(junk);
    Options o;
    EditorState state;
    readOptions(*settingsStore(), o, state);
    const Options d;
    EXPECT_EQ(o.mainform.rect, d.mainform.rect);
    EXPECT_EQ(o.tellmsg, d.tellmsg);
    EXPECT_EQ(o.serchpath, d.serchpath);
    EXPECT_GE(state.chipSize, 1);
    EXPECT_LE(state.chipSize, 3);
}

TEST_F(SettingsTest, WriteThenReadGivesTheSameValues) {
    Options o;
    o.tellmsg = false;
    o.chipslist = true;
    o.serchpath = "/a/b";
    o.quilmark = "/c/runner";
    EditorState state;
    state.layerVisible[kChara] = false;
    state.chipSize = 2;
    const WindowPlacements p = {placed(10, 20, 700, 500), placed(1, 2, 3, 4), placed(5, 6, 7, 8),
                                placed(9, 10, 11, 12), placed(-5, -6, 100, 100)};
    ASSERT_TRUE(writeOptions(*settingsStore(), o, state, p));
    reopenSettingsStore();
    QSettings raw(settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("mainform/right").toString(), QStringLiteral("700"));
    EXPECT_EQ(raw.value("tool/tellmsg").toString(), QStringLiteral("0"));
    EXPECT_EQ(raw.value("path/serchpath").toString(), QStringLiteral("/a/b/"));
    Options back;
    EditorState backState;
    readOptions(*settingsStore(), back, backState);
    EXPECT_EQ(back.mainform.rect, p[0]->rect);
    EXPECT_EQ(back.param.rect, p[4]->rect);
    EXPECT_FALSE(back.tellmsg);
    EXPECT_TRUE(back.chipslist);
    EXPECT_EQ(back.quilmark, o.quilmark);
    EXPECT_FALSE(backState.layerVisible[kChara]);
    EXPECT_EQ(backState.chipSize, 2);
}

TEST_F(SettingsTest, OneUnreadablePlacementWritesNothingAtAll) {
    writeIni("[tool]\ntellmsg=1\n[mainform]\nleft=7\n");
    Options o;
    o.tellmsg = false;
    EditorState state;
    WindowPlacements p = {placed(1, 1, 500, 500), placed(1, 1, 50, 50), std::nullopt, placed(1, 1, 50, 50),
                          placed(1, 1, 50, 50)};
    EXPECT_FALSE(writeOptions(*settingsStore(), o, state, p));
    settingsStore()->sync();
    QSettings raw(settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("tool/tellmsg").toString(), QStringLiteral("1"));
    EXPECT_EQ(raw.value("mainform/left").toString(), QStringLiteral("7"));
    EXPECT_FALSE(raw.contains("tool/showhint"));

    // The same through the main window when a tool window is missing.
    createWindows();
    editorWindows().palette = nullptr;
    editorWindows().maker->writeregistry();
    QSettings again(settingsFile(), QSettings::IniFormat);
    EXPECT_FALSE(again.contains("tool/showhint"));
}

TEST_F(SettingsTest, ResourcesOnTheCommandLineArePersisted) {
    const CommandLine cl = parseCommandLine({"quorantel", "--resources", settingsDir.path(), "story.snr"});
    EXPECT_TRUE(cl.error.isEmpty());
    EXPECT_EQ(cl.file, QStringLiteral("story.snr"));
    EXPECT_FALSE(parseCommandLine({"quorantel", "--resources"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"quorantel", "--bogus"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"quorantel", "a.snr", "b.snr"}).error.isEmpty());

    createWindows();
    finishStart({settingsDir.path(), QString(), QString()});
    EXPECT_EQ(options.serchpath, settingsDir.path() + "/");
    editorWindows().maker->writeregistry();
    QSettings raw(settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("path/serchpath").toString(), settingsDir.path() + "/");
}

TEST_F(SettingsTest, MainWindowPlacementIsRestoredAtStart) {
    writeIni("[mainform]\nleft=40\ntop=50\nright=840\nbottom=650\n[tool]\nshowpanel=0\n");
    createWindows();
    Tmaker* maker = editorWindows().maker;
    maker->readregistry();
    EXPECT_EQ(maker->geometry().size(), QSize(800, 600));
    EXPECT_TRUE(maker->makertool()->isHidden());
    EXPECT_FALSE(maker->command("toolmenu")->isChecked());
}

}  // namespace
}  // namespace qrn::test
