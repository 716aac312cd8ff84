// Real sound through SDL2_mixer into SDL's disk audio driver: test tones made with sox and lame,
// and the written samples measured in blocks of 10 ms.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "AudioEngine.h"
#include "audio/AudioBackendSlot.h"
#include "audio/MixerAudioBackend.h"
#include "support/state_guards.h"

namespace kxtest {

inline std::string runCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    return output;
}

class DiskAudioTest : public ::testing::Test {
protected:
    // Later tests open their mixers on the driver they had before.
    ScopedEnvironment m_driver{"SDL_AUDIODRIVER"};
    ScopedEnvironment m_file{"SDL_DISKAUDIOFILE"};

    static constexpr int kBlocksPerSecond = 100;

    void SetUp() override {
        m_stem = std::string(KX_BINARY_DIR) + "/tests/" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_output = m_stem + ".raw";
        std::remove(m_output.c_str());
        // A mixer an earlier test left open (on the dummy driver) would keep this one silent.
        cocos2d::audio::shutdownAudio();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", m_output.c_str(), 1);
        auto backend = std::make_unique<cocos2d::audio::MixerAudioBackend>();
        ASSERT_TRUE(backend->isOpen());
        int frequency = 0;
        int channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&frequency, &format, &channels);
        m_soxInput = "-t raw -r " + std::to_string(frequency) + " -c " + std::to_string(channels) + " -b " +
                     std::to_string(SDL_AUDIO_BITSIZE(format)) +
                     (SDL_AUDIO_ISFLOAT(format)    ? " -e floating-point"
                      : SDL_AUDIO_ISSIGNED(format) ? " -e signed-integer"
                                                   : " -e unsigned-integer") +
                     (SDL_AUDIO_ISBIGENDIAN(format) ? " -B" : " -L");
        cocos2d::audio::installBackend(std::move(backend));
    }
    void TearDown() override { cocos2d::audio::shutdownAudio(); }

    // An MP3 of the given length: a 440 Hz tone at half scale (RMS 0.35) after `silence` seconds.
    std::string makeTone(const std::string& name, double seconds, double silence = 0.0) {
        std::string wav = m_stem + "-" + name + ".wav";
        std::string mp3 = m_stem + "-" + name + ".mp3";
        std::string made =
            runCommand("sox -n -r 44100 -c 2 -b 16 '" + wav + "' synth " + std::to_string(seconds - silence) +
                       " sine 440 vol 0.5 pad " + std::to_string(silence) + " 0 && lame --quiet '" + wav +
                       "' '" + mp3 + "' && echo made");
        EXPECT_NE(made.find("made"), std::string::npos) << "sox and lame are needed: " << made;
        return mp3;
    }

    // Frames of about 10 ms, each delivering finished effects as the main loop does.
    void runFrames(int count) {
        for (int frame = 0; frame < count; ++frame) {
            cocos2d::experimental::AudioEngine::dispatchPendingCallbacks();
            SDL_Delay(10);
        }
    }
    template <typename Predicate> void runFramesUntil(Predicate done, int limit = 500) {
        for (int frame = 0; frame < limit && !done(); ++frame)
            runFrames(1);
        ASSERT_TRUE(done());
    }

    // Closing the device flushes the file.
    void closeDevice() { cocos2d::audio::shutdownAudio(); }

    // The RMS level (0..1) of each 10 ms block of the written sound, both channels mixed.
    std::vector<double> blockLevels() {
        std::string mono = m_stem + ".s16";
        std::string converted = runCommand("sox " + m_soxInput + " '" + m_output +
                                           "' -t raw -e signed-integer -b 16 -L -r 44100 '" + mono +
                                           "' remix - && echo converted");
        EXPECT_NE(converted.find("converted"), std::string::npos) << converted;
        std::ifstream in(mono, std::ios::binary);
        std::vector<double> levels;
        const int blockSize = 44100 / kBlocksPerSecond;
        std::vector<int16_t> block(blockSize);
        while (in.read(reinterpret_cast<char*>(block.data()), blockSize * 2)) {
            double sum = 0.0;
            for (int16_t sample : block)
                sum += (sample / 32768.0) * (sample / 32768.0);
            levels.push_back(std::sqrt(sum / blockSize));
        }
        return levels;
    }

    static int countAbove(const std::vector<double>& levels, double floor) {
        int count = 0;
        for (double level : levels)
            count += level > floor ? 1 : 0;
        return count;
    }

    std::string m_stem;
    std::string m_output;
    std::string m_soxInput;
};

} // namespace kxtest
