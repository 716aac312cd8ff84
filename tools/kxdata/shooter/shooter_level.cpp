#include "tools/kxdata/shooter/shooter_level.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelComponentSpawner.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/shooter/shooter_pictures.h"
#include "tools/kxdata/shooter/shooter_scenario.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace shooter {

using demo::DemoGame;

namespace {

constexpr float kWidth = demo::kWidth;
// The height the ship flies at unless steered; every collectable on the way lies on it.
constexpr float kLine = 320.0f;
// The view's own speed, in points per 1/60 s, and the ship's push along with it.
constexpr float kScrollSpeed = 4.0f;
constexpr int kShipDepth = 10;

// --- models ---

template <class Attribute, class Value> void set(KXModel& model, const char* name, const Value& value) {
    auto* attribute = dynamic_cast<Attribute*>(model.attribute(name));
    if (attribute == nullptr) {
        throw std::runtime_error(std::string("the shooter misses the attribute ") + name);
    }
    attribute->setValue(value, true);
}

// A looping animation of one picture, or of several in turn at `framesPerSecond`.
std::shared_ptr<KXModelAnimation> look(DemoGame& game, const std::string& name, std::vector<Canvas> frames,
                                       bool loop, float duration, float framesPerSecond = 0.0f) {
    std::shared_ptr<KXModelSpriteContainer> picture;
    if (frames.size() == 1) {
        picture = game.picture(name, std::move(frames.front()));
    } else {
        picture = game.make<KXModelSpriteContainer>("KXModelSpriteContainer", name + " Frames");
        // A frame lasts 1/30 s divided by the container's speed.
        picture->animationSpeedAttribute()->setValue(framesPerSecond / 30.0f, true);
        for (size_t index = 0; index < frames.size(); ++index) {
            auto single = game.picture(name + " " + std::to_string(index + 1), std::move(frames[index]));
            picture->addChild(single->sprites().front(), true);
        }
    }
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(duration, true);
    animation->loopAttribute()->setValue(loop, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(picture);
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

std::shared_ptr<KXModelCircle> round(DemoGame& game, const std::string& name, float radius) {
    auto shape = game.make<KXModelCircle>("KXModelCircle", name);
    shape->addPoint(CCPoint(0.0f, 0.0f), true);
    shape->addPoint(CCPoint(radius, 0.0f), true);
    return shape;
}

std::shared_ptr<KXModelAssetObstacle> obstacle(DemoGame& game, const std::string& name, Canvas picture,
                                               const std::shared_ptr<KXModelPolygon>& shape) {
    auto asset = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", name);
    asset->setIdleAnimation(look(game, name + " Idle", {std::move(picture)}, true, 1.0f));
    asset->collisionShapeAttribute()->setValue(shape, true);
    return asset;
}

std::shared_ptr<KXModelLevelSection> section(DemoGame& game, KXModelScreen& scene, const std::string& name,
                                             int index) {
    auto made = game.make<KXModelLevelSection>("KXModelLevelSection", name);
    made->widthAttribute()->setValue(kWidth, true);
    if (index == 0) {
        made->initSectionAttribute()->setValue(true, true);
        made->startDistanceAttribute()->setValue(0.0f, true);
        made->endDistanceAttribute()->setValue(kWidth, true);
    } else {
        // Each section's window admits it alone, so the way runs in one order; the last one
        // repeats until the run ends.
        made->startDistanceAttribute()->setValue(kWidth * static_cast<float>(index), true);
        made->endDistanceAttribute()->setValue(
            index + 1 == kSectionCount ? -1.0f : kWidth * static_cast<float>(index + 1), true);
        made->playCooldownAttribute()->setValue(0.0f, true);
    }
    scene.addChild(made, true);
    return made;
}

std::shared_ptr<KXModelObjectAssetUnit> unit(DemoGame& game, KXModelLevelSection& into,
                                             const std::string& name,
                                             const std::shared_ptr<KXModelAssetObstacle>& asset,
                                             const std::string& kind, CCPoint position, CCPoint velocity,
                                             int depth = 8) {
    auto placed = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", name);
    placed->setAsset(asset);
    placed->setObjectType(kind);
    placed->positionAttribute()->setValue(position, true);
    placed->zDepthAttribute()->setValue(depth, true);
    placed->setLinearVelocity(velocity);
    into.addChild(placed, true);
    return placed;
}

void spawning(DemoGame& game, KXModelObjectAssetUnit& placed, const std::string& name, float rate) {
    auto spawner = game.make<KXModelComponentSpawner>("KXModelComponentSpawner", name);
    spawner->setSpawnAction("kPermanentSpawning");
    spawner->setSpawnRate(rate);
    placed.addChild(spawner, true);
}

// --- the ship ---

std::shared_ptr<KXModelComponentCharacterGameplaySettings> shipHandling(DemoGame& game) {
    auto handling = game.make<KXModelComponentCharacterGameplaySettings>(
        "KXModelComponentCharacterGameplaySettings", "Ship Handling");
    // Steers up and down quickly; pushed on as fast as the view moves (12 m/s is 4 points a frame),
    // so it keeps its place on the screen.
    set<KXAttributePoint>(*handling, "Max Speed", CCPoint(12.0f, 8.0f));
    set<KXAttributePoint>(*handling, "Bounce Force", CCPoint(0.0f, 0.0f));
    set<KXAttributePoint>(*handling, "Jump Force", CCPoint(0.0f, 0.0f));
    set<KXAttributeFloat>(*handling, "Jump Counter", 0.0f);
    set<KXAttributeFloat>(*handling, "Jump Timeout", 0.0f);
    set<KXAttributeFloat>(*handling, "Platform Friction", 1.0f);
    set<KXAttributeFloat>(*handling, "Rotation Drag", 1.0f);
    // Lets go of a climb or dive soon after the arrow is released.
    set<KXAttributePoint>(*handling, "Air Drag", CCPoint(1.0f, 0.9f));
    set<KXAttributeBool>(*handling, "Direct Movement", false);
    set<KXAttributeBool>(*handling, "Forced Movement", true);
    set<KXAttributeBool>(*handling, "Fixed Rotation", true);
    set<KXAttributeBool>(*handling, "Image Direction", false);
    return handling;
}

void addShip(DemoGame& game, KXModelLevelSection& into) {
    auto ship = game.make<KXModelAssetCharacter>("KXModelAssetCharacter", kShipName);
    auto hull = game.make<KXModelPolygon>("KXModelPolygon", "Ship Hull");
    hull->replaceWithBox(CCSize(70.0f, 30.0f), CCPoint(0.0f, 0.0f), true);
    ship->collisionShapeAttribute()->setValue(hull, true);
    ship->defaultAnimationAttribute()->setValue(
        look(game, "Ship Cruise", {shipCanvas(false, false), shipCanvas(false, true)}, true, 0.2f, 10.0f),
        true);
    ship->shootingAnimationAttribute()->setValue(
        look(game, "Ship Firing", {shipCanvas(false, true)}, true, 1.0f), true);
    ship->defeatedAnimationAttribute()->setValue(look(game, "Ship Wreck", {wreckCanvas()}, false, 0.6f),
                                                 true);
    ship->bulletAnimationAttribute()->setValue(look(game, "Ship Bolt", {shipBoltCanvas()}, true, 1.0f), true);
    ship->shootSoundAttribute()->setValue(
        game.sound("Bolt", {"synth 0.05 square 1500:700 fade 0 0.05 0.03 vol 0.25"}), true);
    ship->defeatedSoundAttribute()->setValue(
        game.sound("Ship Down", {"synth 0.6 brownnoise fade 0 0.6 0.4 vol 0.5"}), true);
    ship->gameOverDelayAttribute()->setValue(1.0f, true);
    ship->cameraFlashAttribute()->setValue(0.3f, true);
    ship->cameraShakeAttribute()->setValue(0.4f, true);
    ship->addChild(shipHandling(game), true);
    // Three hits a life, three lives; each hit flashes the hull red.
    auto armour = game.make<KXModelComponentHealth>("KXModelComponentHealth", "Ship Armour");
    armour->healthAttribute()->setValue(3.0f, true);
    armour->livesAttribute()->setValue(3.0f, true);
    armour->deathDelayAttribute()->setValue(0.2f, true);
    armour->takingDamageAnimationAttribute()->setValue(
        look(game, "Ship Hurt", {shipCanvas(true, false)}, false, 0.25f), true);
    armour->takingDamageSoundAttribute()->setValue(
        game.sound("Ship Hit", {"synth 0.12 square 220:110 fade 0 0.12 0.08 vol 0.4"}), true);
    ship->addChild(armour, true);

    auto placed = game.make<KXModelObjectAssetCharacter>("KXModelObjectAssetCharacter", kShipName);
    placed->setAsset(ship);
    placed->positionAttribute()->setValue(CCPoint(200.0f, kLine), true);
    placed->zDepthAttribute()->setValue(kShipDepth, true);
    into.addChild(placed, true);
}

// --- enemies ---

struct Enemies {
    std::shared_ptr<KXModelAssetObstacle> drone;
    std::shared_ptr<KXModelAssetObstacle> turret;
    std::shared_ptr<KXModelAssetObstacle> plasma;
};

Enemies enemies(DemoGame& game) {
    Enemies made;
    made.drone = obstacle(game, kDroneName, droneCanvas(false), round(game, "Drone Round", 20.0f));
    made.drone->defeatedAnimationAttribute()->setValue(
        look(game, "Drone Burst", {wreckCanvas()}, false, 0.4f), true);
    made.drone->deathSoundAttribute()->setValue(
        game.sound("Drone Pop", {"synth 0.25 pinknoise fade 0 0.25 0.2 vol 0.4"}), true);
    // Two bolts bring one down.
    auto hull = game.make<KXModelComponentHealth>("KXModelComponentHealth", "Drone Hull");
    hull->healthAttribute()->setValue(2.0f, true);
    hull->deathDelayAttribute()->setValue(0.1f, true);
    hull->takingDamageAnimationAttribute()->setValue(
        look(game, "Drone Hurt", {droneCanvas(true)}, false, 0.2f), true);
    hull->takingDamageSoundAttribute()->setValue(
        game.sound("Drone Hit", {"synth 0.06 square 900:600 fade 0 0.06 0.04 vol 0.3"}), true);
    made.drone->addChild(hull, true);
    made.turret = obstacle(game, "Turret", turretCanvas(), round(game, "Turret Round", 26.0f));
    made.plasma = obstacle(game, kTurretShotName, plasmaCanvas(), round(game, "Plasma Round", 8.0f));
    // One pass through the ship is one hit: the ship is safe from the next for half a second.
    for (const auto& attacker : {made.drone, made.plasma}) {
        auto sting = game.make<KXModelComponentDamage>("KXModelComponentDamage", attacker->name() + " Sting");
        sting->setDamage(1);
        sting->setDamageDelay(0.5f);
        attacker->addChild(sting, true);
    }
    return made;
}

// A drone that flies through the ship rather than shoving it, hurting it as it passes.
std::shared_ptr<KXModelObjectAssetUnit> drone(DemoGame& game, const Enemies& foes, KXModelLevelSection& into,
                                              const std::string& name, CCPoint position, float speed) {
    auto placed = unit(game, into, name, foes.drone, "kEnemyObjectType", position, CCPoint(-speed, 0.0f));
    placed->setCollisionType("kNoCollision");
    return placed;
}

// --- collectables ---

struct Token {
    const char* name;
    const char* type;
    Colour rim;
    Colour face;
    char symbol;
    float duration;
};

std::shared_ptr<KXModelAssetPowerup> powerup(DemoGame& game, const Token& token) {
    auto asset = game.make<KXModelAssetPowerup>("KXModelAssetPowerup", token.name);
    asset->idleAnimationAttribute()->setValue(look(game, std::string(token.name) + " Token",
                                                   {tokenCanvas(token.rim, token.face, token.symbol)}, true,
                                                   1.0f),
                                              true);
    asset->powerupTypeAttribute()->setValue(token.type, true);
    asset->durationAttribute()->setValue(token.duration, true);
    asset->appearanceChanceAttribute()->setValue(100.0f, true);
    asset->collisionShapeAttribute()->setValue(round(game, std::string(token.name) + " Round", 20.0f), true);
    asset->startSoundAttribute()->setValue(
        game.sound(std::string(token.name) + " Chime", {"synth 0.1 sine 880:1320 fade 0 0.1 0.06 vol 0.4"}),
        true);
    return asset;
}

// A ring round the ship while the effect runs.
void aura(DemoGame& game, KXModelAssetPowerup& asset, Colour colour) {
    asset.startAnimationAttribute()->setValue(
        look(game, asset.name() + " Aura", {auraCanvas(colour)}, true, 1.0f), true);
    asset.animationPlacementAttribute()->setValue("kPowerupCharacterConstraint", true);
    asset.animationBehaviourAttribute()->setValue("kOverlayBehaviour", true);
}

// The gravity well pulls the ship down and speeds the view up for a while. A gameplay powerup
// writes every value: those it does not mean to change repeat the ship's and the scene's, in the
// editor's units (the player divides them back).
void gravityWell(KXModelAssetPowerup& asset) {
    asset.gravityAttribute()->setValue(CCPoint(0.0f, -20.0f), true);
    asset.gameSpeedMinAttribute()->setValue(kScrollSpeed * 1.5f * 25.0f, true);
    asset.gameSpeedMaxAttribute()->setValue(kScrollSpeed * 1.5f * 25.0f, true);
    asset.speedIncreaseAttribute()->setValue(0.0f, true);
    // Keeps pace with the faster view: 18 m/s (the editor's figure is three times that).
    asset.maxSpeedAttribute()->setValue(CCPoint(54.0f, 24.0f), true);
    // Falls freely while the well pulls.
    asset.airDragAttribute()->setValue(CCPoint(0.0f, 2.0f), true);
    asset.timeWarpAttribute()->setValue(50.0f, true);
    asset.velocityDragAttribute()->setValue(1.0f, true);
    asset.rotationDragAttribute()->setValue(1.0f, true);
    asset.scoreMultiplierAttribute()->setValue(1.0f, true);
    asset.platformFrictionAttribute()->setValue(40.0f, true);
    asset.frictionAttribute()->setValue(20.0f, true);
    asset.fixedRotationAttribute()->setValue(true, true);
}

void place(DemoGame& game, KXModelLevelSection& into, const std::shared_ptr<KXModelAssetPowerup>& asset,
           const std::string& name, CCPoint position, float scale = 1.0f) {
    auto placed = game.make<KXModelObjectAssetPowerup>("KXModelObjectAssetPowerup", name);
    placed->setAsset(asset);
    placed->positionAttribute()->setValue(position, true);
    placed->zDepthAttribute()->setValue(9, true);
    placed->scaleAttribute()->setValue(CCPoint(scale, scale), true);
    into.addChild(placed, true);
}

} // namespace

std::shared_ptr<KXModelAssetPowerup> addShooterLevel(DemoGame& game, KXModelScreen& scene) {
    if (auto* field = dynamic_cast<KXModelScreenScene*>(&scene)) {
        // Space: nothing falls; the view moves on by itself.
        field->gravityAttribute()->setValue(CCPoint(0.0f, 0.0f), true);
        field->gameSpeedMinAttribute()->setValue(kScrollSpeed, true);
        field->gameSpeedMaxAttribute()->setValue(kScrollSpeed, true);
        field->speedIncreaseAttribute()->setValue(0.0f, true);
        field->timeWarpAttribute()->setValue(1.0f, true);
        field->velocityDragAttribute()->setValue(1.0f, true);
        field->frictionAttribute()->setValue(0.2f, true);
        field->scoreMultiplierAttribute()->setValue(1.0f, true);
        // The view's edges hold the ship in: above, below and behind.
        for (unsigned int edge : {0u, 2u, 3u}) {
            field->objectFrameStateAttribute(edge)->setValue(KXObjectFrameEdgePushBack, true);
        }
    }
    const Enemies foes = enemies(game);
    const Colour gold{200, 140, 20, 255};
    auto coin = powerup(game, {"Star Coin", "kPowerupCoin", gold, Colour{250, 210, 60, 255}, 'C', 0.0f});
    coin->rewardCoinsAttribute()->setValue(1.0f, true);
    coin->showCoinRewardAttribute()->setValue(true, true);
    auto gem = powerup(
        game, {"Gem", "kPowerupNone", Colour{30, 150, 90, 255}, Colour{60, 220, 140, 255}, 'P', 0.0f});
    gem->rewardPointsAttribute()->setValue(50.0f, true);
    gem->showPointsRewardAttribute()->setValue(true, true);
    auto magnet = powerup(
        game, {"Magnet", "kPowerupMagnet", Colour{110, 50, 170, 255}, Colour{160, 90, 220, 255}, 'M', 6.0f});
    aura(game, *magnet, Colour{170, 110, 240, 255});
    magnet->rewardPointsAttribute()->setValue(10.0f, true);
    auto shield = powerup(game, {"Shield", "kPowerupInvincibility", Colour{40, 90, 200, 255},
                                 Colour{80, 150, 250, 255}, 'S', 6.0f});
    aura(game, *shield, Colour{120, 190, 255, 255});
    shield->cameraFlashAttribute()->setValue(0.2f, true);
    auto bomb = powerup(game, {"Nova Bomb", "kPowerupKillAllEnemies", Colour{200, 60, 30, 255},
                               Colour{250, 120, 40, 255}, 'B', 0.0f});
    bomb->cameraShakeAttribute()->setValue(0.5f, true);
    bomb->cameraFlashAttribute()->setValue(0.3f, true);
    auto dash = powerup(game, {"Rocket Dash", "kPowerupStrike", Colour{110, 160, 20, 255},
                               Colour{180, 230, 60, 255}, 'D', 1.0f});
    aura(game, *dash, Colour{200, 240, 90, 255});
    auto beacon = powerup(game, {"Beacon", "kPowerupCheckpoint", Colour{20, 140, 140, 255},
                                 Colour{60, 220, 210, 255}, 'K', 0.0f});
    auto well = powerup(game, {"Gravity Well", "kPowerupGameplay", Colour{90, 90, 110, 255},
                               Colour{150, 150, 180, 255}, 'G', 4.0f});
    gravityWell(*well);
    auto rewind = powerup(game, {"Rewind", "kPowerupRestartCheckpoint", Colour{170, 40, 120, 255},
                                 Colour{230, 90, 180, 255}, 'R', 0.0f});
    auto jump = powerup(game, {"Jump Gate", "kPowerupNextCheckpoint", Colour{130, 80, 40, 255},
                               Colour{200, 150, 90, 255}, 'J', 0.0f});
    auto exit = powerup(game, {"Exit Portal", "kPowerupEndGame", Colour{230, 230, 240, 255},
                               Colour{120, 60, 200, 255}, 'E', 0.0f});
    exit->rewardPointsAttribute()->setValue(100.0f, true);
    exit->showPointsRewardAttribute()->setValue(true, true);

    // 1. The launch bay: the ship, a row of coins, a gem and one drone to shoot.
    auto bay = section(game, scene, "Launch Bay", 0);
    addShip(game, *bay);
    for (int index = 0; index < 4; ++index) {
        place(game, *bay, coin, "Bay Coin " + std::to_string(index + 1),
              CCPoint(420.0f + 60.0f * static_cast<float>(index), kLine));
    }
    place(game, *bay, gem, "Bay Gem", CCPoint(720.0f, kLine));
    drone(game, foes, *bay, "Scout", CCPoint(1080.0f, kLine), 1.5f);

    // 2. The hive keeps sending drones down the line; the magnet pulls in coins off it.
    auto hive = section(game, scene, "Drone Hive", 1);
    place(game, *hive, magnet, "Hive Magnet", CCPoint(150.0f, kLine));
    for (int index = 0; index < 4; ++index) {
        place(game, *hive, coin, "Hive Coin " + std::to_string(index + 1),
              CCPoint(400.0f + 100.0f * static_cast<float>(index),
                      index % 2 == 0 ? kLine + 90.0f : kLine - 90.0f));
    }
    auto nest = drone(game, foes, *hive, kHiveName, CCPoint(1100.0f, kLine), 4.0f);
    spawning(game, *nest, "Hive Spawner", 1.5f);

    // 3. A minefield of drones: the shield rams through the first, the bomb clears the rest.
    auto mines = section(game, scene, "Minefield", 2);
    place(game, *mines, shield, "Field Shield", CCPoint(120.0f, kLine));
    drone(game, foes, *mines, "Mine 1", CCPoint(420.0f, kLine), 0.5f);
    drone(game, foes, *mines, "Mine 2", CCPoint(520.0f, kLine + 120.0f), 0.5f);
    place(game, *mines, bomb, "Field Bomb", CCPoint(800.0f, kLine));
    drone(game, foes, *mines, "Mine 3", CCPoint(960.0f, kLine + 130.0f), 0.5f);
    drone(game, foes, *mines, "Mine 4", CCPoint(1020.0f, kLine - 130.0f), 0.5f);
    drone(game, foes, *mines, "Mine 5", CCPoint(1100.0f, kLine + 40.0f), 0.5f);

    // 4. A checkpoint, a dash, and a turret firing plasma down the line.
    auto reach = section(game, scene, "Beacon Reach", 3);
    place(game, *reach, beacon, "Reach Beacon", CCPoint(150.0f, kLine));
    place(game, *reach, dash, "Reach Dash", CCPoint(450.0f, kLine));
    unit(game, *reach, "Turret", foes.turret, "kDecorationObjectType", CCPoint(1090.0f, kLine - 6.0f),
         CCPoint(), 7);
    auto shot = unit(game, *reach, kTurretShotName, foes.plasma, "kBulletObjectType", CCPoint(1050.0f, kLine),
                     CCPoint(-8.0f, 0.0f));
    spawning(game, *shot, "Turret Spawner", 1.0f);

    // 5. Above the line a rewind to the beacon; on it a gate that jumps to the next beacon.
    auto gates = section(game, scene, "Gates", 4);
    place(game, *gates, rewind, "Gates Rewind", CCPoint(300.0f, kLine + 150.0f));
    place(game, *gates, jump, "Gates Jump", CCPoint(800.0f, kLine));

    // 6. The last beacon, then the gravity well drags the ship down onto the exit portal.
    auto exitSection = section(game, scene, "Exit", 5);
    place(game, *exitSection, beacon, "Exit Beacon", CCPoint(100.0f, kLine));
    place(game, *exitSection, well, "Exit Well", CCPoint(250.0f, kLine));
    place(game, *exitSection, exit, "Exit Portal", CCPoint(810.0f, 50.0f), 2.0f);
    return bomb;
}

} // namespace shooter
} // namespace kxdata
