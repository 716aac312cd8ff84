#include "actions/CCAction.h"

NS_CC_BEGIN

bool CCAction::isDone() {
    return true;
}

void CCAction::startWithTarget(CCNode* pTarget) {
    m_pOriginalTarget = m_pTarget = pTarget;
}

void CCAction::stop() {
    m_pTarget = nullptr;
}

void CCAction::step(float dt) {
    (void)dt;
}

void CCAction::update(float time) {
    (void)time;
}

NS_CC_END
