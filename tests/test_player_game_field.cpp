// The game-field scene headless: exactly one world step per drawn frame whatever the frame took,
// the fixed step (game speed and its clamps, distance credited beyond the furthest point only,
// the magnet, removals and the mirror list), flash and shake, requests parked for the next update
// and run before the pause sync, the game-over countdown, background layers riding with the
// camera, the mirror capture pass, the world left alone while it is locked, and fields entered and
// left many times.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPCaptureTarget.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPNoise.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPObjectBackgroundLayer.h"
#include "player/store/KXPScoreTable.h"
#include "support/field_test_support.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace cocos2d;
using kxtest::BodyObject;
using kxtest::FakeCharacter;

namespace {

constexpr const char* kWorld = "field-test";

class GameField : public kxtest::SceneTest {
protected:
    // Outlives the scene, whose objects note their last body changes into it.
    kxtest::WorldEditLog log;
    std::shared_ptr<KXModelScreenScene> model;
    KXPScreenScene* scene = nullptr;
    KXPGameplaySettings* gameplay = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        clearScores();
        KXPScreensController::shared()->setCurrentSceneKey(kWorld);
        model = KXBaseModelScreenScene::findOrCreateByKey(kWorld);
        model->gravityAttribute()->setValue(CCPointZero, true);
    }
    void TearDown() override {
        // The pool lets go of the objects first; they take their bodies out of the world, which
        // goes with the scene.
        kxtest::SceneTest::TearDown();
        if (scene != nullptr) {
            scene->release();
        }
        KXPInputController::purgeShared();
        clearScores();
        resetModelCore();
    }

    void make() {
        scene = KXPScreenScene::create();
        ASSERT_NE(scene, nullptr);
        scene->retain();
        gameplay = KXPGameplaySettings::shared();
        gameplay->setGameSpeed(0.0f);
        gameplay->setGameSpeedMin(0.0f);
        gameplay->setGameSpeedMax(0.0f);
        gameplay->setGameSpeedIncrease(0.0f);
        gameplay->setSimulationTimeScale(1.0f);
        gameplay->setScoreMultiplier(1.0f);
        gameplay->setGameplayAngleDirection(0.0f);
    }
    CCNode* layer() const { return scene->getObjectLayer(); }
    BodyObject* body(const CCPoint& position, uint32_t type = 0, kxtest::WorldEditLog* log = nullptr) {
        BodyObject* object = BodyObject::create(scene->getWorld(), position, 10.0f, type, log);
        layer()->addChild(object);
        return object;
    }
    FakeCharacter* character(const CCPoint& position) {
        FakeCharacter* added = FakeCharacter::create(position);
        scene->getInputController()->addCharacter(added);
        return added;
    }
    // What the director does after each drawn frame: autoreleased objects let go.
    static void endFrame() { CCPoolManager::sharedPoolManager()->pop(); }
    static float bodyX(BodyObject* object) { return object->getBody()->GetPosition().x / 0.05f; }
};

TEST_F(GameField, EveryFrameStepsTheWorldOnceByASixtiethTimesTheTimeScale) {
    make();
    BodyObject* ball = body(CCPointZero);
    ball->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));
    scene->update(0.1f);
    EXPECT_EQ(scene->getStepCount(), 1u);
    EXPECT_NEAR(ball->getBody()->GetPosition().x, 0.1f, 1e-5f);
    scene->update(0.01f);
    EXPECT_EQ(scene->getStepCount(), 2u);
    EXPECT_NEAR(ball->getBody()->GetPosition().x, 0.2f, 1e-5f);
    // The fixed step updated the object after each step, with 1/60.
    EXPECT_EQ(ball->updates, (std::vector<float>{KXPScreenScene::kFixedStep, KXPScreenScene::kFixedStep}));

    gameplay->setSimulationTimeScale(0.5f);
    scene->update(0.5f);
    EXPECT_NEAR(ball->getBody()->GetPosition().x, 0.25f, 1e-5f);
}

