#include "player/objects/assets/KXPObjectAssetUnit.h"

#include "model/KXNumeric.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelPolygon.h"
#include "player/base/KXPTrace.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPOneWayPlatform.h"
#include "player/objects/assets/KXPSpawnBudget.h"
#include "player/objects/assets/KXPUnitEnums.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/sound/KXSound.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {
constexpr const char* kMovementLinear = "kMovementLinear";
constexpr const char* kMovementPhysics = "kMovementPhysics";
} // namespace

KXPObjectAssetUnit::KXPObjectAssetUnit(const std::shared_ptr<KXModelObjectAssetUnit>& model)
    : KXPObjectAsset(model) {
    m_solidContact = true;
    setType(kTypeUnit);
    if (!model) {
        return;
    }
    const float opacity = model->animatedOpacity(0.0f, 0);
    const int depth = model->zDepth();

    m_idleAnimation = makeAnimation(model->idleAnimation());
    if (m_idleAnimation != nullptr) {
        addChild(m_idleAnimation, depth);
        m_idleAnimation->setOpacityFactor(opacity);
    }
    m_defeatedAnimation = makeAnimation(model->defeatedAnimation());
    if (m_defeatedAnimation != nullptr) {
        m_defeatedAnimation->setOpacityFactor(opacity);
        m_defeatedAnimation->setZOrder(depth);
        m_defeatedAnimation->setFinishCallback([this] { onDefeatedAnimationEnd(); });
    }

    // The spreads are drawn in this order, so that a seeded game moves the same way each time.
    const CCPoint velocity = model->linearVelocity();
    const CCPoint spread = model->linearVelocityVariance();
    m_linearMovement = KXPUnitEnums::isLinearMovement(model->movementType());
    m_angularSpeed = m_linearMovement ? model->angularVelocity() +
                                            kx::randomSignedUnit() * model->angularVelocityVariance()
                                      : 0.0f;
    const float forY = kx::randomSignedUnit();
    const float forX = kx::randomSignedUnit();
    m_movementVector = ccp(velocity.x + forX * spread.x, velocity.y + forY * spread.y);
    readSettings();

    if (std::shared_ptr<KXModelSound> sound = model->wakeUpSound()) {
        m_wakeUpSound = new KXSound(sound, KXSound::kGameObjectGroup);
        // Screen changes may delete every game sound; the unit then simply has none.
        m_wakeUpSound->setReleaseHook([this] { m_wakeUpSound = nullptr; });
    }
    transformChanged();
}

KXPObjectAssetUnit::~KXPObjectAssetUnit() {
    if (m_budgetedCopy) {
        KXPSpawnBudget::copyGone();
    }
    if (isSpawner()) {
        if (KXPInputController* input = KXPInputController::existing()) {
            input->unsubscribeUnit(this);
        }
    }
    for (KXPAnimationObject* animation : {m_idleAnimation, m_defeatedAnimation}) {
        if (animation != nullptr) {
            animation->setFinishCallback(std::function<void()>());
            animation->release();
        }
    }
    m_idleAnimation = nullptr;
    m_defeatedAnimation = nullptr;
    if (m_wakeUpSound != nullptr) {
        m_wakeUpSound->setReleaseHook(nullptr);
        delete m_wakeUpSound;
        m_wakeUpSound = nullptr;
    }
}

std::shared_ptr<KXModelObjectAssetUnit> KXPObjectAssetUnit::unitModel() const {
    return std::static_pointer_cast<KXModelObjectAssetUnit>(m_model);
}

KXPAnimationObject* KXPObjectAssetUnit::makeAnimation(const std::shared_ptr<KXModelAnimation>& model) {
    if (!model) {
        return nullptr;
    }
    KXPAnimationObject* animation = new KXPAnimationObject(model, nullptr, true);
    animation->autorelease();
    animation->retain();
    return animation;
}

void KXPObjectAssetUnit::readSettings() {
    const std::shared_ptr<KXModelObjectAssetUnit> model = unitModel();
    m_objectKind = KXPUnitEnums::objectKind(model->objectType());
    m_collisionType = KXPUnitEnums::collisionType(model->collisionType());
    m_destroyMode = KXPUnitEnums::destroyMode(model->destroyType());
    m_wakeUpType = KXPUnitEnums::wakeUpType(model->wakeUp());
    m_sleepType = KXPUnitEnums::sleepType(model->sleep());
}

// --- frame ---

