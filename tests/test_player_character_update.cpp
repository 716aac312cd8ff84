// The player character's per-frame update, step by step and in its order: the node follows the
// body before the object base runs, the frame velocity starts from zero, the up force counts
// twice, a bounce goes through the clamp, the ground test comes before the air drag, the lean
// bounds are one-sided, forced movement and steering, the clamp only for positive move speeds,
// drag on the whole velocity, direct movement and auto tilt, the fall the update after death, the
// deferred death, a bounce-force change and the fixed-rotation snap; the image flip; a character
// without a body.
//
// Most cases call update() without stepping the world, so that the velocities are exactly what
// the update made of them.

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeShape.h"
#include "support/character_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kFrame = kxtest::kFrame;

class CharacterUpdate : public kxtest::CharacterTest {
protected:
    static b2Vec2 velocityOf(KXPObjectAssetCharacter* character) {
        return character->getBody()->GetLinearVelocity();
    }
    static void setVelocity(KXPObjectAssetCharacter* character, float x, float y) {
        character->getBody()->SetLinearVelocity(b2Vec2(x, y));
    }
    // A character whose death leaves it on show (state 4) instead of finishing it at once.
    static std::shared_ptr<KXModelObjectAssetCharacter> lingeringModel() {
        auto model = characterModel();
        assetOf(model)->defeatedAnimationAttribute()->setValue(kxtest::framedAnimation("Down", 1), true);
        return model;
    }
};

TEST_F(CharacterUpdate, TheNodeFollowsTheBodyBeforeTheObjectBaseDecidesVisibility) {
    values().backDeletionThreshold = 0.0f;
    values().sidesDeletionThreshold = 0.0f;
    KXPObjectAssetCharacter* character = place(characterModel(), ccp(100, 100));
    character->update(kFrame);
    ASSERT_TRUE(character->isVisible());

    character->getBody()->SetTransform(b2Vec2(5000.0f * 0.05f, 100.0f * 0.05f), 0.5f);
    character->update(kFrame);
    EXPECT_FLOAT_EQ(character->getPositionX(), 5000.0f);
    EXPECT_FLOAT_EQ(character->getPositionY(), 100.0f);
    EXPECT_FLOAT_EQ(character->getRotation(), -0.5f * 57.29578f);
    // Visibility was judged at the new place, far right of the window.
    EXPECT_FALSE(character->isVisible());
}

TEST_F(CharacterUpdate, APendingDeathStopsSteeringInTheSameFrame) {
    values().moveSpeed = ccp(10, 0);
    KXPObjectAssetCharacter* character = place(lingeringModel());
    character->setDirection(ccp(1, 0));
    character->setPendingState(KXPObject::kStateDead);
    character->update(kFrame);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
    EXPECT_FLOAT_EQ(velocityOf(character).x, 0.0f);
}

TEST_F(CharacterUpdate, FrameVelocityStartsFromZeroEveryFrame) {
    values().forcedMovement = true;
    values().gameSpeed = 2.0f;
    KXPObjectAssetCharacter* character = place(characterModel());
    for (int frame = 1; frame <= 3; ++frame) {
        character->update(kFrame);
        EXPECT_FLOAT_EQ(character->frameVelocity().x, 2.0f) << frame;
        EXPECT_FLOAT_EQ(velocityOf(character).x, 2.0f * static_cast<float>(frame)) << frame;
    }
}

TEST_F(CharacterUpdate, TheUpForceCountsTwiceInPhysicsMovementAndEndsAfterItsDuration) {
    values().upForce = ccp(1, 3);
    values().upForceDuration = 0.03f;
    KXPObjectAssetCharacter* character = place(characterModel());
    character->jump();
    character->update(kFrame);
    // Set to 3, then 3 more through the frame velocity (and 1 sideways).
    EXPECT_FLOAT_EQ(velocityOf(character).x, 1.0f);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 6.0f);
    EXPECT_FLOAT_EQ(character->upForceTimer(), kFrame);
    EXPECT_NE(character->flags() & KXPObjectAssetCharacter::kFlagUpForce, 0);

    // The second frame reaches the duration: it still pushes, then the push ends.
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 6.0f);
    EXPECT_EQ(character->flags() & KXPObjectAssetCharacter::kFlagUpForce, 0);
    setVelocity(character, 0, 0);
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 0.0f);
}

