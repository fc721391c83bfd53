// Music and sound effects on SDL2_mixer under the dummy audio driver: a
// looping piece starts again, a single one ends and closes, stale ends are
// ignored. And the runner starting a real program.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

#include "services/qtservices.h"
#include "services/sdlmedia.h"

namespace qrn {
namespace {

// One note, by default short: about a tenth of a second of music.
QByteArray tinyMidi(const char* noteLength = "18") {
    QByteArray track;
    track += QByteArray::fromHex("00 FF 51 03 07 A1 20");  // 120 bpm
    track += QByteArray::fromHex("00 90 3C 60");           // note on
    track += QByteArray::fromHex(noteLength) + QByteArray::fromHex("80 3C 00");  // later: off
    track += QByteArray::fromHex("00 FF 2F 00");
    QByteArray file = QByteArray::fromHex("4D546864 00000006 0000 0001 0060");
    file += "MTrk";
    const quint32 n = static_cast<quint32>(track.size());
    file += char(n >> 24);
    file += char(n >> 16);
    file += char(n >> 8);
    file += char(n);
    return file + track;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        midi = dir.filePath("tune.mid");
        QFile f(midi);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tinyMidi());
    }
    QTemporaryDir dir;
    QString midi;
    SdlMediaService media;
};

TEST_F(MediaTest, LoopingPiecePlaysAgainUntilStopped) {
    media.mediaplay(midi, true);
    if (!media.musicLoaded()) GTEST_SKIP() << "no MIDI synthesiser available";
    EXPECT_TRUE(media.looping());
    EXPECT_TRUE(waitFor([&] { return media.playCount() >= 3; }, 20000)) << media.playCount();
    media.mediastop();
    EXPECT_FALSE(media.musicLoaded());
    const int plays = media.playCount();
    waitFor([] { return false; }, 300);
    EXPECT_EQ(media.playCount(), plays);
}

TEST_F(MediaTest, SinglePieceEndsAndClosesTheDevice) {
    int ended = 0;
    QObject::connect(&media, &SdlMediaService::musicEnded, [&ended] { ++ended; });
    media.mediaplay(midi, false);
    if (!media.musicLoaded()) GTEST_SKIP() << "no MIDI synthesiser available";
    EXPECT_TRUE(waitFor([&] { return ended == 1; }, 20000));
    EXPECT_FALSE(media.musicLoaded());
    EXPECT_EQ(media.playCount(), 1);
}

TEST_F(MediaTest, EndOfAReplacedPieceIsIgnored) {
    media.mediaplay(midi, true);
    if (!media.musicLoaded()) GTEST_SKIP() << "no MIDI synthesiser available";
    const int oldGeneration = media.generation();
    media.mediaplay(midi, false);
    ASSERT_TRUE(media.musicLoaded());
    media.musicFinished(oldGeneration);  // the first piece's late notice
    EXPECT_TRUE(media.musicLoaded());
    EXPECT_EQ(media.playCount(), 1);
    media.mediastop();
}

TEST_F(MediaTest, EndNoticeCarryingTheNewPiecesGenerationLeavesItPlaying) {
    // The old piece ends just as a new one starts; its notice is posted with
    // the new generation. The new piece (five seconds long) plays on.
    const QString longMidi = dir.filePath("long.mid");
    QFile f(longMidi);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(tinyMidi("87 40"));
    f.close();
    int ended = 0;
    QObject::connect(&media, &SdlMediaService::musicEnded, [&ended] { ++ended; });
    media.mediaplay(longMidi, false);
    if (!media.musicLoaded()) GTEST_SKIP() << "no MIDI synthesiser available";
    media.musicFinished(media.generation());
    EXPECT_TRUE(media.musicLoaded());
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(media.playCount(), 1);
    media.mediastop();
}

TEST_F(MediaTest, MissingFilesPlayNothingAndSayNothing) {
    media.mediaplay(dir.filePath("none.mid"), true);
    EXPECT_FALSE(media.musicLoaded());
    media.soundplay(dir.filePath("none.wav"));
    media.soundplay(QString());
    media.mediastop();
    EXPECT_EQ(media.playCount(), 0);
}

TEST(RunnerTest, StartsTheProgramDetachedWithoutArguments) {
    QTemporaryDir dir;
    const QString script = dir.filePath("runner.sh");
    const QString marker = dir.filePath("ran");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Writes its argument count, so a stray argument would show.
    f.write(QByteArray("#!/bin/sh\necho $# > '") + QFile::encodeName(marker) + "'\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    QtProcessLauncher launcher;
    ASSERT_TRUE(launcher.startDetached(script));
    ASSERT_TRUE(waitFor([&] { return QFileInfo(marker).size() > 0; }, 5000));
    QFile out(marker);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll().trimmed(), QByteArray("0"));
}

}  // namespace
}  // namespace qrn
