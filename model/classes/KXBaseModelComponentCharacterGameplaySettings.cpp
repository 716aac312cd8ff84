#include "model/classes/KXBaseModelComponentCharacterGameplaySettings.h"

#include "model/classes/KXAttributeBinding.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kMaxSpeed = "Max Speed";
constexpr const char* kBounceForce = "Bounce Force";
constexpr const char* kJumpForce = "Jump Force";
constexpr const char* kJumpTimeout = "Jump Timeout";
constexpr const char* kJumpCounter = "Jump Counter";
constexpr const char* kGroundThreshold = "Ground Threshold";
constexpr const char* kJumpFromGround = "Jump From Ground";
constexpr const char* kLeftLeanForce = "Left Lean Force";
constexpr const char* kRightLeanForce = "Right Lean Force";
constexpr const char* kPlatformFriction = "Platform Friction";
constexpr const char* kRotationDrag = "Rotation Drag";
constexpr const char* kAirDrag = "Air Drag";
constexpr const char* kDirectMovement = "Direct Movement";
constexpr const char* kForcedMovement = "Forced Movement";
constexpr const char* kFixedRotation = "Fixed Rotation";
constexpr const char* kImageDirection = "Image Direction";
} // namespace

KXBaseModelComponentCharacterGameplaySettings::KXBaseModelComponentCharacterGameplaySettings(
    const std::string& name)
    : KXModelComponent(name), m_maxSpeed(new KXAttributePoint(kMaxSpeed, this, 0)),
      m_bounceForce(new KXAttributePoint(kBounceForce, this, 0)),
      m_jumpForce(new KXAttributePoint(kJumpForce, this, 0)),
      m_jumpTimeout(new KXAttributeFloat(kJumpTimeout, this, 0)),
      m_jumpCounter(new KXAttributeFloat(kJumpCounter, this, 0)),
      m_groundThreshold(new KXAttributeFloat(kGroundThreshold, this, 0)),
      m_jumpFromGround(new KXAttributeBool(kJumpFromGround, this)),
      m_leftLeanForce(new KXAttributeFloat(kLeftLeanForce, this, 0)),
      m_rightLeanForce(new KXAttributeFloat(kRightLeanForce, this, 0)),
      m_platformFriction(new KXAttributeFloat(kPlatformFriction, this, 0)),
      m_rotationDrag(new KXAttributeFloat(kRotationDrag, this, 0)),
      m_airDrag(new KXAttributePoint(kAirDrag, this, 0)),
      m_directMovement(new KXAttributeBool(kDirectMovement, this)),
      m_forcedMovement(new KXAttributeBool(kForcedMovement, this)),
      m_fixedRotation(new KXAttributeBool(kFixedRotation, this)),
      m_imageDirection(new KXAttributeBool(kImageDirection, this)) {
    m_maxSpeed->setValue(CCPoint(27.0f, 0.0f), true);
    m_bounceForce->setValue(CCPoint(0.0f, 50.0f), true);
    m_jumpTimeout->setValue(0.25f, true);
    m_groundThreshold->setValue(0.01f, true);
    m_rotationDrag->setValue(1.0f, true);
    m_airDrag->setValue(CCPoint(1.0f, 1.0f), true);
    m_forcedMovement->setValue(true, true);
}

KXBaseModelComponentCharacterGameplaySettings::KXBaseModelComponentCharacterGameplaySettings(
    const KXBaseModelComponentCharacterGameplaySettings& source)
    : KXModelComponent(source), m_maxSpeed(boundAttribute<KXAttributePoint>(*this, kMaxSpeed)),
      m_bounceForce(boundAttribute<KXAttributePoint>(*this, kBounceForce)),
      m_jumpForce(boundAttribute<KXAttributePoint>(*this, kJumpForce)),
      m_jumpTimeout(boundAttribute<KXAttributeFloat>(*this, kJumpTimeout)),
      m_jumpCounter(boundAttribute<KXAttributeFloat>(*this, kJumpCounter)),
      m_groundThreshold(boundAttribute<KXAttributeFloat>(*this, kGroundThreshold)),
      m_jumpFromGround(boundAttribute<KXAttributeBool>(*this, kJumpFromGround)),
      m_leftLeanForce(boundAttribute<KXAttributeFloat>(*this, kLeftLeanForce)),
      m_rightLeanForce(boundAttribute<KXAttributeFloat>(*this, kRightLeanForce)),
      m_platformFriction(boundAttribute<KXAttributeFloat>(*this, kPlatformFriction)),
      m_rotationDrag(boundAttribute<KXAttributeFloat>(*this, kRotationDrag)),
      m_airDrag(boundAttribute<KXAttributePoint>(*this, kAirDrag)),
      m_directMovement(boundAttribute<KXAttributeBool>(*this, kDirectMovement)),
      m_forcedMovement(boundAttribute<KXAttributeBool>(*this, kForcedMovement)),
      m_fixedRotation(boundAttribute<KXAttributeBool>(*this, kFixedRotation)),
      m_imageDirection(boundAttribute<KXAttributeBool>(*this, kImageDirection)) {}

CCPoint KXBaseModelComponentCharacterGameplaySettings::attributeValueOf(const KXAttributePoint* point) {
    return attributeValue(point);
}

float KXBaseModelComponentCharacterGameplaySettings::jumpTimeout() const {
    return attributeValue(m_jumpTimeout);
}
float KXBaseModelComponentCharacterGameplaySettings::jumpCounter() const {
    return attributeValue(m_jumpCounter);
}
float KXBaseModelComponentCharacterGameplaySettings::groundThreshold() const {
    return attributeValue(m_groundThreshold);
}
bool KXBaseModelComponentCharacterGameplaySettings::jumpFromGround() const {
    return attributeValue(m_jumpFromGround);
}
float KXBaseModelComponentCharacterGameplaySettings::leftLeanForce() const {
    return attributeValue(m_leftLeanForce);
}
float KXBaseModelComponentCharacterGameplaySettings::rightLeanForce() const {
    return attributeValue(m_rightLeanForce);
}
float KXBaseModelComponentCharacterGameplaySettings::platformFriction() const {
    return attributeValue(m_platformFriction);
}
float KXBaseModelComponentCharacterGameplaySettings::rotationDrag() const {
    return attributeValue(m_rotationDrag);
}
bool KXBaseModelComponentCharacterGameplaySettings::directMovement() const {
    return attributeValue(m_directMovement);
}
bool KXBaseModelComponentCharacterGameplaySettings::forcedMovement() const {
    return attributeValue(m_forcedMovement);
}
bool KXBaseModelComponentCharacterGameplaySettings::fixedRotation() const {
    return attributeValue(m_fixedRotation);
}
bool KXBaseModelComponentCharacterGameplaySettings::imageDirection() const {
    return attributeValue(m_imageDirection);
}
