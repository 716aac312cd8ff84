#include "player/physics/KXPStepCensus.h"

#include "player/physics/KXPStepContacts.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

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
    // `halving`: each pair with another moved box counts half, whichever id is larger (the pairing
    // finds it from one side of the two), so that a sample of a crowd tells the crowd's pairs
    // whichever of its boxes it picks.
    Query(KXPStepCensus& census, const Box& own, int32 proxyId, int32 ownId, bool carried, int64_t known,
          int64_t most, bool halving)
        : m_census(census), m_own(own), m_proxyId(proxyId), m_ownId(ownId), m_carried(carried),
          m_known(known), m_most(most), m_halving(halving) {}

    bool QueryCallback(int32 otherId) {
        ++m_census.m_looks;
        if (otherId == m_proxyId) {
            return true;
        }
        if (++met > m_most) {
            stopped = true;
            return false;
        }
        const Box& other = m_census.box(otherId);
        if (other.body == nullptr) {
            return true;
        }
        // Two moved boxes pair once, from the larger id; so do two boxes carried beyond their
        // margins in the step.
        const bool half = m_halving && !m_carried && other.moved && m_proxyId != b2BroadPhase::e_nullProxy;
        if (!half && m_proxyId != b2BroadPhase::e_nullProxy && otherId > m_proxyId &&
            (m_carried ? m_census.going(otherId) : other.moved)) {
            return true;
        }
        KXPStepWork& adds = half ? halved : this->adds;
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
    KXPStepWork halved;
    // The other boxes met, and whether it stopped past `most` of them.
    int64_t met = 0;
    bool stopped = false;

private:
    KXPStepCensus& m_census;
    const Box m_own;
    const int32 m_proxyId;
    const int32 m_ownId;
    const bool m_carried;
    int64_t m_known;
    const int64_t m_most;
    const bool m_halving;
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
                                  bool carried, int64_t most, bool* stopped, int64_t* met, bool halving) {
    Query query(*this, own, proxyId, ownId, carried, own.contacts, most, halving);
    m_view.broadPhase().Query(&query, bounds);
    query.adds.add(query.halved.scaled(1, 2));
    if (stopped != nullptr) {
        *stopped = query.stopped;
    }
    if (met != nullptr) {
        *met = query.met;
    }
    // Each contact made walks the lists the contacts made before it lengthened.
    query.adds.walks = kxcount::add(query.adds.walks, kxcount::mul(query.adds.made, query.adds.made) / 2);
    query.adds.queries = 1;
    return query.adds;
}

bool KXPStepCensus::countMoved(Box& own, int32 proxyId, int64_t most, bool halving, bool scalePast) {
    contactsOf(proxyId);
    bool stopped = false;
    int64_t met = 0;
    // Its tree is walked down to the boxes it meets: a look for each level, at most.
    m_looks = kxcount::add(m_looks, m_view.broadPhase().GetTreeHeight());
    KXPStepWork adds =
        lookUp(own, m_view.fatBox(proxyId), proxyId, proxyId, false, most, &stopped, &met, halving);
    own.lookedUp = true;
    if (stopped && scalePast) {
        adds = adds.scaled(m_view.proxyCount(), most);
        met = m_view.proxyCount();
        stopped = false;
    }
    own.crowded = own.crowded || stopped;
    if (stopped) {
        return false;
    }
    own.met = met;
    own.pairs = adds.pairs;
    own.asked = adds.asked;
    own.walks = adds.walks;
    own.made = adds.made;
    own.fresh = adds.fresh;
    own.freshLight = adds.freshLight;
    own.touching = adds.touching;
    own.impacts = adds.impacts;
    return true;
}

KXPStepWork KXPStepCensus::addsOf(const Box& box, bool again) {
    KXPStepWork adds;
    adds.queries = 1;
    adds.pairs = box.pairs;
    adds.asked = box.asked;
    if (again) {
        // A box in the buffer twice (made, then given its type) is looked up twice; the second time
        // finds again the pairs of the first, and the contacts it made on the way.
        adds.walks = kxcount::mul(box.pairs, kxcount::add(box.contacts, box.made)) / 2;
        return adds;
    }
    adds.walks = box.walks;
    adds.made = box.made;
    adds.fresh = box.fresh;
    adds.freshLight = box.freshLight;
    adds.touching = box.touching;
    adds.impacts = box.impacts;
    return adds;
}

