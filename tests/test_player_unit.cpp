// Units on a real world: the kinds and modes read from their texts, the spreads drawn in their
// fixed order, waking by distance and by a character's touch, the motion they start, the
// animation they show (and how often it runs), death, the logic object's one-shot changes and
// one-way platforms.

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPTrace.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/objects/assets/KXPOneWayPlatform.h"
#include "player/objects/assets/KXPUnitEnums.h"
#include "support/asset_world_support.h"
#include "support/field_test_support.h"
#include "support/unit_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::AssetWorld;
using kxtest::TestAsset;

namespace {

class Unit : public kxtest::AssetTest {
protected:
    // Pictures without an image say so; the suites read other lines from it.
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

    static KXPObjectAssetUnit* make(const std::shared_ptr<KXModelObjectAssetUnit>& model) {
        return dynamic_cast<KXPObjectAssetUnit*>(KXPObjectAsset::create(model));
    }
    // A character touching units: a dynamic body of the character kind.
    static TestAsset* character(AssetWorld& field, const CCPoint& position, const b2Vec2& velocity) {
        TestAsset* runner =
            field.place(kxtest::boxAssetModel(CCSize(20, 20)), position, [](TestAsset& object) {
                object.setCollisionType(KXPObjectAsset::kCollisionCharacter);
                object.setBodyType(b2_dynamicBody);
            });
        runner->setType(KXPObject::kTypeCharacter);
        runner->getBody()->SetLinearVelocity(velocity);
        return runner;
    }
};

TEST_F(Unit, TextsGiveTheirNumbersAndAnUnknownTextFallsBackWithOneLine) {
    EXPECT_EQ(KXPUnitEnums::objectKind("kPlatformObjectType"), 1);
    EXPECT_EQ(KXPUnitEnums::objectKind("kEnemyObjectType"), 2);
    EXPECT_EQ(KXPUnitEnums::objectKind("kDecorationObjectType"), 3);
    EXPECT_TRUE(KXPUnitEnums::isLinearMovement("kMovementLinear"));
    EXPECT_EQ(KXPUnitEnums::collisionType("kCharacterCollision"), 1);
    EXPECT_EQ(KXPUnitEnums::destroyMode("kDestroyCollision"), 1);
    EXPECT_EQ(KXPUnitEnums::destroyMode("kDestroyEnemyCollision"), 2);
    EXPECT_EQ(KXPUnitEnums::destroyMode("kDestroyAllCollision"), 3);
    EXPECT_EQ(KXPUnitEnums::wakeUpType("kTimeBasedWakeup"), 1);
    EXPECT_EQ(KXPUnitEnums::wakeUpType("kCollisionBasedWakeup"), 2);
    EXPECT_EQ(KXPUnitEnums::sleepType("kDistanceBasedSleep"), 1);
    EXPECT_EQ(KXPUnitEnums::spawnAction("kNonResetShootingSpawning"), KXPUnitEnums::kSpawnOnShootKeepingTime);

    // The editor's other choices and unset texts mean the default without a word.
    log->clear();
    EXPECT_EQ(KXPUnitEnums::objectKind("kWheelObjectType"), 0);
    EXPECT_FALSE(KXPUnitEnums::isLinearMovement("kMovementPhysics"));
    EXPECT_EQ(KXPUnitEnums::collisionType("kNoCollision"), 0);
    EXPECT_EQ(KXPUnitEnums::spawnAction(""), KXPUnitEnums::kSpawnNever);
    EXPECT_TRUE(log->lines().empty());

    // Exact text only; anything else is reported once, however often it is read.
    EXPECT_EQ(KXPUnitEnums::destroyMode("kDestroycollision"), 0);
    EXPECT_EQ(KXPUnitEnums::destroyMode("kDestroycollision"), 0);
    EXPECT_EQ(KXPUnitEnums::wakeUpType("kNoWakeup "), 0);
    EXPECT_EQ(KXPUnitEnums::spawnAction("kShooting"), KXPUnitEnums::kSpawnNever);
    EXPECT_EQ(log->lines(), (std::vector<std::string>{
                                "[KXPObjectAssetUnit] unknown Destroy Type \"kDestroycollision\", using 0",
                                "[KXPObjectAssetUnit] unknown Wake Up \"kNoWakeup \", using 0",
                                "[KXPObjectAssetUnit] unknown Spawn Action \"kShooting\", using 0",
                            }));

    // A unit made from texts carries their numbers.
    auto model = kxtest::unitModel("Crab", "kEnemyObjectType");
    kxtest::addWakeup(*model, "kCollisionBasedWakeup", 0.0f, "kDistanceBasedSleep", 250.0f);
    KXPObjectAssetUnit* crab = make(model);
    ASSERT_NE(crab, nullptr);
    EXPECT_EQ(crab->getType(), KXPObject::kTypeUnit);
    EXPECT_EQ(crab->getObjectKind(), KXPObjectAsset::kKindEnemy);
    EXPECT_EQ(crab->getCollisionType(), KXPObjectAsset::kCollisionCharacter);
    EXPECT_EQ(crab->getDestroyType(), KXPObjectAsset::kDestroyCollision);
    EXPECT_TRUE(crab->isLinearMovement());
    EXPECT_EQ(crab->wakeUpType(), KXPObjectAsset::kWakeUpCollisionBased);
    EXPECT_EQ(crab->sleepType(), KXPObjectAsset::kSleepDistanceBased);
    EXPECT_TRUE(crab->blocksLight());
    EXPECT_FALSE(make(kxtest::unitModel("Leaf", "kDecorationObjectType"))->blocksLight());
}

TEST_F(Unit, SpreadsAreDrawnInTheirFixedOrderWithFifteenBitDraws) {
    auto linear = kxtest::unitModel("Bird", "kEnemyObjectType");
    kxtest::setLinearVelocity(*linear, ccp(-4, 1), ccp(2, 3));
    kxtest::setAngularVelocity(*linear, 10.0f, 5.0f);
    auto physics = kxtest::unitModel("Rock", "kPhysicsObjectType");
    kxtest::setLinearVelocity(*physics, ccp(6, -2), ccp(1, 0.5f));
    kxtest::setAngularVelocity(*physics, 3.0f, 1.0f);

    std::srand(77);
    const float first = kx::randomSignedUnit();
    const float second = kx::randomSignedUnit();
    const float third = kx::randomSignedUnit();

    // Linear: the angular speed first, then y, then x.
    std::srand(77);
    KXPObjectAssetUnit* bird = make(linear);
    EXPECT_FLOAT_EQ(bird->getAngularSpeed(), 10.0f + first * 5.0f);
    EXPECT_FLOAT_EQ(bird->getMovementVector().y, 1.0f + second * 3.0f);
    EXPECT_FLOAT_EQ(bird->getMovementVector().x, -4.0f + third * 2.0f);
    // Physics: y, then x; no angular speed of its own.
    std::srand(77);
    KXPObjectAssetUnit* rock = make(physics);
    EXPECT_FALSE(rock->isLinearMovement());
    EXPECT_FLOAT_EQ(rock->getAngularSpeed(), 0.0f);
    EXPECT_FLOAT_EQ(rock->getMovementVector().y, -2.0f + first * 0.5f);
    EXPECT_FLOAT_EQ(rock->getMovementVector().x, 6.0f + second * 1.0f);

    // Whatever rand() gives, a value never leaves its spread.
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::srand(seed);
        KXPObjectAssetUnit* drawn = make(linear);
        ASSERT_LE(std::fabs(drawn->getMovementVector().x + 4.0f), 2.0f + 1e-5f) << seed;
        ASSERT_LE(std::fabs(drawn->getMovementVector().y - 1.0f), 3.0f + 1e-5f) << seed;
        ASSERT_LE(std::fabs(drawn->getAngularSpeed() - 10.0f), 5.0f + 1e-5f) << seed;
    }
}

