#include "player/physics/KXPContinuousCollision.h"

#include <algorithm>
#include <bitset>
#include <cmath>

// Box2D's own count of the times of impact it has worked out: exported by the library, though
// not declared in its headers.
extern B2_API int32 b2_toiCalls;

namespace {

// Whether Box2D works out the contact's time of impact: neither a sensor, one of its bodies awake
// and not static, and one of them still, moved at a set speed, or a bullet.
bool hasTimeOfImpact(const b2Contact& contact) {
    const b2Fixture* fixtureA = contact.GetFixtureA();
    const b2Fixture* fixtureB = contact.GetFixtureB();
    if (!contact.IsEnabled() || fixtureA->IsSensor() || fixtureB->IsSensor()) {
        return false;
    }
    const b2Body* a = fixtureA->GetBody();
    const b2Body* b = fixtureB->GetBody();
    const bool activeA = a->IsAwake() && a->GetType() != b2_staticBody;
    const bool activeB = b->IsAwake() && b->GetType() != b2_staticBody;
    const bool collideA = a->IsBullet() || a->GetType() != b2_dynamicBody;
    const bool collideB = b->IsBullet() || b->GetType() != b2_dynamicBody;
    return (activeA || activeB) && (collideA || collideB);
}

// Box2D counts on each contact the impacts it solved for it in the step (up to b2_maxSubSteps), in
// a member kept for its friends; a class of its own names it, read through the contact as it is.
struct ImpactCount : b2Contact {
    static constexpr int32 b2Contact::*kMember = &ImpactCount::m_toiCount;
};

} // namespace

int64_t KXPContinuousCollision::candidates(const b2World& world) {
    int64_t count = 0;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        count += hasTimeOfImpact(*contact) ? 1 : 0;
    }
    return count;
}

KXPStepWork KXPContinuousCollision::predicted(int64_t contacts, int64_t made, int64_t candidates,
                                              const KXPStepWork& carried) const {
    KXPStepWork work;
    if (m_restLeft > 0) {
        return work;
    }
    // Each impact it solves looks at every contact again (once more to find there is none left),
    // and carries its two bodies on, each paired again with what it overlaps.
    const int64_t solved = *std::max_element(m_solved.begin(), m_solved.end());
    const int64_t calls = *std::max_element(m_calls.begin(), m_calls.end());
    // The impacts it solves, the steps before tell. The first pairing's new contacts of still bodies
    // may each have a time of impact worked out, but most are solved only where bodies come fast
    // (taken for impacts solved, thousands of bodies laid resting on a floor would pass the budget).
    const int64_t impacts = m_ranLast ? solved : std::max(solved, candidates);
    work.impacts = kxcount::add(m_ranLast ? calls : std::max(calls, candidates), made);
    work.scans = kxcount::mul(kxcount::add(impacts, 1), contacts);
    work.reach = scanReach(contacts, m_pages);
    work.scanJumps = kxcount::scale(work.scans, missedShare(work.reach), 1024);
    work.scanScattered = kxcount::scale(work.scans, jumpedShare(), 1024);
    if (impacts > 0) {
        KXPStepWork carriedOn = carried.scaled(kxcount::mul(2, impacts), 1);
        carriedOn.impacts = 0;
        carriedOn.scans = 0;
        work.add(carriedOn);
    }
    return work;
}

void KXPContinuousCollision::beforeStep(bool continuous) {
    m_continuous = continuous;
    m_ranLast = continuous;
    m_callsBefore = b2_toiCalls;
    if (m_restLeft > 0) {
        --m_restLeft;
    }
}

int64_t KXPContinuousCollision::scanReach(int64_t contacts, int64_t pages) {
    return std::max(contacts, kxcount::mul(pages, kContactsPerPage));
}

int64_t KXPContinuousCollision::missedShare(int64_t reach) const {
    // As the list went after the last step that ran it.
    const int64_t jumped = m_counted > 0 ? jumpedShare() : 1024;
    const int64_t beyond = std::min(std::max<int64_t>(reach - kOrderedContacts, 0), kOrderedSpan);
    return std::max(jumped, 1024 * beyond / kOrderedSpan);
}

int64_t KXPContinuousCollision::jumpedShare() const {
    return m_counted > 0 ? kxcount::scale(1024, m_jumps, m_counted) : 0;
}

void KXPContinuousCollision::countAfter(const b2World& world) {
    // So few contacts stay in the caches wherever they lie.
    const bool paged = world.GetContactCount() > KXPStepWork::kNearContacts;
    if (paged) {
        m_pageBits.fill(0);
    }
    int64_t impacts = 0;
    // Pages are hashed from the first contact's, so that the estimate is the same wherever the
    // system put the heap in this run.
    const uint64_t firstPage = world.GetContactList() != nullptr ? pageOf(*world.GetContactList()) : 0;
    int64_t jumps = 0;
    int64_t counted = 0;
    uint64_t last = firstPage;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        impacts += contact->*ImpactCount::kMember;
        const uint64_t at = pageOf(*contact);
        jumps += KXPContinuousCollision::jumps(last, at) ? 1 : 0;
        last = at;
        ++counted;
        if (!paged) {
            continue;
        }
        const uint64_t page = at - firstPage;
        // Mixed, so that pages side by side collide in the bits as at random, which the count
        // below assumes (a bare multiplication spreads them evenly, and the count then overshoots).
        uint64_t mixed = page * 0x9E3779B97F4A7C15ull;
        mixed ^= mixed >> 32;
        mixed *= 0xD6E8FEB86659FD93ull;
        mixed ^= mixed >> 32;
        const uint64_t bit = mixed >> 48;
        m_pageBits[bit / 64] |= uint64_t{1} << (bit % 64);
    }
    m_impacts = impacts;
    m_jumps = jumps;
    m_counted = counted;
    m_pages = 0;
    if (!paged) {
        return;
    }
    size_t set = 0;
    for (const uint64_t word : m_pageBits) {
        set += std::bitset<64>(word).count();
    }
    // Of n pages hashed into m bits, about m e^(-n/m) stay clear.
    const double clear = static_cast<double>(std::max<size_t>(kPageBits - set, 1));
    m_pages = static_cast<int64_t>(std::llround(kPageBits * std::log(kPageBits / clear)));
}

bool KXPContinuousCollision::afterStep(const b2World& world) {
    m_lastCalls = b2_toiCalls - m_callsBefore;
    if (m_continuous) {
        // Without a time of impact worked out there is no impact: no contact to walk.
        if (m_lastCalls > 0) {
            countAfter(world);
        } else {
            m_impacts = 0;
        }
        std::rotate(m_calls.rbegin(), m_calls.rbegin() + 1, m_calls.rend());
        std::rotate(m_solved.rbegin(), m_solved.rbegin() + 1, m_solved.rend());
        m_calls[0] = m_lastCalls;
        m_solved[0] = m_impacts;
    } else {
        // What a step without it would have found is not known: the last counts wane.
        for (size_t index = 0; index < kRecall; ++index) {
            m_calls[index] -= (m_calls[index] + 7) / 8;
            m_solved[index] -= (m_solved[index] + 7) / 8;
        }
    }
    if (m_lastCalls <= kImpactsPerStep || m_restLeft > 0) {
        return false;
    }
    m_restLeft = kRestSteps;
    return true;
}
