// Components that count and show: health (hit points, protection windows on the component clock,
// the hurt look and sound, the death delay, hits from the contact rule), the slide (its own shape
// while a button is held, the body's weight kept) and the rotation mapper (a frame for the body's
// angle).

#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelComponentRotationMapper.h"
#include "model/classes/KXModelComponentSlide.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "player/components/KXComponentHealth.h"
#include "player/components/KXComponentRotationMapper.h"
#include "player/components/KXComponentSlide.h"
#include "player/objects/KXPAnimationObject.h"
#include "support/component_test_support.h"

#include <gtest/gtest.h>

using namespace cocos2d;

namespace {

std::shared_ptr<KXModelComponentHealth> healthModel(float points, float deathDelay, bool withLook = true) {
    auto model = createModel<KXModelComponentHealth>();
    kxtest::setNumber(*model, "Health", points);
    kxtest::setNumber(*model, "Death Delay", deathDelay);
    if (withLook) {
        attributeOf<KXAttributeAnimation>(*model, "Taking Damage Anim.")
            ->setValue(kxtest::pictureAnimation("Hurt", CCSize(40, 40), 0.5f), true);
    }
    return model;
}

std::shared_ptr<KXModelPolygon> box(const CCSize& size) {
    auto polygon = createModel<KXModelPolygon>();
    polygon->replaceWithBox(size, CCPointZero, true);
    return polygon;
}

// The height of the body's fixtures together, in metres; 0 without any.
float fixtureHeight(b2Body* body) {
    float top = -1e9f;
    float bottom = 1e9f;
    for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        b2AABB box;
        fixture->GetShape()->ComputeAABB(&box, body->GetTransform(), 0);
        top = std::max(top, box.upperBound.y);
        bottom = std::min(bottom, box.lowerBound.y);
    }
    return top > bottom ? top - bottom : 0.0f;
}

int fixtureCount(b2Body* body) {
    int count = 0;
    for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        ++count;
    }
    return count;
}

class HealthComponent : public kxtest::ComponentTest {};
class SlideComponent : public kxtest::ComponentTest {};
class RotationMapperComponent : public kxtest::ComponentTest {};

TEST_F(HealthComponent, HitsWithinTheWindowAreRefusedAndTheLastOneKillsAfterTheDelay) {
    KXPObjectAsset* object = place({healthModel(3, 0.5f)});
    KXComponentHealth* health = object->healthComponent();
    ASSERT_NE(health, nullptr);
    EXPECT_EQ(health->health(), 3);

    EXPECT_TRUE(health->takeDamage(1, 0.25f));
    EXPECT_FALSE(health->takeDamage(1, 0.0f)) << "still protected";
    frames(1);
    EXPECT_EQ(object->currentDisplayNode(), health->damageAnimationNode()) << "the hurt look";
    clock += 0.2;
    EXPECT_FALSE(health->takeDamage(1, 0.0f));
    clock += 0.06;
    EXPECT_TRUE(health->takeDamage(1, 0.0f));
    EXPECT_EQ(health->health(), 1);
    frames(40);
    EXPECT_FALSE(object->hasCurrentDisplayState()) << "the hurt look hides at the end of its pass";

    // A wall-clock jump does not reach the component clock; a hit larger than what is left ends at 0.
    EXPECT_TRUE(health->takeDamage(5, 0.0f));
    EXPECT_EQ(health->health(), 0);
    EXPECT_TRUE(health->isDying());
    frames(1);
    EXPECT_FALSE(object->hasCurrentDisplayState()) << "a kill shows no hurt look";
    EXPECT_FALSE(health->takeDamage(1, 0.0f)) << "the dead take nothing";
    frames(27);
    EXPECT_EQ(object->getState(), KXPObject::kStateActive);
    frames(3);
    EXPECT_EQ(object->getState(), KXPObject::kStateDead) << "dead after the delay";
}

TEST_F(HealthComponent, AHurtLookWithNothingToShowLeavesTheOwnersLook) {
    // An animation that holds a sound but no object to show.
    auto look = createModel<KXModelAnimation>();
    look->addChild(createModel<KXModelSound>(), true);
    auto model = healthModel(3, 0.0f, false);
    attributeOf<KXAttributeAnimation>(*model, "Taking Damage Anim.")->setValue(look, true);
    KXPObjectAsset* object = place({model});
    KXComponentHealth* health = object->healthComponent();
    EXPECT_EQ(health->damageAnimationNode(), nullptr);
    EXPECT_TRUE(health->takeDamage(1, 0.0f));
    frames(1);
    EXPECT_FALSE(object->hasCurrentDisplayState());
}

