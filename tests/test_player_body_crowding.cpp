// Which bodies the field takes out of the physics before a step, and which it never does: bodies
// piled on one another past the bounds go, newest first; bodies side by side, however many, small
// or fast, a large body under many small ones, still bodies piled among themselves, characters
// stacked under the bound and the field's own stay. Characters go last.

#include "player/objects/KXPBodyCrowding.h"

#include "player/objects/KXPBodyMass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

namespace {

using Rank = KXPBodyCrowding::Rank;

class BodyCrowding : public ::testing::Test {
protected:
    void SetUp() override { crowding.watch(*world); }

    std::unique_ptr<b2World> world = std::make_unique<b2World>(b2Vec2(0.0f, 0.0f));
    std::set<const b2Body*> characters;
    std::set<const b2Body*> fieldsOwn;
    KXPBodyCrowding crowding{[this](b2Body* body) {
        return fieldsOwn.count(body) > 0    ? Rank::never
               : characters.count(body) > 0 ? Rank::last
                                            : Rank::first;
    }};
    std::vector<b2Body*> takenOut;
    std::vector<b2Body*> crowdedAround;

    // A body of that type at (x, y) with one shape, made as the game makes them (noted).
    b2Body* body(float x, float y, const b2Shape& shape, b2BodyType type = b2_dynamicBody,
                 bool sensor = false, int16 group = 0) {
        b2BodyDef definition;
        definition.type = type;
        definition.position.Set(x, y);
        b2Body* made = world->CreateBody(&definition);
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.density = 1.0f;
        fixture.isSensor = sensor;
        fixture.filter.groupIndex = group;
        KXPBodyMass::createFixture(made, fixture);
        return made;
    }
    // As the field makes an object's body: outside the broad phase while the place is busy.
    b2Body* placed(float x, float y, float side) {
        b2PolygonShape shape;
        shape.SetAsBox(side * 0.5f, side * 0.5f);
        b2BodyDef definition;
        definition.type = b2_dynamicBody;
        definition.position.Set(x, y);
        definition.enabled =
            !KXPBodyCrowding::isBusy(*world, shape, b2Transform(definition.position, b2Rot(0.0f)));
        b2Body* made = world->CreateBody(&definition);
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.density = 1.0f;
        KXPBodyMass::createFixture(made, fixture);
        return made;
    }
    b2Body* box(float x, float y, float side, b2BodyType type = b2_dynamicBody, bool sensor = false,
                int16 group = 0) {
        b2PolygonShape shape;
        shape.SetAsBox(side * 0.5f, side * 0.5f);
        return body(x, y, shape, type, sensor, group);
    }
    b2Body* ball(float x, float y, float diameter, b2BodyType type = b2_dynamicBody) {
        b2CircleShape shape;
        shape.m_radius = diameter * 0.5f;
        return body(x, y, shape, type);
    }
    b2Body* character(float x, float y, float side = 2.0f) {
        b2Body* made = box(x, y, side, b2_dynamicBody, false, -1);
        characters.insert(made);
        return made;
    }
    int judge() {
        return crowding.beforeStep(
            *world, [this](b2Body* body, const KXPBodyCrowding::Count& count, b2Body* crowded) {
                EXPECT_FALSE(body->IsEnabled());
                takenOut.push_back(body);
                crowdedAround.push_back(crowded);
                if (crowded == body) {
                    EXPECT_TRUE(count.crowded());
                }
            });
    }
    // Steps as the field does: judged, then stepped.
    void step(int steps = 1) {
        for (int index = 0; index < steps; ++index) {
            judge();
            world->Step(1.0f / 60.0f, 6, 2);
        }
    }
    static size_t enabled(const std::vector<b2Body*>& bodies) {
        return static_cast<size_t>(
            std::count_if(bodies.begin(), bodies.end(), [](b2Body* body) { return body->IsEnabled(); }));
    }
};

TEST_F(BodyCrowding, APileAtOnePointKeepsItsOldestBodiesAndLetsTheRestGoNewestFirst) {
    std::vector<b2Body*> pile;
    for (int index = 0; index < 100; ++index) {
        pile.push_back(box(0.0f, 0.0f, 2.0f));
    }
    const size_t stay = KXPBodyCrowding::kMaxPiledBodies + 1;
    EXPECT_EQ(judge(), static_cast<int>(pile.size() - stay));
    for (size_t index = 0; index < pile.size(); ++index) {
        EXPECT_EQ(pile[index]->IsEnabled(), index < stay) << index;
    }
    ASSERT_EQ(takenOut.size(), pile.size() - stay);
    EXPECT_EQ(takenOut.front(), pile.back());
    EXPECT_EQ(crowding.countAround(*world, *pile.front(), true).piled, KXPBodyCrowding::kMaxPiledBodies);
    // Judged once: the next pass has nothing to judge, and the world steps with what stays.
    EXPECT_EQ(judge(), 0);
    world->Step(1.0f / 60.0f, 6, 2);
    EXPECT_LE(world->GetContactCount(), static_cast<int32>(stay * (stay - 1) / 2));
}

TEST_F(BodyCrowding, BodiesMadeInABusyPlaceEnterThePhysicsOnlyOnceJudgedOldestFirst) {
    std::vector<b2Body*> pile;
    for (int index = 0; index < 1000; ++index) {
        pile.push_back(placed(0.0f, 0.0f, 2.0f));
    }
    EXPECT_EQ(world->GetProxyCount(), KXPBodyCrowding::kBusyBoxes + 1);
    EXPECT_FALSE(pile.back()->IsEnabled());
    EXPECT_EQ(judge(), static_cast<int>(pile.size()) - KXPBodyCrowding::kMaxPiledBodies - 1);
    for (size_t index = 0; index < pile.size(); ++index) {
        EXPECT_EQ(pile[index]->IsEnabled(), index <= static_cast<size_t>(KXPBodyCrowding::kMaxPiledBodies))
            << index;
    }
    // Each told once, and none again.
    std::set<b2Body*> told(takenOut.begin(), takenOut.end());
    EXPECT_EQ(told.size(), takenOut.size());
    EXPECT_EQ(judge(), 0);
    // Elsewhere there is room: a body made there enters at once.
    EXPECT_TRUE(placed(100.0f, 0.0f, 2.0f)->IsEnabled());
}

TEST_F(BodyCrowding, BodiesSideBySideStayHoweverManySmallOrFast) {
    // A pit of 9-point balls (0.45 m) 10 points apart, resting on a ground, and the same balls
    // shot through the pit at Box2D's top speed.
    b2Body* ground = box(0.0f, -500.0f, 1000.0f, b2_staticBody);
    std::vector<b2Body*> pit;
    for (int index = 0; index < 600; ++index) {
        pit.push_back(
            ball(static_cast<float>(index % 30) * 0.5f, static_cast<float>(index / 30) * 0.5f, 0.45f));
    }
    b2Body* shot = ball(-2.0f, 5.0f, 0.45f);
    shot->SetBullet(true);
    shot->SetLinearVelocity(b2Vec2(120.0f, 0.0f));
    // Long planks turned 45 degrees in a column, never touching, and bodies of a tenth of a point
    // three points apart.
    std::vector<b2Body*> others;
    for (int index = 0; index < 80; ++index) {
        b2PolygonShape plank;
        plank.SetAsBox(2.0f, 0.2f, b2Vec2_zero, 0.785398f);
        others.push_back(body(100.0f, static_cast<float>(index) * 3.0f, plank));
    }
    for (int index = 0; index < 900; ++index) {
        others.push_back(ball(200.0f + static_cast<float>(index % 30) * 0.15f,
                              static_cast<float>(index / 30) * 0.15f, 0.005f));
    }
    step(60);
    EXPECT_TRUE(takenOut.empty());
    EXPECT_TRUE(ground->IsEnabled());
    EXPECT_EQ(enabled(pit), pit.size());
    EXPECT_TRUE(shot->IsEnabled());
    EXPECT_EQ(enabled(others), others.size());
}

TEST_F(BodyCrowding, StillBodiesPileAmongThemselvesAndAGroundHoldsAnyNumberOfSmallerOnes) {
    // Coins at one point, made a hundred a step: still sensors that never pair with one another
    // once made.
    std::vector<b2Body*> still;
    for (int round = 0; round < 6; ++round) {
        for (int index = 0; index < 100; ++index) {
            still.push_back(box(50.0f, 50.0f, 1.0f, b2_staticBody, true));
        }
        step();
    }
    // A floor under 2,000 small boxes, all touching it.
    b2Body* floor = box(0.0f, -50.0f, 100.0f, b2_staticBody);
    std::vector<b2Body*> heap;
    for (int index = 0; index < 2000; ++index) {
        heap.push_back(
            box(-49.5f + static_cast<float>(index % 100), 0.5f + static_cast<float>(index / 100), 1.0f));
    }
    step(5);
    EXPECT_TRUE(takenOut.empty());
    EXPECT_EQ(enabled(still), still.size());
    EXPECT_TRUE(floor->IsEnabled());
    EXPECT_EQ(enabled(heap), heap.size());

    // Once something moves them together (the magnet), they are a pile like any other.
    for (b2Body* coin : still) {
        KXPBodyCrowding::setTransform(coin, b2Vec2(60.0f, 60.0f), 0.0f);
    }
    judge();
    EXPECT_EQ(enabled(still), static_cast<size_t>(KXPBodyCrowding::kMaxPairs + 1));
    EXPECT_TRUE(still.front()->IsEnabled());
    EXPECT_FALSE(still.back()->IsEnabled());
}

TEST_F(BodyCrowding, StillBodiesMadeTogetherAtOnePointArePairedOnceWithinTheirOwnBound) {
    // Box2D pairs the bodies made in a step with one another in that step: the guns of many
    // characters, all made at the layer's origin.
    std::vector<b2Body*> guns;
    for (int index = 0; index < 600; ++index) {
        guns.push_back(box(0.0f, 0.0f, 1.0f, b2_staticBody, true));
    }
    step();
    EXPECT_EQ(enabled(guns), static_cast<size_t>(KXPBodyCrowding::kMaxStillPairs + 1));
    EXPECT_FALSE(guns.back()->IsEnabled());
}

TEST_F(BodyCrowding, EachKindOfPairHasItsOwnBound) {
    // Dynamic sensors at one point make contacts but never collide.
    std::vector<b2Body*> sensors;
    for (int index = 0; index < 300; ++index) {
        sensors.push_back(box(0.0f, 0.0f, 2.0f, b2_dynamicBody, true));
    }
    // Kinematic bodies never pair with one another: only their boxes cost, when they move.
    std::vector<b2Body*> kinematic;
    for (int index = 0; index < 300; ++index) {
        kinematic.push_back(box(100.0f, 0.0f, 2.0f, b2_kinematicBody));
    }
    judge();
    EXPECT_EQ(enabled(sensors), static_cast<size_t>(KXPBodyCrowding::kMaxContactsAt + 1));
    EXPECT_EQ(enabled(kinematic), static_cast<size_t>(KXPBodyCrowding::kMaxPairs + 1));
    // Newest first: the last kinematic body made goes first.
    ASSERT_FALSE(takenOut.empty());
    EXPECT_EQ(takenOut.front(), kinematic.back());
    EXPECT_TRUE(sensors.front()->IsEnabled());
    EXPECT_FALSE(sensors.back()->IsEnabled());
}

TEST_F(BodyCrowding, CharactersGoLastAndOnlyFromACrowdOfCharacters) {
    // Characters never collide with one another: a stack under the bound stays whole.
    std::vector<b2Body*> stack;
    for (int index = 0; index < 100; ++index) {
        stack.push_back(character(0.0f, 0.0f));
    }
    // A character in a pile of crates: the crates go, newest first, judged before any character,
    // and it stays.
    b2Body* hero = character(50.0f, 0.0f);
    std::vector<b2Body*> crates;
    for (int index = 0; index < 40; ++index) {
        crates.push_back(box(50.0f, 0.0f, 2.0f));
    }
    // The edge of the screen stays whatever lies along it.
    b2Body* edge = box(50.0f, 0.0f, 4.0f, b2_staticBody);
    fieldsOwn.insert(edge);
    step();
    EXPECT_EQ(enabled(stack), stack.size());
    EXPECT_TRUE(hero->IsEnabled());
    EXPECT_TRUE(edge->IsEnabled());
    // Each crate counts the hero and the edge too.
    EXPECT_EQ(enabled(crates), static_cast<size_t>(KXPBodyCrowding::kMaxPiledBodies - 1));
    EXPECT_TRUE(crates.front()->IsEnabled());

    // Past the bound, characters copied to one place go, newest first.
    std::vector<b2Body*> copies;
    for (int index = 0; index < 300; ++index) {
        copies.push_back(character(200.0f, 0.0f));
    }
    takenOut.clear();
    judge();
    EXPECT_EQ(enabled(copies), static_cast<size_t>(KXPBodyCrowding::kMaxPairs + 1));
    EXPECT_TRUE(copies.front()->IsEnabled());
    EXPECT_FALSE(copies.back()->IsEnabled());
}

TEST_F(BodyCrowding, BodiesCrowdingACharacterGoRatherThanIt) {
    b2Body* hero = character(0.0f, 0.0f, 1.0f);
    // Larger sensors, each one moved there apart (none crowds another: they never pair).
    std::vector<b2Body*> portals;
    for (int index = 0; index < 200; ++index) {
        portals.push_back(box(0.0f, 0.0f, 4.0f, b2_dynamicBody, true));
        judge();
    }
    ASSERT_EQ(enabled(portals), static_cast<size_t>(KXPBodyCrowding::kMaxContactsAt + 1));
    takenOut.clear();
    crowdedAround.clear();
    // The hero moves into the crowd of those left: it counts them, and they go newest first.
    KXPBodyCrowding::setTransform(hero, b2Vec2(0.0f, 0.0f), 0.5f);
    KXPBodyCrowding::note(hero);
    judge();
    EXPECT_TRUE(hero->IsEnabled());
    ASSERT_FALSE(takenOut.empty());
    EXPECT_EQ(crowdedAround.front(), hero);
    EXPECT_LE(crowding.countAround(*world, *hero, true).pairs, KXPBodyCrowding::kMaxPairs);
}

TEST_F(BodyCrowding, APileFormedInsideAStepGetsNoMoreContactsThanTheBoundAndIsJudgedBeforeTheNext) {
    // Dynamic sensors flying into one point from a ring: nothing pushes them apart.
    std::vector<b2Body*> swarm;
    for (int index = 0; index < 400; ++index) {
        const float angle = static_cast<float>(index) * 0.0157f;
        b2Body* made = box(std::cos(angle) * 2.0f, std::sin(angle) * 2.0f, 1.0f, b2_dynamicBody, true);
        made->SetLinearVelocity(b2Vec2(-std::cos(angle) * 120.0f, -std::sin(angle) * 120.0f));
        swarm.push_back(made);
    }
    judge();
    ASSERT_TRUE(takenOut.empty());
    world->Step(1.0f / 60.0f, 6, 2);
    for (b2Body* made : swarm) {
        int contacts = 0;
        for (b2ContactEdge* edge = made->GetContactList(); edge != nullptr; edge = edge->next) {
            ++contacts;
        }
        EXPECT_LE(contacts, KXPBodyCrowding::kMaxContactsAt * 2);
    }
    judge();
    EXPECT_FALSE(takenOut.empty());
    EXPECT_LE(enabled(swarm), swarm.size() - takenOut.size());
}

TEST_F(BodyCrowding, AKinematicBodyIsJudgedAgainWhenBox2DHasGrownItsBoxEveryFewSteps) {
    std::vector<b2Body*> still;
    for (int index = 0; index < 300; ++index) {
        still.push_back(box(10.0f, 0.0f, 2.0f, b2_staticBody));
    }
    // At 3 m/s, in the still pile from the 40th step to the 160th.
    b2Body* mover = box(5.0f, 0.0f, 2.0f, b2_kinematicBody);
    mover->SetLinearVelocity(b2Vec2(3.0f, 0.0f));
    step();
    EXPECT_TRUE(mover->IsEnabled());
    step(static_cast<int>(KXPBodyCrowding::kKinematicRounds) * 4);
    EXPECT_FALSE(mover->IsEnabled());
    EXPECT_EQ(enabled(still), still.size());
    // One moving on its own is not judged again while its box holds it.
    b2Body* drifter = box(100.0f, 100.0f, 2.0f, b2_kinematicBody);
    drifter->SetLinearVelocity(b2Vec2(0.01f, 0.0f));
    step(2);
    takenOut.clear();
    EXPECT_EQ(judge(), 0);
    EXPECT_TRUE(drifter->IsEnabled());
}

TEST_F(BodyCrowding, ABodysSizeIsItsLargestSideHoweverItIsTurned) {
    b2Body* plank = box(0.0f, 0.0f, 4.0f);
    const float size = KXPBodyCrowding::sizeOf(*plank);
    EXPECT_NEAR(size, 4.0f + 2.0f * b2_polygonRadius, 1e-4f);
    plank->SetTransform(b2Vec2(1.0f, 1.0f), 0.785398f);
    EXPECT_FLOAT_EQ(KXPBodyCrowding::sizeOf(*plank), size);
    EXPECT_FLOAT_EQ(KXPBodyCrowding::sizeOf(*ball(0.0f, 0.0f, 3.0f)), 3.0f);
}

} // namespace
