#include "player/objects/buttons/KXPObjectButtonLock.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "player/app/KXPScreensController.h"
#include "player/objects/buttons/KXPButtonImages.h"
#include "player/services/KXPurchaseBridge.h"
#include "player/services/KXServices.h"
#include "player/store/KXPCoinPayment.h"
#include "player/store/KXPSettingsController.h"

using namespace cocos2d;

KXPObjectButtonLock::KXPObjectButtonLock() : m_lockStateListener([this] { refreshLockState(); }) {}

std::shared_ptr<KXModelObjectLockButton> KXPObjectButtonLock::lockModel() const {
    return modelCast<KXModelObjectLockButton>(m_model);
}

void KXPObjectButtonLock::setModel(const std::shared_ptr<KXModelObjectButton>& model) {
    KXPObjectButton::setModel(model);
    refreshLockState();
}

void KXPObjectButtonLock::refreshLockState() {
    if (m_model) {
        m_lockState = &lockState(m_model->name());
        m_locked = *m_lockState;
    } else {
        m_lockState = nullptr;
        m_locked = true;
    }
    rebuildImages();
}

void KXPObjectButtonLock::rebuildImages() {
    KXPButtonImages images;
    const auto model = lockModel();
    if (!model) {
        images.ensureNormal();
    } else if (m_locked) {
        images.makePlain(model->lockedImage(), model->lockedImageSelected());
    } else {
        images.makeStandard(model->spriteContainer(), model->imageSelected());
    }
    // The images are swapped in place: the screen's handler and the enabled state stay.
    setNormalImage(images.normal);
    setSelectedImage(images.selected);
    setDisabledImage(images.disabled);
}

void KXPObjectButtonLock::update(float dt) {
    if (m_lockState != nullptr && *m_lockState != m_locked) {
        m_locked = *m_lockState;
        rebuildImages();
    }
    KXPObjectButton::update(dt);
}

void KXPObjectButtonLock::activate() {
    const auto model = lockModel();
    if (!model) {
        KXPObjectButton::activate();
        return;
    }
    // The screen handler or a completed purchase may take the screen, and the button, down.
    CCObject* self = this;
    self->retain();
    if (m_locked) {
        buyUnlock(*model);
    } else {
        goToScene(*model);
    }
    self->release();
}

void KXPObjectButtonLock::buyUnlock(const KXModelObjectLockButton& model) {
    const std::string& method = model.unlock();
    if (method == kStorePurchase) {
        if (!model.storeIdentifier().empty()) {
            KXPurchaseBridge::shared()->setCallback(
                this, purchase_selector(KXPObjectButtonLock::unlockDidComplete));
            KXPurchaseBridge::shared()->purchase(model.storeIdentifier());
        }
    } else if (method == kCoinPurchase) {
        if (payGlobalCoins(model.price())) {
            unlockDidComplete(kNonStorePurchase);
        } else {
            if (!isCoinPrice(model.price())) {
                debugLog("[KXPObjectButtonLock] %s: refused, the price is not a number of coins",
                         model.name().c_str());
            }
            KXServices::shared()->setCallback("", nullptr, nullptr);
        }
    } else {
        return;
    }
    KXPSettingsController::shared()->save();
}

void KXPObjectButtonLock::goToScene(const KXModelObjectLockButton& model) {
    KXPScreensController* screens = KXPScreensController::shared();
    if (model.destination() == kSceneDestination) {
        screens->setCurrentLevelSectionId(model.sceneValue());
    } else if (model.destination() == kNextSceneDestination) {
        screens->setCurrentLevelSectionId(screens->nextLevelSectionId(screens->currentLevelSectionId()));
    }
    if (model.autoLock() && m_lockState != nullptr) {
        *m_lockState = true;
    }
    KXPObjectButton::activate();
    KXPSettingsController::shared()->save();
}

void KXPObjectButtonLock::unlockDidComplete(const std::string& /*productIdentifier*/) {
    if (m_lockState != nullptr) {
        *m_lockState = false;
    }
    update(0.0f);
    const auto model = lockModel();
    if (model && model->autoFollow()) {
        activate();
    } else {
        KXPSettingsController::shared()->save();
    }
}
