#include "sprites/CCAnimate.h"

#include <cmath>

#include "sprites/CCAnimation.h"
#include "sprites/CCSprite.h"
#include "sprites/CCSpriteFrame.h"

NS_CC_BEGIN

namespace {
// Elapsed/duration is computed in floats; a frame boundary reached exactly must count as reached.
constexpr float kSplitTolerance = 1.0e-5f;
} // namespace

CCAnimate* CCAnimate::create(CCAnimation* animation) {
    CCAnimate* animate = new CCAnimate();
    if (animate->initWithAnimation(animation)) {
        animate->autorelease();
        return animate;
    }
    delete animate;
    return nullptr;
}

CCAnimate::~CCAnimate() {
    CC_SAFE_RELEASE(m_pAnimation);
    CC_SAFE_RELEASE(m_pOriginalFrame);
}

bool CCAnimate::initWithAnimation(CCAnimation* animation) {
    if (!animation)
        return false;
    const unsigned int loops = animation->getLoops() == 0 ? 1 : animation->getLoops();
    initWithDuration(animation->getDuration() * static_cast<float>(loops));
    animation->retain();
    CC_SAFE_RELEASE(m_pAnimation);
    m_pAnimation = animation;

    m_splitTimes.clear();
    const float totalUnits = animation->getTotalDelayUnits();
    float units = 0.f;
    CCArray* frames = animation->getFrames();
    for (unsigned int i = 0; i < frames->count(); ++i) {
        auto* frame = static_cast<CCAnimationFrame*>(frames->objectAtIndex(i));
        m_splitTimes.push_back(totalUnits > 0.f ? units / totalUnits : 0.f);
        units += frame->getDelayUnits();
    }
    return true;
}

void CCAnimate::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_nextFrame = 0;
    m_executedLoops = 0;
    CC_SAFE_RELEASE_NULL(m_pOriginalFrame);
    CCSprite* sprite = ccNodeAs<CCSprite>(target);
    if (sprite && m_pAnimation->getRestoreOriginalFrame()) {
        m_pOriginalFrame = sprite->displayFrame();
        m_pOriginalFrame->retain();
    }
}

void CCAnimate::stop() {
    CCSprite* sprite = ccNodeAs<CCSprite>(m_pTarget);
    if (sprite && m_pOriginalFrame && m_pAnimation->getRestoreOriginalFrame())
        sprite->setDisplayFrame(m_pOriginalFrame);
    CC_SAFE_RELEASE_NULL(m_pOriginalFrame);
    CCActionInterval::stop();
}

void CCAnimate::update(float t) {
    CCSprite* sprite = ccNodeAs<CCSprite>(m_pTarget);
    if (!sprite || m_splitTimes.empty())
        return;
    const unsigned int loops = m_pAnimation->getLoops() == 0 ? 1 : m_pAnimation->getLoops();
    if (t < 1.f) {
        t *= static_cast<float>(loops);
        const unsigned int loop = static_cast<unsigned int>(t);
        if (loop > m_executedLoops) {
            m_nextFrame = 0;
            m_executedLoops = loop;
        }
        t = std::fmod(t, 1.f);
    }
    CCArray* frames = m_pAnimation->getFrames();
    for (size_t i = m_nextFrame; i < m_splitTimes.size(); ++i) {
        if (m_splitTimes[i] > t + kSplitTolerance)
            break;
        auto* frame = static_cast<CCAnimationFrame*>(frames->objectAtIndex(static_cast<unsigned int>(i)));
        sprite->setDisplayFrame(frame->getSpriteFrame());
        m_nextFrame = i + 1;
    }
}

NS_CC_END