KXPStepWork KXPStepCensus::countEntry(int32 proxyId, int64_t most, bool scalePast) {
    Box& own = box(proxyId);
    if (own.body == nullptr) {
        return KXPStepWork();
    }
    const bool again = own.lookedUp;
    if (!again && !countMoved(own, proxyId, most, false, scalePast)) {
        KXPStepWork counted;
        counted.queries = 1;
        return counted;
    }
    return addsOf(own, again);
}

void KXPStepCensus::addLaterEntries(const Box& box, KXPStepWork& work) {
    if (box.entries <= 1) {
        return;
    }
    const KXPStepWork again = addsOf(box, true);
    const int64_t times = box.entries - 1;
    work.queries = kxcount::add(work.queries, times);
    work.pairs = kxcount::add(work.pairs, kxcount::mul(again.pairs, times));
    work.asked = kxcount::add(work.asked, kxcount::mul(again.asked, times));
    work.walks = kxcount::add(work.walks, kxcount::mul(again.walks, times));
}

KXPStepWork KXPStepCensus::pairingAdds(const Box& box) {
    KXPStepWork adds = addsOf(box, false);
    addLaterEntries(box, adds);
    return adds;
}

const std::vector<int32>& KXPStepCensus::pairedBoxes() const {
    static const std::vector<int32> none;
    return m_memo.pairedStamp == m_stamp ? m_memo.paired : none;
}

const KXPStepCensus::Box* KXPStepCensus::pairingOf(int32 proxyId) const {
    const size_t index = static_cast<size_t>(proxyId);
    const size_t page = index / Memo::kPageBoxes;
    if (proxyId == b2BroadPhase::e_nullProxy || page >= m_memo.pages.size() ||
        m_memo.pages[page] == nullptr) {
        return nullptr;
    }
    const Box& entry = m_memo.pages[page][index % Memo::kPageBoxes];
    return entry.stamp == m_stamp && entry.lookedUp && entry.body != nullptr ? &entry : nullptr;
}

namespace {

// Every index below `count` once, each step a stride coprime to it near its golden section from an
// offset of `salt`: a run of the visits lands all over the range.
class Visit {
public:
    Visit(int32 count, uint32_t salt) : m_count(count) {
        int64_t stride = std::max<int64_t>(static_cast<int64_t>(count * 0.6180339887), 1);
        while (std::gcd(stride, static_cast<int64_t>(count)) != 1) {
            ++stride;
        }
        m_stride = stride;
        m_offset = static_cast<int64_t>(salt % static_cast<uint32_t>(std::max(count, 1)));
    }
    int32 index(int32 visit) const { return static_cast<int32>((m_offset + visit * m_stride) % m_count); }

private:
    int64_t m_count;
    int64_t m_stride = 1;
    int64_t m_offset = 0;
};

// The average of `sum` over `count` boxes (`met` boxes met in all), given to each box of a crowd.
class Average {
public:
    Average(const KXPStepWork& sum, int64_t met, int64_t count)
        : m_each(count > 0 ? sum.scaled(1, count) : KXPStepWork()), m_met(count > 0 ? met / count : 0) {}
    void give(KXPStepCensus::Box& box) const {
        box.pairs = m_each.pairs;
        box.asked = m_each.asked;
        box.walks = m_each.walks;
        box.made = m_each.made;
        box.fresh = m_each.fresh;
        box.freshLight = m_each.freshLight;
        box.touching = m_each.touching;
        box.impacts = m_each.impacts;
        box.met = m_met;
        box.averaged = true;
    }

private:
    const KXPStepWork m_each;
    const int64_t m_met;
};

} // namespace

