// Background layers built from the sample game's frames: a strip that covers the design area,
// scrolling by itself at "Speed" (also backwards) and against the camera, turned tiles that keep
// their screen orientation, strips whose tiles cover no length or would be countless, images
// without frames, and the tiles' opacity.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeSprite.h"
#include "nodes/CCParallaxScrollNode.h"
#include "player/objects/KXPObjectBackgroundLayer.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

class BackgroundLayer : public kxtest::SceneTest {
protected:
    kxtest::SampleGame game;
    std::shared_ptr<KXModelObjectBackground> model;
    std::shared_ptr<KXModelSpriteContainer> frames; // 48 x 64 frames
    CCSize design;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        frames = game.named<KXModelSpriteContainer>("Runner Frames");
        ASSERT_TRUE(frames);
        ASSERT_TRUE(frames->frameSourceSizeAt(0.0f).equals(CCSize(48.0f, 64.0f)));
        design = KXBaseModelObject::designSize();
        model = createModel<KXModelObjectBackground>();
        setImage(frames);
        set("Speed", 30.0f);
        model->positionAttribute()->setValue(CCPoint(0.0f, design.height * 0.5f), true);
    }

    void set(const std::string& name, float value) {
        static_cast<KXAttributeFloat*>(model->attribute(name))->setValue(value, true);
    }
    void setImage(const std::shared_ptr<KXModelSpriteContainer>& container) {
        static_cast<KXAttributeSprite*>(model->attribute("Image"))->setValue(container, true);
    }

    static std::vector<CCNode*> tilesOf(KXPObjectBackgroundLayer* layer) {
        std::vector<CCNode*> tiles;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(layer->scrollNode()->getChildren(), item) {
            tiles.push_back(static_cast<CCNode*>(item));
        }
        return tiles;
    }
    // Each tile's left and right edge in the layer's parent space (the layer is not turned).
    static std::vector<std::pair<float, float>> spans(KXPObjectBackgroundLayer* layer) {
        std::vector<std::pair<float, float>> result;
        for (CCNode* tile : tilesOf(layer)) {
            const float centre = layer->getPositionX() + tile->getPositionX();
            const float half = tile->getContentSize().width * tile->getScaleX() * 0.5f;
            result.emplace_back(centre - half, centre + half);
        }
        return result;
    }
};

TEST_F(BackgroundLayer, TheStripCoversTheDesignAreaFromOneTileBeforeItsPosition) {
    KXPObjectBackgroundLayer* layer = KXPObjectBackgroundLayer::create(model);
    EXPECT_EQ(layer->getType(), KXPObject::kTypeBackgroundLayer);
    // It starts one tile left of its position (nothing of the design area lies to its left).
    EXPECT_TRUE(layer->initialPosition().equals(CCPoint(-48.0f, design.height * 0.5f)));
    EXPECT_TRUE(layer->getPosition().equals(layer->initialPosition()));

    const auto edges = spans(layer);
    ASSERT_FALSE(edges.empty());
    EXPECT_LE(edges.front().first, 0.0f);
    EXPECT_GE(edges.back().second, design.width);
    // Neighbours overlap by one point when the model adds no offset.
    for (size_t i = 1; i < edges.size(); ++i) {
        EXPECT_FLOAT_EQ(edges[i].first, edges[i - 1].second - 1.0f);
    }
    // The tiles hang centred on the layer's line.
    EXPECT_FLOAT_EQ(tilesOf(layer).front()->getPositionY(), 0.0f);
    EXPECT_EQ(static_cast<CCSprite*>(tilesOf(layer).front())->getOpacity(), 255);
}

TEST_F(BackgroundLayer, ItScrollsAtItsSpeedAndWrapsTilesAround) {
    KXPObjectBackgroundLayer* layer = KXPObjectBackgroundLayer::create(model);
    const auto before = spans(layer);
    layer->update(0.5f);
    const auto after = spans(layer);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(after[i].first, before[i].first - 15.0f, 1e-3f);
    }
    // Long enough for every tile to have left on the left at least once: the strip still covers
    // the design area.
    for (int frame = 0; frame < 600; ++frame) {
        layer->update(1.0f / 60.0f);
    }
    float left = 1e9f;
    float right = -1e9f;
    for (const auto& edge : spans(layer)) {
        left = std::min(left, edge.first);
        right = std::max(right, edge.second);
    }
    EXPECT_LE(left, 0.0f);
    EXPECT_GE(right, design.width);

    // Against the camera: a movement of v per 1/60 s moves the tiles by v x 32/60 x Speed.
    const float x = tilesOf(layer)[1]->getPositionX();
    layer->scrollWithVelocity(0.01f, 1.0f / 60.0f);
    EXPECT_NEAR(tilesOf(layer)[1]->getPositionX(), x - 0.01f * 32.0f / 60.0f * 30.0f, 1e-3f);
}

