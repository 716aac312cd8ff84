#include "actions/CCActionInterval.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>

#include "nodes/CCNode.h"
#include "nodes/CCProtocols.h"

NS_CC_BEGIN

namespace {

float validDuration(float d) {
    return (std::isfinite(d) && d > 0.0f) ? d : 0.0f;
}

} // namespace

// --- CCActionInterval ---

bool CCActionInterval::initWithDuration(float d) {
    m_fDuration = validDuration(d);
    m_elapsed = 0.0f;
    m_bFirstTick = true;
    return true;
}

bool CCActionInterval::isDone() {
    return m_elapsed >= m_fDuration;
}

void CCActionInterval::startWithTarget(CCNode* pTarget) {
    CCFiniteTimeAction::startWithTarget(pTarget);
    m_elapsed = 0.0f;
    m_bFirstTick = true;
}

void CCActionInterval::step(float dt) {
    if (m_bFirstTick) {
        m_bFirstTick = false;
        m_elapsed = 0.0f;
    } else if (std::isfinite(dt) && dt > 0.0f) {
        m_elapsed += dt;
    }
    const float t = m_fDuration > 0.0f ? std::min(1.0f, m_elapsed / m_fDuration) : 1.0f;
    update(t);
}

// --- CCRepeat ---

CCRepeat::~CCRepeat() {
    CC_SAFE_RELEASE(m_pInnerAction);
}

CCRepeat* CCRepeat::create(CCFiniteTimeAction* pAction, unsigned int times) {
    CCRepeat* repeat = new CCRepeat();
    if (repeat->initWithAction(pAction, times)) {
        repeat->autorelease();
        return repeat;
    }
    delete repeat;
    return nullptr;
}

bool CCRepeat::initWithAction(CCFiniteTimeAction* pAction, unsigned int times) {
    if (!pAction) {
        return false;
    }
    initWithDuration(pAction->getDuration() * static_cast<float>(times));
    pAction->retain();
    CC_SAFE_RELEASE(m_pInnerAction);
    m_pInnerAction = pAction;
    m_uTimes = times;
    return true;
}

void CCRepeat::startWithTarget(CCNode* pTarget) {
    CCActionInterval::startWithTarget(pTarget);
    m_uTotal = 0;
    m_bInnerRunning = false;
}

void CCRepeat::stop() {
    if (m_bInnerRunning) {
        m_pInnerAction->stop();
        m_bInnerRunning = false;
    }
    CCActionInterval::stop();
}

void CCRepeat::update(float time) {
    if (m_uTimes == 0) {
        return;
    }
    // Position in units of whole inner runs.
    const double runs = static_cast<double>(time) * m_uTimes;
    const unsigned int completed =
        time >= 1.0f ? m_uTimes : std::min(m_uTimes, static_cast<unsigned int>(std::floor(runs)));
    while (m_uTotal < completed) {
        if (!m_bInnerRunning) {
            m_pInnerAction->startWithTarget(m_pTarget);
        }
        m_pInnerAction->update(1.0f);
        m_pInnerAction->stop();
        m_bInnerRunning = false;
        ++m_uTotal;
    }
    if (m_uTotal < m_uTimes) {
        if (!m_bInnerRunning) {
            m_pInnerAction->startWithTarget(m_pTarget);
            m_bInnerRunning = true;
        }
        m_pInnerAction->update(static_cast<float>(runs - m_uTotal));
    }
}

// --- CCRepeatForever ---

CCRepeatForever::~CCRepeatForever() {
    CC_SAFE_RELEASE(m_pInnerAction);
}

CCRepeatForever* CCRepeatForever::create(CCActionInterval* pAction) {
    CCRepeatForever* repeat = new CCRepeatForever();
    if (repeat->initWithAction(pAction)) {
        repeat->autorelease();
        return repeat;
    }
    delete repeat;
    return nullptr;
}

bool CCRepeatForever::initWithAction(CCActionInterval* pAction) {
    if (!pAction) {
        return false;
    }
    pAction->retain();
    CC_SAFE_RELEASE(m_pInnerAction);
    m_pInnerAction = pAction;
    return true;
}

void CCRepeatForever::startWithTarget(CCNode* pTarget) {
    CCActionInterval::startWithTarget(pTarget);
    m_pInnerAction->startWithTarget(pTarget);
}

void CCRepeatForever::stop() {
    m_pInnerAction->stop();
    CCActionInterval::stop();
}

void CCRepeatForever::step(float dt) {
    m_pInnerAction->step(dt);
    if (m_pInnerAction->isDone()) {
        const float overshoot = std::max(0.0f, m_pInnerAction->getElapsed() - m_pInnerAction->getDuration());
        m_pInnerAction->stop();
        m_pInnerAction->startWithTarget(m_pTarget);
        m_pInnerAction->step(0.0f); // the start, t = 0
        m_pInnerAction->step(overshoot);
    }
}

// --- CCSequence ---