TEST_F(HealthComponent, TheContactRuleHandsItsHitsToTheHealth) {
    // No "Health" given counts as 1 point.
    KXPObjectAsset* victim = place({healthModel(0, 0.0f, false)});
    KXComponentHealth* health = victim->healthComponent();
    EXPECT_EQ(health->health(), 1);

    auto sturdy = healthModel(3, 0.0f, false);
    KXPObjectAsset* target = place({sturdy}, KXPObject::kTypeUnit, CCPoint(300, 100));
    std::shared_ptr<KXModelObjectAsset> bulletModel = kxtest::boxAssetModel();
    auto damage = createModel<KXModelComponentDamage>();
    damage->setDamage(2);
    bulletModel->asset()->addChild(damage);
    kxtest::TestAsset* bullet = world().place(bulletModel, CCPoint(600, 100), [](kxtest::TestAsset& object) {
        object.setType(KXPObject::kTypeUnit);
        object.setDestroyMode(KXPObjectAsset::kDestroyAllCollision);
    });
    KXPObjectAsset::applyContactDamage(bullet, target);
    EXPECT_EQ(target->healthComponent()->health(), 1);
    EXPECT_FALSE(target->willDieNextUpdate()) << "hit points left: no death";
    KXPObjectAsset::applyContactDamage(bullet, victim);
    EXPECT_EQ(victim->getState(), KXPObject::kStateActive);
    frames(1);
    EXPECT_EQ(victim->getState(), KXPObject::kStateDead) << "a death delay of 0 kills on the next frame";
}

TEST_F(HealthComponent, EachHitThatLeavesPointsPlaysTheHurtSoundOnceAndAKillPlaysNone) {
    // No hurt look: the sound does not depend on one.
    auto model = healthModel(3, 0.0f, false);
    auto ouch = soundModel();
    attributeOf<KXAttributeSound>(*model, "Taking Damage Sound")->setValue(ouch, true);
    KXComponentHealth* health = place({model})->healthComponent();

    ASSERT_TRUE(health->takeDamage(1, 0.0f));
    EXPECT_EQ(plays(ouch), 0u) << "due at the next update";
    frames(1);
    EXPECT_EQ(plays(ouch), 1u);
    frames(5);
    EXPECT_EQ(plays(ouch), 1u) << "once per hit";
    ASSERT_TRUE(health->takeDamage(1, 0.0f));
    frames(1);
    EXPECT_EQ(plays(ouch), 2u);
    ASSERT_TRUE(health->takeDamage(1, 0.0f));
    frames(1);
    EXPECT_EQ(plays(ouch), 2u) << "the last point lost is a death, not a hurt";
}

TEST_F(SlideComponent, TheSlideShapeLastsWhileHeldAndTheOwnShapeComesBack) {
    CCNode* button = control<KXModelObjectButtonControl>("Duck");
    auto model = createModel<KXModelComponentSlide>();
    kxtest::setText(*model, "Event", "kEventButton");
    attributeOf<KXAttributeShape>(*model, "Collision Shape")->setValue(box(CCSize(40, 10)), true);
    attributeOf<KXAttributeAnimation>(*model, "Animation")
        ->setValue(kxtest::pictureAnimation("Slide", CCSize(40, 10)), true);
    KXPObjectAsset* object = place({model}, KXPObject::kTypeCharacter);
    KXComponentSlide* slide = first<KXComponentSlide>(object);
    b2Body* body = object->getBody();
    const float standing = fixtureHeight(body);
    const b2Filter filter = body->GetFixtureList()->GetFilterData();

    kxtest::send(button, 11);
    frames(1);
    EXPECT_TRUE(slide->isEnabled());
    EXPECT_EQ(fixtureCount(body), 1);
    EXPECT_NEAR(fixtureHeight(body), 0.5f, 0.03f);
    EXPECT_EQ(body->GetFixtureList()->GetFilterData().categoryBits, filter.categoryBits) << "same filter";
    EXPECT_TRUE(slide->animationNode()->isVisible());
    EXPECT_FALSE(object->isMovementEnabled());

    kxtest::send(button, 12);
    frames(1);
    EXPECT_FALSE(slide->isEnabled());
    EXPECT_EQ(fixtureCount(body), 1);
    EXPECT_NEAR(fixtureHeight(body), standing, 1e-3f);
    EXPECT_FALSE(slide->animationNode()->isVisible());
    EXPECT_TRUE(object->isMovementEnabled());

    // A press while the owner's movement is off waits for it.
    object->setMovementEnabled(false);
    kxtest::send(button, 11);
    frames(2);
    EXPECT_FALSE(slide->isEnabled());
    object->setMovementEnabled(true);
    frames(1);
    EXPECT_TRUE(slide->isEnabled());

    // Death keeps the slide shape on the body.
    object->setState(KXPObject::kStateDead);
    EXPECT_FALSE(slide->isEnabled());
    EXPECT_NEAR(fixtureHeight(body), 0.5f, 0.03f);
    kxtest::send(button, 12);
    EXPECT_EQ(fixtureCount(body), 1);
}

