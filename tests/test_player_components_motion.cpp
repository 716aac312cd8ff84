// Components that move their owner: the mover (control triggers by digit and swipe, release
// activation, exclusive starts, waiting for a drawn jump, velocity operations, axes left to the
// physics, timeouts), the motor (button and contact events) and the drawn (iso) jump.

#include "model/classes/KXModelComponentIsoJump.h"
#include "model/classes/KXModelComponentMotor.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "player/components/KXComponentIsoJump.h"
#include "player/components/KXComponentMotor.h"
#include "player/components/KXComponentMove.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/store/KXPSwitchStateTable.h"
#include "support/component_test_support.h"
#include "support/state_guards.h"

#include <gtest/gtest.h>

#include <climits>

using namespace cocos2d;
using kxtest::send;

namespace {

constexpr int kOn = 11;
constexpr int kOff = 12;

std::shared_ptr<KXModelComponentMove> mover(const std::string& event, const CCPoint& velocity,
                                            const std::string& operation = "") {
    auto model = createModel<KXModelComponentMove>();
    kxtest::setText(*model, "Event", event);
    kxtest::setPoint(*model, "Linear Velocity", velocity);
    if (!operation.empty()) {
        kxtest::setText(*model, "Mathematical Operation", operation);
    }
    return model;
}

std::shared_ptr<KXModelComponentIsoJump> isoJump(const std::string& event, float count) {
    auto model = createModel<KXModelComponentIsoJump>();
    kxtest::setText(*model, "Event", event);
    attributeOf<KXAttributeAnimation>(*model, "Animation")
        ->setValue(kxtest::pictureAnimation("Jump", CCSize(40, 40)), true);
    // Up at 300 points a second for 0.1 s, then falling back under 600 points a second squared.
    kxtest::setPoint(*model, "Jump Velocity", CCPoint(0, 300));
    kxtest::setPoint(*model, "Jump Gravity", CCPoint(0, 600));
    kxtest::setNumber(*model, "Jump Speed", 1.0f);
    kxtest::setNumber(*model, "Jump Duration", 10.0f);
    kxtest::setNumber(*model, "Jump Timeout", 0.1f);
    kxtest::setNumber(*model, "Jump Count", count);
    return model;
}

float speedX(KXPObject* object) {
    return object->getBody()->GetLinearVelocity().x;
}

class MoveComponent : public kxtest::ComponentTest {};
class MotorComponent : public kxtest::ComponentTest {};
class IsoJumpComponent : public kxtest::ComponentTest {};

TEST_F(MoveComponent, DigitZeroMovesWhileHeldOtherDigitsSwapPressAndRelease) {
    CCNode* fire = control<KXModelObjectButtonControl>("Fire");
    CCNode* other = control<KXModelObjectButtonControl>("Other");
    KXPObject* held = place({mover("kButton-Fire-0", CCPoint(3, 0))});
    KXPObject* swapped =
        place({mover("kButton-Fire-1", CCPoint(-2, 0))}, KXPObject::kTypeUnit, CCPoint(300, 100));
    KXPObject* noDigit =
        place({mover("kSwitch-Fire", CCPoint(1, 0))}, KXPObject::kTypeUnit, CCPoint(500, 100));
    KXComponentMove* heldMove = first<KXComponentMove>(held);
    KXComponentMove* swappedMove = first<KXComponentMove>(swapped);

    send(other, kOn);
    frames(1);
    EXPECT_FALSE(heldMove->isEnabled()) << "another control's name";

    send(fire, kOn);
    frames(1);
    EXPECT_TRUE(heldMove->isEnabled());
    EXPECT_FLOAT_EQ(speedX(held), 3.0f);
    EXPECT_FALSE(swappedMove->isEnabled()) << "\"on\" is a release for a digit other than 0";
    EXPECT_FALSE(held->isMovementEnabled()) << "the mover takes the owner's own movement";

    send(fire, kOff);
    frames(1);
    EXPECT_FALSE(heldMove->isEnabled());
    EXPECT_TRUE(held->isMovementEnabled());
    EXPECT_TRUE(swappedMove->isEnabled()) << "\"off\" is the press";
    EXPECT_FLOAT_EQ(speedX(swapped), -2.0f);
    // A switch trigger without a digit takes its name as the digit: not "0", so it swaps too.
    EXPECT_TRUE(first<KXComponentMove>(noDigit)->isEnabled());

    // A press and release within one frame start nothing.
    send(fire, kOn);
    send(fire, kOff);
    frames(1);
    EXPECT_FALSE(heldMove->isEnabled());
}

TEST_F(MoveComponent, OnlyAnAnimationWithObjectsToShowGetsANode) {
    auto shown = mover("kButton-Fire-0", CCPoint(1, 0));
    attributeOf<KXAttributeAnimation>(*shown, "Animation")
        ->setValue(kxtest::pictureAnimation("Run", CCSize(40, 40)), true);
    auto empty = mover("kButton-Fire-0", CCPoint(1, 0));
    auto soundOnly = createModel<KXModelAnimation>();
    soundOnly->addChild(createModel<KXModelSound>(), true);
    attributeOf<KXAttributeAnimation>(*empty, "Animation")->setValue(soundOnly, true);
    EXPECT_NE(first<KXComponentMove>(place({shown}))->animationNode(), nullptr);
    EXPECT_EQ(
        first<KXComponentMove>(place({empty}, KXPObject::kTypeUnit, CCPoint(300, 100)))->animationNode(),
        nullptr);
}

TEST_F(MoveComponent, SwipeDirectionComesFromTheDigitOrTheName) {
    CCNode* up = control<KXModelObjectSwipeControl>("2");
    CCNode* named = control<KXModelObjectSwipeControl>("Left");
    KXPObject* byName = place({mover("kSwipe-2", CCPoint(0, 4))});
    KXPObject* letters =
        place({mover("kSwipe-Left", CCPoint(0, 4))}, KXPObject::kTypeUnit, CCPoint(300, 100));
    KXPObject* third =
        place({mover("kSwipe-Left-1", CCPoint(5, 0))}, KXPObject::kTypeUnit, CCPoint(500, 100));

    for (int event = 13; event <= 16; ++event) {
        send(named, event);
    }
    frames(1);
    EXPECT_FALSE(first<KXComponentMove>(letters)->isEnabled())
        << "a name beginning with a letter subscribes nothing";
    EXPECT_FALSE(first<KXComponentMove>(byName)->isEnabled()) << "swipes of another control";
    EXPECT_TRUE(first<KXComponentMove>(third)->isEnabled()) << "digit 1 is a swipe right";

    send(up, 13);
    frames(1);
    EXPECT_FALSE(first<KXComponentMove>(byName)->isEnabled()) << "a swipe left";
    send(up, 15);
    frames(1);
    EXPECT_TRUE(first<KXComponentMove>(byName)->isEnabled());
    EXPECT_FLOAT_EQ(byName->getBody()->GetLinearVelocity().y, 4.0f);
}

TEST_F(MoveComponent, ReleaseActivationRunsUntilItsTimeoutBesideItsSiblings) {
    CCNode* go = control<KXModelObjectButtonControl>("Go");
    auto onRelease = mover("kButton-Go-0", CCPoint(0, 2));
    kxtest::setFlag(*onRelease, "Activate On Release", true);
    kxtest::setNumber(*onRelease, "Timeout", 0.5f);
    auto atStart = mover("kEventStart", CCPoint(1, 0));
    KXPObject* object = place({atStart, onRelease});
    KXComponentMove* started = first<KXComponentMove>(object);
    KXComponentMove* released = static_cast<KXComponentMove*>(object->components()[1]);

    frames(1);
    EXPECT_TRUE(started->isEnabled()) << "a start trigger moves at the first update";
    send(go, kOn);
    frames(1);
    EXPECT_FALSE(released->isEnabled()) << "pressing does nothing";
    send(go, kOff);
    frames(1);
    EXPECT_TRUE(released->isEnabled());
    EXPECT_TRUE(started->isEnabled()) << "a release start is not exclusive";
    // Both give both axes: the later in the list sets the body last.
    EXPECT_EQ(object->getBody()->GetLinearVelocity(), b2Vec2(0, 2));

    frames(29);
    EXPECT_TRUE(released->isEnabled());
    frames(2);
    EXPECT_FALSE(released->isEnabled()) << "stopped by its timeout";
    frames(120);
    EXPECT_TRUE(started->isEnabled()) << "a timeout of 0 never stops";
}

TEST_F(MoveComponent, AnExclusiveStartStopsTheSiblingsAndADeadOwnerStaysPut) {
    CCNode* go = control<KXModelObjectButtonControl>("Go");
    KXPObject* object = place({mover("kEventStart", CCPoint(1, 0)), mover("kButton-Go-0", CCPoint(-4, 0))});
    KXComponentMove* started = static_cast<KXComponentMove*>(object->components()[0]);
    KXComponentMove* pressed = static_cast<KXComponentMove*>(object->components()[1]);
    frames(1);
    send(go, kOn);
    frames(1);
    EXPECT_FALSE(started->isEnabled());
    EXPECT_TRUE(pressed->isEnabled());
    EXPECT_FLOAT_EQ(speedX(object), -4.0f);

    object->setState(KXPObject::kStateDead);
    EXPECT_FALSE(pressed->isEnabled()) << "death stops the mover";
    pressed->setEnabled(true);
    EXPECT_FALSE(pressed->isEnabled()) << "a dead owner cannot be started";
}

TEST_F(MoveComponent, MultiplyingByMinusOneReversesTheHorizontalSpeed) {
    CCNode* flip = control<KXModelObjectButtonControl>("Flip");
    KXPObject* object = place({mover("kButton-Flip-1", CCPoint(-1, 1), "kMultiply")});
    KXComponentMove* move = first<KXComponentMove>(object);
    EXPECT_EQ(move->operation(), KXComponentMove::kMultiply);
    object->getBody()->SetLinearVelocity(b2Vec2(2, 1.5f));
    send(flip, kOff);
    frames(1);
    EXPECT_EQ(object->getBody()->GetLinearVelocity(), b2Vec2(-2, 1.5f));
    send(flip, kOn);
    frames(1);
    send(flip, kOff);
    frames(1);
    EXPECT_EQ(object->getBody()->GetLinearVelocity(), b2Vec2(2, 1.5f));

    // Adding goes from the body's speed; without a body a product has nothing to work on.
    KXPObject* adder =
        place({mover("kEventStart", CCPoint(1, 0), "kAdd")}, KXPObject::kTypeUnit, CCPoint(300, 100));
    adder->getBody()->SetLinearVelocity(b2Vec2(2, 0));
    frames(1);
    EXPECT_FLOAT_EQ(speedX(adder), 3.0f);
}

TEST_F(MoveComponent, AnEmptyAxisIsLeftToThePhysics) {
    world().world.SetGravity(b2Vec2(0, -10));
    CCNode* flip = control<KXModelObjectButtonControl>("Flip");
    auto model = mover("kButton-Flip-1", CCPoint(-1, 0), "kMultiply");
    kxtest::setPoint(*model, "Linear Velocity", CCPoint(-1, 0), false, true);
    KXPObject* object = place({model});
    object->getBody()->SetLinearVelocity(b2Vec2(2, 1.5f));
    send(flip, kOff);
    frames(1);
    ASSERT_TRUE(first<KXComponentMove>(object)->isEnabled());
    frames(30);
    EXPECT_FLOAT_EQ(speedX(object), -2.0f);
    // Half a second of gravity from 1.5 upwards: falling at more than 3.
    EXPECT_LT(object->getBody()->GetLinearVelocity().y, -3.0f) << "the vertical speed is the physics' own";
}

TEST_F(MoveComponent, ForcedSwitchButtonFlipsEverySwitchState) {
    auto left = createModel<KXModelObjectButtonSwitch>();
    auto right = createModel<KXModelObjectButtonSwitch>();
    switchStateTable()[left] = true;
    switchStateTable()[right] = false;
    auto forced = mover("kEventStart", CCPoint(1, 0));
    kxtest::setFlag(*forced, "Forced Switch Button", true);
    place({forced});
    frames(1);
    EXPECT_FALSE(switchStateTable()[left]);
    EXPECT_TRUE(switchStateTable()[right]);
    clearSwitchStates();
}

TEST_F(MoveComponent, AStartWaitsForTheDrawnJumpToLand) {
    // The jump clears its flag in its own update after the landing: a mover after it in the list
    // starts in that same frame, a mover before it in the next one.
    struct Order {
        bool jumpFirst;
        int framesAfterLanding;
    };
    for (const Order& order : {Order{true, 1}, Order{false, 2}}) {
        const std::string tag = order.jumpFirst ? "JumpFirst" : "MoverFirst";
        CCNode* jump = control<KXModelObjectButtonControl>("Jump" + tag);
        CCNode* go = control<KXModelObjectButtonControl>("Go" + tag);
        auto jumper = isoJump("kButton-Jump" + tag + "-0", 1);
        auto runner = mover("kButton-Go" + tag + "-0", CCPoint(2, 0));
        KXPObject* object = order.jumpFirst
                                ? place({jumper, runner})
                                : place({runner, jumper}, KXPObject::kTypeUnit, CCPoint(100, 400));
        KXComponentIsoJump* iso = first<KXComponentIsoJump>(object);
        KXComponentMove* move = first<KXComponentMove>(object);
        send(jump, kOn);
        frames(1);
        ASSERT_TRUE(iso->isInAir()) << tag;
        send(go, kOn);
        int landedAt = -1;
        int startedAt = -1;
        for (int frame = 0; frame < 240 && startedAt < 0; ++frame) {
            frames(1);
            if (landedAt < 0 && !iso->isInAir()) {
                landedAt = frame;
            }
            if (move->isEnabled()) {
                startedAt = frame;
            }
            EXPECT_FALSE(move->isEnabled() && iso->isInAir()) << tag;
        }
        ASSERT_GE(landedAt, 0) << tag;
        EXPECT_EQ(startedAt, landedAt + order.framesAfterLanding) << tag;
        EXPECT_FLOAT_EQ(speedX(object), 2.0f) << tag;
    }
}

TEST_F(MotorComponent, ZeroComponentsLeaveTheBodysOwnMotion) {
    world().world.SetGravity(b2Vec2(0, -10));
    auto spinner = createModel<KXModelComponentMotor>();
    kxtest::setPoint(*spinner, "Linear Velocity", CCPoint(0, 0));
    kxtest::setNumber(*spinner, "Angular Velocity", 2.0f);
    KXPObject* spinning = place({spinner});
    auto steady = createModel<KXModelComponentMotor>();
    kxtest::setPoint(*steady, "Linear Velocity", CCPoint(3, 0));
    KXPObject* driven = place({steady}, KXPObject::kTypeUnit, CCPoint(400, 100));
    driven->getBody()->SetAngularVelocity(5.0f);

    frames(30);
    EXPECT_FLOAT_EQ(spinning->getBody()->GetAngularVelocity(), 2.0f);
    EXPECT_LT(spinning->getBody()->GetLinearVelocity().y, -4.0f) << "it still falls";
    EXPECT_FLOAT_EQ(spinning->getBody()->GetLinearVelocity().x, 0.0f);
    EXPECT_FLOAT_EQ(speedX(driven), 3.0f);
    EXPECT_FLOAT_EQ(driven->getBody()->GetAngularVelocity(), 0.0f) << "an angular velocity of 0 is held too";
}

TEST_F(MotorComponent, AnyButtonPressMultipliesTheVelocity) {
    CCNode* anyButton = control<KXModelObjectButtonControl>("Anything");
    auto motor = createModel<KXModelComponentMotor>();
    kxtest::setPoint(*motor, "Linear Velocity", CCPoint(2, 0));
    kxtest::setNumber(*motor, "Angular Velocity", 1.0f);
    kxtest::setText(*motor, "Event", "kEventButton");
    kxtest::setPoint(*motor, "Linear Multiplier", CCPoint(-1, 1));
    kxtest::setNumber(*motor, "Angular Multiplier", 2.0f);
    KXPObject* object = place({motor});
    send(anyButton, kOn);
    frames(1);
    EXPECT_FLOAT_EQ(speedX(object), -2.0f);
    send(nullptr, kOn);
    send(anyButton, kOff);
    frames(1);
    EXPECT_FLOAT_EQ(speedX(object), 2.0f);
    EXPECT_FLOAT_EQ(object->getBody()->GetAngularVelocity(), 4.0f);
}

TEST_F(MotorComponent, OnlyAUnitOfTheAffectedAssetMultipliesOnContact) {
    KXPObjectAsset* crate = place({}, KXPObject::kTypeUnit, CCPoint(400, 400));
    const std::shared_ptr<KXModelAsset> crateAsset = crate->assetModel()->asset();
    KXPObjectAsset* stranger = place({}, KXPObject::kTypeUnit, CCPoint(700, 400));
    // An object of the crate's asset without the unit bit, as a character's gun is.
    auto gunModel = createModel<KXModelObjectAsset>();
    gunModel->setAsset(crateAsset);
    KXPObjectAsset* gun = world().place(gunModel, CCPoint(1000, 400), [](kxtest::TestAsset& object) {
        object.setType(KXPObject::kTypeCharacter);
    });

    auto motor = createModel<KXModelComponentMotor>();
    kxtest::setPoint(*motor, "Linear Velocity", CCPoint(2, 0));
    kxtest::setText(*motor, "Event", "kEventCollision");
    kxtest::setText(*motor, "Affected asset", std::to_string(crateAsset->id()));
    kxtest::setPoint(*motor, "Linear Multiplier", CCPoint(-1, 1));
    KXPObjectAsset* object = place({motor});
    frames(1);
    ASSERT_FLOAT_EQ(speedX(object), 2.0f);

    object->beginContact(stranger, nullptr, true);
    object->beginContact(gun, nullptr, true);
    frames(1);
    EXPECT_FLOAT_EQ(speedX(object), 2.0f) << "another asset's unit, or no unit";
    object->beginContact(crate, nullptr, true);
    frames(1);
    EXPECT_FLOAT_EQ(speedX(object), -2.0f);
    object->beginContact(crate, nullptr, true);
    frames(1);
    EXPECT_FLOAT_EQ(speedX(object), 2.0f) << "each contact multiplies again";
}

TEST_F(MotorComponent, AnAffectedAssetWhoseIdIsPastTheIntRangeIsMetWrittenEitherWay) {
    const kxtest::ScopedIdCounter ids(0x80000004u);
    KXPObjectAsset* crate = place({}, KXPObject::kTypeUnit, CCPoint(400, 400));
    const std::shared_ptr<KXModelAsset> crateAsset = crate->assetModel()->asset();
    ASSERT_GT(crateAsset->id(), 2147483647u);
    auto motor = createModel<KXModelComponentMotor>();
    kxtest::setPoint(*motor, "Linear Velocity", CCPoint(2, 0));
    kxtest::setText(*motor, "Event", "kEventCollision");
    kxtest::setText(*motor, "Affected asset", std::to_string(crateAsset->id()));
    kxtest::setPoint(*motor, "Linear Multiplier", CCPoint(-1, 1));
    KXPObjectAsset* object = place({motor});
    frames(1);
    ASSERT_FLOAT_EQ(speedX(object), 2.0f);
    object->beginContact(crate, nullptr, true);
    frames(1);
    EXPECT_FLOAT_EQ(speedX(object), -2.0f);
    // Written as the signed number its 32 bits make, as an int held it: the same asset.
    kxtest::setText(*motor, "Affected asset", std::to_string(static_cast<int32_t>(crateAsset->id())));
    object->beginContact(crate, nullptr, true);
    frames(1);
    EXPECT_FLOAT_EQ(speedX(object), 2.0f);
}

TEST_F(IsoJumpComponent, ChainedJumpsPopEveryStateOnLandingAndContinuousJumpsRepeat) {
    CCNode* jump = control<KXModelObjectButtonControl>("Jump");
    auto chained = isoJump("kButton-Jump-0", 2);
    auto hop = soundModel();
    auto again = soundModel();
    attributeOf<KXAttributeSound>(*chained, "Jump Sound")->setValue(hop, true);
    attributeOf<KXAttributeSound>(*chained, "Double Jump Sound")->setValue(again, true);
    KXPObjectAsset* object = place({chained});
    KXComponentIsoJump* iso = first<KXComponentIsoJump>(object);
    const b2Vec2 bodyAt = object->getBody()->GetPosition();

    send(jump, kOn);
    frames(10);
    ASSERT_TRUE(iso->isInAir());
    EXPECT_EQ(plays(hop), 1u);
    EXPECT_EQ(plays(again), 0u);
    EXPECT_EQ(object->currentDisplayNode(), iso->jumpNode());
    EXPECT_GT(iso->jumpNode()->getPositionY(), 0.0f) << "the look is lifted";
    EXPECT_EQ(object->getBody()->GetPosition(), bodyAt) << "the body stays";
    EXPECT_FALSE(object->isMovementEnabled());
    send(jump, kOff);
    send(jump, kOn);
    frames(1);
    EXPECT_EQ(iso->jumpsDone(), 2);
    EXPECT_TRUE(iso->isRising()) << "a chained jump restarts the rise";
    EXPECT_EQ(plays(again), 1u) << "a jump in the air has its own sound";
    EXPECT_EQ(plays(hop), 1u);
    send(jump, kOff);
    send(jump, kOn);
    frames(1);
    EXPECT_EQ(iso->jumpsDone(), 2) << "the count is spent";
    EXPECT_EQ(plays(again), 1u) << "a refused jump is silent";
    send(jump, kOff);
    const size_t states = object->displayStateCount();
    int flight = 0;
    while (iso->isInAir() && flight < 600) {
        frames(1);
        ++flight;
    }
    ASSERT_FALSE(iso->isInAir());
    EXPECT_EQ(object->displayStateCount(), states - 2) << "one state per jump of the chain";
    EXPECT_EQ(iso->jumpNode()->getPosition(), CCPointZero);
    EXPECT_TRUE(object->isMovementEnabled());
    EXPECT_EQ(object->getState(), KXPObject::kStateActive);

    auto continuous = isoJump("kButton-Jump-0", 1);
    kxtest::setFlag(*continuous, "Continuous Jump", true);
    KXPObjectAsset* hopper = place({continuous}, KXPObject::kTypeUnit, CCPoint(400, 100));
    KXComponentIsoJump* hops = first<KXComponentIsoJump>(hopper);
    send(jump, kOn);
    int landings = 0;
    bool wasInAir = false;
    for (int frame = 0; frame < 400; ++frame) {
        frames(1);
        if (wasInAir && !hops->isInAir()) {
            ++landings;
            frames(1);
            EXPECT_TRUE(hops->isInAir()) << "up again on the frame after the landing";
        }
        wasInAir = hops->isInAir();
    }
    EXPECT_GE(landings, 2);
    send(jump, kOff);
    for (int frame = 0; frame < 400 && hops->isInAir(); ++frame) {
        frames(1);
    }
    frames(2);
    EXPECT_FALSE(hops->isInAir()) << "released, it stays down";
}

TEST_F(IsoJumpComponent, TheJumpAboveAnOwnerAtTheHighestDepthWrapsToTheLowest) {
    kxtest::TestAsset* object = place({});
    object->setZOrder(INT_MAX);
    auto* iso = static_cast<KXComponentIsoJump*>(KXComponent::create(isoJump("kButton-Jump-0", 1)));
    object->attach(iso);
    ASSERT_NE(iso->jumpNode(), nullptr);
    // 500 above the owner, wrapped.
    EXPECT_EQ(iso->jumpNode()->getZOrder(), INT_MIN + 499);
}

TEST_F(IsoJumpComponent, ReleaseActivationShortFlightsAndFrameSynchronisation) {
    CCNode* jump = control<KXModelObjectButtonControl>("Jump");
    auto model = isoJump("kButton-Jump-0", 1);
    kxtest::setFlag(*model, "Activate On Release", true);
    kxtest::setNumber(*model, "Jump Duration", 0.2f);
    KXPObjectAsset* object = place({model});
    KXComponentIsoJump* iso = first<KXComponentIsoJump>(object);
    send(jump, kOn);
    frames(1);
    EXPECT_FALSE(iso->isInAir());
    send(jump, kOff);
    frames(1);
    EXPECT_TRUE(iso->isInAir());
    frames(12);
    EXPECT_FALSE(iso->isInAir()) << "the duration cuts the flight short";
    EXPECT_EQ(iso->jumpNode()->getPosition(), CCPointZero);

    // Full speed up shows frame 0, full speed down the last, standing still the middle.
    EXPECT_EQ(KXComponentIsoJump::syncFrame(300, 300, 30), 0);
    EXPECT_EQ(KXComponentIsoJump::syncFrame(0, 300, 30), 15);
    EXPECT_EQ(KXComponentIsoJump::syncFrame(-900, 300, 30), 30);
    // A jump without vertical speed has nothing to synchronise with.
    EXPECT_EQ(KXComponentIsoJump::syncFrame(0, 0, 30), -1);

    // Without an animation there is no jump.
    auto bare = createModel<KXModelComponentIsoJump>();
    kxtest::setText(*bare, "Event", "kButton-Jump-0");
    kxtest::setNumber(*bare, "Jump Count", 1);
    KXPObjectAsset* grounded = place({bare}, KXPObject::kTypeUnit, CCPoint(400, 100));
    send(jump, kOn);
    frames(1);
    EXPECT_FALSE(first<KXComponentIsoJump>(grounded)->isInAir());
}

} // namespace
