// Powerup objects on a real Box2D world with a real character: who may collect them and how
// often, the rewards in the score records, the life of a coin with 0, 1 and 2 reward labels, the
// strike's push by screen orientation, nested gameplay powerups restoring the outermost values,
// and each powerup's own culling box.

#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeSound.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAssetPowerup.h"
#include "player/store/KXPScoreTable.h"
#include "support/character_test_support.h"
#include "support/sample_game_support.h"

#include <gtest/gtest.h>

using namespace cocos2d;

namespace {

constexpr float kFrame = kxtest::kFrame;

class Powerup : public kxtest::CharacterTest {
protected:
    void SetUp() override {
        kxtest::CharacterTest::SetUp();
        clearScores();
    }
    void TearDown() override {
        KXPGameplaySettings::shared()->restoreAllValues();
        clearScores();
        kxtest::CharacterTest::TearDown();
    }

    static std::shared_ptr<KXModelObjectAssetPowerup>
    powerupModel(const std::string& type, float duration = 0.0f, bool idleLook = true) {
        auto asset = createModel<KXModelAssetPowerup>();
        asset->setCollisionBox(CCSize(20, 20), CCPointZero);
        asset->powerupTypeAttribute()->setValue(type, true);
        asset->durationAttribute()->setValue(duration, true);
        if (idleLook) {
            asset->idleAnimationAttribute()->setValue(kxtest::framedAnimation("Idle", 1), true);
        }
        auto placed = createModel<KXModelObjectAssetPowerup>();
        placed->setAsset(asset);
        return placed;
    }
    static std::shared_ptr<KXModelAssetPowerup>
    assetOf(const std::shared_ptr<KXModelObjectAssetPowerup>& model) {
        return model->assetPowerup();
    }

    // Made, autoreleased, placed on the layer and given its body.
    KXPObjectAssetPowerup* placePowerup(const std::shared_ptr<KXModelObjectAssetPowerup>& model,
                                        const CCPoint& position = CCPoint(300, 0)) {
        auto* powerup = new KXPObjectAssetPowerup(model);
        powerup->autorelease();
        return world->add(powerup, position, false);
    }

    // Collected the way the scene collects a used powerup: bound at once, state 1 now.
    static void collect(KXPObjectAssetPowerup* powerup, KXPObjectAsset* character) {
        powerup->beginContact(character, nullptr, true);
        powerup->setState(KXPObjectAssetPowerup::kStateCollected);
    }

    static KXPScoreRecord& global() { return worldScores(""); }
};

TEST_F(Powerup, OnlyALiveCharacterCollectsAndOnlyOnce) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeCoin);
    assetOf(model)->rewardCoinsAttribute()->setValue(5.0f, true);
    assetOf(model)->rewardPointsAttribute()->setValue(2.0f, true);
    KXPObjectAssetPowerup* powerup = placePowerup(model);
    KXPObjectAssetCharacter* character = place(characterModel(), CCPoint(0, 0));

    // Not a character, a spawned copy of one, or a dead one: nothing.
    kxtest::TestAsset* other = world->place(kxtest::boxAssetModel(), CCPoint(-300, 0));
    powerup->beginContact(other, nullptr, true);
    EXPECT_EQ(powerup->getPendingState(), KXPObject::kNoPendingState);
    character->setType(KXPObject::kTypeCharacter | KXPObject::kTypeSpawnedCopy);
    powerup->beginContact(character, nullptr, true);
    EXPECT_EQ(powerup->getPendingState(), KXPObject::kNoPendingState);
    character->setType(KXPObject::kTypeCharacter);

    // The contact only asks; the next update collects, credits and (no duration, no label) ends.
    powerup->retain();
    powerup->beginContact(character, nullptr, true);
    EXPECT_EQ(powerup->getState(), KXPObject::kStateActive);
    EXPECT_EQ(powerup->boundCharacter(), character);
    world->frame();
    EXPECT_EQ(powerup->getState(), KXPObject::kStateRemoved);
    EXPECT_EQ(global().coins.session, 5);
    EXPECT_EQ(global().coins.total, 5);
    EXPECT_EQ(global().coins.best, 5);
    EXPECT_EQ(global().points.session, 2);

    // Touching it again after it ran does nothing more.
    powerup->beginContact(character, nullptr, true);
    EXPECT_EQ(powerup->getPendingState(), KXPObject::kNoPendingState);
    EXPECT_EQ(global().coins.session, 5);
    powerup->release();
}

