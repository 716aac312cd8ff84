#include "player/physics/KXPStepBudget.h"

#include "model/KXDebugLog.h"
#include "model/KXPhysicsBounds.h"
#include "player/base/KXPTrace.h"
#include "player/physics/KXPBodyOwner.h"
#include "player/physics/KXPCountedRayCast.h"
#include "player/physics/KXPStepMeter.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// A well-mixed 32-bit hash of two numbers: picks samples that change each step.
uint32_t scatter(uint32_t a, uint32_t b) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// The counts the world keeps and those the budget keeps as they change: what every step pays for.
KXPStepWork kept(const b2World& world, const KXPStepContacts& contacts, size_t movers) {
    KXPStepWork work;
    work.contacts = world.GetContactCount() > 0 ? world.GetContactCount() : 0;
    work.touching = contacts.touching();
    work.touchingPolygons = contacts.touchingPolygons();
    work.sensing = contacts.sensing();
    work.bodies = world.GetBodyCount();
    work.moving = static_cast<int64_t>(movers);
    work.joints = world.GetJointCount();
    work.reach = work.contacts;
    return work;
}

// Whether the step's islands ask for more than Box2D's stack holds (its bodies, their speeds and
// places, the depth-first search over them, the contacts and joints): it then takes memory from the
// heap.
bool passesStack(const b2World& world) {
    const int64_t asked =
        int64_t{world.GetBodyCount()} *
            static_cast<int64_t>(2 * sizeof(b2Body*) + sizeof(b2Velocity) + sizeof(b2Position)) +
        (int64_t{world.GetContactCount()} + world.GetJointCount()) * static_cast<int64_t>(sizeof(void*));
    return asked > b2_stackSize;
}

} // namespace

KXPStepBudget::KXPStepBudget(RankOf rankOf) : m_rankOf(std::move(rankOf)) {}

// The walks of the step's pairings go through the contacts they make as well as those the world
// holds: a pile laid or streamed in at once can make ten times the contacts there were, and the
// lists its pairs walk then lie far apart in memory.
KXPStepBudget::Work KXPStepBudget::reachingMade(Work work) {
    work.reach = kxcount::add(work.contacts, work.made);
    return work;
}

void KXPStepBudget::watch(b2World& world) {
    // The calibration bench's meter watches the budget predict with the bounds off.
    m_observing = !kx::physicsBoundsOn() && KXPStepMeter::active() != nullptr;
    // Joints Box2D destroys with a body are told whatever the bounds.
    world.SetDestructionListener(this);
    m_disable.settle(world);
    if (!kx::physicsBoundsOn() && !m_observing) {
        return;
    }
    world.SetContactFilter(this);
    m_contacts.passTo(world.GetContactManager().m_contactListener);
    world.SetContactListener(&m_contacts);
}

KXPStepBudget* KXPStepBudget::of(const b2Body* body) {
    return body != nullptr ? of(*body->GetWorld()) : nullptr;
}

KXPStepBudget* KXPStepBudget::of(const b2World& world) {
    return dynamic_cast<KXPStepBudget*>(world.GetContactManager().m_contactFilter);
}

void KXPStepBudget::note(b2Body* body, bool made) {
    if (KXPStepBudget* budget = of(body)) {
        Record& record = budget->recordOf(body);
        record.type = body->GetType();
        budget->watchMoving(body, record);
        if (made) {
            budget->m_entering.push_back(body);
            // Making its shape (mostly laying its object) counts toward the frame the characters'
            // rays share.
            budget->m_frameLaid = kxcount::add(budget->m_frameLaid, kLaidCost);
        }
    }
}

void KXPStepBudget::noteEntering(b2Body* body) {
    if (KXPStepBudget* budget = of(body)) {
        budget->m_entering.push_back(body);
    }
}

void KXPStepBudget::bodyGoing(b2Body* body) {
    if (body->GetFixtureList() != nullptr) {
        return;
    }
    if (KXPStepBudget* budget = of(body)) {
        budget->forget(body);
    }
}

