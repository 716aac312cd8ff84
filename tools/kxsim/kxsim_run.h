// One simulated run of a game: the real player stack without a window, frame by frame at a
// fixed 1/60 s, with the scripted input of the options.
#pragma once

#include "tools/kxsim/kxsim_options.h"

// 0, or 2 (with "error: ..." on standard error) when the game failed to load. Runs in the game's
// folder (the caller changes into it).
int runSimulation(const SimOptions& options);
