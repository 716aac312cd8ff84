// The SDL2_mixer back end on SDL's dummy audio driver: files that cannot play, voices ending on
// the audio thread, and the bookkeeping of mixer channels.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"
#include "audio/AudioBackendSlot.h"
#include "audio/MixerAudioBackend.h"

using cocos2d::audio::MixerAudioBackend;
using cocos2d::experimental::AudioEngine;
using State = AudioEngine::AudioState;

namespace {

void put16(std::ofstream& out, uint16_t v) {
    char bytes[2] = {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xffff));
    put16(out, static_cast<uint16_t>(v >> 16));
}

// A mono 16-bit PCM tone of the given length.
std::string writeTone(const std::string& name, int milliseconds) {
    const int rate = 22050;
    const uint32_t frames = static_cast<uint32_t>(rate * milliseconds / 1000);
    std::string path = std::string(KX_BINARY_DIR) + "/tests/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + frames * 2);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, rate);
    put32(out, rate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, frames * 2);
    for (uint32_t i = 0; i < frames; ++i)
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.125))));
    return path;
}

class MixerBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        auto backend = std::make_unique<MixerAudioBackend>();
        ASSERT_TRUE(backend->isOpen());
        cocos2d::audio::installBackend(std::move(backend));
    }
    void TearDown() override { cocos2d::audio::shutdownAudio(); }

    // Runs frames until the predicate holds; false after five seconds of frames.
    template <typename Predicate> bool runFramesUntil(Predicate done) {
        for (int frame = 0; frame < 500; ++frame) {
            AudioEngine::dispatchPendingCallbacks();
            if (done())
                return true;
            SDL_Delay(10);
        }
        return false;
    }

    void runFrames(int count) {
        for (int frame = 0; frame < count; ++frame) {
            AudioEngine::dispatchPendingCallbacks();
            SDL_Delay(10);
        }
    }
};

} // namespace

TEST_F(MixerBackendTest, MissingAndUndecodableFilesGiveMinusOneAndNoMusic) {
    std::string garbage = std::string(KX_BINARY_DIR) + "/tests/garbage.mp3";
    std::ofstream(garbage) << "this is not a sound file at all, just some text";
    std::string missing = std::string(KX_BINARY_DIR) + "/tests/no-such-sound.mp3";

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(AudioEngine::play2d(missing), -1);
    EXPECT_EQ(AudioEngine::play2d(garbage), -1);
    auto* music = CocosDenshion::SimpleAudioEngine::sharedEngine();
    music->playBackgroundMusic(missing.c_str(), true);
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("no-such-sound.mp3"), std::string::npos);
    EXPECT_FALSE(music->isBackgroundMusicPlaying());
}

TEST_F(MixerBackendTest, AnEffectThatEndsIsReportedOnTheMainThreadOnly) {
    std::string tone = writeTone("short-tone.wav", 40);
    int calls = 0;
    std::thread::id thread;
    int id = AudioEngine::play2d(tone);
    ASSERT_GE(id, 0);
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
    AudioEngine::setFinishCallback(id, [&](int finished, const std::string& path) {
        EXPECT_EQ(finished, id);
        EXPECT_EQ(path, tone);
        ++calls;
        thread = std::this_thread::get_id();
    });
    ASSERT_TRUE(runFramesUntil([&] { return calls > 0; }));
    EXPECT_EQ(thread, std::this_thread::get_id());
    EXPECT_EQ(AudioEngine::getState(id), State::ERROR);
    runFrames(3);
    EXPECT_EQ(calls, 1);
}

TEST_F(MixerBackendTest, ALoopThatIsSwitchedOffEndsAfterItsPass) {
    std::string tone = writeTone("loop-tone.wav", 40);
    bool finished = false;
    int id = AudioEngine::play2d(tone, true);
    ASSERT_GE(id, 0);
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { finished = true; });
    runFrames(10); // several passes
    EXPECT_FALSE(finished);
    AudioEngine::setLoop(id, false);
    EXPECT_TRUE(runFramesUntil([&] { return finished; }));
}

TEST_F(MixerBackendTest, ASinglePassSwitchedToLoopingKeepsPlaying) {
    std::string tone = writeTone("once-tone.wav", 30);
    bool finished = false;
    int id = AudioEngine::play2d(tone, false);
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { finished = true; });
    AudioEngine::setLoop(id, true);
    runFrames(15);
    EXPECT_FALSE(finished);
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
    AudioEngine::stop(id);
}

// The halt of a stopped voice is reported a frame later; it must not end the voice that
// started meanwhile.
TEST_F(MixerBackendTest, AStoppedVoicesLateEndDoesNotEndTheNextSound) {
    std::string tone = writeTone("long-tone.wav", 2000);
    int first = AudioEngine::play2d(tone, true);
    AudioEngine::stop(first);
    bool secondFinished = false;
    int second = AudioEngine::play2d(tone, true);
    ASSERT_GE(second, 0);
    EXPECT_NE(second, first);
    AudioEngine::setFinishCallback(second, [&](int, const std::string&) { secondFinished = true; });
    runFrames(5);
    EXPECT_FALSE(secondFinished);
    EXPECT_EQ(AudioEngine::getState(second), State::PLAYING);
}

TEST_F(MixerBackendTest, VoicesAreBoundedAndFreedAgainWhenTheirEndsAreTaken) {
    std::string tone = writeTone("crowd-tone.wav", 2000);
    std::vector<int> ids;
    for (int i = 0; i < MixerAudioBackend::kMaxChannels + 20; ++i)
        ids.push_back(AudioEngine::play2d(tone));
    for (int i = 0; i < MixerAudioBackend::kMaxChannels; ++i)
        ASSERT_GE(ids[static_cast<size_t>(i)], 0) << i;
    for (size_t i = MixerAudioBackend::kMaxChannels; i < ids.size(); ++i)
        EXPECT_EQ(ids[i], -1);
    AudioEngine::stopAll();
    AudioEngine::dispatchPendingCallbacks();
    EXPECT_GE(AudioEngine::play2d(tone), 0);
}
