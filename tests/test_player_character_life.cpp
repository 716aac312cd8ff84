// The player character's looks and life: the animation shown for each state, the construction of
// the animations, shooting and its looping sound, the state refusals around death, the death
// sequence (defeated look, released shoot action, sounds, finishing at once without a look) and
// leaving the input controller, contacts' friction and damage, shadows, sounds whose files are
// missing, and the factory making a registered character.

#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelComponentDamage.h"
#include "player/objects/KXPAnimationObject.h"
#include "support/character_test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace cocos2d;

namespace {

constexpr float kFrame = kxtest::kFrame;

class ShootListener : public CCObject {
public:
    void heard(CCObject*) { ++calls; }
    int calls = 0;
};

class CharacterLife : public kxtest::CharacterTest {
protected:
    // A character asset with every look; `frames` 0 makes a look without frames.
    static std::shared_ptr<KXModelObjectAssetCharacter> lookingModel(int moveFrames = 1,
                                                                     int shootingFrames = 1) {
        auto model = characterModel();
        auto asset = assetOf(model);
        asset->defaultAnimationAttribute()->setValue(kxtest::framedAnimation("Stand", 1), true);
        asset->shootingAnimationAttribute()->setValue(kxtest::framedAnimation("Shoot", shootingFrames), true);
        asset->jumpAnimationAttribute()->setValue(kxtest::framedAnimation("Jump", 1), true);
        asset->moveAnimationAttribute()->setValue(kxtest::framedAnimation("Run", moveFrames), true);
        asset->defeatedAnimationAttribute()->setValue(kxtest::framedAnimation("Down", 1), true);
        return model;
    }
    static std::string shown(KXPObjectAssetCharacter* character) {
        character->setVisible(true);
        return character->shownAnimationName();
    }
};

TEST_F(CharacterLife, AnimationsAreBuiltHiddenButTheDefaultWithThePlacedDepthAndOpacity) {
    auto model = lookingModel();
    model->zDepthAttribute()->setValue(7, true);
    model->opacityAttribute()->setValue(0.5f, true);
    KXPObjectAssetCharacter* character = place(model);
    KXPAnimationObject* nodes[] = {character->defaultAnimationNode(), character->shootingAnimationNode(),
                                   character->jumpAnimationNode(), character->moveAnimationNode()};
    for (KXPAnimationObject* node : nodes) {
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->getParent(), character);
        EXPECT_FLOAT_EQ(node->opacityFactor(), 0.5f);
        EXPECT_EQ(node->isVisible(), node == character->defaultAnimationNode());
    }
    EXPECT_EQ(character->defeatedAnimationNode(), nullptr);

    // A jump look without frames is not made at all.
    auto plain = lookingModel();
    assetOf(plain)->jumpAnimationAttribute()->setValue(kxtest::framedAnimation("Jump", 0), true);
    EXPECT_EQ(place(plain)->jumpAnimationNode(), nullptr);
}

TEST_F(CharacterLife, EachStateShowsItsAnimation) {
    values().upForce = ccp(0, 5);
    KXPObjectAssetCharacter* character = place(lookingModel());
    character->setOnGround(true);
    EXPECT_EQ(shown(character), "default");
    character->setDirection(ccp(1, 0));
    EXPECT_EQ(shown(character), "move");
    character->setShooting(true); // state 2 with the run on show keeps the run
    EXPECT_EQ(shown(character), "move");
    character->setDirection(CCPointZero); // state 0, still shooting
    EXPECT_EQ(shown(character), "shooting");
    character->setShooting(true);
    EXPECT_EQ(shown(character), "shooting");
    character->setShooting(false);
    EXPECT_EQ(shown(character), "default");

    // Jumping, and the jump look staying while airborne in states 0 to 2.
    character->jump();
    EXPECT_EQ(shown(character), "jump");
    character->setOnGround(false);
    character->setState(KXPObject::kStateActive);
    EXPECT_EQ(shown(character), "jump");
    character->setDirection(ccp(1, 0));
    EXPECT_EQ(shown(character), "jump");
    character->setShooting(true);
    EXPECT_EQ(shown(character), "jump");
    character->setOnGround(true);
    EXPECT_EQ(shown(character), "move");
    character->setDirection(CCPointZero);
    character->setShooting(false);
    EXPECT_EQ(shown(character), "default");

    // State 0 with the shooting bit still set (the state went back by a landing).
    character->setShooting(true);
    character->setState(KXPObject::kStateActive);
    EXPECT_EQ(shown(character), "shooting");

    // Hidden, or showing a display state's node: nothing of its own.
    character->setVisible(false);
    EXPECT_STREQ(character->shownAnimationName(), "none");
    CCNode* powerupLook = CCNode::create();
    character->pushAnimation(KXPObjectAsset::kDisplayPowerup, powerupLook, nullptr);
    EXPECT_EQ(shown(character), "none");
    EXPECT_TRUE(powerupLook->isVisible());
    character->popAnimation(KXPObjectAsset::kDisplayPowerup, powerupLook, nullptr);
    EXPECT_EQ(shown(character), "shooting");

    character->setShooting(false);
    character->setState(KXPObject::kStateDead);
    EXPECT_EQ(shown(character), "defeated");
    character->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(shown(character), "defeated") << "state 5 changes nothing";
}

