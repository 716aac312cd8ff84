#include "player/physics/KXPStepCensus.h"

#include "player/physics/KXPStepContacts.h"

#include <algorithm>

namespace {

// Whether Box2D makes a contact of the two boxes once they pair: one body falling, no joint keeping
// them apart, and the filters letting them (Box2D's own rules, on the filters read).
bool makesContact(const KXPStepCensus::Box& a, const KXPStepCensus::Box& b) {
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

int64_t contactsOf(const b2Body& body) {
    int64_t contacts = 0;
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

// A well-mixed 32-bit hash of two numbers: picks a sample no stride of the move buffer lines up with.
uint32_t scatter(uint32_t a, uint32_t b) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

} // namespace

// Counts the boxes a box overlaps as the pairing finds them.
class KXPStepCensus::Query {
public:
    // `proxyId`: the box looked up (null for a body not yet in the broad phase); `ownId`: its id
    // for telling whose list a pair walks (null: it comes first); `carried`: its pairs are found
    // again, their contacts on the way; `known`: of its pairs, how many have their contact already.
    Query(KXPStepCensus& census, const Box& own, int32 proxyId, int32 ownId, bool carried, int64_t known)
        : m_census(census), m_own(own), m_proxyId(proxyId), m_ownId(ownId), m_carried(carried),
          m_known(known) {}

    bool QueryCallback(int32 otherId) {
        ++m_census.m_looks;
        if (otherId == m_proxyId) {
            return true;
        }
        const Box& other = m_census.box(otherId);
        if (other.body == nullptr) {
            return true;
        }
        // Two moved boxes pair once, from the larger id; so do two boxes carried beyond their
        // margins in the step.
        if (m_proxyId != b2BroadPhase::e_nullProxy && otherId > m_proxyId &&
            (m_carried ? m_census.going(otherId) : other.moved)) {
            return true;
        }
        ++adds.pairs;
        if (other.body == m_own.body) {
            return true;
        }
        // Box2D walks the list of the body whose box has the larger id (each list counted once a
        // census: what the census pays for them all stays within the world's contacts).
        const int64_t list = m_ownId == b2BroadPhase::e_nullProxy || otherId > m_ownId
                                 ? m_census.contactsOf(otherId)
                                 : m_own.contacts;
        if (m_carried) {
            // Found again: half the list, on average, is walked before its contact turns up.
            adds.walks = kxcount::add(adds.walks, list / 2);
            return true;
        }
        const bool makes = makesContact(m_own, other);
        if (makes && m_known > 0) {
            // Its contact is there already: found on the way, half the list on average.
            --m_known;
            adds.walks = kxcount::add(adds.walks, list / 2);
            return true;
        }
        adds.walks = kxcount::add(adds.walks, list);
        if (makes) {
            ++adds.made;
            // Made in the first pairing, it is tested in the step's own update.
            if (m_own.fixture != nullptr && other.fixture != nullptr) {
                KXPStepContacts::countFirstTest(*m_own.fixture, *other.fixture, adds);
            }
            // A contact of a still body (or a bullet's) may have a time of impact.
            adds.impacts += !m_own.falling || !other.falling ? 1 : 0;
        } else if (m_own.falling || other.falling) {
            ++adds.asked;
        }
        return true;
    }

    KXPStepWork adds;

private:
    KXPStepCensus& m_census;
    const Box m_own;
    const int32 m_proxyId;
    const int32 m_ownId;
    const bool m_carried;
    int64_t m_known;
};

KXPStepCensus::KXPStepCensus(const b2World& world, Memo& memo, uint64_t stamp)
    : m_view(world), m_memo(memo), m_stamp(stamp) {}

KXPStepCensus::Box& KXPStepCensus::box(int32 proxyId) {
    const size_t index = static_cast<size_t>(proxyId);
    const size_t page = index / Memo::kPageBoxes;
    std::vector<std::unique_ptr<Box[]>>& pages = m_memo.pages;
    if (page >= pages.size()) {
        pages.resize(std::max(page + 1, pages.size() * 2));
    }
    if (pages[page] == nullptr) {
        pages[page] = std::make_unique<Box[]>(Memo::kPageBoxes);
    }
    Box& entry = pages[page][index % Memo::kPageBoxes];
    if (entry.stamp != m_stamp) {
        entry = Box();
        entry.stamp = m_stamp;
        const b2FixtureProxy* proxy = m_view.proxy(proxyId);
        if (proxy != nullptr && proxy->fixture != nullptr) {
            const b2Body& body = *proxy->fixture->GetBody();
            entry.body = &body;
            entry.fixture = proxy->fixture;
            entry.filter = proxy->fixture->GetFilterData();
            entry.falling = body.GetType() == b2_dynamicBody;
            entry.moved = m_view.wasMoved(proxyId);
        }
    }
    return entry;
}

int64_t KXPStepCensus::contactsOf(int32 proxyId) {
    Box& entry = box(proxyId);
    if (!entry.counted && entry.body != nullptr) {
        entry.counted = true;
        entry.contacts = ::contactsOf(*entry.body);
        m_looks = kxcount::add(m_looks, entry.contacts);
        m_listed = kxcount::add(m_listed, entry.contacts);
    }
    return entry.contacts;
}

KXPStepWork KXPStepCensus::lookUp(const Box& own, const b2AABB& bounds, int32 proxyId, int32 ownId,
                                  bool carried) {
    Query query(*this, own, proxyId, ownId, carried, own.contacts);
    m_view.broadPhase().Query(&query, bounds);
    // Each contact made walks the lists the contacts made before it lengthened.
    query.adds.walks = kxcount::add(query.adds.walks, kxcount::mul(query.adds.made, query.adds.made) / 2);
    query.adds.queries = 1;
    return query.adds;
}

KXPStepWork KXPStepCensus::countMoved(int32 proxyId) {
    Box& own = box(proxyId);
    if (own.body == nullptr) {
        return KXPStepWork();
    }
    contactsOf(proxyId);
    // A box in the buffer twice (made, then given its type) is looked up twice; the second time
    // finds again the pairs of the first, and the contacts it made on the way.
    if (own.lookedUp) {
        KXPStepWork again;
        again.queries = 1;
        again.pairs = own.pairs;
        again.asked = own.asked;
        again.walks = kxcount::mul(own.pairs, own.contacts + own.made) / 2;
        return again;
    }
    own.lookedUp = true;
    const KXPStepWork adds = lookUp(own, m_view.fatBox(proxyId), proxyId, proxyId, false);
    own.pairs = adds.pairs;
    own.asked = adds.asked;
    own.made = adds.made;
    return adds;
}

KXPStepWork KXPStepCensus::firstPairing(size_t boxes, uint32_t salt) {
    const int32 moved = m_view.moveCount();
    KXPStepWork work;
    if (moved <= 0) {
        return work;
    }
    const uint32_t every = static_cast<size_t>(moved) <= boxes
                               ? 1u
                               : static_cast<uint32_t>((static_cast<size_t>(moved) + boxes - 1) / boxes);
    // A box in the buffer more than once (made, then given its type) is looked up each time, but
    // makes its contacts once: a sample scales what boxes make by the boxes there are.
    int64_t distinct = 0;
    if (every > 1) {
        const uint64_t stamp = ++m_memo.bufferStamp;
        std::vector<uint64_t>& seen = m_memo.seen;
        for (int32 index = 0; index < moved; ++index) {
            const int32 proxyId = m_view.movedProxy(index);
            if (proxyId == b2BroadPhase::e_nullProxy) {
                continue;
            }
            const size_t slot = static_cast<size_t>(proxyId);
            if (slot >= seen.size()) {
                seen.resize(std::max(slot + 1, seen.size() * 2));
            }
            distinct += seen[slot] != stamp ? 1 : 0;
            seen[slot] = stamp;
        }
    }
    int64_t looked = 0;
    for (int32 index = 0; index < moved; ++index) {
        if (every > 1 && scatter(static_cast<uint32_t>(index), salt) % every != 0) {
            continue;
        }
        const int32 proxyId = m_view.movedProxy(index);
        if (proxyId == b2BroadPhase::e_nullProxy || m_view.proxy(proxyId) == nullptr) {
            continue;
        }
        work.add(countMoved(proxyId));
        ++looked;
    }
    if (every > 1 && looked > 0) {
        const KXPStepWork once = work.scaled(distinct, looked);
        work = work.scaled(moved, looked);
        work.made = once.made;
        work.impacts = once.impacts;
        work.fresh = once.fresh;
        work.freshLight = once.freshLight;
        work.touching = once.touching;
    }
    work.queries = moved;
    work.grown = pastRoom(work.pairs);
    return work;
}

int64_t KXPStepCensus::pastRoom(int64_t pairs) const {
    return kxcount::sub(pairs, m_view.pairCapacity());
}

int64_t KXPStepCensus::overlaps(int32 proxyId, int64_t most) {
    struct Counter {
        int32 own;
        int64_t most;
        int64_t looks = 0;
        int64_t found = 0;
        bool QueryCallback(int32 other) {
            ++looks;
            found += other != own ? 1 : 0;
            return found <= most;
        }
    } counter{proxyId, most};
    m_view.broadPhase().Query(&counter, m_view.fatBox(proxyId));
    m_looks = kxcount::add(m_looks, counter.looks);
    return counter.found;
}

bool KXPStepCensus::going(int32 proxyId) {
    Box& entry = box(proxyId);
    if (!entry.goingKnown) {
        entry.goingKnown = true;
        const b2FixtureProxy* proxy = m_view.proxy(proxyId);
        const b2Body* body = entry.body;
        entry.going = body != nullptr && proxy != nullptr && body->GetType() != b2_staticBody &&
                      body->IsAwake() &&
                      m_view.leavesMargins(*proxy->fixture, proxy->childIndex, body->GetTransform(),
                                           KXPBroadPhaseView::carriedTo(*body, m_dt));
        m_looks = kxcount::add(m_looks, 1);
    }
    return entry.going;
}

KXPStepWork KXPStepCensus::countCarried(const b2Body& body, float dt) {
    m_dt = dt;
    KXPStepWork work;
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            const int32 proxyId = KXPBroadPhaseView::proxyIdOf(*fixture, child);
            if (proxyId == b2BroadPhase::e_nullProxy) {
                continue;
            }
            const Box& own = box(proxyId);
            if (own.body == nullptr) {
                continue;
            }
            contactsOf(proxyId);
            // Taken out of the tree, put back and looked up.
            KXPStepWork adds = lookUp(own, m_view.fatBox(proxyId), proxyId, proxyId, true);
            adds.queries = 2;
            work.add(adds);
        }
    }
    return work;
}

KXPStepWork KXPStepCensus::countComing(const b2Body& body) {
    KXPStepWork work;
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        Box own;
        own.body = &body;
        own.fixture = fixture;
        own.filter = fixture->GetFilterData();
        own.falling = body.GetType() == b2_dynamicBody;
        for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            const b2AABB bounds = madeBoxOf(*fixture->GetShape(), body.GetTransform(), child);
            work.add(lookUp(own, bounds, b2BroadPhase::e_nullProxy, b2BroadPhase::e_nullProxy, false));
        }
    }
    return work;
}