void KXPObjectAssetUnit::update(float dt) {
    KXPObjectAsset::update(dt);
    // The shown animation is also a child, so the base update ran it once already; exported
    // games were tuned to this second run.
    if (m_state == kStateActive && m_idleAnimation != nullptr) {
        m_idleAnimation->update(dt);
    } else if (m_state == kStateDead && m_defeatedAnimation != nullptr) {
        m_defeatedAnimation->update(dt);
    }
    if (m_startMotionPending) {
        m_startMotionPending = false;
        startMotion();
    }
    if (m_state == kStateDead && m_body != nullptr && m_body->GetFixtureList() != nullptr) {
        m_body->GetFixtureList()->SetSensor(true);
    }
    if (m_spawning && isSpawner() && isAwake()) {
        spawn();
    }
    if (m_spawnCountdown > 0.0f) {
        m_spawnCountdown -= dt;
    }
    applyChanges();
    resetComponents();
    traceFrame();
}

b2BodyType KXPObjectAssetUnit::bodyTypeInMotion() const {
    if (m_body == nullptr || m_body->GetType() != b2_staticBody || isSpawner()) {
        return KXPObjectAsset::bodyTypeInMotion();
    }
    const std::string& movement = unitModel()->movementType();
    if (movement != kMovementPhysics && movement != kMovementLinear) {
        return b2_staticBody;
    }
    return !m_linearMovement || destroysUnits() ? b2_dynamicBody : b2_kinematicBody;
}

bool KXPObjectAssetUnit::destroysUnits() const {
    return m_destroyMode == kDestroyEnemyCollision || m_destroyMode == kDestroyAllCollision;
}

void KXPObjectAssetUnit::startMotion() {
    if (m_body == nullptr) {
        return;
    }
    const std::shared_ptr<KXModelObjectAssetUnit> model = unitModel();
    if (!m_linearMovement) {
        KXPBodyMass::setType(m_body, b2_dynamicBody);
        // A second spread on top of the one the movement vector got when the unit was made.
        const CCPoint spread = model->linearVelocityVariance();
        const float forY = kx::randomSignedUnit();
        const float forX = kx::randomSignedUnit();
        const CCPoint push =
            ccpRotateByAngle(ccp(m_movementVector.x + forX * spread.x, m_movementVector.y + forY * spread.y),
                             CCPointZero, m_body->GetAngle());
        // Metres per second as they stand: physics units were tuned without the pixel scale.
        KXPBodyMotion::setLinearVelocity(m_body, m_body->GetLinearVelocity() + b2Vec2(push.x, push.y));
        const float spin = kx::randomSignedUnit();
        KXPBodyMotion::setAngularVelocity(m_body,
                                          model->angularVelocity() + spin * model->angularVelocityVariance());
        return;
    }
    // Bullets that destroy other units must see every contact on their way.
    const bool bullet = destroysUnits();
    KXPBodyMass::setType(m_body, bullet ? b2_dynamicBody : b2_kinematicBody);
    if (bullet) {
        m_body->SetBullet(true);
    }
    KXPBodyMass::setFixedRotation(m_body, true);
    m_body->SetGravityScale(0.0f);
}

void KXPObjectAssetUnit::applyChanges() {
    if (!m_positionXChange.isPending() && !m_positionYChange.isPending() && !m_rotationChange.isPending()) {
        return;
    }
    const CCPoint position = getPosition();
    const float x = m_positionXChange.applyTo(position.x);
    const float y = m_positionYChange.applyTo(position.y);
    const float rotation = m_rotationChange.applyTo(getRotation());
    m_positionXChange.clear();
    m_positionYChange.clear();
    m_rotationChange.clear();
    // The node follows the body in the next update.
    if (m_body != nullptr) {
        KXPBodyMotion::moveTo(m_body, b2Vec2(x * kMetresPerPoint, y * kMetresPerPoint),
                              -(rotation * kRadiansPerDegree));
    }
}

void KXPObjectAssetUnit::setPositionXChange(float value, const std::string& operation) {
    m_positionXChange.value = value;
    m_positionXChange.operation = operation;
}

void KXPObjectAssetUnit::setPositionYChange(float value, const std::string& operation) {
    m_positionYChange.value = value;
    m_positionYChange.operation = operation;
}

void KXPObjectAssetUnit::setRotationChange(float value, const std::string& operation) {
    m_rotationChange.value = value;
    m_rotationChange.operation = operation;
}

