// The demo's endless level: after the meadow it opens with, the game scene scrolls on by itself
// and lays one of its sections after another ahead of the camera (a beach of crabs, a hill a
// boulder rolls down, a glade of fireflies), while what it left behind goes.
#pragma once

class KXModelScreen;

namespace kxdata {
namespace demo {

struct DemoGame;

// The sections' names, which tests look for.
constexpr const char* kDemoBeachSection = "Crab Beach";
constexpr const char* kDemoHillSection = "Boulder Hill";
constexpr const char* kDemoGladeSection = "Firefly Glade";
// The scene's scrolling speed, in points per 1/60 s.
constexpr float kDemoScrollSpeed = 3.0f;

// After the meadow's assets exist (addDemoUnits): the sections reuse them.
void addDemoSections(DemoGame& game, KXModelScreen& scene);

} // namespace demo
} // namespace kxdata
