#include "model/classes/KXModelComponentHealth.h"

#include "model/KXNumeric.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"

namespace {
constexpr const char* kTakingDamageAnimation = "Taking Damage Anim.";
constexpr const char* kTakingDamageSound = "Taking Damage Sound";
constexpr const char* kDeathDelay = "Death Delay";
constexpr const char* kHealth = "Health";
constexpr const char* kLives = "Lives";
} // namespace

KXModelComponentHealth::KXModelComponentHealth(const std::string& name)
    : KXModelComponent(name), m_takingDamageAnimation(new KXAttributeAnimation(kTakingDamageAnimation, this)),
      m_takingDamageSound(new KXAttributeSound(kTakingDamageSound, this)),
      m_deathDelay(new KXAttributeFloat(kDeathDelay, this)), m_health(new KXAttributeFloat(kHealth, this)),
      m_lives(new KXAttributeFloat(kLives, this)) {
    m_health->setValue(1.0f, true);
    m_lives->setValue(1.0f, true);
}

KXModelComponentHealth::KXModelComponentHealth(const KXModelComponentHealth& source)
    : KXModelComponent(source),
      m_takingDamageAnimation(boundAttribute<KXAttributeAnimation>(*this, kTakingDamageAnimation)),
      m_takingDamageSound(boundAttribute<KXAttributeSound>(*this, kTakingDamageSound)),
      m_deathDelay(boundAttribute<KXAttributeFloat>(*this, kDeathDelay)),
      m_health(boundAttribute<KXAttributeFloat>(*this, kHealth)),
      m_lives(boundAttribute<KXAttributeFloat>(*this, kLives)) {}

int KXModelComponentHealth::health() const {
    return kx::truncateToInt(attributeValue(m_health));
}
int KXModelComponentHealth::lives() const {
    return kx::truncateToInt(attributeValue(m_lives));
}
float KXModelComponentHealth::deathDelay() const {
    return attributeValue(m_deathDelay);
}
