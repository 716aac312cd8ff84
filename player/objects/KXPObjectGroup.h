#pragma once

// A group layer of a level: no picture, no body. Each frame it sorts the z-order of the objects
// placed in it by their position on one axis, so that (for a top-down view) objects lower on the
// screen are drawn in front of those higher up. "gAxisX" sorts by y, any other direction by x;
// "gSortAsc" gives the larger coordinate the lower z-order (drawn behind).

#include "player/objects/KXPObject.h"

#include <memory>
#include <string>
#include <vector>

class KXModelObjectGroup;
class KXPGroupMembers;

class KXPObjectGroup : public KXPObject {
public:
    static constexpr const char* kSortByY = "gAxisX";
    static constexpr const char* kSortLargerFirst = "gSortAsc";
    // Members are numbered from the least z-order among them, or from this when none is lower.
    static constexpr int kHighestFirstZOrder = 10000;

    // Whether member a comes before member b (gets the lower z-order).
    class ChildOrder {
    public:
        explicit ChildOrder(const KXModelObjectGroup& group);
        bool operator()(cocos2d::CCNode* a, cocos2d::CCNode* b) const;

    private:
        bool m_byY;
        bool m_largerFirst;
    };

    // Autoreleased.
    static KXPObjectGroup* create(const std::shared_ptr<KXModelObjectGroup>& model);
    explicit KXPObjectGroup(const std::shared_ptr<KXModelObjectGroup>& model);

    // The depth sort, and nothing else: a group has no components, children or visibility of its
    // own to update.
    void update(float dt) override;

    std::shared_ptr<KXModelObjectGroup> groupModel() const;

private:
    // The objects of the layer placed in the group, and with a character placed the live
    // characters, in the layer's order: from the layer's shared lookup, or (a layer other than the
    // field's camera) by walking it.
    void findMembers(const KXModelObjectGroup& group, const KXPGroupMembers& lookup,
                     std::vector<cocos2d::CCNode*>& members);
    void findMembersByWalk(const KXModelObjectGroup& group, std::vector<cocos2d::CCNode*>& members);
    // A "group" trace line of the members back to front, when that order changed.
    void traceOrder(const std::vector<cocos2d::CCNode*>& members);

    std::string m_tracedOrder;
};
