#pragma once

// Holds its owner's body at a set velocity every frame and multiplies that velocity each time its
// event happens: any "on" control event ("kEventButton"), or a contact with a unit of the chosen
// asset ("kEventCollision"). A velocity component of 0 leaves the body's own alone.

#include "player/components/KXComponent.h"

class KXModelComponentMotor;
class KXPObjectAsset;

class KXComponentMotor : public KXComponent {
public:
    KXComponentMotor();
    ~KXComponentMotor() override;

    void update(float dt) override;
    void setModel(const std::shared_ptr<KXModelComponent>& model) override;
    void setOwner(KXPObject* owner) override;

    // Accumulates: n events multiply by the multipliers n times.
    void multiplyVelocity();
    void buttonPressed(cocos2d::CCObject* sender);
    void collision(KXPObjectAsset* self, KXPObjectAsset* other);

    cocos2d::CCPoint linearVelocity() const { return m_linearVelocity; }
    float angularVelocity() const { return m_angularVelocity; }

private:
    std::shared_ptr<KXModelComponentMotor> motorModel() const;

    cocos2d::CCPoint m_linearVelocity;
    float m_angularVelocity = 0.0f;
};
