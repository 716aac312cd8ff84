// Sounds and the music mute, heard for real: SDL2_mixer writes into SDL's disk audio driver and
// the written samples are measured.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SimpleAudioEngine.h"
#include "model/classes/KXModelSound.h"
#include "player/sound/KXSound.h"
#include "player/sound/KXSoundController.h"
#include "player/sound/KXSoundControllerHost.h"
#include "player/store/KXPSettingsController.h"
#include "support/disk_audio.h"
#include "support/model_test_models.h"

namespace {

// A sound model whose file is a tone made by the test.
class ToneModel : public KXModelSound {
public:
    explicit ToneModel(std::string path) : KXModelSound(""), m_path(std::move(path)) {}
    std::string soundPath() const override { return m_path; }

private:
    std::string m_path;
};

// Stops the music the way a screen does: the engine's stop, keeping the track.
class MusicStoppingScreen : public KXSoundControllerHost {
public:
    std::vector<cocos2d::CCMenuItem*> menuItemsWithAction(const std::string&) override { return {}; }
    void stopBackgroundMusic() override {
        CocosDenshion::SimpleAudioEngine::sharedEngine()->stopBackgroundMusic(false);
    }
    void playScreenMusic() override {}
};

// The level of a tone at half scale is 0.35; silence is 0.
constexpr double kAudible = 0.1;
constexpr double kSilent = 0.001;

class SoundOnDisk : public kxtest::DiskAudioTest {
protected:
    void SetUp() override {
        resetModelCore();
        KXPSettingsController::purgeShared();
        DiskAudioTest::SetUp();
    }
    void TearDown() override {
        KXSound::stopGroup(KXSound::kEveryGroup, true);
        DiskAudioTest::TearDown();
        KXPSettingsController::purgeShared();
        resetModelCore();
    }

    static std::shared_ptr<KXModelSound> tone(const std::string& path) {
        return KXModel::makeShared<ToneModel>(path);
    }
    static bool musicPlaying() {
        return CocosDenshion::SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying();
    }
};

TEST_F(SoundOnDisk, MusicIsHeard) {
    KXSound music(tone(makeTone("music", 0.5)), 0);
    music.play(false, true);
    ASSERT_TRUE(musicPlaying());
    runFramesUntil([] { return !musicPlaying(); });
    closeDevice();
    // Most of the half second sounds at the tone's level.
    EXPECT_GE(countAbove(blockLevels(), kAudible), 40);
}

TEST_F(SoundOnDisk, MutedMusicWritesSilenceAfterTheMuteAndDoesNotStartAgain) {
    KXSound music(tone(makeTone("looping-music", 3.0)), 0);
    music.play(true, true);
    runFrames(40);
    MusicStoppingScreen screen;
    auto* controller = new KXSoundController(&screen);
    controller->muteMusic();
    KXSound(tone(makeTone("other-music", 3.0)), 0).play(true, true); // muted: nothing starts
    runFrames(60);
    closeDevice();
    controller->release();

    std::vector<double> levels = blockLevels();
    ASSERT_GT(levels.size(), 30u);
    EXPECT_GE(countAbove(levels, kAudible), 20);
    // The last 0.3 s, well after the mute and well before the tone's end, are silent.
    std::vector<double> tail(levels.end() - 30, levels.end());
    EXPECT_EQ(countAbove(tail, kSilent), 0);
}

TEST_F(SoundOnDisk, AnEffectPlayedAgainCutsTheFirstInstance) {
    // One second of silence, then one second of tone: an instance cut in its first half second
    // is never heard, while an uncut one would add its own second of tone.
    KXSound effect(tone(makeTone("late-tone", 2.0, 1.0)), 0);
    effect.play(false, false);
    runFrames(50);
    effect.play(false, false);
    runFramesUntil([&] { return effect.state() == KXSound::kStopped; }, 400);
    closeDevice();

    int loudBlocks = countAbove(blockLevels(), kAudible);
    EXPECT_GE(loudBlocks, kBlocksPerSecond * 8 / 10);
    EXPECT_LE(loudBlocks, kBlocksPerSecond * 12 / 10);
}

} // namespace
