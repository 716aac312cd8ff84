#include "player/physics/KXPBodyMotion.h"

#include "model/KXDebugLog.h"
#include "player/physics/KXPBodyOwner.h"
#include "player/physics/KXPPhysicsLimits.h"

bool KXPBodyMotion::moveTo(b2Body* body, const b2Vec2& place, float angle) {
    if (body == nullptr) {
        return false;
    }
    if (KXPPhysicsLimits::holdsTransform(place, angle)) {
        // Box2D moves no body inside its step.
        if (!body->GetWorld()->IsLocked()) {
            body->SetTransform(place, angle);
        }
        return true;
    }
    KXPBodyOwner* owner = KXPBodyOwner::of(body);
    if (owner != nullptr && owner->firstPhysicsRefusal()) {
        debugLog("[KXPObjectAsset] - %s (model %u) stays where it is: it was moved to %g, %g m at %g "
                 "radians, which the physics cannot hold",
                 owner->physicsName().c_str(), owner->physicsModelId(), static_cast<double>(place.x),
                 static_cast<double>(place.y), static_cast<double>(angle));
    }
    return false;
}
