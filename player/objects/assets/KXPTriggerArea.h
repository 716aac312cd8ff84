#pragma once

// The body of the invisible trigger kinds (logic, gatekeeper, screen jump, teleport): dynamic so
// that it meets static and kinematic bodies too, a sensor so that nothing is pushed by it, and
// weightless so that it stays where it was placed.

#include <box2d/box2d.h>

struct KXPTriggerArea {
    // Turns a freshly made asset body into a trigger area; nothing for a null body.
    static void prepare(b2Body* body);
};