void KXPObjectAssetUnit::traceFrame() {
    if (!kxTraceEnabled("unit")) {
        return;
    }
    const CCPoint position = positionInObjectLayer();
    kxTrace("unit", "unit name=%s id=%u state=%d pos=%.1f,%.1f", m_model ? m_model->name().c_str() : "",
            traceId(), m_state, position.x, position.y);
}

// --- state and looks ---

void KXPObjectAssetUnit::wakeUp() {
    if (m_state == kStateRemoved || m_awake || m_body == nullptr) {
        return;
    }
    KXPObjectAsset::wakeUp();
    if (m_wakeUpSound != nullptr && m_wakeUpType != kWakeUpNone) {
        m_wakeUpSound->play(false, false);
    }
    const std::string& movement = unitModel()->movementType();
    if ((movement == kMovementPhysics || movement == kMovementLinear) && m_body->GetType() == b2_staticBody &&
        !isSpawner()) {
        m_startMotionPending = true;
    }
}

void KXPObjectAssetUnit::setState(int32_t state) {
    KXPObjectAsset::setState(state);
    if (state == kStateDead) {
        if (m_idleAnimation != nullptr) {
            m_idleAnimation->removeFromParent();
        }
        if (m_defeatedAnimation == nullptr) {
            setState(kStateRemoved);
        } else if (m_defeatedAnimation->getParent() == nullptr) {
            addChild(m_defeatedAnimation, unitModel()->zDepth());
        }
        if (std::shared_ptr<KXModelSound> sound = unitModel()->deathSound()) {
            KXSound* death = new KXSound(sound, KXSound::kGameObjectGroup);
            death->setAutoDelete(true);
            death->play(false, false);
        }
        setVisible(isVisible());
    } else if (state == kStateRemoved) {
        if (isSpawner()) {
            if (KXPInputController* input = KXPInputController::existing()) {
                input->unsubscribeUnit(this);
            }
        }
        // No release of its action reaches it any more, and it may be updated once more before
        // it leaves (a gun whose character died): a removed unit fires no more.
        m_spawning = false;
        if (m_defeatedAnimation != nullptr) {
            m_defeatedAnimation->removeFromParent();
        }
        if (m_wakeUpSound != nullptr) {
            m_wakeUpSound->stop();
        }
    }
}

void KXPObjectAssetUnit::onDefeatedAnimationEnd() {
    if (m_state == kStateDead) {
        setState(kStateRemoved);
    }
}

void KXPObjectAssetUnit::showAnimation(KXPAnimationObject* animation, bool visible) {
    if (animation != nullptr && animation->isVisible() != visible) {
        animation->setVisible(visible);
    }
}

void KXPObjectAssetUnit::setVisible(bool visible) {
    KXPObjectAsset::setVisible(visible);
    if (!visible) {
        // A copy that left the visible area has done its work.
        if ((getType() & kTypeSpawnedCopy) != 0) {
            if (m_state != kStateRemoved) {
                setState(kStateRemoved);
            }
            return;
        }
        showAnimation(m_idleAnimation, false);
        showAnimation(m_defeatedAnimation, false);
        return;
    }
    if (hasCurrentDisplayState() && currentDisplayNode() != nullptr) {
        showAnimation(m_idleAnimation, false);
        showAnimation(m_defeatedAnimation, false);
        return;
    }
    if (m_state == kStateDead) {
        showAnimation(m_idleAnimation, false);
        showAnimation(m_defeatedAnimation, true);
    } else if (m_state != kStateRemoved && !isSpawner()) {
        showAnimation(m_idleAnimation, true);
    }
}

void KXPObjectAssetUnit::setOpacityFactor(float factor) {
    KXPObjectAsset::setOpacityFactor(factor);
    const float opacity = unitModel() ? unitModel()->animatedOpacity(0.0f, 0) : 1.0f;
    for (KXPAnimationObject* animation : {m_idleAnimation, m_defeatedAnimation}) {
        if (animation != nullptr) {
            animation->setOpacityFactor(opacity * factor);
        }
    }
}

bool KXPObjectAssetUnit::blocksLight() {
    return m_collisionType != kCollisionNone;
}

CCRect KXPObjectAssetUnit::boundingRect() {
    const CCPoint position = positionInObjectLayer();
    return CCRect(position.x + m_localBounds.origin.x, position.y + m_localBounds.origin.y,
                  m_localBounds.size.width, m_localBounds.size.height);
}

