// The image view's file table, chooser and the large view, offscreen.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "services/editorcontext.h"
#include "services/options.h"
#include "views/chiptable.h"
#include "views/chipview.h"
#include "views/largeimgview.h"

using namespace qrn;

namespace {

void writeBitmap(const QString& path, int width, int height, QColor fill = Qt::green,
                 QColor corner = Qt::blue) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixelColor(width - 1, height - 1, corner);
    ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
}

// A bitmap header that claims `width` x `height` 24-bit pixels but carries
// only a few bytes of them.
void writeLyingBitmap(const QString& path, int width, int height) {
    QByteArray data(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) data[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, 54 + 64);
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    data[26] = 1;
    data[28] = 24;
    data.append(QByteArray(64, '\x7f'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void sendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

class ChipviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        savedOptions_ = editor().options;
        savedState_ = editor().state;
        options_.serchpath = dir_.path() + u'/';
        editor().options = &options_;
    }
    void TearDown() override {
        editor().options = savedOptions_;
        editor().state = savedState_;
    }
    QString path(const QString& name) const { return dir_.path() + u'/' + name; }

    QTemporaryDir dir_;
    Options options_;
    Options* savedOptions_ = nullptr;
    EditorState savedState_;
};

QString listRow(const Tchipview& view, int row) {
    return view.findChild<QListWidget*>(QStringLiteral("chipslist"))->item(row)->text();
}

}  // namespace

TEST_F(ChipviewTest, ListsTheFirst900BitmapsByNameInAnyCaseAndNothingElse) {
    for (int i = 0; i <= 900; ++i) {
        const QString name = QStringLiteral("c%1.%2").arg(i, 3, 10, QChar(u'0')).arg(i == 899 ? "BMP" : "bmp");
        writeBitmap(path(name), 32, 32);
    }
    writeBitmap(path(QStringLiteral("a.png")), 32, 32);
    writeBytes(path(QStringLiteral("a.txt")), "text");
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("a_folder.bmp")));

    Tchipview view;
    view.readbmp();
    const ChipTable& table = view.table();
    EXPECT_EQ(table.fileCount(), 901);
    EXPECT_EQ(table.entry(0).fileName, QStringLiteral("c000.bmp"));
    EXPECT_EQ(table.entry(14, 0).fileName, QStringLiteral("c014.bmp"));
    EXPECT_EQ(table.entry(0, 1).fileName, QStringLiteral("c015.bmp"));
    EXPECT_EQ(table.entry(899).fileName, QStringLiteral("c899.BMP"));
    EXPECT_EQ(table.pictureCount(), 900);
    for (int i = 0; i < kChipCapacity; ++i) EXPECT_FALSE(table.entry(i).large) << i;

    auto* list = view.findChild<QListWidget*>(QStringLiteral("chipslist"));
    ASSERT_EQ(list->count(), 900);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("c000"));
    EXPECT_EQ(list->item(899)->text(), QStringLiteral("c899"));
    EXPECT_EQ(view.chosenImageFile(), QStringLiteral("c000.bmp"));
}

TEST_F(ChipviewTest, PicturesThatAreNotChipsBecomeThePlaceholder) {
    writeBitmap(path(QStringLiteral("a_wide.bmp")), 64, 48);
    writeBitmap(path(QStringLiteral("b_chip.bmp")), 32, 32, Qt::red);
    writeLyingBitmap(path(QStringLiteral("c_huge.bmp")), 20000, 20000);
    writeLyingBitmap(path(QStringLiteral("d_liar.bmp")), 32, 32);  // truncated pixels
    writeBytes(path(QStringLiteral("e_junk.bmp")), QByteArray(300, '\x42'));
    writeBytes(path(QStringLiteral("f_empty.bmp")), QByteArray());

    Tchipview view;
    view.readbmp();
    const ChipTable& table = view.table();
    ASSERT_EQ(table.fileCount(), 6);
    EXPECT_TRUE(table.entry(0).large);
    EXPECT_FALSE(table.entry(1).large);
    EXPECT_EQ(table.picture(table.entry(1).pictureIndex).pixelColor(5, 5), QColor(Qt::red));
    EXPECT_TRUE(table.entry(2).large);
    EXPECT_TRUE(table.entry(4).large);
    EXPECT_TRUE(table.entry(5).large);

    const QImage chip = table.picture(table.entry(0).pictureIndex);
    ASSERT_EQ(chip.size(), QSize(32, 32));
    EXPECT_EQ(chip, ChipTable::placeholder());
    EXPECT_EQ(chip.pixelColor(0, 31), QColor(Qt::black));
    int aqua = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) aqua += chip.pixelColor(x, y) == QColor(0, 255, 255);
    EXPECT_GT(aqua, 10) << "the words Large and Image";

    EXPECT_EQ(listRow(view, 0), QStringLiteral("●a_wide"));
    EXPECT_EQ(listRow(view, 1), QStringLiteral("b_chip"));
    EXPECT_EQ(listRow(view, 2), QStringLiteral("●c_huge"));
    EXPECT_EQ(listRow(view, 6), QString());
}

