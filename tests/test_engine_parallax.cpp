// The parallax scroll node: strips laid tile after tile, children moved by velocity and ratio,
// and wrapped around when they leave the range on the side they move to.

#include "nodes/CCParallaxScrollNode.h"
#include "nodes/CCParallaxScrollOffset.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cocos2d;

namespace {

class ParallaxScroll : public kxtest::SceneTest {
protected:
    CCParallaxScrollNode* node = nullptr;
    std::vector<CCNode*> tiles;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        node = CCParallaxScrollNode::create();
        ASSERT_NE(node, nullptr);
    }

    // Three 100 x 50 tiles laid to the right, ratio (ratioX, 0), no gap.
    void layStrip(float ratioX, const CCPoint& gap = CCPointZero) {
        CCArray* nodes = CCArray::create();
        for (int i = 0; i < 3; ++i) {
            CCNode* tile = CCNode::create();
            tile->setContentSize(CCSize(100.0f, 50.0f));
            nodes->addObject(tile);
            tiles.push_back(tile);
        }
        node->addTiledStrip(nodes, 0, CCPoint(ratioX, 0.0f), CCPointZero, CCPoint(1.0f, 0.0f), CCPointZero,
                            gap);
    }

    std::vector<float> xs() const {
        std::vector<float> result;
        for (CCNode* tile : tiles) {
            result.push_back(tile->getPositionX());
        }
        return result;
    }
};

TEST_F(ParallaxScroll, AStripLaysItsTilesEndToEndAndCentresEachOnItsAnchor) {
    EXPECT_EQ(node->getRange().width, director()->getWinSize().width);
    layStrip(1.0f, CCPoint(10.0f, 0.0f));
    EXPECT_EQ(node->getChildrenCount(), 3u);
    EXPECT_EQ(xs(), (std::vector<float>{50.0f, 160.0f, 270.0f}));
    EXPECT_FLOAT_EQ(tiles[0]->getPositionY(), 25.0f);
    EXPECT_TRUE(tiles[0]->getAnchorPoint().equals(CCPoint(0.5f, 0.5f)));
    // Every tile wraps by the whole strip: three tiles and three gaps.
    CCParallaxScrollOffset* offset =
        static_cast<CCParallaxScrollOffset*>(node->getScrollOffsets()->objectAtIndex(0));
    EXPECT_FLOAT_EQ(offset->getWrapDistance().x, 330.0f);
    EXPECT_EQ(offset->getChild(), tiles[0]);
}

TEST_F(ParallaxScroll, ChildrenMoveByVelocityTimesRatioAndWrapToTheOtherEnd) {
    layStrip(2.0f);
    // Velocity in points per 1/32 s: -1 over 1/32 s at ratio 2 moves each tile 2 to the left.
    node->advance(CCPoint(-1.0f, -1.0f), 1.0f / 32.0f);
    EXPECT_EQ(xs(), (std::vector<float>{48.0f, 148.0f, 248.0f}));
    EXPECT_FLOAT_EQ(tiles[0]->getPositionY(), 25.0f); // ratio y is 0

    // The first tile leaves on the left (its x plus its width below 0) and comes back behind
    // the last one; the second is still partly in.
    node->advance(CCPoint(-1.0f, 0.0f), 75.0f / 32.0f);
    EXPECT_EQ(xs(), (std::vector<float>{198.0f, -2.0f, 98.0f}));
}

TEST_F(ParallaxScroll, ANegativeRatioMovesRightAndWrapsPastTheRange) {
    layStrip(-1.0f);
    node->setRange(CCSize(300.0f, 0.0f));
    node->advance(CCPoint(-1.0f, -1.0f), 20.0f / 32.0f);
    EXPECT_EQ(xs(), (std::vector<float>{70.0f, 170.0f, 270.0f}));
    node->advance(CCPoint(-1.0f, -1.0f), 40.0f / 32.0f);
    // The last tile passed the range width and went back by the strip's length.
    EXPECT_EQ(xs(), (std::vector<float>{110.0f, 210.0f, 10.0f}));
}

TEST_F(ParallaxScroll, AChildsOwnVelocityAddsToTheNodes) {
    CCNode* child = CCNode::create();
    child->setContentSize(CCSize(10.0f, 10.0f));
    node->addScrollingChild(child, 0, CCPoint(1.0f, 1.0f), CCPoint(100.0f, 100.0f), CCPoint(500.0f, 500.0f),
                            CCPoint(0.5f, 0.25f));
    EXPECT_TRUE(child->getPosition().equals(CCPoint(105.0f, 105.0f)));
    node->advance(CCPointZero, 1.0f);
    EXPECT_TRUE(child->getPosition().equals(CCPoint(121.0f, 113.0f)));
}

} // namespace
