// The sound buttons of a screen: their looks, the toggles, and what unmuting the music plays.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SimpleAudioEngine.h"
#include "model/classes/KXModelScreen.h"
#include "player/sound/KXSoundController.h"
#include "player/sound/KXSoundControllerHost.h"
#include "support/sound_test_support.h"

using cocos2d::CCMenuItem;

namespace {

// A screen with menu items for the three sound actions; its own music is optional.
class FakeScreen : public KXSoundControllerHost {
public:
    FakeScreen() {
        for (const char* action : {KXSoundController::kMuteAllAction, KXSoundController::kMuteEffectsAction,
                                   KXSoundController::kMuteMusicAction}) {
            CCMenuItem* item = CCMenuItem::create();
            item->retain();
            m_buttons[action] = item;
        }
    }
    ~FakeScreen() override {
        for (auto& entry : m_buttons)
            entry.second->release();
    }

    CCMenuItem* button(const char* action) { return m_buttons[action]; }
    CCMenuItem* allButton() { return button(KXSoundController::kMuteAllAction); }
    CCMenuItem* effectsButton() { return button(KXSoundController::kMuteEffectsAction); }
    CCMenuItem* musicButton() { return button(KXSoundController::kMuteMusicAction); }

    std::vector<CCMenuItem*> menuItemsWithAction(const std::string& action) override {
        auto found = m_buttons.find(action);
        return found == m_buttons.end() ? std::vector<CCMenuItem*>{}
                                        : std::vector<CCMenuItem*>{found->second};
    }
    void stopBackgroundMusic() override {
        ++musicStops;
        CocosDenshion::SimpleAudioEngine::sharedEngine()->stopBackgroundMusic(false);
    }
    void playScreenMusic() override {
        ++screenMusicRequests;
        if (!screenMusic)
            return;
        auto* sound = new KXSound(screenMusic, KXSound::kInterfaceGroup);
        sound->setAutoDelete(true);
        sound->play(true, true);
    }

    int musicStops = 0;
    int screenMusicRequests = 0;
    std::shared_ptr<KXModelSound> screenMusic;

private:
    std::map<std::string, CCMenuItem*> m_buttons;
};

class SoundButtons : public kxtest::SoundTest {
protected:
    void TearDown() override {
        m_controller.reset();
        SoundTest::TearDown();
    }

    KXSoundController& controller() {
        if (!m_controller) {
            m_controller.reset(new KXSoundController(&screen), [](KXSoundController* c) { c->release(); });
            m_controller->setUp();
        }
        return *m_controller;
    }
    // The looks of the all, effects and music buttons.
    std::vector<bool> looks() {
        return {screen.allButton()->isSelected(), screen.effectsButton()->isSelected(),
                screen.musicButton()->isSelected()};
    }
    const std::string& lastCall() { return recorder->calls().back(); }

    FakeScreen screen;
    std::shared_ptr<KXSoundController> m_controller;
};

TEST_F(SoundButtons, SetUpShowsTheMuteStateAndPressesToggle) {
    settings()->muteEffects = true;
    controller();
    EXPECT_EQ(looks(), (std::vector<bool>{false, true, false}));

    screen.musicButton()->activate();
    EXPECT_TRUE(settings()->muteBackground);
    EXPECT_EQ(looks(), (std::vector<bool>{true, true, true}));

    screen.allButton()->activate();
    EXPECT_FALSE(settings()->muteBackground);
    EXPECT_FALSE(settings()->muteEffects);
    EXPECT_EQ(looks(), (std::vector<bool>{false, false, false}));

    screen.effectsButton()->activate();
    EXPECT_TRUE(settings()->muteEffects);
    EXPECT_EQ(looks(), (std::vector<bool>{false, true, false}));
}

TEST_F(SoundButtons, MuteAllFromAHalfMutedStateMutesBothThenUnmutesBoth) {
    settings()->muteEffects = true;
    controller().toggleAll(nullptr);
    EXPECT_TRUE(settings()->muteEffects);
    EXPECT_TRUE(settings()->muteBackground);
    EXPECT_EQ(screen.musicStops, 1);
    controller().toggleAll(nullptr);
    EXPECT_FALSE(settings()->muteEffects);
    EXPECT_FALSE(settings()->muteBackground);
    // Muting again when already muted does nothing.
    controller().muteEffects();
    controller().muteEffects();
    EXPECT_EQ(looks(), (std::vector<bool>{false, true, false}));
}

TEST_F(SoundButtons, UnmutingReplaysTheRememberedTrack) {
    auto track = soundModel();
    auto* music = new KXSound(track, 0);
    music->setAutoDelete(true);
    music->play(true, true);
    controller().muteMusic();
    EXPECT_EQ(controller().rememberedMusic(), track);
    EXPECT_EQ(screen.musicStops, 1);
    EXPECT_FALSE(CocosDenshion::SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying());

    controller().unmuteMusic();
    EXPECT_EQ(lastCall(), "playMusic " + pathOf(track) + " loop=1");
    EXPECT_EQ(screen.screenMusicRequests, 0);
    // The old sound made way for the new one.
    ASSERT_NE(KXSound::currentMusic(), nullptr);
    EXPECT_EQ(KXSound::liveSounds(), (std::vector<KXSound*>{KXSound::currentMusic()}));
}

TEST_F(SoundButtons, UnmutingWithNothingRememberedPlaysTheScreenMusic) {
    settings()->muteBackground = true;
    KXSound muted(soundModel(), 0);
    muted.play(true, true); // muted: leaves no current music to remember
    screen.screenMusic = soundModel();
    controller().unmuteMusic();
    EXPECT_EQ(screen.screenMusicRequests, 1);
    EXPECT_EQ(lastCall(), "playMusic " + pathOf(screen.screenMusic) + " loop=1");
}

TEST_F(SoundButtons, UnmutingFallsBackToTheFirstScreenModelWithMusic) {
    settings()->muteBackground = true;
    auto silent = std::static_pointer_cast<KXModelScreen>(KXModelScreen::create());
    auto first = std::static_pointer_cast<KXModelScreen>(KXModelScreen::create());
    auto second = std::static_pointer_cast<KXModelScreen>(KXModelScreen::create());
    auto firstTrack = soundModel();
    first->setMusic(firstTrack);
    second->setMusic(soundModel());
    for (const auto& model : {silent, first, second})
        KXModelController::shared()->addModel(model);

    controller().unmuteMusic();
    EXPECT_EQ(screen.screenMusicRequests, 1);
    EXPECT_EQ(lastCall(), "playMusic " + pathOf(firstTrack) + " loop=" + (first->loopMusic() ? "1" : "0"));
}

TEST_F(SoundButtons, MutingEffectsStopsEveryEffectAndOneShotsEnd) {
    bool deleted = false;
    oneShot(soundModel(), deleted)->play(false, false);
    KXSound looping(soundModel(), 1);
    looping.play(true, false);
    controller().muteEffects();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(looping.state(), KXSound::kStopped);
    looping.play(true, false);
    EXPECT_EQ(looping.state(), KXSound::kStopped);
}

TEST_F(SoundButtons, ButtonsOutlivingTheControllerCallNothing) {
    controller();
    m_controller.reset();
    screen.musicButton()->activate();
    EXPECT_FALSE(settings()->muteBackground);
}

} // namespace
