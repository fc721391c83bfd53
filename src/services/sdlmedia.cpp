#include "services/sdlmedia.h"

#include <QFileInfo>
#include <SDL.h>
#include <SDL_mixer.h>

namespace qrn {

namespace {

constexpr int kEffectChannel = 0;
const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2"};

std::atomic<SdlMediaService*> g_instance{nullptr};
// Set while the editor halts the music itself: that end is no notification.
std::atomic<bool> g_halting{false};

enum class AudioState { Untried, Open, Failed };
AudioState g_audio = AudioState::Untried;

}  // namespace

SdlMediaService::SdlMediaService(QObject* parent) : QObject(parent) { g_instance = this; }

SdlMediaService::~SdlMediaService() {
    g_instance = nullptr;
    if (g_audio != AudioState::Open) return;
    Mix_HookMusicFinished(nullptr);
    haltMusic();
    if (chunk_) {
        Mix_HaltChannel(kEffectChannel);
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
    }
}

bool SdlMediaService::ensureAudio() {
    if (g_audio != AudioState::Untried) return g_audio == AudioState::Open;
    g_audio = AudioState::Failed;
    for (const char* font : kSoundFonts)
        if (QFileInfo::exists(QString::fromLatin1(font))) {
            Mix_SetSoundFonts(font);
            break;
        }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(8);
    g_audio = AudioState::Open;
    return true;
}

void SdlMediaService::musicHook() {
    // Runs on SDL's audio thread: only hand the news to the UI thread.
    if (g_halting) return;
    SdlMediaService* self = g_instance.load();
    if (!self) return;
    const int generation = self->generation_.load();
    QMetaObject::invokeMethod(self, "musicFinished", Qt::QueuedConnection, Q_ARG(int, generation));
}

void SdlMediaService::haltMusic() {
    ++generation_;
    if (!music_) return;
    g_halting = true;
    Mix_HaltMusic();
    g_halting = false;
    Mix_FreeMusic(music_);
    music_ = nullptr;
}

void SdlMediaService::mediastop() {
    loop_ = false;
    if (g_audio == AudioState::Open) haltMusic();
    else ++generation_;
}

void SdlMediaService::mediaplay(const QString& path, bool loop) {
    mediastop();
    loop_ = loop;
    playCount_ = 0;
    if (!ensureAudio()) return;
    music_ = Mix_LoadMUS(QFile::encodeName(path).constData());
    if (!music_) return;
    Mix_HookMusicFinished(&SdlMediaService::musicHook);
    if (Mix_PlayMusic(music_, 0) != 0) {
        haltMusic();
        return;
    }
    playCount_ = 1;
}

void SdlMediaService::musicFinished(int generation) {
    // The notice can be posted just as a new piece starts and then carries
    // that piece's generation: a piece that is still playing has not ended.
    if (generation != generation_.load() || !music_ || Mix_PlayingMusic()) return;
    if (loop_ && Mix_PlayMusic(music_, 0) == 0) {
        ++playCount_;
        return;
    }
    mediastop();
    emit musicEnded();
}

void SdlMediaService::soundplay(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile() || !ensureAudio()) return;
    Mix_Chunk* chunk = Mix_LoadWAV(QFile::encodeName(path).constData());
    if (!chunk) return;
    // The new effect cuts off the one still playing.
    Mix_HaltChannel(kEffectChannel);
    if (chunk_) Mix_FreeChunk(chunk_);
    chunk_ = chunk;
    Mix_PlayChannel(kEffectChannel, chunk_, 0);
}

}  // namespace qrn
