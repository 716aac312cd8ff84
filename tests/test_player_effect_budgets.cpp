// What the mirrors and lights of one field may hold and do together, on a field without GL: the
// mirrors' textures share a fixed number of pixels (a mirror that does not fit reflects at a
// fraction of its size, else not at all, and gives its share back when it goes), only so many
// mirrors capture a frame and only near the screen; the lights of a step cast so many shadow
// rays, then go without shadows, and light so many screens, then are not drawn. Each refusal is
// said once, and the same level always gives the same mirrors and lights.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPLightBudget.h"
#include "player/base/KXPMirrorBudget.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/effects/KXPObjectAssetLight.h"
#include "player/objects/effects/KXPObjectAssetMirror.h"
#include "player/store/KXPScoreTable.h"
#include "support/effect_test_support.h"
#include "support/effects_media_support.h"
#include "support/light_test_support.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

const ccColor4F kWhite{255.0f, 255.0f, 255.0f, 255.0f};

size_t linesWith(const KXDebugLogCapture& log, const std::string& text) {
    return static_cast<size_t>(
        std::count_if(log.lines().begin(), log.lines().end(),
                      [&](const std::string& line) { return line.find(text) != std::string::npos; }));
}

TEST(EffectBudgets, MirrorTexturesAreHalvedIntoWhatIsLeftAndCapturesCountedByFrame) {
    using Size = KXPMirrorBudget::Size;
    const auto expectSize = [](const Size& size, int width, int height) {
        EXPECT_EQ(size.width, width);
        EXPECT_EQ(size.height, height);
    };
    KXPMirrorBudget budget;
    // A quarter of the pixels; then four times that, halved once into what is left; a thin one
    // whole (sides never fall below 1); then one halved past the thin one's share.
    expectSize(budget.take(Size{4096, 1024}), 4096, 1024);
    const Size second = budget.take(Size{4096, 4096});
    expectSize(second, 2048, 2048);
    const Size thin = budget.take(Size{1, 5000});
    expectSize(thin, 1, 5000);
    expectSize(budget.take(Size{4096, 2048}), 2048, 1024);
    // Given back, the thin one's share makes room for what fits exactly.
    budget.giveBack(thin);
    expectSize(budget.take(Size{4096, 1536}), 4096, 1536);
    EXPECT_EQ(budget.heldPixels(), KXPMirrorBudget::kTexturePixels);
    // Full: not even 1 x 1.
    expectSize(budget.take(Size{16, 16}), 0, 0);
    budget.giveBack(second);
    expectSize(budget.take(Size{2048, 2048}), 2048, 2048);

    // 64 x 64 left: four halvings reach it from 1024, not from 2048.
    KXPMirrorBudget nearlyFull;
    nearlyFull.take(Size{4096, 4095});
    expectSize(nearlyFull.take(Size{2048, 2048}), 0, 0);
    expectSize(nearlyFull.take(Size{1024, 1024}), 64, 64);

    for (int frame = 0; frame < 2; ++frame) {
        budget.beginFrame();
        for (int capture = 0; capture < KXPMirrorBudget::kCapturesPerFrame; ++capture) {
            EXPECT_TRUE(budget.takeCapture());
        }
        EXPECT_FALSE(budget.capturesLeft());
        EXPECT_FALSE(budget.takeCapture());
    }
}

class FieldEffects : public kxtest::SceneTest {
protected:
    std::unique_ptr<kxtest::MediaFolder> media;
    KXPScreenScene* scene = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        clearScores();
        media.reset(new kxtest::MediaFolder());
        ASSERT_TRUE(media->entered());
        ASSERT_TRUE(kxtest::writeLightMap());
        KXPScreensController::shared()->setCurrentSceneKey("effects-budget");
        KXBaseModelScreenScene::findOrCreateByKey("effects-budget")
            ->gravityAttribute()
            ->setValue(CCPointZero, true);
        scene = KXPScreenScene::create();
        ASSERT_NE(scene, nullptr);
        scene->retain();
    }
    void TearDown() override {
        kxtest::SceneTest::TearDown();
        if (scene != nullptr) {
            scene->release();
        }
        KXPInputController::purgeShared();
        KXPScreensController::shared()->setCurrentSceneKey("");
        clearScores();
        media.reset();
        resetModelCore();
    }

    CCNode* layer() const { return scene->getObjectLayer(); }

    // A mirror on the field's list, as the streaming adds one.
    // Scales are set as loaded, past the editor's bounds.
    KXPObjectAssetMirror* mirror(const std::string& name, const CCPoint& scale, const CCPoint& position) {
        auto model = createModel<KXModelObjectMirror>();
        model->setName(name);
        model->scaleAttribute()->setValue(scale, true);
        auto* object = dynamic_cast<KXPObjectAssetMirror*>(KXPObjectAsset::create(model));
        EXPECT_NE(object, nullptr);
        object->setPosition(position);
        layer()->addChild(object);
        object->setObjectLayer(layer());
        scene->addMirror(object);
        return object;
    }
    KXPObjectAssetLight* light(float radius, bool shadows, const CCPoint& position, const std::string& name) {
        auto model = kxtest::lightModel(radius, kWhite, shadows);
        model->setName(name);
        auto* object = dynamic_cast<KXPObjectAssetLight*>(KXPObjectAsset::create(model));
        EXPECT_NE(object, nullptr);
        object->setPosition(position);
        layer()->addChild(object);
        object->setObjectLayer(layer());
        object->addToWorld(scene->getWorld(), true);
        return object;
    }
    static CCSize pixelsOf(const KXPObjectAssetMirror* mirror) {
        const CCRenderTexture* texture = mirror->renderTexture();
        return texture != nullptr ? CCSize(static_cast<float>(texture->getPixelsWide()),
                                           static_cast<float>(texture->getPixelsHigh()))
                                  : CCSize(0.0f, 0.0f);
    }
};

