// Particle systems without GL: emission, motion, colours and sizes, position types, and who
// advances an emitter each frame. Timings are powers of two so sums are exact in float.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "cocos2d.h"
#include "director/CCDirector.h"
#include "director/CCScheduler.h"
#include "nodes/CCScene.h"

USING_NS_CC;

namespace {

// A long-lived emitter that sends motionless particles straight up from its origin.
CCParticleSystemQuad* makeEmitter(unsigned int total = 100, float rate = 8.0f) {
    auto* emitter = new CCParticleSystemQuad();
    EXPECT_TRUE(emitter->initWithTotalParticles(total));
    emitter->setEmissionRate(rate);
    emitter->setLife(100.0f);
    emitter->setAngle(90.0f);
    emitter->setStartSize(8.0f);
    emitter->setEndSize(kCCParticleStartSizeEqualToEndSize);
    emitter->setStartColor(ccc4f(1, 1, 1, 1));
    emitter->setEndColor(ccc4f(1, 1, 1, 1));
    return emitter;
}

// Releases an emitter made by makeEmitter at the end of a test.
struct Owned {
    explicit Owned(CCObject* object) : object(object) {}
    ~Owned() { object->release(); }
    CCObject* object;
};

CCPoint worldPositionOfFirstParticle(CCParticleSystem* emitter) {
    std::vector<CCPoint> positions;
    emitter->getParticlePositions(positions);
    EXPECT_FALSE(positions.empty());
    return positions.empty() ? CCPointZero : emitter->convertToWorldSpace(positions[0]);
}

} // namespace

TEST(ParticleEmission, EmitsOneParticleEveryIntervalUpToTheTotal) {
    CCParticleSystemQuad* emitter = makeEmitter(5, 8.0f);
    Owned owned(emitter);
    for (int i = 0; i < 5; ++i)
        emitter->update(0.0625f); // 0.3125 s at 8 per second
    EXPECT_EQ(emitter->getParticleCount(), 2u);
    emitter->update(1.0f); // would be 8 more: the total stops it at 5
    EXPECT_EQ(emitter->getParticleCount(), 5u);
    EXPECT_TRUE(emitter->isFull());
}

TEST(ParticleEmission, RateZeroStopsEmissionButLivingParticlesGoOn) {
    CCParticleSystemQuad* emitter = makeEmitter();
    Owned owned(emitter);
    emitter->setSpeed(16.0f);
    emitter->update(0.25f);
    ASSERT_EQ(emitter->getParticleCount(), 2u);
    float heightBefore = emitter->getParticles()[0].pos.y;
    emitter->setEmissionRate(0.0f);
    emitter->update(0.5f);
    EXPECT_EQ(emitter->getParticleCount(), 2u);
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].pos.y, heightBefore + 8.0f);
    emitter->setEmissionRate(8.0f); // showing the object again resumes emission
    emitter->update(0.25f);
    EXPECT_EQ(emitter->getParticleCount(), 4u);
}

TEST(ParticleEmission, ParticlesDieAtTheEndOfTheirLife) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    Owned owned(emitter);
    emitter->setLife(0.5f);
    emitter->update(0.25f); // one particle, 0.25 s left
    EXPECT_EQ(emitter->getParticleCount(), 1u);
    emitter->setEmissionRate(0.0f);
    emitter->update(0.125f);
    EXPECT_EQ(emitter->getParticleCount(), 1u);
    emitter->update(0.125f);
    EXPECT_EQ(emitter->getParticleCount(), 0u);
}

TEST(ParticleEmission, DurationStopsEmissionAndResetStartsAgain) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    Owned owned(emitter);
    emitter->setDuration(0.5f);
    emitter->update(0.25f);
    emitter->update(0.25f);
    EXPECT_TRUE(emitter->isActive()); // 0.5 s is not past the duration yet
    emitter->update(0.25f);
    EXPECT_FALSE(emitter->isActive());
    EXPECT_EQ(emitter->getParticleCount(), 3u);
    emitter->update(1.0f);
    EXPECT_EQ(emitter->getParticleCount(), 3u);

    emitter->resetSystem();
    EXPECT_TRUE(emitter->isActive());
    EXPECT_EQ(emitter->getParticleCount(), 0u);
    emitter->update(0.25f);
    EXPECT_EQ(emitter->getParticleCount(), 1u);

    emitter->stopSystem();
    emitter->update(0.25f);
    EXPECT_FALSE(emitter->isActive());
    EXPECT_EQ(emitter->getParticleCount(), 1u); // alive particles live on
}

