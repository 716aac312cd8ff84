#include "player/objects/assets/KXPObjectAssetGatekeeper.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelObjectGatekeeper.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPTrace.h"
#include "player/objects/assets/KXPTriggerArea.h"

#include <climits>

KXPObjectAssetGatekeeper::KXPObjectAssetGatekeeper(const std::shared_ptr<KXModelObjectGatekeeper>& model)
    : KXPObjectAsset(model) {
    m_collisionType = kCollisionCharacter;
    setType(kTypeLogic);
}

void KXPObjectAssetGatekeeper::addToWorld(b2World* world, bool skipStill) {
    KXPObjectAsset::addToWorld(world, skipStill);
    KXPTriggerArea::prepare(m_body);
}

void KXPObjectAssetGatekeeper::beginContact(KXPObjectAsset* other, b2Contact* /*contact*/, bool /*began*/) {
    debugLog("gatekeeper begin contact");
    if (other == nullptr || (other->getType() & kTypeCharacter) == 0) {
        return;
    }
    if (m_passedCount < INT_MAX) {
        ++m_passedCount;
    }
    const auto model = modelCast<KXModelObjectGatekeeper>(getModel());
    const bool turnedAway = model && static_cast<float>(m_passedCount) > model->passedAmount();
    if (turnedAway) {
        other->setPendingState(kStateRemoved);
    }
    kxTrace("gatekeeper", "gatekeeper contact name=%s passed=%d removes=%d object=%u",
            model ? model->name().c_str() : "", m_passedCount, turnedAway ? 1 : 0, other->traceId());
}