TEST_F(Unit, WakesByItsDistanceRuleAndACollisionRuleNeedsACharactersTouch) {
    AssetWorld field;
    kxtest::FakeCharacter* runner = kxtest::FakeCharacter::create(ccp(0, 0));
    KXPInputController::shared()->addCharacter(runner);

    // No rule: awake once less than 3000 points ahead.
    KXPObjectAssetUnit* near =
        field.add(make(kxtest::unitModel("Near", "kPlatformObjectType")), ccp(2900, 0));
    KXPObjectAssetUnit* far = field.add(make(kxtest::unitModel("Far", "kPlatformObjectType")), ccp(3100, 0));
    // Distance rule: its own distance.
    auto timed = kxtest::unitModel("Timed", "kPlatformObjectType");
    kxtest::addWakeup(*timed, "kTimeBasedWakeup", 500.0f, "kDistanceBasedSleep", 120.0f);
    KXPObjectAssetUnit* soon = field.add(make(timed), ccp(450, 300));
    KXPObjectAssetUnit* later = field.add(make(timed), ccp(550, 300));
    // Collision rule: only once 3000 points behind, wherever it stands ahead.
    auto touched = kxtest::unitModel("Touched", "kEnemyObjectType");
    kxtest::addWakeup(*touched, "kCollisionBasedWakeup", 0.0f);
    KXPObjectAssetUnit* close = field.add(make(touched), ccp(60, 0));
    KXPObjectAssetUnit* behind = field.add(make(touched), ccp(-3100, 600));
    KXPObjectAssetUnit* notFarBehind = field.add(make(touched), ccp(-2900, 600));

    EXPECT_FLOAT_EQ(near->wakeUpDistance(), 3000.0f);
    EXPECT_FLOAT_EQ(soon->wakeUpDistance(), 500.0f);
    EXPECT_FLOAT_EQ(soon->sleepDistance(), 120.0f);
    EXPECT_FLOAT_EQ(near->sleepDistance(), 0.0f);
    EXPECT_FLOAT_EQ(close->wakeUpDistance(), -3000.0f);

    field.run(30);
    EXPECT_TRUE(near->isAwake());
    EXPECT_FALSE(far->isAwake());
    EXPECT_TRUE(soon->isAwake());
    EXPECT_FALSE(later->isAwake());
    EXPECT_FALSE(close->isAwake());
    EXPECT_EQ(close->getBody()->GetType(), b2_staticBody);
    EXPECT_TRUE(behind->isAwake());
    EXPECT_FALSE(notFarBehind->isAwake());

    // A character's touch wakes it; its motion starts in the following update.
    TestAsset* toucher = character(field, ccp(0, 0), b2Vec2(20.0f, 0.0f));
    for (int frame = 0; frame < 30 && !close->isAwake(); ++frame) {
        field.frame();
    }
    EXPECT_TRUE(close->isAwake());
    field.frame();
    EXPECT_EQ(close->getBody()->GetType(), b2_kinematicBody);
    (void)toucher;

    // A removed unit never wakes by distance.
    far->setState(KXPObject::kStateRemoved);
    EXPECT_FLOAT_EQ(far->wakeUpDistance(), 3000.0f);
    KXPInputController::shared()->reset();
}

