#include "player/field/KXPContinuousCollision.h"

#include "model/KXPhysicsBounds.h"

// Box2D's own count of the times of impact it has worked out: exported by the library, though
// not declared in its headers.
extern B2_API int32 b2_toiCalls;

namespace {

uint64_t boundFor(uint64_t impacts, uint64_t contacts) {
    return KXPContinuousCollision::kImpactsPerContact * impacts * contacts;
}

// Whether Box2D works out the contact's time of impact: neither a sensor, one of its bodies awake
// and not static, and one of them still, moved at a set speed, or a bullet.
bool hasTimeOfImpact(const b2Contact& contact) {
    const b2Fixture* fixtureA = contact.GetFixtureA();
    const b2Fixture* fixtureB = contact.GetFixtureB();
    if (fixtureA->IsSensor() || fixtureB->IsSensor()) {
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

uint64_t KXPContinuousCollision::workOf(const b2World& world) {
    const auto contacts = static_cast<uint64_t>(world.GetContactCount() > 0 ? world.GetContactCount() : 0);
    uint64_t impacts = 0;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        if (hasTimeOfImpact(*contact)) {
            ++impacts;
        }
    }
    return boundFor(impacts, contacts);
}

bool KXPContinuousCollision::beforeStep(const b2World& world) {
    m_impactsBefore = b2_toiCalls;
    if (!kx::physicsBoundsOn()) {
        return true;
    }
    if (m_restLeft > 0) {
        --m_restLeft;
        return false;
    }
    const auto contacts = static_cast<uint64_t>(world.GetContactCount() > 0 ? world.GetContactCount() : 0);
    // Every contact counted as one with impacts: only worth walking when that may not fit.
    uint64_t work = boundFor(contacts, contacts);
    if (m_frameWork + work > kWorkPerFrame) {
        work = workOf(world);
    }
    m_lastWork = work;
    if (m_frameWork + work > kWorkPerFrame) {
        return false;
    }
    m_frameWork += work;
    return true;
}

bool KXPContinuousCollision::afterStep() {
    m_lastImpacts = b2_toiCalls - m_impactsBefore;
    if (m_lastImpacts <= kImpactsPerStep || m_restLeft > 0 || !kx::physicsBoundsOn()) {
        return false;
    }
    m_restLeft = kRestSteps;
    return true;
}
