#pragma once

// What purchase buttons need of the screens, answered from the running screen and the screens
// controller. The application installs it at launch.

#include "player/objects/buttons/KXPPurchaseScreens.h"

class KXPScreenPurchases : public KXPPurchaseScreens {
public:
    // Makes the purchase buttons use the screens (once per process; later calls change nothing).
    static void install();

    bool useOnRunningScreen(const std::shared_ptr<KXModelAssetPowerup>& powerup) override;
    bool useOnGameScene(const std::shared_ptr<KXModelAssetPowerup>& powerup) override;
    bool isGameSceneCurrent() override;
    void adsRemoved() override;
    void updateUnlockCharacterButton() override;
};
