// Umbrella of the engine's particles headers.
#pragma once

#include "particles/CCParticleSystem.h"
#include "particles/CCParticleSystemQuad.h"
#include "particles/CCParticleTypes.h"
