// Asset objects: contacts, their listeners, the contact damage rule, and the dead and removed
// states. Everything here but setState runs inside the physics step, so it only records what is
// to happen (a health hit, the die-next-update flag).

#include "player/objects/assets/KXPObjectAsset.h"

#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelObjectAsset.h"
#include "player/components/KXComponentHealth.h"
#include "player/sound/KXSound.h"

using namespace cocos2d;

namespace {
// The first damage component of the asset, or empty.
std::shared_ptr<KXModelComponentDamage> damageComponentOf(const KXModelAsset& asset) {
    for (const std::shared_ptr<KXModel>& child : asset.children()) {
        if (std::shared_ptr<KXModelComponentDamage> damage = modelCast<KXModelComponentDamage>(child)) {
            return damage;
        }
    }
    return nullptr;
}

bool isCharacter(const KXPObject* object) {
    return (object->getType() & KXPObject::kTypeCharacter) != 0;
}

bool isUnit(const KXPObject* object) {
    return (object->getType() & KXPObject::kTypeUnit) != 0;
}

// Whether the attacker's destroy mode makes the victim take the hit.
bool hits(const KXPObjectAsset* attacker, const KXPObjectAsset* victim) {
    const bool attackerDead = attacker->getState() == KXPObject::kStateDead;
    switch (attacker->getDestroyType()) {
    case KXPObjectAsset::kDestroyCollision:
        return !attackerDead &&
               (isCharacter(victim) ||
                (isUnit(victim) && victim->getDestroyType() == KXPObjectAsset::kDestroyEnemyCollision));
    case KXPObjectAsset::kDestroyEnemyCollision:
        return isUnit(victim) && victim->getDestroyType() == KXPObjectAsset::kDestroyCollision;
    case KXPObjectAsset::kDestroyAllCollision:
        return !attackerDead && (isUnit(victim) || isCharacter(victim));
    default:
        return false;
    }
}
} // namespace

void KXPObjectAsset::applyContactDamage(KXPObjectAsset* attacker, KXPObjectAsset* victim) {
    if (attacker == nullptr || victim == nullptr) {
        return;
    }
    if (attacker->isSpawner() || victim->isSpawner() || attacker->getState() == kStateDead) {
        return;
    }
    const std::shared_ptr<KXModelObjectAsset> model = attacker->assetModel();
    const std::shared_ptr<KXModelAsset> asset = model ? model->asset() : nullptr;
    if (!asset) {
        return;
    }

    int damage = 1;
    float delay = 0.0f;
    if (std::shared_ptr<KXModelComponentDamage> component = damageComponentOf(*asset)) {
        damage = component->damage();
        delay = component->damageDelay();
    } else if (modelCast<KXModelAssetCharacter>(asset)) {
        damage = attacker->hasActivePowerups() ? 99 : 0;
    }
    if (damage <= 0 || (isCharacter(victim) && victim->hasActivePowerups())) {
        return;
    }
    if (!hits(attacker, victim)) {
        return;
    }
    if (KXComponentHealth* health = victim->healthComponent()) {
        health->takeDamage(damage, delay);
    } else {
        victim->dieNextUpdate();
    }
}

// --- contacts ---

void KXPObjectAsset::beginContact(KXPObjectAsset* other, b2Contact* /*contact*/, bool /*began*/) {
    // A callback may add or remove listeners: walk a copy.
    const std::vector<Listener> listeners = m_listeners;
    for (const Listener& listener : listeners) {
        CCObject* target = listener.target;
        SEL_AssetListener callback = listener.callback;
        if (listener.event == kListenerContact && target != nullptr && callback != nullptr) {
            (target->*callback)(this, other);
        }
    }
}

void KXPObjectAsset::endContact(KXPObjectAsset* /*other*/, b2Contact* /*contact*/) {}

void KXPObjectAsset::preSolve(KXPObjectAsset* /*other*/, b2Contact* /*contact*/,
                              const b2Manifold* /*oldManifold*/) {}

void KXPObjectAsset::addListener(int event, CCObject* target, SEL_AssetListener callback) {
    m_listeners.push_back(Listener{event, target, callback});
}

void KXPObjectAsset::removeListener(CCObject* target) {
    for (auto entry = m_listeners.begin(); entry != m_listeners.end(); ++entry) {
        if (entry->target == target) {
            m_listeners.erase(entry);
            return;
        }
    }
}

// --- states ---

void KXPObjectAsset::setState(int32_t state) {
    setAssetState(state);
}

void KXPObjectAsset::setAssetState(int32_t state) {
    KXPObject::setState(state);
    if (state != kStateActive && m_ownSound != nullptr) {
        m_ownSound->stop();
    }
    if (state == kStateDead && getChildrenCount() > 0) {
        // A dead object takes the objects it carries with it. The children are held while they
        // are told, as a child's death may rearrange this node's children.
        std::vector<KXPObject*> children;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            if (KXPObject* child = ccNodeAs<KXPObject>(item)) {
                child->retain();
                children.push_back(child);
            }
        }
        for (KXPObject* child : children) {
            child->setState(kStateDead);
            child->release();
        }
    }
    if (state == kStateRemoved) {
        // Run once: the list is taken before the callbacks and emptied after them (dropping what
        // they added), so a second removal, such as the destructor's, finds nothing.
        const std::vector<Listener> listeners = std::move(m_listeners);
        m_listeners.clear();
        for (const Listener& listener : listeners) {
            CCObject* target = listener.target;
            SEL_AssetListener callback = listener.callback;
            if (listener.event == kListenerRemoved && target != nullptr && callback != nullptr) {
                (target->*callback)(this, nullptr);
            }
        }
        m_listeners.clear();
    }
}
