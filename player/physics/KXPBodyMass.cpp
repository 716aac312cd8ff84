#include "player/physics/KXPBodyMass.h"

#include "model/KXDebugLog.h"
#include "player/physics/KXPBodyOwner.h"
#include "player/physics/KXPStepBudget.h"

#include <cmath>

namespace {

// b2Body::ResetMassData's sums, in its order and its float operations: fixtures newest first (a new
// one goes to the front of the list), each weighed by Box2D's own ComputeMass.
struct Weighing {
    float mass = 0.0f;
    float inertia = 0.0f;
    b2Vec2 centre = b2Vec2_zero;

    void add(const b2Shape& shape, float density) {
        if (density == 0.0f) {
            return;
        }
        b2MassData data;
        shape.ComputeMass(&data, density);
        mass += data.mass;
        centre += data.mass * data.center;
        inertia += data.I;
    }
};

// The one line for a body kept still; `reach` is how far its centre of mass lies from its origin.
void sayKeptStill(b2Body* body, float reach) {
    KXPBodyOwner* owner = KXPBodyOwner::of(body);
    if (owner == nullptr || !owner->firstPhysicsRefusal()) {
        return;
    }
    debugLog("[KXPObjectAsset] - %s (model %u) stays still: its shape lies %g m from its body's origin, "
             "too far for the physics to turn it about its centre",
             owner->physicsName().c_str(), owner->physicsModelId(), static_cast<double>(reach));
}

// The body's mass as Box2D would sum it with `leaving` gone and `coming` made, its centre divided
// out as Box2D divides it (by the inverse mass).
Weighing weigh(const b2Body& body, const b2Fixture* leaving, const b2FixtureDef* coming) {
    Weighing weighing;
    if (coming != nullptr && coming->shape != nullptr) {
        weighing.add(*coming->shape, coming->density);
    }
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        if (fixture != leaving) {
            weighing.add(*fixture->GetShape(), fixture->GetDensity());
        }
    }
    if (weighing.mass > 0.0f) {
        const float inverse = 1.0f / weighing.mass;
        weighing.centre *= inverse;
    }
    return weighing;
}

// Makes the body static (which Box2D never weighs) and says so.
void keepStill(b2Body* body, const b2Fixture* leaving, const b2FixtureDef* coming) {
    sayKeptStill(body, weigh(*body, leaving, coming).centre.Length());
    body->SetType(b2_staticBody);
    KXPStepBudget::note(body);
}

} // namespace

bool KXPBodyMass::canTurn(const b2Body& body, bool fixedRotation, const b2Fixture* leaving,
                          const b2FixtureDef* coming) {
    const Weighing weighing = weigh(body, leaving, coming);
    // Box2D asks for no inertia then (also for one that is not a number).
    if (!(weighing.inertia > 0.0f) || fixedRotation) {
        return true;
    }
    // Box2D's own test: the inertia about the centre must stay above zero.
    const float centred = weighing.inertia - weighing.mass * b2Dot(weighing.centre, weighing.centre);
    return centred > 0.0f;
}

void KXPBodyMass::keepPositive(b2Body* body) {
    if (body == nullptr || body->GetType() != b2_dynamicBody || body->GetMass() > 0.0f ||
        body->GetWorld()->IsLocked()) {
        return;
    }
    b2MassData mass;
    mass.mass = 1.0f;
    mass.center.SetZero();
    mass.I = 0.0f;
    body->SetMassData(&mass);
}

bool KXPBodyMass::setType(b2Body* body, b2BodyType type) {
    if (type == b2_dynamicBody && body->GetType() != b2_dynamicBody &&
        !canTurn(*body, body->IsFixedRotation())) {
        sayKeptStill(body, weigh(*body, nullptr, nullptr).centre.Length());
        return false;
    }
    body->SetType(type);
    keepPositive(body);
    KXPStepBudget::note(body);
    return true;
}

void KXPBodyMass::setFixedRotation(b2Body* body, bool fixed) {
    if (body->GetType() == b2_dynamicBody && !canTurn(*body, fixed)) {
        keepStill(body, nullptr, nullptr);
    }
    body->SetFixedRotation(fixed);
    keepPositive(body);
}

b2Fixture* KXPBodyMass::createFixture(b2Body* body, const b2FixtureDef& definition) {
    // Box2D weighs the body again only for a fixture with density.
    if (body->GetType() == b2_dynamicBody && definition.density > 0.0f &&
        !canTurn(*body, body->IsFixedRotation(), nullptr, &definition)) {
        keepStill(body, nullptr, &definition);
    }
    // A body whose boxes would pass what the world's tree holds waits outside the physics.
    if (definition.shape != nullptr) {
        KXPStepBudget::roomForBoxes(body, definition.shape->GetChildCount());
    }
    b2Fixture* fixture = body->CreateFixture(&definition);
    keepPositive(body);
    KXPStepBudget::note(body, true);
    return fixture;
}

void KXPBodyMass::destroyFixture(b2Body* body, b2Fixture* fixture) {
    if (KXPBodyOwner* owner = KXPBodyOwner::of(body)) {
        owner->fixtureGoing(fixture);
    }
    if (body->GetType() == b2_dynamicBody && !canTurn(*body, body->IsFixedRotation(), fixture)) {
        keepStill(body, fixture, nullptr);
    }
    body->DestroyFixture(fixture);
    keepPositive(body);
}
