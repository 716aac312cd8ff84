// Nodes that draw with a blend function, and nodes that draw a texture.
#pragma once

#include "base/ccTypes.h"

NS_CC_BEGIN

class CCTexture2D;

// Blend function of premultiplied textures, the engine's default.
#define CC_BLEND_SRC GL_ONE
#define CC_BLEND_DST GL_ONE_MINUS_SRC_ALPHA

class CCBlendProtocol {
public:
    virtual ~CCBlendProtocol() = default;
    virtual void setBlendFunc(ccBlendFunc blendFunc) = 0;
    virtual ccBlendFunc getBlendFunc() = 0;
};

class CCTextureProtocol : public CCBlendProtocol {
public:
    virtual CCTexture2D* getTexture() = 0;
    virtual void setTexture(CCTexture2D* texture) = 0;
};

NS_CC_END
