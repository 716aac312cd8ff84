#pragma once

// Where the portals of the object layer stand, by group, in cells of a grid: a portal sending
// looks only at the cells its search radius reaches instead of at every child of the layer, so
// that thousands of portals sending in one frame cost what they find. It is made again from the
// layer whenever the layer's portals version changes (a portal came, went, was sorted or moved); a
// portal's group is its model's, which play does not change.

#include "cocos2d.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class KXPObjectAsset;
class KXPPortalLayer;

class KXPTeleportIndex {
public:
    // Points to a side of a cell.
    static constexpr float kCellSize = 128.0f;

    // The direct children of `layer` that are exactly portals (not riding a path) of that group,
    // strictly closer than `radius` to `center`, in child order.
    void collectNear(cocos2d::CCNode* layer, const KXPPortalLayer& portals, std::vector<KXPObjectAsset*>& out,
                     float groupId, const cocos2d::CCPoint& center, float radius);

private:
    struct Group {
        // In child order; each cell lists indices into it, rising.
        std::vector<KXPObjectAsset*> portals;
        std::unordered_map<uint64_t, std::vector<uint32_t>> cells;
        // Too far out for a cell: looked at by every search.
        std::vector<uint32_t> far;
    };

    void rebuild(cocos2d::CCNode* layer);

    std::unordered_map<float, Group> m_groups;
    unsigned long m_version = 0;
    std::vector<uint32_t> m_found;
};
