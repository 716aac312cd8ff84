#include "player/physics/KXPStepBudget.h"

#include "model/KXDebugLog.h"
#include "model/KXPhysicsBounds.h"
#include "player/base/KXPTrace.h"
#include "player/physics/KXPBodyOwner.h"
#include "player/physics/KXPCountedRayCast.h"
#include "player/physics/KXPStepMeter.h"

#include <algorithm>
#include <cstdio>

namespace {

bool moving(const b2Body& body) {
    return body.GetLinearVelocity().LengthSquared() > 0.0f || body.GetAngularVelocity() != 0.0f;
}

std::string nameOf(b2Body* body, unsigned int* id) {
    const KXPBodyOwner* owner = KXPBodyOwner::of(body);
    if (owner == nullptr) {
        *id = 0;
        return std::string();
    }
    *id = owner->physicsModelId();
    return owner->physicsName();
}

// A well-mixed 32-bit hash of two numbers.
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

// A body that may be held out, with what it adds to the coming step.
struct KXPStepBudget::Candidate {
    b2Body* body;
    Rank rank;
    uint64_t serial;
    Work adds;
    int64_t cost;
};

void KXPStepBudget::sayHeldOut(b2Body* body, const Work& adds, bool heldOut) {
    unsigned int id = 0;
    const std::string name = nameOf(body, &id);
    if (heldOut) {
        kxTrace("bodies", "bodies held-out name=%s id=%u contacts=%lld pairs=%lld", name.c_str(), id,
                static_cast<long long>(adds.contacts),
                static_cast<long long>(adds.pairs >= KXPStepWork::kUnknown ? -1 : adds.pairs));
    } else {
        kxTrace("bodies", "bodies given-back name=%s id=%u contacts=%lld pairs=%lld", name.c_str(), id,
                static_cast<long long>(adds.contacts), static_cast<long long>(adds.pairs));
    }
}

KXPStepBudget::KXPStepBudget(RankOf rankOf) : m_rankOf(std::move(rankOf)) {}

void KXPStepBudget::watch(b2World& world) {
    // The calibration bench's meter watches the budget predict with the bounds off.
    m_observing = !kx::physicsBoundsOn() && KXPStepMeter::active() != nullptr;
    // Joints Box2D destroys with a body are told whatever the bounds.
    world.SetDestructionListener(this);
    if (!kx::physicsBoundsOn() && !m_observing) {
        return;
    }
    world.SetContactFilter(this);
}

KXPStepBudget* KXPStepBudget::of(const b2Body* body) {
    return body != nullptr ? of(*body->GetWorld()) : nullptr;
}

KXPStepBudget* KXPStepBudget::of(const b2World& world) {
    return dynamic_cast<KXPStepBudget*>(world.GetContactManager().m_contactFilter);
}

void KXPStepBudget::note(b2Body* body, bool /*made*/) {
    if (KXPStepBudget* budget = of(body)) {
        Record& record = budget->recordOf(body);
        budget->m_falling +=
            (body->GetType() == b2_dynamicBody ? 1 : 0) - (record.type == b2_dynamicBody ? 1 : 0);
        record.type = body->GetType();
        budget->watchKinematic(body, record);
    }
}

void KXPStepBudget::castRay(b2Body* caster, b2RayCastCallback* callback, const b2Vec2& from,
                            const b2Vec2& to) {
    KXPStepMeter* meter = KXPStepMeter::active();
    const int64_t started = meter != nullptr ? KXPStepMeter::threadNanos() : 0;
    const int64_t looked = kxCountedRayCast(*caster->GetWorld(), callback, from, to);
    if (meter != nullptr) {
        meter->addRays(KXPStepMeter::threadNanos() - started);
    }
    KXPStepBudget* budget = of(caster);
    if (budget == nullptr) {
        return;
    }
    Record& record = budget->recordOf(caster);
    if (record.rayStep != budget->m_step) {
        record.rayStep = budget->m_step;
        record.rays = 0;
        budget->m_casters.push_back(caster);
    }
    record.rays += looked;
    budget->m_rays += looked;
}

KXPStepBudget::Rank KXPStepBudget::rankOf(b2Body* body) {
    Record* record = find(body);
    if (record == nullptr) {
        return m_rankOf(body);
    }
    if (!record->ranked) {
        record->rank = m_rankOf(body);
        record->ranked = true;
    }
    return record->rank;
}

bool KXPStepBudget::castsFirstRays(b2Body* body) {
    const Record* record = find(body);
    return (record == nullptr || record->rayStep == 0) && rankOf(body) == Rank::last;
}

bool KXPStepBudget::isHeldOut(const b2Body* body) const {
    const auto found = m_records.find(body);
    return found != m_records.end() && found->second.held;
}

KXPStepBudget::Record& KXPStepBudget::recordOf(b2Body* body) {
    auto found = m_records.find(body);
    if (found == m_records.end()) {
        found = m_records.emplace(body, Record{}).first;
        found->second.serial = m_nextSerial++;
    }
    return found->second;
}

KXPStepBudget::Record* KXPStepBudget::find(const b2Body* body) {
    const auto found = m_records.find(body);
    return found != m_records.end() ? &found->second : nullptr;
}

void KXPStepBudget::watchKinematic(b2Body* body, Record& record) {
    const bool kinematic = body->GetType() == b2_kinematicBody;
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

bool KXPStepBudget::beforeStep(b2World& world, const Said& said) {
    if (world.IsLocked() || (!kx::physicsBoundsOn() && !m_observing)) {
        return true;
    }
    if (m_observing) {
        return observe(world);
    }
    // Rays cast since the last step, by bodies still there.
    m_raysLast = m_rays;
    m_rays = 0;
    m_castersLast.swap(m_casters);
    m_casters.clear();
    KXPStepCensus census(world);
    m_looks = 0;
    m_continuousCost = m_continuous.predictedCost(world);
    m_predicted = predict(world, census, m_continuousCost);
    const int64_t limit = m_held.empty() ? kMaxWork : kHeldWork;
    if (m_predicted.cost() > limit || census.cutShort() || !m_flagged.empty()) {
        holdOut(census, said);
    }
    // Continuous collision goes first: the step that would pass what is left of the frame's budget
    // (or, while bodies are held out, the held pile's) goes without it.
    const bool continuous =
        !m_continuous.resting() && m_frameWork + m_predicted.cost() + m_continuousCost <= limit;
    giveBack(world, said, continuous ? m_continuousCost : 0);
    m_looks += census.looks();
    m_continuous.beforeStep(continuous);
    // A bound from counts alone stands far above what most steps cost: the frame counts what the
    // contacts cost then, and what was looked up otherwise.
    const Work spent = m_counted ? m_predicted : m_boundedSpend;
    m_frameWork += spent.cost() + (continuous ? m_continuousCost : 0) + m_looks * KXPStepWork::kLookCost;
    if (kxTraceEnabled("budget")) {
        kxTrace(
            "budget",
            "budget step cost=%lld contacts=%lld made=%lld pairs=%lld walks=%lld rays=%lld continuous=%lld "
            "held=%zu",
            static_cast<long long>(m_predicted.cost()), static_cast<long long>(m_predicted.contacts),
            static_cast<long long>(m_predicted.made), static_cast<long long>(m_predicted.pairs),
            static_cast<long long>(m_predicted.walks), static_cast<long long>(m_predicted.rays),
            static_cast<long long>(continuous ? m_continuousCost : 0), m_held.size());
    }
    m_refusedLast = m_refused;
    m_refused = 0;
    m_refusedWalksLast = m_refusedWalks;
    m_refusedWalks = 0;
    ++m_step;
    return continuous;
}

bool KXPStepBudget::observe(b2World& world) {
    m_raysLast = m_rays;
    m_rays = 0;
    m_castersLast.swap(m_casters);
    m_casters.clear();
    KXPStepCensus census(world);
    m_looks = 0;
    m_continuousCost = m_continuous.predictedCost(world);
    m_predicted = predict(world, census, m_continuousCost);
    m_looks += census.looks();
    m_continuous.beforeStep(true);
    m_refusedLast = m_refused;
    m_refused = 0;
    m_refusedWalksLast = m_refusedWalks;
    m_refusedWalks = 0;
    ++m_step;
    return true;
}

std::string KXPStepBudget::parts() const {
    char line[256];
    std::snprintf(
        line, sizeof line,
        " p.contacts=%lld p.made=%lld p.pairs=%lld p.walks=%lld p.rays=%lld p.continuous=%lld p.looks=%lld",
        static_cast<long long>(m_predicted.contacts), static_cast<long long>(m_predicted.made),
        static_cast<long long>(m_predicted.pairs), static_cast<long long>(m_predicted.walks),
        static_cast<long long>(m_predicted.rays), static_cast<long long>(m_continuousCost),
        static_cast<long long>(m_looks));
    return line;
}

bool KXPStepBudget::afterStep(const b2World& world) {
    return kx::physicsBoundsOn() && m_continuous.afterStep(world);
}

KXPStepBudget::Work KXPStepBudget::predict(const b2World& world, KXPStepCensus& census,
                                           int64_t continuousCost) {
    const KXPBroadPhaseView& view = census.view();
    std::vector<b2Body*>& kinematics = m_movingKinematics;
    kinematics.clear();
    for (b2Body* body : m_kinematics) {
        if (body->IsEnabled() && moving(*body)) {
            kinematics.push_back(body);
        }
    }
    const int64_t contacts = world.GetContactCount();
    // The walks change as the contacts do: walked again every few steps, or at once when the
    // contacts grew by a quarter or bodies are held out.
    if (contacts < kFewContacts) {
        m_walks = 0;
        m_walksAt = contacts;
    } else if (m_step % kWalkSteps == 0 || contacts > m_walksAt + m_walksAt / 4 || !m_held.empty() ||
               !m_flagged.empty()) {
        census.countWalks(false);
        m_walks = census.total.walks;
        m_walksAt = contacts;
        m_longestList = census.longestList();
        m_madeSince = 0;
    }
    // Each pair found walks the contacts of one of its bodies: at most the longest list, which
    // grows by no more than the contacts made since it was counted.
    const int64_t longest =
        contacts < kFewContacts ? contacts : std::min(contacts, m_longestList + m_madeSince);
    // Cheap bounds, the cheapest first. A box looked up pairs at most with every box and makes
    // contacts only with those of falling bodies unless it falls itself; and it pairs at most with
    // the boxes in reach of all those looked up with it.
    const bool quiet = m_held.empty() && m_flagged.empty();
    const auto fits = [&](const Work& bound) {
        return quiet && m_frameWork + bound.cost() + continuousCost <= kMaxWork;
    };
    m_counted = false;
    int64_t fallingMoved = 0;
    // Characters that will cast their first ground rays after the step: each ray looks at every
    // box it overlaps, at most all of them.
    int64_t newCasters = 0;
    for (int32 index = 0; index < view.moveCount(); ++index) {
        const int32 proxyId = view.movedProxy(index);
        const b2FixtureProxy* proxy = proxyId != b2BroadPhase::e_nullProxy ? view.proxy(proxyId) : nullptr;
        if (proxy == nullptr) {
            continue;
        }
        b2Body* body = proxy->fixture->GetBody();
        fallingMoved += body->GetType() == b2_dynamicBody ? 1 : 0;
        newCasters += castsFirstRays(body) ? 1 : 0;
    }
    const int64_t lookedUp = view.moveCount() + static_cast<int64_t>(kinematics.size());
    const int64_t newContacts = fallingMoved * view.proxyCount() + (lookedUp - fallingMoved) * m_falling;
    // Making contacts walks those made before them: at most all of them each.
    const int64_t pairBound = lookedUp * view.proxyCount();
    Work bound{contacts + newContacts, pairBound + m_refusedLast,
               m_walks + m_refusedWalksLast + pairBound * longest + newContacts * newContacts / 2,
               newContacts};
    bound.rays = m_raysLast + newCasters * 2 * view.proxyCount();
    m_boundedSpend = Work{contacts, 0, m_walks};
    m_boundedSpend.rays = m_raysLast;
    if (fits(bound)) {
        return bound;
    }
    const int64_t pairs = kMaxWork / KXPStepWork::kPairCost;
    const KXPStepReach moved = KXPStepReach::ofMoved(view, pairs);
    const KXPStepReach kinematic = KXPStepReach::of(view, kinematics, pairs);
    const int64_t newInReach = moved.contactBound() + kinematic.contactBound();
    const int64_t pairsInReach = moved.pairBound() + kinematic.pairBound();
    Work inReach{contacts + newInReach, pairsInReach + m_refusedLast,
                 m_walks + m_refusedWalksLast + pairsInReach * longest + newInReach * newInReach / 2,
                 newInReach};
    inReach.rays = m_raysLast + newCasters * 2 * moved.boxesInReach;
    if (fits(inReach)) {
        return inReach;
    }
    m_counted = true;
    // While bodies are held out, or where a sample tells a step far past the budget (a pile), the
    // census's own looks count toward its stop: it holds out what it could not look up.
    Work sampled;
    bool wasSampled = false;
    if (quiet && sample(world, kinematics, contacts, kSampledBoxes, &sampled)) {
        wasSampled = true;
        if (m_frameWork + sampled.cost() + continuousCost <= kSampleWork) {
            return sampled;
        }
        // Near the budget: a sample eight times as large, which stands a little further below it.
        Work closer;
        if (sampled.cost() <= 2 * kMaxWork &&
            sample(world, kinematics, contacts, 8 * kSampledBoxes, &closer) &&
            m_frameWork + closer.cost() + continuousCost <= kCloserSampleWork) {
            return closer;
        }
    }
    if (!quiet || (wasSampled && sampled.cost() > 2 * kMaxWork)) {
        census.weighLooks();
    }
    // Looked up as the step will, each pair with the contacts it walks, stopping once the step (and
    // the looks, where weighed) passes the budget: what is left after the stop adds more than can
    // be told.
    census.total = Work{contacts, m_refusedLast, 0};
    census.total.rays = m_raysLast;
    const int64_t stop = kMaxWork;
    for (int32 index = 0; index < view.moveCount(); ++index) {
        const int32 proxyId = view.movedProxy(index);
        const b2FixtureProxy* proxy = proxyId != b2BroadPhase::e_nullProxy ? view.proxy(proxyId) : nullptr;
        if (proxy == nullptr) {
            continue;
        }
        b2Body* body = proxy->fixture->GetBody();
        if (census.passed(stop)) {
            census.addUnknown(body);
            continue;
        }
        census.countMoved(proxyId, stop, castsFirstRays(body));
    }
    for (b2Body* body : kinematics) {
        bool cut = census.passed(stop);
        if (!cut) {
            census.add(body, census.countBody(*body, true, stop, &cut));
        }
        if (cut) {
            census.addUnknown(body);
        }
    }
    // The contacts held walked again for the pairs of theirs found, if the pairs did not tell more;
    // and the pairs refused again.
    census.total.walks = std::max(census.total.walks, m_walks) + m_refusedWalksLast;
    return census.total;
}

bool KXPStepBudget::sample(const b2World& world, const std::vector<b2Body*>& kinematics, int64_t contacts,
                           size_t boxes, Work* sampled) {
    KXPStepCensus census(world);
    const KXPBroadPhaseView& view = census.view();
    const int32 moved = view.moveCount();
    const int32 wanted = static_cast<int32>(boxes);
    if (moved < 2 * wanted || !kinematics.empty()) {
        return false;
    }
    // About one box in `every` of the move buffer, picked by a hash of its place and the step: no
    // stride of the buffer (boxes made or moved in turn) lines up with it, and it changes each step.
    const uint32_t every = static_cast<uint32_t>((moved + wanted - 1) / wanted);
    int64_t looked = 0;
    for (int32 index = 0; index < moved; ++index) {
        if (scatter(static_cast<uint32_t>(index), static_cast<uint32_t>(m_step)) % every != 0) {
            continue;
        }
        const int32 proxyId = view.movedProxy(index);
        const b2FixtureProxy* proxy = proxyId != b2BroadPhase::e_nullProxy ? view.proxy(proxyId) : nullptr;
        if (proxy != nullptr) {
            census.countMoved(proxyId, kMaxWork, castsFirstRays(proxy->fixture->GetBody()));
            ++looked;
        }
    }
    m_looks += census.looks();
    if (looked == 0) {
        return false;
    }
    // Scaled to every box moved.
    const int64_t scale = (moved + looked - 1) / looked;
    Work estimate{contacts + census.total.contacts * scale, census.total.pairs * scale + m_refusedLast,
                  std::max(census.total.walks * scale, m_walks) + m_refusedWalksLast,
                  census.total.made * scale};
    estimate.rays = m_raysLast + census.total.rays * scale;
    // A sampled box that passes the budget alone: the step passes it far.
    if (census.cutShort()) {
        estimate.pairs = KXPStepWork::kUnknown;
    }
    *sampled = estimate;
    return true;
}

int KXPStepBudget::holdOut(KXPStepCensus& census, const Said& said) {
    for (b2Body* body : m_flagged) {
        if (Record* record = find(body)) {
            record->flagged = false;
        }
    }
    m_flagged.clear();
    // Each body's contacts and walks, beside what the moved boxes add.
    const int64_t walks = census.total.walks;
    census.countWalks(true);
    m_longestList = census.longestList();
    m_madeSince = 0;
    census.total.walks = std::max(walks, census.total.walks);
    m_predicted.walks = census.total.walks;
    // A caster's rays look at the boxes around it, and those of the casters around look at it;
    // the rays of a character about to cast its first cross the bodies it overlaps.
    census.attributeRayHits();
    for (b2Body* body : m_castersLast) {
        Work rays;
        rays.rays = 2 * find(body)->rays;
        census.attribute(body, rays);
    }
    std::vector<Candidate> candidates;
    for (const auto& [body, adds] : census.byBody()) {
        const Rank rank = rankOf(body);
        if (rank == Rank::never || !body->IsEnabled()) {
            continue;
        }
        const Record* record = find(body);
        candidates.push_back(
            Candidate{body, rank, record != nullptr ? record->serial : 0, adds, adds.cost()});
    }
    // The most work first, characters last; the newest first among equals.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.rank != b.rank) {
            return a.rank == Rank::first;
        }
        if (a.cost != b.cost) {
            return a.cost > b.cost;
        }
        return a.serial > b.serial;
    });
    Work left = m_predicted;
    int held = 0;
    b2Body* first = nullptr;
    for (const Candidate& candidate : candidates) {
        // Bodies not looked up go whatever is left; characters go last, once every other body
        // that adds work has gone.
        const bool unknown = candidate.adds.pairs >= KXPStepWork::kUnknown;
        if (!unknown && (left.cost() <= kRoomWork || candidate.cost == 0)) {
            break;
        }
        candidate.body->SetEnabled(false);
        Record& record = recordOf(candidate.body);
        if (!record.held) {
            record.held = true;
            m_held.push_back(candidate.body);
        }
        // What was not looked up was not counted either.
        left.contacts -= std::min(left.contacts, candidate.adds.contacts);
        left.made -= std::min(left.made, candidate.adds.made);
        if (candidate.adds.pairs < KXPStepWork::kUnknown) {
            left.pairs -= std::min(left.pairs, candidate.adds.pairs);
        }
        left.walks -= std::min(left.walks, candidate.adds.walks);
        left.rays -= std::min(left.rays, candidate.adds.rays);
        if (said) {
            said(candidate.body, candidate.adds, true);
        }
        first = first != nullptr ? first : candidate.body;
        ++held;
    }
    // Held out in serial order, so that the oldest come back first.
    std::sort(m_held.begin(), m_held.end(),
              [this](b2Body* a, b2Body* b) { return find(a)->serial < find(b)->serial; });
    m_nextGiveBack = 0;
    if (held > 0) {
        unsigned int id = 0;
        const std::string name = nameOf(first, &id);
        // Counting stopped short, the step would cost more than was counted.
        debugLog(
            "[KXPStepBudget] the next step would work out %s%lld contacts, look at %lld pairs and walk %lld "
            "(%s %lld ms): %d bodies held out of the physics where they stand, the first %s (model %u); "
            "each comes back once there is room for it",
            census.cutShort() ? "at least " : "", static_cast<long long>(m_predicted.contacts),
            static_cast<long long>(std::min(m_predicted.pairs, KXPStepWork::kUnknown)),
            static_cast<long long>(m_predicted.walks), census.cutShort() ? "past" : "some",
            static_cast<long long>(std::max(m_predicted.cost(), census.cutShort() ? kMaxWork : 0) / 1000000),
            held, name.c_str(), id);
    }
    m_predicted = left;
    m_walks = left.walks;
    return held;
}

