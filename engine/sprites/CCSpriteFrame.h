// A rectangle of a texture, possibly trimmed (offset, original size) or stored rotated by
// 90 degrees clockwise in its atlas. All sizes are in points (one point is one pixel here).
#pragma once

#include "base/CCGeometry.h"
#include "base/CCObject.h"

namespace cocos2d {

class CCTexture2D;

class CCSpriteFrame : public CCObject {
public:
    static CCSpriteFrame* createWithTexture(CCTexture2D* texture, const CCRect& rect);
    // rect: the frame's (unrotated) size at its place in the texture; offset: the trimmed
    // image's centre relative to the original image's centre; originalSize: untrimmed size.
    static CCSpriteFrame* createWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                                            const CCPoint& offset, const CCSize& originalSize);
    static CCSpriteFrame* create(const char* textureFile, const CCRect& rect);

    ~CCSpriteFrame() override;

    bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
    bool initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated, const CCPoint& offset,
                         const CCSize& originalSize);

    const CCRect& getRect() const { return m_obRect; }
    void setRect(const CCRect& rect) { m_obRect = rect; }
    const CCRect& getRectInPixels() const { return m_obRect; }
    bool isRotated() const { return m_bRotated; }
    void setRotated(bool rotated) { m_bRotated = rotated; }
    const CCPoint& getOffset() const { return m_obOffset; }
    void setOffset(const CCPoint& offset) { m_obOffset = offset; }
    const CCPoint& getOffsetInPixels() const { return m_obOffset; }
    const CCSize& getOriginalSize() const { return m_obOriginalSize; }
    void setOriginalSize(const CCSize& size) { m_obOriginalSize = size; }
    const CCSize& getOriginalSizeInPixels() const { return m_obOriginalSize; }
    CCTexture2D* getTexture() const { return m_pobTexture; }
    void setTexture(CCTexture2D* texture);

    CCSpriteFrame* clone() const;

private:
    CCTexture2D* m_pobTexture = nullptr;
    CCRect m_obRect;
    bool m_bRotated = false;
    CCPoint m_obOffset;
    CCSize m_obOriginalSize;
};

} // namespace cocos2d
