#pragma once

// Requests to the game window (leave the game, switch the window mode). They are posted as SDL
// events and handled on the main loop by the desktop entry, so that a button handler never
// changes the window in the middle of a frame.

#include <cstdint>

enum KXPWindowRequest : int32_t {
    kWindowRequestClose = 0x0010,      // end the main loop
    kWindowRequestFullscreen = 0x0400, // flag: full screen (true) or windowed (false)
};

// The SDL event type of window requests: event.user.code is the request, event.user.data1 is
// non-null for a true flag.
uint32_t windowRequestEventType();

// Queues the request; false when SDL's event queue is not running (no window to ask).
bool postWindowRequest(KXPWindowRequest request, bool flag);