TEST_F(CharacterUpdate, TheUpForceCountsOnceInDirectMovement) {
    values().upForce = ccp(1, 3);
    values().directMovement = true;
    KXPObjectAssetCharacter* character = place(characterModel());
    character->jump();
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).x, 0.0f);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 3.0f);
}

TEST_F(CharacterUpdate, ABounceIsThrownBeforeTheMovementClampsIt) {
    values().bounceForce = ccp(3, 8);
    values().moveSpeed = ccp(2, 0);
    KXPObjectAssetCharacter* character = place(characterModel());
    character->setOnGround(true);
    ASSERT_NE(character->flags() & KXPObjectAssetCharacter::kFlagBouncePending, 0);
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).x, 2.0f);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 8.0f);
    EXPECT_EQ(character->flags() &
                  (KXPObjectAssetCharacter::kFlagBouncePending | KXPObjectAssetCharacter::kFlagUpForce),
              0);
}

TEST_F(CharacterUpdate, TheGroundTestComesBeforeTheAirDrag) {
    values().moveSpeed = ccp(4, 0);
    values().characterFriction = ccp(0.5f, 0.5f);
    platform(ccp(0, -30));
    KXPObjectAssetCharacter* character = place(characterModel());
    character->setDirection(ccp(1, 0));
    ASSERT_FALSE(character->isOnGround());
    character->update(kFrame);
    EXPECT_TRUE(character->isOnGround());
    EXPECT_FLOAT_EQ(velocityOf(character).x, 4.0f);
}

TEST_F(CharacterUpdate, TheGroundTestRunsOnlyInPhysicsMovement) {
    values().directMovement = true;
    platform(ccp(0, -30));
    KXPObjectAssetCharacter* character = place(characterModel());
    character->update(kFrame);
    EXPECT_FALSE(character->isOnGround());
}

TEST_F(CharacterUpdate, LeanBoundsAreOneSided) {
    values().leftLeanForce = 1.0f;
    values().rightLeanForce = 2.0f;
    values().rotationScale = 0.5f;
    KXPObjectAssetCharacter* character = place(characterModel());
    b2Body* body = character->getBody();
    struct Case {
        bool left;
        bool right;
        float before;
        float after;
    };
    const Case cases[] = {
        {true, false, 10.0f, 11.0f},   // spinning its own way fast, the left lean still adds
        {true, false, -4.5f, -3.5f},   // and it adds against a slower clockwise spin
        {true, false, -5.0f, -5.0f},   // only a clockwise spin of 5 stops it
        {false, true, -10.0f, -12.0f}, // the same for the right lean, the other way round
        {false, true, 5.0f, 5.0f},     {true, true, 0.0f, -1.0f}, // both: left first, then right
        {false, false, 3.0f, 1.5f},                               // neither: the rotation scale
    };
    for (const Case& c : cases) {
        c.left ? character->startLeftLean() : character->stopLeftLean();
        c.right ? character->startRightLean() : character->stopRightLean();
        body->SetAngularVelocity(c.before);
        character->update(kFrame);
        EXPECT_FLOAT_EQ(body->GetAngularVelocity(), c.after) << c.left << c.right << " from " << c.before;
    }
    character->stopRightLean();
    character->startLeftLean();
    character->setLeanStrength(3.0f);
    body->SetAngularVelocity(0.0f);
    character->update(kFrame);
    EXPECT_FLOAT_EQ(body->GetAngularVelocity(), 3.0f);
}