TEST_F(Unit, APhysicsUnitGetsItsVelocityOnceTurnedByItsBody) {
    AssetWorld field;
    auto model = kxtest::unitModel("Ball", "kPhysicsObjectType");
    kxtest::setLinearVelocity(*model, ccp(2, 0));
    kxtest::setAngularVelocity(*model, 1.5f);
    KXPObjectAssetUnit* ball = field.add(make(model), ccp(0, 0));
    KXPObjectAssetUnit* turned = make(model);
    turned->setRotation(90.0f); // clockwise: the velocity points down
    field.add(turned, ccp(0, 400));

    EXPECT_EQ(ball->getBody()->GetType(), b2_staticBody);
    ball->wakeUp();
    turned->wakeUp();
    EXPECT_TRUE(ball->isStartMotionPending());
    field.frame();
    EXPECT_FALSE(ball->isStartMotionPending());
    EXPECT_EQ(ball->getBody()->GetType(), b2_dynamicBody);
    EXPECT_NEAR(ball->getBody()->GetLinearVelocity().x, 2.0f, 1e-5f);
    EXPECT_NEAR(ball->getBody()->GetLinearVelocity().y, 0.0f, 1e-5f);
    EXPECT_NEAR(ball->getBody()->GetAngularVelocity(), 1.5f, 1e-5f);
    EXPECT_NEAR(turned->getBody()->GetLinearVelocity().x, 0.0f, 1e-5f);
    EXPECT_NEAR(turned->getBody()->GetLinearVelocity().y, -2.0f, 1e-5f);

    // Metres per second as they stand, given once: 60 frames later it is still 2 m/s and has
    // gone 2 m, 40 points.
    field.run(60);
    EXPECT_NEAR(ball->getBody()->GetLinearVelocity().x, 2.0f, 1e-3f);
    EXPECT_NEAR(ball->getPosition().x, 40.0f, 2.0f);
    // Waking again does nothing.
    ball->wakeUp();
    EXPECT_FALSE(ball->isStartMotionPending());
}

