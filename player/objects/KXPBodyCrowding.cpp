#include "player/objects/KXPBodyCrowding.h"

#include "model/KXDebugLog.h"
#include "model/KXPhysicsBounds.h"
#include "model/classes/KXBaseModelObject.h"
#include "player/base/KXPTrace.h"
#include "player/objects/KXPBodyData.h"
#include "player/objects/KXPObject.h"

#include <box2d/b2_distance.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Resting bodies overlap by about Box2D's slop; its solver lets none sink in further than a few.
constexpr float kTouchingDepth = 3.0f * b2_linearSlop;

// A fixture's broad-phase proxy: Box2D keeps each child's bounds as the first member of its proxy.
int32 proxyIdOf(const b2Fixture& fixture, int32 child) {
    return reinterpret_cast<const b2FixtureProxy*>(&fixture.GetAABB(child))->proxyId;
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

// Counts the boxes of the broad phase a box overlaps, stopping past a bound.
class BoxCounter {
public:
    explicit BoxCounter(int bound) : m_bound(bound) {}
    bool QueryCallback(int32 /*proxyId*/) { return ++m_count <= m_bound; }
    int count() const { return m_count; }

private:
    const int m_bound;
    int m_count = 0;
};

bool sameBox(const b2AABB& a, const b2AABB& b) {
    return a.lowerBound == b.lowerBound && a.upperBound == b.upperBound;
}

float shapeSize(const b2Shape& shape) {
    switch (shape.GetType()) {
    case b2Shape::e_circle:
        return 2.0f * shape.m_radius;
    case b2Shape::e_polygon: {
        const auto& polygon = static_cast<const b2PolygonShape&>(shape);
        b2Vec2 lower = polygon.m_vertices[0];
        b2Vec2 upper = lower;
        for (int32 index = 1; index < polygon.m_count; ++index) {
            lower = b2Min(lower, polygon.m_vertices[index]);
            upper = b2Max(upper, polygon.m_vertices[index]);
        }
        return std::max(upper.x - lower.x, upper.y - lower.y) + 2.0f * shape.m_radius;
    }
    default: {
        // Edges and chains: their bounds at the body's origin.
        b2AABB box;
        box.lowerBound.Set(0.0f, 0.0f);
        box.upperBound.Set(0.0f, 0.0f);
        bool first = true;
        for (int32 child = 0; child < shape.GetChildCount(); ++child) {
            b2AABB own;
            shape.ComputeAABB(&own, b2Transform(b2Vec2_zero, b2Rot(0.0f)), child);
            if (first) {
                box = own;
                first = false;
            } else {
                box.Combine(own);
            }
        }
        const b2Vec2 extent = box.upperBound - box.lowerBound;
        return std::max(extent.x, extent.y);
    }
    }
}

// Whether two shapes overlap by more than resting bodies do: their cores (the shapes less the
// rounding Box2D gives polygons) come closer than the roundings and the slop allow.
bool overlapsBeyondTouching(const b2Fixture& a, int32 childA, const b2Fixture& b, int32 childB,
                            float smallerSize) {
    b2DistanceInput input;
    input.proxyA.Set(a.GetShape(), childA);
    input.proxyB.Set(b.GetShape(), childB);
    input.transformA = a.GetBody()->GetTransform();
    input.transformB = b.GetBody()->GetTransform();
    input.useRadii = false;
    b2SimplexCache cache;
    cache.count = 0;
    b2DistanceOutput output;
    b2Distance(&output, &cache, &input);
    const float depth = input.proxyA.m_radius + input.proxyB.m_radius - output.distance;
    // Bodies smaller than the slop pile up when they sink into each other by half.
    return depth > std::min(kTouchingDepth, 0.5f * smallerSize);
}

// Whether a joint between the two keeps them from colliding.
bool joinedApart(const b2Body& a, const b2Body& b) {
    for (const b2JointEdge* edge = a.GetJointList(); edge != nullptr; edge = edge->next) {
        if (edge->other == &b && !edge->joint->GetCollideConnected()) {
            return true;
        }
    }
    return false;
}

// Whether Box2D makes a contact of the two (worked out every step) once they move as those types:
// one of them dynamic, no joint keeping them apart, and their filters let them.
bool makeContact(b2Fixture& a, b2BodyType typeA, b2Fixture& b, b2BodyType typeB) {
    if ((typeA != b2_dynamicBody && typeB != b2_dynamicBody) || joinedApart(*a.GetBody(), *b.GetBody())) {
        return false;
    }
    b2ContactFilter filter;
    return filter.ShouldCollide(&a, &b);
}

} // namespace

