// The two sound engines over the recording back end: what reaches the back end, ids, states,
// and finish callbacks handed from another thread to the main thread.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"
#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"

using cocos2d::audio::RecordingAudioBackend;
using cocos2d::experimental::AudioEngine;
using CocosDenshion::SimpleAudioEngine;
using State = AudioEngine::AudioState;
using Calls = std::vector<std::string>;

namespace {

class AudioEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<RecordingAudioBackend>();
        recorder = backend.get();
        cocos2d::audio::installBackend(std::move(backend));
    }
    void TearDown() override { cocos2d::audio::shutdownAudio(); }

    RecordingAudioBackend* recorder = nullptr;
};

struct FinishLog {
    std::vector<int> ids;
    std::vector<std::string> paths;
    std::vector<std::thread::id> threads;

    std::function<void(int, const std::string&)> callback() {
        return [this](int id, const std::string& path) {
            ids.push_back(id);
            paths.push_back(path);
            threads.push_back(std::this_thread::get_id());
        };
    }
};

} // namespace

TEST_F(AudioEngineTest, EffectCallsReachTheBackendInOrderAndStatesFollow) {
    int id = AudioEngine::play2d("sounds/a.mp3", false, 0.5f);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
    AudioEngine::pause(id);
    AudioEngine::pause(id); // already paused: nothing more reaches the back end
    EXPECT_EQ(AudioEngine::getState(id), State::PAUSED);
    AudioEngine::resume(id);
    AudioEngine::resume(id);
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
    EXPECT_TRUE(AudioEngine::setVolume(id, 0.25f));
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(id), 0.25f);
    AudioEngine::stop(id);
    EXPECT_EQ(AudioEngine::getState(id), State::ERROR);
    EXPECT_EQ(recorder->calls(), (Calls{"playEffect sounds/a.mp3 loop=0 volume=0.50 -> 1", "pauseEffect 1",
                                        "resumeEffect 1", "setEffectVolume 1 0.25", "stopEffect 1"}));

    // A stopped id is gone: nothing reaches the back end any more.
    recorder->clearCalls();
    AudioEngine::pause(id);
    AudioEngine::stop(id);
    EXPECT_FALSE(AudioEngine::setVolume(id, 1.0f));
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(id), 0.0f);
    EXPECT_TRUE(recorder->calls().empty());
}

TEST_F(AudioEngineTest, VolumesAreClampedToTheUnitRange) {
    int loud = AudioEngine::play2d("a.mp3", false, 3.0f);
    int nan = AudioEngine::play2d("b.mp3", false, std::nanf(""));
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(loud), 1.0f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(nan), 0.0f);
    AudioEngine::setVolume(loud, -2.0f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(loud), 0.0f);
    EXPECT_EQ(recorder->calls(),
              (Calls{"playEffect a.mp3 loop=0 volume=1.00 -> 1", "playEffect b.mp3 loop=0 volume=0.00 -> 2",
                     "setEffectVolume 1 0.00"}));
}

TEST_F(AudioEngineTest, IdsAreNeverReusedEvenAcrossBackends) {
    int first = AudioEngine::play2d("a.mp3");
    AudioEngine::stop(first);
    int second = AudioEngine::play2d("a.mp3");
    EXPECT_GT(second, first);
    SetUp(); // a new back end: the old sounds are forgotten, the numbering goes on
    EXPECT_EQ(AudioEngine::getState(second), State::ERROR);
    int third = AudioEngine::play2d("a.mp3");
    EXPECT_GT(third, second);
}

TEST_F(AudioEngineTest, AFileThatCannotPlayGivesMinusOneAndNoSound) {
    recorder->rejectPath("missing.mp3");
    int id = AudioEngine::play2d("missing.mp3");
    EXPECT_EQ(id, -1);
    EXPECT_EQ(AudioEngine::getState(id), State::ERROR);
    EXPECT_EQ(AudioEngine::play2d(""), -1); // never reaches the back end
    EXPECT_EQ(recorder->calls(), (Calls{"playEffect missing.mp3 loop=0 volume=1.00 -> failed"}));
}

TEST_F(AudioEngineTest, GroupOperationsGoInPlayOrderAndSkipInstancesInTheWrongState) {
    int a = AudioEngine::play2d("a.mp3");
    int b = AudioEngine::play2d("b.mp3", true);
    AudioEngine::pause(b);
    recorder->clearCalls();
    AudioEngine::pauseAll(); // b is paused already
    AudioEngine::resumeAll();
    AudioEngine::stopAll();
    EXPECT_EQ(recorder->calls(),
              (Calls{"pauseEffect 1", "resumeEffect 1", "resumeEffect 2", "stopEffect 1", "stopEffect 2"}));
    EXPECT_EQ(AudioEngine::getState(a), State::ERROR);
    EXPECT_EQ(AudioEngine::getState(b), State::ERROR);
}

TEST_F(AudioEngineTest, LoopFlagIsPassedOnOnlyWhenItChanges) {
    int id = AudioEngine::play2d("a.mp3", true);
    EXPECT_TRUE(AudioEngine::isLoop(id));
    AudioEngine::setLoop(id, true);
    AudioEngine::setLoop(id, false);
    EXPECT_FALSE(AudioEngine::isLoop(id));
    EXPECT_FALSE(AudioEngine::isLoop(12345));
    EXPECT_EQ(recorder->calls(), (Calls{"playEffect a.mp3 loop=1 volume=1.00 -> 1", "setEffectLoop 1 0"}));
}

