#pragma once

// What a purchase button needs of the screens, installed by the screens side with
// KXPObjectButtonPurchase::setScreens. Without one, no screen runs and no game scene is current.

#include <memory>

class KXModelAssetPowerup;

class KXPPurchaseScreens {
public:
    virtual ~KXPPurchaseScreens() = default;

    // The running screen's usePowerup(powerup, true); false (and nothing done) when no screen runs.
    virtual bool useOnRunningScreen(const std::shared_ptr<KXModelAssetPowerup>& powerup) = 0;
    // The current game scene's usePowerup(powerup, true); false (and nothing done) when none is
    // current.
    virtual bool useOnGameScene(const std::shared_ptr<KXModelAssetPowerup>& powerup) = 0;
    virtual bool isGameSceneCurrent() = 0;
    // The running screen's adsRemoved(), when a screen runs.
    virtual void adsRemoved() = 0;
    // The current UI layer's updateUnlockCharacterButton(), when there is one.
    virtual void updateUnlockCharacterButton() = 0;
};
