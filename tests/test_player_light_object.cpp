// The light as an object on a layer, without GL: the factory makes the effect kinds, the fan is
// rebuilt each update from the light's place in the layer (nested ones too), shadows follow the
// model and the slow-start flag, nothing is built without a world, off screen, with no radius or
// once removed, and the square of influence is the light's box. A game without a light map logs
// it once per light.

#include "model/KXDebugLog.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelObjectTrail.h"
#include "player/objects/effects/KXPObjectAssetFlag.h"
#include "player/objects/effects/KXPObjectAssetLight.h"
#include "player/objects/effects/KXPObjectAssetMirror.h"
#include "player/objects/effects/KXPObjectAssetTrail.h"
#include "player/store/KXPSettingsController.h"
#include "support/effect_test_support.h"
#include "support/effects_media_support.h"
#include "support/light_test_support.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <memory>

using namespace cocos2d;

namespace {

const ccColor4F kWhite{255.0f, 255.0f, 255.0f, 255.0f};

class LightObject : public kxtest::SceneTest {
protected:
    std::unique_ptr<kxtest::MediaFolder> media;
    b2World world{b2Vec2(0.0f, 0.0f)};
    CCNode* layer = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        media.reset(new kxtest::MediaFolder());
        ASSERT_TRUE(media->entered());
        ASSERT_TRUE(kxtest::writeLightMap());
        layer = CCNode::create();
        layer->retain();
    }
    void TearDown() override {
        KXPSettingsController::shared()->setSlowLoading(false);
        layer->removeAllChildrenWithCleanup(true);
        layer->release();
        CCPoolManager::sharedPoolManager()->pop();
        media.reset();
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    KXPObjectAssetLight* place(const std::shared_ptr<KXModelObjectLight>& model, const CCPoint& position,
                               CCNode* parent = nullptr) {
        KXPObjectAssetLight* light = dynamic_cast<KXPObjectAssetLight*>(KXPObjectAsset::create(model));
        EXPECT_NE(light, nullptr);
        light->setPosition(position);
        (parent != nullptr ? parent : layer)->addChild(light);
        light->setObjectLayer(layer);
        light->addToWorld(&world, true);
        return light;
    }
};

TEST_F(LightObject, TheFactoryMakesEveryEffectKind) {
    struct Kind {
        std::shared_ptr<KXModel> model;
        uint32_t type;
    };
    for (const Kind& kind : {Kind{kxtest::lightModel(1.0f, kWhite, true), KXPObject::kTypeEffect},
                             Kind{createModel<KXModelObjectTrail>(), KXPObject::kTypeEffect},
                             Kind{createModel<KXModelObjectFlag>(), KXPObject::kTypeEffect},
                             Kind{createModel<KXModelObjectMirror>(), KXPObject::kTypeMirror}}) {
        KXPObjectAsset* object = KXPObjectAsset::create(kind.model);
        ASSERT_NE(object, nullptr) << kind.model->className();
        EXPECT_EQ(object->getType(), kind.type);
        EXPECT_EQ(object->getCollisionType(), KXPObjectAsset::kCollisionNone);
        EXPECT_TRUE(object->isLinearMovement());
        // None of them takes part in physics as the field adds them (still objects skipped).
        object->addToWorld(&world, true);
        EXPECT_EQ(object->getBody(), nullptr);
    }
    EXPECT_NE(dynamic_cast<KXPObjectAssetLight*>(KXPObjectAsset::create(kxtest::lightModel(1, kWhite, true))),
              nullptr);
    EXPECT_NE(dynamic_cast<KXPObjectAssetTrail*>(KXPObjectAsset::create(createModel<KXModelObjectTrail>())),
              nullptr);
    EXPECT_NE(dynamic_cast<KXPObjectAssetFlag*>(KXPObjectAsset::create(createModel<KXModelObjectFlag>())),
              nullptr);
    EXPECT_NE(dynamic_cast<KXPObjectAssetMirror*>(KXPObjectAsset::create(createModel<KXModelObjectMirror>())),
              nullptr);
    EXPECT_EQ(world.GetBodyCount(), 0);
}

TEST_F(LightObject, EachUpdateRebuildsTheFanAroundTheLightsPlaceInTheLayer) {
    kxtest::Blockers blockers(world);
    KXPObjectAssetLight* light = place(kxtest::lightModel(3.0f, kWhite, true), CCPoint(200.0f, 200.0f));
    EXPECT_EQ(light->fan().vertexCount(), 0);
    light->update(1.0f / 60.0f);
    EXPECT_EQ(light->fan().vertexCount(), 9);

    // A crate to the right adds its silhouette; moving the light away leaves it out of reach.
    blockers.box(CCPoint(240.0f, 200.0f), CCSize(20, 20));
    light->update(1.0f / 60.0f);
    EXPECT_EQ(light->fan().targetCount(), 8);
    light->setPosition(CCPoint(300.0f, 400.0f));
    light->update(1.0f / 60.0f);
    EXPECT_EQ(light->fan().targetCount(), 4);

    // Nested under a moved node, the centre is taken in the layer's space.
    CCNode* holder = CCNode::create();
    holder->setPosition(CCPoint(100.0f, 50.0f));
    layer->addChild(holder);
    KXPObjectAssetLight* nested =
        place(kxtest::lightModel(1.0f, kWhite, true), CCPoint(140.0f, 150.0f), holder);
    EXPECT_NEAR(nested->lightCentre().x, 12.0f, 1e-5f);
    EXPECT_NEAR(nested->lightCentre().y, 10.0f, 1e-5f);
    EXPECT_EQ(nested->boundingRect().origin, CCPoint(220.0f, 180.0f));
    EXPECT_EQ(nested->boundingRect().size, CCSize(40.0f, 40.0f));
    // That is where the crate is: the light sits in a shadow caster and only its centre is left.
    nested->update(1.0f / 60.0f);
    EXPECT_EQ(nested->fan().vertexCount(), 1);
}

TEST_F(LightObject, ShadowsFollowTheModelAndTheSlowStart) {
    kxtest::Blockers blockers(world);
    blockers.box(CCPoint(240.0f, 200.0f), CCSize(20, 20));
    KXPObjectAssetLight* shadowed = place(kxtest::lightModel(3.0f, kWhite, true), CCPoint(200.0f, 200.0f));
    KXPObjectAssetLight* plain = place(kxtest::lightModel(3.0f, kWhite, false), CCPoint(200.0f, 200.0f));
    shadowed->update(1.0f / 60.0f);
    plain->update(1.0f / 60.0f);
    EXPECT_TRUE(shadowed->castsShadows());
    EXPECT_GT(shadowed->fan().vertexCount(), 9);
    EXPECT_FALSE(plain->castsShadows());
    EXPECT_EQ(plain->fan().vertexCount(), 5);

    KXPSettingsController::shared()->setSlowLoading(true);
    shadowed->update(1.0f / 60.0f);
    EXPECT_FALSE(shadowed->castsShadows());
    EXPECT_EQ(shadowed->fan().vertexCount(), 5);
    EXPECT_NEAR(shadowed->fan().vertex(3).x, 60.0f, 1e-4f);
    EXPECT_NEAR(shadowed->fan().vertex(3).y, 60.0f, 1e-4f);
}

TEST_F(LightObject, NoWorldNoScreenNoRadiusOrRemovedMeansNoFan) {
    KXPObjectAssetLight* light = place(kxtest::lightModel(2.0f, kWhite, true), CCPoint(200.0f, 200.0f));
    light->addToWorld(nullptr, true);
    light->update(1.0f / 60.0f);
    EXPECT_EQ(light->fan().vertexCount(), 0);
    light->addToWorld(&world, true);

    // Far beyond the visible area (1000 x 500 plus the deletion margins) the light is hidden.
    light->setPosition(CCPoint(20000.0f, 200.0f));
    light->update(1.0f / 60.0f);
    EXPECT_FALSE(light->isVisible());
    EXPECT_EQ(light->fan().vertexCount(), 0);
    light->setPosition(CCPoint(200.0f, 200.0f));
    light->update(1.0f / 60.0f);
    EXPECT_TRUE(light->isVisible());
    EXPECT_EQ(light->fan().vertexCount(), 9);

    for (float radius : {0.0f, -1.0f}) {
        KXPObjectAssetLight* dark = place(kxtest::lightModel(radius, kWhite, true), CCPoint(200.0f, 200.0f));
        dark->update(1.0f / 60.0f);
        EXPECT_EQ(dark->fan().vertexCount(), 0) << radius;
    }

    // Removed: out for good, whatever state comes after.
    light->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(light->fan().vertexCount(), 0);
    EXPECT_TRUE(light->boundingRect().equals(CCRectZero));
    light->setState(KXPObject::kStateActive);
    light->update(1.0f / 60.0f);
    EXPECT_EQ(light->fan().vertexCount(), 0);
    EXPECT_NE(light->getModel(), nullptr);
}

TEST_F(LightObject, AGameWithoutALightMapSaysSoAndTheLightStillUpdates) {
    ASSERT_EQ(std::remove("data/fx/lightMap.png"), 0);
    CCTextureCache::purgeSharedTextureCache();
    KXDebugLogCapture log;
    KXPObjectAssetLight* light = place(kxtest::lightModel(2.0f, kWhite, true), CCPoint(200.0f, 200.0f));
    EXPECT_EQ(light->texture(), nullptr);
    EXPECT_TRUE(log.contains(
        "[KXPObjectAssetLight] no texture and no \"data/fx/lightMap.png\": the light is not drawn"));
    light->update(1.0f / 60.0f);
    EXPECT_EQ(light->fan().vertexCount(), 9);
    light->draw();
}

} // namespace
