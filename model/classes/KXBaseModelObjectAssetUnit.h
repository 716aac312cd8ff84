#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>

class KXModelAnimation;
class KXModelAssetObstacle;
class KXModelComponentSpawner;
class KXModelComponentWakeup;
class KXModelSound;

// A placed platform, enemy, decoration, physics object, bullet or wheel: its kind, movement,
// collision and destruction, start velocities with spread, and its optional wake-up and
// spawner children. Setting the kind (with notification) fills the other choices.
class KXBaseModelObjectAssetUnit : public KXModelObjectAsset {
public:
    explicit KXBaseModelObjectAssetUnit(const std::string& name);
    // The component fields start empty: the clone's children fill them as they are added.
    KXBaseModelObjectAssetUnit(const KXBaseModelObjectAssetUnit& source);

    // Kind defaults when "Object Type" changed.
    void attributeChanged(KXBaseAttribute* attribute, int flag) override;
    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    bool isSpawner() const override;
    // The spawner's random rate; 1 without a spawner.
    float spawnRate() const override;
    // The obstacle asset's "Idle Sound"; empty for any other asset.
    std::shared_ptr<KXModelSound> idleSound() const override;

    const std::string& objectType() const;
    const std::string& movementType() const;
    const std::string& collisionType() const;
    const std::string& destroyType() const;
    cocos2d::CCPoint linearVelocity() const;
    cocos2d::CCPoint linearVelocityVariance() const;
    float angularVelocity() const;
    float angularVelocityVariance() const;

    void setObjectType(const std::string& type);
    void setMovementType(const std::string& type);
    void setCollisionType(const std::string& type);
    void setDestroyType(const std::string& type);
    void setLinearVelocity(const cocos2d::CCPoint& velocity);

    // The asset as an obstacle (exact class) and the obstacle's media; empty otherwise.
    std::shared_ptr<KXModelAssetObstacle> assetObstacle() const;
    std::shared_ptr<KXModelAnimation> idleAnimation() const;
    std::shared_ptr<KXModelAnimation> defeatedAnimation() const;
    std::shared_ptr<KXModelSound> deathSound() const;
    std::shared_ptr<KXModelSound> wakeUpSound() const;

    std::shared_ptr<KXModelComponentWakeup> wakeupComponent() const { return m_wakeup; }
    std::shared_ptr<KXModelComponentSpawner> spawnerComponent() const { return m_spawner; }

    // From the wake-up child; "kNoWakeup", "kNoSleep" and 0 without one.
    std::string wakeUp() const;
    std::string sleep() const;
    float wakeupDistance() const;
    float sleepDistance() const;

    // Forwarded to the spawner child; nothing (or the empty text) without one.
    std::string spawnAction() const;
    void setSpawnAction(const std::string& action);
    void setSpawnRate(float rate);
    // On: adds a new registered spawner child unless there is one. Off: removes it.
    void setSpawnerEnabled(bool enabled);

private:
    void applyKindDefaults(const std::string& kind);
    std::shared_ptr<KXModelAnimation> obstacleAnimation(const char* name) const;
    std::shared_ptr<KXModelSound> obstacleSound(const char* name) const;

    KXAttributeStringList* m_objectType = nullptr;
    KXAttributeStringList* m_movementType = nullptr;
    KXAttributePoint* m_linearVelocity = nullptr;
    KXAttributeFloat* m_angularVelocity = nullptr;
    KXAttributeStringList* m_collisionType = nullptr;
    KXAttributeStringList* m_destroyType = nullptr;
    std::shared_ptr<KXModelComponentWakeup> m_wakeup;
    std::shared_ptr<KXModelComponentSpawner> m_spawner;
};
