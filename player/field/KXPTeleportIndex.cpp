#include "player/field/KXPTeleportIndex.h"

#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPPortalLayer.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// Places further out than this many points lie in no cell: their cell numbers would not fit.
constexpr float kGridReach = 1.0e9f;

bool inGrid(const CCPoint& at) {
    return std::fabs(at.x) < kGridReach && std::fabs(at.y) < kGridReach;
}

int32_t cellOf(float coordinate) {
    return static_cast<int32_t>(std::floor(coordinate / KXPTeleportIndex::kCellSize));
}

uint64_t cellKey(int32_t x, int32_t y) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y);
}

// -0 and 0 are one group.
float groupKey(float groupId) {
    return groupId == 0.0f ? 0.0f : groupId;
}

// The group of a child that is exactly a portal; false for any other child.
bool portalGroup(KXPObjectAsset* object, float& groupId) {
    if (object == nullptr || object->getType() != KXPObject::kTypeTeleport) {
        return false;
    }
    const auto model = modelCast<KXModelObjectTeleport>(object->getModel());
    if (!model) {
        return false;
    }
    groupId = model->groupId();
    return true;
}

} // namespace

void KXPTeleportIndex::rebuild(CCNode* layer) {
    m_groups.clear();
    CCObject* item = nullptr;
    CCARRAY_FOREACH(layer->getChildren(), item) {
        KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item);
        float groupId = 0.0f;
        // A group that is not a number equals none, not even its own.
        if (!portalGroup(object, groupId) || std::isnan(groupId)) {
            continue;
        }
        Group& group = m_groups[groupKey(groupId)];
        const auto index = static_cast<uint32_t>(group.portals.size());
        group.portals.push_back(object);
        const CCPoint& at = object->getPosition();
        if (inGrid(at)) {
            group.cells[cellKey(cellOf(at.x), cellOf(at.y))].push_back(index);
        } else {
            group.far.push_back(index);
        }
    }
}

void KXPTeleportIndex::collectNear(CCNode* layer, const KXPPortalLayer& portals,
                                   std::vector<KXPObjectAsset*>& out, float groupId, const CCPoint& center,
                                   float radius) {
    out.clear();
    if (layer == nullptr) {
        return;
    }
    if (m_version != portals.portalsVersion()) {
        rebuild(layer);
        m_version = portals.portalsVersion();
    }
    // No distance is below a radius of 0 or less (or one that is not a number).
    if (!(radius > 0.0f)) {
        return;
    }
    const auto found = m_groups.find(groupKey(groupId));
    if (found == m_groups.end()) {
        return;
    }
    const Group& group = found->second;
    // The box around the circle, wider by more than the floats' rounding of the distance.
    const float reach = radius + 1.0f + 1.0e-5f * (radius + std::fabs(center.x) + std::fabs(center.y));
    const CCPoint low(center.x - reach, center.y - reach);
    const CCPoint high(center.x + reach, center.y + reach);
    bool byCells = inGrid(low) && inGrid(high);
    if (byCells) {
        const int64_t columns = int64_t{cellOf(high.x)} - cellOf(low.x) + 1;
        const int64_t rows = int64_t{cellOf(high.y)} - cellOf(low.y) + 1;
        // Past as many cells as portals, looking at each portal costs less.
        byCells = columns * rows <= static_cast<int64_t>(group.portals.size());
    }
    const auto take = [&](KXPObjectAsset* portal) {
        float partnerGroup = 0.0f;
        if (portalGroup(portal, partnerGroup) && partnerGroup == groupId &&
            radius > ccpDistance(center, portal->getPosition())) {
            out.push_back(portal);
        }
    };
    if (!byCells) {
        for (KXPObjectAsset* portal : group.portals) {
            take(portal);
        }
        return;
    }
    m_found.assign(group.far.begin(), group.far.end());
    for (int32_t x = cellOf(low.x); x <= cellOf(high.x); ++x) {
        for (int32_t y = cellOf(low.y); y <= cellOf(high.y); ++y) {
            const auto cell = group.cells.find(cellKey(x, y));
            if (cell != group.cells.end()) {
                m_found.insert(m_found.end(), cell->second.begin(), cell->second.end());
            }
        }
    }
    std::sort(m_found.begin(), m_found.end());
    for (const uint32_t index : m_found) {
        take(group.portals[index]);
    }
}
