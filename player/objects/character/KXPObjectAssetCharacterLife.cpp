// The player character: shooting, the running powerups that protect it, its states and the death
// sequence up to leaving the game.

#include "player/objects/character/KXPObjectAssetCharacter.h"

#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelComponentSpawner.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPKinds.h"
#include "player/base/KXPLevelField.h"
#include "player/base/KXPWrapping.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/sound/KXSound.h"

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
    // The end shows in the trace as it happens: 4 and 5 may both come within one frame.
    if (state == kStateDead || state == kStateRemoved) {
        traceFrame();
    }
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
        if (KXPLevelField* field = KXPScreensController::shared()->currentLevelField()) {
            field->flash(asset->cameraFlash());
            field->shake(asset->cameraShake());
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

namespace {
constexpr const char* kFactory = "character";
constexpr const char* kGunKind = "gun";

// The first damage component of the asset, or empty.
std::shared_ptr<KXModelComponentDamage> damageOf(const KXModelAsset& asset) {
    for (const std::shared_ptr<KXModel>& child : asset.children()) {
        if (auto damage = modelCast<KXModelComponentDamage>(child)) {
            return damage;
        }
    }
    return nullptr;
}
} // namespace

void KXPObjectAssetCharacter::buildShooter(b2World* world) {
    const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset();
    const std::shared_ptr<KXModelAnimation> bullet = asset && asset->bulletAnimationAttribute() != nullptr
                                                         ? asset->bulletAnimationAttribute()->value()
                                                         : nullptr;
    if (!bullet || bullet->frameCount() == 0 || m_shooter != nullptr) {
        return;
    }

    // The bullet: an obstacle showing the bullet animation, as big as its first picture, hurting
    // as the character would.
    auto obstacle = KXModel::makeShared<KXModelAssetObstacle>(bullet->name());
    const auto firstFrame = modelKindCast<KXBaseModelObject>(bullet->frame(0));
    obstacle->setIdleAnimationAndFitShape(firstFrame ? firstFrame->spriteContainer() : nullptr);
    const std::shared_ptr<KXModelAnimation> fitted = obstacle->idleAnimation();
    obstacle->setIdleAnimation(bullet);
    if (const std::shared_ptr<KXModelComponentDamage> damage = damageOf(*asset)) {
        auto copy = KXModel::makeShared<KXModelComponentDamage>(KXModelComponentDamage::kDefaultObjectName);
        copy->setDamage(damage->damage());
        copy->setDamageDelay(damage->damageDelay());
        obstacle->addChild(copy, true);
    }

    // The gun: an invisible unit that emits flying copies of itself while shoot is held.
    const int depth = wrappingAdd(getZOrder(), -1);
    auto gun = KXModel::makeShared<KXModelObjectAssetUnit>(bullet->name());
    gun->setPosition(CCPointZero);
    gun->setAsset(obstacle);
    gun->setZDepth(depth);
    gun->setLinearVelocity(ccp(kBulletSpeed, 0.0f));
    gun->setCollisionType("kNoCollision");
    gun->setDestroyType("kDestroyEnemyCollision");
    gun->setSpawnerEnabled(true);
    gun->setSpawnAction("kShootingSpawning");
    gun->setSpawnRate(kShotInterval);
    gun->setMovementType("kMovementLinear");
    // The fit's animation and box and the gun's spawner joined the store as they were made, and
    // the store keeps what it holds for the whole run: they leave it again, to go with this
    // character rather than pile up with every rebuild of the level. All three are new here.
    KXModelController* store = KXModelController::shared();
    store->removeModel(fitted);
    store->removeModel(obstacle->collisionShape());
    store->removeModel(gun->spawnerComponent());

    auto* shooter = new KXPObjectAssetUnit(gun);
    shooter->autorelease();
    shooter->setSpawner(true);
    if (m_layer != nullptr) {
        m_layer->addChild(shooter, depth);
    }
    shooter->setObjectLayer(m_layer);
    shooter->addToWorld(world, true);
    shooter->setType(kTypeCharacter);
    // It rides on the character from now on.
    shooter->retain();
    shooter->removeFromParent();
    addChild(shooter, depth);
    m_shooter = shooter;
    kxKindMade(kFactory, kGunKind);
}

KXPKindTable KXPObjectAssetCharacter::kindTable() {
    return KXPKindTable{kFactory, {kGunKind}};
}
