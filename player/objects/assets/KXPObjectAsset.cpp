#include "player/objects/assets/KXPObjectAsset.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponent.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelPolygon.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPGeometry.h"
#include "player/components/KXComponent.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/physics/KXPBodyData.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPPhysicsLimits.h"
#include "player/physics/KXPStepBudget.h"
#include "player/sound/KXSound.h"

#include <cmath>
#include <set>

using namespace cocos2d;

namespace {
// The object's fixtures are built from its own shape with these values.
void applyOwnFixtureValues(b2FixtureDef& definition, const KXPGameplaySettings& values) {
    definition.density = KXPObjectAsset::kFixtureDensity;
    definition.friction = KXPPhysicsLimits::friction(values.getFriction());
    definition.restitution = KXPPhysicsLimits::material(values.getRestitution());
}
} // namespace

KXPObjectAsset::KXPObjectAsset(const std::shared_ptr<KXModelObjectAsset>& model)
    : KXPObject(model), m_gameplay(KXPGameplaySettings::shared()),
      m_currentDisplayState(m_displayStates.end()) {
    addNodeKinds(kNodeKind);
    if (!model) {
        return;
    }
    setPosition(model->animatedPosition(0.0f, 0));
    setRotation(model->animatedRotation(0.0f, 0));
    const CCPoint scale = model->animatedScale(0.0f, 0);
    setScaleX(scale.x);
    setScaleY(scale.y);

    if (std::shared_ptr<KXModelSound> sound = model->idleSound()) {
        m_ownSound = new KXSound(sound, KXSound::kGameObjectGroup);
        // Screen changes may delete every game sound; the object then simply has none.
        m_ownSound->setReleaseHook([this] { m_ownSound = nullptr; });
    }

    if (std::shared_ptr<KXModelAsset> asset = model->asset()) {
        for (const std::shared_ptr<KXModel>& child : asset->children()) {
            if (std::shared_ptr<KXModelComponent> component = modelKindCast<KXModelComponent>(child)) {
                attachComponent(KXComponent::create(component));
            }
        }
    }
}

KXPObjectAsset::~KXPObjectAsset() {
    // The asset's own removal, whatever a kind made of setState.
    setAssetState(kStateRemoved);
    if (m_body != nullptr) {
        b2World* world = m_body->GetWorld();
        if (world->IsLocked()) {
            // Box2D may not lose a body inside its step. The body stays until the world goes, as a
            // sensor nobody answers for, so it neither collides nor reaches this deleted object.
            debugLog("[KXPObjectAsset] body left in the world: deleted during the physics step");
            KXPBodyData::clear(m_body);
            for (b2Fixture* fixture = m_body->GetFixtureList(); fixture != nullptr;
                 fixture = fixture->GetNext()) {
                fixture->SetSensor(true);
            }
        } else {
            KXPStepBudget::bodyGoing(m_body);
            world->DestroyBody(m_body);
        }
        m_body = nullptr;
    }
    delete m_ownSound;
    m_ownSound = nullptr;
    m_listeners.clear();
    m_attachedObjects.clear();
    m_displayStates.clear();
    m_hasCurrentDisplayState = false;
}

std::shared_ptr<KXModelObjectAsset> KXPObjectAsset::assetModel() const {
    return std::static_pointer_cast<KXModelObjectAsset>(m_model);
}

// --- world ---

