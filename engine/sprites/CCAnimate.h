// Plays a CCAnimation on a sprite: at t = 0 it shows frame 0, and frame i from the moment
// t reaches the frame's start (i/n when every frame has one unit). The last frame stays
// shown when done, unless the animation restores the original frame. Targets that are not
// sprites are left alone.
#pragma once

#include <vector>

#include "actions/CCActionInterval.h"

NS_CC_BEGIN

class CCAnimation;
class CCSpriteFrame;

class CCAnimate : public CCActionInterval {
public:
    static CCAnimate* create(CCAnimation* animation);

    CCAnimate() = default;
    ~CCAnimate() override;

    bool initWithAnimation(CCAnimation* animation);
    CCAnimation* getAnimation() const { return m_pAnimation; }

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;

private:
    CCAnimation* m_pAnimation = nullptr;       // retained
    CCSpriteFrame* m_pOriginalFrame = nullptr; // retained while running
    // Start of each frame as a fraction of one loop.
    std::vector<float> m_splitTimes;
    size_t m_nextFrame = 0;
    unsigned int m_executedLoops = 0;
};

NS_CC_END