TEST(ParticleEmission, BadTimeStepsChangeNothing) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    Owned owned(emitter);
    emitter->update(std::numeric_limits<float>::quiet_NaN());
    emitter->update(std::numeric_limits<float>::infinity());
    emitter->update(-5.0f);
    EXPECT_EQ(emitter->getParticleCount(), 0u);
    emitter->update(0.25f); // the counter was not poisoned
    EXPECT_EQ(emitter->getParticleCount(), 1u);
    emitter->setEmissionRate(std::numeric_limits<float>::quiet_NaN());
    emitter->update(0.25f);
    EXPECT_EQ(emitter->getParticleCount(), 1u);
}

TEST(ParticleEmission, TotalsFromDataAreBounded) {
    CCParticleSystemQuad* refused = new CCParticleSystemQuad();
    EXPECT_FALSE(refused->initWithTotalParticles(ParticleSimulation::kMaxParticles + 1));
    refused->release();

    CCParticleSystemQuad* emitter = makeEmitter(10, 64.0f);
    Owned owned(emitter);
    emitter->update(0.125f);
    ASSERT_EQ(emitter->getParticleCount(), 8u);
    emitter->setTotalParticles(3);
    EXPECT_EQ(emitter->getParticleCount(), 3u);
    emitter->setTotalParticles(4000000000u);
    EXPECT_EQ(emitter->getTotalParticles(), ParticleSimulation::kMaxParticles);
}

TEST(ParticleEmission, TheBufferGrowsWithTheParticlesAndNeverPastTheTotal) {
    // Thousands of emitters of the largest total would hold gigabytes before emitting anything.
    ParticleSimulation simulation;
    ASSERT_TRUE(simulation.init(ParticleSimulation::kMaxParticles));
    EXPECT_EQ(simulation.particles().capacity(), 0u);
    simulation.settings.emissionRate = 1000.0f;
    simulation.settings.life = 100.0f;
    simulation.step(0.1f, CCPointZero);
    ASSERT_NEAR(static_cast<int>(simulation.particleCount()), 100, 1);
    EXPECT_LE(simulation.particles().capacity(), 128u);

    ParticleSimulation small;
    ASSERT_TRUE(small.init(20));
    small.settings = simulation.settings;
    small.step(1.0f, CCPointZero);
    ASSERT_EQ(small.particleCount(), 20u);
    EXPECT_EQ(small.particles().capacity(), 20u);
    // A smaller total gives the room back.
    simulation.setTotalParticles(10);
    EXPECT_EQ(simulation.particleCount(), 10u);
    EXPECT_LE(simulation.particles().capacity(), 10u);
}

TEST(ParticleMotion, GravityAndSpeedMoveParticlesFromTheirStart) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    Owned owned(emitter);
    emitter->setAngle(0.0f);
    emitter->setSpeed(100.0f);
    emitter->setGravity(CCPoint(0.0f, -16.0f));
    emitter->update(0.25f);
    emitter->setEmissionRate(0.0f);
    // First step: velocity (100, 0) + gravity * 0.25 = (100, -4), then position += velocity * 0.25.
    const tCCParticle& p = emitter->getParticles()[0];
    EXPECT_FLOAT_EQ(p.pos.x, 25.0f);
    EXPECT_FLOAT_EQ(p.pos.y, -1.0f);
    emitter->update(0.25f); // velocity (100, -8): position (50, -3)
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].pos.x, 50.0f);
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].pos.y, -3.0f);
}

