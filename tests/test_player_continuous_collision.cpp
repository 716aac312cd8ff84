// When the field steps without continuous collision: only for the steps whose continuous work,
// predicted from what the last step that ran it did, would not fit what is left of the frame's
// budget (a frame of many steps, a rebuild, shares one); and for some steps after one that worked
// out too many times of impact.

#include "player/physics/KXPContinuousCollision.h"

#include "player/physics/KXPStepBudget.h"

#include "model/classes/KXModelCircle.h"
#include "player/objects/KXPBodyRank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <unordered_set>
#include <vector>

// Box2D's own count of the times of impact it worked out (see KXPContinuousCollision.cpp).
extern B2_API int32 b2_toiCalls;

namespace {

class ContinuousCollision : public ::testing::Test {
protected:
    std::unique_ptr<b2World> world = std::make_unique<b2World>(b2Vec2(0.0f, 0.0f));
    KXPContinuousCollision continuous;

    b2Body* box(float x, b2BodyType type, bool sensor = false) {
        b2BodyDef definition;
        definition.type = type;
        definition.position.Set(x, 0.0f);
        b2Body* body = world->CreateBody(&definition);
        b2PolygonShape shape;
        shape.SetAsBox(1.0f, 1.0f);
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.density = 1.0f;
        fixture.isSensor = sensor;
        body->CreateFixture(&fixture);
        return body;
    }
    // `moving` dynamic bodies over `still` static ones at one point: each pair a contact with times
    // of impact, unless sensors.
    void pile(float x, int moving, int still, bool sensors = false) {
        for (int index = 0; index < still; ++index) {
            box(x, b2_staticBody);
        }
        for (int index = 0; index < moving; ++index) {
            box(x, b2_dynamicBody, sensors);
        }
        const_cast<b2ContactManager&>(world->GetContactManager()).FindNewContacts();
    }
};

// Sets on each contact of a world the impacts Box2D counts there after a step, as a step of so
// many would leave them: Box2D's own count, in a member kept for its friends.
struct ImpactCount : b2Contact {
    static constexpr int32 b2Contact::*kMember = &ImpactCount::m_toiCount;
};
void setImpacts(b2World& world, int each) {
    for (b2Contact* contact = world.GetContactList(); contact != nullptr; contact = contact->GetNext()) {
        contact->*ImpactCount::kMember = each;
    }
}

// Balls a metre wide falling fast onto a floor: each touches it within a step, an impact Box2D
// solves for it and counts on its contact.
TEST_F(ContinuousCollision, PredictsFromTheImpactsOfTheLastStepThatRanItAndWanesWhileItIsOff) {
    world->SetGravity(b2Vec2(0.0f, -10.0f));
    b2Body* floor = box(0.0f, b2_staticBody);
    floor->SetTransform(b2Vec2(0.0f, -1.0f), 0.0f);
    for (int index = 0; index < 40; ++index) {
        b2BodyDef definition;
        definition.type = b2_dynamicBody;
        definition.position.Set(-19.5f + static_cast<float>(index), 0.55f);
        definition.linearVelocity.Set(0.0f, -30.0f);
        b2CircleShape ball;
        ball.m_radius = 0.5f;
        world->CreateBody(&definition)->CreateFixture(&ball, 1.0f);
    }
    // Nothing known yet: one look at every contact, and a time of impact for each new contact of a
    // still body the first pairing makes.
    KXPStepWork first = continuous.predicted(41, 40);
    EXPECT_EQ(first.impacts, 40);
    EXPECT_EQ(first.scans, 41);
    continuous.beforeStep(true);
    world->SetContinuousPhysics(true);
    world->Step(1.0f / 60.0f, 6, 6);
    EXPECT_FALSE(continuous.afterStep(*world));
    const int64_t calls = continuous.lastImpacts();
    int64_t impacts = 0;
    for (const b2Contact* contact = world->GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        impacts += contact->*ImpactCount::kMember;
    }
    ASSERT_GT(calls, 0);
    ASSERT_GT(impacts, 0);
    // As many times of impact again; each impact a look at every contact, and one more.
    const int64_t contacts = world->GetContactCount();
    const KXPStepWork next = continuous.predicted(contacts, 0);
    EXPECT_EQ(next.impacts, calls);
    EXPECT_EQ(next.scans, (impacts + 1) * contacts);
    EXPECT_EQ(next.cost(),
              calls * KXPStepWork::kImpactCost + (impacts + 1) * contacts * KXPStepWork::kScanCost);
    // A calmer step after it: the next is still foreseen by the busier one (the most of the last
    // four that ran it).
    continuous.beforeStep(true);
    b2_toiCalls += 1;
    setImpacts(*world, 0);
    EXPECT_FALSE(continuous.afterStep(*world));
    EXPECT_EQ(continuous.predicted(contacts, 0).impacts, calls);
    EXPECT_EQ(continuous.predicted(contacts, 0).scans, (impacts + 1) * contacts);
    // Steps without it: the counts wane by an eighth a step.
    continuous.beforeStep(false);
    world->SetContinuousPhysics(false);
    world->Step(1.0f / 60.0f, 6, 6);
    EXPECT_FALSE(continuous.afterStep(*world));
    EXPECT_EQ(continuous.predicted(contacts, 0).impacts, calls - (calls + 7) / 8);
    for (int step = 0; step < 60; ++step) {
        continuous.beforeStep(false);
        continuous.afterStep(*world);
    }
    EXPECT_EQ(continuous.predicted(contacts, 0).impacts, 0);
    // Tried again after steps without it, each contact that may have a time of impact counts one.
    EXPECT_EQ(continuous.predicted(contacts, 0, 40).impacts, 40);
    EXPECT_EQ(continuous.predicted(contacts, 0, 40).scans, 41 * contacts);
}

// Walks and a scan's jumps (from contact to contact, to a page not beside the last) cost more once
// the world's contacts no longer stay in the cache: up to kFarTimes as much, jumps from a wider
// world on, never less for more of them; nothing else changes price, a scan read in order neither.
TEST(StepWorkPrices, WalksAndScansCostMoreOnceTheContactsPassTheCache) {
    KXPStepWork work;
    work.walks = 1000;
    work.scans = 1000;
    work.scanJumps = 1000;
    work.pairs = 1000;
    const int64_t flat = 1000 * (KXPStepWork::kPairCost + KXPStepWork::kScanCost);
    const int64_t near = work.cost();
    work.reach = KXPStepWork::kNearContacts;
    EXPECT_EQ(work.cost(), near);
    work.reach = KXPStepWork::kFarContacts;
    const int64_t walksFar = 1000 * KXPStepWork::kFarTimes * KXPStepWork::kWalkCost;
    const int64_t jumpsPart =
        1000 * KXPStepWork::kScanJumpCost * KXPStepWork::scanShare(KXPStepWork::kFarContacts) / 1024;
    EXPECT_GT(jumpsPart, 1000 * KXPStepWork::kScanJumpCost);
    EXPECT_LT(jumpsPart, 1000 * KXPStepWork::kScanJumpCost * KXPStepWork::kFarTimes);
    EXPECT_EQ(work.cost(), walksFar + jumpsPart + flat);
    work.reach = KXPStepWork::kScanFarContacts;
    const int64_t far =
        1000 * KXPStepWork::kFarTimes * (KXPStepWork::kWalkCost + KXPStepWork::kScanJumpCost) + flat;
    EXPECT_EQ(work.cost(), far);
    work.reach = 10 * KXPStepWork::kScanFarContacts;
    EXPECT_EQ(work.cost(), far);
    int64_t last = 0;
    int64_t lastScan = 0;
    for (int64_t reach = 0; reach <= 140000; reach += 1000) {
        EXPECT_GE(KXPStepWork::farShare(reach), last) << reach;
        EXPECT_GE(KXPStepWork::scanShare(reach), lastScan) << reach;
        last = KXPStepWork::farShare(reach);
        lastScan = KXPStepWork::scanShare(reach);
    }
    // The reach goes with sums and samples, the widest kept.
    KXPStepWork other;
    other.reach = 5;
    other.add(work);
    EXPECT_EQ(other.reach, work.reach);
    EXPECT_EQ(work.scaled(1, 2).reach, work.reach);
    // The largest counts saturate in the widest world.
    work.walks = kxcount::kMax;
    EXPECT_EQ(work.cost(), kxcount::kMax);
}

// The jumps of a list read out of order wait on memory once the contacts pass the caches: each pays
// kScatteredCost more from twice kScatteredContacts of reach on, none up to kScatteredContacts, and
// more, never less, between.
TEST(StepWorkPrices, JumpsOfAListOutOfOrderPayMoreOncePastTheCaches) {
    KXPStepWork work;
    work.scans = 1000;
    work.scanJumps = 1000;
    auto surcharge = [&work](int64_t reach) {
        work.reach = reach;
        work.scanScattered = 1000;
        const int64_t scattered = work.cost();
        work.scanScattered = 0;
        return scattered - work.cost();
    };
    EXPECT_EQ(surcharge(0), 0);
    EXPECT_EQ(surcharge(KXPStepWork::kScatteredContacts), 0);
    const int64_t half = surcharge(KXPStepWork::kScatteredContacts * 3 / 2);
    EXPECT_EQ(half, 1000 * KXPStepWork::kScatteredCost / 2);
    EXPECT_EQ(surcharge(2 * KXPStepWork::kScatteredContacts), 1000 * KXPStepWork::kScatteredCost);
    EXPECT_EQ(surcharge(10 * KXPStepWork::kScanFarContacts), 1000 * KXPStepWork::kScatteredCost);
    int64_t last = 0;
    for (int64_t reach = 0; reach <= 140000; reach += 1000) {
        EXPECT_GE(KXPStepWork::scatteredShare(reach), last) << reach;
        last = KXPStepWork::scatteredShare(reach);
    }
    // Summed and scaled with the other counts.
    KXPStepWork other;
    work.scanScattered = 1000;
    other.add(work);
    EXPECT_EQ(other.scanScattered, 1000);
    EXPECT_EQ(work.scaled(1, 2).scanScattered, 500);
}

// A step whose continuous collision would pass what is left of the frame's budget goes without it,
// no body held out for that; a frame of many steps (a rebuild) shares one budget among them.
// The pages of memory the world's contacts lie in, each a miss of the processor's page tables
// and caches when a scan meets it: counted after a step that ran continuous collision. Contacts
// made together lie packed, kContactsPerPage to a page, in order; the few left of a crowd lie
// scattered over the crowd's pages, and cost as a world of that much memory.
TEST_F(ContinuousCollision, ScansOfContactsScatteredOverMorePagesCostAsAWorldOfThatMuchMemory) {
    const auto truePages = [this] {
        std::unordered_set<uint64_t> pages;
        for (const b2Contact* contact = world->GetContactList(); contact != nullptr;
             contact = contact->GetNext()) {
            pages.insert(KXPContinuousCollision::pageOf(*contact));
        }
        return static_cast<int64_t>(pages.size());
    };
    const auto stepWithImpacts = [this] {
        continuous.beforeStep(true);
        b2_toiCalls += 1;
        setImpacts(*world, 1);
        continuous.afterStep(*world);
    };
    // 100 moving boxes over 1,000 still ones, all made at once: each moving box makes its contacts
    // with the still ones in a row, some 105,000 contacts.
    pile(0.0f, 100, 1000);
    std::vector<b2Body*> still;
    for (b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        if (body->GetType() == b2_staticBody) {
            still.push_back(body);
        }
    }
    stepWithImpacts();
    const int64_t crowd = world->GetContactCount();
    ASSERT_GT(crowd, 100000);
    // Counted within a few percent of the pages there are.
    EXPECT_NEAR(continuous.lastPages(), truePages(), truePages() / 20);
    // Packed (within what the allocator keeps between its chunks): priced near their number.
    EXPECT_LE(KXPContinuousCollision::scanReach(crowd, continuous.lastPages()), crowd * 5 / 4);
    EXPECT_EQ(continuous.predicted(crowd, 0).reach,
              KXPContinuousCollision::scanReach(crowd, continuous.lastPages()));
    // Made together, the list reads from page to page in order: it leaves a page's neighbours only
    // between the allocator's chunks. So few of the looks of a scan are misses while such a list
    // fits the caches; past them every look is.
    EXPECT_LT(continuous.lastJumps(), crowd / 16);
    EXPECT_LE(continuous.missedShare(KXPContinuousCollision::kOrderedContacts), 1024 / 16);
    EXPECT_EQ(continuous.missedShare(KXPContinuousCollision::kOrderedContacts +
                                     KXPContinuousCollision::kOrderedSpan),
              1024);
    EXPECT_EQ(continuous.predicted(crowd, 0).scanJumps, continuous.predicted(crowd, 0).scans);
    // Read in order, few of its looks pay as a list out of order.
    EXPECT_LT(continuous.predicted(crowd, 0).scanScattered, continuous.predicted(crowd, 0).scans / 16);
    // One still box in four stays: each row keeps one contact in four, over all of the crowd's pages.
    for (size_t index = 0; index < still.size(); ++index) {
        if (index % 4 != 0) {
            world->DestroyBody(still[index]);
        }
    }
    stepWithImpacts();
    const int64_t left = world->GetContactCount();
    ASSERT_GT(left, KXPStepWork::kNearContacts);
    EXPECT_NEAR(continuous.lastPages(), truePages(), truePages() / 20);
    EXPECT_GT(continuous.lastPages() * KXPContinuousCollision::kContactsPerPage, 2 * left);
    const KXPStepWork scattered = continuous.predicted(left, 0);
    EXPECT_EQ(scattered.reach, KXPContinuousCollision::scanReach(left, continuous.lastPages()));
    // Dearer than as many contacts packed.
    KXPStepWork packed = scattered;
    packed.reach = left;
    EXPECT_GT(scattered.cost(), packed.cost());
    // Left in their rows, they are still read in order, page after page: the scan's looks jump as
    // the list did, which is seldom.
    EXPECT_EQ(continuous.jumpedShare(), kxcount::scale(1024, continuous.lastJumps(), left));
    EXPECT_EQ(scattered.scanScattered, kxcount::scale(scattered.scans, continuous.jumpedShare(), 1024));
    EXPECT_LT(scattered.scanScattered, scattered.scans / 16);
    // The rest of the still boxes go in no order, and as many come back: Box2D makes their contacts
    // in the memory the old ones freed, last freed first, so the new list is read out of order over
    // the crowd's pages. Most of its looks jump, each paying the whole of the more.
    std::vector<b2Body*> rest;
    for (size_t index = 0; index < still.size(); index += 4) {
        rest.push_back(still[index]);
    }
    std::shuffle(rest.begin(), rest.end(), std::mt19937(7));
    for (b2Body* body : rest) {
        world->DestroyBody(body);
    }
    pile(0.0f, 0, static_cast<int>(rest.size()));
    stepWithImpacts();
    const int64_t remade = world->GetContactCount();
    ASSERT_GT(remade, 2 * KXPStepWork::kNearContacts);
    EXPECT_GT(continuous.lastJumps(), remade / 2);
    EXPECT_EQ(continuous.jumpedShare(), kxcount::scale(1024, continuous.lastJumps(), remade));
    const KXPStepWork outOfOrder = continuous.predicted(remade, 0);
    EXPECT_EQ(outOfOrder.scanScattered, kxcount::scale(outOfOrder.scans, continuous.jumpedShare(), 1024));
    ASSERT_GE(outOfOrder.reach, 2 * KXPStepWork::kScatteredContacts);
    KXPStepWork readInOrder = outOfOrder;
    readInOrder.scanScattered = 0;
    EXPECT_EQ(outOfOrder.cost() - readInOrder.cost(), outOfOrder.scanScattered * KXPStepWork::kScatteredCost);
    // Too few contacts to leave the caches are not paged.
    world = std::make_unique<b2World>(b2Vec2(0.0f, 0.0f));
    pile(0.0f, 10, 10);
    stepWithImpacts();
    EXPECT_EQ(continuous.lastPages(), 0);
}

TEST_F(ContinuousCollision, TheStepBudgetRunsAStepWithoutItWhenItWouldPassTheFrame) {
    KXPStepBudget budget([](b2Body*) { return KXPStepBudget::Rank::first; });
    budget.watch(*world);
    // 1,000 crates each on its own block, each contact counted 8 impacts (Box2D's most): the next
    // step is foreseen to look 8,001 times at each contact.
    for (int index = 0; index < 1000; ++index) {
        pile(10.0f * static_cast<float>(index), 1, 1);
    }
    budget.beginFrame();
    ASSERT_TRUE(budget.beforeStep(*world));
    b2_toiCalls += 15000;
    setImpacts(*world, 8);
    EXPECT_FALSE(budget.afterStep(*world));
    budget.beginFrame();
    const bool first = budget.beforeStep(*world);
    const int64_t cost = budget.continuousCost();
    // Each look read in order, or a jump to another page: the world is too small to leave the caches.
    const int64_t looks = 8001 * int64_t{1000};
    EXPECT_GE(cost, 15000 * KXPStepWork::kImpactCost + looks * KXPStepWork::kScanCost);
    EXPECT_LE(cost, 15000 * KXPStepWork::kImpactCost +
                        looks * (KXPStepWork::kScanCost + KXPStepWork::kScanJumpCost));
    EXPECT_EQ(first, cost <= KXPStepBudget::kMaxWork);
    b2_toiCalls += 15000;
    setImpacts(*world, 8);
    budget.afterStep(*world);
    EXPECT_EQ(budget.heldOutCount(), 0u);
    // Steps in one frame share it: once their impacts pass it, the next goes without.
    bool without = false;
    for (int step = 0; step < 2 * KXPStepBudget::kMaxWork / std::max<int64_t>(cost, 1) + 2 && !without;
         ++step) {
        without = !budget.beforeStep(*world);
        b2_toiCalls += without ? 0 : 15000;
        budget.afterStep(*world);
    }
    EXPECT_TRUE(without);
    EXPECT_EQ(budget.heldOutCount(), 0u);
    budget.beginFrame();
    EXPECT_EQ(budget.beforeStep(*world), cost <= KXPStepBudget::kMaxWork);
    budget.afterStep(*world);
}

// A moving body wedged among hundreds of still ones that overlap one another (a forest of trees)
// takes Box2D through each of its contacts again after each impact: the count is Box2D's own, so
// here a step's count is made as such a step makes it. Past the bound, the next steps go without
// continuous collision, then it is tried again; a step at the bound keeps it.
TEST_F(ContinuousCollision, AStepOfTooManyTimesOfImpactRestsItForSomeStepsThenItIsTriedAgain) {
    pile(0.0f, 1, 10);
    continuous.beforeStep(true);
    b2_toiCalls += KXPContinuousCollision::kImpactsPerStep;
    EXPECT_FALSE(continuous.afterStep(*world));
    EXPECT_EQ(continuous.lastImpacts(), KXPContinuousCollision::kImpactsPerStep);
    continuous.beforeStep(true);
    b2_toiCalls += KXPContinuousCollision::kImpactsPerStep + 1;
    EXPECT_TRUE(continuous.afterStep(*world));
    for (uint32_t step = 0; step < KXPContinuousCollision::kRestSteps; ++step) {
        ASSERT_TRUE(continuous.resting()) << step;
        EXPECT_EQ(continuous.predicted(world->GetContactCount(), 10).cost(), 0);
        continuous.beforeStep(false);
        world->Step(1.0f / 60.0f, 6, 6);
        EXPECT_FALSE(continuous.afterStep(*world));
    }
    EXPECT_FALSE(continuous.resting());
    continuous.beforeStep(true);
    EXPECT_FALSE(continuous.afterStep(*world));
}

// Dense valid piles work out a few hundred times of impact a step at most: far from the bound.
TEST_F(ContinuousCollision, AHeapOfBallsInAPitStaysWithinTheTimesOfImpactOfAStep) {
    world->SetGravity(b2Vec2(0.0f, -10.0f));
    b2Body* ground = box(0.0f, b2_staticBody);
    ground->SetTransform(b2Vec2(0.0f, -1.0f), 0.0f);
    for (int side = -1; side <= 1; side += 2) {
        b2Body* wall = box(0.0f, b2_staticBody);
        wall->SetTransform(b2Vec2(2.0f * static_cast<float>(side), 0.0f), 0.0f);
    }
    b2CircleShape ball;
    ball.m_radius = 0.05f;
    for (int index = 0; index < 500; ++index) {
        b2BodyDef definition;
        definition.type = b2_dynamicBody;
        definition.position.Set(-0.9f + 0.1f * static_cast<float>(index % 18),
                                0.1f * static_cast<float>(index / 18));
        world->CreateBody(&definition)->CreateFixture(&ball, 1.0f);
    }
    KXPStepBudget budget(KXPBodyRank::of);
    budget.watch(*world);
    for (int step = 0; step < 240; ++step) {
        budget.beginFrame();
        const bool on = budget.beforeStep(*world);
        world->SetContinuousPhysics(on);
        world->Step(1.0f / 60.0f, 6, 6);
        ASSERT_FALSE(budget.afterStep(*world)) << step << ": " << budget.continuous().lastImpacts();
        ASSERT_TRUE(on) << step;
    }
}

// Counts Box2D's calls before each contact is solved: once a step for a resting contact, and again
// for each time of impact the continuous collision works out for it.
class SolveCounter : public b2ContactListener {
public:
    void PreSolve(b2Contact* /*contact*/, const b2Manifold* /*oldManifold*/) override { ++calls; }
    int calls = 0;
};

TEST_F(ContinuousCollision, ACircleFarSmallerThanAPointRestsWithoutTimesOfImpactInEveryStep) {
    world->SetGravity(b2Vec2(0.0f, -10.0f));
    // Awake, as where a character walks among them.
    world->SetAllowSleeping(false);
    SolveCounter counter;
    world->SetContactListener(&counter);
    // A belt: it carries what rests on it.
    b2BodyDef groundDefinition;
    groundDefinition.type = b2_kinematicBody;
    groundDefinition.linearVelocity.Set(1.0f, 0.0f);
    b2Body* ground = world->CreateBody(&groundDefinition);
    b2PolygonShape floor;
    floor.SetAsBox(100.0f, 1.0f);
    ground->CreateFixture(&floor, 0.0f);
    // A ball of 10 points at a millionth of its size, a hundred of them dropped ten to a column:
    // each column heaps at a point of the belt.
    auto model = std::static_pointer_cast<KXModelCircle>(KXModelCircle::create());
    model->addPoint(cocos2d::CCPoint(10.0f, 0.0f), true);
    const int balls = 100;
    for (int index = 0; index < balls; ++index) {
        b2BodyDef definition;
        definition.type = b2_dynamicBody;
        definition.position.Set(-50.0f + static_cast<float>(index % 10),
                                1.05f + 0.15f * static_cast<float>(index / 10));
        b2FixtureDef fixture = model->fixtureDef(1e-6f, 1e-6f);
        ASSERT_NE(fixture.shape, nullptr);
        EXPECT_GE(fixture.shape->m_radius, KXModelPolygon::kMinCircleRadiusMetres);
        fixture.density = 1.0f;
        world->CreateBody(&definition)->CreateFixture(&fixture);
        delete fixture.shape;
    }
    for (int step = 0; step < 120; ++step) {
        world->Step(1.0f / 60.0f, 8, 3);
    }
    counter.calls = 0;
    const int steps = 10;
    for (int step = 0; step < steps; ++step) {
        world->Step(1.0f / 60.0f, 8, 3);
    }
    // A resting contact is solved about once a step, not again for each of the ten times of impact
    // it may give (seven times as many calls).
    EXPECT_LE(counter.calls, 3 * balls * steps);
    world->SetContactListener(nullptr);
}

} // namespace
