// The input controller's own effects: held directions summed with duplicates, motor speeds from
// the held motor actions, jumps, leans and shooting on the live characters, the character queries
// (alive, centre, box), pushes, placing and kills, and the controller's life beside the keypad.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelQueries.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "support/field_test_support.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace cocos2d;
using kxtest::FakeCharacter;

namespace {

using Action = KXPInputController::Action;

class InputController : public kxtest::SceneTest {
protected:
    // Outlives TearDown, where the autoreleased objects (and their bodies) go.
    b2World world{b2Vec2(0.0f, 0.0f)};
    KXPInputController* input = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        input = KXPInputController::shared();
    }
    void TearDown() override {
        KXPInputController::purgeShared();
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    void press(int action) { input->actionPressed(action, nullptr); }
    void release(int action) { input->actionReleased(action, nullptr); }
    FakeCharacter* character(const CCPoint& position = CCPointZero) {
        FakeCharacter* added = FakeCharacter::create(position);
        input->addCharacter(added);
        return added;
    }
};

TEST_F(InputController, HeldDirectionsAreSummedWithDuplicatesAndReleasedTogether) {
    FakeCharacter* runner = character();
    press(KXPInputController::kActionRight);
    input->moveRightPressed(nullptr); // the on-screen button holds the same action again
    release(KXPInputController::kActionRight);
    EXPECT_EQ(runner->directions,
              (std::vector<CCPoint>{CCPointZero, CCPoint(1.0f, 0.0f), CCPoint(2.0f, 0.0f), CCPointZero}));

    press(KXPInputController::kActionUp);
    press(KXPInputController::kActionRight);
    EXPECT_TRUE(runner->direction().equals(CCPoint(1.0f, 1.0f)));
    release(KXPInputController::kActionRight);
    EXPECT_TRUE(runner->direction().equals(CCPoint(0.0f, 1.0f)));
    press(KXPInputController::kActionDown);
    EXPECT_TRUE(runner->direction().equals(CCPointZero));
    press(KXPInputController::kActionLeft);
    // A character made while a direction is held starts with it.
    EXPECT_TRUE(character()->direction().equals(CCPoint(-1.0f, 0.0f)));
    // A release without its press removes nothing.
    release(KXPInputController::kActionRight);
    EXPECT_TRUE(runner->direction().equals(CCPoint(-1.0f, 0.0f)));
}

TEST_F(InputController, ButtonActionsReachLiveCharactersOnly) {
    FakeCharacter* live = character();
    FakeCharacter* dead = character();
    dead->setState(KXPObject::kStateDead);
    for (int action : {5, 6, 7, 8}) {
        press(action);
        release(action);
    }
    EXPECT_EQ(live->calls,
              (std::vector<std::string>{"jump", "endJump", "startLeftLean", "stopLeftLean", "startRightLean",
                                        "stopRightLean", "shoot", "stopShooting"}));
    EXPECT_TRUE(dead->calls.empty());

    // Disabled, nothing happens at all.
    live->calls.clear();
    input->setEnabled(false);
    press(KXPInputController::kActionJump);
    press(KXPInputController::kActionRight);
    EXPECT_TRUE(live->calls.empty());
    EXPECT_TRUE(input->heldActions().empty());
}

TEST_F(InputController, MotorsTurnByTheHeldMotorActions) {
    b2BodyDef def;
    b2Body* ground = world.CreateBody(&def);
    def.type = b2_dynamicBody;
    b2Body* wheel = world.CreateBody(&def);
    b2RevoluteJointDef joint;
    joint.Initialize(ground, wheel, b2Vec2(0.0f, 0.0f));
    auto* motor = static_cast<b2RevoluteJoint*>(world.CreateJoint(&joint));
    auto linker = createModel<KXModelLinker>();
    linker->speedAttribute()->setValue(3.0f, true);
    input->addMotor(motor, linker);

    press(KXPInputController::kActionMotorClockwise);
    EXPECT_FLOAT_EQ(motor->GetMotorSpeed(), -3.0f);
    press(KXPInputController::kActionMotorCounterClockwise);
    EXPECT_FLOAT_EQ(motor->GetMotorSpeed(), 0.0f);
    release(KXPInputController::kActionMotorCounterClockwise);
    EXPECT_FLOAT_EQ(motor->GetMotorSpeed(), -3.0f);
    // Directions leave the motors alone.
    motor->SetMotorSpeed(7.0f);
    press(KXPInputController::kActionUp);
    release(KXPInputController::kActionUp);
    EXPECT_FLOAT_EQ(motor->GetMotorSpeed(), 7.0f);

    // The motors of an object's body are forgotten with it.
    kxtest::BodyObject* wheelObject = kxtest::BodyObject::create(&world, CCPointZero, 10.0f, 0);
    input->forgetMotorsOfObjects({wheelObject});
    EXPECT_EQ(input->motorCount(), 1u); // another body's joint
    b2Body* own = wheelObject->getBody();
    b2RevoluteJointDef ownJoint;
    ownJoint.Initialize(ground, own, b2Vec2(0.0f, 0.0f));
    input->addMotor(static_cast<b2RevoluteJoint*>(world.CreateJoint(&ownJoint)), linker);
    input->forgetMotorsOfObjects({wheelObject});
    EXPECT_EQ(input->motorCount(), 1u);
    input->clearMotors();
    EXPECT_EQ(input->motorCount(), 0u);
}

TEST_F(InputController, UnitsSpawnWhileTheirActionIsHeld) {
    auto* shooter = new KXPObjectAsset(createModel<KXModelObjectAsset>());
    auto* jumper = new KXPObjectAsset(createModel<KXModelObjectAsset>());
    input->subscribeUnit(KXPInputController::kActionShoot, shooter);
    input->subscribeUnit(KXPInputController::kActionJump, jumper);
    press(KXPInputController::kActionShoot);
    EXPECT_TRUE(shooter->isSpawning());
    EXPECT_FALSE(jumper->isSpawning());
    release(KXPInputController::kActionShoot);
    EXPECT_FALSE(shooter->isSpawning());
    // A unit that goes unsubscribes; a later press no longer reaches it, whichever it waited on.
    input->subscribeUnit(KXPInputController::kActionShoot, jumper);
    input->unsubscribeUnit(jumper);
    press(KXPInputController::kActionJump);
    EXPECT_FALSE(jumper->isSpawning());
    press(KXPInputController::kActionShoot);
    EXPECT_FALSE(jumper->isSpawning());
    EXPECT_TRUE(shooter->isSpawning());
    release(KXPInputController::kActionShoot);
    input->clearUnits();
    press(KXPInputController::kActionShoot);
    EXPECT_FALSE(shooter->isSpawning());
    shooter->release();
    jumper->release();
}

TEST_F(InputController, CharactersAddedInOneBatchGetTheHeldDirectionOnceEach) {
    const CCPoint right(1.0f, 0.0f);
    FakeCharacter* before = character();
    press(KXPInputController::kActionRight);
    std::vector<FakeCharacter*> made;
    {
        KXPInputController::AdditionBatch batch(input);
        for (int index = 0; index < 50; ++index) {
            made.push_back(character());
        }
    }
    // The one there before is steered again at the first addition only; each new one at its own.
    EXPECT_EQ(before->directions, (std::vector<CCPoint>{CCPointZero, right, right}));
    for (FakeCharacter* added : made) {
        EXPECT_EQ(added->directions, std::vector<CCPoint>{right});
    }
    // Outside a batch every addition steers them all again.
    character();
    EXPECT_EQ(before->directions.size(), 4u);
    EXPECT_EQ(made.front()->directions.size(), 2u);

    // In a batch, whatever else reaches the characters has the next addition steer them all.
    const CCPoint upRight(1.0f, 1.0f);
    {
        KXPInputController::AdditionBatch batch(input);
        character();
        {
            KXPInputController::AdditionBatch inner(input); // part of the outer one
            character();
        }
        character();
        EXPECT_EQ(before->directions.size(), 5u);
        press(KXPInputController::kActionUp);
        FakeCharacter* last = character();
        EXPECT_EQ(before->directions,
                  (std::vector<CCPoint>{CCPointZero, right, right, right, right, upRight, upRight}));
        EXPECT_EQ(last->directions, std::vector<CCPoint>{upRight});
    }
}

TEST_F(InputController, TheCentreDuringABatchIsTheInOrderSumWithoutAWalkPerAddition) {
    // Positions whose float sums depend on the order they are added in.
    std::vector<FakeCharacter*> made;
    const auto inOrder = [&made]() {
        CCPoint sum = CCPointZero;
        for (FakeCharacter* added : made) {
            sum = sum + (added->direct ? added->control : added->getPosition());
        }
        return sum / static_cast<float>(made.size());
    };
    std::vector<std::pair<CCPoint, CCPoint>> centres;
    {
        KXPInputController::AdditionBatch batch(input);
        for (int index = 0; index < 60; ++index) {
            const float big = index % 3 == 0 ? 16777216.0f : 0.0f;
            made.push_back(character(CCPoint(big + 0.1f * index, 1.0f / (index + 3))));
            made.back()->direct = index % 7 == 0;
            made.back()->control = CCPoint(3.3f * index, -big);
            centres.emplace_back(input->charactersPosition(), inOrder());
        }
        // The newest moves (its first update places it): the next centre sees where it went.
        made.back()->setPosition(CCPoint(-5.5f, 2.25f));
        centres.emplace_back(input->charactersPosition(), inOrder());
    }
    for (size_t index = 0; index < centres.size(); ++index) {
        EXPECT_EQ(centres[index].first.x, centres[index].second.x) << index;
        EXPECT_EQ(centres[index].first.y, centres[index].second.y) << index;
    }
    // Each character was asked a few times, not once for every later addition.
    for (FakeCharacter* added : made) {
        EXPECT_LE(added->movementQueries, 3);
    }

    // In a batch, a push or a removal is seen by the next centre.
    input->reset();
    KXPInputController::AdditionBatch batch(input);
    FakeCharacter* left = character(CCPoint(0.0f, 0.0f));
    FakeCharacter* right = character(CCPoint(100.0f, 0.0f));
    FakeCharacter* far = character(CCPoint(200.0f, 0.0f));
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(100.0f, 0.0f)));
    input->pushCharacters(30.0f, 0.0f, true);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(130.0f, 0.0f)));
    input->removeCharacter(left);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(180.0f, 0.0f)));
    right->setState(KXPObject::kStateDead);
    input->removeCharacter(right);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(230.0f, 0.0f)));
    // So is one added before that was moved, once the move is told.
    character(CCPoint(30.0f, 0.0f));
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(130.0f, 0.0f)));
    far->setPosition(CCPoint(130.0f, 0.0f));
    input->charactersMoved();
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(80.0f, 0.0f)));
}

