#include "audio/RecordingAudioBackend.h"

#include <cstdio>

namespace cocos2d {
namespace audio {

namespace {

std::string volumeText(float volume) {
    // Volumes arrive clamped to 0..1; written without the locale's decimal mark.
    int hundredths = static_cast<int>(clampVolume(volume) * 100.0f + 0.5f);
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
    return text;
}

std::string flag(bool value) {
    return value ? "1" : "0";
}

} // namespace

bool RecordingAudioBackend::playMusic(const std::string& path, bool loop) {
    bool ok = rejected_.count(path) == 0;
    record("playMusic " + path + " loop=" + flag(loop) + (ok ? "" : " -> failed"));
    musicState_ = ok ? MusicState::Playing : MusicState::Stopped;
    return ok;
}

void RecordingAudioBackend::stopMusic(bool releaseData) {
    record("stopMusic release=" + flag(releaseData));
    musicState_ = MusicState::Stopped;
}

void RecordingAudioBackend::pauseMusic() {
    record("pauseMusic");
    if (musicState_ == MusicState::Playing)
        musicState_ = MusicState::Paused;
}

void RecordingAudioBackend::resumeMusic() {
    record("resumeMusic");
    if (musicState_ == MusicState::Paused)
        musicState_ = MusicState::Playing;
}

bool RecordingAudioBackend::isMusicPlaying() {
    return musicState_ == MusicState::Playing;
}

void RecordingAudioBackend::setMusicVolume(float volume) {
    record("setMusicVolume " + volumeText(volume));
}

int RecordingAudioBackend::playEffect(const std::string& path, bool loop, float volume) {
    std::string line = "playEffect " + path + " loop=" + flag(loop) + " volume=" + volumeText(volume);
    if (rejected_.count(path)) {
        record(line + " -> failed");
        return -1;
    }
    int voice = nextVoice_++;
    record(line + " -> " + std::to_string(voice));
    return voice;
}

void RecordingAudioBackend::stopEffect(int voice) {
    record("stopEffect " + std::to_string(voice));
}

void RecordingAudioBackend::pauseEffect(int voice) {
    record("pauseEffect " + std::to_string(voice));
}

void RecordingAudioBackend::resumeEffect(int voice) {
    record("resumeEffect " + std::to_string(voice));
}

void RecordingAudioBackend::setEffectVolume(int voice, float volume) {
    record("setEffectVolume " + std::to_string(voice) + " " + volumeText(volume));
}

void RecordingAudioBackend::setEffectLoop(int voice, bool loop) {
    record("setEffectLoop " + std::to_string(voice) + " " + flag(loop));
}

void RecordingAudioBackend::takeFinishedVoices(std::vector<int>& out) {
    finished_.drainInto(out);
}

} // namespace audio
} // namespace cocos2d
