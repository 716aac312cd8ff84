// Particle effects and animations drawn for real in the offscreen view: an emitter draws its
// particles where its object is (and follows it), and an animation's picture, with a picture
// nested in it, moves along its keyframes.

#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelQueries.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/effects/KXPObjectAssetParticles.h"
#include "support/effect_test_support.h"
#include "support/model_test_models.h"
#include "support/render_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

KXAnimationCurve* rampCurve(float from, float to, float seconds) {
    auto* curve = new KXAnimationCurve();
    curve->setMode(KXAnimationCurve::Linear);
    curve->addPoint(from, 0.0f);
    curve->addPoint(to, seconds);
    return curve;
}

class EffectsRender : public kxtest::RenderTest {
protected:
    std::unique_ptr<kxtest::MediaFolder> media;
    std::vector<CCObject*> held;

    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        resetModelCore();
        media.reset(new kxtest::MediaFolder());
        ASSERT_TRUE(media->entered());
    }
    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        held.clear();
        media.reset();
        resetModelCore();
        kxtest::RenderTest::TearDown();
    }

    template <class T> T* hold(T* object) {
        CCObject* base = object;
        base->retain();
        held.push_back(base);
        return object;
    }

    // Pictures for a person to look at: KX_SCREENSHOT_DIR=/some/folder.
    static void keepScreenshot(const std::string& name) {
        if (const char* folder = std::getenv("KX_SCREENSHOT_DIR")) {
            ccSaveScreenshot(std::string(folder) + "/" + name + ".png");
        }
    }
};

TEST_F(EffectsRender, AnEmitterDrawsWhereItsObjectIs) {
    auto dot = media->solidPicture(8, 8, {255, 255, 255, 255});
    auto emitter = kxtest::stillEmitter(dot, 60.0f, 0.5f, 12.0f, ccc4f(1.0f, 0.0f, 0.0f, 1.0f));
    CCNode* layer = hold(CCNode::create());
    layer->setPosition(CCPoint(-20.0f, 10.0f)); // a scrolled layer: the particles still follow the object
    KXPObjectAssetParticles* object = KXPObjectAssetParticles::create(kxtest::particlesWith({emitter}));
    object->setPosition(CCPoint(90.0f, 20.0f));
    layer->addChild(object);
    object->setObjectLayer(layer);
    for (int frame = 0; frame < 30; ++frame) {
        object->update(1.0f / 60.0f);
    }
    render({layer});
    keepScreenshot("emitter_at_object");
    EXPECT_PIXEL(pixel(70, 30), 255, 0, 0);
    EXPECT_PIXEL(pixel(30, 70), 0, 0, 0);

    // Moved, new particles start at the new place; the old ones die out after their life.
    object->setPosition(CCPoint(50.0f, 60.0f));
    for (int frame = 0; frame < 60; ++frame) {
        object->update(1.0f / 60.0f);
    }
    render({layer});
    keepScreenshot("emitter_followed_object");
    EXPECT_PIXEL(pixel(30, 70), 255, 0, 0);
    EXPECT_PIXEL(pixel(70, 30), 0, 0, 0);

    // Hidden by an opacity factor of 0, the particles made from then on are transparent.
    object->setOpacityFactor(0.0f);
    for (int frame = 0; frame < 60; ++frame) {
        object->update(1.0f / 60.0f);
    }
    render({layer});
    EXPECT_PIXEL(pixel(30, 70), 0, 0, 0);
}

TEST_F(EffectsRender, AnAnimationsPictureMovesAlongItsKeyframes) {
    auto animation = createModel<KXModelAnimation>();
    animation->durationAttribute()->setValue(2.0f, true);
    auto body = createModel<KXModelObjectImage>();
    body->setImage(media->solidPicture(10, 10, {0, 255, 0, 255}));
    body->positionAttribute()->setAnimationCurves(
        {rampCurve(20.0f, 80.0f, 1.0f), rampCurve(40.0f, 40.0f, 1.0f)}, 0);
    animation->addChild(body, true);
    // A picture nested in it keeps its place beside it.
    auto badge = createModel<KXModelObjectImage>();
    badge->setImage(media->solidPicture(6, 6, {0, 0, 255, 255}));
    badge->positionAttribute()->setValue(CCPoint(0.0f, 30.0f), true);
    animation->addChild(badge, true);
    body->addChild(badge, true);

    auto* object = new KXPAnimationObject(animation, nullptr, false);
    held.push_back(object);
    CCNode* layer = hold(CCNode::create());
    layer->addChild(object);

    object->update(0.0f);
    render({layer});
    keepScreenshot("animation_at_start");
    EXPECT_PIXEL(pixel(20, 40), 0, 255, 0);
    EXPECT_PIXEL(pixel(20, 70), 0, 0, 255);
    EXPECT_PIXEL(pixel(80, 40), 0, 0, 0);

    object->update(0.5f);
    render({layer});
    EXPECT_PIXEL(pixel(50, 40), 0, 255, 0);
    EXPECT_PIXEL(pixel(20, 40), 0, 0, 0);

    object->update(0.5f);
    render({layer});
    keepScreenshot("animation_after_one_second");
    EXPECT_PIXEL(pixel(80, 40), 0, 255, 0);
    EXPECT_PIXEL(pixel(80, 70), 0, 0, 255);
    EXPECT_PIXEL(pixel(20, 40), 0, 0, 0);
    EXPECT_PIXEL(pixel(20, 70), 0, 0, 0);
}

} // namespace
