#include "model/classes/KXBaseModelSprite.h"

#include "cocos2d.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXMediaPath.h"

using namespace cocos2d;

namespace {

const CCSize& sizeOf(const KXAttributeSize* attribute) {
    static const CCSize zero;
    return attribute != nullptr ? attribute->value() : zero;
}

// The cached texture of the path, else the file loaded into the cache when it exists.
CCTexture2D* cachedOrLoaded(const std::string& path) {
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    if (CCTexture2D* texture = cache->textureForKey(path.c_str())) {
        return texture;
    }
    if (CCFileUtils::sharedFileUtils()->isFileExist(path)) {
        return cache->addImage(path.c_str());
    }
    return nullptr;
}

} // namespace

KXBaseModelSprite::KXBaseModelSprite(const std::string& name) : KXModel(name) {
    new KXAttributeSize("Size", this);
    new KXAttributeRect("Source Rect", this);
    new KXAttributeSize("SourceSize", this);
    new KXAttributePoint("Offset", this);
    bindAttributes();
}

KXBaseModelSprite::KXBaseModelSprite(const KXBaseModelSprite& source) : KXModel(source) {
    bindAttributes();
}

void KXBaseModelSprite::bindAttributes() {
    m_size = boundAttribute<KXAttributeSize>(*this, "Size");
    m_sourceRect = boundAttribute<KXAttributeRect>(*this, "Source Rect");
    m_sourceSize = boundAttribute<KXAttributeSize>(*this, "SourceSize");
    m_offset = boundAttribute<KXAttributePoint>(*this, "Offset");
}

std::string KXBaseModelSprite::imagePath() const {
    return kxMediaPath("/images/KXModelSprite_ID", id(), ".png");
}

std::string KXBaseModelSprite::effectPath() const {
    return kxMediaPath("/effects/KXModelSprite_ID", id(), ".png");
}

CCTexture2D* KXBaseModelSprite::texture() const {
    if (CCTexture2D* effect = cachedOrLoaded(effectPath())) {
        return effect;
    }
    return cachedOrLoaded(imagePath());
}

std::string KXBaseModelSprite::spriteFrameName() const {
    return "KXModelSprite_ID" + std::to_string(static_cast<int32_t>(id()));
}

CCSpriteFrame* KXBaseModelSprite::spriteFrame() const {
    return CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(spriteFrameName().c_str());
}

CCSprite* KXBaseModelSprite::createSprite() const {
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(spriteFrameName().c_str());
    if (sprite != nullptr) {
        sprite->setAnchorPoint(CCPoint(0.5f, 0.5f));
    }
    return sprite;
}

const CCSize& KXBaseModelSprite::size() const {
    return sizeOf(m_size);
}

const CCSize& KXBaseModelSprite::sourceSize() const {
    return sizeOf(m_sourceSize);
}