TEST_F(GameField, TimeScaleZeroHoldsTheWorldWhileTheFixedStepRuns) {
    make();
    BodyObject* ball = body(CCPointZero);
    ball->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));
    gameplay->setSimulationTimeScale(0.0f);
    gameplay->setGameSpeedMax(100.0f);
    gameplay->setGameSpeedIncrease(1.0f);
    for (int frame = 0; frame < 3; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    EXPECT_EQ(ball->getBody()->GetPosition().x, 0.0f);
    EXPECT_EQ(ball->updates.size(), 3u);
    EXPECT_FLOAT_EQ(gameplay->getGameSpeed(), 3.0f);
    // A time scale from broken data (negative, not a number) holds the world too.
    for (float scale : {-1.0f, NAN}) {
        gameplay->setSimulationTimeScale(scale);
        scene->update(1.0f / 60.0f);
        EXPECT_EQ(ball->getBody()->GetPosition().x, 0.0f);
    }
}

class RecordingField : public KXPScreenScene {
public:
    void handleRequest(int request) override {
        requests.push_back(request);
        pausedAtRequest.push_back(isPaused());
    }
    std::vector<int> requests;
    std::vector<bool> pausedAtRequest;
};

TEST_F(GameField, AParkedRequestRunsAtTheNextUpdateBeforeThePauseIsApplied) {
    auto* field = new RecordingField();
    ASSERT_TRUE(field->init());
    scene = field;
    gameplay = KXPGameplaySettings::shared();
    gameplay->setSimulationTimeScale(1.0f);
    BodyObject* ball = body(CCPointZero);
    ball->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));

    // As a contact callback would: park both.
    field->setPendingRequest(KXPScreenScene::kRequestResumeFromUi);
    field->setRequestedPause(true);
    EXPECT_TRUE(field->requests.empty());
    field->update(1.0f / 60.0f);
    EXPECT_EQ(field->requests, std::vector<int>{KXPScreenScene::kRequestResumeFromUi});
    EXPECT_EQ(field->pausedAtRequest, std::vector<bool>{false});
    EXPECT_TRUE(field->isPaused());
    EXPECT_EQ(field->getPendingRequest(), 0);

    // Paused, nothing moves: no step, flash and shake stay where they are.
    field->flash(1.0f);
    field->shake(1.0f);
    field->update(0.25f);
    EXPECT_EQ(field->getStepCount(), 0u);
    EXPECT_EQ(ball->getBody()->GetPosition().x, 0.0f);
    EXPECT_EQ(field->getFlashTimer(), 1.0f);
    EXPECT_EQ(field->getShakeTimer(), 1.0f);
    EXPECT_TRUE(field->getPosition().equals(CCPointZero));

    field->setRequestedPause(false);
    field->update(0.25f);
    EXPECT_FALSE(field->isPaused());
    EXPECT_EQ(field->getStepCount(), 1u);
    EXPECT_EQ(field->requests.size(), 1u);
}

TEST_F(GameField, TheFlashFadesOverItsDurationAndZeroEndsIt) {
    make();
    CCSprite* flash = scene->getFlashSprite();
    const CCSize window = director()->getWinSize();
    EXPECT_TRUE(flash->getPosition().equals(CCPoint(window.width * 0.5f, window.height * 0.5f)));
    EXPECT_EQ(flash->getOpacity(), 0);

    KXDebugLogCapture capture;
    scene->flash(1.0f);
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"[KXPScreenScene] - flash: 1.000000"});
    std::vector<int> opacities;
    for (int frame = 0; frame < 5; ++frame) {
        scene->update(0.25f);
        opacities.push_back(flash->getOpacity());
    }
    EXPECT_EQ(opacities, (std::vector<int>{255, 191, 127, 63, 0}));

    scene->flash(2.0f);
    scene->update(0.25f);
    EXPECT_EQ(flash->getOpacity(), 255);
    scene->flash(0.0f);
    EXPECT_EQ(flash->getOpacity(), 0);
    scene->update(0.25f);
    EXPECT_EQ(flash->getOpacity(), 0);
}

TEST_F(GameField, TheShakeFollowsTheNoiseUntilItEndsAndZeroPutsTheFieldBack) {
    make();
    KXDebugLogCapture capture;
    scene->shake(0.5f);
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"[KXPScreenScene] - shake: 0.500000"});
    scene->update(0.25f);
    const float x = static_cast<float>(noise1((0.5 + 200.0) * 16.0) * 70.0 * 0.5);
    const float y = static_cast<float>(noise1((0.5 + 150.0) * 16.0) * 70.0 * 0.5);
    EXPECT_FLOAT_EQ(scene->getPositionX(), x);
    EXPECT_FLOAT_EQ(scene->getPositionY(), y);
    scene->update(0.25f);
    const CCPoint last = scene->getPosition();
    // Over: the field stays where the last shake put it.
    scene->update(0.25f);
    EXPECT_TRUE(scene->getPosition().equals(last));
    scene->shake(0.0f);
    EXPECT_TRUE(scene->getPosition().equals(CCPointZero));
}

