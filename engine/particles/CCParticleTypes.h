// Constants and the per-particle record of the particle systems.
#pragma once

#include "base/CCGeometry.h"
#include "base/ccTypes.h"

NS_CC_BEGIN

// Emitter modes. Only gravity mode is simulated; the radius mode value is accepted and kept.
enum {
    kCCParticleModeGravity,
    kCCParticleModeRadius,
};

// Where particles live once emitted.
typedef enum {
    kCCPositionTypeFree,     // in the world: they stay behind when the emitter or its parents move
    kCCPositionTypeRelative, // in the emitter's parent: they follow the parents, not the emitter
    kCCPositionTypeGrouped,  // in the emitter: they follow it everywhere
} tCCPositionType;

enum {
    kCCParticleDurationInfinity = -1,
    kCCParticleStartSizeEqualToEndSize = -1,
};

// One particle, simulated in the emitter's own axes. pos is its offset from origin, the point it
// was emitted from, kept in the space its position type names (world, parent or emitter).
typedef struct sCCParticle {
    CCPoint pos;
    CCPoint origin;
    ccColor4F color;
    ccColor4F deltaColor;
    float size;
    float deltaSize;
    float rotation;
    float deltaRotation;
    float timeToLive;
    CCPoint dir;
    float radialAccel;
} tCCParticle;

NS_CC_END
