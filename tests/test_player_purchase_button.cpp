// The purchase button: paying with coins, delivering into the inventory or at once, one-time and
// per-game purchases in the lock-state table, the removal of ads, store completions, and when the
// button shows. Purchases are saved to a real store file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeSound.h"
#include "player/ads/KXAdController.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/objects/buttons/KXPObjectButtonPurchase.h"
#include "player/objects/buttons/KXPPurchaseScreens.h"
#include "player/store/KXPLockStateTable.h"
#include "player/store/KXPScoreTable.h"
#include "support/sound_test_support.h"
#include "support/temp_folder.h"

using cocos2d::CCUserDefault;
using Model = std::shared_ptr<KXModelObjectButtonPurchase>;

namespace {

// Records what purchases ask of the screens.
class FakeScreens : public KXPPurchaseScreens {
public:
    bool useOnRunningScreen(const std::shared_ptr<KXModelAssetPowerup>& powerup) override {
        if (!screenRuns)
            return false;
        usedOnScreen.push_back(powerup);
        return true;
    }
    bool useOnGameScene(const std::shared_ptr<KXModelAssetPowerup>& powerup) override {
        if (!gameScene)
            return false;
        usedInGame.push_back(powerup);
        return true;
    }
    bool isGameSceneCurrent() override { return gameScene; }
    void adsRemoved() override { ++adsRemovedCalls; }
    void updateUnlockCharacterButton() override { ++unlockButtonUpdates; }

    bool screenRuns = true;
    bool gameScene = false;
    std::vector<std::shared_ptr<KXModelAssetPowerup>> usedOnScreen;
    std::vector<std::shared_ptr<KXModelAssetPowerup>> usedInGame;
    int adsRemovedCalls = 0;
    int unlockButtonUpdates = 0;
};

class PurchaseButton : public kxtest::SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        clearScores();
        lockStateTable().clear();
        CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml"));
        KXAdController::purgeShared();
        KXPScreensController::shared()->setCurrentSceneKey("");
        KXPObjectButtonPurchase::setScreens(&screens);
        setGameDataLoaded(true);
        powerup = createModel<KXModelAssetPowerup>();
    }
    void TearDown() override {
        for (KXPObjectButtonPurchase* button : m_buttons)
            button->cocos2d::CCObject::release();
        KXPObjectButtonPurchase::setScreens(nullptr);
        setGameDataLoaded(false);
        KXAdController::purgeShared();
        KXPScreensController::shared()->setCurrentSceneKey("");
        CCUserDefault::purgeSharedUserDefault();
        CCUserDefault::setXMLFilePath("");
        clearScores();
        lockStateTable().clear();
        SoundTest::TearDown();
    }

    // A stored purchase-button model selling `powerup` for coins, into the inventory.
    Model sellingModel(const std::string& name, float price) {
        Model model = createModel<KXModelObjectButtonPurchase>();
        model->setName(name);
        model->typeAttribute()->setValue("kPurchasePowerup", true);
        model->powerupSelectionAttribute()->setValue(std::to_string(powerup->id()), true);
        model->purchaseMethodAttribute()->setValue("kInGameCurrency", true);
        model->priceAttribute()->setValue(price, true);
        model->quantityAttribute()->setValue(3.0f, true);
        model->oneTimePurchaseAttribute()->setValue("kDefault", true);
        return model;
    }
    // A button built over the model, as a screen would build it (without its "Interval" count).
    KXPObjectButtonPurchase* build(const Model& model) {
        KXPObjectButtonPurchase* button =
            KXPObjectButtonPurchase::createWithSprites(cocos2d::CCNode::create(), nullptr, nullptr);
        button->retain();
        m_buttons.push_back(button);
        button->setModel(model);
        return button;
    }
    static KXPScoreCount& coins() { return worldScores("").coins; }
    int inventory() { return settings()->inventoryCount(powerup); }
    // The store as the next run reads it.
    std::string storedText(const char* key) {
        CCUserDefault::sharedUserDefault()->flush();
        CCUserDefault::purgeSharedUserDefault();
        return CCUserDefault::sharedUserDefault()->getStringForKey(key);
    }
    static bool shown(KXPObjectButtonPurchase* button) { return button->isVisible() && button->isEnabled(); }

    FakeScreens screens;
    std::shared_ptr<KXModelAssetPowerup> powerup;
    TempFolder m_folder;
    std::vector<KXPObjectButtonPurchase*> m_buttons;
};