TEST_F(Powerup, TwoContactsInOneStepApplyOnce) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeCoin, 1.0f);
    assetOf(model)->rewardCoinsAttribute()->setValue(3.0f, true);
    KXPObjectAssetPowerup* powerup = placePowerup(model);
    KXPObjectAssetCharacter* first = place(characterModel(), CCPoint(0, 0));
    KXPObjectAssetCharacter* second = place(characterModel(), CCPoint(0, 100));
    powerup->beginContact(first, nullptr, true);
    powerup->beginContact(second, nullptr, true);
    world->frame();
    EXPECT_EQ(powerup->getState(), KXPObjectAssetPowerup::kStateCollected);
    EXPECT_EQ(powerup->boundCharacter(), second);
    powerup->beginContact(first, nullptr, true);
    world->frame();
    EXPECT_EQ(global().coins.session, 3);
}

TEST_F(Powerup, TheBodyIsASensorAndATouchInTheWorldCollects) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeCoin, 1.0f);
    KXPObjectAssetPowerup* powerup = placePowerup(model, CCPoint(0, 0));
    ASSERT_NE(powerup->getBody(), nullptr);
    EXPECT_TRUE(powerup->getBody()->GetFixtureList()->IsSensor());
    place(characterModel(), CCPoint(5, 0));
    world->run(2);
    EXPECT_EQ(powerup->getState(), KXPObjectAssetPowerup::kStateCollected);

    // Without an idle look there is nothing to touch: no body at all.
    KXPObjectAssetPowerup* bare = placePowerup(powerupModel(KXPObjectAssetPowerup::kTypeCoin, 0.0f, false));
    EXPECT_EQ(bare->getBody(), nullptr);
}

TEST_F(Powerup, ATimedEffectLastsItsDurationAndItsEndRunsOnce) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeInvincibility, 0.5f);
    KXPObjectAssetPowerup* powerup = placePowerup(model);
    KXPObjectAssetCharacter* character = place(characterModel());
    KXPInputController::shared()->addCharacter(character);
    powerup->retain();
    collect(powerup, character);
    EXPECT_EQ(character->activePowerupCount(), 1u);
    EXPECT_TRUE(character->hasActivePowerups());
    world->run(20);
    EXPECT_EQ(powerup->getState(), KXPObjectAssetPowerup::kStateCollected);
    world->run(12);
    EXPECT_EQ(powerup->getState(), KXPObject::kStateRemoved);
    EXPECT_EQ(character->activePowerupCount(), 0u);
    EXPECT_FALSE(powerup->isCollected());
    powerup->release();
}

TEST_F(Powerup, TheCharacterLeavingStopsTheStartSoundAndUnbinds) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeInvincibility, 5.0f);
    auto sound = soundNamed("Ding");
    assetOf(model)->startSoundAttribute()->setValue(sound, true);
    KXPObjectAssetPowerup* powerup = placePowerup(model);
    KXPObjectAssetCharacter* character = place(characterModel());
    collect(powerup, character);
    const size_t soundsPlaying = KXSound::liveSounds().size();
    ASSERT_GE(soundsPlaying, 1u);
    character->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(powerup->boundCharacter(), nullptr);
    EXPECT_EQ(KXSound::liveSounds().size(), soundsPlaying - 1);
    world->run(2);
}

// A powerup set back to wait (a checkpoint restored) and collected again plays its start sound
// again; the sound of the first pickup, still playing, lets go of the powerup as the second does
// when the powerup goes.
TEST_F(Powerup, EveryPickupsStartSoundLetsGoOfThePowerupThatGoes) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeInvincibility, 5.0f);
    assetOf(model)->startSoundAttribute()->setValue(soundNamed("Ding"), true);
    KXPObjectAssetPowerup* powerup = placePowerup(model);
    KXPObjectAssetCharacter* character = place(characterModel());
    KXPInputController::shared()->addCharacter(character);
    const size_t before = KXSound::liveSounds().size();
    collect(powerup, character);
    powerup->setState(KXPObject::kStateDead);
    powerup->setState(KXPObject::kStateActive);
    collect(powerup, character);
    ASSERT_GE(KXSound::liveSounds().size(), before + 1);
    powerup->removeFromParent();
    CCPoolManager::sharedPoolManager()->pop();
    // The sounds stop as a restart stops them, the powerup gone.
    KXSound::stopGroup(KXSound::kGameObjectGroup, false);
    EXPECT_EQ(KXSound::liveSounds().size(), before);
    world->run(2);
}

