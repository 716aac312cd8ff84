// The parallax data of one child of a CCParallaxScrollNode: how fast it moves against the node's
// velocity (ratio), its own velocity, where it started and how far it jumps when it wraps.
#pragma once

#include "nodes/CCLayer.h"

NS_CC_BEGIN

class CCParallaxScrollOffset : public CCLayer {
public:
    static CCParallaxScrollOffset* create();
    // create, then initForNode.
    static CCParallaxScrollOffset* createForNode(CCNode* node, const CCPoint& ratio,
                                                 const CCPoint& startPosition, const CCPoint& wrapDistance,
                                                 const CCPoint& ownVelocity);

    // Every point zero, position (0, 0).
    bool init() override;
    // Keeps the points; the node goes to the start position with its anchor at (0, 0).
    bool initForNode(CCNode* node, const CCPoint& ratio, const CCPoint& startPosition,
                     const CCPoint& wrapDistance, const CCPoint& ownVelocity);

    virtual const CCPoint& getWrapDistance() { return m_wrapDistance; }
    virtual void setWrapDistance(const CCPoint& value) { m_wrapDistance = value; }
    virtual const CCPoint& getStartPosition() { return m_startPosition; }
    virtual void setStartPosition(const CCPoint& value) { m_startPosition = value; }
    virtual const CCPoint& getOwnVelocity() { return m_ownVelocity; }
    virtual void setOwnVelocity(const CCPoint& value) { m_ownVelocity = value; }
    virtual const CCPoint& getRatio() { return m_ratio; }
    virtual void setRatio(const CCPoint& value) { m_ratio = value; }
    // Not owned: the scroll node holds the child.
    virtual CCNode* getChild() { return m_child; }
    virtual void setChild(CCNode* child) { m_child = child; }

private:
    CCPoint m_wrapDistance;
    CCPoint m_startPosition;
    CCPoint m_ownVelocity;
    CCPoint m_ratio;
    CCNode* m_child = nullptr;
};

NS_CC_END