TEST_F(Unit, LinearUnitsGlideKinematicAndUnitHuntingBulletsFlyAsBoxBullets) {
    AssetWorld field;
    auto patrol = kxtest::unitModel("Patrol", "kEnemyObjectType");
    kxtest::setLinearVelocity(*patrol, ccp(-5, 0));
    KXPObjectAssetUnit* walker = field.add(make(patrol), ccp(400, 0));
    auto bullet = kxtest::unitModel("Bolt", "kBulletCharacterObjectType"); // destroys enemies
    KXPObjectAssetUnit* bolt = field.add(make(bullet), ccp(0, 300));
    auto hunter = kxtest::unitModel("Hunter", "kEnemyObjectType");
    hunter->setDestroyType("kDestroyAllCollision");
    KXPObjectAssetUnit* all = field.add(make(hunter), ccp(0, 600));

    for (KXPObjectAssetUnit* unit : {walker, bolt, all}) {
        unit->wakeUp();
    }
    field.frame();
    EXPECT_EQ(walker->getBody()->GetType(), b2_kinematicBody);
    EXPECT_FALSE(walker->getBody()->IsBullet());
    EXPECT_TRUE(walker->getBody()->IsFixedRotation());
    EXPECT_FLOAT_EQ(walker->getBody()->GetGravityScale(), 0.0f);
    for (KXPObjectAssetUnit* unit : {bolt, all}) {
        EXPECT_EQ(unit->getBody()->GetType(), b2_dynamicBody);
        EXPECT_TRUE(unit->getBody()->IsBullet());
        EXPECT_TRUE(unit->getBody()->IsFixedRotation());
        EXPECT_FLOAT_EQ(unit->getBody()->GetGravityScale(), 0.0f);
    }
    // The patrol advances at its set speed: 5 points per 1/32 s is 160 points a second.
    const float start = walker->getPosition().x;
    field.run(60);
    EXPECT_NEAR(walker->getPosition().x, start - 160.0f, 3.0f);
}

