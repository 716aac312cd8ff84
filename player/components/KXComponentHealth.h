#pragma once

// Gives its owner hit points. Hits come from the contact damage rule; each accepted hit protects
// the owner for the attacker's delay, shows the hurt animation (display state 0, over every
// other) and plays the hurt sound at the next update; the last hit starts the death delay, after
// which the owner dies.

#include "player/components/KXComponent.h"

#include <cstdint>

class KXModelComponentHealth;
class KXPAnimationObject;

class KXComponentHealth : public KXComponent {
public:
    KXComponentHealth();
    ~KXComponentHealth() override;

    void update(float dt) override;
    // Hit points from the model, at least 1.
    void setModel(const std::shared_ptr<KXModelComponent>& model) override;
    // Makes the hurt animation, which hides itself at the end of each pass.
    void setOwner(KXPObject* owner) override;
    void ownerStateChanged() override;

    // A hit of `damage` points, protected against further hits for `delay` seconds; true when it
    // was taken. A dead owner and a protected one take nothing.
    virtual bool takeDamage(int damage, float delay);

    int health() const { return m_health; }
    bool isDying() const { return m_dying; }
    KXPAnimationObject* damageAnimationNode() const { return m_damageAnimationNode; }

private:
    std::shared_ptr<KXModelComponentHealth> healthModel() const;
    void startDying();
    // A "health" trace line about the owner.
    void trace(const char* event) const;
    void showDamage();
    void hideDamage();

    KXPAnimationObject* m_damageAnimationNode = nullptr;
    int m_health = 0;
    bool m_dying = false;
    bool m_damaged = false;
    float m_deathDelayLeft = 0.0f;
    // In 100-nanosecond ticks of the clock.
    int64_t m_nextDamageTime = 0;
};
