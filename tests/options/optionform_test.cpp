// The options dialog: every control changes its one option at once, the
// folders and the runner path, and beside the real main window what the
// options change in other windows once the dialog has closed.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "options/optionform.h"
#include "views/chipview.h"
#include "views/palette.h"
#include "scenario/maplayers.h"

namespace qrn::test {
namespace {

// Every on/off option the dialog shows, to compare all of them at once.
constexpr bool Options::*kShown[] = {&Options::coming,        &Options::showhint,     &Options::tellmsg,
                                     &Options::gridline,      &Options::autoime,      &Options::paletteFront,
                                     &Options::allmapFront,   &Options::chipviewFront, &Options::parameditFront,
                                     &Options::fieldmanfront};
std::vector<bool> flags(const Options& o) {
    std::vector<bool> v;
    for (auto member : kShown) v.push_back(o.*member);
    return v;
}

class OptionformTest : public EditorFixture {};

TEST_F(OptionformTest, EachControlShowsAndChangesItsOwnOptionAtOnce) {
    options.allmapFront = true;
    options.gridline = false;
    Toptionform dialog(options);
    EXPECT_EQ(dialog.pages()->currentIndex(), 0);
    EXPECT_TRUE(dialog.RadioGroup(3).first->isChecked());  // 全域マップ
    EXPECT_TRUE(dialog.RadioGroup(2).first->isChecked());  // パレット (default on)
    EXPECT_TRUE(dialog.RadioGroup(4).second->isChecked()); // イメージビュー (default off)
    EXPECT_FALSE(dialog.CheckBox3()->isChecked());

    struct Step {
        std::function<void()> click;
        bool Options::*member;
        bool value;
    };
    const std::vector<Step> steps = {
        {[&] { dialog.RadioGroup(1).second->click(); }, &Options::coming, false},
        {[&] { dialog.CheckBox1()->click(); }, &Options::showhint, false},
        {[&] { dialog.CheckBox2()->click(); }, &Options::tellmsg, false},
        {[&] { dialog.CheckBox3()->click(); }, &Options::gridline, true},
        {[&] { dialog.autoimebox()->click(); }, &Options::autoime, false},
        {[&] { dialog.RadioGroup(2).second->click(); }, &Options::paletteFront, false},
        {[&] { dialog.RadioGroup(3).second->click(); }, &Options::allmapFront, false},
        {[&] { dialog.RadioGroup(4).first->click(); }, &Options::chipviewFront, true},
        {[&] { dialog.RadioGroup(5).second->click(); }, &Options::parameditFront, false},
        {[&] { dialog.RadioGroup(6).second->click(); }, &Options::fieldmanfront, false},
        {[&] { dialog.RadioGroup(1).first->click(); }, &Options::coming, true},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        Options expected = options;
        expected.*steps[i].member = steps[i].value;
        steps[i].click();
        EXPECT_EQ(flags(options), flags(expected)) << "step " << i;
    }
}

TEST_F(OptionformTest, FoldersEndWithASlashAndTheRunnerMustBeAnExecutableFile) {
    QTemporaryDir dir;
    options.quilmark = dir.path() + "/missing";
    Toptionform dialog(options);
    EXPECT_EQ(dialog.runnerspathlabel()->text(), "不明");

    QString answer = dir.path() + "/DATA";
    dialog.chooseFolder = [&](QWidget*, const QString&, const QString&) { return answer; };
    dialog.serchdir()->click();
    EXPECT_EQ(options.serchpath, dir.path() + "/DATA/");
    EXPECT_EQ(editor().resourcePath("town.bmp"), dir.path() + "/DATA/town.bmp");
    EXPECT_TRUE(dialog.searchFolderChanged());
    dialog.dirlist()->click();
    EXPECT_EQ(options.compiledfileout, dir.path() + "/DATA/");
    answer.clear();  // cancelled
    dialog.dirlist()->click();
    EXPECT_EQ(options.compiledfileout, dir.path() + "/DATA/");

    QFile plain(dir.path() + "/notes.txt");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    files.openResult = plain.fileName();
    dialog.playerserchbtn()->click();
    EXPECT_EQ(files.lastTitle, "シナリオランナーの場所");
    EXPECT_EQ(options.quilmark, dir.path() + "/missing");
    EXPECT_EQ(messages.warnings.size(), 1);

    QFile runner(dir.path() + "/runner");
    ASSERT_TRUE(runner.open(QIODevice::WriteOnly));
    runner.close();
    runner.setPermissions(runner.permissions() | QFile::ExeOwner);
    files.openResult = runner.fileName();
    dialog.playerserchbtn()->click();
    EXPECT_EQ(options.quilmark, runner.fileName());
    EXPECT_EQ(dialog.runnerspathlabel()->text(), runner.fileName());
}

class OptionsWithMaker : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [](Tmapcreater& dialog) {
            dialog.widthSlider()->setValue(1);
            dialog.heightSlider()->setValue(1);
            return true;
        };
        maker->createnew();
    }
    // The map's pixel where the first grid line would be, and one inside a cell.
    std::pair<QRgb, QRgb> mapPixels() {
        maker->mapgrid()->resize(200, 200);
        const QImage image = maker->mapgrid()->viewport()->grab().toImage();
        return {image.pixel(32, 10), image.pixel(20, 10)};
    }
    Tmaker* maker = nullptr;
};

TEST_F(OptionsWithMaker, ClosingAppliesTheChoicesAndWritesThemAtOnce) {
    QTemporaryDir resources;
    QImage chip(32, 32, QImage::Format_RGB32);
    chip.fill(Qt::red);
    ASSERT_TRUE(chip.save(resources.path() + "/town.bmp", "BMP"));
    auto [lineOn, cellOn] = mapPixels();
    EXPECT_NE(lineOn, cellOn);
    EXPECT_EQ(editorWindows().palette->windowType(), Qt::Tool);  // on top of the main window only
    EXPECT_FALSE(editorWindows().palette->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    maker->runOptionDialog = [&](Toptionform& dialog) {
        dialog.CheckBox2()->click();              // no confirmations
        dialog.CheckBox3()->click();              // no grid lines
        dialog.RadioGroup(2).second->click();     // the palette an ordinary window
        dialog.chooseFolder = [&](QWidget*, const QString&, const QString&) { return resources.path(); };
        dialog.serchdir()->click();
    };
    maker->command("kankyoumenu")->trigger();

    auto [lineOff, cellOff] = mapPixels();
    EXPECT_EQ(lineOff, cellOff);
    EXPECT_EQ(editorWindows().palette->windowType(), Qt::Window);
    EXPECT_EQ(editorWindows().chipview->table().fileCount(), 1);  // the image view read the new folder
    QSettings written(settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(written.value("tool/tellmsg").toString(), "0");
    EXPECT_EQ(written.value("tool/gridline").toString(), "0");
    EXPECT_EQ(written.value("path/serchpath").toString(), resources.path() + "/");

    // A deletion now asks nothing; a whole-layer reset still asks.
    Scenario& s = editor().scenario;
    firstImageFile(s, kPlace, 1)->assign("town.bmp");
    editorWindows().palette->setActivePage(0);
    editor().drawing.currentObject[kPlace] = 1;
    editorWindows().palette->deletebtnClick();
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_FALSE(objectInUse(s, kPlace, 1));
    messages.defaultAnswer = false;
    editorWindows().palette->paletteeraseClick();
    EXPECT_EQ(messages.questions.size(), 1);
}

}  // namespace
}  // namespace qrn::test
