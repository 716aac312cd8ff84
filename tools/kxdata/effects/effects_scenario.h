// The effects scenario: a small game whose one scene, a dark cave ("cave"), shows every hand-drawn
// effect in its opening level section ("Cave Hall"): lights with and without shadows among
// pillars, a boulder and a crate, a flag with its own texture and one with the game's flag map, a
// trail linked to a spinning comet, a pool of water that reflects the hall above it, and the way
// out (effects_exit.h) with a torch, dust, a sign and a crate repeated. Written
// by `kxdata write-effects DIR`, with the loading screen and settings of the demo.
#pragma once

#include <cstddef>
#include <string>

#include "tools/kxdata/demo/demo_game.h"

namespace kxdata {
namespace effects {

constexpr const char* kCaveKey = "cave";
constexpr const char* kCaveSection = "Cave Hall";

// Empties the model store and builds the scenario.
demo::DemoGame buildEffectsGame();
// The scenario into DIR: data/ (pack files, media, effect maps and shader) and Default.png.
// Answers the number of files that could not be made.
size_t writeEffectsScenario(const std::string& dir);

} // namespace effects
} // namespace kxdata
