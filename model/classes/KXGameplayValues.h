#pragma once

// The live gameplay values in one record. The general settings keep their start values in it, a
// powerup writes into the player's record through KXGameplayValuesTarget, and the player's
// record (KXPGameplaySettings) holds the values that physics, characters and camera read.

#include "base/CCGeometry.h"

struct KXGameplayValues {
    cocos2d::CCPoint gravity;
    cocos2d::CCPoint moveSpeed;
    cocos2d::CCPoint bounceForce;
    cocos2d::CCPoint upForce;
    cocos2d::CCPoint characterFriction;

    float upForceDuration = 0.0f;
    float upForceCounter = 0.0f;
    float groundThreshold = 0.0f;
    float leftLeanForce = 0.0f;
    float rightLeanForce = 0.0f;
    float simulationTimeScale = 0.0f;
    float friction = 0.0f;
    // In the general settings a drag ("Velocity Scale"); in the live record what remains of the
    // velocity each step.
    float velocityScale = 0.0f;
    float rotationScale = 0.0f;
    float restitution = 0.0f;
    float platformFriction = 0.0f;
    float scoreMultiplier = 0.0f;
    float gameSpeedMin = 0.0f;
    float gameSpeedMax = 0.0f;
    float gameSpeed = 0.0f;
    float gameSpeedIncrease = 0.0f;
    // Degrees, measured clockwise; the general settings keep theirs in an attribute instead.
    float gameplayAngleDirection = 0.0f;
    float sidesDeletionThreshold = 0.0f;
    float backDeletionThreshold = 0.0f;

    bool upForceFromGround = false;
    bool directMovement = false;
    bool forcedMovement = false;
    bool fixedRotation = false;
    bool imageDirection = false;
};

// One value of the record under a stored name, for the tables that read or write the values as
// text (the general settings' dictionary form, the record's powerup save). Exactly one of the
// three members is set.
struct KXGameplayValueField {
    const char* key;
    cocos2d::CCPoint KXGameplayValues::*point = nullptr;
    float KXGameplayValues::*number = nullptr;
    bool KXGameplayValues::*flag = nullptr;

    constexpr KXGameplayValueField(const char* name, cocos2d::CCPoint KXGameplayValues::*member)
        : key(name), point(member) {}
    constexpr KXGameplayValueField(const char* name, float KXGameplayValues::*member)
        : key(name), number(member) {}
    constexpr KXGameplayValueField(const char* name, bool KXGameplayValues::*member)
        : key(name), flag(member) {}
};