TEST_F(CharacterUpdate, ForcedMovementFollowsTheGameplayDirection) {
    values().forcedMovement = true;
    values().gameSpeed = 3.0f;
    values().gameplayAngleDirection = 90.0f; // clockwise degrees: straight down
    KXPObjectAssetCharacter* character = place(characterModel());
    character->update(kFrame);
    EXPECT_NEAR(velocityOf(character).x, 0.0f, 1e-5f);
    EXPECT_FLOAT_EQ(velocityOf(character).y, -3.0f);

    setVelocity(character, 0, 0);
    values().forcedMovement = false;
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 0.0f);
    values().forcedMovement = true;
    values().gameSpeed = 0.0f;
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 0.0f);
}

TEST_F(CharacterUpdate, SteeringCountsAQuarterMoreThanTheMoveSpeedAndIsClamped) {
    values().moveSpeed = ccp(4, 2);
    KXPObjectAssetCharacter* character = place(characterModel());
    character->setDirection(ccp(1, -1));
    character->update(kFrame);
    EXPECT_FLOAT_EQ(character->frameVelocity().x, 5.0f);
    EXPECT_FLOAT_EQ(character->frameVelocity().y, -2.5f);
    EXPECT_FLOAT_EQ(velocityOf(character).x, 4.0f);
    EXPECT_FLOAT_EQ(velocityOf(character).y, -2.0f);
}

TEST_F(CharacterUpdate, OnlyAPositiveMoveSpeedClampsItsAxis) {
    KXPObjectAssetCharacter* character = place(characterModel());
    struct Case {
        CCPoint moveSpeed;
        b2Vec2 after;
    };
    const Case cases[] = {
        {ccp(0, 0), b2Vec2(10, -10)},
        {ccp(-3, -3), b2Vec2(10, -10)},
        {ccp(3, 0), b2Vec2(3, -10)},
        {ccp(0, 3), b2Vec2(10, -3)},
    };
    for (const Case& c : cases) {
        values().moveSpeed = c.moveSpeed;
        setVelocity(character, 10, -10);
        character->update(kFrame);
        EXPECT_FLOAT_EQ(velocityOf(character).x, c.after.x) << c.moveSpeed.x << "," << c.moveSpeed.y;
        EXPECT_FLOAT_EQ(velocityOf(character).y, c.after.y) << c.moveSpeed.x << "," << c.moveSpeed.y;
    }
}

TEST_F(CharacterUpdate, AirDragScalesTheWholeVelocityOnlyInTheAir) {
    values().characterFriction = ccp(0.5f, 0.9f);
    KXPObjectAssetCharacter* flying = place(characterModel(), ccp(0, 300));
    setVelocity(flying, 4, -10);
    flying->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(flying).x, 2.0f);
    EXPECT_FLOAT_EQ(velocityOf(flying).y, -9.0f);

    platform(ccp(0, -30));
    KXPObjectAssetCharacter* standing = place(characterModel());
    setVelocity(standing, 4, -10);
    standing->update(kFrame);
    ASSERT_TRUE(standing->isOnGround());
    EXPECT_FLOAT_EQ(velocityOf(standing).x, 4.0f);
    EXPECT_FLOAT_EQ(velocityOf(standing).y, -10.0f);
}

