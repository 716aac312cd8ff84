#pragma once

// Every place, angle and speed the game gives a body goes through these calls, which keep it
// within what Box2D holds (KXPPhysicsLimits): a speed that is not a number leaves the body's own,
// a huge one is shortened; a place or angle the physics cannot hold leaves the body where it
// stands, said once for its object.

#include "player/physics/KXPPhysicsLimits.h"

#include <box2d/box2d.h>

struct KXPBodyMotion {
    // Set for every moving body every frame.
    static void setLinearVelocity(b2Body* body, const b2Vec2& velocity) {
        if (body != nullptr) {
            body->SetLinearVelocity(KXPPhysicsLimits::linearVelocity(velocity, body->GetLinearVelocity()));
        }
    }
    static void setAngularVelocity(b2Body* body, float spin) {
        if (body != nullptr) {
            body->SetAngularVelocity(KXPPhysicsLimits::angularVelocity(spin, body->GetAngularVelocity()));
        }
    }
    // b2Body::SetTransform (outside the step) when the place and angle are held; answers whether it was.
    static bool moveTo(b2Body* body, const b2Vec2& place, float angle);
};
