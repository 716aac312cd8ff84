#pragma once

// The live gameplay values that physics, characters, camera and powerups read every step. They
// start from the general settings, a scene's set-up and a character's gameplay-settings
// component overwrite them, and powerups change them between a save and a restore.

#include "model/classes/KXGameplayValuesTarget.h"

#include "cocos2d.h"

#include <cstdint>
#include <memory>

class KXModelGeneralSettings;
class KXBaseModelScreenScene;
class KXBaseModelComponentCharacterGameplaySettings;

class KXPGameplaySettings : public KXGameplayValuesTarget {
public:
    // The process-wide record, made from the shared general settings on first use and never
    // destroyed; it is also the target of the powerup assets' applyGameplayValues().
    static KXPGameplaySettings* shared();

    // A record with the start values of `settings` (the shared one uses the shared settings).
    explicit KXPGameplaySettings(const std::shared_ptr<KXModelGeneralSettings>& settings);
    ~KXPGameplaySettings() override;
    KXPGameplaySettings(const KXPGameplaySettings&) = delete;
    KXPGameplaySettings& operator=(const KXPGameplaySettings&) = delete;

    // The scene's physics, speed, direction and deletion values (12 of them).
    void loadSceneSettings(const KXBaseModelScreenScene* scene);
    // The character's movement and control values (16 of them); nothing without a model.
    void loadCharacterSettings(const KXBaseModelComponentCharacterGameplaySettings* character);

    // Nested saves: only the outermost save writes, only the matching restore reads back, so
    // overlapping powerups end with the values from before the first of them. A restore without
    // a save does nothing.
    void saveValues() override;
    void restoreValues();
    // A new engine scene starts a fresh nesting; a powerup of the old scene then restores nothing.
    void resetSaveNesting() { m_saveNesting = 0; }
    int32_t saveNesting() const { return m_saveNesting; }

    cocos2d::CCPoint gravity() const { return m_gravity; }
    cocos2d::CCPoint moveSpeed() const { return m_moveSpeed; }
    cocos2d::CCPoint bounceForce() const { return m_bounceForce; }
    cocos2d::CCPoint upForce() const { return m_upForce; }
    float upForceDuration() const { return m_upForceDuration; }
    float upForceCounter() const { return m_upForceCounter; }
    float groundThreshold() const { return m_groundThreshold; }
    float leftLeanForce() const { return m_leftLeanForce; }
    float rightLeanForce() const { return m_rightLeanForce; }
    float simulationTimeScale() const { return m_simulationTimeScale; }
    float friction() const { return m_friction; }
    cocos2d::CCPoint characterFriction() const { return m_characterFriction; }
    float velocityScale() const { return m_velocityScale; }
    float rotationScale() const { return m_rotationScale; }
    float restitution() const { return m_restitution; }
    float platformFriction() const { return m_platformFriction; }
    float scoreMultiplier() const { return m_scoreMultiplier; }
    bool upForceFromGround() const { return m_upForceFromGround; }
    bool directMovement() const { return m_directMovement; }
    bool forcedMovement() const { return m_forcedMovement; }
    bool fixedRotation() const { return m_fixedRotation; }
    bool imageDirection() const { return m_imageDirection; }
    float gameSpeedMin() const { return m_gameSpeedMin; }
    float gameSpeedMax() const { return m_gameSpeedMax; }
    float gameSpeed() const { return m_gameSpeed; }
    float gameSpeedIncrease() const { return m_gameSpeedIncrease; }
    float gameplayAngleDirection() const { return m_gameplayAngleDirection; }
    float sidesDeletionThreshold() const { return m_sidesDeletionThreshold; }
    float backDeletionThreshold() const { return m_backDeletionThreshold; }

    // The unit vector of the gameplay direction (degrees, measured clockwise).
    cocos2d::CCPoint getGameplayDirection() const;

    void setBounceForce(const cocos2d::CCPoint& force) override { m_bounceForce = force; }
    void setCharacterFriction(const cocos2d::CCPoint& friction) override { m_characterFriction = friction; }
    void setFriction(float friction) override { m_friction = friction; }
    void setGameSpeedIncrease(float increase) override { m_gameSpeedIncrease = increase; }
    void setGameSpeedMax(float speed) override { m_gameSpeedMax = speed; }
    void setGameSpeedMin(float speed) override { m_gameSpeedMin = speed; }
    void setGameplayAngleDirection(float degrees) override { m_gameplayAngleDirection = degrees; }
    void setGravity(const cocos2d::CCPoint& gravity) override { m_gravity = gravity; }
    void setGroundThreshold(float threshold) override { m_groundThreshold = threshold; }
    void setLeftLeanForce(float force) override { m_leftLeanForce = force; }
    void setMoveSpeed(float x, float y) override { m_moveSpeed = cocos2d::CCPoint(x, y); }
    void setPlatformFriction(float friction) override { m_platformFriction = friction; }
    void setRestitution(float restitution) override { m_restitution = restitution; }
    void setRightLeanForce(float force) override { m_rightLeanForce = force; }
    void setRotationScale(float scale) override { m_rotationScale = scale; }
    void setScoreMultiplier(float multiplier) override { m_scoreMultiplier = multiplier; }
    void setSimulationTimeScale(float scale) override { m_simulationTimeScale = scale; }
    void setUpForce(const cocos2d::CCPoint& force) override { m_upForce = force; }
    void setUpForceCounter(float counter) override { m_upForceCounter = counter; }
    void setUpForceDuration(float duration) override { m_upForceDuration = duration; }
    void setUpForceFromGround(bool fromGround) override { m_upForceFromGround = fromGround; }
    void setVelocityScale(float scale) override { m_velocityScale = scale; }
    // Written by powerups directly and by the fixed-step gameplay.
    void setFixedRotation(bool fixed) override { m_fixedRotation = fixed; }
    void setGameSpeed(float speed) { m_gameSpeed = speed; }

private:
    cocos2d::CCPoint m_gravity;
    cocos2d::CCPoint m_moveSpeed;
    cocos2d::CCPoint m_bounceForce;
    cocos2d::CCPoint m_upForce;
    float m_upForceDuration = 0.0f;
    float m_upForceCounter = 0.0f;
    float m_groundThreshold = 0.0f;
    float m_leftLeanForce = 0.0f;
    float m_rightLeanForce = 0.0f;
    float m_simulationTimeScale = 0.0f;
    float m_friction = 0.0f;
    cocos2d::CCPoint m_characterFriction;
    float m_velocityScale = 0.0f;
    float m_rotationScale = 0.0f;
    float m_restitution = 0.0f;
    float m_platformFriction = 0.0f;
    float m_scoreMultiplier = 0.0f;
    bool m_upForceFromGround = false;
    bool m_directMovement = false;
    bool m_forcedMovement = false;
    bool m_fixedRotation = false;
    bool m_imageDirection = false;
    float m_gameSpeedMin = 0.0f;
    float m_gameSpeedMax = 0.0f;
    float m_gameSpeed = 0.0f;
    float m_gameSpeedIncrease = 0.0f;
    float m_gameplayAngleDirection = 0.0f;
    float m_sidesDeletionThreshold = 0.0f;
    float m_backDeletionThreshold = 0.0f;

    int32_t m_saveNesting = 0;
    cocos2d::CCDictionary* m_savedValues = nullptr;
    std::shared_ptr<KXModelGeneralSettings> m_generalSettings;
};

// Offset of the visible area inside the design area: with the no-border policy, the part of the
// design that the window crops on each side; otherwise the director's content offset.
cocos2d::CCPoint visibleAreaOffset();