// One body of a crowd and what it adds to the count of the body judged.
struct KXPBodyCrowding::Overlap {
    b2Body* body;
    Count adds;
};

// Walks the broad phase around the body judged, box by box, counting the boxes of other bodies at
// least as large that overlap its own: all of them, and those of its own rank (a character counts
// characters). Around a character it also keeps the bodies ranked first that crowd it.
class KXPBodyCrowding::Query {
public:
    Query(const KXPBodyCrowding& crowding, const b2BroadPhase& broadPhase, b2Body& body, Rank rank,
          bool moving)
        : m_crowding(crowding), m_broadPhase(broadPhase), m_body(body), m_rank(rank), m_moving(moving),
          m_size(sizeOf(body)), m_motion(crowding.m_motionOf(&body)) {
        m_all.still = m_own.still = !moving;
    }

    // Box by box of the body: Box2D's own boxes, or for a body not yet in the broad phase the
    // boxes Box2D would give it there.
    void run() {
        for (b2Fixture* fixture = m_body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
            m_fixture = fixture;
            for (m_child = 0; m_child < fixture->GetShape()->GetChildCount() && !m_stopped; ++m_child) {
                m_broadPhase.Query(this, m_body.IsEnabled()
                                             ? m_broadPhase.GetFatAABB(proxyIdOf(*fixture, m_child))
                                             : boxOf(*fixture->GetShape(), m_body.GetTransform(), m_child));
            }
        }
    }

    const Count& all() const { return m_all; }
    const Count& own() const { return m_own; }
    std::vector<Overlap>& others() { return m_others; }

    // Called by the broad phase for each box overlapping the one asked about.
    bool QueryCallback(int32 proxyId) {
        const auto* proxy = static_cast<const b2FixtureProxy*>(m_broadPhase.GetUserData(proxyId));
        b2Body* other = proxy->fixture->GetBody();
        if (other == &m_body) {
            return true;
        }
        const ProxyInfo* info = m_crowding.proxyInfo(proxyId, proxy->fixture);
        // Two bodies that stand still cost the step nothing once both have been paired in their
        // first step: Box2D never looks at the pair again.
        if (!m_moving && other->GetType() == b2_staticBody &&
            (info == nullptr || info->round != m_crowding.m_step)) {
            return true;
        }
        if ((info != nullptr ? info->size : sizeOf(*other)) < m_size) {
            return true;
        }
        Count adds;
        adds.pairs = 1;
        const b2BodyType otherMotion = info != nullptr ? info->motion : other->GetType();
        if (makeContact(*m_fixture, m_motion, *proxy->fixture, otherMotion)) {
            adds.contacts = 1;
            if (!m_fixture->IsSensor() && !proxy->fixture->IsSensor() &&
                overlapsBeyondTouching(*m_fixture, m_child, *proxy->fixture, proxy->childIndex, m_size)) {
                adds.piled = 1;
            }
        }
        add(m_all, adds);
        if (m_rank != Rank::last) {
            m_stopped = m_all.crowded();
            return !m_stopped;
        }
        const Rank otherRank = info != nullptr ? info->rank : m_crowding.m_rankOf(other);
        if (otherRank == Rank::last) {
            add(m_own, adds);
            m_stopped = m_own.crowded();
        } else if (otherRank == Rank::first) {
            m_others.push_back(Overlap{other, adds});
        }
        return !m_stopped;
    }

    static void add(Count& count, const Count& adds) {
        count.piled += adds.piled;
        count.contacts += adds.contacts;
        count.pairs += adds.pairs;
    }

private:
    const KXPBodyCrowding& m_crowding;
    const b2BroadPhase& m_broadPhase;
    b2Body& m_body;
    const Rank m_rank;
    const bool m_moving;
    const float m_size;
    const b2BodyType m_motion;
    b2Fixture* m_fixture = nullptr;
    int32 m_child = 0;
    bool m_stopped = false;
    Count m_all;
    Count m_own;
    std::vector<Overlap> m_others;
};

