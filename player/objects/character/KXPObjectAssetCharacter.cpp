// The player character: construction, the body and its direct-movement joint, the controls, the
// contacts' friction and the image flip.

#include "player/objects/character/KXPObjectAssetCharacter.h"

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/physics/KXPBodyData.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPPhysicsLimits.h"
#include "player/physics/KXPStepBudget.h"
#include "player/sound/KXSound.h"

#include <cmath>

using namespace cocos2d;

namespace {
template <class Attribute> auto referenceOf(const Attribute* attribute) -> decltype(attribute->value()) {
    return attribute != nullptr ? attribute->value() : nullptr;
}

std::shared_ptr<KXModelComponentCharacterGameplaySettings>
gameplayComponentOf(const KXModelAssetCharacter& asset) {
    for (const std::shared_ptr<KXModel>& child : asset.children()) {
        if (auto settings = modelCast<KXModelComponentCharacterGameplaySettings>(child)) {
            return settings;
        }
    }
    return nullptr;
}

// Only a node that is shown goes out of sight here, and the other way round.
void hide(KXPAnimationObject* node) {
    if (node != nullptr && node->isVisible()) {
        node->setVisible(false);
    }
}
} // namespace

KXPObjectAssetCharacter::KXPObjectAssetCharacter(const std::shared_ptr<KXModelObjectAssetCharacter>& model)
    : KXPObjectAsset(model) {
    m_awake = true;
    m_collisionType = kCollisionCharacter;
    m_destroyMode = kDestroyEnemyCollision;
    setType(kTypeCharacter);
    m_linearMovement = false;

    const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset();
    if (asset) {
        m_gameplay->loadCharacterSettings(gameplayComponentOf(*asset).get());

        m_defaultAnimation = makeAnimation(referenceOf(asset->defaultAnimationAttribute()));
        m_shootingAnimation = makeAnimation(referenceOf(asset->shootingAnimationAttribute()));
        const std::shared_ptr<KXModelAnimation> jump = referenceOf(asset->jumpAnimationAttribute());
        if (jump && jump->frameCount() > 0) {
            m_jumpAnimation = makeAnimation(jump);
        }
        m_moveAnimation = makeAnimation(referenceOf(asset->moveAnimationAttribute()));
        hide(m_shootingAnimation);
        hide(m_jumpAnimation);
        hide(m_moveAnimation);

        if (!m_gameplay->getUpForceFromGround() && m_jumpAnimation != nullptr) {
            m_jumpAnimation->setFinishCallback([this] { onJumpAnimationEnd(); });
        }
    }
    m_bounceForceSeen = m_gameplay->getBounceForce();

    if (const std::shared_ptr<KXModelSound> sound =
            asset ? referenceOf(asset->shootSoundAttribute()) : nullptr) {
        m_shootSound = new KXSound(sound, KXSound::kGameObjectGroup);
        // Screen changes may delete every game sound; the character then simply has none.
        m_shootSound->setReleaseHook([this] { m_shootSound = nullptr; });
    }
}

KXPObjectAssetCharacter::~KXPObjectAssetCharacter() {
    for (KXPAnimationObject* node :
         {m_defaultAnimation, m_shootingAnimation, m_jumpAnimation, m_moveAnimation}) {
        if (node != nullptr) {
            node->setFinishCallback(nullptr);
            node->release();
        }
    }
    m_defaultAnimation = m_shootingAnimation = m_jumpAnimation = m_moveAnimation = nullptr;
    // Held only as a child, which the node base lets go of.
    m_defeatedAnimation = nullptr;
    if (m_shootSound != nullptr) {
        m_shootSound->setReleaseHook(nullptr);
        delete m_shootSound;
        m_shootSound = nullptr;
    }
    m_activePowerups.clear();
    if (m_shooter != nullptr) {
        m_shooter->release();
        m_shooter = nullptr;
    }
    // The anchor takes the joint with it; the base destroys the character's own body.
    if (m_anchorBody != nullptr && !m_anchorBody->GetWorld()->IsLocked()) {
        KXPStepBudget::bodyGoing(m_anchorBody);
        m_anchorBody->GetWorld()->DestroyBody(m_anchorBody);
    }
    m_anchorBody = nullptr;
    m_mouseJoint = nullptr;
}

