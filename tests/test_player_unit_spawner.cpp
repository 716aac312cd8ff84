// Unit spawners: the spawn actions and the input they follow, the still sensor a spawner is,
// spawners silenced inside copies, and on a running game field the copies themselves: where
// they appear, the interval of resetting and non-resetting shooters, no copy while the world is
// locked or away from the field, and copies that leave the screen going for good.

#include "model/KXDebugLog.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/field/KXPSpawnPlacement.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/objects/assets/KXPSpawnBudget.h"
#include "support/asset_world_support.h"
#include "support/field_test_support.h"
#include "support/scene_test_support.h"
#include "support/unit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::AssetWorld;

namespace {

KXPObjectAssetUnit* makeUnit(const std::shared_ptr<KXModelObjectAssetUnit>& model) {
    KXPObjectAssetUnit* unit = dynamic_cast<KXPObjectAssetUnit*>(KXPObjectAsset::create(model));
    if (unit != nullptr) {
        unit->setSpawner(model->isSpawner());
    }
    return unit;
}

// A still enemy (so that its copies stay where they appear) that spawns with that action.
std::shared_ptr<KXModelObjectAssetUnit> spawnerModel(const std::string& name, const std::string& action,
                                                     float rate) {
    auto model = kxtest::unitModel(name, "kEnemyObjectType");
    kxtest::addSpawner(*model, action, rate);
    return model;
}

class UnitSpawner : public kxtest::AssetTest {
protected:
    std::unique_ptr<KXDebugLogCapture> log;

