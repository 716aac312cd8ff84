// Which back end the two sound engines share.
#pragma once

#include <memory>

#include "audio/AudioBackend.h"

namespace cocos2d {
namespace audio {

// The SDL2_mixer back end, opened on first use, unless another one was installed.
AudioBackend& currentBackend();

// The back end in use, or null when none has been opened yet (never opens one).
AudioBackend* existingBackend();

// Ends both sound engines (their sounds belong to the old back end), then uses the given one.
void installBackend(std::unique_ptr<AudioBackend> backend);

// Ends both sound engines and closes the back end; call before SDL_Quit. The next use opens
// the mixer again.
void shutdownAudio();

} // namespace audio
} // namespace cocos2d
