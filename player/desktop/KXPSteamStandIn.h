#pragma once

// There is no Steam client on this platform: start-up asks a stand-in, which reports failure,
// and prints the result line as the player always has. Nothing else depends on it.

bool steamStandInInit();
// Writes "Steam Started: %b" (those very characters) and the result as 1 or 0 to standard output.
void printSteamStarted(bool started);
