// The arena: the demo's meadow held still, with its hero, under a heads-up screen of game
// buttons: a coin bonus used without limit, shields from the inventory (the shop sells them), a
// powerup button shown only past a distance, jump and run control buttons, an action button, the
// joystick, pause (its screen resumes or restarts) and back to the menu by name.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "tools/kxdata/demo/demo_backgrounds.h"
#include "tools/kxdata/demo/demo_character.h"
#include "tools/kxdata/demo/demo_units.h"
#include "tools/kxdata/menus/menus_parts.h"
#include "tools/kxdata/menus/menus_scenario.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace menus {

namespace {

constexpr float kHudRight = demo::kWidth - 170.0f;

std::shared_ptr<KXModelObjectButtonPowerup>
addPowerupButton(DemoGame& game, KXModelScreen& hud, const std::string& name, const std::string& caption,
                 const std::shared_ptr<KXModelAssetPowerup>& powerup, Colour colour, CCPoint position) {
    auto button = std::static_pointer_cast<KXModelObjectButtonPowerup>(
        demo::addButton(game, hud, "KXModelObjectButtonPowerup", name, caption,
                        powerup ? std::to_string(powerup->id()) : std::string(), colour, position, 5));
    button->labelOffsetAttribute()->setValue(CCPoint(100.0f, 40.0f), true);
    button->labelScaleAttribute()->setValue(0.6f, true);
    button->layeringAttribute()->setValue("kAboveCharacter", true);
    return button;
}

void addHud(DemoGame& game, const std::shared_ptr<KXModelAssetPowerup>& bonus,
            const std::shared_ptr<KXModelAssetPowerup>& shield) {
    demo::ScreenNode& hud = game.addScreen("KXNodeUI", "KXModelScreen", kArenaHudKey, "Arena HUD");
    KXModelScreen& screen = *hud.screen;
    demo::addText(game, screen, "Arena Coins Caption", "COINS", CCPoint(80.0f, 600.0f), 0.6f, 2);
    auto coins = demo::addText(game, screen, "Arena Coins", "0", CCPoint(140.0f, 600.0f), 0.8f, 2);
    coins->actionAttribute()->setValue("kScoreVector", true);
    coins->worldAttribute()->setValue("kCurrentWorld", true);
    coins->alignmentAttribute()->setValue("kCCTextAlignmentLeft", true);

    auto unlimited =
        addPowerupButton(game, screen, "Bonus Button", "BONUS", bonus, kGold, CCPoint(kHudRight, 590.0f));
    unlimited->unlimitedUseAttribute()->setValue(true, true);
    auto stocked =
        addPowerupButton(game, screen, "Shield Button", "SHIELD", shield, kBlue, CCPoint(kHudRight, 510.0f));
    stocked->maxRefillAttribute()->setValue(1.0f, true);
    stocked->refillTimeoutAttribute()->setValue(1.0f, true);
    stocked->refillAtStartAttribute()->setValue(true, true);
    // Shown once the run has come a tenth of the best run's way.
    auto far =
        addPowerupButton(game, screen, "Far Bonus", "FAR BONUS", bonus, kGold, CCPoint(kHudRight, 430.0f));
    far->unlimitedUseAttribute()->setValue(true, true);
    far->visibilityThresholdAttribute()->setValue(10.0f, true);

    demo::addButton(game, screen, "KXModelObjectButtonControl", "Jump Button", "JUMP", "kCharacterJumpButton",
                    kGreen, CCPoint(kHudRight, 190.0f), 5);
    demo::addButton(game, screen, "KXModelObjectButtonControl", "Run Button", "RUN",
                    "kCharacterMoveRightButton", kGreen, CCPoint(kHudRight, 110.0f), 5);
    addPlain(game, screen, "Action Button", "ACTION", "kInputControllerActionButton", kViolet,
             CCPoint(kHudRight - 300.0f, 110.0f));
    addPlain(game, screen, "Arena Pause", "PAUSE", "kPauseButton", kRed, CCPoint(680.0f, 590.0f));
    auto menu = addPlain(game, screen, "Arena Menu", "MENU", "kBackToButton", kRed, CCPoint(390.0f, 590.0f));
    menu->backToAttribute()->setValue(kMenuKey, true);

    // The joystick's touch area has no picture of its own: a pad under it shows where it is.
    demo::Canvas pad(100, 100);
    pad.disc(50.0f, 50.0f, 48.0f, Colour{255, 255, 255, 110});
    pad.disc(50.0f, 50.0f, 42.0f, Colour{40, 60, 90, 90});
    pad.disc(50.0f, 50.0f, 18.0f, Colour{255, 255, 255, 170});
    demo::addImage(game, screen, "Arena Pad", game.picture("Arena Pad", std::move(pad)),
                   CCPoint(130.0f, 130.0f), CCPoint(2.0f, 2.0f), 1);
    auto joystick = game.make<KXModelObjectManipulator>("KXModelObjectManipulator", "Arena Joystick");
    joystick->scaleAttribute()->setValue(CCPoint(2.0f, 2.0f), true);
    joystick->positionAttribute()->setValue(CCPoint(130.0f, 130.0f), true);
    joystick->zDepthAttribute()->setValue(1, true);
    joystick->sensitivityAttribute()->setValue(1.0f, true);
    screen.addChild(joystick, true);

    // A swipe across the middle of the field steers too; a tilt control is there but gets no
    // readings on a desktop.
    auto swipe = game.make<KXModelObjectSwipeControl>("KXModelObjectSwipeControl", "Arena Swipe");
    swipe->positionAttribute()->setValue(CCPoint(kMiddle, 300.0f), true);
    swipe->scaleAttribute()->setValue(CCPoint(3.0f, 1.5f), true);
    swipe->zDepthAttribute()->setValue(1, true);
    screen.addChild(swipe, true);
    auto tilt = game.make<KXModelObjectAccelerometer>("KXModelObjectAccelerometer", "Arena Tilt");
    screen.addChild(tilt, true);
    // A defeated hero ends the run on the menu.
    auto over = game.make<KXModelObjectEventObserver>("KXModelObjectEventObserver", "Arena Over");
    setText(*over, "Event Type", "kGameOver");
    screen.addChild(over, true);
    demo::linkPort(hud, "Arena Over", game.screen(kMenuKey));

    demo::ScreenNode& pause = game.addScreen("KXNodeUI", "KXModelScreen", kPauseKey, "Arena Pause Screen");
    KXModelScreen& pauseScreen = *pause.screen;
    // A dark panel keeps the pause screen readable over the field.
    demo::Canvas panel(200, 150);
    panel.roundedRect(0, 0, 200, 150, 22.0f, Colour{30, 60, 110, 225});
    panel.roundedRect(6, 6, 188, 138, 18.0f, Colour{15, 30, 60, 225});
    demo::addImage(game, pauseScreen, "Arena Pause Panel",
                   game.picture("Arena Pause Panel", std::move(panel)), CCPoint(kMiddle, 370.0f),
                   CCPoint(2.2f, 2.2f), 0);
    demo::addText(game, pauseScreen, "Arena Paused", "PAUSED", CCPoint(kMiddle, 480.0f), 2.0f, 2);
    addPlain(game, pauseScreen, "Arena Resume", "RESUME", "kBackButton", kBlue, CCPoint(kMiddle, kRow2));
    addPlain(game, pauseScreen, "Arena Restart", "RESTART", "kRestartButton", kBlue, CCPoint(kMiddle, kRow3));
    demo::linkPort(hud, "Arena Pause", pause);
}

} // namespace

