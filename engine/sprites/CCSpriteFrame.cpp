#include "sprites/CCSpriteFrame.h"

#include "textures/CCTexture2D.h"
#include "textures/CCTextureCache.h"

namespace cocos2d {

CCSpriteFrame* CCSpriteFrame::createWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return createWithTexture(texture, rect, false, CCPointZero, rect.size);
}

CCSpriteFrame* CCSpriteFrame::createWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                                                const CCPoint& offset, const CCSize& originalSize) {
    CCSpriteFrame* frame = new CCSpriteFrame();
    frame->initWithTexture(texture, rect, rotated, offset, originalSize);
    frame->autorelease();
    return frame;
}

CCSpriteFrame* CCSpriteFrame::create(const char* textureFile, const CCRect& rect) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(textureFile);
    return texture ? createWithTexture(texture, rect) : nullptr;
}

CCSpriteFrame::~CCSpriteFrame() {
    CC_SAFE_RELEASE(m_pobTexture);
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return initWithTexture(texture, rect, false, CCPointZero, rect.size);
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                                    const CCPoint& offset, const CCSize& originalSize) {
    setTexture(texture);
    m_obRect = rect;
    m_bRotated = rotated;
    m_obOffset = offset;
    m_obOriginalSize = originalSize;
    return true;
}

void CCSpriteFrame::setTexture(CCTexture2D* texture) {
    if (texture == m_pobTexture)
        return;
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(m_pobTexture);
    m_pobTexture = texture;
}

CCSpriteFrame* CCSpriteFrame::clone() const {
    return createWithTexture(m_pobTexture, m_obRect, m_bRotated, m_obOffset, m_obOriginalSize);
}

} // namespace cocos2d