TEST_F(InputController, ACrowdsCentreIsWorkedOutOncePerUpdateUntilTheCrowdChanges) {
    // A few characters are summed at every ask, held or not.
    FakeCharacter* first = character(CCPoint(0.0f, 0.0f));
    character(CCPoint(100.0f, 0.0f));
    input->holdCentre(true);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(50.0f, 0.0f)));
    first->setPosition(CCPoint(200.0f, 0.0f));
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(150.0f, 0.0f)));
    input->holdCentre(false);

    // A crowd keeps the centre of its first ask while held.
    input->reset();
    std::vector<FakeCharacter*> crowd;
    for (size_t index = 0; index < KXPInputController::kManyCharacters; ++index) {
        crowd.push_back(character(CCPoint(10.0f, 20.0f)));
    }
    const float shift = 1024.0f / KXPInputController::kManyCharacters;
    input->holdCentre(true);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(10.0f, 20.0f)));
    crowd[0]->setPosition(CCPoint(1034.0f, 20.0f));
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(10.0f, 20.0f)));
    // A push, an addition or a removal is seen at the next ask.
    input->pushCharacters(0.0f, 0.0f, true);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(10.0f + shift, 20.0f)));
    crowd[1]->setPosition(CCPoint(1034.0f, 20.0f));
    input->removeCharacter(crowd[0]);
    EXPECT_NEAR(input->charactersPosition().x, 10.0f + shift * 1024.0f / 1023.0f, 1e-3f);
    crowd[2]->setPosition(CCPoint(1034.0f, 20.0f));
    character(CCPoint(10.0f, 20.0f));
    EXPECT_NEAR(input->charactersPosition().x, 10.0f + 2.0f * shift, 1e-3f);
    // Once the update ends, every ask sums afresh.
    input->holdCentre(false);
    crowd[3]->setPosition(CCPoint(1034.0f, 20.0f));
    EXPECT_NEAR(input->charactersPosition().x, 10.0f + 3.0f * shift, 1e-3f);
}

