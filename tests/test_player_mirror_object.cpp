// The water mirror without GL: texture sizes from the model's scale (never below 1 x 1 nor
// above the model's largest), the first capture preparing once, the mirror hidden from its own
// capture and given back the visibility it had, and the capture transform that brings the band
// above the mirror (along its own up) onto the texture, also onto one the budget made smaller.

#include "kazmath/GL/matrix.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPMirrorBudget.h"
#include "player/objects/effects/KXPObjectAssetMirror.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace cocos2d;

namespace {

class MirrorObject : public kxtest::SceneTest {
protected:
    CCNode* layer = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        layer = CCNode::create();
        layer->retain();
        kmGLFreeAll();
    }
    void TearDown() override {
        layer->removeAllChildrenWithCleanup(true);
        layer->release();
        CCPoolManager::sharedPoolManager()->pop();
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    KXPObjectAssetMirror* place(const CCPoint& scale, const CCPoint& position, float rotation) {
        auto model = createModel<KXModelObjectMirror>();
        model->scaleAttribute()->setValue(scale);
        auto* mirror = dynamic_cast<KXPObjectAssetMirror*>(KXPObjectAsset::create(model));
        EXPECT_NE(mirror, nullptr);
        mirror->setPosition(position);
        mirror->setRotation(rotation);
        layer->addChild(mirror);
        mirror->setObjectLayer(layer);
        return mirror;
    }

    // Where the capture's model-view matrix takes a point of the scene.
    static CCPoint captured(const CCPoint& point) {
        kmMat4 m;
        kmGLGetMatrix(KM_GL_MODELVIEW, &m);
        return CCPoint(m.mat[0] * point.x + m.mat[4] * point.y + m.mat[12],
                       m.mat[1] * point.x + m.mat[5] * point.y + m.mat[13]);
    }
};

TEST_F(MirrorObject, TextureSizesComeFromTheScaleWithinOneAndTheLargestScale) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        CCPoint scale;
        CCSize size;
    };
    for (const Case& c :
         {Case{CCPoint(1.0f, 1.0f), CCSize(100, 100)}, Case{CCPoint(2.5f, 0.5f), CCSize(250, 50)},
          Case{CCPoint(0.0f, 0.0f), CCSize(1, 1)}, Case{CCPoint(-3.0f, 0.004f), CCSize(1, 1)},
          Case{CCPoint(nan, 1.239f), CCSize(1, 123)}, Case{CCPoint(1e9f, 41.0f), CCSize(4096, 4096)}}) {
        EXPECT_EQ(KXPObjectAssetMirror::textureSizeFor(c.scale), c.size) << c.scale.x << "," << c.scale.y;
    }
}

TEST_F(MirrorObject, TheFirstCaptureMakesTheTextureOnceAndTheMirrorKeepsItsVisibility) {
    KXPObjectAssetMirror* mirror = place(CCPoint(2.5f, 0.5f), CCPoint(300.0f, 100.0f), 0.0f);
    EXPECT_EQ(mirror->getType(), static_cast<uint32_t>(KXPObject::kTypeMirror));
    EXPECT_FALSE(mirror->isPrepared());
    EXPECT_EQ(mirror->renderTexture(), nullptr);

    mirror->beginCapture();
    EXPECT_FALSE(mirror->isVisible());
    mirror->endCapture();
    EXPECT_TRUE(mirror->isVisible());
    ASSERT_NE(mirror->renderTexture(), nullptr);
    EXPECT_EQ(mirror->renderTexture()->getPixelsWide(), 250);
    EXPECT_EQ(mirror->renderTexture()->getPixelsHigh(), 50);
    CCRenderTexture* first = mirror->renderTexture();
    mirror->beginCapture();
    mirror->endCapture();
    EXPECT_EQ(mirror->renderTexture(), first);
    EXPECT_EQ(kmGLStackDepth(KM_GL_MODELVIEW), 1);
    EXPECT_EQ(kmGLStackDepth(KM_GL_PROJECTION), 1);

    // A hidden mirror stays hidden (it does not come back by being captured).
    mirror->setVisible(false);
    mirror->beginCapture();
    mirror->endCapture();
    EXPECT_FALSE(mirror->isVisible());

    // Shown, it draws its reflection at its own place, flipped; hidden, it leaves it alone.
    mirror->setVisible(true);
    mirror->setRotation(15.0f);
    mirror->visit();
    EXPECT_EQ(first->getPosition(), CCPoint(300.0f, 100.0f));
    EXPECT_EQ(first->getRotation(), 15.0f);
    EXPECT_EQ(first->getScaleY(), -1.0f);
    EXPECT_EQ(first->getScaleX(), 1.0f);
    mirror->setVisible(false);
    mirror->setPosition(CCPoint(0.0f, 0.0f));
    mirror->visit();
    EXPECT_EQ(first->getPosition(), CCPoint(300.0f, 100.0f));
}

