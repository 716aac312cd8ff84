#pragma once

// An object on its way through a teleport: the game field re-creates it at the destination on its
// next frame, outside the physics step, with the body's damping and velocity it had.

#include <box2d/box2d.h>

class KXPObjectAsset;

struct KXPTeleportRecord {
    KXPObjectAsset* object = nullptr; // retained by the queue
    float linearDamping = 0.0f;
    b2Vec2 linearVelocity{0.0f, 0.0f};
    KXPObjectAsset* destination = nullptr; // the teleport it comes out of, retained by the queue
};