KXPStepWork KXPStepCensus::countBoxes(const std::vector<int32>& boxes, int64_t looks, int64_t crowd,
                                      int64_t crowdLooks, uint32_t salt) {
    KXPStepWork work;
    if (boxes.empty()) {
        return work;
    }
    const int64_t started = m_looks;
    // The boxes are visited in an order that spreads any run of them over all of them: where the
    // looks run out, those looked up are a fair sample of the rest, whatever order the boxes came in
    // (a crowd laid after a hundred thousand boxes apart).
    const Visit visit(static_cast<int32>(boxes.size()), salt);
    std::vector<int32>& crowded = m_memo.crowded;
    std::vector<int32>& unlooked = m_memo.unlooked;
    crowded.clear();
    unlooked.clear();
    KXPStepWork exact;
    int64_t exactMet = 0;
    int64_t exactBoxes = 0;
    bool countFirst = false;
    // The boxes of the crowds met so far: a box the very same as one of them (a copy laid at the
    // same point) meets what it meets.
    std::array<b2AABB, 8> crowds;
    size_t crowdCount = 0;
    const auto sameAsACrowd = [&](const b2AABB& fat) {
        for (size_t index = 0; index < std::min(crowdCount, crowds.size()); ++index) {
            const b2AABB& seen = crowds[index];
            if (seen.lowerBound == fat.lowerBound && seen.upperBound == fat.upperBound) {
                return true;
            }
        }
        return false;
    };
    for (int32 visited = 0; visited < static_cast<int32>(boxes.size()); ++visited) {
        const int32 proxyId = boxes[static_cast<size_t>(visit.index(visited))];
        Box& own = box(proxyId);
        if (kxcount::sub(m_looks, started) >= looks) {
            unlooked.push_back(proxyId);
            continue;
        }
        // Right after a box of a crowd, the next is first only counted as far as a crowd's boxes (a
        // crowd's boxes come together): those of a crowd are then never looked up box by box.
        const b2AABB& fat = m_view.fatBox(proxyId);
        const bool ofACrowd = sameAsACrowd(fat) || (countFirst && overlaps(proxyId, crowd) > crowd);
        if (!ofACrowd && countMoved(own, proxyId, crowd)) {
            exact.add(addsOf(own, false));
            exactMet = kxcount::add(exactMet, own.met);
            ++exactBoxes;
            countFirst = false;
        } else {
            own.lookedUp = true;
            own.crowded = true;
            crowded.push_back(proxyId);
            countFirst = true;
            if (!sameAsACrowd(fat)) {
                crowds[crowdCount++ % crowds.size()] = fat;
            }
        }
    }
    // The crowd's sample, looked up whole, in the order of a hash of their place: spread over the
    // crowd whatever order its boxes came in.
    if (!crowded.empty()) {
        KXPStepWork sample;
        int64_t sampleMet = 0;
        const int64_t sampled = sampleWhole(crowded, kCrowdShare, crowdLooks, salt, sample, sampleMet);
        // Every box of the crowd, those of the sample too, takes the sample's average: boxes of one
        // crowd rank alike, the newest first.
        const Average average(sample, sampleMet, sampled);
        for (const int32 proxyId : crowded) {
            average.give(box(proxyId));
        }
        const int64_t count = static_cast<int64_t>(crowded.size());
        exact.add(sample.scaled(count, sampled));
        exactMet = kxcount::add(exactMet, kxcount::scale(sampleMet, count, sampled));
        exactBoxes += count;
    }
    // Boxes past the looks take the average of those looked up, and tell nothing of their own.
    const Average average(exact, exactMet, exactBoxes);
    for (const int32 proxyId : unlooked) {
        Box& own = box(proxyId);
        own.lookedUp = true;
        own.unlooked = true;
        average.give(own);
    }
    work = exact;
    if (!unlooked.empty() && exactBoxes > 0) {
        work.add(exact.scaled(static_cast<int64_t>(unlooked.size()), exactBoxes));
    }
    return work;
}

int64_t KXPStepCensus::sampleWhole(const std::vector<int32>& boxes, size_t share, int64_t looks,
                                   uint32_t salt, KXPStepWork& sum, int64_t& met) {
    std::vector<std::pair<uint32_t, int32>>& order = m_memo.order;
    order.clear();
    for (size_t index = 0; index < boxes.size(); ++index) {
        order.emplace_back(scatter(static_cast<uint32_t>(index), salt), boxes[index]);
    }
    const size_t most =
        std::min(order.size(),
                 std::clamp(order.size() / share, static_cast<size_t>(kLeastCrowdSample), kCrowdSampleMost));
    std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(most - 1), order.end());
    std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(most));
    const int64_t before = m_looks;
    int64_t sampled = 0;
    for (size_t index = 0; index < most; ++index) {
        if (sampled >= kLeastCrowdSample && kxcount::sub(m_looks, before) >= looks) {
            break;
        }
        Box& own = box(order[index].second);
        // A box of a crowd past what one look-up follows (a million boxes at one point) is told by
        // those it met, so that the sample's first eight stay within a count too.
        countMoved(own, order[index].second, kCarriedBoxes, true, true);
        sum.add(addsOf(own, false));
        met = kxcount::add(met, own.met);
        ++sampled;
    }
    return sampled;
}

KXPStepWork KXPStepCensus::againOf(const std::vector<int32>& boxes) {
    KXPStepWork work;
    for (const int32 proxyId : boxes) {
        addLaterEntries(box(proxyId), work);
    }
    return work;
}

