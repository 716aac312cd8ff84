// The demo's portals and moving platform: in the firefly glade a portal on the floor sends the
// hero on to its partner further along, and a plank rides a ping-pong path out and back above the floor.
#pragma once

#include <memory>
#include <string>

#include "cocos2d.h"

class KXModelAssetObstacle;
class KXModelLevelSection;
class KXModelObjectTeleport;

namespace kxdata {
namespace demo {

struct DemoGame;

// The names tests look for.
constexpr const char* kDemoPortalIn = "Glade Portal";
constexpr const char* kDemoPortalOut = "Glade Portal Exit";
constexpr const char* kDemoPlank = "Glade Plank";

// A portal of a group, sending to partners closer than `radius`.
struct PortalPlace {
    std::string name;
    cocos2d::CCPoint position;
    float group = 0.0f;
    float radius = 0.0f;
    bool exitOnly = false;
    // The entering character goes once it has been sent.
    bool swallow = false;
};

// The ring that shows where a portal is (a portal draws nothing itself).
std::shared_ptr<KXModelAssetObstacle> portalLook(DemoGame& game);
// A portal and its ring behind it.
std::shared_ptr<KXModelObjectTeleport> placePortal(DemoGame& game, KXModelLevelSection& into,
                                                   const std::shared_ptr<KXModelAssetObstacle>& look,
                                                   const PortalPlace& place);

// After the sections (addDemoSections): it places into the glade and reuses the meadow's ledge.
void addDemoPortals(DemoGame& game);

} // namespace demo
} // namespace kxdata
