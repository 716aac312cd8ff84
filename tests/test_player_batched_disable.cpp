// Taking bodies out of the physics in batches leaves the world as Box2D's own SetEnabled(false)
// does: the same boxes left to pair in the next step, and the same steps after it.

#include "player/physics/KXPBatchedDisable.h"

#include "player/physics/KXPBroadPhaseView.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Makes a ball on the game's behalf whenever a contact ends, as a game may in its listener.
class MakesOnEnd : public b2ContactListener {
public:
    std::function<void()> make;
    void EndContact(b2Contact* /*contact*/) override {
        if (make) {
            make();
        }
    }
};

// One world, taken through a list of the game's and the budget's acts.
struct Field {
    std::unique_ptr<b2World> world = std::make_unique<b2World>(b2Vec2(0.0f, -10.0f));
    std::vector<b2Body*> bodies;
    MakesOnEnd listener;

    b2Body* ball(float x, float y) {
        b2BodyDef definition;
        definition.type = b2_dynamicBody;
        definition.position.Set(x, y);
        b2Body* body = world->CreateBody(&definition);
        b2CircleShape shape;
        shape.m_radius = 0.5f;
        body->CreateFixture(&shape, 1.0f);
        bodies.push_back(body);
        return body;
    }
    void ground() {
        b2BodyDef definition;
        b2Body* body = world->CreateBody(&definition);
        b2EdgeShape edge;
        edge.SetTwoSided(b2Vec2(-50.0f, 0.0f), b2Vec2(50.0f, 0.0f));
        body->CreateFixture(&edge, 0.0f);
    }
    std::vector<int32> moveBuffer() const {
        const KXPBroadPhaseView view(*world);
        std::vector<int32> entries;
        for (int32 index = 0; index < view.moveCount(); ++index) {
            entries.push_back(view.movedProxy(index));
        }
        return entries;
    }
};

// Plays the same acts on two fields, taking bodies out with Box2D's own call on the first and in
// a batch on the second, and checks that they stay alike.
class BatchedDisable : public ::testing::Test {
protected:
    Field own;
    Field batched;
    KXPBatchedDisable disable;

    void both(const std::function<void(Field&)>& act) {
        act(own);
        act(batched);
    }
    void takeOut(size_t index) {
        own.bodies[index]->SetEnabled(false);
        disable.disable(*batched.bodies[index]);
    }
    void expectAlike() {
        disable.settle(*batched.world);
        EXPECT_EQ(own.moveBuffer(), batched.moveBuffer());
        for (int step = 0; step < 30; ++step) {
            both([](Field& field) { field.world->Step(1.0f / 60.0f, 8, 3); });
        }
        ASSERT_EQ(own.bodies.size(), batched.bodies.size());
        for (size_t index = 0; index < own.bodies.size(); ++index) {
            EXPECT_EQ(own.bodies[index]->IsEnabled(), batched.bodies[index]->IsEnabled()) << index;
            EXPECT_EQ(own.bodies[index]->GetPosition().x, batched.bodies[index]->GetPosition().x) << index;
            EXPECT_EQ(own.bodies[index]->GetPosition().y, batched.bodies[index]->GetPosition().y) << index;
        }
        EXPECT_EQ(own.world->GetContactCount(), batched.world->GetContactCount());
    }
};

TEST_F(BatchedDisable, BodiesLaidInTheFrameGoAndTheirBoxIdsComeBackToNewOnes) {
    both([](Field& field) {
        field.ground();
        for (int index = 0; index < 10; ++index) {
            field.ball(static_cast<float>(index) * 3.0f, 0.5f);
        }
        field.world->Step(1.0f / 60.0f, 8, 3);
        // A crowd laid at one point, all of it in the move buffer.
        for (int index = 0; index < 40; ++index) {
            field.ball(5.0f, 4.0f);
        }
    });
    for (size_t index = 12; index < 40; index += 3) {
        takeOut(index);
    }
    // Made after: they are given the ids of the boxes just destroyed, and must still pair; the
    // buffer grows for them, moving the entries left to clear.
    both([](Field& field) {
        for (int index = 0; index < 30; ++index) {
            field.ball(5.0f, 6.0f);
        }
    });
    takeOut(batched.bodies.size() - 2);
    // The game destroys one on its own, and one already taken out.
    both([](Field& field) {
        field.world->DestroyBody(field.bodies[20]);
        field.world->DestroyBody(field.bodies[15]);
        field.bodies[20] = field.ball(-5.0f, 3.0f);
        field.bodies[15] = field.ball(-6.0f, 3.0f);
    });
    // A body made before the last step: none of its boxes is in the buffer.
    takeOut(3);
    EXPECT_TRUE(disable.unsettled());
    expectAlike();
    EXPECT_FALSE(disable.unsettled());
}

TEST_F(BatchedDisable, ABodyThatTouchesGoesAsBox2DTakesItOutWhileTheGameMakesBoxes) {
    both([](Field& field) {
        field.ground();
        field.ball(0.0f, 0.5f);
        field.world->Step(1.0f / 60.0f, 8, 3);
        field.world->SetContactListener(&field.listener);
        Field* self = &field;
        field.listener.make = [self]() { self->ball(2.0f, 3.0f); };
        for (int index = 0; index < 20; ++index) {
            field.ball(8.0f, 4.0f);
        }
    });
    ASSERT_GT(own.world->GetContactCount(), 0);
    // The resting ball's contact ends as it goes, and the game makes a ball then.
    takeOut(0);
    takeOut(5);
    EXPECT_EQ(own.bodies.size(), batched.bodies.size());
    expectAlike();
}

} // namespace
