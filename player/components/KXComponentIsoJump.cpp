#include "player/components/KXComponentIsoJump.h"

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelComponentIsoJump.h"
#include "player/base/KXPWrapping.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/sound/KXSound.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace cocos2d;

namespace {
// Box2D metres per drawn point.
constexpr float kMetresPerPoint = 0.05f;
// The jump animation is drawn above everything else of its owner's depth.
constexpr int kJumpZOrderOffset = 500;
} // namespace

KXComponentIsoJump::KXComponentIsoJump() {
    m_enabled = false;
}

KXComponentIsoJump::~KXComponentIsoJump() {
    for (KXPAnimationObject** node : {&m_groundNode, &m_jumpNode}) {
        if (*node != nullptr) {
            (*node)->release();
            *node = nullptr;
        }
    }
    deleteSound(m_jumpSound);
    deleteSound(m_doubleJumpSound);
}

std::shared_ptr<KXModelComponentIsoJump> KXComponentIsoJump::jumpModel() const {
    return std::static_pointer_cast<KXModelComponentIsoJump>(m_model);
}

void KXComponentIsoJump::setModel(const std::shared_ptr<KXModelComponent>& model) {
    KXComponent::setModel(model);
    const std::shared_ptr<KXModelComponentIsoJump> jump = jumpModel();
    if (!jump) {
        return;
    }
    m_trigger = KXComponentTrigger::parse(jump->event());
    subscribeTrigger(m_trigger, callfuncO_selector(KXComponentIsoJump::inputPressed),
                     callfuncO_selector(KXComponentIsoJump::inputReleased));
    makeSound(jump->jumpSound(), m_jumpSound);
    makeSound(jump->doubleJumpSound(), m_doubleJumpSound);
}

void KXComponentIsoJump::setOwner(KXPObject* owner) {
    KXComponent::setOwner(owner);
    const std::shared_ptr<KXModelComponentIsoJump> jump = jumpModel();
    if (!jump || owner == nullptr) {
        return;
    }
    if (const std::shared_ptr<KXModelAnimation> ground = jump->ground(); ground && m_groundNode == nullptr) {
        m_groundNode = new KXPAnimationObject(ground, owner, true);
        m_groundNode->setZOrder(owner->getZOrder());
        owner->addChild(m_groundNode);
        m_groundNode->setVisible(false);
    }
    if (const std::shared_ptr<KXModelAnimation> animation = jump->animation();
        animation && m_jumpNode == nullptr) {
        // Not a child yet: the display state makes it one.
        m_jumpNode = new KXPAnimationObject(animation, owner, true);
        m_jumpNode->setZOrder(wrappingAdd(owner->getZOrder(), kJumpZOrderOffset));
        m_jumpNode->setVisible(false);
        if (jump->syncronizeAnimation()) {
            m_jumpNode->stop();
        }
    }
}

void KXComponentIsoJump::inputPressed(CCObject* sender) {
    if (!senderMatches(sender, m_trigger)) {
        return;
    }
    m_held = true;
    if (!jumpModel()->activateOnRelease()) {
        m_jumpRequested = true;
    }
}

void KXComponentIsoJump::inputReleased(CCObject* sender) {
    if (!senderMatches(sender, m_trigger)) {
        return;
    }
    m_held = false;
    if (jumpModel()->activateOnRelease()) {
        m_jumpRequested = true;
    }
}

bool KXComponentIsoJump::canJump() const {
    const std::shared_ptr<KXModelComponentIsoJump> jump = jumpModel();
    return jump && m_jumpNode != nullptr && m_jumpNode->entryCount() != 0 &&
           static_cast<float>(m_jumpsDone) < jump->jumpCount() && m_owner != nullptr &&
           m_owner->getState() != KXPObject::kStateDead && m_owner->getState() != KXPObject::kStateRemoved;
}

void KXComponentIsoJump::startJump() {
    if (!canJump()) {
        return;
    }
    const std::shared_ptr<KXModelComponentIsoJump> jump = jumpModel();
    KXSound* sound = m_doubleJumpSound;
    if (!m_inAir) {
        m_jumpNode->setPosition(CCPointZero);
        sound = m_jumpSound;
    }
    if (sound != nullptr) {
        sound->play(false, false);
    }
    m_jumpVelocity = jump->jumpVelocity();
    ++m_jumpsDone;
    m_inAir = true;
    m_rising = true;
    m_riseTime = 0.0f;
    m_jumpNode->restart();
    if (KXPObjectAsset* asset = assetOwner()) {
        asset->pushAnimation(2, m_jumpNode, jump->collisionShape());
    }
    if (m_groundNode != nullptr) {
        m_groundNode->setZOrder(m_owner->getZOrder());
        m_groundNode->restart();
        m_groundNode->setVisible(true);
    }
    m_owner->setMovementEnabled(false);
    traceEvent("iso-jump", "jump", " jumps=" + std::to_string(m_jumpsDone));
}

void KXComponentIsoJump::popJumpStates() {
    KXPObjectAsset* asset = assetOwner();
    if (asset == nullptr) {
        return;
    }
    for (int index = 0; index < m_jumpsDone; ++index) {
        asset->popAnimation(2, m_jumpNode, jumpModel()->collisionShape());
    }
}

