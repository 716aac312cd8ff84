// The game scene "world1" and its heads-up screen. The scene shows a sunny landscape of its own
// objects; the game field brings it to life. The heads-up screen counts the run's coins and leads
// back to the menu or on to the end screen.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/demo/demo_backgrounds.h"
#include "tools/kxdata/demo/demo_character.h"
#include "tools/kxdata/demo/demo_components.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_joystick.h"
#include "tools/kxdata/demo/demo_portals.h"
#include "tools/kxdata/demo/demo_sections.h"
#include "tools/kxdata/demo/demo_units.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

Canvas groundCanvas() {
    Canvas canvas(284, 40);
    canvas.verticalGradient(Colour{110, 190, 70, 255}, Colour{120, 80, 40, 255});
    canvas.fillRect(0, 0, canvas.width(), 4, Colour{150, 220, 90, 255});
    return canvas;
}

Canvas coinCanvas() {
    Canvas canvas(40, 40);
    canvas.disc(20.0f, 20.0f, 18.0f, Colour{200, 140, 20, 255});
    canvas.disc(20.0f, 20.0f, 14.0f, Colour{250, 210, 60, 255});
    canvas.fillRect(17, 10, 6, 20, Colour{255, 240, 150, 255});
    return canvas;
}

} // namespace

void addDemoScene(DemoGame& game) {
    ScreenNode& world = game.addScreen("KXNodeScene", "KXModelScreenScene", "world1", "World 1");
    KXModelScreen& scene = *world.screen;
    for (const SoundFile& sound : game.sounds) {
        if (sound.model->name() == "Game Music") {
            scene.musicAttribute()->setValue(sound.model, true);
            scene.loopMusicAttribute()->setValue(true, true);
        }
    }
    // Sky, far hills and clouds are background layers that the field scrolls.
    addDemoBackgrounds(game, scene);
    addImage(game, scene, "Ground", game.picture("Ground", groundCanvas()), CCPoint(kWidth * 0.5f, 40.0f),
             CCPoint(4.5f, 2.0f), 3);
    const auto coin = game.picture("Coin", coinCanvas());
    for (int index = 0; index < 5; ++index) {
        addImage(
            game, scene, "Coin " + std::to_string(index + 1), coin,
            CCPoint(500.0f + 70.0f * static_cast<float>(index), 230.0f + (index % 2 == 0 ? 0.0f : 30.0f)),
            CCPoint(1.0f, 1.0f), 4);
    }
    // The level the field lays out: the hills, platforms, enemies and a cannon.
    addDemoUnits(game, scene);
    addDemoComponentUnits(game, scene);
    // The hero the player steers there.
    addDemoCharacter(game, scene);
    addDemoSecondCharacter(game);
    // Sections laid one after another ahead of the scrolling camera.
    addDemoSections(game, scene);
    addDemoPortals(game);

    ScreenNode& hud = game.addScreen("KXNodeUI", "KXModelScreen", "hud", "HUD");
    KXModelScreen& screen = *hud.screen;
    auto coins = addText(game, screen, "Run Coins", "0", CCPoint(120.0f, 600.0f), 1.0f, 2);
    coins->actionAttribute()->setValue("kScoreVector", true);
    coins->worldAttribute()->setValue("kCurrentWorld", true);
    coins->alignmentAttribute()->setValue("kCCTextAlignmentLeft", true);
    addImage(game, screen, "Coin Icon", coin, CCPoint(80.0f, 600.0f), CCPoint(1.0f, 1.0f), 2);
    const Colour red{210, 75, 60, 255};
    auto menu = addButton(game, screen, "KXModelObjectButton", "Menu", "MENU", "kBackToButton", red,
                          CCPoint(kWidth - 170.0f, 595.0f), 5);
    menu->backToAttribute()->setValue("KXPScreenMainMenu", true);
    auto finish = addButton(game, screen, "KXModelObjectButton", "Finish", "FINISH", "", red,
                            CCPoint(kWidth - 170.0f, 510.0f), 5);
    addDemoLiftButton(game, screen);
    // In a running game the arrows steer: the heads-up buttons have keys of their own.
    menu->keyboardKeyAttribute()->setValue(kDemoEscapeKey, true);
    finish->keyboardKeyAttribute()->setValue(kDemoSpaceKey, true);
    addDemoJoystick(game, screen);
}

} // namespace demo
} // namespace kxdata
