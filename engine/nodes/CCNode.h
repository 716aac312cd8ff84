// The scene-graph node: a tree with z order, tags, an affine transform, visibility, schedules and
// actions. Node rotation is clockwise degrees. Children are drawn by (z order, order of arrival).
#pragma once

#include "base/CCAffineTransform.h"
#include "base/CCArray.h"
#include "base/CCGeometry.h"
#include "base/CCObject.h"

#include <type_traits>

// Inside a class that per-frame code asks about (ccNodeAs): its kind bit, together with the class
// the bit belongs to. A subclass that declares nothing inherits its base's bit, which answers for
// every object of the base: ccNodeAs refuses such a class when it is compiled.
#define CC_NODE_KIND(Class, bit)                                                                             \
    using NodeKindClass = Class;                                                                             \
    static constexpr unsigned int kNodeKind = (bit)

NS_CC_BEGIN

class CCAction;
class CCActionManager;
class CCScheduler;
class CCTouch;

enum {
    kCCNodeTagInvalid = -1,
};

class CCRGBAProtocol;

// Told what happens to the children of the node it is set on (CCNode::setChildWatch), so that an
// index of them can follow the children array without scanning it: a child added (in the array, its
// parent set, before it enters the stage), a child about to be removed (still in the array, its
// parent still set, after it left the stage and was cleaned up), a child whose position changed
// (after the change; a position set to the same bits is none), the children put in another order
// by a sort, and what the game says changed on a child (CCNode::noteChangeToParentWatch). The
// children array holds its children in insertion order until a sort: an addition appends, a
// removal closes up, and only sortAllChildren (which then reports) moves a child.
class CCChildWatch {
public:
    virtual ~CCChildWatch() = default;
    virtual void childAdded(CCNode* child) = 0;
    virtual void childRemoved(CCNode* child) = 0;
    virtual void childMoved(CCNode* child) = 0;
    virtual void childrenReordered() = 0;
    virtual void childChanged(CCNode* child) = 0;
};

// What a node is, as bits its classes add in their constructors: code that runs every frame asks
// these (ccNodeAs) instead of dynamic_cast, which compares type names on every call. The engine
// keeps the bits below kCCNodeKindFirstGameBit; the game numbers its own from there.
enum : unsigned int {
    kCCNodeKindSprite = 1u << 0,
    kCCNodeKindFirstGameBit = 1u << 8,
};

class CCNode : public CCObject {
public:
    CCNode();
    ~CCNode() override;

    static CCNode* create();
    virtual bool init();

    // --- Kind ---
    unsigned int getNodeKinds() const { return m_uNodeKinds; }
    // This node's colour and opacity, or null when it has none (CCNodeRGBA, sprites, bitmap
    // labels have them): the protocol is a second base class, which no kind bit reaches.
    virtual CCRGBAProtocol* getRGBAProtocol() { return nullptr; }

    // --- Tree ---
    // A child that already has a parent (or null) is ignored. A child added to a running node
    // enters the stage at once.
    virtual void addChild(CCNode* child);
    virtual void addChild(CCNode* child, int zOrder);
    virtual void addChild(CCNode* child, int zOrder, int tag);
    // The first child with that tag, or null.
    CCNode* getChildByTag(int tag) const;
    // Insertion order until the next sort (before a visit, or sortAllChildren).
    CCArray* getChildren() const { return m_pChildren; }
    unsigned int getChildrenCount() const { return m_pChildren ? m_pChildren->count() : 0; }
    CCNode* getParent() const { return m_pParent; }
    // Called with the new parent by addChild and with null by the removals.
    virtual void setParent(CCNode* parent) { m_pParent = parent; }
    // Owned: the previous watch is deleted (and so is this one with the node, before its children
    // go). Null: none, which costs the tree and the positions of the children nothing.
    void setChildWatch(CCChildWatch* watch);
    CCChildWatch* getChildWatch() const { return m_pChildWatch; }
    // Tells the parent's watch, if any, that something it may follow changed on this node.
    void noteChangeToParentWatch() {
        if (m_pParent != nullptr && m_pParent->m_pChildWatch != nullptr) {
            m_pParent->m_pChildWatch->childChanged(this);
        }
    }

