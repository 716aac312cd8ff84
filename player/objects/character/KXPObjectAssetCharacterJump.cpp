// The player character: jumps with their up force and counter, the ground test by two crossing
// rays, landing and bouncing.

#include "player/objects/character/KXPObjectAssetCharacter.h"

#include "model/classes/KXModelAssetCharacter.h"
#include "model/references/KXAttributeSound.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/objects/character/KXPObjectAssetCharacterRaycastCallback.h"
#include "player/physics/KXPPhysicsLimits.h"
#include "player/physics/KXPStepBudget.h"
#include "player/sound/KXSound.h"

#include <cmath>

using namespace cocos2d;

void KXPObjectAssetCharacter::jump() {
    // With ground jumps the first jump of a flight needs the ground; later ones do not.
    if (m_gameplay->getUpForceFromGround() && !isOnGround() && m_jumpCount == 0) {
        return;
    }
    const float counter = m_gameplay->getUpForceCounter();
    if (counter > 0.0f && static_cast<float>(m_jumpCount) >= counter) {
        return;
    }
    const CCPoint force = m_gameplay->getUpForce();
    if (force.x == 0.0f && force.y == 0.0f) {
        return;
    }
    ++m_jumpCount;
    m_flags |= kFlagUpForce;
    m_upForceTimer = 0.0f;
    if (const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset()) {
        if (KXAttributeSound* sound = asset->jumpSoundAttribute()) {
            playOnce(sound->value());
        }
    }
    if (m_movementEnabled) {
        setState(kStateJumping);
    }
    const CCPoint bounce = m_gameplay->getBounceForce();
    if (bounce.x != 0.0f && bounce.y != 0.0f) {
        m_flags &= ~kFlagOnGround;
    }
}

void KXPObjectAssetCharacter::setOnGround(bool onGround) {
    if (!onGround) {
        m_flags &= ~kFlagOnGround;
        return;
    }
    if (isOnGround()) {
        return;
    }
    m_jumpCount = 0;
    if (m_state != kStateDead) {
        if (const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset()) {
            if (KXAttributeSound* sound = asset->groundCollisionAttribute()) {
                playOnce(sound->value());
            }
        }
        if (ccpLength(m_gameplay->getBounceForce()) > 0.0f) {
            m_flags |= kFlagBouncePending;
            m_flags &= ~kFlagUpForce;
        }
    }
    // A defeated character refuses either.
    setState((m_flags & kFlagMoving) != 0 ? kStateMoving : kStateActive);
    m_flags |= kFlagOnGround;
}

void KXPObjectAssetCharacter::updateGroundContact() {
    if (m_body == nullptr || !m_body->IsEnabled()) {
        return;
    }
    if ((m_flags & kFlagUpForce) != 0) {
        m_flags &= ~kFlagOnGround;
        return;
    }
    b2Fixture* own = m_body->GetFixtureList();
    if (own == nullptr) {
        m_flags &= ~kFlagOnGround;
        return;
    }
    const b2AABB box = own->GetAABB(0);
    const float threshold = m_gameplay->getGroundThreshold();
    const b2Vec2 lower = box.lowerBound;
    const b2Vec2 upper = box.upperBound;
    // The rays cross under the bottom edge, each reaching the threshold above and below it.
    const b2Vec2 firstFrom(lower.x, lower.y + threshold);
    const b2Vec2 firstTo(upper.x, lower.y - threshold);
    const b2Vec2 secondFrom(upper.x, lower.y + threshold);
    const b2Vec2 secondTo(lower.x, lower.y - threshold);
    // Box2D aborts on a ray without length or out of its places; a threshold that is not a number
    // gives no ray.
    if (!KXPPhysicsLimits::castsRay(firstFrom, firstTo) ||
        !KXPPhysicsLimits::castsRay(secondFrom, secondTo)) {
        m_flags &= ~kFlagOnGround;
        return;
    }

    // The step budget counts what the rays look at: a crowd of characters pays the square of it.
    // A ray it does not cast (the character waits outside the physics) finds no ground.
    KXPObjectAssetCharacterRaycastCallback first(this);
    KXPObjectAsset* hit =
        KXPStepBudget::castRay(m_body, &first, firstFrom, firstTo) ? first.hitObject() : nullptr;
    if (hit == nullptr && m_body->IsEnabled()) {
        KXPObjectAssetCharacterRaycastCallback second(this);
        hit = KXPStepBudget::castRay(m_body, &second, secondFrom, secondTo) ? second.hitObject() : nullptr;
    }
    if (hit == nullptr) {
        m_flags &= ~kFlagOnGround;
        return;
    }

    // The object learns that the character touches it, every frame the character stands on it.
    hit->retain();
    hit->beginContact(this, nullptr, false);
    if (hit->isGround() && hit->getCollisionType() == kCollisionCharacter &&
        hit->getObjectKind() != kKindDecoration) {
        beginContact(hit, nullptr, false);
        setOnGround(true);
    }
    hit->release();
}
