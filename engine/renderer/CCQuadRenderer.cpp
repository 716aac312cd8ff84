#include <GL/glew.h>

#include "renderer/CCQuadRenderer.h"

#include <cstring>
#include <vector>

#include "kazmath/GL/matrix.h"
#include "renderer/CCGLContext.h"
#include "renderer/CCGLProgram.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"

NS_CC_BEGIN

namespace {

// The pending run: quads with the model-view matrix already applied, all to be drawn with
// one program, texture, blend function and projection.
struct QuadBatch {
    CCGLProgram* program = nullptr; // retained while quads wait
    GLuint texture = 0;
    ccBlendFunc blend{0, 0};
    kmMat4 projection{};
    std::vector<ccV3F_C4B_T2F_Quad> quads; // the first `count` are pending
    size_t count = 0;
    // Set while the batch draws: the state-cache helpers it calls must not flush it again.
    bool flushing = false;
};

QuadBatch g_batch;

// Two triangles per quad over the corners tl, bl, tr, br, for a full batch.
const GLushort* quadIndices() {
    static std::vector<GLushort> indices;
    if (indices.empty()) {
        indices.reserve(kCCQuadBatchCapacity * 6);
        for (size_t q = 0; q < kCCQuadBatchCapacity; ++q) {
            const GLushort base = static_cast<GLushort>(q * 4);
            const GLushort quad[6] = {base,
                                      static_cast<GLushort>(base + 1),
                                      static_cast<GLushort>(base + 2),
                                      static_cast<GLushort>(base + 3),
                                      static_cast<GLushort>(base + 2),
                                      static_cast<GLushort>(base + 1)};
            indices.insert(indices.end(), quad, quad + 6);
        }
    }
    return indices.data();
}

// Points the position, colour and texture-coordinate attributes at quads and draws count of them.
void drawQuads(const ccV3F_C4B_T2F_Quad* quads, size_t count) {
    ccGLEnableVertexAttribs(kCCVertexAttribFlag_PosColorTex);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    const GLsizei stride = sizeof(ccV3F_C4B_T2F);
    const char* base = reinterpret_cast<const char*>(quads);
    glVertexAttribPointer(kCCVertexAttrib_Position, 3, GL_FLOAT, GL_FALSE, stride,
                          base + offsetof(ccV3F_C4B_T2F, vertices));
    glVertexAttribPointer(kCCVertexAttrib_Color, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          base + offsetof(ccV3F_C4B_T2F, colors));
    glVertexAttribPointer(kCCVertexAttrib_TexCoords, 2, GL_FLOAT, GL_FALSE, stride,
                          base + offsetof(ccV3F_C4B_T2F, texCoords));
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count * 6), GL_UNSIGNED_SHORT, quadIndices());
    CC_INCREMENT_GL_DRAWS(1);
}

// A model-view matrix with a last row of (0, 0, 0, 1) maps vertices without a w divide, so
// the CPU can apply it; anything else keeps the GPU path.
bool isAffine(const kmMat4& m) {
    return m.mat[3] == 0.f && m.mat[7] == 0.f && m.mat[11] == 0.f && m.mat[15] == 1.f;
}

inline void transformVertex(const float* m, const ccVertex3F& in, ccVertex3F* out) {
    out->x = m[0] * in.x + m[4] * in.y + m[8] * in.z + m[12];
    out->y = m[1] * in.x + m[5] * in.y + m[9] * in.z + m[13];
    out->z = m[2] * in.x + m[6] * in.y + m[10] * in.z + m[14];
}

bool sameRun(const QuadBatch& b, CCGLProgram* program, GLuint texture, const ccBlendFunc& blend,
             const kmMat4& projection) {
    return b.program == program && b.texture == texture && b.blend.src == blend.src &&
           b.blend.dst == blend.dst &&
           std::memcmp(b.projection.mat, projection.mat, sizeof projection.mat) == 0;
}

void startRun(QuadBatch& b, CCGLProgram* program, GLuint texture, const ccBlendFunc& blend,
              const kmMat4& projection) {
    program->retain();
    b.program = program;
    b.texture = texture;
    b.blend = blend;
    b.projection = projection;
    if (b.quads.size() < kCCQuadBatchCapacity)
        b.quads.resize(kCCQuadBatchCapacity);
}

// Draws at once with the model-view matrix on the GPU, for matrices the batch cannot apply.
void drawUnbatched(CCGLProgram* program, GLuint texture, const ccBlendFunc& blend,
                   const ccV3F_C4B_T2F_Quad* quads, size_t count) {
    program->use();
    program->setUniformsForBuiltins();
    ccGLBlendFunc(blend.src, blend.dst);
    ccGLBindTexture2D(texture);
    for (size_t first = 0; first < count; first += kCCQuadBatchCapacity) {
        const size_t n = count - first < kCCQuadBatchCapacity ? count - first : kCCQuadBatchCapacity;
        drawQuads(quads + first, n);
    }
}

} // namespace

void ccDrawTexturedQuads(CCGLProgram* program, GLuint texture, const ccBlendFunc& blend,
                         const ccV3F_C4B_T2F_Quad* quads, size_t count) {
    if (!ccGLContextReady() || !program || !quads || count == 0)
        return;
    kmMat4 modelView;
    kmMat4 projection;
    kmGLGetMatrix(KM_GL_MODELVIEW, &modelView);
    kmGLGetMatrix(KM_GL_PROJECTION, &projection);
    QuadBatch& b = g_batch;
    if (!isAffine(modelView)) {
        ccDrawFlush();
        drawUnbatched(program, texture, blend, quads, count);
        return;
    }
    if (b.count > 0 && !sameRun(b, program, texture, blend, projection))
        ccDrawFlush();
    const float* m = modelView.mat;
    for (size_t i = 0; i < count; ++i) {
        if (b.count == kCCQuadBatchCapacity)
            ccDrawFlush();
        if (b.count == 0)
            startRun(b, program, texture, blend, projection);
        const ccV3F_C4B_T2F_Quad& in = quads[i];
        ccV3F_C4B_T2F_Quad& out = b.quads[b.count++];
        out = in;
        transformVertex(m, in.tl.vertices, &out.tl.vertices);
        transformVertex(m, in.bl.vertices, &out.bl.vertices);
        transformVertex(m, in.tr.vertices, &out.tr.vertices);
        transformVertex(m, in.br.vertices, &out.br.vertices);
    }
}

void ccDrawFlush() {
    QuadBatch& b = g_batch;
    if (b.count == 0 || b.flushing)
        return;
    b.flushing = true;
    if (ccGLContextReady()) {
        kmMat4 identity;
        kmMat4Identity(&identity);
        b.program->use();
        b.program->setUniformsForBuiltins(b.projection, identity);
        ccGLBlendFunc(b.blend.src, b.blend.dst);
        ccGLBindTexture2D(b.texture);
        drawQuads(b.quads.data(), b.count);
    }
    b.count = 0;
    CCGLProgram* program = b.program;
    b.program = nullptr;
    b.flushing = false;
    // Last: releasing may delete the program, which flushes (now a no-op).
    program->release();
}

NS_CC_END