    void SetUp() override {
        kxtest::AssetTest::SetUp();
        log.reset(new KXDebugLogCapture());
    }
    void TearDown() override {
        KXPInputController::purgeShared();
        log.reset();
        kxtest::AssetTest::TearDown();
    }
};

TEST_F(UnitSpawner, SpawnActionsChooseTheInputASpawnerFollows) {
    KXPInputController* input = KXPInputController::shared();
    KXPObjectAssetUnit* always = makeUnit(spawnerModel("Always", "kPermanentSpawning", 1.0f));
    KXPObjectAssetUnit* shooter = makeUnit(spawnerModel("Shooter", "kShootingSpawning", 1.0f));
    KXPObjectAssetUnit* jumper = makeUnit(spawnerModel("Jumper", "kJumpingSpawning", 1.0f));
    KXPObjectAssetUnit* keeper = makeUnit(spawnerModel("Keeper", "kNonResetShootingSpawning", 1.0f));
    KXPObjectAssetUnit* silent = makeUnit(spawnerModel("Silent", "kSometimesSpawning", 1.0f));

    EXPECT_TRUE(always->isSpawner());
    EXPECT_TRUE(always->isSpawning());
    EXPECT_FALSE(always->idleAnimation()->isVisible());
    EXPECT_TRUE(shooter->isResettingSpawner());
    EXPECT_FALSE(keeper->isResettingSpawner());
    EXPECT_TRUE(log->contains("[KXPObjectAssetUnit] unknown Spawn Action \"kSometimesSpawning\", using 0"));

    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    EXPECT_TRUE(shooter->isSpawning());
    EXPECT_TRUE(keeper->isSpawning());
    EXPECT_FALSE(jumper->isSpawning());
    EXPECT_FALSE(silent->isSpawning());
    input->actionReleased(KXPInputController::kActionShoot, nullptr);
    EXPECT_FALSE(shooter->isSpawning());
    input->actionPressed(KXPInputController::kActionJump, nullptr);
    EXPECT_TRUE(jumper->isSpawning());
    EXPECT_FALSE(silent->isSpawning());
    input->actionReleased(KXPInputController::kActionJump, nullptr);

    // Back to a plain unit: it shows itself and no longer follows the input.
    shooter->setSpawner(false);
    EXPECT_TRUE(shooter->idleAnimation()->isVisible());
    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    EXPECT_FALSE(shooter->isSpawning());
    EXPECT_TRUE(keeper->isSpawning());
    input->actionReleased(KXPInputController::kActionShoot, nullptr);
    // A removed spawner leaves the input controller too.
    keeper->setState(KXPObject::kStateRemoved);
    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    EXPECT_FALSE(keeper->isSpawning());
}

TEST_F(UnitSpawner, ASpawnerIsAStillSensorAndSpawnersInsideACopyFallSilent) {
    AssetWorld field;
    KXPObjectAssetUnit* cannon = makeUnit(spawnerModel("Cannon", "kPermanentSpawning", 1.0f));
    field.add(cannon, ccp(0, 0));
    ASSERT_NE(cannon->getBody(), nullptr);
    EXPECT_TRUE(cannon->getBody()->GetFixtureList()->IsSensor());
    cannon->wakeUp();
    EXPECT_TRUE(cannon->isAwake());
    EXPECT_FALSE(cannon->isStartMotionPending());
    field.frame();
    EXPECT_EQ(cannon->getBody()->GetType(), b2_staticBody);
    // No game field runs here: nothing is placed, and the countdown waits for one.
    EXPECT_EQ(field.layer->getChildrenCount(), 1u);
    EXPECT_FLOAT_EQ(cannon->spawnCountdown(), 0.0f);

    // A ship whose look carries a cannon: the ship's copies carry silent cannons.
    auto ship = kxtest::unitModel("Ship", "kEnemyObjectType");
    auto turret = spawnerModel("Turret", "kPermanentSpawning", 1.0f);
    ship->assetObstacle()->idleAnimation()->addChild(turret, true);
    KXPObjectAssetUnit* placed = makeUnit(ship);
    KXPObjectAssetUnit* nested = nullptr;
    for (int index = 0; index < placed->idleAnimation()->entryCount(); ++index) {
        if (auto* unit = dynamic_cast<KXPObjectAssetUnit*>(placed->idleAnimation()->childNodeAt(index))) {
            nested = unit;
        }
    }
    ASSERT_NE(nested, nullptr);
    EXPECT_TRUE(nested->isSpawner());
    EXPECT_EQ(turret->zDepth(), -1); // drawn behind what carries it
    placed->setType(placed->getType() | KXPObject::kTypeSpawnedCopy);
    EXPECT_FALSE(nested->isSpawner());
}

TEST_F(UnitSpawner, ACopyTakesItsSpawnersTransformInTheLayerAndSitsAboveWhatCarriesIt) {
    AssetWorld field;
    field.layer->setPosition(ccp(-100, 40));
    CCNode* carrier = CCNode::create();
    carrier->setPosition(ccp(300, 100));
    carrier->setRotation(30.0f);
    field.layer->addChild(carrier, 5);
    KXPObjectAssetUnit* cannon = makeUnit(spawnerModel("Cannon", "kPermanentSpawning", 1.0f));
    cannon->setPosition(ccp(20, 0));
    cannon->setRotation(15.0f);
    cannon->setScaleX(-2.0f); // mirrored: it fires the other way
    carrier->addChild(cannon);

    auto shotModel = kxtest::unitModel("Shot", "kEnemyObjectType", CCSize(10, 10));
    KXPObjectAssetUnit* shot = makeUnit(shotModel);
    shot->setZOrder(3);
    KXPSpawnPlacement::place(field.layer, &field.world, shot, cannon);
    EXPECT_EQ(shot->getParent(), field.layer);
    EXPECT_EQ(shot->getZOrder(), 8);
    EXPECT_EQ(shot->getObjectLayer(), field.layer);
    ASSERT_NE(shot->getBody(), nullptr);
    // The same place, turn and size on screen as the cannon.
    const CCAffineTransform cannonOnScreen = cannon->nodeToWorldTransform();
    const CCAffineTransform shotOnScreen = shot->nodeToWorldTransform();
    EXPECT_NEAR(shotOnScreen.a, cannonOnScreen.a, 1e-4f);
    EXPECT_NEAR(shotOnScreen.b, cannonOnScreen.b, 1e-4f);
    EXPECT_NEAR(shotOnScreen.c, cannonOnScreen.c, 1e-4f);
    EXPECT_NEAR(shotOnScreen.d, cannonOnScreen.d, 1e-4f);
    EXPECT_NEAR(shotOnScreen.tx, cannonOnScreen.tx, 1e-3f);
    EXPECT_NEAR(shotOnScreen.ty, cannonOnScreen.ty, 1e-3f);
    // Its bounds follow its new size.
    EXPECT_NEAR(shot->localBounds().size.width, 20.0f, 1e-4f);

    // Without a spawner: on top, where it stands.
    KXPObjectAssetUnit* loose = makeUnit(shotModel);
    KXPSpawnPlacement::place(field.layer, &field.world, loose, nullptr);
    EXPECT_EQ(loose->getZOrder(), KXPSpawnPlacement::kUnspawnedZOrder);
}

TEST_F(UnitSpawner, ACopysDepthAboveItsCarrierWrapsAtTheEndsOfTheIntRange) {
    AssetWorld field;
    auto shotModel = kxtest::unitModel("Shot", "kEnemyObjectType", CCSize(10, 10));
    const struct {
        int carrier;
        int copy;
        int placed;
    } cases[] = {{INT_MAX, 1, INT_MIN}, {INT_MIN, -1, INT_MAX}};
    for (const auto& entry : cases) {
        CCNode* carrier = CCNode::create();
        field.layer->addChild(carrier, entry.carrier);
        KXPObjectAssetUnit* cannon = makeUnit(spawnerModel("Cannon", "kPermanentSpawning", 1.0f));
        carrier->addChild(cannon);
        KXPObjectAssetUnit* shot = makeUnit(shotModel);
        shot->setZOrder(entry.copy);
        KXPSpawnPlacement::place(field.layer, &field.world, shot, cannon);
        EXPECT_EQ(shot->getZOrder(), entry.placed) << entry.carrier;
    }
}

// A running game field without gravity, speed or characters, 1000 x 500 points of window.
class UnitSpawnerField : public kxtest::SceneTest {
protected:
    std::unique_ptr<KXDebugLogCapture> log;
    KXPScreenScene* scene = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        log.reset(new KXDebugLogCapture());
        resetModelCore();
        KXPScreensController::shared()->setCurrentSceneKey("spawner-field");
        auto model = KXBaseModelScreenScene::findOrCreateByKey("spawner-field");
        model->gravityAttribute()->setValue(CCPointZero, true);
        CCScene* holder = KXPScreenScene::createScene();
        ASSERT_NE(holder, nullptr);
        director()->runWithScene(holder);
        frames(1);
        scene = dynamic_cast<KXPScreenScene*>(holder->getChildByTag(0));
        ASSERT_NE(scene, nullptr);
        KXPGameplaySettings* gameplay = KXPGameplaySettings::shared();
        gameplay->setGameSpeed(0.0f);
        gameplay->setGameSpeedMin(0.0f);
        gameplay->setGameSpeedMax(0.0f);
        gameplay->setGameSpeedIncrease(0.0f);
        gameplay->setSimulationTimeScale(1.0f);
        gameplay->setVelocityScale(1.0f);
        gameplay->setGameplayAngleDirection(0.0f);
    }
    void TearDown() override {
        kxtest::SceneTest::TearDown();
        KXPScreensController::shared()->reset();
        KXPInputController::purgeShared();
        resetModelCore();
        log.reset();
    }

