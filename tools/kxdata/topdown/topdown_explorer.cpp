#include "tools/kxdata/topdown/topdown_explorer.h"

#include <string>
#include <vector>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelComponentIsoJump.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelComponentSlide.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/topdown/topdown_pictures.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace topdown {

namespace {

Canvas pose(int step, bool lifted = false, bool dashing = false) {
    ExplorerPose explorer;
    explorer.step = step;
    explorer.lifted = lifted;
    explorer.dashing = dashing;
    return explorerCanvas(explorer);
}

// Walks up to 9 m/s each way; without gravity it is never on the ground, so the air drag is what
// brings it to a stop once the stick is let go.
std::shared_ptr<KXModelComponentCharacterGameplaySettings> walking(DemoGame& game) {
    auto physics = game.make<KXModelComponentCharacterGameplaySettings>(
        "KXModelComponentCharacterGameplaySettings", "Explorer Walking");
    setValue<KXAttributePoint>(*physics, "Max Speed", CCPoint(9.0f, 9.0f));
    setValue<KXAttributePoint>(*physics, "Bounce Force", CCPoint(0.0f, 0.0f));
    setValue<KXAttributePoint>(*physics, "Jump Force", CCPoint(0.0f, 0.0f));
    setValue<KXAttributeFloat>(*physics, "Jump Counter", 0.0f);
    setValue<KXAttributePoint>(*physics, "Air Drag", CCPoint(0.85f, 0.85f));
    setValue<KXAttributeBool>(*physics, "Direct Movement", false);
    setValue<KXAttributeBool>(*physics, "Forced Movement", false);
    setValue<KXAttributeBool>(*physics, "Fixed Rotation", true);
    setValue<KXAttributeBool>(*physics, "Image Direction", true);
    return physics;
}

// A hop drawn over the explorer's shadow: up for a tenth of a second, then down; a second hop in
// the air goes higher still.
std::shared_ptr<KXModelComponentIsoJump> hop(DemoGame& game) {
    auto jump = game.make<KXModelComponentIsoJump>("KXModelComponentIsoJump", "Hop");
    setValue<KXAttributeStringList>(*jump, "Event", std::string("kSwipe-") + kSwipePadName + "-2");
    setPoint(*jump, "Jump Velocity", CCPoint(0.0f, 7.0f));
    setPoint(*jump, "Jump Gravity", CCPoint(0.0f, 0.7f));
    setValue<KXAttributeFloat>(*jump, "Jump Speed", 60.0f);
    setValue<KXAttributeFloat>(*jump, "Jump Duration", 1.5f);
    setValue<KXAttributeFloat>(*jump, "Jump Timeout", 0.1f);
    setValue<KXAttributeFloat>(*jump, "Jump Count", 2.0f);
    setValue<KXAttributeAnimation>(*jump, "Animation",
                                   frames(game, "Explorer Hop", {pose(1, true), pose(-1, true)}, 8.0f));
    setValue<KXAttributeAnimation>(*jump, "Ground", look(game, "Explorer Shadow", shadowCanvas()));
    setValue<KXAttributeSound>(*jump, "Jump Sound",
                               game.sound("Hop", {"synth 0.12 sine 400:800 fade 0 0.12 0.06 vol 0.4"}));
    setValue<KXAttributeSound>(
        *jump, "Double Jump Sound",
        game.sound("Hop Again", {"synth 0.12 sine 600:1200 fade 0 0.12 0.06 vol 0.4"}));
    return jump;
}

// A swipe right sends it off at speed for a third of a second.
std::shared_ptr<KXModelComponentMove> dash(DemoGame& game) {
    auto move = game.make<KXModelComponentMove>("KXModelComponentMove", "Dash");
    setValue<KXAttributeStringList>(*move, "Event", std::string("kSwipe-") + kSwipePadName + "-1");
    setPoint(*move, "Linear Velocity", CCPoint(9.0f, 0.0f));
    setValue<KXAttributeFloat>(*move, "Timeout", 0.35f);
    setValue<KXAttributeAnimation>(*move, "Animation", look(game, "Explorer Dash", pose(0, false, true)));
    setValue<KXAttributeSound>(*move, "Sound",
                               game.sound("Dash", {"synth 0.2 noise fade 0 0.2 0.15 vol 0.25"}));
    return move;
}

// Held DUCK (any action button) makes it small: a smaller body, kicking up dust.
std::shared_ptr<KXModelComponentSlide> duck(DemoGame& game) {
    auto slide = game.make<KXModelComponentSlide>("KXModelComponentSlide", "Duck Down");
    setValue<KXAttributeStringList>(*slide, "Event", std::string("kEventButton"));
    setValue<KXAttributeShape>(*slide, "Collision Shape", round(game, "Explorer Ducked Round", 18.0f));
    setValue<KXAttributeAnimation>(*slide, "Animation", look(game, "Explorer Ducked", duckDustCanvas()));
    setValue<KXAttributeSound>(*slide, "Slide Sound",
                               game.sound("Duck", {"synth 0.15 sine 300:150 fade 0 0.15 0.1 vol 0.3"}));
    return slide;
}

} // namespace

std::shared_ptr<KXModelAssetCharacter> explorerAsset(DemoGame& game, bool hopAndDash) {
    auto explorer = game.make<KXModelAssetCharacter>("KXModelAssetCharacter", kExplorerName);
    explorer->collisionShapeAttribute()->setValue(round(game, "Explorer Round", 24.0f), true);
    explorer->defaultAnimationAttribute()->setValue(look(game, "Explorer Stand", pose(0)), true);
    explorer->moveAnimationAttribute()->setValue(
        frames(game, "Explorer Walk", {pose(1), pose(0), pose(-1), pose(0)}, 8.0f), true);
    explorer->addChild(walking(game), true);
    if (hopAndDash) {
        explorer->addChild(hop(game), true);
        explorer->addChild(dash(game), true);
        explorer->addChild(duck(game), true);
    }
    return explorer;
}

std::shared_ptr<KXModelObjectAssetCharacter>
placeExplorer(DemoGame& game, KXModelLevelSection& section,
              const std::shared_ptr<KXModelAssetCharacter>& asset, CCPoint position) {
    auto placed = game.make<KXModelObjectAssetCharacter>("KXModelObjectAssetCharacter", kExplorerName);
    placed->setAsset(asset);
    placed->positionAttribute()->setValue(position, true);
    placed->zDepthAttribute()->setValue(10, true);
    section.addChild(placed, true);
    return placed;
}

} // namespace topdown
} // namespace kxdata
