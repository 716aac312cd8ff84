// Asset objects on a real world: the body they get, linear movement and the distance that puts
// them to sleep, waking by distance from the characters, the body that follows an attached
// object's node, and moving a body with the bodies jointed to it.

#include "player/input/KXPInputController.h"
#include "player/physics/KXPBodyData.h"
#include "support/asset_world_support.h"
#include "support/field_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace cocos2d;
using kxtest::AssetWorld;
using kxtest::TestAsset;

namespace {

class AssetMotion : public kxtest::AssetTest {
protected:
    void TearDown() override {
        KXPInputController::purgeShared();
        kxtest::AssetTest::TearDown();
    }
};

// A kinematic linear mover, awake, at (x, 100).
TestAsset* placeMover(AssetWorld& field, float x, const CCPoint& vector, float rotation = 0.0f) {
    return field.place(kxtest::boxAssetModel(), ccp(x, 100), [&](TestAsset& object) {
        object.setRotation(rotation);
        object.setLinearMovement(true);
        object.setMovementVector(vector);
        object.setBodyType(b2_kinematicBody);
        object.wakeUp();
    });
}

TEST_F(AssetMotion, BodyIsOneStaticFixtureFromTheModelShape) {
    AssetWorld field;
    TestAsset* sensor =
        field.place(kxtest::boxAssetModel(CCSize(40, 20)), ccp(100, 60), [](TestAsset& object) {
            object.setRotation(90.0f);
            object.setScaleX(2.0f);
        });
    TestAsset* solid = field.place(kxtest::boxAssetModel(), ccp(0, 0), [](TestAsset& object) {
        object.setCollisionType(KXPObjectAsset::kCollisionCharacter);
    });

    b2Body* body = sensor->getBody();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->GetType(), b2_staticBody);
    EXPECT_FALSE(body->IsSleepingAllowed());
    EXPECT_NEAR(body->GetPosition().x, 5.0f, 1e-5f);
    EXPECT_NEAR(body->GetPosition().y, 3.0f, 1e-5f);
    EXPECT_NEAR(body->GetAngle(), -1.5707963f, 1e-5f);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(body), sensor);

    b2Fixture* fixture = body->GetFixtureList();
    ASSERT_NE(fixture, nullptr);
    EXPECT_EQ(fixture->GetNext(), nullptr);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(fixture), sensor);
    EXPECT_TRUE(fixture->IsSensor());
    EXPECT_FLOAT_EQ(fixture->GetDensity(), 0.1f);
    EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.3f);
    EXPECT_FLOAT_EQ(fixture->GetRestitution(), 0.25f);
    // The shape is taken at the node's scale: 40 x 20 points at scale x 2 is 4 x 1 metres.
    const b2AABB box = sensor->getAABB();
    EXPECT_NEAR(box.upperBound.x - box.lowerBound.x, 1.0f, 0.05f); // turned by 90 degrees
    EXPECT_NEAR(box.upperBound.y - box.lowerBound.y, 4.0f, 0.05f);

    ASSERT_NE(solid->getBody(), nullptr);
    EXPECT_FALSE(solid->getBody()->GetFixtureList()->IsSensor());
}

TEST_F(AssetMotion, NoBodyForZeroScaleMissingShapeOrAStillDecoration) {
    AssetWorld field;
    TestAsset* flat =
        field.place(kxtest::boxAssetModel(), ccp(0, 0), [](TestAsset& object) { object.setScaleY(0); });
    EXPECT_EQ(flat->getBody(), nullptr);

    std::shared_ptr<KXModelObjectAsset> noShape = createModel<KXModelObjectAsset>();
    noShape->setAsset(createModel<KXModelAsset>());
    EXPECT_EQ(field.place(noShape, ccp(0, 0))->getBody(), nullptr);
    EXPECT_EQ(field.place(createModel<KXModelObjectAsset>(), ccp(0, 0))->getBody(), nullptr);

    // Still: no collision, no destroy mode, no movement, not a spawner. Skipped only when asked.
    auto still = [](TestAsset& object) { object.setLinearMovement(true); };
    TestAsset* skipped = TestAsset::make(kxtest::boxAssetModel());
    still(*skipped);
    skipped->addToWorld(&field.world, true);
    EXPECT_EQ(skipped->getBody(), nullptr);
    TestAsset* kept = field.place(kxtest::boxAssetModel(), ccp(0, 0), still);
    EXPECT_NE(kept->getBody(), nullptr);

    // Anything that makes it move or act gives it a body even when still ones are skipped.
    TestAsset* turning = TestAsset::make(kxtest::boxAssetModel());
    still(*turning);
    turning->setAngularSpeed(1.0f);
    turning->addToWorld(&field.world, true);
    EXPECT_NE(turning->getBody(), nullptr);
    TestAsset* spawner = TestAsset::make(kxtest::boxAssetModel());
    still(*spawner);
    spawner->setSpawner(true);
    spawner->addToWorld(&field.world, true);
    EXPECT_NE(spawner->getBody(), nullptr);
    EXPECT_EQ(field.world.GetBodyCount(), 3);
}

