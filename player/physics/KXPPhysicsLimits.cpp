#include "player/physics/KXPPhysicsLimits.h"

#include <algorithm>
#include <cmath>

namespace {

float clampedOrZero(float value, float bound) {
    return std::isfinite(value) ? std::min(std::max(value, -bound), bound) : 0.0f;
}

bool within(float value, float bound) {
    return std::fabs(value) <= bound; // false for a value that is not a number
}

} // namespace

bool KXPPhysicsLimits::holdsPlace(const b2Vec2& place) {
    return within(place.x, kMaxPlace) && within(place.y, kMaxPlace);
}

bool KXPPhysicsLimits::holdsTransform(const b2Vec2& place, float angle) {
    return holdsPlace(place) && std::isfinite(angle);
}

b2Vec2 KXPPhysicsLimits::boundedVelocity(const b2Vec2& wanted, const b2Vec2& current) {
    if (!wanted.IsValid()) {
        return current;
    }
    if (within(wanted.x, kMaxSpeed) && within(wanted.y, kMaxSpeed) && wanted.Length() <= kMaxSpeed) {
        return wanted;
    }
    // In doubles: the float square of a huge speed is infinite.
    const double x = wanted.x;
    const double y = wanted.y;
    const double shorten = kMaxSpeed / std::sqrt(x * x + y * y);
    return b2Vec2(static_cast<float>(x * shorten), static_cast<float>(y * shorten));
}

float KXPPhysicsLimits::boundedSpin(float wanted, float current) {
    if (!std::isfinite(wanted)) {
        return current;
    }
    return std::min(std::max(wanted, -kMaxSpin), kMaxSpin);
}

b2Vec2 KXPPhysicsLimits::gravity(float x, float y) {
    return b2Vec2(clampedOrZero(x, kMaxGravity), clampedOrZero(y, kMaxGravity));
}

float KXPPhysicsLimits::material(float value) {
    return clampedOrZero(value, kMaxMaterial);
}

float KXPPhysicsLimits::friction(float value) {
    return std::max(0.0f, clampedOrZero(value, kMaxMaterial));
}

float KXPPhysicsLimits::motorSpeed(float value) {
    return clampedOrZero(value, kMaxSpin);
}

float KXPPhysicsLimits::motorTorque(float value) {
    return clampedOrZero(value, kMaxTorque);
}

bool KXPPhysicsLimits::castsRay(const b2Vec2& from, const b2Vec2& to) {
    return holdsPlace(from) && holdsPlace(to) && (to - from).LengthSquared() > 0.0f;
}
