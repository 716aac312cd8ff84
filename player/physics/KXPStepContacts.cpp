#include "player/physics/KXPStepContacts.h"

// Box2D's own count of the times of impact it has worked out: exported by the library, though
// not declared in its headers.
extern B2_API int32 b2_toiCalls;

namespace {
bool sensed(const b2Contact& contact) {
    return contact.GetFixtureA()->IsSensor() || contact.GetFixtureB()->IsSensor();
}
bool polygons(const b2Contact& contact) {
    return contact.GetFixtureA()->GetType() == b2Shape::e_polygon &&
           contact.GetFixtureB()->GetType() == b2Shape::e_polygon;
}
} // namespace

int64_t& KXPStepContacts::countOf(const b2Contact& contact) {
    if (sensed(contact)) {
        return m_sensing;
    }
    return polygons(contact) ? m_touchingPolygons : m_touching;
}

void KXPStepContacts::beginStep() {
    m_impacts = 0;
    m_timesOfImpactAtStep = b2_toiCalls;
}

void KXPStepContacts::BeginContact(b2Contact* contact) {
    ++countOf(*contact);
    if (m_game != nullptr) {
        m_game->BeginContact(contact);
    }
}

void KXPStepContacts::EndContact(b2Contact* contact) {
    int64_t& count = countOf(*contact);
    count = count > 0 ? count - 1 : 0;
    if (m_game != nullptr) {
        m_game->EndContact(contact);
    }
}

void KXPStepContacts::PreSolve(b2Contact* contact, const b2Manifold* oldManifold) {
    // Contacts are updated before the solver; once the step has worked out times of impact, each
    // update is an impact's.
    if (b2_toiCalls != m_timesOfImpactAtStep) {
        ++m_impacts;
    }
    if (m_game != nullptr) {
        m_game->PreSolve(contact, oldManifold);
    }
}

void KXPStepContacts::PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) {
    if (m_game != nullptr) {
        m_game->PostSolve(contact, impulse);
    }
}
