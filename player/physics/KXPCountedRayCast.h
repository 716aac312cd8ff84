#pragma once

// The world's ray cast, as Box2D casts it (the same boxes looked at in the same order, the same
// fixtures reported), that also tells how many boxes it looked at: what the ray cost. Given a cap,
// it stops once it has looked at that many (`cut` then tells so, and what it reported is partial).

#include <box2d/box2d.h>

#include <cstdint>
#include <limits>

int64_t kxCountedRayCast(const b2World& world, b2RayCastCallback* callback, const b2Vec2& from,
                         const b2Vec2& to, int64_t cap = std::numeric_limits<int64_t>::max(),
                         bool* cut = nullptr);
