#include <string>
#include <vector>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentMotor.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelComponentRotationMapper.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeAnimation.h"
#include "tools/kxdata/topdown/topdown_explorer.h"
#include "tools/kxdata/topdown/topdown_pictures.h"
#include "tools/kxdata/topdown/topdown_scenario.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace topdown {

namespace {

constexpr float kWidth = demo::kWidth;
constexpr float kHeight = demo::kHeight;
constexpr float kHedge = 40.0f;

std::shared_ptr<KXModelAssetObstacle> addHedges(DemoGame& game, KXModelLevelSection& garden) {
    auto hedge = obstacle(game, "Hedge", hedgeCanvas());
    const float across = kWidth / kHedge;
    const float up = kHeight / kHedge;
    placeUnit(game, garden, "Hedge North", hedge, "kPlatformObjectType",
              CCPoint(kWidth * 0.5f, kHeight - 20.0f), 4, CCPoint(across, 1.0f));
    placeUnit(game, garden, "Hedge South", hedge, "kPlatformObjectType", CCPoint(kWidth * 0.5f, 20.0f), 4,
              CCPoint(across, 1.0f));
    placeUnit(game, garden, "Hedge West", hedge, "kPlatformObjectType", CCPoint(20.0f, kHeight * 0.5f), 4,
              CCPoint(1.0f, up));
    placeUnit(game, garden, "Hedge East", hedge, "kPlatformObjectType",
              CCPoint(kWidth - 20.0f, kHeight * 0.5f), 4, CCPoint(1.0f, up));
    return hedge;
}

// Trees and the explorer drawn nearer the bottom in front: the group sorts their depth by height.
void addGroveGroup(DemoGame& game, KXModelLevelSection& garden,
                   const std::shared_ptr<KXModelObjectAssetCharacter>& explorer) {
    auto group = game.make<KXModelObjectGroup>("KXModelObjectGroup", "Grove");
    setValue<KXAttributeBool>(*group, "Auto Depth Sorting", true);
    setValue<KXAttributeStringList>(*group, "Sort Direction", std::string("gAxisX"));
    setValue<KXAttributeStringList>(*group, "Sort Order", std::string("gSortAsc"));
    group->zDepthAttribute()->setValue(10, true);
    garden.addChild(group, true);
    const auto oak =
        obstacle(game, "Oak", treeCanvas(Colour{50, 130, 60, 255}), round(game, "Oak Trunk", 14.0f));
    const auto birch =
        obstacle(game, "Birch", treeCanvas(Colour{120, 170, 60, 255}), round(game, "Birch Trunk", 14.0f));
    const std::vector<CCPoint> places = {CCPoint(330.0f, 470.0f), CCPoint(560.0f, 250.0f),
                                         CCPoint(760.0f, 470.0f), CCPoint(930.0f, 300.0f)};
    for (size_t index = 0; index < places.size(); ++index) {
        auto tree = placeUnit(game, garden, "Tree " + std::to_string(index + 1), index % 2 == 0 ? oak : birch,
                              "kPlatformObjectType", places[index], 10);
        group->addChild(tree, true);
    }
    group->addChild(explorer, true);
}

// Beetles march on their motors and turn back each time they reach a hedge.
void addBeetles(DemoGame& game, KXModelLevelSection& garden,
                const std::shared_ptr<KXModelAssetObstacle>& hedge) {
    auto beetle = obstacle(game, "Beetle", beetleCanvas(), round(game, "Beetle Round", 16.0f));
    auto motor = game.make<KXModelComponentMotor>("KXModelComponentMotor", "Beetle Legs");
    setValue<KXAttributePoint>(*motor, "Linear Velocity", CCPoint(4.0f, 2.5f));
    setValue<KXAttributeFloat>(*motor, "Angular Velocity", 0.0f);
    setValue<KXAttributeStringList>(*motor, "Event", std::string("kEventCollision"));
    setValue<KXAttributePoint>(*motor, "Linear Multiplier", CCPoint(-1.0f, -1.0f));
    setValue<KXAttributeFloat>(*motor, "Angular Multiplier", 1.0f);
    setValue<KXAttributeStringList>(*motor, "Affected asset", std::to_string(hedge->id()));
    beetle->addChild(motor, true);
    placeUnit(game, garden, "Beetle 1", beetle, "kPhysicsObjectType", CCPoint(640.0f, 120.0f), 8);
    placeUnit(game, garden, "Beetle 2", beetle, "kPhysicsObjectType", CCPoint(420.0f, 560.0f), 8);
}

// Moths set off each their own way (a random spread around no speed at all) and drift about.
void addMoths(DemoGame& game, KXModelLevelSection& garden) {
    auto moth = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", "Moth");
    moth->setIdleAnimation(frames(game, "Moth Flutter", {mothCanvas(true), mothCanvas(false)}, 10.0f));
    moth->collisionShapeAttribute()->setValue(round(game, "Moth Round", 12.0f), true);
    const std::vector<CCPoint> places = {CCPoint(250.0f, 150.0f), CCPoint(700.0f, 380.0f),
                                         CCPoint(1000.0f, 520.0f)};
    for (size_t index = 0; index < places.size(); ++index) {
        auto placed = placeUnit(game, garden, "Moth " + std::to_string(index + 1), moth, "kPhysicsObjectType",
                                places[index], 12);
        auto* velocity = static_cast<KXAttributePoint*>(placed->attribute("Linear Velocity"));
        velocity->setValue(CCPoint(0.0f, 0.0f), true);
        velocity->setVariableValue(CCPoint(3.0f, 3.0f));
    }
}

// The top spins for good; what it shows is picked from its angle, one picture per eighth of a turn.
void addSpinningTop(DemoGame& game, KXModelLevelSection& garden) {
    auto top = obstacle(game, "Top", topCanvas(0), round(game, "Top Round", 27.0f));
    std::vector<Canvas> turns;
    for (int turn = 0; turn < 8; ++turn) {
        turns.push_back(topCanvas(turn));
    }
    auto mapper = game.make<KXModelComponentRotationMapper>("KXModelComponentRotationMapper", "Top Turns");
    // Eight pictures over 8/30 s: one drawn frame each.
    setValue<KXAttributeAnimation>(*mapper, "Animation", frames(game, "Top Turn", std::move(turns), 30.0f));
    top->addChild(mapper, true);
    auto placed = placeUnit(game, garden, "Top", top, "kPhysicsObjectType", CCPoint(180.0f, 500.0f), 8);
    setValue<KXAttributeFloat>(*placed, "Angular Velocity", 3.0f);
}

// The crate slides away for a little while when the explorer bumps into it.
void addCrate(DemoGame& game, KXModelLevelSection& garden) {
    auto crate = obstacle(game, "Crate", crateCanvas());
    auto push = game.make<KXModelComponentMove>("KXModelComponentMove", "Shove");
    setValue<KXAttributeStringList>(*push, "Event", std::string("kEventCollision"));
    // Any character.
    setValue<KXAttributeStringList>(*push, "Affected asset", std::string("-2"));
    setPoint(*push, "Linear Velocity", CCPoint(5.0f, 0.0f));
    setValue<KXAttributeFloat>(*push, "Timeout", 0.6f);
    crate->addChild(push, true);
    placeUnit(game, garden, "Crate", crate, "kPhysicsObjectType", CCPoint(780.0f, 320.0f), 8);
}

void addGems(DemoGame& game, KXModelLevelSection& garden) {
    auto ruby = coinAsset(game, "Ruby", gemCanvas(Colour{220, 40, 70, 255}), 1.0f);
    auto sapphire = coinAsset(game, "Sapphire", gemCanvas(Colour{50, 110, 240, 255}), 5.0f);
    // A row along the explorer's way east, and two up north.
    for (int index = 0; index < 4; ++index) {
        placePowerup(game, garden, ruby, "Ruby " + std::to_string(index + 1),
                     CCPoint(300.0f + 70.0f * static_cast<float>(index), 320.0f));
    }
    placePowerup(game, garden, sapphire, "Sapphire 1", CCPoint(640.0f, 420.0f));
    placePowerup(game, garden, sapphire, "Sapphire 2", CCPoint(200.0f, 320.0f + 200.0f - 60.0f));
}

} // namespace

void addGardenLevel(DemoGame& game, KXModelScreen& scene) {
    auto garden = roomSection(game, scene, kGardenSection);
    // Under everything: images of the scene itself would be drawn over the field.
    placeUnit(game, *garden, "Lawn", obstacle(game, "Lawn", lawnCanvas()), "kDecorationObjectType",
              CCPoint(kWidth * 0.5f, kHeight * 0.5f), 0, CCPoint(kWidth / 142.0f, kHeight / 80.0f));
    const auto hedge = addHedges(game, *garden);
    auto explorer = placeExplorer(game, *garden, explorerAsset(game, true), CCPoint(200.0f, 320.0f));
    addGroveGroup(game, *garden, explorer);
    addBeetles(game, *garden, hedge);
    addMoths(game, *garden);
    addSpinningTop(game, *garden);
    addCrate(game, *garden);
    addGems(game, *garden);
    levelText(game, *garden, "Garden Sign", "MIND THE BEETLES", CCPoint(kWidth * 0.5f, 80.0f), 0.8f);
}

} // namespace topdown
} // namespace kxdata
