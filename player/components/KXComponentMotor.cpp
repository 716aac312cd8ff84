#include "player/components/KXComponentMotor.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelComponentMotor.h"
#include "model/classes/KXModelObjectAsset.h"
#include "player/base/KXPTrace.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/physics/KXPBodyMotion.h"

#include <cstdio>

using namespace cocos2d;

KXComponentMotor::KXComponentMotor() {
    m_enabled = false;
}

KXComponentMotor::~KXComponentMotor() {
    debugLog("[KXComponentMotor] deallocate");
}

std::shared_ptr<KXModelComponentMotor> KXComponentMotor::motorModel() const {
    return std::static_pointer_cast<KXModelComponentMotor>(m_model);
}

void KXComponentMotor::setModel(const std::shared_ptr<KXModelComponent>& model) {
    KXComponent::setModel(model);
    const std::shared_ptr<KXModelComponentMotor> motor = motorModel();
    if (!motor) {
        return;
    }
    m_linearVelocity = motor->linearVelocity();
    m_angularVelocity = motor->angularVelocity();
    if (motor->event() == kEventButton) {
        subscribeInput(11, callfuncO_selector(KXComponentMotor::buttonPressed));
    }
}

void KXComponentMotor::setOwner(KXPObject* owner) {
    KXComponent::setOwner(owner);
    const std::shared_ptr<KXModelComponentMotor> motor = motorModel();
    KXPObjectAsset* asset = assetOwner();
    if (motor && asset != nullptr && motor->event() == kEventCollision) {
        asset->addListener(KXPObjectAsset::kListenerContact, this,
                           asset_listener_selector(KXComponentMotor::collision));
    }
}

void KXComponentMotor::buttonPressed(CCObject* /*sender*/) {
    multiplyVelocity();
}

void KXComponentMotor::collision(KXPObjectAsset* /*self*/, KXPObjectAsset* other) {
    if (other == nullptr || (other->getType() & KXPObject::kTypeUnit) == 0) {
        return;
    }
    const std::shared_ptr<KXModelObjectAsset> placed = other->assetModel();
    const std::shared_ptr<KXModelAsset> asset = placed ? placed->asset() : nullptr;
    if (asset && asset->id() == motorModel()->affectedAssetId()) {
        multiplyVelocity();
    }
}

void KXComponentMotor::multiplyVelocity() {
    const std::shared_ptr<KXModelComponentMotor> motor = motorModel();
    if (!motor) {
        return;
    }
    const CCPoint multiplier = motor->linearMultiplier();
    m_linearVelocity = CCPoint(m_linearVelocity.x * multiplier.x, m_linearVelocity.y * multiplier.y);
    m_angularVelocity *= motor->angularMultiplier();
    if (kxTraceEnabled("components")) {
        char velocity[64];
        std::snprintf(velocity, sizeof velocity, " velocity=%.2f,%.2f", m_linearVelocity.x,
                      m_linearVelocity.y);
        traceEvent("motor", "multiply", velocity);
    }
}

void KXComponentMotor::update(float /*dt*/) {
    b2Body* body = m_owner != nullptr ? m_owner->getBody() : nullptr;
    if (body == nullptr) {
        return;
    }
    const b2Vec2 own = body->GetLinearVelocity();
    KXPBodyMotion::setLinearVelocity(body, b2Vec2(m_linearVelocity.x != 0.0f ? m_linearVelocity.x : own.x,
                                                  m_linearVelocity.y != 0.0f ? m_linearVelocity.y : own.y));
    KXPBodyMotion::setAngularVelocity(body, m_angularVelocity);
}