std::shared_ptr<KXModelAssetCharacter> KXPObjectAssetCharacter::characterAsset() const {
    const std::shared_ptr<KXModelObjectAsset> model = assetModel();
    return model ? modelCast<KXModelAssetCharacter>(model->asset()) : nullptr;
}

KXPAnimationObject*
KXPObjectAssetCharacter::makeAnimation(const std::shared_ptr<KXModelAnimation>& animation) {
    if (!animation) {
        return nullptr;
    }
    KXPAnimationObject* node = new KXPAnimationObject(animation, nullptr, true);
    addChild(node, m_model->zDepth());
    node->setOpacityFactor(m_model->animatedOpacity(0.0f, 0));
    node->autorelease();
    node->retain();
    return node;
}

void KXPObjectAssetCharacter::playOnce(const std::shared_ptr<KXModelSound>& sound) {
    if (!sound) {
        return;
    }
    // A sound that cannot play (muted, missing file) deletes itself on the next frame.
    KXSound* effect = new KXSound(sound, KXSound::kGameObjectGroup);
    effect->setAutoDelete(true);
    effect->play(false, false);
}

// --- body ---

void KXPObjectAssetCharacter::addToWorld(b2World* world, bool skipStill) {
    if (m_body != nullptr) {
        return;
    }
    KXPObjectAsset::addToWorld(world, skipStill);
    if (m_body == nullptr) {
        return;
    }
    KXPBodyMass::setType(m_body, b2_dynamicBody);
    if (b2Fixture* fixture = m_body->GetFixtureList()) {
        b2Filter filter;
        filter.categoryBits = kCharacterCategoryBits;
        filter.maskBits = kCharacterMaskBits;
        filter.groupIndex = kCharacterGroupIndex;
        fixture->SetFilterData(filter);
        fixture->SetSensor(false);
    }
    KXPBodyMass::setFixedRotation(m_body, m_gameplay->getFixedRotation());
    m_controlPosition = getPosition();

    if (isDirectMovement()) {
        b2BodyDef anchor;
        m_anchorBody = world->CreateBody(&anchor);
        b2MouseJointDef joint;
        joint.bodyA = m_anchorBody;
        joint.bodyB = m_body;
        joint.collideConnected = false;
        joint.target.Set(m_controlPosition.x * kMetresPerPoint, m_controlPosition.y * kMetresPerPoint);
        joint.maxForce = kJointMaxForce;
        // The spring is stated as a frequency and damping ratio; Box2D wants them against the
        // pulled mass (the anchor is static, so the character's alone).
        b2LinearStiffness(joint.stiffness, joint.damping, kJointFrequency, kJointDampingRatio, m_anchorBody,
                          m_body);
        m_mouseJoint = static_cast<b2MouseJoint*>(world->CreateJoint(&joint));
    }

    buildShooter(world);
}

b2AABB KXPObjectAssetCharacter::getAABB() {
    b2AABB box = KXPObjectAsset::getAABB();
    if (m_mouseJoint != nullptr && m_body != nullptr && m_body->IsEnabled() &&
        m_body->GetFixtureList() != nullptr) {
        const b2Vec2 shift = m_mouseJoint->GetTarget() - m_body->GetWorldCenter();
        box.lowerBound += shift;
        box.upperBound += shift;
    }
    return box;
}

bool KXPObjectAssetCharacter::blocksLight() {
    if (m_state == kStateDead || m_state == kStateRemoved) {
        return false;
    }
    const std::shared_ptr<KXModelAssetCharacter> asset = characterAsset();
    return asset && asset->castShadow();
}

void KXPObjectAssetCharacter::setMovementEnabled(bool enabled) {
    KXPObjectAsset::setMovementEnabled(enabled);
    if (!isDirectMovement() || m_mouseJoint == nullptr) {
        return;
    }
    if (enabled) {
        m_controlPosition = getPosition();
        m_mouseJoint->SetMaxForce(kJointMaxForce);
    } else {
        m_mouseJoint->SetMaxForce(0.0f);
    }
}

