// The physics step's budget: levels whose steps fit play exactly as Box2D alone plays them (heaps,
// walls of crates edge to edge, slanted planks, coins pulled onto a hero, platforms moving at a set
// speed); a step that would cost more than a frame has the dynamic bodies of its crowd held out, the
// heaviest first, characters last, never a static or kinematic body nor one that touches nothing,
// and each comes back where it then stands once there is room, to be touched as before. Each key
// line of the budget (when it acts, the room it holds out to, the rays it counts, what it may hold,
// its sums, its own looks) has a case here that fails when the line breaks.

#include "player/physics/KXPStepBudget.h"

#include "model/KXDebugLog.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPBroadPhaseView.h"
#include "support/step_budget_field.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace budget_test;

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
        // Far below the budget: the prediction leaves it room.
        EXPECT_LT(budgeted.budget.foreseen(), KXPStepBudget::kMaxWork / 4) << step;
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

// The budget acts exactly when the step it foresees passes kMaxWork: piles from well within it to
// well past it, each foreseen in its first step and its next.
TEST(StepBudget, ItActsExactlyWhenTheStepItForeseesPassesTheBudget) {
    bool within = false;
    bool past = false;
    for (int count = 100; count <= 1000; count += 50) {
        Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
        pileOf(field, count);
        const int held = field.step();
        const int64_t foreseen = field.budget.foreseen();
        const bool passes = foreseen > KXPStepBudget::kMaxWork;
        EXPECT_EQ(held > 0, passes) << count << " boxes: " << foreseen / 1000000 << " ms";
        within = within || (!passes && foreseen > KXPStepBudget::kMaxWork / 2);
        past = past || (passes && foreseen < 2 * KXPStepBudget::kMaxWork);
    }
    // Steps on both sides, near the line.
    EXPECT_TRUE(within);
    EXPECT_TRUE(past);
}

// Bodies held out bring the step within the room, and come back only while it stays within it:
// the margin keeps them from flickering in and out.
TEST(StepBudget, HeldOutBodiesBringTheStepWithinTheRoomAndComeBackOnlyWhileItStaysSo) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    const std::vector<b2Body*> pile = pileOf(field, 800);
    KXDebugLogCapture log;
    ASSERT_GT(field.step(), 0);
    EXPECT_LE(field.pairing.cost(), KXPStepBudget::kRoomWork);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("bodies held out of the physics where they stand"), std::string::npos);
    // Every box of the pile adds as much: the newest went first.
    const size_t held = field.heldOut_.size();
    for (size_t index = 0; index < held; ++index) {
        EXPECT_FALSE(pile[pile.size() - 1 - index]->IsEnabled()) << index;
    }
    // Back as the pile spreads, each step that gives one back within the room.
    for (int step = 0; step < 900 && enabled(pile) < pile.size(); ++step) {
        const size_t before = field.givenBack.size();
        field.step();
        if (field.givenBack.size() > before) {
            EXPECT_LE(field.budget.predicted().cost() + field.budget.continuousCost(),
                      KXPStepBudget::kRoomWork)
                << step;
        }
    }
    EXPECT_EQ(enabled(pile), pile.size());
    EXPECT_EQ(field.givenBack.size(), field.heldOut_.size());
    EXPECT_EQ(field.budget.heldOutCount(), 0u);
}

