// Actions that complete in the step that starts them.
#pragma once

#include "actions/CCAction.h"

NS_CC_BEGIN

class CCActionInstant : public CCFiniteTimeAction {
public:
    bool isDone() override { return true; }
    void step(float dt) override;
};

// Calls target->selector() once. The target is retained by the action.
class CCCallFunc : public CCActionInstant {
public:
    ~CCCallFunc() override;
    static CCCallFunc* create(CCObject* pSelectorTarget, SEL_CallFunc selector);
    bool initWithTarget(CCObject* pSelectorTarget, SEL_CallFunc selector);

    void update(float time) override;
    virtual void execute();
    CCObject* getTargetCallback() const { return m_pSelectorTarget; }

protected:
    CCObject* m_pSelectorTarget = nullptr;
    SEL_CallFunc m_pCallFunc = nullptr;
};

NS_CC_END
