#include "actions/CCActionInstant.h"

NS_CC_BEGIN

void CCActionInstant::step(float dt) {
    (void)dt;
    update(1.0f);
}

CCCallFunc::~CCCallFunc() {
    CC_SAFE_RELEASE(m_pSelectorTarget);
}

CCCallFunc* CCCallFunc::create(CCObject* pSelectorTarget, SEL_CallFunc selector) {
    CCCallFunc* call = new CCCallFunc();
    call->initWithTarget(pSelectorTarget, selector);
    call->autorelease();
    return call;
}

bool CCCallFunc::initWithTarget(CCObject* pSelectorTarget, SEL_CallFunc selector) {
    CC_SAFE_RETAIN(pSelectorTarget);
    CC_SAFE_RELEASE(m_pSelectorTarget);
    m_pSelectorTarget = pSelectorTarget;
    m_pCallFunc = selector;
    return true;
}

void CCCallFunc::update(float time) {
    (void)time;
    execute();
}

void CCCallFunc::execute() {
    if (m_pSelectorTarget && m_pCallFunc) {
        (m_pSelectorTarget->*m_pCallFunc)();
    }
}

NS_CC_END
