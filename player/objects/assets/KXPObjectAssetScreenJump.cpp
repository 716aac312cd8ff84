#include "player/objects/assets/KXPObjectAssetScreenJump.h"

#include "model/classes/KXModelObjectScreenJump.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPLevelField.h"
#include "player/objects/assets/KXPTriggerArea.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"

KXPObjectAssetScreenJump::KXPObjectAssetScreenJump(const std::shared_ptr<KXModelObjectScreenJump>& model)
    : KXPObjectAsset(model) {
    m_collisionType = kCollisionCharacter;
    setType(kTypeLogic);
}

void KXPObjectAssetScreenJump::addToWorld(b2World* world, bool skipStill) {
    KXPObjectAsset::addToWorld(world, skipStill);
    KXPTriggerArea::prepare(m_body);
}

void KXPObjectAssetScreenJump::beginContact(KXPObjectAsset* other, b2Contact* /*contact*/, bool /*began*/) {
    // A playable character only: a character's gun carries the character bit too.
    if (dynamic_cast<KXPObjectAssetCharacter*>(other) == nullptr) {
        return;
    }
    if (other->getState() == kStateDead || other->getState() == kStateRemoved) {
        return;
    }
    setPendingState(1);
}

void KXPObjectAssetScreenJump::setState(int32_t state) {
    KXPObjectAsset::setState(state);
    if (state != 1) {
        return;
    }
    if (KXPLevelField* field = KXPScreensController::shared()->currentLevelField()) {
        jump(*field);
    }
    setPendingState(kStateActive);
}

void KXPObjectAssetScreenJump::jump(KXPLevelField& field) {
    const auto model = modelCast<KXModelObjectScreenJump>(getModel());
    if (!model) {
        return;
    }
    field.switchScreen(model->name(), model->pauseCurrentWorld(), model->function() != "kStartCheckpointJump",
                       1);
}
