// The shop: free coins, shields bought with coins into the inventory, the removal of ads through
// the store, and back, over a purple backdrop.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_powerups.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

std::shared_ptr<KXModelAssetPowerup> addPowerup(DemoGame& game, const std::string& name,
                                                const std::string& type, float coins) {
    auto powerup = game.make<KXModelAssetPowerup>("KXModelAssetPowerup", name);
    powerup->powerupTypeAttribute()->setValue(type, true);
    powerup->rewardCoinsAttribute()->setValue(coins, true);
    return powerup;
}

std::shared_ptr<KXModelObjectButtonPurchase> addPurchase(DemoGame& game, KXModelScreen& screen,
                                                         const std::string& name, const std::string& caption,
                                                         CCPoint position) {
    auto button = std::static_pointer_cast<KXModelObjectButtonPurchase>(
        addButton(game, screen, "KXModelObjectButtonPurchase", name, caption, "", Colour{215, 165, 40, 255},
                  position, 5));
    // Bought again and again unless a button says otherwise.
    button->oneTimePurchaseAttribute()->setValue("kDefault", true);
    return button;
}

} // namespace

void addDemoShop(DemoGame& game) {
    ScreenNode& shop = game.addScreen("KXNodeUI", "KXModelScreen", "shop", "Shop");
    KXModelScreen& screen = *shop.screen;
    screen.closeAnimationFramesAttribute()->setValue(6, true);
    addImage(game, screen, "Shop Backdrop",
             game.picture("Shop Backdrop", backdropCanvas(Colour{100, 44, 140, 255}, Colour{38, 14, 66, 255},
                                                          Colour{240, 170, 255, 255}, 2)),
             CCPoint(kWidth * 0.5f, kHeight * 0.5f), CCPoint(8.0f, 8.0f), 0);
    addText(game, screen, "Shop Title", "SHOP", CCPoint(kWidth * 0.5f, 545.0f), 2.0f, 2);
    auto coins = addText(game, screen, "Shop Coins", "0", CCPoint(kWidth * 0.5f, 470.0f), 1.0f, 2);
    coins->actionAttribute()->setValue("kScoreVector", true);
    coins->worldAttribute()->setValue("kGlobal", true);
    coins->amountAttribute()->setValue("kScoreTotal", true);

    auto gift = addPowerup(game, "Coin Gift", "kPowerupCoin", 25.0f);
    auto free = addPurchase(game, screen, "Free Coins", "+25 COINS", CCPoint(kWidth * 0.5f, 390.0f));
    free->typeAttribute()->setValue("kPurchasePowerup", true);
    free->purchaseMethodAttribute()->setValue("kInGameCurrency", true);
    free->priceAttribute()->setValue(0.0f, true);
    free->buyAndUseAttribute()->setValue(true, true);
    free->powerupSelectionAttribute()->setValue(std::to_string(gift->id()), true);

    // Two of the shields the heads-up button uses (the powerups set the selection once that
    // shield exists): one more than the button refills at the start of a run.
    auto buy =
        addPurchase(game, screen, kDemoBuyShieldButton, "2 SHIELDS 50", CCPoint(kWidth * 0.5f, 305.0f));
    buy->typeAttribute()->setValue("kPurchasePowerup", true);
    buy->purchaseMethodAttribute()->setValue("kInGameCurrency", true);
    buy->priceAttribute()->setValue(50.0f, true);
    buy->quantityAttribute()->setValue(2.0f, true);

    auto ads = addPurchase(game, screen, "Remove Ads", "NO ADS", CCPoint(kWidth * 0.5f, 220.0f));
    ads->typeAttribute()->setValue("kPurchaseRemoveAds", true);
    ads->purchaseMethodAttribute()->setValue("kInAppPurchase", true);
    ads->storeIdentifierAttribute()->setValue("demo.removeads", true);
    // Bought once: any value but "kDefault" and "kPerGamePurchase".
    ads->oneTimePurchaseAttribute()->setValue("", true);

    addButton(game, screen, "KXModelObjectButton", "Shop Back", "BACK", "kBackButton",
              Colour{60, 140, 200, 255}, CCPoint(kWidth * 0.5f, 120.0f), 5);
}

} // namespace demo
} // namespace kxdata
