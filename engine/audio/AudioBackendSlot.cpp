#include "audio/AudioBackendSlot.h"

#include "audio/AudioEngine.h"
#include "audio/MixerAudioBackend.h"
#include "audio/SimpleAudioEngine.h"

namespace cocos2d {
namespace audio {

namespace {

std::unique_ptr<AudioBackend>& slot() {
    static std::unique_ptr<AudioBackend> backend;
    return backend;
}

void endEngines() {
    experimental::AudioEngine::end();
    CocosDenshion::SimpleAudioEngine::end();
}

} // namespace

AudioBackend& currentBackend() {
    auto& backend = slot();
    if (!backend)
        backend = std::make_unique<MixerAudioBackend>();
    return *backend;
}

AudioBackend* existingBackend() {
    return slot().get();
}

void installBackend(std::unique_ptr<AudioBackend> backend) {
    endEngines();
    slot().reset(); // the old mixer closes before a new one may open
    slot() = std::move(backend);
}

void shutdownAudio() {
    endEngines();
    slot().reset();
}

} // namespace audio
} // namespace cocos2d
