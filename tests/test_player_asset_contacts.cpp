// Asset contacts: the listener that hands a world's contacts to both objects and lets objects
// through the screen boundary outside the camera's box, the contact damage rule by destroy mode,
// deaths carried out after the physics step, the removed state's callbacks, and the user data
// that links bodies and fixtures to their nodes.

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelPolygon.h"
#include "player/components/KXComponentHealth.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/physics/KXPBodyData.h"
#include "support/asset_world_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::AssetWorld;
using kxtest::TestAsset;

namespace {

class AssetContacts : public kxtest::AssetTest {};

// Records the hits it is handed.
class RecordingHealth : public KXComponentHealth {
public:
    explicit RecordingHealth(std::vector<std::string>& hits) : m_hits(hits) {}
    bool takeDamage(int damage, float delay) override {
        m_hits.push_back(std::to_string(damage) + "/" + std::to_string(delay).substr(0, 4));
        return true;
    }

private:
    std::vector<std::string>& m_hits;
};

// A listener object for removal and contact callbacks.
class ListenerProbe : public CCObject {
public:
    void removed(KXPObjectAsset* asset, KXPObjectAsset* other) {
        calls.push_back(std::string("removed ") + (asset != nullptr ? "asset" : "null") +
                        (other == nullptr ? " null" : " other"));
        if (onRemoved) {
            onRemoved(asset);
        }
    }
    void touched(KXPObjectAsset* asset, KXPObjectAsset* other) {
        calls.push_back(std::string("touched ") + (asset == self ? "self" : "?") +
                        (other == partner ? " partner" : " ?"));
    }
    std::vector<std::string> calls;
    std::function<void(KXPObjectAsset*)> onRemoved;
    KXPObjectAsset* self = nullptr;
    KXPObjectAsset* partner = nullptr;
};

// An object with a type, a destroy mode and an asset (with a damage component when asked).
TestAsset* combatant(uint32_t type, int mode) {
    TestAsset* object = TestAsset::make(kxtest::boxAssetModel());
    object->setType(type);
    object->setDestroyMode(mode);
    return object;
}

TEST_F(AssetContacts, DestroyModesDecideWhoIsHit) {
    constexpr uint32_t kCharacter = KXPObject::kTypeCharacter;
    constexpr uint32_t kUnit = KXPObject::kTypeUnit;
    struct Case {
        uint32_t attackerType;
        int attackerMode;
        uint32_t victimType;
        int victimMode;
        bool hit;
    };
    const Case cases[] = {
        {kUnit, 1, kCharacter, 0, true},
        {kUnit, 1, kUnit, 2, true},
        {kUnit, 1, kUnit, 1, false},
        {kUnit, 1, kUnit, 0, false},
        {kUnit, 1, 0, 0, false},
        {kUnit, 2, kUnit, 1, true},
        {kUnit, 2, kUnit, 2, false},
        {kUnit, 2, kCharacter, 0, false},
        {kUnit, 3, kUnit, 0, true},
        {kUnit, 3, kCharacter, 0, true},
        {kUnit, 3, kUnit | kCharacter, 2, true},
        {kUnit, 3, 0, 0, false},
        {kUnit, 0, kCharacter, 0, false},
        {kUnit, 0, kUnit, 2, false},
    };
    for (const Case& entry : cases) {
        TestAsset* attacker = combatant(entry.attackerType, entry.attackerMode);
        TestAsset* victim = combatant(entry.victimType, entry.victimMode);
        KXPObjectAsset::applyContactDamage(attacker, victim);
        EXPECT_EQ(victim->willDieNextUpdate(), entry.hit) << "mode " << entry.attackerMode << " against type "
                                                          << entry.victimType << " mode " << entry.victimMode;
        EXPECT_FALSE(attacker->willDieNextUpdate());
    }
}

TEST_F(AssetContacts, DeadSpawningOrAssetlessAttackersHitNobody) {
    auto hitsAfter = [](const std::function<void(TestAsset&, TestAsset&)>& prepare, int mode) {
        TestAsset* attacker = combatant(KXPObject::kTypeUnit, mode);
        TestAsset* victim = combatant(KXPObject::kTypeUnit, KXPObjectAsset::kDestroyEnemyCollision);
        victim->setType(KXPObject::kTypeUnit | KXPObject::kTypeCharacter);
        prepare(*attacker, *victim);
        KXPObjectAsset::applyContactDamage(attacker, victim);
        return victim->willDieNextUpdate();
    };
    for (int mode : {1, 3}) {
        EXPECT_TRUE(hitsAfter([](TestAsset&, TestAsset&) {}, mode));
        EXPECT_FALSE(hitsAfter([](TestAsset& a, TestAsset&) { a.setState(KXPObject::kStateDead); }, mode));
        EXPECT_FALSE(hitsAfter([](TestAsset& a, TestAsset&) { a.setSpawner(true); }, mode));
        EXPECT_FALSE(hitsAfter([](TestAsset&, TestAsset& v) { v.setSpawner(true); }, mode));
    }
    TestAsset* assetless = TestAsset::make(createModel<KXModelObjectAsset>());
    assetless->setDestroyMode(KXPObjectAsset::kDestroyAllCollision);
    TestAsset* victim = combatant(KXPObject::kTypeUnit, 0);
    KXPObjectAsset::applyContactDamage(assetless, victim);
    EXPECT_FALSE(victim->willDieNextUpdate());
}

TEST_F(AssetContacts, DamageComesFromTheComponentOrTheAttackersKind) {
    std::vector<std::string> hits;
    auto victimWithHealth = [&](uint32_t type) {
        TestAsset* victim = combatant(type, 0);
        victim->attach(new RecordingHealth(hits));
        return victim;
    };
    auto damaging = [](int damage, float delay) {
        TestAsset* attacker = combatant(KXPObject::kTypeUnit, KXPObjectAsset::kDestroyAllCollision);
        auto component = createModel<KXModelComponentDamage>();
        component->setDamage(damage);
        static_cast<KXAttributeFloat*>(component->attribute("Damage delay"))->setValue(delay);
        attacker->assetModel()->asset()->addChild(component);
        return attacker;
    };

    KXPObjectAsset::applyContactDamage(damaging(3, 0.5f), victimWithHealth(KXPObject::kTypeUnit));
    // Without a damage component an ordinary asset deals 1.
    KXPObjectAsset::applyContactDamage(combatant(KXPObject::kTypeUnit, 3),
                                       victimWithHealth(KXPObject::kTypeUnit));
    EXPECT_EQ(hits, (std::vector<std::string>{"3/0.50", "1/0.00"}));

    // "Damage" 0 switches the rule off for that asset.
    TestAsset* harmless = damaging(0, 0.0f);
    TestAsset* plainVictim = combatant(KXPObject::kTypeUnit, 0);
    KXPObjectAsset::applyContactDamage(harmless, plainVictim);
    EXPECT_FALSE(plainVictim->willDieNextUpdate());

    // A character deals 99 while its powerups run, else nothing.
    std::shared_ptr<KXModelAssetCharacter> hero = createModel<KXModelAssetCharacter>();
    TestAsset* character = combatant(KXPObject::kTypeCharacter, KXPObjectAsset::kDestroyAllCollision);
    character->assetModel()->setAsset(hero);
    hits.clear();
    KXPObjectAsset::applyContactDamage(character, victimWithHealth(KXPObject::kTypeUnit));
    EXPECT_TRUE(hits.empty());
    character->setActivePowerups(true);
    KXPObjectAsset::applyContactDamage(character, victimWithHealth(KXPObject::kTypeUnit));
    EXPECT_EQ(hits, (std::vector<std::string>{"99/0.00"}));

    // ... and takes none while they run.
    TestAsset* enemy = combatant(KXPObject::kTypeUnit, KXPObjectAsset::kDestroyCollision);
    KXPObjectAsset::applyContactDamage(enemy, character);
    EXPECT_FALSE(character->willDieNextUpdate());
    character->setActivePowerups(false);
    KXPObjectAsset::applyContactDamage(enemy, character);
    EXPECT_TRUE(character->willDieNextUpdate());
}

// Records whether Box2D ever loses a body while it steps.
class BodyGoodbyes : public b2DestructionListener {
public:
    explicit BodyGoodbyes(b2World& world) : m_world(world) {}
    void SayGoodbye(b2Joint*) override {}
    void SayGoodbye(b2Fixture*) override {
        ++fixtures;
        lockedGoodbyes += m_world.IsLocked() ? 1 : 0;
    }
    int fixtures = 0;
    int lockedGoodbyes = 0;

private:
    b2World& m_world;
};

TEST_F(AssetContacts, DeathsAndBodyWorkWaitUntilTheStepIsOver) {
    AssetWorld field;
    BodyGoodbyes goodbyes(field.world);
    field.world.SetDestructionListener(&goodbyes);
    std::vector<std::string> problems;
    int contactFrames = 0;

    // A row of victims without health; a ram sweeps through them. Each victim that dies asks to be
    // removed, the ram swaps its look (and fixture) on every hit: all of it from inside the step.
    std::shared_ptr<KXModelPolygon> bigger = createModel<KXModelPolygon>();
    bigger->replaceWithBox(CCSize(60, 60), CCPointZero);
    TestAsset* ram = field.place(kxtest::boxAssetModel(), ccp(0, 0), [&](TestAsset& object) {
        object.setType(KXPObject::kTypeUnit);
        object.setDestroyMode(KXPObjectAsset::kDestroyAllCollision);
        object.setCollisionType(KXPObjectAsset::kCollisionCharacter);
        object.setBodyType(b2_dynamicBody);
    });
    ram->onBeginContact = [&](TestAsset& self, KXPObjectAsset* other) {
        if (!field.world.IsLocked()) {
            problems.push_back("contact outside the step");
        }
        // A fixture swap makes contacts begin again with what the ram still overlaps.
        if (other->getState() != KXPObject::kStateActive || other->willDieNextUpdate()) {
            return;
        }
        ++contactFrames;
        KXPObjectAsset::applyContactDamage(&self, other);
        if (self.displayStateCount() == 0) {
            self.pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, bigger);
        } else {
            self.popAnimation(KXPObjectAsset::kDisplayMove, nullptr, bigger);
        }
    };
    std::vector<TestAsset*> victims;
    std::vector<int> diedAt;
    for (int index = 0; index < 6; ++index) {
        // Sensors, so that the ram sweeps through them all.
        TestAsset* victim = field.place(kxtest::boxAssetModel(), ccp(100 + 60 * index, 0),
                                        [&](TestAsset& object) { object.setType(KXPObject::kTypeUnit); });
        victim->onSetState = [&](TestAsset& self, int32_t state) {
            if (field.world.IsLocked()) {
                problems.push_back("state " + std::to_string(state) + " inside the step");
            }
            if (state == KXPObject::kStateDead) {
                diedAt.push_back(field.frames);
                self.setPendingState(KXPObject::kStateRemoved);
            }
        };
        victims.push_back(victim);
    }
    ram->getBody()->SetLinearVelocity(b2Vec2(30.0f, 0.0f));