    CCNode* layer() const { return scene->getObjectLayer(); }
    // Where the window shows, in the layer's space.
    CCPoint onScreen(float x, float y) const { return ccp(x, y) - layer()->getPosition(); }

    KXPObjectAssetUnit* place(const std::shared_ptr<KXModelObjectAssetUnit>& model, const CCPoint& position,
                              float rotation = 0.0f) {
        KXPObjectAssetUnit* unit = makeUnit(model);
        unit->setPosition(position);
        unit->setRotation(rotation);
        layer()->addChild(unit, model->zDepth());
        unit->setObjectLayer(layer());
        unit->addToWorld(scene->getWorld(), true);
        return unit;
    }
    // One drawn frame of the field; autoreleased objects go, as after each frame.
    void frame() {
        scene->update(1.0f / 60.0f);
        CCPoolManager::sharedPoolManager()->pop();
    }
    std::vector<KXPObjectAssetUnit*> copies() const {
        std::vector<KXPObjectAssetUnit*> found;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(layer()->getChildren(), item) {
            auto* unit = dynamic_cast<KXPObjectAssetUnit*>(item);
            if (unit != nullptr && (unit->getType() & KXPObject::kTypeSpawnedCopy) != 0) {
                found.push_back(unit);
            }
        }
        return found;
    }
    // The frames (from 0) in which the number of copies grew.
    std::vector<int> spawnFrames(int count, int firstFrame = 0) {
        std::vector<int> frames;
        size_t before = copies().size();
        for (int index = 0; index < count; ++index) {
            frame();
            if (copies().size() > before) {
                frames.push_back(firstFrame + index);
            }
            before = copies().size();
        }
        return frames;
    }
};

