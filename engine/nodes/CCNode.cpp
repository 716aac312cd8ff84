#include "nodes/CCNode.h"

#include <cmath>
#include <cstring>

#include "actions/CCAction.h"
#include "actions/CCActionManager.h"
#include "director/CCDirector.h"
#include "director/CCScheduler.h"
#include "input/CCTouch.h"
#include "kazmath/GL/matrix.h"
#include "kazmath/TransformUtils.h"

NS_CC_BEGIN

namespace {

// Objects set their place, turn and scale every frame, mostly to what they already have: the
// cached transform stays valid when the value is bit for bit the same (a different zero sign or
// NaN payload recomputes it, as any other change).
bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Arrival counter shared by all nodes: later additions and reorders sort above earlier ones.
unsigned int s_globalOrderOfArrival = 1;

inline CCNode* childAt(CCArray* children, unsigned int index) {
    return static_cast<CCNode*>(children->objectAtIndex(index));
}

// A child's place among the children, searched from the newest end: a node is a child once, and
// the children taken out most are the newest (a node moved on as soon as it is made) and the
// last (a parent emptied from its end).
unsigned int placeOf(CCArray* children, const CCNode* child) {
    const std::vector<CCObject*>& objects = children->data();
    for (size_t index = objects.size(); index-- > 0;) {
        if (objects[index] == child) {
            return static_cast<unsigned int>(index);
        }
    }
    return CC_INVALID_INDEX;
}

inline bool drawsBefore(const CCNode* a, int aZ, const CCNode* b, int bZ) {
    return aZ < bZ || (aZ == bZ && a->getOrderOfArrival() < b->getOrderOfArrival());
}

} // namespace

CCNode::CCNode()
    : m_fRotation(0.0f), m_fScaleX(1.0f), m_fScaleY(1.0f), m_fSkewX(0.0f), m_fSkewY(0.0f),
      m_bIgnoreAnchorPointForPosition(false), m_sTransform(CCAffineTransformMakeIdentity()),
      m_sInverse(CCAffineTransformMakeIdentity()), m_sAdditionalTransform(CCAffineTransformMakeIdentity()),
      m_bTransformDirty(true), m_bInverseDirty(true), m_bAdditionalTransformDirty(false), m_nZOrder(0),
      m_uOrderOfArrival(0), m_pChildren(nullptr), m_pParent(nullptr), m_bReorderChildDirty(false),
      m_nTag(kCCNodeTagInvalid), m_pUserData(nullptr), m_pUserObject(nullptr), m_bVisible(true),
      m_bRunning(false) {
    CCDirector* director = CCDirector::sharedDirector();
    m_pScheduler = director->getScheduler();
    m_pScheduler->retain();
    m_pActionManager = director->getActionManager();
    m_pActionManager->retain();
}

CCNode::~CCNode() {
    // The watch goes first: the children released below are not removals it could follow.
    setChildWatch(nullptr);
    CC_SAFE_RELEASE(m_pUserObject);
    if (m_pChildren) {
        for (CCObject* object : m_pChildren->data()) {
            static_cast<CCNode*>(object)->setParent(nullptr);
        }
        m_pChildren->release();
    }
    // Schedules and actions retain their node, so none can be left when it is destroyed.
    m_pScheduler->release();
    m_pActionManager->release();
}