TEST_F(CharacterLife, LooksWithoutFramesFallBackToTheDefault) {
    KXPObjectAssetCharacter* character = place(lookingModel(0, 0));
    character->setOnGround(true);
    character->setDirection(ccp(1, 0));
    EXPECT_EQ(shown(character), "default");
    character->setDirection(CCPointZero);
    character->setShooting(true);
    EXPECT_EQ(shown(character), "default");

    auto bare = characterModel();
    KXPObjectAssetCharacter* without = place(bare);
    without->setOnGround(true);
    EXPECT_EQ(shown(without), "none");
    without->setState(KXPObject::kStateDead);
    EXPECT_EQ(without->getState(), KXPObject::kStateRemoved);
}

TEST_F(CharacterLife, InFreeFlightTheJumpLookPlaysOncePerJump) {
    values().upForce = ccp(0, 5);
    // Free flight: once the one-second jump look has played, steering in the air shows the run.
    KXPObjectAssetCharacter* flying = place(lookingModel());
    flying->jump();
    EXPECT_EQ(shown(flying), "jump");
    flying->setDirection(ccp(1, 0));
    EXPECT_EQ(shown(flying), "jump");
    for (int frame = 0; frame < 62; ++frame) {
        flying->update(kFrame);
    }
    EXPECT_FALSE(flying->isOnGround());
    EXPECT_STREQ(flying->shownAnimationName(), "move");

    // Jumps from the ground keep the jump look while airborne.
    values().upForceFromGround = true;
    // (Away from the first: the ground rays would take the other character for ground.)
    KXPObjectAssetCharacter* grounded = place(lookingModel(), ccp(500, 0));
    grounded->setOnGround(true);
    grounded->jump();
    grounded->update(kFrame);
    EXPECT_STREQ(grounded->shownAnimationName(), "jump");
    grounded->setDirection(ccp(1, 0));
    for (int frame = 0; frame < 62; ++frame) {
        grounded->update(kFrame);
    }
    EXPECT_FALSE(grounded->isOnGround());
    EXPECT_STREQ(grounded->shownAnimationName(), "jump");
}

TEST_F(CharacterLife, ShootingLoopsItsSoundUntilReleased) {
    auto model = lookingModel();
    const auto sound = soundNamed("shot");
    assetOf(model)->shootSoundAttribute()->setValue(sound, true);
    KXPObjectAssetCharacter* character = place(model);
    ASSERT_NE(character->shootSound(), nullptr);
    character->setShooting(true);
    EXPECT_EQ(character->getState(), KXPObjectAssetCharacter::kStateShooting);
    EXPECT_NE(character->flags() & KXPObjectAssetCharacter::kFlagShooting, 0);
    EXPECT_TRUE(character->shootSound()->isLooping());
    EXPECT_EQ(character->shootSound()->state(), KXSound::kPlaying);
    character->setShooting(false);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    EXPECT_EQ(character->flags() & KXPObjectAssetCharacter::kFlagShooting, 0);
    EXPECT_FALSE(character->shootSound()->isLooping());
}

TEST_F(CharacterLife, DeathIsRefusedUnderAPowerupAndNothingFollowsTheEnd) {
    auto model = lookingModel();
    const auto defeated = soundNamed("defeated");
    assetOf(model)->defeatedSoundAttribute()->setValue(defeated, true);
    KXPObjectAssetCharacter* character = place(model);
    character->addActivePowerup(nullptr);
    EXPECT_FLOAT_EQ(character->activePowerupLevel(), 100.0f);
    EXPECT_TRUE(character->hasActivePowerups());
    character->setState(KXPObject::kStateDead);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    character->clearActivePowerups();
    EXPECT_FLOAT_EQ(character->activePowerupLevel(), 0.0f);

    character->setState(KXPObject::kStateDead);
    character->setState(KXPObject::kStateDead);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
    EXPECT_EQ(plays(defeated), 1u);
    for (int32_t other : {0, 1, 2, 3}) {
        character->setState(other);
        EXPECT_EQ(character->getState(), KXPObject::kStateDead) << other;
    }
    character->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(character->getState(), KXPObject::kStateRemoved);
    for (int32_t other : {0, 4}) {
        character->setState(other);
        EXPECT_EQ(character->getState(), KXPObject::kStateRemoved) << other;
    }
}

