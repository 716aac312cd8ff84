#pragma once

// The player's start-up on the desktop, in the order the game expects: model store and data
// archive, stored settings, window (title, mode, icon), message hook, input devices and their
// per-frame poll; then the engine's loop; then saving and tidying up. Runs in the game's folder.
// Answers the exit status: 2 when the game could not be loaded (the loop ends once the load
// failed, with one line saying why), else the loop's.

int runDesktopPlayer();

// The start-up steps before the window: the model store reads the key file and the models the
// loading screen needs (from "data/data.pkg" when there is one), the game gets a store folder of
// its own, and the stored settings are read. False (logged) when the game's data could not be
// read; the loading screen then reports it again and stops.
bool loadStartData();
