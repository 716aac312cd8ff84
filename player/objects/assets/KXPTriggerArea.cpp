#include "player/objects/assets/KXPTriggerArea.h"

#include "player/physics/KXPBodyMass.h"

void KXPTriggerArea::prepare(b2Body* body) {
    if (body == nullptr || body->GetWorld()->IsLocked()) {
        return;
    }
    KXPBodyMass::setType(body, b2_dynamicBody);
    if (b2Fixture* fixture = body->GetFixtureList()) {
        fixture->SetSensor(true);
    }
    body->SetGravityScale(0.0f);
}
