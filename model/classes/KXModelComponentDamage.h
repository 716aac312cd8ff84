#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// How much damage an object deals, and after which delay.
class KXModelComponentDamage : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentDamage, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentDamage)
    KX_MODEL_CLONE(KXModelComponentDamage)

public:
    static constexpr const char* kDefaultObjectName = "Damage";

    explicit KXModelComponentDamage(const std::string& name);
    KXModelComponentDamage(const KXModelComponentDamage& source);

    // "Damage" truncated toward zero (checked: NaN and huge values stay defined).
    int damage() const;
    float damageDelay() const;
    // Clamped, stored and announced only when it differs.
    void setDamage(int damage);
    void setDamageDelay(float delay);

private:
    KXAttributeFloat* m_damage = nullptr;
    KXAttributeFloat* m_damageDelay = nullptr;
};
