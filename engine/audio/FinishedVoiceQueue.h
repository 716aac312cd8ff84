// Hands voice ids from the audio thread to the main thread.
#pragma once

#include <mutex>
#include <vector>

namespace cocos2d {
namespace audio {

class FinishedVoiceQueue {
public:
    // Any thread.
    void push(int voice);
    // Appends everything queued so far to out and empties the queue.
    void drainInto(std::vector<int>& out);

private:
    std::mutex mutex_;
    std::vector<int> voices_;
};

} // namespace audio
} // namespace cocos2d
