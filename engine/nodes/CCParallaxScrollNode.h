// A layer that moves its children by a velocity, each at its own ratio, and wraps a child around
// when it leaves the node's range: the endless strips of parallax backgrounds.
#pragma once

#include "base/CCArray.h"
#include "nodes/CCLayer.h"

NS_CC_BEGIN

class CCParallaxScrollOffset;

class CCParallaxScrollNode : public CCLayer {
public:
    static CCParallaxScrollNode* create();
    ~CCParallaxScrollNode() override;

    // Range = the window size, anchor (0, 0), tile rotation 0.
    bool init() override;

    // Adds the node at its start position (moved by half its scaled size, as the node is then
    // centred on its anchor), turned by the tile rotation.
    void addScrollingChild(CCNode* node, int z, const CCPoint& ratio, const CCPoint& startPosition,
                           const CCPoint& wrapDistance, const CCPoint& ownVelocity);
    // Lays the nodes one after the other along `direction`, `gap` apart; each wraps by the
    // length of the whole strip.
    void addTiledStrip(CCArray* nodes, int z, const CCPoint& ratio, const CCPoint& startPosition,
                       const CCPoint& direction, const CCPoint& ownVelocity, const CCPoint& gap);
    // Moves every child by (velocity + its own velocity) x 32 x dt x its ratio; a child that has
    // left the range on the side it moves to comes back on the other side.
    void advance(const CCPoint& velocity, float dt);

    const CCSize& getRange() const { return m_range; }
    void setRange(const CCSize& range) { m_range = range; }
    float getTileRotation() const { return m_tileRotation; }
    void setTileRotation(float rotation) { m_tileRotation = rotation; }
    CCArray* getScrollOffsets() const { return m_scrollOffsets; }

private:
    CCSize m_range;
    CCArray* m_scrollOffsets = nullptr;
    float m_tileRotation = 0.0f;
};

NS_CC_END