TEST_F(MirrorObject, TheCaptureBringsTheBandAboveTheMirrorOntoItsTexture) {
    layer->setPosition(CCPoint(-50.0f, 10.0f));
    struct Case {
        float rotation;
        CCPoint up;    // the mirror's own up, clockwise turns
        CCPoint right; // its own x axis
    };
    for (const Case& c :
         {Case{0.0f, CCPoint(0, 1), CCPoint(1, 0)}, Case{90.0f, CCPoint(1, 0), CCPoint(0, -1)},
          Case{180.0f, CCPoint(0, -1), CCPoint(-1, 0)}}) {
        // Scale (2, 0.5): a texture of 200 x 50; the mirror's centre in the scene is (250, 110).
        KXPObjectAssetMirror* mirror = place(CCPoint(2.0f, 0.5f), CCPoint(300.0f, 100.0f), c.rotation);
        const CCPoint centre(250.0f, 110.0f);
        mirror->beginCapture();
        // The mirror's top edge meets the texture's bottom row, centred; the band's top its top row.
        const CCPoint edge = captured(centre + c.up * 25.0f);
        EXPECT_NEAR(edge.x, 100.0f, 1e-3f) << c.rotation;
        EXPECT_NEAR(edge.y, 0.0f, 1e-3f) << c.rotation;
        const CCPoint top = captured(centre + c.up * 75.0f);
        EXPECT_NEAR(top.y, 50.0f, 1e-3f) << c.rotation;
        const CCPoint side = captured(centre + c.up * 40.0f + c.right * 90.0f);
        EXPECT_NEAR(side.x, 190.0f, 1e-3f) << c.rotation;
        EXPECT_NEAR(side.y, 15.0f, 1e-3f) << c.rotation;
        mirror->endCapture();
    }
}

TEST_F(MirrorObject, AReducedTextureTakesTheWholeBandAtItsFraction) {
    // Room for a quarter of the 200 x 50 texture: each side halved.
    auto budget = std::make_shared<KXPMirrorBudget>();
    budget->take(KXPMirrorBudget::Size{4096, 4096 - 1});
    budget->giveBack(KXPMirrorBudget::Size{50, 50});
    budget->beginFrame();
    KXPObjectAssetMirror* mirror = place(CCPoint(2.0f, 0.5f), CCPoint(300.0f, 100.0f), 90.0f);
    const CCRect everywhere(-1e6f, -1e6f, 2e6f, 2e6f);
    ASSERT_TRUE(mirror->capturesInFrame(budget, everywhere));
    ASSERT_NE(mirror->renderTexture(), nullptr);
    EXPECT_EQ(mirror->renderTexture()->getPixelsWide(), 100);
    EXPECT_EQ(mirror->renderTexture()->getPixelsHigh(), 25);
    // Turned a quarter: its up is +x. The band from its top edge to the band's top fills the
    // texture's height, its width the texture's width.
    const CCPoint centre(300.0f, 100.0f);
    mirror->beginCapture();
    const CCPoint edge = captured(centre + CCPoint(25.0f, 0.0f));
    EXPECT_NEAR(edge.x, 50.0f, 1e-3f);
    EXPECT_NEAR(edge.y, 0.0f, 1e-3f);
    EXPECT_NEAR(captured(centre + CCPoint(75.0f, 0.0f)).y, 25.0f, 1e-3f);
    EXPECT_NEAR(captured(centre + CCPoint(40.0f, -90.0f)).x, 95.0f, 1e-3f);
    mirror->endCapture();

    // Going, it gives its share back.
    const int64_t held = budget->heldPixels();
    mirror->removeFromParent();
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(budget->heldPixels(), held - 100 * 25);
}

} // namespace