TEST(ParticleMotion, RadialAccelerationPushesAwayFromTheStart) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    Owned owned(emitter);
    emitter->setAngle(0.0f);
    emitter->setSpeed(8.0f);
    emitter->setRadialAccel(32.0f);
    emitter->update(0.25f); // at the start there is no direction yet: position (2, 0)
    emitter->setEmissionRate(0.0f);
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].pos.x, 2.0f);
    emitter->update(0.25f); // velocity 8 + 32 * 0.25 = 16: position 2 + 4 = 6
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].pos.x, 6.0f);
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].pos.y, 0.0f);
}

TEST(ParticleLooks, ColoursAreClampedPerParticleAndFadeToTheEndColour) {
    CCParticleSystemQuad* emitter = makeEmitter(400, 1024.0f);
    Owned owned(emitter);
    emitter->setLife(1.0f);
    emitter->setStartColor(ccc4f(2.0f, -1.0f, 0.5f, 1.0f));
    emitter->setEndColor(ccc4f(0.0f, 0.0f, 0.5f, 0.0f));
    emitter->update(1.0f / 1024.0f);
    ASSERT_EQ(emitter->getParticleCount(), 1u);
    emitter->setEmissionRate(0.0f);
    emitter->update(0.5f - 1.0f / 1024.0f); // half its life
    const ccColor4F& half = emitter->getParticles()[0].color;
    EXPECT_NEAR(half.r, 0.5f, 1e-5); // from 1 (clamped from 2) to 0
    EXPECT_NEAR(half.g, 0.0f, 1e-6); // clamped from -1
    EXPECT_NEAR(half.b, 0.5f, 1e-6);
    EXPECT_NEAR(half.a, 0.5f, 1e-5);

    // Wide variances still give colours inside 0..1.
    emitter->resetSystem();
    emitter->setStartColor(ccc4f(0.9f, 0.1f, 0.5f, 0.5f));
    emitter->setStartColorVar(ccc4f(0.8f, 0.8f, 3.0f, 0.6f));
    emitter->setEmissionRate(1024.0f);
    emitter->update(0.25f);
    ASSERT_GT(emitter->getParticleCount(), 200u);
    for (const tCCParticle& p : emitter->getParticles()) {
        for (float c : {p.color.r, p.color.g, p.color.b, p.color.a}) {
            EXPECT_GE(c, 0.0f);
            EXPECT_LE(c, 1.0f);
        }
    }
}

TEST(ParticleLooks, SizesAndSpinsChangeOverTheLife) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    Owned owned(emitter);
    emitter->setLife(1.0f);
    emitter->setStartSize(40.0f);
    emitter->setEndSize(0.0f);
    emitter->setStartSpin(0.0f);
    emitter->setEndSpin(90.0f);
    emitter->update(0.25f);
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].size, 30.0f);
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].rotation, 22.5f);

    emitter->resetSystem();
    emitter->setEndSize(kCCParticleStartSizeEqualToEndSize);
    emitter->update(0.25f);
    emitter->update(0.5f);
    EXPECT_FLOAT_EQ(emitter->getParticles()[0].size, 40.0f);
}

