#include <string>
#include <vector>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectGatekeeper.h"
#include "model/classes/KXModelObjectLogic.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelObjectScreenJump.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/demo/demo_portals.h"
#include "tools/kxdata/portals/portals_scenario.h"
#include "tools/kxdata/topdown/topdown_explorer.h"
#include "tools/kxdata/topdown/topdown_pictures.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace portals {

using namespace topdown;

namespace {

constexpr float kWidth = demo::kWidth;
constexpr float kHeight = demo::kHeight;
// The explorer's way east along the middle of the works.
constexpr float kWayY = 320.0f;
const CCPoint kLiftStart(820.0f, kWayY);
constexpr float kLiftRise = 200.0f;
const CCPoint kVaultDoor(960.0f, kWayY + kLiftRise);
const CCPoint kBeltStart(200.0f, 130.0f);
constexpr float kBeltLength = 560.0f;
const CCPoint kShuttleStart(1030.0f, 120.0f);

// --- pictures ---

Canvas floorCanvas() {
    Canvas canvas(142, 80);
    canvas.verticalGradient(Colour{70, 76, 88, 255}, Colour{56, 60, 72, 255});
    for (int x = 0; x < 142; x += 20) {
        canvas.fillRect(x, 0, 1, 80, Colour{84, 90, 104, 255});
    }
    for (int y = 0; y < 80; y += 20) {
        canvas.fillRect(0, y, 142, 1, Colour{84, 90, 104, 255});
    }
    return canvas;
}

Canvas wallCanvas() {
    Canvas canvas(40, 40);
    canvas.fillRect(0, 0, 40, 40, Colour{110, 100, 90, 255});
    canvas.fillRect(0, 19, 40, 2, Colour{80, 70, 62, 255});
    canvas.fillRect(19, 0, 2, 19, Colour{80, 70, 62, 255});
    return canvas;
}

Canvas turnstileCanvas() {
    Canvas canvas(30, 120);
    canvas.fillRect(11, 0, 8, 120, Colour{200, 200, 210, 255});
    for (int bar = 0; bar < 5; ++bar) {
        canvas.fillRect(0, 8 + bar * 24, 30, 6, Colour{230, 180, 40, 255});
    }
    return canvas;
}

Canvas beltCanvas() {
    Canvas canvas(40, 40);
    canvas.fillRect(0, 0, 40, 40, Colour{40, 40, 46, 255});
    for (int chevron = 0; chevron < 2; ++chevron) {
        for (int row = 0; row < 10; ++row) {
            const int shift = row < 5 ? row : 9 - row;
            canvas.fillRect(6 + chevron * 18 + shift, 15 + row, 4, 1, Colour{240, 200, 40, 255});
        }
    }
    return canvas;
}

Canvas barrelCanvas() {
    Canvas canvas(48, 48);
    canvas.disc(24.0f, 24.0f, 23.0f, Colour{170, 50, 40, 255});
    canvas.disc(24.0f, 24.0f, 17.0f, Colour{200, 70, 50, 255});
    canvas.disc(24.0f, 24.0f, 6.0f, Colour{60, 20, 20, 255});
    return canvas;
}

Canvas doorCanvas() {
    Canvas canvas(70, 70);
    canvas.roundedRect(0, 0, 70, 70, 10.0f, Colour{220, 180, 40, 255});
    canvas.roundedRect(6, 6, 58, 58, 8.0f, Colour{120, 90, 20, 255});
    canvas.disc(35.0f, 35.0f, 16.0f, Colour{240, 220, 120, 255});
    canvas.disc(35.0f, 35.0f, 6.0f, Colour{120, 90, 20, 255});
    return canvas;
}

Canvas gateCanvas() {
    Canvas canvas(60, 90);
    canvas.fillRect(0, 0, 8, 90, Colour{90, 200, 120, 255});
    canvas.fillRect(52, 0, 8, 90, Colour{90, 200, 120, 255});
    canvas.fillRect(0, 0, 60, 8, Colour{90, 200, 120, 255});
    for (int drop = 0; drop < 4; ++drop) {
        canvas.disc(
            14.0f + 11.0f * static_cast<float>(drop), 16.0f, 4.0f,
            Colour{static_cast<uint8_t>(80 + drop * 50), 120, static_cast<uint8_t>(240 - drop * 50), 255});
    }
    return canvas;
}

// --- pieces ---

void addWalls(DemoGame& game, KXModelLevelSection& works) {
    auto wall = obstacle(game, "Works Wall", wallCanvas());
    placeUnit(game, works, "Wall North", wall, "kPlatformObjectType", CCPoint(kWidth * 0.5f, kHeight - 20.0f),
              4, CCPoint(kWidth / 40.0f, 1.0f));
    placeUnit(game, works, "Wall South", wall, "kPlatformObjectType", CCPoint(kWidth * 0.5f, 20.0f), 4,
              CCPoint(kWidth / 40.0f, 1.0f));
    placeUnit(game, works, "Wall West", wall, "kPlatformObjectType", CCPoint(20.0f, kHeight * 0.5f), 4,
              CCPoint(1.0f, kHeight / 40.0f));
    placeUnit(game, works, "Wall East", wall, "kPlatformObjectType", CCPoint(kWidth - 20.0f, kHeight * 0.5f),
              4, CCPoint(1.0f, kHeight / 40.0f));
}

// Lets one character through; whoever comes through a second time is turned away for good.
void addTurnstile(DemoGame& game, KXModelLevelSection& works) {
    const CCPoint place(250.0f, kWayY);
    placeUnit(game, works, "Turnstile Bars", obstacle(game, "Turnstile Bars", turnstileCanvas()),
              "kDecorationObjectType", place, 5);
    auto gatekeeper = game.make<KXModelObjectGatekeeper>("KXModelObjectGatekeeper", kTurnstileName);
    gatekeeper->positionAttribute()->setValue(place, true);
    // Its area is 60 points square times its scale: a band across the way.
    gatekeeper->scaleAttribute()->setValue(CCPoint(0.5f, 2.0f), true);
    gatekeeper->zDepthAttribute()->setValue(7, true);
    setValue<KXAttributeFloat>(*gatekeeper, "Passed Amount", 1.0f);
    works.addChild(gatekeeper, true);
}

void addPortals(DemoGame& game, KXModelLevelSection& works) {
    const auto look = demo::portalLook(game);
    demo::placePortal(game, works, look,
                      demo::PortalPlace{"Works Portal", CCPoint(420.0f, kWayY), 3.0f, 300.0f, false, true});
    demo::placePortal(
        game, works, look,
        demo::PortalPlace{"Works Portal Exit", CCPoint(640.0f, kWayY), 3.0f, 300.0f, true, true});
}

std::shared_ptr<KXModelObjectPath> path(DemoGame& game, KXModelLevelSection& works, const std::string& name,
                                        CCPoint start, std::vector<CCPoint> points, const char* mode,
                                        const char* carries, float speed, float reach = 40.0f) {
    auto line = game.make<KXModelObjectPath>("KXModelObjectPath", name);
    line->positionAttribute()->setValue(start, true);
    line->setPoints(points);
    setValue<KXAttributeFloat>(*line, "Search Radius", reach);
    setValue<KXAttributeFloat>(*line, "Speed", speed);
    setValue<KXAttributeFloat>(*line, "Attraction Force", 100.0f);
    setValue<KXAttributeStringList>(*line, "Play Mode", std::string(mode));
    setValue<KXAttributeStringList>(*line, "Affected Asset", std::string(carries));
    works.addChild(line, true);
    return line;
}

// The lift takes whoever steps on it up once; the door there opens the vault over the works.
void addLiftAndVault(DemoGame& game, KXModelLevelSection& works) {
    // It reaches out a little further than a belt, so that a walker coasting onto it is caught.
    path(game, works, kLiftPathName, kLiftStart, {CCPoint(0.0f, kLiftRise)}, "kPlayModeSingle", "kCharacter",
         6.0f, 60.0f);
    placeUnit(game, works, "Lift Track", obstacle(game, "Lift Track", beltCanvas()), "kDecorationObjectType",
              kLiftStart + CCPoint(0.0f, kLiftRise * 0.5f), 2, CCPoint(1.0f, kLiftRise / 40.0f + 1.0f));
    placeUnit(game, works, "Vault Door Frame", obstacle(game, "Vault Door", doorCanvas()),
              "kDecorationObjectType", kVaultDoor, 5);
    // The screen jump's name is the scene's link it follows.
    auto door = game.make<KXModelObjectScreenJump>("KXModelObjectScreenJump", kVaultKey);
    door->positionAttribute()->setValue(kVaultDoor, true);
    door->zDepthAttribute()->setValue(7, true);
    setValue<KXAttributeBool>(*door, "Pause Current World", true);
    works.addChild(door, true);
    levelText(game, works, "Vault Sign", "VAULT", kVaultDoor + CCPoint(0.0f, 55.0f), 0.8f);
}

// The belt runs a crate east and brings it back to its start for good; on the way the paint gate
// turns it a quarter and grows it. The shuttle rides a barrel up and back down.
void addBeltAndShuttle(DemoGame& game, KXModelLevelSection& works) {
    auto crate = obstacle(game, "Crate", crateCanvas());
    auto belt = path(game, works, kBeltPathName, kBeltStart, {CCPoint(kBeltLength, 0.0f)}, "kPlayModeLoop",
                     "kAssets", 5.0f);
    setValue<KXAttributeStringList>(*belt, "Object Asset", std::to_string(crate->id()));
    placeUnit(game, works, "Belt Track", obstacle(game, "Belt Track", beltCanvas()), "kDecorationObjectType",
              kBeltStart + CCPoint(kBeltLength * 0.5f, 0.0f), 2, CCPoint(kBeltLength / 40.0f + 1.5f, 1.0f));
    placeUnit(game, works, kCrateName, crate, "kPhysicsObjectType", kBeltStart, 8);

    const CCPoint gatePlace = kBeltStart + CCPoint(kBeltLength * 0.5f, 0.0f);
    placeUnit(game, works, "Paint Gate Frame", obstacle(game, "Paint Gate Frame", gateCanvas()),
              "kDecorationObjectType", gatePlace, 9);
    auto gate = game.make<KXModelObjectLogic>("KXModelObjectLogic", kPaintGateName);
    gate->positionAttribute()->setValue(gatePlace, true);
    gate->zDepthAttribute()->setValue(7, true);
    setValue<KXAttributeStringList>(*gate, "Affected asset", std::to_string(crate->id()));
    setValue<KXAttributeStringList>(*gate, "Affect operation", std::string("kReplace"));
    setPoint(*gate, "Scale Modifier", CCPoint(1.4f, 1.4f));
    auto* turn = static_cast<KXAttributeFloat*>(gate->attribute("Rotation Modifier"));
    turn->setEmpty(false);
    turn->setValue(45.0f, true);
    works.addChild(gate, true);
    levelText(game, works, "Paint Sign", "PAINT", gatePlace + CCPoint(0.0f, 65.0f), 0.6f);

    auto barrel = obstacle(game, kBarrelName, barrelCanvas(), round(game, "Barrel Round", 22.0f));
    auto shuttle = path(game, works, kShuttlePathName, kShuttleStart,
                        {CCPoint(0.0f, 150.0f), CCPoint(0.0f, 300.0f)}, "kPlayModePingPong", "kAssets", 4.0f);
    setValue<KXAttributeStringList>(*shuttle, "Object Asset", std::to_string(barrel->id()));
    placeUnit(game, works, kBarrelName, barrel, "kPhysicsObjectType", kShuttleStart, 8);
}

} // namespace

void addWorksLevel(DemoGame& game, KXModelScreen& scene) {
    auto works = roomSection(game, scene, "Portal Works");
    // Under everything: images of the scene itself would be drawn over the field.
    placeUnit(game, *works, "Works Floor", obstacle(game, "Works Floor", floorCanvas()),
              "kDecorationObjectType", CCPoint(kWidth * 0.5f, kHeight * 0.5f), 0,
              CCPoint(kWidth / 142.0f, kHeight / 80.0f));
    addWalls(game, *works);
    addTurnstile(game, *works);
    addPortals(game, *works);
    addLiftAndVault(game, *works);
    addBeltAndShuttle(game, *works);
    placeExplorer(game, *works, explorerAsset(game, false), CCPoint(110.0f, kWayY));
}

} // namespace portals
} // namespace kxdata
