// An asset object's own sound: looping while the object is near the screen centre, its volume
// falling with the distance, stopped far away and when the object leaves state 0, and gone
// without harm when a screen change deletes the game's sounds.

#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/references/KXAttributeSound.h"
#include "player/app/KXPScreensController.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "support/asset_world_support.h"
#include "support/field_test_support.h"
#include "support/sound_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cocos2d;

namespace {

class AssetSound : public kxtest::SoundTest {
protected:
    void SetUp() override {
        kxtest::SoundTest::SetUp();
        KXPGameplaySettings::shared()->setGameplayAngleDirection(0.0f);
    }
    void TearDown() override {
        KXPInputController::purgeShared();
        kxtest::SoundTest::TearDown();
    }

    // A powerup-like object whose own sound is `hum`.
    static KXPObjectAsset* humming(const std::shared_ptr<KXModelSound>& hum) {
        std::shared_ptr<KXModelAssetPowerup> asset = createModel<KXModelAssetPowerup>();
        asset->idleSoundAttribute()->setValue(hum);
        std::shared_ptr<KXModelObjectAssetPowerup> model = createModel<KXModelObjectAssetPowerup>();
        model->setAsset(asset);
        return kxtest::TestAsset::make(model);
    }
};

TEST_F(AssetSound, TheOwnSoundFollowsTheDistanceFromTheScreenCentre) {
    KXPObjectAsset* object = humming(soundModel());
    ASSERT_NE(object->ownSound(), nullptr);
    EXPECT_EQ(object->ownSound()->group(), KXSound::kGameObjectGroup);
    // Without a layer nothing is measured and nothing plays.
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_EQ(object->ownSound()->state(), KXSound::kStopped);

    // The window is 1000 x 500: the centre is (500, 250) and silence begins 800 points away.
    CCNode* layer = CCNode::create();
    object->setObjectLayer(layer);
    object->setPosition(ccp(500, 0));
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_EQ(object->ownSound()->state(), KXSound::kPlaying);
    EXPECT_TRUE(object->ownSound()->isLooping());
    EXPECT_NEAR(object->ownSound()->getVolume(), 1.0f, 1e-4f);

    object->setPosition(ccp(100, 0));
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_NEAR(object->ownSound()->getVolume(), 0.5f, 1e-4f);
    layer->setPosition(ccp(-300, 0)); // the view moved on: 700 points behind its centre
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_NEAR(object->ownSound()->getVolume(), 0.125f, 1e-4f);

    object->setPosition(ccp(-1000, 0));
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_EQ(object->ownSound()->state(), KXSound::kStopped);

    // Back in range it plays again, but not once the object left state 0.
    object->setPosition(ccp(800, 0));
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_EQ(object->ownSound()->state(), KXSound::kPlaying);
    object->setState(1);
    EXPECT_EQ(object->ownSound()->state(), KXSound::kStopped);
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_EQ(object->ownSound()->state(), KXSound::kStopped);

    // A screen change may delete every game sound: the object goes on without one.
    KXSound::stopGroup(KXSound::kGameObjectGroup, true);
    EXPECT_EQ(object->ownSound(), nullptr);
    object->setState(0);
    object->updateSoundVolume(kxtest::kFrame);
}

TEST_F(AssetSound, OnceNoCharacterLivesTheSoundFadesOut) {
    KXPObjectAsset* object = humming(soundModel());
    object->setObjectLayer(CCNode::create());
    object->setPosition(ccp(500, 250));
    kxtest::FakeCharacter* hero = kxtest::FakeCharacter::create();
    KXPInputController::shared()->addCharacter(hero);
    object->updateSoundVolume(kxtest::kFrame);
    EXPECT_NEAR(object->ownSound()->getVolume(), 1.0f, 1e-4f);

    hero->setState(KXPObject::kStateDead);
    for (int frame = 1; frame <= 30; ++frame) {
        object->updateSoundVolume(kxtest::kFrame);
        ASSERT_EQ(object->ownSound()->state(), KXSound::kPlaying);
        EXPECT_NEAR(object->ownSound()->getVolume(), 1.0f - frame * kxtest::kFrame, 1e-3f);
    }
    object->updateSoundVolume(1.0f);
    EXPECT_EQ(object->ownSound()->state(), KXSound::kStopped);
    KXPInputController::shared()->reset();
}

// Once the game is over the field no longer steps its objects, yet units' sounds go on fading,
// spawned copies (a unit kind with one more bit) among them.
TEST_F(AssetSound, AfterGameOverUnitsAndTheirCopiesStillFade) {
    KXPScreensController::shared()->setCurrentSceneKey("sound-field");
    KXBaseModelScreenScene::findOrCreateByKey("sound-field")->gravityAttribute()->setValue(CCPointZero, true);
    KXPScreenScene* field = KXPScreenScene::create();
    ASSERT_NE(field, nullptr);
    field->retain();
    kxtest::FakeCharacter* hero = kxtest::FakeCharacter::create();
    field->getInputController()->addCharacter(hero);
    std::vector<KXPObjectAsset*> units;
    const uint32_t unit = KXPObject::kTypeUnit;
    for (uint32_t type : {unit, unit | KXPObject::kTypeSpawnedCopy}) {
        KXPObjectAsset* object = humming(soundModel());
        object->setType(type);
        field->getObjectLayer()->addChild(object);
        object->setObjectLayer(field->getObjectLayer());
        object->setPosition(ccp(500, 250));
        object->updateSoundVolume(kxtest::kFrame);
        ASSERT_NEAR(object->ownSound()->getVolume(), 1.0f, 1e-4f) << type;
        units.push_back(object);
    }
    hero->setState(KXPObject::kStateDead);
    field->setGameOver(true);
    ASSERT_TRUE(field->isGameOver());
    field->update(0.25f);
    for (KXPObjectAsset* object : units) {
        EXPECT_NEAR(object->ownSound()->getVolume(), 0.75f, 1e-4f) << object->getType();
    }
    field->release();
    KXPScreensController::shared()->reset();
}

} // namespace
