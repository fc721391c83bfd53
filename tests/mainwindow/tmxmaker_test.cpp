// The main window's tile map commands, end to end with the real windows:
// the current field out to a map, an edit in the map back into the field,
// and a refused map leaving the field alone.
#include <QAction>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "mainwindow/maker.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/mapcreater.h"
#include "../editor_fakes.h"
#include "scenario/scenario.h"

namespace qrn::test {
namespace {

class TmxMakerTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [](Tmapcreater&) { return true; };
        options.serchpath = res.path() + "/";
        QImage red(32, 32, QImage::Format_RGB32);
        red.fill(Qt::red);
        ASSERT_TRUE(red.save(res.filePath("red.bmp"), "BMP"));
        maker->createnew();
        Scenario& s = editor().scenario;
        s.placeImageFiles[1].assign("red.bmp");
        for (int n = 1; n <= 100; ++n) s.cell(n).place = 2;
        messages.warnings.clear();
        maker->defaultimageload();
        maker->allimageload();
    }

    QString mapText() {
        QFile file(out.filePath("f.tmx"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
    void writeMap(const QString& text) {
        QFile file(out.filePath("f.tmx"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    QTemporaryDir res, out;
    Tmaker* maker = nullptr;
};

TEST_F(TmxMakerTest, ExportThenAnEditedMapComesBackIntoTheCurrentField) {
    files.saveResult = out.filePath("f.tmx");
    maker->command("exporttmxmenu")->trigger();
    EXPECT_EQ(files.lastSuffix, QStringLiteral("tmx"));
    EXPECT_TRUE(messages.warnings.isEmpty());
    const QImage place(out.filePath("place.png"));
    ASSERT_EQ(place.size(), QSize(320, 1280));
    EXPECT_EQ(place.pixelColor(32 + 5, 5), QColor(Qt::red));  // tile 1 is terrain 2
    EXPECT_EQ(qAlpha(place.pixel(5, 5)), 0);                   // terrain 1 has no picture

    QString text = mapText();
    const QString head = QStringLiteral("<data encoding=\"csv\">\n2,");
    ASSERT_TRUE(text.contains(head));
    text.replace(text.indexOf(head), head.size(), QStringLiteral("<data encoding=\"csv\">\n0,"));
    writeMap(text);
    files.openResult = out.filePath("f.tmx");
    maker->command("importtmxmenu")->trigger();
    EXPECT_TRUE(messages.warnings.isEmpty()) << messages.warnings.join(" ").toStdString();
    EXPECT_EQ(+editor().scenario.cell(1).place, 0);
    EXPECT_EQ(+editor().scenario.cell(2).place, 2);

    writeMap(text.replace(QStringLiteral("name=\"ｷｬﾗｸﾀ\" width"), QStringLiteral("name=\"x\" width")));
    editor().scenario.cell(1).place = 5;
    maker->command("importtmxmenu")->trigger();
    ASSERT_EQ(messages.warnings.size(), 1);
    EXPECT_EQ(messages.warnings[0], QStringLiteral("レイヤー「ｷｬﾗｸﾀ」がありません。"));
    EXPECT_EQ(+editor().scenario.cell(1).place, 5);
}

}  // namespace
}  // namespace qrn::test
