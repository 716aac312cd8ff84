// The top-down scenario: a walled garden seen from above ("garden"), with no gravity. The explorer
// walks where the arrows or the on-screen joystick send it (a tilt control is there too, but this
// machine has no accelerometer), hops on a swipe up, dashes on a swipe right and ducks while DUCK
// is held. Trees sort their depth with the explorer as a group, beetles march to and fro between
// the hedges on their motors, moths wander where they were sent, a top spins in drawn turns, a
// crate slides off when the explorer bumps it, and gems lie about to be collected.
#pragma once

#include <cstddef>
#include <string>

#include "tools/kxdata/topdown/topdown_build.h"

class KXModelScreen;

namespace kxdata {
namespace topdown {

// The keys and names recipes and tests look for.
constexpr const char* kGardenKey = "garden";
constexpr const char* kGardenHudKey = "garden-hud";
constexpr const char* kGardenSection = "Walled Garden";
// Where the pads of the controls sit on the heads-up screen (design points, y up), and their side.
const cocos2d::CCPoint kJoystickCentre(130.0f, 130.0f);
const cocos2d::CCPoint kSwipePadCentre(1000.0f, 130.0f);
constexpr float kPadSide = 180.0f;

// The garden's level: hedges, trees, beetles, moths, the top, the crate, the gems and the explorer.
void addGardenLevel(DemoGame& game, KXModelScreen& scene);
// The heads-up screen over it: the gem count and the controls.
void addGardenHud(DemoGame& game, KXModelScreen& hud);

// Empties the model store and builds the scenario.
DemoGame buildTopDownGame();
// The scenario into DIR; answers the number of files that could not be made.
size_t writeTopDownScenario(const std::string& dir);

} // namespace topdown
} // namespace kxdata