// Only dynamic bodies of the crowd that makes the work go: never a static or kinematic body (floors,
// walls, lifts, moving ledges), never one that touches nothing, and characters last.
TEST(StepBudget, OnlyDynamicBodiesOfTheCrowdAreHeldOutAndCharactersLast) {
    Field field(true, nullptr, b2Vec2(0.0f, 0.0f));
    b2Body* floor = field.box(0.0f, 0.0f, 40.0f, 2.0f, b2_staticBody);
    field.own(floor, false);
    std::vector<b2Body*> ledges;
    for (int index = 0; index < 20; ++index) {
        ledges.push_back(field.box(0.0f, 0.5f, 4.0f, 0.2f, b2_kinematicBody));
        field.own(ledges.back(), false);
    }
    std::vector<b2Body*> characters;
    for (int index = 0; index < 60; ++index) {
        characters.push_back(field.box(0.0f, 1.0f, 1.0f, 2.0f, b2_dynamicBody, false, -1));
        field.own(characters.back(), true);
    }
    std::vector<b2Body*> crates = pileOf(field, 900);
    for (b2Body* crate : crates) {
        field.own(crate, false);
    }
    // A lift through the pile touches every crate: it adds the most, and stays.
    b2Body* lift = field.box(0.0f, 0.0f, 3.0f, 3.0f, b2_kinematicBody);
    field.own(lift, false);
    // Far from the crowd, touching nothing.
    std::vector<b2Body*> apart;
    for (int index = 0; index < 50; ++index) {
        apart.push_back(field.box(500.0f + 3.0f * index, 500.0f, 1.0f, 1.0f));
        field.own(apart.back(), false);
    }
    ASSERT_GT(field.step(), 0);
    EXPECT_TRUE(floor->IsEnabled());
    EXPECT_TRUE(lift->IsEnabled());
    EXPECT_EQ(enabled(ledges), ledges.size());
    EXPECT_EQ(enabled(apart), apart.size());
    // The newest crates went; the characters stay while crates remain to go.
    EXPECT_LT(enabled(crates), crates.size());
    if (enabled(crates) > 0) {
        EXPECT_EQ(enabled(characters), characters.size());
    }
    for (b2Body* body : field.heldOut_) {
        EXPECT_EQ(body->GetType(), b2_dynamicBody);
    }
    // The pile goes on growing about the lift: still the lift stays.
    for (int step = 0; step < 3; ++step) {
        for (b2Body* crate : pileOf(field, 300)) {
            field.own(crate, false);
        }
        field.step();
        EXPECT_TRUE(lift->IsEnabled()) << step;
    }

    // Characters alone past the budget: the newest go, crossing one another's ground rays.
    Field crowd(true, nullptr, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> stacked;
    for (int index = 0; index < 2000; ++index) {
        stacked.push_back(crowd.box(0.0f, 0.0f, 1.0f, 2.0f, b2_dynamicBody, false, -1));
        crowd.own(stacked.back(), true);
    }
    crowd.step();
    // Their rays, cast as the characters cast them after the step.
    for (int step = 0; step < 3; ++step) {
        for (b2Body* body : stacked) {
            RayHits hits;
            KXPStepBudget::castRay(body, &hits, body->GetPosition() + b2Vec2(-0.5f, -0.9f),
                                   body->GetPosition() + b2Vec2(0.5f, -1.1f));
        }
        crowd.step();
    }
    const size_t stay = enabled(stacked);
    EXPECT_LT(stay, stacked.size());
    EXPECT_GT(stay, 0u);
}

// The characters' ground rays count toward the frame as they are cast, and a character's first rays
// stop at what is left of it: laying thousands at one point casts no more than the frame holds, and
// those whose rays were cut wait outside the physics.
TEST(StepBudget, GroundRaysCountAndACrowdsFirstRaysStopAtTheFrame) {
    Field field(true, nullptr, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> crowd;
    for (int index = 0; index < 4000; ++index) {
        crowd.push_back(field.box(0.0f, 0.0f, 1.0f, 2.0f, b2_dynamicBody, false, -1));
        field.own(crowd.back(), true);
    }
    // A character far from the crowd, casting once the crowd has spent the frame.
    b2Body* alone = field.box(1000.0f, 0.0f, 1.0f, 2.0f, b2_dynamicBody, false, -1);
    field.own(alone, true);
    field.budget.beginFrame();
    int cast = 0;
    int cut = 0;
    for (b2Body* body : crowd) {
        RayHits hits;
        const bool whole = KXPStepBudget::castRay(body, &hits, body->GetPosition() + b2Vec2(-0.5f, -0.9f),
                                                  body->GetPosition() + b2Vec2(0.5f, -1.1f));
        (whole ? cast : cut) += 1;
        EXPECT_EQ(body->IsEnabled(), whole);
        // Its short ray is cast whole: it goes on playing.
        if (cut == 1 && !whole) {
            EXPECT_TRUE(KXPStepBudget::castRay(alone, &hits, alone->GetPosition() + b2Vec2(-0.5f, -0.9f),
                                               alone->GetPosition() + b2Vec2(0.5f, -1.1f)));
            EXPECT_TRUE(alone->IsEnabled());
        }
    }
    EXPECT_GT(cast, 0);
    EXPECT_GT(cut, 0);
    field.world->DestroyBody(alone);
    // What they looked at stands within the frame and its grace (the last ray stopped at it).
    EXPECT_LE(field.budget.frameWork(),
              KXPStepBudget::kMaxWork + KXPStepBudget::kRoomWork + KXPStepWork::kRayCost * 4000);
    EXPECT_GE(field.budget.frameWork(), KXPStepBudget::kMaxWork / 2);
    // The next step foresees the rays of those that cast, as many boxes as they looked at.
    field.step();
    EXPECT_GT(field.budget.predicted().rays, 0);
    // Casters that go cast nothing in the step after: their rays leave its prediction.
    field.budget.beginFrame();
    for (b2Body* body : crowd) {
        RayHits hits;
        KXPStepBudget::castRay(body, &hits, body->GetPosition() + b2Vec2(-0.5f, -0.9f),
                               body->GetPosition() + b2Vec2(0.5f, -1.1f));
    }
    for (b2Body* body : crowd) {
        field.world->DestroyBody(body);
    }
    field.step();
    EXPECT_EQ(field.budget.predicted().rays, 0);
}

// Casters held out as their rays are cut, laid in the same frame, leave no box of theirs to pair in
// the step, though nothing is held out before it: one of them gone since, the other given back.
TEST(StepBudget, CastersHeldAsTheirRaysAreCutLeaveNoBoxToPair) {
    Field field(true, nullptr, b2Vec2(0.0f, 0.0f));
    for (int index = 0; index < 300; ++index) {
        field.box(0.0f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    }
    b2Body* falling = field.ball(0.0f, 0.0f, 1.0f);
    field.step();
    field.budget.beginFrame();
    b2Body* spender = field.box(0.0f, 0.0f, 1.0f, 2.0f);
    b2Body* late = field.box(0.0f, 0.0f, 1.0f, 2.0f);
    field.own(spender, true);
    field.own(late, true);
    RayHits hits;
    for (int cast = 0; cast < 100000 && spender->IsEnabled(); ++cast) {
        KXPStepBudget::castRay(spender, &hits, b2Vec2(-0.5f, 0.4f), b2Vec2(0.5f, -0.4f));
    }
    ASSERT_FALSE(spender->IsEnabled());
    EXPECT_FALSE(KXPStepBudget::castRay(late, &hits, b2Vec2(-0.5f, 0.4f), b2Vec2(0.5f, -0.4f)));
    ASSERT_FALSE(late->IsEnabled());
    // The spender goes, and its rays with it: the step has nothing to hold out.
    field.world->DestroyBody(spender);
    EXPECT_EQ(field.step(), 0);
    EXPECT_TRUE(late->IsEnabled());
    // Every contact is between bodies of the world, and the ball's are still there.
    std::set<const b2Body*> bodies;
    for (const b2Body* body = field.world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        bodies.insert(body);
    }
    for (const b2Contact* contact = field.world->GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        EXPECT_EQ(bodies.count(contact->GetFixtureA()->GetBody()), 1u);
        EXPECT_EQ(bodies.count(contact->GetFixtureB()->GetBody()), 1u);
    }
    EXPECT_NE(falling->GetContactList(), nullptr);
}

// A contact made once the step has carried a body beyond its margins is first tested in the next
// step, which counts it: two polygons carried into each other as a full test, one still apart (its
// box reaches ahead of it) or a circle's as a light one. One the step's first pairing makes is its
// own step's.
TEST(StepBudget, ContactsMadeAtAStepsEndCountForTheirFirstTestInTheNext) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    field.box(0.0f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    b2Body* coming = field.box(3.0f, 0.0f, 1.0f, 1.0f);
    field.step();
    EXPECT_EQ(field.world->GetContactCount(), 0);
    coming->SetLinearVelocity(b2Vec2(-100.0f, 0.0f));
    field.step();
    ASSERT_EQ(field.world->GetContactCount(), 1);
    field.step();
    EXPECT_EQ(field.budget.predicted().freshLight, 1);
    EXPECT_EQ(field.budget.predicted().fresh, 0);
    // Two boxes passing into each other within a step.
    b2Body* left = field.box(-1.6f, 10.0f, 1.0f, 1.0f);
    b2Body* right = field.box(1.6f, 10.0f, 1.0f, 1.0f);
    field.step();
    left->SetLinearVelocity(b2Vec2(66.0f, 0.0f));
    right->SetLinearVelocity(b2Vec2(-66.0f, 0.0f));
    field.step();
    field.step();
    EXPECT_EQ(field.budget.predicted().fresh, 1);
    EXPECT_EQ(field.budget.predicted().freshLight, 0);
    // A ball's first test is a distance worked out.
    b2Body* ball = field.ball(-0.3f, 3.0f, 1.0f);
    field.step();
    ball->SetLinearVelocity(b2Vec2(0.0f, -100.0f));
    field.step();
    field.step();
    EXPECT_EQ(field.budget.predicted().freshLight, 1);
    EXPECT_EQ(field.budget.predicted().fresh, 0);
    // Laid beside a still box, the pair is made by the first pairing: nothing fresh after it.
    Field laid(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    laid.box(0.0f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    laid.step();
    laid.box(0.9f, 0.0f, 1.0f, 1.0f);
    laid.step();
    ASSERT_EQ(laid.world->GetContactCount(), 1);
    laid.step();
    EXPECT_EQ(laid.budget.predicted().fresh, 0);
    EXPECT_EQ(laid.budget.predicted().freshLight, 0);
}

// A contact the step's first pairing makes is tested in that step's own update, and solved there if
// its shapes touch: two polygons that meet as a full test; a ball's as a light one, solved too while
// it touches; shapes still apart (the boxes' margins met), and a sensor's overlap, as a light one
// only.
TEST(StepBudget, AContactOfTheFirstPairingIsTestedAndSolvedInItsOwnStep) {
    struct Case {
        const char* name;
        bool balls;
        b2Vec2 at;
        int64_t fresh;
        int64_t freshLight;
        int64_t touching;
        bool sensor = false;
    };
    const Case cases[] = {
        {"boxes that meet", false, b2Vec2(0.9f, 0.0f), 1, 0, 0},
        {"boxes apart", false, b2Vec2(1.05f, 0.0f), 0, 1, 0},
        {"balls that touch", true, b2Vec2(0.9f, 0.0f), 0, 1, 1},
        {"balls apart", true, b2Vec2(1.05f, 0.0f), 0, 1, 0},
        // Their boxes meet by the corners; the balls lie 1.06 apart.
        {"balls apart, their boxes meeting", true, b2Vec2(0.75f, 0.75f), 0, 1, 0},
        // An overlap worked out, nothing solved.
        {"a sensor box over a box", false, b2Vec2(0.5f, 0.0f), 0, 1, 0, true},
    };
    for (const Case& laid : cases) {
        Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
        // A world large enough for the laid box to be looked up, the others apart.
        for (int index = 0; index < 2100; ++index) {
            field.box(100.0f + 3.0f * static_cast<float>(index), 0.0f, 1.0f, 1.0f, b2_staticBody);
        }
        laid.balls ? field.ball(0.0f, 0.0f, 1.0f, b2_staticBody)
                   : field.box(0.0f, 0.0f, 1.0f, 1.0f, b2_staticBody);
        field.step();
        laid.balls ? field.ball(laid.at.x, laid.at.y, 1.0f, b2_dynamicBody, laid.sensor)
                   : field.box(laid.at.x, laid.at.y, 1.0f, 1.0f, b2_dynamicBody, laid.sensor);
        field.step();
        ASSERT_EQ(field.world->GetContactCount(), 1) << laid.name;
        EXPECT_EQ(field.budget.predicted().made, 1) << laid.name;
        EXPECT_EQ(field.budget.predicted().fresh, laid.fresh) << laid.name;
        EXPECT_EQ(field.budget.predicted().freshLight, laid.freshLight) << laid.name;
        EXPECT_EQ(field.budget.predicted().touching, laid.touching) << laid.name;
    }

    // Given a new type alone, bodies are paired at the step's end: their first tests, foreseen in
    // that step, are not counted again in the next.
    Field typed(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    for (int index = 0; index < 2100; ++index) {
        typed.box(100.0f + 3.0f * static_cast<float>(index), 0.0f, 1.0f, 1.0f, b2_staticBody);
    }
    typed.box(0.0f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    b2Body* left = typed.box(-0.9f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    b2Body* right = typed.box(0.9f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    typed.step();
    left->SetType(b2_dynamicBody);
    right->SetType(b2_dynamicBody);
    typed.step();
    EXPECT_EQ(typed.budget.predicted().fresh, 2);
    ASSERT_EQ(typed.world->GetContactCount(), 2);
    typed.step();
    EXPECT_EQ(typed.budget.predicted().fresh, 0);
}

// Box2D turns a pair away by the bodies' types first, and only then asks the joints and the filter:
// falling boxes laid at one point that never collide (one group) are asked about pair by pair
// (still boxes moved to one point are not: the growth case below).
TEST(StepBudget, PairsThatMakeNoContactAreAskedAboutOnlyWithAFallingBody) {
    Field falling(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    falling.box(100.0f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    falling.step();
    for (int index = 0; index < 300; ++index) {
        falling.box(0.0f, 0.0f, 1.0f, 1.0f, b2_dynamicBody, false, -1);
    }
    falling.step();
    EXPECT_EQ(falling.world->GetContactCount(), 0);
    EXPECT_GT(falling.budget.predicted().pairs, 10000);
    EXPECT_EQ(falling.budget.predicted().asked, falling.budget.predicted().pairs);
    EXPECT_EQ(falling.budget.predicted().made, 0);
}

// Box2D's pair buffer keeps the room the most pairs of one pairing took: a first pairing past it is
// priced for the buffer's growth, and the same pairing again is not. Still boxes moved to one point
// are turned away by their types, never asked about.
TEST(StepBudget, PairsPastThePairBuffersRoomArePricedForItsGrowthOnce) {
    Field still(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> coins;
    for (int index = 0; index < 300; ++index) {
        coins.push_back(still.box(3.0f * static_cast<float>(index), 0.0f, 1.0f, 1.0f, b2_staticBody));
    }
    still.step();
    // The first `together` coins to one point, the others apart.
    const auto gather = [&](size_t together) {
        for (size_t index = 0; index < coins.size(); ++index) {
            const float x = index < together ? 0.0f : 3.0f * static_cast<float>(index);
            coins[index]->SetTransform(b2Vec2(x, 0.0f), 0.0f);
        }
        still.step();
    };
    gather(coins.size());
    const int64_t pairs = still.budget.predicted().pairs;
    EXPECT_GT(pairs, 10000);
    EXPECT_EQ(still.budget.predicted().asked, 0);
    // The buffer held the few pairs of the boxes apart.
    EXPECT_GT(still.budget.predicted().grown, pairs - 1000);
    gather(0);
    // Fewer than the 44,850 pairs the buffer grew for, by more than the sample may err.
    gather(240);
    EXPECT_GT(still.budget.predicted().pairs, 10000);
    EXPECT_EQ(still.budget.predicted().grown, 0);
}

// A pile laid at once makes its contacts in its first pairing, each walking lists the ones before
// it lengthened: those walks go through the memory of every contact made, not of the few the
// world held before.
TEST(StepBudget, APileLaidAtOnceWalksAmongTheContactsItsPairingMakes) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    field.box(0.0f, -2.0f, 40.0f, 1.0f, b2_staticBody);
    field.step();
    for (int index = 0; index < 260; ++index) {
        field.box(0.001f * static_cast<float>(index), 0.0f, 1.0f, 1.0f);
    }
    field.budget.beginFrame();
    field.budget.beforeStep(*field.world);
    const Work& pile = field.budget.predicted();
    EXPECT_EQ(pile.contacts, 0);
    EXPECT_GT(pile.made, 30000);
    EXPECT_GE(pile.reach, pile.made);
    EXPECT_GT(KXPStepWork::farShare(pile.reach), KXPStepWork::farShare(0) * 3 / 2);
}

TEST(StepBudget, BodiesMovedTogetherByTheGameOrAtASetSpeedAreForeseenBeforeTheStep) {
    // Dynamic boxes a metre wide, 2 m apart, that the game teleports to one point: a sample of the
    // moved boxes tells the pile before the step pairs it.
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> movers;
    for (int index = 0; index < 3000; ++index) {
        movers.push_back(field.box(2.0f * (index % 100), 2.0f * (index / 100), 1.0f, 1.0f));
    }
    field.step();
    EXPECT_EQ(enabled(movers), movers.size());
    for (size_t index = 0; index < movers.size(); ++index) {
        const b2Vec2 to =
            index % 2 == 0 ? b2Vec2(-50.0f, -50.0f) : movers[index]->GetPosition() + b2Vec2(0.0f, 300.0f);
        KXPBodyMotion::moveTo(movers[index], to, 0.0f);
    }
    EXPECT_GT(field.step(), 0);
    EXPECT_GT(field.budget.foreseen(), KXPStepBudget::kMaxWork);
    EXPECT_LT(enabled(movers), movers.size());
    // None of those moved apart went: they touch nothing.
    for (size_t index = 1; index < movers.size(); index += 2) {
        EXPECT_TRUE(movers[index]->IsEnabled()) << index;
    }
}

TEST(StepBudget, AHeldOutBodyComesBackWhereItStandsAndIsTouchedAsBefore) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    const std::vector<b2Body*> pile = pileOf(field, 900, 0.0f);
    field.step();
    ASSERT_FALSE(field.heldOut_.empty());
    b2Body* last = pile.back();
    ASSERT_FALSE(last->IsEnabled());
    // Moved while held out (the magnet drags it), then a hero comes by where it now stands.
    KXPBodyMotion::moveTo(last, b2Vec2(30.0f, 0.0f), 0.0f);
    b2Body* hero = field.box(30.0f, 30.0f, 1.0f, 1.0f);
    hero->SetLinearVelocity(b2Vec2(0.0f, -10.0f));
    for (int step = 0; step < 600 && !field.touches.touched(last, hero); ++step) {
        field.step();
    }
    EXPECT_TRUE(last->IsEnabled());
    EXPECT_TRUE(field.touches.touched(last, hero));

    // A held-out body destroyed is forgotten.
    Field other(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    const std::vector<b2Body*> heap = pileOf(other, 900, 0.0f);
    other.step();
    const size_t held = other.budget.heldOutCount();
    ASSERT_GT(held, 0u);
    other.world->DestroyBody(heap.back());
    EXPECT_EQ(other.budget.heldOutCount(), held - 1);
    other.step();
}

// Counts and costs saturate: a world can hold more than the square of its bodies fits in 64 bits.
TEST(StepBudget, TheLargestCountsSaturateInsteadOfOverflowing) {
    const int64_t most = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(kxcount::add(most, most), most);
    EXPECT_EQ(kxcount::mul(most / 2, 3), most);
    EXPECT_EQ(kxcount::mul(3037000500, 3037000500), most);
    EXPECT_EQ(kxcount::sub(5, most), 0);
    EXPECT_EQ(kxcount::scale(most, most, 1), most);
    EXPECT_EQ(kxcount::scale(most, 3, 4), most / 4 * 3 + (most % 4) * 3 / 4);
    Work work;
    work.contacts = most;
    work.walks = most / 2;
    work.rays = most;
    EXPECT_EQ(work.cost(), most);
    Work twice = work;
    twice.add(work);
    EXPECT_EQ(twice.contacts, most);
    EXPECT_EQ(twice.scaled(most, 1).walks, most);
    twice.remove(work);
    EXPECT_GE(twice.walks, 0);

    // Forty thousand boxes made in one step, most at one point: the budget foresees it whole
    // (the sanitizer build stops on a sum that overflows).
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    const std::vector<b2Body*> pile = pileOf(field, 40000, 0.0f);
    field.step();
    EXPECT_GT(field.budget.foreseen(), KXPStepBudget::kMaxWork);
    EXPECT_LT(enabled(pile), pile.size());
}

// The budget looks every box of the move buffer up, each as far as a crowd's boxes, within a count
// where it acts, and its looks count toward the frame.
TEST(StepBudget, TheBudgetsOwnLooksCountEveryMovedBoxAndTowardTheFrame) {
    // Ten thousand boxes apart and two hundred at one point, made in one step: the pairs foreseen are
    // those the step finds.
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    for (int index = 0; index < 10000; ++index) {
        field.box(10.0f + 3.0f * (index % 100), 10.0f + 3.0f * (index / 100), 1.0f, 1.0f);
    }
    for (int pile = 0; pile < 20; ++pile) {
        pileOf(field, 10, 0.0f);
    }
    field.budget.beginFrame();
    field.budget.beforeStep(*field.world, nullptr);
    EXPECT_EQ(field.budget.heldOutCount(), 0u);
    const int64_t exact = exactFirstPairing(*field.world).pairs;
    EXPECT_GT(exact, 10000);
    EXPECT_GE(field.budget.predicted().pairs, exact * 99 / 100);
    EXPECT_LE(field.budget.predicted().pairs, exact * 101 / 100);
    // Each box once down the tree, with the few it meets; the pile's sample whole.
    EXPECT_GE(field.budget.looks(), 10200);
    EXPECT_LT(field.budget.looks(), 10200 * 40 + 200 * 200);
    EXPECT_GE(field.budget.frameWork(), field.budget.looks() * KXPStepWork::kLookCost);

    // A pile of three thousand at one point: acting, it looks within its count.
    Field pile(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    pileOf(pile, 3000, 0.0f);
    pile.budget.beginFrame();
    pile.budget.beforeStep(*pile.world, nullptr);
    EXPECT_GT(pile.budget.heldOutCount(), 0u);
    EXPECT_LE(pile.budget.looks(), KXPStepBudget::kStepLooks);
    EXPECT_GE(pile.budget.frameWork(), pile.budget.looks() * KXPStepWork::kLookCost);

    // A world of few boxes: made and given their type, each is twice in the move buffer, which
    // is then too long to pass over; from then on nothing is looked up.
    Field few(true, firstOfAll, b2Vec2(0.0f, -10.0f));
    pileOf(few, KXPStepBudget::kFewBoxes - 1, 0.0f);
    few.step();
    EXPECT_GT(few.budget.looks(), 0);
    for (int step = 0; step < 3; ++step) {
        few.step();
        EXPECT_EQ(few.budget.looks(), 0) << step;
    }
    // One box more than that is looked up.
    few.box(50.0f, 50.0f, 1.0f, 1.0f);
    few.box(52.0f, 50.0f, 1.0f, 1.0f);
    few.step();
    EXPECT_GT(few.budget.looks(), 0);
}

// The quick count's sample of moving bodies stays within a fiftieth of the step it foresees once it
// has tried its least: a thousand lift-like boxes at one point, moving together, each of which meets
// all the others when it leaves its margins.
TEST(StepBudget, TheQuickCountsSampleStaysWithinItsShareOfTheStep) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    constexpr int kCount = 1000;
    for (int index = 0; index < kCount; ++index) {
        field.box(0.001f * static_cast<float>(index), 0.0f, 1.0f, 1.0f, b2_kinematicBody)
            ->SetLinearVelocity(b2Vec2(0.0f, 6.0f));
    }
    field.step();
    // Each body tried meets the whole crowd: one try's share past the allowance at most. The step
    // it tells of is this one or the last, whichever is more.
    const int64_t oneTry = KXPStepBudget::sampleCost(1, kCount, 0);
    int sampled = 0;
    for (int step = 0; step < 30; ++step) {
        const int64_t last = field.budget.foreseen();
        field.step();
        ASSERT_EQ(field.budget.heldOutCount(), 0u);
        const int64_t looks = field.budget.looks();
        const int64_t told = std::max(last, field.budget.foreseen());
        sampled += looks > kCount ? 1 : 0;
        EXPECT_LE(KXPStepBudget::sampleCost(0, looks, 0), told / KXPStepBudget::kSampleShare + oneTry)
            << step << ": " << looks << " looks for a step foreseen at " << told << " ns";
        // Still a sample of the crowd, not one body.
        if (looks > kCount) {
            EXPECT_GE(looks, static_cast<int64_t>(KXPStepBudget::kLeastTries) * kCount / 2) << step;
        }
    }
    EXPECT_GT(sampled, 0);
}

// Bodies destroyed since the last step count in the next where its islands ask Box2D for heap memory
// (the heap then takes back what went with them first), and only there.
TEST(StepBudget, BodiesGoneCountInTheNextStepWhereItTakesHeapMemory) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> spread;
    for (int index = 0; index < 6000; ++index) {
        spread.push_back(field.box(3.0f * static_cast<float>(index % 100),
                                   3.0f * static_cast<float>(index / 100), 1.0f, 1.0f));
    }
    field.step();
    EXPECT_EQ(field.budget.predicted().gone, 0);
    for (int index = 0; index < 2000; ++index) {
        field.world->DestroyBody(spread.back());
        spread.pop_back();
    }
    field.step();
    EXPECT_EQ(field.budget.predicted().gone, 2000);
    field.step();
    EXPECT_EQ(field.budget.predicted().gone, 0);
    // A world small enough for Box2D's own stack: what goes leaves the step alone.
    while (spread.size() > 200) {
        field.world->DestroyBody(spread.back());
        spread.pop_back();
    }
    field.step();
    EXPECT_EQ(field.budget.predicted().gone, 0);
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
    // Pairs of two overlapping boxes, found in the step.
    bodies[2]->SetTransform(b2Vec2(30.2f, 0.0f), 0.0f);
    world.Step(1.0f / 60.0f, 6, 6);
    EXPECT_EQ(world.GetContactCount(), 0);
    EXPECT_GE(view.pairCount(), 0);
}

} // namespace