bool KXPStepBudget::roomForBoxes(b2Body* body, int32 boxes) {
    KXPStepBudget* budget = of(body);
    if (budget == nullptr || body->GetWorld()->IsLocked()) {
        return true;
    }
    const int32 present = body->GetWorld()->GetContactManager().m_broadPhase.GetProxyCount();
    if (!body->IsEnabled() || int64_t{present} + boxes <= budget->m_worldBoxes) {
        return true;
    }
    budget->hold(body);
    Work adds;
    sayHeldOut(body, adds, true);
    return false;
}

bool KXPStepBudget::castRay(b2Body* caster, b2RayCastCallback* callback, const b2Vec2& from,
                            const b2Vec2& to) {
    KXPStepMeter* meter = KXPStepMeter::active();
    const int64_t started = meter != nullptr ? KXPStepMeter::threadNanos() : 0;
    KXPStepBudget* budget = of(caster);
    bool cast = true;
    if (budget != nullptr) {
        cast = budget->cast(caster, callback, from, to);
    } else {
        kxCountedRayCast(*caster->GetWorld(), callback, from, to);
    }
    if (meter != nullptr) {
        meter->addRays(meter->since(started));
    }
    return cast;
}

bool KXPStepBudget::cast(b2Body* caster, b2RayCastCallback* callback, const b2Vec2& from, const b2Vec2& to) {
    Record& record = recordOf(caster);
    if (record.held) {
        return false;
    }
    // Rays may spend what is left of the frame, and at least the room, whatever the step took.
    int64_t cap = kxcount::kMax;
    int64_t frameCap = kxcount::kMax;
    const bool acts = kx::physicsBoundsOn() && !m_observing;
    if (acts) {
        const int64_t left = std::max(kMaxWork - kxcount::add(m_frameWork, m_frameLaid),
                                      kRoomWork - kxcount::mul(m_frameRays, KXPStepWork::kRayCost));
        frameCap = std::max<int64_t>(left, 0) / KXPStepWork::kRayCost;
        cap = std::max(frameCap, std::min(kRayGrace, m_frameGrace));
    }
    bool cut = false;
    const int64_t looked = kxCountedRayCast(*caster->GetWorld(), callback, from, to, cap, &cut);
    if (looked > frameCap) {
        m_frameGrace -= looked - frameCap;
    }
    if (record.rayStep != m_step) {
        record.rayStep = m_step;
        record.rays = 0;
    }
    record.rays = kxcount::add(record.rays, looked);
    m_rays = kxcount::add(m_rays, looked);
    m_frameRays = kxcount::add(m_frameRays, looked);
    m_frameWork = kxcount::add(m_frameWork, kxcount::mul(looked, KXPStepWork::kRayCost));
    if (!cut) {
        return true;
    }
    // Its rays would pass the frame: it waits outside the physics until there is room for them.
    if (!caster->GetWorld()->IsLocked()) {
        hold(caster);
        Work adds;
        adds.rays = looked;
        sayHeldOut(caster, adds, true);
    }
    return false;
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

bool KXPStepBudget::isHeldOut(const b2Body* body) const {
    const auto found = m_records.find(body);
    return found != m_records.end() && found->second.held;
}

KXPStepBudget::Record& KXPStepBudget::recordOf(b2Body* body) {
    auto found = m_records.find(body);
    if (found == m_records.end()) {
        found = m_records.emplace(body, Record{}).first;
        found->second.serial = m_nextSerial++;
        found->second.type = body->GetType();
    }
    return found->second;
}

KXPStepBudget::Record* KXPStepBudget::find(const b2Body* body) {
    const auto found = m_records.find(body);
    return found != m_records.end() ? &found->second : nullptr;
}

void KXPStepBudget::watchMoving(b2Body* body, Record& record) {
    const bool moving = record.type != b2_staticBody && !record.held;
    if (moving && record.moverSlot < 0) {
        record.moverSlot = static_cast<int>(m_movers.size());
        m_movers.push_back(body);
    } else if (!moving && record.moverSlot >= 0) {
        b2Body* last = m_movers.back();
        m_movers[static_cast<size_t>(record.moverSlot)] = last;
        find(last)->moverSlot = record.moverSlot;
        m_movers.pop_back();
        record.moverSlot = -1;
    }
}

void KXPStepBudget::beginFrame() {
    m_frameWork = 0;
    m_frameRays = 0;
    m_frameGrace = kRoomWork / KXPStepWork::kRayCost;
    m_frameLaid = 0;
}

size_t KXPStepBudget::sampleSize(size_t count, bool closer, bool allWhileFew) {
    // One in kQuickShare of them, or kSampled where the step comes closer; all of the boxes moved
    // while few moved (a few look-ups, which tell a box moved into a pile at once).
    if (closer || (allWhileFew && count <= kSampled / 8)) {
        return std::min(count, kSampled);
    }
    return std::min(count / kQuickShare, kSampled);
}

KXPStepBudget::Work KXPStepBudget::estimate(const b2World& world, KXPStepCensus& census, float dt,
                                            bool closer) {
    Work work = kept(world, m_contacts, m_movers.size());
    work.fresh = m_firstTests.fresh;
    work.freshLight = m_firstTests.freshLight;
    work.touching = kxcount::add(work.touching, m_firstTests.touching);
    work.gone = passesStack(world) ? m_gone : 0;
    m_tried = 0;
    m_sampleMet = 0;
    m_sampleListed = 0;
    // The first pairing: the boxes of the move buffer looked up as Box2D will pair them.
    const size_t moved = static_cast<size_t>(std::max(census.view().moveCount(), 0));
    // Few boxes, moved few times (a box may be in the move buffer again and again), none held out
    // (the room then is far smaller than the budget).
    const bool fewBoxes =
        census.view().proxyCount() <= kFewBoxes && moved <= static_cast<size_t>(kFewBoxes) && m_held.empty();
    if (fewBoxes || (moved == 0 && m_movers.size() < kQuickShare && !closer)) {
        // Nothing moved and too few moving to sample, or too few boxes to matter: the last step's
        // pairing tells this one's.
        m_first = Work();
        m_firstImpacts = 0;
        if (fewBoxes) {
            // What a carried body paid in a larger world no longer holds here.
            m_carriedBody = Work();
            m_walksPerPair = std::min<int64_t>(m_walksPerPair, kFewBoxes);
        }
        work.pairs = m_lastPairs;
        work.walks = kxcount::mul(m_lastPairs, m_walksPerPair);
        work.rays = m_raysLast;
        return reachingMade(work);
    }
    // The first pairing, counted once a step (the closer count takes the quick one's): every box of
    // the move buffer, so that no body that entered the step goes uncounted, whether made, laid,
    // enabled, moved or given back. A few boxes moved among few: the pairs they can find at most
    // (each with its contact made and solved) stay within a few milliseconds, and looking them up
    // would cost the budget about what the pairing costs Box2D. Only the look-ups are counted.
    if (!closer) {
        const int64_t mostPairs = kxcount::mul(static_cast<int64_t>(moved), census.view().proxyCount());
        if (m_held.empty() && mostPairs <= kFewPairs) {
            m_first = Work();
            m_first.queries = static_cast<int64_t>(moved);
        } else {
            m_first = census.firstPairing(kFirstLooks, kCrowdBoxes, kCrowdLooks,
                                          static_cast<uint32_t>(m_step), &m_entering);
        }
        m_firstImpacts = m_first.impacts;
        m_first.impacts = 0;
    }
    work.add(m_first);
    // The last pairing: the moving bodies whose boxes leave their margins in the step, each found
    // again with what it overlaps (a sample of them where many move); where none is looked at, as
    // the last step's found its pairs.
    work.rays = m_raysLast;
    const size_t movers = m_movers.size();
    size_t tries = sampleSize(movers, closer, false);
    // The quick count's sample stays within a share of the step it tells of: this one's other work,
    // or the last one's whole, whichever is more. A world too small for one body's try leaves it
    // to the last step's pairing.
    const int64_t allowance = std::max(work.cost(), m_foreseen) / kSampleShare;
    if (!closer && allowance < kTryCost) {
        tries = 0;
    }
    if (tries == 0) {
        work.pairs = kxcount::add(work.pairs, m_lastPairs);
        work.walks = kxcount::add(work.walks, kxcount::mul(m_lastPairs, m_walksPerPair));
    } else {
        Work carried;
        int64_t leaving = 0;
        int64_t met = 0;
        const int64_t metBefore = census.looks() - census.listed();
        const int64_t listedBefore = census.listed();
        size_t tried = 0;
        const int64_t looksBefore = census.looks();
        for (size_t index = 0; index < tries; ++index) {
            if (index >= kLeastTries &&
                ((!closer && sampleCost(index, census.looks() - census.listed() - metBefore,
                                        census.listed() - listedBefore) >= allowance) ||
                 census.looks() - looksBefore >= kSampleLooks)) {
                break;
            }
            ++tried;
            const size_t pick =
                movers <= tries
                    ? index
                    : scatter(static_cast<uint32_t>(index), static_cast<uint32_t>(m_step)) % movers;
            const b2Body& body = *m_movers[pick];
            if (leavesMargins(body, census.view(), dt)) {
                carried.add(census.countCarried(body, dt, &met));
                ++leaving;
            }
        }
        // What one body carried beyond its margins pays: each impact of continuous collision
        // carries two so.
        if (leaving > 0) {
            m_carriedBody = carried.scaled(1, leaving);
            m_carriedMet = met / leaving;
        }
        m_tried = tried;
        m_sampleMet = census.looks() - census.listed() - metBefore;
        m_sampleListed = census.listed() - listedBefore;
        if (movers > tried) {
            carried = carried.scaled(static_cast<int64_t>(movers), static_cast<int64_t>(tried));
        }
        m_walksPerPair = carried.pairs > 0 ? carried.walks / carried.pairs : m_walksPerPair;
        work.add(carried);
    }
    return reachingMade(work);
}

int64_t KXPStepBudget::sampleCost(size_t tried, int64_t met, int64_t listed) {
    return kxcount::add(
        kxcount::add(kxcount::mul(static_cast<int64_t>(tried), kTryCost), kxcount::mul(met, kMetCost)),
        kxcount::mul(listed, kListedCost));
}

bool KXPStepBudget::leavesMargins(const b2Body& body, const KXPBroadPhaseView& view, float dt) const {
    if (!body.IsEnabled() || body.GetType() == b2_staticBody) {
        return false;
    }
    const b2Transform to = KXPBroadPhaseView::carriedTo(body, dt);
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            if (view.leavesMargins(*fixture, child, body.GetTransform(), to)) {
                return true;
            }
        }
    }
    return false;
}