TEST_F(CharacterUpdate, DirectMovementPullsTheBodyToTheControlPoint) {
    values().directMovement = true;
    values().moveSpeed = ccp(5, 5);
    KXPObjectAssetCharacter* character = place(characterModel(), ccp(100, 100));
    b2MouseJoint* joint = character->mouseJoint();
    ASSERT_NE(joint, nullptr);
    ASSERT_NE(character->anchorBody(), nullptr);
    EXPECT_EQ(character->anchorBody()->GetType(), b2_staticBody);
    // A 10 Hz spring, critically damped, against the character's own mass.
    const float mass = character->getBody()->GetMass();
    const float omega = 2.0f * b2_pi * 10.0f;
    EXPECT_NEAR(joint->GetStiffness(), mass * omega * omega, 1e-3f * mass * omega * omega);
    EXPECT_NEAR(joint->GetDamping(), 2.0f * mass * omega, 1e-3f * mass * omega);
    EXPECT_FLOAT_EQ(joint->GetMaxForce(), 10000.0f);

    character->moveBy(1, 0);
    EXPECT_EQ(character->getState(), KXPObjectAssetCharacter::kStateMoving);
    EXPECT_FLOAT_EQ(character->getControlPosition().x, 105.0f);
    character->update(kFrame);
    EXPECT_FLOAT_EQ(joint->GetTarget().x, 105.0f * 0.05f);
    // The box a camera sees is already where the joint pulls.
    const b2AABB box = character->getAABB();
    EXPECT_NEAR((box.lowerBound.x + box.upperBound.x) * 0.5f, 105.0f * 0.05f, 1e-4f);

    // Forced movement carries the control point along the gameplay direction.
    values().forcedMovement = true;
    values().gameSpeed = 2.0f;
    character->update(kFrame);
    EXPECT_FLOAT_EQ(character->getControlPosition().x, 107.0f);
    values().forcedMovement = false;
    world->run(90);
    EXPECT_NEAR(character->getPositionX(), 107.0f, 0.5f);
    EXPECT_NEAR(character->getPositionY(), 100.0f, 0.5f);

    character->moveBy(0, 0);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    character->setMovementEnabled(false);
    EXPECT_FLOAT_EQ(joint->GetMaxForce(), 0.0f);
    character->setPosition(ccp(1, 2));
    character->setMovementEnabled(true);
    EXPECT_FLOAT_EQ(joint->GetMaxForce(), 10000.0f);
    EXPECT_TRUE(character->getControlPosition().equals(ccp(1, 2)));
}

TEST_F(CharacterUpdate, AutoTiltSettlesAgainstTheSpeedAfterTheLean) {
    values().directMovement = true;
    values().rotationScale = 0.5f;
    auto model = characterModel();
    assetOf(model)->autoTiltAttribute()->setValue(true, true);
    KXPObjectAssetCharacter* character = place(model);
    struct Case {
        float speed;
        float settled;
    };
    for (const Case& c : {Case{-35.0f, b2_pi / 2}, Case{25.0f, -b2_pi / 2}, Case{0.0f, 0.0f}}) {
        for (int frame = 0; frame < 40; ++frame) {
            setVelocity(character, c.speed, 0);
            character->update(kFrame);
        }
        EXPECT_NEAR(character->tiltAngle(), c.settled, 1e-4f) << c.speed;
        EXPECT_FLOAT_EQ(character->getBody()->GetAngularVelocity(),
                        (character->tiltAngle() - character->getBody()->GetAngle()) * 20.0f)
            << c.speed;
    }

    values().directMovement = false;
    KXPObjectAssetCharacter* walker = place(model);
    setVelocity(walker, -35, 0);
    walker->update(kFrame);
    EXPECT_FLOAT_EQ(walker->tiltAngle(), 0.0f);
}

TEST_F(CharacterUpdate, TheFallComesTheUpdateAfterDeathPastTheClamp) {
    values().moveSpeed = ccp(1, 1);
    auto model = lingeringModel();
    assetOf(model)->fallAttributeAttribute()->setValue(5.0f, true);
    KXPObjectAssetCharacter* character = place(model);
    // A body hung on the character falls through the level with it.
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    b2Body* carried = world->world.CreateBody(&definition);
    b2CircleShape circle;
    circle.m_radius = 0.5f;
    carried->CreateFixture(&circle, 1.0f);
    b2RevoluteJointDef joint;
    joint.Initialize(character->getBody(), carried, b2Vec2(0, 0));
    world->world.CreateJoint(&joint);

    character->dieNextUpdate();
    character->update(kFrame);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
    EXPECT_TRUE(character->isFallPending());
    EXPECT_FALSE(character->getBody()->GetFixtureList()->IsSensor());

    character->update(kFrame);
    EXPECT_FALSE(character->isFallPending());
    EXPECT_TRUE(character->getBody()->GetFixtureList()->IsSensor());
    EXPECT_TRUE(carried->GetFixtureList()->IsSensor());
    EXPECT_FLOAT_EQ(velocityOf(character).x, 0.0f);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 100.0f);
}

