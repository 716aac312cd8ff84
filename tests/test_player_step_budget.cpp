// The physics step's budget: levels whose steps fit play exactly as Box2D alone plays them (heaps,
// walls of crates edge to edge, slanted planks, coins pulled onto a hero, platforms moving at a set
// speed); a step that would cost more than a frame has its heaviest bodies held out, characters
// last, and each comes back where it then stands once there is room, to be touched as before.

#include "player/physics/KXPStepBudget.h"

#include "model/KXDebugLog.h"
#include "player/objects/KXPBodyRank.h"
#include "player/objects/KXPObject.h"
#include "player/physics/KXPBodyData.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPBroadPhaseView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

namespace {

using Rank = KXPStepBudget::Rank;
using Work = KXPStepBudget::Work;

// Counts the contacts that begin between two sets of bodies.
class Touches : public b2ContactListener {
public:
    std::set<std::pair<const b2Body*, const b2Body*>> begun;
    void BeginContact(b2Contact* contact) override {
        const b2Body* a = contact->GetFixtureA()->GetBody();
        const b2Body* b = contact->GetFixtureB()->GetBody();
        begun.insert({std::min(a, b), std::max(a, b)});
    }
    bool touched(const b2Body* a, const b2Body* b) const {
        return begun.count({std::min(a, b), std::max(a, b)}) > 0;
    }
};

// A world of bodies made as the field makes them, stepped as the field steps it.
class Field {
public:
    explicit Field(bool budgeted, KXPStepBudget::RankOf rankOf = nullptr,
                   b2Vec2 gravity = b2Vec2(0.0f, -10.0f))
        : world(std::make_unique<b2World>(gravity)), budgeted(budgeted),
          budget(rankOf ? std::move(rankOf) : KXPStepBudget::RankOf(KXPBodyRank::of)) {
        if (budgeted) {
            budget.watch(*world);
        }
        world->SetContactListener(&touches);
    }
    ~Field() {
        for (KXPObject* object : objects) {
            object->release();
        }
    }

    b2Body* body(float x, float y, const b2Shape& shape, b2BodyType type, bool sensor = false,
                 int16 group = 0, float angle = 0.0f) {
        b2BodyDef definition;
        definition.position.Set(x, y);
        definition.angle = angle;
        b2Body* made = world->CreateBody(&definition);
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.density = 1.0f;
        fixture.isSensor = sensor;
        fixture.filter.groupIndex = group;
        KXPBodyMass::createFixture(made, fixture);
        // Made still, then set moving, as the game's units are.
        if (type != b2_staticBody) {
            KXPBodyMass::setType(made, type);
        }
        return made;
    }
    b2Body* box(float x, float y, float width, float height, b2BodyType type = b2_dynamicBody,
                bool sensor = false, int16 group = 0, float angle = 0.0f) {
        b2PolygonShape shape;
        shape.SetAsBox(width * 0.5f, height * 0.5f);
        return body(x, y, shape, type, sensor, group, angle);
    }
    b2Body* ball(float x, float y, float diameter, b2BodyType type = b2_dynamicBody, bool sensor = false) {
        b2CircleShape shape;
        shape.m_radius = diameter * 0.5f;
        return body(x, y, shape, type, sensor);
    }
    // A game object behind the body: a character or not.
    void own(b2Body* body, bool character) {
        auto* object = new KXPObject(nullptr);
        object->setType(character ? KXPObject::kTypeCharacter : KXPObject::kTypeUnit);
        KXPBodyData::setNode(body, object);
        objects.push_back(object);
    }
    // Held out, given back and stepped as the field does; answers how many were held out.
    int step() {
        const size_t before = heldOut_.size();
        bool continuous = true;
        if (budgeted) {
            budget.beginFrame();
            continuous = budget.beforeStep(*world, [this](b2Body* body, const Work& adds, bool heldOut) {
                (heldOut ? heldOut_ : givenBack).push_back(body);
                EXPECT_EQ(body->IsEnabled(), !heldOut);
                EXPECT_GE(adds.cost(), 0);
            });
            EXPECT_LE(budget.predicted().cost(), KXPStepBudget::kMaxWork);
        }
        world->SetContinuousPhysics(continuous);
        world->Step(1.0f / 60.0f, 6, 6);
        if (budgeted) {
            budget.afterStep(*world);
        }
        return static_cast<int>(heldOut_.size() - before);
    }