void KXPObjectAsset::addToWorld(b2World* world, bool skipStill) {
    if (world == nullptr || m_body != nullptr) {
        return;
    }
    if (world->IsLocked()) {
        m_parkedWorld = world;
        m_parkedSkipStill = skipStill;
        return;
    }
    if (getScaleX() == 0.0f || getScaleY() == 0.0f) {
        return;
    }
    const bool still = m_collisionType == kCollisionNone && m_destroyMode == kDestroyNo &&
                       ccpLength(m_movementVector) == 0.0f && m_angularSpeed == 0.0f && m_linearMovement &&
                       !isSpawner();
    if (still && skipStill) {
        return;
    }
    const std::shared_ptr<KXModelObjectAsset> model = assetModel();
    const std::shared_ptr<KXModelPolygon> shape = model ? model->collisionShape() : nullptr;
    if (!shape || shape->isEmpty()) {
        return;
    }
    if (!shape->fitsThePhysics(getScaleX(), getScaleY())) {
        debugLog("[KXPObjectAsset] - %s (model %u) has no body: at scale %g x %g its shape reaches further "
                 "than the physics can carry (%g m)",
                 model->name().c_str(), model->id(), static_cast<double>(getScaleX()),
                 static_cast<double>(getScaleY()), static_cast<double>(KXModelPolygon::kMaxReachMetres));
        return;
    }
    b2FixtureDef fixture = shape->fixtureDef(getScaleX(), getScaleY());
    const std::unique_ptr<b2Shape> ownedShape(const_cast<b2Shape*>(fixture.shape));
    if (ownedShape == nullptr) {
        debugLog("[KXPObjectAsset] - %s (model %u) has no body: at scale %g x %g its %d points make no "
                 "shape the physics can use",
                 model->name().c_str(), model->id(), static_cast<double>(getScaleX()),
                 static_cast<double>(getScaleY()), shape->pointCount());
        return;
    }
    applyOwnFixtureValues(fixture, *m_gameplay);
    if (m_collisionType == kCollisionNone) {
        fixture.isSensor = true;
    }
    KXPBodyData::setNode(fixture, this);

    b2BodyDef definition;
    definition.type = b2_staticBody;
    const CCAffineTransform transform = nodeToParentTransform();
    definition.position.Set(transform.tx * kMetresPerPoint, transform.ty * kMetresPerPoint);
    definition.angle = -(getRotation() * kRadiansPerDegree);
    // A damaged position or rotation would stop the physics engine outright.
    if (!KXPPhysicsLimits::holdsTransform(definition.position, definition.angle)) {
        debugLog("[KXPObjectAsset] - %s (model %u) has no body: at %g, %g m and %g radians, which the "
                 "physics cannot hold",
                 model->name().c_str(), model->id(), static_cast<double>(definition.position.x),
                 static_cast<double>(definition.position.y), static_cast<double>(definition.angle));
        return;
    }

    m_body = world->CreateBody(&definition);
    KXPBodyMass::createFixture(m_body, fixture);
    m_body->SetSleepingAllowed(false);
    KXPBodyData::setNode(m_body, this);
    // Paths catch only objects with a body: their index of the layer follows this.
    noteChangeToParentWatch();
}

void KXPObjectAsset::runParkedWorldWork() {
    if (m_parkedWorld != nullptr && !m_parkedWorld->IsLocked()) {
        b2World* world = m_parkedWorld;
        m_parkedWorld = nullptr;
        addToWorld(world, m_parkedSkipStill);
    }
    if (m_parkedFixtureChange && m_body != nullptr && !m_body->GetWorld()->IsLocked()) {
        m_parkedFixtureChange = false;
        if (m_parkedFixtureRestore) {
            restoreModelFixture();
        } else {
            replaceFixture(m_parkedFixtureShape);
        }
        m_parkedFixtureShape.reset();
    }
}

void KXPObjectAsset::setBodyPosition(float x, float y) {
    if (m_body == nullptr || m_body->GetWorld()->IsLocked()) {
        return;
    }
    const b2Vec2 target(x * kMetresPerPoint, y * kMetresPerPoint);
    const b2Vec2 offset = target - m_body->GetPosition();
    if (!KXPBodyMotion::moveTo(m_body, target, m_body->GetAngle())) {
        return;
    }
    // Put somewhere else at once: the step budget counts what it lands in.
    KXPStepBudget::noteEntering(m_body);
    std::set<b2Body*> moved{m_body};
    for (b2JointEdge* edge = m_body->GetJointList(); edge != nullptr; edge = edge->next) {
        b2Body* other = edge->other;
        if (other != nullptr && moved.insert(other).second) {
            KXPBodyMotion::moveTo(other, other->GetPosition() + offset, other->GetAngle());
        }
    }
}

// --- frame ---

void KXPObjectAsset::update(float dt) {
    runParkedWorldWork();
    KXPObject::update(dt);
    updateSoundVolume(dt);
    if (m_body == nullptr) {
        return;
    }

    if (!m_awake && distanceFromCharacters() < wakeUpDistance()) {
        wakeUp();
    }
    if (!m_asleep && m_sleepType == kSleepDistanceBased && sleepDistance() < m_travelledDistance) {
        m_asleep = true;
    }
    if (m_asleep && m_body->GetType() != b2_staticBody) {
        KXPBodyMotion::setLinearVelocity(m_body, b2Vec2(0.0f, 0.0f));
        KXPBodyMotion::setAngularVelocity(m_body, 0.0f);
    }

    if (!m_attached) {
        if (m_linearMovement) {
            if (m_awake && !m_asleep && m_movementEnabled) {
                const CCPoint velocity =
                    ccpRotateByAngle(m_movementVector, CCPointZero, -(getRotation() * kRadiansPerDegree));
                m_travelledDistance += ccpLength(velocity) * dt * kVelocityTimeScale;
                KXPBodyMotion::setLinearVelocity(m_body,
                                                 b2Vec2(velocity.x * kMetresPerPoint * kVelocityTimeScale,
                                                        velocity.y * kMetresPerPoint * kVelocityTimeScale));
                KXPBodyMotion::setAngularVelocity(m_body, m_angularSpeed * kAngularVelocityScale);
            } else {
                m_travelledDistance += (m_body->GetLinearVelocity().Length() / kMetresPerPoint) * dt;
            }
        }
        const b2Vec2 position = m_body->GetPosition();
        setPosition(ccp(position.x / kMetresPerPoint, position.y / kMetresPerPoint));
        setRotation(-(m_body->GetAngle() * kDegreesPerRadian));
    } else if (m_layer != nullptr && !m_body->GetWorld()->IsLocked()) {
        const CCAffineTransform inLayer = CCAffineTransformConcat(
            nodeToWorldTransform(), CCAffineTransformInvert(m_layer->nodeToWorldTransform()));
        KXPBodyMotion::moveTo(m_body, b2Vec2(inLayer.tx * kMetresPerPoint, inLayer.ty * kMetresPerPoint),
                              -std::atan2(-inLayer.b, inLayer.a));
    }

    if (m_body->GetType() != b2_staticBody) {
        KXPBodyMotion::setLinearVelocity(m_body,
                                         m_gameplay->getVelocityScale() * m_body->GetLinearVelocity());
    }

    if (m_dieNextUpdate) {
        m_dieNextUpdate = false;
        setState(kStateDead);
    }
}

