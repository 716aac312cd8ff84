// Images and the loading bar built from the sample game's models: the sprite and its frame
// animation (restart, stop, pause, shown frame), pose and opacity under keyframes and the
// opacity factor, autohide, an image without a picture; the bar's filled share.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLoadingBar.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectLoadingBar.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <string>

using namespace cocos2d;

namespace {

KXAnimationCurve* constantCurve(float value) {
    auto* curve = new KXAnimationCurve();
    curve->addPoint(value, 0.0f);
    return curve;
}

class ImageObject : public kxtest::SceneTest {
protected:
    kxtest::SampleGame game;
    std::shared_ptr<KXModelObjectImage> model;
    std::shared_ptr<KXModelSpriteContainer> runner; // three frames
    CCScene* scene = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        model = game.named<KXModelObjectImage>("Splash");
        runner = game.named<KXModelSpriteContainer>("Runner Frames");
        ASSERT_TRUE(model && runner);
        ASSERT_EQ(runner->sprites().size(), 3u);
        model->setImage(runner);
        model->autohideAttribute()->setValue(0.0f, true);
        scene = CCScene::create();
        director()->runWithScene(scene);
        frames(1); // the scene runs from the next frame on
        ASSERT_TRUE(scene->isRunning());
    }

    KXPObjectImage* make() {
        KXPObjectImage* image = KXPObjectImage::create(model, 1.0f, true);
        scene->addChild(image);
        return image;
    }

    static CCActionManager* actions() { return director()->getActionManager(); }

    static CCSprite* spriteOf(KXPObjectImage* image) {
        return image->getChildrenCount() == 1
                   ? dynamic_cast<CCSprite*>(image->getChildren()->objectAtIndex(0))
                   : nullptr;
    }
    bool shows(CCSprite* sprite, unsigned int index) const {
        return sprite->isFrameDisplayed(runner->getSpriteFrame(index));
    }
};

TEST_F(ImageObject, ShowsItsContainerWithTheFrameAnimation) {
    model->positionAttribute()->setValue(CCPoint(300.0f, 200.0f), true);
    model->rotationAttribute()->setValue(10.0f, true);
    KXPObjectImage* image = make();
    CCSprite* sprite = spriteOf(image);
    ASSERT_NE(sprite, nullptr);
    EXPECT_NE(sprite->getActionByTag(KXPObjectImage::kFrameActionTag), nullptr);
    EXPECT_TRUE(image->getPosition().equals(CCPoint(300.0f, 200.0f)));
    EXPECT_FLOAT_EQ(image->getRotation(), 10.0f);
    EXPECT_EQ(image->getUserData(), model.get());
    EXPECT_TRUE(image->getContentSize().equals(runner->frameSourceSizeAt(0.0f)));

    // Keyframes of the animation key move it.
    model->positionAttribute()->setAnimationCurves({constantCurve(-100.0f), constantCurve(50.0f)}, 2);
    image->setAnimationKey(2);
    image->update(0.1f);
    EXPECT_TRUE(image->getPosition().equals(CCPoint(200.0f, 250.0f)));
    EXPECT_FLOAT_EQ(image->elapsedTime(), 0.1f);
}

TEST_F(ImageObject, RestartStopPauseAndShownFrameDriveTheSprite) {
    KXPObjectImage* image = make();
    CCSprite* sprite = spriteOf(image);
    ASSERT_NE(sprite, nullptr);
    // An action's first step only starts it; each frame lasts 1/45 s.
    actions()->update(0.0f);
    EXPECT_TRUE(shows(sprite, 0));
    actions()->update(0.05f);
    EXPECT_TRUE(shows(sprite, 2));
    image->update(0.4f);
    image->restart();
    EXPECT_FLOAT_EQ(image->elapsedTime(), 0.0f);
    actions()->update(0.0f);
    EXPECT_TRUE(shows(sprite, 0));

    image->pauseActions();
    actions()->update(0.05f);
    EXPECT_TRUE(shows(sprite, 0));
    image->resumeActions();
    actions()->update(0.05f);
    EXPECT_TRUE(shows(sprite, 2));

    image->showFrame(4); // 4 modulo 3
    EXPECT_TRUE(shows(sprite, 1));

    // Stopped, the frame animation is gone; a restart plays it again from its start.
    image->stopActions();
    EXPECT_EQ(sprite->getActionByTag(KXPObjectImage::kFrameActionTag), nullptr);
    image->restart();
    EXPECT_NE(sprite->getActionByTag(KXPObjectImage::kFrameActionTag), nullptr);
    actions()->update(0.0f);
    EXPECT_TRUE(shows(sprite, 0));
}