TEST_F(GameField, TheGameSpeedRisesWithinItsLimitsAndFallsToZeroOnceNoCharacterLives) {
    make();
    gameplay->setGameSpeedMin(2.0f);
    gameplay->setGameSpeedMax(5.0f);
    gameplay->setGameSpeedIncrease(1.0f);
    std::vector<float> speeds;
    for (int frame = 0; frame < 5; ++frame) {
        scene->update(0.0f);
        speeds.push_back(gameplay->getGameSpeed());
    }
    // The first step lifts it to the minimum at once.
    EXPECT_EQ(speeds, (std::vector<float>{2.0f, 3.0f, 4.0f, 5.0f, 5.0f}));

    FakeCharacter* runner = character(CCPoint(100.0f, 100.0f));
    runner->setState(KXPObject::kStateDead);
    scene->update(0.0f); // notices the loss: slow-down from the next step on
    EXPECT_FLOAT_EQ(scene->getSlowDown(), 0.1f);
    scene->update(0.0f);
    EXPECT_FLOAT_EQ(gameplay->getGameSpeed(), 4.9f);
    for (int frame = 0; frame < 60; ++frame) {
        scene->update(0.0f);
    }
    // Below the minimum, down to a stop.
    EXPECT_EQ(gameplay->getGameSpeed(), 0.0f);
}

TEST_F(GameField, DistanceIsCreditedOnlyBeyondTheFurthestPointReached) {
    make();
    FakeCharacter* runner = character(CCPoint(1.0f, 100.0f));
    auto session = [] { return currentWorldScores().distance.session; };
    scene->update(0.0f); // the starting point
    EXPECT_EQ(session(), 0.0f);
    runner->setPositionX(11.0f);
    scene->update(0.0f);
    EXPECT_FLOAT_EQ(session(), 10.0f);
    runner->setPositionX(6.0f);
    scene->update(0.0f);
    EXPECT_FLOAT_EQ(session(), 10.0f);
    runner->setPositionX(9.0f);
    scene->update(0.0f);
    EXPECT_FLOAT_EQ(session(), 10.0f);
    runner->setPositionX(13.0f);
    scene->update(0.0f);
    EXPECT_FLOAT_EQ(session(), 12.0f);
    for (const KXPScoreRecord* record : {&currentWorldScores(), &worldScores("")}) {
        EXPECT_FLOAT_EQ(record->distance.session, 12.0f);
        EXPECT_FLOAT_EQ(record->distance.total, 12.0f);
        EXPECT_FLOAT_EQ(record->distance.best, 12.0f);
    }

    gameplay->setScoreMultiplier(0.0f);
    runner->setPositionX(50.0f);
    scene->update(0.0f);
    EXPECT_FLOAT_EQ(session(), 12.0f);

    // After a restore (the run goes back to its last checkpoint: none, so 0) the first step only
    // takes the new starting point.
    gameplay->setScoreMultiplier(2.0f);
    scene->restoreFromCheckpoint();
    EXPECT_EQ(scene->getLastCharacterDistance(), -FLT_MAX);
    EXPECT_EQ(session(), 0.0f);
    runner = character(CCPoint(500.0f, 100.0f));
    scene->update(0.0f);
    EXPECT_EQ(session(), 0.0f);
    runner->setPositionX(510.0f);
    scene->update(0.0f);
    EXPECT_FLOAT_EQ(session(), 20.0f);
}

