// Animation objects built from animation models made in memory: the clock, its wrap and the
// finish callback (also for a zero, negative or undefined duration and an undefined speed),
// hidden animations standing still, children nested at their parent's centre, unknown kinds,
// tag and z-order passed down, the opacity factor and the bounds; with the sample game's
// pictures, a non-looping animation freezing its frame animation until it restarts.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectText.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

// A straight line from `from` at time 0 to `to` at `seconds`.
KXAnimationCurve* rampCurve(float from, float to, float seconds) {
    auto* curve = new KXAnimationCurve();
    curve->setMode(KXAnimationCurve::Linear);
    curve->addPoint(from, 0.0f);
    curve->addPoint(to, seconds);
    return curve;
}

class Counter : public CCObject {
public:
    int calls = 0;
    void finished() { ++calls; }
};

class AnimationObject : public kxtest::SceneTest {
protected:
    std::shared_ptr<KXModelAnimation> animation;
    std::vector<CCObject*> held;
    // Images without a picture say so; keep that out of the test output.
    std::unique_ptr<KXDebugLogCapture> log;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        log.reset(new KXDebugLogCapture());
        animation = KXModel::makeShared<KXModelAnimation>("Walk");
        setTiming(1.0f, 1.0f, true);
    }

    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        held.clear();
        log.reset();
        kxtest::SceneTest::TearDown();
        // Models a case made each other's parents hold each other; nothing else does now.
        KXModel::releaseUnreachableLoops();
    }

    void setTiming(float speed, float duration, bool loop) {
        animation->speedAttribute()->setValue(speed, true);
        animation->durationAttribute()->setValue(duration, true);
        animation->loopAttribute()->setValue(loop, true);
    }

    // An object model of the animation, optionally nested under another object model.
    template <class T>
    std::shared_ptr<T> add(const std::string& name, const std::shared_ptr<KXModel>& parent = nullptr) {
        auto model = KXModel::makeShared<T>(name);
        animation->addChild(model, true);
        if (parent) {
            parent->addChild(model, true);
        }
        return model;
    }

    KXPAnimationObject* build() {
        auto* object = new KXPAnimationObject(animation, nullptr, false);
        held.push_back(object);
        return object;
    }

    template <class T> T* nodeAt(KXPAnimationObject* object, int index) {
        return dynamic_cast<T*>(object->childNodeAt(index));
    }
};

TEST_F(AnimationObject, ClockWrapsPastTheDurationAndCallsTheFinishCallbackAtEachWrap) {
    setTiming(2.0f, 1.0f, true);
    add<KXModelObjectImage>("Body");
    KXPAnimationObject* object = build();
    int finished = 0;
    object->setFinishCallback([&finished]() { ++finished; });

    object->update(0.25f);
    object->update(0.25f);
    EXPECT_FLOAT_EQ(object->time(), 1.0f); // at the duration, not past it
    EXPECT_EQ(finished, 0);
    object->update(0.25f);
    EXPECT_FLOAT_EQ(object->time(), 0.0f);
    EXPECT_EQ(finished, 1);
    for (int frame = 0; frame < 3; ++frame) {
        object->update(0.25f);
    }
    EXPECT_EQ(finished, 2); // looping: it keeps running and wrapping

    // The member-function form replaces the callback.
    Counter counter;
    object->setFinishCallback(callfunc_selector(Counter::finished), &counter);
    for (int frame = 0; frame < 3; ++frame) {
        object->update(0.25f);
    }
    EXPECT_EQ(finished, 2);
    EXPECT_EQ(counter.calls, 1);

    EXPECT_EQ(object->durationInFrames(), 30);
    animation->durationAttribute()->setValue(0.99f, true);
    EXPECT_EQ(object->durationInFrames(), 29);
}