KXPStepWork KXPStepCensus::firstPairing(int64_t looks, int64_t crowd, int64_t crowdLooks, uint32_t salt,
                                        const std::vector<const b2Body*>* entering) {
    const int32 moved = m_view.moveCount();
    std::vector<int32>& paired = m_memo.paired;
    std::vector<int32>& pool = m_memo.pool;
    paired.clear();
    pool.clear();
    m_memo.poolWork = KXPStepWork();
    m_memo.pairedStamp = m_stamp;
    KXPStepWork work;
    if (moved <= 0) {
        return work;
    }
    // Each box once, in the buffer's order, with its entries (each after the first finds its pairs
    // again); those of bodies entering the physics counted box by box, the others pooled.
    std::vector<int32>& counted = m_memo.counted;
    counted.clear();
    for (int32 index = 0; index < moved; ++index) {
        const int32 proxyId = m_view.movedProxy(index);
        if (proxyId == b2BroadPhase::e_nullProxy || m_view.proxy(proxyId) == nullptr) {
            continue;
        }
        Box& own = box(proxyId);
        if (own.body == nullptr) {
            continue;
        }
        if (own.entries++ == 0) {
            paired.push_back(proxyId);
            const bool enters =
                entering == nullptr || std::binary_search(entering->begin(), entering->end(), own.body);
            (enters ? counted : pool).push_back(proxyId);
        }
    }
    work = countBoxes(counted, looks, crowd, crowdLooks, salt);
    work.add(againOf(counted));
    // The pool: boxes moved among what they paired with already (by the game, given a new type), a
    // sample looked up whole and scaled to them all; each takes its average until the budget acts.
    if (!pool.empty()) {
        KXPStepWork sample;
        int64_t sampleMet = 0;
        const int64_t sampled = sampleWhole(pool, kPoolShare, crowdLooks, salt, sample, sampleMet);
        const Average average(sample, sampleMet, sampled);
        for (const int32 proxyId : pool) {
            Box& own = box(proxyId);
            if (!own.lookedUp) {
                own.lookedUp = true;
                own.pooled = true;
                average.give(own);
            }
        }
        KXPStepWork& pooled = m_memo.poolWork;
        pooled = sample.scaled(static_cast<int64_t>(pool.size()), sampled);
        pooled.add(againOf(pool));
        work.add(pooled);
    }
    work.queries = moved;
    work.grown = pastRoom(work.pairs);
    return work;
}

KXPStepWork KXPStepCensus::countPool(int64_t looks, int64_t crowd, int64_t crowdLooks, uint32_t salt,
                                     KXPStepWork* before) {
    if (m_memo.pairedStamp != m_stamp) {
        *before = KXPStepWork();
        return KXPStepWork();
    }
    *before = m_memo.poolWork;
    std::vector<int32>& left = m_memo.counted;
    left.clear();
    KXPStepWork work;
    for (const int32 proxyId : m_memo.pool) {
        Box& own = box(proxyId);
        if (own.pooled) {
            own.pooled = false;
            own.lookedUp = false;
            own.averaged = false;
            left.push_back(proxyId);
        } else {
            work.add(addsOf(own, false));
        }
    }
    work.add(countBoxes(left, looks, crowd, crowdLooks, salt));
    work.add(againOf(m_memo.pool));
    m_memo.poolWork = work;
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

KXPStepWork KXPStepCensus::countCarried(const b2Body& body, float dt, int64_t* met) {
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
            int64_t boxMet = 0;
            bool stopped = false;
            KXPStepWork adds =
                lookUp(own, m_view.fatBox(proxyId), proxyId, proxyId, true, kCarriedBoxes, &stopped, &boxMet);
            if (stopped) {
                // A crowd past what one look-up follows: as if every box of the world were like those met.
                adds = adds.scaled(m_view.proxyCount(), kCarriedBoxes);
                boxMet = m_view.proxyCount();
            }
            adds.queries = 2;
            work.add(adds);
            if (met != nullptr) {
                *met = kxcount::add(*met, boxMet);
            }
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
            bool stopped = false;
            KXPStepWork adds = lookUp(own, bounds, b2BroadPhase::e_nullProxy, b2BroadPhase::e_nullProxy,
                                      false, kCarriedBoxes, &stopped);
            // A crowd past what one look-up follows: as if every box of the world were like those met.
            work.add(stopped ? adds.scaled(m_view.proxyCount(), kCarriedBoxes) : adds);
        }
    }
    return work;
}