    virtual void removeFromParent();
    virtual void removeFromParentAndCleanup(bool cleanup);
    virtual void removeChild(CCNode* child);
    // A running child gets onExit; with cleanup its actions and schedules end too.
    virtual void removeChild(CCNode* child, bool cleanup);
    virtual void removeChildByTag(int tag);
    virtual void removeChildByTag(int tag, bool cleanup);
    virtual void removeAllChildren();
    virtual void removeAllChildrenWithCleanup(bool cleanup);
    // Gives the child a new z order and a new arrival order: among equal z it goes on top.
    virtual void reorderChild(CCNode* child, int zOrder);
    // Sorts the children by (z order, arrival order) when something changed.
    virtual void sortAllChildren();

    // --- Properties ---
    virtual void setZOrder(int zOrder);
    virtual int getZOrder() { return m_nZOrder; }
    // Sets the z order without re-sorting the parent.
    void _setZOrder(int z) { m_nZOrder = z; }
    unsigned int getOrderOfArrival() const { return m_uOrderOfArrival; }
    void setOrderOfArrival(unsigned int order) { m_uOrderOfArrival = order; }

    virtual void setPosition(const CCPoint& position);
    virtual void setPosition(float x, float y) { setPosition(CCPoint(x, y)); }
    virtual const CCPoint& getPosition() { return m_obPosition; }
    virtual void getPosition(float* x, float* y);
    virtual void setPositionX(float x) { setPosition(CCPoint(x, m_obPosition.y)); }
    virtual void setPositionY(float y) { setPosition(CCPoint(m_obPosition.x, y)); }
    virtual float getPositionX() { return m_obPosition.x; }
    virtual float getPositionY() { return m_obPosition.y; }
    // Degrees, clockwise.
    virtual void setRotation(float rotation);
    virtual float getRotation() { return m_fRotation; }
    virtual void setScale(float scale);
    // The x scale (the two are usually equal).
    virtual float getScale() { return m_fScaleX; }
    virtual void setScaleX(float scaleX);
    virtual float getScaleX() { return m_fScaleX; }
    virtual void setScaleY(float scaleY);
    virtual float getScaleY() { return m_fScaleY; }
    virtual void setSkewX(float skewX);
    virtual float getSkewX() { return m_fSkewX; }
    virtual void setSkewY(float skewY);
    virtual float getSkewY() { return m_fSkewY; }
    // Normalised (0..1) point of the content that sits at the position.
    virtual void setAnchorPoint(const CCPoint& anchorPoint);
    virtual const CCPoint& getAnchorPoint() { return m_obAnchorPoint; }
    virtual const CCPoint& getAnchorPointInPoints() { return m_obAnchorPointInPoints; }
    virtual void setContentSize(const CCSize& contentSize);
    virtual const CCSize& getContentSize() const { return m_obContentSize; }
    // When set, the position places the lower-left corner whatever the anchor point.
    virtual void ignoreAnchorPointForPosition(bool ignore);
    virtual bool isIgnoreAnchorPointForPosition() { return m_bIgnoreAnchorPointForPosition; }
    virtual void setVisible(bool visible) { m_bVisible = visible; }
    virtual bool isVisible() { return m_bVisible; }
    virtual void setTag(int tag) { m_nTag = tag; }
    virtual int getTag() const { return m_nTag; }
    // Not owned.
    virtual void setUserData(void* userData) { m_pUserData = userData; }
    virtual void* getUserData() { return m_pUserData; }
    // Retained; the previous one is released.
    virtual void setUserObject(CCObject* userObject);
    virtual CCObject* getUserObject() { return m_pUserObject; }
    virtual bool isRunning() { return m_bRunning; }

    // --- Stage ---
    // Children first, then this node's schedules and actions resume and it is running.
    virtual void onEnter();
    virtual void onEnterTransitionDidFinish();
    // Schedules and actions pause, then the children leave.
    virtual void onExitTransitionDidStart();
    virtual void onExit();
    // Stops the actions and schedules of this node and its subtree.
    virtual void cleanup();

    // --- Drawing ---
    // Invisible: nothing. Otherwise push the model-view matrix, apply this node's transform,
    // visit children with z < 0, draw(), visit the rest, pop.
    virtual void visit();
    // This node's own content; nothing for a plain node.
    virtual void draw() {}
    // Multiplies the node-to-parent transform onto the model-view matrix.
    void transform();
    // Bounding box of the content in the parent's space.
    CCRect boundingBox();