TEST_F(AnimationObject, ZeroOrNegativeDurationWrapsOnEveryFrameTheClockMoves) {
    for (float duration : {0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(duration);
        setTiming(1.0f, duration, true);
        KXPAnimationObject* object = build();
        int finished = 0;
        object->setFinishCallback([&finished]() { ++finished; });
        for (int frame = 0; frame < 4; ++frame) {
            object->update(0.25f);
        }
        EXPECT_EQ(finished, 4);
        EXPECT_FLOAT_EQ(object->time(), 0.0f);

        // While hidden or standing still the clock does not move, so nothing wraps.
        object->setVisible(false);
        object->update(0.25f);
        object->setVisible(true);
        animation->speedAttribute()->setValue(0.0f, true);
        object->update(0.25f);
        EXPECT_EQ(finished, 4);
    }
}

TEST_F(AnimationObject, SpeedThatIsNotFiniteHoldsTheFirstPose) {
    auto body = add<KXModelObjectImage>("Body");
    body->positionAttribute()->setAnimationCurves(
        {rampCurve(0.0f, 100.0f, 1.0f), rampCurve(0.0f, 50.0f, 1.0f)}, 0);
    // The setter keeps values finite; stored data need not be.
    const float infinity = std::numeric_limits<float>::infinity();
    animation->speedAttribute()->setLimits(-infinity, infinity);
    for (float speed : {std::numeric_limits<float>::quiet_NaN(), infinity, -infinity}) {
        SCOPED_TRACE(speed);
        setTiming(speed, 1.0f, true);
        KXPAnimationObject* object = build();
        int finished = 0;
        object->setFinishCallback([&finished]() { ++finished; });
        for (int frame = 0; frame < 3; ++frame) {
            object->update(0.25f);
        }
        EXPECT_FLOAT_EQ(object->time(), 0.0f);
        EXPECT_EQ(finished, 0);
        auto* image = nodeAt<KXPObjectImage>(object, 0);
        ASSERT_NE(image, nullptr);
        EXPECT_FLOAT_EQ(image->elapsedTime(), 0.0f);
        EXPECT_TRUE(image->getPosition().equals(CCPoint(0.0f, 0.0f)));
    }
}

TEST_F(AnimationObject, HiddenItNeitherAdvancesNorUpdatesItsChildren) {
    setTiming(2.0f, 10.0f, true);
    add<KXModelObjectImage>("Body");
    add<KXModelObjectLabel>("Caption");
    KXPAnimationObject* object = build();
    auto* image = nodeAt<KXPObjectImage>(object, 0);
    auto* text = nodeAt<KXPObjectText>(object, 1);
    ASSERT_TRUE(image && text);

    object->update(0.25f);
    EXPECT_FLOAT_EQ(object->time(), 0.5f);
    // Children run on the animation's time: dt times the speed.
    EXPECT_FLOAT_EQ(image->elapsedTime(), 0.5f);
    EXPECT_FLOAT_EQ(text->clock(), 0.5f);

    object->setVisible(false);
    EXPECT_FALSE(image->isVisible());
    EXPECT_FALSE(text->isVisible());
    object->update(1.0f);
    EXPECT_FLOAT_EQ(object->time(), 0.5f);
    EXPECT_FLOAT_EQ(image->elapsedTime(), 0.5f);
    EXPECT_FLOAT_EQ(text->clock(), 0.5f);

    object->setVisible(true);
    EXPECT_TRUE(image->isVisible());
    object->update(0.25f);
    EXPECT_FLOAT_EQ(object->time(), 1.0f);
    EXPECT_FLOAT_EQ(image->elapsedTime(), 1.0f);
}

TEST_F(AnimationObject, ChildrenNestUnderTheFirstObjectParentAtItsCentre) {
    auto frame = add<KXModelObjectImage>("Frame");
    frame->positionAttribute()->setValue(CCPoint(30.0f, 40.0f), true);
    frame->zDepthAttribute()->setValue(4, true);
    auto badge = add<KXModelObjectImage>("Badge", frame);
    badge->positionAttribute()->setValue(CCPoint(10.0f, -5.0f), true);
    badge->rotationAttribute()->setValue(15.0f, true);
    badge->scaleAttribute()->setValue(CCPoint(2.0f, 0.5f), true);
    badge->zDepthAttribute()->setValue(-1, true);
    auto caption = add<KXModelObjectLabel>("Caption", frame);
    caption->positionAttribute()->setValue(CCPoint(70.0f, 80.0f), true);
    // Under a model that gets no node (a plain object): at the top instead.
    auto plain = add<KXModelObject>("Group");
    auto loose = add<KXModelObjectImage>("Loose", plain);
    loose->positionAttribute()->setValue(CCPoint(-20.0f, 0.0f), true);

    KXPAnimationObject* object = build();
    auto* frameNode = nodeAt<KXPObjectImage>(object, 0);
    auto* badgeNode = nodeAt<KXPObjectImage>(object, 1);
    auto* captionNode = nodeAt<KXPObjectText>(object, 2);
    auto* looseNode = nodeAt<KXPObjectImage>(object, 4);
    ASSERT_TRUE(frameNode && badgeNode && captionNode && looseNode);
    EXPECT_EQ(object->childNodeAt(3), nullptr);

    // At the top the animation's own (empty) box has its centre at its origin.
    EXPECT_EQ(frameNode->getParent(), object);
    EXPECT_EQ(frameNode->getZOrder(), 4);
    EXPECT_TRUE(frameNode->getPosition().equals(CCPoint(30.0f, 40.0f)));
    // A picture without an image has the default 100 x 100 box.
    ASSERT_TRUE(frameNode->getContentSize().equals(CCSize(100.0f, 100.0f)));
    EXPECT_EQ(badgeNode->getParent(), frameNode);
    EXPECT_EQ(badgeNode->getZOrder(), -1);
    EXPECT_TRUE(badgeNode->getPosition().equals(CCPoint(60.0f, 45.0f)));
    EXPECT_FLOAT_EQ(badgeNode->getRotation(), 15.0f);
    EXPECT_FLOAT_EQ(badgeNode->getScaleX(), 2.0f);
    EXPECT_FLOAT_EQ(badgeNode->getScaleY(), 0.5f);
    // A text places itself.
    EXPECT_EQ(captionNode->getParent(), frameNode);
    EXPECT_TRUE(captionNode->getPosition().equals(CCPoint(0.0f, 0.0f)));
    EXPECT_EQ(looseNode->getParent(), object);
    EXPECT_TRUE(looseNode->getPosition().equals(CCPoint(-20.0f, 0.0f)));
}

TEST_F(AnimationObject, ModelsThatAreEachOthersParentsDoNotCloseALoop) {
    auto first = add<KXModelObjectImage>("First");
    auto second = add<KXModelObjectImage>("Second", first);
    first->addChild(second, true);
    second->addChild(first, true);
    KXPAnimationObject* object = build();
    auto* firstNode = object->childNodeAt(0);
    auto* secondNode = object->childNodeAt(1);
    ASSERT_TRUE(firstNode && secondNode);
    // One hangs under the other, which stays at the top.
    EXPECT_EQ(firstNode->getParent(), secondNode);
    EXPECT_EQ(secondNode->getParent(), object);
    object->setVisible(false);
    object->setVisible(true);
    object->update(0.5f);
}

TEST_F(AnimationObject, UnknownKindsAreSkippedWithOneLineAndTheirSiblingsStillBuilt) {
    add<KXModelObjectImage>("Before");
    add<KXModelObject>("Odd");
    add<KXModelObjectImage>("After");
    log->clear();
    KXPAnimationObject* object = build();
    EXPECT_EQ(std::count(log->lines().begin(), log->lines().end(), "Warning uknown object type"), 1);
    EXPECT_EQ(object->entryCount(), 3);
    EXPECT_NE(object->childNodeAt(0), nullptr);
    EXPECT_EQ(object->childNodeAt(1), nullptr);
    EXPECT_NE(object->childNodeAt(2), nullptr);
    EXPECT_EQ(object->childNodeAt(3), nullptr);
    EXPECT_EQ(object->childNodeAt(-1), nullptr);
    EXPECT_EQ(object->getChildrenCount(), 2u);
}

TEST_F(AnimationObject, TheParentsTagAndZOrderPassDown) {
    auto body = add<KXModelObjectImage>("Body");
    auto caption = add<KXModelObjectLabel>("Caption", body);
    KXPAnimationObject* object = build();
    CCNode* bodyNode = object->childNodeAt(0);
    CCNode* captionNode = object->childNodeAt(1);
    // Until it has a parent, a text carries its model's id.
    EXPECT_EQ(captionNode->getTag(), static_cast<int>(caption->id()));

    CCNode* owner = CCNode::create();
    owner->setTag(42);
    owner->setZOrder(7);
    owner->addChild(object, 3);
    EXPECT_EQ(object->getTag(), 42);
    EXPECT_EQ(bodyNode->getTag(), 42);
    EXPECT_EQ(captionNode->getTag(), 42);
    // The animation answers its owner's depth, and keeps its own place among the owner's children.
    EXPECT_EQ(object->getZOrder(), 7);
    owner->removeChild(object, false);
    EXPECT_EQ(object->getZOrder(), 3);
    EXPECT_EQ(object->getTag(), 42);
}

TEST_F(AnimationObject, OpacityFactorReachesPicturesOfEveryImageKindAndObjects) {
    add<KXModelObjectImage>("Body");
    add<KXModelObjectButton>("Button Look");
    add<KXModelObjectLabel>("Caption");
    KXPAnimationObject* object = build();
    object->setOpacityFactor(0.25f);
    EXPECT_FLOAT_EQ(object->opacityFactor(), 0.25f);
    EXPECT_FLOAT_EQ(nodeAt<KXPObjectImage>(object, 0)->opacityFactor(), 0.25f);
    EXPECT_FLOAT_EQ(nodeAt<KXPObjectImage>(object, 1)->opacityFactor(), 0.25f);
    EXPECT_FLOAT_EQ(nodeAt<KXPObjectText>(object, 2)->getOpacityFactor(), 0.25f);
}

TEST_F(AnimationObject, BoundsUniteTheChildrensScaledBoxesCentredOnItsPosition) {
    auto wide = add<KXModelObjectImage>("Wide");
    wide->scaleAttribute()->setValue(CCPoint(2.0f, 1.0f), true);
    wide->positionAttribute()->setValue(CCPoint(500.0f, 500.0f), true); // ignored: boxes are centred
    auto small = add<KXModelObjectImage>("Small");
    small->scaleAttribute()->setValue(CCPoint(0.5f, 3.0f), true);
    add<KXModelObjectImage>("Nested", wide); // only the animation's own children count
    KXPAnimationObject* object = build();
    EXPECT_TRUE(object->contentRect().equals(CCRect(-100.0f, -150.0f, 200.0f, 300.0f)));
    object->setPosition(CCPoint(100.0f, 50.0f));
    object->updateBounds();
    EXPECT_TRUE(object->contentRect().equals(CCRect(0.0f, -100.0f, 200.0f, 300.0f)));

    KXPAnimationObject* empty =
        new KXPAnimationObject(KXModel::makeShared<KXModelAnimation>("Empty"), nullptr, false);
    held.push_back(empty);
    EXPECT_TRUE(empty->contentRect().equals(CCRect()));
    EXPECT_EQ(empty->entryCount(), 0);
}

// A mirrored picture (negative scale) is as wide as its plain twin: the bounds keep positive
// extents, with every box still centred on the animation's position.
TEST_F(AnimationObject, MirroredPicturesGiveBoundsOfPositiveExtent) {
    add<KXModelObjectImage>("Mirrored")->scaleAttribute()->setValue(CCPoint(-2.0f, 1.0f), true);
    add<KXModelObjectImage>("Upside Down")->scaleAttribute()->setValue(CCPoint(0.5f, -3.0f), true);
    KXPAnimationObject* object = build();
    EXPECT_TRUE(object->contentRect().equals(CCRect(-100.0f, -150.0f, 200.0f, 300.0f)));
    // Measured away from its owner's origin, the bounds stay around the animation.
    object->setPosition(CCPoint(500.0f, 400.0f));
    object->updateBounds();
    EXPECT_TRUE(object->contentRect().equals(CCRect(400.0f, 250.0f, 200.0f, 300.0f)));

    animation->removeChild(animation->children().back(), true);
    KXPAnimationObject* single = build();
    EXPECT_TRUE(single->contentRect().equals(CCRect(-100.0f, -50.0f, 200.0f, 100.0f)));
}

// With the sample game's three-frame "Runner Frames" pictures (each frame lasts 1/45 s).
class AnimationObjectPictures : public AnimationObject {
protected:
    kxtest::SampleGame game;
    std::shared_ptr<KXModelSpriteContainer> runner;
    CCScene* scene = nullptr;

    void SetUp() override {
        AnimationObject::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        runner = game.named<KXModelSpriteContainer>("Runner Frames");
        ASSERT_TRUE(runner);
        animation = KXModel::makeShared<KXModelAnimation>("Run");
        scene = CCScene::create();
        director()->runWithScene(scene);
        frames(1); // the scene runs from the next frame on
    }

    // Pictures run their frame animations only on a running scene.
    KXPAnimationObject* buildOnStage() {
        KXPAnimationObject* object = build();
        scene->addChild(object);
        return object;
    }

    CCSprite* spriteOf(CCNode* image) {
        return image != nullptr && image->getChildrenCount() == 1
                   ? dynamic_cast<CCSprite*>(image->getChildren()->objectAtIndex(0))
                   : nullptr;
    }
    bool shows(CCSprite* sprite, unsigned int index) const {
        return sprite->isFrameDisplayed(runner->getSpriteFrame(index));
    }
    static CCActionManager* actions() { return director()->getActionManager(); }
};

TEST_F(AnimationObjectPictures, NonLoopingFreezesItsPicturesAtTheFirstWrapUntilRestart) {
    setTiming(1.0f, 0.5f, false);
    auto body = add<KXModelObjectImage>("Body");
    body->setImage(runner);
    body->setStickToEdge(true);
    KXPAnimationObject* object = buildOnStage();
    EXPECT_FALSE(body->stickToEdge()); // pictures in animations never stick to an edge
    CCSprite* sprite = spriteOf(object->childNodeAt(0));
    ASSERT_NE(sprite, nullptr);
    int finished = 0;
    object->setFinishCallback([&finished]() { ++finished; });

    object->update(0.25f);
    object->update(0.25f);
    EXPECT_FALSE(actions()->isTargetPaused(sprite));
    object->update(0.25f);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(actions()->isTargetPaused(sprite));
    actions()->update(0.0f);
    const bool showedFirst = shows(sprite, 0);
    actions()->update(0.05f);
    EXPECT_EQ(shows(sprite, 0), showedFirst); // frozen

    // Not looping still means one callback per pass.
    for (int frame = 0; frame < 3; ++frame) {
        object->update(0.25f);
    }
    EXPECT_EQ(finished, 2);

    object->restart();
    EXPECT_FLOAT_EQ(object->time(), 0.0f);
    EXPECT_FALSE(actions()->isTargetPaused(sprite));
    actions()->update(0.0f);
    EXPECT_TRUE(shows(sprite, 0));
    actions()->update(0.05f);
    EXPECT_TRUE(shows(sprite, 2));
}

TEST_F(AnimationObjectPictures, StopPauseResumeAndShownFrameReachEveryPicture) {
    for (const char* name : {"Body", "Shadow"}) {
        add<KXModelObjectImage>(name)->setImage(runner);
    }
    KXPAnimationObject* object = buildOnStage();
    std::vector<CCSprite*> sprites = {spriteOf(object->childNodeAt(0)), spriteOf(object->childNodeAt(1))};
    ASSERT_TRUE(sprites[0] && sprites[1]);
    object->update(0.25f);

    object->pauseImageActions();
    for (CCSprite* sprite : sprites) {
        EXPECT_TRUE(actions()->isTargetPaused(sprite));
    }
    object->resumeImageActions();
    object->showImageFrame(4); // modulo the three frames
    for (CCSprite* sprite : sprites) {
        EXPECT_FALSE(actions()->isTargetPaused(sprite));
        EXPECT_TRUE(shows(sprite, 1));
    }
    object->showImageFrame(-3);
    EXPECT_TRUE(shows(sprites[0], 0));

    object->stop();
    EXPECT_FLOAT_EQ(object->time(), 0.0f);
    for (CCSprite* sprite : sprites) {
        EXPECT_EQ(sprite->getActionByTag(KXPObjectImage::kFrameActionTag), nullptr);
    }
    object->restart();
    for (CCSprite* sprite : sprites) {
        EXPECT_NE(sprite->getActionByTag(KXPObjectImage::kFrameActionTag), nullptr);
    }
}

} // namespace
