#pragma once

// Shows the sprite (or flip-book animation) of an image model with the model's keyframed pose
// and opacity, an optional placement against the screen edge and an optional fade after a delay.
// Screens make one for each image model; animation objects make them for their pictures and
// drive restart, stop, pause, resume and the shown frame.

#include "cocos2d.h"
#include "player/base/KXPNodeKinds.h"

#include <memory>

class KXBaseModelObjectImage;

class KXPObjectImage : public cocos2d::CCNode {
public:
    CC_NODE_KIND(KXPObjectImage, kKXPNodeObjectImage);

    // The tag under which a sprite container runs its frame animation on its sprite.
    static constexpr int kFrameActionTag = 76;
    static constexpr float kAutohideFadeSeconds = 2.0f;

    // Autoreleased, posed at time 0. The speed factor and loop flag go to the sprite
    // container's sprite.
    static KXPObjectImage* create(const std::shared_ptr<KXBaseModelObjectImage>& model, float speedFactor,
                                  bool loop);

    explicit KXPObjectImage(const std::shared_ptr<KXBaseModelObjectImage>& model);
    ~KXPObjectImage() override;

    // Autohide, then pose, then opacity (until the fade has started); only with a model.
    void update(float dt) override;
    // Time back to 0 and the frame animation from its start; full opacity unless faded.
    virtual void restart();
    virtual void setAnimationKey(int key);

    // The animation object drives these.
    void pauseActions();
    void resumeActions();
    void stopActions();
    void showFrame(unsigned int index);

    // Multiplies the keyframed opacity; the owning animation object sets it.
    void setOpacityFactor(float factor) { m_opacityFactor = factor; }
    float opacityFactor() const { return m_opacityFactor; }

    std::shared_ptr<KXBaseModelObjectImage> model() const { return m_model; }
    float elapsedTime() const { return m_elapsed; }
    int animationKey() const { return m_animationKey; }
    bool isFaded() const { return m_faded; }

private:
    std::shared_ptr<KXBaseModelObjectImage> m_model;
    bool m_faded = false;
    float m_elapsed = 0.0f;
    cocos2d::CCAction* m_spriteAction = nullptr;
    int m_animationKey = 0;
    float m_opacityFactor = 1.0f;
    // Frames that cannot be shown are reported once per image, not once per frame.
    bool m_reportedMissingFrame = false;
};