TEST_F(GameField, TheMagnetPullsPowerupsHardestNearTheCharacters) {
    make();
    character(CCPoint(100.0f, 100.0f));
    BodyObject* nearby = body(CCPoint(140.0f, 100.0f), KXPObject::kTypePowerup);
    BodyObject* far = body(CCPoint(499.0f, 100.0f), KXPObject::kTypePowerup);
    BodyObject* outside = body(CCPoint(100.0f, 600.0f), KXPObject::kTypePowerup);
    BodyObject* crate = body(CCPoint(120.0f, 100.0f), KXPObject::kTypeUnit);
    // A path's bit beside the powerup's: the path steers it, not the magnet.
    BodyObject* riding =
        body(CCPoint(100.0f, 140.0f), KXPObject::kTypePowerup | KXPObject::kTypeCarriedByPath);

    scene->update(0.0f);
    EXPECT_NEAR(bodyX(nearby), 140.0f, 1e-3f); // no magnet yet

    scene->setMagnetActive(true);
    scene->update(0.0f);
    // 40 points away: 1 - 0.9^3 = 0.271 of the way stays.
    EXPECT_NEAR(bodyX(nearby), 100.0f + 40.0f * 0.271f, 1e-2f);
    EXPECT_NEAR(bodyX(far), 499.0f, 1e-2f);
    EXPECT_NEAR(outside->getBody()->GetPosition().y / 0.05f, 600.0f, 1e-3f);
    EXPECT_NEAR(bodyX(crate), 120.0f, 1e-3f);
    EXPECT_NEAR(riding->getBody()->GetPosition().y / 0.05f, 140.0f, 1e-3f);
}

class FakeMirror : public KXPObject, public KXPCaptureTarget {
public:
    FakeMirror(std::vector<std::string>& log, KXPScreenScene* scene, std::string name)
        : KXPObject(nullptr), m_log(log), m_scene(scene), m_name(std::move(name)) {
        init();
        setType(kTypeMirror);
        autorelease();
    }
    bool capturesInFrame(const std::shared_ptr<KXPMirrorBudget>& budget, const CCRect&) override {
        m_log.push_back(m_name + " asked");
        return budget != nullptr && m_name != "asleep";
    }
    void beginCapture() override { m_log.push_back(m_name + " begin"); }
    void endCapture() override { m_log.push_back(m_name + " end"); }
    void update(float) override {}

private:
    std::vector<std::string>& m_log;
    KXPScreenScene* m_scene;
    std::string m_name;
};

TEST_F(GameField, MirrorsCaptureTheFieldAfterItIsDrawnAndLeaveTheListWhenRemoved) {
    make();
    std::vector<std::string> captures;
    auto* first = new FakeMirror(captures, scene, "first");
    auto* asleep = new FakeMirror(captures, scene, "asleep");
    auto* second = new FakeMirror(captures, scene, "second");
    layer()->addChild(first);
    layer()->addChild(asleep);
    layer()->addChild(second);
    scene->addMirror(first);
    scene->addMirror(asleep);
    scene->addMirror(second);
    // Each is asked, in the list's order, before anything is drawn; those that capture do.
    scene->visit();
    EXPECT_EQ(captures, (std::vector<std::string>{"first asked", "asleep asked", "second asked",
                                                  "first begin", "first end", "second begin", "second end"}));
    scene->removeMirror(asleep);

    // A mirror marked for removal leaves the list before it leaves the layer.
    first->setState(KXPObject::kStateRemoved);
    scene->update(0.0f);
    EXPECT_EQ(scene->getMirrors(), std::vector<KXPObject*>{second});
    EXPECT_EQ(first->getParent(), nullptr);

    // Removal goes by the object's kind: nothing, or an object that is no longer a mirror, stays
    // listed; a mirror leaves with every entry it has, each letting go of its hold.
    scene->addMirror(second);
    const unsigned int held = second->retainCount();
    scene->removeMirror(nullptr);
    second->setType(KXPObject::kTypeUnit);
    scene->removeMirror(second);
    EXPECT_EQ(scene->getMirrors(), (std::vector<KXPObject*>{second, second}));
    second->setType(KXPObject::kTypeMirror);
    scene->removeMirror(second);
    EXPECT_TRUE(scene->getMirrors().empty());
    EXPECT_EQ(second->retainCount(), held - 2);
}

TEST_F(GameField, ObjectsMarkedForRemovalGoAtTheEndOfTheStepWithTheirMotors) {
    make();
    BodyObject* axle = body(CCPoint(100.0f, 100.0f));
    BodyObject* wheel = body(CCPoint(100.0f, 100.0f));
    b2RevoluteJointDef def;
    def.Initialize(axle->getBody(), wheel->getBody(), axle->getBody()->GetPosition());
    scene->getInputController()->addMotor(static_cast<b2RevoluteJoint*>(scene->getWorld()->CreateJoint(&def)),
                                          nullptr);
    // Marked by a sibling that updates before it: taken out at the end of this pass.
    axle->onUpdate = [wheel](BodyObject*) { wheel->setState(KXPObject::kStateRemoved); };
    const unsigned int before = layer()->getChildrenCount();
    scene->update(0.0f);
    EXPECT_EQ(layer()->getChildrenCount(), before - 1);
    EXPECT_EQ(wheel->getParent(), nullptr);
    EXPECT_EQ(scene->getInputController()->motorCount(), 0u);
}

