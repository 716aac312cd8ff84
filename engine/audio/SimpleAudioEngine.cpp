#include "audio/SimpleAudioEngine.h"

#include <memory>
#include <string>

#include "audio/AudioBackendSlot.h"
#include "base/ccMacros.h"

namespace CocosDenshion {

namespace {

std::unique_ptr<SimpleAudioEngine>& sharedSlot() {
    static std::unique_ptr<SimpleAudioEngine> engine;
    return engine;
}

cocos2d::audio::AudioBackend& backend() {
    return cocos2d::audio::currentBackend();
}

} // namespace

SimpleAudioEngine* SimpleAudioEngine::sharedEngine() {
    auto& engine = sharedSlot();
    if (!engine)
        engine.reset(new SimpleAudioEngine());
    return engine.get();
}

void SimpleAudioEngine::end() {
    if (!sharedSlot())
        return;
    if (cocos2d::audio::AudioBackend* current = cocos2d::audio::existingBackend())
        current->stopMusic(true);
    sharedSlot().reset();
}

void SimpleAudioEngine::playBackgroundMusic(const char* filePath, bool loop) {
    if (!filePath || !*filePath) {
        CCLOG("SimpleAudioEngine: no music file given");
        backend().stopMusic(false);
        return;
    }
    if (!backend().playMusic(filePath, loop))
        CCLOG("SimpleAudioEngine: cannot play background music \"%s\"", filePath);
}

void SimpleAudioEngine::stopBackgroundMusic(bool releaseData) {
    backend().stopMusic(releaseData);
}

void SimpleAudioEngine::pauseBackgroundMusic() {
    backend().pauseMusic();
}

void SimpleAudioEngine::resumeBackgroundMusic() {
    backend().resumeMusic();
}

bool SimpleAudioEngine::isBackgroundMusicPlaying() {
    return backend().isMusicPlaying();
}

float SimpleAudioEngine::getBackgroundMusicVolume() {
    return musicVolume_;
}

void SimpleAudioEngine::setBackgroundMusicVolume(float volume) {
    musicVolume_ = cocos2d::audio::clampVolume(volume);
    backend().setMusicVolume(musicVolume_);
}

} // namespace CocosDenshion
