#pragma once

// The shop button: sells a powerup (into the inventory, or used at once) or the removal of ads,
// paid with coins, through the store, with a rewarded video, or for nothing. A one-time purchase
// stays hidden once bought (its state lives in the lock-state table under the button's "Name");
// a rewarded-video button shows only while a video can be played; a button with a "Visibility
// Threshold" hides once the current world's distance reaches it.

#include <memory>
#include <string>

#include "player/objects/buttons/KXPObjectButton.h"
#include "player/store/KXPLockStateTable.h"

class KXModelAssetPowerup;
class KXModelObjectButtonPurchase;
class KXPPurchaseScreens;
class KXSound;

class KXPObjectButtonPurchase : public KXPObjectButton {
public:
    static constexpr const char* kNonStorePurchase = "non IAP purchase";

    // A purchase button over the three image nodes (selected and disabled may be null),
    // autoreleased.
    static KXPObjectButtonPurchase* createWithSprites(cocos2d::CCNode* normal, cocos2d::CCNode* selected,
                                                      cocos2d::CCNode* disabled);

    KXPObjectButtonPurchase();
    ~KXPObjectButtonPurchase() override;

    void update(float dt) override;
    void setModel(const std::shared_ptr<KXModelObjectButton>& model) override;

    std::shared_ptr<KXModelAssetPowerup> getPowerupModel() const { return m_powerup; }
    // The model's "Price"; 0 without a purchase model.
    float price() const;
    // Points the lock-state entry at the table's entry for the button's "Name" (inserted locked
    // when missing); null without a model. Runs again whenever the table is rebuilt.
    void refreshLockState();
    bool* lockStateEntry() const { return m_lockState; }

    // Pays (coins) and delivers. The screen calls it for every method but store purchases and
    // rewarded videos; the ad controller calls it when a video was watched.
    void purchase();
    // Delivers a completed store purchase (and the removal of ads bought otherwise).
    void purchaseDidComplete(const std::string& productIdentifier);

    // Every per-game purchase can be bought again: the game scene calls it when a level resets.
    static void resetPerGamePurchases();

    // The screens side, not owned; null leaves out every step that needs a screen.
    static void setScreens(KXPPurchaseScreens* screens);
    static KXPPurchaseScreens* screens();

private:
    // Shown or hidden by the rewarded video and the distance threshold, after the base update.
    void showAvailability();
    std::shared_ptr<KXModelObjectButtonPurchase> purchaseModel() const;
    bool isOneTime() const;
    bool isBought() const;
    // Sells a powerup whose "Powerup Selection" names no powerup asset: there is nothing to deliver.
    bool sellsMissingPowerup() const;
    void markBought();
    void addToInventory();
    void playPurchaseSound();

    std::shared_ptr<KXModelAssetPowerup> m_powerup;
    bool m_rewardedVideo = false;
    bool* m_lockState = nullptr;
    KXSound* m_purchaseSound = nullptr;
    KXPLockStateListener m_lockStateListener;
};