TEST_F(InputController, CharactersAreAliveCentredAndBoxed) {
    // Before any character since the last reset, the field counts as having one.
    EXPECT_TRUE(input->hasLiveCharacters());
    EXPECT_TRUE(input->charactersBoundingRect().equals(CCRect()));
    FakeCharacter* first = character(CCPoint(100.0f, 50.0f));
    FakeCharacter* second = character(CCPoint(300.0f, 150.0f));
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(200.0f, 100.0f)));
    // A directly moved character counts where its control position is.
    second->direct = true;
    second->control = CCPoint(500.0f, 50.0f);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(300.0f, 50.0f)));
    // Dead and removed characters are left out; with none counted the last centre stays.
    second->setState(KXPObject::kStateRemoved);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(100.0f, 50.0f)));
    first->setState(KXPObject::kStateDead);
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(100.0f, 50.0f)));
    // A removed character still lives; only dead ones do not.
    EXPECT_TRUE(input->hasLiveCharacters());
    second->setState(KXPObject::kStateDead);
    EXPECT_FALSE(input->hasLiveCharacters());

    input->reset();
    EXPECT_TRUE(input->hasLiveCharacters());
    EXPECT_TRUE(input->charactersPosition().equals(CCPointZero));
    EXPECT_TRUE(input->characters().empty());
}

