#include "player/objects/KXPBodyMass.h"

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
