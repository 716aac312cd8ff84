#pragma once

// The player's own X error handlers. Xlib's defaults print and exit(1), which loses the session's
// progress when the window is destroyed under the player (an X client destroying it, as
// `xdotool windowclose` does) or the display goes away.
//
// - An error about the player's window (any request on it failing once it is gone) marks the
//   window gone; KXPTerminationWatch then ends the main loop like a close, so progress is saved on
//   the way out and the exit status is 0. Other errors are logged and ignored. The handler makes
//   no X call and saves nothing: it may run inside any Xlib call.
// - A lost display cannot be returned from: the handler saves with the given call, prints
//   "kxplayer: lost the X display ..." and ends the process with kLostDisplayStatus.

#include <cstdint>

const int kLostDisplayStatus = 3;

// Installs both handlers for every display of the process (SDL's and OIS's connections). Call it
// before the engine's video starts (SDL keeps the handler it finds and restores it when it quits)
// and again with the window's X id once the window exists. `saveOnLostDisplay` may be null.
void installXErrorHandlers(uintptr_t windowId, void (*saveOnLostDisplay)());
// True once an X error said the player's window is gone.
bool xWindowGone();
// For tests.
void clearXWindowGone();
