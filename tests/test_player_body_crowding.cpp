// Which bodies a crowded world lets go of before its step, and where a body is not made: those
// piled on more others at least as large than the bound, newest first; never a large body under
// many small ones, still bodies piled among themselves, a character among anything but characters,
// or the field's own.

#include "player/objects/KXPBodyCrowding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kBound = KXPBodyCrowding::kMaxOverlaps;

class BodyCrowding : public ::testing::Test {
protected:
    std::unique_ptr<b2World> world = std::make_unique<b2World>(b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> takenOut;

    // A square body of that side (metres) at (x, y).
    b2Body* box(float x, float y, float side, b2BodyType type = b2_dynamicBody, bool sensor = false) {
        b2BodyDef definition;
        definition.type = type;
        definition.position.Set(x, y);
        b2Body* body = world->CreateBody(&definition);
        b2PolygonShape shape;
        shape.SetAsBox(side * 0.5f, side * 0.5f);
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.density = 1.0f;
        fixture.isSensor = sensor;
        body->CreateFixture(&fixture);
        return body;
    }
    // Bodies in `last` go only from a crowd of their own; those in `never` stay.
    int thinOut(const std::vector<b2Body*>& last = {}, const std::vector<b2Body*>& never = {}) {
        const auto in = [](const std::vector<b2Body*>& bodies, const b2Body* body) {
            return std::find(bodies.begin(), bodies.end(), body) != bodies.end();
        };
        return KXPBodyCrowding::thinOut(
            *world,
            [&](const b2Body* body) {
                return in(never, body)  ? KXPBodyCrowding::Rank::never
                       : in(last, body) ? KXPBodyCrowding::Rank::last
                                        : KXPBodyCrowding::Rank::first;
            },
            [&](b2Body* body, int overlaps) {
                EXPECT_GT(overlaps, kBound);
                EXPECT_FALSE(body->IsEnabled());
                takenOut.push_back(body);
            });
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
    const size_t stay = kBound + 1;
    EXPECT_EQ(thinOut(), static_cast<int>(pile.size() - stay));
    for (size_t index = 0; index < pile.size(); ++index) {
        EXPECT_EQ(pile[index]->IsEnabled(), index < stay) << index;
    }
    ASSERT_EQ(takenOut.size(), pile.size() - stay);
    EXPECT_EQ(takenOut.front(), pile.back());
    // Each one left overlaps exactly the bound: the next pass lets none go, and the world steps.
    EXPECT_EQ(KXPBodyCrowding::overlapsOf(*world, *pile.front()), kBound);
    EXPECT_EQ(thinOut(), 0);
    world->Step(1.0f / 60.0f, 6, 6);
    EXPECT_LE(world->GetContactCount(), static_cast<int32>(stay * (stay - 1) / 2));
}

TEST_F(BodyCrowding, RowsAFewPointsApartAreThinnedToWhatTheBoundAllows) {
    // Forty to a row, a tenth of their side apart: each overlaps hundreds of its kind.
    std::vector<b2Body*> rows;
    for (int index = 0; index < 2000; ++index) {
        rows.push_back(
            box(static_cast<float>(index % 40) * 0.1f, static_cast<float>(index / 40) * 0.1f, 2.8f));
    }
    thinOut();
    for (b2Body* body : rows) {
        if (body->IsEnabled()) {
            EXPECT_LE(KXPBodyCrowding::overlapsOf(*world, *body), kBound);
        }
    }
    EXPECT_LT(enabled(rows), rows.size() / 4);
    EXPECT_GT(enabled(rows), static_cast<size_t>(kBound));
}

TEST_F(BodyCrowding, AGroundHoldsAHeapOfSmallerBodiesAndStillBodiesMayPileAmongThemselves) {
    // A floor wider than many hundred balls, with a row of them not touching one another and rows of
    // touching ones on top.
    b2Body* ground = box(0.0f, -500.0f, 1000.0f, b2_staticBody);
    std::vector<b2Body*> heap;
    for (int index = 0; index < 300; ++index) {
        heap.push_back(box(-490.0f + static_cast<float>(index) * 3.0f, 1.0f, 2.0f));
    }
    for (int index = 0; index < 1200; ++index) {
        heap.push_back(box(-49.0f + static_cast<float>(index % 50) * 2.0f,
                           3.0f + static_cast<float>(index / 50) * 2.0f, 2.0f));
    }
    // Coins a magnet has gathered: still bodies that never make a contact between them.
    std::vector<b2Body*> coins;
    for (int index = 0; index < 100; ++index) {
        coins.push_back(box(2000.0f, 2000.0f, 1.0f, b2_staticBody, true));
    }
    EXPECT_EQ(thinOut(), 0);
    EXPECT_TRUE(ground->IsEnabled());
    EXPECT_EQ(enabled(heap), heap.size());
    EXPECT_EQ(enabled(coins), coins.size());
}

TEST_F(BodyCrowding, ACharacterGoesOnlyFromACrowdOfCharactersAndTheFieldsOwnNever) {
    // Terrain built of overlapping still pieces, a character on it and a crowd of crates around it.
    std::vector<b2Body*> terrain;
    for (int index = 0; index < 40; ++index) {
        terrain.push_back(box(static_cast<float>(index) * 0.05f, 0.0f, 4.0f, b2_staticBody));
    }
    std::vector<b2Body*> crates;
    for (int index = 0; index < 60; ++index) {
        crates.push_back(box(0.0f, 0.0f, 2.0f));
    }
    b2Body* character = box(0.0f, 0.0f, 2.0f);
    EXPECT_GT(thinOut({character}), 0);
    EXPECT_TRUE(character->IsEnabled());
    EXPECT_EQ(enabled(terrain), terrain.size());
    EXPECT_LT(enabled(crates), crates.size());

    // Copies of a character sent to one place are a crowd of their own; the edge of the screen
    // stays whatever lies along it.
    std::vector<b2Body*> copies;
    for (int index = 0; index < 60; ++index) {
        copies.push_back(box(100.0f, 0.0f, 2.0f));
    }
    b2Body* edge = box(100.0f, 0.0f, 2.0f, b2_staticBody);
    thinOut(copies, {edge});
    EXPECT_EQ(enabled(copies), static_cast<size_t>(kBound + 1));
    EXPECT_TRUE(copies.front()->IsEnabled());
    EXPECT_FALSE(copies.back()->IsEnabled());
    EXPECT_TRUE(edge->IsEnabled());
}

TEST_F(BodyCrowding, ABodyNotYetMadeCountsStillBodiesOnlyWhenItWillMoveAndOnlyThoseAsked) {
    std::vector<b2Body*> pile;
    for (int index = 0; index < kBound + 1; ++index) {
        pile.push_back(box(0.0f, 0.0f, 2.0f, b2_staticBody));
    }
    const std::vector<b2AABB> there{pile.front()->GetFixtureList()->GetAABB(0)};
    // One that will move piles on them; one that stands still (a coin) does not.
    EXPECT_GT(KXPBodyCrowding::overlapsOfNew(*world, there, b2_dynamicBody), kBound);
    EXPECT_EQ(KXPBodyCrowding::overlapsOfNew(*world, there, b2_staticBody), 0);
    // Only the bodies asked about count: a character among still terrain.
    b2Body* character = box(0.0f, 0.0f, 2.0f);
    const auto characters = [&](const b2Body* body) { return body == character; };
    EXPECT_EQ(KXPBodyCrowding::overlapsOfNew(*world, there, b2_dynamicBody, characters), 1);
    // Elsewhere there is room.
    b2AABB away;
    away.lowerBound.Set(10.0f, 10.0f);
    away.upperBound.Set(12.0f, 12.0f);
    EXPECT_EQ(KXPBodyCrowding::overlapsOfNew(*world, {away}, b2_dynamicBody), 0);
}

} // namespace