TEST_F(CharacterLife, DeathShowsTheDefeatedLookReleasesShootAndStopsEverything) {
    auto model = lookingModel();
    const auto shot = soundNamed("shot");
    assetOf(model)->shootSoundAttribute()->setValue(shot, true);
    KXPInputController* input = KXPInputController::shared();
    ShootListener listener;
    input->subscribe(KXPInputController::kActionShoot, &listener, callfuncO_selector(ShootListener::heard),
                     0);
    KXPObjectAssetCharacter* character = place(model);
    input->addCharacter(character);
    character->setDirection(ccp(1, 0));
    character->setShooting(true);

    character->setState(KXPObject::kStateDead);
    EXPECT_EQ(listener.calls, 1) << "the shoot action is released";
    EXPECT_TRUE(character->axes().equals(CCPointZero));
    EXPECT_EQ(character->flags() & KXPObjectAssetCharacter::kFlagMoving, 0);
    ASSERT_NE(character->defeatedAnimationNode(), nullptr);
    EXPECT_EQ(character->defeatedAnimationNode()->getParent(), character);
    EXPECT_STREQ(character->shownAnimationName(), "defeated");
    EXPECT_FALSE(character->shootSound()->isLooping());
    EXPECT_FALSE(input->hasLiveCharacters());
    EXPECT_EQ(input->characters().size(), 1u);
    EXPECT_FALSE(character->blocksLight());

    // The defeated look stays on show: the character waits in state 4.
    world->run(120);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
    input->unsubscribe(&listener);
}

TEST_F(CharacterLife, WithoutADefeatedLookTheCharacterLeavesAtOnce) {
    auto model = characterModel();
    assetOf(model)->defeatedAnimationAttribute()->setValue(kxtest::framedAnimation("Nothing", 0), true);
    KXPInputController* input = KXPInputController::shared();
    KXPObjectAssetCharacter* character = place(model);
    input->addCharacter(character);
    // An object riding on the character leaves with it.
    kxtest::TestAsset* rider = kxtest::TestAsset::make(kxtest::boxAssetModel());
    character->addChild(rider);
    std::vector<int32_t> riderStates;
    rider->onSetState = [&](kxtest::TestAsset&, int32_t state) { riderStates.push_back(state); };

    character->setState(KXPObject::kStateDead);
    EXPECT_EQ(character->getState(), KXPObject::kStateRemoved);
    EXPECT_TRUE(debugLines().contains("deathAnimationDidEnd --- "));
    EXPECT_TRUE(input->characters().empty());
    EXPECT_EQ(riderStates, (std::vector<int32_t>{KXPObject::kStateDead, KXPObject::kStateRemoved}));
    world->frame();
    EXPECT_EQ(world->layer->getChildrenCount(), 0u) << "removed by its parent";
}

TEST_F(CharacterLife, SoundsWhoseFilesAreMissingDoNothing) {
    auto model = lookingModel();
    auto asset = assetOf(model);
    const auto jump = soundNamed("jump");
    const auto landing = soundNamed("landing");
    const auto shot = soundNamed("shot");
    const auto defeated = soundNamed("defeated");
    asset->jumpSoundAttribute()->setValue(jump, true);
    asset->groundCollisionAttribute()->setValue(landing, true);
    asset->shootSoundAttribute()->setValue(shot, true);
    asset->defeatedSoundAttribute()->setValue(defeated, true);
    for (const auto& sound : {jump, landing, shot, defeated}) {
        recorder->rejectPath(sound->soundPath());
    }
    values().upForce = ccp(0, 5);
    KXPObjectAssetCharacter* character = place(model);
    character->setOnGround(true);
    character->jump();
    character->setShooting(true);
    character->setShooting(false);
    character->setState(KXPObject::kStateDead);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
    // The one-shot sounds that could not start are gone a frame later.
    frames(2);
    EXPECT_EQ(KXSound::liveSounds().size(), 1u);
    EXPECT_EQ(KXSound::liveSounds().front(), character->shootSound());
}