TEST_F(ChipviewTest, MissingOrEmptiedFolderGivesAnEmptyTable) {
    writeBitmap(path(QStringLiteral("chip.bmp")), 32, 32);
    Tchipview view;
    view.readbmp();
    ASSERT_EQ(view.table().fileCount(), 1);
    const QLabel* status = view.findChild<QLabel*>(QStringLiteral("statuslabel"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QStringLiteral("一覧のフォルダ: ") + options_.serchpath);

    // The status line names the empty folder and where to change it.
    options_.serchpath = dir_.path() + QStringLiteral("/no/such/folder/");
    view.readbmp();
    EXPECT_TRUE(status->text().startsWith(options_.serchpath + QStringLiteral(" にビットマップがありません。")));
    EXPECT_TRUE(status->text().contains(QStringLiteral("ツール → オプション →「ﾘｿｰｽ検索ﾌｫﾙﾀﾞ」")));
    EXPECT_EQ(view.table().fileCount(), 0);
    EXPECT_EQ(view.table().pictureCount(), 0);
    EXPECT_TRUE(view.table().entry(0).fileName.isEmpty());
    EXPECT_TRUE(view.chosenImageFile().isEmpty());
    EXPECT_EQ(view.findChild<QListWidget*>(QStringLiteral("chipslist"))->count(), 900);

    editor().options = nullptr;  // no settings at all
    view.readbmp();
    EXPECT_EQ(view.table().fileCount(), 0);
}

TEST_F(ChipviewTest, SelectionShowsNameCountAndTransparentPreview) {
    QImage chip(32, 32, QImage::Format_RGB32);
    chip.fill(Qt::white);
    chip.setPixelColor(16, 16, Qt::red);
    ASSERT_TRUE(chip.save(path(QStringLiteral("a.bmp")), "BMP"));
    writeBitmap(path(QStringLiteral("b.bmp")), 40, 40, Qt::white);

    Tchipview view;
    view.readbmp();
    auto* label = view.findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_EQ(label->text(), QStringLiteral("a.bmp:計2個"));
    view.selectEntry(1, false);
    EXPECT_EQ(view.chosenImageFile(), QStringLiteral("b.bmp"));
    EXPECT_EQ(label->text(), QStringLiteral("b.bmp:合計2個"));
    view.selectEntry(20, false);
    EXPECT_TRUE(view.chosenImageFile().isEmpty());
    EXPECT_TRUE(view.previewImage().isNull());

    editor().state.defaultTransparent = true;
    view.setTransparentColour(0xFFFFFF);
    view.selectEntry(0, false);
    EXPECT_EQ(qAlpha(view.previewImage().pixel(0, 0)), 0);
    EXPECT_EQ(view.previewImage().pixelColor(16, 16), QColor(Qt::red));
    view.toggleTransparent();
    EXPECT_FALSE(editor().state.defaultTransparent);
    EXPECT_EQ(view.previewImage().pixelColor(0, 0), QColor(Qt::white));
    view.toggleTransparent();
    view.selectEntry(1, true);  // the placeholder is never see-through
    EXPECT_EQ(view.previewImage().pixelColor(0, 0), QColor(Qt::black));
}

TEST_F(ChipviewTest, ViewTogglesFollowAndPersistTheOptions) {
    Tchipview view;
    view.show();
    EXPECT_LE(view.maximumWidth(), 545);
    auto* panel2 = view.findChild<QWidget*>(QStringLiteral("Panel2"));
    auto* list = view.findChild<QListWidget*>(QStringLiteral("chipslist"));
    EXPECT_FALSE(list->isVisible());
    view.toggleListView();
    EXPECT_TRUE(options_.chipslist);
    EXPECT_TRUE(list->isVisible());
    view.toggleToolBar();
    EXPECT_FALSE(options_.chiptoolview);
    EXPECT_FALSE(panel2->isVisible());

    options_.chipslist = false;
    options_.chiptoolview = true;
    view.hide();
    view.show();  // every show applies the options
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(panel2->isVisible());
    sendKey(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
}

TEST_F(ChipviewTest, CancelledChooserChangesNothingForTheCaller) {
    writeBitmap(path(QStringLiteral("a.bmp")), 32, 32);
    writeBitmap(path(QStringLiteral("b.bmp")), 32, 32);
    Tchipview view;
    view.readbmp();
    editor().state.defaultTransparentColour = 0x123456;

    // The author toggles the switch, picks a colour and an entry, then cancels.
    bool sawChooser = false;
    QTimer::singleShot(0, &view, [&] {
        sawChooser = view.isVisible() && view.windowTitle() == QStringLiteral("ｲﾒｰｼﾞを選択") &&
                     view.findChild<QWidget*>(QStringLiteral("Panel3"))->isVisible() &&
                     view.windowModality() == Qt::ApplicationModal;
        view.toggleTransparent();
        view.setTransparentColour(0x00FF00);
        view.selectEntry(1, false);
        view.findChild<QPushButton*>(QStringLiteral("cancelbtn"))->click();
    });
    EXPECT_FALSE(view.chooseImage(true));
    EXPECT_TRUE(sawChooser);
    EXPECT_TRUE(editor().state.defaultTransparent);
    EXPECT_EQ(editor().state.defaultTransparentColour, 0x123456u);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("ｲﾒｰｼﾞﾋﾞｭｰ"));
    EXPECT_TRUE(view.findChild<QWidget*>(QStringLiteral("Panel3"))->isHidden());
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(view.inChooserMode());

    // Escape cancels too, and the view comes back as it was.
    view.show();
    QTimer::singleShot(0, &view, [&] {
        view.toggleTransparent();
        sendKey(&view, Qt::Key_Escape);
    });
    EXPECT_FALSE(view.chooseImage(false));
    EXPECT_FALSE(editor().state.defaultTransparent);
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.windowModality(), Qt::NonModal);

    // Closing the window is a cancel as well.
    QTimer::singleShot(0, &view, [&] { view.close(); });
    EXPECT_FALSE(view.chooseImage(true));
    EXPECT_TRUE(editor().state.defaultTransparent);
}

