// The sound suites of the player: a reset director (deferred deletions run on frames), the
// recording audio back end, fresh settings (nothing muted) and an empty model store.
#pragma once

#include <memory>
#include <string>

#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"
#include "model/classes/KXModelSound.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

namespace kxtest {

class SoundTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        // Sounds another suite left playing would count among this test's live sounds.
        KXSound::stopGroup(KXSound::kEveryGroup, true);
        resetModelCore();
        KXPSettingsController::purgeShared();
        auto backend = std::make_unique<cocos2d::audio::RecordingAudioBackend>();
        recorder = backend.get();
        cocos2d::audio::installBackend(std::move(backend));
    }
    void TearDown() override {
        // Whatever a test left behind goes, so that no sound outlives its back end.
        KXSound::stopGroup(KXSound::kEveryGroup, true);
        cocos2d::audio::shutdownAudio();
        KXPSettingsController::purgeShared();
        resetModelCore();
        SceneTest::TearDown();
    }

    static std::shared_ptr<KXModelSound> soundModel() {
        return std::static_pointer_cast<KXModelSound>(KXModelSound::create());
    }
    static KXPSettingsController* settings() { return KXPSettingsController::shared(); }

    // The sound's file as the back end sees it.
    static std::string pathOf(const std::shared_ptr<KXModelSound>& model) { return model->soundPath(); }

    // A new auto-delete sound that reports its deletion into the flag.
    static KXSound* oneShot(const std::shared_ptr<KXModelSound>& model, bool& deleted, int group = 0) {
        auto* sound = new KXSound(model, group);
        sound->setAutoDelete(true);
        sound->setReleaseHook([&deleted] { deleted = true; });
        return sound;
    }

    cocos2d::audio::RecordingAudioBackend* recorder = nullptr;
};

} // namespace kxtest