TEST_F(SlideComponent, AShapeThatTookTheSlideShapesPlaceStaysWhenTheSlideEnds) {
    CCNode* button = control<KXModelObjectButtonControl>("Duck");
    auto model = createModel<KXModelComponentSlide>();
    kxtest::setText(*model, "Event", "kEventButton");
    attributeOf<KXAttributeShape>(*model, "Collision Shape")->setValue(box(CCSize(40, 10)), true);
    KXPObjectAsset* object = place({model}, KXPObject::kTypeCharacter);
    KXComponentSlide* slide = first<KXComponentSlide>(object);
    b2Body* body = object->getBody();
    const float standing = fixtureHeight(body);
    const std::shared_ptr<KXModelPolygon> tall = box(CCSize(40, 60));

    // A look with a shape comes while sliding: its fixture takes the slide fixture's place, and
    // Box2D may give it the slide fixture's memory.
    kxtest::send(button, 11);
    frames(1);
    ASSERT_TRUE(slide->isEnabled());
    object->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, tall);
    EXPECT_EQ(slide->slideFixture(), nullptr);
    kxtest::send(button, 12);
    frames(1);
    EXPECT_FALSE(slide->isEnabled());
    EXPECT_EQ(fixtureCount(body), 1);
    EXPECT_NEAR(fixtureHeight(body), 3.0f, 0.05f) << "the look's shape stays while the look does";
    object->popAnimation(KXPObjectAsset::kDisplayMove, nullptr, tall);
    EXPECT_EQ(fixtureCount(body), 1);
    EXPECT_NEAR(fixtureHeight(body), standing, 1e-3f);

    // A look that came and went while sliding gave the own shape back already.
    kxtest::send(button, 11);
    frames(1);
    ASSERT_TRUE(slide->isEnabled());
    object->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, tall);
    object->popAnimation(KXPObjectAsset::kDisplayMove, nullptr, tall);
    kxtest::send(button, 12);
    frames(1);
    EXPECT_EQ(fixtureCount(body), 1);
    EXPECT_NEAR(fixtureHeight(body), standing, 1e-3f);
}

TEST_F(SlideComponent, UnderALooksShapeWithoutDensityTheBodyKeepsAWeightOfOne) {
    CCNode* button = control<KXModelObjectButtonControl>("Duck");
    auto model = createModel<KXModelComponentSlide>();
    kxtest::setText(*model, "Event", "kEventButton");
    attributeOf<KXAttributeShape>(*model, "Collision Shape")->setValue(box(CCSize(40, 10)), true);
    KXPObjectAsset* object = place({model});
    b2Body* body = object->getBody();
    object->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, box(CCSize(40, 60)));
    ASSERT_FLOAT_EQ(body->GetFixtureList()->GetDensity(), 0.0f);
    kxtest::send(button, 11);
    frames(1);
    ASSERT_TRUE(first<KXComponentSlide>(object)->isEnabled());
    EXPECT_FLOAT_EQ(body->GetMass(), 1.0f) << "sliding";
    kxtest::send(button, 12);
    frames(1);
    ASSERT_FALSE(first<KXComponentSlide>(object)->isEnabled());
    EXPECT_FLOAT_EQ(body->GetMass(), 1.0f) << "up again";
}

