// The editor against damaged input and failing disks: broken resource
// pictures, saves that fail half-way, and a run of damaged scenario files
// opened one after another with every window shown.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <random>

#include "services/editorstate.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "services/options.h"
#include "render/picturelist.h"
#include "mainwindow/startup.h"
#include "../editor_fakes.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"

namespace qrn::test {
namespace {

long maxRssKb() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class HostileInputTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        maker = editorWindows().maker;
        maker->runCreationDialog = [](Tmapcreater&) { return true; };
        maker->createnew();
    }

    // Every picture name of the scenario, in the order the picture list loads them.
    std::vector<ShortString255*> pictureNames() {
        Scenario& s = editor().scenario;
        std::vector<ShortString255*> names;
        for (auto& n : s.fieldItemImageFiles) names.push_back(&n);
        for (auto* table : {&s.charaImageFiles, &s.eventImageFiles, &s.enterImageFiles, &s.itemImageFiles})
            for (auto& n : *table) names.push_back(&n);
        for (auto* table : {&s.placeImageFiles, &s.placeImage2Files})
            for (auto& n : *table) names.push_back(&n);
        for (auto& n : s.enterImage2Files) names.push_back(&n);
        for (auto& n : s.eventImage2Files) names.push_back(&n);
        for (auto& frames : s.walkImageFiles)
            for (auto& n : frames) names.push_back(&n);
        return names;
    }

    Tmaker* maker = nullptr;
};

// Every picture slot names a broken file: missing, cut off, a header that
// promises 40,000 x 40,000 pixels, or no picture at all. The load neither
// crashes nor decodes the giant, and the author stops the warnings at the
// third one; the next load warns again.
TEST_F(HostileInputTest, BrokenPicturesLoadWithinBoundsAndWarningsCanBeStopped) {
    QTemporaryDir res, dir;
    // The 54-byte header of an uncompressed 24-bit bitmap of w x h pixels.
    auto header = [](quint32 w, quint32 h) {
        QByteArray b(54, '\0');
        auto put32 = [&b](int at, quint32 v) {
            for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
        };
        b[0] = 'B';
        b[1] = 'M';
        put32(10, 54);
        put32(14, 40);
        put32(18, w);
        put32(22, h);
        b[26] = 1;
        b[28] = 24;
        return b;
    };
    const QByteArray huge = header(40000, 40000);
    const QByteArray cut = header(32, 32) + QByteArray(100, '\x7f');  // 3,072 bytes promised
    const QByteArray contents[] = {huge, cut, QByteArray("plain text, not a picture")};

    const std::vector<ShortString255*> names = pictureNames();
    ASSERT_EQ(names.size(), 2480u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = "broken" + std::to_string(i) + ".bmp";
        names[i]->assign(name);
        if (i % 4 == 3) continue;  // missing
        QFile f(res.filePath(QString::fromStdString(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents[i % 4]);
    }
    const QString path = dir.filePath("broken.snr");
    ASSERT_TRUE(saveScenario(QFile::encodeName(path).toStdString(), editor().scenario).ok);
    options.serchpath = res.path() + "/";

    messages.stopRunAfter = 3;
    const long rssBefore = maxRssKb();
    ASSERT_TRUE(maker->openFile(path));
    EXPECT_LT(maxRssKb() - rssBefore, 400 * 1024);  // the giant is never decoded
    EXPECT_EQ(messages.warnings.size(), 3);
    EXPECT_EQ(messages.warnings[0], res.path() + "/broken0.bmpが見つかりません。");
    // Every object still gets its blank chip.
    EXPECT_EQ(editor().imageList.count(), 2481);

    messages.warnings.clear();
    messages.stopRunAfter = 0;
    ASSERT_TRUE(maker->openFile(path));
    EXPECT_EQ(messages.warnings.size(), 2480);
}

// A save that cannot be finished is reported and leaves the previous file
// exactly as it was.
TEST_F(HostileInputTest, FailedSaveLeavesThePreviousFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("story.snr");
    files.saveResult = path;
    maker->savefile(false);
    ASSERT_TRUE(messages.warnings.isEmpty());
    const QByteArray before = readAll(path);
    ASSERT_EQ(before.size(), kRecordSize);
    editor().scenario.settings.scenarioname.assign("changed");

    // The file size limit reached part-way through the record.
    {
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 1 << 20;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        maker->orverwritesave();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    ASSERT_EQ(messages.warnings.size(), 1);
    EXPECT_TRUE(messages.warnings[0].startsWith(path + " を保存できませんでした。"));
    EXPECT_EQ(readAll(path), before);

    // A folder that no longer takes new files (the temporary file cannot be made).
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
        maker->orverwritesave();
        chmod(QFile::encodeName(dir.path()).constData(), 0755);
        EXPECT_EQ(messages.warnings.size(), 2);
        EXPECT_EQ(readAll(path), before);
    }

    // The target is a folder.
    const QString folder = dir.filePath("folder.snr");
    ASSERT_TRUE(QDir().mkdir(folder));
    files.saveResult = folder;
    const qsizetype warned = messages.warnings.size();
    maker->savefile(false);
    EXPECT_EQ(messages.warnings.size(), warned + 1);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());
    EXPECT_EQ(readAll(path), before);
}

// Damaged scenario files opened one after another, each with every window
// shown on its current field and objects.
TEST_F(HostileInputTest, MutatedScenariosOpenWithEveryWindowShown) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.snr");
    files.saveResult = good;
    maker->savefile(false);
    const QByteArray original = readAll(good);
    ASSERT_EQ(original.size(), kRecordSize);
    options.serchpath = dir.path() + "/";

    // Mutations aim at the parts that steer indexing: the head of the record
    // (objects and tables) and the field definitions and cells.
    const Scenario& s = editor().scenario;
    const auto fieldsAt = static_cast<std::size_t>(reinterpret_cast<const unsigned char*>(&s.fields) - s.bytes());
    std::mt19937 random(19);
    const QString path = dir.filePath("mutated.snr");
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes = original;
        const int flips = 1 + static_cast<int>(random() % 64);
        for (int i = 0; i < flips; ++i) {
            std::size_t at;
            switch (random() % 3) {
                case 0: at = fieldsAt + random() % (sizeof(FieldDef) * 4); break;
                case 1: at = random() % 400000; break;
                default: at = random() % kRecordSize; break;
            }
            bytes[static_cast<qsizetype>(at)] = static_cast<char>(random());
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        messages.stopRunAfter = 1;
        ASSERT_TRUE(maker->openFile(path)) << round;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->inherits("QMenu")) w->show();
        QApplication::processEvents();
        messages.warnings.clear();
    }
    SUCCEED();
}

}  // namespace
}  // namespace qrn::test