int KXPStepBudget::giveBack(b2World& world, const Said& said, int64_t continuousCost) {
    if (m_held.empty()) {
        return 0;
    }
    KXPStepCensus census(world);
    census.total = m_predicted;
    int given = 0;
    size_t tries = std::min(kGiveBackTries, m_held.size());
    while (tries-- > 0 && !m_held.empty()) {
        if (m_nextGiveBack >= m_held.size()) {
            m_nextGiveBack = 0;
        }
        b2Body* body = m_held[m_nextGiveBack];
        bool cut = false;
        Work adds = census.countBody(*body, false, kRoomWork, &cut);
        // Its own list is walked for each of its contacts, and it lengthens theirs.
        adds.walks += adds.contacts * adds.contacts * 2;
        // A character's rays look at the boxes it overlaps, and theirs at it.
        if (rankOf(body) == Rank::last) {
            adds.rays = 4 * adds.pairs;
        }
        Work after = m_predicted;
        after.add(adds);
        // Continuous collision looks at its contacts again for each impact too.
        if (cut || after.cost() + continuousCost > kRoomWork) {
            ++m_nextGiveBack;
            continue;
        }
        m_held.erase(m_held.begin() + static_cast<std::ptrdiff_t>(m_nextGiveBack));
        find(body)->held = false;
        body->SetEnabled(true);
        m_predicted = after;
        census.total = m_predicted;
        if (said) {
            said(body, adds, false);
        }
        ++given;
    }
    m_walks = m_predicted.walks;
    m_looks += census.looks();
    return given;
}

