// Base of everything a node can run. An action is restartable: startWithTarget resets it.
#pragma once

#include "base/CCObject.h"

NS_CC_BEGIN

class CCNode;

enum {
    kCCActionTagInvalid = -1,
};

class CCAction : public CCObject {
public:
    CCAction() = default;

    virtual bool isDone();
    // Binds the action to its target and resets it to its start.
    virtual void startWithTarget(CCNode* pTarget);
    // Called when the action completes or is stopped; the target is forgotten.
    virtual void stop();
    // Advances by dt seconds of the frame.
    virtual void step(float dt);
    // Applies the action at normalised time t (0 start, 1 end).
    virtual void update(float time);

    CCNode* getTarget() const { return m_pTarget; }
    void setTarget(CCNode* pTarget) { m_pTarget = pTarget; }
    CCNode* getOriginalTarget() const { return m_pOriginalTarget; }
    void setOriginalTarget(CCNode* pOriginalTarget) { m_pOriginalTarget = pOriginalTarget; }
    int getTag() const { return m_nTag; }
    void setTag(int nTag) { m_nTag = nTag; }

protected:
    CCNode* m_pOriginalTarget = nullptr; // not retained
    CCNode* m_pTarget = nullptr;         // not retained; null while not running
    int m_nTag = kCCActionTagInvalid;
};

// An action with a duration in seconds.
class CCFiniteTimeAction : public CCAction {
public:
    float getDuration() const { return m_fDuration; }
    void setDuration(float duration) { m_fDuration = duration; }

protected:
    float m_fDuration = 0.0f;
};

NS_CC_END
