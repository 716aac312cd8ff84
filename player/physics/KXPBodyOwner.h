#pragma once

// What the physics asks of the game object that owns a body (KXPObject answers for its bodies):
// the name and model id that the physics' lines give, whether the physics has already refused it
// something, said once for each object, and what it tells the owner of its body's fixtures.

#include <box2d/box2d.h>

#include <string>

class KXPBodyOwner {
public:
    virtual ~KXPBodyOwner() = default;

    // The owner of a body, or null (a body of the field's own, such as the screen boundary).
    static KXPBodyOwner* of(b2Body* body);

    virtual std::string physicsName() const = 0;
    virtual unsigned int physicsModelId() const = 0;
    // True the first time only.
    virtual bool firstPhysicsRefusal() = 0;
    // Told before one of the body's fixtures is destroyed (KXPBodyMass::destroyFixture): whoever
    // holds that fixture lets go of it, as Box2D may give its memory to the next fixture made.
    virtual void fixtureGoing(b2Fixture* fixture) = 0;
};
