#include <GL/glew.h>

#include "renderer/CCGLContext.h"

#include <cstdio>

#include "renderer/CCQuadRenderer.h"

namespace cocos2d {

namespace {
bool g_contextReady = false;
}

bool ccGLContextReady() {
    return g_contextReady;
}

void ccGLSetContextReady(bool ready) {
    // Quads still waiting go to the context they were meant for, before it goes away.
    if (!ready)
        ccDrawFlush();
    g_contextReady = ready;
}

bool ccGLLoadEntryPoints() {
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    // 4 is GLEW_ERROR_NO_GLX_DISPLAY: harmless with an EGL context.
    if (result != GLEW_OK && result != 4) {
        std::fprintf(stderr, "glewInit failed: %u\n", static_cast<unsigned>(result));
        return false;
    }
    if (!GLEW_VERSION_2_0) {
        std::fprintf(stderr, "OpenGL 2.0 is not available\n");
        return false;
    }
    // glewInit may leave a GL error behind on some drivers.
    while (glGetError() != GL_NO_ERROR) {
    }
    return true;
}

} // namespace cocos2d
