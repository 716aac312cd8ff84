// The demo's portals and moving platform: in the firefly glade a portal on the floor sends the
// hero on to its partner further along, and a plank rides a ping-pong path out and back above the floor.
#pragma once

namespace kxdata {
namespace demo {

struct DemoGame;

// The names tests look for.
constexpr const char* kDemoPortalIn = "Glade Portal";
constexpr const char* kDemoPortalOut = "Glade Portal Exit";
constexpr const char* kDemoPlank = "Glade Plank";

// After the sections (addDemoSections): it places into the glade and reuses the meadow's ledge.
void addDemoPortals(DemoGame& game);

} // namespace demo
} // namespace kxdata