TEST_F(ImageObject, OpacityIsTheKeyframedValueTimesTheFactorClamped) {
    KXPObjectImage* image = make();
    CCSprite* sprite = spriteOf(image);
    model->opacityAttribute()->setValue(0.5f, true);
    image->update(0.0f);
    EXPECT_EQ(sprite->getOpacity(), 127);
    image->setOpacityFactor(0.5f);
    image->update(0.0f);
    EXPECT_EQ(sprite->getOpacity(), 63);
    image->setOpacityFactor(3.0f);
    image->update(0.0f);
    EXPECT_EQ(sprite->getOpacity(), 255);
    image->setOpacityFactor(1.0f);
    model->opacityAttribute()->setAnimationCurves({constantCurve(0.9f)}, 1);
    image->setAnimationKey(1);
    image->update(0.0f);
    EXPECT_EQ(sprite->getOpacity(), 255); // 1.4 clamped
}

TEST_F(ImageObject, AutohideFadesOnceAndOnlyWhenShown) {
    model->autohideAttribute()->setValue(3.0f, true);
    KXPObjectImage* image = make();
    CCSprite* sprite = spriteOf(image);
    image->update(2.9f);
    EXPECT_FALSE(image->isFaded());
    EXPECT_EQ(sprite->numberOfRunningActions(), 1u);
    image->update(0.1f);
    EXPECT_TRUE(image->isFaded());
    EXPECT_EQ(sprite->numberOfRunningActions(), 2u);
    image->update(5.0f);
    EXPECT_EQ(sprite->numberOfRunningActions(), 2u);

    // After the fade, neither updates nor a restart give the opacity back.
    actions()->update(0.0f);
    actions()->update(2.0f);
    EXPECT_EQ(sprite->getOpacity(), 0);
    image->update(0.0f);
    image->restart();
    EXPECT_EQ(sprite->getOpacity(), 0);

    KXPObjectImage* hidden = make();
    hidden->setVisible(false);
    hidden->update(10.0f);
    EXPECT_FALSE(hidden->isFaded());
}

TEST_F(ImageObject, WithoutAPictureTheNodeStaysEmptyAndStillMoves) {
    model->setImage(nullptr);
    model->positionAttribute()->setAnimationCurves({constantCurve(7.0f), constantCurve(9.0f)}, 0);
    KXDebugLogCapture capture;
    KXPObjectImage* image = make();
    EXPECT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(image->getChildrenCount(), 0u);
    image->update(1.0f);
    EXPECT_TRUE(image->getPosition().equals(model->animatedPosition(1.0f, 0)));
    image->restart();
    image->showFrame(1);
    EXPECT_EQ(capture.lines().size(), 1u);

    // A container whose runner are not in the cache: the container says why, once.
    model->setImage(runner);
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    capture.clear();
    KXPObjectImage* broken = make();
    EXPECT_EQ(broken->getChildrenCount(), 0u);
    EXPECT_EQ(capture.lines().size(), 1u);
}

TEST_F(ImageObject, LoadingBarTakesItsPoseAndFillsWithTheProgress) {
    auto barModel = game.named<KXModelObjectLoadingBar>("Progress");
    ASSERT_TRUE(barModel);
    barModel->positionAttribute()->setValue(CCPoint(568.0f, 100.0f), true);
    barModel->positionAttribute()->setAnimationCurves({constantCurve(0.0f), constantCurve(20.0f)}, 1);
    KXPObjectLoadingBar* bar = KXPObjectLoadingBar::create(barModel);
    scene->addChild(bar);
    EXPECT_TRUE(bar->getPosition().equals(CCPoint(568.0f, 100.0f)));
    bar->setAnimationKey(1);
    bar->update(0.5f);
    EXPECT_TRUE(bar->getPosition().equals(CCPoint(568.0f, 120.0f)));
    bar->resetTime();
    EXPECT_FLOAT_EQ(bar->elapsedTime(), 0.0f);
    EXPECT_FLOAT_EQ(KXPObjectLoadingBar::loadedShare(), 1.0f); // the game is loaded

    kxtest::SampleGame::store()->clear();
    EXPECT_FLOAT_EQ(KXPObjectLoadingBar::loadedShare(), 0.0f);
}

} // namespace