    const size_t bodies = static_cast<size_t>(field.world.GetBodyCount());
    for (int frame = 0; frame < 60; ++frame) {
        const int contactsBefore = contactFrames;
        field.frame();
        // Whoever was hit in this frame's step died in this frame's update, after the step.
        if (contactFrames > contactsBefore) {
            EXPECT_FALSE(diedAt.empty());
            EXPECT_EQ(diedAt.back(), frame);
        }
        EXPECT_FALSE(field.world.IsLocked());
    }
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(diedAt.size(), victims.size());
    // Every victim was removed and its body destroyed, never inside the step.
    EXPECT_EQ(field.layer->getChildrenCount(), 1u);
    EXPECT_EQ(static_cast<size_t>(field.world.GetBodyCount()), bodies - victims.size());
    EXPECT_GE(goodbyes.fixtures, 6);
    EXPECT_EQ(goodbyes.lockedGoodbyes, 0);
    // The ram's fixture follows the last look it was given (six swaps: back to its own shape).
    ASSERT_NE(ram->getBody()->GetFixtureList(), nullptr);
    EXPECT_EQ(ram->getBody()->GetFixtureList()->GetNext(), nullptr);
    const b2AABB box = ram->getAABB();
    EXPECT_NEAR(box.upperBound.y - box.lowerBound.y, 2.0f, 0.05f);
    field.world.SetDestructionListener(nullptr); // it goes before the world does
}