CCSequence::~CCSequence() {
    for (CCFiniteTimeAction* action : m_actions) {
        action->release();
    }
}

CCSequence* CCSequence::createWithTwoActions(CCFiniteTimeAction* pActionOne, CCFiniteTimeAction* pActionTwo) {
    CCSequence* sequence = new CCSequence();
    if (pActionOne && pActionTwo && sequence->initWithActions({pActionOne, pActionTwo})) {
        sequence->autorelease();
        return sequence;
    }
    delete sequence;
    return nullptr;
}

CCSequence* CCSequence::create(CCFiniteTimeAction* pAction1, ...) {
    std::vector<CCFiniteTimeAction*> actions;
    va_list params;
    va_start(params, pAction1);
    for (CCFiniteTimeAction* action = pAction1; action; action = va_arg(params, CCFiniteTimeAction*)) {
        actions.push_back(action);
    }
    va_end(params);
    CCSequence* sequence = new CCSequence();
    if (sequence->initWithActions(actions)) {
        sequence->autorelease();
        return sequence;
    }
    delete sequence;
    return nullptr;
}

bool CCSequence::initWithActions(const std::vector<CCFiniteTimeAction*>& actions) {
    if (actions.empty() || std::find(actions.begin(), actions.end(), nullptr) != actions.end()) {
        return false;
    }
    float total = 0.0f;
    for (CCFiniteTimeAction* action : actions) {
        m_offsets.push_back(total);
        total += validDuration(action->getDuration());
        action->retain();
        m_actions.push_back(action);
    }
    initWithDuration(total);
    return true;
}

void CCSequence::startWithTarget(CCNode* pTarget) {
    CCActionInterval::startWithTarget(pTarget);
    m_current = 0;
    m_currentStarted = false;
}

void CCSequence::stop() {
    if (m_currentStarted && m_current < m_actions.size()) {
        m_actions[m_current]->stop();
    }
    m_currentStarted = false;
    CCActionInterval::stop();
}

void CCSequence::update(float time) {
    const float now = time * m_fDuration;
    while (m_current < m_actions.size()) {
        CCFiniteTimeAction* action = m_actions[m_current];
        const float start = m_offsets[m_current];
        const float duration = validDuration(action->getDuration());
        if (!m_currentStarted) {
            action->startWithTarget(m_pTarget);
            m_currentStarted = true;
        }
        if (time < 1.0f && now < start + duration) {
            action->update(duration > 0.0f ? std::max(0.0f, (now - start) / duration) : 1.0f);
            return;
        }
        action->update(1.0f);
        action->stop();
        m_currentStarted = false;
        ++m_current;
    }
}

// --- CCDelayTime ---

CCDelayTime* CCDelayTime::create(float d) {
    CCDelayTime* delay = new CCDelayTime();
    delay->initWithDuration(d);
    delay->autorelease();
    return delay;
}

// --- Opacity actions ---

void CCOpacityAction::startWithTarget(CCNode* pTarget) {
    CCActionInterval::startWithTarget(pTarget);
    m_pRGBATarget = pTarget != nullptr ? pTarget->getRGBAProtocol() : nullptr;
}

void CCOpacityAction::stop() {
    m_pRGBATarget = nullptr;
    CCActionInterval::stop();
}

void CCOpacityAction::applyOpacity(float opacity) {
    if (m_pRGBATarget) {
        m_pRGBATarget->setOpacity(static_cast<GLubyte>(std::max(0.0f, std::min(255.0f, opacity))));
    }
}

CCFadeOut* CCFadeOut::create(float d) {
    CCFadeOut* fade = new CCFadeOut();
    fade->initWithDuration(d);
    fade->autorelease();
    return fade;
}

void CCFadeOut::update(float time) {
    applyOpacity(255.0f * (1.0f - time));
}

CCFadeIn* CCFadeIn::create(float d) {
    CCFadeIn* fade = new CCFadeIn();
    fade->initWithDuration(d);
    fade->autorelease();
    return fade;
}

void CCFadeIn::update(float time) {
    applyOpacity(255.0f * time);
}

CCFadeTo* CCFadeTo::create(float duration, GLubyte opacity) {
    CCFadeTo* fade = new CCFadeTo();
    fade->initWithDuration(duration, opacity);
    fade->autorelease();
    return fade;
}

bool CCFadeTo::initWithDuration(float duration, GLubyte opacity) {
    CCActionInterval::initWithDuration(duration);
    m_toOpacity = opacity;
    return true;
}

void CCFadeTo::startWithTarget(CCNode* pTarget) {
    CCOpacityAction::startWithTarget(pTarget);
    if (m_pRGBATarget) {
        m_fromOpacity = m_pRGBATarget->getOpacity();
    }
}

void CCFadeTo::update(float time) {
    applyOpacity(static_cast<float>(m_fromOpacity) +
                 (static_cast<float>(m_toOpacity) - static_cast<float>(m_fromOpacity)) * time);
}

NS_CC_END
