#pragma once

// How a run of the player ends once its loop is over and its progress is saved, the same for
// the desktop entry and the simulation: every live sound stops, so that self-deleting sounds
// still playing or paused (a pause holds the hero's defeat sound) free themselves; then the
// model store is emptied, the cached font descriptions released and the view let go.

void endPlayerRun();
