#include "audio/FinishedVoiceQueue.h"

namespace cocos2d {
namespace audio {

void FinishedVoiceQueue::push(int voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.push_back(voice);
}

void FinishedVoiceQueue::drainInto(std::vector<int>& out) {
    std::vector<int> taken;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        taken.swap(voices_);
    }
    out.insert(out.end(), taken.begin(), taken.end());
}

} // namespace audio
} // namespace cocos2d