bool KXPStepBudget::beforeStep(b2World& world, const Said& said, float dt) {
    // Bodies whose rays were cut since the last step were held out: their boxes' entries go first.
    if (!world.IsLocked()) {
        m_disable.settle(world);
    }
    if (world.IsLocked() || (!kx::physicsBoundsOn() && !m_observing)) {
        return true;
    }
    m_raysLast = m_rays;
    m_rays = 0;
    // Box2D pairs the move buffer at the start of a step only where fixtures were made, enabled or
    // moved; bodies given a new type alone are paired at its end. The first tests the last step
    // foresaw for its first pairing were then counted again as its contacts came.
    if (!m_madeAtStart) {
        m_firstTestsComing.fresh = kxcount::sub(m_firstTestsComing.fresh, m_first.fresh);
        m_firstTestsComing.freshLight = kxcount::sub(m_firstTestsComing.freshLight, m_first.freshLight);
        m_firstTestsComing.touching = kxcount::sub(m_firstTestsComing.touching, m_first.touching);
    }
    m_madeAtStart = false;
    m_firstTests = m_firstTestsComing;
    m_firstTestsComing = Work();
    m_gone = m_goneComing;
    m_goneComing = 0;
    m_madeInStep = 0;
    std::sort(m_entering.begin(), m_entering.end());
    m_entering.erase(std::unique(m_entering.begin(), m_entering.end()), m_entering.end());
    KXPStepCensus census(world, m_memo, nextStamp());
    Work work = estimate(world, census, dt, false);
    // Retried after steps without it, continuous collision may meet bodies sunk into still ones.
    const int64_t candidates = m_continuous.retrying() ? KXPContinuousCollision::candidates(world) : 0;
    // Continuous collision comes after both pairings: the contacts they make are in the world by then.
    m_continuousWork = m_continuous.predicted(kxcount::add(work.contacts, work.made), m_firstImpacts,
                                              candidates, m_carriedBody);
    int64_t stepCost = work.cost();
    int64_t continuousCost = m_continuousWork.cost();
    m_looks = census.looks();
    // Counted closer near the budget, unless the quick count took a full sample of the moving
    // bodies already (the first pairing is counted whole by then).
    const bool fuller = sampleSize(m_movers.size(), false, false) < sampleSize(m_movers.size(), true, false);
    // The closer count looks at up to eight times the boxes of the quick one's sample: only where
    // that stays within a fortieth of the step it tells.
    const int64_t quickCost = sampleCost(m_tried, m_sampleMet, m_sampleListed);
    const bool affordable = kxcount::mul(quickCost, 8 * 40) <= kxcount::add(stepCost, continuousCost);
    if (fuller && affordable &&
        kxcount::add(kxcount::add(m_frameWork, stepCost), continuousCost) >= kCloserWork) {
        work = estimate(world, census, dt, true);
        m_continuousWork = m_continuous.predicted(kxcount::add(work.contacts, work.made), m_firstImpacts,
                                                  candidates, m_carriedBody);
        stepCost = work.cost();
        continuousCost = m_continuousWork.cost();
        m_looks = census.looks();
    }
    // The budget's own looks are paid by now: they count toward the frame, not toward what holding
    // bodies out can take from the step.
    m_predicted = work;
    m_foreseen = stepCost;
    bool continuous = !m_continuous.resting();
    if (!m_observing) {
        const int64_t limit = m_held.empty() ? kMaxWork : kHeldWork;
        // The entries of the move buffer the census counted: any after them came while the budget
        // acted.
        const int32 counted = census.view().moveCount();
        const bool pastBudget = kxcount::add(m_frameWork, stepCost) > kMaxWork || passesLimits();
        bool acted = false;
        // Continuous collision goes first: the step that would pass what is left of the frame's
        // budget (or, while bodies are held out, the held pile's) goes without it; then bodies are
        // held out while the rest alone passes it, or while the step passes what Box2D holds.
        if (!m_flagged.empty() || kxcount::add(m_frameWork, stepCost) > limit || passesLimits()) {
            holdOut(world, census, said, dt, pastBudget);
            stepCost = m_predicted.cost();
            acted = true;
        }
        m_frameLeft = kxcount::sub(limit, m_frameWork);
        continuous = continuous && kxcount::add(stepCost, continuousCost) <= m_frameLeft;
        std::vector<b2Body*> given;
        if (!m_held.empty()) {
            giveBack(world, said, continuous ? continuousCost : 0, given);
            acted = true;
        }
        if (acted) {
            countLate(world, counted, given);
            stepCost = m_predicted.cost();
        }
    }
    m_entering.clear();
    m_continuous.beforeStep(continuous);
    // The rays are counted as they are cast; the budget's own looks are paid already.
    m_frameWork = kxcount::add(m_frameWork,
                               kxcount::sub(stepCost, kxcount::mul(m_predicted.rays, KXPStepWork::kRayCost)));
    m_frameWork = kxcount::add(m_frameWork, kxcount::mul(m_looks, KXPStepWork::kLookCost));
    if (continuous) {
        m_frameWork = kxcount::add(m_frameWork, continuousCost);
    }
    if (kxTraceEnabled("budget")) {
        kxTrace(
            "budget",
            "budget step cost=%lld contacts=%lld touching=%lld moving=%lld pairs=%lld walks=%lld made=%lld "
            "rays=%lld continuous=%lld looks=%lld held=%zu",
            static_cast<long long>(m_predicted.cost()), static_cast<long long>(m_predicted.contacts),
            static_cast<long long>(m_predicted.touching), static_cast<long long>(m_predicted.moving),
            static_cast<long long>(m_predicted.pairs), static_cast<long long>(m_predicted.walks),
            static_cast<long long>(m_predicted.made), static_cast<long long>(m_predicted.rays),
            static_cast<long long>(continuous ? continuousCost : 0), static_cast<long long>(m_looks),
            m_held.size());
    }
    ++m_step;
    return continuous;
}