// A motor joins a rider hung under its carrier to a wheel. The carrier goes through the pass's
// removal and takes the rider along; the rider's body takes the joint with it, and with that the
// motor: the motor keys turn nothing that has gone.
TEST_F(GameField, AMotorGoesWithItsJointWhenItsBodyGoesWithACarrier) {
    make();
    BodyObject* carrier = body(CCPoint(100.0f, 100.0f));
    BodyObject* rider =
        BodyObject::create(scene->getWorld(), CCPoint(100.0f, 140.0f), 10.0f, KXPObject::kTypeUnit);
    carrier->addChild(rider);
    BodyObject* wheel = body(CCPoint(300.0f, 100.0f));
    b2RevoluteJointDef def;
    def.Initialize(rider->getBody(), wheel->getBody(), rider->getBody()->GetPosition());
    def.enableMotor = true;
    def.maxMotorTorque = 100.0f;
    KXPInputController* input = scene->getInputController();
    input->addMotor(static_cast<b2RevoluteJoint*>(scene->getWorld()->CreateJoint(&def)), nullptr);
    carrier->setState(KXPObject::kStateRemoved);
    scene->update(KXPScreenScene::kFixedStep);
    endFrame();
    EXPECT_EQ(wheel->getBody()->GetJointList(), nullptr);
    EXPECT_EQ(input->motorCount(), 0u);
    input->actionPressed(KXPInputController::kActionMotorClockwise, nullptr);
    input->actionReleased(KXPInputController::kActionMotorClockwise, nullptr);
}

// The bodies of a field's last frame go after the field, from the autorelease pool: the joints
// they take along are no news for a field that is gone.
TEST_F(GameField, AFieldThatWentHearsNothingOfTheJointsItsLastObjectsTakeAlong) {
    make();
    endFrame();
    BodyObject* first = body(CCPoint(100.0f, 100.0f));
    BodyObject* second = body(CCPoint(140.0f, 100.0f));
    b2RevoluteJointDef def;
    def.Initialize(first->getBody(), second->getBody(), first->getBody()->GetPosition());
    scene->getWorld()->CreateJoint(&def);
    KXDebugLogCapture capture;
    // As it leaves the stage: the scheduler lets go of it.
    scene->cleanup();
    scene->release();
    scene = nullptr;
    EXPECT_EQ(std::count(capture.lines().begin(), capture.lines().end(), "KXPScreenScene - deallocated"), 1);
    endFrame();
}

// An object's update may take siblings before it off the layer (an effect freed with its carrier
// takes its emitters along): the object after it is still updated in that pass.
TEST_F(GameField, TheObjectPassGoesOnAfterAChildWhoseUpdateTookSiblingsBeforeItOff) {
    make();
    CCNode* emitter = CCNode::create();
    layer()->addChild(emitter);
    BodyObject* carrier = body(CCPoint(100.0f, 100.0f));
    BodyObject* next = body(CCPoint(300.0f, 100.0f));
    carrier->onUpdate = [emitter](BodyObject*) { emitter->removeFromParent(); };
    scene->update(KXPScreenScene::kFixedStep);
    EXPECT_EQ(emitter->getParent(), nullptr);
    EXPECT_EQ(carrier->updates.size(), 1u);
    EXPECT_EQ(next->updates.size(), 1u);
}

// Asks for a restart in the first catch-up frame of a rebuild, and for the end of the game as an
// object of the frame's pass would; notes how deep in rebuilds each request ran.
class CatchUpField : public KXPScreenScene {
public:
    void restoreFromCheckpoint() override {
        ++m_rebuilding;
        KXPScreenScene::restoreFromCheckpoint();
        --m_rebuilding;
    }
    void fixedUpdate(float dt) override {
        if (m_catchingUp && ++catchUpFrames == 1) {
            setPendingRequest(kRequestFullRestart);
            RequestHold objectsRun(*this);
            finishGame();
        }
        KXPScreenScene::fixedUpdate(dt);
    }
    void handleRequest(int) override { rebuildsAtRequest.push_back(m_rebuilding); }
    bool sceneChangeParked() const { return static_cast<bool>(m_parkedSceneChange); }
    int catchUpFrames = 0;
    std::vector<int> rebuildsAtRequest;

private:
    int m_rebuilding = 0;
};