TEST_F(PurchaseButton, CoinsPayTheTruncatedPriceWhenTheTotalCoversIt) {
    struct Case {
        float price;
        int totalAfter;
        int inventoryAfter;
    };
    for (const Case& c : {Case{100.0f, 0, 3}, Case{100.5f, 100, 0}, Case{99.9f, 1, 3}}) {
        coins().total = 100;
        settings()->setInventoryCount(powerup, 0);
        build(sellingModel("Gems", c.price))->purchase();
        EXPECT_EQ(coins().total, c.totalAfter) << c.price;
        EXPECT_EQ(inventory(), c.inventoryAfter) << c.price;
    }
}

TEST_F(PurchaseButton, SpendingCapsTheSessionCoinsAndCommitsThem) {
    coins().session = 30;
    coins().total = 50;
    build(sellingModel("Gems", 40.0f))->purchase();
    EXPECT_EQ(coins().total, 10);
    EXPECT_EQ(coins().session, 10);
    ASSERT_NE(coins().backup(), nullptr);
    EXPECT_EQ(coins().backup()->values[0], 10);
    EXPECT_EQ(screens.unlockButtonUpdates, 1);
    EXPECT_EQ(storedText("KXP_Inventory_0"), std::to_string(powerup->id()) + ":3");
}

TEST_F(PurchaseButton, APriceThatIsNoNumberOfCoinsIsRefused) {
    KXDebugLogCapture log;
    for (float price : {-5.0f, std::numeric_limits<float>::quiet_NaN()}) {
        coins().total = 100;
        build(sellingModel("Gems", price))->purchase();
        EXPECT_EQ(coins().total, 100);
        EXPECT_EQ(inventory(), 0);
    }
    EXPECT_TRUE(log.contains("[KXPObjectButtonPurchase] Gems: refused, the price is not a number of coins"));
    // Other methods ignore the price.
    Model free = sellingModel("Free Gems", -5.0f);
    free->purchaseMethodAttribute()->setValue("kFree", true);
    build(free)->purchase();
    EXPECT_EQ(coins().total, 100);
    EXPECT_EQ(inventory(), 3);
}

TEST_F(PurchaseButton, AOneTimePurchaseWithIntervalTwoIsRecordedAndNeverChargedTwice) {
    Model model = sellingModel("Starter Pack", 10.0f);
    model->oneTimePurchaseAttribute()->setValue("kOneTimePurchase", true);
    model->intervalAttribute()->setValue(2.0f, true);
    coins().total = 50;
    KXPObjectButtonPurchase* button = build(model);
    ASSERT_NE(button->lockStateEntry(), nullptr);
    button->purchase();
    EXPECT_EQ(coins().total, 40);
    EXPECT_FALSE(shown(button));

    // Built again: with "Interval" 2 it keeps its look, but paying again does nothing.
    KXPObjectButtonPurchase* again = build(model);
    EXPECT_TRUE(shown(again));
    again->purchase();
    EXPECT_EQ(coins().total, 40);
    EXPECT_EQ(inventory(), 3);
    EXPECT_EQ(storedText("KXP_LockStates"), "Starter Pack:0");

    // With "Interval" 1 a bought button is hidden and disabled at creation.
    model->intervalAttribute()->setValue(1.0f, true);
    EXPECT_FALSE(shown(build(model)));
}

TEST_F(PurchaseButton, PerGamePurchasesCanBeBoughtAgainAfterAReset) {
    Model model = sellingModel("Shield", 10.0f);
    model->oneTimePurchaseAttribute()->setValue("kPerGamePurchase", true);
    Model lasting = sellingModel("Magnet", 10.0f);
    lasting->oneTimePurchaseAttribute()->setValue("kOneTimePurchase", true);
    coins().total = 50;
    build(model)->purchase();
    build(lasting)->purchase();
    EXPECT_FALSE(lockState("Shield"));
    KXPObjectButtonPurchase::resetPerGamePurchases();
    EXPECT_TRUE(lockState("Shield"));
    EXPECT_FALSE(lockState("Magnet"));
    KXPObjectButtonPurchase* button = build(model);
    EXPECT_TRUE(shown(button));
    button->purchase();
    EXPECT_EQ(coins().total, 20);
}

TEST_F(PurchaseButton, RebuildingTheLockStateTableRenewsTheEntry) {
    Model model = sellingModel("Starter Pack", 10.0f);
    model->oneTimePurchaseAttribute()->setValue("kOneTimePurchase", true);
    KXPObjectButtonPurchase* button = build(model);
    parseLockStates("Starter Pack:0;Level 2:1");
    ASSERT_NE(button->lockStateEntry(), nullptr);
    EXPECT_EQ(button->lockStateEntry(), &lockState("Starter Pack"));
    coins().total = 50;
    button->purchase();
    EXPECT_EQ(coins().total, 50);
}

