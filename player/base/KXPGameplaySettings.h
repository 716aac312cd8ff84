#pragma once

// The live gameplay values that physics, characters, camera and powerups read every step. They
// start from the general settings, a scene's set-up and a character's gameplay-settings
// component overwrite them, and powerups change them between a save and a restore.

#include "model/classes/KXGameplayValuesTarget.h"

#include "base/CCDictionary.h"
#include "base/CCGeometry.h"

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
    // Whatever the nesting, the saved values come back and the nesting is 0 (a game scene that
    // opens while a powerup's values are in force, also when other scenes came in between);
    // nothing when the saved values are already back.
    void restoreAllValues();
    // A new engine scene starts a fresh nesting; a powerup of the old scene then restores nothing.
    // The saved values stay owed to the next restoreAllValues.
    void resetSaveNesting() { m_saveNesting = 0; }
    int32_t saveNesting() const { return m_saveNesting; }

    // The values, read and written in place (a powerup writes here).
    KXGameplayValues& gameplayValues() override { return m_values; }
    const KXGameplayValues& gameplayValues() const { return m_values; }

    cocos2d::CCPoint getGravity() const { return m_values.gravity; }
    cocos2d::CCPoint getMoveSpeed() const { return m_values.moveSpeed; }
    cocos2d::CCPoint getBounceForce() const { return m_values.bounceForce; }
    cocos2d::CCPoint getUpForce() const { return m_values.upForce; }
    cocos2d::CCPoint getCharacterFriction() const { return m_values.characterFriction; }
    float getUpForceDuration() const { return m_values.upForceDuration; }
    float getUpForceCounter() const { return m_values.upForceCounter; }
    float getGroundThreshold() const { return m_values.groundThreshold; }
    float getLeftLeanForce() const { return m_values.leftLeanForce; }
    float getRightLeanForce() const { return m_values.rightLeanForce; }
    float getSimulationTimeScale() const { return m_values.simulationTimeScale; }
    float getFriction() const { return m_values.friction; }
    float getVelocityScale() const { return m_values.velocityScale; }
    float getRotationScale() const { return m_values.rotationScale; }
    float getRestitution() const { return m_values.restitution; }
    float getPlatformFriction() const { return m_values.platformFriction; }
    float getScoreMultiplier() const { return m_values.scoreMultiplier; }
    float getGameSpeedMin() const { return m_values.gameSpeedMin; }
    float getGameSpeedMax() const { return m_values.gameSpeedMax; }
    float getGameSpeed() const { return m_values.gameSpeed; }
    float getGameSpeedIncrease() const { return m_values.gameSpeedIncrease; }
    float getGameplayAngleDirection() const { return m_values.gameplayAngleDirection; }
    float getSidesDeletionThreshold() const { return m_values.sidesDeletionThreshold; }
    float getBackDeletionThreshold() const { return m_values.backDeletionThreshold; }
    bool getUpForceFromGround() const { return m_values.upForceFromGround; }
    bool getDirectMovement() const { return m_values.directMovement; }
    bool getForcedMovement() const { return m_values.forcedMovement; }
    bool getFixedRotation() const { return m_values.fixedRotation; }
    bool getImageDirection() const { return m_values.imageDirection; }

    // The unit vector of the gameplay direction (degrees, measured clockwise).
    cocos2d::CCPoint getGameplayDirection() const;

    void setMoveSpeed(float x, float y) { m_values.moveSpeed = cocos2d::CCPoint(x, y); }
    void setGravity(const cocos2d::CCPoint& value) { m_values.gravity = value; }
    void setUpForce(const cocos2d::CCPoint& value) { m_values.upForce = value; }
    void setBounceForce(const cocos2d::CCPoint& value) { m_values.bounceForce = value; }
    void setCharacterFriction(const cocos2d::CCPoint& value) { m_values.characterFriction = value; }
    void setUpForceDuration(float value) { m_values.upForceDuration = value; }
    void setUpForceCounter(float value) { m_values.upForceCounter = value; }
    void setGroundThreshold(float value) { m_values.groundThreshold = value; }
    void setLeftLeanForce(float value) { m_values.leftLeanForce = value; }
    void setRightLeanForce(float value) { m_values.rightLeanForce = value; }
    void setSimulationTimeScale(float value) { m_values.simulationTimeScale = value; }
    void setFriction(float value) { m_values.friction = value; }
    void setVelocityScale(float value) { m_values.velocityScale = value; }
    void setRotationScale(float value) { m_values.rotationScale = value; }
    void setRestitution(float value) { m_values.restitution = value; }
    void setPlatformFriction(float value) { m_values.platformFriction = value; }
    void setScoreMultiplier(float value) { m_values.scoreMultiplier = value; }
    void setGameSpeedMin(float value) { m_values.gameSpeedMin = value; }
    void setGameSpeedMax(float value) { m_values.gameSpeedMax = value; }
    void setGameSpeed(float value) { m_values.gameSpeed = value; }
    void setGameSpeedIncrease(float value) { m_values.gameSpeedIncrease = value; }
    void setGameplayAngleDirection(float value) { m_values.gameplayAngleDirection = value; }
    void setUpForceFromGround(bool value) { m_values.upForceFromGround = value; }
    void setFixedRotation(bool value) { m_values.fixedRotation = value; }

private:
    // The saved values written back; nothing is owed any more.
    void readBackSavedValues();

    KXGameplayValues m_values;

    int32_t m_saveNesting = 0;
    // Values were saved and have not come back yet.
    bool m_savedInForce = false;
    cocos2d::CCDictionary* m_savedValues = nullptr;
    std::shared_ptr<KXModelGeneralSettings> m_generalSettings;
};

// Offset of the visible area inside the design area: with the no-border policy, the part of the
// design that the window crops on each side; otherwise the director's content offset.
cocos2d::CCPoint visibleAreaOffset();
