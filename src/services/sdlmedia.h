// Music (MIDI through FluidSynth) and sound effects (WAV) on SDL2_mixer.
// The audio device is opened once, on first use; if that fails, nothing is
// ever played and nothing is reported.
#pragma once

#include <QObject>
#include <atomic>

#include "services/services.h"

struct _Mix_Music;
struct Mix_Chunk;

namespace qrn {

class SdlMediaService : public QObject, public MediaService {
    Q_OBJECT
public:
    explicit SdlMediaService(QObject* parent = nullptr);
    ~SdlMediaService() override;

    void mediaplay(const QString& path, bool loop) override;
    void mediastop() override;
    void soundplay(const QString& path) override;

    bool musicLoaded() const { return music_ != nullptr; }
    bool looping() const { return loop_; }
    // How often the current piece has been started (1 after mediaplay).
    int playCount() const { return playCount_; }
    int generation() const { return generation_.load(); }

    // The end of a piece, delivered on the UI thread. A notification of a
    // piece that has since been stopped or replaced is ignored.
    Q_INVOKABLE void musicFinished(int generation);

signals:
    void musicEnded();  // a piece ended and was not looped

private:
    bool ensureAudio();
    void haltMusic();
    static void musicHook();

    _Mix_Music* music_ = nullptr;
    Mix_Chunk* chunk_ = nullptr;
    bool loop_ = false;
    int playCount_ = 0;
    std::atomic<int> generation_{0};
};

}  // namespace qrn
