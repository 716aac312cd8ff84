#include "player/objects/KXPBodyCrowding.h"

#include <algorithm>

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
