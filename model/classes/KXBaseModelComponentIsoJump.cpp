#include "model/classes/KXBaseModelComponentIsoJump.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXComponentShapePlaceholder.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kJumpVelocity = "Jump Velocity";
constexpr const char* kJumpGravity = "Jump Gravity";
constexpr const char* kJumpSpeed = "Jump Speed";
constexpr const char* kJumpDuration = "Jump Duration";
constexpr const char* kJumpTimeout = "Jump Timeout";
constexpr const char* kJumpCount = "Jump Count";
constexpr const char* kContinuousJump = "Continuous Jump";
constexpr const char* kActivateOnRelease = "Activate On Release";
constexpr const char* kEvent = "Event";
// The stored key is spelled so.
constexpr const char* kSyncronizeAnimation = "Syncronize Animation";
constexpr const char* kCollisionShape = "Collision Shape";
constexpr const char* kAnimation = "Animation";
constexpr const char* kGround = "Ground";
constexpr const char* kJumpSound = "Jump Sound";
constexpr const char* kDoubleJumpSound = "Double Jump Sound";
} // namespace

KXBaseModelComponentIsoJump::KXBaseModelComponentIsoJump(const std::string& name)
    : KXModelComponent(name), m_jumpVelocity(new KXAttributePoint(kJumpVelocity, this, 0)),
      m_jumpGravity(new KXAttributePoint(kJumpGravity, this, 0)),
      m_jumpSpeed(new KXAttributeFloat(kJumpSpeed, this, 0)),
      m_jumpDuration(new KXAttributeFloat(kJumpDuration, this, 0)),
      m_jumpTimeout(new KXAttributeFloat(kJumpTimeout, this, 0)),
      m_jumpCount(new KXAttributeFloat(kJumpCount, this, 0)),
      m_continuousJump(new KXAttributeBool(kContinuousJump, this)),
      m_activateOnRelease(new KXAttributeBool(kActivateOnRelease, this)),
      m_event(new KXAttributeStringList(kEvent, this)),
      m_syncronizeAnimation(new KXAttributeBool(kSyncronizeAnimation, this)),
      m_collisionShape(new KXAttributeShape(kCollisionShape, this, 0)),
      m_animation(new KXAttributeAnimation(kAnimation, this, 0)),
      m_ground(new KXAttributeAnimation(kGround, this, 0)),
      m_jumpSound(new KXAttributeSound(kJumpSound, this, 0)),
      m_doubleJumpSound(new KXAttributeSound(kDoubleJumpSound, this, 0)) {
    setPlaceholderShape(*m_collisionShape);
    m_jumpVelocity->setValue(CCPoint(0.0f, 50.0f), true);
    m_jumpGravity->setValue(CCPoint(0.0f, 100.0f), true);
    m_jumpSpeed->setValue(1.0f, true);
    m_jumpDuration->setValue(0.75f, true);
    m_jumpTimeout->setValue(0.25f, true);
    m_jumpCount->setValue(1.0f, true);
}

KXBaseModelComponentIsoJump::KXBaseModelComponentIsoJump(const KXBaseModelComponentIsoJump& source)
    : KXModelComponent(source), m_jumpVelocity(boundAttribute<KXAttributePoint>(*this, kJumpVelocity)),
      m_jumpGravity(boundAttribute<KXAttributePoint>(*this, kJumpGravity)),
      m_jumpSpeed(boundAttribute<KXAttributeFloat>(*this, kJumpSpeed)),
      m_jumpDuration(boundAttribute<KXAttributeFloat>(*this, kJumpDuration)),
      m_jumpTimeout(boundAttribute<KXAttributeFloat>(*this, kJumpTimeout)),
      m_jumpCount(boundAttribute<KXAttributeFloat>(*this, kJumpCount)),
      m_continuousJump(boundAttribute<KXAttributeBool>(*this, kContinuousJump)),
      m_activateOnRelease(boundAttribute<KXAttributeBool>(*this, kActivateOnRelease)),
      m_event(boundAttribute<KXAttributeStringList>(*this, kEvent)),
      m_syncronizeAnimation(boundAttribute<KXAttributeBool>(*this, kSyncronizeAnimation)),
      m_collisionShape(boundAttribute<KXAttributeShape>(*this, kCollisionShape)),
      m_animation(boundAttribute<KXAttributeAnimation>(*this, kAnimation)),
      m_ground(boundAttribute<KXAttributeAnimation>(*this, kGround)),
      m_jumpSound(boundAttribute<KXAttributeSound>(*this, kJumpSound)),
      m_doubleJumpSound(boundAttribute<KXAttributeSound>(*this, kDoubleJumpSound)) {}

void KXBaseModelComponentIsoJump::unpackConnections(const KXMessagePackMap& map) {
    readConnectionsReplacingShape(m_collisionShape, [&] { KXModelComponent::unpackConnections(map); });
}

void KXBaseModelComponentIsoJump::loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary) {
    readConnectionsReplacingShape(m_collisionShape,
                                  [&] { KXModelComponent::loadConnectionsFromDictionary(dictionary); });
}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelComponentIsoJump::spriteContainer() const {
    return m_animation != nullptr ? m_animation->animation() : nullptr;
}

CCPoint KXBaseModelComponentIsoJump::jumpVelocity() const {
    return attributeValue(m_jumpVelocity);
}
CCPoint KXBaseModelComponentIsoJump::jumpGravity() const {
    return attributeValue(m_jumpGravity);
}
float KXBaseModelComponentIsoJump::jumpSpeed() const {
    return attributeValue(m_jumpSpeed);
}
float KXBaseModelComponentIsoJump::jumpDuration() const {
    return attributeValue(m_jumpDuration);
}
float KXBaseModelComponentIsoJump::jumpTimeout() const {
    return attributeValue(m_jumpTimeout);
}
float KXBaseModelComponentIsoJump::jumpCount() const {
    return attributeValue(m_jumpCount);
}
bool KXBaseModelComponentIsoJump::continuousJump() const {
    return attributeValue(m_continuousJump);
}
bool KXBaseModelComponentIsoJump::activateOnRelease() const {
    return attributeValue(m_activateOnRelease);
}
const std::string& KXBaseModelComponentIsoJump::event() const {
    return attributeText(m_event);
}
bool KXBaseModelComponentIsoJump::syncronizeAnimation() const {
    return attributeValue(m_syncronizeAnimation);
}
std::shared_ptr<KXModelPolygon> KXBaseModelComponentIsoJump::collisionShape() const {
    return attributeValue(m_collisionShape);
}
std::shared_ptr<KXModelAnimation> KXBaseModelComponentIsoJump::animation() const {
    return attributeValue(m_animation);
}
std::shared_ptr<KXModelAnimation> KXBaseModelComponentIsoJump::ground() const {
    return attributeValue(m_ground);
}
std::shared_ptr<KXModelSound> KXBaseModelComponentIsoJump::jumpSound() const {
    return attributeValue(m_jumpSound);
}
std::shared_ptr<KXModelSound> KXBaseModelComponentIsoJump::doubleJumpSound() const {
    return attributeValue(m_doubleJumpSound);
}
