// Sound through SDL2_mixer: music on the mixer's music stream, effects on mixer channels.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "audio/AudioBackend.h"
#include "audio/FinishedVoiceQueue.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace cocos2d {
namespace audio {

class MixerAudioBackend : public AudioBackend {
public:
    // Opens the default audio device; when that fails every play fails (and says why once).
    MixerAudioBackend();
    ~MixerAudioBackend() override;
    MixerAudioBackend(const MixerAudioBackend&) = delete;
    MixerAudioBackend& operator=(const MixerAudioBackend&) = delete;

    bool isOpen() const { return open_; }

    bool playMusic(const std::string& path, bool loop) override;
    void stopMusic(bool releaseData) override;
    void pauseMusic() override;
    void resumeMusic() override;
    bool isMusicPlaying() override;
    void setMusicVolume(float volume) override;

    int playEffect(const std::string& path, bool loop, float volume) override;
    void stopEffect(int voice) override;
    void pauseEffect(int voice) override;
    void resumeEffect(int voice) override;
    void setEffectVolume(int voice, float volume) override;
    void setEffectLoop(int voice, bool loop) override;

    void takeFinishedVoices(std::vector<int>& out) override;

    // Channels never grow past this; an effect beyond it fails like an unreadable file.
    static constexpr int kMaxChannels = 256;

private:
    struct Voice {
        int channel = -1;
        Mix_Chunk* chunk = nullptr;
        bool loop = false;        // what the owner asked for
        bool mixLooping = false;  // what the channel was started with
        bool stopped = false;     // halted by stopEffect: its end is not a pass end
        bool expiring = false;    // looping switched off: the mixer cuts it at the end of the pass
        unsigned startTicks = 0;  // when the current pass sequence started
        unsigned pausedAt = 0;    // ticks at pause, 0 when not paused
        unsigned pausedTotal = 0; // time spent paused since startTicks
    };

    static void onChannelFinished(int channel);
    Mix_Chunk* chunkFor(const std::string& path);
    int freeChannel();
    Voice* findVoice(int voice);
    unsigned chunkLengthMs(const Mix_Chunk* chunk) const;
    void restartPass(Voice& voice);

    bool open_ = false;
    int frequency_ = 0;
    int bytesPerFrame_ = 0;
    int nextVoice_ = 1;
    std::map<std::string, Mix_Chunk*> chunks_;
    std::unordered_map<int, Voice> voices_;
    std::vector<int> channelOwner_; // voice that owns each channel until its end is taken, or 0
    FinishedVoiceQueue finishedChannels_;
    Mix_Music* music_ = nullptr;
    std::string musicPath_;
    float musicVolume_ = 1.0f;
};

} // namespace audio
} // namespace cocos2d
