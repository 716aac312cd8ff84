#include "model/classes/KXBaseModelObjectAssetUnit.h"

#include "model/KXModelController.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentSpawner.h"
#include "model/classes/KXModelComponentWakeup.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kObjectType = "Object Type";
constexpr const char* kMovementType = "Movement Type";
constexpr const char* kLinearVelocity = "Linear Velocity";
constexpr const char* kAngularVelocity = "Angular Velocity";
constexpr const char* kCollisionType = "Collision Type";
constexpr const char* kDestroyType = "Destroy Type";

// Velocities carry a spread in their variable part.
constexpr uint32_t kVarianceInUse = 1;

constexpr const char* kNoCollision = "kNoCollision";
constexpr const char* kCharacterCollision = "kCharacterCollision";
constexpr const char* kMovementLinear = "kMovementLinear";
constexpr const char* kMovementPhysics = "kMovementPhysics";
} // namespace

KXBaseModelObjectAssetUnit::KXBaseModelObjectAssetUnit(const std::string& name) : KXModelObjectAsset(name) {
    // The two kind texts stand ahead of every inherited attribute.
    m_objectType = new KXAttributeStringList(kObjectType, nullptr);
    insertAttribute(m_objectType, 0);
    m_movementType = new KXAttributeStringList(kMovementType, nullptr);
    insertAttribute(m_movementType, 1);
    m_linearVelocity = new KXAttributePoint(kLinearVelocity, this, kVarianceInUse);
    m_angularVelocity = new KXAttributeFloat(kAngularVelocity, this, kVarianceInUse);
    m_collisionType = new KXAttributeStringList(kCollisionType, this);
    m_destroyType = new KXAttributeStringList(kDestroyType, this);
}

KXBaseModelObjectAssetUnit::KXBaseModelObjectAssetUnit(const KXBaseModelObjectAssetUnit& source)
    : KXModelObjectAsset(source), m_objectType(boundAttribute<KXAttributeStringList>(*this, kObjectType)),
      m_movementType(boundAttribute<KXAttributeStringList>(*this, kMovementType)),
      m_linearVelocity(boundAttribute<KXAttributePoint>(*this, kLinearVelocity)),
      m_angularVelocity(boundAttribute<KXAttributeFloat>(*this, kAngularVelocity)),
      m_collisionType(boundAttribute<KXAttributeStringList>(*this, kCollisionType)),
      m_destroyType(boundAttribute<KXAttributeStringList>(*this, kDestroyType)) {}

void KXBaseModelObjectAssetUnit::attributeChanged(KXBaseAttribute* attribute, int flag) {
    KXModelObjectAsset::attributeChanged(attribute, flag);
    if (attribute != nullptr && attribute == m_objectType) {
        applyKindDefaults(m_objectType->value());
    }
}

void KXBaseModelObjectAssetUnit::applyKindDefaults(const std::string& kind) {
    // Copied: the setters below notify, and the text must not change under us.
    const std::string type = kind;
    if (type == "kDecorationObjectType") {
        setCollisionType(kNoCollision);
        setDestroyType("kDestroyNo");
        setMovementType(kMovementLinear);
    } else if (type == "kPlatformObjectType") {
        setCollisionType(kCharacterCollision);
        setDestroyType("kDestroyNo");
        setMovementType(kMovementLinear);
    } else if (type == "kPhysicsObjectType") {
        setMovementType(kMovementPhysics);
        setCollisionType(kCharacterCollision);
        setDestroyType("kDestroyNo");
    } else if (type == "kEnemyObjectType") {
        setCollisionType(kCharacterCollision);
        setDestroyType("kDestroyCollision");
        setMovementType(kMovementLinear);
    } else if (type == "kBulletObjectType" || type == "kBulletCharacterObjectType") {
        const bool characterBullet = type == "kBulletCharacterObjectType";
        setCollisionType(kNoCollision);
        setDestroyType(characterBullet ? "kDestroyEnemyCollision" : "kDestroyCollision");
        setMovementType(kMovementLinear);
        setLinearVelocity(CCPoint(characterBullet ? 20.0f : -20.0f, 0.0f));
        if (m_angularVelocity != nullptr) {
            m_angularVelocity->setValue(0.0f);
        }
    } else if (type == "kWheelObjectType") {
        setCollisionType(kCharacterCollision);
        setDestroyType("kDestroyNo");
        setMovementType(kMovementPhysics);
    }
}

void KXBaseModelObjectAssetUnit::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModelObjectAsset::childAdded(child);
    if (std::shared_ptr<KXModelComponentWakeup> wakeup = modelCast<KXModelComponentWakeup>(child)) {
        m_wakeup = wakeup;
    } else if (std::shared_ptr<KXModelComponentSpawner> spawner = modelCast<KXModelComponentSpawner>(child)) {
        m_spawner = spawner;
    }
}

void KXBaseModelObjectAssetUnit::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModelObjectAsset::childRemoved(child);
    if (child == nullptr) {
        return;
    }
    if (child == m_wakeup) {
        m_wakeup.reset();
    } else if (child == m_spawner) {
        m_spawner.reset();
    }
}

void KXBaseModelObjectAssetUnit::allChildrenRemoved() {
    KXModelObjectAsset::allChildrenRemoved();
    m_wakeup.reset();
    m_spawner.reset();
}

bool KXBaseModelObjectAssetUnit::isSpawner() const {
    return m_spawner != nullptr;
}

