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

int64_t KXPContinuousCollision::predictedVisits(const b2World& world) {
    if (m_restLeft > 0) {
        return 0;
    }
    const int64_t contacts = world.GetContactCount() > 0 ? world.GetContactCount() : 0;
    // Contacts of still bodies that came since the last step that ran it: a few impacts each,
    // which that step could not tell.
    m_stillContacts = contactsOfStillBodies(world);
    const int64_t newContacts = std::max<int64_t>(m_stillContacts - m_stillContactsSeen, 0);
    // One look to find that there is no impact, and one for each impact.
    return (m_impacts + kImpactsOfANewContact * newContacts + 1) * contacts;
}

int64_t KXPContinuousCollision::predictedCost(const b2World& world) {
    if (m_restLeft > 0) {
        return 0;
    }
    const int64_t contacts = world.GetContactCount() > 0 ? world.GetContactCount() : 0;
    return contacts * kFirstVisitCost + (predictedVisits(world) - contacts) * kVisitCost;
}

int64_t KXPContinuousCollision::contactsOfStillBodies(const b2World& world) {
    int64_t contacts = 0;
    for (const b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext()) {
        if (body->GetType() == b2_dynamicBody && !body->IsBullet()) {
            continue;
        }
        for (const b2ContactEdge* edge = body->GetContactList(); edge != nullptr; edge = edge->next) {
            contacts += hasTimeOfImpact(*edge->contact) ? 1 : 0;
        }
    }
    return contacts;
}

void KXPContinuousCollision::beforeStep(bool continuous) {
    m_continuous = continuous;
    if (continuous) {
        m_stillContactsSeen = m_stillContacts;
    }
    m_impactsBefore = b2_toiCalls;
    if (m_restLeft > 0) {
        --m_restLeft;
    }
}

int64_t KXPContinuousCollision::contactsWithImpacts(const b2World& world) {
    int64_t contacts = 0;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        contacts += hasTimeOfImpact(*contact) ? 1 : 0;
    }
    return contacts;
}

bool KXPContinuousCollision::afterStep(const b2World& world) {
    m_lastImpacts = b2_toiCalls - m_impactsBefore;
    if (m_continuous) {
        m_impacts = m_lastImpacts / 2;
        if ((m_impacts + 1) * world.GetContactCount() > kCloserLookVisits) {
            m_impacts = std::min(m_impacts, std::max<int64_t>(m_lastImpacts - contactsWithImpacts(world), 0));
        }
    } else {
        // What a step without it would have found is not known: the last count wanes, so that
        // continuous collision is tried again once the step may have calmed down.
        m_impacts -= (m_impacts + 7) / 8;
    }
    if (m_lastImpacts <= kImpactsPerStep || m_restLeft > 0) {
        return false;
    }
    m_restLeft = kRestSteps;
    return true;
}