TEST_F(CharacterUpdate, DeathRequestedInTheStepComesWithTheUpdateUnlessAPowerupProtects) {
    KXPObjectAssetCharacter* character = place(lingeringModel());
    character->addActivePowerup(nullptr);
    character->dieNextUpdate();
    character->update(kFrame);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    EXPECT_FALSE(character->willDieNextUpdate());

    character->clearActivePowerups();
    character->dieNextUpdate();
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    character->update(kFrame);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
}

TEST_F(CharacterUpdate, ABounceForceChangeLiftsTheCharacterOffTheGroundOnceAfterTheDrag) {
    values().moveSpeed = ccp(4, 0);
    values().characterFriction = ccp(0.5f, 0.5f);
    platform(ccp(0, -30));
    KXPObjectAssetCharacter* character = place(characterModel());
    character->setDirection(ccp(1, 0));
    character->update(kFrame);
    ASSERT_TRUE(character->isOnGround());

    values().bounceForce = ccp(0, 6);
    setVelocity(character, 0, 0);
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).x, 4.0f);
    EXPECT_FALSE(character->isOnGround());

    // The next ground test is a landing, which now bounces.
    character->update(kFrame);
    EXPECT_TRUE(character->isOnGround());
    EXPECT_NE(character->flags() & KXPObjectAssetCharacter::kFlagBouncePending, 0);
    character->update(kFrame);
    EXPECT_FLOAT_EQ(velocityOf(character).y, 6.0f);
}

TEST_F(CharacterUpdate, TurningFixedRotationOnSnapsTheBodyToThePlacedRotation) {
    auto model = characterModel();
    model->rotationAttribute()->setValue(30.0f, true);
    KXPObjectAssetCharacter* character = place(model);
    b2Body* body = character->getBody();
    ASSERT_FALSE(body->IsFixedRotation());
    body->SetTransform(body->GetPosition(), 1.0f);

    values().fixedRotation = true;
    character->update(kFrame);
    EXPECT_TRUE(body->IsFixedRotation());
    EXPECT_FLOAT_EQ(body->GetAngle(), -30.0f * 0.017453292f);

    body->SetTransform(body->GetPosition(), 1.0f);
    values().fixedRotation = false;
    character->update(kFrame);
    EXPECT_FALSE(body->IsFixedRotation());
    EXPECT_FLOAT_EQ(body->GetAngle(), 1.0f);
}

TEST_F(CharacterUpdate, OnlyADirectionBeyondATenthTurnsTheImageAndItsFixture) {
    values().imageDirection = true;
    auto model = characterModel();
    // A box left of the origin (in place of the model's own), so that the mirrored one lies
    // right of it.
    assetOf(model)->collisionShape()->replaceWithBox(CCSize(20, 20), ccp(10, 0));
    KXPObjectAssetCharacter* character = place(model);
    b2Body* body = character->getBody();
    const float density = body->GetFixtureList()->GetDensity();
    auto centreX = [&] {
        const b2AABB box = body->GetFixtureList()->GetAABB(0);
        return (box.lowerBound.x + box.upperBound.x) * 0.5f;
    };
    ASSERT_NEAR(centreX(), -0.5f, 1e-4f);

    character->setDirection(ccp(-0.0999f, 0));
    EXPECT_FLOAT_EQ(character->getScaleX(), 1.0f);
    // 0.1f lies a little beyond 0.1: it turns.
    character->setDirection(ccp(-0.1f, 0));
    EXPECT_FLOAT_EQ(character->getScaleX(), -1.0f);
    EXPECT_NEAR(centreX(), 0.5f, 1e-4f);
    b2Fixture* mirrored = body->GetFixtureList();
    EXPECT_EQ(mirrored->GetNext(), nullptr);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(mirrored), character);
    EXPECT_EQ(mirrored->GetFilterData().categoryBits, KXPObjectAsset::kCharacterCategoryBits);
    EXPECT_EQ(mirrored->GetFilterData().groupIndex, KXPObjectAsset::kCharacterGroupIndex);
    EXPECT_FLOAT_EQ(mirrored->GetDensity(), density);

    character->setDirection(ccp(-0.5f, 0));
    EXPECT_FLOAT_EQ(character->getScaleX(), -1.0f);
    character->setDirection(ccp(0.1f, 0));
    EXPECT_FLOAT_EQ(character->getScaleX(), 1.0f);

    values().imageDirection = false;
    character->setDirection(ccp(-1, 0));
    EXPECT_FLOAT_EQ(character->getScaleX(), 1.0f);
}

