// A particle system drawn as one textured, coloured square per particle.
#pragma once

#include <vector>

#include "particles/CCParticleSystem.h"

NS_CC_BEGIN

class CCParticleSystemQuad : public CCParticleSystem {
public:
    CCParticleSystemQuad() = default;

    void draw() override;

    // The squares draw() sends, in this node's space: centred on each particle, its size wide,
    // turned by its spin (clockwise degrees). Colours are premultiplied for premultiplied textures.
    const std::vector<ccV3F_C4B_T2F_Quad>& buildQuads();

private:
    std::vector<ccV3F_C4B_T2F_Quad> m_quads;
    std::vector<CCPoint> m_positions;
};

NS_CC_END
