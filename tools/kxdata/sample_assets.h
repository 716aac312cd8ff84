// The sample game's characters, powerups, placed assets, components and buttons: the values
// that make them play differently from their defaults.
#pragma once

namespace kxdata {

struct SampleGame;

// Fills the runner, the coin and a magnet powerup, the health and score components, points the
// placed objects at their assets, and gives the buttons their actions, intervals and sounds
// (adding an action button for the magnet). Runs while the game is built, before the media step.
void addSampleAssets(SampleGame& game);

} // namespace kxdata
