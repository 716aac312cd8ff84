// A back end that plays nothing and writes down every call, for tests of the sound engines.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "audio/AudioBackend.h"
#include "audio/FinishedVoiceQueue.h"

namespace cocos2d {
namespace audio {

class RecordingAudioBackend : public AudioBackend {
public:
    // One line per call, e.g. "playEffect a.mp3 loop=0 volume=0.50 -> 1", "pauseEffect 1".
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

    // Plays of this path fail, as an unreadable file would.
    void rejectPath(const std::string& path) { rejected_.insert(path); }
    // Ends a voice by itself, as the mixer would at the end of the sound; any thread.
    void finishVoice(int voice) { finished_.push(voice); }
    // A single-pass track reaches its end.
    void finishMusic() { musicState_ = MusicState::Stopped; }
    int lastVoice() const { return nextVoice_ - 1; }

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

private:
    enum class MusicState { Stopped, Playing, Paused };

    void record(const std::string& line) { calls_.push_back(line); }

    std::vector<std::string> calls_;
    std::set<std::string> rejected_;
    FinishedVoiceQueue finished_;
    int nextVoice_ = 1;
    MusicState musicState_ = MusicState::Stopped;
};

} // namespace audio
} // namespace cocos2d
