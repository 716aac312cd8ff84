#include "nodes/CCParallaxScrollNode.h"

#include <cmath>

#include "director/CCDirector.h"
#include "nodes/CCParallaxScrollOffset.h"

NS_CC_BEGIN

namespace {
// Velocities are given in points per 1/32 s.
constexpr float kVelocityScale = 32.0f;
} // namespace

CCParallaxScrollNode* CCParallaxScrollNode::create() {
    CCParallaxScrollNode* node = new CCParallaxScrollNode();
    if (!node->init()) {
        delete node;
        return nullptr;
    }
    node->autorelease();
    return node;
}

CCParallaxScrollNode::~CCParallaxScrollNode() {
    CC_SAFE_RELEASE(m_scrollOffsets);
}

bool CCParallaxScrollNode::init() {
    if (!CCLayer::init()) {
        return false;
    }
    CC_SAFE_RELEASE(m_scrollOffsets);
    m_scrollOffsets = CCArray::create();
    m_scrollOffsets->retain();
    m_range = CCDirector::sharedDirector()->getWinSize();
    setAnchorPoint(CCPointZero);
    m_tileRotation = 0.0f;
    return true;
}

void CCParallaxScrollNode::addScrollingChild(CCNode* node, int z, const CCPoint& ratio,
                                             const CCPoint& startPosition, const CCPoint& wrapDistance,
                                             const CCPoint& ownVelocity) {
    if (node == nullptr) {
        return;
    }
    const CCSize& size = node->getContentSize();
    const CCPoint start =
        startPosition + CCPoint(size.width * node->getScale() * 0.5f, size.height * node->getScaleY() * 0.5f);
    CCParallaxScrollOffset* offset =
        CCParallaxScrollOffset::createForNode(node, ratio, start, wrapDistance, ownVelocity);
    if (offset == nullptr) {
        return;
    }
    m_scrollOffsets->addObject(offset);
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    node->setRotation(m_tileRotation);
    addChild(node, z);
}

void CCParallaxScrollNode::addTiledStrip(CCArray* nodes, int z, const CCPoint& ratio,
                                         const CCPoint& startPosition, const CCPoint& direction,
                                         const CCPoint& ownVelocity, const CCPoint& gap) {
    if (nodes == nullptr) {
        return;
    }
    CCPoint wrap = CCPointZero;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(nodes, item) {
        CCNode* node = static_cast<CCNode*>(item);
        const CCSize& size = node->getContentSize();
        wrap.x += size.width * node->getScaleX() + gap.x * direction.x;
        wrap.y += size.height * node->getScaleY() + gap.y * direction.y;
    }
    CCPoint run = CCPointZero;
    CCARRAY_FOREACH(nodes, item) {
        CCNode* node = static_cast<CCNode*>(item);
        const CCSize& size = node->getContentSize();
        addScrollingChild(node, z, ratio, startPosition + run, wrap, ownVelocity);
        run.x += (size.width * node->getScaleX() + gap.x) * direction.x;
        run.y += (size.height * node->getScaleY() + gap.y) * direction.y;
    }
}

void CCParallaxScrollNode::advance(const CCPoint& velocity, float dt) {
    const CCPoint scaled = velocity * kVelocityScale;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_scrollOffsets, item) {
        CCParallaxScrollOffset* offset = static_cast<CCParallaxScrollOffset*>(item);
        CCNode* child = offset != nullptr ? offset->getChild() : nullptr;
        if (child == nullptr) {
            break;
        }
        const CCPoint moved = (scaled + offset->getOwnVelocity() * kVelocityScale) * dt;
        const CCPoint delta(moved.x * offset->getRatio().x, moved.y * offset->getRatio().y);
        CCPoint position = child->getPosition() + delta;
        const CCSize& size = child->getContentSize();
        if (delta.x < 0.0f && position.x + size.width * child->getScaleX() < 0.0f) {
            position.x += std::fabs(offset->getWrapDistance().x);
        } else if (delta.x > 0.0f && position.x > m_range.width) {
            position.x -= std::fabs(offset->getWrapDistance().x);
        }
        if (delta.y < 0.0f && position.y + size.height * child->getScaleY() < 0.0f) {
            position.y += std::fabs(offset->getWrapDistance().y);
        } else if (delta.y > 0.0f && position.y > m_range.height) {
            position.y -= std::fabs(offset->getWrapDistance().y);
        }
        child->setPosition(position);
    }
}

NS_CC_END
