#include "player/objects/KXPBodyMotion.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXBaseModelObject.h"
#include "player/base/KXPPhysicsLimits.h"
#include "player/objects/KXPBodyData.h"
#include "player/objects/KXPObject.h"

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
    KXPObject* object = KXPBodyData::object(body);
    if (object != nullptr && object->firstPhysicsRefusal()) {
        const std::shared_ptr<KXBaseModelObject> model = object->getModel();
        debugLog("[KXPObjectAsset] - %s (model %u) stays where it is: it was moved to %g, %g m at %g "
                 "radians, which the physics cannot hold",
                 model ? model->name().c_str() : "", model ? model->id() : 0u, static_cast<double>(place.x),
                 static_cast<double>(place.y), static_cast<double>(angle));
    }
    return false;
}