void KXPObjectAsset::updateSoundVolume(float dt) {
    if (m_ownSound == nullptr || m_layer == nullptr) {
        return;
    }
    const float limit = CCDirector::sharedDirector()->getWinSize().width * 0.5f + 300.0f;
    const float distance = std::fabs(distanceFromScreenCentre());
    float volume = distance > limit ? 0.0f : 1.0f - distance / limit;
    if (!KXPInputController::shared()->hasLiveCharacters()) {
        volume = std::max(0.0f, m_ownSound->getVolume() - dt);
    }
    if (m_ownSound->state() != KXSound::kStopped && volume == 0.0f) {
        m_ownSound->stop();
    } else if (m_ownSound->state() == KXSound::kStopped && volume > 0.0f && m_state == kStateActive) {
        m_ownSound->play(true, false);
    }
    if (m_ownSound->state() == KXSound::kPlaying) {
        m_ownSound->setVolume(volume);
    }
}

// --- distances ---

CCPoint KXPObjectAsset::positionInObjectLayer() {
    CCPoint position = getPosition();
    CCNode* parent = getParent();
    if (m_layer != nullptr && parent != nullptr && parent != m_layer) {
        position = m_layer->convertToNodeSpace(parent->convertToWorldSpace(position));
    }
    return position;
}

namespace {
// Signed distance from `reference` to the foot of `point` on the line through `reference` along
// `direction`: positive when the foot lies ahead.
float distanceAlong(const CCPoint& reference, const CCPoint& direction, const CCPoint& point) {
    const CCPoint foot =
        projectPointOnLine(reference - direction * 10000.0f, reference + direction * 10000.0f, point);
    const float distance = ccpDistance(reference, foot);
    const CCPoint towards = ccpNormalize(foot - reference);
    return towards.fuzzyEquals(ccpNormalize(direction), 0.05f) ? distance : -distance;
}
} // namespace

float KXPObjectAsset::distanceFromCharacters() {
    return distanceAlong(KXPInputController::shared()->charactersPosition(),
                         m_gameplay->getGameplayDirection(), positionInObjectLayer());
}

float KXPObjectAsset::distanceFromScreenCentre() {
    if (m_layer == nullptr) {
        return 0.0f;
    }
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    const CCPoint layer = m_layer->getPosition();
    const CCPoint centre(window.width * 0.5f - layer.x, window.height * 0.5f - layer.y);
    return distanceAlong(centre, m_gameplay->getGameplayDirection(), getPosition());
}

// --- movement and spawning ---

void KXPObjectAsset::setDirection(const CCPoint& direction) {
    const float length = ccpLength(m_movementVector);
    m_movementVector = ccp(direction.x * length, direction.y * length);
}

void KXPObjectAsset::setSpawning(bool spawning) {
    m_spawning = spawning;
    if (m_resettingSpawner) {
        m_spawnCountdown = 0.0f;
    }
}

void KXPObjectAsset::spawn() {}

float KXPObjectAsset::wakeUpDistance() {
    return 1000.0f;
}

float KXPObjectAsset::sleepDistance() {
    return 0.0f;
}

void KXPObjectAsset::transformChanged() {}

bool KXPObjectAsset::isGround() {
    return true;
}

bool KXPObjectAsset::hasActivePowerups() {
    return false;
}

// --- attached animations ---

void KXPObjectAsset::attachObject(KXPAnimationObject* node) {
    if (node == nullptr || m_attachedObjects.count(node) > 0) {
        return;
    }
    // The old parent may hold the last reference.
    node->retain();
    node->removeFromParent();
    addChild(node);
    node->release();
    node->restart();
    node->setVisible(true);
    m_attachedObjects.insert(node);
}

void KXPObjectAsset::detachObject(KXPAnimationObject* node) {
    if (m_attachedObjects.count(node) == 0) {
        return;
    }
    if (node->getParent() == this) {
        removeChild(node, true);
    }
    m_attachedObjects.erase(node);
}
