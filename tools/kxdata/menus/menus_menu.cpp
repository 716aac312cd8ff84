// The main menu: the global record's figures as texts, links to every other screen, the sound and
// window-mode switches, reset and exit, a review request after some showings, and ads from two
// networks, which only write log lines here.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/menus/menus_parts.h"
#include "tools/kxdata/menus/menus_scenario.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace menus {

void addMenu(DemoGame& game) {
    demo::ScreenNode& menu = game.addScreen("KXNodeUI", "KXModelScreen", kMenuKey, "Main Menu");
    KXModelScreen& screen = *menu.screen;
    screen.adBannerAttribute()->setValue("kAdMob", true);
    screen.adInterstitialAttribute()->setValue("kFacebook", true);
    screen.adBannerFrequencyAttribute()->setValue(1.0f, true);
    screen.adInterstitialsFrequencyAttribute()->setValue(1.0f, true);
    addBackdrop(game, screen, "Menus", Colour{20, 120, 130, 255}, Colour{8, 48, 76, 255},
                Colour{140, 240, 220, 255}, 11);

    demo::addText(game, screen, "Coins Caption", "COINS", CCPoint(80.0f, 520.0f), 0.6f, 2);
    addScoreText(game, screen, "Total Coins", "", "kScoreTotal", CCPoint(140.0f, 520.0f));
    demo::addText(game, screen, "Best Caption", "BEST", CCPoint(80.0f, 490.0f), 0.6f, 2);
    addScoreText(game, screen, "Best Coins", "", "kScoreBest", CCPoint(140.0f, 490.0f));
    demo::addText(game, screen, "Points Caption", "POINTS", CCPoint(kRight - 60.0f, 520.0f), 0.6f, 2);
    addScoreText(game, screen, "Total Points", "kScorePoints", "kScoreTotal",
                 CCPoint(kRight + 10.0f, 520.0f));

    addPlain(game, screen, "Play", "PLAY", "", kOrange, CCPoint(kLeft, kRow1));
    addPlain(game, screen, "Shop", "SHOP", "", kOrange, CCPoint(kLeft, kRow2));
    addPlain(game, screen, "Heroes", "HEROES", "", kOrange, CCPoint(kLeft, kRow3));
    addPlain(game, screen, "Levels", "LEVELS", "", kOrange, CCPoint(kLeft, kRow4));
    addPlain(game, screen, "Extras", "EXTRAS", "", kOrange, CCPoint(kLeft, kRow5));

    demo::addButton(game, screen, "KXModelObjectButtonSoundControl", "Music", "MUSIC ON",
                    "kMuteBackgroundMusic", kBlue, CCPoint(kMiddle, kRow1), 5, "MUSIC OFF");
    demo::addButton(game, screen, "KXModelObjectButtonSoundControl", "Sound", "SOUND ON", "kMuteSoundEffects",
                    kBlue, CCPoint(kMiddle, kRow2), 5, "SOUND OFF");
    // One of the pair shows, as the stored window mode says.
    addPlain(game, screen, "Full Screen", "FULL SCREEN", "kFullscreen", kBlue, CCPoint(kMiddle, kRow3));
    addPlain(game, screen, "Windowed", "WINDOWED", "kWindowed", kBlue, CCPoint(kMiddle, kRow3));

    addPlain(game, screen, "Reset", "RESET", "kResetButton", kRed, CCPoint(kRight, kRow4));
    addPlain(game, screen, "Exit", "EXIT", "kExitButton", kRed, CCPoint(kRight, kRow5));

    // Asks for a review at the second showing of the menu, and every second one after.
    auto review = game.make<KXModelObjectEventObserver>("KXModelObjectEventObserver", "Ask Review");
    setText(*review, "Event Type", "kRequestReview");
    setFloat(*review, "Plays Before Redirect", 2.0f);
    screen.addChild(review, true);
}

} // namespace menus
} // namespace kxdata
