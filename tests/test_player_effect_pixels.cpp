// The effects drawn for real in the offscreen view: a light brightens what it reaches and leaves
// what lies behind a blocker dark (and tints by its colour); the mirror on the game field shows
// the band above it upside down, tinted by the game's reflection shader, and falls back to the
// plain texture shader when that shader does not compile; a flag and a trail draw their strips
// with their textures and opacity.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPColorSprite.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/effects/KXPObjectAssetFlag.h"
#include "player/objects/effects/KXPObjectAssetLight.h"
#include "player/objects/effects/KXPObjectAssetMirror.h"
#include "player/objects/effects/KXPObjectAssetTrail.h"
#include "player/store/KXPScoreTable.h"
#include "support/effect_test_support.h"
#include "support/effects_media_support.h"
#include "support/light_test_support.h"
#include "support/model_test_models.h"
#include "support/render_test_support.h"

#include "cocos2d.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace cocos2d;

namespace {

int brightness(const ccColor4B& pixel) {
    return (pixel.r + pixel.g + pixel.b) / 3;
}

class EffectPixels : public kxtest::RenderTest {
protected:
    std::unique_ptr<kxtest::MediaFolder> media;
    CCNode* layer = nullptr;

    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        resetModelCore();
        media.reset(new kxtest::MediaFolder());
        ASSERT_TRUE(media->entered());
        layer = CCNode::create();
        layer->retain();
    }
    void TearDown() override {
        if (layer != nullptr) {
            layer->removeAllChildrenWithCleanup(true);
            layer->release();
        }
        media.reset();
        resetModelCore();
        kxtest::RenderTest::TearDown();
    }

    template <class T>
    T* place(const std::shared_ptr<KXModel>& model, const CCPoint& position, b2World* world) {
        T* object = dynamic_cast<T*>(KXPObjectAsset::create(model));
        EXPECT_NE(object, nullptr);
        object->setPosition(position);
        layer->addChild(object);
        object->setObjectLayer(layer);
        object->addToWorld(world, true);
        return object;
    }

    // Pictures for a person to look at: KX_SCREENSHOT_DIR=/some/folder.
    static void keepScreenshot(const std::string& name) {
        if (const char* folder = std::getenv("KX_SCREENSHOT_DIR")) {
            ccSaveScreenshot(std::string(folder) + "/" + name + ".png");
        }
    }
};

TEST_F(EffectPixels, ALightBrightensWhatItReachesAndLeavesWhatIsBehindABlockerDark) {
    ASSERT_TRUE(kxtest::writeLightMap());
    b2World world(b2Vec2(0.0f, 0.0f));
    kxtest::Blockers blockers(world);
    // A post right of the light; the view is 100 x 100 points.
    blockers.box(CCPoint(68.0f, 48.0f), CCSize(6.0f, 30.0f));
    const ccColor4F white{255.0f, 255.0f, 255.0f, 255.0f};
    KXPObjectAssetLight* light =
        place<KXPObjectAssetLight>(kxtest::lightModel(2.5f, white, true), CCPoint(50.0f, 50.0f), &world);
    light->update(1.0f / 60.0f);
    render({layer});
    keepScreenshot("light-shadow");
    // Equal distances left and right of the light: lit against shadowed.
    const int lit = brightness(pixel(21, 50));
    const int shadowed = brightness(pixel(78, 50));
    EXPECT_GT(lit, 40);
    EXPECT_LT(shadowed, 5);
    EXPECT_GT(brightness(pixel(50, 50)), 200);
    // Beside the post's shadow the light goes on.
    EXPECT_GT(brightness(pixel(70, 75)), 15);

    // Without shadows the same point is lit like its mirror image.
    KXPObjectAssetLight* plain =
        place<KXPObjectAssetLight>(kxtest::lightModel(2.5f, white, false), CCPoint(50.0f, 50.0f), &world);
    light->removeFromParent();
    plain->update(1.0f / 60.0f);
    render({layer});
    EXPECT_NEAR(brightness(pixel(78, 50)), brightness(pixel(21, 50)), 3);

    // A red light at half alpha gives half red and nothing else.
    plain->removeFromParent();
    KXPObjectAssetLight* red = place<KXPObjectAssetLight>(
        kxtest::lightModel(2.5f, ccColor4F{255.0f, 0.0f, 0.0f, 127.5f}, true), CCPoint(50.0f, 50.0f), &world);
    red->update(1.0f / 60.0f);
    render({layer});
    EXPECT_PIXEL(pixel(50, 50), 126, 0, 0);
    red->setOpacityFactor(0.0f);
    render({layer});
    EXPECT_PIXEL(pixel(50, 50), 0, 0, 0);
}

