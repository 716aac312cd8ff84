// The player character: the per-frame update, whose steps run in a fixed order that exported
// games are tuned to, and the choice of the one animation shown for the state.

#include "player/objects/character/KXPObjectAssetCharacter.h"

#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectAsset.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPTrace.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPPhysicsLimits.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {
constexpr float kPointsPerMetre = 20.0f;
// Auto tilt: the share of the old angle kept each frame, and how far a full speed leans.
constexpr float kTiltKept = 0.39999998f;
constexpr float kTiltReach = 0.6f;
constexpr float kTiltFullSpeed = 20.0f;
constexpr float kTiltResponse = 20.0f;
constexpr float kHalfPi = 1.5707964f;

void setVelocity(b2Body* body, const b2Vec2& velocity) {
    // Box2D leaves a static body alone and wakes the body for a non-zero velocity.
    KXPBodyMotion::setLinearVelocity(body, velocity);
}

bool hasFrames(KXPAnimationObject* node) {
    return node != nullptr && node->getChildrenCount() > 0;
}

bool isShown(KXPAnimationObject* node) {
    return node != nullptr && node->isVisible();
}
} // namespace

void KXPObjectAssetCharacter::update(float dt) {
    // Body or fixture work a locked world refused (the asset base's update is not run here).
    runParkedWorldWork();
    if (m_body != nullptr) {
        const b2Vec2 position = m_body->GetPosition();
        setPosition(ccp(position.x * kPointsPerMetre, position.y * kPointsPerMetre));
        setRotation(-(m_body->GetAngle()) * kDegreesPerRadian);
    }
    KXPObject::update(dt);
    m_frameVelocity = CCPointZero;

    // A character whose shape gave no body has nothing to move; its death still comes.
    if (m_body != nullptr) {
        applyUpForce(dt);
        applyBounce();
        if (!isDirectMovement()) {
            updateGroundContact();
        }
        applyLean();
        const CCPoint direction =
            CCPoint::forAngle(-(m_gameplay->getGameplayAngleDirection() * kRadiansPerDegree));
        const float speed = m_gameplay->getGameSpeed();
        if (!isDirectMovement()) {
            applyPhysicsMovement(direction, speed);
        } else {
            applyDirectMovement(direction, speed, dt);
        }
    }
    applyFall();

    if (m_dieNextUpdate) {
        m_dieNextUpdate = false;
        setState(kStateDead);
    }

    const CCPoint bounce = m_gameplay->getBounceForce();
    if (bounce.x != m_bounceForceSeen.x || bounce.y != m_bounceForceSeen.y) {
        m_bounceForceSeen = bounce;
        m_flags &= ~kFlagOnGround;
    }
    applyFixedRotation();
    traceFrame();
}

void KXPObjectAssetCharacter::applyUpForce(float dt) {
    if ((m_flags & kFlagUpForce) == 0) {
        return;
    }
    const CCPoint force = m_gameplay->getUpForce();
    setVelocity(m_body, b2Vec2(m_body->GetLinearVelocity().x, force.y));
    // Counted once more below, through the frame velocity, in physics movement.
    m_frameVelocity = m_frameVelocity + force;
    m_upForceTimer += dt;
    if (m_gameplay->getUpForceDuration() <= m_upForceTimer) {
        m_flags &= ~kFlagUpForce;
    }
}

void KXPObjectAssetCharacter::applyBounce() {
    if ((m_flags & kFlagBouncePending) == 0) {
        return;
    }
    const CCPoint bounce = m_gameplay->getBounceForce();
    setVelocity(m_body, b2Vec2(bounce.x, bounce.y));
    m_flags &= ~(kFlagBouncePending | kFlagUpForce);
}

