#pragma once

// A world of bodies made and stepped as the game field makes and steps them, with or without the
// step budget, for the step budget's tests.

#include "player/objects/KXPBodyRank.h"
#include "player/objects/KXPObject.h"
#include "player/physics/KXPBodyData.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPStepBudget.h"
#include "player/physics/KXPStepCensus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

namespace budget_test {

using Rank = KXPStepBudget::Rank;
using Work = KXPStepBudget::Work;

// A ray's hits, as the character's ground ray takes them: the nearest.
class RayHits : public b2RayCastCallback {
public:
    float ReportFixture(b2Fixture*, const b2Vec2&, const b2Vec2&, float fraction) override {
        return fraction;
    }
};

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

// The first pairing Box2D will do, every box of the move buffer looked up whole (the times of impact
// its contacts may have are continuous collision's).
inline KXPStepWork exactFirstPairing(const b2World& world) {
    KXPStepCensus::Memo memo;
    KXPStepCensus census(world, memo, 1);
    KXPStepWork work = census.firstPairing(kxcount::kMax, kxcount::kMax, kxcount::kMax, 0);
    work.impacts = 0;
    return work;
}

// A world of bodies made as the field makes them, stepped as the field steps it.
class Field {
public:
    explicit Field(bool budgeted, KXPStepBudget::RankOf rankOf = nullptr,
                   b2Vec2 gravity = b2Vec2(0.0f, -10.0f))
        : world(std::make_unique<b2World>(gravity)), budgeted(budgeted),
          budget(rankOf ? std::move(rankOf) : KXPStepBudget::RankOf(KXPBodyRank::of)) {
        // The budget hears the world's contacts first and passes them on.
        world->SetContactListener(&touches);
        if (budgeted) {
            budget.watch(*world);
        }
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
        }
        // What the step pairs first, once the budget has acted.
        pairing = budgeted ? exactFirstPairing(*world) : KXPStepWork();
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
    KXPStepWork pairing;
};

inline size_t enabled(const std::vector<b2Body*>& bodies) {
    return static_cast<size_t>(
        std::count_if(bodies.begin(), bodies.end(), [](b2Body* body) { return body->IsEnabled(); }));
}

inline Rank firstOfAll(b2Body*) {
    return Rank::first;
}

// Boxes of 1 m laid at one point in one step, without gravity.
inline std::vector<b2Body*> pileOf(Field& field, int count, float spread = 0.001f) {
    std::vector<b2Body*> pile;
    for (int index = 0; index < count; ++index) {
        pile.push_back(field.box(spread * static_cast<float>(index), 0.0f, 1.0f, 1.0f));
    }
    return pile;
}

} // namespace budget_test
