#include "audio/AudioEngine.h"

#include <climits>
#include <map>
#include <unordered_map>
#include <vector>

#include "audio/AudioBackendSlot.h"

namespace cocos2d {
namespace experimental {

namespace {

using FinishCallback = std::function<void(int, const std::string&)>;

struct Instance {
    std::string path;
    int voice = -1;
    bool loop = false;
    float volume = 1.0f;
    AudioEngine::AudioState state = AudioEngine::AudioState::PLAYING;
    FinishCallback onFinish;
};

struct EffectTable {
    int nextId = 0;
    std::map<int, Instance> instances; // ordered by id, so "all" operations go in play order
    std::unordered_map<int, int> idOfVoice;

    Instance* find(int id) {
        auto found = instances.find(id);
        return found == instances.end() ? nullptr : &found->second;
    }

    void forget(int id) {
        auto found = instances.find(id);
        if (found == instances.end())
            return;
        idOfVoice.erase(found->second.voice);
        instances.erase(found);
    }
};

EffectTable& table() {
    static EffectTable effects;
    return effects;
}

audio::AudioBackend& backend() {
    return audio::currentBackend();
}

} // namespace

int AudioEngine::play2d(const std::string& filePath, bool loop, float volume) {
    EffectTable& effects = table();
    if (filePath.empty() || effects.nextId == INT_MAX)
        return INVALID_AUDIO_ID;
    volume = audio::clampVolume(volume);
    int voice = backend().playEffect(filePath, loop, volume);
    if (voice < 0)
        return INVALID_AUDIO_ID;
    int id = effects.nextId++;
    Instance& instance = effects.instances[id];
    instance.path = filePath;
    instance.voice = voice;
    instance.loop = loop;
    instance.volume = volume;
    effects.idOfVoice[voice] = id;
    return id;
}

void AudioEngine::setLoop(int audioID, bool loop) {
    Instance* instance = table().find(audioID);
    if (!instance || instance->loop == loop)
        return;
    instance->loop = loop;
    backend().setEffectLoop(instance->voice, loop);
}

bool AudioEngine::isLoop(int audioID) {
    Instance* instance = table().find(audioID);
    return instance && instance->loop;
}

bool AudioEngine::setVolume(int audioID, float volume) {
    Instance* instance = table().find(audioID);
    if (!instance)
        return false;
    instance->volume = audio::clampVolume(volume);
    backend().setEffectVolume(instance->voice, instance->volume);
    return true;
}

float AudioEngine::getVolume(int audioID) {
    Instance* instance = table().find(audioID);
    return instance ? instance->volume : 0.0f;
}

void AudioEngine::pause(int audioID) {
    Instance* instance = table().find(audioID);
    if (!instance || instance->state != AudioState::PLAYING)
        return;
    backend().pauseEffect(instance->voice);
    instance->state = AudioState::PAUSED;
}

void AudioEngine::pauseAll() {
    for (auto& entry : table().instances)
        pause(entry.first);
}

void AudioEngine::resume(int audioID) {
    Instance* instance = table().find(audioID);
    if (!instance || instance->state != AudioState::PAUSED)
        return;
    backend().resumeEffect(instance->voice);
    instance->state = AudioState::PLAYING;
}

void AudioEngine::resumeAll() {
    for (auto& entry : table().instances)
        resume(entry.first);
}

void AudioEngine::stop(int audioID) {
    Instance* instance = table().find(audioID);
    if (!instance)
        return;
    backend().stopEffect(instance->voice);
    table().forget(audioID);
}

void AudioEngine::stopAll() {
    EffectTable& effects = table();
    while (!effects.instances.empty())
        stop(effects.instances.begin()->first);
}

AudioEngine::AudioState AudioEngine::getState(int audioID) {
    Instance* instance = table().find(audioID);
    return instance ? instance->state : AudioState::ERROR;
}

void AudioEngine::setFinishCallback(int audioID,
                                    const std::function<void(int, const std::string&)>& callback) {
    if (Instance* instance = table().find(audioID))
        instance->onFinish = callback;
}

void AudioEngine::dispatchPendingCallbacks() {
    audio::AudioBackend* current = audio::existingBackend();
    if (!current)
        return;
    std::vector<int> finished;
    current->takeFinishedVoices(finished);
    EffectTable& effects = table();
    for (int voice : finished) {
        auto byVoice = effects.idOfVoice.find(voice);
        if (byVoice == effects.idOfVoice.end())
            continue; // stopped earlier: no callback
        int id = byVoice->second;
        Instance* instance = effects.find(id);
        FinishCallback onFinish = std::move(instance->onFinish);
        std::string path = std::move(instance->path);
        // Forget first: the callback may play, stop or query sounds, this one included.
        effects.forget(id);
        if (onFinish)
            onFinish(id, path);
    }
}

void AudioEngine::end() {
    EffectTable& effects = table();
    if (audio::AudioBackend* current = audio::existingBackend()) {
        for (auto& entry : effects.instances)
            current->stopEffect(entry.second.voice);
    }
    effects.instances.clear();
    effects.idOfVoice.clear();
}

} // namespace experimental
} // namespace cocos2d