void KXPObjectAssetCharacter::applyLean() {
    float spin = m_body->GetAngularVelocity();
    const bool left = (m_flags & kFlagLeftLean) != 0;
    const bool right = (m_flags & kFlagRightLean) != 0;
    // One-sided on purpose: a lean only stops adding once the spin runs its own way fast enough.
    if (left && spin > -kLeanSpinLimit) {
        spin += m_gameplay->getLeftLeanForce() * m_leanStrength;
        KXPBodyMotion::setAngularVelocity(m_body, spin);
    }
    if (right && spin < kLeanSpinLimit) {
        spin -= m_gameplay->getRightLeanForce() * m_leanStrength;
        KXPBodyMotion::setAngularVelocity(m_body, spin);
    }
    if (!left && !right) {
        KXPBodyMotion::setAngularVelocity(m_body, spin * m_gameplay->getRotationScale());
    }
}

void KXPObjectAssetCharacter::applyPhysicsMovement(const CCPoint& direction, float speed) {
    if (speed != 0.0f && m_gameplay->getForcedMovement()) {
        m_frameVelocity = m_frameVelocity + direction * speed;
    }
    const CCPoint moveSpeed = m_gameplay->getMoveSpeed();
    m_frameVelocity.x += m_axes.x * moveSpeed.x * kSteeringFactor;
    m_frameVelocity.y += moveSpeed.y * m_axes.y * kSteeringFactor;

    const b2Vec2 current = m_body->GetLinearVelocity();
    b2Vec2 velocity(current.x + m_frameVelocity.x, current.y + m_frameVelocity.y);
    // A move speed of 0 (or less) leaves that axis unclamped.
    if (moveSpeed.x > 0.0f) {
        velocity.x = std::min(std::max(velocity.x, -moveSpeed.x), moveSpeed.x);
    }
    if (moveSpeed.y > 0.0f) {
        velocity.y = std::min(std::max(velocity.y, -moveSpeed.y), moveSpeed.y);
    }
    // Air drag scales the whole velocity, the fall included.
    if ((m_flags & kFlagOnGround) == 0) {
        const CCPoint drag = m_gameplay->getCharacterFriction();
        velocity.x *= drag.x;
        velocity.y *= drag.y;
    }
    setVelocity(m_body, velocity);
}

void KXPObjectAssetCharacter::applyDirectMovement(const CCPoint& direction, float speed, float dt) {
    if (m_gameplay->getForcedMovement()) {
        const CCPoint moveSpeed = m_gameplay->getMoveSpeed();
        m_controlPosition =
            ccp(m_axes.x * moveSpeed.x + m_controlPosition.x + speed * direction.x * dt * 60.0f,
                m_axes.y * moveSpeed.y + m_controlPosition.y + speed * direction.y * dt * 60.0f);
    }
    const b2Vec2 target(m_controlPosition.x * kMetresPerPoint, m_controlPosition.y * kMetresPerPoint);
    // A target the physics cannot hold would pull the body into places that are not numbers.
    if (m_mouseJoint != nullptr && KXPPhysicsLimits::holdsPlace(target)) {
        m_mouseJoint->SetTarget(target);
    }
    const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset();
    if (asset && asset->autoTilt()) {
        const float along =
            std::min(std::max(m_body->GetLinearVelocity().x, -kTiltFullSpeed), kTiltFullSpeed);
        m_tiltAngle = m_tiltAngle * kTiltKept + (along / -kTiltFullSpeed) * kHalfPi * kTiltReach;
        KXPBodyMotion::setAngularVelocity(m_body, (m_tiltAngle - m_body->GetAngle()) * kTiltResponse);
    }
}

void KXPObjectAssetCharacter::applyFall() {
    if (!m_fallPending) {
        return;
    }
    m_fallPending = false;
    if (m_body == nullptr) {
        return;
    }
    if (b2Fixture* fixture = m_body->GetFixtureList()) {
        fixture->SetSensor(true);
    }
    const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset();
    const float fall = asset ? asset->fallAttribute() : 0.0f;
    setVelocity(m_body, b2Vec2(0.0f, fall * kPointsPerMetre));
    for (b2JointEdge* edge = m_body->GetJointList(); edge != nullptr; edge = edge->next) {
        if (edge->other != nullptr && edge->other->GetFixtureList() != nullptr) {
            edge->other->GetFixtureList()->SetSensor(true);
        }
    }
}