TEST_F(Powerup, ACharacterThatLeavesGivesTheStartLookBackBeforeThePowerupLetsGoOfIt) {
    for (const char* behaviour :
         {KXPObjectAssetPowerup::kReplaceBehaviour, KXPObjectAssetPowerup::kOverlayBehaviour}) {
        SCOPED_TRACE(behaviour);
        auto model = powerupModel(KXPObjectAssetPowerup::kTypeInvincibility, 0.5f);
        assetOf(model)->animationPlacementAttribute()->setValue(KXPObjectAssetPowerup::kCharacterConstraint,
                                                                true);
        assetOf(model)->animationBehaviourAttribute()->setValue(behaviour, true);
        assetOf(model)->startAnimationAttribute()->setValue(kxtest::framedAnimation("Shield", 1), true);
        KXPObjectAssetPowerup* powerup = placePowerup(model);
        KXPObjectAssetCharacter* character = place(characterModel());
        character->retain();
        KXPInputController::shared()->addCharacter(character);
        CCNode* look = powerup->startAnimationNode();
        collect(powerup, character);
        ASSERT_EQ(look->getParent(), character);

        // A portal deletes the character after its own update, in the frame the powerup runs out:
        // the character stays on the field until the next frame, the powerup ends and is freed.
        character->setState(KXPObject::kStateRemoved);
        EXPECT_EQ(look->getParent(), nullptr);
        EXPECT_EQ(character->currentDisplayNode(), nullptr);
        EXPECT_EQ(character->attachedObjects().size(), 0u);
        powerup->setState(KXPObject::kStateDead);
        ASSERT_EQ(powerup->getState(), KXPObject::kStateRemoved);
        powerup->removeFromParent();
        CCPoolManager::sharedPoolManager()->pop();

        // Its last update shows only what it still holds.
        character->update(kFrame);
        character->setVisible(false);
        character->removeFromParent();
        character->release();
        KXPInputController::purgeShared();
    }
}

TEST_F(Powerup, StrikePushesAlongTheLongSideOfTheScreen) {
    auto settings = KXModelGeneralSettings::shared();
    for (const bool landscape : {true, false}) {
        settings->orientationAttribute()->setValue(landscape ? KXModelGeneralSettings::OrientationLandscape
                                                             : KXModelGeneralSettings::OrientationPortrait,
                                                   true);
        KXPObjectAssetPowerup* powerup = placePowerup(powerupModel(KXPObjectAssetPowerup::kTypeStrike, 1.0f));
        KXPObjectAssetCharacter* character = place(characterModel(), CCPoint(0, landscape ? 0 : 200));
        KXPInputController::shared()->addCharacter(character);
        collect(powerup, character);
        const b2Vec2 velocity = character->getBody()->GetLinearVelocity();
        EXPECT_FLOAT_EQ(velocity.x, landscape ? 30.0f : 0.0f) << landscape;
        EXPECT_FLOAT_EQ(velocity.y, landscape ? 0.0f : 30.0f) << landscape;
        powerup->setState(KXPObject::kStateRemoved);
        EXPECT_EQ(character->activePowerupCount(), 0u);
        KXPInputController::purgeShared();
    }
}

TEST_F(Powerup, NestedGameplayPowerupsRestoreTheOutermostValues) {
    KXPGameplaySettings* live = KXPGameplaySettings::shared();
    live->setGravity(CCPoint(0, -10));
    auto low = powerupModel(KXPObjectAssetPowerup::kTypeGameplay, 1.0f);
    assetOf(low)->gravityAttribute()->setValue(CCPoint(0, -2), true);
    auto high = powerupModel(KXPObjectAssetPowerup::kTypeGameplay, 1.0f);
    assetOf(high)->gravityAttribute()->setValue(CCPoint(0, -30), true);
    KXPObjectAssetCharacter* character = place(characterModel());
    KXPObjectAssetPowerup* outer = placePowerup(low);
    KXPObjectAssetPowerup* inner = placePowerup(high);

    collect(outer, character);
    const float lowGravity = live->getGravity().y;
    EXPECT_NE(lowGravity, -10.0f);
    collect(inner, character);
    const float highGravity = live->getGravity().y;
    EXPECT_NE(highGravity, lowGravity);
    // The inner one ends first: the values stay until the outermost one ends.
    inner->setState(KXPObject::kStateDead);
    EXPECT_FLOAT_EQ(live->getGravity().y, highGravity);
    outer->setState(KXPObject::kStateDead);
    EXPECT_FLOAT_EQ(live->getGravity().y, -10.0f);
    // A restore without a save is nothing (a powerup ending after the scene restored all).
    outer->setState(KXPObject::kStateActive);
    live->setGravity(CCPoint(0, -7));
    live->restoreValues();
    EXPECT_FLOAT_EQ(live->getGravity().y, -7.0f);
}