TEST_F(AssetContacts, BodiesAskedForInsideTheStepComeWithTheNextUpdate) {
    AssetWorld field;
    TestAsset* wall = field.place(kxtest::boxAssetModel(CCSize(20, 400)), ccp(100, 0));
    TestAsset* runner = field.place(kxtest::boxAssetModel(), ccp(0, 0),
                                    [](TestAsset& object) { object.setBodyType(b2_dynamicBody); });
    TestAsset* spawned = TestAsset::make(kxtest::boxAssetModel());
    spawned->retain();
    TestAsset* doomed = field.place(kxtest::boxAssetModel(), ccp(-300, 0));
    doomed->retain();
    b2Body* doomedBody = doomed->getBody();
    bool asked = false;
    wall->onBeginContact = [&](TestAsset&, KXPObjectAsset*) {
        if (asked) {
            return;
        }
        asked = true;
        // A copy placed from inside the step, and a neighbour let go there.
        field.layer->addChild(spawned);
        spawned->setObjectLayer(field.layer);
        spawned->addToWorld(&field.world, false);
        EXPECT_EQ(spawned->getBody(), nullptr);
        runner->setBodyPosition(500.0f, 500.0f); // refused while locked
        doomed->removeFromParent();
        doomed->release();
    };
    runner->getBody()->SetLinearVelocity(b2Vec2(20.0f, 0.0f));
    const int bodies = field.world.GetBodyCount();
    for (int frame = 0; frame < 20 && !asked; ++frame) {
        field.frame();
    }
    ASSERT_TRUE(asked);
    EXPECT_LT(runner->getPosition().x, 100.0f);
    ASSERT_NE(spawned->getBody(), nullptr);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(spawned->getBody()), spawned);
    // The deleted object's body stayed in the world, answering for no one and touching nothing.
    EXPECT_EQ(field.world.GetBodyCount(), bodies + 1);
    EXPECT_EQ(KXPBodyData::node(doomedBody), nullptr);
    EXPECT_EQ(KXPBodyData::node(doomedBody->GetFixtureList()), nullptr);
    EXPECT_TRUE(doomedBody->GetFixtureList()->IsSensor());
    spawned->release();
}

