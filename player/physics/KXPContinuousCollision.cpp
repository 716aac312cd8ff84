#include "player/physics/KXPContinuousCollision.h"

#include <algorithm>

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

} // namespace

int64_t KXPContinuousCollision::candidates(const b2World& world) {
    int64_t count = 0;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        count += hasTimeOfImpact(*contact) ? 1 : 0;
    }
    return count;
}

KXPStepWork KXPContinuousCollision::predicted(int64_t contacts, int64_t made, int64_t candidates) const {
    KXPStepWork work;
    if (m_restLeft > 0) {
        return work;
    }
    // Each impact updates its contact and those of its bodies with still ones (about two updates),
    // and looks at every contact again; once more to find there is none left.
    const int64_t impacts = std::max(m_updates / 2, m_ranLast ? 0 : candidates);
    work.impacts = kxcount::add(std::max(m_calls, m_ranLast ? 0 : candidates), made);
    work.scans = kxcount::mul(kxcount::add(impacts, 1), contacts);
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

bool KXPContinuousCollision::afterStep(const KXPStepContacts& contacts) {
    m_lastCalls = b2_toiCalls - m_callsBefore;
    if (m_continuous) {
        m_calls = m_lastCalls;
        m_updates = contacts.impacts();
    } else {
        // What a step without it would have found is not known: the last counts wane.
        m_calls -= (m_calls + 7) / 8;
        m_updates -= (m_updates + 7) / 8;
    }
    if (m_lastCalls <= kImpactsPerStep || m_restLeft > 0) {
        return false;
    }
    m_restLeft = kRestSteps;
    return true;
}
