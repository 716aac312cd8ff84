// The heroes screen: a character selector over every playable character, each with its own way to
// be unlocked (coins, the store, a web link, a rewarded video, or a reward screen's unlocker), the
// selector's own unlock button, unlock-character buttons for two of them, a lucky button that
// unlocks a character the coins cover, and a gift of coins to pay with.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentCharacterIcon.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/menus/menus_parts.h"
#include "tools/kxdata/menus/menus_scenario.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace menus {

namespace {

// The lucky button unlocks any locked character whose price the coins cover, whatever its own way
// to be unlocked: those not sold for coins get a price out of reach.
constexpr float kNotForCoins = 100000.0f;

struct Hero {
    const char* name;
    Colour colour;
    const char* method;
    float price;
    const char* storeIdentifier;
    const char* adNetwork;
    const char* webLink;
};

// A round face in the hero's colour; grey and dim while locked, ringed when selected.
demo::Canvas faceCanvas(Colour colour, bool locked, bool selected) {
    demo::Canvas canvas(96, 96);
    if (selected) {
        canvas.disc(48.0f, 48.0f, 47.0f, Colour{255, 240, 120, 255});
    }
    const Colour body = locked ? Colour{110, 110, 118, 255} : colour;
    canvas.disc(48.0f, 48.0f, 40.0f, demo::mix(body, Colour{0, 0, 0, 255}, 0.25f));
    canvas.disc(48.0f, 46.0f, 35.0f, body);
    canvas.disc(36.0f, 40.0f, 8.0f, Colour{255, 255, 255, 255});
    canvas.disc(60.0f, 40.0f, 8.0f, Colour{255, 255, 255, 255});
    canvas.disc(38.0f, 41.0f, 4.0f, Colour{30, 30, 40, 255});
    canvas.disc(62.0f, 41.0f, 4.0f, Colour{30, 30, 40, 255});
    canvas.fillRect(36, 62, 24, 5, Colour{60, 30, 30, 255});
    if (locked) {
        canvas.roundedRect(36, 52, 24, 22, 4.0f, Colour{230, 190, 60, 255});
        canvas.fillRect(44, 60, 8, 8, Colour{80, 60, 20, 255});
    }
    return canvas;
}

std::shared_ptr<KXModelAssetCharacter> addHero(DemoGame& game, const Hero& hero) {
    auto character = game.make<KXModelAssetCharacter>("KXModelAssetCharacter", hero.name);
    const std::string name = hero.name;
    character->defaultAnimationAttribute()->setValue(
        pictureAnimation(game, name + " Face",
                         game.picture(name + " Face", faceCanvas(hero.colour, false, false))),
        true);
    character->purchaseMethodAttribute()->setValue(hero.method, true);
    character->priceAttribute()->setValue(hero.price, true);
    character->storeIdentifierAttribute()->setValue(hero.storeIdentifier, true);
    character->adNetworkAttribute()->setValue(hero.adNetwork, true);
    character->webLinkAttribute()->setValue(hero.webLink, true);
    auto icons = game.make<KXModelComponentCharacterIcon>("KXModelComponentCharacterIcon", name + " Icons");
    setAnimation(*icons, "Locked Icon",
                 pictureAnimation(game, name + " Locked",
                                  game.picture(name + " Locked", faceCanvas(hero.colour, true, false))));
    setAnimation(*icons, "Selected Icon",
                 pictureAnimation(game, name + " Selected",
                                  game.picture(name + " Selected", faceCanvas(hero.colour, false, true))));
    character->addChild(icons, true);
    return character;
}

} // namespace

