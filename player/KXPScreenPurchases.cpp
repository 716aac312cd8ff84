#include "player/KXPScreenPurchases.h"

#include "player/KXPGameField.h"
#include "player/KXPScreen.h"
#include "player/KXPScreenUi.h"
#include "player/KXPScreensController.h"
#include "player/objects/KXPObjectButtonPurchase.h"

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