TEST_F(CharacterLife, ContactsPassOtherCharactersAndSpawnersAndTakeFloorFriction) {
    world->world.SetGravity(b2Vec2(0, -10));
    values().platformFriction = 0.7f;
    kxtest::TestAsset* floor = platform(ccp(0, -30));
    kxtest::TestAsset* wall = platform(ccp(40, 40), CCSize(20, 200));
    kxtest::TestAsset* characterUnit = platform(ccp(-100, -10), CCSize(40, 20), [](kxtest::TestAsset& asset) {
        asset.setType(KXPObject::kTypeCharacter | KXPObject::kTypeUnit);
    });
    KXPObjectAssetCharacter* character = place(characterModel(), ccp(0, 1));
    for (int frame = 0; frame < 30; ++frame) {
        character->getBody()->SetLinearVelocity(b2Vec2(5, character->getBody()->GetLinearVelocity().y));
        world->frame();
    }
    bool sawFloor = false;
    bool sawWall = false;
    for (b2Contact* contact = world->world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        if (!contact->IsTouching()) {
            continue;
        }
        KXPObject* a = KXPBodyData::nodeAs<KXPObject>(contact->GetFixtureA());
        KXPObject* b = KXPBodyData::nodeAs<KXPObject>(contact->GetFixtureB());
        KXPObject* other = a == character ? b : a;
        if (other == floor) {
            sawFloor = true;
            EXPECT_NEAR(contact->GetFriction(), 0.7f, 1e-5f);
        } else if (other == wall) {
            sawWall = true;
            EXPECT_NEAR(contact->GetFriction(), 0.0f, 1e-5f);
        }
    }
    EXPECT_TRUE(sawFloor);
    EXPECT_TRUE(sawWall);
    EXPECT_LE(character->getPositionX(), 20.0f) << "held by the wall";

    // Walking left, the character passes through the object that is both character and unit.
    for (int frame = 0; frame < 120; ++frame) {
        character->getBody()->SetLinearVelocity(b2Vec2(-5, character->getBody()->GetLinearVelocity().y));
        world->frame();
    }
    EXPECT_LT(character->getPositionX(), -140.0f);
    EXPECT_GT(characterUnit->preSolves, 0);
}

TEST_F(CharacterLife, TheCharacterDamagesWhatItTouchesUntilItIsDefeated) {
    auto model = lookingModel();
    auto damage = createModel<KXModelComponentDamage>();
    damage->setDamage(1);
    assetOf(model)->addChild(damage, true);
    KXPObjectAssetCharacter* character = place(model);
    auto enemy = [&] {
        kxtest::TestAsset* unit =
            world->place(kxtest::boxAssetModel(), ccp(300, 0), [](kxtest::TestAsset& asset) {
                asset.setType(KXPObject::kTypeUnit);
                asset.setDestroyMode(KXPObjectAsset::kDestroyCollision);
            });
        return unit;
    };
    kxtest::TestAsset* first = enemy();
    character->beginContact(first, nullptr, true);
    EXPECT_TRUE(first->willDieNextUpdate());

    kxtest::TestAsset* second = enemy();
    character->setState(KXPObject::kStateDead);
    character->beginContact(second, nullptr, true);
    EXPECT_FALSE(second->willDieNextUpdate());
}

TEST_F(CharacterLife, ShadowsAndGameplayValuesComeFromTheAsset) {
    auto model = characterModel();
    auto asset = assetOf(model);
    auto gameplay = createModel<KXModelComponentCharacterGameplaySettings>();
    asset->addChild(gameplay, true);
    asset->castShadowAttribute()->setValue(true, true);
    values().moveSpeed = ccp(123, 456);
    KXPObjectAssetCharacter* character = place(model);
    EXPECT_TRUE(character->blocksLight());
    EXPECT_TRUE(values().moveSpeed.equals(gameplay->maxSpeed()));
    asset->castShadowAttribute()->setValue(false, true);
    EXPECT_FALSE(character->blocksLight());
    EXPECT_EQ(character->getType(), static_cast<uint32_t>(KXPObject::kTypeCharacter));
    EXPECT_EQ(character->getCollisionType(), KXPObjectAsset::kCollisionCharacter);
    EXPECT_EQ(character->getDestroyType(), KXPObjectAsset::kDestroyEnemyCollision);
    EXPECT_TRUE(character->isAwake());
    EXPECT_EQ(character->getBody()->GetType(), b2_dynamicBody);
    const b2Filter filter = character->getBody()->GetFixtureList()->GetFilterData();
    EXPECT_EQ(filter.categoryBits, 0x0002);
    EXPECT_EQ(filter.maskBits, 0x0001);
    EXPECT_EQ(filter.groupIndex, -1);
}

TEST_F(CharacterLife, TheFactoryMakesARegisteredCharacter) {
    auto model = characterModel();
    KXPObjectAsset* made = KXPObjectAsset::create(model);
    auto* character = dynamic_cast<KXPObjectAssetCharacter*>(made);
    ASSERT_NE(character, nullptr);
    const std::vector<KXPControlledCharacter*>& registered = KXPInputController::shared()->characters();
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered.front()->characterObject(), character);
    EXPECT_TRUE(debugLines().contains("character created"));
}

} // namespace