TEST_F(Unit, AUnitStartingUnderALooksShapeWithoutDensityGetsAWeightOfOne) {
    AssetWorld field;
    auto ballModel = kxtest::unitModel("Ball", "kPhysicsObjectType");
    auto boltModel = kxtest::unitModel("Bolt", "kBulletCharacterObjectType");
    std::shared_ptr<KXModelPolygon> look = createModel<KXModelPolygon>();
    look->replaceWithBox(CCSize(30, 30), CCPointZero);
    KXPObjectAssetUnit* ball = field.add(make(ballModel), ccp(0, 0));
    KXPObjectAssetUnit* bolt = field.add(make(boltModel), ccp(0, 300));
    for (KXPObjectAssetUnit* unit : {ball, bolt}) {
        unit->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, look);
        unit->wakeUp();
    }
    field.frame();
    for (KXPObjectAssetUnit* unit : {ball, bolt}) {
        ASSERT_EQ(unit->getBody()->GetType(), b2_dynamicBody);
        EXPECT_FLOAT_EQ(unit->getBody()->GetMass(), 1.0f) << unit->getModel()->name();
    }
}

TEST_F(Unit, TraceLinesFollowAPatrolAtItsSetSpeed) {
    AssetWorld field;
    auto patrol = kxtest::unitModel("Patrol", "kEnemyObjectType");
    kxtest::setLinearVelocity(*patrol, ccp(3, 0));
    KXPObjectAssetUnit* walker = field.add(make(patrol), ccp(100, 40));
    std::FILE* lines = std::tmpfile();
    ASSERT_NE(lines, nullptr);
    kxTraceSetOutput(lines);
    kxTraceEnableKinds("unit");
    for (unsigned int frame = 1; frame <= 40; ++frame) {
        kxTraceSetFrame(frame);
        field.frame();
    }
    kxTraceEnableKinds("");
    kxTraceSetOutput(nullptr);

    std::rewind(lines);
    char line[256];
    std::vector<float> xs;
    while (std::fgets(line, sizeof line, lines) != nullptr) {
        unsigned int frame = 0;
        unsigned int id = 0;
        int state = -1;
        float x = 0.0f;
        float y = 0.0f;
        char name[64] = {};
        ASSERT_EQ(std::sscanf(line, "F=%u unit name=%63s id=%u state=%d pos=%f,%f", &frame, name, &id, &state,
                              &x, &y),
                  6)
            << line;
        EXPECT_EQ(frame, xs.size() + 1);
        EXPECT_STREQ(name, "Patrol");
        EXPECT_EQ(id, walker->traceId());
        EXPECT_EQ(state, 0);
        EXPECT_NEAR(y, 40.0f, 0.05f);
        xs.push_back(x);
    }
    std::fclose(lines);
    ASSERT_EQ(xs.size(), 40u);
    // Awake from its first frame, moving from its third: 3 points per 1/32 s, 1.6 a frame.
    EXPECT_NEAR(xs[39] - xs[9], 30 * 1.6f, 0.3f);
}

TEST_F(Unit, TheShownAnimationRunsTwicePerFrame) {
    AssetWorld field;
    auto model = kxtest::unitModel("Blob", "kDecorationObjectType");
    kxtest::setDefeatedAnimation(*model, kxtest::pictureAnimation("Blob Gone", CCSize(40, 40), 10.0f));
    KXPObjectAssetUnit* blob = field.add(make(model), ccp(0, 0), false);
    ASSERT_NE(blob->idleAnimation(), nullptr);
    EXPECT_EQ(blob->idleAnimation()->getParent(), blob);
    EXPECT_EQ(blob->defeatedAnimation()->getParent(), nullptr);

    // Once as a child of the unit, once more by the unit: exported games were tuned to it.
    field.frame();
    EXPECT_FLOAT_EQ(blob->idleAnimation()->time(), 2.0f * kxtest::kFrame);
    field.run(2);
    EXPECT_FLOAT_EQ(blob->idleAnimation()->time(), 6.0f * kxtest::kFrame);

    blob->setState(KXPObject::kStateDead);
    EXPECT_EQ(blob->idleAnimation()->getParent(), nullptr);
    EXPECT_EQ(blob->defeatedAnimation()->getParent(), blob);
    EXPECT_TRUE(blob->defeatedAnimation()->isVisible());
    field.frame();
    EXPECT_FLOAT_EQ(blob->defeatedAnimation()->time(), 2.0f * kxtest::kFrame);
    EXPECT_FLOAT_EQ(blob->idleAnimation()->time(), 6.0f * kxtest::kFrame);
}

