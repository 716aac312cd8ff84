// The live gameplay values: start values, scene and character fills, nested save and restore
// with their text forms, the powerup's writes, the gameplay direction and the visible offset.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/base/KXPGameplaySettings.h"
#include "support/comma_locale.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/state_guards.h"

using cocos2d::CCPoint;

namespace {

class GameplaySettings : public ::testing::Test {
protected:
    kxtest::ScopedGameplayTarget sharedTarget;

    void SetUp() override {
        resetModelCore();
        KXModelGeneralSettings::resetShared();
    }
    void TearDown() override {
        cocos2d::CCDirector::sharedDirector()->purgeDirector();
        KXModelGeneralSettings::resetShared();
        resetModelCore();
    }

    static std::unique_ptr<KXPGameplaySettings> record() {
        return std::make_unique<KXPGameplaySettings>(KXModelGeneralSettings::shared());
    }
};

void expectPoint(const CCPoint& actual, float x, float y) {
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
}

TEST_F(GameplaySettings, StartValuesComeFromTheGeneralSettings) {
    auto values = record();
    expectPoint(values->getGravity(), 0, -50);
    expectPoint(values->getUpForce(), 0, 5);
    expectPoint(values->getCharacterFriction(), 0.8f, 1.0f);
    EXPECT_FLOAT_EQ(values->getUpForceDuration(), 0.25f);
    // "Velocity Scale" 1 is stored as a drag: nothing of the velocity remains until a scene says.
    EXPECT_FLOAT_EQ(values->getVelocityScale(), 0.0f);
    EXPECT_FLOAT_EQ(values->getSimulationTimeScale(), 1.0f);
    EXPECT_FLOAT_EQ(values->getGameSpeed(), 3.0f);
    EXPECT_FLOAT_EQ(values->getGameSpeedMax(), 10.0f);
    EXPECT_FLOAT_EQ(values->getBackDeletionThreshold(), 300.0f);
    EXPECT_FLOAT_EQ(values->getSidesDeletionThreshold(), 550.0f);
    EXPECT_TRUE(values->getForcedMovement());
    EXPECT_FALSE(values->getDirectMovement());

    auto settings = KXModelGeneralSettings::shared();
    settings->gameplayDefaults().velocityScale = 0.25f;
    settings->gameplayDefaults().directMovement = true;
    settings->gameAngleDirectionAttribute()->setValue(45.0f, true);
    auto changed = record();
    EXPECT_FLOAT_EQ(changed->getVelocityScale(), 0.75f);
    EXPECT_TRUE(changed->getDirectMovement());
    EXPECT_FLOAT_EQ(changed->getGameplayAngleDirection(), 45.0f);
}

TEST_F(GameplaySettings, SceneAndCharacterEachWriteTheirOwnValues) {
    auto values = record();
    auto scene = std::static_pointer_cast<KXModelScreenScene>(KXModelScreenScene::create());
    scene->gravityAttribute()->setValue(CCPoint(0, -30), true);
    scene->timeWarpAttribute()->setValue(0.5f, true);
    scene->velocityDragAttribute()->setValue(0.9f, true);
    scene->bounceAttribute()->setValue(0.3f, true);
    scene->gameDirectionAttribute()->setValue(180.0f, true);
    scene->gameSpeedMinAttribute()->setValue(4.0f, true);
    scene->backDeletionThresholdAttribute()->setValue(120.0f, true);
    values->loadSceneSettings(scene.get());
    expectPoint(values->getGravity(), 0, -30);
    EXPECT_FLOAT_EQ(values->getSimulationTimeScale(), 0.5f);
    EXPECT_FLOAT_EQ(values->getVelocityScale(), 0.9f);
    EXPECT_FLOAT_EQ(values->getRestitution(), 0.3f);
    EXPECT_FLOAT_EQ(values->getGameplayAngleDirection(), 180.0f);
    EXPECT_FLOAT_EQ(values->getGameSpeedMin(), 4.0f);
    EXPECT_FLOAT_EQ(values->getBackDeletionThreshold(), 120.0f);
    // Not a scene value: the start value stays.
    expectPoint(values->getUpForce(), 0, 5);

    auto character = std::static_pointer_cast<KXModelComponentCharacterGameplaySettings>(
        KXModelComponentCharacterGameplaySettings::create());
    attributeOf<KXAttributePoint>(*character, "Max Speed")->setValue(CCPoint(7, 8), true);
    attributeOf<KXAttributePoint>(*character, "Jump Force")->setValue(CCPoint(0, 12), true);
    attributeOf<KXAttributePoint>(*character, "Air Drag")->setValue(CCPoint(0.5f, 0.6f), true);
    attributeOf<KXAttributeFloat>(*character, "Rotation Drag")->setValue(0.4f, true);
    attributeOf<KXAttributeBool>(*character, "Direct Movement")->setValue(true, true);
    values->loadCharacterSettings(character.get());
    expectPoint(values->getMoveSpeed(), 7, 8);
    expectPoint(values->getUpForce(), 0, 12);
    expectPoint(values->getCharacterFriction(), 0.5f, 0.6f);
    EXPECT_FLOAT_EQ(values->getRotationScale(), 0.4f);
    EXPECT_TRUE(values->getDirectMovement());
    EXPECT_EQ(values->getForcedMovement(), character->forcedMovement());
    // Not a character value: the scene's stays.
    expectPoint(values->getGravity(), 0, -30);

    values->loadCharacterSettings(nullptr);
    expectPoint(values->getMoveSpeed(), 7, 8);
}

TEST_F(GameplaySettings, NestedSavesRestoreTheValuesFromBeforeTheFirst) {
    auto values = record();
    values->setMoveSpeed(1, 2);
    values->setFriction(0.5f);
    values->saveValues();
    values->setMoveSpeed(3, 4);
    values->saveValues(); // inner: must not overwrite the first save
    values->setMoveSpeed(5, 6);
    values->setFriction(0.9f);

    values->restoreValues(); // inner restore: nothing
    expectPoint(values->getMoveSpeed(), 5, 6);
    values->restoreValues();
    expectPoint(values->getMoveSpeed(), 1, 2);
    EXPECT_FLOAT_EQ(values->getFriction(), 0.5f);
    EXPECT_EQ(values->saveNesting(), 0);

    // Unbalanced restores change nothing and leave the nesting at 0.
    values->setMoveSpeed(9, 9);
    values->restoreValues();
    EXPECT_EQ(values->saveNesting(), 0);
    expectPoint(values->getMoveSpeed(), 9, 9);
}

TEST_F(GameplaySettings, ANewSceneCutsOffAnOldPowerupsRestore) {
    auto values = record();
    values->saveValues();
    values->setGravity(CCPoint(0, -10));
    values->resetSaveNesting();
    values->restoreValues();
    expectPoint(values->getGravity(), 0, -10);
}

TEST_F(GameplaySettings, ASaveAfterANewSceneKeepsTheValuesStillOwed) {
    auto values = record();
    values->setMoveSpeed(1, 2);
    values->saveValues(); // a powerup of the old game
    values->setMoveSpeed(50, 50);
    values->resetSaveNesting(); // a menu opens
    values->saveValues();       // a powerup used on it
    values->setMoveSpeed(7, 7);
    values->restoreValues();
    expectPoint(values->getMoveSpeed(), 1, 2);
    EXPECT_EQ(values->saveNesting(), 0);
}

TEST_F(GameplaySettings, SavedTextFormsReadBackExactlyInAnyLocale) {
    CommaDecimalLocale comma;
    auto values = record();
    values->setGravity(CCPoint(0, -50));
    values->setBounceForce(CCPoint(1.23456f, -2.0f));
    values->setFriction(0.1234567f);
    values->setScoreMultiplier(2.5f);
    values->setUpForceFromGround(true);
    values->setFixedRotation(true);
    values->setGroundThreshold(0.5f);
    values->saveValues();

    values->setGravity(CCPoint(3, 3));
    values->setBounceForce(CCPoint(0, 0));
    values->setFriction(0);
    values->setScoreMultiplier(0);
    values->setUpForceFromGround(false);
    values->setFixedRotation(false);
    values->setGroundThreshold(0.75f);
    values->restoreValues();

    expectPoint(values->getGravity(), 0, -50);
    // Points keep three decimals, floats the six of "%f".
    expectPoint(values->getBounceForce(), 1.235f, -2.0f);
    EXPECT_FLOAT_EQ(values->getFriction(), 0.123457f);
    EXPECT_FLOAT_EQ(values->getScoreMultiplier(), 2.5f);
    EXPECT_TRUE(values->getUpForceFromGround());
    EXPECT_TRUE(values->getFixedRotation());
    // Not saved: keeps what was set last.
    EXPECT_FLOAT_EQ(values->getGroundThreshold(), 0.75f);
}

TEST_F(GameplaySettings, PowerupWritesIntoTheSharedRecordUntilItsRestore) {
    KXPGameplaySettings* values = KXPGameplaySettings::shared();
    ASSERT_EQ(KXPGameplaySettings::shared(), values);
    // An earlier test may have made the shared record, left values in it and cleared the target.
    KXGameplayValuesTarget::setShared(values);
    values->restoreAllValues();
    values->setFixedRotation(false);
    values->setMoveSpeed(1, 1);
    values->setCharacterFriction(CCPoint(0.9f, 0.9f));
    values->setSimulationTimeScale(1.5f);

    auto powerup = std::static_pointer_cast<KXModelAssetPowerup>(KXModelAssetPowerup::create());
    powerup->maxSpeedAttribute()->setValue(CCPoint(30, 60), true);
    powerup->airDragAttribute()->setValue(CCPoint(20, 50), true);
    powerup->timeWarpAttribute()->setValue(50.0f, true);
    powerup->fixedRotationAttribute()->setValue(true, true);
    powerup->applyGameplayValues();
    expectPoint(values->getMoveSpeed(), 10, 20);
    expectPoint(values->getCharacterFriction(), 0.8f, 0.5f);
    EXPECT_FLOAT_EQ(values->getSimulationTimeScale(), 1.0f);
    EXPECT_TRUE(values->getFixedRotation());

    values->restoreValues();
    expectPoint(values->getMoveSpeed(), 1, 1);
    expectPoint(values->getCharacterFriction(), 0.9f, 0.9f);
    EXPECT_FLOAT_EQ(values->getSimulationTimeScale(), 1.5f);
    EXPECT_FALSE(values->getFixedRotation());
}

TEST_F(GameplaySettings, DirectionIsMeasuredClockwise) {
    auto values = record();
    values->setGameplayAngleDirection(90.0f);
    CCPoint down = values->getGameplayDirection();
    EXPECT_NEAR(down.x, 0.0f, 1e-6f);
    EXPECT_NEAR(down.y, -1.0f, 1e-6f);
    values->setGameplayAngleDirection(0.0f);
    expectPoint(values->getGameplayDirection(), 1, 0);
}

TEST_F(GameplaySettings, VisibleOffsetIsTheCroppedMarginWithoutBorders) {
    cocos2d::CCEGLViewProtocol view;
    view.setFrameSize(1024, 768);
    view.setDesignResolutionSize(1136, 640, cocos2d::kResolutionNoBorder);
    cocos2d::CCDirector::sharedDirector()->setOpenGLView(&view);
    // Scale max(1024 / 1136, 768 / 640) = 1.2; the window is narrower than the design, so the
    // design loses (1136 - 1024 / 1.2) / 2 on each side.
    CCPoint offset = visibleAreaOffset();
    EXPECT_NEAR(offset.x, (1024.0f / 1.2f - 1136.0f) * 0.5f, 1e-3f);
    EXPECT_FLOAT_EQ(offset.y, 0.0f);

    view.setFrameSize(2272, 640);
    view.setDesignResolutionSize(1136, 640, cocos2d::kResolutionNoBorder);
    // Scale 2: the window is wider, so the top and bottom are cropped: (640 / 2 - 640) / 2.
    offset = visibleAreaOffset();
    EXPECT_FLOAT_EQ(offset.x, 0.0f);
    EXPECT_FLOAT_EQ(offset.y, -160.0f);

    view.setDesignResolutionSize(1136, 640, cocos2d::kResolutionShowAll);
    offset = visibleAreaOffset();
    EXPECT_EQ(offset, cocos2d::CCDirector::sharedDirector()->contentOffset());
    cocos2d::CCDirector::sharedDirector()->setOpenGLView(nullptr);
}

} // namespace
