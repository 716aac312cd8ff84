// When the field steps without continuous collision: only for the steps whose continuous work may
// not fit what is left of the frame's, counted from the contacts Box2D works out times of impact
// for; a frame of many steps (a rebuild) shares one frame's work among them.

#include "player/field/KXPContinuousCollision.h"

#include <gtest/gtest.h>

#include <memory>

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

TEST_F(ContinuousCollision, StaysOnWhileTheWorkFitsTheFrameAndCountsOnlyContactsWithImpacts) {
    // The two dynamic bodies' contact with each other has no time of impact.
    pile(0.0f, 2, 300);
    ASSERT_EQ(world->GetContactCount(), 601);
    EXPECT_EQ(KXPContinuousCollision::workOf(*world), 10u * 600u * 601u);
    continuous.beginFrame();
    EXPECT_TRUE(continuous.beforeStep(*world));
    // Dynamic bodies among themselves and sensors get no time of impact: thousands of those
    // contacts leave the work where it was.
    pile(100.0f, 70, 0);
    pile(200.0f, 10, 100, true);
    ASSERT_GT(world->GetContactCount(), 3000);
    EXPECT_EQ(KXPContinuousCollision::workOf(*world),
              10u * 600u * static_cast<uint64_t>(world->GetContactCount()));
    continuous.beginFrame();
    EXPECT_TRUE(continuous.beforeStep(*world));
}

TEST_F(ContinuousCollision, GoesOffForAStepWhoseWorkWouldPassTheFramesAndOnAgainWhenItFits) {
    // 3,000 contacts with impacts: ten impacts each over all of them passes a frame's work.
    pile(0.0f, 2, 1500);
    ASSERT_GT(KXPContinuousCollision::workOf(*world), KXPContinuousCollision::kWorkPerFrame);
    continuous.beginFrame();
    EXPECT_FALSE(continuous.beforeStep(*world));
    EXPECT_EQ(continuous.lastWork(), KXPContinuousCollision::workOf(*world));
    // The pile goes: the next frame steps with it again.
    for (b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        body->SetEnabled(body->GetType() != b2_staticBody || body->GetPosition().x != 0.0f);
    }
    continuous.beginFrame();
    EXPECT_TRUE(continuous.beforeStep(*world));
}

TEST_F(ContinuousCollision, AFrameOfManyStepsSharesOneFramesWork) {
    // A fifth of a frame's work a step.
    pile(0.0f, 2, 580);
    const uint64_t work = KXPContinuousCollision::workOf(*world);
    ASSERT_GT(work, KXPContinuousCollision::kWorkPerFrame / 6);
    ASSERT_LT(work, KXPContinuousCollision::kWorkPerFrame / 4);
    continuous.beginFrame();
    int on = 0;
    for (int step = 0; step < 30; ++step) {
        on += continuous.beforeStep(*world) ? 1 : 0;
    }
    EXPECT_EQ(static_cast<uint64_t>(on), KXPContinuousCollision::kWorkPerFrame / work);
    continuous.beginFrame();
    EXPECT_TRUE(continuous.beforeStep(*world));
}

} // namespace