TEST_F(Unit, ADeadUnitPlaysItsDefeatedAnimationAsASensorThenGoes) {
    AssetWorld field;
    auto model = kxtest::unitModel("Crab", "kEnemyObjectType");
    kxtest::setDefeatedAnimation(*model, kxtest::pictureAnimation("Crab Gone", CCSize(40, 40), 0.5f));
    KXPObjectAssetUnit* crab = field.add(make(model), ccp(0, 0));
    KXPObjectAssetUnit* plain = field.add(make(kxtest::unitModel("Plain", "kEnemyObjectType")), ccp(300, 0));
    ASSERT_FALSE(crab->getBody()->GetFixtureList()->IsSensor());

    crab->dieNextUpdate();
    field.frame();
    EXPECT_EQ(crab->getState(), KXPObject::kStateDead);
    EXPECT_TRUE(crab->getBody()->GetFixtureList()->IsSensor());
    EXPECT_TRUE(crab->defeatedAnimation()->isVisible());

    // Half a second of animation at two runs per frame: 15 frames, then removed. Held here so
    // that it can be asked after it left.
    static_cast<CCObject*>(crab)->retain();
    int frames = 0;
    while (crab->getParent() == field.layer && frames < 100) {
        field.frame();
        ++frames;
    }
    EXPECT_EQ(crab->getState(), KXPObject::kStateRemoved);
    static_cast<CCObject*>(crab)->release();
    EXPECT_GE(frames, 14);
    EXPECT_LE(frames, 17);

    // Without a defeated animation a dead unit is removed at once.
    plain->setState(KXPObject::kStateDead);
    EXPECT_EQ(plain->getState(), KXPObject::kStateRemoved);
    field.frame();
    EXPECT_EQ(field.layer->getChildrenCount(), 0u);
}

TEST_F(Unit, LogicChangesAddMultiplyOrReplaceOnceInTheNextUpdate) {
    AssetWorld field;
    KXPObjectAssetUnit* block =
        field.add(make(kxtest::unitModel("Block", "kPlatformObjectType")), ccp(100, 50));
    block->setPositionXChange(2.0f, "kMultiply");
    block->setPositionYChange(30.0f, "kAdd");
    block->setRotationChange(45.0f, "kReplace");
    field.frame();
    EXPECT_NEAR(block->getBody()->GetPosition().x, 200.0f * 0.05f, 1e-4f);
    EXPECT_NEAR(block->getBody()->GetPosition().y, 80.0f * 0.05f, 1e-4f);
    EXPECT_NEAR(block->getBody()->GetAngle(), -45.0f * 0.017453292f, 1e-5f);
    field.frame();
    EXPECT_NEAR(block->getPosition().x, 200.0f, 1e-3f);
    EXPECT_NEAR(block->getPosition().y, 80.0f, 1e-3f);
    EXPECT_NEAR(block->getRotation(), 45.0f, 1e-3f);
    // The records were used up; an unknown operation keeps the coordinate.
    field.run(2);
    EXPECT_NEAR(block->getPosition().x, 200.0f, 1e-3f);
    block->setPositionXChange(5.0f, "kDivide");
    field.run(2);
    EXPECT_NEAR(block->getPosition().x, 200.0f, 1e-3f);
}

