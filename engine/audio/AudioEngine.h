// Sound effects: any number at once, each known by an id that is never reused during a run.
#pragma once

#include <functional>
#include <string>

namespace cocos2d {
namespace experimental {

class AudioEngine {
public:
    enum class AudioState { ERROR = -1, INITIALIZING, PLAYING, PAUSED };

    static constexpr int INVALID_AUDIO_ID = -1;

    // Starts the file; returns its id, or INVALID_AUDIO_ID when the file is missing, cannot be
    // decoded or no voice is free. Volume is clamped to 0..1.
    static int play2d(const std::string& filePath, bool loop = false, float volume = 1.0f);

    static void setLoop(int audioID, bool loop);
    static bool isLoop(int audioID);
    static bool setVolume(int audioID, float volume);
    static float getVolume(int audioID);
    static void pause(int audioID);
    static void pauseAll();
    static void resume(int audioID);
    static void resumeAll();
    // Stopping forgets the id; its finish callback is not called.
    static void stop(int audioID);
    static void stopAll();
    // ERROR for ids that ended, were stopped or never existed.
    static AudioState getState(int audioID);

    // Called once, on the main thread, when the instance ends by itself.
    static void setFinishCallback(int audioID, const std::function<void(int, const std::string&)>& callback);

    // The main loop calls this once per frame: instances that ended since the last frame are
    // forgotten and their finish callbacks run here, on the main thread.
    static void dispatchPendingCallbacks();

    // Stops and forgets every effect.
    static void end();
};

} // namespace experimental
} // namespace cocos2d
