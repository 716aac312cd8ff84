// Draws textured, coloured quads (sprites, bitmap-font glyphs, particles) through one
// frame-wide batch.
//
// ccDrawTexturedQuads does not draw at once: it transforms the quads by the current model-view
// matrix and appends them to the batch. The batch is drawn with one indexed call (and counted
// as one draw) when a quad arrives with another texture, program, blend function or projection,
// when it holds kCCQuadBatchCapacity quads, and whenever ccDrawFlush() is called. The engine
// flushes before everything else that draws or reads the frame: draw primitives, render
// texture begin/end and reads, screenshots and pixel reads, view-port and scissor changes,
// and at the end of each frame.
//
// Game code that draws with GL itself (glDrawArrays, glDrawElements, glClear, glScissor,
// glBindFramebuffer, glViewport, glReadPixels, raw glUseProgram/glBindTexture/glBlendFunc)
// must call ccDrawFlush() before its first GL call, or quads appended earlier in the frame
// would be drawn later, on top of its drawing. The state-cache helpers (ccGLUseProgram,
// CCGLProgram::use, the CCGLProgram uniform setters, ccGLBindTexture2D, ccGLBlendFunc,
// ccGLEnableVertexAttribs) flush by themselves, so drawing code that sets its program through
// them first is already in order; the explicit call costs nothing when the batch is empty.
#pragma once

#include <cstddef>

#include "base/ccTypes.h"

NS_CC_BEGIN

class CCGLProgram;

// Quads per indexed call (16-bit indices).
constexpr size_t kCCQuadBatchCapacity = 16384;

// Appends count quads, given in the current model-view space, to the frame's batch. program
// is a position/colour/texture-coordinate program; it is retained while its quads wait.
// Nothing happens without GL.
void ccDrawTexturedQuads(CCGLProgram* program, GLuint texture, const ccBlendFunc& blend,
                         const ccV3F_C4B_T2F_Quad* quads, size_t count);

// Draws the quads waiting in the batch (one call) and empties it; without quads it does
// nothing. Call it before drawing with GL directly.
void ccDrawFlush();

NS_CC_END
