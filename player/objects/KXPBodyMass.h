#pragma once

// Box2D 2.3 gave a dynamic body whose fixtures add up to no mass (a shape without density, as the
// collision shapes of display states and slides are made, or without area) a mass of 1 and no
// rotational inertia. Box2D 2.4 leaves such a body massless: gravity no longer moves it and
// contacts no longer push it. Box2D works the mass out again whenever a fixture is made or
// destroyed and whenever the type or the fixed rotation changes, so the player makes these
// changes only through the calls below, each of which keeps the mass positive after it. A new
// fixture or type also tells the step budget (KXPStepBudget), which keeps the kinematic bodies in sight.

#include <box2d/box2d.h>

struct KXPBodyMass {
    // A dynamic body without mass gets mass 1 at its origin and no rotational inertia, as 2.3
    // gave it. Any other body, a null one, or a world inside its step is left alone.
    static void keepPositive(b2Body* body);

    // b2Body's own calls of the same names, then keepPositive.
    static void setType(b2Body* body, b2BodyType type);
    static void setFixedRotation(b2Body* body, bool fixed);
    static b2Fixture* createFixture(b2Body* body, const b2FixtureDef& definition);
    static void destroyFixture(b2Body* body, b2Fixture* fixture);
};
