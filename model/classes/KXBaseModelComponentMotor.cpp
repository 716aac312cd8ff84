#include "model/classes/KXBaseModelComponentMotor.h"

#include "model/classes/KXAttributeBinding.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kLinearVelocity = "Linear Velocity";
constexpr const char* kAngularVelocity = "Angular Velocity";
constexpr const char* kEvent = "Event";
constexpr const char* kLinearMultiplier = "Linear Multiplier";
constexpr const char* kAngularMultiplier = "Angular Multiplier";
constexpr const char* kAffectedAsset = "Affected asset";
} // namespace

KXBaseModelComponentMotor::KXBaseModelComponentMotor(const std::string& name)
    : KXModelComponent(name), m_linearVelocity(new KXAttributePoint(kLinearVelocity, this, 0)),
      m_angularVelocity(new KXAttributeFloat(kAngularVelocity, this, 0)),
      m_event(new KXAttributeStringList(kEvent, this)),
      m_linearMultiplier(new KXAttributePoint(kLinearMultiplier, this, 0)),
      m_angularMultiplier(new KXAttributeFloat(kAngularMultiplier, this, 0)),
      m_affectedAsset(new KXAttributeStringList(kAffectedAsset, this)) {
    m_linearMultiplier->setValue(CCPoint(1.0f, 1.0f), true);
    m_angularMultiplier->setValue(1.0f, true);
}

KXBaseModelComponentMotor::KXBaseModelComponentMotor(const KXBaseModelComponentMotor& source)
    : KXModelComponent(source), m_linearVelocity(boundAttribute<KXAttributePoint>(*this, kLinearVelocity)),
      m_angularVelocity(boundAttribute<KXAttributeFloat>(*this, kAngularVelocity)),
      m_event(boundAttribute<KXAttributeStringList>(*this, kEvent)),
      m_linearMultiplier(boundAttribute<KXAttributePoint>(*this, kLinearMultiplier)),
      m_angularMultiplier(boundAttribute<KXAttributeFloat>(*this, kAngularMultiplier)),
      m_affectedAsset(boundAttribute<KXAttributeStringList>(*this, kAffectedAsset)) {}

CCPoint KXBaseModelComponentMotor::linearVelocity() const {
    return attributeValue(m_linearVelocity);
}
float KXBaseModelComponentMotor::angularVelocity() const {
    return attributeValue(m_angularVelocity);
}
const std::string& KXBaseModelComponentMotor::event() const {
    return attributeText(m_event);
}
CCPoint KXBaseModelComponentMotor::linearMultiplier() const {
    return attributeValue(m_linearMultiplier);
}
float KXBaseModelComponentMotor::angularMultiplier() const {
    return attributeValue(m_angularMultiplier);
}
const std::string& KXBaseModelComponentMotor::affectedAsset() const {
    return attributeText(m_affectedAsset);
}
int64_t KXBaseModelComponentMotor::affectedAssetValue() const {
    return leadingInteger(affectedAsset());
}
uint32_t KXBaseModelComponentMotor::affectedAssetId() const {
    return leadingId(affectedAsset());
}