TEST_F(PurchaseButton, RemovingAdsIsDeliveredAtOnceStoredAndHidesTheButtons) {
    Model model = sellingModel("No Ads", 0.0f);
    model->typeAttribute()->setValue("kPurchaseRemoveAds", true);
    model->purchaseMethodAttribute()->setValue("kFree", true);
    model->buyAndUseAttribute()->setValue(true, true);
    model->purchaseCompleteAttribute()->setValue(soundModel(), true);
    KXDebugLogCapture log;
    KXPObjectButtonPurchase* button = build(model);
    button->purchase();
    EXPECT_TRUE(settings()->isRemoveAds());
    EXPECT_FALSE(shown(button));
    EXPECT_EQ(screens.adsRemovedCalls, 1);
    EXPECT_TRUE(log.contains("[KXPObjectButtonPurchase] purchase did comlete: non IAP purchase"));
    // The purchase sound plays once.
    int plays = 0;
    for (const std::string& call : recorder->calls())
        plays += call.compare(0, 11, "playEffect ") == 0 ? 1 : 0;
    EXPECT_EQ(plays, 1);
    EXPECT_TRUE(CCUserDefault::sharedUserDefault()->getBoolForKey("KXP_removeAds"));

    EXPECT_FALSE(shown(build(model)));
}

TEST_F(PurchaseButton, StoreCompletionsDeliverOnlyTheirProduct) {
    Model model = sellingModel("Gem Pack", 0.0f);
    model->purchaseMethodAttribute()->setValue("kInAppPurchase", true);
    model->storeIdentifierAttribute()->setValue("com.example.gems", true);
    model->oneTimePurchaseAttribute()->setValue("kOneTimePurchase", true);
    KXPObjectButtonPurchase* button = build(model);
    KXDebugLogCapture log;
    button->purchaseDidComplete("com.example.other");
    EXPECT_EQ(inventory(), 0);
    EXPECT_TRUE(shown(button));
    EXPECT_TRUE(lockState("Gem Pack"));
    EXPECT_TRUE(log.contains("[KXPObjectButtonPurchase] purchase did comlete: com.example.other"));

    button->purchaseDidComplete("com.example.gems");
    EXPECT_EQ(inventory(), 3);
    EXPECT_FALSE(shown(button));
    EXPECT_FALSE(lockState("Gem Pack"));
}

TEST_F(PurchaseButton, APowerupThatDoesNotExistIsNeitherPaidNorMarkedBoughtOnAnyPath) {
    KXDebugLogCapture log;
    coins().total = 50;
    Model model = sellingModel("Ghost Pack", 10.0f);
    model->powerupSelectionAttribute()->setValue("999999", true);
    model->oneTimePurchaseAttribute()->setValue("kOneTimePurchase", true);
    KXPObjectButtonPurchase* button = build(model);
    button->purchase();
    EXPECT_EQ(coins().total, 50);
    EXPECT_TRUE(shown(button));
    EXPECT_TRUE(lockState("Ghost Pack"));
    EXPECT_TRUE(log.contains("[KXPObjectButtonPurchase] Ghost Pack: sells no powerup; nothing bought"));
    // Free or by video: the same.
    for (const char* method : {"kFree", "kRewardedVideos"}) {
        model->purchaseMethodAttribute()->setValue(method, true);
        build(model)->purchase();
        EXPECT_TRUE(lockState("Ghost Pack")) << method;
    }
    // A store completion of its product delivers nothing either.
    model->purchaseMethodAttribute()->setValue("kInAppPurchase", true);
    model->storeIdentifierAttribute()->setValue("com.example.ghost", true);
    KXPObjectButtonPurchase* store = build(model);
    store->purchaseDidComplete("com.example.ghost");
    EXPECT_TRUE(shown(store));
    EXPECT_TRUE(lockState("Ghost Pack"));
}

TEST_F(PurchaseButton, BuyAndUseGoesToTheRunningScreenOrTheGameScene) {
    Model model = sellingModel("Boost", 0.0f);
    model->purchaseMethodAttribute()->setValue("kFree", true);
    model->buyAndUseAttribute()->setValue(true, true);
    model->storeIdentifierAttribute()->setValue("com.example.boost", true);
    KXPObjectButtonPurchase* button = build(model);
    button->purchase();
    EXPECT_EQ(screens.usedOnScreen, (std::vector<std::shared_ptr<KXModelAssetPowerup>>{powerup}));
    EXPECT_EQ(inventory(), 0);

    // Between scenes nothing runs to use it; with no screens side at all, neither.
    screens.screenRuns = false;
    button->purchase();
    KXPObjectButtonPurchase::setScreens(nullptr);
    button->purchase();
    EXPECT_EQ(screens.usedOnScreen.size(), 1u);
    KXPObjectButtonPurchase::setScreens(&screens);

    screens.gameScene = true;
    button->purchaseDidComplete("com.example.boost");
    EXPECT_EQ(screens.usedInGame.size(), 1u);
}

