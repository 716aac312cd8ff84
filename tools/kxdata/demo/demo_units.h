// The demo game's level: a section of the game scene with units on it. Hills stand behind, a
// floor under the painted ground and a wooden one-way ledge hold things up, crabs patrol, a boulder tumbles,
// a ball thrown up comes through the ledge and stays on it, and a cannon fires balls that knock enemies out
// and vanish off screen.
#pragma once

class KXModelScreen;

namespace kxdata {
namespace demo {

struct DemoGame;

// The section's name, which tests look for.
constexpr const char* kDemoUnitsSection = "Meadow";

void addDemoUnits(DemoGame& game, KXModelScreen& scene);

} // namespace demo
} // namespace kxdata
