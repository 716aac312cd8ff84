// Holds a texture for sprites that share it; it exists for code that keeps one as a member or
// parent. Its children are drawn as ordinary sprites: every run of quads with one texture,
// program and blend function is drawn in one call anyway (renderer/CCQuadRenderer.h).
#pragma once

#include "nodes/CCNode.h"
#include "textures/CCTextureProtocol.h"

NS_CC_BEGIN

class CCTexture2D;

class CCSpriteBatchNode : public CCNode, public CCTextureProtocol {
public:
    static const unsigned int kDefaultCapacity = 29;

    // Null when the image cannot be loaded.
    static CCSpriteBatchNode* create(const char* fileImage, unsigned int capacity = kDefaultCapacity);
    static CCSpriteBatchNode* createWithTexture(CCTexture2D* texture,
                                                unsigned int capacity = kDefaultCapacity);

    CCSpriteBatchNode() = default;
    ~CCSpriteBatchNode() override;

    bool initWithTexture(CCTexture2D* texture, unsigned int capacity);
    bool initWithFile(const char* fileImage, unsigned int capacity);

    CCTexture2D* getTexture() override { return m_pobTexture; }
    void setTexture(CCTexture2D* texture) override;
    void setBlendFunc(ccBlendFunc blendFunc) override { m_blendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_blendFunc; }

private:
    CCTexture2D* m_pobTexture = nullptr; // retained
    ccBlendFunc m_blendFunc{CC_BLEND_SRC, CC_BLEND_DST};
};

NS_CC_END
