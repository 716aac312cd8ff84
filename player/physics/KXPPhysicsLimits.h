#pragma once

// The values the player hands Box2D, kept within what it can hold. Box2D stops the process on a
// check that a number which is not one fails (a body's place, a ray, an impulse in its contact
// solver), and a number large enough to overflow a float in its sums becomes such a number within
// the step. Each bound stands far above what a playable level reaches, so that it only ever acts
// on damaged data; a value within it reaches Box2D unchanged.

#include <box2d/box2d.h>

#include <cmath>

struct KXPPhysicsLimits {
    // Places, in metres from the world's origin (2e16 points): a float's step there is some
    // hundred kilometres, and the squares Box2D takes of places stay finite.
    static constexpr float kMaxPlace = 1.0e15f;
    // Speeds in metres per second; Box2D moves a body at most 2 m and a quarter turn a step
    // (120 m/s, 94 rad/s at 60 steps a second), but its contact solver sees the speed as set.
    static constexpr float kMaxSpeed = 1.0e6f;
    static constexpr float kMaxSpin = 1.0e4f;
    // Gravity in metres per second squared, each way.
    static constexpr float kMaxGravity = 1.0e6f;
    // Friction and restitution (a playable level keeps them about 1).
    static constexpr float kMaxMaterial = 1.0e6f;
    // A motor's torque in newton metres.
    static constexpr float kMaxTorque = 1.0e20f;

    // A place (and angle) that is a number and within kMaxPlace each way.
    static bool holdsPlace(const b2Vec2& place);
    static bool holdsTransform(const b2Vec2& place, float angle);
    // The velocity Box2D gets for `wanted`: `current` when it is not a number, else `wanted`,
    // shortened to kMaxSpeed (kMaxSpin) keeping its direction.
    // Set for every body every frame: a plain speed passes at once.
    static b2Vec2 linearVelocity(const b2Vec2& wanted, const b2Vec2& current) {
        // Each part within half the bound (and a number): the speed is within it.
        if (std::fabs(wanted.x) <= kMaxSpeed / 2 && std::fabs(wanted.y) <= kMaxSpeed / 2) {
            return wanted;
        }
        return boundedVelocity(wanted, current);
    }
    static float angularVelocity(float wanted, float current) {
        return std::fabs(wanted) <= kMaxSpin ? wanted : boundedSpin(wanted, current);
    }
    // A value that is not a number gives 0; the others are clamped to their bound each way.
    static b2Vec2 gravity(float x, float y);
    // Restitution, and friction set on a contact (used as it is).
    static float material(float value);
    static float motorSpeed(float value);
    static float motorTorque(float value);
    // A fixture's friction, also never below 0: Box2D mixes two fixtures' frictions by the square
    // root of their product.
    static float friction(float value);
    // Box2D casts a ray only between two places it holds, and not of length 0.
    static bool castsRay(const b2Vec2& from, const b2Vec2& to);

private:
    static b2Vec2 boundedVelocity(const b2Vec2& wanted, const b2Vec2& current);
    static float boundedSpin(float wanted, float current);
};
