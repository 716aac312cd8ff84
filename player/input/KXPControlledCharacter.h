#pragma once

// What the input controller and the camera ask of a playable character: the controls it obeys
// and the node it lives in. The character object implements it beside its asset base, so the
// controller can be driven (and tested) without the character's own physics.

#include "cocos2d.h"

class KXPObject;

class KXPControlledCharacter {
public:
    virtual ~KXPControlledCharacter() = default;

    // The character's runtime object: its state, position, physics box and z-order.
    virtual KXPObject* characterObject() = 0;

    // Keeps the speed of the kept velocity and points it along `direction`.
    virtual void setDirection(const cocos2d::CCPoint& direction) = 0;
    // Starts a jump (the character's own rules may refuse it) / ends the up force.
    virtual void jump() = 0;
    virtual void endJump() = 0;
    virtual void startLeftLean() = 0;
    virtual void stopLeftLean() = 0;
    virtual void startRightLean() = 0;
    virtual void stopRightLean() = 0;
    // How hard the leans turn, 0 to 1 (the tilt sets it; 1 until then).
    virtual void setLeanStrength(float strength) = 0;
    virtual void setShooting(bool shooting) = 0;
    // Moves by a control vector (on-screen joystick).
    virtual void moveBy(float x, float y) = 0;
    // Gamepad axes.
    virtual void setAxisX(float value) = 0;
    virtual void setAxisY(float value) = 0;
    // Ends every running timed powerup effect.
    virtual void clearActivePowerups() = 0;

    // Directly moved characters go where their control position is.
    virtual bool isDirectMovement() = 0;
    virtual cocos2d::CCPoint getControlPosition() = 0;
    virtual void setControlPosition(const cocos2d::CCPoint& position) = 0;
    // Places the body (and the bodies jointed to it) at the point, in points.
    virtual void setBodyPosition(float x, float y) = 0;
};
