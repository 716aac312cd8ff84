#include <GL/glew.h>

#include "renderer/CCTextureStorage.h"

#include <algorithm>

#include "renderer/CCGLContext.h"
#include "renderer/CCQuadRenderer.h"

namespace cocos2d {

namespace {

// More than any program of the engine or the player reads.
constexpr GLint kMaxArrays = 16;

} // namespace

void ccGLReleaseDeletedTextureStorage() {
    ccDrawFlush();
    if (!ccGLContextReady())
        return;
    GLint arrays = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &arrays);
    arrays = std::min(arrays, kMaxArrays);
    GLint enabled[kMaxArrays] = {};
    for (GLint index = 0; index < arrays; ++index) {
        glGetVertexAttribiv(static_cast<GLuint>(index), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled[index]);
        if (enabled[index])
            glDisableVertexAttribArray(static_cast<GLuint>(index));
    }
    // Every vertex takes the same constant position: the triangle has no area.
    glDrawArrays(GL_TRIANGLES, 0, 3);
    for (GLint index = 0; index < arrays; ++index)
        if (enabled[index])
            glEnableVertexAttribArray(static_cast<GLuint>(index));
    glFinish();
}

} // namespace cocos2d
