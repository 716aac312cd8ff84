// Crowds of every kind are bounded: past the budget with the dynamic bodies of the crowd held, still
// sensors, kinematic movers and still solids go too, the ground last and never a body that touches
// nothing; Box2D's own limits (the pairs of one pairing, the contacts, the boxes of its tree) are
// never reached; every box that enters a step is counted in its first pairing; the budget's own
// looks stay within a count whatever the world holds; and a body given back is not held again
// while its crowd has not grown.

#include "player/physics/KXPStepBudget.h"

#include "player/physics/KXPBroadPhaseView.h"
#include "player/physics/KXPHoldOrder.h"
#include "player/physics/KXPStepCensus.h"
#include "support/step_budget_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace budget_test;
using Tier = KXPHoldOrder::Tier;

// Static bodies of 1 m laid at one point in one step: still solids, or still sensors (coins).
std::vector<b2Body*> stillPile(Field& field, int count, bool sensors, float x = 0.0f) {
    std::vector<b2Body*> pile;
    for (int index = 0; index < count; ++index) {
        pile.push_back(field.box(x, 0.0f, 1.0f, 1.0f, b2_staticBody, sensors));
    }
    return pile;
}

// A step as the field takes it, answering what the budget foresaw before it acted against the first
// pairing of the boxes then in the move buffer, and the pairs it then foresaw against those of the
// pairing Box2D does.
struct Foreseen {
    int64_t work = 0;
    int64_t exactWork = 0;
    int64_t pairs = 0;
    int64_t exactPairs = 0;
};
Foreseen stepForeseeing(Field& field) {
    Foreseen foreseen;
    foreseen.exactWork = exactFirstPairing(*field.world).cost();
    field.budget.beginFrame();
    const bool continuous = field.budget.beforeStep(*field.world, nullptr);
    foreseen.work = field.budget.foreseen();
    foreseen.pairs = field.budget.predicted().pairs;
    foreseen.exactPairs = exactFirstPairing(*field.world).pairs;
    field.world->SetContinuousPhysics(continuous);
    field.world->Step(1.0f / 60.0f, 6, 6);
    field.budget.afterStep(*field.world);
    return foreseen;
}

bool allOfType(const std::vector<b2Body*>& bodies, b2BodyType type) {
    return std::all_of(bodies.begin(), bodies.end(),
                       [type](b2Body* body) { return body->GetType() == type; });
}

// Tiers, then the most work, then the newest; the still solid kept is the oldest of those that add
// the most.
TEST(StepBudgetCrowds, TheHoldOrderGoesByTierThenWorkThenNewestAndKeepsTheGround) {
    std::vector<KXPHoldOrder::Candidate> candidates;
    const auto add = [&](Tier tier, uint64_t serial, int64_t cost) {
        KXPHoldOrder::Candidate candidate;
        candidate.tier = tier;
        candidate.serial = serial;
        candidate.cost = cost;
        candidates.push_back(candidate);
    };
    add(Tier::solid, 1, 500);
    add(Tier::still, 2, 9000);
    add(Tier::character, 3, 8000);
    add(Tier::dynamic, 4, 10);
    add(Tier::solid, 5, 500);
    add(Tier::dynamic, 6, 10);
    add(Tier::flagged, 7, 1);
    add(Tier::solid, 8, 100);
    add(Tier::dynamic, 9, 700);
    KXPHoldOrder::sort(candidates);
    std::vector<uint64_t> order;
    for (const KXPHoldOrder::Candidate& candidate : candidates) {
        order.push_back(candidate.serial);
    }
    EXPECT_EQ(order, (std::vector<uint64_t>{7, 9, 6, 4, 3, 2, 5, 1, 8}));
    // The ground: the oldest of the still solids that add the most stays; the others may go.
    EXPECT_EQ(candidates[KXPHoldOrder::keptSolid(candidates)].serial, 1u);
    candidates.pop_back();
    candidates.erase(candidates.begin() + 6);
    EXPECT_EQ(candidates[KXPHoldOrder::keptSolid(candidates)].serial, 1u);
    candidates.pop_back();
    EXPECT_EQ(KXPHoldOrder::keptSolid(candidates), candidates.size());

    // Tiers by what a body is: a kinematic body standing still is as still as a static one.
    Field field(true);
    b2Body* crate = field.box(0.0f, 0.0f, 1.0f, 1.0f);
    b2Body* coin = field.box(5.0f, 0.0f, 1.0f, 1.0f, b2_staticBody, true);
    b2Body* wall = field.box(10.0f, 0.0f, 1.0f, 1.0f, b2_staticBody);
    b2Body* lift = field.box(15.0f, 0.0f, 1.0f, 1.0f, b2_kinematicBody);
    EXPECT_EQ(KXPHoldOrder::tierOf(*crate, false, false), Tier::dynamic);
    EXPECT_EQ(KXPHoldOrder::tierOf(*crate, true, false), Tier::character);
    EXPECT_EQ(KXPHoldOrder::tierOf(*wall, false, true), Tier::flagged);
    EXPECT_EQ(KXPHoldOrder::tierOf(*coin, false, false), Tier::still);
    EXPECT_EQ(KXPHoldOrder::tierOf(*wall, false, false), Tier::solid);
    EXPECT_EQ(KXPHoldOrder::tierOf(*lift, false, false), Tier::solid);
    lift->SetLinearVelocity(b2Vec2(0.0f, 1.0f));
    EXPECT_EQ(KXPHoldOrder::tierOf(*lift, false, false), Tier::still);
}

