#pragma once

#include "model/classes/KXModelComponent.h"

#include <cstdint>
#include <memory>
#include <string>

class KXAttributeAnimation;
class KXAttributeSound;
class KXAttributeFloat;

// How much health and how many lives the owner has, how long it waits before dying, and what
// it shows and plays when it takes damage.
class KXModelComponentHealth : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentHealth, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentHealth)
    KX_MODEL_CLONE(KXModelComponentHealth)

public:
    static constexpr const char* kDefaultObjectName = "Health";

    explicit KXModelComponentHealth(const std::string& name);
    // remainingLives is not carried over: a copy starts with 1, as a new component does.
    KXModelComponentHealth(const KXModelComponentHealth& source);

    // "Health" and "Lives" truncated toward zero.
    int health() const;
    int lives() const;
    float deathDelay() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeAnimation* takingDamageAnimationAttribute() const { return m_takingDamageAnimation; }
    KXAttributeSound* takingDamageSoundAttribute() const { return m_takingDamageSound; }
    KXAttributeFloat* deathDelayAttribute() const { return m_deathDelay; }
    KXAttributeFloat* healthAttribute() const { return m_health; }
    KXAttributeFloat* livesAttribute() const { return m_lives; }

    // Set from lives() by the game before play and on restarts.
    int32_t remainingLives = 1;

private:
    KXAttributeAnimation* m_takingDamageAnimation = nullptr;
    KXAttributeSound* m_takingDamageSound = nullptr;
    KXAttributeFloat* m_deathDelay = nullptr;
    KXAttributeFloat* m_health = nullptr;
    KXAttributeFloat* m_lives = nullptr;
};