class MirrorPixels : public EffectPixels {
protected:
    KXPScreenScene* scene = nullptr;

    void SetUp() override {
        EffectPixels::SetUp();
        if (IsSkipped()) {
            return;
        }
        clearScores();
        KXPScreensController::shared()->setCurrentSceneKey("mirror-test");
        KXBaseModelScreenScene::findOrCreateByKey("mirror-test")
            ->gravityAttribute()
            ->setValue(CCPointZero, true);
    }
    void TearDown() override {
        if (scene != nullptr) {
            scene->release();
        }
        KXPInputController::purgeShared();
        KXPScreensController::shared()->setCurrentSceneKey("");
        clearScores();
        EffectPixels::TearDown();
    }

    // The game field with red right above the mirror's band and blue above that, and a mirror
    // of scale (1, 0.5) filling the lower half of the view.
    KXPObjectAssetMirror* makeField(const ccColor4F& shade) {
        scene = KXPScreenScene::create();
        EXPECT_NE(scene, nullptr);
        scene->retain();
        CCNode* field = scene->getObjectLayer();
        CCSprite* red = createColorSprite(CCSize(100.0f, 25.0f), ccc4(255, 0, 0, 255));
        red->setPosition(CCPoint(50.0f, 62.5f));
        field->addChild(red);
        CCSprite* blue = createColorSprite(CCSize(100.0f, 25.0f), ccc4(0, 0, 255, 255));
        blue->setPosition(CCPoint(50.0f, 87.5f));
        field->addChild(blue);

        auto model = createModel<KXModelObjectMirror>();
        model->scaleAttribute()->setValue(CCPoint(1.0f, 0.5f));
        attributeOf<KXAttributeColor>(*model, "Color")->setValue(shade);
        auto* mirror = dynamic_cast<KXPObjectAssetMirror*>(KXPObjectAsset::create(model));
        EXPECT_NE(mirror, nullptr);
        mirror->setPosition(CCPoint(50.0f, 25.0f));
        field->addChild(mirror);
        mirror->setObjectLayer(field);
        scene->addMirror(mirror);
        return mirror;
    }

    // Two frames: the first captures, the second shows what it captured.
    void twoFrames() {
        render({scene});
        render({scene});
    }
};

TEST_F(MirrorPixels, TheMirrorShowsTheBandAboveItUpsideDownThroughTheGamesShader) {
    ASSERT_TRUE(kxtest::writeReflectionShader(kxtest::kTintReflectionShader));
    KXPObjectAssetMirror* mirror = makeField(ccColor4F{255.0f, 255.0f, 127.5f, 255.0f});
    twoFrames();
    keepScreenshot("mirror-tinted");
    EXPECT_TRUE(mirror->hasReflectionShader());
    EXPECT_TRUE(mirror->isVisible());
    // The scene above is untouched.
    EXPECT_PIXEL(pixel(50, 60), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 90), 0, 0, 255);
    // Red, nearest the water line, comes first below it; blue, higher up, at the bottom (with
    // the shader's half blue).
    EXPECT_PIXEL(pixel(50, 40), 255, 0, 0);
    EXPECT_PIXEL(pixel(20, 30), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 10), 0, 0, 127);
    EXPECT_PIXEL(pixel(80, 2), 0, 0, 127);
}

