#pragma once

// Drives its owner's body at a fixed linear and angular velocity while it is active (moving).
// Started by a control, a collision or the level's start; stopped by the opposite control event,
// a timeout, an exclusive start of a sibling mover or the owner's death. While moving it may show
// its own animation and shape as display state 4, play a sound, switch the owner's own movement
// off and flip every switch button.

#include "player/components/KXComponent.h"

class KXModelComponentMove;
class KXPAnimationObject;
class KXPObjectAsset;

class KXComponentMove : public KXComponent {
public:
    // How the model's velocities combine with the body's.
    static constexpr int kReplace = 0;
    static constexpr int kAdd = 1;
    static constexpr int kMultiply = 2;

    KXComponentMove();
    ~KXComponentMove() override;

    // Requests first (an exclusive start stops the siblings, a start waits for a running
    // drawn jump), then the velocities while moving, then the timeout.
    void update(float dt) override;
    // Subscribes the trigger's controls; reads the operation and makes the sound.
    void setModel(const std::shared_ptr<KXModelComponent>& model) override;
    // Makes the animation; a collision trigger listens to the owner's contacts, a start trigger
    // starts at the first update.
    void setOwner(KXPObject* owner) override;
    // A dying owner stops moving (its animation is hidden, not stopped).
    void ownerStateChanged() override;
    // Switching through the enabled flag never keeps the body's running velocity.
    void setEnabled(bool enabled) override;
    // Nothing when the flag already has that value or the owner is dead or removed (state 4
    // or 5). `keepBodyVelocity` carries the body's current motion over instead of the model's.
    void setActive(bool active, bool keepBodyVelocity);

    void inputPressed(cocos2d::CCObject* sender);
    void inputReleased(cocos2d::CCObject* sender);
    void collision(KXPObjectAsset* self, KXPObjectAsset* other);

    int operation() const { return m_operation; }
    float velocityX() const { return m_velocityX; }
    float velocityY() const { return m_velocityY; }
    float angularVelocity() const { return m_angularVelocity; }
    float timeLeft() const { return m_timeLeft; }
    bool isStartRequested() const { return m_startRequested; }
    KXPAnimationObject* animationNode() const { return m_animationNode; }

private:
    std::shared_ptr<KXModelComponentMove> moveModel() const;
    void computeVelocities(bool keepBodyVelocity);
    // Gives up display state 4: with the own animation its node and shape, else the owner's
    // shape; `stopNode` also stops the animation's clock.
    void popDisplayState(bool stopNode);
    bool isRunningJump() const;

    KXComponentTrigger m_trigger;
    int m_operation = kReplace;
    KXPAnimationObject* m_animationNode = nullptr;
    float m_timeLeft = 0.0f;
    bool m_startRequested = false;
    bool m_exclusiveRequested = false;
    bool m_stopRequested = false;
    float m_velocityX = 0.0f;
    float m_velocityY = 0.0f;
    float m_angularVelocity = 0.0f;
    KXSound* m_sound = nullptr;
};
