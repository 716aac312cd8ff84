// The effects where they fit in the demo: a pennant waving over the level and a pond that
// reflects what passes above it, in the game scene's opening level section (made when the scene
// has none yet), and the effect maps and reflection shader among the demo's media.
#pragma once

#include "tools/kxdata/demo/demo_game.h"

namespace kxdata {
namespace effects {

// After the game scene "world1" exists.
void addDemoEffects(demo::DemoGame& game);

} // namespace effects
} // namespace kxdata
