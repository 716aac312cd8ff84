#pragma once

// The game's rule for which bodies the step budget may hold out of the physics: bodies of no
// object (the field's own) never, characters last, every other first.

#include "player/physics/KXPStepBudget.h"

struct KXPBodyRank {
    static KXPStepBudget::Rank of(b2Body* body);
};
