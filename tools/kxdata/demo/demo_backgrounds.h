// The game scene's backdrop as background layers, which the game field scrolls behind its objects.
#pragma once

class KXModelScreen;

namespace kxdata {
namespace demo {

struct DemoGame;

// A still sky, then far hills and clouds, each a strip at its own speed.
void addDemoBackgrounds(DemoGame& game, KXModelScreen& scene);

} // namespace demo
} // namespace kxdata