CCNode* CCNode::create() {
    CCNode* node = new CCNode();
    if (node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

bool CCNode::init() {
    return true;
}

// --- Tree ---

void CCNode::addChild(CCNode* child) {
    if (child) {
        addChild(child, child->m_nZOrder, child->m_nTag);
    }
}

void CCNode::addChild(CCNode* child, int zOrder) {
    if (child) {
        addChild(child, zOrder, child->m_nTag);
    }
}

void CCNode::addChild(CCNode* child, int zOrder, int tag) {
    if (!child || child == this || child->m_pParent) {
        CCLOG("CCNode::addChild: child is null, this node, or already has a parent");
        return;
    }
    if (!m_pChildren) {
        m_pChildren = new CCArray();
        m_pChildren->initWithCapacity(4);
    }
    insertChild(child, zOrder);
    child->m_nTag = tag;
    child->setParent(this);
    child->m_uOrderOfArrival = s_globalOrderOfArrival++;
    if (m_pChildWatch != nullptr) {
        m_pChildWatch->childAdded(child);
    }
    if (m_bRunning) {
        child->onEnter();
        child->onEnterTransitionDidFinish();
    }
}

void CCNode::insertChild(CCNode* child, int z) {
    m_bReorderChildDirty = true;
    m_pChildren->addObject(child);
    child->_setZOrder(z);
}

CCNode* CCNode::getChildByTag(int tag) const {
    if (!m_pChildren) {
        return nullptr;
    }
    for (CCObject* object : m_pChildren->data()) {
        CCNode* child = static_cast<CCNode*>(object);
        if (child->m_nTag == tag) {
            return child;
        }
    }
    return nullptr;
}

void CCNode::removeFromParent() {
    removeFromParentAndCleanup(true);
}

void CCNode::removeFromParentAndCleanup(bool cleanup) {
    if (m_pParent) {
        m_pParent->removeChild(this, cleanup);
    }
}

void CCNode::removeChild(CCNode* child) {
    removeChild(child, true);
}

void CCNode::removeChild(CCNode* child, bool cleanup) {
    if (!child || !m_pChildren || placeOf(m_pChildren, child) == CC_INVALID_INDEX) {
        return;
    }
    detachChild(child, cleanup);
}

void CCNode::removeChildByTag(int tag) {
    removeChildByTag(tag, true);
}

void CCNode::removeChildByTag(int tag, bool cleanup) {
    if (CCNode* child = getChildByTag(tag)) {
        removeChild(child, cleanup);
    }
}

void CCNode::removeAllChildren() {
    removeAllChildrenWithCleanup(true);
}

void CCNode::removeAllChildrenWithCleanup(bool cleanup) {
    if (!m_pChildren) {
        return;
    }
    // Detach from the end: each removal may run callbacks that look at the remaining children.
    while (m_pChildren->count() > 0) {
        detachChild(childAt(m_pChildren, m_pChildren->count() - 1), cleanup);
    }
}

void CCNode::detachChild(CCNode* child, bool doCleanup) {
    // Keep the child alive through its callbacks and the removal.
    child->retain();
    if (m_bRunning) {
        child->onExitTransitionDidStart();
        child->onExit();
    }
    if (doCleanup) {
        child->cleanup();
    }
    if (m_pChildWatch != nullptr) {
        m_pChildWatch->childRemoved(child);
    }
    child->setParent(nullptr);
    const unsigned int place = placeOf(m_pChildren, child);
    if (place != CC_INVALID_INDEX) {
        m_pChildren->removeObjectAtIndex(place);
    }
    child->release();
}

void CCNode::reorderChild(CCNode* child, int zOrder) {
    if (!child) {
        return;
    }
    m_bReorderChildDirty = true;
    child->m_uOrderOfArrival = s_globalOrderOfArrival++;
    child->_setZOrder(zOrder);
}

void CCNode::sortAllChildren() {
    if (!m_bReorderChildDirty || !m_pChildren) {
        return;
    }
    m_bReorderChildDirty = false;
    // Insertion sort: children are nearly always almost sorted, a few new ones at the end. Past a
    // few moves per child (thousands added at once in an order of their own) a full sort takes
    // over, so that the frame stays n log n. Orders of arrival differ, so both give one order.
    const unsigned int count = m_pChildren->count();
    const unsigned long long moveBudget = 8ull * count + 64;
    unsigned long long moves = 0;
    for (unsigned int i = 1; i < count; ++i) {
        unsigned int j = i;
        while (j > 0) {
            CCNode* current = childAt(m_pChildren, j);
            CCNode* previous = childAt(m_pChildren, j - 1);
            if (!drawsBefore(current, current->m_nZOrder, previous, previous->m_nZOrder)) {
                break;
            }
            if (++moves > moveBudget) {
                m_pChildren->sortObjects([](const CCObject* a, const CCObject* b) {
                    const CCNode* first = static_cast<const CCNode*>(a);
                    const CCNode* second = static_cast<const CCNode*>(b);
                    return drawsBefore(first, first->m_nZOrder, second, second->m_nZOrder);
                });
                break;
            }
            m_pChildren->exchangeObjectAtIndex(j, j - 1);
            --j;
        }
        if (moves > moveBudget) {
            break;
        }
    }
    if (moves > 0) {
        ++m_uChildrenSortsThatMoved;
    }
    if (moves > 0 && m_pChildWatch != nullptr) {
        m_pChildWatch->childrenReordered();
    }
}

void CCNode::setChildWatch(CCChildWatch* watch) {
    if (watch == m_pChildWatch) {
        return;
    }
    CCChildWatch* previous = m_pChildWatch;
    m_pChildWatch = watch;
    delete previous;
}

// --- Properties ---

void CCNode::setZOrder(int zOrder) {
    _setZOrder(zOrder);
    if (m_pParent) {
        m_pParent->reorderChild(this, zOrder);
    }
}

void CCNode::setPosition(const CCPoint& position) {
    if (sameBits(m_obPosition.x, position.x) && sameBits(m_obPosition.y, position.y)) {
        return;
    }
    markTransformDirty();
    m_obPosition = position;
    if (m_pParent != nullptr && m_pParent->m_pChildWatch != nullptr) {
        m_pParent->m_pChildWatch->childMoved(this);
    }
}

void CCNode::getPosition(float* x, float* y) {
    if (x) {
        *x = m_obPosition.x;
    }
    if (y) {
        *y = m_obPosition.y;
    }
}

void CCNode::setRotation(float rotation) {
    if (!sameBits(m_fRotation, rotation)) {
        markTransformDirty();
    }
    m_fRotation = rotation;
}

void CCNode::setScale(float scale) {
    if (!sameBits(m_fScaleX, scale) || !sameBits(m_fScaleY, scale)) {
        markTransformDirty();
    }
    m_fScaleX = m_fScaleY = scale;
}

void CCNode::setScaleX(float scaleX) {
    if (!sameBits(m_fScaleX, scaleX)) {
        markTransformDirty();
    }
    m_fScaleX = scaleX;
}

void CCNode::setScaleY(float scaleY) {
    if (!sameBits(m_fScaleY, scaleY)) {
        markTransformDirty();
    }
    m_fScaleY = scaleY;
}

void CCNode::setSkewX(float skewX) {
    m_fSkewX = skewX;
    markTransformDirty();
}

void CCNode::setSkewY(float skewY) {
    m_fSkewY = skewY;
    markTransformDirty();
}

void CCNode::updateAnchorPointInPoints() {
    m_obAnchorPointInPoints =
        CCPoint(m_obContentSize.width * m_obAnchorPoint.x, m_obContentSize.height * m_obAnchorPoint.y);
    markTransformDirty();
}

void CCNode::setAnchorPoint(const CCPoint& anchorPoint) {
    if (anchorPoint != m_obAnchorPoint) {
        m_obAnchorPoint = anchorPoint;
        updateAnchorPointInPoints();
    }
}

void CCNode::setContentSize(const CCSize& contentSize) {
    if (contentSize != m_obContentSize) {
        m_obContentSize = contentSize;
        updateAnchorPointInPoints();
    }
}

void CCNode::ignoreAnchorPointForPosition(bool ignore) {
    if (ignore != m_bIgnoreAnchorPointForPosition) {
        m_bIgnoreAnchorPointForPosition = ignore;
        markTransformDirty();
    }
}

void CCNode::setUserObject(CCObject* userObject) {
    CC_SAFE_RETAIN(userObject);
    CC_SAFE_RELEASE(m_pUserObject);
    m_pUserObject = userObject;
}

// --- Stage ---

void CCNode::onEnter() {
    // By index with a fresh count: a child's onEnter may add siblings.
    for (unsigned int i = 0; m_pChildren && i < m_pChildren->count(); ++i) {
        childAt(m_pChildren, i)->onEnter();
    }
    resumeSchedulerAndActions();
    m_bRunning = true;
}

void CCNode::onEnterTransitionDidFinish() {
    for (unsigned int i = 0; m_pChildren && i < m_pChildren->count(); ++i) {
        childAt(m_pChildren, i)->onEnterTransitionDidFinish();
    }
}

void CCNode::onExitTransitionDidStart() {
    for (unsigned int i = 0; m_pChildren && i < m_pChildren->count(); ++i) {
        childAt(m_pChildren, i)->onExitTransitionDidStart();
    }
}

void CCNode::onExit() {
    pauseSchedulerAndActions();
    m_bRunning = false;
    for (unsigned int i = 0; m_pChildren && i < m_pChildren->count(); ++i) {
        childAt(m_pChildren, i)->onExit();
    }
}

void CCNode::cleanup() {
    stopAllActions();
    unscheduleAllSelectors();
    for (unsigned int i = 0; m_pChildren && i < m_pChildren->count(); ++i) {
        childAt(m_pChildren, i)->cleanup();
    }
}

// --- Drawing ---

void CCNode::visit() {
    if (!m_bVisible) {
        return;
    }
    const CCAffineTransform t = nodeToParentTransform();
    kmGLPushMatrixMultAffine(t.a, t.b, t.c, t.d, t.tx, t.ty);
    unsigned int i = 0;
    if (m_pChildren && m_pChildren->count() > 0) {
        sortAllChildren();
        for (; i < m_pChildren->count(); ++i) {
            CCNode* child = childAt(m_pChildren, i);
            if (child->m_nZOrder >= 0) {
                break;
            }
            child->visit();
        }
    }
    draw();
    for (; m_pChildren && i < m_pChildren->count(); ++i) {
        // Siblings lie apart in memory: asking for the ones ahead now overlaps their cache misses
        // with this one's visit (a layer of many objects is walked every frame).
        if (const CCObject* ahead = m_pChildren->objectAtIndex(i + 2)) {
            __builtin_prefetch(ahead);
            __builtin_prefetch(reinterpret_cast<const char*>(ahead) + 128);
        }
        if (const CCNode* next = static_cast<const CCNode*>(m_pChildren->objectAtIndex(i + 1))) {
            if (next->m_pChildren != nullptr) {
                __builtin_prefetch(next->m_pChildren);
            }
        }
        childAt(m_pChildren, i)->visit();
    }
    kmGLPopMatrix();
}

void CCNode::transform() {
    const CCAffineTransform t = nodeToParentTransform();
    kmGLMultAffine(t.a, t.b, t.c, t.d, t.tx, t.ty);
}

CCRect CCNode::boundingBox() {
    const CCRect rect(0.0f, 0.0f, m_obContentSize.width, m_obContentSize.height);
    return CCRectApplyAffineTransform(rect, nodeToParentTransform());
}

// --- Transforms ---

CCAffineTransform CCNode::nodeToParentTransform() {
    if (m_bTransformDirty) {
        float x = m_obPosition.x;
        float y = m_obPosition.y;
        if (m_bIgnoreAnchorPointForPosition) {
            x += m_obAnchorPointInPoints.x;
            y += m_obAnchorPointInPoints.y;
        }
        // p -> translate(rotate(scale(skew(p - anchor)))); rotation is clockwise.
        CCAffineTransform t = CCAffineTransformMake(1.0f, 0.0f, 0.0f, 1.0f, x, y);
        if (m_fRotation != 0.0f) {
            t = CCAffineTransformRotate(t, -CC_DEGREES_TO_RADIANS(m_fRotation));
        }
        if (m_fScaleX != 1.0f || m_fScaleY != 1.0f) {
            t = CCAffineTransformScale(t, m_fScaleX, m_fScaleY);
        }
        if (m_fSkewX != 0.0f || m_fSkewY != 0.0f) {
            const CCAffineTransform skew =
                CCAffineTransformMake(1.0f, std::tan(CC_DEGREES_TO_RADIANS(m_fSkewY)),
                                      std::tan(CC_DEGREES_TO_RADIANS(m_fSkewX)), 1.0f, 0.0f, 0.0f);
            t = CCAffineTransformConcat(skew, t);
        }
        if (m_obAnchorPointInPoints.x != 0.0f || m_obAnchorPointInPoints.y != 0.0f) {
            t = CCAffineTransformTranslate(t, -m_obAnchorPointInPoints.x, -m_obAnchorPointInPoints.y);
        }
        if (m_bAdditionalTransformDirty) {
            t = CCAffineTransformConcat(t, m_sAdditionalTransform);
        }
        m_sTransform = t;
        m_bTransformDirty = false;
    }
    return m_sTransform;
}

CCAffineTransform CCNode::parentToNodeTransform() {
    if (m_bInverseDirty) {
        m_sInverse = CCAffineTransformInvert(nodeToParentTransform());
        m_bInverseDirty = false;
    }
    return m_sInverse;
}

CCAffineTransform CCNode::nodeToWorldTransform() {
    CCAffineTransform t = nodeToParentTransform();
    for (CCNode* p = m_pParent; p; p = p->getParent()) {
        t = CCAffineTransformConcat(t, p->nodeToParentTransform());
    }
    return t;
}

CCAffineTransform CCNode::worldToNodeTransform() {
    return CCAffineTransformInvert(nodeToWorldTransform());
}

void CCNode::setAdditionalTransform(const CCAffineTransform& additionalTransform) {
    m_sAdditionalTransform = additionalTransform;
    m_bAdditionalTransformDirty = true;
    markTransformDirty();
}

CCPoint CCNode::convertToNodeSpace(const CCPoint& worldPoint) {
    return CCPointApplyAffineTransform(worldPoint, worldToNodeTransform());
}

CCPoint CCNode::convertToWorldSpace(const CCPoint& nodePoint) {
    return CCPointApplyAffineTransform(nodePoint, nodeToWorldTransform());
}

CCPoint CCNode::convertToNodeSpaceAR(const CCPoint& worldPoint) {
    return convertToNodeSpace(worldPoint) - m_obAnchorPointInPoints;
}

CCPoint CCNode::convertToWorldSpaceAR(const CCPoint& nodePoint) {
    return convertToWorldSpace(nodePoint + m_obAnchorPointInPoints);
}

CCPoint CCNode::convertTouchToNodeSpace(CCTouch* touch) {
    return touch ? convertToNodeSpace(touch->getLocation()) : CCPointZero;
}

CCPoint CCNode::convertTouchToNodeSpaceAR(CCTouch* touch) {
    return touch ? convertToNodeSpaceAR(touch->getLocation()) : CCPointZero;
}

// --- Schedules ---

void CCNode::setScheduler(CCScheduler* scheduler) {
    if (scheduler && scheduler != m_pScheduler) {
        unscheduleAllSelectors();
        scheduler->retain();
        m_pScheduler->release();
        m_pScheduler = scheduler;
    }
}

bool CCNode::isScheduled(SEL_SCHEDULE selector) {
    return m_pScheduler->isSelectorScheduled(selector, this);
}

void CCNode::scheduleUpdate() {
    scheduleUpdateWithPriority(0);
}

void CCNode::scheduleUpdateWithPriority(int priority) {
    m_pScheduler->scheduleUpdateForTarget(this, priority, !m_bRunning);
}

void CCNode::unscheduleUpdate() {
    m_pScheduler->unscheduleUpdateForTarget(this);
}

void CCNode::schedule(SEL_SCHEDULE selector) {
    schedule(selector, 0.0f, kCCRepeatForever, 0.0f);
}

void CCNode::schedule(SEL_SCHEDULE selector, float interval) {
    schedule(selector, interval, kCCRepeatForever, 0.0f);
}

void CCNode::schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay) {
    m_pScheduler->scheduleSelector(selector, this, interval, repeat, delay, !m_bRunning);
}

void CCNode::scheduleOnce(SEL_SCHEDULE selector, float delay) {
    schedule(selector, 0.0f, 0, delay);
}

void CCNode::unschedule(SEL_SCHEDULE selector) {
    m_pScheduler->unscheduleSelector(selector, this);
}

void CCNode::unscheduleAllSelectors() {
    m_pScheduler->unscheduleAllForTarget(this);
}

void CCNode::resumeSchedulerAndActions() {
    m_pScheduler->resumeTarget(this);
    m_pActionManager->resumeTarget(this);
}

void CCNode::pauseSchedulerAndActions() {
    m_pScheduler->pauseTarget(this);
    m_pActionManager->pauseTarget(this);
}

// --- Actions ---

void CCNode::setActionManager(CCActionManager* actionManager) {
    if (actionManager && actionManager != m_pActionManager) {
        stopAllActions();
        actionManager->retain();
        m_pActionManager->release();
        m_pActionManager = actionManager;
    }
}

CCAction* CCNode::runAction(CCAction* action) {
    m_pActionManager->addAction(action, this, !m_bRunning);
    return action;
}

void CCNode::stopAllActions() {
    m_pActionManager->removeAllActionsFromTarget(this);
}

void CCNode::stopAction(CCAction* action) {
    m_pActionManager->removeAction(action);
}

void CCNode::stopActionByTag(int tag) {
    m_pActionManager->removeActionByTag(tag, this);
}

CCAction* CCNode::getActionByTag(int tag) {
    return m_pActionManager->getActionByTag(tag, this);
}

unsigned int CCNode::numberOfRunningActions() {
    return m_pActionManager->numberOfRunningActionsInTarget(this);
}

NS_CC_END