// A request or a change of scene parked in a rebuild's catch-up frame waits for the rebuild to end:
// the next catch-up frame would rebuild the level, or leave it, inside the rebuild.
TEST_F(GameField, WhatIsParkedInARebuildsCatchUpWaitsForTheRebuildsEnd) {
    for (int index = 0; index < 2; ++index) {
        auto section = createModel<KXModelLevelSection>();
        section->startDistanceAttribute()->setValue(0.0f, true);
        section->endDistanceAttribute()->setValue(-1.0f, true);
        section->widthAttribute()->setValue(400.0f, true);
        model->addChild(section, true);
    }
    auto* field = new CatchUpField();
    ASSERT_TRUE(field->init());
    scene = field;
    gameplay = KXPGameplaySettings::shared();
    gameplay->setGameSpeedMin(0.0f);
    gameplay->setGameSpeedMax(0.0f);
    gameplay->setGameSpeed(0.0f);
    field->restoreFromCheckpoint();
    ASSERT_GE(field->catchUpFrames, 2);
    EXPECT_TRUE(field->rebuildsAtRequest.empty());
    EXPECT_TRUE(field->sceneChangeParked());
    field->update(KXPScreenScene::kFixedStep);
    EXPECT_FALSE(field->sceneChangeParked());
    EXPECT_EQ(field->rebuildsAtRequest, std::vector<int>{0});
}

// Kinds are bits: a character riding a path (or a unit copy) carries more than its kind's bit,
// and the removal test still knows it for what it is.
TEST_F(GameField, RemovalSparesALiveCharacterRidingAPathAndTakesItOnceDead) {
    make();
    const uint32_t riding = KXPObject::kTypeCharacter | KXPObject::kTypeCarriedByPath;
    BodyObject* alive = body(CCPoint(-5000.0f, 100.0f), riding);
    alive->setTag(1);
    BodyObject* dead = body(CCPoint(-5000.0f, 300.0f), riding);
    dead->setTag(2);
    dead->setState(KXPObject::kStateDead);
    BodyObject* copy = body(CCPoint(-5000.0f, 500.0f), KXPObject::kTypeUnit | KXPObject::kTypeSpawnedCopy);
    copy->setTag(3);
    scene->update(KXPScreenScene::kFixedStep);
    ASSERT_EQ(layer()->getChildByTag(1), alive);
    EXPECT_EQ(alive->getState(), KXPObject::kStateActive);
    EXPECT_EQ(layer()->getChildByTag(2), nullptr);
    EXPECT_EQ(layer()->getChildByTag(3), nullptr);
}

// Bodies are made and destroyed by the field's objects only outside the world step: a contact
// parks a removal, a spawner makes a body in its update.
TEST_F(GameField, TheWorldIsNeverChangedWhileItIsLocked) {
    make();
    class Parker : public b2ContactListener {
    public:
        void BeginContact(b2Contact* contact) override {
            auto* object =
                reinterpret_cast<KXPObject*>(contact->GetFixtureA()->GetBody()->GetUserData().pointer);
            object->setPendingState(KXPObject::kStateRemoved);
            ++contacts;
        }
        int contacts = 0;
    } parker;
    scene->getWorld()->SetContactListener(&parker);
    body(CCPoint(100.0f, 100.0f), KXPObject::kTypeUnit, &log);
    body(CCPoint(105.0f, 100.0f), KXPObject::kTypeUnit, &log);
    BodyObject* spawner = body(CCPoint(400.0f, 100.0f), KXPObject::kTypeUnit, &log);
    spawner->onUpdate = [this](BodyObject* self) {
        if (self->updates.size() < 3) {
            body(self->getPosition() + CCPoint(0.0f, 30.0f * self->updates.size()), KXPObject::kTypeUnit,
                 &log);
        }
    };
    for (int frame = 0; frame < 5; ++frame) {
        scene->update(1.0f / 60.0f);
        endFrame();
    }
    EXPECT_GT(parker.contacts, 0);
    EXPECT_NE(std::find(log.edits.begin(), log.edits.end(), "destroy body"), log.edits.end());
    EXPECT_GT(std::count(log.edits.begin(), log.edits.end(), "create body"), 3);
    EXPECT_EQ(log.locked, 0);
    scene->getWorld()->SetContactListener(nullptr);
}