KXPBodyCrowding::Rank KXPBodyCrowding::gameRankOf(b2Body* body) {
    const KXPObject* object = KXPBodyData::object(body);
    if (object == nullptr) {
        return Rank::never;
    }
    return (object->getType() & KXPObject::kTypeCharacter) != 0 ? Rank::last : Rank::first;
}

void KXPBodyCrowding::sayLeftOut(const KXPObject& object, const Count& count, const KXPObject* crowded) {
    const auto nameOf = [](const KXPObject& of) {
        return of.getModel() ? of.getModel()->name() : std::string();
    };
    const auto idOf = [](const KXPObject& of) { return of.getModel() ? of.getModel()->id() : 0u; };
    const std::string name = nameOf(object);
    const unsigned int id = idOf(object);
    if (crowded != nullptr && crowded != &object) {
        debugLog("[KXPBodyCrowding] - %s (model %u) left out of the physics: it crowds the character %s "
                 "(model %u), whose box overlaps the boxes of %d bodies at least as large",
                 name.c_str(), id, nameOf(*crowded).c_str(), idOf(*crowded), count.pairs);
    } else if (count.piled > kMaxPiledBodies) {
        debugLog("[KXPBodyCrowding] - %s (model %u) left out of the physics: its shape overlaps %d bodies "
                 "at least as large that collide with it",
                 name.c_str(), id, count.piled);
    } else if (count.contacts > kMaxContactsAt) {
        debugLog("[KXPBodyCrowding] - %s (model %u) left out of the physics: it would touch the boxes of %d "
                 "bodies at least as large",
                 name.c_str(), id, count.contacts);
    } else {
        debugLog(
            "[KXPBodyCrowding] - %s (model %u) left out of the physics: its box overlaps the boxes of %d "
            "bodies at least as large",
            name.c_str(), id, count.pairs);
    }
    kxTrace("bodies", "bodies left-out name=%s id=%u piled=%d contacts=%d pairs=%d", name.c_str(), id,
            count.piled, count.contacts, count.pairs);
}

b2BodyType KXPBodyCrowding::gameMotionOf(b2Body* body) {
    const KXPObject* object = KXPBodyData::object(body);
    return object != nullptr ? object->bodyTypeInMotion() : body->GetType();
}

KXPBodyCrowding::KXPBodyCrowding(RankOf rankOf, MotionOf motionOf)
    : m_rankOf(std::move(rankOf)), m_motionOf(std::move(motionOf)) {}

void KXPBodyCrowding::watch(b2World& world) {
    if (!kx::physicsBoundsOn()) {
        return;
    }
    world.SetContactFilter(this);
    world.SetDestructionListener(this);
}

KXPBodyCrowding* KXPBodyCrowding::of(const b2Body* body) {
    return body != nullptr ? of(*body->GetWorld()) : nullptr;
}

KXPBodyCrowding* KXPBodyCrowding::of(const b2World& world) {
    return dynamic_cast<KXPBodyCrowding*>(world.GetContactManager().m_contactFilter);
}

bool KXPBodyCrowding::isBusy(const b2World& world, const b2Shape& shape, const b2Transform& transform) {
    const b2BroadPhase& broadPhase = world.GetContactManager().m_broadPhase;
    BoxCounter counter(kBusyBoxes);
    for (int32 child = 0; child < shape.GetChildCount() && counter.count() <= kBusyBoxes; ++child) {
        broadPhase.Query(&counter, boxOf(shape, transform, child));
    }
    return counter.count() > kBusyBoxes;
}

void KXPBodyCrowding::note(b2Body* body, bool made) {
    if (KXPBodyCrowding* crowding = of(body)) {
        crowding->noteBody(body, made ? Change::made : Change::changed);
    }
}

void KXPBodyCrowding::setTransform(b2Body* body, const b2Vec2& position, float angle) {
    if (body == nullptr || body->GetWorld()->IsLocked()) {
        return;
    }
    KXPBodyCrowding* crowding = of(body);
    const b2Fixture* first = body->GetFixtureList();
    if (crowding == nullptr || !body->IsEnabled() || first == nullptr ||
        first->GetShape()->GetChildCount() == 0) {
        body->SetTransform(position, angle);
        return;
    }
    // Box2D pairs the body anew only where its box had to grow: a body that keeps its box (one
    // that follows another closely every frame) costs nothing more, and is not judged again.
    const b2BroadPhase& broadPhase = body->GetWorld()->GetContactManager().m_broadPhase;
    const b2AABB before = broadPhase.GetFatAABB(proxyIdOf(*first, 0));
    body->SetTransform(position, angle);
    if (!sameBox(before, broadPhase.GetFatAABB(proxyIdOf(*first, 0)))) {
        crowding->noteBody(body, Change::moved);
    }
}

