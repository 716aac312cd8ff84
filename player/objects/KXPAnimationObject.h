#pragma once

// Shows an animation model: one child node per object of the animation (images, labels and a few
// asset kinds), nested as the models are nested, run by a clock that advances by the model's
// "Speed" while shown and wraps past its "Duration", calling the finish callback at each wrap.
// Visibility, opacity, tag and updates pass down to the children. The owner adds it as a child
// and updates it every frame.

#include "cocos2d.h"
#include "player/base/KXPKinds.h"
#include "player/base/KXPNodeKinds.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class KXModel;
class KXModelAnimation;
class KXPObject;

class KXPAnimationObject : public cocos2d::CCNode {
public:
    CC_NODE_KIND(KXPAnimationObject, kKXPNodeAnimationObject);

    // The owner is accepted for the callers' convenience; nothing here depends on it. With
    // applySpawner, asset children learn whether their model spawns. Callers autorelease.
    KXPAnimationObject(const std::shared_ptr<KXModelAnimation>& model, KXPObject* owner, bool applySpawner);
    ~KXPAnimationObject() override;

    // The clock (only while shown), the wrap with the finish callback (a non-looping animation
    // then freezes its pictures and emitters), then the children (only while shown): particle
    // objects with dt, every other child with dt times the speed.
    void update(float dt) override;
    // The parent's z-order, so that the field depth of what the animation shows is its owner's.
    int getZOrder() override;
    // Also shows or hides the node of every child model.
    void setVisible(bool visible) override;
    // Takes the new parent's tag and gives it to the node of every child model.
    void setParent(cocos2d::CCNode* parent) override;

    // Clock back to 0; pictures play again from their start, emitters start afresh (objects
    // restart the looks they show through it).
    virtual void restart();
    // Clock back to 0; pictures stop their frame animation, emitters stop emitting.
    void stop();
    // The scene's pause and resume of the pictures' frame animations.
    void pauseImageActions();
    void resumeImageActions();
    // Every picture shows that frame of its sprite container (components drive frames by hand).
    void showImageFrame(int index);
    // Hands the layer to every child that is a runtime object.
    void setObjectLayer(cocos2d::CCNode* layer);
    // Pictures multiply their keyframed opacity by it; runtime objects get it as theirs.
    void setOpacityFactor(float factor);
    float opacityFactor() const { return m_opacityFactor; }

    // The rows of the frame maker by name, as the nodes it makes are traced.
    static KXPKindTable kindTable();

    // The number of object children of the model.
    int entryCount() const;
    // The node built for the model's child at that index; null when none was built.
    cocos2d::CCNode* childNodeAt(int index) const;
    // The children's scaled content boxes (positive extents, also when mirrored), each centred on
    // this node's position, united.
    cocos2d::CCRect contentRect() const { return m_contentRect; }
    void updateBounds();
    // "Duration" in frames of 1/30 s, truncated.
    int durationInFrames() const;
    // The same walk as an object's: through objects and animations up to the game-field camera.
    int fieldZOrder();

    // Replaces the call made at every wrap of the clock.
    void setFinishCallback(cocos2d::SEL_CallFunc selector, cocos2d::CCObject* target);
    void setFinishCallback(std::function<void()> callback) { m_finishCallback = std::move(callback); }

    float time() const { return m_time; }
    std::shared_ptr<KXModelAnimation> model() const { return m_model; }

private:
    struct Entry {
        std::shared_ptr<KXModel> model;
        // Retained: a child taken out of the tree elsewhere stays safe until the next pass
        // drops it (null from then on).
        cocos2d::CCNode* node;
        // Particles run on the frame's time, everything else on the animation's.
        bool particles;
    };

    cocos2d::CCNode* buildNode(const std::shared_ptr<KXModel>& child, bool applySpawner);
    // Its rows, one per kind of node.
    friend struct KXPAnimationFrameKinds;
    cocos2d::CCNode* buildAsset(const std::shared_ptr<KXModel>& child, bool applySpawner);
    cocos2d::CCNode* buildImage(const std::shared_ptr<KXModel>& child, bool applySpawner);
    cocos2d::CCNode* buildText(const std::shared_ptr<KXModel>& child, bool applySpawner);
    void nestNodes();
    // Entries whose node has left this animation's subtree are released and forgotten.
    void dropDetachedNodes();
    bool isInSubtree(cocos2d::CCNode* node) const;
    cocos2d::CCNode* nodeOf(const KXModel* model) const;
    // The speed used by the clock and the children; a speed that is not finite counts as 0.
    float effectiveSpeed() const;
    void freezeChildren();

    float m_time = 0.0f;
    cocos2d::CCRect m_contentRect;
    std::function<void()> m_finishCallback;
    std::shared_ptr<KXModelAnimation> m_model;
    // In model order, and by model.
    std::vector<Entry> m_nodes;
    std::unordered_map<const KXModel*, cocos2d::CCNode*> m_nodeByModel;
    float m_opacityFactor = 1.0f;
};