TEST_F(AssetMotion, LinearMoverGlidesAtItsSpeedAndSleepsAfterItsDistance) {
    AssetWorld field;
    // 10 points per 1/32 s is 320 points per second; it sleeps once it has travelled 960 points.
    TestAsset* mover = placeMover(field, 0.0f, ccp(10, 0));
    mover->setSleepType(KXPObjectAsset::kSleepDistanceBased);
    mover->setSleepDistance(960.0f);
    // Turned by 90 degrees (clockwise), the same vector points down.
    TestAsset* turned = placeMover(field, 200.0f, ccp(10, 0), 90.0f);

    field.run(30);
    const CCPoint at30 = mover->getPosition();
    const CCPoint turnedAt30 = turned->getPosition();
    field.run(60);
    EXPECT_NEAR(mover->getPosition().x - at30.x, 320.0f, 0.5f);
    EXPECT_NEAR(mover->getPosition().y, 100.0f, 1e-3f);
    EXPECT_NEAR(turned->getPosition().x, 200.0f, 0.01f);
    EXPECT_NEAR(turned->getPosition().y - turnedAt30.y, -320.0f, 0.5f);
    EXPECT_NEAR(turned->getRotation(), 90.0f, 1e-3f);
    EXPECT_FALSE(mover->isAsleep());

    // Past 960 points it stops within a frame's travel (5.3 points) and stays.
    field.run(150);
    EXPECT_TRUE(mover->isAsleep());
    const float stopped = mover->getPosition().x;
    EXPECT_GT(stopped, 960.0f);
    EXPECT_LT(stopped, 960.0f + 2 * 320.0f / 60.0f);
    field.run(60);
    EXPECT_FLOAT_EQ(mover->getPosition().x, stopped);
    EXPECT_FLOAT_EQ(mover->getBody()->GetLinearVelocity().Length(), 0.0f);
    EXPECT_FALSE(turned->isAsleep());
}

TEST_F(AssetMotion, OnlyLinearMoversCountDistanceAndTheyCountWhatTheirBodyCovers) {
    AssetWorld field;
    // Sleep distance 0: any distance at all puts a counting object to sleep.
    auto sleeper = [](TestAsset& object) {
        object.setSleepType(KXPObjectAsset::kSleepDistanceBased);
        object.setBodyType(b2_dynamicBody);
    };
    TestAsset* physics = field.place(kxtest::boxAssetModel(), ccp(0, 0), sleeper);
    // A linear mover with movement switched off is pushed by its body alone.
    TestAsset* pushed = field.place(kxtest::boxAssetModel(), ccp(0, 300), [&](TestAsset& object) {
        sleeper(object);
        object.setLinearMovement(true);
        object.setMovementVector(ccp(10, 0));
        object.setMovementEnabled(false);
    });
    physics->getBody()->SetLinearVelocity(b2Vec2(3.0f, 0.0f));
    pushed->getBody()->SetLinearVelocity(b2Vec2(3.0f, 0.0f));

    field.run(20);
    EXPECT_FLOAT_EQ(physics->travelledDistance(), 0.0f);
    EXPECT_FALSE(physics->isAsleep());
    EXPECT_NEAR(physics->getPosition().x, 20.0f, 1.0f);
    // 3 m/s is 60 points per second: one frame's worth was counted before it fell asleep.
    EXPECT_NEAR(pushed->travelledDistance(), 1.0f, 1e-4f);
    EXPECT_TRUE(pushed->isAsleep());
    EXPECT_FLOAT_EQ(pushed->getBody()->GetLinearVelocity().Length(), 0.0f);
}

