// Actions spread over a duration. The first step after a start applies t = 0 and ignores the
// frame's dt; then the elapsed time accumulates and update(min(1, elapsed / duration)) is applied.
// A duration of 0 completes on the first step.
#pragma once

#include <vector>

#include "actions/CCAction.h"
#include "base/ccTypes.h"

NS_CC_BEGIN

class CCRGBAProtocol;

class CCActionInterval : public CCFiniteTimeAction {
public:
    bool initWithDuration(float d);

    float getElapsed() const { return m_elapsed; }
    bool isDone() override;
    void step(float dt) override;
    void startWithTarget(CCNode* pTarget) override;

protected:
    float m_elapsed = 0.0f;
    bool m_bFirstTick = true;
};

// Runs the inner action n times; duration = n x inner duration.
class CCRepeat : public CCActionInterval {
public:
    ~CCRepeat() override;
    static CCRepeat* create(CCFiniteTimeAction* pAction, unsigned int times);
    bool initWithAction(CCFiniteTimeAction* pAction, unsigned int times);

    void startWithTarget(CCNode* pTarget) override;
    void stop() override;
    void update(float time) override;
    CCFiniteTimeAction* getInnerAction() const { return m_pInnerAction; }

private:
    CCFiniteTimeAction* m_pInnerAction = nullptr; // retained
    unsigned int m_uTimes = 0;
    unsigned int m_uTotal = 0; // completed runs
    bool m_bInnerRunning = false;
};

// Restarts the inner action whenever it completes, carrying the overshoot; never done.
class CCRepeatForever : public CCActionInterval {
public:
    ~CCRepeatForever() override;
    static CCRepeatForever* create(CCActionInterval* pAction);
    bool initWithAction(CCActionInterval* pAction);

    void startWithTarget(CCNode* pTarget) override;
    void stop() override;
    void step(float dt) override;
    bool isDone() override { return false; }
    CCActionInterval* getInnerAction() const { return m_pInnerAction; }

private:
    CCActionInterval* m_pInnerAction = nullptr; // retained
};

// Runs its actions one after another.
class CCSequence : public CCActionInterval {
public:
    ~CCSequence() override;
    static CCSequence* createWithTwoActions(CCFiniteTimeAction* pActionOne, CCFiniteTimeAction* pActionTwo);
    // Null-terminated list.
    static CCSequence* create(CCFiniteTimeAction* pAction1, ...);
    bool initWithActions(const std::vector<CCFiniteTimeAction*>& actions);

    void startWithTarget(CCNode* pTarget) override;
    void stop() override;
    void update(float time) override;

private:
    std::vector<CCFiniteTimeAction*> m_actions; // retained
    std::vector<float> m_offsets;               // start time of each action
    size_t m_current = 0;                       // index of the action being played
    bool m_currentStarted = false;
};

// Waits.
class CCDelayTime : public CCActionInterval {
public:
    static CCDelayTime* create(float d);
    void update(float time) override { (void)time; }
};

// Base of the opacity actions: they act only on targets with colour and opacity.
class CCOpacityAction : public CCActionInterval {
public:
    void startWithTarget(CCNode* pTarget) override;
    void stop() override;

protected:
    void applyOpacity(float opacity);
    CCRGBAProtocol* m_pRGBATarget = nullptr;
};

// Opacity 255 * (1 - t): always starts from full opacity.
class CCFadeOut : public CCOpacityAction {
public:
    static CCFadeOut* create(float d);
    void update(float time) override;
};

// Opacity 255 * t.
class CCFadeIn : public CCOpacityAction {
public:
    static CCFadeIn* create(float d);
    void update(float time) override;
};

// From the opacity at start to the given one.
class CCFadeTo : public CCOpacityAction {
public:
    static CCFadeTo* create(float duration, GLubyte opacity);
    bool initWithDuration(float duration, GLubyte opacity);
    void startWithTarget(CCNode* pTarget) override;
    void update(float time) override;

private:
    GLubyte m_toOpacity = 0;
    GLubyte m_fromOpacity = 0;
};

NS_CC_END
