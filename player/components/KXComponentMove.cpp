#include "player/components/KXComponentMove.h"

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelObjectAsset.h"
#include "player/components/KXComponentIsoJump.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPSwitchStateTable.h"

using namespace cocos2d;

KXComponentMove::KXComponentMove() {
    m_enabled = false;
}

KXComponentMove::~KXComponentMove() {
    if (m_animationNode != nullptr) {
        m_animationNode->release();
        m_animationNode = nullptr;
    }
    deleteSound(m_sound);
}

std::shared_ptr<KXModelComponentMove> KXComponentMove::moveModel() const {
    return std::static_pointer_cast<KXModelComponentMove>(m_model);
}

void KXComponentMove::setModel(const std::shared_ptr<KXModelComponent>& model) {
    KXComponent::setModel(model);
    const std::shared_ptr<KXModelComponentMove> move = moveModel();
    if (!move) {
        return;
    }
    m_trigger = KXComponentTrigger::parse(move->event());
    subscribeTrigger(m_trigger, callfuncO_selector(KXComponentMove::inputPressed),
                     callfuncO_selector(KXComponentMove::inputReleased));
    const std::string& operation = move->mathematicalOperation();
    m_operation = operation == "kAdd" ? kAdd : operation == "kMultiply" ? kMultiply : kReplace;
    makeSound(move->sound(), m_sound);
}

void KXComponentMove::setOwner(KXPObject* owner) {
    KXComponent::setOwner(owner);
    const std::shared_ptr<KXModelComponentMove> move = moveModel();
    if (!move || owner == nullptr) {
        return;
    }
    const std::shared_ptr<KXModelAnimation> animation = move->animation();
    if (animation && animation->frameCount() > 0 && m_animationNode == nullptr) {
        // The constructor's reference is the component's.
        m_animationNode = new KXPAnimationObject(animation, owner, true);
        m_animationNode->setZOrder(owner->getZOrder());
        m_animationNode->setVisible(false);
    }
    if (m_trigger.kind == kEventCollision) {
        if (KXPObjectAsset* asset = assetOwner()) {
            asset->addListener(KXPObjectAsset::kListenerContact, this,
                               asset_listener_selector(KXComponentMove::collision));
        }
    } else if (m_trigger.kind == kEventStart) {
        m_startRequested = true;
    }
}

void KXComponentMove::inputPressed(CCObject* sender) {
    if (!senderMatches(sender, m_trigger)) {
        return;
    }
    if (!moveModel()->activateOnRelease() && !m_enabled) {
        m_startRequested = true;
        m_exclusiveRequested = true;
    }
}

void KXComponentMove::inputReleased(CCObject* sender) {
    if (!senderMatches(sender, m_trigger)) {
        return;
    }
    if (moveModel()->activateOnRelease()) {
        if (!m_enabled) {
            m_startRequested = true;
        }
    } else if (m_enabled) {
        m_stopRequested = true;
    } else {
        // A press shorter than one frame starts nothing.
        m_startRequested = false;
        m_exclusiveRequested = false;
    }
}

void KXComponentMove::collision(KXPObjectAsset* self, KXPObjectAsset* other) {
    if (m_enabled || self == nullptr || other == nullptr) {
        return;
    }
    const uint32_t movers = KXPObject::kTypeCharacter | KXPObject::kTypeUnit;
    if ((self->getType() & movers) == 0 || (other->getType() & movers) == 0) {
        return;
    }
    const int64_t affected = moveModel()->affectedAssetValue();
    bool match = affected == -1 || (affected == -2 && (other->getType() & KXPObject::kTypeCharacter) != 0) ||
                 (affected == -3 && (other->getType() & KXPObject::kTypeUnit) != 0);
    if (!match) {
        const std::shared_ptr<KXModelObjectAsset> placed = other->assetModel();
        const std::shared_ptr<KXModelAsset> asset = placed ? placed->asset() : nullptr;
        match = asset && asset->id() == moveModel()->affectedAssetId();
    }
    if (match) {
        m_startRequested = true;
        m_exclusiveRequested = true;
    }
}

void KXComponentMove::setEnabled(bool enabled) {
    setActive(enabled, false);
}

void KXComponentMove::setActive(bool active, bool keepBodyVelocity) {
    if (active == m_enabled) {
        return;
    }
    if (m_owner != nullptr &&
        (m_owner->getState() == KXPObject::kStateDead || m_owner->getState() == KXPObject::kStateRemoved)) {
        return;
    }
    m_enabled = active;
    traceEvent("move", active ? "start" : "stop");
    const std::shared_ptr<KXModelComponentMove> move = moveModel();
    KXPObjectAsset* asset = assetOwner();
    if (!move) {
        return;
    }
    if (!active) {
        popDisplayState(true);
        if (m_owner != nullptr) {
            m_owner->setMovementEnabled(true);
        }
        return;
    }
    if (move->forcedSwitchButton()) {
        for (auto& entry : switchStateTable()) {
            entry.second = !entry.second;
        }
    }
    if (m_sound != nullptr) {
        m_sound->play(false, false);
    }
    if (m_owner != nullptr) {
        m_owner->setMovementEnabled(false);
    }
    m_timeLeft = move->timeout();
    if (asset != nullptr) {
        if (m_animationNode != nullptr && m_animationNode->entryCount() > 0) {
            m_animationNode->restart();
            asset->pushAnimation(4, m_animationNode, move->collisionShape());
        } else {
            const std::shared_ptr<KXModelObjectAsset> own = asset->assetModel();
            asset->pushAnimation(4, nullptr, own ? own->collisionShape() : nullptr);
        }
    }
    computeVelocities(keepBodyVelocity);
}

