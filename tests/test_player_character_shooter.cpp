// The player character's shooter: the invisible gun unit built from the "Bullet Animation" that
// rides on the character, and, on a running game field, the bullets it fires while shoot is held
// that knock enemies out, stopping when the character dies.

#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "support/character_test_support.h"
#include "support/unit_test_support.h"

#include <gtest/gtest.h>

#include <climits>

using namespace cocos2d;

namespace {

std::shared_ptr<KXModelObjectAssetCharacter> gunnerModel() {
    auto model = kxtest::characterModel();
    auto asset = model->characterAsset();
    asset->bulletAnimationAttribute()->setValue(kxtest::pictureAnimation("Pellet", CCSize(12, 8)), true);
    asset->defeatedAnimationAttribute()->setValue(kxtest::framedAnimation("Down", 1), true);
    return model;
}

class CharacterShooter : public kxtest::CharacterTest {};

TEST_F(CharacterShooter, TheGunIsAnInvisibleShootingSpawnerRidingOnTheCharacter) {
    auto model = gunnerModel();
    auto damage = createModel<KXModelComponentDamage>();
    damage->setDamage(3);
    damage->setDamageDelay(0.5f);
    model->characterAsset()->addChild(damage, true);
    auto* character = new KXPObjectAssetCharacter(model);
    character->autorelease();
    world->layer->addChild(character, 6);
    character->setObjectLayer(world->layer);
    character->addToWorld(&world->world, true);

    auto* gun = dynamic_cast<KXPObjectAssetUnit*>(character->shooter());
    ASSERT_NE(gun, nullptr);
    EXPECT_EQ(gun->getParent(), character);
    EXPECT_EQ(gun->getType(), static_cast<uint32_t>(KXPObject::kTypeCharacter));
    EXPECT_TRUE(gun->isSpawner());
    EXPECT_EQ(gun->getObjectLayer(), world->layer);
    ASSERT_NE(gun->getBody(), nullptr);
    EXPECT_TRUE(gun->getBody()->GetFixtureList()->IsSensor());

    const std::shared_ptr<KXModelObjectAssetUnit> unit = gun->unitModel();
    EXPECT_EQ(unit->zDepth(), 5);
    EXPECT_TRUE(unit->linearVelocity().equals(ccp(60, 0)));
    EXPECT_EQ(unit->collisionType(), "kNoCollision");
    EXPECT_EQ(unit->destroyType(), "kDestroyEnemyCollision");
    EXPECT_EQ(unit->movementType(), "kMovementLinear");
    EXPECT_EQ(unit->spawnAction(), "kShootingSpawning");
    EXPECT_FLOAT_EQ(unit->spawnRate(), 0.25f);
    const std::shared_ptr<KXModelAssetObstacle> bullet = unit->assetObstacle();
    ASSERT_TRUE(bullet);
    EXPECT_EQ(bullet->name(), "Pellet");
    EXPECT_EQ(bullet->idleAnimation(), model->characterAsset()->bulletAnimationAttribute()->value());
    std::shared_ptr<KXModelComponentDamage> copied;
    for (const auto& child : bullet->children()) {
        copied = copied ? copied : modelCast<KXModelComponentDamage>(child);
    }
    ASSERT_TRUE(copied);
    EXPECT_NE(copied, damage);
    EXPECT_EQ(copied->damage(), 3);
    EXPECT_FLOAT_EQ(copied->damageDelay(), 0.5f);

    // The gun dies with the character, and leaves with it.
    character->setState(KXPObject::kStateDead);
    EXPECT_GE(gun->getState(), KXPObject::kStateDead);
    character->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(gun->getState(), KXPObject::kStateRemoved);
}

TEST_F(CharacterShooter, TheGunOfACharacterAtTheLowestDepthWrapsToTheHighest) {
    auto* character = new KXPObjectAssetCharacter(gunnerModel());
    character->autorelease();
    world->layer->addChild(character, INT_MIN);
    character->setObjectLayer(world->layer);
    character->addToWorld(&world->world, true);
    auto* gun = dynamic_cast<KXPObjectAssetUnit*>(character->shooter());
    ASSERT_NE(gun, nullptr);
    EXPECT_EQ(gun->unitModel()->zDepth(), INT_MAX);
}

TEST_F(CharacterShooter, NoGunWithoutBulletFrames) {
    auto model = characterModel();
    model->characterAsset()->bulletAnimationAttribute()->setValue(kxtest::framedAnimation("Empty", 0), true);
    EXPECT_EQ(place(model)->shooter(), nullptr);
    EXPECT_EQ(place(characterModel())->shooter(), nullptr);
}

// A running game field without gravity or speed, 1000 x 500 points of window.
class CharacterShooterField : public kxtest::SceneTest {
protected:
    std::unique_ptr<KXDebugLogCapture> log;
    KXPScreenScene* scene = nullptr;
    KXGameplayValues saved;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        log.reset(new KXDebugLogCapture());
        resetModelCore();
        saved = KXPGameplaySettings::shared()->gameplayValues();
        KXPScreensController::shared()->setCurrentSceneKey("shooter-field");
        auto model = KXBaseModelScreenScene::findOrCreateByKey("shooter-field");
        model->gravityAttribute()->setValue(CCPointZero, true);
        CCScene* holder = KXPScreenScene::createScene();
        ASSERT_NE(holder, nullptr);
        director()->runWithScene(holder);
        frames(1);
        scene = dynamic_cast<KXPScreenScene*>(holder->getChildByTag(0));
        ASSERT_NE(scene, nullptr);
        KXGameplayValues& values = KXPGameplaySettings::shared()->gameplayValues();
        values.gameSpeed = values.gameSpeedMin = values.gameSpeedMax = values.gameSpeedIncrease = 0.0f;
        values.simulationTimeScale = 1.0f;
        values.velocityScale = 1.0f;
        values.gameplayAngleDirection = 0.0f;
    }
    void TearDown() override {
        kxtest::SceneTest::TearDown();
        KXPScreensController::shared()->reset();
        KXPInputController::purgeShared();
        KXPGameplaySettings::shared()->gameplayValues() = saved;
        resetModelCore();
        log.reset();
    }

