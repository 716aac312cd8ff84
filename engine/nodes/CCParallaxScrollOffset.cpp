#include "nodes/CCParallaxScrollOffset.h"

NS_CC_BEGIN

CCParallaxScrollOffset* CCParallaxScrollOffset::create() {
    CCParallaxScrollOffset* offset = new CCParallaxScrollOffset();
    if (!offset->init()) {
        delete offset;
        return nullptr;
    }
    offset->autorelease();
    return offset;
}

CCParallaxScrollOffset* CCParallaxScrollOffset::createForNode(CCNode* node, const CCPoint& ratio,
                                                              const CCPoint& startPosition,
                                                              const CCPoint& wrapDistance,
                                                              const CCPoint& ownVelocity) {
    CCParallaxScrollOffset* offset = create();
    if (offset != nullptr) {
        offset->initForNode(node, ratio, startPosition, wrapDistance, ownVelocity);
    }
    return offset;
}

bool CCParallaxScrollOffset::init() {
    if (!CCLayer::init()) {
        return false;
    }
    m_wrapDistance = CCPointZero;
    m_startPosition = CCPointZero;
    m_ownVelocity = CCPointZero;
    m_ratio = CCPointZero;
    setPosition(CCPointZero);
    return true;
}

bool CCParallaxScrollOffset::initForNode(CCNode* node, const CCPoint& ratio, const CCPoint& startPosition,
                                         const CCPoint& wrapDistance, const CCPoint& ownVelocity) {
    m_ratio = ratio;
    m_startPosition = startPosition;
    m_wrapDistance = wrapDistance;
    m_ownVelocity = ownVelocity;
    m_child = node;
    if (node != nullptr) {
        node->setPosition(startPosition);
        node->setAnchorPoint(CCPointZero);
    }
    return true;
}

NS_CC_END
