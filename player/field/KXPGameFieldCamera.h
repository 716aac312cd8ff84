#pragma once

// The node that scrolls the game field: every game object hangs below it. Each update it scrolls
// against the gameplay direction by the game speed, then keeps the characters inside the frame
// rectangle of the screen-scene model: an edge either follows them, pushes them back or kills
// them. The vector it moved by is what the level streaming measures.

#include "cocos2d.h"
#include "player/base/KXPNodeKinds.h"
#include "player/base/KXPPortalLayer.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <memory>

class KXModelScreenScene;
class KXPGameplaySettings;

class KXPGameFieldCamera : public cocos2d::CCNode, public KXPPortalLayer {
public:
    CC_NODE_KIND(KXPGameFieldCamera, kKXPNodeGameFieldCamera);

    // Initialised and autoreleased; null when the node cannot be initialised.
    static KXPGameFieldCamera* create();

    KXPGameFieldCamera();
    ~KXPGameFieldCamera() override;

    // Keeps the model and takes its frame (resetBounds).
    void setModel(const std::shared_ptr<KXModelScreenScene>& model);
    const std::shared_ptr<KXModelScreenScene>& getModel() const { return m_model; }
    // With a model: the frame from its "Object Frame Rect" in window units, step and target zero.
    void resetBounds();

    // The point to keep in view, in the camera's own coordinates; exactly (0, 0) is ignored.
    void setTarget(const cocos2d::CCPoint& target);
    const cocos2d::CCPoint& getTarget() const { return m_target; }
    // The characters' bounding rectangle; kept for the scene, the update does not read it.
    void setViewRect(const cocos2d::CCRect& rect) { m_charactersRect = rect; }
    const cocos2d::CCRect& getViewRect() const { return m_charactersRect; }
    // The frame rectangle in window coordinates.
    const cocos2d::CCRect& getBounds() const { return m_bounds; }
    // How far the node moved in its last update (old position minus new).
    const cocos2d::CCPoint& getStep() const { return m_step; }
    // The share of the way back to the frame the camera covers per update.
    void setFollowFactor(float factor) { m_followFactor = factor; }
    float getFollowFactor() const { return m_followFactor; }

    // One step of scrolling and following; the scene calls it with 1/60 once per frame.
    void update(float dt) override;

    // The frame grown by 10 px on every side, in Box2D metres of the game field.
    b2AABB worldViewBox();
    // True when the fixture's first broad-phase box lies wholly inside worldViewBox().
    bool containsFixture(b2Fixture* fixture);

    // The point moved into the rectangle, x then y.
    static cocos2d::CCPoint clampPoint(const cocos2d::CCRect& rect, const cocos2d::CCPoint& point);

    // --- the portals among the children (KXPGameFieldCameraPortals.cpp) ---
    // A portal child coming or going, or sorted to another place, changes the version.
    unsigned long portalsVersion() const override { return m_portalsVersion; }
    void portalChanged() override { ++m_portalsVersion; }
    // Changes whenever the children array may have changed (a child added or removed, a sort that moved some)
    // or a child's type flags did; never the same for two cameras, so that it names one state of one.
    uint64_t childrenVersion() const { return m_childrenVersion; }
    void childrenChanged() { m_childrenVersion = nextChildrenVersion(); }
    using cocos2d::CCNode::addChild;
    void addChild(cocos2d::CCNode* child, int zOrder, int tag) override;
    using cocos2d::CCNode::removeChild;
    void removeChild(cocos2d::CCNode* child, bool cleanup) override;
    void removeAllChildrenWithCleanup(bool cleanup) override;
    void reorderChild(cocos2d::CCNode* child, int zOrder) override;
    void sortAllChildren() override;

private:
    cocos2d::CCPoint m_target;
    cocos2d::CCRect m_charactersRect;
    cocos2d::CCRect m_bounds;
    cocos2d::CCPoint m_step;
    std::shared_ptr<KXModelScreenScene> m_model;
    KXPGameplaySettings* m_gameplay = nullptr;
    float m_followFactor = 1.0f;
    unsigned long m_portalsVersion = 1;
    static uint64_t nextChildrenVersion();
    uint64_t m_childrenVersion = nextChildrenVersion();
    // A portal was added or given another z-order: the next sort may move it among the others.
    bool m_portalsUnsorted = false;
};
