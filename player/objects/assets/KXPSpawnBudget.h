#pragma once

// The copies spawners have put into the level that still exist, against a budget. The densest
// valid levels keep a few hundred alive (forty ships firing); past the budget a spawner skips its
// shots until copies have gone, so that thousands of guns cannot fill the world with bodies
// faster than they leave it.

#include <cstddef>

class KXPSpawnBudget {
public:
    static constexpr size_t kLiveCopies = 4096;

    // Whether one more copy may be made now. The first refusal logs one line; the next after the
    // level has emptied again logs again.
    static bool allows();
    // A copy made, a copy gone.
    static void copyMade();
    static void copyGone();
    static size_t liveCopies();
};