TEST_F(AssetMotion, WakesWhenTheCharactersComeWithinItsDistance) {
    AssetWorld field;
    TestAsset* near = field.place(kxtest::boxAssetModel(), ccp(900, 0));
    TestAsset* far = field.place(kxtest::boxAssetModel(), ccp(1100, 0));
    TestAsset* behind = field.place(kxtest::boxAssetModel(), ccp(-5000, 0));
    TestAsset* bodiless = field.place(createModel<KXModelObjectAsset>(), ccp(10, 0));

    EXPECT_NEAR(far->distanceFromCharacters(), 1100.0f, 1e-3f);
    EXPECT_NEAR(behind->distanceFromCharacters(), -5000.0f, 1e-3f);
    field.frame();
    EXPECT_TRUE(near->isAwake());
    EXPECT_FALSE(far->isAwake());
    EXPECT_TRUE(behind->isAwake());
    EXPECT_FALSE(bodiless->isAwake());

    // Along another gameplay direction the same places measure differently.
    KXPGameplaySettings::shared()->setGameplayAngleDirection(180.0f);
    EXPECT_NEAR(far->distanceFromCharacters(), -1100.0f, 1e-2f);
    KXPGameplaySettings::shared()->setGameplayAngleDirection(0.0f);

    // Measured from the live characters' average, along the direction only.
    TestAsset* ahead = field.place(kxtest::boxAssetModel(), ccp(3000, 700));
    kxtest::FakeCharacter* first = kxtest::FakeCharacter::create(ccp(1500, 0));
    kxtest::FakeCharacter* second = kxtest::FakeCharacter::create(ccp(2500, 400));
    KXPInputController::shared()->addCharacter(first);
    KXPInputController::shared()->addCharacter(second);
    EXPECT_NEAR(ahead->distanceFromCharacters(), 1000.0f, 1e-2f);
    EXPECT_NEAR(far->distanceFromCharacters(), -900.0f, 1e-2f);
    field.frame();
    EXPECT_TRUE(far->isAwake());
    EXPECT_FALSE(ahead->isAwake());
    second->setState(KXPObject::kStateDead);
    EXPECT_NEAR(ahead->distanceFromCharacters(), 1500.0f, 1e-2f);
    KXPInputController::shared()->reset();
}

TEST_F(AssetMotion, AttachedBodyFollowsItsNodeAndNeverMovesIt) {
    AssetWorld field;
    field.layer->setPosition(ccp(-200, 30));
    CCNode* carrier = CCNode::create();
    carrier->setPosition(ccp(300, 100));
    carrier->setRotation(30.0f);
    field.layer->addChild(carrier);

    TestAsset* rider = TestAsset::make(kxtest::boxAssetModel());
    rider->setPosition(ccp(50, 0));
    rider->setRotation(15.0f);
    carrier->addChild(rider);
    rider->setObjectLayer(field.layer);
    rider->addToWorld(&field.world, false);
    rider->getBody()->SetType(b2_dynamicBody);
    rider->setAttached(true);

    for (int turn = 0; turn < 3; ++turn) {
        carrier->setPosition(carrier->getPosition() + ccp(40, -10));
        carrier->setRotation(carrier->getRotation() + 20.0f);
        rider->getBody()->SetLinearVelocity(b2Vec2(50.0f, 50.0f));
        field.world.Step(kxtest::kFrame, 6, 6);
        rider->update(kxtest::kFrame);

        const CCPoint inLayer =
            field.layer->convertToNodeSpace(carrier->convertToWorldSpace(rider->getPosition()));
        EXPECT_NEAR(rider->getBody()->GetPosition().x, inLayer.x * 0.05f, 1e-3f);
        EXPECT_NEAR(rider->getBody()->GetPosition().y, inLayer.y * 0.05f, 1e-3f);
        const float degrees = carrier->getRotation() + 15.0f;
        EXPECT_NEAR(std::remainder(rider->getBody()->GetAngle() + degrees * 0.017453292f, 6.2831853f), 0.0f,
                    1e-4f);
        // The node stays where its parent put it.
        EXPECT_FLOAT_EQ(rider->getPosition().x, 50.0f);
        EXPECT_FLOAT_EQ(rider->getPosition().y, 0.0f);
    }
}

TEST_F(AssetMotion, DirectionKeepsSpeedAndBodyPositionCarriesJointedBodies) {
    AssetWorld field;
    TestAsset* object = field.place(kxtest::boxAssetModel(), ccp(100, 100), [](TestAsset& asset) {
        asset.setMovementVector(ccp(3, 4));
        asset.setBodyType(b2_dynamicBody);
    });
    object->setDirection(ccp(0, -1));
    EXPECT_FLOAT_EQ(object->getMovementVector().x, 0.0f);
    EXPECT_FLOAT_EQ(object->getMovementVector().y, -5.0f);

    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    definition.position.Set(8.0f, 5.0f);
    definition.angle = 0.5f;
    b2Body* wheel = field.world.CreateBody(&definition);
    b2CircleShape circle;
    circle.m_radius = 0.5f;
    wheel->CreateFixture(&circle, 1.0f);
    // Two joints to the same body move it once.
    for (int joint = 0; joint < 2; ++joint) {
        b2RevoluteJointDef hinge;
        hinge.Initialize(object->getBody(), wheel, wheel->GetPosition());
        field.world.CreateJoint(&hinge);
    }

    object->setBodyPosition(300.0f, 200.0f);
    EXPECT_NEAR(object->getBody()->GetPosition().x, 15.0f, 1e-5f);
    EXPECT_NEAR(object->getBody()->GetPosition().y, 10.0f, 1e-5f);
    EXPECT_NEAR(wheel->GetPosition().x, 18.0f, 1e-5f);
    EXPECT_NEAR(wheel->GetPosition().y, 10.0f, 1e-5f);
    EXPECT_FLOAT_EQ(wheel->GetAngle(), 0.5f);
}

} // namespace