void KXPObjectAssetUnit::transformChanged() {
    const CCRect content = m_idleAnimation != nullptr ? m_idleAnimation->contentRect() : CCRect();
    const float scaleX = std::fabs(getScaleX());
    const float scaleY = std::fabs(getScaleY());
    m_localBounds = CCRect(-content.size.width * 0.5f * scaleX, -content.size.height * 0.5f * scaleY,
                           content.size.width * scaleX, content.size.height * scaleY);
}

float KXPObjectAssetUnit::wakeUpDistance() {
    if (m_state == kStateRemoved) {
        return kDefaultWakeUpDistance;
    }
    switch (m_wakeUpType) {
    case kWakeUpTimeBased:
        return unitModel()->wakeupDistance();
    case kWakeUpCollisionBased:
        return -kDefaultWakeUpDistance;
    default:
        return kDefaultWakeUpDistance;
    }
}

float KXPObjectAssetUnit::sleepDistance() {
    return m_sleepType == kSleepDistanceBased ? unitModel()->sleepDistance() : 0.0f;
}

// --- world and contacts ---

void KXPObjectAssetUnit::addToWorld(b2World* world, bool skipStill) {
    // What a unit shows is what collides: nothing shown, no body.
    if (m_idleAnimation == nullptr) {
        return;
    }
    KXPObjectAsset::addToWorld(world, skipStill);
    if (isSpawner() && m_body != nullptr && m_body->GetFixtureList() != nullptr) {
        m_body->GetFixtureList()->SetSensor(true);
    }
}

bool KXPObjectAssetUnit::isGround() {
    return m_solidContact;
}

void KXPObjectAssetUnit::beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) {
    if (other == nullptr || !other->isVisible() || !isVisible() || other->getState() == kStateDead ||
        other->getState() == kStateRemoved) {
        return;
    }
    KXPObjectAsset::beginContact(other, contact, began);
    if (m_destroyMode != kDestroyNo || other->getDestroyType() != kDestroyNo) {
        applyContactDamage(this, other);
    }
    if ((other->getType() & kTypeCharacter) != 0 && m_body != nullptr && m_body->GetType() == b2_staticBody &&
        m_wakeUpType == kWakeUpCollisionBased) {
        wakeUp();
    }
    if (m_collisionType == kCollisionNone) {
        return;
    }
    const b2Vec2 normal = KXPOneWayPlatform::contactNormal(contact, m_body);
    if (began) {
        m_solidContact = isFromSolidSide(other, normal);
        if (!m_solidContact && other->getModel()) {
            m_passingObjects.push_back(other->getModel()->id());
        }
    }
}

bool KXPObjectAssetUnit::isFromSolidSide(KXPObjectAsset* other, b2Vec2 normal) {
    const std::shared_ptr<KXModelObjectAsset> own = assetModel();
    const std::shared_ptr<KXModelObjectAsset> theirs = other != nullptr ? other->assetModel() : nullptr;
    const std::shared_ptr<KXModelPolygon> shape = own ? own->collisionShape() : nullptr;
    const std::shared_ptr<KXModelPolygon> otherShape = theirs ? theirs->collisionShape() : nullptr;
    if (!shape || !otherShape) {
        return true;
    }
    b2Vec2 velocity(0.0f, 0.0f);
    if (m_body != nullptr && other->getBody() != nullptr) {
        velocity = b2MulT(m_body->GetTransform().q, other->getBody()->GetLinearVelocity());
    }
    return KXPOneWayPlatform::isFromSolidSide(shape->oneWayCollisionVector(), normal, velocity);
}

void KXPObjectAssetUnit::endContact(KXPObjectAsset* other, b2Contact* contact) {
    m_solidContact = true;
    if (contact != nullptr) {
        contact->SetEnabled(true);
    }
    if (other == nullptr || !other->getModel()) {
        return;
    }
    const auto passing = std::find(m_passingObjects.begin(), m_passingObjects.end(), other->getModel()->id());
    if (passing != m_passingObjects.end()) {
        m_passingObjects.erase(passing);
    }
}

void KXPObjectAssetUnit::preSolve(KXPObjectAsset* other, b2Contact* contact,
                                  const b2Manifold* /*oldManifold*/) {
    if (contact == nullptr || other == nullptr) {
        return;
    }
    if (other->getModel() &&
        std::count(m_passingObjects.begin(), m_passingObjects.end(), other->getModel()->id()) > 0) {
        contact->SetEnabled(false);
    }
    // A unit riding on another object does not push it.
    if ((m_attached || m_linearMovement) && getParent() == other) {
        contact->SetEnabled(false);
    }
}
