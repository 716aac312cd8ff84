#pragma once

// Stands between the world and the game's contact listener, passing every call on, and keeps the
// counts the step budget reads at no cost: the contacts whose solid shapes touch and those where a
// sensor overlaps (Box2D tells each beginning and end, also of a contact destroyed while touching).

#include "player/physics/KXPStepWork.h"

#include <box2d/box2d.h>

#include <cstdint>

class KXPStepContacts : public b2ContactListener {
public:
    // The listener every call is passed on to (null: none).
    void passTo(b2ContactListener* game) { m_game = game; }
    b2ContactListener* game() const { return m_game; }

    // Solid contacts touching: of a round shape, and of two polygons.
    int64_t touching() const { return m_touching; }
    int64_t touchingPolygons() const { return m_touchingPolygons; }
    int64_t sensing() const { return m_sensing; }

    // Counts a new contact's first test into a step's work. Light where the solid shapes still lie
    // apart: two circles farther than their radii, or shapes whose own boxes do not meet (the first
    // axis that parts them ends the test). A round shape that touches is tested lightly, then
    // solved in the same step: two circles by Box2D's own test, a circle and another shape by
    // their boxes meeting (a ball by a box's corner is taken as touching). Light too for a sensor,
    // whose overlap is worked out as in every later step. Full for two polygons that meet (their
    // manifold worked out) or a chain.
    static void countFirstTest(const b2Fixture& a, const b2Fixture& b, KXPStepWork& work);

    void BeginContact(b2Contact* contact) override;
    void EndContact(b2Contact* contact) override;
    void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;
    void PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) override;

private:
    int64_t& countOf(const b2Contact& contact);

    b2ContactListener* m_game = nullptr;
    int64_t m_touching = 0;
    int64_t m_touchingPolygons = 0;
    int64_t m_sensing = 0;
};
