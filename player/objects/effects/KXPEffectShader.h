#pragma once

// The drawing shared by the hand-drawn effects (light, trail, flag): 2-float positions and
// texture coordinates, one texture, one colour in the uniform "u_color", through the engine's
// cached program "ShaderPositionTexture_uColor", one GL draw call. Without GL it draws nothing.

#include "cocos2d.h"

class KXPEffectShader {
public:
    // Looks the program and its colour uniform up in the engine's shader cache.
    KXPEffectShader();
    ~KXPEffectShader();
    KXPEffectShader(const KXPEffectShader&) = delete;
    KXPEffectShader& operator=(const KXPEffectShader&) = delete;

    bool isReady() const { return m_program != nullptr; }
    cocos2d::CCGLProgram* program() const { return m_program; }
    int colorLocation() const { return m_colorLocation; }

    // Draws count vertices in the current model-view space as `mode` (a fan or a strip), the
    // texture tinted by the premultiplied colour. Quads batched earlier are drawn first.
    void draw(GLenum mode, const cocos2d::ccVertex2F* positions, const cocos2d::ccTex2F* texCoords, int count,
              cocos2d::CCTexture2D* texture, const cocos2d::ccColor4F& color);

private:
    cocos2d::CCGLProgram* m_program = nullptr; // retained
    int m_colorLocation = -1;
};
