#pragma once

#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

class KXAttributeBool;
class KXAttributeFloat;
class KXAttributeSound;
class KXAttributeString;
class KXAttributeStringList;
class KXModelSound;

// A button that buys something for the player (a powerup, the removal of ads, rewarded videos
// or another item) by some method at some price. The button's "Action" is stored as
// "Powerup Selection" and holds the id of the powerup asset bought, as decimal text.
class KXBaseModelObjectButtonPurchase : public KXModelObjectButton {
public:
    explicit KXBaseModelObjectButtonPurchase(const std::string& name);
    KXBaseModelObjectButtonPurchase(const KXBaseModelObjectButtonPurchase& source);

    // The "Powerup Selection" text as a powerup asset's id; 0 when it holds none.
    uint32_t powerupSelectionId() const;
    // "kPurchasePowerup", "kPurchaseRemoveAds", "kRewardedVideos" or "kDefault".
    std::string purchaseType() const;
    float visibilityThreshold() const;
    bool buyAndUse() const;
    float quantity() const;
    std::shared_ptr<KXModelSound> purchaseCompleteSound() const;
    // "kFree", "kInGameCurrency", "kInAppPurchase", "kRewardedVideos" or "kWebLink".
    const std::string& purchaseMethod() const;
    float price() const;
    const std::string& oneTimePurchase() const;
    const std::string& storeIdentifier() const;
    // An ad-network name; "kNoAds" for none.
    const std::string& adNetwork() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeStringList* powerupSelectionAttribute() const { return actionAttribute(); }
    KXAttributeStringList* typeAttribute() const { return m_type; }
    KXAttributeFloat* visibilityThresholdAttribute() const { return m_visibilityThreshold; }
    KXAttributeBool* buyAndUseAttribute() const { return m_buyAndUse; }
    KXAttributeFloat* quantityAttribute() const { return m_quantity; }
    KXAttributeSound* purchaseCompleteAttribute() const { return m_purchaseComplete; }
    KXAttributeStringList* purchaseMethodAttribute() const { return m_purchaseMethod; }
    KXAttributeFloat* priceAttribute() const { return m_price; }
    KXAttributeStringList* oneTimePurchaseAttribute() const { return m_oneTimePurchase; }
    KXAttributeString* storeIdentifierAttribute() const { return m_storeIdentifier; }
    KXAttributeStringList* adNetworkAttribute() const { return m_adNetwork; }

    static constexpr const char* kPowerupSelectionName = "Powerup Selection";

private:
    KXAttributeStringList* m_type = nullptr;
    KXAttributeFloat* m_visibilityThreshold = nullptr;
    KXAttributeBool* m_buyAndUse = nullptr;
    KXAttributeFloat* m_quantity = nullptr;
    KXAttributeSound* m_purchaseComplete = nullptr;
    KXAttributeStringList* m_purchaseMethod = nullptr;
    KXAttributeFloat* m_price = nullptr;
    KXAttributeStringList* m_oneTimePurchase = nullptr;
    KXAttributeString* m_storeIdentifier = nullptr;
    KXAttributeStringList* m_adNetwork = nullptr;
};