TEST_F(UnitSpawnerField, ACopyAppearsAtTheSpawnersPlaceMarkedWokenAndOnItsWay) {
    auto model = spawnerModel("Cannon", "kPermanentSpawning", 10.0f);
    kxtest::setLinearVelocity(*model, ccp(10, 0));
    model->setZDepth(7);
    KXPObjectAssetUnit* cannon = place(model, onScreen(300, 200), 90.0f); // clockwise: firing down

    frame();
    std::vector<KXPObjectAssetUnit*> made = copies();
    ASSERT_EQ(made.size(), 1u);
    KXPObjectAssetUnit* shot = made.front();
    EXPECT_EQ(shot->getType(), KXPObject::kTypeUnit | KXPObject::kTypeSpawnedCopy);
    EXPECT_FALSE(shot->isSpawner());
    EXPECT_TRUE(shot->isAwake());
    EXPECT_TRUE(shot->idleAnimation()->isVisible());
    EXPECT_EQ(shot->getZOrder(), 7);
    EXPECT_EQ(shot->getObjectLayer(), layer());
    EXPECT_NEAR(shot->getPosition().x, cannon->getPosition().x, 1e-3f);
    EXPECT_NEAR(shot->getPosition().y, cannon->getPosition().y, 1e-3f);
    EXPECT_NEAR(shot->getRotation(), 90.0f, 1e-3f);
    EXPECT_FLOAT_EQ(cannon->spawnCountdown(), 10.0f - 1.0f / 60.0f);

    // It flies down at 10 points per 1/32 s, 16 metres a second.
    frame();
    frame();
    ASSERT_NE(shot->getBody(), nullptr);
    EXPECT_EQ(shot->getBody()->GetType(), b2_kinematicBody);
    EXPECT_NEAR(shot->getBody()->GetLinearVelocity().x, 0.0f, 1e-3f);
    EXPECT_NEAR(shot->getBody()->GetLinearVelocity().y, -16.0f, 1e-3f);
}

TEST_F(UnitSpawnerField, APermanentSpawnerFiresEveryRateSecondsWithinItsSpread) {
    // A spawn sets the countdown back up to the drawn interval.
    auto firings = [this](KXPObjectAssetUnit* spawner, int count) {
        std::vector<int> frames;
        float before = spawner->spawnCountdown();
        for (int index = 0; index < count; ++index) {
            frame();
            if (spawner->spawnCountdown() > before) {
                frames.push_back(index);
            }
            before = spawner->spawnCountdown();
        }
        return frames;
    };
    // Half a second: four or five copies in two seconds, the first at once.
    auto steady = spawnerModel("Steady", "kPermanentSpawning", 0.5f);
    kxtest::setLinearVelocity(*steady, ccp(0, -20));
    const std::vector<int> made = firings(place(steady, onScreen(200, 500)), 120);
    ASSERT_GE(made.size(), 4u);
    ASSERT_LE(made.size(), 5u);
    EXPECT_EQ(made[0], 0);
    for (size_t index = 1; index < made.size(); ++index) {
        EXPECT_GE(made[index] - made[index - 1], 30);
        EXPECT_LE(made[index] - made[index - 1], 31);
    }

    // 0.5 +- 0.3 s: every interval drawn anew, none outside the spread, not all alike.
    std::srand(5);
    auto spread = kxtest::unitModel("Spread", "kEnemyObjectType");
    kxtest::addSpawner(*spread, "kPermanentSpawning", 0.5f, 0.3f);
    kxtest::setLinearVelocity(*spread, ccp(0, -20));
    const std::vector<int> drawn = firings(place(spread, onScreen(700, 500)), 1200);
    ASSERT_GT(drawn.size(), 20u);
    int shortest = 1000;
    int longest = 0;
    for (size_t index = 1; index < drawn.size(); ++index) {
        shortest = std::min(shortest, drawn[index] - drawn[index - 1]);
        longest = std::max(longest, drawn[index] - drawn[index - 1]);
    }
    EXPECT_GE(shortest, 12);
    EXPECT_LE(longest, 49);
    EXPECT_GT(longest - shortest, 10);
}