    // --- Transforms ---
    virtual CCAffineTransform nodeToParentTransform();
    virtual CCAffineTransform parentToNodeTransform();
    virtual CCAffineTransform nodeToWorldTransform();
    virtual CCAffineTransform worldToNodeTransform();
    // Applied after the node's own transform (a node at the origin with identity values is
    // then placed by this transform alone).
    void setAdditionalTransform(const CCAffineTransform& additionalTransform);
    CCPoint convertToNodeSpace(const CCPoint& worldPoint);
    CCPoint convertToWorldSpace(const CCPoint& nodePoint);
    // Relative to the anchor point.
    CCPoint convertToNodeSpaceAR(const CCPoint& worldPoint);
    CCPoint convertToWorldSpaceAR(const CCPoint& nodePoint);
    CCPoint convertTouchToNodeSpace(CCTouch* touch);
    CCPoint convertTouchToNodeSpaceAR(CCTouch* touch);

    // --- Schedules (paused while the node is not running) ---
    CCScheduler* getScheduler() const { return m_pScheduler; }
    virtual void setScheduler(CCScheduler* scheduler);
    bool isScheduled(SEL_SCHEDULE selector);
    void scheduleUpdate();
    void scheduleUpdateWithPriority(int priority);
    void unscheduleUpdate();
    void schedule(SEL_SCHEDULE selector);
    void schedule(SEL_SCHEDULE selector, float interval);
    void schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay);
    // Fires once, on the first frame where the accumulated time reaches delay.
    void scheduleOnce(SEL_SCHEDULE selector, float delay);
    void unschedule(SEL_SCHEDULE selector);
    void unscheduleAllSelectors();
    void resumeSchedulerAndActions();
    void pauseSchedulerAndActions();

    // --- Actions (paused while the node is not running) ---
    CCActionManager* getActionManager() const { return m_pActionManager; }
    virtual void setActionManager(CCActionManager* actionManager);
    CCAction* runAction(CCAction* action);
    void stopAllActions();
    void stopAction(CCAction* action);
    void stopActionByTag(int tag);
    CCAction* getActionByTag(int tag);
    unsigned int numberOfRunningActions();

protected:
    // From constructors: this node (and every node of a derived class) is of these kinds too.
    void addNodeKinds(unsigned int kinds) { m_uNodeKinds |= kinds; }
    void insertChild(CCNode* child, int z);
    void detachChild(CCNode* child, bool doCleanup);
    void markTransformDirty() { m_bTransformDirty = m_bInverseDirty = true; }
    void updateAnchorPointInPoints();

    CCPoint m_obPosition;
    float m_fRotation;
    float m_fScaleX;
    float m_fScaleY;
    float m_fSkewX;
    float m_fSkewY;
    CCPoint m_obAnchorPoint;
    CCPoint m_obAnchorPointInPoints;
    CCSize m_obContentSize;
    bool m_bIgnoreAnchorPointForPosition;

    CCAffineTransform m_sTransform;
    CCAffineTransform m_sInverse;
    CCAffineTransform m_sAdditionalTransform;
    bool m_bTransformDirty;
    bool m_bInverseDirty;
    bool m_bAdditionalTransformDirty;

    int m_nZOrder;
    unsigned int m_uOrderOfArrival;
    CCArray* m_pChildren;
    CCNode* m_pParent;
    bool m_bReorderChildDirty;

    int m_nTag;
    void* m_pUserData;
    CCObject* m_pUserObject;
    bool m_bVisible;
    bool m_bRunning;

    CCScheduler* m_pScheduler;         // retained
    CCActionManager* m_pActionManager; // retained
    // Counts the sorts that moved children: a sort that found them in order leaves it.
    unsigned long m_uChildrenSortsThatMoved = 0;

private:
    unsigned int m_uNodeKinds = 0;
    CCChildWatch* m_pChildWatch = nullptr; // owned
};

// Whether T declares its own node kind (CC_NODE_KIND in T itself, not only in a base).
template <class T, class = void> struct ccDeclaresNodeKind : std::false_type {};
template <class T>
struct ccDeclaresNodeKind<T, std::void_t<typename T::NodeKindClass>>
    : std::is_same<typename T::NodeKindClass, T> {};

// The node as T (a class that declares its own kind bit), or null when it is none or not of
// that kind.
template <class T> T* ccNodeAs(CCNode* node) {
    static_assert(ccDeclaresNodeKind<T>::value, "ccNodeAs needs a class that declares its own node kind");
    return node != nullptr && (node->getNodeKinds() & T::kNodeKind) != 0 ? static_cast<T*>(node) : nullptr;
}
// The same for an element of a node's children array.
template <class T> T* ccNodeAs(CCObject* child) {
    return ccNodeAs<T>(static_cast<CCNode*>(child));
}

NS_CC_END