TEST_F(SlideComponent, WithoutASlideShapeOrABodyNothingBreaks) {
    CCNode* button = control<KXModelObjectButtonControl>("Duck");
    auto model = createModel<KXModelComponentSlide>();
    kxtest::setText(*model, "Event", "kEventButton");
    attributeOf<KXAttributeShape>(*model, "Collision Shape")->setValue(nullptr, true);
    KXPObjectAsset* object = place({model});
    const float standing = fixtureHeight(object->getBody());
    kxtest::send(button, 11);
    frames(3);
    EXPECT_EQ(fixtureCount(object->getBody()), 0) << "no shape: no fixture while sliding";
    EXPECT_EQ(object->getAABB().upperBound.x, 0.0f);
    EXPECT_FLOAT_EQ(object->getBody()->GetMass(), 1.0f) << "a moving body without fixtures still weighs";
    kxtest::send(button, 12);
    frames(1);
    EXPECT_NEAR(fixtureHeight(object->getBody()), standing, 1e-3f);

    // An owner without a body slides without touching any fixture.
    auto bodiless = createModel<KXModelComponentSlide>();
    kxtest::setText(*bodiless, "Event", "kEventButton");
    std::shared_ptr<KXModelObjectAsset> placed = kxtest::boxAssetModel();
    placed->asset()->addChild(bodiless);
    kxtest::TestAsset* floating = kxtest::TestAsset::make(placed);
    floating->retain();
    kxtest::send(button, 11);
    floating->update(kxtest::kFrame);
    EXPECT_TRUE(first<KXComponentSlide>(floating)->isEnabled());
    kxtest::send(button, 12);
    EXPECT_FALSE(first<KXComponentSlide>(floating)->isEnabled());
    floating->release();
}

TEST_F(RotationMapperComponent, TheFrameFollowsTheBodyAngle) {
    EXPECT_EQ(KXComponentRotationMapper::frameForAngle(95.0f, 36), 9);
    EXPECT_EQ(KXComponentRotationMapper::frameForAngle(-95.0f, 36), 27);
    EXPECT_EQ(KXComponentRotationMapper::frameForAngle(360.0f, 36), 0);
    EXPECT_EQ(KXComponentRotationMapper::frameForAngle(450.0f, 36), 9);
    // Less than a frame below a full turn counts back from n itself.
    EXPECT_EQ(KXComponentRotationMapper::frameForAngle(-5.0f, 36), 36);
    // A body spun to a huge angle still gets a frame of the animation.
    const int spun = KXComponentRotationMapper::frameForAngle(-1e30f, 36);
    EXPECT_TRUE(spun >= 0 && spun <= 36) << spun;

    auto model = createModel<KXModelComponentRotationMapper>();
    attributeOf<KXAttributeAnimation>(*model, "Animation")
        ->setValue(kxtest::pictureAnimation("Turn", CCSize(40, 40)), true);
    KXPObjectAsset* object = place({model});
    KXComponentRotationMapper* mapper = first<KXComponentRotationMapper>(object);
    EXPECT_FALSE(mapper->isEnabled());
    frames(1);
    EXPECT_TRUE(mapper->isEnabled());
    EXPECT_EQ(object->currentDisplayNode(), mapper->animationNode());

    object->setRotation(45.0f);
    object->getBody()->SetTransform(object->getBody()->GetPosition(), 1.0f);
    object->resetComponents();
    EXPECT_EQ(object->getRotation(), 0.0f);
    EXPECT_FLOAT_EQ(object->getBody()->GetAngle(), 1.0f);

    object->setState(KXPObject::kStateDead);
    EXPECT_FALSE(mapper->isEnabled());
    EXPECT_FALSE(object->hasCurrentDisplayState());

    // A spawner's mapper switches itself off at once.
    KXPObjectAsset* spawner =
        place({createModel<KXModelComponentRotationMapper>()}, KXPObject::kTypeUnit, CCPoint(400, 100));
    spawner->setSpawner(true);
    frames(1);
    EXPECT_FALSE(first<KXComponentRotationMapper>(spawner)->isEnabled());
}

} // namespace
