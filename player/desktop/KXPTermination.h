#pragma once

// SIGTERM and SIGINT end the main loop like closing the window does, so that progress is saved
// on the way out. The signal only sets a flag; a watcher run at the start of every frame (the
// application's frame hook, which runs also while the window is in the background) closes the view.

#include "cocos2d.h"

// Installs the handlers (replacing any earlier ones).
void installTerminationHandlers();
bool terminationRequested();
// For tests.
void clearTerminationRequest();

class KXPTerminationWatch : public cocos2d::CCObject {
public:
    // Closes the engine's view once a termination was requested or the X window went away.
    void update(float dt) override;
};