TEST_F(InputController, TheBoxIsTheUnionOfTheCharactersBodiesInPoints) {
    // Characters without bodies give zero boxes; these two have circles of 10 points.
    class BodyCharacter : public FakeCharacter {
    public:
        void attach(b2Body* body) { m_body = body; }
    };
    auto* left = new BodyCharacter();
    left->init();
    left->autorelease();
    auto* right = new BodyCharacter();
    right->init();
    right->autorelease();
    kxtest::BodyObject* a = kxtest::BodyObject::create(&world, CCPoint(100.0f, 100.0f), 10.0f, 0);
    kxtest::BodyObject* b = kxtest::BodyObject::create(&world, CCPoint(200.0f, 300.0f), 10.0f, 0);
    left->attach(a->getBody());
    right->attach(b->getBody());
    input->addCharacter(left);
    input->addCharacter(right);
    const CCRect box = input->charactersBoundingRect();
    EXPECT_NEAR(box.getMinX(), 90.0f, 1e-3f);
    EXPECT_NEAR(box.getMinY(), 90.0f, 1e-3f);
    EXPECT_NEAR(box.getMaxX(), 210.0f, 1e-3f);
    EXPECT_NEAR(box.getMaxY(), 310.0f, 1e-3f);
    input->reset();
    left->attach(nullptr);
    right->attach(nullptr);
}

TEST_F(InputController, PushesPlacesAndKills) {
    FakeCharacter* walker = character(CCPoint(100.0f, 100.0f));
    FakeCharacter* flier = character(CCPoint(100.0f, 100.0f));
    flier->direct = true;
    flier->control = CCPoint(100.0f, 100.0f);
    FakeCharacter* dead = character(CCPoint(100.0f, 100.0f));
    dead->setState(KXPObject::kStateDead);

    input->pushCharacters(-50.0f, 0.0f, false);
    EXPECT_EQ(walker->bodyPlacements, std::vector<CCPoint>{CCPoint(50.0f, 100.0f)});
    EXPECT_TRUE(flier->bodyPlacements.empty());
    EXPECT_TRUE(flier->control.equals(CCPoint(50.0f, 100.0f)));
    EXPECT_TRUE(dead->bodyPlacements.empty());
    // No push, no placement.
    input->pushCharacters(0.0f, 0.0f, false);
    EXPECT_EQ(walker->bodyPlacements.size(), 1u);

    input->placeCharacters(CCPoint(10.0f, 20.0f));
    for (FakeCharacter* character : {walker, flier, dead}) {
        EXPECT_TRUE(character->control.equals(CCPoint(10.0f, 20.0f)));
        EXPECT_TRUE(character->getPosition().equals(CCPoint(10.0f, 20.0f)));
        EXPECT_EQ(character->updates, std::vector<float>{0.0f});
    }

    input->killAllCharacters();
    for (FakeCharacter* character : {walker, flier, dead}) {
        EXPECT_EQ(character->getState(), KXPObject::kStateDead);
        EXPECT_EQ(character->calls.back(), "clearActivePowerups");
    }
    input->setJoystickAxes(0.5f, -0.5f);
    EXPECT_EQ(walker->moves, std::vector<CCPoint>{CCPoint(0.5f, -0.5f)});
}

