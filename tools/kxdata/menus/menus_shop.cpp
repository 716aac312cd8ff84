// The shop: a gift of coins for nothing, a shield bought with coins into the inventory, coins
// through the store, a magnet for a rewarded video, one paid by a video network that never calls
// back, the removal of ads through the store (bought once), restoring purchases, and back.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/menus/menus_parts.h"
#include "tools/kxdata/menus/menus_scenario.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace menus {

namespace {

struct Sale {
    const char* name;
    const char* caption;
    const char* type;
    const char* method;
    float price;
    float quantity;
    bool buyAndUse;
    const char* storeIdentifier;
    const char* adNetwork;
    const char* oneTime;
    CCPoint position;
};

void addSale(DemoGame& game, KXModelScreen& screen, const Sale& sale,
             const std::shared_ptr<KXModelAssetPowerup>& powerup) {
    auto button = std::static_pointer_cast<KXModelObjectButtonPurchase>(demo::addButton(
        game, screen, "KXModelObjectButtonPurchase", sale.name, sale.caption, "", kGold, sale.position, 5));
    button->typeAttribute()->setValue(sale.type, true);
    button->purchaseMethodAttribute()->setValue(sale.method, true);
    button->priceAttribute()->setValue(sale.price, true);
    button->quantityAttribute()->setValue(sale.quantity, true);
    button->buyAndUseAttribute()->setValue(sale.buyAndUse, true);
    button->storeIdentifierAttribute()->setValue(sale.storeIdentifier, true);
    button->adNetworkAttribute()->setValue(sale.adNetwork, true);
    button->oneTimePurchaseAttribute()->setValue(sale.oneTime, true);
    if (powerup) {
        button->powerupSelectionAttribute()->setValue(std::to_string(powerup->id()), true);
    }
}

} // namespace

void addShop(DemoGame& game) {
    demo::ScreenNode& shop = game.addScreen("KXNodeUI", "KXModelScreen", kShopKey, "Shop");
    KXModelScreen& screen = *shop.screen;
    addBackdrop(game, screen, "Shop", Colour{100, 44, 140, 255}, Colour{38, 14, 66, 255},
                Colour{240, 170, 255, 255}, 12);
    demo::addText(game, screen, "Shop Coins Caption", "COINS", CCPoint(kMiddle - 60.0f, 500.0f), 0.6f, 2);
    addScoreText(game, screen, "Shop Coins", "", "kScoreTotal", CCPoint(kMiddle, 500.0f));

    auto gift = addPowerup(game, "Coin Gift", "kPowerupCoin", kGold, 100.0f, 10.0f);
    auto bag = addPowerup(game, "Coin Bag", "kPowerupCoin", kOrange, 50.0f, 0.0f);
    // The arena's shield button uses what the shop sells.
    auto shield =
        std::static_pointer_cast<KXModelAssetPowerup>(findModel(game, "KXModelAssetPowerup", "Arena Shield"));
    auto magnet = addPowerup(game, "Shop Magnet", "kPowerupMagnet", kRed, 0.0f, 0.0f);

    const Sale sales[] = {
        {"Free Coins", "+100 FREE", "kPurchasePowerup", "kFree", 0.0f, 0.0f, true, "", "", "kDefault",
         CCPoint(kLeft, kRow1)},
        {"Buy Shield", "SHIELD 30", "kPurchasePowerup", "kInGameCurrency", 30.0f, 2.0f, false, "", "",
         "kDefault", CCPoint(kLeft, kRow2)},
        {"Store Coins", "+50 STORE", "kPurchasePowerup", "kInAppPurchase", 0.0f, 0.0f, true, "menus.coins",
         "", "kDefault", CCPoint(kLeft, kRow3)},
        {"Video Magnet", "MAGNET VIDEO", "kPurchasePowerup", "kRewardedVideos", 0.0f, 1.0f, false, "",
         "kHeyzap", "kDefault", CCPoint(kRight, kRow1)},
        {"Custom Video", "CUSTOM VIDEO", "kPurchasePowerup", "kRewardedVideos", 0.0f, 1.0f, false, "",
         "kCustom", "kDefault", CCPoint(kRight, kRow2)},
        {"Remove Ads", "NO ADS", "kPurchaseRemoveAds", "kInAppPurchase", 0.0f, 0.0f, false, "menus.removeads",
         "", "", CCPoint(kRight, kRow3)},
    };
    const std::shared_ptr<KXModelAssetPowerup> sold[] = {gift, shield, bag, magnet, magnet, nullptr};
    for (size_t index = 0; index < sizeof sales / sizeof sales[0]; ++index) {
        addSale(game, screen, sales[index], sold[index]);
    }
    addPlain(game, screen, "Restore", "RESTORE", "kRestorePurchasesButton", kBlue, CCPoint(kRight, kRow4));
    addPlain(game, screen, "Shop Back", "BACK", "kBackButton", kBlue, CCPoint(kMiddle, kRow5));
}

} // namespace menus
} // namespace kxdata
