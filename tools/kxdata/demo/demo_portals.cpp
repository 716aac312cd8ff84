#include "tools/kxdata/demo/demo_portals.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeShape.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_sections.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace demo {

namespace {

// The portals share this group; the partner lies within the entrance's search radius.
constexpr float kPortalGroup = 7.0f;
constexpr float kPortalRadius = 400.0f;
// On the glade's floor (its top is near y 80), so that the pushed hero runs into the entrance.
constexpr float kPortalY = 110.0f;
constexpr float kPortalInX = 360.0f;
constexpr float kPortalOutX = 620.0f;
// The plank rides above the floor, out and back.
const CCPoint kPlankStart(760.0f, 300.0f);
constexpr float kPlankTravel = 200.0f;

Canvas portalCanvas() {
    Canvas canvas(60, 60);
    canvas.disc(30.0f, 30.0f, 29.0f, Colour{40, 200, 190, 255});
    canvas.disc(30.0f, 30.0f, 22.0f, Colour{20, 60, 110, 255});
    canvas.disc(30.0f, 30.0f, 12.0f, Colour{120, 240, 255, 200});
    return canvas;
}

template <class Attribute, class Value> void set(KXModel& model, const char* name, const Value& value) {
    auto* attribute = dynamic_cast<Attribute*>(model.attribute(name));
    if (attribute == nullptr) {
        throw std::runtime_error(std::string("the demo's portals miss the attribute ") + name);
    }
    attribute->setValue(value, true);
}

template <class Model> std::shared_ptr<Model> named(const DemoGame& game, const std::string& name) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto found = modelCast<Model>(model)) {
            if (found->name() == name) {
                return found;
            }
        }
    }
    throw std::runtime_error("the demo has nothing named " + name);
}

} // namespace

std::shared_ptr<KXModelAssetObstacle> portalLook(DemoGame& game) {
    auto asset = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", "Portal Ring");
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", "Portal Ring Idle");
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(1.0f, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", "Portal Ring Picture");
    image->setImage(game.picture("Portal Ring", portalCanvas()));
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    asset->setIdleAnimation(animation);
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", "Portal Ring Shape");
    shape->replaceWithBox(CCSize(60.0f, 60.0f), CCPoint(0.0f, 0.0f), true);
    asset->collisionShapeAttribute()->setValue(shape, true);
    return asset;
}

std::shared_ptr<KXModelObjectTeleport> placePortal(DemoGame& game, KXModelLevelSection& into,
                                                   const std::shared_ptr<KXModelAssetObstacle>& look,
                                                   const PortalPlace& place) {
    // A portal draws nothing itself: a ring behind it shows where it is.
    auto ring = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", place.name + " Ring");
    ring->setAsset(look);
    ring->setObjectType("kDecorationObjectType");
    ring->positionAttribute()->setValue(place.position, true);
    ring->zDepthAttribute()->setValue(5, true);
    into.addChild(ring, true);
    auto portal = game.make<KXModelObjectTeleport>("KXModelObjectTeleport", place.name);
    portal->positionAttribute()->setValue(place.position, true);
    portal->zDepthAttribute()->setValue(7, true);
    set<KXAttributeFloat>(*portal, "Group ID", place.group);
    set<KXAttributeFloat>(*portal, "Search Radius", place.radius);
    set<KXAttributeBool>(*portal, "Delete Input Object", place.swallow);
    set<KXAttributeBool>(*portal, "Exit Only", place.exitOnly);
    into.addChild(portal, true);
    return portal;
}

void addDemoPortals(DemoGame& game) {
    auto glade = named<KXModelLevelSection>(game, kDemoGladeSection);
    const auto look = portalLook(game);
    // The way on is one way: the exit never sends the hero back.
    placePortal(
        game, *glade, look,
        PortalPlace{kDemoPortalIn, CCPoint(kPortalInX, kPortalY), kPortalGroup, kPortalRadius, false, true});
    placePortal(
        game, *glade, look,
        PortalPlace{kDemoPortalOut, CCPoint(kPortalOutX, kPortalY), kPortalGroup, kPortalRadius, true, true});

    // A loose plank (a physics unit, so that a velocity moves it) that the path holds up and
    // steers; only the ledge asset is caught, never the hero or a coin passing by.
    const auto ledge = named<KXModelAssetObstacle>(game, "Ledge");
    auto plank = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", kDemoPlank);
    plank->setAsset(ledge);
    plank->setObjectType("kPhysicsObjectType");
    plank->positionAttribute()->setValue(kPlankStart, true);
    plank->zDepthAttribute()->setValue(6, true);
    glade->addChild(plank, true);

    auto path = game.make<KXModelObjectPath>("KXModelObjectPath", "Glade Plank Path");
    path->positionAttribute()->setValue(kPlankStart, true);
    path->setPoints(std::vector<CCPoint>{CCPoint(kPlankTravel, 0.0f)});
    set<KXAttributeFloat>(*path, "Search Radius", 40.0f);
    set<KXAttributeFloat>(*path, "Speed", 4.0f);
    set<KXAttributeFloat>(*path, "Attraction Force", 100.0f);
    set<KXAttributeStringList>(*path, "Play Mode", std::string("kPlayModePingPong"));
    set<KXAttributeStringList>(*path, "Affected Asset", std::string("kAssets"));
    set<KXAttributeStringList>(*path, "Object Asset", std::to_string(ledge->id()));
    glade->addChild(path, true);
}

} // namespace demo
} // namespace kxdata