TEST(ParticleLooks, BlendFollowsAdditiveFlagAndTexture) {
    CCParticleSystemQuad* emitter = makeEmitter();
    Owned owned(emitter);
    EXPECT_EQ(emitter->getBlendFunc().src, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(emitter->getBlendFunc().dst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    emitter->setBlendAdditive(true);
    EXPECT_TRUE(emitter->isBlendAdditive());
    EXPECT_EQ(emitter->getBlendFunc().src, static_cast<GLenum>(GL_SRC_ALPHA));
    EXPECT_EQ(emitter->getBlendFunc().dst, static_cast<GLenum>(GL_ONE));

    // A texture that is not premultiplied blends by its alpha.
    auto* texture = new CCTexture2D();
    const unsigned char pixel[4] = {255, 255, 255, 255};
    texture->initWithData(pixel, kCCTexture2DPixelFormat_RGBA8888, 1, 1, CCSize(1, 1));
    emitter->setTexture(texture);
    texture->release();
    EXPECT_TRUE(emitter->isBlendAdditive());
    emitter->setBlendAdditive(false);
    EXPECT_FALSE(emitter->isBlendAdditive());
    EXPECT_EQ(emitter->getBlendFunc().src, static_cast<GLenum>(GL_SRC_ALPHA));
    EXPECT_EQ(emitter->getBlendFunc().dst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
}

TEST(ParticleLooks, QuadsAreCentredSizedSpunAndColoured) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    Owned owned(emitter);
    emitter->setStartSize(10.0f);
    emitter->setStartColor(ccc4f(1.0f, 0.5f, 0.0f, 0.5f));
    emitter->setEndColor(ccc4f(1.0f, 0.5f, 0.0f, 0.5f));
    emitter->setPositionType(kCCPositionTypeGrouped);
    emitter->update(0.25f);
    const ccV3F_C4B_T2F_Quad& still = emitter->buildQuads().at(0);
    EXPECT_FLOAT_EQ(still.tl.vertices.x, -5.0f);
    EXPECT_FLOAT_EQ(still.tl.vertices.y, 5.0f);
    EXPECT_FLOAT_EQ(still.br.vertices.x, 5.0f);
    EXPECT_FLOAT_EQ(still.br.vertices.y, -5.0f);
    EXPECT_EQ(still.tl.colors.r, 255);
    EXPECT_EQ(still.tl.colors.g, 128);
    EXPECT_EQ(still.tl.colors.b, 0);
    EXPECT_EQ(still.tl.colors.a, 128);

    emitter->resetSystem();
    emitter->setStartSpin(90.0f);
    emitter->setEndSpin(90.0f);
    emitter->update(0.25f);
    const ccV3F_C4B_T2F_Quad& turned = emitter->buildQuads().at(0);
    // A quarter turn clockwise takes the top-left corner to the top right.
    EXPECT_NEAR(turned.tl.vertices.x, 5.0f, 1e-4);
    EXPECT_NEAR(turned.tl.vertices.y, 5.0f, 1e-4);
    EXPECT_NEAR(turned.bl.vertices.x, -5.0f, 1e-4);
    EXPECT_NEAR(turned.bl.vertices.y, 5.0f, 1e-4);
}

// Parent at (100, 100), emitter at (10, 0) in it; after one particle the emitter moves to (50, 0)
// and the parent to (200, 100).
class ParticlePositionTypes : public ::testing::TestWithParam<std::pair<tCCPositionType, CCPoint>> {};

TEST_P(ParticlePositionTypes, ParticlesFollowWhatTheirTypeSays) {
    CCNode* parent = CCNode::create();
    parent->retain();
    parent->setPosition(100.0f, 100.0f);
    CCParticleSystemQuad* emitter = makeEmitter(100, 4.0f);
    emitter->setPositionType(GetParam().first);
    emitter->setPosition(10.0f, 0.0f);
    parent->addChild(emitter);
    emitter->update(0.25f);
    ASSERT_EQ(emitter->getParticleCount(), 1u);
    CCPoint start = worldPositionOfFirstParticle(emitter);
    EXPECT_FLOAT_EQ(start.x, 110.0f);
    EXPECT_FLOAT_EQ(start.y, 100.0f);

    emitter->setPosition(50.0f, 0.0f);
    parent->setPosition(200.0f, 100.0f);
    CCPoint moved = worldPositionOfFirstParticle(emitter);
    EXPECT_FLOAT_EQ(moved.x, GetParam().second.x);
    EXPECT_FLOAT_EQ(moved.y, GetParam().second.y);
    emitter->release();
    parent->release();
}

INSTANTIATE_TEST_SUITE_P(FreeRelativeGrouped, ParticlePositionTypes,
                         ::testing::Values(std::make_pair(kCCPositionTypeFree, CCPoint(110, 100)),
                                           std::make_pair(kCCPositionTypeRelative, CCPoint(210, 100)),
                                           std::make_pair(kCCPositionTypeGrouped, CCPoint(250, 100))));

// ---- Who advances an emitter: the engine while it is on the stage, its owner once the owner does.

namespace {

// An owner in the manner of the game's particle objects: its own per-frame update advances its
// emitter with the frame time.
class EmitterOwner : public CCNode {
public:
    explicit EmitterOwner(CCParticleSystem* emitter) : m_emitter(emitter) {}
    void update(float dt) override { m_emitter->update(dt); }

private:
    CCParticleSystem* m_emitter;
};

class ParticleScheduling : public ::testing::Test {
protected:
    void SetUp() override {
        director = CCDirector::sharedDirector();
        director->setFixedDeltaTime(0.125f);
        director->startAnimation();
        scene = CCScene::create();
        director->runWithScene(scene);
        director->runFrames(1);
    }
    void TearDown() override { director->purgeDirector(); }

    // Particles added over the given frames; each advance adds exactly one (8 per second, 1/8 s frames).
    unsigned int emittedOver(CCParticleSystem* emitter, unsigned int frames) {
        unsigned int before = emitter->getParticleCount();
        director->runFrames(frames);
        return emitter->getParticleCount() - before;
    }

    CCDirector* director = nullptr;
    CCScene* scene = nullptr;
};

} // namespace

TEST_F(ParticleScheduling, AnEmitterOnTheStageIsAdvancedOncePerFrameByTheEngine) {
    CCParticleSystemQuad* emitter = makeEmitter();
    scene->addChild(emitter);
    emitter->release();
    director->runFrames(1); // entries added during a frame start with the next one
    EXPECT_EQ(emittedOver(emitter, 4), 4u);
    EXPECT_FALSE(emitter->isDrivenByOwner());

    emitter->retain();
    emitter->removeFromParentAndCleanup(false);
    EXPECT_EQ(emittedOver(emitter, 3), 0u); // off the stage nothing advances it
    scene->addChild(emitter);
    emitter->release();
    director->runFrames(1);
    EXPECT_EQ(emittedOver(emitter, 2), 2u);
}

TEST_F(ParticleScheduling, AnOwnerThatUnschedulesItsEmitterFirstIsTheOnlyOneToAdvanceIt) {
    CCParticleSystemQuad* emitter = makeEmitter();
    EmitterOwner* owner = new EmitterOwner(emitter);
    director->getScheduler()->unscheduleUpdateForTarget(emitter);
    scene->addChild(owner);
    scene->addChild(emitter);
    owner->scheduleUpdate();
    director->runFrames(1);
    EXPECT_EQ(emittedOver(emitter, 4), 4u);
    EXPECT_TRUE(emitter->isDrivenByOwner());

    // Moved to another running layer, as a particle object does when it gets its object layer.
    CCLayer* layer = CCLayer::create();
    scene->addChild(layer);
    emitter->retain();
    emitter->removeFromParentAndCleanup(false);
    layer->addChild(emitter);
    emitter->release();
    EXPECT_EQ(emittedOver(emitter, 4), 4u);
    owner->release();
    emitter->release();
}

TEST_F(ParticleScheduling, AnOwnerTakingOverARunningEmitterLeavesOneAdvancePerFrame) {
    CCParticleSystemQuad* emitter = makeEmitter();
    scene->addChild(emitter);
    director->runFrames(1);
    ASSERT_EQ(emittedOver(emitter, 2), 2u); // the engine drives it

    EmitterOwner* owner = new EmitterOwner(emitter);
    scene->addChild(owner);
    owner->scheduleUpdate();
    director->runFrames(1);
    EXPECT_EQ(emittedOver(emitter, 4), 4u);
    owner->release();
    emitter->release();
}

TEST_F(ParticleScheduling, AnAutoRemovingEmitterLeavesItsParentWhenDone) {
    CCParticleSystemQuad* emitter = makeEmitter(100, 8.0f);
    emitter->setLife(0.25f);
    emitter->setDuration(0.25f);
    emitter->setAutoRemoveOnFinish(true);
    scene->addChild(emitter);
    emitter->release(); // the scene holds the only reference
    director->runFrames(6);
    EXPECT_EQ(scene->getChildrenCount(), 0u);
}