void KXPObjectAssetCharacter::applyFixedRotation() {
    const bool fixed = m_gameplay->getFixedRotation();
    if (m_body == nullptr || m_body->IsFixedRotation() == fixed) {
        return;
    }
    KXPBodyMass::setFixedRotation(m_body, fixed);
    if (fixed) {
        const float angle = -(m_model->animatedRotation(0.0f, 0)) * kRadiansPerDegree;
        KXPBodyMotion::moveTo(m_body, m_body->GetPosition(), angle);
    }
}

void KXPObjectAssetCharacter::traceFrame() {
    if (!kxTraceEnabled("character")) {
        return;
    }
    const b2Vec2 velocity = m_body != nullptr ? m_body->GetLinearVelocity() : b2Vec2(0.0f, 0.0f);
    kxTrace("character",
            "character state=%d pos=%.1f,%.1f vel=%.2f,%.2f ground=%d jumps=%d anim=%s scaleX=%.2f",
            static_cast<int>(m_state), getPositionX(), getPositionY(), velocity.x, velocity.y,
            isOnGround() ? 1 : 0, m_jumpCount, shownAnimationName(), getScaleX());
}

// --- the animation shown ---

void KXPObjectAssetCharacter::setVisible(bool visible) {
    KXPObjectAsset::setVisible(visible);
    KXPAnimationObject* const nodes[] = {m_defaultAnimation, m_shootingAnimation, m_jumpAnimation,
                                         m_defeatedAnimation, m_moveAnimation};
    if (!visible || (hasCurrentDisplayState() && currentDisplayNode() != nullptr)) {
        for (KXPAnimationObject* node : nodes) {
            if (isShown(node)) {
                node->setVisible(false);
            }
        }
        return;
    }

    const bool airborne = (m_flags & kFlagOnGround) == 0;
    const bool jumpShown = airborne && isShown(m_jumpAnimation);
    KXPAnimationObject* chosen = nullptr;
    switch (m_state) {
    case kStateActive:
        chosen = jumpShown                                                          ? m_jumpAnimation
                 : (m_flags & kFlagMoving) != 0 && hasFrames(m_moveAnimation)       ? m_moveAnimation
                 : (m_flags & kFlagShooting) != 0 && hasFrames(m_shootingAnimation) ? m_shootingAnimation
                                                                                    : m_defaultAnimation;
        break;
    case kStateMoving:
        chosen = jumpShown                    ? m_jumpAnimation
                 : hasFrames(m_moveAnimation) ? m_moveAnimation
                                              : m_defaultAnimation;
        break;
    case kStateShooting:
        chosen = jumpShown                        ? m_jumpAnimation
                 : isShown(m_moveAnimation)       ? m_moveAnimation
                 : hasFrames(m_shootingAnimation) ? m_shootingAnimation
                                                  : m_defaultAnimation;
        break;
    case kStateJumping:
        chosen = hasFrames(m_jumpAnimation) ? m_jumpAnimation : m_defaultAnimation;
        break;
    case kStateDead:
        chosen = hasFrames(m_defeatedAnimation) ? m_defeatedAnimation : m_defaultAnimation;
        break;
    default:
        return;
    }
    for (KXPAnimationObject* node : nodes) {
        if (node != nullptr && node->isVisible() != (node == chosen)) {
            node->setVisible(node == chosen);
        }
    }
}

const char* KXPObjectAssetCharacter::shownAnimationName() const {
    if (isShown(m_defeatedAnimation)) {
        return "defeated";
    }
    if (isShown(m_jumpAnimation)) {
        return "jump";
    }
    if (isShown(m_shootingAnimation)) {
        return "shooting";
    }
    if (isShown(m_moveAnimation)) {
        return "move";
    }
    if (isShown(m_defaultAnimation)) {
        return "default";
    }
    return "none";
}

void KXPObjectAssetCharacter::onJumpAnimationEnd() {
    if (isShown(m_jumpAnimation)) {
        m_jumpAnimation->setVisible(false);
    }
    if (m_defaultAnimation != nullptr && !m_defaultAnimation->isVisible()) {
        m_defaultAnimation->setVisible(true);
    }
}
