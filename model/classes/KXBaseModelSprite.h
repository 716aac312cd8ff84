#pragma once

#include "model/KXModel.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributePoint.h"

#include "base/CCGeometry.h"

#include <string>

namespace cocos2d {
class CCSprite;
class CCSpriteFrame;
class CCTexture2D;
} // namespace cocos2d

// One image of the game. The file is named after the model's id; the effect image, when
// present, takes precedence over the plain one.
class KXBaseModelSprite : public KXModel {
public:
    explicit KXBaseModelSprite(const std::string& name);
    KXBaseModelSprite(const KXBaseModelSprite& source);

    // data directory + "/images/KXModelSprite_ID<id>.png"
    virtual std::string imagePath() const;
    // data directory + "/effects/KXModelSprite_ID<id>.png"
    virtual std::string effectPath() const;
    // The effect image, else the plain image, from the shared texture cache (loaded on
    // first use); null when neither file exists. The cache owns the texture.
    virtual cocos2d::CCTexture2D* texture() const;

    // "KXModelSprite_ID<id>", the name of this sprite's frame in the sprite-frame cache.
    std::string spriteFrameName() const;
    // The cached frame of that name, or null.
    cocos2d::CCSpriteFrame* spriteFrame() const;
    // An autoreleased sprite showing that frame, anchored at its centre; null without the frame.
    cocos2d::CCSprite* createSprite() const;

    // Pixel size of the image.
    const cocos2d::CCSize& size() const;
    const cocos2d::CCSize& sourceSize() const;

    KXAttributeSize* sizeAttribute() const { return m_size; }
    KXAttributeRect* sourceRectAttribute() const { return m_sourceRect; }
    KXAttributeSize* sourceSizeAttribute() const { return m_sourceSize; }
    KXAttributePoint* offsetAttribute() const { return m_offset; }

private:
    void bindAttributes();

    KXAttributeSize* m_size = nullptr;
    KXAttributeRect* m_sourceRect = nullptr;
    KXAttributeSize* m_sourceSize = nullptr;
    KXAttributePoint* m_offset = nullptr;
};