TEST_F(Unit, OneWaySideTestOnTheNormalOrTheVelocity) {
    using Side = KXPOneWayPlatform;
    const CCPoint up(0, 1);
    EXPECT_TRUE(Side::isFromSolidSide(up, b2Vec2(0, 1), b2Vec2(0, 0)));
    EXPECT_TRUE(Side::isFromSolidSide(up, b2Vec2(0.7f, 0.7f), b2Vec2(0, 0)));
    EXPECT_FALSE(Side::isFromSolidSide(up, b2Vec2(0, -1), b2Vec2(0, 0)));
    EXPECT_FALSE(Side::isFromSolidSide(up, b2Vec2(1, -0.01f), b2Vec2(0, 0)));
    // No vector: solid from everywhere. A vector's tiny parts are taken as 0.
    EXPECT_TRUE(Side::isFromSolidSide(CCPointZero, b2Vec2(0, -1), b2Vec2(0, 0)));
    EXPECT_FALSE(Side::isFromSolidSide(ccp(1e-8f, 1), b2Vec2(1, -1e-7f), b2Vec2(0, 0)));
    // Without a normal the other's velocity tells: moving up it comes from below.
    EXPECT_FALSE(Side::isFromSolidSide(up, b2Vec2(0, 0), b2Vec2(0, 5)));
    EXPECT_TRUE(Side::isFromSolidSide(up, b2Vec2(0, 0), b2Vec2(0.5f, -5)));
    // A vector pointing left is solid on both halves of its side.
    const CCPoint left(-1, 0);
    EXPECT_TRUE(Side::isFromSolidSide(left, b2Vec2(-1, 0.1f), b2Vec2(0, 0)));
    EXPECT_TRUE(Side::isFromSolidSide(left, b2Vec2(-1, -0.1f), b2Vec2(0, 0)));
    EXPECT_FALSE(Side::isFromSolidSide(left, b2Vec2(1, -0.1f), b2Vec2(0, 0)));
}

TEST_F(Unit, OneWayPlatformHoldsWhatFallsOnItAndLetsThroughWhatComesFromBelow) {
    AssetWorld field;
    field.world.SetGravity(b2Vec2(0.0f, -20.0f));
    auto ledge = kxtest::unitModel("Ledge", "kPlatformObjectType", CCSize(200, 20));
    kxtest::setOneWay(*ledge, ccp(0, 1));
    KXPObjectAssetUnit* platform = field.add(make(ledge), ccp(0, 0));
    auto ball = [&](const CCPoint& position, const b2Vec2& velocity) {
        TestAsset* object =
            field.place(kxtest::boxAssetModel(CCSize(20, 20)), position, [](TestAsset& asset) {
                asset.setCollisionType(KXPObjectAsset::kCollisionCharacter);
                asset.setBodyType(b2_dynamicBody);
            });
        object->getBody()->SetLinearVelocity(velocity);
        return object;
    };

    // Thrown up from below: it passes, and meanwhile the platform is no ground.
    TestAsset* jumper = ball(ccp(0, -60), b2Vec2(0.0f, 30.0f));
    bool passingSeen = false;
    for (int frame = 0; frame < 20; ++frame) {
        field.frame();
        if (!platform->passingObjects().empty()) {
            passingSeen = true;
            EXPECT_FALSE(platform->isGround());
        }
    }
    EXPECT_TRUE(passingSeen);
    EXPECT_GT(jumper->getPosition().y, 20.0f);
    // It falls back and lands on the platform, which holds it.
    field.run(240);
    EXPECT_NEAR(jumper->getPosition().y, 20.0f, 2.0f);
    EXPECT_TRUE(platform->isGround());
    EXPECT_TRUE(platform->passingObjects().empty());

    // A sensor has no contact normal: its velocity decides.
    TestAsset* ghost = field.place(kxtest::boxAssetModel(CCSize(20, 20)), ccp(60, -40),
                                   [](TestAsset& asset) { asset.setBodyType(b2_dynamicBody); });
    ghost->getBody()->SetGravityScale(0.0f);
    ghost->getBody()->SetLinearVelocity(b2Vec2(0.0f, 10.0f));
    field.run(10);
    ASSERT_EQ(platform->passingObjects().size(), 1u);
    EXPECT_EQ(platform->passingObjects().front(), ghost->getModel()->id());
}