float KXBaseModelObjectAssetUnit::spawnRate() const {
    return m_spawner ? m_spawner->randomSpawnRate() : 1.0f;
}

std::shared_ptr<KXModelSound> KXBaseModelObjectAssetUnit::idleSound() const {
    return obstacleSound("Idle Sound");
}

const std::string& KXBaseModelObjectAssetUnit::objectType() const {
    return attributeText(m_objectType);
}
const std::string& KXBaseModelObjectAssetUnit::movementType() const {
    return attributeText(m_movementType);
}
const std::string& KXBaseModelObjectAssetUnit::collisionType() const {
    return attributeText(m_collisionType);
}
const std::string& KXBaseModelObjectAssetUnit::destroyType() const {
    return attributeText(m_destroyType);
}
CCPoint KXBaseModelObjectAssetUnit::linearVelocity() const {
    return attributeValue(m_linearVelocity);
}
CCPoint KXBaseModelObjectAssetUnit::linearVelocityVariance() const {
    return attributeVariance(m_linearVelocity);
}
float KXBaseModelObjectAssetUnit::angularVelocity() const {
    return attributeValue(m_angularVelocity);
}
float KXBaseModelObjectAssetUnit::angularVelocityVariance() const {
    return attributeVariance(m_angularVelocity);
}

void KXBaseModelObjectAssetUnit::setObjectType(const std::string& type) {
    if (m_objectType != nullptr) {
        m_objectType->setValue(type);
    }
}

void KXBaseModelObjectAssetUnit::setMovementType(const std::string& type) {
    if (m_movementType != nullptr) {
        m_movementType->setValue(type);
    }
}

void KXBaseModelObjectAssetUnit::setCollisionType(const std::string& type) {
    if (m_collisionType != nullptr) {
        m_collisionType->setValue(type);
    }
}

void KXBaseModelObjectAssetUnit::setDestroyType(const std::string& type) {
    if (m_destroyType != nullptr) {
        m_destroyType->setValue(type);
    }
}

void KXBaseModelObjectAssetUnit::setLinearVelocity(const CCPoint& velocity) {
    if (m_linearVelocity != nullptr) {
        m_linearVelocity->setValue(velocity);
    }
}

std::shared_ptr<KXModelAssetObstacle> KXBaseModelObjectAssetUnit::assetObstacle() const {
    return modelCast<KXModelAssetObstacle>(asset());
}

std::shared_ptr<KXModelAnimation> KXBaseModelObjectAssetUnit::obstacleAnimation(const char* name) const {
    std::shared_ptr<KXModelAssetObstacle> obstacle = assetObstacle();
    return obstacle ? attributeValue(attributeOfClass<KXAttributeAnimation>(*obstacle, name)) : nullptr;
}

std::shared_ptr<KXModelSound> KXBaseModelObjectAssetUnit::obstacleSound(const char* name) const {
    std::shared_ptr<KXModelAssetObstacle> obstacle = assetObstacle();
    return obstacle ? attributeValue(attributeOfClass<KXAttributeSound>(*obstacle, name)) : nullptr;
}

std::shared_ptr<KXModelAnimation> KXBaseModelObjectAssetUnit::idleAnimation() const {
    return obstacleAnimation("Idle Animation");
}

std::shared_ptr<KXModelAnimation> KXBaseModelObjectAssetUnit::defeatedAnimation() const {
    return obstacleAnimation("Defeated Animation");
}

std::shared_ptr<KXModelSound> KXBaseModelObjectAssetUnit::deathSound() const {
    return obstacleSound("Death Sound");
}

std::shared_ptr<KXModelSound> KXBaseModelObjectAssetUnit::wakeUpSound() const {
    return obstacleSound("WakeUp Sound");
}

std::string KXBaseModelObjectAssetUnit::wakeUp() const {
    return m_wakeup ? m_wakeup->wakeUp() : "kNoWakeup";
}

std::string KXBaseModelObjectAssetUnit::sleep() const {
    return m_wakeup ? m_wakeup->sleep() : "kNoSleep";
}

float KXBaseModelObjectAssetUnit::wakeupDistance() const {
    return m_wakeup ? m_wakeup->wakeupDistance() : 0.0f;
}

float KXBaseModelObjectAssetUnit::sleepDistance() const {
    return m_wakeup ? m_wakeup->sleepDistance() : 0.0f;
}

std::string KXBaseModelObjectAssetUnit::spawnAction() const {
    return m_spawner ? m_spawner->spawnAction() : std::string();
}

void KXBaseModelObjectAssetUnit::setSpawnAction(const std::string& action) {
    if (m_spawner) {
        m_spawner->setSpawnAction(action);
    }
}

void KXBaseModelObjectAssetUnit::setSpawnRate(float rate) {
    if (m_spawner) {
        m_spawner->setSpawnRate(rate);
    }
}

void KXBaseModelObjectAssetUnit::setSpawnerEnabled(bool enabled) {
    if (enabled) {
        if (isSpawner()) {
            return;
        }
        KXModelController* store = KXModelController::shared();
        std::shared_ptr<KXModel> spawner = store->createModel(KXModelComponentSpawner::staticClassName());
        if (!spawner) {
            return;
        }
        store->addModel(spawner);
        addChild(spawner, false);
        return;
    }
    if (m_spawner) {
        // Held here: removing the child empties the field.
        std::shared_ptr<KXModel> spawner = m_spawner;
        removeChild(spawner, false);
    }
}