TEST_F(CharacterUpdate, TheTurnedFixtureKeepsItsMaterialSensorFlagAndFilter) {
    values().imageDirection = true;
    KXPObjectAssetCharacter* character = place(characterModel());
    b2Body* body = character->getBody();
    // Values no fresh fixture definition starts with, so that a rebuilt one would show.
    b2Fixture* before = body->GetFixtureList();
    before->SetDensity(3.5f);
    before->SetFriction(0.25f);
    before->SetRestitution(0.75f);
    before->SetSensor(true);
    b2Filter filter;
    filter.categoryBits = 0x0040;
    filter.maskBits = 0x0F0F;
    filter.groupIndex = -7;
    before->SetFilterData(filter);

    character->setDirection(ccp(-1, 0));
    ASSERT_FLOAT_EQ(character->getScaleX(), -1.0f);
    b2Fixture* turned = body->GetFixtureList();
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->GetNext(), nullptr);
    EXPECT_FLOAT_EQ(turned->GetDensity(), 3.5f);
    EXPECT_FLOAT_EQ(turned->GetFriction(), 0.25f);
    EXPECT_FLOAT_EQ(turned->GetRestitution(), 0.75f);
    EXPECT_TRUE(turned->IsSensor());
    EXPECT_EQ(turned->GetFilterData().categoryBits, 0x0040);
    EXPECT_EQ(turned->GetFilterData().maskBits, 0x0F0F);
    EXPECT_EQ(turned->GetFilterData().groupIndex, -7);

    // And back again.
    character->setDirection(ccp(1, 0));
    ASSERT_FLOAT_EQ(character->getScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(body->GetFixtureList()->GetFriction(), 0.25f);
    EXPECT_TRUE(body->GetFixtureList()->IsSensor());
    EXPECT_EQ(body->GetFixtureList()->GetFilterData().groupIndex, -7);
}

TEST_F(CharacterUpdate, ADirectionSetsTheMovingStateUnlessAPathCarriesTheCharacter) {
    KXPObjectAssetCharacter* character = place(characterModel());
    character->setDirection(ccp(0, 1));
    EXPECT_EQ(character->getState(), KXPObjectAssetCharacter::kStateMoving);
    EXPECT_NE(character->flags() & KXPObjectAssetCharacter::kFlagMoving, 0);
    character->setDirection(CCPointZero);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    EXPECT_EQ(character->flags() & KXPObjectAssetCharacter::kFlagMoving, 0);

    character->setType(KXPObject::kTypeCharacter | KXPObject::kTypeCarriedByPath);
    character->setDirection(ccp(1, 0));
    EXPECT_TRUE(character->axes().equals(CCPointZero));
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);

    // Gamepad axes only while movement is enabled.
    character->setMovementEnabled(false);
    character->setAxisX(1.0f);
    EXPECT_FLOAT_EQ(character->axes().x, 0.0f);
    character->setMovementEnabled(true);
    character->setAxisY(-1.0f);
    EXPECT_FLOAT_EQ(character->axes().y, -1.0f);
}