namespace qrn::test {
namespace {

// Bitmap headers whose promised size would overflow the truncation check:
// each reads as no picture, without undefined arithmetic.
TEST(HostileBitmapHeaders, ImpossibleSizesReadAsNoPicture) {
    struct Header {
        qint32 width, height;
        quint16 bpp;
    };
    const Header cases[] = {{0x7FFFFFFF, 0x7FFFFFFF, 0xFFFF}, {-961969913, 939524096, 0x2F00},
                            {32, -0x7FFFFFFF - 1, 24},       {0, 32, 24},
                            {32, 32, 0},                     {40000, 40000, 24}};
    QTemporaryDir dir;
    for (const Header& h : cases) {
        QByteArray b(54 + 64, '\0');
        auto put = [&b](int at, quint32 v, int n) {
            for (int i = 0; i < n; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
        };
        b[0] = 'B';
        b[1] = 'M';
        put(10, 54, 4);
        put(14, 40, 4);
        put(18, quint32(h.width), 4);
        put(22, quint32(h.height), 4);
        put(26, 1, 2);
        put(28, h.bpp, 2);
        const QString path = dir.filePath("h.bmp");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(b);
        f.close();
        EXPECT_TRUE(readChipBitmap(path).isNull()) << h.width << " x " << h.height << " x " << h.bpp;
    }

    // A picture whose first frame is small but whose screen is 20,290 wide
    // (found by the picture fuzzer) is refused like an oversized bitmap.
    const unsigned char wideScreen[] = {0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x42, 0x4f, 0x00, 0x00, 0x36, 0x00, 0x00,
                                        0x2c, 0x3d, 0x00, 0x47, 0x00, 0x00, 0x00, 0x19, 0x00, 0x00, 0x00, 0x00};
    const QString path = dir.filePath("wide.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(reinterpret_cast<const char*>(wideScreen), sizeof wideScreen);
    f.close();
    EXPECT_TRUE(readChipBitmap(path).isNull());
}

// Window edges far beyond any desktop (whose sizes would overflow) give the
// window its default place.
TEST(HostileSettings, FarEdgesGiveTheDefaultPlacement) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Positions.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[mainform]\nleft=-2147483648\ntop=0\nright=2147483647\nbottom=400\n"
            "[palette]\nleft=0x80000000\ntop=0x7fffffff\nright=10\nbottom=10\n"
            "[param]\nleft=10\ntop=20\nright=310\nbottom=420\n");
    f.close();
    QSettings store(path, QSettings::IniFormat);
    Options o;
    EditorState state;
    readOptions(store, o, state);
    const Options d;
    EXPECT_EQ(o.mainform.rect, d.mainform.rect);
    EXPECT_EQ(o.palette.rect, d.palette.rect);
    EXPECT_EQ(o.param.rect, QRect(10, 20, 300, 400));
}

}  // namespace
}  // namespace qrn::test
