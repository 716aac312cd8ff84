// Background music: one track at a time.
#pragma once

namespace CocosDenshion {

class SimpleAudioEngine {
public:
    static SimpleAudioEngine* sharedEngine();
    // Stops the music and drops the shared engine.
    static void end();

    // Replaces the current track. A file that cannot be played is logged and leaves nothing playing.
    void playBackgroundMusic(const char* filePath, bool loop = false);
    // releaseData false keeps the decoded track for the next play of the same file.
    void stopBackgroundMusic(bool releaseData = false);
    void pauseBackgroundMusic();
    void resumeBackgroundMusic();
    // False when no track was started, the track ended, failed to start or is paused.
    bool isBackgroundMusicPlaying();

    float getBackgroundMusicVolume();
    void setBackgroundMusicVolume(float volume);

private:
    SimpleAudioEngine() = default;

    float musicVolume_ = 1.0f;
};

} // namespace CocosDenshion