TEST_F(BackgroundLayer, SpeedZeroStandsStillAndANegativeSpeedRunsRight) {
    set("Speed", 0.0f);
    KXPObjectBackgroundLayer* still = KXPObjectBackgroundLayer::create(model);
    const auto before = spans(still);
    still->update(1.0f);
    EXPECT_EQ(spans(still), before);

    set("Speed", -30.0f);
    KXPObjectBackgroundLayer* backwards = KXPObjectBackgroundLayer::create(model);
    const float x = tilesOf(backwards)[0]->getPositionX();
    backwards->update(0.5f);
    EXPECT_NEAR(tilesOf(backwards)[0]->getPositionX(), x + 15.0f, 1e-3f);
    // The last tile passes the end of the strip's range and comes back at the start.
    const float range = backwards->scrollNode()->getRange().width;
    for (int frame = 0; frame < 120; ++frame) {
        backwards->update(1.0f / 60.0f);
    }
    for (CCNode* tile : tilesOf(backwards)) {
        EXPECT_LE(tile->getPositionX(), range + 1.0f);
    }
}

TEST_F(BackgroundLayer, RestoringPutsTheLayerBackButKeepsTheScrollPhase) {
    KXPObjectBackgroundLayer* layer = KXPObjectBackgroundLayer::create(model);
    layer->update(0.5f);
    const float tileX = tilesOf(layer)[0]->getPositionX();
    layer->setPosition(CCPoint(500.0f, 500.0f));
    layer->restoreInitialState();
    EXPECT_TRUE(layer->getPosition().equals(layer->initialPosition()));
    EXPECT_EQ(tilesOf(layer)[0]->getPositionX(), tileX);
}

TEST_F(BackgroundLayer, TurnedStripsTurnAndFixedRotationKeepsTheTilesUpright) {
    model->rotationAttribute()->setValue(30.0f, true);
    static_cast<KXAttributeBool*>(model->attribute("Fixed Rotation"))->setValue(true, true);
    KXPObjectBackgroundLayer* layer = KXPObjectBackgroundLayer::create(model);
    EXPECT_FLOAT_EQ(layer->getRotation(), 30.0f);
    for (CCNode* tile : tilesOf(layer)) {
        EXPECT_FLOAT_EQ(tile->getRotation(), -30.0f);
    }
}

TEST_F(BackgroundLayer, TilesThatCoverNoLengthEndTheStrip) {
    // Each tile would add 48 - 48 = 0 to the covered length.
    set("Tiling Offset", -48.0f);
    KXPObjectBackgroundLayer* flat = KXPObjectBackgroundLayer::create(model);
    EXPECT_EQ(tilesOf(flat).size(), 1u);
    set("Tiling Offset", -100.0f);
    EXPECT_EQ(tilesOf(KXPObjectBackgroundLayer::create(model)).size(), 1u);

    // Tiles a thousandth of a point wide would need a million of them.
    set("Tiling Offset", 0.0f);
    model->scaleAttribute()->setValue(CCPoint(0.001f, 1.0f), true);
    KXDebugLogCapture capture;
    KXPObjectBackgroundLayer* thin = KXPObjectBackgroundLayer::create(model);
    EXPECT_EQ(static_cast<int>(tilesOf(thin).size()), KXPObjectBackgroundLayer::kMaxTiles);
    EXPECT_EQ(capture.lines().size(), 1u);
}

TEST_F(BackgroundLayer, WithoutAnImageTheLayerIsEmpty) {
    setImage(nullptr);
    KXPObjectBackgroundLayer* layer = KXPObjectBackgroundLayer::create(model);
    EXPECT_EQ(layer->getChildrenCount(), 0u);
    layer->update(1.0f);
    layer->scrollWithVelocity(5.0f, 1.0f);
    EXPECT_EQ(layer->getChildrenCount(), 0u);
}

TEST_F(BackgroundLayer, AnImageWithoutFramesGivesNoTilesAndNothingToScroll) {
    setImage(createModel<KXModelSpriteContainer>());
    KXPObjectBackgroundLayer* layer = KXPObjectBackgroundLayer::create(model);
    EXPECT_TRUE(tilesOf(layer).empty());
    const CCPoint position = layer->getPosition();
    layer->update(1.0f);
    layer->scrollWithVelocity(5.0f, 1.0f);
    EXPECT_TRUE(tilesOf(layer).empty());
    EXPECT_TRUE(layer->getPosition().equals(position));
}

TEST_F(BackgroundLayer, TileOpacityIsTheModelsOpacityHeldBetweenNoneAndFull) {
    const std::vector<std::pair<float, int>> cases = {{0.5f, 127}, {1.5f, 255}, {-0.5f, 0}, {1e10f, 255}};
    for (const auto& c : cases) {
        model->opacityAttribute()->setValue(c.first, true);
        const std::vector<CCNode*> tiles = tilesOf(KXPObjectBackgroundLayer::create(model));
        ASSERT_FALSE(tiles.empty());
        EXPECT_EQ(static_cast<CCSprite*>(tiles.front())->getOpacity(), c.second) << c.first;
    }
}

} // namespace
