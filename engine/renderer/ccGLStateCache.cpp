#include <GL/glew.h>

#include "renderer/ccGLStateCache.h"

#include "renderer/CCGLContext.h"
#include "renderer/CCQuadRenderer.h"

namespace cocos2d {

namespace {

constexpr int kTextureUnits = 16;
constexpr GLuint kUnknown = ~0u;

GLuint g_currentProgram = kUnknown;
GLenum g_blendSrc = kUnknown;
GLenum g_blendDst = kUnknown;
GLuint g_boundTextures[kTextureUnits];
unsigned int g_enabledAttribs = 0;
bool g_attribsKnown = false;

void applyBlend(GLenum sfactor, GLenum dfactor) {
    if (sfactor == GL_ONE && dfactor == GL_ZERO) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(sfactor, dfactor);
    }
}

struct CacheInit {
    CacheInit() {
        for (GLuint& t : g_boundTextures)
            t = kUnknown;
    }
} g_cacheInit;

} // namespace

void ccGLInvalidateStateCache() {
    ccDrawFlush();
    g_currentProgram = kUnknown;
    for (GLuint& t : g_boundTextures)
        t = kUnknown;
    g_enabledAttribs = 0;
    g_attribsKnown = false;
    g_blendSrc = GL_ONE;
    g_blendDst = GL_ONE_MINUS_SRC_ALPHA;
    if (ccGLContextReady())
        applyBlend(g_blendSrc, g_blendDst);
}

void ccGLUseProgram(GLuint program) {
    ccDrawFlush();
    if (!ccGLContextReady() || program == g_currentProgram)
        return;
    g_currentProgram = program;
    glUseProgram(program);
}

void ccGLDeleteProgram(GLuint program) {
    ccDrawFlush();
    if (!ccGLContextReady())
        return;
    if (program == g_currentProgram)
        g_currentProgram = kUnknown;
    glDeleteProgram(program);
}

void ccGLBlendFunc(GLenum sfactor, GLenum dfactor) {
    ccDrawFlush();
    if (!ccGLContextReady() || (sfactor == g_blendSrc && dfactor == g_blendDst))
        return;
    g_blendSrc = sfactor;
    g_blendDst = dfactor;
    applyBlend(sfactor, dfactor);
}

void ccGLBlendResetToCache() {
    ccDrawFlush();
    if (!ccGLContextReady() || g_blendSrc == kUnknown)
        return;
    glBlendEquation(GL_FUNC_ADD);
    applyBlend(g_blendSrc, g_blendDst);
}

void ccGLBindTexture2D(GLuint textureId) {
    ccGLBindTexture2DN(0, textureId);
}

void ccGLBindTexture2DN(GLuint textureUnit, GLuint textureId) {
    ccDrawFlush();
    if (!ccGLContextReady() || textureUnit >= kTextureUnits || g_boundTextures[textureUnit] == textureId)
        return;
    g_boundTextures[textureUnit] = textureId;
    glActiveTexture(GL_TEXTURE0 + textureUnit);
    glBindTexture(GL_TEXTURE_2D, textureId);
    if (textureUnit != 0)
        glActiveTexture(GL_TEXTURE0);
}

void ccGLDeleteTexture(GLuint textureId) {
    ccDrawFlush();
    if (!ccGLContextReady())
        return;
    for (GLuint& t : g_boundTextures)
        if (t == textureId)
            t = kUnknown;
    glDeleteTextures(1, &textureId);
}

void ccGLEnableVertexAttribs(unsigned int flags) {
    ccDrawFlush();
    if (!ccGLContextReady())
        return;
    static const unsigned int kFlags[3] = {kCCVertexAttribFlag_Position, kCCVertexAttribFlag_Color,
                                           kCCVertexAttribFlag_TexCoords};
    for (GLuint index = 0; index < 3; ++index) {
        const bool wanted = (flags & kFlags[index]) != 0;
        const bool enabled = (g_enabledAttribs & kFlags[index]) != 0;
        if (!g_attribsKnown || wanted != enabled) {
            if (wanted)
                glEnableVertexAttribArray(index);
            else
                glDisableVertexAttribArray(index);
        }
    }
    g_enabledAttribs = flags;
    g_attribsKnown = true;
}

} // namespace cocos2d