TEST_F(Unit, BoundsComeFromTheIdleAnimationAndAUnitWithoutOneHasNoBody) {
    AssetWorld field;
    field.layer->setPosition(ccp(-100, 0));
    KXPObjectAssetUnit* crate = make(kxtest::unitModel("Crate", "kPlatformObjectType", CCSize(80, 40)));
    EXPECT_TRUE(crate->localBounds().equals(CCRect(-40, -20, 80, 40)));
    crate->setScaleX(-2.0f);
    crate->transformChanged();
    EXPECT_TRUE(crate->localBounds().equals(CCRect(-80, -20, 160, 40)));
    CCNode* holder = CCNode::create();
    holder->setPosition(ccp(300, 100));
    field.layer->addChild(holder);
    crate->setPosition(ccp(10, 5));
    holder->addChild(crate);
    crate->setObjectLayer(field.layer);
    EXPECT_TRUE(crate->boundingRect().equals(CCRect(230, 85, 160, 40)));

    KXPObjectAssetUnit* ghost =
        field.add(make(kxtest::unitModel("Ghost", "kEnemyObjectType", CCSize(40, 40), false)), ccp(0, 0));
    EXPECT_EQ(ghost->getBody(), nullptr);
    EXPECT_TRUE(ghost->localBounds().equals(CCRect()));
    ghost->wakeUp();
    EXPECT_FALSE(ghost->isAwake());
}

TEST_F(Unit, HiddenOrOverlaidUnitsHideTheirAnimations) {
    AssetWorld field;
    KXPObjectAssetUnit* crab = field.add(make(kxtest::unitModel("Crab", "kEnemyObjectType")), ccp(0, 0));
    KXPAnimationObject* idle = crab->idleAnimation();
    crab->setVisible(false);
    EXPECT_FALSE(idle->isVisible());
    crab->setVisible(true);
    EXPECT_TRUE(idle->isVisible());

    // A display state shows instead of the unit's own look.
    CCNode* overlay = CCNode::create();
    crab->pushAnimation(KXPObjectAsset::kDisplayPowerup, overlay, nullptr);
    EXPECT_FALSE(idle->isVisible());
    crab->popAnimation(KXPObjectAsset::kDisplayPowerup, overlay, nullptr);
    EXPECT_TRUE(idle->isVisible());

    crab->setOpacityFactor(0.5f);
    EXPECT_FLOAT_EQ(idle->opacityFactor(), 0.5f);
}

// A unit whose picture is mirrored, half past the window's edge with no margin beyond it: it is
// on screen, so it keeps showing its look, and a spawned copy of it is not taken away.
TEST_F(Unit, AMirroredUnitHalfOnScreenStaysShownAndItsCopyStays) {
    KXGameplayValues& values = KXPGameplaySettings::shared()->gameplayValues();
    const KXGameplayValues saved = values;
    values.backDeletionThreshold = 0.0f;
    values.sidesDeletionThreshold = 0.0f;
    auto model = kxtest::unitModel("Mirror Crab", "kEnemyObjectType", CCSize(80, 40), false);
    model->assetObstacle()->setIdleAnimation(kxtest::pictureAnimation("Mirror Crab Idle", CCSize(-80, 40)));
    AssetWorld field;
    // The window is 1000 x 500: one at its right edge, one at its left.
    KXPObjectAssetUnit* crab = field.add(make(model), ccp(1000, 250));
    KXPObjectAssetUnit* copy = field.add(make(model), ccp(0, 250));
    copy->setType(copy->getType() | KXPObject::kTypeSpawnedCopy);
    copy->retain();
    EXPECT_TRUE(crab->localBounds().equals(CCRect(-40, -20, 80, 40)));
    field.frame();
    EXPECT_TRUE(crab->isVisible());
    EXPECT_TRUE(crab->idleAnimation()->isVisible());
    EXPECT_NE(copy->getState(), KXPObject::kStateRemoved);
    EXPECT_EQ(copy->getParent(), field.layer);
    copy->release();
    values = saved;
}

} // namespace