// Dynamic bodies go first: where holding them brings the step within the room, no still or
// kinematic body goes. Still sensors, kinematic movers and still solids go only where the step
// stays past the budget with the dynamic bodies held, and never while it passes only the held
// pile's limit.
TEST(StepBudgetCrowds, StillAndKinematicBodiesGoOnlyPastTheBudgetWithTheDynamicOnesHeld) {
    // Coins paired in an earlier step, then crates laid among them: the crates go.
    Field mixed(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    const std::vector<b2Body*> coins = stillPile(mixed, 300, true);
    mixed.step();
    const std::vector<b2Body*> crates = pileOf(mixed, 900, 0.0f);
    ASSERT_GT(mixed.step(), 0);
    EXPECT_GT(mixed.budget.foreseen(), KXPStepBudget::kMaxWork);
    EXPECT_EQ(enabled(coins), coins.size());
    EXPECT_LT(enabled(crates), crates.size());
    EXPECT_TRUE(allOfType(mixed.heldOut_, b2_dynamicBody));

    // Coins alone past the budget: they go, until what the ones left pair is within the room (and
    // what stays whatever is held: the look-ups and pairs of the few that go last).
    Field still(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    const std::vector<b2Body*> hoard = stillPile(still, 6000, true);
    ASSERT_GT(still.step(), 0);
    EXPECT_GT(still.budget.foreseen(), KXPStepBudget::kMaxWork);
    EXPECT_LE(still.pairing.cost(), 2 * KXPStepBudget::kRoomWork);
    EXPECT_LT(enabled(hoard), hoard.size() / 2);
    EXPECT_GT(enabled(hoard), 0u);

    // Platforms stacked at one point, set moving together: kinematic, they go as their first pairing
    // passes the budget, and those left move on within the room.
    Field moving(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    std::vector<b2Body*> platforms;
    for (int index = 0; index < 5000; ++index) {
        platforms.push_back(moving.box(0.0f, 0.0f, 2.0f, 0.2f, b2_kinematicBody));
        platforms.back()->SetLinearVelocity(b2Vec2(3.0f, 0.0f));
    }
    ASSERT_GT(moving.step(), 0);
    EXPECT_GT(moving.budget.foreseen(), KXPStepBudget::kMaxWork);
    EXPECT_TRUE(allOfType(moving.heldOut_, b2_kinematicBody));
    for (int step = 0; step < 20; ++step) {
        moving.step();
        EXPECT_LE(moving.budget.foreseen(), KXPStepBudget::kMaxWork) << step;
    }

    // While a pile is held, a step past the held pile's limit but within the budget holds no still
    // body; one past the budget with the dynamic bodies held does.
    bool within = false;
    bool past = false;
    for (const int count : {2000, 2500, 3000, 4000}) {
        Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
        pileOf(field, 900, 0.0f);
        field.step();
        ASSERT_GT(field.budget.heldOutCount(), 0u);
        const std::vector<b2Body*> laid = stillPile(field, count, true, 100.0f);
        field.step();
        const int64_t foreseen = field.budget.foreseen();
        if (foreseen <= KXPStepBudget::kMaxWork) {
            EXPECT_EQ(enabled(laid), laid.size()) << count;
            within = within || foreseen > KXPStepBudget::kHeldWork;
        } else if (foreseen > KXPStepBudget::kMaxWork + KXPStepBudget::kHeldWork) {
            EXPECT_LT(enabled(laid), laid.size()) << count;
            past = true;
        }
    }
    EXPECT_TRUE(within);
    EXPECT_TRUE(past);
}

// Characters go last, and of them only what brings their share within the room: a crowd of them
// laid with a hoard of coins at one point goes, the player's character standing on its floor far
// away plays on, however far the coins keep the step past the budget.
TEST(StepBudgetCrowds, ACharacterFarFromTheCrowdPlaysOnWhileTheCrowdGoes) {
    Field field(true);
    field.box(100.0f, -1.0f, 10.0f, 1.0f, b2_staticBody);
    b2Body* player = field.box(100.0f, 0.0f, 1.0f, 1.0f);
    field.own(player, true);
    for (int step = 0; step < 10; ++step) {
        field.step();
    }
    ASSERT_NE(player->GetContactList(), nullptr);
    const std::vector<b2Body*> hoard = stillPile(field, 6000, true);
    const std::vector<b2Body*> crowd = pileOf(field, 300, 0.0f);
    for (b2Body* body : crowd) {
        field.own(body, true);
    }
    for (b2Body* body : hoard) {
        field.own(body, false);
    }
    ASSERT_GT(field.step(), 0);
    EXPECT_LT(enabled(crowd), crowd.size());
    EXPECT_LT(enabled(hoard), hoard.size());
    EXPECT_TRUE(player->IsEnabled());
}

// The ground goes last: of a crowd of still solids laid at one point with the floor they stand on,
// the floor stays; so does every body that touches and pairs with nothing, laid in the same step.
TEST(StepBudgetCrowds, TheGroundGoesLastAndNothingThatTouchesNothingGoes) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    b2Body* floor = field.box(0.0f, 0.0f, 40.0f, 2.0f, b2_staticBody);
    const std::vector<b2Body*> blocks = stillPile(field, 5000, false);
    std::vector<b2Body*> apart;
    for (int index = 0; index < 100; ++index) {
        apart.push_back(
            field.box(500.0f + 3.0f * static_cast<float>(index), 0.0f, 1.0f, 1.0f, b2_staticBody));
    }
    ASSERT_GT(field.step(), 0);
    EXPECT_TRUE(floor->IsEnabled());
    EXPECT_EQ(enabled(apart), apart.size());
    EXPECT_LT(enabled(blocks), blocks.size());
    EXPECT_GT(enabled(blocks), 0u);
    EXPECT_LE(field.pairing.cost(), 2 * KXPStepBudget::kRoomWork);
}

// Box2D's own limits are never reached: the pairs one pairing finds (its buffer's size in bytes
// wraps as a 32-bit int), the contacts the world holds, the boxes of its tree.
TEST(StepBudgetCrowds, BoxTwoDsOwnLimitsAreNeverReached) {
    // Eight thousand still boxes at one point would find 32 million pairs in their first pairing.
    Field pairs(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    stillPile(pairs, 8000, false);
    pairs.step();
    EXPECT_LE(KXPBroadPhaseView(*pairs.world).pairCapacity(), KXPStepBudget::kPairLimit);

    // A thousand balls at one point would make half a million contacts.
    Field contacts(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    for (int index = 0; index < 1000; ++index) {
        contacts.ball(0.0f, 0.0f, 1.0f);
    }
    for (int step = 0; step < 3; ++step) {
        contacts.step();
        EXPECT_LE(contacts.world->GetContactCount(), KXPStepBudget::kWorldContacts) << step;
    }

    // Bodies whose boxes would pass what the tree may hold wait outside the physics, and come back
    // as room is made.
    Field boxes(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    boxes.budget.limitBoxes(1000);
    std::vector<b2Body*> made;
    for (int index = 0; index < 1200; ++index) {
        made.push_back(boxes.box(3.0f * static_cast<float>(index % 40), 3.0f * static_cast<float>(index / 40),
                                 1.0f, 1.0f, b2_staticBody));
    }
    EXPECT_EQ(boxes.world->GetContactManager().m_broadPhase.GetProxyCount(), 1000);
    EXPECT_EQ(enabled(made), 1000u);
    for (int index = 0; index < 300; ++index) {
        boxes.world->DestroyBody(made[static_cast<size_t>(index)]);
    }
    made.erase(made.begin(), made.begin() + 300);
    for (int step = 0; step < 10; ++step) {
        boxes.step();
        EXPECT_LE(boxes.world->GetContactManager().m_broadPhase.GetProxyCount(), 1000) << step;
    }
    EXPECT_EQ(enabled(made), made.size());
}

// Every box that enters a step is counted in its first pairing: bodies made into a crowd (each box
// twice in the move buffer, made then set moving), bodies given back, and boxes the game moves
// while the budget acts (answering a contact's end).
TEST(StepBudgetCrowds, EveryBoxThatEntersAStepIsCountedInItsFirstPairing) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    stillPile(field, 3000, true);
    field.step();
    for (int round = 0; round < 20; ++round) {
        for (int index = 0; index < 32; ++index) {
            field.box(0.0f, 0.0f, 1.0f, 2.0f, b2_dynamicBody, false, -1);
        }
        const Foreseen foreseen = stepForeseeing(field);
        ASSERT_GT(foreseen.exactWork, 0) << round;
        EXPECT_GE(foreseen.work, foreseen.exactWork * 9 / 10) << round;
    }

    // Bodies given back come into the pairing with what they overlap.
    Field back(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    pileOf(back, 900, 0.0f);
    back.step();
    ASSERT_GT(back.budget.heldOutCount(), 0u);
    int given = 0;
    for (int step = 0; step < 200 && given < 5; ++step) {
        const size_t before = back.givenBack.size();
        back.budget.beginFrame();
        back.budget.beforeStep(*back.world, [&](b2Body* body, const Work&, bool heldOut) {
            (heldOut ? back.heldOut_ : back.givenBack).push_back(body);
        });
        if (back.givenBack.size() > before) {
            ++given;
            EXPECT_GE(back.budget.predicted().pairs, exactFirstPairing(*back.world).pairs * 9 / 10) << step;
        }
        back.world->Step(1.0f / 60.0f, 6, 6);
        back.budget.afterStep(*back.world);
    }
    EXPECT_GT(given, 0);

    // The game moving a box into the crowd as it hears of a body held out.
    Field late(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    stillPile(late, 2000, true);
    late.step();
    b2Body* moved = late.box(500.0f, 500.0f, 1.0f, 1.0f, b2_staticBody, true);
    late.step();
    pileOf(late, 900, 0.0f);
    late.budget.beginFrame();
    late.budget.beforeStep(*late.world, [&](b2Body*, const Work&, bool heldOut) {
        if (heldOut && moved->GetPosition().x > 0.0f) {
            moved->SetTransform(b2Vec2(0.0f, 0.0f), 0.0f);
        }
    });
    ASSERT_EQ(moved->GetPosition().x, 0.0f);
    const int64_t exact = exactFirstPairing(*late.world).pairs;
    EXPECT_GE(exact, 2000);
    EXPECT_GE(late.budget.predicted().pairs, exact * 9 / 10);
}

// A step that acts without a first pairing of its own (nothing entered it, the frame's budget spent
// by the steps before it) tells the bodies' shares from this step alone: the boxes an earlier
// pairing met may have gone, their memory taken by bodies made since.
TEST(StepBudgetCrowds, AStepActsOnlyOnWhatItsOwnPairingMet) {
    Field field(true, firstOfAll);
    field.world->SetAllowSleeping(false);
    field.box(0.0f, -1.0f, 100.0f, 2.0f, b2_staticBody);
    std::vector<b2Body*> gone = stillPile(field, 300, false, 40.0f);
    pileOf(field, 40, 0.0f);
    field.step();
    for (b2Body* body : gone) {
        field.world->DestroyBody(body);
    }
    // Bodies made outside the physics: their shapes take the memory the gone boxes held.
    for (int index = 0; index < 300; ++index) {
        b2BodyDef definition;
        definition.enabled = false;
        b2PolygonShape shape;
        shape.SetAsBox(0.5f, 0.5f);
        field.world->CreateBody(&definition)->CreateFixture(&shape, 1.0f);
    }
    // One long frame: its steps spend the budget until the last one acts.
    field.budget.beginFrame();
    int steps = 0;
    while (field.budget.frameWork() <= KXPStepBudget::kMaxWork && steps < 100000) {
        field.budget.beforeStep(*field.world, nullptr);
        field.world->Step(1.0f / 60.0f, 6, 6);
        field.budget.afterStep(*field.world);
        ++steps;
    }
    ASSERT_GT(field.budget.frameWork(), KXPStepBudget::kMaxWork) << steps;
    // The pile itself is within the room: nothing goes, and what the step foresees is its own.
    const int64_t foreseen = field.budget.foreseen();
    field.budget.beforeStep(*field.world, nullptr);
    EXPECT_EQ(field.budget.heldOutCount(), 0u);
    EXPECT_GE(field.budget.foreseen(), foreseen / 2);
}

// A held body whose shapes were all taken away, then destroyed (Box2D tells of no fixture then),
// leaves the held bodies: giving back never reaches it.
TEST(StepBudgetCrowds, AHeldBodyWithoutShapesLeavesTheBudgetWhenItGoes) {
    Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
    pileOf(field, 900, 0.0f);
    field.step();
    const size_t held = field.budget.heldOutCount();
    ASSERT_GT(held, 0u);
    b2Body* going = field.heldOut_.front();
    while (going->GetFixtureList() != nullptr) {
        KXPBodyMass::destroyFixture(going, going->GetFixtureList());
    }
    KXPStepBudget::bodyGoing(going);
    field.world->DestroyBody(going);
    EXPECT_EQ(field.budget.heldOutCount(), held - 1);
    for (int step = 0; step < 20; ++step) {
        field.step();
    }
    EXPECT_EQ(std::count(field.givenBack.begin(), field.givenBack.end(), going), 0);
}

// The budget's own looks stay within a count whatever the world holds: at a hundred thousand boxes
// made in one step its share of the step it foresees is no larger than at a thousand.
TEST(StepBudgetCrowds, TheBudgetsOwnLooksStayWithinACountWhateverTheWorldHolds) {
    std::map<int, double> share;
    for (const int count : {1000, 100000}) {
        Field field(true, firstOfAll, b2Vec2(0.0f, 0.0f));
        for (int index = 0; index < count; ++index) {
            field.box(3.0f * static_cast<float>(index % 300), 3.0f * static_cast<float>(index / 300), 1.0f,
                      1.0f);
        }
        // A crowd among them.
        pileOf(field, count / 50, 0.0f);
        field.budget.beginFrame();
        field.budget.beforeStep(*field.world, nullptr);
        EXPECT_LE(field.budget.looks(), KXPStepBudget::kStepLooks) << count;
        share[count] = static_cast<double>(field.budget.looks() * KXPStepWork::kLookCost) /
                       static_cast<double>(std::max<int64_t>(field.budget.foreseen(), 1));
    }
    EXPECT_LE(share[100000], share[1000]);
}

// A body given back is not held again while the crowd it came back to has not grown: a pile laid at
// once comes back body by body and none goes again; bodies laid into it later may go, and so may
// those that came back.
TEST(StepBudgetCrowds, ABodyGivenBackIsNotHeldAgainWhileItsCrowdHasNotGrown) {
    Field field(true, firstOfAll, b2Vec2(0.0f, -10.0f));
    field.box(0.0f, -1.0f, 200.0f, 2.0f, b2_staticBody);
    const std::vector<b2Body*> pile = pileOf(field, 1500, 0.0f);
    ASSERT_GT(field.step(), 0);
    std::set<const b2Body*> back;
    int again = 0;
    for (int step = 0; step < 600; ++step) {
        const size_t held = field.heldOut_.size();
        const size_t given = field.givenBack.size();
        field.step();
        for (size_t index = held; index < field.heldOut_.size(); ++index) {
            again += back.count(field.heldOut_[index]) > 0 ? 1 : 0;
        }
        back.insert(field.givenBack.begin() + static_cast<std::ptrdiff_t>(given), field.givenBack.end());
    }
    EXPECT_GT(back.size(), 100u);
    EXPECT_EQ(again, 0);
    // Bodies laid into the crowd: it grows, and bodies go again.
    const size_t held = field.heldOut_.size();
    pileOf(field, 1500, 0.0f);
    field.step();
    EXPECT_GT(field.heldOut_.size(), held);
}

} // namespace