bool KXPStepBudget::ShouldCollide(b2Fixture* fixtureA, b2Fixture* fixtureB) {
    if (!b2ContactFilter::ShouldCollide(fixtureA, fixtureB)) {
        // Box2D walked the contacts of the second body before asking: one refusal in
        // kWalkSample walks them again to tell the step's walks.
        if (m_refused++ % kWalkSample == 0) {
            for (const b2ContactEdge* edge = fixtureB->GetBody()->GetContactList(); edge != nullptr;
                 edge = edge->next) {
                m_refusedWalks += kWalkSample;
            }
        }
        return false;
    }
    if (m_observing || fixtureA->GetBody()->GetWorld()->GetContactCount() < kWorldContacts) {
        ++m_madeSince;
        return true;
    }
    for (b2Body* body : {fixtureA->GetBody(), fixtureB->GetBody()}) {
        Record& record = recordOf(body);
        if (!record.flagged) {
            record.flagged = true;
            m_flagged.push_back(body);
        }
    }
    return false;
}

void KXPStepBudget::forget(b2Body* body) {
    Record* record = find(body);
    if (record == nullptr) {
        return;
    }
    m_falling -= record->type == b2_dynamicBody ? 1 : 0;
    if (record->kinematicSlot >= 0) {
        b2Body* last = m_kinematics.back();
        m_kinematics[static_cast<size_t>(record->kinematicSlot)] = last;
        find(last)->kinematicSlot = record->kinematicSlot;
        m_kinematics.pop_back();
    }
    if (record->held) {
        m_held.erase(std::find(m_held.begin(), m_held.end(), body));
    }
    if (record->flagged) {
        m_flagged.erase(std::find(m_flagged.begin(), m_flagged.end(), body));
    }
    // Its rays were cast after the last step (or after this one): they go with it.
    for (std::vector<b2Body*>* casters : {&m_castersLast, &m_casters}) {
        if (record->rayStep != 0 && record->rayStep + 1 >= m_step) {
            const auto found = std::find(casters->begin(), casters->end(), body);
            if (found != casters->end()) {
                casters->erase(found);
            }
        }
    }
    m_records.erase(body);
}

void KXPStepBudget::SayGoodbye(b2Joint* joint) {
    if (m_jointGone) {
        m_jointGone(joint);
    }
}

void KXPStepBudget::SayGoodbye(b2Fixture* fixture) {
    // Box2D tells of each fixture of a body it destroys; the body's record goes with the first.
    forget(fixture->GetBody());
}
