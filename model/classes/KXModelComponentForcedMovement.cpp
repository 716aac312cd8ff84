#include "model/classes/KXModelComponentForcedMovement.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
// The stored key is spelled so.
constexpr const char* kForceMin = "Froce Min";
constexpr const char* kForceMax = "Force Max";
constexpr const char* kForceIncrease = "Force Increase";
} // namespace

KXModelComponentForcedMovement::KXModelComponentForcedMovement(const std::string& name)
    : KXModelComponent(name), m_forceMin(new KXAttributeFloat(kForceMin, this, 0)),
      m_forceMax(new KXAttributeFloat(kForceMax, this, 0)),
      m_forceIncrease(new KXAttributeFloat(kForceIncrease, this, 0)) {
    m_forceMin->setValue(3.0f, true);
    m_forceMax->setValue(10.0f, true);
    m_forceIncrease->setValue(0.1f, true);
}

KXModelComponentForcedMovement::KXModelComponentForcedMovement(const KXModelComponentForcedMovement& source)
    : KXModelComponent(source), m_forceMin(boundAttribute<KXAttributeFloat>(*this, kForceMin)),
      m_forceMax(boundAttribute<KXAttributeFloat>(*this, kForceMax)),
      m_forceIncrease(boundAttribute<KXAttributeFloat>(*this, kForceIncrease)) {}

float KXModelComponentForcedMovement::forceMin() const {
    return attributeValue(m_forceMin);
}
float KXModelComponentForcedMovement::forceMax() const {
    return attributeValue(m_forceMax);
}
float KXModelComponentForcedMovement::forceIncrease() const {
    return attributeValue(m_forceIncrease);
}
