#pragma once

// Shows an animation model: one child node per object of the animation, run by its own clock.
// So far only what the objects around it need (its place in the field's z-order); building,
// playing and the rest come with the animation object.

#include "cocos2d.h"

#include <memory>

class KXModelAnimation;
class KXPObject;

class KXPAnimationObject : public cocos2d::CCNode {
public:
    // The owner is accepted for the callers' convenience; nothing here depends on it.
    KXPAnimationObject(const std::shared_ptr<KXModelAnimation>& model, KXPObject* owner, bool applySpawner);
    ~KXPAnimationObject() override;

    // The same walk as an object's: through objects and animations up to the game-field camera.
    int fieldZOrder();
    // Plays the animation again from its first frame (objects restart the looks they show).
    // Nothing to restart yet: the clock comes with the animation object.
    virtual void restart();

    std::shared_ptr<KXModelAnimation> model() const { return m_model; }

private:
    std::shared_ptr<KXModelAnimation> m_model;
};
