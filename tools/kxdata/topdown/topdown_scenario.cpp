#include "tools/kxdata/topdown/topdown_scenario.h"

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/topdown/topdown_explorer.h"
#include "tools/kxdata/topdown/topdown_pictures.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace topdown {

namespace {

// A touch area is the model's scale times 100 points.
constexpr float kPadScale = kPadSide / 100.0f;

void placePad(KXModelObject& control, CCPoint centre) {
    control.positionAttribute()->setValue(centre, true);
    control.scaleAttribute()->setValue(CCPoint(kPadScale, kPadScale), true);
    control.zDepthAttribute()->setValue(3, true);
}

} // namespace

void addGardenHud(DemoGame& game, KXModelScreen& hud) {
    const auto gem = game.picture("Gem Icon", gemCanvas(Colour{220, 40, 70, 255}));
    demo::addImage(game, hud, "Gem Icon", gem, CCPoint(80.0f, 590.0f), CCPoint(1.0f, 1.0f), 2);
    auto gems = demo::addText(game, hud, "Gems", "0", CCPoint(110.0f, 590.0f), 1.0f, 2);
    gems->actionAttribute()->setValue("kScoreVector", true);
    gems->worldAttribute()->setValue("kCurrentWorld", true);
    gems->alignmentAttribute()->setValue("kCCTextAlignmentLeft", true);
    demo::addText(game, hud, "Garden Title", "WALLED GARDEN", CCPoint(demo::kWidth * 0.5f, 590.0f), 1.0f, 2);

    // Dragging from the middle of the left pad walks the explorer that way.
    demo::addImage(game, hud, "Joystick Pad",
                   game.picture("Joystick Pad", padCanvas("MOVE", Colour{60, 90, 140, 255})), kJoystickCentre,
                   CCPoint(kPadScale, kPadScale), 1);
    auto joystick = game.make<KXModelObjectManipulator>("KXModelObjectManipulator", "Joystick");
    placePad(*joystick, kJoystickCentre);
    joystick->sensitivityAttribute()->setValue(1.0f, true);
    hud.addChild(joystick, true);

    // Quick strokes on the right pad: up hops, right dashes.
    demo::addImage(game, hud, "Swipe Pad Picture",
                   game.picture("Swipe Pad", padCanvas("SWIPE", Colour{140, 80, 140, 255})), kSwipePadCentre,
                   CCPoint(kPadScale, kPadScale), 1);
    auto swipe = game.make<KXModelObjectSwipeControl>("KXModelObjectSwipeControl", kSwipePadName);
    placePad(*swipe, kSwipePadCentre);
    hud.addChild(swipe, true);

    // Tilting would walk the explorer too, on a machine that can feel it.
    auto tilt = game.make<KXModelObjectAccelerometer>("KXModelObjectAccelerometer", "Tilt");
    tilt->sensitivityAttribute()->setValue(1.0f, true);
    tilt->controlTypeAttribute()->setValue("kControlTypeMove", true);
    tilt->activeAxesAttribute()->setValue("kActiveAxeXY", true);
    hud.addChild(tilt, true);

    // Held, the explorer ducks; D on the keyboard holds it too.
    auto duck = demo::addButton(game, hud, "KXModelObjectButtonControl", kDuckButtonName, "DUCK",
                                "kInputControllerActionButton", Colour{200, 130, 40, 255},
                                CCPoint(demo::kWidth - 170.0f, 320.0f), 5);
    duck->keyboardKeyAttribute()->setValue(static_cast<int>('D'), true);
}

DemoGame buildTopDownGame() {
    KXModelController::shared()->clear();
    DemoGame game;
    startGame(game, "KX Garden");
    demo::ScreenNode& garden = addTopDownScene(game, kGardenKey, "Garden");
    // Springy hedges: what runs into them bounces off, so the moths keep wandering.
    setValue<KXAttributeFloat>(*garden.screen, "Bounce", 0.95f);
    addGardenLevel(game, *garden.screen);
    demo::ScreenNode& hud = game.addScreen("KXNodeUI", "KXModelScreen", kGardenHudKey, "Garden HUD");
    addGardenHud(game, *hud.screen);
    demo::linkPort(game.screen("KXPScreenStart"), "Load", garden);
    demo::linkPort(garden, "UI", hud);
    finishGame(game);
    return game;
}

size_t writeTopDownScenario(const std::string& dir) {
    return writeGame(dir, buildTopDownGame());
}

} // namespace topdown
} // namespace kxdata
