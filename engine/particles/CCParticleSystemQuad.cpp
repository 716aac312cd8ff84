#include "particles/CCParticleSystemQuad.h"

#include <cmath>

#include "renderer/CCGLProgram.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/CCShaderCache.h"
#include "textures/CCTexture2D.h"

NS_CC_BEGIN

namespace {

GLubyte colorByte(float value) {
    if (!(value > 0.0f))
        return 0;
    return value >= 1.0f ? 255 : static_cast<GLubyte>(value * 255.0f + 0.5f);
}

} // namespace

const std::vector<ccV3F_C4B_T2F_Quad>& CCParticleSystemQuad::buildQuads() {
    getParticlePositions(m_positions);
    const auto& particles = m_simulation.particles();
    m_quads.resize(particles.size());

    const bool premultiply = m_pTexture && m_pTexture->hasPremultipliedAlpha();
    const float maxS = m_pTexture ? m_pTexture->getMaxS() : 1.0f;
    const float maxT = m_pTexture ? m_pTexture->getMaxT() : 1.0f;

    for (size_t i = 0; i < particles.size(); ++i) {
        const tCCParticle& p = particles[i];
        const CCPoint& centre = m_positions[i];
        ccV3F_C4B_T2F_Quad& quad = m_quads[i];

        float alpha = p.color.a;
        float shade = premultiply ? alpha : 1.0f;
        ccColor4B color{colorByte(p.color.r * shade), colorByte(p.color.g * shade),
                        colorByte(p.color.b * shade), colorByte(alpha)};
        quad.tl.colors = quad.bl.colors = quad.tr.colors = quad.br.colors = color;

        // The texture's first row is at t = 0, the top of the square.
        quad.tl.texCoords = tex2(0, 0);
        quad.bl.texCoords = tex2(0, maxT);
        quad.tr.texCoords = tex2(maxS, 0);
        quad.br.texCoords = tex2(maxS, maxT);

        float half = p.size * 0.5f;
        // Clockwise spin: corner (dx, dy) goes to (dx cos + dy sin, -dx sin + dy cos).
        float radians = CC_DEGREES_TO_RADIANS(p.rotation);
        float c = std::cos(radians);
        float s = std::sin(radians);
        auto corner = [&](float dx, float dy) {
            return vertex3(centre.x + dx * c + dy * s, centre.y - dx * s + dy * c, 0.0f);
        };
        quad.tl.vertices = corner(-half, half);
        quad.bl.vertices = corner(-half, -half);
        quad.tr.vertices = corner(half, half);
        quad.br.vertices = corner(half, -half);
    }
    return m_quads;
}

void CCParticleSystemQuad::draw() {
    if (!m_pTexture || m_simulation.particleCount() == 0)
        return;
    CCGLProgram* program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor);
    const auto& quads = buildQuads();
    ccDrawTexturedQuads(program, m_pTexture->getName(), m_tBlendFunc, quads.data(), quads.size());
}

NS_CC_END