    CCNode* layer() const { return scene->getObjectLayer(); }
    CCPoint onScreen(float x, float y) const { return ccp(x, y) - layer()->getPosition(); }
    void frame() {
        scene->update(1.0f / 60.0f);
        CCPoolManager::sharedPoolManager()->pop();
    }
    int bullets() const {
        int count = 0;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(layer()->getChildren(), item) {
            auto* unit = dynamic_cast<KXPObjectAssetUnit*>(item);
            count += unit != nullptr && (unit->getType() & KXPObject::kTypeSpawnedCopy) != 0 ? 1 : 0;
        }
        return count;
    }
};

TEST_F(CharacterShooterField, HeldShootFiresBulletsThatKnockEnemiesOutUntilTheCharacterDies) {
    auto* character = new KXPObjectAssetCharacter(gunnerModel());
    character->autorelease();
    character->setPosition(onScreen(200, 200));
    layer()->addChild(character, 5);
    character->setObjectLayer(layer());
    character->addToWorld(scene->getWorld(), true);
    KXPInputController* input = KXPInputController::shared();
    input->addCharacter(character);

    auto enemyModel = kxtest::unitModel("Crab", "kEnemyObjectType");
    auto* enemy = new KXPObjectAssetUnit(enemyModel);
    enemy->autorelease();
    enemy->setPosition(onScreen(700, 200));
    layer()->addChild(enemy, 5);
    enemy->setObjectLayer(layer());
    enemy->addToWorld(scene->getWorld(), true);
    enemy->retain();

    for (int frame = 0; frame < 10; ++frame) {
        this->frame();
    }
    EXPECT_EQ(bullets(), 0);
    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    EXPECT_EQ(character->getState(), KXPObjectAssetCharacter::kStateShooting);
    int fired = 0;
    for (int frame = 0; frame < 30; ++frame) {
        const int before = bullets();
        this->frame();
        fired += bullets() > before ? 1 : 0;
    }
    // One at once, then one every quarter of a second.
    EXPECT_EQ(fired, 2);
    EXPECT_GE(enemy->getState(), KXPObject::kStateDead);
    enemy->release();

    character->setState(KXPObject::kStateDead);
    for (int frame = 0; frame < 60; ++frame) {
        this->frame();
    }
    EXPECT_EQ(bullets(), 0) << "the dead character's gun is silent";
}

TEST_F(CharacterShooterField, AGunThatLeftWithItsDyingCharacterFiresNoMore) {
    auto* character = new KXPObjectAssetCharacter(gunnerModel());
    character->autorelease();
    character->setPosition(onScreen(200, 200));
    layer()->addChild(character, 5);
    character->setObjectLayer(layer());
    character->addToWorld(scene->getWorld(), true);
    KXPInputController* input = KXPInputController::shared();
    input->addCharacter(character);
    auto* gun = dynamic_cast<KXPObjectAssetUnit*>(character->shooter());
    ASSERT_NE(gun, nullptr);
    for (int frame = 0; frame < 5; ++frame) {
        this->frame();
    }

    // Shoot pressed (the gun due at once) and the character killed before the next update: the
    // gun leaves with it, so the release that comes with the death no longer reaches it.
    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    character->setState(KXPObject::kStateDead);
    ASSERT_EQ(character->getState(), KXPObject::kStateDead) << "its defeated look plays on";
    ASSERT_EQ(gun->getState(), KXPObject::kStateRemoved);
    for (int frame = 0; frame < 3; ++frame) {
        this->frame();
        EXPECT_EQ(bullets(), 0) << "frame " << frame;
    }
}

} // namespace