TEST_F(ChipviewTest, ConfirmedChooserHandsBackFileAndTransparency) {
    writeBitmap(path(QStringLiteral("a.bmp")), 32, 32);
    writeBitmap(path(QStringLiteral("b.bmp")), 32, 32);
    Tchipview view;
    view.readbmp();
    QTimer::singleShot(0, &view, [&] {
        view.toggleTransparent();
        view.setTransparentColour(0x00FF00);
        view.selectEntry(1, false);
        view.findChild<QPushButton*>(QStringLiteral("okbtn"))->click();
    });
    EXPECT_TRUE(view.chooseImage(true));
    EXPECT_EQ(view.chosenImageFile(), QStringLiteral("b.bmp"));
    EXPECT_FALSE(editor().state.defaultTransparent);
    EXPECT_EQ(editor().state.defaultTransparentColour, 0x00FF00u);

    // OK on an empty slot is no choice.
    QTimer::singleShot(0, &view, [&] {
        view.selectEntry(30, false);
        view.finishChooser(true);
    });
    EXPECT_FALSE(view.chooseImage(true));
}

TEST_F(ChipviewTest, LargeViewStretchesSmallPicturesAndGrowsForLargeOnes) {
    writeBitmap(path(QStringLiteral("small.bmp")), 64, 48, Qt::green, Qt::blue);
    writeBitmap(path(QStringLiteral("wide.bmp")), 200, 50, Qt::green, Qt::blue);
    writeBitmap(path(QStringLiteral("tall.bmp")), 30, 101, Qt::green, Qt::blue);
    writeLyingBitmap(path(QStringLiteral("huge.bmp")), 20000, 20000);
    writeLyingBitmap(path(QStringLiteral("long.bmp")), 5000, 300);

    {
        Tlargeimgview view;
        view.makelargeimg(QStringLiteral("small.bmp"), 20, 10);
        EXPECT_EQ(view.size(), QSize(100, 100));
        EXPECT_EQ(view.pos(), QPoint(10, 20));
        EXPECT_TRUE(view.pictureStretched());
        EXPECT_EQ(view.windowTitle(), QStringLiteral("small.bmp :64×48"));
        const QImage shot = view.grab().toImage();
        EXPECT_EQ(shot.pixelColor(99, 99), QColor(Qt::blue));
        EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::green));
    }
    {
        Tlargeimgview view;
        view.makelargeimg(QStringLiteral("wide.bmp"), 0, 0);
        EXPECT_EQ(view.size(), QSize(200, 100));
        EXPECT_FALSE(view.pictureStretched());
        const QImage shot = view.grab().toImage();
        EXPECT_EQ(shot.pixelColor(199, 49), QColor(Qt::blue));
        EXPECT_NE(shot.pixelColor(10, 80), QColor(Qt::green));
    }
    {
        Tlargeimgview view;
        view.makelargeimg(QStringLiteral("tall.bmp"), 0, 0);
        EXPECT_EQ(view.size(), QSize(100, 101));
        EXPECT_FALSE(view.pictureStretched());
    }
    {
        Tlargeimgview view;
        view.makelargeimg(QStringLiteral("gone.bmp"), 0, 0);
        EXPECT_EQ(view.size(), QSize(100, 100));
        EXPECT_TRUE(view.picture().isNull());
    }
    {
        // Pictures beyond the decoding limit are never read nor grow the window.
        Tlargeimgview view;
        view.makelargeimg(QStringLiteral("long.bmp"), 0, 0);
        EXPECT_EQ(view.size(), QSize(100, 100));
        EXPECT_TRUE(view.picture().isNull());
        EXPECT_EQ(view.windowTitle(), QStringLiteral("long.bmp :5000×300"));
        view.makelargeimg(QStringLiteral("huge.bmp"), 0, 0);
        EXPECT_EQ(view.size(), QSize(100, 100));
        EXPECT_TRUE(view.picture().isNull());
    }
}

TEST(LargeImgView, VersionWindowShowsTitleAndMemoryFigures) {
    Tlargeimgview view;
    view.makeversion();
    EXPECT_EQ(view.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(view.size(), QSize(343, 225));
    QStringList texts;
    for (const QLabel* label : view.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("QUORANTEL")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Ver 1.20")));
    EXPECT_TRUE(texts.contains(QStringLiteral("ｼｽﾃﾑﾘｿｰｽ")));

    const MemoryFigures m = parseMemoryFigures(
        QStringLiteral("MemTotal:        8000000 kB\nMemFree: 1 kB\nMemAvailable:    2000000 kB\n"),
        QStringLiteral("Name:\tx\nVmRSSX: 5 kB\nVmRSS:\t  51200 kB\n"));
    EXPECT_EQ(m.totalKb, 8000000);
    EXPECT_EQ(m.availableKb, 2000000);
    EXPECT_EQ(m.processKb, 51200);
    const MemoryFigures broken = parseMemoryFigures(QStringLiteral("MemTotal: lots\n"), QString());
    EXPECT_EQ(broken.totalKb, -1);
    EXPECT_EQ(broken.processKb, -1);
}
