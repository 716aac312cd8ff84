// Behaviour components in the demo's level: an armoured crab that takes three cannonballs (a
// health component with a hurt look and a death delay) and a lift that rises for a while when
// the heads-up "LIFT" button is let go (a move component started on release, stopped by its
// timeout).
#pragma once

class KXModelScreen;

namespace kxdata {
namespace demo {

struct DemoGame;

// Their names, which tests look for.
constexpr const char* kDemoArmouredCrab = "Armoured Crab";
constexpr const char* kDemoLift = "Lift";

// Into the level section the units were laid in (nothing without one).
void addDemoComponentUnits(DemoGame& game, KXModelScreen& scene);
// The heads-up button that starts the lift.
void addDemoLiftButton(DemoGame& game, KXModelScreen& hud);

} // namespace demo
} // namespace kxdata