bool KXPStepBudget::afterStep(const b2World& world) {
    if (!kx::physicsBoundsOn() && !m_observing) {
        return false;
    }
    m_lastPairs = KXPBroadPhaseView(world).pairCount();
    const bool rest = m_continuous.afterStep(world);
    return rest && !m_observing;
}

std::string KXPStepBudget::parts() const {
    const std::pair<const char*, int64_t> parts[] = {
        {"p.contacts", m_predicted.contacts},
        {"p.touching", m_predicted.touching},
        {"p.touchingPolygons", m_predicted.touchingPolygons},
        {"p.sensing", m_predicted.sensing},
        {"p.bodies", m_predicted.bodies},
        {"p.moving", m_predicted.moving},
        {"p.joints", m_predicted.joints},
        {"p.queries", m_predicted.queries},
        {"p.pairs", m_predicted.pairs},
        {"p.asked", m_predicted.asked},
        {"p.grown", m_predicted.grown},
        {"p.walks", m_predicted.walks},
        {"p.made", m_predicted.made},
        {"p.fresh", m_predicted.fresh},
        {"p.freshLight", m_predicted.freshLight},
        {"p.impacts", m_continuousWork.impacts},
        {"p.scans", m_continuousWork.scans},
        {"p.scanJumps", m_continuousWork.scanJumps},
        {"p.scanScattered", m_continuousWork.scanScattered},
        {"p.rays", m_predicted.rays},
        {"p.looks", m_looks},
        {"p.gone", m_predicted.gone},
        {"p.reach", m_predicted.reach},
        {"p.scanReach", m_continuousWork.reach},
        {"r.rays", m_rays},
        {"r.made", m_madeInStep},
        {"r.solved", m_continuous.lastSolved()},
        {"r.held", static_cast<int64_t>(m_held.size())},
    };
    std::string line;
    char part[64];
    for (const auto& [name, value] : parts) {
        std::snprintf(part, sizeof part, " %s=%lld", name, static_cast<long long>(value));
        line += part;
    }
    return line;
}

