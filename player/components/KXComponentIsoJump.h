#pragma once

// A drawn jump for top-down and isometric views: the body stays where it is while the owner's
// displayed animation (and what is attached to it) is lifted along a velocity and gravity curve,
// a ground animation (the shadow) stays at the body, and the jump's own shape is used in the air.
// Jumps chain in the air up to the model's count. The enabled flag follows "in the air" every
// frame, so that a mover of the same owner waits for the landing.

#include "player/components/KXComponent.h"

#include <vector>

class KXModelComponentIsoJump;
class KXPAnimationObject;

class KXComponentIsoJump : public KXComponent {
public:
    KXComponentIsoJump();
    ~KXComponentIsoJump() override;

    void update(float dt) override;
    // Subscribes the trigger's controls; makes the jump sounds.
    void setModel(const std::shared_ptr<KXModelComponent>& model) override;
    // Makes the ground and jump animations.
    void setOwner(KXPObject* owner) override;
    // A dying owner in the air stays where it was drawn.
    void ownerStateChanged() override;

    void inputPressed(cocos2d::CCObject* sender);
    void inputReleased(cocos2d::CCObject* sender);
    void startJump();
    void land();

    // The synchronised frame for a vertical jump velocity `velocityY` when the jump starts at
    // `startVelocityY` over `frames` frames: 0 rising at full speed, n falling at full speed;
    // -1 when the start velocity is 0 (nothing to synchronise with).
    static int syncFrame(float velocityY, float startVelocityY, int frames);

    bool isInAir() const { return m_inAir; }
    int jumpsDone() const { return m_jumpsDone; }
    bool isRising() const { return m_rising; }
    cocos2d::CCPoint jumpVelocity() const { return m_jumpVelocity; }
    KXPAnimationObject* jumpNode() const { return m_jumpNode; }
    KXPAnimationObject* groundNode() const { return m_groundNode; }

private:
    std::shared_ptr<KXModelComponentIsoJump> jumpModel() const;
    bool canJump() const;
    std::vector<cocos2d::CCNode*> liftedNodes() const;
    void popJumpStates();

    KXComponentTrigger m_trigger;
    KXPAnimationObject* m_groundNode = nullptr;
    KXPAnimationObject* m_jumpNode = nullptr;
    bool m_inAir = false;
    bool m_held = false;
    bool m_rising = false;
    float m_airTime = 0.0f;
    float m_riseTime = 0.0f;
    bool m_jumpRequested = false;
    int m_jumpsDone = 0;
    cocos2d::CCPoint m_jumpVelocity;
    KXSound* m_jumpSound = nullptr;
    KXSound* m_doubleJumpSound = nullptr;
};