TEST_F(AssetContacts, AVictimWithoutBodyNeverDies) {
    TestAsset* victim = combatant(KXPObject::kTypeUnit, 0);
    ASSERT_EQ(victim->getBody(), nullptr);
    KXPObjectAsset::applyContactDamage(combatant(KXPObject::kTypeUnit, 3), victim);
    // The hit is taken; only the death it asks for never comes.
    EXPECT_TRUE(victim->willDieNextUpdate());
    for (int frame = 0; frame < 3; ++frame) {
        victim->update(kxtest::kFrame);
    }
    EXPECT_EQ(victim->getState(), KXPObject::kStateActive);
}

TEST_F(AssetContacts, RemovalCallbacksRunOnce) {
    ListenerProbe probe;
    ListenerProbe other;
    int removals = 0;
    {
        AssetWorld field;
        TestAsset* object = field.place(kxtest::boxAssetModel(), ccp(0, 0));
        object->addListener(KXPObjectAsset::kListenerRemoved, &probe,
                            asset_listener_selector(ListenerProbe::removed));
        object->addListener(KXPObjectAsset::kListenerContact, &probe,
                            asset_listener_selector(ListenerProbe::touched));
        object->addListener(KXPObjectAsset::kListenerRemoved, nullptr,
                            asset_listener_selector(ListenerProbe::removed));
        object->addListener(KXPObjectAsset::kListenerRemoved, &other, nullptr);
        probe.onRemoved = [&](KXPObjectAsset* asset) {
            ++removals;
            // Added while the callbacks run: dropped with the list.
            asset->addListener(KXPObjectAsset::kListenerRemoved, &other,
                               asset_listener_selector(ListenerProbe::removed));
        };
        object->setState(KXPObject::kStateRemoved);
        object->setState(KXPObject::kStateRemoved);
        field.frame();
        EXPECT_EQ(field.layer->getChildrenCount(), 0u);
    } // destructors (with their own removal) have run
    EXPECT_EQ(removals, 1);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"removed asset null"}));
    EXPECT_TRUE(other.calls.empty());
}

