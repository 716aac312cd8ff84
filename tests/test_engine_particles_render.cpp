// Particle systems drawn into the offscreen frame: squares of the particle size around each
// particle, in the particle's colour, the texture upright and spun clockwise, and the blends.
#include "support/render_test_support.h"

using namespace cocos2d;
using kxtest::Rgba;

namespace {

class ParticleRender : public kxtest::RenderTest {
protected:
    // An emitter at (50, 50) whose particles stay where they are born.
    CCParticleSystemQuad* emitterWithTexture(const std::string& png, float size, const ccColor4F& colour) {
        auto* emitter = new CCParticleSystemQuad();
        EXPECT_TRUE(emitter->initWithTotalParticles(10));
        CCTexture2D* texture = new CCTexture2D();
        EXPECT_TRUE(texture->initWithImageFile(png.c_str()));
        emitter->setTexture(texture);
        texture->release();
        emitter->setPosition(50.0f, 50.0f);
        emitter->setPositionType(kCCPositionTypeGrouped);
        emitter->setEmissionRate(4.0f);
        emitter->setLife(100.0f);
        emitter->setStartSize(size);
        emitter->setEndSize(kCCParticleStartSizeEqualToEndSize);
        emitter->setStartColor(colour);
        emitter->setEndColor(colour);
        return emitter;
    }
};

} // namespace

TEST_F(ParticleRender, AParticleIsASquareOfItsSizeInItsColour) {
    CCParticleSystemQuad* emitter =
        emitterWithTexture(solidPng("white.png", 4, 4, {255, 255, 255, 255}), 10.0f, ccc4f(1, 0, 0, 1));
    emitter->update(0.25f);
    ASSERT_EQ(emitter->getParticleCount(), 1u);
    render({emitter});
    // Centre (50, 50), 10 x 10: pixels 45..54.
    EXPECT_PIXEL(pixel(45, 45), 255, 0, 0);
    EXPECT_PIXEL(pixel(54, 54), 255, 0, 0);
    EXPECT_PIXEL(pixel(43, 50), 0, 0, 0);
    EXPECT_PIXEL(pixel(56, 50), 0, 0, 0);

    emitter->setVisible(false);
    render({emitter});
    EXPECT_PIXEL(pixel(50, 50), 0, 0, 0);
    emitter->release();
}

TEST_F(ParticleRender, TheTextureIsUprightAndSpinsClockwise) {
    kxtest::PixelImage image(4, 4, {0, 0, 255, 255});
    image.fillRect(0, 0, 4, 2, {255, 0, 0, 255}); // upper half red, lower half blue
    ASSERT_TRUE(image.savePng(folder.file("halves.png")));
    CCParticleSystemQuad* emitter = emitterWithTexture(folder.file("halves.png"), 16.0f, ccc4f(1, 1, 1, 1));
    emitter->update(0.25f);
    render({emitter});
    EXPECT_PIXEL(pixel(50, 55), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 44), 0, 0, 255);

    emitter->resetSystem();
    emitter->setStartSpin(90.0f);
    emitter->setEndSpin(90.0f);
    emitter->update(0.25f);
    render({emitter});
    EXPECT_PIXEL(pixel(55, 50), 255, 0, 0);
    EXPECT_PIXEL(pixel(44, 50), 0, 0, 255);
    emitter->release();
}

TEST_F(ParticleRender, AdditiveParticlesAddUpAndNormalOnesCoverEachOther) {
    CCParticleSystemQuad* emitter =
        emitterWithTexture(solidPng("white.png", 4, 4, {255, 255, 255, 255}), 10.0f, ccc4f(0.5f, 0, 0, 1));
    emitter->update(0.5f); // two particles on the same spot
    ASSERT_EQ(emitter->getParticleCount(), 2u);
    render({emitter});
    EXPECT_PIXEL(pixel(50, 50), 128, 0, 0);
    emitter->setBlendAdditive(true);
    render({emitter});
    EXPECT_PIXEL(pixel(50, 50), 255, 0, 0);
    emitter->release();
}