void KXPBodyCrowding::noteBody(b2Body* body, Change change) {
    auto found = m_records.find(body);
    if (found == m_records.end()) {
        found = m_records.emplace(body, Record{}).first;
        found->second.serial = m_nextSerial++;
    }
    Record& record = found->second;
    record.size = sizeOf(*body);
    record.rank = m_rankOf(body);
    record.motion = m_motionOf(body);
    record.moved = record.moved || change == Change::moved;
    record.pending = record.pending || (change == Change::made && !body->IsEnabled());
    keepProxies(*body, record, change == Change::made);
    watchKinematic(body, record, body->GetType() == b2_kinematicBody && body->IsEnabled());
    queue(body, record);
}

KXPBodyCrowding::Record* KXPBodyCrowding::find(const b2Body* body) {
    const auto found = m_records.find(body);
    return found != m_records.end() ? &found->second : nullptr;
}

void KXPBodyCrowding::keepProxies(b2Body& body, const Record& record, bool made) {
    if (!body.IsEnabled()) {
        return;
    }
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            const auto id = static_cast<size_t>(proxyIdOf(*fixture, child));
            if (id >= m_proxies.size()) {
                m_proxies.resize(std::max(id + 1, m_proxies.size() * 2));
            }
            ProxyInfo& info = m_proxies[id];
            if (made && info.fixture != fixture) {
                info.round = m_step;
            }
            info.fixture = fixture;
            info.size = record.size;
            info.rank = record.rank;
            info.motion = record.motion;
        }
    }
}

const KXPBodyCrowding::ProxyInfo* KXPBodyCrowding::proxyInfo(int32 proxyId, const b2Fixture* fixture) const {
    const auto id = static_cast<size_t>(proxyId);
    return id < m_proxies.size() && m_proxies[id].fixture == fixture ? &m_proxies[id] : nullptr;
}

const KXPBodyCrowding::Record* KXPBodyCrowding::findRecord(const b2Body* body) const {
    const auto found = m_records.find(body);
    return found != m_records.end() ? &found->second : nullptr;
}

uint64_t KXPBodyCrowding::serialOf(const b2Body* body) const {
    const Record* record = findRecord(body);
    return record != nullptr ? record->serial : 0;
}

void KXPBodyCrowding::queue(b2Body* body, Record& record) {
    if (!record.queued) {
        record.queued = true;
        m_queue.push_back(body);
    }
}

void KXPBodyCrowding::flag(b2Body* body) {
    if (Record* record = find(body); record != nullptr && !record->flagged) {
        record->flagged = true;
        queue(body, *record);
    }
}

void KXPBodyCrowding::watchKinematic(b2Body* body, Record& record, bool kinematic) {
    if (kinematic && record.kinematicSlot < 0) {
        record.kinematicSlot = static_cast<int>(m_kinematics.size());
        m_kinematics.push_back(body);
    } else if (!kinematic && record.kinematicSlot >= 0) {
        b2Body* last = m_kinematics.back();
        m_kinematics[static_cast<size_t>(record.kinematicSlot)] = last;
        find(last)->kinematicSlot = record.kinematicSlot;
        m_kinematics.pop_back();
        record.kinematicSlot = -1;
    }
}

void KXPBodyCrowding::collectMovedKinematics() {
    for (b2Body* body : m_kinematics) {
        const b2Fixture* fixture = body->GetFixtureList();
        if (fixture == nullptr || fixture->GetShape()->GetChildCount() == 0) {
            continue;
        }
        const int32 id = proxyIdOf(*fixture, 0);
        const ProxyInfo* info = proxyInfo(id, fixture);
        if (info != nullptr && m_step - info->judgedRound < kKinematicRounds) {
            continue;
        }
        const b2AABB& box = body->GetWorld()->GetContactManager().m_broadPhase.GetFatAABB(id);
        if (info == nullptr || !sameBox(box, info->judgedBox)) {
            queue(body, *find(body));
        }
    }
}

