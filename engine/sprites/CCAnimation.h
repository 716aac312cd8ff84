// A list of sprite frames with a delay per unit; each frame lasts its delay units (1 unless
// set otherwise), so the duration is total units x delay per unit x loops.
#pragma once

#include <vector>

#include "base/CCArray.h"
#include "base/CCObject.h"

NS_CC_BEGIN

class CCSpriteFrame;

class CCAnimationFrame : public CCObject {
public:
    CCAnimationFrame() = default;
    ~CCAnimationFrame() override;
    bool initWithSpriteFrame(CCSpriteFrame* spriteFrame, float delayUnits);

    CCSpriteFrame* getSpriteFrame() const { return m_pSpriteFrame; }
    void setSpriteFrame(CCSpriteFrame* spriteFrame);
    float getDelayUnits() const { return m_fDelayUnits; }
    void setDelayUnits(float delayUnits) { m_fDelayUnits = delayUnits; }

private:
    CCSpriteFrame* m_pSpriteFrame = nullptr; // retained
    float m_fDelayUnits = 1.f;
};

class CCAnimation : public CCObject {
public:
    static CCAnimation* create();
    // frames: CCSpriteFrame objects, one unit each.
    static CCAnimation* createWithSpriteFrames(CCArray* frames, float delay = 0.f);

    CCAnimation();
    ~CCAnimation() override;

    bool init();
    bool initWithSpriteFrames(CCArray* frames, float delay);

    // One more frame of one delay unit (a null frame is ignored).
    void addSpriteFrame(CCSpriteFrame* frame);
    void addSpriteFrameWithFileName(const char* fileName);

    // CCAnimationFrame objects.
    CCArray* getFrames() const { return m_pFrames; }
    float getDelayPerUnit() const { return m_fDelayPerUnit; }
    // Negative or non-finite delays count as 0.
    void setDelayPerUnit(float delayPerUnit);
    float getTotalDelayUnits() const { return m_fTotalDelayUnits; }
    // Duration of one loop.
    float getDuration() const { return m_fTotalDelayUnits * m_fDelayPerUnit; }
    bool getRestoreOriginalFrame() const { return m_bRestoreOriginalFrame; }
    void setRestoreOriginalFrame(bool restore) { m_bRestoreOriginalFrame = restore; }
    unsigned int getLoops() const { return m_uLoops; }
    void setLoops(unsigned int loops) { m_uLoops = loops; }

private:
    CCArray* m_pFrames; // retained
    float m_fDelayPerUnit = 0.f;
    float m_fTotalDelayUnits = 0.f;
    bool m_bRestoreOriginalFrame = false;
    unsigned int m_uLoops = 1;
};

NS_CC_END
