// The player character's jumps and ground: the jump refusals (ground, counter, zero force), the
// jump held longer going higher, the landing that resets the count, plays its sound and bounces,
// and the two crossing ground rays: what they pass through, what stops them without being
// ground, and ledges under either half of the character.

#include "support/character_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kFrame = kxtest::kFrame;

// Something to stand on (or not) that counts the contacts the character's rays report.
class GroundAsset : public kxtest::TestAsset {
public:
    explicit GroundAsset(const std::shared_ptr<KXModelObjectAsset>& model) : TestAsset(model) {
        onBeginContact = [this](TestAsset&, KXPObjectAsset* other) {
            if (other != nullptr && (other->getType() & KXPObject::kTypeCharacter) != 0) {
                ++touches;
            }
        };
    }
    void setObjectKind(int kind) { m_objectKind = kind; }
    bool isGround() override { return ground; }

    bool ground = true;
    int touches = 0;
};

class CharacterJump : public kxtest::CharacterTest {
protected:
    // A solid box centred at `position` (collision type 1 unless `setUp` says otherwise).
    GroundAsset* ground(const CCPoint& position, const CCSize& size,
                        const std::function<void(GroundAsset&)>& setUp = nullptr) {
        auto* object = new GroundAsset(kxtest::boxAssetModel(size));
        object->autorelease();
        object->setCollisionType(KXPObjectAsset::kCollisionCharacter);
        object->setPosition(position);
        if (setUp) {
            setUp(*object);
        }
        world->layer->addChild(object);
        object->setObjectLayer(world->layer);
        object->addToWorld(&world->world, false);
        return object;
    }
    // Takes the object and its body out of the world at once.
    void discard(CCNode* object) {
        world->layer->removeChild(object, true);
        CCPoolManager::sharedPoolManager()->pop();
    }
    // The character standing still after a fresh look at the ground.
    static void testGround(KXPObjectAssetCharacter* character) {
        character->setOnGround(false);
        character->update(kFrame);
    }
};

TEST_F(CharacterJump, JumpsAreRefusedWithoutGroundBeyondTheCounterAndWithoutForce) {
    values().upForce = ccp(0, 5);
    values().upForceFromGround = true;
    values().upForceCounter = 2.0f;
    auto model = characterModel();
    const auto sound = soundNamed("jump");
    assetOf(model)->jumpSoundAttribute()->setValue(sound, true);
    KXPObjectAssetCharacter* character = place(model);

    // Off a ledge, the first jump needs the ground.
    character->jump();
    EXPECT_EQ(character->jumpCount(), 0);
    EXPECT_EQ(character->flags() & KXPObjectAssetCharacter::kFlagUpForce, 0);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    EXPECT_EQ(plays(sound), 0u);

    character->setOnGround(true);
    character->jump();
    EXPECT_EQ(character->jumpCount(), 1);
    EXPECT_NE(character->flags() & KXPObjectAssetCharacter::kFlagUpForce, 0);
    EXPECT_EQ(character->getState(), KXPObjectAssetCharacter::kStateJumping);
    EXPECT_EQ(plays(sound), 1u);

    // One more in the air, then the counter says no.
    character->setOnGround(false);
    character->jump();
    EXPECT_EQ(character->jumpCount(), 2);
    character->jump();
    EXPECT_EQ(character->jumpCount(), 2);
    EXPECT_EQ(plays(sound), 2u);

    // A counter of 0 or less sets no limit.
    for (float counter : {0.0f, -1.0f}) {
        values().upForceCounter = counter;
        const int before = character->jumpCount();
        for (int jump = 0; jump < 5; ++jump) {
            character->jump();
        }
        EXPECT_EQ(character->jumpCount(), before + 5) << counter;
    }

    // No force: nothing at all, not even the sound or the state.
    values().upForce = CCPointZero;
    character->setDirection(CCPointZero);
    const size_t heard = plays(sound);
    const int before = character->jumpCount();
    character->jump();
    EXPECT_EQ(character->jumpCount(), before);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    EXPECT_EQ(plays(sound), heard);
}

TEST_F(CharacterJump, AJumpLeavesTheGroundOnlyWithABounceOnBothAxesAndTheJumpStateNeedsMovement) {
    values().upForce = ccp(0, 5);
    KXPObjectAssetCharacter* character = place(characterModel());
    values().bounceForce = ccp(0, 4);
    character->setOnGround(true);
    character->jump();
    EXPECT_TRUE(character->isOnGround());

    values().bounceForce = ccp(2, 4);
    character->jump();
    EXPECT_FALSE(character->isOnGround());

    character->setDirection(CCPointZero);
    character->setMovementEnabled(false);
    const int before = character->jumpCount();
    character->jump();
    EXPECT_EQ(character->jumpCount(), before + 1);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
}