TEST_F(CharacterUpdate, UnderALooksShapeWithoutDensityTurnsAndFixedRotationKeepAWeightOfOne) {
    values().imageDirection = true;
    KXPObjectAssetCharacter* character = place(characterModel());
    b2Body* body = character->getBody();
    auto shape = createModel<KXModelPolygon>();
    shape->replaceWithBox(CCSize(30, 30), CCPointZero);
    character->pushAnimation(KXPObjectAsset::kDisplayPowerup, nullptr, shape);
    ASSERT_FLOAT_EQ(body->GetMass(), 1.0f);
    character->setDirection(ccp(-1, 0));
    ASSERT_FLOAT_EQ(character->getScaleX(), -1.0f);
    EXPECT_FLOAT_EQ(body->GetMass(), 1.0f) << "turned";
    ASSERT_FALSE(body->IsFixedRotation());
    values().fixedRotation = true;
    character->update(kFrame);
    ASSERT_TRUE(body->IsFixedRotation());
    EXPECT_FLOAT_EQ(body->GetMass(), 1.0f) << "fixed rotation switched on";
}

TEST_F(CharacterUpdate, ACollisionCircleWithoutRadiusWeighsOneWithOrWithoutFixedRotation) {
    for (const bool fixed : {false, true}) {
        values().fixedRotation = fixed;
        auto model = characterModel();
        auto dot = std::static_pointer_cast<KXModelCircle>(KXModelCircle::create());
        dot->addPoint(CCPointZero, true);
        dot->addPoint(CCPointZero, true);
        assetOf(model)->collisionShapeAttribute()->setValue(dot, true);
        b2Body* body = place(model)->getBody();
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(body->GetType(), b2_dynamicBody);
        EXPECT_FLOAT_EQ(body->GetMass(), 1.0f) << fixed;
        EXPECT_FLOAT_EQ(body->GetInertia(), 0.0f) << fixed;
    }
}

TEST_F(CharacterUpdate, ACharacterWithoutABodyStillDiesAndTouchesNoBody) {
    values().forcedMovement = true;
    values().gameSpeed = 2.0f;
    values().upForce = ccp(0, 3);
    values().imageDirection = true;
    values().fixedRotation = true;
    auto model = lingeringModel();
    assetOf(model)->fallAttributeAttribute()->setValue(5.0f, true);
    auto shapeless = lingeringModel();
    shapeless->characterAsset()->collisionShapeAttribute()->setValue(nullptr, true);
    for (const auto& source : {model, shapeless}) {
        auto* character = new KXPObjectAssetCharacter(source);
        character->autorelease();
        character->setScaleY(source == model ? 0.0f : 1.0f); // zero scale: no body
        world->layer->addChild(character);
        character->addToWorld(&world->world, true);
        ASSERT_EQ(character->getBody(), nullptr);
        character->jump();
        character->startLeftLean();
        character->setDirection(ccp(-1, 0));
        character->setLinearVelocity(1, 1);
        character->update(kFrame);
        EXPECT_EQ(character->getAABB().upperBound.x, 0.0f);
        character->dieNextUpdate();
        character->update(kFrame);
        EXPECT_EQ(character->getState(), KXPObject::kStateDead);
        character->update(kFrame);
        EXPECT_FALSE(character->isFallPending());
    }
}

TEST_F(CharacterUpdate, TheAnchorOfDirectMovementLeavesTheWorldWithTheCharacter) {
    values().directMovement = true;
    const int before = world->world.GetBodyCount();
    KXPObjectAssetCharacter* character = place(characterModel(), ccp(100, 100));
    EXPECT_EQ(world->world.GetBodyCount(), before + 2);
    EXPECT_EQ(world->world.GetJointCount(), 1);
    world->layer->removeChild(character, true);
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(world->world.GetBodyCount(), before);
    EXPECT_EQ(world->world.GetJointCount(), 0);
}

} // namespace
