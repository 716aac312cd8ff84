#include "model/classes/KXModelComponentDamage.h"

#include "model/KXNumeric.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kDamage = "Damage";
constexpr const char* kDamageDelay = "Damage delay";
} // namespace

KXModelComponentDamage::KXModelComponentDamage(const std::string& name)
    : KXModelComponent(name), m_damage(new KXAttributeFloat(kDamage, this, 0)),
      m_damageDelay(new KXAttributeFloat(kDamageDelay, this, 0)) {
    m_damage->setValue(1.0f, true);
}

KXModelComponentDamage::KXModelComponentDamage(const KXModelComponentDamage& source)
    : KXModelComponent(source), m_damage(boundAttribute<KXAttributeFloat>(*this, kDamage)),
      m_damageDelay(boundAttribute<KXAttributeFloat>(*this, kDamageDelay)) {}

int KXModelComponentDamage::damage() const {
    return kx::truncateToInt(attributeValue(m_damage));
}

float KXModelComponentDamage::damageDelay() const {
    return attributeValue(m_damageDelay);
}

void KXModelComponentDamage::setDamage(int damage) {
    if (m_damage != nullptr) {
        m_damage->setValue(static_cast<float>(damage));
    }
}

void KXModelComponentDamage::setDamageDelay(float delay) {
    if (m_damageDelay != nullptr) {
        m_damageDelay->setValue(delay);
    }
}
