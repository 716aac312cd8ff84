#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelComponent.h"

#include <string>

// A character's own physics and control values, taken over by the live gameplay values
// while the character plays.
class KXBaseModelComponentCharacterGameplaySettings : public KXModelComponent {
public:
    explicit KXBaseModelComponentCharacterGameplaySettings(const std::string& name);
    KXBaseModelComponentCharacterGameplaySettings(
        const KXBaseModelComponentCharacterGameplaySettings& source);

    cocos2d::CCPoint maxSpeed() const { return attributeValueOf(m_maxSpeed); }
    cocos2d::CCPoint bounceForce() const { return attributeValueOf(m_bounceForce); }
    cocos2d::CCPoint jumpForce() const { return attributeValueOf(m_jumpForce); }
    float jumpTimeout() const;
    float jumpCounter() const;
    float groundThreshold() const;
    bool jumpFromGround() const;
    float leftLeanForce() const;
    float rightLeanForce() const;
    float platformFriction() const;
    float rotationDrag() const;
    cocos2d::CCPoint airDrag() const { return attributeValueOf(m_airDrag); }
    bool directMovement() const;
    bool forcedMovement() const;
    bool fixedRotation() const;
    bool imageDirection() const;

private:
    static cocos2d::CCPoint attributeValueOf(const KXAttributePoint* point);

    KXAttributePoint* m_maxSpeed = nullptr;
    KXAttributePoint* m_bounceForce = nullptr;
    KXAttributePoint* m_jumpForce = nullptr;
    KXAttributeFloat* m_jumpTimeout = nullptr;
    KXAttributeFloat* m_jumpCounter = nullptr;
    KXAttributeFloat* m_groundThreshold = nullptr;
    KXAttributeBool* m_jumpFromGround = nullptr;
    KXAttributeFloat* m_leftLeanForce = nullptr;
    KXAttributeFloat* m_rightLeanForce = nullptr;
    KXAttributeFloat* m_platformFriction = nullptr;
    KXAttributeFloat* m_rotationDrag = nullptr;
    KXAttributePoint* m_airDrag = nullptr;
    KXAttributeBool* m_directMovement = nullptr;
    KXAttributeBool* m_forcedMovement = nullptr;
    KXAttributeBool* m_fixedRotation = nullptr;
    KXAttributeBool* m_imageDirection = nullptr;
};