bool KXPStepBudget::ShouldCollide(b2Fixture* fixtureA, b2Fixture* fixtureB) {
    if (!b2ContactFilter::ShouldCollide(fixtureA, fixtureB)) {
        return false;
    }
    const b2World& world = *fixtureA->GetBody()->GetWorld();
    if (m_observing || world.GetContactCount() < kWorldContacts) {
        ++m_madeInStep;
        // The step's first pairing comes before Box2D locks the world; what it makes later (once
        // bodies are carried beyond their margins) is first tested in the next step.
        if (world.IsLocked()) {
            KXPStepContacts::countFirstTest(*fixtureA, *fixtureB, m_firstTestsComing);
        } else {
            m_madeAtStart = true;
        }
        return true;
    }
    for (b2Body* body : {fixtureA->GetBody(), fixtureB->GetBody()}) {
        Record& record = recordOf(body);
        if (!record.flagged && body->GetType() == b2_dynamicBody) {
            record.flagged = true;
            record.flaggedPlace = m_flagged.add(body);
        }
    }
    return false;
}

void KXPStepBudget::forget(b2Body* body) {
    Record* record = find(body);
    if (record == nullptr) {
        return;
    }
    m_goneComing = kxcount::add(m_goneComing, 1);
    if (record->moverSlot >= 0) {
        b2Body* last = m_movers.back();
        m_movers[static_cast<size_t>(record->moverSlot)] = last;
        find(last)->moverSlot = record->moverSlot;
        m_movers.pop_back();
    }
    if (record->held) {
        m_held.remove(record->heldPlace);
    }
    if (record->flagged) {
        m_flagged.remove(record->flaggedPlace);
    }
    // A caster that goes casts no rays in the next step: they leave its prediction.
    if (record->rayStep == m_step) {
        m_rays = std::max<int64_t>(kxcount::sub(m_rays, record->rays), 0);
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
