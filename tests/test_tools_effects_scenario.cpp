// The effects scenario as the player would show it, in the offscreen view: `kxdata write-effects`
// writes the game, the model store loads it the way the player does, the cave's game field is
// built, and its opening section is laid onto the field here (standing in for the level streaming
// and the unit objects, which come with their own tasks): every effect through the asset factory,
// the units as plain shapes that block light, the comet's trail attached to the comet, the pool
// on the field's mirror list. Then the field runs and draws: the lantern leaves a shadow behind a
// pillar, the pool shows the hall above it upside down, the banner waves and the trail follows
// the spinning comet. Also: the exported shader compiles with the engine's built-in vertex shader.

#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/effects/KXPObjectAssetFlag.h"
#include "player/objects/effects/KXPObjectAssetMirror.h"
#include "player/objects/effects/KXPObjectAssetTrail.h"
#include "player/store/KXPScoreTable.h"
#include "renderer/ccShaders.h"
#include "support/model_test_models.h"
#include "support/render_test_support.h"
#include "support/temp_folder.h"
#include "tools/kxdata/effects/effects_media.h"
#include "tools/kxdata/effects/effects_scenario.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

using namespace cocos2d;

namespace {

// A unit as a plain shape: its idle picture, a static body from its collision shape, and light
// blocked when it collides.
class UnitStandIn : public KXPObjectAsset {
public:
    explicit UnitStandIn(const std::shared_ptr<KXModelObjectAssetUnit>& model) : KXPObjectAsset(model) {
        m_collisionType = model->collisionType() == "kNoCollision" ? kCollisionNone : kCollisionCharacter;
        m_linearMovement = true;
        setType(kTypeUnit);
        if (std::shared_ptr<KXModelAnimation> idle = model->idleAnimation()) {
            KXPAnimationObject* animation = new KXPAnimationObject(idle, nullptr, true);
            animation->autorelease();
            addChild(animation);
        }
        autorelease();
    }
    bool blocksLight() override { return m_collisionType != kCollisionNone; }
};

int brightness(const ccColor4B& pixel) {
    return (pixel.r + pixel.g + pixel.b) / 3;
}

class EffectsScenario : public kxtest::RenderTest {
protected:
    // The design area is drawn at half size.
    static constexpr int kFrameWidth = 568;
    static constexpr int kFrameHeight = 320;

    TempFolder game;
    std::string previousFolder;
    KXPScreenScene* scene = nullptr;
    std::map<std::shared_ptr<KXModel>, KXPObject*> laid;

    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        view->setFrameSize(kFrameWidth, kFrameHeight);
        view->setDesignResolutionSize(1136, 640, kResolutionExactFit);
        ASSERT_EQ(kxdata::effects::writeEffectsScenario(game.path()), 0u);
        char cwd[PATH_MAX];
        ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
        previousFolder = cwd;
        ASSERT_EQ(::chdir(game.path().c_str()), 0);
        loadGame();
        clearScores();
        // From the loading screen along its "Load" link, as the player goes.
        KXPScreensController::shared()->reset();
        ASSERT_TRUE(KXPScreensController::shared()->openScene("Load", true, 0));
        ASSERT_EQ(KXPScreensController::shared()->currentSceneKey(), kxdata::effects::kCaveKey);
        scene = KXPScreenScene::create();
        ASSERT_NE(scene, nullptr);
        scene->retain();
        layOpeningSection();
    }
    void TearDown() override {
        if (scene != nullptr) {
            scene->release();
        }
        CCPoolManager::sharedPoolManager()->pop();
        KXPInputController::purgeShared();
        KXPScreensController::shared()->reset();
        clearScores();
        CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        CCTextureCache::purgeSharedTextureCache();
        resetModelCore();
        if (!previousFolder.empty()) {
            EXPECT_EQ(::chdir(previousFolder.c_str()), 0);
        }
        kxtest::RenderTest::TearDown();
    }