    std::unique_ptr<b2World> world;
    const bool budgeted;
    KXPStepBudget budget;
    Touches touches;
    std::vector<KXPObject*> objects;
    std::vector<b2Body*> heldOut_;
    std::vector<b2Body*> givenBack;
};

size_t enabled(const std::vector<b2Body*>& bodies) {
    return static_cast<size_t>(
        std::count_if(bodies.begin(), bodies.end(), [](b2Body* body) { return body->IsEnabled(); }));
}

// The same dense but valid level in any field: a pit of balls side by side between walls, a wall
// of crates snapped edge to edge, planks turned 45 degrees side by side, a platform row moving at
// a set speed, and coins a "magnet" pulls onto a hero each step.
struct DenseLevel {
    std::vector<b2Body*> bodies;
    std::vector<b2Body*> coins;
    b2Body* hero = nullptr;

    explicit DenseLevel(Field& field) {
        bodies.push_back(field.box(0.0f, -1.0f, 400.0f, 2.0f, b2_staticBody));
        bodies.push_back(field.box(-10.5f, 10.0f, 1.0f, 20.0f, b2_staticBody));
        bodies.push_back(field.box(10.5f, 10.0f, 1.0f, 20.0f, b2_staticBody));
        for (int row = 0; row < 20; ++row) {
            for (int column = 0; column < 40; ++column) {
                bodies.push_back(field.ball(-9.75f + 0.5f * column, 0.25f + 0.5f * row, 0.5f));
            }
        }
        // Crates of 1 m side by side, touching, ten high.
        for (int row = 0; row < 10; ++row) {
            for (int column = 0; column < 30; ++column) {
                bodies.push_back(field.box(20.5f + column, 0.5f + row, 1.0f, 1.0f));
            }
        }
        for (int index = 0; index < 80; ++index) {
            bodies.push_back(
                field.box(60.0f + index * 1.0f, 5.0f, 10.0f, 0.1f, b2_dynamicBody, false, 0, 0.785f));
        }
        for (int index = 0; index < 100; ++index) {
            b2Body* platform = field.box(150.0f + index * 2.0f, 8.0f, 1.9f, 0.2f, b2_kinematicBody);
            platform->SetLinearVelocity(b2Vec2(1.0f, 0.0f));
            bodies.push_back(platform);
        }
        hero = field.box(-60.0f, 1.0f, 1.0f, 2.0f);
        field.own(hero, true);
        for (int row = 0; row < 30; ++row) {
            for (int column = 0; column < 30; ++column) {
                coins.push_back(
                    field.box(-80.0f + 0.6f * column, 2.0f + 0.6f * row, 0.5f, 0.5f, b2_staticBody, true));
            }
        }
    }
    // Pulls every coin within 20 m towards the hero, as the magnet does.
    void pull() {
        const b2Vec2 centre = hero->GetPosition();
        for (b2Body* coin : coins) {
            const b2Vec2 offset = coin->GetPosition() - centre;
            const float distance = offset.Length();
            if (distance < 20.0f) {
                const float t = distance / 20.0f;
                const float alpha = 1.0f - (1.0f - t) * (1.0f - t) * (1.0f - t);
                KXPBodyMotion::moveTo(coin, centre + alpha * offset, coin->GetAngle());
            }
        }
    }
};

TEST(StepBudget, ValidLevelsStepExactlyAsBox2DAloneStepsThem) {
    Field budgeted(true);
    Field alone(false);
    DenseLevel level(budgeted);
    DenseLevel twin(alone);
    for (int step = 0; step < 120; ++step) {
        level.pull();
        twin.pull();
        EXPECT_EQ(budgeted.step(), 0) << step;
        alone.step();
    }
    EXPECT_TRUE(budgeted.heldOut_.empty());
    ASSERT_EQ(level.bodies.size(), twin.bodies.size());
    for (size_t index = 0; index < level.bodies.size(); ++index) {
        EXPECT_EQ(level.bodies[index]->GetPosition(), twin.bodies[index]->GetPosition()) << index;
        EXPECT_EQ(level.bodies[index]->GetAngle(), twin.bodies[index]->GetAngle()) << index;
    }
    // The coins reached the hero in both.
    size_t touched = 0;
    for (size_t index = 0; index < level.coins.size(); ++index) {
        EXPECT_EQ(budgeted.touches.touched(level.coins[index], level.hero),
                  alone.touches.touched(twin.coins[index], twin.hero));
        touched += budgeted.touches.touched(level.coins[index], level.hero) ? 1 : 0;
    }
    EXPECT_GT(touched, 400u);
}

TEST(StepBudget, APileAtOnePointIsHeldOutNewestFirstAndComesBackAsItSpreads) {
    Field field(
        true, [](b2Body*) { return Rank::first; }, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> pile;
    for (int index = 0; index < 800; ++index) {
        pile.push_back(field.box(0.001f * index, 0.0f, 1.0f, 1.0f));
    }
    KXDebugLogCapture log;
    EXPECT_GT(field.step(), 0);
    ASSERT_FALSE(field.heldOut_.empty());
    // Every box of the pile adds as much: the newest went first.
    const size_t held = field.heldOut_.size();
    for (size_t index = 0; index < held; ++index) {
        EXPECT_FALSE(pile[pile.size() - 1 - index]->IsEnabled()) << index;
    }
    EXPECT_EQ(enabled(pile), pile.size() - held);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("bodies held out of the physics where they stand"), std::string::npos);
    // Held out where they stood; back as the pile spreads, each step within the budget.
    for (int step = 0; step < 600 && enabled(pile) < pile.size(); ++step) {
        field.step();
    }
    EXPECT_EQ(enabled(pile), pile.size());
    EXPECT_EQ(field.givenBack.size(), held);
    EXPECT_EQ(field.budget.heldOutCount(), 0u);
}

TEST(StepBudget, StillBodiesPiledTogetherArePairedAcrossStepsAndAllStay) {
    // Coins dropped at one point: Box2D looks at each pair once, when the coins enter the world.
    Field field(true, [](b2Body*) { return Rank::first; });
    std::vector<b2Body*> coins;
    for (int index = 0; index < 6000; ++index) {
        coins.push_back(field.box(0.0f, 0.0f, 0.5f, 0.5f, b2_staticBody, true));
    }
    EXPECT_GT(field.step(), 0);
    EXPECT_LT(enabled(coins), coins.size());
    int steps = 1;
    while (field.budget.heldOutCount() > 0 && steps < 200) {
        field.step();
        ++steps;
    }
    EXPECT_EQ(enabled(coins), coins.size());
    EXPECT_LT(steps, 200);
    // They cost nothing more: none goes again.
    for (int step = 0; step < 60; ++step) {
        field.step();
    }
    EXPECT_EQ(enabled(coins), coins.size());
}

TEST(StepBudget, CharactersGoLastAndOnlyFromACrowdOfCharacters) {
    // The game's own rule: characters (which never collide with one another here) go only once
    // every other body of the crowd is out; a body of no object never goes. The characters' ground
    // rays would cross every crate: those go with the crates.
    Field field(true, nullptr, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> characters;
    std::vector<b2Body*> crates;
    for (int index = 0; index < 100; ++index) {
        characters.push_back(field.box(0.0f, 0.0f, 1.0f, 2.0f, b2_dynamicBody, false, -1));
        field.own(characters.back(), true);
    }
    for (int index = 0; index < 1000; ++index) {
        crates.push_back(field.box(0.0f, 0.0f, 1.0f, 1.0f));
        field.own(crates.back(), false);
    }
    b2Body* anchor = field.box(0.0f, 0.0f, 1.0f, 1.0f, b2_dynamicBody);
    field.step();

    // The newest crates went; a few of the oldest may stay within the room left.
    EXPECT_LT(enabled(crates), crates.size() / 10);
    for (size_t index = enabled(crates); index < crates.size(); ++index) {
        EXPECT_FALSE(crates[index]->IsEnabled()) << index;
    }
    EXPECT_EQ(enabled(characters), characters.size());
    EXPECT_TRUE(anchor->IsEnabled());

    // Characters alone past the budget: the newest go.
    Field crowd(true, nullptr, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> stacked;
    for (int index = 0; index < 5000; ++index) {
        stacked.push_back(crowd.box(0.0f, 0.0f, 1.0f, 2.0f, b2_dynamicBody, false, -1));
        crowd.own(stacked.back(), true);
    }
    crowd.step();
    const size_t stay = enabled(stacked);
    EXPECT_LT(stay, stacked.size());
    EXPECT_GT(stay, 0u);
    for (size_t index = 0; index < stacked.size(); ++index) {
        EXPECT_EQ(stacked[index]->IsEnabled(), index < stay) << index;
    }
}

// Still boxes a metre wide, 2 m apart in rows of 100, that the game moves.
std::vector<b2Body*> gridOfMovers(Field& field, int count) {
    std::vector<b2Body*> movers;
    for (int index = 0; index < count; ++index) {
        movers.push_back(
            field.box(2.0f * (index % 100), 2.0f * (index / 100), 1.0f, 1.0f, b2_staticBody, true));
    }
    return movers;
}

TEST(StepBudget, BodiesMovedTogetherByTheGameOrAtASetSpeedAreCountedBeforeTheStep) {
    Field field(
        true, [](b2Body*) { return Rank::first; }, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> movers = gridOfMovers(field, 5000);
    field.step();
    EXPECT_EQ(enabled(movers), movers.size());
    // A teleport of them all to one point: the next step would look at 12.5 million pairs.
    for (b2Body* mover : movers) {
        KXPBodyMotion::moveTo(mover, b2Vec2(-50.0f, -50.0f), 0.0f);
    }
    EXPECT_GT(field.step(), 0);
    EXPECT_LT(enabled(movers), movers.size());

    // Twice as many, half of them moved apart and half to one point: a sample of the moved boxes
    // tells the pile.
    Field half(
        true, [](b2Body*) { return Rank::first; }, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> spread = gridOfMovers(half, 10000);
    half.step();
    for (size_t index = 0; index < spread.size(); ++index) {
        const b2Vec2 to =
            index % 2 == 0 ? b2Vec2(-50.0f, -50.0f) : spread[index]->GetPosition() + b2Vec2(0.0f, 300.0f);
        KXPBodyMotion::moveTo(spread[index], to, 0.0f);
    }
    EXPECT_GT(half.step(), 0);
    EXPECT_LT(enabled(spread), spread.size());

    // Platforms moving together at a set speed, stacked: each step pairs each with all.
    Field moving(
        true, [](b2Body*) { return Rank::first; }, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> platforms;
    for (int index = 0; index < 3500; ++index) {
        platforms.push_back(moving.box(0.0f, 0.0f, 2.0f, 0.2f, b2_kinematicBody));
    }
    moving.step();
    for (b2Body* platform : platforms) {
        platform->SetLinearVelocity(b2Vec2(3.0f, 0.0f));
    }
    moving.step();
    EXPECT_LT(enabled(platforms), platforms.size());
}

TEST(StepBudget, AHeldOutBodyComesBackWhereItStandsAndIsTouchedAsBefore) {
    Field field(
        true, [](b2Body*) { return Rank::first; }, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> coins;
    for (int index = 0; index < 6000; ++index) {
        coins.push_back(field.box(0.0f, 0.0f, 0.5f, 0.5f, b2_staticBody, true));
    }
    field.step();
    ASSERT_FALSE(field.heldOut_.empty());
    b2Body* last = coins.back();
    ASSERT_FALSE(last->IsEnabled());
    // Moved while held out (the magnet drags it), then a hero comes by where it now stands.
    KXPBodyMotion::moveTo(last, b2Vec2(30.0f, 0.0f), 0.0f);
    b2Body* hero = field.box(30.0f, 30.0f, 1.0f, 1.0f);
    hero->SetLinearVelocity(b2Vec2(0.0f, -10.0f));
    for (int step = 0; step < 300 && !field.touches.touched(last, hero); ++step) {
        field.step();
    }
    EXPECT_TRUE(last->IsEnabled());
    EXPECT_TRUE(field.touches.touched(last, hero));
    EXPECT_EQ(last->GetPosition(), b2Vec2(30.0f, 0.0f));

    // A held-out body destroyed is forgotten.
    Field other(true, [](b2Body*) { return Rank::first; });
    std::vector<b2Body*> pile;
    for (int index = 0; index < 6000; ++index) {
        pile.push_back(other.box(0.0f, 0.0f, 0.5f, 0.5f, b2_staticBody, true));
    }
    other.step();
    const size_t held = other.budget.heldOutCount();
    ASSERT_GT(held, 0u);
    other.world->DestroyBody(pile.back());
    EXPECT_EQ(other.budget.heldOutCount(), held - 1);
    other.step();
}

TEST(StepBudget, TheBroadPhaseViewReadsWhatTheNextStepPairs) {
    b2World world(b2Vec2(0.0f, 0.0f));
    const KXPBroadPhaseView view(world);
    b2BodyDef definition;
    b2PolygonShape shape;
    shape.SetAsBox(0.5f, 0.5f);
    std::vector<b2Body*> bodies;
    for (int index = 0; index < 3; ++index) {
        definition.position.Set(10.0f * index, 0.0f);
        bodies.push_back(world.CreateBody(&definition));
        bodies.back()->CreateFixture(&shape, 1.0f);
    }
    EXPECT_EQ(view.proxyCount(), 3);
    ASSERT_EQ(view.moveCount(), 3);
    EXPECT_EQ(view.movedProxy(2), KXPBroadPhaseView::proxyIdOf(*bodies[2]->GetFixtureList(), 0));
    EXPECT_TRUE(view.wasMoved(view.movedProxy(0)));
    world.Step(1.0f / 60.0f, 6, 6);
    EXPECT_EQ(view.moveCount(), 0);
    // Moved within its margin: not looked up again; beyond it: looked up.
    bodies[1]->SetTransform(b2Vec2(10.05f, 0.0f), 0.0f);
    EXPECT_EQ(view.moveCount(), 0);
    bodies[1]->SetTransform(b2Vec2(30.0f, 0.0f), 0.0f);
    EXPECT_EQ(view.moveCount(), 1);
}

} // namespace
