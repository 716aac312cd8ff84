#pragma once

// The player's start-up on the desktop, in the order the game expects: model store and data
// archive, stored settings, window (title, mode, icon), message hook, input devices and their
// per-frame poll; then the engine's loop; then saving and tidying up. Runs in the game's folder.

int runDesktopPlayer();
