#include "player/objects/effects/KXPFlagStrip.h"

#include "player/base/KXPNoise.h"

using namespace cocos2d;

namespace {
// Model wave lengths are given in fiftieths.
constexpr double kWaveUnits = 50.0;
// The phase moves a thousandth of "Speed" per second and counts ten times in the noise.
constexpr double kScrollPerSpeed = 0.001;
constexpr double kPhaseScale = 10.0;
} // namespace

void KXPFlagStrip::build(const KXPFlagShape& shape, double phase, ccVertex2F* vertices, ccTex2F* texCoords) {
    for (int column = 0; column < kColumns; ++column) {
        const float t = static_cast<float>(column) / static_cast<float>(kColumns);
        const float wave = static_cast<float>(
            noise1(shape.waveLength / kWaveUnits * (phase * kPhaseScale + t)) * shape.waveHeight);
        const float width = shape.startWidth * (1.0f - t) + shape.endWidth * t;
        const float x = shape.length * t;
        vertices[2 * column] = ccVertex2F{x, wave * t + width};
        texCoords[2 * column] = ccTex2F{t, 0.0f};
        vertices[2 * column + 1] = ccVertex2F{x, wave * t - width};
        texCoords[2 * column + 1] = ccTex2F{t, 1.0f};
    }
}

double KXPFlagStrip::advance(double phase, float speed, float dt) {
    return phase - speed * (dt * kScrollPerSpeed);
}