TEST_F(Powerup, OnlyACharacterConstraintFollowsTheCharacter) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeMagnet, 2.0f);
    assetOf(model)->animationPlacementAttribute()->setValue(KXPObjectAssetPowerup::kCharacterConstraint,
                                                            true);
    assetOf(model)->startAnimationAttribute()->setValue(kxtest::framedAnimation("Ring", 1), true);
    assetOf(model)->animationBehaviourAttribute()->setValue(KXPObjectAssetPowerup::kOverlayBehaviour, true);
    KXPObjectAssetPowerup* powerup = placePowerup(model, CCPoint(300, 0));
    KXPObjectAssetCharacter* character = place(characterModel(), CCPoint(40, 60));
    KXPInputController::shared()->addCharacter(character);
    collect(powerup, character);
    // The idle look goes, the start look rides on the character.
    EXPECT_EQ(powerup->idleAnimationNode()->getParent(), nullptr);
    EXPECT_EQ(powerup->startAnimationNode()->getParent(), character);
    world->frame();
    EXPECT_NEAR(powerup->getPositionX(), character->getPositionX(), 0.01f);
    EXPECT_NEAR(powerup->getPositionY(), character->getPositionY(), 0.01f);
    powerup->setState(KXPObject::kStateDead);
    EXPECT_EQ(powerup->startAnimationNode()->getParent(), nullptr);
}

TEST_F(Powerup, AReplacingPowerupTakesItsIdleLookAwayOnCollectionEvenWithoutAStartLook) {
    auto model = powerupModel(KXPObjectAssetPowerup::kTypeMagnet, 2.0f);
    assetOf(model)->animationBehaviourAttribute()->setValue(KXPObjectAssetPowerup::kReplaceBehaviour, true);
    KXPObjectAssetPowerup* powerup = placePowerup(model, CCPoint(300, 0));
    ASSERT_EQ(powerup->startAnimationNode(), nullptr);
    ASSERT_EQ(powerup->idleAnimationNode()->getParent(), powerup);
    KXPObjectAssetCharacter* character = place(characterModel(), CCPoint(40, 60));
    collect(powerup, character);
    EXPECT_EQ(powerup->idleAnimationNode()->getParent(), nullptr);
    EXPECT_EQ(powerup->getState(), KXPObjectAssetPowerup::kStateCollected);
}

// --- with the sample game's font and pictures ---

class PowerupWithMedia : public Powerup {
protected:
    void SetUp() override {
        Powerup::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        ASSERT_FALSE(getModels<KXModelFont>().empty());
    }
    void TearDown() override {
        // The objects go before the sample's store.
        world.reset(new kxtest::AssetWorld());
        Powerup::TearDown();
    }

    // A coin worth 4 coins and 7 points showing those labels; no duration.
    std::shared_ptr<KXModelObjectAssetPowerup> coin(bool coinLabel, bool pointsLabel) {
        auto model = powerupModel(KXPObjectAssetPowerup::kTypeCoin);
        auto asset = assetOf(model);
        asset->rewardCoinsAttribute()->setValue(4.0f, true);
        asset->rewardPointsAttribute()->setValue(7.0f, true);
        asset->showCoinRewardAttribute()->setValue(coinLabel, true);
        asset->showPointsRewardAttribute()->setValue(pointsLabel, true);
        return model;
    }

    kxtest::SampleGame game;
};

