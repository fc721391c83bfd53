// The field renderer: the streamed bitmap file equals the composed picture,
// hostile cells are skipped, and the picture sheet places chips row-major.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "render/fieldrenderer.h"
#include "scenario/fieldlayout.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/resets.h"

namespace qrn {
namespace {

QImage solid(QRgb colour, bool whiteBorder) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(whiteBorder ? qRgb(255, 255, 255) : colour);
    for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x) image.setPixel(x, y, colour);
    return image;
}

struct Fixture {
    std::unique_ptr<Scenario> s = std::make_unique<Scenario>();
    std::unique_ptr<PictureIndexTables> t = std::make_unique<PictureIndexTables>();
    ChipImages chips;
    Fixture() {
        QImage black(32, 32, QImage::Format_ARGB32);
        black.fill(Qt::black);
        chips.chips = {black};
        chips.blank = black;
        for (int k = 0; k < 40; ++k)
            chips.chips.push_back(makeChip(solid(qRgb(6 * k, 255 - 6 * k, 100), k % 2 == 1), k % 2 == 1, 0xFFFFFF));
    }
};

TEST(FieldRenderer, StreamedFileEqualsTheComposedPictureAndSkipsHostileCells) {
    Fixture f;
    Scenario& s = *f.s;
    createFirstField(s, "", "", "", 20, 10);
    for (int n = 1; n <= 30; ++n) {
        f.t->place[n] = n;                     // opaque or bordered chips
        f.t->charaItem[n] = 40 - n;
        f.t->charaItem[kCharaCount + n] = n + 1;
    }
    for (int n = 1; n <= 200; ++n) {
        Cell& c = s.cell(n);
        c.place = n % 31;
        c.chara = static_cast<u8>(n % 7);
        c.item = static_cast<u8>(n % 5 == 0 ? 3 : 0);
    }
    s.cell(5).place = 500;  // out of range: nothing on that terrain
    s.cell(5).chara = 0;
    s.cell(5).item = 0;
    s.cell(6).col = 200;    // outside the field: skipped, its spot stays blank
    FieldRenderer renderer(f.chips, *f.t);
    const QImage image = renderer.renderField(s, 1);
    ASSERT_EQ(image.size(), QSize(640, 320));
    EXPECT_EQ(image.pixelColor(5 * 32 + 10, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(4 * 32 + 10, 10), QColor(Qt::black));  // cell 5: no terrain, nothing else
    QTemporaryDir dir;
    const std::string path = dir.filePath("f.bmp").toStdString();
    ASSERT_TRUE(renderer.writeFieldBmp(s, 1, path));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string written = file.readAll().toStdString();
    EXPECT_TRUE(written == encodeBmp24(image));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(written), "BMP").convertToFormat(QImage::Format_RGB32),
              image.convertToFormat(QImage::Format_RGB32));

    s.field(1).width = 130;
    EXPECT_TRUE(renderer.renderField(s, 1).isNull());
    EXPECT_FALSE(renderer.writeFieldBmp(s, 1, path));
}

TEST(FieldRenderer, SheetPutsChipNAtItsSquare) {
    Fixture f;
    auto s = std::make_unique<Scenario>();
    for (int n = 1; n <= 31; ++n) {
        s->placeImageFiles[n - 1].assign("p" + std::to_string(n) + ".bmp");
        f.t->place[n] = n;
    }
    const ChipAssignment a = assignChips(*s);
    FieldRenderer renderer(f.chips, *f.t);
    const std::string file = renderer.sheetBitmap(a);
    const QImage sheet = QImage::fromData(QByteArray::fromStdString(file), "BMP").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(sheet.size(), QSize(960, 64));
    EXPECT_EQ(file.size(), 54u + 960u * 3u * 64u);
    EXPECT_EQ(sheet.pixelColor(16, 16), f.chips.chips[1].pixelColor(16, 16));
    EXPECT_EQ(sheet.pixelColor(29 * 32 + 16, 16), f.chips.chips[30].pixelColor(16, 16));
    EXPECT_EQ(sheet.pixelColor(16, 32 + 16), f.chips.chips[31].pixelColor(16, 16));
    EXPECT_EQ(sheet.pixelColor(0, 32), f.chips.chips[31].pixelColor(0, 0));
    EXPECT_EQ(sheet.pixelColor(32 + 1, 1), QColor(Qt::black));  // chip 2's masked border on black
    EXPECT_EQ(sheet.pixelColor(32 + 16, 32 + 16), QColor(Qt::black));  // no chip 32
    EXPECT_EQ(renderer.sheetBitmap(assignChips(*std::make_unique<Scenario>())).size(), 54u);
}

TEST(ScenarioPictures, ReadThroughTheLookupInAnyCaseAndRefusedWhenUnsafeOrOversized) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("res"));
    const QString res = dir.filePath("res");
    ASSERT_TRUE(solid(qRgb(200, 0, 0), false).save(res + "/Grass.bmp", "BMP"));
    ASSERT_TRUE(solid(qRgb(0, 0, 200), false).save(dir.filePath("outside.bmp"), "BMP"));
    {
        // Far beyond any picture that is decoded, and never read: a sparse file.
        QFile big(res + "/big.bmp");
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write("BM");
        ASSERT_TRUE(big.resize(200ll << 20));
    }
    auto s = std::make_unique<Scenario>();
    s->placeImageFiles[0].assign("grass.BMP");
    s->placeImageFiles[1].assign("GRASS.bmp");
    s->placeImageFiles[2].assign("../outside.bmp");
    s->placeImageFiles[3].assign("big.bmp");
    ResourceFolder folder(res.toStdString());
    auto t = std::make_unique<PictureIndexTables>();
    ChipImages chips;
    std::vector<std::string> missing;
    loadScenarioPictures(*s, folder, *t, chips, [&](const std::string& path) { missing.push_back(path); });
    ASSERT_EQ(chips.count(), 5);
    EXPECT_EQ(chips.chips[static_cast<std::size_t>(t->place[1])].pixelColor(16, 16), QColor(200, 0, 0));
    EXPECT_EQ(chips.chips[static_cast<std::size_t>(t->place[2])].pixelColor(16, 16), QColor(200, 0, 0));
    EXPECT_EQ(chips.chips[static_cast<std::size_t>(t->place[3])].pixelColor(16, 16), QColor(Qt::black));
    EXPECT_EQ(missing, (std::vector<std::string>{(res + "/../outside.bmp").toStdString(), (res + "/big.bmp").toStdString()}));
}

}  // namespace
}  // namespace qrn