void KXComponentMove::popDisplayState(bool stopNode) {
    KXPObjectAsset* asset = assetOwner();
    if (asset == nullptr) {
        return;
    }
    if (m_animationNode != nullptr && m_animationNode->entryCount() > 0) {
        asset->popAnimation(4, m_animationNode, moveModel()->collisionShape());
        m_animationNode->setVisible(false);
        if (stopNode) {
            m_animationNode->stop();
        }
    } else {
        const std::shared_ptr<KXModelObjectAsset> own = asset->assetModel();
        asset->popAnimation(4, nullptr, own ? own->collisionShape() : nullptr);
    }
}

void KXComponentMove::computeVelocities(bool keepBodyVelocity) {
    const std::shared_ptr<KXModelComponentMove> move = moveModel();
    const CCPoint linear = move->linearVelocity();
    const float angular = move->angularVelocity();
    b2Body* body = m_owner != nullptr ? m_owner->getBody() : nullptr;
    auto combine = [this](float current, float value) {
        switch (m_operation) {
        case kAdd:
            return current + value;
        case kMultiply:
            return current * value;
        default:
            return value;
        }
    };
    if (body != nullptr) {
        m_velocityX = body->GetLinearVelocity().x;
        m_velocityY = body->GetLinearVelocity().y;
        m_angularVelocity = body->GetAngularVelocity();
        if (keepBodyVelocity) {
            return;
        }
        if (move->hasLinearVelocityX()) {
            m_velocityX = combine(m_velocityX, linear.x);
        }
        if (move->hasLinearVelocityY()) {
            m_velocityY = combine(m_velocityY, linear.y);
        }
        if (move->hasAngularVelocity()) {
            m_angularVelocity = combine(m_angularVelocity, angular);
        }
        return;
    }
    if (keepBodyVelocity) {
        m_velocityX = m_velocityY = m_angularVelocity = 0.0f;
        return;
    }
    if (m_operation == kMultiply) {
        return;
    }
    if (move->hasLinearVelocityX()) {
        m_velocityX = linear.x;
    }
    if (move->hasLinearVelocityY()) {
        m_velocityY = linear.y;
    }
    if (move->hasAngularVelocity()) {
        m_angularVelocity = angular;
    }
}

void KXComponentMove::ownerStateChanged() {
    if (m_owner == nullptr || m_owner->getState() != KXPObject::kStateDead || !m_enabled) {
        return;
    }
    m_enabled = false;
    popDisplayState(false);
    m_owner->setMovementEnabled(true);
}

bool KXComponentMove::isRunningJump() const {
    if (m_owner == nullptr) {
        return false;
    }
    for (KXComponent* component : m_owner->components()) {
        if (dynamic_cast<KXComponentIsoJump*>(component) != nullptr && component->isEnabled()) {
            return true;
        }
    }
    return false;
}

void KXComponentMove::update(float dt) {
    if (!m_model) {
        return;
    }
    if (m_exclusiveRequested) {
        m_exclusiveRequested = false;
        if (m_owner != nullptr) {
            for (KXComponent* component : m_owner->components()) {
                KXComponentMove* sibling = dynamic_cast<KXComponentMove*>(component);
                if (sibling == nullptr) {
                    continue;
                }
                if (sibling != this) {
                    sibling->update(dt);
                }
                sibling->setEnabled(false);
            }
        }
    }
    if (m_startRequested) {
        // A drawn jump in progress holds the start until it lands.
        if (isRunningJump()) {
            return;
        }
        m_startRequested = false;
        setEnabled(true);
    }
    if (m_stopRequested) {
        m_stopRequested = false;
        setEnabled(false);
    }
    if (!m_enabled) {
        return;
    }
    KXPObjectAsset* asset = assetOwner();
    b2Body* body = m_owner != nullptr ? m_owner->getBody() : nullptr;
    if (m_owner != nullptr && m_owner->isAwake() && (asset == nullptr || !asset->isAsleep()) &&
        body != nullptr) {
        const std::shared_ptr<KXModelComponentMove> move = moveModel();
        b2Vec2 velocity = body->GetLinearVelocity();
        if (move->hasLinearVelocityX()) {
            velocity.x = m_velocityX;
        }
        if (move->hasLinearVelocityY()) {
            velocity.y = m_velocityY;
        }
        KXPBodyMotion::setLinearVelocity(body, velocity);
        if (move->hasAngularVelocity()) {
            KXPBodyMotion::setAngularVelocity(body, m_angularVelocity);
        }
    }
    if (m_timeLeft > 0.0f) {
        m_timeLeft -= dt;
        if (m_timeLeft <= 0.0f) {
            m_stopRequested = true;
        }
    }
}