TEST_F(AssetContacts, RemovingAListenerTakesTheFirstEntryOfItsTarget) {
    TestAsset* object = TestAsset::make(kxtest::boxAssetModel());
    TestAsset* partner = TestAsset::make(kxtest::boxAssetModel());
    ListenerProbe probe;
    probe.self = object;
    probe.partner = partner;
    object->addListener(KXPObjectAsset::kListenerRemoved, &probe,
                        asset_listener_selector(ListenerProbe::removed));
    object->addListener(KXPObjectAsset::kListenerContact, &probe,
                        asset_listener_selector(ListenerProbe::touched));
    object->removeListener(&probe);
    object->removeListener(partner); // no entry: nothing
    object->beginContact(partner, nullptr, true);
    object->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"touched self partner"}));
}

TEST_F(AssetContacts, TheWorldsContactsReachBothObjects) {
    AssetWorld field;
    std::vector<std::string> events;
    auto solid = [](TestAsset& object) { object.setCollisionType(KXPObjectAsset::kCollisionCharacter); };
    TestAsset* wall = field.place(kxtest::boxAssetModel(CCSize(20, 200)), ccp(200, 0), solid);
    TestAsset* ball = field.place(kxtest::boxAssetModel(), ccp(0, 0), [&](TestAsset& object) {
        solid(object);
        object.setBodyType(b2_dynamicBody);
    });
    ListenerProbe wallProbe;
    wallProbe.self = wall;
    wallProbe.partner = ball;
    wall->addListener(KXPObjectAsset::kListenerContact, &wallProbe,
                      asset_listener_selector(ListenerProbe::touched));
    ball->onBeginContact = [&](TestAsset&, KXPObjectAsset* other) {
        events.push_back(other == wall ? "wall" : "?");
    };
    // Contacts of fixtures without an object reach nobody.
    b2BodyDef bare;
    bare.position.Set(-10.0f, 0.0f);
    b2PolygonShape box;
    box.SetAsBox(1.0f, 5.0f);
    field.world.CreateBody(&bare)->CreateFixture(&box, 0.0f);

    ball->getBody()->SetLinearVelocity(b2Vec2(10.0f, 0.0f));
    field.run(90);
    EXPECT_EQ(events, (std::vector<std::string>{"wall"}));
    EXPECT_EQ(wallProbe.calls, (std::vector<std::string>{"touched self partner"}));
    EXPECT_GT(ball->preSolves, 0);
    EXPECT_EQ(ball->preSolves, wall->preSolves);
    // The bare body stops the ball, but without an object on its side nobody is told.
    ball->getBody()->SetLinearVelocity(b2Vec2(-20.0f, 0.0f));
    field.run(60);
    EXPECT_GT(ball->getBody()->GetLinearVelocity().x, 0.0f);
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(AssetContacts, TheBoundaryStopsOnlyWhatIsWhollyInsideTheView) {
    AssetWorld field;
    KXPGameFieldCamera* camera = KXPGameFieldCamera::create();
    // A boundary wall at x = 10 m across the view, as the game field would build it.
    b2BodyDef wallDefinition;
    wallDefinition.position.Set(10.0f, 0.0f);
    b2Body* wallBody = field.world.CreateBody(&wallDefinition);
    KXPBodyData::setNode(wallBody, camera);
    b2PolygonShape wallShape;
    wallShape.SetAsBox(0.5f, 50.0f);
    b2FixtureDef wallFixture;
    wallFixture.shape = &wallShape;
    wallFixture.filter.maskBits = KXPContactListener::kBoundaryMaskBits;
    wallBody->CreateFixture(&wallFixture);

    b2AABB view;
    view.lowerBound.Set(-20.0f, -20.0f);
    view.upperBound.Set(20.0f, 20.0f);
    field.listener.setViewBoxSource([&view] { return view; });

    auto runner = [&](float y) {
        return field.place(kxtest::boxAssetModel(), ccp(0, y), [](TestAsset& object) {
            object.setCollisionType(KXPObjectAsset::kCollisionCharacter);
            object.setBodyType(b2_dynamicBody);
        });
    };
    TestAsset* inside = runner(0.0f);
    TestAsset* straddling = runner(390.0f); // 1 m box centred at 19.5 m: reaches past 20 m
    for (TestAsset* object : {inside, straddling}) {
        b2Filter filter;
        filter.categoryBits = KXPContactListener::kBoundaryCategoryBits;
        object->getBody()->GetFixtureList()->SetFilterData(filter);
        object->getBody()->SetLinearVelocity(b2Vec2(10.0f, 0.0f));
    }
    field.run(90);
    EXPECT_LT(inside->getPosition().x, 200.0f);
    EXPECT_GT(straddling->getPosition().x, 280.0f);
    // Without a view box the boundary is a plain wall.
    field.listener.setViewBoxSource(nullptr);
    straddling->getBody()->SetTransform(b2Vec2(0.0f, 19.5f), 0.0f);
    straddling->getBody()->SetLinearVelocity(b2Vec2(10.0f, 0.0f));
    field.run(90);
    EXPECT_LT(straddling->getPosition().x, 200.0f);

    // Touching the box's edge is inside; a hair beyond is not.
    b2Fixture* fixture = inside->getBody()->GetFixtureList();
    b2AABB edge = fixture->GetAABB(0);
    EXPECT_TRUE(KXPContactListener::boxContainsFixture(edge, fixture));
    edge.upperBound.y -= 0.001f;
    EXPECT_FALSE(KXPContactListener::boxContainsFixture(edge, fixture));
}

// Two boundary fixtures meeting: the contact's first fixture is taken for the boundary, so the
// contact holds exactly while the second one lies inside the view.
TEST_F(AssetContacts, OfTwoBoundariesTheContactsFirstFixtureIsTheBoundary) {
    class Recorder : public KXPContactListener {
    public:
        void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override {
            KXPContactListener::PreSolve(contact, oldManifold);
            firstInside.push_back(contact->GetFixtureA()->GetBody() == inside);
            held.push_back(contact->IsEnabled());
        }
        b2Body* inside = nullptr;
        std::vector<bool> firstInside;
        std::vector<bool> held;
    } recorder;
    b2AABB view;
    view.lowerBound.Set(-0.2f, -5.0f);
    view.upperBound.Set(2.0f, 5.0f);
    recorder.setViewBoxSource([&view] { return view; });

    // Made in both orders, so that each body is once the first fixture of the contact.
    for (const bool insideFirst : {true, false}) {
        b2World world(b2Vec2(0.0f, 0.0f));
        world.SetContactListener(&recorder);
        auto boundary = [&world](float x) {
            b2BodyDef definition;
            definition.type = b2_dynamicBody;
            definition.position.Set(x, 0.0f);
            b2Body* body = world.CreateBody(&definition);
            b2PolygonShape box;
            box.SetAsBox(0.5f, 0.5f);
            b2FixtureDef fixture;
            fixture.shape = &box;
            fixture.density = 1.0f;
            fixture.filter.categoryBits = KXPContactListener::kBoundaryCategoryBits;
            fixture.filter.maskBits = KXPContactListener::kBoundaryMaskBits;
            body->CreateFixture(&fixture);
            return body;
        };
        // From 0.4 m to 1.4 m: inside; from -0.5 m to 0.5 m: reaching out of the view.
        if (insideFirst) {
            recorder.inside = boundary(0.9f);
            boundary(0.0f);
        } else {
            boundary(0.0f);
            recorder.inside = boundary(0.9f);
        }
        world.Step(1.0f / 60.0f, 8, 3);
        world.SetContactListener(nullptr);
    }
    ASSERT_FALSE(recorder.held.empty());
    EXPECT_NE(std::count(recorder.firstInside.begin(), recorder.firstInside.end(), true), 0);
    EXPECT_NE(std::count(recorder.firstInside.begin(), recorder.firstInside.end(), false), 0);
    for (size_t index = 0; index < recorder.held.size(); ++index) {
        // Held when the second (the other) fixture is the one inside.
        EXPECT_EQ(recorder.held[index], !recorder.firstInside[index]) << index;
    }
}

TEST_F(AssetContacts, DeathTakesTheObjectsItCarries) {
    TestAsset* carrier = TestAsset::make(kxtest::boxAssetModel());
    TestAsset* rider = TestAsset::make(kxtest::boxAssetModel());
    TestAsset* nested = TestAsset::make(kxtest::boxAssetModel());
    CCNode* plain = CCNode::create();
    carrier->addChild(rider);
    carrier->addChild(plain);
    rider->addChild(nested);
    carrier->setState(KXPObject::kStateDead);
    EXPECT_EQ(rider->getState(), KXPObject::kStateDead);
    EXPECT_EQ(nested->getState(), KXPObject::kStateDead);
}

TEST_F(AssetContacts, BodyDataLeadsToTheNodeOfItsKind) {
    b2World world(b2Vec2(0.0f, 0.0f));
    b2BodyDef definition;
    b2Body* body = world.CreateBody(&definition);
    b2PolygonShape shape;
    shape.SetAsBox(1.0f, 1.0f);
    b2Fixture* fixture = body->CreateFixture(&shape, 1.0f);
    EXPECT_EQ(KXPBodyData::node(body), nullptr);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(fixture), nullptr);
    EXPECT_EQ(KXPBodyData::node(static_cast<b2Body*>(nullptr)), nullptr);

    KXPGameFieldCamera* camera = KXPGameFieldCamera::create();
    KXPBodyData::setNode(body, camera);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPGameFieldCamera>(body), camera);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(body), nullptr);

    TestAsset* object = TestAsset::make(kxtest::boxAssetModel());
    KXPBodyData::setNode(body, object);
    KXPBodyData::setNode(fixture, object);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(body), object);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObjectAsset>(fixture), object);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPGameFieldCamera>(fixture), nullptr);
    KXPBodyData::clear(body);
    EXPECT_EQ(KXPBodyData::node(body), nullptr);
    EXPECT_EQ(KXPBodyData::node(fixture), nullptr);
}

} // namespace
