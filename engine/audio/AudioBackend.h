// The one seam between the sound engines and whatever produces sound.
#pragma once

#include <string>
#include <vector>

namespace cocos2d {
namespace audio {

// A voice is one playing instance of an effect. Its id is never reused by the same back end,
// and every voice that started is reported exactly once by takeFinishedVoices, whether it ended
// by itself or was stopped.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Background music: one track at a time. playMusic replaces the current track and returns
    // false when the file cannot be opened or decoded.
    virtual bool playMusic(const std::string& path, bool loop) = 0;
    virtual void stopMusic(bool releaseData) = 0;
    virtual void pauseMusic() = 0;
    virtual void resumeMusic() = 0;
    // True while a track sounds: started, not paused and not at its end.
    virtual bool isMusicPlaying() = 0;
    virtual void setMusicVolume(float volume) = 0;

    // Effects. playEffect returns the new voice, or -1 when nothing could be started.
    virtual int playEffect(const std::string& path, bool loop, float volume) = 0;
    virtual void stopEffect(int voice) = 0;
    virtual void pauseEffect(int voice) = 0;
    virtual void resumeEffect(int voice) = 0;
    virtual void setEffectVolume(int voice, float volume) = 0;
    // Switching looping off lets the voice end after its current pass.
    virtual void setEffectLoop(int voice, bool loop) = 0;

    // Main thread only: appends the voices that ended since the last call, in the order they ended.
    virtual void takeFinishedVoices(std::vector<int>& out) = 0;
};

// Volumes reach the back ends already in 0..1; NaN counts as silence.
float clampVolume(float volume);

} // namespace audio
} // namespace cocos2d