TEST_F(CharacterJump, HoldingTheJumpGoesHigherAndTheLandingResetsTheCount) {
    world->world.SetGravity(b2Vec2(0, -10));
    values().restitution = 0.0f; // a landing that does not bounce back up
    values().upForce = ccp(0, 4);
    values().upForceDuration = 0.5f;
    auto model = characterModel();
    const auto landing = soundNamed("landing");
    assetOf(model)->groundCollisionAttribute()->setValue(landing, true);
    platform(ccp(0, -30));
    KXPObjectAssetCharacter* character = place(model);
    world->run(10);
    ASSERT_TRUE(character->isOnGround());
    const float floor = character->getPositionY();
    const size_t landings = plays(landing);

    auto peakOfJump = [&](int heldFrames) {
        character->jump();
        float peak = floor;
        for (int frame = 0; frame < 240; ++frame) {
            if (frame == heldFrames) {
                character->endJump();
            }
            world->frame();
            peak = std::max(peak, character->getPositionY());
        }
        return peak - floor;
    };
    const float tapped = peakOfJump(2);
    EXPECT_TRUE(character->isOnGround());
    EXPECT_EQ(character->jumpCount(), 0);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    EXPECT_EQ(plays(landing), landings + 1);
    const float held = peakOfJump(30);
    EXPECT_GT(tapped, 5.0f);
    EXPECT_GT(held, tapped * 2.0f);
    EXPECT_TRUE(character->isOnGround());
    EXPECT_EQ(character->jumpCount(), 0);
    EXPECT_EQ(plays(landing), landings + 2);
}

TEST_F(CharacterJump, ALandingResetsTheCountOnceAndBouncesWhenTheGameHasABounce) {
    values().upForce = ccp(0, 5);
    auto model = characterModel();
    const auto landing = soundNamed("landing");
    assetOf(model)->groundCollisionAttribute()->setValue(landing, true);
    assetOf(model)->defeatedAnimationAttribute()->setValue(kxtest::framedAnimation("Down", 1), true);
    KXPObjectAssetCharacter* character = place(model);
    character->jump();
    character->jump();
    character->setDirection(ccp(1, 0));
    character->setOnGround(true);
    EXPECT_EQ(character->jumpCount(), 0);
    EXPECT_EQ(character->getState(), KXPObjectAssetCharacter::kStateMoving);
    EXPECT_EQ(plays(landing), 1u);
    EXPECT_EQ(character->flags() & KXPObjectAssetCharacter::kFlagBouncePending, 0);
    character->jump();
    character->setOnGround(true);
    EXPECT_EQ(character->jumpCount(), 1) << "already on the ground: no landing";
    EXPECT_EQ(plays(landing), 1u);

    values().bounceForce = ccp(0, 3);
    character->setOnGround(false);
    character->setOnGround(true);
    EXPECT_NE(character->flags() & KXPObjectAssetCharacter::kFlagBouncePending, 0);
    EXPECT_EQ(character->flags() & KXPObjectAssetCharacter::kFlagUpForce, 0);

    // Landing while shooting: the state follows the movement, the shooting bit stays.
    character->setDirection(CCPointZero);
    character->setShooting(true);
    character->setOnGround(false);
    character->setOnGround(true);
    EXPECT_EQ(character->getState(), KXPObject::kStateActive);
    EXPECT_NE(character->flags() & KXPObjectAssetCharacter::kFlagShooting, 0);

    // A defeated character lands silently and without a bounce, and stays defeated.
    character->setState(KXPObject::kStateDead);
    character->jump();
    character->setOnGround(false);
    const size_t heard = plays(landing);
    character->setOnGround(true);
    EXPECT_TRUE(character->isOnGround());
    EXPECT_EQ(plays(landing), heard);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
}

