#pragma once

// Where a powerup asset writes its gameplay values. The player's live gameplay record
// implements it; the model layer cannot name that record (it sits above the model), so the
// record announces itself here when it is made.

#include "cocos2d.h"

class KXGameplayValuesTarget {
public:
    virtual ~KXGameplayValuesTarget();

    // Keeps the current values so that the powerup's end can bring them back.
    virtual void saveValues() = 0;

    virtual void setMoveSpeed(float x, float y) = 0;
    virtual void setGravity(const cocos2d::CCPoint& gravity) = 0;
    virtual void setUpForce(const cocos2d::CCPoint& force) = 0;
    virtual void setUpForceCounter(float counter) = 0;
    virtual void setUpForceDuration(float duration) = 0;
    virtual void setGroundThreshold(float threshold) = 0;
    virtual void setUpForceFromGround(bool fromGround) = 0;
    virtual void setRightLeanForce(float force) = 0;
    virtual void setLeftLeanForce(float force) = 0;
    virtual void setGameSpeedMin(float speed) = 0;
    virtual void setGameSpeedMax(float speed) = 0;
    virtual void setGameSpeedIncrease(float increase) = 0;
    virtual void setFriction(float friction) = 0;
    virtual void setSimulationTimeScale(float scale) = 0;
    virtual void setVelocityScale(float scale) = 0;
    virtual void setRotationScale(float scale) = 0;
    virtual void setBounceForce(const cocos2d::CCPoint& force) = 0;
    virtual void setRestitution(float restitution) = 0;
    virtual void setScoreMultiplier(float multiplier) = 0;
    virtual void setCharacterFriction(const cocos2d::CCPoint& friction) = 0;
    virtual void setPlatformFriction(float friction) = 0;
    virtual void setGameplayAngleDirection(float degrees) = 0;
    virtual void setFixedRotation(bool fixed) = 0;

    // The process-wide record, once the player has made it; null before that.
    static KXGameplayValuesTarget* shared();
    static void setShared(KXGameplayValuesTarget* target);
};
