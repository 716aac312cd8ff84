#pragma once

// Box2D 2.3 gave a dynamic body whose fixtures add up to no mass (a shape without density, as the
// collision shapes of display states and slides are made, or without area) a mass of 1 and no
// rotational inertia. Box2D 2.4 leaves such a body massless: gravity no longer moves it and
// contacts no longer push it. Box2D works the mass out again whenever a fixture is made or
// destroyed and whenever the type or the fixed rotation changes, so the player makes these
// changes only through the calls below, each of which keeps the mass positive after it. A new
// fixture or type also tells the step budget (KXPStepBudget), which keeps the kinematic bodies in sight.
//
// Box2D also works out a dynamic body's rotational inertia about its centre of mass, as its
// inertia about the body's origin less mass times the centre's distance squared, and stops the
// process when that is not positive. A shape far from its body's origin for its size (a 20 point
// square 100,000 points off, some 5,000 of its sizes) leaves nothing but float rounding: such a body
// is never made to turn. Each call below works out what Box2D would, with Box2D's own sums in its
// order and float operations (its source file keeps them unfused), and keeps the body still (static),
// with one line for its object, exactly where Box2D would stop.

#include <box2d/box2d.h>

struct KXPBodyMass {
    // A dynamic body without mass gets mass 1 at its origin and no rotational inertia, as 2.3
    // gave it. Any other body, a null one, or a world inside its step is left alone.
    static void keepPositive(b2Body* body);

    // Whether Box2D can weigh the body, dynamic, with `leaving` gone and `coming` made (each may
    // be null) and that fixed rotation: no inertia asked for, or one clearly positive.
    static bool canTurn(const b2Body& body, bool fixedRotation, const b2Fixture* leaving = nullptr,
                        const b2FixtureDef* coming = nullptr);

    // b2Body's own calls of the same names, then keepPositive. A dynamic body that could not turn
    // after the call stays static instead (setType answers false and changes nothing).
    static bool setType(b2Body* body, b2BodyType type);
    static void setFixedRotation(b2Body* body, bool fixed);
    static b2Fixture* createFixture(b2Body* body, const b2FixtureDef& definition);
    // The body's owner is told first (KXPBodyOwner::fixtureGoing).
    static void destroyFixture(b2Body* body, b2Fixture* fixture);
};
