#pragma once

// The physics switches of the game field as the editor keeps them; the game field reads only
// which debug drawings are on. The world steps with its own fixed iterations.

#include <cstdint>

struct KXPPhysicsSettings {
    float stepsPerSecond = 60.0f;
    int32_t velocityIterations = 10;
    int32_t positionIterations = 4;
    int32_t drawShapes = 1;
    int32_t drawJoints = 1;
    int32_t drawAABBs = 0;
    int32_t drawPairs = 0;
    int32_t drawContactPoints = 0;
    int32_t drawContactNormals = 0;
    int32_t drawContactForces = 0;
    int32_t drawFrictionForces = 0;
    int32_t drawCentresOfMass = 0;
    int32_t drawStatistics = 0;
    int32_t warmStarting = 1;
    int32_t continuousCollision = 1;
    int32_t pause = 0;
    int32_t singleStep = 0;

    // The b2Draw flags of the switches that are on.
    uint32_t debugDrawFlags() const {
        return static_cast<uint32_t>(drawShapes * 1 + drawJoints * 2 + drawAABBs * 4 + drawPairs * 8 +
                                     drawCentresOfMass * 16);
    }
};
