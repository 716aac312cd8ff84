// Level logic on a real Box2D world: transform areas changing units (physics units and units with
// linear movement; characters pass through), the gatekeeper's count, and paths catching,
// steering and letting go of bodies.

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelObjectGatekeeper.h"
#include "model/classes/KXModelObjectLogic.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelObjectScreenJump.h"
#include "player/objects/assets/KXPObjectAssetGatekeeper.h"
#include "player/objects/assets/KXPObjectAssetLogic.h"
#include "player/objects/assets/KXPObjectAssetPath.h"
#include "player/objects/assets/KXPObjectAssetScreenJump.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/objects/assets/KXPTriggerArea.h"
#include "support/asset_world_support.h"
#include "support/character_test_support.h"
#include "support/model_class_helpers.h"
#include "support/unit_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::AssetWorld;

namespace {

// A point attribute with each axis set or left blank, as the editor stores it.
void setPoint(KXModel& model, const std::string& name, const CCPoint& value, bool xBlank, bool yBlank) {
    CCDictionary* stored = CCDictionary::create();
    stored->setObject(CCString::createWithFormat("{%g,%g}", value.x, value.y), "value");
    stored->setObject(CCString::create(xBlank ? "1" : "0"), "isXEmpty");
    stored->setObject(CCString::create(yBlank ? "1" : "0"), "isYEmpty");
    attributeOf<KXAttributePoint>(model, name)->loadValueFromDictionary(stored);
}

std::shared_ptr<KXModelObjectLogic> logicModel(const KXModelObjectAssetUnit& affected,
                                               const std::string& op) {
    auto model = createModel<KXModelObjectLogic>();
    attributeOf<KXAttributeStringList>(*model, "Affected asset")
        ->setValue(std::to_string(affected.assetObstacle()->id()), true);
    attributeOf<KXAttributeStringList>(*model, "Affect operation")->setValue(op, true);
    return model;
}

// A physics unit already moving, as a woken unit would.
KXPObjectAssetUnit* movingUnit(AssetWorld& field, const std::shared_ptr<KXModelObjectAssetUnit>& model,
                               const CCPoint& at, const b2Vec2& velocity) {
    model->setMovementType("kMovementPhysics");
    auto* unit = dynamic_cast<KXPObjectAssetUnit*>(KXPObjectAsset::create(model));
    EXPECT_NE(unit, nullptr);
    field.add(unit, at, false);
    EXPECT_NE(unit->getBody(), nullptr);
    unit->getBody()->SetType(b2_dynamicBody);
    unit->getBody()->SetLinearVelocity(velocity);
    return unit;
}

class LevelLogic : public kxtest::AssetTest {};

TEST_F(LevelLogic, AnAreaChangesOnlyUnitsOfItsAssetByItsOperation) {
    AssetWorld field;
    auto crateModel = kxtest::unitModel("Crate", "kPlatformObjectType");
    auto rockModel = kxtest::unitModel("Rock", "kPlatformObjectType");
    KXPObjectAssetUnit* crate = movingUnit(field, crateModel, ccp(0, 0), b2Vec2(1.0f, 3.0f));
    KXPObjectAssetUnit* rock = movingUnit(field, rockModel, ccp(-1000, 0), b2Vec2(1.0f, 3.0f));

    auto multiplyModel = logicModel(*crateModel, "kMultiply");
    setPoint(*multiplyModel, "Linear Velocity Modifier", ccp(2, 0), false, true);
    setPoint(*multiplyModel, "Scale Modifier", ccp(3, 1), false, false);
    auto* multiply =
        field.add(static_cast<KXPObjectAssetLogic*>(KXPObjectAsset::create(multiplyModel)), ccp(500, 500));
    ASSERT_NE(multiply->getBody(), nullptr);
    EXPECT_EQ(multiply->getBody()->GetType(), b2_dynamicBody);
    EXPECT_TRUE(multiply->getBody()->GetFixtureList()->IsSensor());
    EXPECT_EQ(multiply->getBody()->GetGravityScale(), 0.0f);

    multiply->beginContact(crate, nullptr, true);
    multiply->beginContact(rock, nullptr, true);
    EXPECT_NEAR(crate->getBody()->GetLinearVelocity().x, 2.0f, 1e-4f);
    EXPECT_NEAR(crate->getBody()->GetLinearVelocity().y, 3.0f, 1e-4f);
    EXPECT_FLOAT_EQ(crate->getScaleX(), 3.0f);
    EXPECT_FLOAT_EQ(crate->getScaleY(), 1.0f);
    EXPECT_NEAR(rock->getBody()->GetLinearVelocity().x, 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(rock->getScaleX(), 1.0f);

    // Characters pass through: a real one, and one of the crate's units that carries the
    // character bit instead of the unit bit, as a character's gun does.
    KXPObjectAssetUnit* gun = movingUnit(field, crateModel, ccp(1000, 0), b2Vec2(1.0f, 3.0f));
    gun->setType(KXPObject::kTypeCharacter);
    auto* hero = new KXPObjectAssetCharacter(kxtest::characterModel());
    multiply->beginContact(gun, nullptr, true);
    multiply->beginContact(hero, nullptr, true);
    EXPECT_NEAR(gun->getBody()->GetLinearVelocity().x, 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(gun->getScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(hero->getScaleX(), 1.0f);
    hero->release();

    // A second entry changes it again.
    multiply->beginContact(crate, nullptr, true);
    EXPECT_NEAR(crate->getBody()->GetLinearVelocity().x, 4.0f, 1e-4f);

    // Rotation goes through the unit's change record: adding 0 asks nothing, replacing by 0 does.
    crate->getBody()->SetTransform(crate->getBody()->GetPosition(),
                                   -30.0f * KXPObjectAsset::kRadiansPerDegree);
    crate->getBody()->SetAngularVelocity(0.0f);
    auto addModel = logicModel(*crateModel, "kAdd");
    attributeOf<KXAttributeFloat>(*addModel, "Rotation Modifier")->setEmpty(false);
    auto* add = field.add(static_cast<KXPObjectAssetLogic*>(KXPObjectAsset::create(addModel)), ccp(500, 0));
    add->beginContact(crate, nullptr, true);
    field.frame();
    EXPECT_NEAR(crate->getRotation(), 30.0f, 1e-3f);
    auto replaceModel = logicModel(*crateModel, "kReplace");
    attributeOf<KXAttributeFloat>(*replaceModel, "Rotation Modifier")->setEmpty(false);
    auto* replace =
        field.add(static_cast<KXPObjectAssetLogic*>(KXPObjectAsset::create(replaceModel)), ccp(0, 500));
    replace->beginContact(crate, nullptr, true);
    field.frame();
    field.frame();
    EXPECT_NEAR(crate->getRotation(), 0.0f, 1e-3f);
}

TEST_F(LevelLogic, APhysicsUnitsSpinChangesByTheOperationInModelUnits) {
    AssetWorld field;
    auto crateModel = kxtest::unitModel("Crate", "kPlatformObjectType");
    KXPObjectAssetUnit* crate = movingUnit(field, crateModel, ccp(0, 0), b2Vec2(0.0f, 0.0f));
    struct Case {
        const char* op;
        float modifier;
        float after;
    };
    // From 1 radian a second. A model spin of 1 is 1/32 radian a second; a factor is a factor; an
    // operation of another name changes nothing.
    for (const Case& c : {Case{"kAdd", 32.0f, 2.0f}, Case{"kMultiply", 3.0f, 3.0f},
                          Case{"kReplace", 64.0f, 2.0f}, Case{"kSpin", 64.0f, 1.0f}}) {
        auto model = logicModel(*crateModel, c.op);
        KXAttributeFloat* spin = attributeOf<KXAttributeFloat>(*model, "Angular Velocity Modifier");
        spin->setEmpty(false);
        spin->setValue(c.modifier, true);
        auto* area =
            field.add(static_cast<KXPObjectAssetLogic*>(KXPObjectAsset::create(model)), ccp(500, 500));
        crate->getBody()->SetAngularVelocity(1.0f);
        area->beginContact(crate, nullptr, true);
        EXPECT_NEAR(crate->getBody()->GetAngularVelocity(), c.after, 1e-5f) << c.op;
    }
}

TEST_F(LevelLogic, AUnitWithLinearMovementChangesItsMovementAndSpinInModelUnits) {
    AssetWorld field;
    auto runnerModel = kxtest::unitModel("Runner", "kPlatformObjectType");
    runnerModel->setMovementType("kMovementLinear");
    kxtest::setLinearVelocity(*runnerModel, ccp(10, 4));
    kxtest::setAngularVelocity(*runnerModel, 6.0f);
    auto* runner = dynamic_cast<KXPObjectAssetUnit*>(KXPObjectAsset::create(runnerModel));
    ASSERT_NE(runner, nullptr);
    field.add(runner, ccp(0, 0), false);
    ASSERT_TRUE(runner->isLinearMovement());
    ASSERT_EQ(runner->getMovementVector(), ccp(10, 4));

    auto multiplyModel = logicModel(*runnerModel, "kMultiply");
    setPoint(*multiplyModel, "Linear Velocity Modifier", ccp(3, 0), false, true);
    attributeOf<KXAttributeFloat>(*multiplyModel, "Angular Velocity Modifier")->setEmpty(false);
    attributeOf<KXAttributeFloat>(*multiplyModel, "Angular Velocity Modifier")->setValue(0.5f, true);
    auto* multiply =
        field.add(static_cast<KXPObjectAssetLogic*>(KXPObjectAsset::create(multiplyModel)), ccp(500, 500));
    multiply->beginContact(runner, nullptr, true);
    EXPECT_EQ(runner->getMovementVector(), ccp(30, 4));
    EXPECT_FLOAT_EQ(runner->getAngularSpeed(), 3.0f);

    // Added as they stand: the movement is kept in model units.
    auto addModel = logicModel(*runnerModel, "kAdd");
    setPoint(*addModel, "Linear Velocity Modifier", ccp(0, 1), true, false);
    attributeOf<KXAttributeFloat>(*addModel, "Angular Velocity Modifier")->setEmpty(false);
    attributeOf<KXAttributeFloat>(*addModel, "Angular Velocity Modifier")->setValue(2.0f, true);
    auto* add = field.add(static_cast<KXPObjectAssetLogic*>(KXPObjectAsset::create(addModel)), ccp(500, 0));
    add->beginContact(runner, nullptr, true);
    EXPECT_EQ(runner->getMovementVector(), ccp(30, 5));
    EXPECT_FLOAT_EQ(runner->getAngularSpeed(), 5.0f);
}

// The trigger kinds' own boxes have density; a body whose fixtures add up to no mass (a shape
// without density, as display states make them) still weighs 1 and does not turn once prepared.
TEST_F(LevelLogic, ATriggerAreaWithoutMassWeighsOneAndDoesNotTurn) {
    AssetWorld field;
    b2BodyDef definition;
    b2Body* body = field.world.CreateBody(&definition);
    b2PolygonShape box;
    box.SetAsBox(1.0f, 1.0f);
    b2FixtureDef fixture;
    fixture.shape = &box;
    fixture.density = 0.0f;
    body->CreateFixture(&fixture);
    KXPTriggerArea::prepare(body);
    EXPECT_EQ(body->GetType(), b2_dynamicBody);
    EXPECT_FLOAT_EQ(body->GetMass(), 1.0f);
    EXPECT_FLOAT_EQ(body->GetInertia(), 0.0f);
}

TEST_F(LevelLogic, AGatekeeperLetsTheAmountPassAndRemovesTheRest) {
    AssetWorld field;
    auto model = createModel<KXModelObjectGatekeeper>();
    attributeOf<KXAttributeFloat>(*model, "Passed Amount")->setValue(1.5f, true);
    auto* gate = field.add(static_cast<KXPObjectAssetGatekeeper*>(KXPObjectAsset::create(model)), ccp(0, 0));
    kxtest::TestAsset* first = field.place(kxtest::boxAssetModel(), ccp(300, 0));
    kxtest::TestAsset* second = field.place(kxtest::boxAssetModel(), ccp(-300, 0));
    kxtest::TestAsset* unit = field.place(kxtest::boxAssetModel(), ccp(0, 300));
    first->setType(KXPObject::kTypeCharacter);
    second->setType(KXPObject::kTypeCharacter);
    unit->setType(KXPObject::kTypeUnit);
    first->retain();
    second->retain();

    gate->beginContact(unit, nullptr, true);
    gate->beginContact(first, nullptr, true);
    gate->beginContact(second, nullptr, true);
    EXPECT_EQ(gate->passedCount(), 2);
    field.frame();
    EXPECT_EQ(first->getState(), KXPObject::kStateActive);
    EXPECT_EQ(second->getState(), KXPObject::kStateRemoved);
    EXPECT_EQ(unit->getState(), KXPObject::kStateActive);
    first->release();
    second->release();

    // An amount of 0 lets nobody through: the very first character is turned away.
    auto closed = createModel<KXModelObjectGatekeeper>();
    attributeOf<KXAttributeFloat>(*closed, "Passed Amount")->setValue(0.0f, true);
    auto* wall =
        field.add(static_cast<KXPObjectAssetGatekeeper*>(KXPObjectAsset::create(closed)), ccp(0, 600));
    kxtest::TestAsset* runner = field.place(kxtest::boxAssetModel(), ccp(300, 600));
    runner->setType(KXPObject::kTypeCharacter);
    runner->retain();
    wall->beginContact(runner, nullptr, true);
    EXPECT_EQ(wall->passedCount(), 1);
    field.frame();
    EXPECT_EQ(runner->getState(), KXPObject::kStateRemoved);
    runner->release();
}

TEST_F(LevelLogic, AScreenJumpFiresForLiveCharactersOnlyAndIsReadyAgain) {
    AssetWorld field;
    auto model = createModel<KXModelObjectScreenJump>();
    auto* jump = field.add(static_cast<KXPObjectAssetScreenJump*>(KXPObjectAsset::create(model)), ccp(0, 0));
    kxtest::TestAsset* unit = field.place(kxtest::boxAssetModel(), ccp(300, 0));
    // Objects that carry the character bit without being a playable character, as a gun does.
    kxtest::TestAsset* gun = field.place(kxtest::boxAssetModel(), ccp(-300, 0));
    unit->setType(KXPObject::kTypeUnit);
    gun->setType(KXPObject::kTypeCharacter);
    // Held by the test alone (off the layer): released at its end.
    auto* dead = new KXPObjectAssetCharacter(kxtest::characterModel());
    dead->KXPObject::setState(KXPObject::kStateDead);
    auto* hero = new KXPObjectAssetCharacter(kxtest::characterModel());
    std::vector<int> states;
    jump->beginContact(unit, nullptr, true);
    jump->beginContact(gun, nullptr, true);
    jump->beginContact(dead, nullptr, true);
    field.frame();
    states.push_back(jump->getState());
    jump->beginContact(hero, nullptr, true);
    field.frame();
    states.push_back(jump->getState());
    field.frame();
    states.push_back(jump->getState());
    // Without a running game field there is nothing to switch; the area is ready again.
    EXPECT_EQ(states, (std::vector<int>{0, 1, 0}));
    dead->release();
    hero->release();
}

struct PathSettings {
    std::vector<CCPoint> points{ccp(100, 0), ccp(200, 0)};
    std::string playMode = "kPlayModePingPong";
    float radius = 50.0f;
};

class LevelPath : public kxtest::AssetTest {
protected:
    static KXPObjectAssetPath* path(AssetWorld& field, const PathSettings& settings) {
        auto model = createModel<KXModelObjectPath>();
        model->setPoints(settings.points);
        attributeOf<KXAttributeFloat>(*model, "Search Radius")->setValue(settings.radius, true);
        attributeOf<KXAttributeFloat>(*model, "Speed")->setValue(10.0f, true);
        attributeOf<KXAttributeFloat>(*model, "Attraction Force")->setValue(100.0f, true);
        attributeOf<KXAttributeStringList>(*model, "Play Mode")->setValue(settings.playMode, true);
        return field.add(static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(model)), ccp(0, 0));
    }
    static kxtest::TestAsset* body(AssetWorld& field, const CCPoint& at) {
        return field.place(kxtest::boxAssetModel(), at,
                           [](kxtest::TestAsset& object) { object.setBodyType(b2_dynamicBody); });
    }
    // Puts the object on its target and takes one step; answers the new target's x.
    static float arrive(KXPObjectAssetPath* path, kxtest::TestAsset* object) {
        object->setPosition(path->carried().at(0).target);
        path->followStep();
        return path->carried().at(0).target.x;
    }
};

TEST_F(LevelPath, PingPongWalksToTheLastPointBackToTheOriginAndOutAgain) {
    AssetWorld field;
    KXPObjectAssetPath* guide = path(field, {});
    kxtest::TestAsset* platform = body(field, ccp(10, 0));
    guide->captureObjects(field.layer->getChildren());
    ASSERT_EQ(guide->carried().size(), 1u);
    EXPECT_NE(platform->getType() & KXPObject::kTypeCarriedByPath, 0u);
    EXPECT_FALSE(platform->isMovementEnabled());
    EXPECT_EQ(platform->getBody()->GetGravityScale(), 0.0f);
    // Caught once only.
    guide->captureObjects(field.layer->getChildren());
    EXPECT_EQ(guide->carried().size(), 1u);

    std::vector<float> targets;
    std::vector<int> directions;
    for (int step = 0; step < 9; ++step) {
        targets.push_back(arrive(guide, platform));
        directions.push_back(guide->carried().at(0).direction);
    }
    EXPECT_EQ(targets, (std::vector<float>{100, 200, 200, 200, 100, 0, 0, 0, 100}));
    EXPECT_EQ(directions, (std::vector<int>{1, 1, -1, -1, -1, -1, 1, 1, 1}));
    // Full attraction: the velocity is the steering vector alone (speed 10 towards +x).
    platform->setPosition(ccp(50, 0));
    guide->followStep();
    EXPECT_NEAR(platform->getBody()->GetLinearVelocity().x, 10.0f, 1e-4f);
    EXPECT_NEAR(platform->getBody()->GetLinearVelocity().y, 0.0f, 1e-4f);
}

TEST_F(LevelPath, LoopJumpsBackAndSingleLetsGoAtTheEnd) {
    AssetWorld field;
    PathSettings loop;
    loop.playMode = "kPlayModeLoop";
    KXPObjectAssetPath* looping = path(field, loop);
    kxtest::TestAsset* platform = body(field, ccp(10, 0));
    looping->captureObjects(field.layer->getChildren());
    ASSERT_EQ(looping->carried().size(), 1u);
    arrive(looping, platform);
    ASSERT_EQ(looping->carried().size(), 1u);
    arrive(looping, platform);
    platform->getBody()->SetTransform(b2Vec2(10.0f, 0.0f), 0.0f);
    EXPECT_EQ(arrive(looping, platform), 100.0f);
    EXPECT_EQ(looping->carried().at(0).pointIndex, 0);
    EXPECT_NEAR(platform->getBody()->GetPosition().x, 0.0f, 1e-5f);

    // A single run lets go at the end and gives gravity and movement back.
    looping->setState(KXPObject::kStateDead);
    EXPECT_TRUE(looping->carried().empty());
    EXPECT_EQ(platform->getType() & KXPObject::kTypeCarriedByPath, 0u);
    AssetWorld other;
    PathSettings single;
    single.playMode = "kPlayModeSingle";
    KXPObjectAssetPath* once = path(other, single);
    kxtest::TestAsset* rider = body(other, ccp(10, 0));
    once->captureObjects(other.layer->getChildren());
    ASSERT_EQ(once->carried().size(), 1u);
    arrive(once, rider);
    arrive(once, rider);
    rider->setPosition(ccp(200, 0));
    once->followStep();
    EXPECT_TRUE(once->carried().empty());
    EXPECT_TRUE(rider->isMovementEnabled());
    EXPECT_EQ(rider->getBody()->GetGravityScale(), 1.0f);
    EXPECT_EQ(rider->getBody()->GetLinearVelocity().x, 0.0f);
}

TEST_F(LevelPath, AnObjectEscapesOnlyUntilAnyTargetWasReached) {
    AssetWorld field;
    KXPObjectAssetPath* guide = path(field, {});
    kxtest::TestAsset* runaway = body(field, ccp(10, 0));
    guide->captureObjects(field.layer->getChildren());
    runaway->setPosition(ccp(56, 0)); // beyond 1.1 x the radius from its target
    guide->followStep();
    EXPECT_TRUE(guide->carried().empty());
    EXPECT_TRUE(runaway->isMovementEnabled());
    EXPECT_EQ(runaway->getType() & KXPObject::kTypeCarriedByPath, 0u);

    runaway->setPosition(ccp(10, 0));
    guide->captureObjects(field.layer->getChildren());
    arrive(guide, runaway);
    EXPECT_FALSE(guide->escapeCheck());
    runaway->setPosition(ccp(500, 0));
    guide->followStep();
    EXPECT_EQ(guide->carried().size(), 1u);
}

TEST_F(LevelPath, TheTargetFilterTakesCharactersOrUnitsOfOneAssetOrOfAny) {
    AssetWorld field;
    kxtest::TestAsset* unit = body(field, ccp(10, 0));
    kxtest::TestAsset* hero = body(field, ccp(-10, 0));
    unit->setType(KXPObject::kTypeUnit);
    hero->setType(KXPObject::kTypeCharacter);
    const std::string unitAsset = std::to_string(unit->assetModel()->asset()->id());
    struct Case {
        const char* affected;
        std::string objectAsset;
        size_t taken;
        KXPObjectAsset* first;
    };
    for (const Case& c : {Case{"kCharacter", "", 1, hero}, Case{"kAssets", "-1", 1, unit},
                          Case{"kAssets", unitAsset, 1, unit}, Case{"kAssets", "999999", 0, nullptr},
                          Case{"kAll", "", 2, unit}}) {
        auto model = createModel<KXModelObjectPath>();
        attributeOf<KXAttributeFloat>(*model, "Search Radius")->setValue(50.0f, true);
        attributeOf<KXAttributeStringList>(*model, "Affected Asset")->setValue(c.affected, true);
        attributeOf<KXAttributeStringList>(*model, "Object Asset")->setValue(c.objectAsset, true);
        auto* guide = static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(model));
        guide->retain();
        guide->captureObjects(field.layer->getChildren());
        EXPECT_EQ(guide->carried().size(), c.taken) << c.affected << " " << c.objectAsset;
        if (c.first != nullptr && !guide->carried().empty()) {
            EXPECT_EQ(guide->carried().front().object, c.first) << c.affected;
        }
        guide->cleanup();
        guide->release();
    }
}

TEST_F(LevelPath, AttractionZeroSteersNothingKeepVelocityKeepsItAndAFlipTurnsTheLook) {
    AssetWorld field;
    auto model = createModel<KXModelObjectPath>();
    model->setPoints({ccp(100, 0)});
    attributeOf<KXAttributeFloat>(*model, "Search Radius")->setValue(50.0f, true);
    attributeOf<KXAttributeFloat>(*model, "Speed")->setValue(10.0f, true);
    attributeOf<KXAttributeStringList>(*model, "Play Mode")->setValue("kPlayModeSingle", true);
    attributeOf<KXAttributeFloat>(*model, "Attraction Force")->setValue(0.0f, true);
    attributeOf<KXAttributeBool>(*model, "Keep Velocity")->setValue(true, true);
    KXPObjectAssetPath* guide =
        field.add(static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(model)), ccp(0, 0));
    kxtest::TestAsset* rider = body(field, ccp(10, 0));
    guide->captureObjects(field.layer->getChildren());
    ASSERT_EQ(guide->carried().size(), 1u);
    rider->getBody()->SetLinearVelocity(b2Vec2(3.0f, 4.0f));
    guide->followStep();
    EXPECT_NEAR(rider->getBody()->GetLinearVelocity().x, 3.0f, 1e-5f);
    EXPECT_NEAR(rider->getBody()->GetLinearVelocity().y, 4.0f, 1e-5f);
    // Within 20 of the origin it already aims at the point; at the end of a single run it is let
    // go with the velocity it had.
    ASSERT_EQ(guide->carried().size(), 1u);
    EXPECT_EQ(guide->carried().at(0).target.x, 100.0f);
    rider->setPosition(ccp(100, 0));
    guide->followStep();
    EXPECT_TRUE(guide->carried().empty());
    EXPECT_NEAR(rider->getBody()->GetLinearVelocity().x, 3.0f, 1e-5f);

    // Ping-pong with the image following the direction and "kFlip": the turn mirrors the look.
    AssetWorld other;
    auto flipping = createModel<KXModelObjectPath>();
    flipping->setPoints({ccp(100, 0)});
    attributeOf<KXAttributeFloat>(*flipping, "Search Radius")->setValue(50.0f, true);
    attributeOf<KXAttributeFloat>(*flipping, "Speed")->setValue(10.0f, true);
    attributeOf<KXAttributeFloat>(*flipping, "Attraction Force")->setValue(100.0f, true);
    attributeOf<KXAttributeStringList>(*flipping, "Play Mode")->setValue("kPlayModePingPong", true);
    attributeOf<KXAttributeBool>(*flipping, "Image Direction")->setValue(true, true);
    attributeOf<KXAttributeStringList>(*flipping, "Image Transition")->setValue("kFlip", true);
    KXPObjectAssetPath* turning =
        other.add(static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(flipping)), ccp(0, 0));
    kxtest::TestAsset* walker = body(other, ccp(10, 0));
    turning->captureObjects(other.layer->getChildren());
    ASSERT_EQ(turning->carried().size(), 1u);
    arrive(turning, walker); // the origin: on to point 0
    EXPECT_FLOAT_EQ(walker->getScaleX(), 1.0f);
    arrive(turning, walker); // the last point: the direction turns
    EXPECT_EQ(turning->carried().at(0).direction, -1);
    EXPECT_FLOAT_EQ(walker->getScaleX(), -1.0f);
}