    static void loadGame() {
        KXModelController* store = KXModelController::shared();
        store->clear();
        store->setArchiveMode(false);
        store->loadInitialData("data/data.pkg", kStoredArchivePassword);
        bool done = false;
        for (int step = 0; step < 10000 && !done; ++step) {
            done = store->loadNextFile();
        }
        ASSERT_TRUE(done);
        ASSERT_FALSE(store->loadFailed()) << store->lastError();
        for (const auto& atlas : getModels<KXModelAtlas>()) {
            CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(atlas->plistPath().c_str());
        }
    }

    // What the level streaming does with the opening section, with units standing in.
    void layOpeningSection() {
        std::shared_ptr<KXModelLevelSection> hall;
        for (const auto& section : getModels<KXModelLevelSection>()) {
            if (section->name() == kxdata::effects::kCaveSection) {
                hall = section;
            }
        }
        ASSERT_TRUE(hall);
        CCNode* layer = scene->getObjectLayer();
        for (const std::shared_ptr<KXModelObject>& model : hall->objects()) {
            // Signs and the gong are a text and a button the field makes itself, not asset objects.
            if (modelCast<KXModelObjectLabel>(model) || modelCast<KXModelObjectButton>(model)) {
                continue;
            }
            KXPObjectAsset* object = KXPObjectAsset::create(model);
            if (object == nullptr) {
                if (auto unit = modelCast<KXModelObjectAssetUnit>(model)) {
                    object = new UnitStandIn(unit);
                }
            }
            ASSERT_NE(object, nullptr) << model->name();
            layer->addChild(object, model->zDepth());
            object->setObjectLayer(layer);
            object->addToWorld(scene->getWorld(), true);
            if (object->getType() == KXPObject::kTypeMirror) {
                scene->addMirror(object);
            }
            laid[model] = object;
        }
        for (const std::shared_ptr<KXModel>& child : hall->children()) {
            const auto link = modelCast<KXModelLinker>(child);
            if (!link) {
                continue;
            }
            KXPObject* carrier = laid[link->objectA()];
            KXPObjectAsset* carried = dynamic_cast<KXPObjectAsset*>(laid[link->objectB()]);
            ASSERT_NE(carrier, nullptr);
            ASSERT_NE(carried, nullptr);
            const CCPoint local =
                carrier->convertToNodeSpace(layer->convertToWorldSpace(carried->getPosition()));
            carried->retain();
            carried->removeFromParent();
            carrier->addChild(carried);
            carried->release();
            carried->setPosition(local);
            carried->setAttached(true);
            carried->addToWorld(scene->getWorld(), true);
        }
    }

    template <class T> T* laidAs(const std::string& name) {
        for (const auto& entry : laid) {
            if (entry.first->name() == name) {
                return dynamic_cast<T*>(entry.second);
            }
        }
        return nullptr;
    }

    // Frames of the running field, each drawn (the pool shows what the frame before captured);
    // the comet spins as its unit would (-40 x 1/32 rad/s).
    void run(int frames) {
        KXPObject* comet = laidAs<KXPObject>("Comet");
        for (int frame = 0; frame < frames; ++frame) {
            comet->setRotation(comet->getRotation() + 1.25f * 57.29578f / 60.0f);
            scene->update(1.0f / 60.0f);
            CCPoolManager::sharedPoolManager()->pop();
            render({scene});
        }
    }

    // The design area's pixels in a box, sampled every 4 points.
    static std::vector<ccColor4B> sample(float left, float bottom, float right, float top) {
        std::vector<ccColor4B> pixels;
        for (float x = left; x < right; x += 4.0f) {
            for (float y = bottom; y < top; y += 4.0f) {
                pixels.push_back(at(x, y));
            }
        }
        return pixels;
    }

    // Pixel at a point of the design area.
    static ccColor4B at(float x, float y) {
        return pixel(static_cast<int>(x * 0.5f), static_cast<int>(y * 0.5f));
    }

    static void keepScreenshot(const std::string& name) {
        if (const char* folder = std::getenv("KX_SCREENSHOT_DIR")) {
            ccSaveScreenshot(std::string(folder) + "/" + name + ".png");
        }
    }
};

