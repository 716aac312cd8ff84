#include "player/objects/KXPStepCensus.h"

#include <algorithm>

namespace {

// Whether Box2D makes a contact of the two fixtures once their boxes overlap: one body falling,
// no joint keeping them apart, and the filters letting them.
bool makesContact(b2Fixture& a, b2Fixture& b) {
    const b2Body* bodyA = a.GetBody();
    const b2Body* bodyB = b.GetBody();
    if (bodyA == bodyB || (bodyA->GetType() != b2_dynamicBody && bodyB->GetType() != b2_dynamicBody)) {
        return false;
    }
    for (const b2JointEdge* edge = bodyB->GetJointList(); edge != nullptr; edge = edge->next) {
        if (edge->other == bodyA && !edge->joint->GetCollideConnected()) {
            return false;
        }
    }
    b2ContactFilter filter;
    return filter.ShouldCollide(&a, &b);
}

// The box Box2D gives a shape's child when it enters the broad phase.
b2AABB boxOf(const b2Shape& shape, const b2Transform& transform, int32 child) {
    b2AABB box;
    shape.ComputeAABB(&box, transform, child);
    const b2Vec2 margin(b2_aabbExtension, b2_aabbExtension);
    box.lowerBound = box.lowerBound - margin;
    box.upperBound = box.upperBound + margin;
    return box;
}

// The body whose contact list Box2D walks when it finds the contact's pair again: the one whose
// box has the larger id.
const b2Body* walksAt(const b2Contact& contact) {
    const int32 idA = KXPBroadPhaseView::proxyIdOf(*contact.GetFixtureA(), contact.GetChildIndexA());
    const int32 idB = KXPBroadPhaseView::proxyIdOf(*contact.GetFixtureB(), contact.GetChildIndexB());
    return idA > idB ? contact.GetFixtureA()->GetBody() : contact.GetFixtureB()->GetBody();
}

// Counts the boxes in reach, and those of falling bodies, stopping past `cap`.
struct ReachCounter {
    const KXPBroadPhaseView& view;
    KXPStepReach& reach;
    int64_t cap;
    bool QueryCallback(int32 proxyId) {
        ++reach.boxesInReach;
        const b2FixtureProxy* proxy = view.proxy(proxyId);
        if (proxy != nullptr && proxy->fixture->GetBody()->GetType() == b2_dynamicBody) {
            ++reach.fallingInReach;
        }
        return reach.boxesInReach <= cap;
    }
};

} // namespace

int64_t KXPStepWork::cost() const {
    return contacts * kContactCost + std::min(pairs, kUnknown / kPairCost) * kPairCost + walks * kWalkCost;
}

void KXPStepWork::add(const KXPStepWork& other) {
    contacts += other.contacts;
    pairs += other.pairs;
    walks += other.walks;
}

void KXPStepReach::add(const b2AABB& fat, const b2Body& body) {
    if (boxes == 0) {
        box = fat;
    } else {
        box.Combine(fat);
    }
    ++boxes;
    falling += body.GetType() == b2_dynamicBody ? 1 : 0;
}

void KXPStepReach::countInReach(const KXPBroadPhaseView& view, int64_t pairs) {
    if (boxes == 0) {
        return;
    }
    ReachCounter counter{view, *this, pairs / boxes + 1};
    view.broadPhase().Query(&counter, box);
}

KXPStepReach KXPStepReach::ofMoved(const KXPBroadPhaseView& view, int64_t pairs) {
    KXPStepReach reach;
    for (int32 index = 0; index < view.moveCount(); ++index) {
        const int32 proxyId = view.movedProxy(index);
        const b2FixtureProxy* proxy = proxyId != b2BroadPhase::e_nullProxy ? view.proxy(proxyId) : nullptr;
        if (proxy != nullptr) {
            reach.add(view.fatBox(proxyId), *proxy->fixture->GetBody());
        }
    }
    reach.countInReach(view, pairs);
    return reach;
}