void addArena(DemoGame& game) {
    demo::ScreenNode& arena = game.addScreen("KXNodeScene", "KXModelScreenScene", kArenaKey, "Arena");
    auto* scene = static_cast<KXModelScreenScene*>(arena.screen.get());
    // Held still: the buttons are what this game is about.
    scene->gameSpeedMinAttribute()->setValue(0.0f, true);
    scene->gameSpeedMaxAttribute()->setValue(0.0f, true);
    scene->speedIncreaseAttribute()->setValue(0.0f, true);
    demo::addDemoBackgrounds(game, *scene);
    demo::addDemoUnits(game, *scene);
    demo::addDemoCharacter(game, *scene);
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (model->name() == demo::kDemoHeroName &&
            model->className() == std::string("KXModelAssetCharacter")) {
            // The hero every store starts with.
            setText(*model, "Purchase Method", "kFree");
        }
    }
    auto bonus = addPowerup(game, "Bonus", "kPowerupCoin", kGold, 5.0f, 20.0f);
    auto shield = addPowerup(game, "Arena Shield", "kPowerupInvincibility", kBlue, 0.0f, 0.0f);
    addHud(game, bonus, shield);
    demo::linkPort(arena, "UI", game.screen(kArenaHudKey));
}

} // namespace menus
} // namespace kxdata
