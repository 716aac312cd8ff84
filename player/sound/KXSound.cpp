#include "player/sound/KXSound.h"

#include <algorithm>

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"
#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelSound.h"
#include "player/store/KXPSettingsController.h"

using cocos2d::experimental::AudioEngine;
using CocosDenshion::SimpleAudioEngine;

namespace {

std::vector<KXSound*>& live() {
    static std::vector<KXSound*> sounds;
    return sounds;
}

KXSound*& current() {
    static KXSound* music = nullptr;
    return music;
}

bool isLive(const KXSound* sound) {
    const auto& sounds = live();
    return std::find(sounds.begin(), sounds.end(), sound) != sounds.end();
}

bool inGroup(const KXSound* sound, int group) {
    return group == KXSound::kEveryGroup || sound->group() == group;
}

// Auto-delete sounds that did not start wait here for the next frame: deleting them inside play
// would pull the object away from a caller that still holds it.
class DeferredDeletion : public cocos2d::CCObject {
public:
    static DeferredDeletion* shared() {
        static DeferredDeletion* instance = new DeferredDeletion();
        return instance;
    }

    void add(KXSound* sound) {
        if (std::find(m_pending.begin(), m_pending.end(), sound) == m_pending.end())
            m_pending.push_back(sound);
        cocos2d::CCScheduler* scheduler = cocos2d::CCDirector::sharedDirector()->getScheduler();
        if (!scheduler->isSelectorScheduled(schedule_selector(DeferredDeletion::run), this))
            scheduler->scheduleSelector(schedule_selector(DeferredDeletion::run), this, 0.0f, 0, 0.0f, false);
    }

    // A sound deleted meanwhile leaves both lists.
    void forget(KXSound* sound) {
        std::replace(m_pending.begin(), m_pending.end(), sound, static_cast<KXSound*>(nullptr));
        if (m_running)
            std::replace(m_running->begin(), m_running->end(), sound, static_cast<KXSound*>(nullptr));
    }

    void run(float) {
        std::vector<KXSound*> batch;
        batch.swap(m_pending);
        m_running = &batch;
        for (KXSound*& sound : batch) {
            KXSound* doomed = sound;
            sound = nullptr;
            // Played successfully since, or taken back by its owner: it lives on.
            if (doomed && doomed->isAutoDelete() && doomed->state() == KXSound::kStopped)
                delete doomed;
        }
        m_running = nullptr;
    }

private:
    std::vector<KXSound*> m_pending;
    std::vector<KXSound*>* m_running = nullptr;
};

} // namespace

KXSound::KXSound(std::shared_ptr<KXModelSound> model, int group) : m_model(std::move(model)), m_group(group) {
    live().push_back(this);
}

KXSound::~KXSound() {
    m_autoDelete = false;
    if (m_releaseHook)
        m_releaseHook();
    stop();
    if (current() == this)
        current() = nullptr;
    auto& sounds = live();
    sounds.erase(std::remove(sounds.begin(), sounds.end(), this), sounds.end());
    DeferredDeletion::shared()->forget(this);
    m_releaseHook = nullptr;
    m_model.reset();
}

bool KXSound::isCurrentMusic() const {
    return current() == this;
}

void KXSound::play(bool loop, bool music) {
    KXPSettingsController* settings = KXPSettingsController::shared();
    const bool muted = music ? settings->muteBackground : settings->muteEffects;
    if (muted || !m_model) {
        if (!m_model)
            debugLog("[KXSound] no sound to play");
        if (m_autoDelete && m_state == kStopped)
            DeferredDeletion::shared()->add(this);
        return;
    }

    // Stopping inside this call must never delete the sound.
    const bool autoDelete = m_autoDelete;
    m_autoDelete = false;

    int previousEffect = -1;
    if (isCurrentMusic())
        stop();
    else
        previousEffect = m_effectId;

    const std::string path = m_model->soundPath();
    if (music) {
        if (KXSound* playing = current())
            playing->stop();
        SimpleAudioEngine::sharedEngine()->playBackgroundMusic(path.c_str(), loop);
        m_effectId = -1;
        m_state = kPlaying;
        current() = this;
        m_looping = loop;
    } else {
        m_effectId = AudioEngine::play2d(path, loop, 1.0f);
        if (m_effectId == AudioEngine::INVALID_AUDIO_ID) {
            debugLog("[KXSound] cannot play %s", path.c_str());
            m_effectId = -1;
            m_state = kStopped;
        } else {
            m_state = kPlaying;
            if (!loop)
                installFinishCallback();
        }
    }

    // A sound played again while its previous instance still sounds cuts that instance.
    if (previousEffect != -1)
        AudioEngine::stop(previousEffect);

    m_autoDelete = autoDelete;
    if (m_autoDelete && m_state == kStopped)
        DeferredDeletion::shared()->add(this);
}

