#include "sprites/CCAnimation.h"

#include <cmath>

#include "sprites/CCSpriteFrame.h"
#include "textures/CCTexture2D.h"
#include "textures/CCTextureCache.h"

NS_CC_BEGIN

CCAnimationFrame::~CCAnimationFrame() {
    CC_SAFE_RELEASE(m_pSpriteFrame);
}

bool CCAnimationFrame::initWithSpriteFrame(CCSpriteFrame* spriteFrame, float delayUnits) {
    setSpriteFrame(spriteFrame);
    m_fDelayUnits = delayUnits;
    return true;
}

void CCAnimationFrame::setSpriteFrame(CCSpriteFrame* spriteFrame) {
    if (spriteFrame == m_pSpriteFrame)
        return;
    CC_SAFE_RETAIN(spriteFrame);
    CC_SAFE_RELEASE(m_pSpriteFrame);
    m_pSpriteFrame = spriteFrame;
}

CCAnimation* CCAnimation::create() {
    CCAnimation* animation = new CCAnimation();
    animation->init();
    animation->autorelease();
    return animation;
}

CCAnimation* CCAnimation::createWithSpriteFrames(CCArray* frames, float delay) {
    CCAnimation* animation = new CCAnimation();
    animation->initWithSpriteFrames(frames, delay);
    animation->autorelease();
    return animation;
}

CCAnimation::CCAnimation() : m_pFrames(new CCArray()) {}

CCAnimation::~CCAnimation() {
    CC_SAFE_RELEASE(m_pFrames);
}

bool CCAnimation::init() {
    return initWithSpriteFrames(nullptr, 0.f);
}

bool CCAnimation::initWithSpriteFrames(CCArray* frames, float delay) {
    m_pFrames->removeAllObjects();
    m_fTotalDelayUnits = 0.f;
    setDelayPerUnit(delay);
    if (frames) {
        for (unsigned int i = 0; i < frames->count(); ++i)
            addSpriteFrame(dynamic_cast<CCSpriteFrame*>(frames->objectAtIndex(i)));
    }
    return true;
}

void CCAnimation::addSpriteFrame(CCSpriteFrame* frame) {
    if (!frame)
        return;
    CCAnimationFrame* animationFrame = new CCAnimationFrame();
    animationFrame->initWithSpriteFrame(frame, 1.f);
    m_pFrames->addObject(animationFrame);
    animationFrame->release();
    m_fTotalDelayUnits += 1.f;
}

void CCAnimation::addSpriteFrameWithFileName(const char* fileName) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
    if (!texture)
        return;
    const CCSize size = texture->getContentSize();
    addSpriteFrame(CCSpriteFrame::createWithTexture(texture, CCRect(0, 0, size.width, size.height)));
}

void CCAnimation::setDelayPerUnit(float delayPerUnit) {
    m_fDelayPerUnit = std::isfinite(delayPerUnit) && delayPerUnit > 0.f ? delayPerUnit : 0.f;
}

NS_CC_END
