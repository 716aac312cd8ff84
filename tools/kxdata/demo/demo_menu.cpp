// The main menu ("KXPScreenMainMenu"): play, shop, the character selection, the sound switches,
// the window-mode pair, reset and exit, over a teal backdrop.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

// The menu's backdrop colours; the end-to-end test looks for them.
const Colour kMenuTop{20, 120, 130, 255};
const Colour kMenuBottom{8, 48, 76, 255};

void addDemoMenu(DemoGame& game) {
    ScreenNode& menu = game.addScreen("KXNodeUI", "KXModelScreen", "KXPScreenMainMenu", "Main Menu");
    KXModelScreen& screen = *menu.screen;
    screen.openAnimationFramesAttribute()->setValue(0, true);
    screen.closeAnimationFramesAttribute()->setValue(6, true);
    addImage(
        game, screen, "Menu Backdrop",
        game.picture("Menu Backdrop", backdropCanvas(kMenuTop, kMenuBottom, Colour{140, 240, 220, 255}, 1)),
        CCPoint(kWidth * 0.5f, kHeight * 0.5f), CCPoint(8.0f, 8.0f), 0);
    addText(game, screen, "Title", "KX DEMO", CCPoint(kWidth * 0.5f, 545.0f), 2.5f, 2);
    auto coins = addText(game, screen, "Coins", "0", CCPoint(kWidth - 110.0f, 600.0f), 1.0f, 2);
    coins->actionAttribute()->setValue("kScoreVector", true);
    coins->worldAttribute()->setValue("kGlobal", true);
    coins->amountAttribute()->setValue("kScoreTotal", true);
    coins->alignmentAttribute()->setValue("kCCTextAlignmentRight", true);
    addText(game, screen, "Coins Caption", "COINS", CCPoint(kWidth - 60.0f, 600.0f), 0.6f, 2);

    const Colour main{235, 140, 40, 255};
    const Colour side{60, 140, 200, 255};
    const float middle = kWidth * 0.5f;
    addButton(game, screen, "KXModelObjectButton", "Play", "PLAY", "", main, CCPoint(middle, 420.0f), 5);
    addButton(game, screen, "KXModelObjectButton", "Shop", "SHOP", "", main, CCPoint(middle, 335.0f), 5);
    addButton(game, screen, "KXModelObjectButton", "Reset", "RESET", "kResetButton", side,
              CCPoint(middle, 250.0f), 5);
    addButton(game, screen, "KXModelObjectButton", "Exit", "EXIT", "kExitButton", Colour{200, 70, 60, 255},
              CCPoint(middle, 165.0f), 5);

    const float right = kWidth - 190.0f;
    addButton(game, screen, "KXModelObjectButtonSoundControl", "Music", "MUSIC ON", "kMuteBackgroundMusic",
              side, CCPoint(right, 420.0f), 5, "MUSIC OFF");
    addButton(game, screen, "KXModelObjectButtonSoundControl", "Sound", "SOUND ON", "kMuteSoundEffects", side,
              CCPoint(right, 335.0f), 5, "SOUND OFF");
    // One of the pair shows, as the stored window mode says.
    addButton(game, screen, "KXModelObjectButton", "Full Screen", "FULL SCREEN", "kFullscreen", side,
              CCPoint(right, 250.0f), 5);
    addButton(game, screen, "KXModelObjectButton", "Windowed", "WINDOWED", "kWindowed", side,
              CCPoint(right, 250.0f), 5);
    addButton(game, screen, "KXModelObjectButton", "Levels", "LEVELS", "", side, CCPoint(right, 165.0f), 5);
    // Left of Shop: level with a middle button, so that the arrows from Play never land on it.
    addButton(game, screen, "KXModelObjectButton", "Heroes", "HEROES", "", main, CCPoint(190.0f, 335.0f), 5);
}

} // namespace demo
} // namespace kxdata
