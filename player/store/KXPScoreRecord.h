#pragma once

// The scores of one world: distance (floats), points and coins (integers). The record of the
// empty world name is the global one, where coins are counted and spent.

#include "player/store/KXPCurrencyValue.h"

struct KXPScoreRecord {
    KXPScoreDistance distance;
    KXPScoreCount points;
    KXPScoreCount coins;

    // Every figure's session value into its checkpoint copy (copies made as needed).
    void commit();
    // Every figure's session value back from its checkpoint copy (0 without one).
    void revert();
};
