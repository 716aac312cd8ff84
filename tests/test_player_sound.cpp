// Sounds over the recording back end: music and effects, replays that cut, self-deleting sounds,
// muting, failed starts and the group operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sound_test_support.h"

using Calls = std::vector<std::string>;

namespace {

class Sound : public kxtest::SoundTest {};

TEST_F(Sound, MusicReplacesTheCurrentMusicAndStopsWithItsTrack) {
    auto first = soundModel();
    auto second = soundModel();
    KXSound a(first, 0);
    KXSound b(second, 0);
    a.play(true, true);
    EXPECT_EQ(KXSound::currentMusic(), &a);
    EXPECT_TRUE(a.isLooping());
    b.play(false, true);
    EXPECT_EQ(KXSound::currentMusic(), &b);
    EXPECT_EQ(a.state(), KXSound::kStopped);
    EXPECT_FALSE(a.isLooping());
    EXPECT_EQ(b.state(), KXSound::kPlaying);
    b.stop();
    EXPECT_EQ(KXSound::currentMusic(), nullptr);
    EXPECT_EQ(recorder->calls(), (Calls{"playMusic " + pathOf(first) + " loop=1", "stopMusic release=1",
                                        "playMusic " + pathOf(second) + " loop=0", "stopMusic release=1"}));
}

TEST_F(Sound, PlayingAgainCutsThePreviousInstance) {
    auto model = soundModel();
    KXSound sound(model, 1);
    sound.play(false, false);
    int firstVoice = recorder->lastVoice();
    int firstId = sound.effectId();
    sound.play(false, false);
    EXPECT_NE(sound.effectId(), firstId);
    EXPECT_EQ(sound.state(), KXSound::kPlaying);
    ASSERT_GE(recorder->calls().size(), 3u);
    EXPECT_EQ(recorder->calls()[2], "stopEffect " + std::to_string(firstVoice));

    // The cut instance's end reports nothing; the new one's end stops the sound.
    recorder->finishVoice(firstVoice);
    frames(1);
    EXPECT_EQ(sound.state(), KXSound::kPlaying);
    recorder->finishVoice(recorder->lastVoice());
    frames(1);
    EXPECT_EQ(sound.state(), KXSound::kStopped);
    EXPECT_EQ(sound.effectId(), -1);
}

TEST_F(Sound, ReplayingTheCurrentMusicAsAnEffectStopsTheMusicFirst) {
    auto model = soundModel();
    KXSound sound(model, 0);
    sound.play(true, true);
    sound.play(false, false);
    EXPECT_EQ(KXSound::currentMusic(), nullptr);
    EXPECT_NE(sound.effectId(), -1);
    EXPECT_EQ(recorder->calls()[1], "stopMusic release=1");
}

TEST_F(Sound, AnAutoDeleteEffectDeletesItselfWhenItEnds) {
    bool deleted = false;
    KXSound* sound = oneShot(soundModel(), deleted);
    sound->play(false, false);
    frames(2);
    EXPECT_FALSE(deleted);
    recorder->finishVoice(recorder->lastVoice());
    frames(1);
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(KXSound::liveSounds().empty());
}

TEST_F(Sound, StopLoopingLetsALoopingEffectEndAfterItsPass) {
    bool deleted = false;
    KXSound* sound = oneShot(soundModel(), deleted);
    sound->play(true, false);
    EXPECT_TRUE(sound->isLooping());
    int voice = recorder->lastVoice();
    sound->stopLooping();
    EXPECT_FALSE(sound->isLooping());
    EXPECT_EQ(recorder->calls().back(), "setEffectLoop " + std::to_string(voice) + " 0");
    frames(1);
    EXPECT_FALSE(deleted);
    recorder->finishVoice(voice);
    frames(1);
    EXPECT_TRUE(deleted);
}

TEST_F(Sound, StoppingAnAutoDeleteSoundDeletesItAndStoppingTwiceDoesNothing) {
    bool deleted = false;
    KXSound* sound = oneShot(soundModel(), deleted);
    sound->play(true, false);
    sound->stop();
    EXPECT_TRUE(deleted);

    KXSound owned(soundModel(), 0);
    owned.play(false, false);
    owned.stop();
    size_t calls = recorder->calls().size();
    owned.stop();
    EXPECT_EQ(recorder->calls().size(), calls);
    EXPECT_EQ(owned.getVolume(), 0.0f);
}

TEST_F(Sound, MutedKindsDoNotPlayAndAMutedOneShotGoesOnTheNextFrame) {
    settings()->muteBackground = true;
    settings()->muteEffects = true;
    KXSound music(soundModel(), 0);
    music.play(true, true);
    EXPECT_EQ(KXSound::currentMusic(), nullptr);
    EXPECT_EQ(music.state(), KXSound::kStopped);

    bool deleted = false;
    KXSound* effect = oneShot(soundModel(), deleted);
    effect->play(false, false);
    // Still there for the caller that made it.
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(effect->isAutoDelete());
    EXPECT_EQ(effect->state(), KXSound::kStopped);
    frames(1);
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(recorder->calls().empty());
}

TEST_F(Sound, AnEffectThatCannotStartStaysStoppedAndAOneShotGoesOnTheNextFrame) {
    auto model = soundModel();
    recorder->rejectPath(pathOf(model));
    KXSound owned(model, 0);
    owned.play(false, false);
    EXPECT_EQ(owned.state(), KXSound::kStopped);
    EXPECT_EQ(owned.effectId(), -1);

    bool deleted = false;
    KXSound* sound = oneShot(model, deleted);
    sound->play(false, false);
    sound->play(false, false); // the caller may still use it
    EXPECT_EQ(KXSound::liveSounds().size(), 2u);
    EXPECT_FALSE(deleted);
    frames(1);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(KXSound::liveSounds(), (std::vector<KXSound*>{&owned}));
}

TEST_F(Sound, AOneShotThatStartsBeforeTheNextFrameLivesOn) {
    settings()->muteEffects = true;
    bool deleted = false;
    KXSound* sound = oneShot(soundModel(), deleted);
    sound->play(false, false);
    settings()->muteEffects = false;
    sound->play(false, false);
    frames(1);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(sound->state(), KXSound::kPlaying);
    sound->stop();
    EXPECT_TRUE(deleted);
}

TEST_F(Sound, PauseAndResumeGoByGroupAndRepeatHarmlessly) {
    KXSound music(soundModel(), 0);
    KXSound game(soundModel(), 1);
    KXSound interface(soundModel(), 0);
    music.play(true, true);
    game.play(true, false);
    const std::string gameVoice = std::to_string(recorder->lastVoice());
    interface.play(true, false);
    const std::string interfaceVoice = std::to_string(recorder->lastVoice());
    recorder->clearCalls();

    KXSound::pauseGroup(1);
    KXSound::pauseGroup(1);
    EXPECT_EQ(game.state(), KXSound::kPaused);
    EXPECT_EQ(interface.state(), KXSound::kPlaying);
    KXSound::resumeGroup(1);
    KXSound::resumeGroup(1);
    EXPECT_EQ(game.state(), KXSound::kPlaying);
    EXPECT_EQ(recorder->calls(), (Calls{"pauseEffect " + gameVoice, "resumeEffect " + gameVoice}));

    recorder->clearCalls();
    KXSound::pauseGroup(KXSound::kEveryGroup);
    EXPECT_EQ(music.state(), KXSound::kPaused);
    EXPECT_EQ(interface.state(), KXSound::kPaused);
    KXSound::resumeGroup(KXSound::kEveryGroup);
    EXPECT_EQ(recorder->calls(),
              (Calls{"pauseMusic", "pauseEffect " + gameVoice, "pauseEffect " + interfaceVoice, "resumeMusic",
                     "resumeEffect " + gameVoice, "resumeEffect " + interfaceVoice}));
}

TEST_F(Sound, StopGroupStopsOnlyItsGroupAndDeleteAllEmptiesTheList) {
    auto* owned = new KXSound(soundModel(), 1);
    owned->play(true, false);
    bool oneShotDeleted = false;
    oneShot(soundModel(), oneShotDeleted, 1)->play(false, false);
    auto* interface = new KXSound(soundModel(), 0);
    interface->play(true, false);

    KXSound::stopGroup(1, false);
    EXPECT_TRUE(oneShotDeleted);
    EXPECT_EQ(owned->state(), KXSound::kStopped);
    EXPECT_EQ(interface->state(), KXSound::kPlaying);
    EXPECT_EQ(KXSound::liveSounds(), (std::vector<KXSound*>{owned, interface}));

    // Everything goes: owned sounds, the playing music, and a one-shot that never started.
    (new KXSound(soundModel(), 0))->play(true, true);
    settings()->muteEffects = true;
    bool mutedDeleted = false;
    oneShot(soundModel(), mutedDeleted)->play(false, false);
    KXSound::stopGroup(KXSound::kEveryGroup, true);
    EXPECT_TRUE(mutedDeleted);
    EXPECT_TRUE(KXSound::liveSounds().empty());
    EXPECT_EQ(KXSound::currentMusic(), nullptr);
}

TEST_F(Sound, VolumesReachOnlyWhatSounds) {
    KXSound effect(soundModel(), 0);
    KXSound music(soundModel(), 0);
    effect.setVolume(0.5f);
    EXPECT_EQ(effect.getVolume(), 0.0f);
    effect.play(true, false);
    effect.setVolume(0.5f);
    EXPECT_FLOAT_EQ(effect.getVolume(), 0.5f);
    music.play(true, true);
    music.setVolume(0.25f);
    EXPECT_FLOAT_EQ(music.getVolume(), 0.25f);
    EXPECT_EQ(recorder->calls().back(), "setMusicVolume 0.25");
}

TEST_F(Sound, StoppingAllEffectsKeepsStatesTrue) {
    bool deleted = false;
    oneShot(soundModel(), deleted)->play(false, false);
    KXSound looping(soundModel(), 1);
    looping.play(true, false);
    KXSound music(soundModel(), 0);
    music.play(true, true);
    KXSound::stopAllEffects();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(looping.state(), KXSound::kStopped);
    EXPECT_EQ(music.state(), KXSound::kPlaying);
}

TEST_F(Sound, DeletingASoundStopsItAndCallsItsReleaseHookOnce) {
    int released = 0;
    auto* sound = new KXSound(soundModel(), 0);
    sound->setReleaseHook([&] { ++released; });
    sound->play(false, false);
    int voice = recorder->lastVoice();
    delete sound;
    EXPECT_EQ(released, 1);
    EXPECT_EQ(recorder->calls().back(), "stopEffect " + std::to_string(voice));
    // Its end, already queued, reaches nobody.
    recorder->finishVoice(voice);
    frames(1);
    EXPECT_TRUE(KXSound::liveSounds().empty());
}

} // namespace
