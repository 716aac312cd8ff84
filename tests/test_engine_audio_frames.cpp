// The frame loop hands the effects that ended on the audio thread to their finish callbacks.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AudioEngine.h"
#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"
#include "support/scene_test_support.h"

using cocos2d::audio::RecordingAudioBackend;
using cocos2d::experimental::AudioEngine;

namespace {

class AudioFrames : public kxtest::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        auto backend = std::make_unique<RecordingAudioBackend>();
        recorder = backend.get();
        cocos2d::audio::installBackend(std::move(backend));
    }
    void TearDown() override {
        cocos2d::audio::shutdownAudio();
        SceneTest::TearDown();
    }

    RecordingAudioBackend* recorder = nullptr;
};

TEST_F(AudioFrames, AFrameDeliversTheEffectsThatEnded) {
    int finishedId = -1;
    int id = AudioEngine::play2d("sounds/click.mp3");
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    AudioEngine::setFinishCallback(id, [&](int done, const std::string&) { finishedId = done; });
    frames(1);
    EXPECT_EQ(finishedId, -1); // still sounding
    recorder->finishVoice(recorder->lastVoice());
    frames(1);
    EXPECT_EQ(finishedId, id);
    EXPECT_EQ(AudioEngine::getState(id), AudioEngine::AudioState::ERROR);
}

} // namespace