int KXPBodyCrowding::beforeStep(b2World& world, const TakenOut& takenOut) {
    if (world.IsLocked()) {
        return 0;
    }
    collectMovedKinematics();
    struct Candidate {
        b2Body* body;
        Rank rank;
        uint64_t serial;
        bool moving;
    };
    std::vector<Candidate> candidates;
    // Bodies made where the broad phase was already crowded, kept out of it until judged.
    std::vector<Candidate> pending;
    candidates.reserve(m_queue.size());
    for (b2Body* body : m_queue) {
        Record* record = find(body);
        if (record == nullptr || !record->queued) {
            continue;
        }
        record->queued = false;
        record->motion = m_motionOf(body);
        const bool moving = record->moved || record->motion != b2_staticBody;
        record->moved = false;
        record->flagged = false;
        if ((!body->IsEnabled() && !record->pending) || body->GetFixtureList() == nullptr) {
            continue;
        }
        record->rank = m_rankOf(body);
        keepProxies(*body, *record, false);
        if (record->pending) {
            pending.push_back(Candidate{body, record->rank, record->serial, moving});
        } else if (record->rank != Rank::never) {
            candidates.push_back(Candidate{body, record->rank, record->serial, moving});
        }
    }
    m_queue.clear();
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.rank != b.rank) {
            return a.rank == Rank::first;
        }
        return a.serial > b.serial;
    });
    int takenOutCount = 0;
    for (const Candidate& candidate : candidates) {
        if (candidate.body->IsEnabled()) {
            takenOutCount += judge(world, *candidate.body, candidate.rank, candidate.moving, takenOut);
        }
    }
    // Oldest first, each entering the broad phase unless crowded by those before it: the bodies
    // that stay are the first made, and none ever pairs with those left out.
    std::sort(pending.begin(), pending.end(),
              [](const Candidate& a, const Candidate& b) { return a.serial < b.serial; });
    for (const Candidate& candidate : pending) {
        Record* record = find(candidate.body);
        record->pending = false;
        if (candidate.rank == Rank::never) {
            candidate.body->SetEnabled(true);
        } else {
            takenOutCount += judge(world, *candidate.body, candidate.rank, candidate.moving, takenOut);
        }
        if (candidate.body->IsEnabled()) {
            keepProxies(*candidate.body, *record, true);
        }
    }
    // Bodies made from now on are the next round's; the step pairs this round's.
    ++m_step;
    return takenOutCount;
}

int KXPBodyCrowding::judge(b2World& world, b2Body& body, Rank rank, bool moving, const TakenOut& takenOut) {
    Query query(*this, world.GetContactManager().m_broadPhase, body, rank, moving);
    query.run();
    const Count own = rank == Rank::last ? query.own() : query.all();
    if (own.crowded()) {
        takeOut(body, own, &body, takenOut);
        return 1;
    }
    body.SetEnabled(true);
    if (Record* record = find(&body)) {
        watchKinematic(&body, *record, body.GetType() == b2_kinematicBody);
    }
    if (body.GetType() == b2_kinematicBody) {
        const int32 id = proxyIdOf(*body.GetFixtureList(), 0);
        if (id >= 0 && static_cast<size_t>(id) < m_proxies.size()) {
            m_proxies[static_cast<size_t>(id)].judgedBox =
                world.GetContactManager().m_broadPhase.GetFatAABB(id);
            m_proxies[static_cast<size_t>(id)].judgedRound = m_step;
        }
    }
    if (!query.all().crowded()) {
        return 0;
    }
    // A character in a crowd not of characters: the others go, newest first, until it is not.
    std::vector<Overlap>& others = query.others();
    std::sort(others.begin(), others.end(),
              [](const Overlap& a, const Overlap& b) { return a.body < b.body; });
    std::vector<Overlap> bodies;
    for (const Overlap& overlap : others) {
        if (bodies.empty() || bodies.back().body != overlap.body) {
            bodies.push_back(Overlap{overlap.body, Count{}});
        }
        Query::add(bodies.back().adds, overlap.adds);
    }
    std::sort(bodies.begin(), bodies.end(),
              [this](const Overlap& a, const Overlap& b) { return serialOf(a.body) > serialOf(b.body); });
    const Count crowd = query.all();
    Count left = crowd;
    int taken = 0;
    for (const Overlap& other : bodies) {
        if (!left.crowded()) {
            break;
        }
        left.piled -= other.adds.piled;
        left.contacts -= other.adds.contacts;
        left.pairs -= other.adds.pairs;
        takeOut(*other.body, crowd, &body, takenOut);
        ++taken;
    }
    return taken;
}

