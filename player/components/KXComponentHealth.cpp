#include "player/components/KXComponentHealth.h"

#include "model/classes/KXBaseModelObject.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "player/base/KXPClock.h"
#include "player/base/KXPTrace.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/sound/KXSound.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {
constexpr double kTicksPerSecond = 10000000.0;

int64_t nowTicks() {
    return static_cast<int64_t>(std::llround(KXPClock::steadySeconds() * kTicksPerSecond));
}
} // namespace

KXComponentHealth::KXComponentHealth() {
    m_enabled = false;
}

KXComponentHealth::~KXComponentHealth() {
    if (m_damageAnimationNode != nullptr) {
        m_damageAnimationNode->setFinishCallback(std::function<void()>());
        m_damageAnimationNode->release();
        m_damageAnimationNode = nullptr;
    }
}

std::shared_ptr<KXModelComponentHealth> KXComponentHealth::healthModel() const {
    return std::static_pointer_cast<KXModelComponentHealth>(m_model);
}

void KXComponentHealth::setModel(const std::shared_ptr<KXModelComponent>& model) {
    KXComponent::setModel(model);
    const std::shared_ptr<KXModelComponentHealth> health = healthModel();
    m_health = std::max(1, health ? health->health() : 1);
}

void KXComponentHealth::setOwner(KXPObject* owner) {
    KXComponent::setOwner(owner);
    const std::shared_ptr<KXModelComponentHealth> health = healthModel();
    if (!health || owner == nullptr || m_damageAnimationNode != nullptr) {
        return;
    }
    const std::shared_ptr<KXModelAnimation> animation = health->takingDamageAnimationAttribute()->value();
    // Only objects are shown: a look of other children would cover the owner with nothing.
    if (animation && animation->frameCount() > 0) {
        m_damageAnimationNode = new KXPAnimationObject(animation, owner, true);
        m_damageAnimationNode->setZOrder(owner->getZOrder());
        m_damageAnimationNode->setFinishCallback([this] { hideDamage(); });
        m_damageAnimationNode->setVisible(false);
    }
}

bool KXComponentHealth::takeDamage(int damage, float delay) {
    if (m_health < 1) {
        return false;
    }
    const int64_t now = nowTicks();
    if (now < m_nextDamageTime) {
        return false;
    }
    m_health = std::max(0, m_health - std::max(0, damage));
    const double milliseconds = std::trunc(static_cast<double>(std::max(0.0f, delay)) * 1000.0);
    m_nextDamageTime = now + static_cast<int64_t>(std::min(milliseconds, 1.0e9)) * 10000;
    trace("hit");
    if (m_health > 0) {
        m_damaged = true;
    } else {
        startDying();
    }
    return true;
}

void KXComponentHealth::trace(const char* event) const {
    if (!kxTraceEnabled("health")) {
        return;
    }
    const std::shared_ptr<KXBaseModelObject> model = m_owner != nullptr ? m_owner->getModel() : nullptr;
    kxTrace("health", "health %s name=%s id=%u hp=%d", event, model ? model->name().c_str() : "",
            m_owner != nullptr ? m_owner->traceId() : 0u, m_health);
}

void KXComponentHealth::startDying() {
    if (m_dying) {
        return;
    }
    m_dying = true;
    const std::shared_ptr<KXModelComponentHealth> health = healthModel();
    m_deathDelayLeft = health ? health->deathDelay() : 0.0f;
}

void KXComponentHealth::update(float dt) {
    if (m_dying) {
        m_deathDelayLeft -= dt;
        if (m_deathDelayLeft <= 0.0f) {
            m_dying = false;
            trace("death");
            if (KXPObjectAsset* asset = assetOwner()) {
                asset->dieNextUpdate();
            }
        }
        return;
    }
    if (!m_damaged) {
        return;
    }
    m_damaged = false;
    const std::shared_ptr<KXModelComponentHealth> health = healthModel();
    const std::shared_ptr<KXModelSound> sound =
        health ? health->takingDamageSoundAttribute()->value() : nullptr;
    if (sound) {
        KXSound* played = new KXSound(sound, KXSound::kGameObjectGroup);
        played->setAutoDelete(true);
        played->play(false, false);
    }
    showDamage();
}

void KXComponentHealth::showDamage() {
    KXPObjectAsset* asset = assetOwner();
    if (m_damageAnimationNode == nullptr || asset == nullptr) {
        return;
    }
    m_damageAnimationNode->restart();
    asset->popAnimation(0, m_damageAnimationNode, nullptr);
    asset->pushAnimation(0, m_damageAnimationNode, nullptr);
}

void KXComponentHealth::hideDamage() {
    KXPObjectAsset* asset = assetOwner();
    if (m_damageAnimationNode == nullptr || asset == nullptr) {
        return;
    }
    asset->popAnimation(0, m_damageAnimationNode, nullptr);
    m_damageAnimationNode->setVisible(false);
}

void KXComponentHealth::ownerStateChanged() {
    if (m_owner == nullptr || m_owner->getState() != KXPObject::kStateDead) {
        return;
    }
    if (m_damageAnimationNode != nullptr && m_damageAnimationNode->entryCount() > 0) {
        hideDamage();
    }
}
