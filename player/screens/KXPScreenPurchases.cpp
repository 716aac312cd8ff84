#include "player/screens/KXPScreenPurchases.h"

#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/objects/buttons/KXPObjectButtonPurchase.h"
#include "player/screens/KXPScreen.h"
#include "player/screens/KXPScreenUi.h"

void KXPScreenPurchases::install() {
    static KXPScreenPurchases screens;
    KXPObjectButtonPurchase::setScreens(&screens);
}

bool KXPScreenPurchases::useOnRunningScreen(const std::shared_ptr<KXModelAssetPowerup>& powerup) {
    KXPScreen* screen = KXPScreen::runningScreen();
    if (screen == nullptr) {
        return false;
    }
    screen->usePowerup(powerup, true);
    return true;
}

bool KXPScreenPurchases::useOnGameScene(const std::shared_ptr<KXModelAssetPowerup>& powerup) {
    KXPGameField* field = KXPScreensController::shared()->currentScreenScene();
    if (field == nullptr) {
        return false;
    }
    field->fieldScreen()->usePowerup(powerup, true);
    return true;
}

bool KXPScreenPurchases::isGameSceneCurrent() {
    return KXPScreensController::shared()->currentScreenScene() != nullptr;
}

void KXPScreenPurchases::adsRemoved() {
    if (KXPScreen* screen = KXPScreen::runningScreen()) {
        screen->adsRemoved();
    }
}

void KXPScreenPurchases::updateUnlockCharacterButton() {
    if (KXPScreenUi* ui = KXPScreensController::shared()->currentUi()) {
        ui->updateUnlockCharacterButton();
    }
}