void KXPObjectAssetCharacter::preSolve(KXPObjectAsset* other, b2Contact* contact,
                                       const b2Manifold* /*oldManifold*/) {
    if (contact == nullptr) {
        return;
    }
    const uint32_t characterUnit = kTypeCharacter | kTypeUnit;
    if (other != nullptr && ((other->getType() & characterUnit) == characterUnit || other->isSpawner())) {
        contact->SetEnabled(false);
    }
    contact->GetWorldManifold(&m_worldManifold);
    contact->SetFriction(KXPPhysicsLimits::material(m_gameplay->getPlatformFriction() *
                                                    (1.0f - std::fabs(m_worldManifold.normal.x))));
}

// --- controls ---

bool KXPObjectAssetCharacter::isDirectMovement() {
    return m_gameplay->getDirectMovement();
}

void KXPObjectAssetCharacter::setAxisX(float value) {
    if (m_movementEnabled) {
        m_axes.x = value;
    }
}

void KXPObjectAssetCharacter::setAxisY(float value) {
    if (m_movementEnabled) {
        m_axes.y = value;
    }
}

void KXPObjectAssetCharacter::setLinearVelocity(float x, float y) {
    if (isDirectMovement()) {
        moveBy(x, y);
        return;
    }
    // Box2D leaves a static body alone and wakes the body for a non-zero velocity.
    if (m_body != nullptr) {
        KXPBodyMotion::setLinearVelocity(m_body, b2Vec2(x, y));
    }
}

void KXPObjectAssetCharacter::moveBy(float dx, float dy) {
    const CCPoint speed = m_gameplay->getMoveSpeed();
    if (!isDirectMovement()) {
        setDirection(ccp(speed.x * dx + m_axes.x, speed.y * dy + m_axes.y));
        return;
    }
    m_controlPosition = m_controlPosition + ccp(speed.x * dx, speed.y * dy);
    if (dx == 0.0f && dy == 0.0f) {
        m_flags &= ~kFlagMoving;
        setState(kStateActive);
    } else {
        m_flags |= kFlagMoving;
        setState(kStateMoving);
    }
}

void KXPObjectAssetCharacter::setDirection(const CCPoint& direction) {
    if ((getType() & kTypeCarriedByPath) != 0) {
        return;
    }
    m_axes = direction;
    if (ccpLength(direction) <= 0.0f) {
        m_flags &= ~kFlagMoving;
        setState(kStateActive);
        return;
    }
    m_flags |= kFlagMoving;
    setState(kStateMoving);
    // Compared in double precision: a direction of exactly 0.1f (a little above 0.1) turns.
    const double x = direction.x;
    const float scaleX = getScaleX();
    if (m_gameplay->getImageDirection() && ((x > 0.1 && scaleX < 0.0f) || (x < -0.1 && scaleX > 0.0f))) {
        setScaleX(-scaleX);
        mirrorFixture();
    }
}

void KXPObjectAssetCharacter::mirrorFixture() {
    if (m_body == nullptr || m_body->GetWorld()->IsLocked()) {
        return;
    }
    std::shared_ptr<KXModelPolygon> shape = currentDisplayShape();
    if (!shape) {
        const std::shared_ptr<KXModelObjectAsset> model = assetModel();
        shape = model ? model->collisionShape() : nullptr;
    }
    if (!shape) {
        return;
    }
    b2FixtureDef definition = shape->fixtureDef(getScaleX(), getScaleY());
    const std::unique_ptr<b2Shape> ownedShape(const_cast<b2Shape*>(definition.shape));
    if (ownedShape == nullptr) {
        return;
    }
    // The mirrored fixture is the same fixture turned round: it keeps the material and the
    // character's collision filter, so turning changes neither the mass nor what it meets.
    if (b2Fixture* old = m_body->GetFixtureList()) {
        definition.density = old->GetDensity();
        definition.friction = old->GetFriction();
        definition.restitution = old->GetRestitution();
        definition.isSensor = old->IsSensor();
        definition.filter = old->GetFilterData();
        KXPBodyMass::destroyFixture(m_body, old);
    }
    KXPBodyData::setNode(definition, this);
    KXPBodyMass::createFixture(m_body, definition);
}