TEST_F(EffectsScenario, TheCaveShowsEveryEffectAtWork) {
    ASSERT_NE(laidAs<KXPObjectAssetMirror>("Pool"), nullptr);
    ASSERT_EQ(scene->getMirrors().size(), 1u);
    EXPECT_EQ(scene->getUiLayer(), nullptr);
    run(2);
    keepScreenshot("cave-start");

    // The lantern (300, 340) lights both sides of the hall alike, but not behind the pillar
    // standing 170 points to its right.
    const int open = brightness(at(100.0f, 340.0f));
    const int shadowed = brightness(at(500.0f, 340.0f));
    EXPECT_GT(open, shadowed + 40) << open << " against " << shadowed;

    // The pool (y 0 to 130) shows the band above it (130 to 260) upside down and tinted: its rows
    // match the tinted rows as far above the water line far better than the rows the same
    // distance up from the band's top.
    const float tint[3] = {150.0f / 255.0f * 230.0f / 255.0f, 200.0f / 255.0f * 230.0f / 255.0f,
                           230.0f / 255.0f};
    double flipped = 0.0;
    double upright = 0.0;
    for (float x = 60.0f; x < 1100.0f; x += 37.0f) {
        for (float depth = 8.0f; depth < 124.0f; depth += 6.0f) {
            const ccColor4B water = at(x, 130.0f - depth);
            const ccColor4B mirrored = at(x, 130.0f + depth);
            const ccColor4B straight = at(x, 260.0f - depth);
            flipped += std::fabs(water.r - mirrored.r * tint[0]) + std::fabs(water.g - mirrored.g * tint[1]) +
                       std::fabs(water.b - mirrored.b * tint[2]);
            upright += std::fabs(water.r - straight.r * tint[0]) + std::fabs(water.g - straight.g * tint[1]) +
                       std::fabs(water.b - straight.b * tint[2]);
        }
    }
    EXPECT_LT(flipped * 2.0, upright) << flipped << " against " << upright;

    // The banner shows its own cloth (blue), the pennant the game's flag map (red).
    const ccColor4B cloth = at(120.0f, 540.0f);
    EXPECT_GT(cloth.b, cloth.r + 40);
    const ccColor4B pennant = at(1045.0f, 571.0f);
    EXPECT_GT(pennant.r, pennant.b + 60);

    // Later the flags have waved and the trail has followed the comet round to the far side.
    const std::vector<ccColor4B> flagsBefore = sample(60.0f, 500.0f, 250.0f, 590.0f);
    const int pathBefore = brightness(at(620.0f, 300.0f)) + brightness(at(555.0f, 325.0f));
    run(150);
    keepScreenshot("cave-later");
    const std::vector<ccColor4B> flagsAfter = sample(60.0f, 500.0f, 250.0f, 590.0f);
    size_t moved = 0;
    for (size_t index = 0; index < flagsBefore.size(); ++index) {
        moved += brightness(flagsBefore[index]) != brightness(flagsAfter[index]) ? 1 : 0;
    }
    EXPECT_GT(moved, flagsBefore.size() / 20) << moved << " of " << flagsBefore.size();
    const int pathAfter = brightness(at(620.0f, 300.0f)) + brightness(at(555.0f, 325.0f));
    EXPECT_GT(pathAfter, pathBefore + 80) << pathBefore << " then " << pathAfter;
    // Nothing of it beyond the comet's reach.
    EXPECT_LT(std::abs(brightness(at(620.0f, 250.0f)) - brightness(at(660.0f, 250.0f))), 30);
}

class ExportedEffectMedia : public kxtest::RenderTest {};

TEST_F(ExportedEffectMedia, TheReflectionShaderRunsWithTheEnginesVertexShader) {
    CCGLProgram* program = new CCGLProgram();
    ASSERT_TRUE(program->initWithVertexShaderByteArray(ccPositionTextureA8Color_vert,
                                                       kxdata::effects::waterReflectionShader()))
        << program->fragmentShaderLog();
    program->addAttribute(kCCAttributeNamePosition, kCCVertexAttrib_Position);
    program->addAttribute(kCCAttributeNameTexCoord, kCCVertexAttrib_TexCoords);
    ASSERT_TRUE(program->link()) << program->programLog();
    program->updateUniforms();
    EXPECT_GE(program->getUniformLocationForName("u_shadeColor"), 0);
    program->release();
}

} // namespace