TEST_F(UnitSpawnerField, AShooterFiresOnPressEveryIntervalWhileHeldAndAgainAtOnceOnANewPress) {
    place(spawnerModel("Gun", "kShootingSpawning", 0.5f), onScreen(300, 200));
    KXPInputController* input = KXPInputController::shared();
    input->setEnabled(true);
    EXPECT_TRUE(spawnFrames(5).empty());

    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    std::vector<int> held = spawnFrames(70);
    ASSERT_EQ(held.size(), 3u);
    EXPECT_EQ(held[0], 0);
    EXPECT_GE(held[1], 30);
    EXPECT_LE(held[1], 31);
    EXPECT_GE(held[2], 60);
    EXPECT_LE(held[2], 62);
    input->actionReleased(KXPInputController::kActionShoot, nullptr);
    EXPECT_TRUE(spawnFrames(held[2] + 12 - 70).empty());
    // 0.2 s after the last copy: at once.
    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    EXPECT_EQ(spawnFrames(1), std::vector<int>{0});
}

TEST_F(UnitSpawnerField, ANonResettingShooterKeepsItsIntervalAcrossPresses) {
    place(spawnerModel("Gun", "kNonResetShootingSpawning", 0.5f), onScreen(300, 200));
    KXPInputController* input = KXPInputController::shared();
    input->setEnabled(true);
    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    EXPECT_EQ(spawnFrames(1), std::vector<int>{0});
    input->actionReleased(KXPInputController::kActionShoot, nullptr);
    EXPECT_TRUE(spawnFrames(11).empty());
    // 0.2 s after the copy: nothing until its half second is over.
    input->actionPressed(KXPInputController::kActionShoot, nullptr);
    const std::vector<int> later = spawnFrames(30, 12);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_GE(later[0], 30);
    EXPECT_LE(later[0], 31);
}

TEST_F(UnitSpawnerField, NoCopyWhileTheWorldIsLockedAndOnePerSecondWithoutASpawnerComponent) {
    auto plain = kxtest::unitModel("Plain", "kEnemyObjectType");
    KXPObjectAssetUnit* emitter = place(plain, onScreen(300, 200));
    emitter->setSpawner(true);
    EXPECT_FALSE(emitter->isSpawning()); // no spawn action: silent

    // Asked inside the world step, it leaves the countdown and waits.
    class SpawnInStep : public b2ContactListener {
    public:
        explicit SpawnInStep(KXPObjectAssetUnit* unit) : m_unit(unit) {}
        void BeginContact(b2Contact*) override {
            locked = m_unit->getBody()->GetWorld()->IsLocked();
            m_unit->spawn();
        }
        bool locked = false;

    private:
        KXPObjectAssetUnit* m_unit;
    } inStep(emitter);
    b2World* world = scene->getWorld();
    world->SetContactListener(&inStep);
    layer()->addChild(kxtest::BodyObject::create(world, onScreen(600, 300), 10.0f, 0));
    layer()->addChild(kxtest::BodyObject::create(world, onScreen(605, 300), 10.0f, 0));
    world->Step(1.0f / 60.0f, 6, 6);
    EXPECT_TRUE(inStep.locked);
    EXPECT_TRUE(copies().empty());
    EXPECT_FLOAT_EQ(emitter->spawnCountdown(), 0.0f);
    world->SetContactListener(nullptr);

    // Switched on all the same, it emits once a second.
    emitter->setSpawning(true);
    const std::vector<int> made = spawnFrames(125);
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0], 0);
    EXPECT_GE(made[1], 60);
    EXPECT_LE(made[1], 61);
}

