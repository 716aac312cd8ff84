#pragma once

#include "model/classes/KXModelAsset.h"

#include <memory>
#include <string>

class KXAttributeAnimation;
class KXAttributeBool;
class KXAttributeFloat;
class KXAttributePoint;
class KXAttributeSound;
class KXAttributeStringList;
class KXGameplayValuesTarget;
class KXModelAnimation;
class KXModelSound;

// A kind of powerup: its type, animations and sounds, rewards, duration and chance, camera
// effects, and the gameplay values it puts in force while it acts.
class KXBaseModelAssetPowerup : public KXModelAsset {
public:
    explicit KXBaseModelAssetPowerup(const std::string& name);
    KXBaseModelAssetPowerup(const KXBaseModelAssetPowerup& source);

    // What "Idle Animation" currently shows (its frame source); empty until it has one.
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    const std::string& powerupType() const;
    const std::string& animationPlacement() const;
    const std::string& animationBehaviour() const;
    std::shared_ptr<KXModelAnimation> idleAnimation() const;
    std::shared_ptr<KXModelAnimation> startAnimation() const;
    std::shared_ptr<KXModelSound> idleSound() const;
    std::shared_ptr<KXModelSound> startSound() const;
    std::shared_ptr<KXModelSound> endSound() const;
    // Truncated toward zero.
    int rewardCoins() const;
    int rewardPoints() const;
    int appearanceChance() const;
    bool showCoinReward() const;
    bool showPointsReward() const;
    float duration() const;
    float cameraShake() const;
    float cameraFlash() const;

    // Saves the target's values, then writes the powerup's gameplay values into it, scaled to
    // the units the game runs in.
    void applyGameplayValues(KXGameplayValuesTarget& target) const;
    // The same on the player's live gameplay record; nothing when there is none yet.
    void applyGameplayValues() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeAnimation* idleAnimationAttribute() const { return m_idleAnimation; }
    KXAttributeStringList* powerupTypeAttribute() const { return m_powerupType; }
    KXAttributeAnimation* startAnimationAttribute() const { return m_startAnimation; }
    KXAttributeStringList* animationPlacementAttribute() const { return m_animationPlacement; }
    KXAttributeStringList* animationBehaviourAttribute() const { return m_animationBehaviour; }
    KXAttributeSound* idleSoundAttribute() const { return m_idleSound; }
    KXAttributeSound* startSoundAttribute() const { return m_startSound; }
    KXAttributeSound* endSoundAttribute() const { return m_endSound; }
    KXAttributeFloat* rewardCoinsAttribute() const { return m_rewardCoins; }
    KXAttributeBool* showCoinRewardAttribute() const { return m_showCoinReward; }
    KXAttributeFloat* rewardPointsAttribute() const { return m_rewardPoints; }
    KXAttributeBool* showPointsRewardAttribute() const { return m_showPointsReward; }
    KXAttributeFloat* durationAttribute() const { return m_duration; }
    KXAttributeFloat* appearanceChanceAttribute() const { return m_appearanceChance; }
    KXAttributeFloat* cameraShakeAttribute() const { return m_cameraShake; }
    KXAttributeFloat* cameraFlashAttribute() const { return m_cameraFlash; }
    KXAttributePoint* maxSpeedAttribute() const { return m_maxSpeed; }
    KXAttributePoint* gravityAttribute() const { return m_gravity; }
    KXAttributePoint* jumpForceAttribute() const { return m_jumpForce; }
    KXAttributeFloat* jumpCounterAttribute() const { return m_jumpCounter; }
    KXAttributeFloat* jumpTimeoutAttribute() const { return m_jumpTimeout; }
    KXAttributeFloat* groundThresholdAttribute() const { return m_groundThreshold; }
    KXAttributeBool* jumpFromGroundAttribute() const { return m_jumpFromGround; }
    KXAttributeFloat* rightLeanForceAttribute() const { return m_rightLeanForce; }
    KXAttributeFloat* leftLeanForceAttribute() const { return m_leftLeanForce; }
    KXAttributeFloat* gameSpeedMinAttribute() const { return m_gameSpeedMin; }
    KXAttributeFloat* gameSpeedMaxAttribute() const { return m_gameSpeedMax; }
    KXAttributeFloat* speedIncreaseAttribute() const { return m_speedIncrease; }
    KXAttributeFloat* frictionAttribute() const { return m_friction; }
    KXAttributeFloat* timeWarpAttribute() const { return m_timeWarp; }
    KXAttributeFloat* velocityDragAttribute() const { return m_velocityDrag; }
    KXAttributeFloat* rotationDragAttribute() const { return m_rotationDrag; }
    KXAttributePoint* bounceForceAttribute() const { return m_bounceForce; }
    KXAttributeFloat* bounceAttribute() const { return m_bounce; }
    KXAttributeFloat* scoreMultiplierAttribute() const { return m_scoreMultiplier; }
    KXAttributePoint* airDragAttribute() const { return m_airDrag; }
    KXAttributeFloat* platformFrictionAttribute() const { return m_platformFriction; }
    KXAttributeFloat* gameDirectionAttribute() const { return m_gameDirection; }
    KXAttributeBool* fixedRotationAttribute() const { return m_fixedRotation; }

private:
    KXAttributeAnimation* m_idleAnimation = nullptr;
    KXAttributeStringList* m_powerupType = nullptr;
    KXAttributeAnimation* m_startAnimation = nullptr;
    KXAttributeStringList* m_animationPlacement = nullptr;
    KXAttributeStringList* m_animationBehaviour = nullptr;
    KXAttributeSound* m_idleSound = nullptr;
    KXAttributeSound* m_startSound = nullptr;
    KXAttributeSound* m_endSound = nullptr;
    KXAttributeFloat* m_rewardCoins = nullptr;
    KXAttributeBool* m_showCoinReward = nullptr;
    KXAttributeFloat* m_rewardPoints = nullptr;
    KXAttributeBool* m_showPointsReward = nullptr;
    KXAttributeFloat* m_duration = nullptr;
    KXAttributeFloat* m_appearanceChance = nullptr;
    KXAttributeFloat* m_cameraShake = nullptr;
    KXAttributeFloat* m_cameraFlash = nullptr;
    KXAttributePoint* m_maxSpeed = nullptr;
    KXAttributePoint* m_gravity = nullptr;
    KXAttributePoint* m_jumpForce = nullptr;
    KXAttributeFloat* m_jumpCounter = nullptr;
    KXAttributeFloat* m_jumpTimeout = nullptr;
    KXAttributeFloat* m_groundThreshold = nullptr;
    KXAttributeBool* m_jumpFromGround = nullptr;
    KXAttributeFloat* m_rightLeanForce = nullptr;
    KXAttributeFloat* m_leftLeanForce = nullptr;
    KXAttributeFloat* m_gameSpeedMin = nullptr;
    KXAttributeFloat* m_gameSpeedMax = nullptr;
    KXAttributeFloat* m_speedIncrease = nullptr;
    KXAttributeFloat* m_friction = nullptr;
    KXAttributeFloat* m_timeWarp = nullptr;
    KXAttributeFloat* m_velocityDrag = nullptr;
    KXAttributeFloat* m_rotationDrag = nullptr;
    KXAttributePoint* m_bounceForce = nullptr;
    KXAttributeFloat* m_bounce = nullptr;
    KXAttributeFloat* m_scoreMultiplier = nullptr;
    KXAttributePoint* m_airDrag = nullptr;
    KXAttributeFloat* m_platformFriction = nullptr;
    KXAttributeFloat* m_gameDirection = nullptr;
    KXAttributeBool* m_fixedRotation = nullptr;
};
