// Real sound through SDL2_mixer into SDL's disk audio driver: an MP3 made at test time with sox
// and lame is played, and the written samples are measured with sox.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"
#include "audio/AudioBackendSlot.h"
#include "audio/MixerAudioBackend.h"
#include "support/state_guards.h"

using cocos2d::audio::MixerAudioBackend;
using cocos2d::experimental::AudioEngine;
using CocosDenshion::SimpleAudioEngine;

namespace {

std::string workDir() {
    return std::string(KX_BINARY_DIR) + "/tests";
}

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    return output;
}

// A 440 Hz tone at half scale, encoded to MP3.
std::string makeMp3(const std::string& name, double seconds) {
    std::string wav = workDir() + "/" + name + ".wav";
    std::string mp3 = workDir() + "/" + name + ".mp3";
    std::string made = run("sox -n -r 44100 -c 2 -b 16 '" + wav + "' synth " + std::to_string(seconds) +
                           " sine 440 vol 0.5 && lame --quiet '" + wav + "' '" + mp3 + "' && echo made");
    EXPECT_NE(made.find("made"), std::string::npos) << "sox and lame are needed: " << made;
    return mp3;
}

class DiskAudioTest : public ::testing::Test {
protected:
    // Later tests open their mixers on the driver they had before.
    kxtest::ScopedEnvironment driver{"SDL_AUDIODRIVER"};
    kxtest::ScopedEnvironment file{"SDL_DISKAUDIOFILE"};

    void SetUp() override {
        output = workDir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw";
        std::remove(output.c_str());
        // A mixer an earlier test left open (on the dummy driver) would keep this one silent.
        cocos2d::audio::shutdownAudio();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        auto backend = std::make_unique<MixerAudioBackend>();
        ASSERT_TRUE(backend->isOpen());
        int frequency = 0;
        int channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&frequency, &format, &channels);
        soxInput = "-t raw -r " + std::to_string(frequency) + " -c " + std::to_string(channels) + " -b " +
                   std::to_string(SDL_AUDIO_BITSIZE(format)) +
                   (SDL_AUDIO_ISFLOAT(format)    ? " -e floating-point"
                    : SDL_AUDIO_ISSIGNED(format) ? " -e signed-integer"
                                                 : " -e unsigned-integer") +
                   (SDL_AUDIO_ISBIGENDIAN(format) ? " -B" : " -L");
        cocos2d::audio::installBackend(std::move(backend));
    }
    void TearDown() override { cocos2d::audio::shutdownAudio(); }

    // Closing the device flushes the file.
    void closeDevice() { cocos2d::audio::shutdownAudio(); }

    // Peak of the written samples, 0..1; the trim arguments select a part of the file.
    double peak(const std::string& trim = "") {
        std::string stat = run("sox " + soxInput + " '" + output + "' -n " + trim + " stat");
        size_t at = stat.find("Maximum amplitude:");
        EXPECT_NE(at, std::string::npos) << stat;
        return at == std::string::npos ? -1.0 : std::atof(stat.c_str() + at + 18);
    }

    template <typename Predicate> void runFramesUntil(Predicate done) {
        for (int frame = 0; frame < 500 && !done(); ++frame) {
            AudioEngine::dispatchPendingCallbacks();
            SDL_Delay(10);
        }
        ASSERT_TRUE(done());
    }

    void runFrames(int count) {
        for (int frame = 0; frame < count; ++frame) {
            AudioEngine::dispatchPendingCallbacks();
            SDL_Delay(10);
        }
    }

    std::string output;
    std::string soxInput;
};

} // namespace

TEST_F(DiskAudioTest, AnMp3EffectIsHeard) {
    std::string mp3 = makeMp3("effect-tone", 0.4);
    bool finished = false;
    int id = AudioEngine::play2d(mp3);
    ASSERT_GE(id, 0);
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { finished = true; });
    runFramesUntil([&] { return finished; });
    closeDevice();
    EXPECT_GT(peak(), 0.3); // the tone is at half scale
}

TEST_F(DiskAudioTest, AnEffectAtVolumeZeroIsSilent) {
    std::string mp3 = makeMp3("muted-tone", 0.4);
    bool finished = false;
    int id = AudioEngine::play2d(mp3, false, 0.0f);
    ASSERT_GE(id, 0);
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { finished = true; });
    runFramesUntil([&] { return finished; });
    closeDevice();
    EXPECT_LT(peak(), 0.001);
}

TEST_F(DiskAudioTest, AStoppedEffectFallsSilent) {
    std::string mp3 = makeMp3("stopped-tone", 3.0);
    int id = AudioEngine::play2d(mp3);
    ASSERT_GE(id, 0);
    runFrames(20);
    AudioEngine::stop(id);
    runFrames(50);
    closeDevice();
    EXPECT_GT(peak(), 0.3);
    EXPECT_LT(peak("trim -0.3"), 0.001); // the last 0.3 s, long after the stop, long before the tone's end
}

TEST_F(DiskAudioTest, Mp3MusicIsHeard) {
    std::string mp3 = makeMp3("music-tone", 0.4);
    SimpleAudioEngine* music = SimpleAudioEngine::sharedEngine();
    music->playBackgroundMusic(mp3.c_str(), false);
    ASSERT_TRUE(music->isBackgroundMusicPlaying());
    runFramesUntil([&] { return !music->isBackgroundMusicPlaying(); });
    closeDevice();
    EXPECT_GT(peak(), 0.3);
}

TEST_F(DiskAudioTest, MusicAtVolumeZeroIsSilent) {
    std::string mp3 = makeMp3("quiet-music-tone", 0.4);
    SimpleAudioEngine* music = SimpleAudioEngine::sharedEngine();
    music->setBackgroundMusicVolume(0.0f);
    music->playBackgroundMusic(mp3.c_str(), false);
    ASSERT_TRUE(music->isBackgroundMusicPlaying());
    runFramesUntil([&] { return !music->isBackgroundMusicPlaying(); });
    closeDevice();
    EXPECT_LT(peak(), 0.001);
}

TEST_F(DiskAudioTest, StoppedMusicFallsSilent) {
    std::string mp3 = makeMp3("stopped-music-tone", 3.0);
    SimpleAudioEngine* music = SimpleAudioEngine::sharedEngine();
    music->playBackgroundMusic(mp3.c_str(), true);
    runFrames(20);
    music->stopBackgroundMusic();
    EXPECT_FALSE(music->isBackgroundMusicPlaying());
    runFrames(50);
    closeDevice();
    EXPECT_GT(peak(), 0.3);
    EXPECT_LT(peak("trim -0.3"), 0.001);
}