TEST_F(LevelPath, APathThatGoesLetsGoOfWhatItCarriesAndStopsItsActions) {
    AssetWorld field;
    auto model = createModel<KXModelObjectPath>();
    attributeOf<KXAttributeFloat>(*model, "Search Radius")->setValue(50.0f, true);
    auto* guide = static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(model));
    guide->retain();
    kxtest::TestAsset* rider = body(field, ccp(10, 0));
    guide->captureObjects(field.layer->getChildren());
    ASSERT_EQ(guide->carried().size(), 1u);
    CCPoolManager::sharedPoolManager()->pop();
    guide->release(); // destroyed without cleanup()
    EXPECT_EQ(rider->getType() & KXPObject::kTypeCarriedByPath, 0u);
    EXPECT_TRUE(rider->isMovementEnabled());
    EXPECT_EQ(rider->getBody()->GetGravityScale(), 1.0f);
    rider->setState(KXPObject::kStateRemoved); // no listener into the freed path

    KXPObjectAssetPath* removed = path(field, {});
    removed->runAction(CCDelayTime::create(5.0f));
    ASSERT_EQ(removed->numberOfRunningActions(), 1u);
    field.layer->removeChild(removed, true);
    EXPECT_EQ(removed->numberOfRunningActions(), 0u);
}

} // namespace
