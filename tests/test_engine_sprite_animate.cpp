// Frame animations on sprites, without GL: which frame shows at which time, the duration,
// restarts, restoring the original frame, and targets that are not sprites.
#include <gtest/gtest.h>

#include "cocos2d.h"

using namespace cocos2d;

namespace {

class AnimateTest : public ::testing::Test {
protected:
    CCTexture2D* texture = nullptr;
    CCSprite* sprite = nullptr;
    CCAnimation* animation = nullptr;

    void SetUp() override {
        const unsigned char pixels[64 * 4] = {};
        texture = new CCTexture2D();
        ASSERT_TRUE(texture->initWithData(pixels, kCCTexture2DPixelFormat_RGBA8888, 64, 1, CCSize(64, 1)));
        sprite = CCSprite::createWithTexture(texture, CCRect(60, 0, 4, 1));
        sprite->retain();
        animation = CCAnimation::create();
        animation->retain();
        // Frame i is the 1-pixel-high strip starting at x = 10 i.
        for (int i = 0; i < 4; ++i)
            animation->addSpriteFrame(CCSpriteFrame::createWithTexture(texture, CCRect(10.f * i, 0, 4, 1)));
        animation->setDelayPerUnit(0.1f);
    }
    void TearDown() override {
        CC_SAFE_RELEASE(animation);
        CC_SAFE_RELEASE(sprite);
        CC_SAFE_RELEASE(texture);
        CCPoolManager::sharedPoolManager()->pop();
    }
    int shownFrame() const { return static_cast<int>(sprite->getTextureRect().origin.x / 10.f); }
};

} // namespace

TEST_F(AnimateTest, DurationIsFramesTimesDelay) {
    EXPECT_FLOAT_EQ(animation->getDuration(), 0.4f);
    CCAnimate* animate = CCAnimate::create(animation);
    ASSERT_NE(animate, nullptr);
    EXPECT_FLOAT_EQ(animate->getDuration(), 0.4f);
    EXPECT_EQ(CCAnimate::create(nullptr), nullptr);
}

TEST_F(AnimateTest, FrameIndexFollowsTime) {
    CCAnimate* animate = CCAnimate::create(animation);
    animate->startWithTarget(sprite);
    // Frame i shows from t >= i/4 of 0.4 s.
    const struct {
        float t;
        int frame;
    } expected[] = {{0.f, 0},   {0.24f, 0}, {0.25f, 1}, {0.49f, 1}, {0.5f, 2},
                    {0.74f, 2}, {0.75f, 3}, {0.99f, 3}, {1.f, 3}};
    for (const auto& e : expected) {
        animate->update(e.t);
        EXPECT_EQ(shownFrame(), e.frame) << "t = " << e.t;
    }
}

TEST_F(AnimateTest, StepsShowFrameZeroFirstAndKeepTheLastFrame) {
    CCAnimate* animate = CCAnimate::create(animation);
    animate->startWithTarget(sprite);
    animate->step(0.3f); // the first step is t = 0 whatever dt says
    EXPECT_EQ(shownFrame(), 0);
    animate->step(0.1f);
    EXPECT_EQ(shownFrame(), 1);
    animate->step(0.1f);
    EXPECT_EQ(shownFrame(), 2);
    animate->step(0.25f);
    EXPECT_EQ(shownFrame(), 3);
    EXPECT_TRUE(animate->isDone());
    animate->stop();
    EXPECT_EQ(shownFrame(), 3);

    // A finished action runs again from its start.
    animate->startWithTarget(sprite);
    animate->step(0.f);
    EXPECT_EQ(shownFrame(), 0);
    EXPECT_FALSE(animate->isDone());
}

TEST_F(AnimateTest, RestoreOriginalFrameOnStop) {
    animation->setRestoreOriginalFrame(true);
    CCAnimate* animate = CCAnimate::create(animation);
    animate->startWithTarget(sprite);
    animate->update(0.6f);
    EXPECT_EQ(shownFrame(), 2);
    animate->stop();
    EXPECT_EQ(sprite->getTextureRect().origin.x, 60.f);
}

TEST_F(AnimateTest, RunsThroughTheActionManager) {
    CCDirector* director = CCDirector::sharedDirector();
    director->purgeDirector();
    director->setFixedDeltaTime(0.1f);
    CCScene* scene = CCScene::create();
    scene->addChild(sprite);
    director->runWithScene(scene);
    director->mainLoop(); // the scene starts running
    sprite->runAction(CCAnimate::create(animation));
    director->mainLoop(); // first tick: t = 0
    EXPECT_EQ(shownFrame(), 0);
    director->mainLoop();
    EXPECT_EQ(shownFrame(), 1);
    director->runFrames(3);
    EXPECT_EQ(shownFrame(), 3);
    EXPECT_EQ(sprite->numberOfRunningActions(), 0u);
    director->purgeDirector();
}

TEST_F(AnimateTest, NonSpriteTargetsAndEmptyAnimationsAreHarmless) {
    CCNode* node = CCNode::create();
    CCAnimate* animate = CCAnimate::create(animation);
    animate->startWithTarget(node);
    animate->update(0.5f);
    animate->stop();

    CCAnimation* empty = CCAnimation::create();
    empty->addSpriteFrame(nullptr);
    EXPECT_EQ(empty->getFrames()->count(), 0u);
    CCAnimate* nothing = CCAnimate::create(empty);
    nothing->startWithTarget(sprite);
    nothing->step(0.f);
    EXPECT_TRUE(nothing->isDone());
    EXPECT_EQ(sprite->getTextureRect().origin.x, 60.f);
}