TEST_F(GameField, GameOverComesOnceTheDelayHasRunDownWithoutALiveCharacter) {
    make();
    EXPECT_FLOAT_EQ(scene->getGameOverCountdown(), 1.0f); // no character chosen
    FakeCharacter* runner = character(CCPoint(100.0f, 100.0f));
    scene->update(0.25f);
    EXPECT_FLOAT_EQ(scene->getGameOverCountdown(), 1.0f);
    runner->setState(KXPObject::kStateDead);
    for (int frame = 0; frame < 4; ++frame) {
        scene->update(0.25f);
        EXPECT_FALSE(scene->isGameOver()) << frame;
    }
    scene->update(0.25f);
    EXPECT_TRUE(scene->isGameOver());
    const unsigned int steps = scene->getStepCount();
    scene->update(0.25f);
    EXPECT_EQ(scene->getStepCount(), steps);
}

TEST_F(GameField, BackgroundLayersComeFromTheVisibleBackgroundsAndRideWithTheCamera) {
    auto hidden = createModel<KXModelObjectBackground>();
    hidden->hiddenAttribute()->setValue(true, true);
    auto shown = createModel<KXModelObjectBackground>();
    shown->scaleAttribute()->setValue(CCPoint(0.0f, -1.0f), true);
    shown->zDepthAttribute()->setValue(7, true);
    model->addChild(hidden, true);
    model->addChild(shown, true);
    make();
    ASSERT_EQ(scene->getBackgroundLayers()->count(), 1u);
    auto* background = static_cast<KXPObjectBackgroundLayer*>(scene->getBackgroundLayers()->objectAtIndex(0));
    EXPECT_EQ(background->getParent(), layer());
    EXPECT_EQ(background->getZOrder(), 7);
    EXPECT_TRUE(shown->animatedScale(0.0f, 0).equals(CCPoint(0.1f, 0.1f)));

    gameplay->setGameSpeedMin(5.0f);
    gameplay->setGameSpeedMax(5.0f);
    // A character in the middle keeps the camera from following anything back.
    character(CCPoint(director()->getWinSize().width * 0.5f, director()->getWinSize().height * 0.5f));
    const CCPoint onScreen = background->convertToWorldSpace(CCPointZero);
    for (int frame = 0; frame < 3; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    EXPECT_LT(layer()->getPositionX(), -9.0f);
    EXPECT_NEAR(background->convertToWorldSpace(CCPointZero).x, onScreen.x, 1e-3f);
}

TEST_F(GameField, FieldsEnteredAndLeftOneAfterAnotherLeaveNothingBehind) {
    KXDebugLogCapture capture;
    CCKeypadDispatcher* keypad = director()->getKeypadDispatcher();
    for (int round = 0; round < 20; ++round) {
        CCScene* next = KXPScreenScene::createScene();
        ASSERT_NE(next, nullptr);
        if (round == 0) {
            director()->runWithScene(next);
        } else {
            director()->replaceScene(next);
        }
        frames(2);
        // The new field's controller is the shared one and hears the keypad.
        auto* field = static_cast<KXPScreenScene*>(next->getChildren()->objectAtIndex(0));
        EXPECT_EQ(KXPInputController::existing(), field->getInputController());
        keypad->dispatchKeyDown(19);
        keypad->dispatchKeyUp(19);
        EXPECT_LE(keypad->delegateCount(), 2);
        // Objects made just before the field goes are still in the autorelease pool when it does:
        // their bodies leave the world before the world is deleted.
        for (int i = 0; i < 2; ++i) {
            field->getObjectLayer()->addChild(BodyObject::create(field->getWorld(), CCPoint(100.0f * i, 0.0f),
                                                                 10.0f, KXPObject::kTypeUnit, &log));
        }
    }
    const auto& lines = capture.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "KXPScreenScene - deallocated"), 19);
    EXPECT_EQ(std::count(log.edits.begin(), log.edits.end(), "destroy body"), 38);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "KXPInputController - deallocated"), 19);
}

} // namespace