TEST_F(FieldEffects, MirrorsShareTheFieldsTexturePixelsInTheirOrderAndGiveThemBackWhenTheyGo) {
    KXDebugLogCapture log;
    // 4096 x 2048, then three of 4096 x 4096: two halved into what is left, the last left without.
    KXPObjectAssetMirror* wide = mirror("Wide", CCPoint(41.0f, 20.485f), CCPoint(500.0f, 100.0f));
    KXPObjectAssetMirror* second = mirror("Second", CCPoint(41.0f, 41.0f), CCPoint(500.0f, 200.0f));
    KXPObjectAssetMirror* third = mirror("Third", CCPoint(41.0f, 41.0f), CCPoint(500.0f, 300.0f));
    KXPObjectAssetMirror* last = mirror("Last", CCPoint(41.0f, 41.0f), CCPoint(500.0f, 400.0f));
    for (int frame = 0; frame < 2; ++frame) {
        scene->visit();
    }
    EXPECT_EQ(pixelsOf(wide), CCSize(4096, 2048));
    EXPECT_EQ(pixelsOf(second), CCSize(2048, 2048));
    EXPECT_EQ(pixelsOf(third), CCSize(2048, 2048));
    EXPECT_EQ(last->renderTexture(), nullptr);
    EXPECT_EQ(scene->mirrorBudget().heldPixels(), KXPMirrorBudget::kTexturePixels);
    EXPECT_TRUE(wide->isReflecting());
    EXPECT_TRUE(second->isReflecting());
    EXPECT_FALSE(last->isReflecting());
    EXPECT_EQ(log.lines().size(), 3u);
    EXPECT_TRUE(
        log.contains("[KXPObjectAssetMirror] - Second (model " + std::to_string(second->getModel()->id()) +
                     ") reflects at 2048 x 2048, not 4096 x 4096: the field's mirrors hold 32 of their 64 "
                     "MiB"));
    EXPECT_TRUE(log.contains("[KXPObjectAssetMirror] - Last (model " +
                             std::to_string(last->getModel()->id()) +
                             ") shows no reflection: the field's mirrors hold 64 of their 64 MiB"));

    // A halved texture takes the band at half its size and is drawn twice as large, flipped.
    EXPECT_EQ(second->captureScale(), CCPoint(0.5f, 0.5f));
    second->visit();
    EXPECT_EQ(second->renderTexture()->getScaleX(), 2.0f);
    EXPECT_EQ(second->renderTexture()->getScaleY(), -2.0f);
    EXPECT_EQ(wide->captureScale(), CCPoint(1.0f, 1.0f));

    // The wide one goes: its share comes back, and a mirror made after it takes it.
    const int64_t wideShare = 4096 * 2048;
    wide->setState(KXPObject::kStateRemoved);
    scene->update(0.0f);
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(scene->mirrorBudget().heldPixels(), KXPMirrorBudget::kTexturePixels - wideShare);
    KXPObjectAssetMirror* late = mirror("Late", CCPoint(41.0f, 20.485f), CCPoint(500.0f, 100.0f));
    scene->visit();
    EXPECT_EQ(pixelsOf(late), CCSize(4096, 2048));
    EXPECT_EQ(log.lines().size(), 3u);
}

