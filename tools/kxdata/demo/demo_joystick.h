// The demo's on-screen joystick: a round pad at the left of the heads-up screen, above the band
// the hero runs in so that it never hides it. Dragging from its centre steers the hero like the
// stick of a game controller; letting go stops it.
#pragma once

#include "cocos2d.h"

class KXModelScreen;

namespace kxdata {
namespace demo {

struct DemoGame;

// Where the pad sits and the side of its square touch area, in design points; tests drag there.
const cocos2d::CCPoint kDemoJoystickCentre(140.0f, 410.0f);
constexpr float kDemoJoystickSide = 180.0f;

void addDemoJoystick(DemoGame& game, KXModelScreen& hud);

} // namespace demo
} // namespace kxdata
