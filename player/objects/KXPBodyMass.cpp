#include "player/objects/KXPBodyMass.h"

#include "player/objects/KXPStepBudget.h"

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

void KXPBodyMass::setType(b2Body* body, b2BodyType type) {
    body->SetType(type);
    keepPositive(body);
    KXPStepBudget::note(body);
}

void KXPBodyMass::setFixedRotation(b2Body* body, bool fixed) {
    body->SetFixedRotation(fixed);
    keepPositive(body);
}

b2Fixture* KXPBodyMass::createFixture(b2Body* body, const b2FixtureDef& definition) {
    b2Fixture* fixture = body->CreateFixture(&definition);
    keepPositive(body);
    KXPStepBudget::note(body, true);
    return fixture;
}

void KXPBodyMass::destroyFixture(b2Body* body, b2Fixture* fixture) {
    body->DestroyFixture(fixture);
    keepPositive(body);
}
