#include "tools/kxdata/hostile/hostile_edges.h"

#include "tools/kxdata/hostile/hostile_parts.h"
#include "tools/kxdata/hostile/hostile_runaway.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLight.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSprite.h"

using cocos2d::ccColor4F;
using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace hostile {

using demo::Canvas;
using demo::Colour;
using demo::DemoGame;

namespace {

constexpr float kWidth = demo::kWidth;
constexpr float kHeight = demo::kHeight;
// Above the runner's head, clear of the plank's path.
const CCPoint kLightCentre(760.0f, 340.0f);
constexpr int kBlockers = 100;
const CCPoint kPlankStart(160.0f, 420.0f);
constexpr int kRestartKey = 'R';

// --- pictures ---

Canvas stripesCanvas() {
    Canvas canvas(120, 80);
    canvas.verticalGradient(Colour{60, 30, 80, 255}, Colour{20, 10, 40, 255});
    for (int x = 0; x < 120; x += 30) {
        canvas.fillRect(x, 0, 12, 80, Colour{110, 60, 140, 255});
    }
    return canvas;
}

void addLight(DemoGame& game, KXModelLevelSection& into, const std::string& name, float radius) {
    auto light = game.make<KXModelObjectLight>("KXModelObjectLight", name);
    place(*light, kLightCentre, 8);
    set<KXAttributeFloat>(*light, "Radius", radius);
    set<KXAttributeColor>(*light, "Color", ccColor4F{255.0f, 230.0f, 150.0f, 255.0f});
    set<KXAttributeBool>(*light, "Cast Shadow", true);
    into.addChild(light, true);
}

// A light of radius 0 amid 100 blockers, and beside it one whose reach takes in the corners of
// them all (hundreds of rays in one fan).
void addLightsAmidBlockers(DemoGame& game, KXModelLevelSection& into) {
    addLight(game, into, "Pinpoint Light", 0.0f);
    addLight(game, into, "Crowded Lantern", 12.0f);
    auto blocker =
        obstacle(game, "Blocker", block(24, 24, Colour{90, 200, 120, 255}, Colour{30, 90, 50, 255}));
    for (int index = 0; index < kBlockers; ++index) {
        const float dx = (static_cast<float>(index % 10) - 4.5f) * 40.0f;
        const float dy = (static_cast<float>(index / 10) - 4.5f) * 40.0f;
        unit(game, into, "Blocker " + std::to_string(index + 1), blocker, "kPlatformObjectType",
             kLightCentre + CCPoint(dx, dy), 7);
    }
}

// Two portals of one group in each other's reach that keep what they take in and never wear out:
// the runner goes back and forth between them for as long as it stands in one.
void addRestlessPortals(DemoGame& game, KXModelLevelSection& into) {
    for (const float x : {420.0f, 820.0f}) {
        auto portal = game.make<KXModelObjectTeleport>("KXModelObjectTeleport", "Restless Portal");
        place(*portal, CCPoint(x, kFloorTop + 30.0f), 6);
        set<KXAttributeFloat>(*portal, "Group ID", 3.0f);
        set<KXAttributeFloat>(*portal, "Search Radius", 600.0f);
        set<KXAttributeBool>(*portal, "Delete Input Object", false);
        set<KXAttributeBool>(*portal, "Single Use", false);
        into.addChild(portal, true);
    }
}

// A long plank the path holds up, out and back; the path stands at the plank's back end, so the
// scrolling view leaves the path behind while the plank is still carried. Its trail has length 0.
void addCarriedPlank(DemoGame& game, KXModelLevelSection& into) {
    auto plankLook =
        obstacle(game, "Long Plank", block(360, 20, Colour{200, 150, 90, 255}, Colour{120, 80, 40, 255}));
    auto plank = unit(game, into, "Long Plank", plankLook, "kPhysicsObjectType",
                      kPlankStart + CCPoint(170.0f, 0.0f), 6);
    auto path = game.make<KXModelObjectPath>("KXModelObjectPath", "Plank Path");
    place(*path, kPlankStart, 6);
    path->setPoints(std::vector<CCPoint>{CCPoint(0.0f, 120.0f)});
    set<KXAttributeFloat>(*path, "Search Radius", 400.0f);
    set<KXAttributeFloat>(*path, "Speed", 3.0f);
    set<KXAttributeFloat>(*path, "Attraction Force", 100.0f);
    set<KXAttributeStringList>(*path, "Play Mode", std::string("kPlayModePingPong"));
    set<KXAttributeStringList>(*path, "Affected Asset", std::string("kAssets"));
    set<KXAttributeStringList>(*path, "Object Asset", std::to_string(plankLook->id()));
    into.addChild(path, true);

    auto trail = game.make<KXModelObjectTrail>("KXModelObjectTrail", "Zero Trail");
    place(*trail, kPlankStart + CCPoint(340.0f, 0.0f), 8);
    set<KXAttributeFloat>(*trail, "Length", 0.0f);
    set<KXAttributeFloat>(*trail, "Start Width", 10.0f);
    set<KXAttributeFloat>(*trail, "End Width", 2.0f);
    set<KXAttributeFloat>(*trail, "Speed", 200.0f);
    into.addChild(trail, true);
    auto link = game.make<KXModelLinker>("KXModelLinker", "Zero Trail Link");
    link->setObjects(plank, trail, true);
    into.addChild(link, true);
}

void addFlatMirror(DemoGame& game, KXModelLevelSection& into) {
    auto mirror = game.make<KXModelObjectMirror>("KXModelObjectMirror", "Flat Mirror");
    place(*mirror, CCPoint(kWidth * 0.5f, kFloorTop + 10.0f), 9);
    mirror->scaleAttribute()->setValue(CCPoint(0.0f, 0.0f), true);
    set<KXAttributeColor>(*mirror, "Color", ccColor4F{150.0f, 200.0f, 255.0f, 230.0f});
    into.addChild(mirror, true);
}

void addNegativeTiling(DemoGame& game, KXModelScreen& scene) {
    auto wall = game.make<KXModelObjectBackground>("KXModelObjectBackground", "Overlapping Wall");
    set<KXAttributeSprite>(*wall, "Image", game.picture("Overlapping Wall", stripesCanvas()));
    set<KXAttributeFloat>(*wall, "Speed", 2.0f);
    set<KXAttributeFloat>(*wall, "Tiling Offset", -1000000.0f);
    wall->positionAttribute()->setValue(CCPoint(0.0f, kHeight * 0.5f), true);
    wall->scaleAttribute()->setValue(CCPoint(1.0f, kHeight / 80.0f), true);
    wall->zDepthAttribute()->setValue(0, true);
    scene.addChild(wall, true);
}

void addHud(DemoGame& game, KXModelScreen& hud) {
    const Colour violet{140, 80, 200, 255};
    auto menu = demo::addButton(game, hud, "KXModelObjectButton", "Edge Menu", "MENU", "kBackToButton",
                                violet, CCPoint(kWidth - 170.0f, 595.0f), 5);
    menu->backToAttribute()->setValue("KXPScreenMainMenu", true);
    menu->keyboardKeyAttribute()->setValue(demo::kDemoEscapeKey, true);
    auto restart = demo::addButton(game, hud, "KXModelObjectButton", "Edge Restart", "RESTART",
                                   "kRestartButton", violet, CCPoint(kWidth - 170.0f, 510.0f), 5);
    restart->keyboardKeyAttribute()->setValue(kRestartKey, true);
    // Its selection is a number no model has.
    demo::addButton(game, hud, "KXModelObjectButtonPowerup", "Nowhere Powerup", "POWER", "987654321", violet,
                    CCPoint(170.0f, 595.0f), 5);

    auto review =
        game.make<KXModelObjectEventObserver>("KXModelObjectEventObserver", "Review After No Plays");
    set<KXAttributeStringList>(*review, "Event Type", std::string("kRequestReview"));
    set<KXAttributeFloat>(*review, "Plays Before Redirect", 0.0f);
    hud.addChild(review, true);

    auto selector =
        game.make<KXModelObjectCharacterSelector>("KXModelObjectCharacterSelector", "Packed Selector");
    place(*selector, CCPoint(kWidth * 0.5f, 520.0f), 4);
    set<KXAttributeFloat>(*selector, "Spread", 0.0f);
    hud.addChild(selector, true);
}

} // namespace

DemoGame buildEdgeHall(const std::shared_ptr<KXModelFont>& font, const RunawayValues& runaway) {
    DemoGame game;
    game.font = font;
    demo::ScreenNode& hall = game.addScreen("KXNodeScene", "KXModelScreenScene", kEdgesKey, "Hall of Edges");
    auto* scene = static_cast<KXModelScreenScene*>(hall.screen.get());
    // A slow, steady scroll: what stands at the start is left behind well within a run.
    scene->gameSpeedMinAttribute()->setValue(1.0f, true);
    scene->gameSpeedMaxAttribute()->setValue(1.0f, true);
    scene->speedIncreaseAttribute()->setValue(0.0f, true);
    addNegativeTiling(game, *scene);

    const auto slab =
        obstacle(game, "Edge Slab", block(284, 40, Colour{120, 110, 140, 255}, Colour{60, 50, 80, 255}));
    auto start = section(game, *scene, "Edge Hall", true);
    addFloor(game, *start, slab);
    addRunner(game, *start, "Edge Runner");
    addLightsAmidBlockers(game, *start);
    addRestlessPortals(game, *start);
    addCarriedPlank(game, *start);
    addFlatMirror(game, *start);
    // Floor to run on once the hall is behind.
    addFloor(game, *section(game, *scene, "Edge Floor", false), slab);

    demo::ScreenNode& hud = game.addScreen("KXNodeUI", "KXModelScreen", kEdgesHudKey, "Hall of Edges HUD");
    addHud(game, *hud.screen);
    demo::linkPort(hall, "UI", hud);
    // After the hall, so that the hall's models keep their ids.
    addRunawayField(game, slab, runaway);
    demo::addDemoAtlas(game);
    game.atlas->setName("Edge Atlas");
    return game;
}

} // namespace hostile
} // namespace kxdata
