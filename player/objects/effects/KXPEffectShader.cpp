#include <GL/glew.h>

#include "player/objects/effects/KXPEffectShader.h"

#include "renderer/CCGLContext.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"

using namespace cocos2d;

KXPEffectShader::KXPEffectShader() {
    m_program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTexture_uColor);
    if (m_program != nullptr) {
        m_program->retain();
        m_colorLocation = m_program->getUniformLocationForName("u_color");
    }
}

KXPEffectShader::~KXPEffectShader() {
    if (m_program != nullptr) {
        m_program->release();
    }
}

void KXPEffectShader::draw(GLenum mode, const ccVertex2F* positions, const ccTex2F* texCoords, int count,
                           CCTexture2D* texture, const ccColor4F& color) {
    if (m_program == nullptr || texture == nullptr || count <= 0 || !ccGLContextReady()) {
        return;
    }
    // Sprites batched before this effect must land below it.
    ccDrawFlush();
    m_program->use();
    m_program->setUniformsForBuiltins();
    m_program->setUniformLocationWith4f(m_colorLocation, color.r, color.g, color.b, color.a);
    ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position | kCCVertexAttribFlag_TexCoords);
    ccGLBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);
    ccGLBindTexture2D(texture->getName());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, positions);
    glVertexAttribPointer(kCCVertexAttrib_TexCoords, 2, GL_FLOAT, GL_FALSE, 0, texCoords);
    glDrawArrays(mode, 0, count);
    CC_INCREMENT_GL_DRAWS(1);
}
