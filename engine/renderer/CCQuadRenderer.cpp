#include <GL/glew.h>

#include "renderer/CCQuadRenderer.h"

#include <vector>

#include "renderer/CCGLContext.h"
#include "renderer/CCGLProgram.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"

NS_CC_BEGIN

namespace {

// Two triangles per quad over the corners tl, bl, tr, br.
const std::vector<GLushort>& quadIndices(size_t count) {
    static std::vector<GLushort> indices;
    while (indices.size() < count * 6) {
        const GLushort base = static_cast<GLushort>(indices.size() / 6 * 4);
        const GLushort quad[6] = {base,
                                  static_cast<GLushort>(base + 1),
                                  static_cast<GLushort>(base + 2),
                                  static_cast<GLushort>(base + 3),
                                  static_cast<GLushort>(base + 2),
                                  static_cast<GLushort>(base + 1)};
        indices.insert(indices.end(), quad, quad + 6);
    }
    return indices;
}

// 16-bit indices reach 16384 quads per call.
constexpr size_t kMaxQuadsPerCall = 16384;

} // namespace

void ccDrawTexturedQuads(CCGLProgram* program, GLuint texture, const ccBlendFunc& blend,
                         const ccV3F_C4B_T2F_Quad* quads, size_t count) {
    if (!ccGLContextReady() || !program || !quads || count == 0)
        return;
    program->use();
    program->setUniformsForBuiltins();
    ccGLBlendFunc(blend.src, blend.dst);
    ccGLBindTexture2D(texture);
    ccGLEnableVertexAttribs(kCCVertexAttribFlag_PosColorTex);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    const GLsizei stride = sizeof(ccV3F_C4B_T2F);
    for (size_t first = 0; first < count; first += kMaxQuadsPerCall) {
        const size_t n = count - first < kMaxQuadsPerCall ? count - first : kMaxQuadsPerCall;
        const char* base = reinterpret_cast<const char*>(quads + first);
        glVertexAttribPointer(kCCVertexAttrib_Position, 3, GL_FLOAT, GL_FALSE, stride,
                              base + offsetof(ccV3F_C4B_T2F, vertices));
        glVertexAttribPointer(kCCVertexAttrib_Color, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              base + offsetof(ccV3F_C4B_T2F, colors));
        glVertexAttribPointer(kCCVertexAttrib_TexCoords, 2, GL_FLOAT, GL_FALSE, stride,
                              base + offsetof(ccV3F_C4B_T2F, texCoords));
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(n * 6), GL_UNSIGNED_SHORT, quadIndices(n).data());
        CC_INCREMENT_GL_DRAWS(1);
    }
}

NS_CC_END
