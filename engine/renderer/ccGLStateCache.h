// A small cache of GL state (program, blend function, bound texture, enabled vertex
// attributes) so repeated draws skip redundant calls. Code that changes this state with
// raw GL calls should go through these functions, or invalidate the cache afterwards.
// Every function here first draws the quads waiting in the frame's batch (ccDrawFlush in
// renderer/CCQuadRenderer.h), which were meant for the state as it was before.
#pragma once

#include "base/ccTypes.h"

namespace cocos2d {

enum {
    kCCVertexAttribFlag_None = 0,
    kCCVertexAttribFlag_Position = 1 << 0,
    kCCVertexAttribFlag_Color = 1 << 1,
    kCCVertexAttribFlag_TexCoords = 1 << 2,
    kCCVertexAttribFlag_PosColorTex =
        kCCVertexAttribFlag_Position | kCCVertexAttribFlag_Color | kCCVertexAttribFlag_TexCoords,
};

// Forgets every cached value (after a context change or foreign GL calls) and resets the
// blend function to the engine's default (ONE, ONE_MINUS_SRC_ALPHA).
void ccGLInvalidateStateCache();
void ccGLUseProgram(GLuint program);
void ccGLDeleteProgram(GLuint program);
// (ONE, ZERO) disables blending; anything else enables it.
void ccGLBlendFunc(GLenum sfactor, GLenum dfactor);
void ccGLBlendResetToCache();
void ccGLBindTexture2D(GLuint textureId);
void ccGLBindTexture2DN(GLuint textureUnit, GLuint textureId);
void ccGLDeleteTexture(GLuint textureId);
// Enables exactly the attributes in flags (kCCVertexAttribFlag_*), disabling the others.
void ccGLEnableVertexAttribs(unsigned int flags);

} // namespace cocos2d