TEST_F(PowerupWithMedia, ACoinEndsAtOnceWithoutLabelsAndAfterItsLabelsRoseWithThem) {
    KXPObjectAssetCharacter* character = place(characterModel());
    struct Case {
        bool coinLabel;
        bool pointsLabel;
    };
    for (const Case& c : {Case{false, false}, Case{true, false}, Case{true, true}}) {
        KXPObjectAssetPowerup* powerup = placePowerup(coin(c.coinLabel, c.pointsLabel));
        powerup->retain();
        EXPECT_EQ(powerup->coinLabel() != nullptr, c.coinLabel);
        EXPECT_EQ(powerup->pointsLabel() != nullptr, c.pointsLabel);
        // Held by the powerup's child list alone: one more reference would outlive the powerup.
        for (cocos2d::CCLabelBMFont* label : {powerup->coinLabel(), powerup->pointsLabel()}) {
            if (label != nullptr) {
                EXPECT_EQ(label->retainCount(), 1u);
            }
        }
        powerup->beginContact(character, nullptr, true);
        world->frame();
        if (!c.coinLabel && !c.pointsLabel) {
            EXPECT_EQ(powerup->getState(), KXPObject::kStateRemoved);
            powerup->release();
            continue;
        }
        // Collected and over in the same update; the labels show the rewards and rise.
        EXPECT_EQ(powerup->getState(), KXPObject::kStateDead);
        EXPECT_STREQ(powerup->coinLabel()->getString(), "4");
        EXPECT_TRUE(powerup->coinLabel()->isVisible());
        if (c.pointsLabel) {
            EXPECT_STREQ(powerup->pointsLabel()->getString(), "7");
        }
        world->run(29);
        // Half a second on: drifted right, up in its arc, half faded.
        EXPECT_NEAR(powerup->coinLabel()->getPositionX(), 30.0f, 1.5f);
        EXPECT_NEAR(powerup->coinLabel()->getPositionY(), 60.0f - 10.0f, 2.0f);
        EXPECT_NEAR(powerup->coinLabel()->getOpacity(), 128, 6);
        EXPECT_EQ(powerup->getState(), KXPObject::kStateDead);
        world->run(31);
        EXPECT_EQ(powerup->getState(), KXPObject::kStateRemoved);
        EXPECT_FALSE(powerup->coinLabel()->isVisible());
        powerup->release();
    }
    EXPECT_EQ(global().coins.session, 12);
    EXPECT_EQ(global().points.session, 21);
}

TEST_F(PowerupWithMedia, ATimedPowerupWhoseLabelEndedFirstFinishesWhenItsEffectEnds) {
    KXPObjectAssetCharacter* character = place(characterModel());
    KXPInputController::shared()->addCharacter(character);
    auto model = coin(true, false);
    assetOf(model)->powerupTypeAttribute()->setValue(KXPObjectAssetPowerup::kTypeInvincibility, true);
    assetOf(model)->durationAttribute()->setValue(2.0f, true);
    KXPObjectAssetPowerup* powerup = placePowerup(model);
    powerup->retain();
    collect(powerup, character);
    // The label has risen and gone after a second; the effect runs on.
    world->run(70);
    EXPECT_FALSE(powerup->coinLabel()->isVisible());
    EXPECT_EQ(powerup->getState(), KXPObjectAssetPowerup::kStateCollected);
    EXPECT_TRUE(character->hasActivePowerups());
    // The effect ends at two seconds, and the powerup with it.
    world->run(55);
    EXPECT_FALSE(character->hasActivePowerups());
    EXPECT_EQ(powerup->getState(), KXPObject::kStateRemoved);
    powerup->release();
    // The character goes before the world does.
    KXPInputController::purgeShared();
}

TEST_F(PowerupWithMedia, EachPowerupCullsByItsOwnBox) {
    // An idle look with a real picture, so that the box has a size.
    std::shared_ptr<KXModelSpriteContainer> picture;
    for (const auto& container : getModels<KXModelSpriteContainer>()) {
        if (!container->sprites().empty()) {
            picture = container;
            break;
        }
    }
    ASSERT_TRUE(picture);
    auto look = kxtest::framedAnimation("Look", 0);
    auto image = createModel<KXModelObjectImage>();
    image->setImage(picture);
    look->addChild(image, true);
    auto small = powerupModel(KXPObjectAssetPowerup::kTypeCoin);
    assetOf(small)->idleAnimationAttribute()->setValue(look, true);
    auto large = powerupModel(KXPObjectAssetPowerup::kTypeCoin);
    assetOf(large)->idleAnimationAttribute()->setValue(look, true);
    large->scaleAttribute()->setValue(CCPoint(3, 3), true);

    KXPObjectAssetPowerup* first = placePowerup(small, CCPoint(100, 50));
    KXPObjectAssetPowerup* second = placePowerup(large, CCPoint(-100, 0));
    const CCRect one = first->boundingRect();
    const CCRect three = second->boundingRect();
    ASSERT_GT(one.size.width, 0.0f);
    EXPECT_NEAR(three.size.width, one.size.width * 3.0f, 0.01f);
    EXPECT_NEAR(three.size.height, one.size.height * 3.0f, 0.01f);
    // Centred on each powerup's place on the layer.
    EXPECT_NEAR(one.getMidX(), 100.0f, 0.01f);
    EXPECT_NEAR(one.getMidY(), 50.0f, 0.01f);
    EXPECT_NEAR(three.getMidX(), -100.0f, 0.01f);
}

} // namespace
