#include "player/physics/KXPStepContacts.h"

namespace {
bool sensed(const b2Contact& contact) {
    return contact.GetFixtureA()->IsSensor() || contact.GetFixtureB()->IsSensor();
}
bool polygons(const b2Contact& contact) {
    return contact.GetFixtureA()->GetType() == b2Shape::e_polygon &&
           contact.GetFixtureB()->GetType() == b2Shape::e_polygon;
}

bool round(const b2Fixture& fixture) {
    return fixture.GetType() == b2Shape::e_circle;
}

// Box2D's own test for two circles: touching unless farther apart than their radii.
bool circlesTouch(const b2Fixture& a, const b2Fixture& b) {
    const auto& circleA = static_cast<const b2CircleShape&>(*a.GetShape());
    const auto& circleB = static_cast<const b2CircleShape&>(*b.GetShape());
    const b2Vec2 d =
        b2Mul(b.GetBody()->GetTransform(), circleB.m_p) - b2Mul(a.GetBody()->GetTransform(), circleA.m_p);
    const float radius = circleA.m_radius + circleB.m_radius;
    return b2Dot(d, d) <= radius * radius;
}

// The shapes' own boxes where they stand (not the broad phase's, grown by a margin).
bool boxesMeet(const b2Fixture& a, const b2Fixture& b) {
    b2AABB boxA;
    b2AABB boxB;
    a.GetShape()->ComputeAABB(&boxA, a.GetBody()->GetTransform(), 0);
    b.GetShape()->ComputeAABB(&boxB, b.GetBody()->GetTransform(), 0);
    return b2TestOverlap(boxA, boxB);
}
} // namespace

void KXPStepContacts::countFirstTest(const b2Fixture& a, const b2Fixture& b, KXPStepWork& work) {
    // A sensor's first test is its overlap worked out, as in every later step: nothing is solved.
    if (a.IsSensor() || b.IsSensor()) {
        ++work.freshLight;
        return;
    }
    if (a.GetType() == b2Shape::e_chain || b.GetType() == b2Shape::e_chain) {
        ++work.fresh;
        return;
    }
    const bool touches = round(a) && round(b) ? circlesTouch(a, b) : boxesMeet(a, b);
    if (touches && !round(a) && !round(b)) {
        ++work.fresh;
        return;
    }
    ++work.freshLight;
    work.touching += touches ? 1 : 0;
}

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
