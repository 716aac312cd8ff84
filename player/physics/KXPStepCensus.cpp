#include "player/physics/KXPStepCensus.h"

#include <algorithm>

namespace {

// Whether Box2D makes a contact of the two boxes once they overlap: one body falling, no joint
// keeping them apart, and the filters letting them (Box2D's own rule, on the filters read).
bool makesContact(const KXPStepCensus::Box& a, const KXPStepCensus::Box& b) {
    if (!b.known) {
        return a.falling;
    }
    if (a.body == b.body || (!a.falling && !b.falling)) {
        return false;
    }
    for (const b2JointEdge* edge = a.body->GetJointList(); edge != nullptr; edge = edge->next) {
        if (edge->other == b.body && !edge->joint->GetCollideConnected()) {
            return false;
        }
    }
    if (a.filter.groupIndex == b.filter.groupIndex && a.filter.groupIndex != 0) {
        return a.filter.groupIndex > 0;
    }
    return (a.filter.maskBits & b.filter.categoryBits) != 0 &&
           (a.filter.categoryBits & b.filter.maskBits) != 0;
}

int32 contactsOf(const b2Body& body) {
    int32 contacts = 0;
    for (const b2ContactEdge* edge = body.GetContactList(); edge != nullptr; edge = edge->next) {
        ++contacts;
    }
    return contacts;
}

// The box Box2D gives a shape's child when it enters the broad phase.
b2AABB madeBoxOf(const b2Shape& shape, const b2Transform& transform, int32 child) {
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
    return contacts * kContactCost + made * kMadeCost + std::min(pairs, kUnknown / kPairCost) * kPairCost +
           walks * kWalkCost + rays * kRayCost;
}

void KXPStepWork::add(const KXPStepWork& other) {
    contacts += other.contacts;
    made += other.made;
    pairs += other.pairs;
    walks += other.walks;
    rays += other.rays;
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
    Query(KXPStepCensus& census, const Box& own, int32 proxyId, int32 ownId, int64_t stop, bool makes,
          bool casts)
        : m_census(census), m_own(own), m_proxyId(proxyId), m_ownId(ownId), m_stop(stop), m_makes(makes),
          m_casts(casts), m_spent(census.total.cost() + census.m_looks * census.m_lookWeight) {}
    bool QueryCallback(int32 otherId) {
        ++m_census.m_looks;
        m_spent += m_census.m_lookWeight;
        if (otherId == m_proxyId) {
            return true;
        }
        Box& other = m_census.box(otherId);
        // Both rays cross the other box: they go if either body goes.
        if (m_casts) {
            adds.rays += 2;
            other.rayHits += 2;
            m_spent += 2 * KXPStepWork::kRayCost;
        }
        if (m_proxyId != b2BroadPhase::e_nullProxy && otherId > m_proxyId && other.moved) {
            return true;
        }
        ++adds.pairs;
        // Box2D looks for the pair's contact among those of the box that came later; a box not
        // yet made is taken to come first.
        const int32 walked =
            m_ownId == b2BroadPhase::e_nullProxy || otherId > m_ownId ? other.contacts : m_own.contacts;
        adds.walks += walked;
        m_spent += KXPStepWork::kPairCost + walked * KXPStepWork::kWalkCost;
        if (m_makes && makesContact(m_own, other)) {
            ++adds.contacts;
            m_spent += KXPStepWork::kContactCost + KXPStepWork::kMadeCost;
        }
        cut = m_spent > m_stop;
        return !cut;
    }
    KXPStepWork adds;
    // Stopped before it found every box.
    bool cut = false;

private:
    KXPStepCensus& m_census;
    const Box m_own;
    const int32 m_proxyId;
    const int32 m_ownId;
    const int64_t m_stop;
    const bool m_makes;
    const bool m_casts;
    int64_t m_spent;
};

KXPStepCensus::Box KXPStepCensus::boxOf(const b2Fixture& fixture) {
    Box box;
    const b2Body& body = *fixture.GetBody();
    box.body = &body;
    box.filter = fixture.GetFilterData();
    box.contacts = contactsOf(body);
    box.falling = body.GetType() == b2_dynamicBody;
    box.known = true;
    return box;
}

void KXPStepCensus::attributeRayHits() {
    for (const Box& entry : m_boxes) {
        if (entry.known && entry.rayHits > 0) {
            m_byBody[const_cast<b2Body*>(entry.body)].rays += entry.rayHits;
        }
    }
}

KXPStepCensus::Box& KXPStepCensus::box(int32 proxyId) {
    const size_t index = static_cast<size_t>(proxyId);
    if (index >= m_boxes.size()) {
        m_boxes.resize(index + 1);
    }
    Box& entry = m_boxes[index];
    if (!entry.known) {
        if (const b2FixtureProxy* proxy = m_view.proxy(proxyId);
            proxy != nullptr && proxy->fixture != nullptr) {
            entry = boxOf(*proxy->fixture);
            entry.moved = m_view.wasMoved(proxyId);
        }
    }
    return entry;
}

KXPStepWork KXPStepCensus::countAt(const Box& own, const b2AABB& bounds, int32 proxyId, int32 ownId,
                                   int64_t stop, bool makes, bool casts, bool* cut) {
    Query query(*this, own, proxyId, ownId, stop, makes, casts);
    m_view.broadPhase().Query(&query, bounds);
    if (cut != nullptr) {
        *cut = *cut || query.cut;
    }
    return query.adds;
}

void KXPStepCensus::countMoved(int32 proxyId, int64_t stop, bool casts) {
    const Box own = box(proxyId);
    if (!own.known) {
        return;
    }
    // A box moved twice (made, then given its type) is looked up twice; its contacts are made the
    // first time, the second only walks to them.
    const bool again = !m_lookedUp.insert(proxyId).second;
    bool cut = false;
    KXPStepWork adds =
        countAt(own, m_view.fatBox(proxyId), proxyId, proxyId, stop, !again, casts && !again, &cut);
    // Making each contact walks the box's contacts made before it (the newer box is walked).
    adds.walks += adds.contacts * adds.contacts / 2;
    adds.made = adds.contacts;
    b2Body* body = const_cast<b2Body*>(own.body);
    add(body, adds);
    // Cut short by the stop: it adds more than was counted.
    if (cut) {
        addUnknown(body);
    }
}

KXPStepWork KXPStepCensus::countBody(b2Body& body, bool inBroadPhase, int64_t stop, bool* cut) {
    KXPStepWork adds;
    for (b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        const Box own = boxOf(*fixture);
        for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            const int32 id =
                inBroadPhase ? KXPBroadPhaseView::proxyIdOf(*fixture, child) : b2BroadPhase::e_nullProxy;
            const b2AABB bounds = inBroadPhase ? m_view.fatBox(id)
                                               : madeBoxOf(*fixture->GetShape(), body.GetTransform(), child);
            adds.add(countAt(own, bounds, b2BroadPhase::e_nullProxy, id, stop, true, false, cut));
        }
    }
    adds.made = adds.contacts;
    return adds;
}

void KXPStepCensus::add(b2Body* body, const KXPStepWork& adds) {
    m_byBody[body].add(adds);
    total.add(adds);
}

void KXPStepCensus::addUnknown(b2Body* body) {
    m_cutShort = true;
    m_byBody[body].pairs = KXPStepWork::kUnknown;
}

void KXPStepCensus::countWalks(bool byBody) {
    total.walks = 0;
    for (b2Body* body = const_cast<b2World&>(m_world).GetBodyList(); body != nullptr;
         body = body->GetNext()) {
        const int64_t contacts = contactsOf(*body);
        if (contacts == 0) {
            continue;
        }
        m_longestList = std::max(m_longestList, contacts);
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