void addHeroes(DemoGame& game) {
    demo::ScreenNode& heroes = game.addScreen("KXNodeUI", "KXModelScreen", kHeroesKey, "Heroes");
    KXModelScreen& screen = *heroes.screen;
    addBackdrop(game, screen, "Heroes", Colour{150, 70, 40, 255}, Colour{60, 20, 20, 255},
                Colour{255, 200, 140, 255}, 13);
    demo::addText(game, screen, "Heroes Coins Caption", "COINS", CCPoint(kMiddle - 60.0f, 500.0f), 0.6f, 2);
    addScoreText(game, screen, "Heroes Coins", "", "kScoreTotal", CCPoint(kMiddle, 500.0f));

    // The arena's hero is the first character; these follow it in the selector.
    const Hero list[] = {
        {"Robin", Colour{80, 190, 90, 255}, "kInGameCurrency", 40.0f, "", "", ""},
        {"Penny", Colour{240, 120, 180, 255}, "kInGameCurrency", 20.0f, "", "", ""},
        {"Storey", Colour{90, 140, 240, 255}, "kInAppPurchase", kNotForCoins, "menus.storey", "", ""},
        {"Webby", Colour{240, 200, 60, 255}, "kWebLink", kNotForCoins, "", "", "https://example.org/webby"},
        {"Vidi", Colour{170, 90, 220, 255}, "kRewardedVideos", kNotForCoins, "", "kHeyzap", ""},
        {"Rewa", Colour{60, 200, 200, 255}, "kInGameCurrency", 999.0f, "", "", ""},
    };
    std::vector<std::shared_ptr<KXModelAssetCharacter>> characters;
    for (const Hero& hero : list) {
        characters.push_back(addHero(game, hero));
    }

    auto selector = game.make<KXModelObjectCharacterSelector>("KXModelObjectCharacterSelector", "Selector");
    selector->positionAttribute()->setValue(CCPoint(kMiddle, 360.0f), true);
    // The touch area is 100 points times the scale: wide enough to tap the neighbours.
    selector->scaleAttribute()->setValue(CCPoint(3.0f, 1.5f), true);
    selector->zDepthAttribute()->setValue(4, true);
    setFloat(*selector, "Spread", 120.0f);
    setFloat(*selector, "Label Vertical Spacing", 40.0f);
    setText(*selector, "Label Name", std::to_string(game.font->id()));
    setAnimation(
        *selector, "Unlock Button",
        pictureAnimation(game, "Selector Unlock",
                         game.picture("Selector Unlock", demo::buttonCanvas("UNLOCK", kGreen, false)),
                         CCPoint(0.0f, -150.0f)));
    setSound(*selector, "Unlock Yes", game.click);
    screen.addChild(selector, true);

    // Unlock-character buttons show their character's face; their caption is the face.
    for (const char* name : {"Webby", "Vidi"}) {
        for (const auto& character : characters) {
            if (character->name() != name) {
                continue;
            }
            auto button = game.make<KXModelObjectButton>("KXModelObjectButtonCharacterUnlock",
                                                         std::string("Unlock ") + name);
            setText(*button, "Character", std::to_string(character->id()));
            button->positionAttribute()->setValue(
                CCPoint(std::string(name) == "Webby" ? kLeft : kRight, kRow3), true);
            button->zDepthAttribute()->setValue(5, true);
            button->intervalAttribute()->setValue(0.0f, true);
            button->autohideAttribute()->setValue(0.0f, true);
            screen.addChild(button, true);
        }
    }

    auto gift = addPowerup(game, "Hero Gift", "kPowerupCoin", kGold, 100.0f, 0.0f);
    auto free = std::static_pointer_cast<KXModelObjectButtonPurchase>(
        demo::addButton(game, screen, "KXModelObjectButtonPurchase", "Hero Coins", "+100 FREE", "", kGold,
                        CCPoint(kLeft, kRow1), 5));
    free->typeAttribute()->setValue("kPurchasePowerup", true);
    free->purchaseMethodAttribute()->setValue("kFree", true);
    free->buyAndUseAttribute()->setValue(true, true);
    free->oneTimePurchaseAttribute()->setValue("kDefault", true);
    free->powerupSelectionAttribute()->setValue(std::to_string(gift->id()), true);

    addPlain(game, screen, "Lucky", "LUCKY", "kUnlockCharacter", kViolet, CCPoint(kRight, kRow1));
    addPlain(game, screen, "Heroes Back", "BACK", "kBackButton", kBlue, CCPoint(kMiddle, kRow5));
}

} // namespace menus
} // namespace kxdata
