#include "audio/AudioBackend.h"

namespace cocos2d {
namespace audio {

float clampVolume(float volume) {
    if (!(volume > 0.0f)) // also NaN
        return 0.0f;
    return volume > 1.0f ? 1.0f : volume;
}

} // namespace audio
} // namespace cocos2d