TEST_F(MirrorPixels, WithoutAWorkingShaderTheReflectionIsDrawnPlain) {
    for (const char* source : {"", "void main() { this is not a shader }"}) {
        resetModelCore();
        if (scene != nullptr) {
            scene->release();
            scene = nullptr;
        }
        KXBaseModelScreenScene::findOrCreateByKey("mirror-test");
        ASSERT_TRUE(kxtest::writeReflectionShader(source));
        KXDebugLogCapture log;
        KXPObjectAssetMirror* mirror = makeField(ccColor4F{0.0f, 0.0f, 0.0f, 255.0f});
        twoFrames();
        EXPECT_FALSE(mirror->hasReflectionShader());
        EXPECT_EQ(
            log.contains("[KXPObjectAssetMirror] \"data/shaders/WaterReflection.fsh\" does not compile: "
                         "the reflection is drawn untinted"),
            *source != '\0');
        // Untinted (a black shade would have darkened it), still upside down.
        EXPECT_PIXEL(pixel(50, 40), 255, 0, 0);
        EXPECT_PIXEL(pixel(50, 10), 0, 0, 255);
    }
}

TEST_F(EffectPixels, FlagsAndTrailsDrawTheirStripsWithTheirTexturesAndOpacity) {
    ASSERT_TRUE(kxtest::writeEffectMap("flagMap.png", {0, 255, 0, 255}));
    ASSERT_TRUE(kxtest::writeEffectMap("trailMap.png", {255, 255, 255, 255}));
    auto setFloat = [](KXModel& model, const char* name, float value) {
        attributeOf<KXAttributeFloat>(model, name)->setValue(value);
    };

    // A still, straight flag 80 long and 10 wide each side, from x 10 to its last column at 86.
    auto flagModel = createModel<KXModelObjectFlag>();
    setFloat(*flagModel, "Length", 80.0f);
    setFloat(*flagModel, "Start Width", 10.0f);
    setFloat(*flagModel, "End Width", 10.0f);
    setFloat(*flagModel, "Wave Height", 0.0f);
    KXPObjectAssetFlag* flag = place<KXPObjectAssetFlag>(flagModel, CCPoint(10.0f, 70.0f), nullptr);
    flag->update(1.0f / 60.0f);

    // A trail 8 wide each side pulled from right to left along y = 25.
    auto trailModel = createModel<KXModelObjectTrail>();
    setFloat(*trailModel, "Length", 200.0f);
    setFloat(*trailModel, "Start Width", 8.0f);
    setFloat(*trailModel, "End Width", 8.0f);
    setFloat(*trailModel, "Wave Height", 0.0f);
    setFloat(*trailModel, "Speed", 0.0f);
    KXPObjectAssetTrail* trail = place<KXPObjectAssetTrail>(trailModel, CCPoint(95.0f, 25.0f), nullptr);
    for (float x = 95.0f; x >= 15.0f; x -= 4.0f) {
        trail->setPosition(CCPoint(x, 25.0f));
        trail->update(1.0f / 60.0f);
    }
    render({layer});
    keepScreenshot("flag-and-trail");
    EXPECT_PIXEL(pixel(50, 70), 0, 255, 0);
    EXPECT_PIXEL(pixel(12, 77), 0, 255, 0);
    EXPECT_PIXEL(pixel(50, 85), 0, 0, 0);
    EXPECT_PIXEL(pixel(92, 70), 0, 0, 0);
    EXPECT_PIXEL(pixel(50, 25), 255, 255, 255);
    EXPECT_PIXEL(pixel(80, 30), 255, 255, 255);
    EXPECT_PIXEL(pixel(50, 40), 0, 0, 0);

    // Opacity: the animated "Opacity" times the opacity factor.
    flag->setOpacityFactor(0.5f);
    trail->setState(KXPObject::kStateDead);
    render({layer});
    EXPECT_PIXEL(pixel(50, 70), 0, 127, 0);
    EXPECT_PIXEL(pixel(50, 25), 0, 0, 0);
}

