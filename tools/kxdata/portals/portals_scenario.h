// The portals-and-paths scenario: a workshop seen from above ("works"), with no gravity. Walking
// east along its middle the explorer passes a turnstile that lets one through (a gatekeeper),
// steps into a portal and out of its partner further on, is caught by a lift that carries it up
// along its path, and walks into the vault door, which opens the vault screen over the paused
// works. Below, a belt carries a crate round and round through a paint gate that turns and grows
// whatever crate comes through (a logic object), and a shuttle rides a barrel up and down.
#pragma once

#include <cstddef>
#include <string>

#include "tools/kxdata/topdown/topdown_build.h"

class KXModelScreen;

namespace kxdata {
namespace portals {

// The keys and names recipes and tests look for.
constexpr const char* kWorksKey = "works";
constexpr const char* kVaultKey = "vault";
constexpr const char* kTurnstileName = "Turnstile";
constexpr const char* kLiftPathName = "Lift";
constexpr const char* kBeltPathName = "Belt";
constexpr const char* kShuttlePathName = "Shuttle";
constexpr const char* kPaintGateName = "Paint Gate";
constexpr const char* kCrateName = "Belt Crate";
constexpr const char* kBarrelName = "Barrel";

void addWorksLevel(topdown::DemoGame& game, KXModelScreen& scene);

// Empties the model store and builds the scenario.
topdown::DemoGame buildPortalsGame();
// The scenario into DIR; answers the number of files that could not be made.
size_t writePortalsScenario(const std::string& dir);

} // namespace portals
} // namespace kxdata
