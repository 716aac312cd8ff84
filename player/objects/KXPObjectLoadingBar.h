#pragma once

// The bar of a loading screen: a 400 x 4 grey outline filled from the left as the game data
// loads, placed by the model's keyframed pose.

#include "cocos2d.h"

#include <memory>

class KXBaseModelObject;

class KXPObjectLoadingBar : public cocos2d::CCNode {
public:
    static constexpr float kBarWidth = 400.0f;
    static constexpr float kBarHeight = 4.0f;
    static constexpr float kBarShade = 0.75f;

    // Autoreleased, posed at time 0.
    static KXPObjectLoadingBar* create(const std::shared_ptr<KXBaseModelObject>& model);

    explicit KXPObjectLoadingBar(const std::shared_ptr<KXBaseModelObject>& model);
    ~KXPObjectLoadingBar() override;

    // The keyframed pose and the children's opacity.
    void update(float dt) override;
    // Takes the pose of the moment (update(0)).
    void draw() override;
    // The node as usual, then the bar over it, in the parent's space around the node's position;
    // its size does not follow the node's scale.
    void visit() override;
    virtual void resetTime();
    virtual void setAnimationKey(int key);

    // The share of the bar that is filled, 0 to 1, from the data load's progress.
    static float loadedShare();

    std::shared_ptr<KXBaseModelObject> model() const { return m_model; }
    float elapsedTime() const { return m_elapsed; }

private:
    std::shared_ptr<KXBaseModelObject> m_model;
    float m_elapsed = 0.0f;
    int m_animationKey = 0;
};
