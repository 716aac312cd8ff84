// Asset objects: display states. An asset can show one of several temporary looks over its own
// (damage, powerup, jump, rotation-mapped, move), each a node with an optional collision shape,
// kept by priority; exactly one is shown, and its shape, when it has one, replaces the body's
// fixture until the look goes.

#include "player/objects/assets/KXPObjectAsset.h"

#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelPolygon.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/physics/KXPBodyData.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPPhysicsLimits.h"

using namespace cocos2d;

namespace {
// Only these priorities come back after the shown state is popped.
constexpr int kRestorablePriorities[] = {KXPObjectAsset::kDisplayPowerup, KXPObjectAsset::kDisplayJump,
                                         KXPObjectAsset::kDisplayRotationMapped,
                                         KXPObjectAsset::kDisplayMove};

void applyCharacterFilter(b2FixtureDef& definition) {
    definition.isSensor = false;
    definition.filter.categoryBits = KXPObjectAsset::kCharacterCategoryBits;
    definition.filter.maskBits = KXPObjectAsset::kCharacterMaskBits;
    definition.filter.groupIndex = KXPObjectAsset::kCharacterGroupIndex;
}

// Swaps the body's first fixture (if it has one) for a new one.
void swapFirstFixture(b2Body* body, const b2FixtureDef& definition) {
    if (b2Fixture* first = body->GetFixtureList()) {
        KXPBodyMass::destroyFixture(body, first);
    }
    KXPBodyMass::createFixture(body, definition);
}
} // namespace

void KXPObjectAsset::pushAnimation(int priority, CCNode* node, const std::shared_ptr<KXModelPolygon>& shape) {
    if (node == nullptr && !shape) {
        return;
    }
    if (node != nullptr && node->getParent() != this) {
        // The old parent may hold the last reference.
        node->retain();
        node->removeFromParent();
        addChild(node);
        node->release();
    }
    // Equal priorities keep their order: a multimap inserts at the end of the equal range.
    const DisplayStates::iterator entry = m_displayStates.insert({priority, DisplayState{node, shape}});
    if (!m_hasCurrentDisplayState) {
        showDisplayState(entry);
    } else if (m_currentDisplayState->first < priority) {
        if (node != nullptr) {
            node->setVisible(false);
        }
    } else {
        if (CCNode* shown = m_currentDisplayState->second.node) {
            shown->setVisible(false);
        }
        showDisplayState(entry);
    }
    setVisible(isVisible());
}

void KXPObjectAsset::popAnimation(int priority, CCNode* node, const std::shared_ptr<KXModelPolygon>& shape) {
    if (node == nullptr && !shape) {
        return;
    }
    const auto range = m_displayStates.equal_range(priority);
    DisplayStates::iterator entry = range.first;
    while (entry != range.second && (entry->second.node != node || entry->second.shape != shape)) {
        ++entry;
    }
    if (entry == range.second) {
        return;
    }
    if (node != nullptr && node->getParent() == this) {
        removeChild(node, true);
    }
    const bool wasCurrent = m_hasCurrentDisplayState && entry == m_currentDisplayState;
    m_displayStates.erase(entry);
    if (wasCurrent) {
        m_hasCurrentDisplayState = false;
        m_currentDisplayState = m_displayStates.end();
        if (m_displayStates.empty()) {
            restoreModelFixture();
        } else {
            for (int restorable : kRestorablePriorities) {
                const auto candidates = m_displayStates.equal_range(restorable);
                if (candidates.first != candidates.second) {
                    showDisplayState(std::prev(candidates.second));
                    break;
                }
            }
        }
    }
    setVisible(isVisible());
}

void KXPObjectAsset::setVisible(bool visible) {
    CCNode::setVisible(visible);
    if (!m_hasCurrentDisplayState) {
        return;
    }
    CCNode* shown = m_currentDisplayState->second.node;
    if (shown != nullptr && shown->isVisible() != visible) {
        shown->setVisible(visible);
    }
}

CCNode* KXPObjectAsset::currentDisplayNode() const {
    return m_hasCurrentDisplayState ? m_currentDisplayState->second.node : nullptr;
}

std::shared_ptr<KXModelPolygon> KXPObjectAsset::currentDisplayShape() const {
    return m_hasCurrentDisplayState ? m_currentDisplayState->second.shape : nullptr;
}

void KXPObjectAsset::showDisplayState(DisplayStates::iterator state) {
    m_currentDisplayState = state;
    m_hasCurrentDisplayState = true;
    if (state->first != kDisplayRotationMapped) {
        restartDisplayNode(state->second.node);
    }
    if (state->second.shape) {
        replaceFixture(state->second.shape);
    }
}

void KXPObjectAsset::restartDisplayNode(CCNode* node) {
    if (KXPAnimationObject* animation = dynamic_cast<KXPAnimationObject*>(node)) {
        animation->restart();
    }
}

// --- fixtures ---

void KXPObjectAsset::replaceFixture(const std::shared_ptr<KXModelPolygon>& shape) {
    if (m_body == nullptr || !shape) {
        return;
    }
    if (m_body->GetWorld()->IsLocked()) {
        m_parkedFixtureChange = true;
        m_parkedFixtureRestore = false;
        m_parkedFixtureShape = shape;
        return;
    }
    b2FixtureDef definition = shape->fixtureDef(getScaleX(), getScaleY());
    const std::unique_ptr<b2Shape> ownedShape(const_cast<b2Shape*>(definition.shape));
    if (ownedShape == nullptr) {
        return;
    }
    KXPBodyData::setNode(definition, this);
    if ((getType() & kTypeCharacter) != 0) {
        applyCharacterFilter(definition);
    }
    swapFirstFixture(m_body, definition);
}

void KXPObjectAsset::restoreModelFixture() {
    if (m_body == nullptr) {
        return;
    }
    if (m_body->GetWorld()->IsLocked()) {
        m_parkedFixtureChange = true;
        m_parkedFixtureRestore = true;
        m_parkedFixtureShape.reset();
        return;
    }
    const std::shared_ptr<KXModelObjectAsset> model = assetModel();
    const std::shared_ptr<KXModelPolygon> shape = model ? model->collisionShape() : nullptr;
    if (!shape) {
        return;
    }
    b2FixtureDef definition = shape->fixtureDef(getScaleX(), getScaleY());
    const std::unique_ptr<b2Shape> ownedShape(const_cast<b2Shape*>(definition.shape));
    if (ownedShape == nullptr) {
        return;
    }
    definition.density = kFixtureDensity;
    definition.friction = KXPPhysicsLimits::friction(m_gameplay->getFriction());
    definition.restitution = KXPPhysicsLimits::material(m_gameplay->getRestitution());
    KXPBodyData::setNode(definition, this);
    const bool character = (getType() & kTypeCharacter) != 0;
    if (!character && m_collisionType == kCollisionNone) {
        definition.isSensor = true;
    }
    if (character) {
        applyCharacterFilter(definition);
    }
    swapFirstFixture(m_body, definition);
}