TEST_F(InputController, CharactersThatLeaveTakeTheirPlaceWithThemAndTheRestKeepTheirOrder) {
    FakeCharacter* a = character(CCPoint(1.0f, 0.0f));
    FakeCharacter* b = character(CCPoint(2.0f, 0.0f));
    FakeCharacter* c = character(CCPoint(4.0f, 0.0f));
    FakeCharacter* d = character(CCPoint(8.0f, 0.0f));
    input->removeCharacter(b);
    input->removeCharacter(c);
    input->removeCharacter(c); // gone already: nothing
    EXPECT_TRUE(input->charactersPosition().equals(CCPoint(4.5f, 0.0f)));
    FakeCharacter* e = character(CCPoint(16.0f, 0.0f));
    input->removeCharacter(d);
    EXPECT_EQ(input->characters(), (std::vector<KXPControlledCharacter*>{a, e}));
    // One registered twice leaves its first place first.
    input->addCharacter(a);
    input->removeCharacter(a);
    EXPECT_EQ(input->characters(), (std::vector<KXPControlledCharacter*>{e, a}));
    input->removeCharacter(e);
    input->removeCharacter(a);
    EXPECT_TRUE(input->characters().empty());
    input->addCharacter(b);
    EXPECT_EQ(input->characters(), std::vector<KXPControlledCharacter*>{b});
}

TEST_F(InputController, RegisteredCharactersAreHeldUntilTheyLeaveTheController) {
    FakeCharacter* runner = character();
    runner->retain();
    const unsigned int held = runner->retainCount();
    input->removeCharacter(runner);
    EXPECT_EQ(runner->retainCount(), held - 1);
    input->addCharacter(runner);
    KXPInputController::purgeShared(); // the controller goes, and lets go of it
    EXPECT_EQ(runner->retainCount(), held - 1);
    runner->release();
    input = KXPInputController::shared();
}

TEST_F(InputController, AControllerRetiredDuringAKeypadDispatchGoesAfterIt) {
    class Purger : public CCObject, public CCKeypadDelegate {
    public:
        void onKeyDown(int) override {
            KXPInputController::purgeShared();
            during = KXPInputController::existing();
        }
        KXPInputController* during = reinterpret_cast<KXPInputController*>(1);
    };
    Purger* purger = new Purger();
    CCKeypadDispatcher* keypad = director()->getKeypadDispatcher();
    keypad->removeDelegate(input);
    keypad->addDelegate(purger);
    keypad->addDelegate(input); // after the purger: removed while the dispatch walks
    const int delegates = keypad->delegateCount();

    KXDebugLogCapture capture;
    keypad->dispatchKeyDown(19);
    EXPECT_EQ(purger->during, nullptr);
    EXPECT_EQ(keypad->delegateCount(), delegates - 1);
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"KXPInputController - deallocated"});
    keypad->removeDelegate(purger);
    purger->release();

    // The next use makes a fresh one, in the keypad's list again.
    input = KXPInputController::shared();
    EXPECT_EQ(keypad->delegateCount(), delegates - 1);
}

TEST_F(InputController, ANewControllerTakesTheSharedPlaceAndRetiresTheOldOne) {
    CCKeypadDispatcher* keypad = director()->getKeypadDispatcher();
    const int delegates = keypad->delegateCount();
    KXPInputController* own = new KXPInputController();
    EXPECT_EQ(KXPInputController::existing(), own);
    EXPECT_EQ(keypad->delegateCount(), delegates); // the old one left the keypad
    own->retire();
    EXPECT_EQ(KXPInputController::existing(), nullptr);
    EXPECT_EQ(keypad->delegateCount(), delegates - 1);
    KXDebugLogCapture capture;
    own->release();
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"KXPInputController - deallocated"});
    input = KXPInputController::shared();
}

} // namespace
