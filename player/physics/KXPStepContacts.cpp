#include "player/physics/KXPStepContacts.h"

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
    if (m_game != nullptr) {
        m_game->PreSolve(contact, oldManifold);
    }
}

void KXPStepContacts::PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) {
    if (m_game != nullptr) {
        m_game->PostSolve(contact, impulse);
    }
}