void KXSound::installFinishCallback() {
    AudioEngine::setFinishCallback(m_effectId,
                                   [this](int effectId, const std::string&) { effectFinished(effectId); });
}

void KXSound::effectFinished(int effectId) {
    if (effectId != m_effectId)
        return;
    m_effectId = -1;
    m_state = kStopped;
    if (m_autoDelete)
        delete this;
}

void KXSound::stop() {
    if (m_state == kStopped)
        return;
    const bool autoDelete = m_autoDelete;
    m_autoDelete = false;
    if (m_effectId != -1) {
        AudioEngine::setFinishCallback(m_effectId, nullptr);
        AudioEngine::stop(m_effectId);
    }
    if (isCurrentMusic()) {
        SimpleAudioEngine::sharedEngine()->stopBackgroundMusic(true);
        current() = nullptr;
        m_looping = false;
    }
    m_effectId = -1;
    m_state = kStopped;
    if (autoDelete)
        delete this;
}

void KXSound::stopLooping() {
    if (m_effectId == -1 || !AudioEngine::isLoop(m_effectId))
        return;
    installFinishCallback();
    AudioEngine::setLoop(m_effectId, false);
}

void KXSound::setVolume(float volume) {
    if (m_state == kStopped)
        return;
    if (m_effectId != -1)
        AudioEngine::setVolume(m_effectId, volume);
    else if (isCurrentMusic())
        SimpleAudioEngine::sharedEngine()->setBackgroundMusicVolume(volume);
}

float KXSound::getVolume() const {
    if (m_state == kStopped)
        return 0.0f;
    if (m_effectId != -1)
        return AudioEngine::getVolume(m_effectId);
    if (isCurrentMusic())
        return SimpleAudioEngine::sharedEngine()->getBackgroundMusicVolume();
    return 0.0f;
}

bool KXSound::isLooping() const {
    if (m_effectId != -1)
        return AudioEngine::isLoop(m_effectId);
    return m_looping;
}

void KXSound::pauseGroup(int group) {
    for (KXSound* sound : live()) {
        if (!inGroup(sound, group) || sound->m_state != kPlaying)
            continue;
        if (sound->m_effectId != -1)
            AudioEngine::pause(sound->m_effectId);
        else if (sound->isCurrentMusic())
            SimpleAudioEngine::sharedEngine()->pauseBackgroundMusic();
        sound->m_state = kPaused;
    }
}

void KXSound::resumeGroup(int group) {
    for (KXSound* sound : live()) {
        if (!inGroup(sound, group) || sound->m_state != kPaused)
            continue;
        if (sound->m_effectId != -1)
            AudioEngine::resume(sound->m_effectId);
        else if (sound->isCurrentMusic())
            SimpleAudioEngine::sharedEngine()->resumeBackgroundMusic();
        sound->m_state = kPlaying;
    }
}

void KXSound::stopGroup(int group, bool deleteAll) {
    // Stopping deletes auto-delete sounds (and release hooks may delete others), so the walk
    // goes over a copy and skips sounds that are gone.
    const std::vector<KXSound*> sounds = live();
    for (KXSound* sound : sounds) {
        if (isLive(sound) && inGroup(sound, group))
            sound->stop();
    }
    if (!deleteAll)
        return;
    // What is left: owned sounds, and auto-delete sounds that never started.
    for (KXSound* sound : sounds) {
        if (isLive(sound) && inGroup(sound, group))
            delete sound;
    }
}

void KXSound::stopAllEffects() {
    const std::vector<KXSound*> sounds = live();
    for (KXSound* sound : sounds) {
        if (isLive(sound) && sound->m_effectId != -1)
            sound->stop();
    }
}

const std::vector<KXSound*>& KXSound::liveSounds() {
    return live();
}

KXSound* KXSound::currentMusic() {
    return current();
}