TEST_F(UnitSpawnerField, CopiesThatLeaveTheScreenGoSoSpawnersKeepTheObjectCountBounded) {
    // Off screen, within waking distance: each copy is gone as soon as it appears.
    auto hidden = spawnerModel("Hidden", "kPermanentSpawning", 0.05f);
    KXPObjectAssetUnit* offScreen = place(hidden, onScreen(2500, 200));
    frame();
    EXPECT_TRUE(offScreen->isAwake());
    EXPECT_TRUE(copies().empty());
    // On screen, firing fast copies out to the left.
    auto gun = spawnerModel("Gun", "kPermanentSpawning", 0.1f);
    kxtest::setLinearVelocity(*gun, ccp(-40, 0));
    KXPObjectAssetUnit* gunner = place(gun, onScreen(500, 250));

    // A spawn sets the countdown back up to the interval.
    int hiddenShots = 0;
    int gunShots = 0;
    float hiddenBefore = offScreen->spawnCountdown();
    float gunBefore = gunner->spawnCountdown();
    size_t mostAtOnce = 0;
    for (int index = 0; index < 10000; ++index) {
        frame();
        mostAtOnce = std::max(mostAtOnce, copies().size());
        hiddenShots += offScreen->spawnCountdown() > hiddenBefore ? 1 : 0;
        gunShots += gunner->spawnCountdown() > gunBefore ? 1 : 0;
        hiddenBefore = offScreen->spawnCountdown();
        gunBefore = gunner->spawnCountdown();
    }
    // Both kept firing the whole time, every three or four frames and every six or seven.
    EXPECT_GT(hiddenShots, 2400);
    EXPECT_GT(gunShots, 1400);
    // The gun's copies cross 500 points at 1280 points a second: a few at once, never more.
    EXPECT_LE(mostAtOnce, 8u);
    EXPECT_LE(layer()->getChildrenCount(), 10u);
}

TEST_F(UnitSpawnerField, PastTheBudgetOfLiveCopiesAGunSkipsItsShotsUntilCopiesHaveGone) {
    // Stand-ins for the copies of a level that holds all the budget allows but one.
    const size_t standIns = KXPSpawnBudget::kLiveCopies - 1;
    for (size_t index = 0; index < standIns; ++index) {
        KXPSpawnBudget::copyMade();
    }
    auto gun = spawnerModel("Gun", "kPermanentSpawning", 0.1f);
    kxtest::setLinearVelocity(*gun, ccp(-40, 0));
    KXPObjectAssetUnit* gunner = place(gun, onScreen(500, 250));
    int shots = 0;
    float before = gunner->spawnCountdown();
    size_t mostAtOnce = 0;
    for (int index = 0; index < 120; ++index) {
        frame();
        mostAtOnce = std::max(mostAtOnce, copies().size());
        shots += gunner->spawnCountdown() > before ? 1 : 0;
        before = gunner->spawnCountdown();
    }
    // It keeps its rhythm, but only one copy is out at a time, and the log says so once.
    EXPECT_GT(shots, 15);
    EXPECT_EQ(mostAtOnce, 1u);
    EXPECT_EQ(KXPSpawnBudget::liveCopies(), standIns + copies().size());
    EXPECT_EQ(std::count_if(log->lines().begin(), log->lines().end(),
                            [](const std::string& line) { return line.find("[KXPSpawnBudget]") == 0; }),
              1);

    for (size_t index = 0; index < standIns; ++index) {
        KXPSpawnBudget::copyGone();
    }
    mostAtOnce = 0;
    for (int index = 0; index < 60; ++index) {
        frame();
        mostAtOnce = std::max(mostAtOnce, copies().size());
    }
    EXPECT_GT(mostAtOnce, 2u);
}

} // namespace