TEST_F(PurchaseButton, ACoinPowerupBoughtFromTheStoreOutsideAGameCreditsTheGlobalRecord) {
    powerup->powerupTypeAttribute()->setValue("kPowerupCoin", true);
    powerup->rewardCoinsAttribute()->setValue(5.0f, true);
    powerup->rewardPointsAttribute()->setValue(7.0f, true);
    Model model = sellingModel("Coins", 0.0f);
    model->purchaseMethodAttribute()->setValue("kInAppPurchase", true);
    model->buyAndUseAttribute()->setValue(true, true);
    model->storeIdentifierAttribute()->setValue("com.example.coins", true);
    build(model)->purchaseDidComplete("com.example.coins");
    EXPECT_EQ(coins().session, 5);
    EXPECT_EQ(coins().total, 5);
    EXPECT_EQ(coins().best, 5);
    EXPECT_EQ(worldScores("").points.total, 7);
}

TEST_F(PurchaseButton, RewardedVideoButtonsShowWhileAVideoCanPlay) {
    auto screen = createModel<KXModelScreen>();
    screen->interstitialCounter = 2;
    Model model = sellingModel("Video Gems", 0.0f);
    model->purchaseMethodAttribute()->setValue("kRewardedVideos", true);
    model->adNetworkAttribute()->setValue("kVungle", true);
    KXPObjectButtonPurchase* button = build(model);
    button->update(0.0f);
    EXPECT_FALSE(button->isVisible());
    model->adNetworkAttribute()->setValue("kHeyzap", true);
    button->update(0.0f);
    EXPECT_TRUE(button->isVisible());

    // As the screen pays with a video: watched at once, delivered, interstitials counted anew.
    KXAdController::shared()->setRewardedVideoCallback(button,
                                                       callfunc_selector(KXPObjectButtonPurchase::purchase));
    KXAdController::shared()->showRewardedVideo("kHeyzap");
    EXPECT_EQ(inventory(), 3);
    EXPECT_EQ(screen->interstitialCounter, 0);
}

TEST_F(PurchaseButton, AThresholdHidesTheButtonOnceTheWorldsDistanceReachesIt) {
    Model model = sellingModel("Revive", 0.0f);
    model->visibilityThresholdAttribute()->setValue(500.0f, true);
    KXPObjectButtonPurchase* button = build(model);
    KXPScreensController::shared()->setCurrentSceneKey("World 1");
    currentWorldScores().distance.session = 499.0f;
    button->update(0.0f);
    EXPECT_TRUE(button->isVisible());
    screens.gameScene = true;
    button->update(0.0f);
    EXPECT_TRUE(button->isVisible());
    currentWorldScores().distance.session = 500.0f;
    button->update(0.0f);
    EXPECT_FALSE(button->isVisible());

    // Without a threshold the button keeps what it was given.
    Model plain = sellingModel("Plain", 0.0f);
    KXPObjectButtonPurchase* other = build(plain);
    other->setVisible(false);
    other->update(0.0f);
    EXPECT_FALSE(other->isVisible());
}

TEST_F(PurchaseButton, TheButtonFactoryMakesPurchaseButtons) {
    Model model = sellingModel("Gems", 1.0f);
    KXPObjectButton* button = KXPObjectButton::create(model, nullptr);
    ASSERT_NE(button, nullptr);
    auto* purchase = dynamic_cast<KXPObjectButtonPurchase*>(button);
    ASSERT_NE(purchase, nullptr);
    EXPECT_EQ(purchase->getPowerupModel(), powerup);
    EXPECT_FLOAT_EQ(purchase->price(), 1.0f);

    // Its click sounds once and then goes.
    model->clickSoundAttribute()->setValue(soundModel(), true);
    purchase->selected();
    ASSERT_EQ(KXSound::liveSounds().size(), 1u);
    EXPECT_EQ(recorder->calls().back().compare(0, 11, "playEffect "), 0);
    recorder->finishVoice(recorder->lastVoice());
    frames(1);
    EXPECT_TRUE(KXSound::liveSounds().empty());
}

} // namespace
