#include "player/objects/KXPBodyCrowding.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXBaseModelObject.h"
#include "player/base/KXPTrace.h"
#include "player/objects/KXPBodyData.h"
#include "player/objects/KXPObject.h"

#include <algorithm>
#include <string>

namespace {

float largestSide(const b2AABB& box) {
    const b2Vec2 extent = box.upperBound - box.lowerBound;
    return std::max(extent.x, extent.y);
}

// Counts, box by box of one body (or of one not made yet: no body), the boxes of other bodies in
// the broad phase that overlap it and are at least as large; a query stops past the bound.
class OverlapCounter {
public:
    OverlapCounter(const b2BroadPhase& broadPhase, const b2Body* body, b2BodyType type,
                   const KXPBodyCrowding::Counts& counts)
        : m_broadPhase(broadPhase), m_body(body), m_static(type == b2_staticBody), m_counts(counts) {}

    void count(const b2AABB& box) {
        m_size = largestSide(box);
        m_broadPhase.Query(this, box);
    }

    int overlaps() const { return m_overlaps; }
    bool crowded() const { return m_overlaps > KXPBodyCrowding::kMaxOverlaps; }

    // Called by the broad phase for each box overlapping the one asked about.
    bool QueryCallback(int32 proxyId) {
        const auto* proxy = static_cast<const b2FixtureProxy*>(m_broadPhase.GetUserData(proxyId));
        const b2Body* other = proxy->fixture->GetBody();
        if (other == m_body || (m_static && other->GetType() == b2_staticBody) ||
            largestSide(proxy->aabb) < m_size || (m_counts && !m_counts(other))) {
            return true;
        }
        ++m_overlaps;
        return !crowded();
    }

private:
    const b2BroadPhase& m_broadPhase;
    const b2Body* m_body;
    const bool m_static;
    const KXPBodyCrowding::Counts& m_counts;
    float m_size = 0.0f;
    int m_overlaps = 0;
};

} // namespace

KXPBodyCrowding::Rank KXPBodyCrowding::rankOf(const b2Body* body) {
    // Box2D gives a body's user data only through a body it may change.
    const KXPObject* object = KXPBodyData::object(const_cast<b2Body*>(body));
    if (object == nullptr) {
        return Rank::never;
    }
    return (object->getType() & KXPObject::kTypeCharacter) != 0 ? Rank::last : Rank::first;
}

void KXPBodyCrowding::sayLeftOut(const KXPObject& object, int overlaps, bool whenMade) {
    const std::string name = object.getModel() ? object.getModel()->name() : std::string();
    const unsigned int id = object.getModel() ? object.getModel()->id() : 0;
    debugLog("[KXPBodyCrowding] - %s (model %u) left out of the physics: it %s %d bodies at least as large",
             name.c_str(), id, whenMade ? "would overlap" : "overlaps", overlaps);
    kxTrace("bodies", "bodies left-out name=%s id=%u overlaps=%d", name.c_str(), id, overlaps);
}

int KXPBodyCrowding::overlapsOf(const b2World& world, const b2Body& body, const Counts& counts) {
    OverlapCounter counter(world.GetContactManager().m_broadPhase, &body, body.GetType(), counts);
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        const int32 children = fixture->GetShape()->GetChildCount();
        for (int32 child = 0; child < children && !counter.crowded(); ++child) {
            counter.count(fixture->GetAABB(child));
        }
    }
    return counter.overlaps();
}

int KXPBodyCrowding::overlapsOfNew(const b2World& world, const std::vector<b2AABB>& boxes, b2BodyType type,
                                   const Counts& counts) {
    OverlapCounter counter(world.GetContactManager().m_broadPhase, nullptr, type, counts);
    for (size_t index = 0; index < boxes.size() && !counter.crowded(); ++index) {
        counter.count(boxes[index]);
    }
    return counter.overlaps();
}

int KXPBodyCrowding::thinOut(b2World& world, const std::function<Rank(const b2Body*)>& rank,
                             const std::function<void(b2Body*, int)>& takenOut) {
    // With this few boxes none can be crowded; and Box2D may not lose a box inside its step.
    if (world.IsLocked() || world.GetProxyCount() <= kMaxOverlaps + 1) {
        return 0;
    }
    int thinned = 0;
    const Counts all;
    const Counts lastRanked = [&rank](const b2Body* body) { return rank(body) == Rank::last; };
    for (const Rank pass : {Rank::first, Rank::last}) {
        for (b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext()) {
            if (!body->IsEnabled() || rank(body) != pass) {
                continue;
            }
            const int overlaps = overlapsOf(world, *body, pass == Rank::last ? lastRanked : all);
            if (overlaps > kMaxOverlaps) {
                body->SetEnabled(false);
                takenOut(body, overlaps);
                ++thinned;
            }
        }
    }
    return thinned;
}
