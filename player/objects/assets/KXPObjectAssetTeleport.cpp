#include "player/objects/assets/KXPObjectAssetTeleport.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPLevelField.h"
#include "player/base/KXPPortalLayer.h"
#include "player/base/KXPTrace.h"
#include "player/objects/assets/KXPTriggerArea.h"

#include <vector>

using namespace cocos2d;

KXPObjectAssetTeleport::KXPObjectAssetTeleport(const std::shared_ptr<KXModelObjectTeleport>& model)
    : KXPObjectAsset(model) {
    m_collisionType = kCollisionCharacter;
    setType(kTypeTeleport);
}

KXPObjectAssetTeleport::~KXPObjectAssetTeleport() {
    if (m_carried != nullptr) {
        m_carried->removeListener(this);
        m_carried = nullptr;
    }
}

std::shared_ptr<KXModelObjectTeleport> KXPObjectAssetTeleport::teleportModel() const {
    return modelCast<KXModelObjectTeleport>(getModel());
}

float KXPObjectAssetTeleport::groupId() const {
    const auto model = teleportModel();
    return model ? model->groupId() : 0.0f;
}

void KXPObjectAssetTeleport::setPosition(const CCPoint& position) {
    const CCPoint& was = getPosition();
    const bool moved = position.x != was.x || position.y != was.y;
    KXPObjectAsset::setPosition(position);
    if (moved && getType() == kTypeTeleport) {
        tellLayer();
    }
}

void KXPObjectAssetTeleport::setType(uint32_t flags) {
    const bool partner = getType() == kTypeTeleport;
    KXPObjectAsset::setType(flags);
    if (partner != (getType() == kTypeTeleport)) {
        tellLayer();
    }
}

void KXPObjectAssetTeleport::tellLayer() {
    if (KXPPortalLayer* layer = dynamic_cast<KXPPortalLayer*>(getParent())) {
        layer->portalChanged();
    }
}

void KXPObjectAssetTeleport::addToWorld(b2World* world, bool skipStill) {
    KXPObjectAsset::addToWorld(world, skipStill);
    KXPTriggerArea::prepare(m_body);
}

void KXPObjectAssetTeleport::beginContact(KXPObjectAsset* other, b2Contact* /*contact*/, bool /*began*/) {
    const auto model = teleportModel();
    if (!isMovementEnabled() || !model || model->exitOnly()) {
        return;
    }
    if (m_state == 1 || m_state == kStateDead || other == nullptr) {
        return;
    }
    const uint32_t type = other->getType();
    if ((type & kTypeCharacter) == 0 || (type & kTypeSpawnedCopy) != 0) {
        return;
    }
    if (other->getState() == kStateDead || other->getState() == kStateRemoved) {
        return;
    }
    releaseCarriedObject();
    m_carried = other;
    other->addListener(kListenerRemoved, this,
                       asset_listener_selector(KXPObjectAssetTeleport::onCarriedObjectRemoved));
    setPendingState(1);
}

void KXPObjectAssetTeleport::update(float /*dt*/) {
    // A body asked for inside the step is still owed.
    runParkedWorldWork();
    if (m_carried != nullptr) {
        setState(1);
    }
}

void KXPObjectAssetTeleport::setState(int32_t state) {
    KXPObjectAsset::setState(state);
    if (state == kStateRemoved) {
        releaseCarriedObject();
        return;
    }
    if (state != 1 || m_carried == nullptr) {
        return;
    }
    if (KXPLevelField* field = KXPScreensController::shared()->currentLevelField()) {
        send(*field);
    }
}

void KXPObjectAssetTeleport::send(KXPLevelField& field) {
    const auto model = teleportModel();
    if (m_carried == nullptr || !model) {
        return;
    }
    if (copiesFull(field)) {
        return; // tried again next update
    }
    std::vector<KXPObjectAsset*> partners;
    field.collectTeleportsNear(partners, model->groupId(), getPosition(), model->searchRadius());
    bool sent = false;
    for (KXPObjectAsset* partner : partners) {
        if (partner == this) {
            continue;
        }
        if (copiesFull(field)) {
            break; // the partners left get no copy
        }
        field.addTeleport(m_carried, partner);
        kxTrace("teleport", "teleport send from=%.1f,%.1f to=%.1f,%.1f object=%u", getPositionX(),
                getPositionY(), partner->getPositionX(), partner->getPositionY(), m_carried->traceId());
        partner->setMovementEnabled(false);
        sent = true;
    }
    if (!sent) {
        return; // tried again next update
    }
    KXPObjectAsset* carried = m_carried;
    releaseCarriedObject();
    if (model->deleteInputObject()) {
        carried->setState(kStateRemoved);
        setMovementEnabled(true);
    }
    setState(kStateActive);
    if (model->singleUse()) {
        setState(kStateRemoved);
    }
}

bool KXPObjectAssetTeleport::copiesFull(KXPLevelField& field) const {
    const size_t copies = field.teleportCopies();
    if (copies < KXPLevelField::kMaxTeleportCopies) {
        return false;
    }
    if (field.firstTeleportCopyRefused()) {
        const auto model = getModel();
        debugLog("[KXPObjectAssetTeleport] - %s (model %u) makes no copy: the field holds %zu copies",
                 model ? model->name().c_str() : "", model ? model->id() : 0u, copies);
    }
    return true;
}

void KXPObjectAssetTeleport::onCarriedObjectRemoved(KXPObjectAsset* /*removed*/, KXPObjectAsset* /*other*/) {
    setMovementEnabled(true);
    // The object is gone: nothing to take back from it.
    m_carried = nullptr;
    setState(kStateActive);
}

void KXPObjectAssetTeleport::releaseCarriedObject() {
    if (m_carried != nullptr) {
        m_carried->removeListener(this);
        m_carried = nullptr;
    }
}
