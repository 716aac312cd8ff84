// The shooter scenario: a side-scrolling space shooter. The view moves on by itself and carries the
// ship along; the ship steers up and down (arrows) and fires bolts (Space). Drones with hit points
// fly at it, a hive keeps sending more and a turret fires plasma; one collectable of every powerup
// effect lies on the ship's line, section after section, up to an exit portal that ends the run.
// The portal leads to the home base, under the end screen. The heads-up screen counts score, coins
// and distance; losing the last life is game over, which its observer turns into the end screen.
#pragma once

#include <cstddef>
#include <string>

#include "tools/kxdata/demo/demo_game.h"

namespace kxdata {
namespace shooter {

// Names tests look for.
constexpr const char* kShooterSceneKey = "space";
constexpr const char* kBaseSceneKey = "base";
constexpr const char* kShipName = "Ship";
constexpr const char* kDroneName = "Drone";
constexpr const char* kHiveName = "Drone Hive";
constexpr const char* kTurretShotName = "Plasma";

// Empties the model store and builds the scenario.
demo::DemoGame buildShooterGame();
// The scenario into DIR: data/ (pack files and media) and Default.png. Answers the number of files
// that could not be made.
size_t writeShooterScenario(const std::string& dir);

} // namespace shooter
} // namespace kxdata