TEST_F(EffectPixels, ATrailInTheLayerDrawsAtItsScaleAndACarriedOneAtItsHistorysSize) {
    ASSERT_TRUE(kxtest::writeEffectMap("trailMap.png", {255, 255, 255, 255}));
    // Still trails 3 wide each side.
    const auto stillTrail = [] {
        auto model = createModel<KXModelObjectTrail>();
        for (const char* name : {"Start Width", "End Width"}) {
            attributeOf<KXAttributeFloat>(*model, name)->setValue(3.0f);
        }
        attributeOf<KXAttributeFloat>(*model, "Length")->setValue(200.0f);
        attributeOf<KXAttributeFloat>(*model, "Wave Height")->setValue(0.0f);
        attributeOf<KXAttributeFloat>(*model, "Speed")->setValue(0.0f);
        return model;
    };
    auto trailModel = stillTrail();

    // Straight in the layer at scale 2: the history, pulled from x 60 to 30 along y = 30, is drawn
    // twice as large about the head, 6 wide each side.
    KXPObjectAssetTrail* placed = place<KXPObjectAssetTrail>(trailModel, CCPoint(60.0f, 30.0f), nullptr);
    placed->setScale(2.0f);
    // Carried by an object at scale 2: drawn in the layer's space, at the history's size, pulled
    // from x 60 to 30 along y = 70.
    auto* carrier = new KXPObject(nullptr);
    carrier->init();
    carrier->autorelease();
    carrier->setPosition(CCPoint(10.0f, 70.0f));
    carrier->setScale(2.0f);
    layer->addChild(carrier);
    carrier->setObjectLayer(layer);
    auto* carried = dynamic_cast<KXPObjectAssetTrail*>(KXPObjectAsset::create(trailModel));
    ASSERT_NE(carried, nullptr);
    carried->setPosition(CCPoint(25.0f, 0.0f));
    carrier->addChild(carried);
    carried->setObjectLayer(layer);
    carried->addToWorld(nullptr, true);
    // Turned a quarter in the layer: the turn is undone, so the ribbon lies where its history
    // does, along y = 50.
    auto turnedModel = stillTrail();
    turnedModel->rotationAttribute()->setValue(90.0f, true);
    KXPObjectAssetTrail* turned = place<KXPObjectAssetTrail>(turnedModel, CCPoint(60.0f, 50.0f), nullptr);
    turned->setRotation(90.0f);
    for (float x = 60.0f; x >= 30.0f; x -= 2.0f) {
        placed->setPosition(CCPoint(x, 30.0f));
        placed->update(1.0f / 60.0f);
        turned->setPosition(CCPoint(x, 50.0f));
        turned->update(1.0f / 60.0f);
        carried->setPosition(CCPoint((x - 10.0f) * 0.5f, 0.0f));
        carried->update(1.0f / 60.0f);
    }
    render({layer});
    keepScreenshot("trail-scales");
    // The oldest point is never a vertex: at its own size a ribbon runs from the head at x 30 to
    // about x 55; twice as large, to about x 80.
    EXPECT_PIXEL(pixel(40, 30), 255, 255, 255);
    EXPECT_PIXEL(pixel(70, 30), 255, 255, 255);
    EXPECT_PIXEL(pixel(40, 35), 255, 255, 255);
    EXPECT_PIXEL(pixel(40, 39), 0, 0, 0);
    EXPECT_PIXEL(pixel(90, 30), 0, 0, 0);
    EXPECT_PIXEL(pixel(45, 50), 255, 255, 255);
    EXPECT_PIXEL(pixel(20, 50), 0, 0, 0);
    EXPECT_PIXEL(pixel(40, 70), 255, 255, 255);
    EXPECT_PIXEL(pixel(50, 70), 255, 255, 255);
    EXPECT_PIXEL(pixel(40, 75), 0, 0, 0);
    EXPECT_PIXEL(pixel(65, 70), 0, 0, 0);
}

} // namespace