KXPStepReach KXPStepReach::of(const KXPBroadPhaseView& view, const std::vector<b2Body*>& bodies,
                              int64_t pairs) {
    KXPStepReach reach;
    for (const b2Body* body : bodies) {
        for (const b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr;
             fixture = fixture->GetNext()) {
            for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
                reach.add(view.fatBox(KXPBroadPhaseView::proxyIdOf(*fixture, child)), *body);
            }
        }
    }
    reach.countInReach(view, pairs);
    return reach;
}

// Counts the boxes a box overlaps as the step's pairing finds them.
class KXPStepCensus::Query {
public:
    Query(const KXPStepCensus& census, b2Fixture* fixture, int32 proxyId, int64_t stop, bool makes)
        : m_census(census), m_fixture(fixture), m_proxyId(proxyId), m_stop(stop), m_makes(makes) {}
    bool QueryCallback(int32 otherId) {
        if (otherId == m_proxyId) {
            return true;
        }
        if (m_proxyId != b2BroadPhase::e_nullProxy && otherId > m_proxyId &&
            m_census.m_view.wasMoved(otherId)) {
            return true;
        }
        const b2FixtureProxy* other = m_census.m_view.proxy(otherId);
        ++adds.pairs;
        if (m_makes && other != nullptr && makesContact(*m_fixture, *other->fixture)) {
            ++adds.contacts;
        }
        return m_census.total.pairs + adds.pairs <= m_stop;
    }
    KXPStepWork adds;

private:
    const KXPStepCensus& m_census;
    b2Fixture* m_fixture;
    const int32 m_proxyId;
    const int64_t m_stop;
    const bool m_makes;
};

KXPStepWork KXPStepCensus::countAt(b2Fixture* fixture, const b2AABB& box, int32 proxyId, int64_t stop,
                                   bool makes) {
    Query query(*this, fixture, proxyId, stop, makes);
    m_view.broadPhase().Query(&query, box);
    return query.adds;
}

void KXPStepCensus::countMoved(int32 proxyId, int64_t stop) {
    const b2FixtureProxy* proxy = m_view.proxy(proxyId);
    if (proxy == nullptr || proxy->fixture == nullptr) {
        return;
    }
    // A box moved twice (made, then given its type) is looked up twice; its contacts are made the
    // first time, the second only walks to them.
    const bool again = !m_lookedUp.insert(proxyId).second;
    KXPStepWork adds = countAt(proxy->fixture, m_view.fatBox(proxyId), proxyId, stop, !again);
    // Making each contact walks the box's contacts made before it (the newer box is walked).
    adds.walks = adds.contacts * adds.contacts / 2;
    add(proxy->fixture->GetBody(), adds);
}

KXPStepWork KXPStepCensus::countBody(b2Body& body, bool inBroadPhase, int64_t stop) {
    KXPStepWork adds;
    for (b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            const b2AABB box = inBroadPhase ? m_view.fatBox(KXPBroadPhaseView::proxyIdOf(*fixture, child))
                                            : boxOf(*fixture->GetShape(), body.GetTransform(), child);
            adds.add(countAt(fixture, box, b2BroadPhase::e_nullProxy, stop, true));
        }
    }
    return adds;
}

void KXPStepCensus::add(b2Body* body, const KXPStepWork& adds) {
    m_byBody[body].add(adds);
    total.add(adds);
}

void KXPStepCensus::addUnknown(b2Body* body) {
    m_byBody[body].pairs = KXPStepWork::kUnknown;
}

void KXPStepCensus::countWalks(bool byBody) {
    total.walks = 0;
    for (b2Body* body = const_cast<b2World&>(m_world).GetBodyList(); body != nullptr;
         body = body->GetNext()) {
        int64_t contacts = 0;
        for (b2ContactEdge* edge = body->GetContactList(); edge != nullptr; edge = edge->next) {
            ++contacts;
        }
        if (contacts == 0) {
            continue;
        }
        int64_t walked = 0;
        for (b2ContactEdge* edge = body->GetContactList(); edge != nullptr; edge = edge->next) {
            if (walksAt(*edge->contact) == body) {
                walked += contacts;
            }
        }
        total.walks += walked;
        if (byBody) {
            KXPStepWork& own = m_byBody[body];
            own.contacts += contacts;
            own.walks += walked;
        }
    }
}
