// Draws textured, coloured quads (sprites, glyphs) in the current model-view space.
#pragma once

#include <cstddef>

#include "base/ccTypes.h"

NS_CC_BEGIN

class CCGLProgram;

// Uses program (a position/colour/texture-coordinate program), binds texture and sets the
// blend function, then draws count quads in one call. Nothing happens without GL.
void ccDrawTexturedQuads(CCGLProgram* program, GLuint texture, const ccBlendFunc& blend,
                         const ccV3F_C4B_T2F_Quad* quads, size_t count);

NS_CC_END
