#pragma once

// SIGTERM and SIGINT end the main loop like closing the window does, so that progress is saved
// on the way out. The signal sets a flag; a watcher run at the start of every frame (the
// application's frame hook, which runs also while the window is in the background) closes the view.
// The signal also wakes the player's KXPTerminationGuard, which ends the process from outside the
// frame when the loop does not come round in time.

#include "cocos2d.h"

class KXPTerminationGuard;

// Installs the handlers (replacing any earlier ones); a signal also wakes `guard` when one is given.
void installTerminationHandlers(KXPTerminationGuard* guard = nullptr);
bool terminationRequested();
// For tests.
void clearTerminationRequest();

class KXPTerminationWatch : public cocos2d::CCObject {
public:
    // Closes the engine's view once a termination was requested or the X window went away.
    void update(float dt) override;
};