TEST_F(AudioEngineTest, FinishCallbackRunsOnceOnTheMainThreadAtTheNextDispatch) {
    FinishLog log;
    int id = AudioEngine::play2d("sounds/end.mp3");
    AudioEngine::setFinishCallback(id, log.callback());
    int voice = recorder->lastVoice();

    std::thread audioThread([this, voice] { recorder->finishVoice(voice); });
    audioThread.join();
    EXPECT_TRUE(log.ids.empty()); // nothing runs on the audio thread
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);

    AudioEngine::dispatchPendingCallbacks();
    ASSERT_EQ(log.ids, std::vector<int>{id});
    EXPECT_EQ(log.paths[0], "sounds/end.mp3");
    EXPECT_EQ(log.threads[0], std::this_thread::get_id());
    EXPECT_EQ(AudioEngine::getState(id), State::ERROR);

    AudioEngine::dispatchPendingCallbacks();
    EXPECT_EQ(log.ids.size(), 1u);
}

TEST_F(AudioEngineTest, StoppedInstancesGetNoCallbackWhenTheBackendReportsTheirEnd) {
    FinishLog log;
    int id = AudioEngine::play2d("a.mp3");
    AudioEngine::setFinishCallback(id, log.callback());
    int voice = recorder->lastVoice();
    AudioEngine::stop(id);
    recorder->finishVoice(voice); // back ends report halted voices too
    AudioEngine::dispatchPendingCallbacks();
    EXPECT_TRUE(log.ids.empty());
}

TEST_F(AudioEngineTest, CallbacksMayPlayAndStopSoundsAndEachEndIsDeliveredInOrder) {
    std::vector<int> order;
    int replacement = -1;
    int a = AudioEngine::play2d("a.mp3");
    int voiceA = recorder->lastVoice();
    int b = AudioEngine::play2d("b.mp3");
    int voiceB = recorder->lastVoice();
    AudioEngine::setFinishCallback(a, [&](int id, const std::string&) {
        order.push_back(id);
        replacement = AudioEngine::play2d("c.mp3");
        AudioEngine::stop(a); // already forgotten: harmless
    });
    AudioEngine::setFinishCallback(b, [&](int id, const std::string&) { order.push_back(id); });
    recorder->finishVoice(voiceA);
    recorder->finishVoice(voiceB);
    AudioEngine::dispatchPendingCallbacks();
    EXPECT_EQ(order, (std::vector<int>{a, b}));
    EXPECT_GT(replacement, b);
    EXPECT_EQ(AudioEngine::getState(replacement), State::PLAYING);
}

TEST_F(AudioEngineTest, MusicCallsAndPlayingState) {
    SimpleAudioEngine* music = SimpleAudioEngine::sharedEngine();
    EXPECT_FALSE(music->isBackgroundMusicPlaying());
    music->playBackgroundMusic("data/sounds/KXModelSound_ID7.mp3", true);
    EXPECT_TRUE(music->isBackgroundMusicPlaying());
    music->pauseBackgroundMusic();
    EXPECT_FALSE(music->isBackgroundMusicPlaying());
    music->resumeBackgroundMusic();
    EXPECT_TRUE(music->isBackgroundMusicPlaying());
    music->setBackgroundMusicVolume(0.3f);
    EXPECT_FLOAT_EQ(music->getBackgroundMusicVolume(), 0.3f);
    music->setBackgroundMusicVolume(7.0f);
    EXPECT_FLOAT_EQ(music->getBackgroundMusicVolume(), 1.0f);
    music->stopBackgroundMusic();
    EXPECT_FALSE(music->isBackgroundMusicPlaying());
    music->playBackgroundMusic("data/sounds/KXModelSound_ID8.mp3");
    recorder->finishMusic();
    EXPECT_FALSE(music->isBackgroundMusicPlaying());
    EXPECT_EQ(recorder->calls(),
              (Calls{"playMusic data/sounds/KXModelSound_ID7.mp3 loop=1", "pauseMusic", "resumeMusic",
                     "setMusicVolume 0.30", "setMusicVolume 1.00", "stopMusic release=0",
                     "playMusic data/sounds/KXModelSound_ID8.mp3 loop=0"}));
}

TEST_F(AudioEngineTest, MusicThatCannotPlayIsLoggedAndNotReportedAsPlaying) {
    SimpleAudioEngine* music = SimpleAudioEngine::sharedEngine();
    music->playBackgroundMusic("good.mp3", true);
    recorder->rejectPath("bad.mp3");
    ::testing::internal::CaptureStderr();
    music->playBackgroundMusic("bad.mp3", true);
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("bad.mp3"), std::string::npos);
    EXPECT_FALSE(music->isBackgroundMusicPlaying());

    ::testing::internal::CaptureStderr();
    music->playBackgroundMusic(nullptr);
    EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
    EXPECT_FALSE(music->isBackgroundMusicPlaying());
}