void KXPBodyCrowding::takeOut(b2Body& body, const Count& count, b2Body* crowded, const TakenOut& takenOut) {
    body.SetEnabled(false);
    if (Record* record = find(&body)) {
        watchKinematic(&body, *record, false);
    }
    if (takenOut) {
        takenOut(&body, count, crowded);
    }
}

float KXPBodyCrowding::sizeOf(const b2Body& body) {
    float size = 0.0f;
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        size = std::max(size, shapeSize(*fixture->GetShape()));
    }
    return size;
}

KXPBodyCrowding::Count KXPBodyCrowding::countAround(const b2World& world, b2Body& body, bool moving) const {
    const Rank rank = m_rankOf(&body);
    Query query(*this, world.GetContactManager().m_broadPhase, body, rank, moving);
    query.run();
    return rank == Rank::last ? query.own() : query.all();
}

bool KXPBodyCrowding::ShouldCollide(b2Fixture* fixtureA, b2Fixture* fixtureB) {
    const bool contact = b2ContactFilter::ShouldCollide(fixtureA, fixtureB);
    b2Body* bodyA = fixtureA->GetBody();
    b2Body* bodyB = fixtureB->GetBody();
    Record* recordA = find(bodyA);
    Record* recordB = find(bodyB);
    if (recordA == nullptr && recordB == nullptr) {
        return contact;
    }
    // Both are counted: each may be the smaller.
    const float sizeA = recordA != nullptr ? recordA->size : sizeOf(*bodyA);
    const float sizeB = recordB != nullptr ? recordB->size : sizeOf(*bodyB);
    const Rank rankA = recordA != nullptr ? recordA->rank : Rank::never;
    const Rank rankB = recordB != nullptr ? recordB->rank : Rank::never;
    const bool refusedByA = recordA != nullptr && countNewPair(bodyA, *recordA, sizeB, rankB, contact);
    const bool refusedByB = recordB != nullptr && countNewPair(bodyB, *recordB, sizeA, rankA, contact);
    if (contact && bodyA->GetWorld()->GetContactCount() >= kMaxContacts) {
        flag(bodyA);
        flag(bodyB);
        return false;
    }
    return contact && !refusedByA && !refusedByB;
}

bool KXPBodyCrowding::countNewPair(b2Body* counting, Record& record, float otherSize, Rank otherRank,
                                   bool contact) {
    if (otherSize < record.size || record.rank == Rank::never) {
        return false;
    }
    if (!contact) {
        // Pairs Box2D drops count for a character among characters.
        if (record.rank != Rank::last || otherRank != Rank::last) {
            return false;
        }
        if (record.proposalStep != m_step) {
            record.proposalStep = m_step;
            record.proposals = 0;
        }
        if (++record.proposals > kMaxPairs) {
            flag(counting);
        }
        return false;
    }
    if (++record.contacts <= kMaxContactsAt) {
        return false;
    }
    // Some of those counted may have gone since: the body's own list tells.
    record.contacts = contactsAt(*counting, record.size);
    if (record.contacts < kMaxContactsAt) {
        ++record.contacts;
        return false;
    }
    flag(counting);
    return true;
}

int KXPBodyCrowding::contactsAt(b2Body& body, float size) const {
    int contacts = 0;
    for (b2ContactEdge* edge = body.GetContactList(); edge != nullptr; edge = edge->next) {
        if (sizeOf(*edge->other) >= size) {
            ++contacts;
        }
    }
    return contacts;
}

void KXPBodyCrowding::SayGoodbye(b2Joint* /*joint*/) {}

void KXPBodyCrowding::SayGoodbye(b2Fixture* fixture) {
    // Box2D tells of each fixture of a body it destroys; the body goes with its first.
    if (Record* record = find(fixture->GetBody())) {
        watchKinematic(fixture->GetBody(), *record, false);
        m_records.erase(fixture->GetBody());
    }
}