TEST_F(CharacterJump, RaysPassSensorsUnownedFixturesTheOwnBodyAndDestroyingObjects) {
    values().groundThreshold = 1.0f; // 20 points above and below the feet
    GroundAsset* floor = ground(ccp(0, -40), CCSize(400, 20));
    KXPObjectAssetCharacter* character = place(characterModel());
    testGround(character);
    ASSERT_TRUE(character->isOnGround());
    ASSERT_EQ(floor->touches, 1);

    // Thin things between the feet and the floor.
    const CCPoint between(0, -23);
    const CCSize thin(400, 2);
    const std::function<void(GroundAsset&)> passed[] = {
        [](GroundAsset& asset) { asset.setCollisionType(KXPObjectAsset::kCollisionNone); },
        [](GroundAsset& asset) { asset.setDestroyMode(KXPObjectAsset::kDestroyCollision); },
        [](GroundAsset& asset) { asset.setDestroyMode(KXPObjectAsset::kDestroyAllCollision); },
    };
    for (const auto& setUp : passed) {
        GroundAsset* skipped = ground(between, thin, setUp);
        floor->touches = 0;
        testGround(character);
        EXPECT_TRUE(character->isOnGround());
        EXPECT_EQ(floor->touches, 1);
        EXPECT_EQ(skipped->touches, 0);
        discard(skipped);
    }

    // A body that belongs to no object.
    b2BodyDef definition;
    definition.position.Set(between.x * 0.05f, between.y * 0.05f);
    b2Body* bare = world->world.CreateBody(&definition);
    b2PolygonShape box;
    box.SetAsBox(10.0f, 0.05f);
    bare->CreateFixture(&box, 0.0f);
    floor->touches = 0;
    testGround(character);
    EXPECT_TRUE(character->isOnGround());
    EXPECT_EQ(floor->touches, 1);
    world->world.DestroyBody(bare);

    // Nothing below at all: the character's own fixture, crossed by both rays, is no ground.
    character->getBody()->SetTransform(b2Vec2(0, 20), 0);
    testGround(character);
    EXPECT_FALSE(character->isOnGround());
}

TEST_F(CharacterJump, ADecorationStopsTheRaysWithoutBeingGround) {
    values().groundThreshold = 1.0f;
    GroundAsset* floor = ground(ccp(0, -40), CCSize(400, 20));
    KXPObjectAssetCharacter* character = place(characterModel());
    const std::function<void(GroundAsset&)> notGround[] = {
        [](GroundAsset& asset) { asset.setObjectKind(KXPObjectAsset::kKindDecoration); },
        [](GroundAsset& asset) { asset.ground = false; }, // a one-way platform being passed
    };
    for (const auto& setUp : notGround) {
        GroundAsset* between = ground(ccp(0, -23), CCSize(400, 2), setUp);
        floor->touches = 0;
        testGround(character);
        EXPECT_FALSE(character->isOnGround());
        EXPECT_EQ(between->touches, 1) << "it learns of the character all the same";
        EXPECT_EQ(floor->touches, 0);
        discard(between);
    }

    // The object stood on learns of the character every frame.
    floor->touches = 0;
    for (int frame = 0; frame < 3; ++frame) {
        character->update(kFrame);
    }
    EXPECT_EQ(floor->touches, 3);
}

TEST_F(CharacterJump, ALedgeUnderEitherHalfIsGround) {
    // Each ray runs above the feet on one half and below them on the other, so each ledge is
    // found by one ray only.
    KXPObjectAssetCharacter* character = place(characterModel());
    for (float side : {-1.0f, 1.0f}) {
        GroundAsset* ledge = ground(ccp(side * 60.0f, -30), CCSize(100, 20));
        testGround(character);
        EXPECT_TRUE(character->isOnGround()) << side;
        EXPECT_EQ(ledge->touches, 1) << side;
        discard(ledge);
    }
    testGround(character);
    EXPECT_FALSE(character->isOnGround());

    // While the up force pushes, the character is never on the ground.
    GroundAsset* floor = ground(ccp(0, -30), CCSize(400, 20));
    values().upForce = ccp(0, 1);
    character->setOnGround(true);
    character->jump();
    character->getBody()->SetLinearVelocity(b2Vec2(0, 0));
    character->update(kFrame);
    EXPECT_FALSE(character->isOnGround());
    EXPECT_EQ(floor->touches, 0);
}

TEST_F(CharacterJump, AGroundThresholdThatIsNoNumberFindsNoGround) {
    // Box2D aborts on a ray it cannot measure; such a threshold simply finds nothing.
    platform(ccp(0, -30));
    KXPObjectAssetCharacter* character = place(characterModel());
    for (float threshold : {std::nanf(""), INFINITY, -INFINITY}) {
        values().groundThreshold = threshold;
        testGround(character);
        EXPECT_FALSE(character->isOnGround()) << threshold;
    }
    values().groundThreshold = 0.1f;
    testGround(character);
    EXPECT_TRUE(character->isOnGround());
}

} // namespace
