#include "model/classes/KXBaseModelComponentMove.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXComponentShapePlaceholder.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kCollisionShape = "Collision Shape";
constexpr const char* kAnimation = "Animation";
constexpr const char* kSound = "Sound";
constexpr const char* kActivateOnRelease = "Activate On Release";
constexpr const char* kForcedSwitchButton = "Forced Switch Button";
constexpr const char* kLinearVelocity = "Linear Velocity";
constexpr const char* kAngularVelocity = "Angular Velocity";
constexpr const char* kMathematicalOperation = "Mathematical Operation";
constexpr const char* kEvent = "Event";
constexpr const char* kAffectedAsset = "Affected asset";
constexpr const char* kTimeout = "Timeout";
} // namespace

KXBaseModelComponentMove::KXBaseModelComponentMove(const std::string& name)
    : KXModelComponent(name), m_collisionShape(new KXAttributeShape(kCollisionShape, this, 0)),
      m_animation(new KXAttributeAnimation(kAnimation, this, 0)),
      m_sound(new KXAttributeSound(kSound, this, 0)),
      m_activateOnRelease(new KXAttributeBool(kActivateOnRelease, this)),
      m_forcedSwitchButton(new KXAttributeBool(kForcedSwitchButton, this)),
      m_linearVelocity(new KXAttributePoint(kLinearVelocity, this, 0)),
      m_angularVelocity(new KXAttributeFloat(kAngularVelocity, this, 0)),
      m_mathematicalOperation(new KXAttributeStringList(kMathematicalOperation, this)),
      m_event(new KXAttributeStringList(kEvent, this)),
      m_affectedAsset(new KXAttributeStringList(kAffectedAsset, this)),
      m_timeout(new KXAttributeFloat(kTimeout, this, 0)) {
    setPlaceholderShape(*m_collisionShape);
    m_linearVelocity->setEmptyAllowed(true, true);
    m_linearVelocity->setEmpty(true, true);
    m_angularVelocity->setEmptyAllowed(true);
    m_angularVelocity->setEmpty(true);
}

KXBaseModelComponentMove::KXBaseModelComponentMove(const KXBaseModelComponentMove& source)
    : KXModelComponent(source), m_collisionShape(boundAttribute<KXAttributeShape>(*this, kCollisionShape)),
      m_animation(boundAttribute<KXAttributeAnimation>(*this, kAnimation)),
      m_sound(boundAttribute<KXAttributeSound>(*this, kSound)),
      m_activateOnRelease(boundAttribute<KXAttributeBool>(*this, kActivateOnRelease)),
      m_forcedSwitchButton(boundAttribute<KXAttributeBool>(*this, kForcedSwitchButton)),
      m_linearVelocity(boundAttribute<KXAttributePoint>(*this, kLinearVelocity)),
      m_angularVelocity(boundAttribute<KXAttributeFloat>(*this, kAngularVelocity)),
      m_mathematicalOperation(boundAttribute<KXAttributeStringList>(*this, kMathematicalOperation)),
      m_event(boundAttribute<KXAttributeStringList>(*this, kEvent)),
      m_affectedAsset(boundAttribute<KXAttributeStringList>(*this, kAffectedAsset)),
      m_timeout(boundAttribute<KXAttributeFloat>(*this, kTimeout)) {}

void KXBaseModelComponentMove::unpackConnections(const KXMessagePackMap& map) {
    readConnectionsReplacingShape(m_collisionShape, [&] { KXModelComponent::unpackConnections(map); });
}

void KXBaseModelComponentMove::loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary) {
    readConnectionsReplacingShape(m_collisionShape,
                                  [&] { KXModelComponent::loadConnectionsFromDictionary(dictionary); });
}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelComponentMove::spriteContainer() const {
    return m_animation != nullptr ? m_animation->animation() : nullptr;
}

std::shared_ptr<KXModelPolygon> KXBaseModelComponentMove::collisionShape() const {
    return attributeValue(m_collisionShape);
}
std::shared_ptr<KXModelAnimation> KXBaseModelComponentMove::animation() const {
    return attributeValue(m_animation);
}
std::shared_ptr<KXModelSound> KXBaseModelComponentMove::sound() const {
    return attributeValue(m_sound);
}
bool KXBaseModelComponentMove::activateOnRelease() const {
    return attributeValue(m_activateOnRelease);
}
bool KXBaseModelComponentMove::forcedSwitchButton() const {
    return attributeValue(m_forcedSwitchButton);
}
CCPoint KXBaseModelComponentMove::linearVelocity() const {
    return attributeValue(m_linearVelocity);
}
float KXBaseModelComponentMove::angularVelocity() const {
    return attributeValue(m_angularVelocity);
}
const std::string& KXBaseModelComponentMove::mathematicalOperation() const {
    return attributeText(m_mathematicalOperation);
}
const std::string& KXBaseModelComponentMove::event() const {
    return attributeText(m_event);
}
const std::string& KXBaseModelComponentMove::affectedAsset() const {
    return attributeText(m_affectedAsset);
}
int64_t KXBaseModelComponentMove::affectedAssetValue() const {
    return leadingInteger(affectedAsset());
}
uint32_t KXBaseModelComponentMove::affectedAssetId() const {
    return leadingId(affectedAsset());
}
float KXBaseModelComponentMove::timeout() const {
    return attributeValue(m_timeout);
}

// isXEmpty/isYEmpty/isEmpty already answer false while empty values are not allowed.
bool KXBaseModelComponentMove::hasLinearVelocityX() const {
    return m_linearVelocity == nullptr || !m_linearVelocity->isXEmpty();
}

bool KXBaseModelComponentMove::hasLinearVelocityY() const {
    return m_linearVelocity == nullptr || !m_linearVelocity->isYEmpty();
}

bool KXBaseModelComponentMove::hasAngularVelocity() const {
    return m_angularVelocity == nullptr || !m_angularVelocity->isEmpty();
}