TEST_F(FieldEffects, OnlySoManyMirrorsNearTheScreenCaptureAFrameInTheFieldsOrder) {
    KXDebugLogCapture log;
    const int count = KXPMirrorBudget::kCapturesPerFrame + 4;
    std::vector<KXPObjectAssetMirror*> mirrors;
    // A far one first in the list: it neither takes a capture nor makes a texture.
    KXPObjectAssetMirror* far = mirror("Far", CCPoint(1.0f, 0.5f), CCPoint(5000.0f, 100.0f));
    for (int index = 0; index < count; ++index) {
        mirrors.push_back(mirror("Pool " + std::to_string(index), CCPoint(1.0f, 0.5f),
                                 CCPoint(50.0f + 45.0f * static_cast<float>(index), 100.0f)));
    }
    for (int frame = 0; frame < 3; ++frame) {
        scene->visit();
    }
    EXPECT_FALSE(far->isPrepared());
    EXPECT_FALSE(far->isReflecting());
    for (int index = 0; index < count; ++index) {
        const bool captures = index < KXPMirrorBudget::kCapturesPerFrame;
        EXPECT_EQ(mirrors[index]->isReflecting(), captures) << index;
        EXPECT_EQ(mirrors[index]->isPrepared(), captures) << index;
    }
    // Each mirror left out says so once.
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_EQ(linesWith(log, "shows no reflection while the 16 mirrors before it in the field reflect"), 4u);
    EXPECT_TRUE(log.contains("[KXPObjectAssetMirror] - Pool 16 (model " +
                             std::to_string(mirrors[16]->getModel()->id()) +
                             ") shows no reflection while the 16 mirrors before it in the field reflect"));

    // One of them scrolls out of reach: the next in the list captures in its place.
    mirrors[3]->setPosition(CCPoint(-3000.0f, 100.0f));
    scene->visit();
    EXPECT_FALSE(mirrors[3]->isReflecting());
    EXPECT_TRUE(mirrors[16]->isReflecting());
    EXPECT_FALSE(mirrors[17]->isReflecting());
    // Within a screen of the edge a mirror keeps capturing, ready to come into view.
    far->setPosition(CCPoint(1900.0f, 100.0f));
    mirrors[4]->setPosition(CCPoint(-3000.0f, 100.0f));
    scene->visit();
    EXPECT_TRUE(far->isReflecting());
    EXPECT_EQ(log.lines().size(), 4u);
}

TEST_F(FieldEffects, LightsPastTheStepsRaysGoWithoutShadowsAndPastItsLightAreNotDrawn) {
    KXDebugLogCapture log;
    // 80 small crates round a point (every blocker one query takes): a light there casts a ray
    // through each of their 320 corners and its square's 4.
    kxtest::Blockers blockers(*scene->getWorld());
    const CCPoint centre(300.0f, 250.0f);
    for (int row = -4; row <= 4; ++row) {
        for (int column = -4; column <= 4; ++column) {
            if (row != 0 || column != 0) {
                blockers.box(centre + CCPoint(10.0f * column, 10.0f * row), CCSize(4.0f, 4.0f));
            }
        }
    }
    const int raysEach = 324;
    const int shadowed = KXPLightBudget::kShadowRaysPerStep / raysEach;
    std::vector<KXPObjectAssetLight*> lights;
    for (int index = 0; index < shadowed + 5; ++index) {
        lights.push_back(light(3.0f, true, centre, "Lamp " + std::to_string(index)));
    }
    for (int step = 0; step < 2; ++step) {
        scene->fixedUpdate(KXPScreenScene::kFixedStep);
        for (int index = 0; index < shadowed + 5; ++index) {
            // Without shadows: the centre and the square's corners.
            if (index < shadowed) {
                EXPECT_GT(lights[index]->fan().vertexCount(), 5) << index;
            } else {
                EXPECT_EQ(lights[index]->fan().vertexCount(), 5) << index;
            }
        }
        EXPECT_EQ(lights[0]->fan().raysCast(), raysEach);
        EXPECT_EQ(scene->lightBudget()->raysCast(), shadowed * raysEach);
    }
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(
        log.contains("[KXPObjectAssetLight] - Lamp " + std::to_string(shadowed) + " (model " +
                     std::to_string(lights[shadowed]->getModel()->id()) +
                     ") and the lights after it in a step are lit without shadows: the field's lights "
                     "cast 16384 rays a step at most"));

    // Lights over the whole screen: so many screens' worth are drawn, the rest not at all.
    for (KXPObjectAssetLight* lamp : lights) {
        lamp->removeFromParent();
    }
    log.clear();
    const int drawn = static_cast<int>(KXPLightBudget::kLitScreensPerStep);
    std::vector<KXPObjectAssetLight*> floods;
    for (int index = 0; index < drawn + 3; ++index) {
        floods.push_back(light(100.0f, false, CCPoint(500.0f, 250.0f), "Flood " + std::to_string(index)));
    }
    for (int step = 0; step < 2; ++step) {
        scene->fixedUpdate(KXPScreenScene::kFixedStep);
        for (int index = 0; index < drawn + 3; ++index) {
            EXPECT_EQ(floods[index]->fan().vertexCount(), index < drawn ? 5 : 0) << index;
        }
        EXPECT_FLOAT_EQ(scene->lightBudget()->screensLit(), KXPLightBudget::kLitScreensPerStep);
    }
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.contains("[KXPObjectAssetLight] - Flood " + std::to_string(drawn) + " (model " +
                             std::to_string(floods[drawn]->getModel()->id()) +
                             ") and the lights after it in a step are not drawn: the field's lights light 24 "
                             "screens a step at most"));
}

} // namespace
