// The level select and the extras. Levels: lock buttons over the arena, the first free and going
// on at once, the second paid with coins, the third bought through the store; a switch; back to
// the menu by name. Extras: a link, a social page, a link without an address, review, sharing,
// game services (hidden: no online services here), a video network's own button, and a reward
// screen whose unlockers open a character and the third level as it is shown.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectUnlocker.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/menus/menus_parts.h"
#include "tools/kxdata/menus/menus_scenario.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace menus {

namespace {

const Colour kLocked{110, 110, 110, 255};

void addLevel(DemoGame& game, KXModelScreen& screen, const std::string& name, const std::string& caption,
              const std::string& unlock, float price, const std::string& storeIdentifier, bool autoFollow,
              CCPoint position) {
    auto button =
        demo::addButton(game, screen, "KXModelObjectLockButton", name, caption, "", kGreen, position, 5);
    const std::string lockedCaption =
        price > 0.0f ? caption + " " + std::to_string(static_cast<int>(price)) : caption + " LOCKED";
    setSprite(*button, "Locked Image",
              game.picture(name + " Locked", demo::buttonCanvas(lockedCaption, kLocked, false)));
    setSprite(*button, "Locked Image Selected",
              game.picture(name + " Locked Lit", demo::buttonCanvas(lockedCaption, kLocked, true)));
    setText(*button, "Unlock", unlock);
    setFloat(*button, "Price", price);
    setText(*button, "Store Identifier", storeIdentifier);
    setBool(*button, "Auto Follow", autoFollow);
}

void addLevelSelect(DemoGame& game) {
    demo::ScreenNode& levels = game.addScreen("KXNodeUI", "KXModelScreen", kLevelsKey, "Levels");
    KXModelScreen& screen = *levels.screen;
    addBackdrop(game, screen, "Levels", Colour{40, 130, 70, 255}, Colour{14, 60, 30, 255},
                Colour{170, 240, 170, 255}, 14);
    demo::addText(game, screen, "Levels Coins Caption", "COINS", CCPoint(kMiddle - 60.0f, 500.0f), 0.6f, 2);
    addScoreText(game, screen, "Levels Coins", "", "kScoreTotal", CCPoint(kMiddle, 500.0f));
    addLevel(game, screen, "Level 1", "LEVEL 1", "kInGameCurrency", 0.0f, "", true, CCPoint(kLeft, kRow1));
    addLevel(game, screen, "Level 2", "LEVEL 2", "kInGameCurrency", 50.0f, "", false, CCPoint(kLeft, kRow2));
    addLevel(game, screen, "Level 3", "LEVEL 3", "kInAppPurchase", 0.0f, "menus.level3", false,
             CCPoint(kLeft, kRow3));
    demo::addButton(game, screen, "KXModelObjectButtonSwitch", "Hard Mode", "HARD OFF", "", kViolet,
                    CCPoint(kRight, kRow1), 5, "HARD ON");
    auto menu =
        addPlain(game, screen, "Levels Menu", "MENU", "kBackToButton", kBlue, CCPoint(kMiddle, kRow5));
    menu->backToAttribute()->setValue(kMenuKey, true);
}

void addExtrasScreen(DemoGame& game) {
    demo::ScreenNode& extras = game.addScreen("KXNodeUI", "KXModelScreen", kExtrasKey, "Extras");
    KXModelScreen& screen = *extras.screen;
    addBackdrop(game, screen, "Extras", Colour{60, 60, 150, 255}, Colour{20, 20, 60, 255},
                Colour{180, 180, 255, 255}, 15);
    auto site = demo::addButton(game, screen, "KXModelObjectButtonUrl", "Web Site", "WEB SITE", "", kBlue,
                                CCPoint(kLeft, kRow1), 5);
    setText(*site, "URL", "https://example.org/kx-menus");
    demo::addButton(game, screen, "KXModelObjectButtonUrl", "No Site", "NO ADDRESS", "", kBlue,
                    CCPoint(kLeft, kRow2), 5);
    auto page = demo::addButton(game, screen, "KXModelObjectButtonFacebook", "Social Page", "SOCIAL", "",
                                kBlue, CCPoint(kLeft, kRow3), 5);
    setText(*page, "Facebook ID", "1234567890");
    setText(*page, "Facebook URL", "https://example.org/kx-social");

    addPlain(game, screen, "Review", "REVIEW", "kReviewButton", kOrange, CCPoint(kMiddle, kRow1));
    addPlain(game, screen, "Share", "SHARE", "kShareButton", kOrange, CCPoint(kMiddle, kRow2));
    addPlain(game, screen, "Services", "SERVICES", "kGameServices", kOrange, CCPoint(kMiddle, kRow3));
    addPlain(game, screen, "Sponsor", "SPONSOR", "kCustom", kOrange, CCPoint(kMiddle, kRow4));
    addPlain(game, screen, "Reward", "REWARD", "", kGreen, CCPoint(kRight, kRow1));
    addPlain(game, screen, "Extras Back", "BACK", "kBackButton", kBlue, CCPoint(kMiddle, kRow5));

    demo::ScreenNode& reward = game.addScreen("KXNodeUI", "KXModelScreen", kRewardKey, "Reward");
    KXModelScreen& rewardScreen = *reward.screen;
    addBackdrop(game, rewardScreen, "Reward", Colour{200, 160, 40, 255}, Colour{90, 60, 10, 255},
                Colour{255, 240, 160, 255}, 16);
    demo::addText(game, rewardScreen, "Reward Text", "REWA AND LEVEL 3 ARE YOURS", CCPoint(kMiddle, 400.0f),
                  1.0f, 2);
    auto character = game.make<KXModelObjectUnlocker>("KXModelObjectUnlocker", "Unlock Rewa");
    setText(*character, "Unlock Type", "kCharacterUnlock");
    setText(*character, "Object", "Rewa");
    rewardScreen.addChild(character, true);
    auto level = game.make<KXModelObjectUnlocker>("KXModelObjectUnlocker", "Unlock Level 3");
    setText(*level, "Unlock Type", "kButtonUnlock");
    setText(*level, "Object", "Level 3");
    rewardScreen.addChild(level, true);
    addPlain(game, rewardScreen, "Reward Back", "BACK", "kBackButton", kBlue, CCPoint(kMiddle, kRow5));
}

} // namespace

void addLevels(DemoGame& game) {
    addLevelSelect(game);
}

void addExtras(DemoGame& game) {
    addExtrasScreen(game);
}

} // namespace menus
} // namespace kxdata