void KXComponentIsoJump::land() {
    if (m_jumpNode == nullptr || m_jumpNode->entryCount() == 0 || m_owner == nullptr) {
        return;
    }
    traceEvent("iso-jump", "land", " jumps=" + std::to_string(m_jumpsDone));
    m_airTime = 0.0f;
    m_inAir = false;
    m_rising = false;
    popJumpStates();
    m_jumpsDone = 0;
    m_jumpNode->setVisible(false);
    m_jumpNode->stop();
    m_owner->setMovementEnabled(true);
    if (KXPObjectAssetCharacter* character = dynamic_cast<KXPObjectAssetCharacter*>(m_owner)) {
        // A landing of the character's own: jump count, ground sound, bounce and its state.
        character->setOnGround(false);
        character->setOnGround(true);
    } else {
        m_owner->setState(KXPObject::kStateActive);
    }
    if (m_groundNode != nullptr) {
        m_groundNode->setVisible(false);
        m_groundNode->stop();
    }
    if (m_jumpSound != nullptr) {
        m_jumpSound->stop();
    }
    if (m_doubleJumpSound != nullptr) {
        m_doubleJumpSound->stop();
    }
}

std::vector<CCNode*> KXComponentIsoJump::liftedNodes() const {
    std::vector<CCNode*> nodes;
    KXPObjectAsset* asset = assetOwner();
    if (asset == nullptr) {
        return nodes;
    }
    if (CCNode* shown = asset->currentDisplayNode()) {
        nodes.push_back(shown);
    }
    for (KXPAnimationObject* attached : asset->attachedObjects()) {
        nodes.push_back(attached);
    }
    return nodes;
}

int KXComponentIsoJump::syncFrame(float velocityY, float startVelocityY, int frames) {
    const float limit = std::fabs(startVelocityY);
    if (!(limit > 0.0f) || !std::isfinite(velocityY) || !std::isfinite(limit)) {
        return -1;
    }
    const float clamped = std::max(-limit, std::min(limit, velocityY));
    const float share = 1.0f - (clamped + limit) / (2.0f * limit);
    return static_cast<int>(share * static_cast<float>(frames));
}

void KXComponentIsoJump::update(float dt) {
    const std::shared_ptr<KXModelComponentIsoJump> jump = jumpModel();
    if (!jump || m_owner == nullptr) {
        return;
    }
    if (m_jumpRequested) {
        m_jumpRequested = false;
        startJump();
    }
    m_enabled = m_inAir;
    if (!m_inAir) {
        if (m_jumpNode != nullptr) {
            m_jumpNode->setVisible(false);
        }
        if (jump->continuousJump() && m_held) {
            startJump();
        }
        return;
    }
    KXPObjectAsset* asset = assetOwner();
    CCNode* shown = asset != nullptr ? asset->currentDisplayNode() : nullptr;
    if (shown == nullptr) {
        land();
        return;
    }
    const float step = jump->jumpSpeed() * dt;
    m_airTime += dt;
    m_riseTime += dt;
    const std::vector<CCNode*> lifted = liftedNodes();
    for (CCNode* node : lifted) {
        node->setPosition(
            ccpAdd(node->getPosition(), CCPoint(step * m_jumpVelocity.x, step * m_jumpVelocity.y)));
    }
    if (m_airTime > jump->jumpDuration() || shown->getPositionY() <= 0.0f) {
        for (CCNode* node : lifted) {
            node->setPosition(CCPointZero);
        }
        land();
        return;
    }
    if (!m_rising) {
        const CCPoint gravity = jump->jumpGravity();
        m_jumpVelocity = ccpSub(m_jumpVelocity, CCPoint(gravity.x * step, gravity.y * step));
    }
    if (m_riseTime > jump->jumpTimeout()) {
        m_rising = false;
    }
    if (m_jumpNode != nullptr && jump->syncronizeAnimation() && m_jumpNode == shown) {
        // A jump without vertical speed has no curve to follow: its frames are left alone.
        const int frame = syncFrame(m_jumpVelocity.y, jump->jumpVelocity().y, m_jumpNode->durationInFrames());
        if (frame >= 0) {
            m_jumpNode->showImageFrame(frame);
        }
    }
}

void KXComponentIsoJump::ownerStateChanged() {
    if (m_owner == nullptr || !m_inAir ||
        (m_owner->getState() != KXPObject::kStateDead && m_owner->getState() != KXPObject::kStateRemoved)) {
        return;
    }
    m_inAir = false;
    const float height = m_jumpNode != nullptr ? m_jumpNode->getPositionY() : 0.0f;
    if (b2Body* body = m_owner->getBody(); body != nullptr && !body->GetWorld()->IsLocked()) {
        const b2Vec2 position = body->GetPosition();
        KXPBodyMotion::moveTo(body, b2Vec2(position.x, position.y + height * kMetresPerPoint),
                              body->GetAngle());
    }
    m_owner->setPositionY(m_owner->getPositionY() + height);
    popJumpStates();
    m_jumpsDone = 0;
    if (m_jumpNode != nullptr) {
        m_jumpNode->setPosition(CCPointZero);
        m_jumpNode->setVisible(false);
    }
    if (m_groundNode != nullptr) {
        m_groundNode->setVisible(false);
    }
}
