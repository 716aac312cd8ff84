// The player character: shooting, the running powerups that protect it, its states and the death
// sequence up to leaving the game.

#include "player/objects/KXPObjectAssetCharacter.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "player/KXPInputController.h"
#include "player/KXPScreenScene.h"
#include "player/KXPScreensController.h"
#include "player/KXSound.h"
#include "player/objects/KXPAnimationObject.h"

#include <vector>

using namespace cocos2d;

float KXPObjectAssetCharacter::activePowerupLevel() {
    return m_activePowerups.empty() ? 0.0f : 100.0f;
}

void KXPObjectAssetCharacter::setShooting(bool shooting) {
    if (shooting) {
        m_flags |= kFlagShooting;
        setState(kStateShooting);
    } else {
        m_flags &= ~kFlagShooting;
        setState(kStateActive);
    }
}

void KXPObjectAssetCharacter::beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) {
    KXPObjectAsset::beginContact(other, contact, began);
    if (m_state == kStateDead || m_state == kStateRemoved || other == nullptr) {
        return;
    }
    if (m_destroyMode != kDestroyNo || other->getDestroyType() != kDestroyNo) {
        applyContactDamage(this, other);
    }
}

void KXPObjectAssetCharacter::setState(int32_t state) {
    if ((state == kStateDead && !m_activePowerups.empty()) ||
        (m_state == kStateDead && state != kStateRemoved) || m_state == kStateRemoved) {
        return;
    }
    KXPObjectAsset::setState(state);
    switch (state) {
    case kStateActive:
        if (m_shootSound != nullptr) {
            m_shootSound->stopLooping();
        }
        break;
    case kStateShooting:
        if (m_shootingAnimation != nullptr) {
            m_shootingAnimation->restart();
        }
        if (m_shootSound != nullptr) {
            m_shootSound->play(true, false);
        }
        break;
    case kStateJumping:
        if (m_jumpAnimation != nullptr) {
            m_jumpAnimation->restart();
        }
        break;
    case kStateDead:
        die();
        break;
    case kStateRemoved: {
        // Held while it leaves: the controller may hold the last reference but one.
        retain();
        if (KXPInputController* input = KXPInputController::existing()) {
            input->removeCharacter(this);
        }
        std::vector<KXPObject*> children;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            if (KXPObject* child = dynamic_cast<KXPObject*>(item)) {
                child->retain();
                children.push_back(child);
            }
        }
        for (KXPObject* child : children) {
            child->setState(kStateRemoved);
            child->release();
        }
        release();
        break;
    }
    default:
        break;
    }
}

void KXPObjectAssetCharacter::die() {
    if (KXPInputController* input = KXPInputController::existing()) {
        input->actionReleased(KXPInputController::kActionShoot, nullptr);
    }
    setDirection(CCPointZero);

    const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset();
    const std::shared_ptr<KXModelAnimation> defeated = asset && asset->defeatedAnimationAttribute() != nullptr
                                                           ? asset->defeatedAnimationAttribute()->value()
                                                           : nullptr;
    if (defeated) {
        m_defeatedAnimation = new KXPAnimationObject(defeated, nullptr, true);
        m_defeatedAnimation->setVisible(false);
        m_defeatedAnimation->setOpacityFactor(m_model->animatedOpacity(0.0f, 0));
        m_defeatedAnimation->autorelease();
        m_defeatedAnimation->restart();
        addChild(m_defeatedAnimation, m_model->zDepth());
        setVisible(true);
    }
    // A defeated look with frames stays on show; without one the character is finished at once.
    if (m_defeatedAnimation == nullptr || m_defeatedAnimation->model()->frameCount() == 0) {
        deathAnimationDidEnd();
    }

    if (asset) {
        if (KXPGameField* field = KXPScreensController::shared()->currentScreenScene()) {
            if (KXPScreenScene* scene = dynamic_cast<KXPScreenScene*>(field->fieldScreen())) {
                scene->flash(asset->cameraFlash());
                scene->shake(asset->cameraShake());
            }
        }
        if (asset->fallAttribute() > 0.0f) {
            m_fallPending = true;
        }
        if (KXAttributeSound* sound = asset->defeatedSoundAttribute()) {
            playOnce(sound->value());
        }
    }
    if (m_shootSound != nullptr) {
        m_shootSound->stopLooping();
    }
}

void KXPObjectAssetCharacter::deathAnimationDidEnd() {
    debugLog("deathAnimationDidEnd --- ");
    setState(kStateRemoved);
}

void KXPObjectAssetCharacter::buildShooter(b2World* /*world*/) {}
